#pragma once

#include <exception>
#include <string>

namespace velora {

// The run-time error numbers that users see in the error report.
inline constexpr int kOverflow = 6;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInvalidPropertyValue = 380;

// A run-time error as the handlers trap it: conversions and controls throw it, the error trap of
// the handler that is running catches it and hands its number to ReportFatalError.
class RunTimeError : public std::exception {
public:
    explicit RunTimeError(int code);

    int code() const { return m_code; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_code;
    std::string m_what;
};

}  // namespace velora
