// Asking about a type in a process of its own, through qimlar-which: its plain answer (-z, so
// that any bytes of a path come through) or its explanation.

#include "lookup/DefaultChange.h"

#include <glib.h>

#include <sstream>
#include <sys/wait.h>

namespace qimlar {

namespace {

// qimlar-which's --explain text for one type: "TYPE: PROGRAM", or "TYPE: no-program (...)",
// then a sentence a line, indented by two spaces.
FreshAnswer fromExplanation(const std::string& type, const std::string& text)
{
    FreshAnswer answer;
    std::istringstream lines(text);
    std::string line;
    if (std::getline(lines, line) && line.starts_with(type + ": ")) {
        answer.program = line.substr(type.size() + 2);
        if (answer.program.starts_with("no-program") || answer.program.starts_with("unknown-type"))
            answer.program.clear();
    }
    while (std::getline(lines, line))
        if (line.starts_with("  "))
            answer.explanation.push_back(line.substr(2));
    return answer;
}

} // namespace

FreshLookup freshLookupThrough(std::string whichProgram)
{
    return [which =
                std::move(whichProgram)](const FreshQuestion& question) -> Outcome<FreshAnswer> {
        const char* argv[] = {
            which.c_str(), question.explain ? "--explain" : "-z", "-m", "--", question.type.c_str(),
            nullptr};
        gchar** environment = g_get_environ();
        if (!question.configHome.empty())
            environment =
                g_environ_setenv(environment, "XDG_CONFIG_HOME", question.configHome.c_str(), TRUE);
        g_autofree gchar* out = nullptr;
        g_autofree gchar* err = nullptr;
        gint wait = 0;
        g_autoptr(GError) error = nullptr;
        const bool ran = g_spawn_sync(nullptr, const_cast<gchar**>(argv), environment,
                                      G_SPAWN_DEFAULT, nullptr, nullptr, &out, &err, &wait, &error);
        g_strfreev(environment);
        if (!ran)
            return Failure{"cannot run " + which + ": " + error->message};
        // 0 found, 1 nothing opens it: both answers; anything else is trouble.
        if (!WIFEXITED(wait) || WEXITSTATUS(wait) > 1)
            return Failure{which + " could not answer for " + question.type + ": " +
                           g_strchomp(err)};
        if (question.explain)
            return fromExplanation(question.type, out);
        return FreshAnswer{out, {}}; // up to the NUL that ends the answer
    };
}

} // namespace qimlar
