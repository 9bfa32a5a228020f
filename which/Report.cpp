#include "Report.h"

#include "JsonReport.h"
#include "Options.h"
#include "TextReport.h"

namespace qimlar::which {

namespace {

// One line per query: the program, or nothing; the lines stay in step with the queries.
class PlainReport : public Report
{
public:
    explicit PlainReport(char terminator) : terminator_(terminator) {}
    std::string answer(const std::string&, const LookupResult& result) override
    {
        return result.program + terminator_;
    }

private:
    char terminator_;
};

} // namespace

std::unique_ptr<Report> makeReport(const Options& options)
{
    if (options.json)
        return std::make_unique<JsonReport>(options.all, options.explain);
    if (options.all || options.explain)
        return std::make_unique<TextReport>(options.all, options.explain);
    return std::make_unique<PlainReport>(options.separator);
}

const char* statusWord(LookupStatus status)
{
    switch (status) {
    case LookupStatus::Found:
        return "found";
    case LookupStatus::UnknownType:
        return "unknown-type";
    case LookupStatus::NoProgram:
        return "no-program";
    case LookupStatus::Trouble:
        break;
    }
    return "trouble";
}

const char* relationWord(ProgramRelation relation)
{
    if (relation == ProgramRelation::Default)
        return "default";
    return relation == ProgramRelation::Registered ? "registered" : "parent-type";
}

} // namespace qimlar::which
