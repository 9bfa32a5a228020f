#pragma once

// Which installed desktop entry a user means by the program they name for a type.

#include "lookup/Outcome.h"

#include <string>

namespace qimlar::xdg {

struct ChosenApp
{
    std::string id;            // "mpv.desktop"
    std::string program;       // what a lookup answers for it; empty when its program is missing
    bool declaresType = false; // its MimeType line names the type
};

// `app` is an installed entry's id, or a program's full path that exactly one of the programs
// that can open `type` has (as LookupDetail::everyProgram lists them). Fails saying which it is
// not, or which entries share the path.
Outcome<ChosenApp> chooseApp(const std::string& app, const std::string& type);

} // namespace qimlar::xdg
