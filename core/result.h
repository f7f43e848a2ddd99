#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace velmora {

// Why a call failed, in the Italian the operator reads.
struct Failure {
    QString message;
};

// The answer of a core call that can fail: the value, or the message that says why. Windows
// and the command line turn a failure into a message box or an exit status.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    // "" when the call succeeded.
    const QString& error() const { return error_; }

private:
    std::optional<T> value_;
    QString error_;
};

// A call that gives nothing back but can fail; default-constructed it is a success.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return error_; }

private:
    bool failed_ = false;
    QString error_;
};

using Status = Result<void>;

} // namespace velmora
