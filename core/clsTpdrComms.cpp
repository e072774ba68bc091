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

// The progress steps of one wait, counted rather than summed: a float
// period added up ten times ends a hair above the time allowed, so the last
// step would fall due only after the time-out. When the period divides the
// time allowed, step k is due at exactly k/n of it and reports k/n.
class ProgressSteps {
public:
    ProgressSteps(float wait, float period) : wait_(wait), period_(period)
    {
        if (wait > 0.0f && period > 0.0f) {
            const double n = std::round(static_cast<double>(wait) / period);
            if (n >= 1.0 && n <= 1e6 && std::fabs(n * period - wait) <= 1e-5 * wait) {
                count_ = static_cast<int>(n);
            }
        }
    }
    // Seconds after the start at which step k (1, 2, ...) falls due.
    double At(int k) const
    {
        return count_ > 0 ? static_cast<double>(wait_) * k / count_ : static_cast<double>(period_) * k;
    }
    float Percent(int k) const
    {
        return count_ > 0 ? static_cast<float>(k) / static_cast<float>(count_) : Fraction(At(k), wait_);
    }
    // Whether the next step falls due later than this one.
    bool Advances() const { return period_ > 0.0f; }

private:
    float wait_;
    float period_;
    int count_ = 0; // 0: the period does not divide the time allowed
};

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
        const ProgressSteps steps(sngTelemWait, sngRaiseEventPeriod);
        int step = 0; // steps raised so far
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
            // One reading of the clock for the midnight, progress and time-out
            // tests of a pass: every step due by it is raised before a
            // time-out found by it.
            const double now = Timer();
            if (now < start) {
                start = now;
            }
            for (bool again = true; again && now >= start + steps.At(step + 1);) {
                ++step;
                const float percent = steps.Percent(step);
                if (PercentDone) {
                    PercentDone(percent, cancelled);
                }
                if (cancelled) {
                    status = OperatorCancel;
                }
                again = !cancelled && steps.Advances();
            }
            // A reply already complete is kept; otherwise a Cancel clicked
            // since the last progress event ends the wait now.
            if (!done && !cancelled && CancelPending) {
                DoEvents();
                if (CancelPending()) {
                    cancelled = true;
                    status = OperatorCancel;
                }
            }
            const bool late = (done && blnAddExtraDelay) ? !arrivedInTime : now > start + sngTelemWait;
            if (late) {
                timedOut = true;
                status = ReplyTimeout;
            }
            if (done || cancelled || timedOut) {
                break;
            }
            port.WaitForInput(SleepMs(Timer(), std::min(start + steps.At(step + 1), start + sngTelemWait)));
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
        ErrorHandler::CatchAllErrors(e, ProcName);
        return UnexpectedError;
    }
}

void clsTpdrComms::Send(const TpdrCommand& strByteArray, int16_t intNumOfTxBytes, const std::string& ioText)
{
    Platform::SerialComm& port = comTpdr();
    for (int i = 1; i <= intNumOfTxBytes && i < static_cast<int>(strByteArray.size()); ++i) {
        port.Output(strByteArray[i]);
    }
    LogCommand(ioText);
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
