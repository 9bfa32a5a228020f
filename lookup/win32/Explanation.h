#pragma once

// The sentences that explain a decision of the Windows lookup, made from the decision alone.

#include "lookup/LookupResult.h"
#include "win32/Associations.h"

#include <string>
#include <vector>

namespace qimlar::win32 {

// How `result` came from what was decided for its file, one sentence a step.
std::vector<std::string> explanationOf(const ProbeDecision& decided, const LookupResult& result);

// Why a type is not asked about: its registration names no extension, for `reason`.
std::vector<std::string> noExtensionExplanation(const std::string& type, const std::string& reason);

} // namespace qimlar::win32
