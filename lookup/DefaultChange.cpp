// What a platform that cannot change its defaults answers.

#include "ChangeFailure.h"
#include "lookup/Platform.h"

namespace qimlar {

namespace {

DefaultChange unsupported()
{
    return notChanged(DefaultChangeStatus::Unsupported,
                      "this system lets no program change the program that opens a type");
}

} // namespace

DefaultChange Platform::makeDefault(const DefaultChangeRequest&)
{
    return unsupported();
}

DefaultChange Platform::undoLastDefaultChange()
{
    return unsupported();
}

Status Platform::openDefaultAppsSettings(const ProgramChoice&)
{
    return Failure{"this system has no settings page for the programs that open types"};
}

} // namespace qimlar
