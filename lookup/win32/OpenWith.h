#pragma once

#include "lookup/LookupResult.h"

#include <string>
#include <vector>

namespace qimlar::win32 {

struct ShellAssociation;

// One class or application that Explorer's "Open with" list offers for an extension: its key
// under HKEY_CLASSES_ROOT ("mp3file", "Applications\\app.exe") and how it came to be there.
struct OpenWithClass
{
    std::wstring key;
    ProgramRelation relation = ProgramRelation::Registered;
    // For an application, its program's name ("app.exe").
    std::wstring application;
};

// The classes and applications registered to open files of `extension` besides its default, in
// the order the "Open with" list takes them: the extension's own OpenWithProgids, the user's
// (Explorer's FileExts) OpenWithProgids and OpenWithList as its MRUList orders it, the
// extension's OpenWithList; then those of its kind of file (`perceivedType`), as ParentType.
// A key may come more than once.
std::vector<OpenWithClass> openWithClasses(const std::wstring& extension,
                                           const std::wstring& perceivedType);

// Every program that opens files of `extension`: `theDefault` first (where it names a class or a
// command), then those of openWithClasses(), each once (by program and command).
std::vector<ProgramChoice> openWithPrograms(const std::wstring& extension,
                                            const ShellAssociation& association,
                                            const ProgramChoice& theDefault);

} // namespace qimlar::win32
