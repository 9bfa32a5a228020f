#include "TextReport.h"

namespace qimlar::which {

namespace {

// "mp3 (audio/mpeg): /usr/bin/vlc", "xyz: unknown-type", "mp3: trouble: cannot make ...".
std::string heading(const std::string& query, const LookupResult& result)
{
    std::string line = query.empty() ? "\"\"" : query;
    if (!result.type.empty() && result.type != query)
        line += " (" + result.type + ")";
    line += ": ";
    if (result.status == LookupStatus::Found)
        return line + result.program + "\n";
    line += statusWord(result.status);
    if (result.reason.empty())
        return line + "\n";
    if (result.status == LookupStatus::Trouble)
        return line + ": " + result.reason + "\n";
    return line + " (" + result.reason + ")\n";
}

// "  * /usr/bin/vlc  (default; /usr/share/applications/vlc.desktop)"; a program that is not
// installed shows its command line.
std::string programLine(const ProgramChoice& choice, bool isDefault)
{
    std::string line = isDefault ? "  * " : "    ";
    line += choice.program.empty() ? "(not installed) " + choice.command : choice.program;
    line += "  (" + std::string(relationWord(choice.relation));
    if (!choice.entry.empty())
        line += "; " + choice.entry;
    return line + ")\n";
}

} // namespace

std::string TextReport::answer(const std::string& query, const LookupResult& result)
{
    std::string text = first_ ? "" : "\n";
    first_ = false;
    text += heading(query, result);
    if (all_)
        for (std::size_t i = 0; i < result.programs.size(); ++i)
            text += programLine(result.programs[i],
                                i == 0 && result.programs[i].relation == ProgramRelation::Default);
    if (explain_)
        for (const std::string& sentence : result.explanation)
            text += "  " + sentence + "\n";
    return text;
}

} // namespace qimlar::which
