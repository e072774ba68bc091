#include "clsGenStatus.h"

#include "errorhandler.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

#include <cstdio>

clsGenStatus TpdrGenStatus;

namespace {
constexpr int16_t TextLength = 16;
}

void clsGenStatus::Encode(uint8_t P3, TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Cmd = MakeFrame('R', 0xE0, 0x0A, P3, std::string(TextLength, '\0'));
    NumBytes = static_cast<int16_t>(Cmd.size() - 1);
    ReplyLen = TextLength;
    statusText_ = Cmd[1] + Cmd[2] + " ";
    for (size_t i = 3; i < Cmd.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned char>(Cmd[i].empty() ? 0 : Cmd[i][0]));
        statusText_ += hex;
    }
}

void clsGenStatus::ReadEncode_TypeNumber(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Encode(0x00, Cmd, NumBytes, ReplyLen);
}

void clsGenStatus::ReadEncode_SerialNumber(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Encode(0x20, Cmd, NumBytes, ReplyLen);
}

void clsGenStatus::Decode(const std::string& Reply, int16_t N, int32_t& Result, std::string& field,
                          const char* procName)
{
    try {
        if (N < 0) {
            Raise(5);
        }
        field = VB::Trim(Reply.substr(0, static_cast<size_t>(N)));
        statusText_ = field;
        Result = 0;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), procName);
        Result = ::Result::DecodeError;
    }
}

void clsGenStatus::ReadDecode_TypeNumber(const std::string& Reply, int16_t N, int32_t& Result)
{
    Decode(Reply, N, Result, typeNumber_, "ReadDecode_TypeNumber (clsGenStatus)");
}

void clsGenStatus::ReadDecode_SerialNumber(const std::string& Reply, int16_t N, int32_t& Result)
{
    Decode(Reply, N, Result, serialNumber_, "ReadDecode_SerialNumber (clsGenStatus)");
}
