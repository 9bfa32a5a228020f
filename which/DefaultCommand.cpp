#include "DefaultCommand.h"

#include "ChangeReport.h"
#include "Console.h"
#include "Options.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace qimlar::which {

namespace {

constexpr int takesEffect = 0, anotherDecides = 1, nothingWritten = 2;

void say(const std::string& text)
{
    std::fprintf(stderr, "qimlar-which: %s", text.c_str());
    if (!text.ends_with('\n'))
        std::fputc('\n', stderr);
}

// The answer afterwards comes from a fresh process of this same program: the lists this one
// read stay in the desktop library's memory.
FreshLookup freshLookup()
{
#ifdef _WIN32
    return {};
#else
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return freshLookupThrough(error ? "/proc/self/exe" : self.string());
#endif
}

// The MIME type of a query.
Outcome<std::string> typeOf(const std::string& query, bool mime, LookupSession& session)
{
    if (mime)
        return query;
    const LookupResult result = session.lookUp(query);
    session.end();
    if (result.status == LookupStatus::Trouble || result.status == LookupStatus::UnknownType)
        return Failure{query + ": " + result.reason};
    return result.type;
}

// What the change did, for the person who asked: on standard error, the answers being the
// standard output.
int tell(const DefaultChange& change, const std::string& type, bool dryRun)
{
    for (const std::string& warning : change.warnings)
        say("warning: " + warning);
    if (change.status != DefaultChangeStatus::Done) {
        say(change.text);
        return nothingWritten;
    }
    if (!dryRun || change.files.empty())
        say(change.text);
    if (change.takesEffect())
        return takesEffect;
    if (change.answer)
        say(type + (dryRun ? " would still open with " : " still opens with ") +
            (change.answer->empty() ? "nothing" : *change.answer) + ", not " + change.program +
            (change.decision.empty() ? "" : ": " + change.decision));
    return anotherDecides;
}

} // namespace

int setDefault(const Options& options, Platform& platform)
{
    if (options.queries.empty()) {
        say(std::string("no ") + (options.mime ? "MIME type" : "extension") + " given to make " +
            options.app + " the default for");
        return nothingWritten;
    }
    ChangeReport report(options.json, options.dryRun);
    bool written = console::write(report.begin());
    LookupSession session(platform);
    const FreshLookup fresh = freshLookup();
    int status = takesEffect;
    for (const std::string& query : options.queries) {
        const auto type = typeOf(query, options.mime, session);
        DefaultChange change;
        if (type) {
            change = platform.makeDefault({*type, options.app, options.dryRun, fresh});
        } else {
            change.status = DefaultChangeStatus::Refused;
            change.text = type.reason();
        }
        status = std::max(status, tell(change, type ? *type : query, options.dryRun));
        written = written && console::write(report.answer(query, type ? *type : "", change));
    }
    written = written && console::write(report.end()) && std::fflush(stdout) == 0;
    if (!written) {
        say("cannot write the answers");
        return nothingWritten;
    }
    return status;
}

int undoLastChange(Platform& platform)
{
    const DefaultChange change = platform.undoLastDefaultChange();
    if (change.status != DefaultChangeStatus::Done) {
        say(change.text);
        return nothingWritten;
    }
    if (!console::write(change.text) || std::fflush(stdout) != 0) {
        say("cannot write what was undone");
        return nothingWritten;
    }
    return takesEffect;
}

} // namespace qimlar::which
