// One exchange with the transponder: send a frame, wait for a reply of known
// length with time-out, progress and cancel, log both to the IO log.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A command frame: element 1 is "!", then the letter, P1-P3, the count byte
// and the data or pad bytes. Index 0 is unused so that indexes match.
using TpdrCommand = std::vector<std::string>;

enum TpdrCommsResult : int16_t {
    ReplyReceived = 0,
    CommsErrorReported = 3,
    UnexpectedError = 4,
    ReplyTimeout = 5,
    OperatorCancel = 6,
};

class clsTpdrComms {
public:
    // Raised during the wait; a handler may set Cancel to end it.
    using PercentDoneHandler = std::function<void(float Percent, bool& Cancel)>;
    PercentDoneHandler PercentDone;
    // Asked on every poll pass between progress events, after window events
    // have run: true ends the wait as a Cancel from PercentDone does.
    std::function<bool()> CancelPending;

    TpdrCommsResult SendAndReceive(const TpdrCommand& strByteArray, int16_t intNumOfTxBytes,
                                   int16_t intNumOfRxBytes, float sngTelemWait, float sngRaiseEventPeriod,
                                   bool blnDisplayErrMsg, bool blnAddExtraDelay, bool blnWaitAfterFlushing);

    // A frame that gets no reply: its elements on the port as they are, and
    // `ioText` in the IO log. Port errors are raised to the caller.
    void Send(const TpdrCommand& strByteArray, int16_t intNumOfTxBytes, const std::string& ioText);

    const std::string& TpdrReply() const { return tpdrReply_; }
    void TpdrReply(const std::string& reply) { tpdrReply_ = reply; }

    // Thin port access for the firmware download window.
    void ClearBuffers();
    std::string InputData();
    void OutputData(const std::string& text);
    int16_t InputCount();

    // Longest sleep on the port between two poll passes, in milliseconds.
    static constexpr int PollSleepMs = 20;

private:
    void LogReply(const std::string& text, const std::string& reply);

    std::string tpdrReply_;
};

// Builds a frame from "!", a letter, three parameter bytes, the count and data.
TpdrCommand MakeFrame(char letter, uint8_t p1, uint8_t p2, uint8_t p3, const std::string& data);
