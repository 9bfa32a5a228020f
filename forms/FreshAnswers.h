#pragma once

#include "lookup/DefaultChange.h"

namespace qimlar {

// Asks through qimlar-which, installed beside this program (or, in a build, in which/ beside
// forms/), else where PATH finds it: a process started now reads the association lists afresh.
// None when there is no qimlar-which; the chooser then asks in this process.
FreshLookup freshLookupBesideThisProgram();

} // namespace qimlar
