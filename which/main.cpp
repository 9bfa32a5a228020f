// qimlar-which: the program that opens files of each given extension or type, one line per
// query, found by the same lookup as Qimlar's window; or every program, the decision's steps,
// or all of it as JSON.

#include "Console.h"
#include "DefaultCommand.h"
#include "Options.h"
#include "QueryReader.h"
#include "RecordedProbePlatform.h"
#include "Report.h"
#include "Usage.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using qimlar::which::Options;
using qimlar::which::printUsage;

constexpr int everyQueryFound = 0;
constexpr int someQueryNotFound = 1;
constexpr int troubleOrUsageError = 2;

int usageError(const std::string& message)
{
    std::fprintf(stderr, "qimlar-which: %s\n", message.c_str());
    std::fputs("Try 'qimlar-which --help' for more information.\n", stderr);
    return troubleOrUsageError;
}

// Asks about each query in turn and writes each answer as soon as it has it, so that a script
// feeding queries through a pipe gets its answers as it goes. The lookups share one probe file
// until the queries pause.
class Answers
{
public:
    explicit Answers(const Options& options)
        : report_(qimlar::which::makeReport(options)), platform_(qimlar::nativePlatform()),
          session_(platform_),
          mime_(options.mime), detail_{.everyProgram = options.all, .explanation = options.explain}
    {
        written_ = write(report_->begin());
    }

    // False once the answers can no longer be written: asking on would be for nobody.
    bool ask(const std::string& query)
    {
        if (!written_)
            return false;
        const qimlar::LookupResult result =
            mime_ ? session_.lookUpType(query, detail_) : session_.lookUp(query, detail_);
        // Trouble is no "nothing opens it": it is named, in every form of the answers.
        if (result.status == qimlar::LookupStatus::Trouble) {
            trouble(result.reason);
        } else if (result.program.empty() && status_ == everyQueryFound) {
            status_ = someQueryNotFound;
        }
        written_ = write(report_->answer(query, result));
        return written_;
    }

    void fail() { status_ = troubleOrUsageError; }

    // Deletes the probe before a wait for more queries, which may last: a probe must not sit
    // in the temporary folder for as long as a pipe stays open.
    void pause()
    {
        if (const auto ended = session_.end(); !ended)
            trouble(ended.reason());
    }

    // The exit status; a full disk or a closed pipe must not pass for an answer.
    int finish()
    {
        if (written_)
            written_ = write(report_->end());
        pause();
        if (!written_) {
            std::fprintf(stderr, "qimlar-which: writing the answers: %s\n",
                         std::strerror(writeError_));
            return troubleOrUsageError;
        }
        return status_;
    }

private:
    bool write(const std::string& text)
    {
        // The bytes as the file system holds them, whatever their encoding.
        if (qimlar::console::write(text) && std::fflush(stdout) == 0 && !std::ferror(stdout))
            return true;
        writeError_ = errno; // named at the end, after whatever else has set errno since
        return false;
    }

    void trouble(const std::string& reason)
    {
        std::fprintf(stderr, "qimlar-which: %s\n", reason.c_str());
        status_ = troubleOrUsageError;
    }

    std::unique_ptr<qimlar::which::Report> report_;
    qimlar::which::RecordedProbePlatform platform_;
    qimlar::LookupSession session_;
    bool mime_;
    qimlar::LookupDetail detail_;
    int status_ = everyQueryFound;
    bool written_ = true;
    int writeError_ = 0;
};

struct Input
{
    std::string name;
    std::FILE* stream;
};

} // namespace

int main(int argc, char* argv[])
{
    const auto options = qimlar::which::parseOptions(qimlar::console::arguments(argc, argv));
    if (!options)
        return usageError(options.reason());
    if (options->action == Options::Action::SetDefault ||
        options->action == Options::Action::Undo) {
        qimlar::which::RecordedProbePlatform platform(qimlar::nativePlatform());
        return options->action == Options::Action::Undo
                   ? qimlar::which::undoLastChange(platform)
                   : qimlar::which::setDefault(*options, platform);
    }
    if (options->action != Options::Action::Answer) {
        const bool help = options->action == Options::Action::Help;
        if (help)
            printUsage(stdout);
        else
            std::puts("qimlar-which " QIMLAR_VERSION);
        if (std::fflush(stdout) == 0 && !std::ferror(stdout))
            return everyQueryFound;
        std::fprintf(stderr, "qimlar-which: writing the %s: %s\n", help ? "help" : "version",
                     std::strerror(errno));
        return troubleOrUsageError;
    }
    if (options->queries.empty() && options->fromFiles.empty()) {
        std::fprintf(stderr, "qimlar-which: no %s given\n",
                     options->mime ? "MIME type" : "extension");
        printUsage(stderr);
        return troubleOrUsageError;
    }

    // Every file opens before the first answer: a misspelt name costs no half-done batch.
    std::vector<Input> inputs;
    for (const std::string& file : options->fromFiles) {
        std::FILE* stream = qimlar::console::openForReading(file);
        if (!stream) {
            std::fprintf(stderr, "qimlar-which: cannot open %s: %s\n", file.c_str(),
                         std::strerror(errno));
            return troubleOrUsageError;
        }
        inputs.push_back({file, stream});
    }

    Answers answers(*options);
    bool asking = true;
    for (const std::string& query : options->queries)
        asking = asking && answers.ask(query);
    for (const Input& input : inputs) {
        qimlar::which::QueryReader reader(input.stream, options->separator);
        while (asking) {
            const auto query = reader.next([&answers] { answers.pause(); });
            if (!query)
                break;
            asking = answers.ask(*query);
        }
        if (asking && reader.failed()) {
            std::fprintf(stderr, "qimlar-which: cannot read %s: %s\n", input.name.c_str(),
                         reader.reason().c_str());
            answers.fail();
        }
    }
    return answers.finish();
}
