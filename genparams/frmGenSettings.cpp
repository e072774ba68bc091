// The general parameters dialog: opening, the display of the parameters with
// their colours and the Set gate, and the sub-dialogs.
#include "frmGenSettings_p.h"

#include "SpanwaveQuickset.h"
#include "clsGeneral.h"
#include "clsMultiTAT.h"
#include "commonprocs.h"
#include "genparamfacts.h"
#include "gensettingsowner.h"
#include "globals.h"
#include "store.h"
#include "vbconv.h"
#include "vberror.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using Forms::Q;
using Forms::S;
using namespace GenSettingsForm;

namespace {

void SetComboText(QComboBox* combo, const std::string& text)
{
    const QSignalBlocker block(combo);
    combo->setEditText(Q(text));
}

} // namespace

FirmwareStamp frmGenSettings::ReadStamp;

frmGenSettings::frmGenSettings(QWidget* owner) : Forms::Dialog(owner), owner_(dynamic_cast<GenSettingsOwner*>(owner))
{
    setObjectName(QStringLiteral("frmGenSettings"));
    BuildControls();
    ConnectEvents();
    Form_Load();
    follower_.emplace([this] {
        NavChosen = NavChosen && !NavStamp.Outdated(); // a choice made for the unit before goes with it
        ShowGeneral();
    });
}

frmGenSettings::~frmGenSettings() = default;

// ------------------------------------------------------------------ opening and display

void frmGenSettings::Form_Load()
{
    timedRelease_ = std::make_unique<clsTimedRelease>();
    setWindowTitle(QStringLiteral("General Settings") + (EngineeringMode ? QStringLiteral(" : Engineering Mode") : QString()));
    resize(Forms::Twips(4935), height());
    NavStamp.Take();
    ShowNavScheme();
    NavRead = QuickSetMode;
    NavChosen = false;
    picGeneral[1]->setVisible(QuickSetMode);
    picGeneral[0]->setVisible(!QuickSetMode);
    ProgressCancel(false);
    FillGenCombos();
    for (int32_t n = 1; n <= 10; ++n) {
        CopyGenParam(2, n);
    }
    ShowGeneral();
    // Held until the read below has run: a Get or a sub-dialog's exchange
    // started meanwhile would share the link with it.
    EnableGenControls(true);
    EnableGenWrite();
    tmrReadParams->setInterval(100);
    tmrReadParams->start();
}

void frmGenSettings::FillGenCombos()
{
    const int32_t fw = FW();
    {
        const QSignalBlocker block(cboAddress);
        cboAddress->clear();
        for (int i = 1; i <= 63; ++i) {
            cboAddress->addItem(QString::number(i));
        }
        cboAddress->setCurrentIndex(-1);
    }
    ShowCmdAddress();
    const QStringList gains = ReadGenParam.EnableOK(fw, 12)
                                  ? QStringList{QStringLiteral("Low"), QStringLiteral("High")}
                                  : QStringList{QStringLiteral("Very Low"), QStringLiteral("Low"), QStringLiteral("Medium"),
                                                QStringLiteral("High")};
    const auto refill = [](QComboBox* combo, const QStringList& items) {
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(-1);
    };
    for (QComboBox* c : cboGain) {
        refill(c, gains);
    }
    QStringList tats;
    for (int i = 1; i <= 14; ++i) {
        tats << Q(VB::Fixed(i * 62.5, 1));
    }
    refill(cboGenTAT, tats);
    QStringList blocks;
    for (int i = 0; i <= 9; ++i) {
        blocks << Q(VB::Fixed(i * 0.5 + 0.5, 1));
    }
    refill(cboBlock, blocks);
    refill(cboIdentity, {QStringLiteral("Directional"), QStringLiteral("Omni"), QStringLiteral("Remote")});
    for (QComboBox* c : cboPowerLevel) {
        refill(c, {QStringLiteral("Low"), QStringLiteral("High")});
    }
    QStringList vtats;
    const int16_t top = VB::CInt(EditGenParam.VariableTATLimit(false));
    for (float v = EditGenParam.VariableTATLimit(true); v <= top; v += EditGenParam.VariableTATRes()) {
        vtats << Q(VB::NumText(v));
    }
    refill(cboVariableTAT, vtats);
    if (QuickSetMode) {
        for (size_t i = 1; i <= 9; ++i) {
            cmdQuick[i]->setText(Q(Quicksets[i].Name));
            cmdQuick[i]->setToolTip(Q("Click to select " + Quicksets[i].Name));
        }
    }
    SelectedPreset = 0;
    GenToolTips();
}

void frmGenSettings::ShowCmdAddress()
{
    if (QuickSetMode) {
        ShowQuickNav(); // what the unit holds, or not read
        return;
    }
    // A read under way shows the address as not read, as it shows the rest.
    const bool reading = Reading[2];
    {
        const QSignalBlocker block(txtAddress);
        txtAddress->setToolTip(Q(NavParams.CmdAddressToolTip()));
        txtAddress->setText(reading ? QStringLiteral(" ") : Q(NavParams.CmdAddressString()));
    }
    Forms::SetBackColor(txtAddress, reading ? Forms::vbWhite : static_cast<uint32_t>(NavParams.CmdAddressColor()));
}

void frmGenSettings::GenToolTips()
{
    for (const GenParamFacts& row : GenParamTable) {
        const QString tip = Q(ReadGenParam.ToolTip(row.number, row.tipByFirmware ? FW() : 0));
        for (const char* name : row.tips) {
            if (name != nullptr) {
                Control<QWidget>(name)->setToolTip(tip);
            }
        }
    }
}

void frmGenSettings::EnableGenControls(bool Busy)
{
    const int32_t fw = FW();
    std::array<bool, 12> en{};
    for (int32_t n = 1; n <= 11; ++n) {
        en[static_cast<size_t>(n)] = !Busy && ReadGenParam.EnableOK(fw, n) && ReadGenParam.HasBeenRead();
    }
    EnableGain(en[1]);
    fraOrvane->setVisible(NavParams.ChanType() != 2);
    cboAddress->setEnabled(en[2]);
    // The navigation fields of quick-set mode are open whenever the dialog is
    // idle, and locked like the others while it exchanges.
    lblAddress->setEnabled(!Busy && (en[2] || QuickSetMode));
    txtAddress->setEnabled(!Busy && (en[2] || en[8] || QuickSetMode));
    cboOrvaneIntChan->setEnabled(!Busy);
    SetEnabled({cboIdentity, lblIdentity[0], lblIdentity[1]}, en[3]);
    SetEnabled({cboGenTAT, lblGenTAT[0], lblGenTAT[1]}, en[4]);
    txtPulseWidth->setEnabled(en[5] && !QuickSetMode);
    SetEnabled({lblPulseWidth[0], lblPulseWidth[1]}, en[5]);
    SetEnabled({cboBlock, lblBlock[0], lblBlock[1]}, en[6]);
    SetEnabled({txtRelayOnTime, lblRelayOnTime[0], lblRelayOnTime[1]}, en[7]);
    EnablePowerLevel(en[9]);
    SetEnabled({cboVariableTAT, lblVariableTAT[0], lblVariableTAT[1]}, en[10]);
    EnableGenWrite();
    SetEnabled({cmdGenCancel[0], cmdGenCancel[1]}, en[11]);
    EnableGenRead(!Busy);
    cmdMultiTATs->setEnabled(!Busy && clsMultiTAT::EnableOK(fw));
    cmdTimedRelease->setEnabled(!Busy && timedRelease_->EnableOK(fw));
    // A preset or a panel switch picked mid-exchange would change what the
    // running write goes on to send.
    for (size_t i = 1; i < cmdQuick.size(); ++i) {
        cmdQuick[i]->setEnabled(!Busy);
    }
    SetEnabled({cmdAdvanced, cmdQuickSet}, !Busy);
    update();
}

void frmGenSettings::CopyGenParam(int32_t Direction, int32_t Param)
{
    const int32_t fw = FW();
    if (ReadGenParam.EnableOK(fw, Param)) {
        const GenParamFacts& row = GenParamRow(Param);
        if (Direction == 0) {
            EditGenParam.OKToWrite(Param, ReadGenParam.ReadOK(Param));
            row.set(EditGenParam, row.get(ReadGenParam));
        } else if (Direction == 1) {
            ReadGenParam.ReadOK(Param, EditGenParam.OKToWrite(Param));
            row.set(ReadGenParam, row.get(EditGenParam));
        }
    } else if (fw != 0) {
        SetDefaults(Param);
    }
}

void frmGenSettings::SetDefaults(int32_t Param)
{
    if (Param < 1 || Param > 10) {
        return;
    }
    ReadGenParam.ReadOK(Param, false);
    EditGenParam.OKToWrite(Param, false);
    // One value outside its range, in the copy the not-read state is judged by.
    static constexpr double outOfRange[] = {0, -1, 0, -1, 61.5, 3.0, -0.5, 0, -1, -1, -1.0};
    clsGeneral& target = Param <= 6 ? ReadGenParam : EditGenParam;
    GenParamRow(Param).set(target, outOfRange[Param]);
}

void frmGenSettings::SetGenParamColour(int32_t Param, uint32_t& Colour)
{
    if (Param < 1 || Param > 10) {
        return;
    }
    const int32_t fw = FW();
    const bool read = ReadGenParam.HasBeenRead();
    const bool supported = ReadGenParam.EnableOK(fw, Param) || fw == 0;
    const bool valid = EditGenParam.OKToWrite(Param);
    const bool same = !GenParamChanged(Param, EditGenParam, ReadGenParam);
    // A value not read is never unchanged: one chosen while nothing is read
    // shows as a change.
    if (!supported || Reading[static_cast<size_t>(Param)] || (read && valid && same) || (!read && !valid)) {
        Colour = Forms::vbWhite;
    } else {
        Colour = valid ? Forms::vbOrange : Forms::vbRed;
    }
    for (const char* name : GenParamRow(Param).coloured) {
        if (name != nullptr) {
            Forms::SetBackColor(Control<QWidget>(name), Colour);
        }
    }
    update();
}

void frmGenSettings::SetGenParamColour(int32_t Param)
{
    uint32_t colour = 0;
    SetGenParamColour(Param, colour);
}

void frmGenSettings::ColourAddressAndChannel()
{
    uint32_t colour = 0;
    SetGenParamColour(2, colour);
    if (colour == Forms::vbWhite) {
        SetGenParamColour(8);
    }
}

void frmGenSettings::ColourGenParams()
{
    for (int32_t n = 1; n <= 10; ++n) {
        SetGenParamColour(n);
    }
    ColourAddressAndChannel();
}

void frmGenSettings::ShowBlank(QComboBox* combo)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) {
        combo->setEditText(QStringLiteral(" "));
    }
}

void frmGenSettings::ShowGenParams()
{
    const int32_t fw = FW();
    // Address
    if (QuickSetMode) {
        lblAddress->setText(QStringLiteral("Address"));
        lblAddress->setVisible(true);
        txtAddress->setVisible(true);
        ShowQuickNav();
    } else {
        ShowGenParam(2);
    }
    // Power level: a move made with the combo disabled runs no handler.
    const bool power = ReadGenParam.EnableOK(fw, 9);
    for (size_t i = 0; i < 2; ++i) {
        lblPowerLevel[i]->setVisible(power);
        cboPowerLevel[i]->setVisible(power);
        if (power) {
            const bool was = cboPowerLevel[i]->isEnabled();
            cboPowerLevel[i]->setEnabled(false);
            if (EditGenParam.OKToWrite(9)) {
                SetListIndex(cboPowerLevel[i], EditGenParam.PowerLevel());
            } else {
                ShowBlank(cboPowerLevel[i]);
            }
            cboPowerLevel[i]->setEnabled(was);
        }
    }
    // Gain: a valid index raises the combo's Click; a blank entry stores nothing.
    const bool gain = ReadGenParam.EnableOK(fw, 1);
    lblGain[0]->setVisible(gain);
    cboGain[0]->setVisible(gain);
    if (gain) {
        for (int i = 0; i < 2; ++i) {
            if (EditGenParam.OKToWrite(1)) {
                SetListIndex(cboGain[static_cast<size_t>(i)], EditGenParam.Gain());
                cboGain_Click(i);
            } else {
                ShowBlank(cboGain[static_cast<size_t>(i)]);
            }
        }
    }
    ShowGenParam(4);
    ShowGenParam(6);
    ShowGenParam(5);
    // Identity
    const bool identity = ReadGenParam.EnableOK(fw, 3);
    lblIdentity[0]->setVisible(identity);
    cboIdentity->setVisible(identity && EngineeringMode);
    lblIdentity[1]->setVisible(identity && !EngineeringMode);
    if (identity) {
        SetListIndex(cboIdentity, EditGenParam.OKToWrite(3) ? EditGenParam.Identity() : -1);
        lblIdentity[1]->setText(cboIdentity->currentText());
    }
    ShowGenParam(7);
    ShowGenParam(10);
    MarkFieldsShown();
}

// One parameter's field as the dialog shows its edited value: a time as it
// travels, in the form a read shows it, so that a value a check brought to its
// step shows what Set will send; the address code (outside quick-set mode) as
// the whole number stored. Parameters shown by a list index are ShowGenParams'
// own. The field counts as shown: leaving it unchanged is no edit.
void frmGenSettings::ShowGenParam(int32_t Param)
{
    const int32_t fw = FW();
    switch (Param) {
    case 2:
        if (!QuickSetMode && ReadGenParam.EnableOK(fw, 2)) {
            ShowAddress();
            Forms::MarkShown(txtAddress);
        }
        break;
    case 4: {
        const bool tat = ReadGenParam.EnableOK(fw, 4);
        SetVisible({lblGenTAT[0], lblGenTAT[1], cboGenTAT}, tat);
        if (!tat) {
            cboGenTAT_Click(); // a unit without one shows none
            Forms::SetBackColor(lblQuickData[2], Forms::vbWhite);
        } else if (!EditGenParam.OKToWrite(4)) {
            ShowBlank(cboGenTAT);
            cboGenTAT_Click();
        } else {
            const bool was = cboGenTAT->isEnabled();
            cboGenTAT->setEnabled(false);
            SetListIndex(cboGenTAT, -1);
            int match = -1;
            for (int i = 0; i < cboGenTAT->count() && match < 0; ++i) {
                if (!GenValueDiffers(4, VB::Val(S(cboGenTAT->itemText(i))), EditGenParam.TAT())) {
                    match = i;
                }
            }
            if (match >= 0) {
                SetListIndex(cboGenTAT, match);
                cboGenTAT_Click();
            } else {
                Forms::SetBackColor(cboGenTAT, Forms::vbRed);
                Forms::SetBackColor(lblQuickData[2], Forms::vbRed);
                lblQuickData[2]->setText(Q(VB::NumText(EditGenParam.TAT())));
                SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, false);
            }
            cboGenTAT->setEnabled(was);
        }
        break;
    }
    case 5:
        txtPulseWidth->setText(
            Q(EditGenParam.OKToWrite(5) ? VB::Fixed(GenValueAsSent(5, EditGenParam.PulseWidth()), 1) : " "));
        break;
    case 6:
        SetComboText(cboBlock, EditGenParam.OKToWrite(6) ? VB::Fixed(GenValueAsSent(6, EditGenParam.Block()), 1) : " ");
        break;
    case 7:
        txtRelayOnTime->setText(
            Q(EditGenParam.OKToWrite(7) ? VB::Fixed(GenValueAsSent(7, EditGenParam.RelayOnTime()), 1) : " "));
        break;
    case 10: {
        const bool variable = ReadGenParam.EnableOK(fw, 10);
        SetVisible({lblVariableTAT[0], lblVariableTAT[1], cboVariableTAT}, variable);
        if (variable && EditGenParam.OKToWrite(10)) {
            SetListIndex(cboVariableTAT, -1);
            const std::string text = VB::NumText(GenValueAsSent(10, EditGenParam.VariableTAT()));
            const int match = cboVariableTAT->findText(Q(text));
            if (match >= 0) {
                SetListIndex(cboVariableTAT, match);
            } else {
                SetComboText(cboVariableTAT, text);
            }
        }
        break;
    }
    default:
        return;
    }
    Forms::MarkShown(Control<QWidget>(GenParamRow(Param).field));
}

void frmGenSettings::MarkFieldsShown()
{
    for (QWidget* field : {static_cast<QWidget*>(txtAddress), static_cast<QWidget*>(cboAddress),
                           static_cast<QWidget*>(cboGain[0]), static_cast<QWidget*>(cboGain[1]),
                           static_cast<QWidget*>(cboIdentity), static_cast<QWidget*>(cboGenTAT),
                           static_cast<QWidget*>(txtPulseWidth), static_cast<QWidget*>(cboBlock),
                           static_cast<QWidget*>(txtRelayOnTime), static_cast<QWidget*>(cboPowerLevel[0]),
                           static_cast<QWidget*>(cboPowerLevel[1]), static_cast<QWidget*>(cboVariableTAT)}) {
        Forms::MarkShown(field);
    }
}

void frmGenSettings::ShowAddress()
{
    const int32_t fw = FW();
    const bool a = EditGenParam.OKToWrite(2);
    const bool c = EditGenParam.OKToWrite(8);
    const bool s = ReadGenParam.EnableOK(fw, 8);
    lblAddress->setVisible(true);
    txtAddress->setVisible(s);
    cboAddress->setVisible(!s);
    if (s) {
        lblAddress->setText(QStringLiteral("Address"));
        const QSignalBlocker block(txtAddress);
        txtAddress->setText(
            Q(a && c ? ReadGenParam.ComposeFullAddressCode(EditGenParam.Address(), EditGenParam.ChannelCode()) : " "));
    } else {
        lblAddress->setText(QStringLiteral("Address Code"));
        SetComboText(cboAddress, a ? VB::Trim(VB::NumText(static_cast<int32_t>(EditGenParam.Address()))) : " ");
    }
    txtAddress->setToolTip(Q(ReadGenParam.ToolTip(2, fw)));
}

bool frmGenSettings::GenWriteAllowed()
{
    const int32_t fw = FW();
    bool any = false;
    for (int32_t n = 1; n <= 10; ++n) {
        any = any || ReadGenParam.EnableOK(fw, n);
    }
    // Off while an exchange runs, or the read on opening is still to come.
    if (Busy() || tmrReadParams->isActive()) {
        return false;
    }
    if (!any || !ReadGenParam.HasBeenRead() || !ReadStamp.Current() || (QuickSetMode && !NavStillRead())) {
        return false;
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (ReadGenParam.EnableOK(fw, n) && !EditGenParam.OKToWrite(n)) {
            return false;
        }
    }
    if (ListIndex(cboGenTAT) < 0 || VB::Trim(ComboText(cboBlock)).empty()) {
        return false;
    }
    float pulse = 0;
    try {
        pulse = static_cast<float>(VB::Val(S(txtPulseWidth->text())));
    } catch (const VBError&) {
        return false;
    }
    if (!(pulse > 0 && pulse <= 10.2f)) {
        return false;
    }
    if (QuickSetMode && (!CmdAddressOK(txtAddress) || cboOrvaneIntChan->currentIndex() < 0)) {
        return false;
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (ReadGenParam.EnableOK(fw, n) && GenParamChanged(n, EditGenParam, ReadGenParam)) {
            return true;
        }
    }
    return QuickSetMode && (VB::Val(NavParams.CmdAddressString()) != ShownCmdAddress ||
                            NavParams.OrvaneIntChan() != ShownIntChan);
}

void frmGenSettings::EnableGenWrite()
{
    const bool allowed = GenWriteAllowed();
    SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, allowed);
}

// The general values' one routine: from the read copy, the edit copy and
// whether that read is still the unit's, each field's value, its colour and
// whether Set is on; the quick-set navigation follows (ShowGenParams runs
// ShowQuickNav). Opening, Get, Cancel, the end of a write and the return from
// a sub-dialog end here.
void frmGenSettings::ShowGeneral()
{
    if (ReadStamp.Outdated()) {
        // Read from another unit: not read until the next Get, even where a
        // version read since has cleared the read flag and left the values.
        ReadStamp.Drop();
        ReadGenParam.HasBeenRead(false);
        for (int32_t n = 1; n <= 10; ++n) {
            SetDefaults(n);
        }
        FillGenCombos();
        EnableGenControls(Busy());
    }
    // Coloured first: the display then marks a turn-around time off the list.
    ColourGenParams();
    ShowGenParams();
    EnableGenWrite();
}

bool frmGenSettings::ValuesStillRead()
{
    if (ReadStamp.Current()) {
        ShowQuickNav(); // the navigation has a stamp of its own
        return true;
    }
    ShowGeneral();
    return false;
}

void frmGenSettings::EnableGenRead(bool Enable) { SetEnabled({cmdGenRead[0], cmdGenRead[1]}, Enable); }
void frmGenSettings::EnableGain(bool Enable) { SetEnabled({cboGain[0], cboGain[1]}, Enable); }
void frmGenSettings::EnablePowerLevel(bool Enable) { SetEnabled({cboPowerLevel[0], cboPowerLevel[1]}, Enable); }

void frmGenSettings::ProgressCancel(bool Show)
{
    for (QPushButton* b : cmdProgressCancel) {
        b->setVisible(Show);
        b->setEnabled(Show);
    }
}

void frmGenSettings::ShowExitButtons(bool Show) { SetVisible({cmdExit[0], cmdExit[1]}, Show); }
// ------------------------------------------------------------------ buttons

void frmGenSettings::cmdGenCancel_Click(int)
{
    for (int32_t n = 1; n <= 10; ++n) {
        CopyGenParam(0, n);
    }
    RestoreShownNavigation();
    SelectedPreset = SpanwaveQuickset::FindQuickset();
    ShowGeneral();
}

void frmGenSettings::FocusExit() { cmdExit[QuickSetPanelShown ? 1 : 0]->setFocus(); }

void frmGenSettings::cmdMultiTATs_Click()
{
    if (!clsMultiTAT::EnableOK(FW())) {
        return;
    }
    Forms::ShowModal("frmMultiTAT", this);
    ValuesStillRead();
    FocusExit();
}

void frmGenSettings::cmdTimedRelease_Click()
{
    if (!timedRelease_->EnableOK(FW())) {
        CommonProcs::ShowNotSupported();
        return;
    }
    Forms::ShowModal("frmTimedRelease", this);
    ValuesStillRead();
    FocusExit();
}

void frmGenSettings::cmdExit_Click(int) { Unload(); }

void frmGenSettings::QueryUnload(bool& Cancel, CloseBy)
{
    // Whatever asks, the dialog stays while a read or write uses it.
    Cancel = Busy();
}
