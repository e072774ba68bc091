#include "clsTpdrComms.h"

#include "clock.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "iolog.h"
#include "tpdrport.h"
#include "vberror.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const ProcName = "CommsErrorHandler (clsTpdrComms)";

// The fraction of the time allowed, with the division faults of the
// original single-precision arithmetic (0/0 overflows, x/0 divides by zero).
float Fraction(double next, float telemWait)
{
    if (telemWait == 0.0f) {
        Raise(next == 0.0 ? ErrNo::Overflow : ErrNo::DivisionByZero);
    }
    return static_cast<float>(next / telemWait);
}

int SleepMs(double now, double until)
{
    const double ms = std::ceil((until - now) * 1000.0);
    return static_cast<int>(std::clamp(ms, 1.0, static_cast<double>(clsTpdrComms::PollSleepMs)));
}

} // namespace

TpdrCommand MakeFrame(char letter, uint8_t p1, uint8_t p2, uint8_t p3, const std::string& data)
{
    TpdrCommand frame{std::string(), "!", std::string(1, letter), std::string(1, static_cast<char>(p1)),
                      std::string(1, static_cast<char>(p2)), std::string(1, static_cast<char>(p3)),
                      std::string(1, static_cast<char>(static_cast<uint8_t>(data.size())))};
    for (const char c : data) {
        frame.emplace_back(1, c);
    }
    return frame;
}

TpdrCommsResult clsTpdrComms::SendAndReceive(const TpdrCommand& strByteArray, int16_t intNumOfTxBytes,
                                             int16_t intNumOfRxBytes, float sngTelemWait, float sngRaiseEventPeriod,
                                             bool blnDisplayErrMsg, bool blnAddExtraDelay, bool blnWaitAfterFlushing)
{
    try {
        Platform::SerialComm& port = comTpdr();
        port.InBufferCount(0);
        port.OutBufferCount(0);
        if (blnWaitAfterFlushing) {
            CommonProcs::Delay(1.0f);
        }

        std::string ioText;
        for (int i = 1; i <= intNumOfTxBytes; ++i) {
            const std::string& element = i < static_cast<int>(strByteArray.size()) ? strByteArray[i] : std::string();
            port.Output(element);
            ioText += i <= 2 ? element : CommonProcs::HexGroups(element, 1);
        }
        if (intNumOfTxBytes > 0) {
            ioText += "|";
        }
        LogCommand(ioText);

        double start = Timer();
        double next = sngRaiseEventPeriod;
        bool done = false;
        bool cancelled = false;
        bool timedOut = false;
        TpdrCommsResult status = ReplyReceived;
        for (;;) {
            bool arrivedInTime = false;
            if (port.InBufferCount() >= intNumOfRxBytes) {
                if (blnAddExtraDelay) {
                    // The extra settling wait must not count against the
                    // reply: judge it by the moment its bytes were all there.
                    double seen = Timer();
                    if (seen < start) {
                        start = seen;
                    }
                    arrivedInTime = !(seen > start + sngTelemWait);
                    CommonProcs::Delay(0.5f);
                }
                tpdrReply_ = port.Input();
                done = true;
            }
            if (Timer() < start) {
                start = Timer();
            }
            if (Timer() >= start + next) {
                const float percent = Fraction(next, sngTelemWait);
                if (PercentDone) {
                    PercentDone(percent, cancelled);
                }
                next += sngRaiseEventPeriod;
                if (cancelled) {
                    status = OperatorCancel;
                }
            }
            const bool late = (done && blnAddExtraDelay) ? !arrivedInTime : Timer() > start + sngTelemWait;
            if (late) {
                timedOut = true;
                status = ReplyTimeout;
            }
            if (done || cancelled || timedOut) {
                break;
            }
            const double now = Timer();
            port.WaitForInput(SleepMs(now, std::min(start + next, start + sngTelemWait)));
        }

        std::string prefix;
        if (status == ReplyTimeout) {
            if (blnDisplayErrMsg) {
                MsgBox("No reply from Transponder.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
                       "Communication Error");
            }
            prefix = "# Reply Timeout # ";
            tpdrReply_ = port.Input();
        } else if (status == OperatorCancel) {
            prefix = "# Operator Cancel # ";
        }
        LogReply("Rx " + prefix, tpdrReply_);
        return status;
    } catch (const VBError& e) {
        static_assert(CommsErrorReported == ErrorHandler::Action::Reported &&
                      UnexpectedError == ErrorHandler::Action::Unknown);
        return static_cast<TpdrCommsResult>(ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), ProcName));
    } catch (const std::exception& e) {
        ErrorHandler::CatchAllErrors(51, e.what(), ProcName);
        return UnexpectedError;
    }
}

void clsTpdrComms::LogReply(const std::string& text, const std::string& reply)
{
    std::string line = text;
    if (!reply.empty()) {
        const bool allHex = reply.size() > 16;
        line += " <";
        for (const char ch : reply) {
            const auto code = static_cast<unsigned char>(ch);
            if (allHex || code < 32 || code >= 127) {
                line += '|' + CommonProcs::Hex2(code);
            } else {
                line += ch;
            }
        }
        line += ">";
    }
    LogReplyLine(line);
}

void clsTpdrComms::ClearBuffers()
{
    comTpdr().InBufferCount(0);
    comTpdr().OutBufferCount(0);
}

std::string clsTpdrComms::InputData() { return comTpdr().Input(); }

void clsTpdrComms::OutputData(const std::string& text) { comTpdr().Output(text); }

int16_t clsTpdrComms::InputCount() { return comTpdr().InBufferCount(); }
