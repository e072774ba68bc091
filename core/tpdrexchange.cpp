#include "tpdrexchange.h"

#include "clsSettings.h"
#include "commonprocs.h"

namespace TpdrExchange {

int32_t Run(ExchangeWindow& window, const Encoder& encode, const StatusText& status, Reply& reply,
            const Decoder& decode, const Options& options)
{
    // Cancel ends the pause at once, and the frame is not sent.
    const auto stop = [&window] { return window.Stopping(); };
    if (window.Closing() || (options.delayFirst && CommonProcs::Delay(AppSettings.DelayBetweenCmds(), stop))) {
        return OperatorCancel;
    }
    TpdrCommand frame;
    int16_t count = 0;
    encode(frame, count, reply.length);
    if (status) {
        window.ShowStatus(status());
    }
    if (count == 0) {
        return NoFrame;
    }
    clsTpdrComms link;
    if (options.noReply) {
        link.Send(frame, count, options.ioText);
        return ReplyReceived;
    }
    link.PercentDone = [&window](float Percent, bool& Cancel) { window.PercentDone(Percent, Cancel); };
    link.CancelPending = stop;
    const float wait = options.wait < 0 ? AppSettings.TpdrTelemWait() : options.wait;
    const int32_t result = link.SendAndReceive(frame, count, reply.length, wait,
                                               options.raiseEventPeriod < 0 ? wait / 10 : options.raiseEventPeriod,
                                               options.displayErrors, options.extraDelay, false);
    if (result == ReplyReceived) {
        reply.text = link.TpdrReply();
        if (decode) {
            decode(reply.text, reply.length);
            if (status && options.statusAfterDecode) {
                window.ShowStatus(status());
            }
        }
    }
    return result;
}

} // namespace TpdrExchange
