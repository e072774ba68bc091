// The reply decoders of the parameter objects, fed whatever a transponder
// might send. A bad reply is refused or reported through the program's error
// procedures; it never crashes, reads out of bounds or overflows.
//
// Input: a decoder selector, one argument byte, then the reply. The link hands
// a decoder at least the bytes it waited for, and any that came on top.
#include "clsBattery.h"
#include "clsChannel.h"
#include "clsDepth.h"
#include "clsFirmware.h"
#include "clsGenStatus.h"
#include "clsGeneral.h"
#include "clsMultiTAT.h"
#include "clsSpanwaveParams.h"
#include "fuzz_support.h"
#include "vberror.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::InstallQuietDialogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const uint8_t which = data[0];
    const uint8_t arg = data[1];
    const std::string reply(reinterpret_cast<const char*>(data + 2), size - 2);
    const auto expected = static_cast<int16_t>(std::min<size_t>(arg, reply.size()));
    // Firmware codes 0-454 from the argument, so each family's gates are met.
    const int32_t fw = (arg * 455) / 256;
    try {
        switch (which % 16) {
        case 0: clsFirmware().ReadDecode(reply, expected); break;
        case 1: clsFirmware().TxFWReadDecode(reply); break;
        case 2: clsBattery().ReadDecode_VoltageByte(reply); break;
        case 3: clsBattery().ReadDecode_BatteryType(reply); break;
        case 4: clsChannel().WriteDecode(reply, expected); break;
        case 5: clsChannel().ReadDecode(reply, static_cast<int16_t>(arg % 4), fw); break;
        case 6: {
            int32_t result = 0;
            clsGenStatus().ReadDecode_TypeNumber(reply, expected, result);
            break;
        }
        case 7: {
            int32_t result = 0;
            clsGenStatus().ReadDecode_SerialNumber(reply, expected, result);
            break;
        }
        case 8: clsSpanwaveParams().ReadDecode_SpanwaveCodeWord(reply, expected); break;
        case 9: clsSpanwaveParams().ReadDecode_SpanwaveParams(reply, expected); break;
        case 10: clsSpanwaveParams().WriteDecode(reply, expected); break;
        case 11: clsGeneral().WriteDecode(reply, arg % 16, expected); break;
        case 12: clsGeneral().ReadDecode(reply, arg % 8, (arg & 0x80) != 0); break;
        case 13: clsMultiTAT().ReadDecode(reply, static_cast<int16_t>(arg % 3)); break;
        case 14: clsMultiTAT().WriteDecode(reply); break;
        case 15: {
            int16_t result = 0;
            clsDepth().ReadDecode_OnOff(reply, fw, result);
            break;
        }
        }
    } catch (const VBError&) {
        // The program's own run-time error: its callers route it to their handlers.
    }
    return 0;
}
