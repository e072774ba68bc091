// The general parameters dialog's quick-set panel: the navigation it shows
// from the main window's read, its colours, the preset highlight and the
// nine presets.
#include "frmGenSettings_p.h"

#include "SpanwaveQuickset.h"
#include "commonprocs.h"
#include "globals.h"
#include "store.h"
#include "vbconv.h"

#include <QLabel>
#include <QPushButton>

using Forms::Q;
using Forms::S;
using namespace GenSettingsForm;

void frmGenSettings::ShowNavScheme()
{
    QuickSetMode = NavParams.NavScheme() == 4;
    QuickSetPanelShown = QuickSetMode;
    SetVisible({cmdQuickSet, lblOrvaneIntChan, cboOrvaneIntChan, lblAddress, txtAddress}, QuickSetMode);
    if (!QuickSetMode) {
        return;
    }
    {
        const QSignalBlocker block(cboOrvaneIntChan);
        cboOrvaneIntChan->clear();
        for (int32_t chan = 0; chan <= 15; ++chan) {
            cboOrvaneIntChan->addItem(Q(NavParams.OrvaneIntChanString(chan)));
        }
        cboOrvaneIntChan->setCurrentIndex(-1);
    }
    KeepShownNavigation();
    const int32_t c = NavParams.OrvaneIntChan();
    if (c != 19 && c < 16 && c >= 0) {
        SetListIndex(cboOrvaneIntChan, c);
        lblQuickData[0]->setText(cboOrvaneIntChan->currentText());
    }
}

// A read that failed, or found no Spanwave navigation, leaves none to show.
void frmGenSettings::TakeNavigationRead(bool schemeRead)
{
    NavStamp.Take();
    NavRead = NavParams.NavScheme() == 4;
    NavChosen = false;
    if (!NavRead && !schemeRead) {
        return;
    }
    const bool panel = QuickSetPanelShown;
    ShowNavScheme();
    QuickSetPanelShown = QuickSetMode && panel; // the panel on show stays, while there is one
    picGeneral[1]->setVisible(QuickSetPanelShown);
    picGeneral[0]->setVisible(!QuickSetPanelShown);
}

void frmGenSettings::RestoreShownNavigation()
{
    NavChosen = false;
    if (!NavStillRead()) {
        return; // nothing of the unit to go back to
    }
    NavParams.OrvaneIntChan(ShownIntChan);
    // The codes as shown, not the number's text: "0005" must not come back as "5".
    NavParams.AddressCode(false, ShownAddressCode);
    NavParams.ChannelCode(false, ShownChannelCode);
}

void frmGenSettings::KeepShownNavigation()
{
    ShownIntChan = NavParams.OrvaneIntChan();
    ShownCmdAddress = VB::CLng(VB::Val(NavParams.CmdAddressString()));
    ShownAddressCode = NavParams.AddressCode();
    ShownChannelCode = NavParams.ChannelCode();
}


// The colours of the interrogation channel and the command address: white
// for what the unit holds, orange for a change, red for none or an invalid
// one; nothing read and nothing chosen shows blank on white.
void frmGenSettings::CheckCmdAddress()
{
    const bool read = NavStillRead();
    const bool shown = read || NavChosen;
    uint32_t colour = Forms::vbWhite;
    if (shown) {
        colour = cboOrvaneIntChan->currentIndex() < 0 ? Forms::vbRed
                 : read && NavParams.OrvaneIntChan() == ShownIntChan ? Forms::vbWhite
                                                                     : Forms::vbOrange;
    }
    Forms::SetBackColor(cboOrvaneIntChan, colour);
    Forms::SetBackColor(lblQuickData[0], colour);
    colour = Forms::vbWhite;
    if (shown) {
        colour = !CmdAddressOK(txtAddress)                                         ? Forms::vbRed
                 : read && VB::Val(S(txtAddress->text())) == ShownCmdAddress ? Forms::vbWhite
                                                                                   : Forms::vbOrange;
    }
    Forms::SetBackColor(txtAddress, colour);
    Forms::SetBackColor(lblQuickData[1], colour);
}

// The quick-set navigation's one routine: from the unit's navigation as the
// main window read it (the shown channel and address), the choice held in
// NavParams and whether that read is still the unit's, it sets what the
// read-outs show, their colours, the preset highlighted and, through the Set
// gate, whether Set is on. Opening, Get, a preset, an edit, Cancel and the end
// of a write all end here.
void frmGenSettings::ShowQuickNav()
{
    if (!QuickSetMode) {
        return;
    }
    const bool shown = NavStillRead() || NavChosen;
    const int32_t c = NavParams.OrvaneIntChan();
    SetListIndex(cboOrvaneIntChan, shown && c >= 0 && c < cboOrvaneIntChan->count() ? c : -1);
    lblQuickData[0]->setText(cboOrvaneIntChan->currentText());
    // The codes as chosen: a preset's address may belong to the Spanwave type
    // the write offers to switch to, which the type the unit holds calls invalid.
    const std::string codes = CommonProcs::ZeroPad(std::to_string(NavParams.AddressCode()), 2) +
                              CommonProcs::ZeroPad(std::to_string(NavParams.ChannelCode()), 2);
    const std::string address = CmdAddressOK(codes) ? codes : NavParams.CmdAddressString();
    const QString t = shown ? Q(address) : QString();
    {
        const QSignalBlocker block(txtAddress);
        txtAddress->setText(t);
    }
    lblQuickData[1]->setText(t);
    txtAddress->setToolTip(Q(NavParams.CmdAddressToolTip()));
    lblQuickData[1]->setToolTip(txtAddress->toolTip());
    CheckCmdAddress();
    if (!shown) {
        SelectedPreset = 0; // nor is it known which preset the unit holds
    }
    HighlightQuickButton();
    EnableGenWrite();
}

void frmGenSettings::HighlightQuickButton()
{
    for (int i = 1; i <= 9; ++i) {
        QFont font = cmdQuick[static_cast<size_t>(i)]->font();
        font.setPointSize(i == SelectedPreset ? 28 : 20);
        cmdQuick[static_cast<size_t>(i)]->setFont(font);
    }
}


void frmGenSettings::cmdQuickSet_Click()
{
    SelectedPreset = SpanwaveQuickset::FindQuickset();
    ShowQuickNav();
    picGeneral[0]->hide();
    picGeneral[1]->show();
    QuickSetPanelShown = true;
}

void frmGenSettings::cmdAdvanced_Click()
{
    QuickSetPanelShown = false;
    picGeneral[1]->hide();
    picGeneral[0]->show();
}

void frmGenSettings::cmdQuick_Click(int Index)
{
    const QuicksetRecord& q = Quicksets.at(static_cast<size_t>(Index));
    NavChosen = true;
    SelectedPreset = static_cast<int16_t>(Index);
    HighlightQuickButton();
    CommonProcs::SelectComboItem(cboOrvaneIntChan, "MF" + std::to_string(q.MFNumber));
    cboOrvaneIntChan_Click();
    CommonProcs::SelectComboItem(cboGenTAT, VB::Fixed(q.TAT, 1));
    cboGenTAT_Click();
    const std::string p = VB::Fixed(q.PulseWidth, 1);
    txtPulseWidth->setText(Q(p));
    CommonProcs::SelectComboItem(cboBlock, VB::Fixed(q.Block, 1));
    SetListIndex(cboPowerLevel[1], q.PowerIndex);
    cboPowerLevel_Click(1);
    SetListIndex(cboGain[1], q.GainIndex);
    cboGain_Click(1);
    const std::string a = std::to_string(q.CommandAddress);
    cboOrvaneIntChan_LostFocus();
    bool Cancel = false;
    FieldValidate(4, 0, Cancel);
    {
        const QSignalBlocker block(txtAddress);
        txtAddress->setText(Q(a));
    }
    lblQuickData[1]->setText(Q(a));
    StoreEditedParam(2, a, Cancel);
    txtAddress_Validate(Cancel);
    StoreEditedParam(6, ComboText(cboBlock), Cancel);
    StoreEditedParam(5, p, Cancel);
}

