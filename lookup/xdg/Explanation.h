#pragma once

#include "lookup/LookupResult.h"
#include "xdg/DefaultDecision.h"
#include "xdg/DesktopCommand.h"
#include "xdg/MimeGlobs.h"

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// The walks a lookup took to its answer, kept for those who ask why.
struct LookupWalk
{
    std::string name; // the probe's name; empty when the lookup was given the type
    GlobWalk globs;   // how the name came to its type
    std::optional<DecisionWalk> decision; // the walk through the association lists
    std::optional<ExecWalk> exec;         // from the chosen entry's Exec line to its program
};

// How the lookup reached `result`, in plain English sentences, one step each, in the order it
// took them.
std::vector<std::string> explanation(const LookupWalk& walk, const LookupResult& result);

// Whether `sentence`, one of an explanation's, is the one that says which line of the lists
// decides the default, or that none does.
bool saysWhatDecides(const std::string& sentence);

} // namespace qimlar::xdg
