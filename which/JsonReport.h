#pragma once

#include "Report.h"

namespace qimlar::which {

// One JSON document: an array with one object per query, in order, each on lines of its own.
class JsonReport : public Report
{
public:
    JsonReport(bool all, bool explain) : all_(all), explain_(explain) {}
    std::string begin() override { return "["; }
    std::string answer(const std::string& query, const LookupResult& result) override;
    std::string end() override;

private:
    bool all_, explain_;
    bool first_ = true;
};

} // namespace qimlar::which
