#pragma once

// How qimlar-which writes what --set-default did for each query: the plain answer a line (a
// dry run's diff before it), or one JSON array with an object per query.

#include "lookup/DefaultChange.h"

#include <string>

namespace qimlar::which {

// What a query's change came to, in a stable word: "default" (it answers the program now),
// "not-default" (written, but the desktop answers another), "refused", "busy", "unsupported".
const char* changeWord(const DefaultChange& change);

class ChangeReport
{
public:
    ChangeReport(bool json, bool dryRun) : json_(json), dryRun_(dryRun) {}
    std::string begin() const { return json_ ? "[" : ""; }
    // `type` is empty when the query's type could not be found.
    std::string answer(const std::string& query, const std::string& type,
                       const DefaultChange& change);
    std::string end() const;

private:
    bool json_, dryRun_;
    bool first_ = true;
};

} // namespace qimlar::which
