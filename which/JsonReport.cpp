#include "JsonReport.h"

#include "Json.h"

namespace qimlar::which {

namespace {

// A text that may be empty: null when it is.
std::string stringOrNull(const std::string& text)
{
    return text.empty() ? "null" : jsonString(text);
}

std::string field(const char* key, const std::string& value)
{
    return std::string("\"") + key + "\": " + value;
}

std::string programObject(const ProgramChoice& choice, bool isDefault)
{
    return "{" + field("program", stringOrNull(choice.program)) + ", " +
           field("command", stringOrNull(choice.command)) + ", " +
           field("desktop_entry", stringOrNull(choice.entry)) + ", " +
           field("default", isDefault ? "true" : "false") + ", " +
           field("relation", jsonString(relationWord(choice.relation))) + "}";
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
        field("query", jsonString(query)),
        field("type", stringOrNull(result.type)),
        field("program", stringOrNull(result.program)),
        field("command", stringOrNull(result.command)),
        field("desktop_entry", stringOrNull(result.entry)),
        field("decided_by", stringOrNull(found ? result.decidedBy : std::string())),
        field("terminal", result.terminal ? "true" : "false"),
        field("status", jsonString(statusWord(result.status))),
        // The cause of trouble, or why nothing was found where the lookup says.
        field("reason", stringOrNull(found ? std::string() : result.reason)),
    };
    if (all_) {
        std::vector<std::string> programs;
        for (const ProgramChoice& choice : result.programs)
            programs.push_back(programObject(
                choice, programs.empty() && choice.relation == ProgramRelation::Default));
        fields.push_back(field("programs", array(programs)));
    }
    if (explain_) {
        std::vector<std::string> sentences;
        for (const std::string& sentence : result.explanation)
            sentences.push_back(jsonString(sentence));
        fields.push_back(field("explanation", array(sentences)));
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
