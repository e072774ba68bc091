#include "resets.h"

#include "clsBattery.h"
#include "clsChannel.h"
#include "clsDepth.h"
#include "clsFirmware.h"
#include "clsGenStatus.h"
#include "clsGeneral.h"
#include "clsMultiTAT.h"
#include "clsSpanwaveParams.h"
#include "firmwarereader.h"

namespace CommonProcs {
namespace {

// The "not read" values of the depth settings other than on/off and zero offset.
void ResetDepthValues(clsDepth& d)
{
    d.Sensor(-1);
    d.Scale300(-0.5f);
    d.Scale400(0);
    d.Byte400(0);
    d.HiPap(-0.9625f);
    d.Byte300(0);
    d.Byte400Hi(0);
    d.Byte400Lo(-1);
}

void ResetDepth(bool KeepOnOff, bool KeepZeroOffset)
{
    clsDepth& r = ReadDepth;
    clsDepth& e = EditDepth;
    if (!KeepOnOff) {
        r.OnOff(0);
        r.ReadOK(1, false);
        e.OKToWrite(1, false);
    }
    if (!KeepZeroOffset) {
        r.ZeroOffset(-1);
        r.ReadOK(2, false);
        e.OKToWrite(2, false);
    }
    for (int32_t p = 3; p <= 12; ++p) {
        r.ReadOK(p, false);
        e.OKToWrite(p, false);
    }
    ResetDepthValues(r);
    if (!KeepOnOff) {
        e.OnOff(0);
    }
    if (!KeepZeroOffset) {
        e.ZeroOffset(-1);
    }
    ResetDepthValues(e);
    r.HiPapShow(false);
    e.HiPapShow(false);
}

void ResetMultiTAT()
{
    for (int16_t i = 0; i <= 9; ++i) {
        ReadMultiTAT.ReadOK(i, false);
        EditMultiTAT.OKToWrite(i, false);
        ReadMultiTAT.Value(i, 61.5f);
        EditMultiTAT.Value(i, ReadMultiTAT.Value(i));
    }
}

void ResetGeneralValues(clsGeneral& g)
{
    g.Address(0);
    g.Gain(-1);
    g.TAT(61.5f);
    g.Block(-0.5f);
    g.PulseWidth(3.0f);
    g.Identity(-1);
}

void ResetGeneral()
{
    ResetGeneralValues(ReadGenParam);
    ResetGeneralValues(EditGenParam);
    EditGenParam.RelayOnTime(0);
    for (int32_t p = 2; p <= 7; ++p) {
        ReadGenParam.ReadOK(p, false);
        EditGenParam.OKToWrite(p, false);
    }
}

} // namespace

void ResetParamGroup(int32_t group, bool KeepOnOff, bool KeepZeroOffset)
{
    switch (group) {
    case 0:
        TpdrFirmware.FWVersion(0);
        break;
    case 1:
        TpdrBattery.BatteryCount(-1);
        break;
    case 5:
        ResetDepth(KeepOnOff, KeepZeroOffset);
        break;
    case 6:
        ResetMultiTAT();
        break;
    case 7:
        ResetGeneral();
        break;
    default:
        break;
    }
}

void ClearUnsupportedReads(bool reset)
{
    const int32_t fw = TpdrFirmware.FWVersion();
    const bool known = fw != 0;
    if (reset || (known && !ReadDepth.EnableOK(fw, 1))) {
        ReadDepth.HasBeenRead(false);
    }
    if (reset || (known && !clsMultiTAT::EnableOK(fw))) {
        ReadMultiTAT.HasBeenRead(false);
    }
    for (const int32_t p : {2, 3}) {
        if (reset || (known && !ReadGenParam.EnableOK(fw, p))) {
            ReadGenParam.HasBeenRead(false);
        }
    }
}

} // namespace CommonProcs

void WireStore()
{
    ClearUnsupportedReadsHook = [](bool reset) { CommonProcs::ClearUnsupportedReads(reset); };
}

void MakeStoreObjects()
{
    TpdrFirmware = clsFirmware();
    FirmwareReader::ForgetUnit(); // a new store knows no unit yet
    ReadMultiTAT = clsMultiTAT();
    EditMultiTAT = clsMultiTAT();
    ReadDepth = clsDepth();
    EditDepth = clsDepth();
    ReadGenParam = clsGeneral();
    EditGenParam = clsGeneral();
    TpdrChannel = clsChannel();
    WriteChannel = clsChannel();
    TpdrBattery = clsBattery();
    NavParams = clsSpanwaveParams();
    TpdrGenStatus = clsGenStatus();
}
