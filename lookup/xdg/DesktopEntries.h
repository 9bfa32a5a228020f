#pragma once

#include "lookup/LookupResult.h"
#include "xdg/DesktopCommand.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <string>
#include <vector>

namespace qimlar::xdg {

// What the lookup reads of a desktop entry to find its program.
Entry entryOf(GDesktopAppInfo* entry);

// Every program that can open `type`, as the desktop's "open with" lists give them: the
// default, then the entries registered for the type itself, then those registered for its
// parent types (GIO leaves those of the type itself out of that list already).
std::vector<ProgramChoice> everyProgram(const std::string& type, GAppInfo* defaultApp);

} // namespace qimlar::xdg
