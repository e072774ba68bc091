// The general parameters dialog's exchanges: the read (Get) with its
// firmware read, the write (Set), and the progress and cancel they share.
#include "frmGenSettings_p.h"

#include "SpanwaveQuickset.h"
#include "clsGeneral.h"
#include "clsSettings.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "genparamfacts.h"
#include "gensettingsowner.h"
#include "globals.h"
#include "tpdrexchange.h"
#include "vbconv.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using Forms::Q;
using Forms::S;
using namespace GenSettingsForm;

namespace {

const char* const ProcRead = "ReadParamsErrorHandler (frmGenSettings)";
const char* const ProcHandle = "HandleReadParamsErrorHandler (frmGenSettings)";
const char* const ProcWrite = "cmdGenWriteErrorHandler (frmGenSettings)";

// Reports a run-time error the way the procedures of this dialog do.
template <typename F>
bool Guarded(const char* procName, F&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        ErrorHandler::CatchAllErrors(e, procName);
    }
    return false;
}

} // namespace

// ------------------------------------------------------------------ busy

// The focus waits on the progress Cancel and then goes to Get, never through
// an entry: one it dropped into would be checked, and stored, on the next click.
void frmGenSettings::BeginBusy()
{
    Forms::BusyPointer();
    SetBusy(true);
    ProgressCancel(true);
    cmdProgressCancel[QuickSetPanelShown ? 1 : 0]->setFocus();
    EnableGenControls(true);
    ShowExitButtons(false);
}

void frmGenSettings::EndBusy()
{
    EnableGenControls(false);
    cmdGenRead[QuickSetPanelShown ? 1 : 0]->setFocus();
    ProgressCancel(false);
    ShowExitButtons(true);
    prgGenSettings->setValue(prgGenSettings->minimum());
    SetBusy(false);
}

void frmGenSettings::mTpdrComms_PercentDone(float Fraction, bool& Cancel)
{
    TpdrExchange::ShowProgress(prgGenSettings, Fraction, *this, Cancel);
}

void frmGenSettings::cmdProgressCancel_Click(int)
{
    CancelRequested = true;
    if (owner_ != nullptr) {
        owner_->CancelExchange(); // the main window's read that a Get may run
    }
}

// ------------------------------------------------------------------ read

void frmGenSettings::tmrReadParams_Timer()
{
    tmrReadParams->stop();
    cmdGenRead_Click(0);
}

void frmGenSettings::cmdGenRead_Click(int)
{
    BeginBusy();
    CancelRequested = false;
    // What the read replaces goes at once, edits with it.
    Reading.set();
    for (int32_t n = 1; n <= 10; ++n) {
        SetDefaults(n);
    }
    ShowGeneral();
    FirmwareReader::GetFirmware(FirmwarePolicies::frmGenSettings, *this);
    // In quick-set mode Set needs the navigation as well: one that is no longer
    // the unit's is read again, by the main window's own Get, before the
    // general values (its version read settles which of them the unit has).
    if (QuickSetMode && !NavStillRead() && owner_ != nullptr && !CancelRequested &&
        TpdrFirmware.FWVersion() != FWUnknown) {
        TakeNavigationRead(owner_->GetNavParams());
    }
    ReadStamp.Take();
    FillGenCombos();
    const int32_t fw = FW();
    const bool GainFlag = ReadGenParam.EnableOK(fw, 12);
    for (const GenReadGroup& g : GenReadGroups) {
        if (!ReadGenParam.EnableOK(fw, g.gate)) {
            continue;
        }
        ReadParams(g.group, GainFlag);
        for (int32_t p : g.params) {
            if (p != 0) {
                HandleReadParams(p);
            }
        }
    }
    Reading.reset(); // what the read did not reach, it did not read
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    CommonProcs::InitialiseTpdr();
    ShowStatus("Transponder initialised.");
    EndBusy();
    // A preset or edit not sent goes with the rest: the read-outs show the unit.
    RestoreShownNavigation();
    SelectedPreset = 0;
    if (NavParams.NavScheme() == 4) {
        SelectedPreset = SpanwaveQuickset::FindQuickset();
        HighlightQuickButton();
    }
    ShowGeneral();
    Forms::DefaultPointer();
}

void frmGenSettings::ReadParams(int32_t Group, bool GainFlag)
{
    Guarded(ProcRead, [&] {
        TpdrExchange::Options options;
        options.extraDelay = Group == 2; // the six-byte read needs longer
        TpdrExchange::Reply reply;
        TpdrExchange::Run(
            *this,
            [Group](TpdrCommand& frame, int16_t& count, int16_t& length) {
                ReadGenParam.ReadEncode(frame, count, length, Group);
            },
            [] { return ReadGenParam.StatusBarText(); }, reply,
            [Group, GainFlag](const std::string& text, int16_t) {
                ReadGenParam.HasBeenRead(true);
                ReadGenParam.ReadDecode(text, Group, GainFlag);
            },
            options);
        ReadGenParam.HasBeenRead(true);
    });
}

void frmGenSettings::HandleReadParams(int32_t Param)
{
    Guarded(ProcHandle, [&] {
        Reading.reset(static_cast<size_t>(Param));
        CopyGenParam(0, Param);
        if (Param == 8) {
            SetGenParamColour(2);
            SetGenParamColour(8);
        }
        ShowGenParams();
        EnableGenWrite();
    });
}

// ------------------------------------------------------------------ write

bool frmGenSettings::NavigationChanged() const
{
    return cboOrvaneIntChan->currentIndex() != ShownIntChan || ReadNavScheme != NavParams.NavScheme() ||
           VB::Val(S(txtAddress->text())) != ShownCmdAddress;
}

void frmGenSettings::cmdGenWrite_Click(int Index)
{
    Forms::BusyPointer();
    SetBusy(true);
    EnableGenWrite();
    bool changed = false;
    if (!Guarded(ProcWrite, [&] { changed = QuickSetMode && NavigationChanged(); })) {
        ReturnToIdle();
        return;
    }
    if (changed) {
        NavParams.CmdAddressString(S(txtAddress->text()));
        const int i = cboOrvaneIntChan->currentIndex();
        NavParams.OrvaneIntChan(i >= 0 ? i : 19);
        // The main window writes the chain while this dialog stays live above it.
        EnableGenControls(true);
        const bool ok = owner_ != nullptr && owner_->SetNavParams();
        // The main window has read the navigation back, written or not: show
        // what the unit holds, never a preset's address beside the unit's channel.
        TakeNavigationRead();
        SelectedPreset = SpanwaveQuickset::FindQuickset();
        // Its read-back reads the version too: under another firmware the
        // values on show are no longer the unit's. Either way the panel is
        // shown again on the way.
        const bool current = ValuesStillRead();
        if (!ok || !current) {
            SetBusy(false);
            EnableGenControls(false);
            Forms::DefaultPointer();
            return;
        }
        Forms::BusyPointer();
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    }
    if (!Guarded(ProcWrite, [&] { WriteGenParams(Index); })) {
        ReturnToIdle();
    }
}

void frmGenSettings::WriteGenParams(int Index)
{
    const int32_t fw = FW();
    const bool GainFlag = ReadGenParam.EnableOK(fw, 12);
    for (int32_t n = 1; n <= 10; ++n) {
        EditGenParam.WriteOK(n, false);
    }
    bool failed = false;
    for (int32_t n = 1; n <= 10; ++n) {
        if (failed) {
            failed = false;
            if (MsgBox("Do you wish to continue writing?",
                       MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                       "General Parameters") == MsgBoxResult::No) {
                break;
            }
        }
        // Unchanged, unsupported, or no longer valid since Set was offered: not written.
        if (!GenParamChanged(n, EditGenParam, ReadGenParam) || !ReadGenParam.EnableOK(fw, n) ||
            !EditGenParam.OKToWrite(n)) {
            continue;
        }
        EnableGenControls(true);
        ShowExitButtons(false);
        ProgressCancel(true);
        CancelRequested = false;
        TpdrExchange::Options options;
        options.delayFirst = false;
        options.statusAfterDecode = true; // the acknowledgement
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            *this,
            [n, GainFlag](TpdrCommand& frame, int16_t& count, int16_t& length) {
                EditGenParam.WriteEncode(frame, count, length, n, GainFlag);
            },
            [] { return EditGenParam.StatusBarText(); }, reply,
            [n](const std::string& text, int16_t length) { EditGenParam.WriteDecode(text, n, length); }, options);
        failed = result != ReplyReceived;
        if (failed) {
            // Sent, but no answer taken: the unit may hold either value.
            ReadGenParam.ReadOK(n, false);
        } else {
            if (EditGenParam.WriteOK(n)) {
                CopyGenParam(1, n);
            } else {
                MsgBox("Parameter may not have been written.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
                       "General Write");
            }
        }
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (!EditGenParam.WriteOK(n)) {
            ReadGenParam.HasBeenRead(true);
        }
    }
    ShowStatus("Initialising Transponder.");
    EnableGenControls(true);
    CommonProcs::Delay(0.5f);
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    CommonProcs::InitialiseTpdr();
    ShowStatus("Transponder initialised.");
    CommonProcs::Delay(0.5f);
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    EnableGenControls(false);
    ShowStatus("");
    // The shown navigation stays as it was unless the navigation write above
    // took the values read back: only what was sent is the unit's. The
    // highlight follows what the values now make.
    SelectedPreset = SpanwaveQuickset::FindQuickset();
    ShowGeneral();
    EndBusy();
    EnableGenWrite();
    picGeneral[0]->setVisible(Index == 0);
    picGeneral[1]->setVisible(Index == 1);
    QuickSetPanelShown = Index == 1;
    cmdGenRead[static_cast<size_t>(Index)]->setFocus();
    Forms::DefaultPointer();
}

void frmGenSettings::ReturnToIdle()
{
    EndBusy();
    EnableGenWrite();
    Forms::DefaultPointer();
}

// ------------------------------------------------------------------ status and firmware label

void frmGenSettings::ShowStatus(const std::string& text)
{
    staSettingsPanel1->setText(Q(text));
    staSettings->repaint();
}

void frmGenSettings::SetFirmwareLabelText(const std::string& text)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelText(text);
    }
}

void frmGenSettings::SetFirmwareLabelBackColor(int32_t vbColor)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelBackColor(vbColor);
    }
}
