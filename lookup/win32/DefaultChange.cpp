// Windows keeps the user's choice of the program for a type with a hash that only its own
// settings pages write, and its rules say defaults change there: Qimlar changes none.

#include "ChangeFailure.h"
#include "NativePlatform.h"

namespace qimlar {

namespace {

DefaultChange refused(const std::string& sentence)
{
    return notChanged(DefaultChangeStatus::Unsupported, sentence);
}

} // namespace

DefaultChange NativePlatform::makeDefault(const DefaultChangeRequest&)
{
    return refused("Windows 10 and 11 let no program set the program that opens a type: the "
                   "user's choice carries a hash that only Windows writes. Choose it in "
                   "Settings, Apps, Default apps (ms-settings:defaultapps).");
}

DefaultChange NativePlatform::undoLastDefaultChange()
{
    return refused("Qimlar changed no default on Windows, so there is nothing to undo: defaults "
                   "are chosen in Settings, Apps, Default apps (ms-settings:defaultapps).");
}

FreshLookup freshLookupThrough(std::string)
{
    return [](const FreshQuestion&) -> Outcome<FreshAnswer> {
        return Failure{"Windows is asked in the process itself"};
    };
}

} // namespace qimlar
