#pragma once

#include "lookup/LookupResult.h"

#include <memory>
#include <string>

namespace qimlar::which {

struct Options;

// How the answers are written: the texts to print before the first answer, for each answer,
// and after the last.
class Report
{
public:
    virtual ~Report() = default;
    virtual std::string begin() { return {}; }
    virtual std::string answer(const std::string& query, const LookupResult& result) = 0;
    virtual std::string end() { return {}; }
};

// The report the options ask for: JSON, the text list and sentences, or the plain lines.
std::unique_ptr<Report> makeReport(const Options& options);

// The stable words that name a status and a relation, never translated: "found",
// "unknown-type", "no-program", "trouble"; "default", "registered", "parent-type".
const char* statusWord(LookupStatus status);
const char* relationWord(ProgramRelation relation);

} // namespace qimlar::which
