// The program's one run-time error type: an error number and its description,
// raised by platform code and by the conversions, caught by the procedures that
// route numbers through the error handler.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Base of user-defined error numbers (an object error base of 80040000 hexadecimal).
constexpr int32_t vbObjectError = static_cast<int32_t>(0x80040000u);

namespace ErrNo {
constexpr int32_t Overflow = 6;
constexpr int32_t OutOfMemory = 7;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t DivisionByZero = 11;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t BadFileNameOrNumber = 52;
constexpr int32_t FileNotFound = 53;
constexpr int32_t FileAlreadyOpen = 55;
constexpr int32_t DeviceIOError = 57;
constexpr int32_t DiskFull = 61;
constexpr int32_t BadFileName = 64;
constexpr int32_t PermissionDenied = 70;
constexpr int32_t PathFileAccessError = 75;
constexpr int32_t PathNotFound = 76;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t PortOpenOperationInvalid = 8000;
constexpr int32_t InvalidPortNumber = 8002;
constexpr int32_t PortAlreadyOpen = 8005;
constexpr int32_t DeviceNotOpen = 8012;
constexpr int32_t CommStateFailed = 8015;
constexpr int32_t PortNotOpen = 8018;
constexpr int32_t ReadError = 8020;
} // namespace ErrNo

class VBError : public std::runtime_error {
public:
    VBError(int32_t number, std::string description);
    explicit VBError(int32_t number); // description from the standard table

    int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    int32_t number_;
    std::string description_;
};

// The standard description of an error number ("Overflow", "Type mismatch", ...);
// "Application-defined or object-defined error" for numbers without one.
std::string ErrorDescription(int32_t number);

[[noreturn]] void Raise(int32_t number);
[[noreturn]] void Raise(int32_t number, const std::string& description);
