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
    // The failure is that the name asked for is taken: a rename that would have replaced
    // somebody's file. Another name may succeed where this one cannot.
    bool nameTaken = false;
};

// What an operation that can fail gives back: its value, or the failure that kept it from one.
template <typename T> class Outcome
{
public:
    Outcome(T value) : value_(std::move(value)) {}
    Outcome(Failure failure) : reason_(std::move(failure.reason)), nameTaken_(failure.nameTaken) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Empty when the operation succeeded.
    const std::string& reason() const { return reason_; }
    // Whether it failed because the name asked for is taken.
    bool nameTaken() const { return nameTaken_; }

private:
    std::optional<T> value_;
    std::string reason_;
    bool nameTaken_ = false;
};

// The value of an operation that has nothing to give but its success.
struct Done
{};
using Status = Outcome<Done>;

} // namespace qimlar
