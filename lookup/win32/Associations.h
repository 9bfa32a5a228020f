#pragma once

// What the shell's associations say of a file, or of a type, as Platform's operations of the
// same names give it: the decision first, then the result and its explanation made from it.

#include "lookup/LookupResult.h"
#include "win32/ProgramDecision.h"
#include "win32/ShellAssociation.h"

#include <optional>
#include <string>

namespace qimlar::win32 {

// What was decided for one file, step by step.
struct ProbeDecision
{
    enum class Name {
        NotUtf8,
        NoExtension,
        HasExtension,
    };
    Name name = Name::HasExtension;
    std::wstring probe;     // the file as Windows names it
    std::wstring extension; // as the shell reads it
    ShellAssociation association;
    ProgramDecision program; // where the extension is registered
};

ProbeDecision decideProbe(const std::string& file);

LookupResult findAssociation(const std::string& file, const LookupDetail& detail);

// The shell associates extensions, not types: a type's registered extension (empty when none
// is) is asked about in its place, through the lookup's own probe.
std::optional<std::string> registeredExtension(const std::string& type);

// The answer for a type that names no extension. One that does is asked about as that
// extension, never here: this says so, as trouble.
LookupResult findTypeAssociation(const std::string& type, const LookupDetail& detail);

} // namespace qimlar::win32
