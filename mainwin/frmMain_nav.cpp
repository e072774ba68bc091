// The navigation panel: a view of NavParams and TpdrChannel, rebuilt on every
// UpdateControls; the field events write edits back into those objects.
#include "frmMain.h"

#include "clock.h"
#include "commonprocs.h"
#include "forms.h"
#include "globals.h"
#include "store.h"
#include "tpdrnames.h"
#include "vbconv.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using Forms::Q;

namespace {

using Marker::NoIntChan;
using Marker::NoReplyChan;
constexpr int16_t DualModeNotSet = Marker::NotSet;

bool ValidScheme(int32_t s) { return s >= 0 && s <= 4; }

// Turns on option `value` of the pair; any other value turns both off.
void SetOptions(const std::array<QRadioButton*, 3>& options, int32_t value)
{
    for (int i = 1; i <= 2; ++i) {
        // An exclusive option cannot be turned off by itself.
        options[i]->setAutoExclusive(false);
        options[i]->setChecked(i == value);
        options[i]->setAutoExclusive(true);
    }
}

// The list text of channel n, or "" when the channel is not offered. The text
// pieces start empty for every channel.
bool HPRChannelText(int16_t n, bool lookForOrvane, int32_t fw, bool withPostfix, std::string& text)
{
    std::string prefix, hpr300, postfix;
    if (!TpdrChannel.IsHPRChannel(n, prefix, hpr300, lookForOrvane, fw, postfix)) {
        return false;
    }
    text = prefix + CommonProcs::ZeroPad(std::to_string(n), 2) + hpr300 + (withPostfix ? postfix : std::string());
    return true;
}

int16_t ItemNumber(const QString& item) { return VB::CInt(VB::Val(CommonProcs::DigitsOnly(Forms::S(item)))); }

// The first item among the first `count` whose digits give `channel`; -1 for none.
int FindChannelItem(const QComboBox* combo, int first, int count, int16_t channel)
{
    for (int i = first; i < count && i < combo->count(); ++i) {
        if (ItemNumber(combo->itemText(i)) == channel) {
            return i;
        }
    }
    return -1;
}

} // namespace

void frmMain::DefineNavScheme()
{
    NavParams.DefineNavSchemes(TpdrFirmware.FWVersion());
    if (NavParams.NavScheme() == 0) {
        ClearNavParams();
    }
}

// The navigation panel's one routine: the values of NavParams and
// TpdrChannel, whether they are the unit's (NavParamsRead, its stamp), and
// what is on. Run by UpdateControls, so by every read, write, edit and box.
void frmMain::ShowNavScheme()
{
    LockNavPanel();
    // Values read from another unit, or under a code since lost, are not the unit's.
    if (NavParamsRead.Outdated() || TpdrFirmware.FWVersion() == FWUnknown) {
        ClearNavParams();
    }
    DefineNavScheme();
    const int32_t s = NavParams.NavScheme();
    // The frame that stays is never hidden on the way: that would take the
    // focus from its field while the user tabs or clicks into it.
    for (int i = 0; i <= 4; ++i) {
        fraNavScheme[static_cast<size_t>(i)]->setVisible(i == s);
    }
    ShowAddress();
    DoEvents();
    ShowChanSchemeOptions();
    DoEvents();
    FillChannelCombos();
    DoEvents();
    ShowChannelValues();
    DoEvents();
    EnableNavControls();
    EnableSchemeOptions();
}

void frmMain::ShowAddress()
{
    NavParams.DefineNavSchemes(TpdrFirmware.FWVersion());
    const int32_t s = NavParams.NavScheme();
    if (s == 2 || s == 3) {
        QLineEdit* field = txtAddress[static_cast<size_t>(s)];
        field->setToolTip(Q(NavParams.CmdAddressToolTip()));
        field->setText(Q(NavParams.CmdAddressString()));
        Forms::SetBackColor(field, static_cast<uint32_t>(NavParams.CmdAddressColor()));
    } else if (s == 4) {
        lblAddr->setToolTip(Q(NavParams.CmdAddressToolTip()));
        lblAddr->setText(Q(NavParams.CmdAddressString()));
    }
}

void frmMain::ShowChanSchemeOptions()
{
    SetOptions(optChanScheme, NavParams.ChanType());
    SetOptions(optReplyType, NavParams.ReplyType());
    ReadNavScheme = NavParams.NavScheme();
}

void frmMain::FillChannelCombos()
{
    switch (NavParams.NavScheme()) {
    case 1:
        FillDualModeCombos();
        break;
    case 2: {
        cboHPRChan->clear();
        std::string text;
        for (int16_t n = 0; n <= 99; ++n) {
            if (HPRChannelText(n, false, 0, false, text)) {
                cboHPRChan->addItem(Q(text));
            }
        }
        TpdrChannel.NumOfHPRChans(static_cast<int16_t>(cboHPRChan->count()));
        break;
    }
    case 3:
        cboOrvaneReplyChan->clear();
        cboOrvaneIntChan[3]->clear();
        for (int32_t i = 0; i <= 17; ++i) {
            cboOrvaneIntChan[3]->addItem(Q(NavParams.OrvaneIntChanString(i)));
            cboOrvaneReplyChan->addItem(Q(NavParams.OrvaneReplyChanString(i)));
        }
        break;
    case 4:
        FillOrvaneIntChanCombo(cboOrvaneIntChan[4]);
        break;
    default:
        break;
    }
}

void frmMain::FillOrvaneIntChanCombo(QComboBox* combo)
{
    combo->clear();
    for (int32_t chan = 0; chan <= 15; ++chan) {
        combo->addItem(Q(NavParams.OrvaneIntChanString(chan)));
    }
}

void frmMain::FillDualModeCombos()
{
    const int32_t f = TpdrFirmware.FWVersion();
    std::string text;
    cboProgrammedChan->clear();
    for (int16_t n = 0; n <= 99; ++n) {
        if (HPRChannelText(n, true, f, true, text)) {
            cboProgrammedChan->addItem(Q(text));
        }
    }
    TpdrChannel.NumOfHPRChans(static_cast<int16_t>(cboProgrammedChan->count()));

    cboDualModeChan->clear();
    cboDualModeChan->addItem(QStringLiteral("Not Set"));
    for (int16_t n = 0; n <= 99; ++n) {
        if (HPRChannelText(n, true, f, true, text)) {
            cboDualModeChan->addItem(Q(text));
        }
    }
    TpdrChannel.NumOfDualModeChans(static_cast<int16_t>(cboDualModeChan->count()));

    lblEndcap->setText(HPRChannelText(TpdrChannel.EndcapChan(), true, f, true, text) ? Q(text) : QString());
}

void frmMain::ShowChannelValues()
{
    switch (NavParams.NavScheme()) {
    case 1:
        ShowProgrammedChan();
        ShowDualModeChan();
        break;
    case 2:
        cboHPRChan->setCurrentIndex(FindChannelItem(cboHPRChan, 0, TpdrChannel.NumOfHPRChans(), TpdrChannel.RS232Chan()));
        break;
    case 3: {
        const int32_t intChan = NavParams.OrvaneIntChan();
        const int32_t replyChan = NavParams.OrvaneReplyChan();
        cboOrvaneIntChan[3]->setCurrentIndex(intChan == NoReplyChan || intChan == NoIntChan ? -1 : intChan);
        cboOrvaneReplyChan->setCurrentIndex(replyChan == NoReplyChan ? -1 : replyChan);
        break;
    }
    case 4: {
        const int32_t intChan = NavParams.OrvaneIntChan();
        cboOrvaneIntChan[4]->setCurrentIndex(intChan < 16 && intChan != NoIntChan ? intChan : -1);
        lblInterrogate[4]->setText(cboOrvaneIntChan[4]->currentText());
        break;
    }
    default:
        break;
    }
}

void frmMain::ShowProgrammedChan()
{
    cboProgrammedChan->setCurrentIndex(
        FindChannelItem(cboProgrammedChan, 0, TpdrChannel.NumOfHPRChans(), TpdrChannel.RS232Chan()));
}

void frmMain::ShowDualModeChan()
{
    const int16_t chan = TpdrChannel.DualModeChan();
    cboDualModeChan->setCurrentIndex(
        chan == DualModeNotSet ? 0 : FindChannelItem(cboDualModeChan, 1, TpdrChannel.NumOfDualModeChans(), chan));
}

void frmMain::LockNavPanel()
{
    cmdSet->setEnabled(false);
    cmdQuickSet->setEnabled(false);
}

void frmMain::EnableNavControls()
{
    // Nothing is open to edit or write while an exchange runs, nor once the
    // values are no longer the unit's.
    const bool R = NavParamsRead && !exchanging_ && TpdrFirmware.FWVersion() != FWUnknown;
    const int32_t s = NavParams.NavScheme();
    const int32_t f = TpdrFirmware.FWVersion();
    // Scheme 4 changes only through the general parameters dialog; scheme 0
    // has nothing to write.
    cmdSet->setEnabled(R && s >= 1 && s <= 3);
    // The quick-set ends in the Spanwave write: offered only where the firmware takes it.
    cmdQuickSet->setEnabled(R && NavParams.EnableOK(f));
    for (QWidget* control : std::initializer_list<QWidget*>{
             fraChanScheme, fraReplyType, optChanScheme[2], optChanScheme[1], optReplyType[1],
             optReplyType[2], lblEndcap, lblEndcapText, cboHPRChan, lblHPRChan, cboOrvaneReplyChan, lblOrvaneReplyChan}) {
        control->setEnabled(R);
    }
    if (s == 1) {
        const bool programmed = R && TpdrChannel.EnableOK(f, 3);
        cboProgrammedChan->setEnabled(programmed);
        lblProgrammedChan->setEnabled(programmed);
        const bool dualMode = R && TpdrChannel.EnableOK(f, 2);
        cboDualModeChan->setEnabled(dualMode);
        lblDualModeChan->setEnabled(dualMode);
    }
    if (s >= 2 && s <= 4) {
        const auto i = static_cast<size_t>(s);
        txtAddress[i]->setEnabled(R);
        lblAddress[i]->setEnabled(R);
        if (s >= 3) {
            cboOrvaneIntChan[i]->setEnabled(R);
            lblOrvaneIntChan[i]->setEnabled(R);
        }
    }
    if (ValidScheme(s)) {
        fraNavScheme[static_cast<size_t>(s)]->setEnabled(R);
    }
}

void frmMain::EnableSchemeOptions()
{
    const int32_t s = NavParams.NavScheme();
    if (s == 0 || s == 1) {
        for (QWidget* control : std::initializer_list<QWidget*>{fraChanScheme, fraReplyType, optChanScheme[1],
                                                                 optChanScheme[2], optReplyType[1], optReplyType[2]}) {
            control->setEnabled(false);
        }
    } else if (s == 2) {
        // An HPR channel has no reply type.
        for (QWidget* control : std::initializer_list<QWidget*>{fraReplyType, optReplyType[1], optReplyType[2]}) {
            control->setEnabled(false);
        }
    }
}

void frmMain::ClearNavParams()
{
    NavParamsRead = false; // the markers are no unit's values
    Stored = StoredNavParams{0, 0, 0, 0, -1, -1, NoIntChan, NoReplyChan, -1, -1, -1};
    RestoreReadParams();
    // A Set takes these lists' selections: another unit's must not stay behind.
    cboProgrammedChan->clear();
    cboDualModeChan->clear();
}

void frmMain::RestoreReadParams()
{
    NavParams.NavScheme(Stored.NavScheme);
    NavParams.ChanType(Stored.ChanType);
    NavParams.ReplyType(Stored.ReplyType);
    NavParams.SpanwaveType(Stored.SpanwaveType);
    NavParams.AddressCode(false, Stored.AddressCode);
    NavParams.ChannelCode(false, Stored.ChannelCode);
    NavParams.OrvaneIntChan(Stored.OrvaneIntChan);
    NavParams.OrvaneReplyChan(Stored.OrvaneReplyChan);
    TpdrChannel.RS232Chan(Stored.RS232Chan);
    TpdrChannel.DualModeChan(Stored.DualModeChan);
    TpdrChannel.EndcapChan(Stored.EndcapChan);
}

void frmMain::StoreReadParams()
{
    Stored.NavScheme = NavParams.NavScheme();
    Stored.ChanType = NavParams.ChanType();
    Stored.ReplyType = NavParams.ReplyType();
    Stored.SpanwaveType = NavParams.SpanwaveType();
    Stored.AddressCode = NavParams.AddressCode();
    Stored.ChannelCode = NavParams.ChannelCode();
    Stored.OrvaneIntChan = NavParams.OrvaneIntChan();
    Stored.OrvaneReplyChan = NavParams.OrvaneReplyChan();
    Stored.RS232Chan = TpdrChannel.RS232Chan();
    Stored.DualModeChan = TpdrChannel.DualModeChan();
    Stored.EndcapChan = TpdrChannel.EndcapChan();
}

// ------------------------------------------------------------------ field events

void frmMain::optChanScheme_Click(int Index)
{
    NavParams.ChanType(Index);
    UpdateControls();
}

void frmMain::optReplyType_Click(int Index)
{
    NavParams.ReplyType(Index);
    UpdateControls();
}

void frmMain::txtAddress_Click(int Index) { txtAddress[static_cast<size_t>(Index)]->selectAll(); }

void frmMain::txtAddress_GotFocus(int Index) { txtAddress[static_cast<size_t>(Index)]->selectAll(); }

void frmMain::txtAddress_LostFocus(int Index)
{
    NavParams.CmdAddressString(Forms::S(txtAddress[static_cast<size_t>(Index)]->text()));
    UpdateControls();
}

void frmMain::cboOrvaneIntChan_LostFocus(int Index)
{
    const int i = cboOrvaneIntChan[static_cast<size_t>(Index)]->currentIndex();
    NavParams.OrvaneIntChan(i == -1 ? NoIntChan : i);
}

void frmMain::cboOrvaneReplyChan_LostFocus()
{
    const int i = cboOrvaneReplyChan->currentIndex();
    NavParams.OrvaneReplyChan(i == -1 ? NoReplyChan : i);
}

void frmMain::cboHPRChan_LostFocus()
{
    TpdrChannel.RS232Chan(cboHPRChan->currentIndex() == -1 ? int16_t{0} : ItemNumber(cboHPRChan->currentText()));
    UpdateControls();
}
