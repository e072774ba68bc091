// The central error procedures: one message box and one decision per error.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace ErrorHandler {

// What the procedure that caught the error does next.
namespace Action {
constexpr int32_t Continue = 2; // go on after the failing statement
constexpr int32_t Reported = 3; // leave, with result 3
constexpr int32_t Unknown = 4;  // report through CatchAllErrors, result 4
} // namespace Action

// User errors raised by the acoustic test unit's class.
constexpr int32_t VOVNotResponding = static_cast<int32_t>(0x80040000u) + 513;
constexpr int32_t VOVBadWaveform = static_cast<int32_t>(0x80040000u) + 514;
constexpr int32_t VOVNoGoAnswer = static_cast<int32_t>(0x80040000u) + 515;
constexpr int32_t VOVFlagsNotRead = static_cast<int32_t>(0x80040000u) + 516;
constexpr int32_t VOVRangeTableNotRead = static_cast<int32_t>(0x80040000u) + 517;

int32_t FileErrors(int32_t number, bool showMissing);
int32_t CommsErrors(int32_t number);
int32_t GeneralErrors(int32_t number);
// Takes the whole number: one outside 16 bits is shown as it is.
void CatchAllErrors(int32_t number, const std::string& description, const std::string& procName);
// The catch-all box for whatever was thrown: a run-time error with its own
// number, anything else as error 51.
void CatchAllErrors(const std::exception& error, const std::string& procName);
// The convention of the link's callers: a serial error's own box (Reported),
// else the catch-all box (Unknown).
int32_t CommsOrCatchAll(int32_t number, const std::string& description, const std::string& procName);

} // namespace ErrorHandler
