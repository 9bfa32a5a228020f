#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qimlar {

// Why an operation failed, worded as GLib words it: what failed, then the system's own reason
// ("cannot make a file in /no/such/: No such file or directory").
struct Failure
{
    std::string reason;
};

// What an operation that can fail gives back: its value, or the failure that kept it from one.
template <typename T> class Outcome
{
public:
    Outcome(T value) : value_(std::move(value)) {}
    Outcome(Failure failure) : reason_(std::move(failure.reason)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Empty when the operation succeeded.
    const std::string& reason() const { return reason_; }

private:
    std::optional<T> value_;
    std::string reason_;
};

// The value of an operation that has nothing to give but its success.
struct Done
{};
using Status = Outcome<Done>;

} // namespace qimlar
