#pragma once

#include "Report.h"

namespace qimlar::which {

// A block per query for people to read, blocks parted by an empty line: a heading with the
// query, its type and the answer; with --all every program, the default marked; with --explain
// the decision's sentences.
class TextReport : public Report
{
public:
    TextReport(bool all, bool explain) : all_(all), explain_(explain) {}
    std::string answer(const std::string& query, const LookupResult& result) override;

private:
    bool all_, explain_;
    bool first_ = true;
};

} // namespace qimlar::which
