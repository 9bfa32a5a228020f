#include "JsonReport.h"

#include "Json.h"

namespace qimlar::which {

namespace {

std::string programObject(const ProgramChoice& choice, bool isDefault)
{
    return "{" + jsonField("program", jsonStringOrNull(choice.program)) + ", " +
           jsonField("command", jsonStringOrNull(choice.command)) + ", " +
           jsonField("desktop_entry", jsonStringOrNull(choice.entry)) + ", " +
           jsonField("default", isDefault ? "true" : "false") + ", " +
           jsonField("relation", jsonString(relationWord(choice.relation))) + "}";
}

// `items` as an array, one item a line, indented below its key.
std::string array(const std::vector<std::string>& items)
{
    if (items.empty())
        return "[]";
    std::string json = "[";
    for (const std::string& item : items)
        json += (json.size() > 1 ? ",\n      " : "\n      ") + item;
    return json + "\n    ]";
}

} // namespace

std::string JsonReport::answer(const std::string& query, const LookupResult& result)
{
    const bool found = result.status == LookupStatus::Found;
    std::vector<std::string> fields = {
        jsonField("query", jsonString(query)),
        jsonField("type", jsonStringOrNull(result.type)),
        jsonField("program", jsonStringOrNull(result.program)),
        jsonField("command", jsonStringOrNull(result.command)),
        jsonField("desktop_entry", jsonStringOrNull(result.entry)),
        jsonField("decided_by", jsonStringOrNull(found ? result.decidedBy : std::string())),
        jsonField("terminal", result.terminal ? "true" : "false"),
        jsonField("status", jsonString(statusWord(result.status))),
        // The cause of trouble, or why nothing was found where the lookup says.
        jsonField("reason", jsonStringOrNull(found ? std::string() : result.reason)),
    };
    if (all_) {
        std::vector<std::string> programs;
        for (const ProgramChoice& choice : result.programs)
            programs.push_back(programObject(
                choice, programs.empty() && choice.relation == ProgramRelation::Default));
        fields.push_back(jsonField("programs", array(programs)));
    }
    if (explain_) {
        std::vector<std::string> sentences;
        for (const std::string& sentence : result.explanation)
            sentences.push_back(jsonString(sentence));
        fields.push_back(jsonField("explanation", array(sentences)));
    }

    std::string json = first_ ? "\n  {" : ",\n  {";
    first_ = false;
    for (std::size_t i = 0; i < fields.size(); ++i)
        json += (i == 0 ? "\n    " : ",\n    ") + fields[i];
    return json + "\n  }";
}

std::string JsonReport::end()
{
    return first_ ? "]\n" : "\n]\n";
}

} // namespace qimlar::which
