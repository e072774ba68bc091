// Editing the general parameters dialog's fields: each field's check stores
// the edited value, colours it and opens or closes Set; the twin combos of
// the two panels move together.
#include "frmGenSettings_p.h"

#include "clsCommands.h"
#include "clsGeneral.h"
#include "commonprocs.h"
#include "genparamfacts.h"
#include "vbconv.h"
#include "vberror.h"

#include <QFocusEvent>
#include <QLabel>
#include <cmath>
#include <limits>

using Forms::Q;
using Forms::S;
using namespace GenSettingsForm;

bool frmGenSettings::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    // Entering one of the boxes, by mouse or keyboard, selects all its text:
    // the box handles the event first so that the selection stays. Coming
    // back from its own menu is no entering.
    const bool entered = event->type() == QEvent::FocusIn &&
                         static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
    if (box != nullptr && (entered || event->type() == QEvent::MouseButtonRelease)) {
        box->event(event);
        box->selectAll();
        return true;
    }
    if (Forms::FocusLost(static_cast<QWidget*>(watched), event)) {
        if (watched == txtAddress) {
            txtAddress_LostFocus();
        } else if (watched == cboOrvaneIntChan) {
            cboOrvaneIntChan_LostFocus();
        }
    }
    return Forms::Dialog::eventFilter(watched, event);
}

void frmGenSettings::StoreEditedParam(int16_t Param, const std::string& Text, bool& Cancel)
{
    Cancel = true;
    if (!VB::IsNumeric(Text)) {
        return;
    }
    // A number too large for its type is refused like any other bad entry.
    try {
        const double value = VB::Val(Text);
        switch (Param) {
        case 8:
            break;
        case 1:
        case 2:
        case 3:
        case 9:
            GenParamRow(Param).set(EditGenParam, VB::CInt(value));
            break;
        default:
            if (std::fabs(value) > std::numeric_limits<float>::max()) {
                return;
            }
            GenParamRow(Param).set(EditGenParam, static_cast<float>(value));
            break;
        }
    } catch (const VBError&) {
        return;
    }
    // The read copy stays as read: rounding it would hide a change.
    EditGenParam.ChangedParam(Param);
    if (EditGenParam.OKToWrite(Param)) {
        // The check may have brought the value to its step, and the encoder
        // takes it to its code: the field shows what Set will send.
        ShowGenParam(Param);
        SetGenParamColour(Param);
        EnableGenWrite();
        Cancel = false;
    }
}

void frmGenSettings::FieldValidate(int32_t Param, int Index, bool& Cancel)
{
    const GenParamFacts& row = GenParamRow(Param);
    std::string text;
    if (row.twins) {
        QComboBox* combo = Param == 1 ? cboGain[static_cast<size_t>(Index)] : cboPowerLevel[static_cast<size_t>(Index)];
        text = std::to_string(combo->currentIndex());
    } else if (row.text == GenFieldText::ListIndex) {
        text = std::to_string(ListIndex(Control<QComboBox>(row.field)));
    } else if (auto* box = Control<QLineEdit>(row.field)) {
        text = S(box->text());
    } else {
        text = ComboText(Control<QComboBox>(row.field));
    }
    StoreEditedParam(static_cast<int16_t>(Param), text, Cancel);
    if (row.twins && !Cancel) {
        const auto& pair = Param == 1 ? cboGain : cboPowerLevel;
        QComboBox* twin = pair[static_cast<size_t>((Index + 1) % 2)];
        const int index = pair[static_cast<size_t>(Index)]->currentIndex();
        const bool was = twin->isEnabled();
        twin->setEnabled(false);
        SetListIndex(twin, index < twin->count() ? index : twin->count() - 1);
        twin->setEnabled(was);
    }
}

void frmGenSettings::txtAddress_Validate(bool& Cancel)
{
    Cancel = false;
    const std::string text = S(txtAddress->text());
    if (QuickSetMode) {
        NavParams.CmdAddressString(text);
        NavChosen = NavChosen || !VB::Trim(text).empty();
        lblQuickData[1]->setText(Q(text));
        CheckCmdAddress();
        EnableGenWrite();
        return;
    }
    clsCommands commands;
    if (commands.CheckFullAddressCode(text) != 0) {
        Cancel = true;
        return;
    }
    EditGenParam.Address(commands.Address());
    EditGenParam.ChannelCode(commands.ICFChannel());
    for (int32_t n : {2, 8}) {
        EditGenParam.ChangedParam(n);
    }
    if (EditGenParam.OKToWrite(2) && EditGenParam.OKToWrite(8)) {
        ColourAddressAndChannel();
        ShowGenParams();
        EnableGenWrite();
    } else {
        Cancel = true;
    }
}

void frmGenSettings::txtAddress_KeyPress(int16_t& KeyAscii) { CommonProcs::NumericKeyFilter(KeyAscii, false); }

void frmGenSettings::txtAddress_Change() { lblQuickData[1]->setText(txtAddress->text()); }

void frmGenSettings::txtAddress_LostFocus()
{
    NavParams.CmdAddressString(S(txtAddress->text()));
    lblQuickData[1]->setText(txtAddress->text());
    EnableGenWrite();
}

void frmGenSettings::cboGain_Click(int Index)
{
    bool Cancel = false;
    FieldValidate(1, Index, Cancel);
}

void frmGenSettings::cboPowerLevel_Click(int Index)
{
    bool Cancel = false;
    FieldValidate(9, Index, Cancel);
}

void frmGenSettings::cboGenTAT_Click()
{
    lblQuickData[2]->setText(ReadGenParam.EnableOK(FW(), 4) ? cboGenTAT->currentText() : QString());
}

void frmGenSettings::cboOrvaneIntChan_Click() { cboOrvaneIntChan_LostFocus(); }

void frmGenSettings::cboOrvaneIntChan_LostFocus()
{
    const int i = cboOrvaneIntChan->currentIndex();
    NavChosen = NavChosen || i >= 0;
    NavParams.OrvaneIntChan(i >= 0 ? i : 19);
    lblQuickData[0]->setText(cboOrvaneIntChan->currentText());
    CheckCmdAddress();
    EnableGenWrite();
}
