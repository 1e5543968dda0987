#pragma once
// The one error type of the program. Every arithmetic fault, conversion out
// of range or refused property value becomes a RuntimeError carrying an
// error number and a Japanese message; the forms layer catches it where it
// dispatches events and reports it (see runtime/forms/form.h).

#include <stdexcept>
#include <string>

namespace rt {

enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    InvalidOperation = 16,  // a floating-point operation with no defined result (0/0, inf - inf, ...)
    InvalidPropertyValue = 380,
};

// The Japanese text shown for an error number.
std::string errorMessage(ErrorNumber number);

// What the window's error box says, in the context "rt::Form": %1 the error
// number, %2 its message, %3 the window's caption. Every face reports so.
const char* errorReportText();

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorNumber number);
    RuntimeError(ErrorNumber number, const std::string& message);

    ErrorNumber number() const noexcept { return m_number; }
    int code() const noexcept { return static_cast<int>(m_number); }

private:
    ErrorNumber m_number;
};

}  // namespace rt
