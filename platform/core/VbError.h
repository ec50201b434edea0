#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A run-time error carried to the caller's handler, with the number, source and
// description the callers inspect or show.
class VbError : public std::runtime_error {
public:
    VbError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description), number_(number), source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

namespace vberr {
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t BadFileName = 52;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t InputPastEnd = 62;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t PathNotFound = 76;

[[noreturn]] void raise(std::int32_t number, std::string source = "Vantorix");
std::string standardDescription(std::int32_t number);
} // namespace vberr
