#include "ChangeReport.h"

#include "Json.h"

namespace qimlar::which {

namespace {

// A text without the line break that ends it.
std::string chomped(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::string paths(const DefaultChange& change)
{
    std::string json = "[";
    for (const ChangedList& list : change.files)
        json += (json.size() > 1 ? ", " : "") + jsonString(list.path);
    return json + "]";
}

std::string diffOf(const DefaultChange& change)
{
    std::string diff;
    for (const ChangedList& list : change.files)
        diff += list.diff;
    return diff;
}

} // namespace

const char* changeWord(const DefaultChange& change)
{
    using enum DefaultChangeStatus;
    if (change.status == Done)
        return change.takesEffect() ? "default" : "not-default";
    if (change.status == Busy || change.status == Unsupported)
        return change.status == Busy ? "busy" : "unsupported";
    return "refused";
}

std::string ChangeReport::answer(const std::string& query, const std::string& type,
                                 const DefaultChange& change)
{
    const std::string program = change.answer.value_or("");
    if (!json_)
        return (dryRun_ ? diffOf(change) : "") + program + "\n";
    std::string json = first_ ? "\n  {" : ",\n  {";
    first_ = false;
    const bool done = change.status == DefaultChangeStatus::Done;
    json += "\n    " + jsonField("query", jsonString(query)) + ",\n    " +
            jsonField("type", jsonStringOrNull(type)) + ",\n    " +
            jsonField("program", jsonStringOrNull(program)) + ",\n    " +
            jsonField("previous", jsonStringOrNull(change.previous)) + ",\n    " +
            jsonField("files", paths(change)) + ",\n    " +
            jsonField("status", jsonString(changeWord(change))) + ",\n    " +
            jsonField("decision", jsonStringOrNull(change.decision)) + ",\n    " +
            jsonField("reason", jsonStringOrNull(done ? std::string() : chomped(change.text)));
    if (dryRun_)
        json += ",\n    " + jsonField("diff", jsonStringOrNull(diffOf(change)));
    return json + "\n  }";
}

std::string ChangeReport::end() const
{
    if (!json_)
        return {};
    return first_ ? "]\n" : "\n]\n";
}

} // namespace qimlar::which
