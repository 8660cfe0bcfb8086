// Numbered run-time errors, raised to the caller as the form engine's runtime does.
#pragma once

#include <exception>
#include <string>

#include "engine/types.h"

namespace engine {

namespace err {
inline constexpr Long kInvalidCall = 5;  // invalid procedure call or argument
inline constexpr Long kOverflow = 6;
inline constexpr Long kOutOfMemory = 7;
inline constexpr Long kSubscript = 9;  // subscript out of range
inline constexpr Long kTypeMismatch = 13;
inline constexpr Long kFileNotFound = 53;
inline constexpr Long kPathFileAccess = 75;  // path/file access error
inline constexpr Long kPathNotFound = 76;
inline constexpr Long kObjectNotSet = 91;
inline constexpr Long kInvalidProperty = 380;
inline constexpr Long kObjectRequired = 424;
inline constexpr Long kInvalidPicture = 481;
}  // namespace err

// The runtime's own wording for an error number that carries no description of its own.
String StandardDescription(Long number);

class RuntimeError : public std::exception {
public:
    RuntimeError(Long number, String description);
    explicit RuntimeError(Long number) : RuntimeError(number, StandardDescription(number)) {}

    Long Number() const noexcept { return number_; }
    const String& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    Long number_;
    String description_;
    std::string what_;
};

[[noreturn]] void Raise(Long number);
[[noreturn]] void Raise(Long number, String description);

// The text of the standard report for an error no procedure handled.
String RuntimeErrorReport(const RuntimeError& e);

}  // namespace engine
