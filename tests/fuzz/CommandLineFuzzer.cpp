// The launcher's reading of a command line, fed any text: it never crashes, never brings in a
// shell, and the program comes only from the whole text or from the text's first word.

#include "xdg/CommandLine.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "%s for the command line of %zu bytes\n", what, text.size());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("PATH", "/usr/bin:/bin", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto command = qimlar::xdg::parseCommandLine(text);
    if (!command)
        return 0;
    if (text.find('\0') != std::string::npos)
        fail("a text with a NUL named a program", text);
    if (command->arguments.empty() || command->program.empty())
        fail("a program came with no words", text);

    // The whole text, the first word as written, or that name found on PATH: nothing else.
    const std::string& first = command->arguments.front();
    const bool wholeText = command->program == text && command->arguments.size() == 1 &&
                           first == text && text.find('/') != std::string::npos;
    const bool asWritten = command->program == first && first.find('/') != std::string::npos;
    const bool fromPath = first.find('/') == std::string::npos &&
                          command->program.size() > first.size() &&
                          command->program.ends_with("/" + first);
    if (!wholeText && !asWritten && !fromPath)
        fail("the program is neither the text nor its first word", text);

    // Nothing is expanded: every byte of every word stands in the text.
    for (const std::string& argument : command->arguments)
        for (const char c : argument)
            if (text.find(c) == std::string::npos)
                fail("a word holds a byte the text does not", text);
    return 0;
}
