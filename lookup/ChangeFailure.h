#pragma once

#include "lookup/DefaultChange.h"

#include <string>

namespace qimlar {

// A change that was not made, and why, as a line to show.
inline DefaultChange notChanged(DefaultChangeStatus status, const std::string& reason)
{
    DefaultChange change;
    change.status = status;
    change.text = reason + "\n";
    return change;
}

} // namespace qimlar
