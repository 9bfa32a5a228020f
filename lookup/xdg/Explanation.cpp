#include "xdg/Explanation.h"

#include "../Explanation.h" // inProse, shared with the Windows backend

#include <map>

namespace qimlar::xdg {

namespace {

using Sentences = std::vector<std::string>;

std::string typeFromName(const std::string& name, const std::string& type, bool unknown,
                         const GlobWalk& globs)
{
    if (globs.files.empty())
        return "No MIME database is installed (no mime/globs2 in the data folders), so the name " +
               name + " has the type " + type + (unknown ? ", which is unknown." : ".");
    const std::string read = inProse(globs.files);
    if (unknown)
        return "No glob matches the name " + name + " in " + read + ", so its type is " + type +
               ", which is unknown.";
    if (!globs.match)
        return "No glob in " + read + " gives the type " + type + " to the name " + name +
               "; the desktop gives it that type all the same.";
    const Glob& glob = *globs.match;
    return "The name matches the glob " + glob.pattern + " (weight " + std::to_string(glob.weight) +
           (glob.caseSensitive ? ", case-sensitive" : "") + ") in " + glob.file +
           ", which gives the type " + type + ".";
}

void explainType(const LookupWalk& walk, const LookupResult& result, Sentences& said)
{
    const bool unknown = result.status == LookupStatus::UnknownType;
    if (walk.name.empty()) {
        said.push_back("The lookup was given the type " + result.type + ".");
        if (unknown)
            said.push_back("No MIME database lists " + result.type +
                           " among its types or aliases.");
        return;
    }
    said.push_back(typeFromName(walk.name, result.type, unknown, walk.globs));
    if (unknown)
        said.push_back("So there is no type to find a program for.");
}

std::string quote(const std::string& type, const std::string& line, const std::string& group,
                  const std::string& file)
{
    return "`" + type + "=" + line + "` in [" + group + "] of " + file;
}

std::string throughParent(const Decision& decision)
{
    return decision.throughParent ? ", through the parent type " + decision.type : "";
}

std::string listsRead(const DecisionWalk& walk)
{
    const std::string lookedFor =
        "The desktop looks for " + std::to_string(walk.listsLookedFor) + " association lists; ";
    if (walk.listsRead == 0)
        return lookedFor + "none exists here.";
    return lookedFor +
           (walk.listsRead == 1 ? "the one that exists here is read"
                                : "the " + std::to_string(walk.listsRead) +
                                      " that exist here are read in its order") +
           ", a type's defaults before its other associations, then its parent types.";
}

// What the lists passed over said: a line that names no entry of use in a sentence of its
// own, the lists of one round with no line for the type together, by group; those of the
// round that decided under the name the deciding line gives the type.
void explainPassed(const DecisionWalk& walk, Sentences& said)
{
    std::map<std::string, std::vector<std::string>> withoutLine; // the files, by group
    std::string type;
    const auto sayWithoutLine = [&] {
        for (const auto& [group, files] : withoutLine)
            said.push_back("There is no line for " + type + " in [" + group + "] of " +
                           inProse(files) + ".");
        withoutLine.clear();
    };
    int round = -1;
    for (const PassedList& list : walk.passed) {
        if (list.round != round)
            sayWithoutLine();
        round = list.round;
        type = list.type;
        if (!list.line) {
            withoutLine[list.group].push_back(list.file);
            continue;
        }
        sayWithoutLine(); // the lists before it keep their place
        std::string installed;
        for (const std::string& id : list.installed)
            installed += (installed.empty() ? "" : ", ") + id;
        said.push_back(quote(list.type, *list.line, list.group, list.file) +
                       (installed.empty()
                            ? " names no entry that is installed."
                            : " names " + installed + ", which the desktop passes over."));
    }
    if (walk.decision && !walk.decision->byEntry() && round == walk.decidingRound)
        type = walk.decision->type;
    sayWithoutLine();
}

// How the sentence that says what decides begins or what it holds: saysWhatDecides looks for
// these.
const std::string noListNames = "No list names an installed entry for ";
const std::string noAssociationList = "No association list names ";
const std::string lineDecides = ": this line decides";

void explainDecision(const DecisionWalk& walk, Sentences& said)
{
    said.push_back(listsRead(walk));
    explainPassed(walk, said);
    const std::string& id = walk.desktopId;
    if (!walk.decision) {
        said.push_back(id.empty() ? noListNames + walk.type + "."
                                  : noAssociationList + id + " for " + walk.type +
                                        " or a type it is a kind of.");
    } else if (const Decision& decision = *walk.decision; decision.byEntry()) {
        said.push_back(noAssociationList + id + " for " + walk.type +
                       "; its own MimeType line in " + decision.file + " names " + decision.type +
                       throughParent(decision) + ".");
    } else {
        said.push_back(quote(decision.type, walk.decidingLine, decision.group, decision.file) +
                       " names " + id + lineDecides + throughParent(decision) + ".");
    }
}

// "program NAME is found on PATH at FILE", or "program FILE is an executable file".
std::string programFound(const ExecWalk& walk)
{
    if (walk.name.find('/') != std::string::npos)
        return "program " + walk.program + " is an executable file";
    return "program " + walk.name + " is found on PATH at " + walk.program;
}

std::string programFromWrapper(const ExecWalk& walk)
{
    const std::string asCommandLine =
        ", so the answer is the command line itself: the " + programFound(walk) + ".";
    switch (walk.wrapper) {
    case Wrapper::Flatpak:
        return "It starts the Flatpak application " + walk.application +
               (walk.wholeCommandLine
                    ? ", and no launcher for it is exported beside the entry" + asCommandLine
                    : ", whose installation exports the launcher " + walk.program + ".");
    case Wrapper::Snap:
        return "It starts the snap " + walk.application +
               (walk.wholeCommandLine
                    ? ", and " + walk.snapFolder + " holds no command of that name" + asCommandLine
                    : ", whose command is " + walk.program + ".");
    case Wrapper::None:
        break;
    }
    return "The " + programFound(walk) + ".";
}

void explainExec(const ExecWalk& walk, bool found, Sentences& said)
{
    said.push_back("Its Exec line `" + walk.exec + "` is the command line `" + walk.commandLine +
                   "` without its field codes.");
    if (!walk.skipped.empty())
        said.push_back("The words `" + walk.skipped +
                       "` only set up the environment of the program after them: they are "
                       "skipped.");
    if (found)
        said.push_back(programFromWrapper(walk));
}

} // namespace

std::vector<std::string> explanation(const LookupWalk& walk, const LookupResult& result)
{
    Sentences said;
    explainType(walk, result, said);
    if (result.status == LookupStatus::UnknownType)
        return said;
    if (walk.decision)
        explainDecision(*walk.decision, said);
    const bool found = result.status == LookupStatus::Found;
    if (walk.exec) {
        said.push_back("The desktop entry chosen is " + result.entry + ".");
        explainExec(*walk.exec, found, said);
    }
    if (found)
        said.push_back("The answer is " + result.program +
                       (result.terminal ? ", run in a terminal as the entry asks." : "."));
    else
        said.push_back("So nothing is found: " + result.reason + ".");
    return said;
}

bool saysWhatDecides(const std::string& sentence)
{
    return sentence.find(lineDecides) != std::string::npos || sentence.starts_with(noListNames) ||
           sentence.starts_with(noAssociationList);
}

} // namespace qimlar::xdg
