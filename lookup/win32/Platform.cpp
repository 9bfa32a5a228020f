// The native platform on Windows: each operation is that of its subject's file here.

#include "NativePlatform.h"
#include "win32/Associations.h"
#include "win32/Files.h"
#include "win32/Processes.h"

namespace qimlar {

Outcome<std::string> NativePlatform::tempFolder()
{
    return win32::tempFolder();
}

Outcome<std::string> NativePlatform::createUniqueFile(const std::string& folder,
                                                      const std::string& prefix)
{
    return win32::createUniqueFile(folder, prefix);
}

Status NativePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    return win32::renameNoReplace(from, to);
}

LookupResult NativePlatform::findAssociation(const std::string& file, const LookupDetail& detail)
{
    return win32::findAssociation(file, detail);
}

std::optional<std::string> NativePlatform::registeredExtension(const std::string& type)
{
    return win32::registeredExtension(type);
}

LookupResult NativePlatform::findTypeAssociation(const std::string& type,
                                                 const LookupDetail& detail)
{
    return win32::findTypeAssociation(type, detail);
}

Status NativePlatform::deleteFile(const std::string& file)
{
    return win32::deleteFile(file);
}

Outcome<std::string> NativePlatform::terminalCommandLine(const std::string& commandLine)
{
    return win32::terminalCommandLine(commandLine);
}

Outcome<ProcessHandle> NativePlatform::startProcess(const std::string& commandLine)
{
    return win32::startProcess(commandLine);
}

void NativePlatform::waitForExit(const ProcessHandle& process)
{
    win32::waitForExit(process);
}

void NativePlatform::closeProcess(const ProcessHandle& process)
{
    win32::closeProcess(process);
}

} // namespace qimlar
