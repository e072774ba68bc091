// The general parameters dialog's controls: its two panels, laid out, and
// the wiring of their events.
#include "frmGenSettings_p.h"

#include "genparamfacts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

using Forms::Named;
using Forms::NewButton;

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QLabel(caption, parent), name);
}

QLabel* NewLabel(QWidget* parent, const char* name, int index, const QString& caption)
{
    return Named(new QLabel(caption, parent), name, index);
}

QComboBox* NewCombo(QWidget* parent, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

void frmGenSettings::BuildControls()
{
    picGeneral[0] = Named(BuildGeneralPanel(), "picGeneral", 0);
    picGeneral[1] = Named(BuildQuickSetPanel(), "picGeneral", 1);
    prgGenSettings = Named(new QProgressBar(this), "prgGenSettings");
    prgGenSettings->setRange(0, 100);
    prgGenSettings->setTextVisible(false);
    staSettings = Forms::NewStatusBar(this, "staSettings", staSettingsPanel1, "staSettings_1");
    tmrReadParams = Named(new QTimer(this), "tmrReadParams");

    auto* panels = new QGridLayout;
    panels->addWidget(picGeneral[0], 0, 0);
    panels->addWidget(picGeneral[1], 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(panels, 1);
    layout->addWidget(prgGenSettings);
    layout->addWidget(staSettings);
}

QWidget* frmGenSettings::BuildGeneralPanel()
{
    auto* panel = new QWidget(this);
    cmdQuickSet = NewButton(panel, "cmdQuickSet", QStringLiteral("&Quickset Spanwave"),
                            QStringLiteral("Return to Quickset Spanwave"));
    cmdProgressCancel[0] = NewButton(panel, "cmdProgressCancel_0", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdExit[0] = NewButton(panel, "cmdExit_0", QStringLiteral("E&xit"), QStringLiteral("Back to Main menu"));

    fraGen = Named(new QGroupBox(QStringLiteral("General Settings"), panel), "fraGen");
    lblOrvaneIntChan = NewLabel(fraGen, "lblOrvaneIntChan", QStringLiteral("Interrogate"));
    cboOrvaneIntChan = Named(NewCombo(fraGen, false), "cboOrvaneIntChan");
    lblAddress = NewLabel(fraGen, "lblAddress", QStringLiteral("Address"));
    txtAddress = Named(new QLineEdit(fraGen), "txtAddress");
    cboAddress = Named(NewCombo(fraGen, true), "cboAddress");
    // Only showing the address shows it: elsewhere it would be an unlabelled
    // field that edits the address.
    cboAddress->hide();
    lblPowerLevel[0] = NewLabel(fraGen, "lblPowerLevel", 0, QStringLiteral("Power Level"));
    cboPowerLevel[0] = Named(NewCombo(fraGen, false), "cboPowerLevel", 0);

    fraOrvane = Named(new QGroupBox(QStringLiteral("Orvane Channels"), fraGen), "fraOrvane");
    lblGenTAT[0] = NewLabel(fraOrvane, "lblGenTAT", 0, QStringLiteral("Turn-Around-Time"));
    lblGenTAT[1] = NewLabel(fraOrvane, "lblGenTAT", 1, QStringLiteral("mSec"));
    cboGenTAT = Named(NewCombo(fraOrvane, false), "cboGenTAT");
    lblPulseWidth[0] = NewLabel(fraOrvane, "lblPulseWidth", 0, QStringLiteral("Reply Pulse Width"));
    lblPulseWidth[1] = NewLabel(fraOrvane, "lblPulseWidth", 1, QStringLiteral("mSec"));
    txtPulseWidth = Named(new QLineEdit(fraOrvane), "txtPulseWidth");
    lblBlock[0] = NewLabel(fraOrvane, "lblBlock", 0, QStringLiteral("Blocking Period"));
    lblBlock[1] = NewLabel(fraOrvane, "lblBlock", 1, QStringLiteral("Seconds"));
    cboBlock = Named(NewCombo(fraOrvane, true), "cboBlock");

    lblGain[0] = NewLabel(fraGen, "lblGain", 0, QStringLiteral("Gain"));
    cboGain[0] = Named(NewCombo(fraGen, false), "cboGain", 0);
    lblIdentity[0] = NewLabel(fraGen, "lblIdentity", 0, QStringLiteral("Transducer"));
    cboIdentity = Named(NewCombo(fraGen, false), "cboIdentity");
    lblIdentity[1] = NewLabel(fraGen, "lblIdentity", 1, QStringLiteral("Identity"));
    lblRelayOnTime[0] = NewLabel(fraGen, "lblRelayOnTime", 0, QStringLiteral("Relay-On Time"));
    lblRelayOnTime[1] = NewLabel(fraGen, "lblRelayOnTime", 1, QStringLiteral("Seconds"));
    txtRelayOnTime = Named(new QLineEdit(fraGen), "txtRelayOnTime");
    lblVariableTAT[0] = NewLabel(fraGen, "lblVariableTAT", 0, QStringLiteral("Responder Variable TAT"));
    lblVariableTAT[1] = NewLabel(fraGen, "lblVariableTAT", 1, QStringLiteral("mSec"));
    cboVariableTAT = Named(NewCombo(fraGen, true), "cboVariableTAT");
    cmdGenCancel[0] = NewButton(fraGen, "cmdGenCancel_0", QStringLiteral("&Cancel"),
                                QStringLiteral("Reset all unsent General parameters"));
    cmdGenWrite[0] = NewButton(fraGen, "cmdGenWrite_0", QStringLiteral("&Set"),
                               QStringLiteral("Send all changed General parameters to Transponder"));
    cmdGenRead[0] = NewButton(fraGen, "cmdGenRead_0", QStringLiteral("&Get"),
                              QStringLiteral("Read all General parameters from Transponder"));

    fraSpecial = Named(new QGroupBox(QStringLiteral("Special Settings"), panel), "fraSpecial");
    cmdMultiTATs = NewButton(fraSpecial, "cmdMultiTATs", QStringLiteral("&Multi-TATs..."),
                             QStringLiteral("Access Multi-TAT settings"));
    cmdTimedRelease = NewButton(fraSpecial, "cmdTimedRelease", QStringLiteral("&Timed Release..."),
                                QStringLiteral("Access Timed Release setting"));

    auto* orvane = new QGridLayout(fraOrvane);
    orvane->addWidget(lblGenTAT[0], 0, 0);
    orvane->addWidget(cboGenTAT, 0, 1);
    orvane->addWidget(lblGenTAT[1], 0, 2);
    orvane->addWidget(lblPulseWidth[0], 1, 0);
    orvane->addWidget(txtPulseWidth, 1, 1);
    orvane->addWidget(lblPulseWidth[1], 1, 2);
    orvane->addWidget(lblBlock[0], 2, 0);
    orvane->addWidget(cboBlock, 2, 1);
    orvane->addWidget(lblBlock[1], 2, 2);

    auto* gen = new QGridLayout(fraGen);
    gen->addWidget(lblOrvaneIntChan, 0, 0);
    gen->addWidget(cboOrvaneIntChan, 0, 1);
    gen->addWidget(lblAddress, 1, 0);
    auto* address = new QHBoxLayout;
    address->addWidget(txtAddress);
    address->addWidget(cboAddress);
    gen->addLayout(address, 1, 1);
    gen->addWidget(lblPowerLevel[0], 2, 0);
    gen->addWidget(cboPowerLevel[0], 2, 1);
    gen->addWidget(fraOrvane, 3, 0, 1, 3);
    gen->addWidget(lblGain[0], 4, 0);
    gen->addWidget(cboGain[0], 4, 1);
    gen->addWidget(lblIdentity[0], 5, 0);
    auto* identity = new QHBoxLayout;
    identity->addWidget(cboIdentity);
    identity->addWidget(lblIdentity[1]);
    gen->addLayout(identity, 5, 1);
    gen->addWidget(lblRelayOnTime[0], 6, 0);
    gen->addWidget(txtRelayOnTime, 6, 1);
    gen->addWidget(lblRelayOnTime[1], 6, 2);
    gen->addWidget(lblVariableTAT[0], 7, 0);
    gen->addWidget(cboVariableTAT, 7, 1);
    gen->addWidget(lblVariableTAT[1], 7, 2);
    auto* genButtons = new QHBoxLayout;
    genButtons->addWidget(cmdGenCancel[0]);
    genButtons->addWidget(cmdGenWrite[0]);
    genButtons->addWidget(cmdGenRead[0]);
    gen->addLayout(genButtons, 8, 0, 1, 3);

    auto* special = new QHBoxLayout(fraSpecial);
    special->addWidget(cmdMultiTATs);
    special->addWidget(cmdTimedRelease);

    auto* top = new QHBoxLayout;
    top->addWidget(cmdQuickSet);
    top->addStretch();
    top->addWidget(cmdProgressCancel[0]);
    top->addWidget(cmdExit[0]);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(fraGen);
    layout->addWidget(fraSpecial);
    return panel;
}

QWidget* frmGenSettings::BuildQuickSetPanel()
{
    auto* panel = new QWidget(this);
    cmdAdvanced = NewButton(panel, "cmdAdvanced", QStringLiteral("&Advanced"), QStringLiteral("Show all General parameters"));
    cmdProgressCancel[1] = NewButton(panel, "cmdProgressCancel_1", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdExit[1] = NewButton(panel, "cmdExit_1", QStringLiteral("E&xit"), QStringLiteral("Back to Main menu"));
    Frame1 = Named(new QGroupBox(QStringLiteral("Quickset Spanwave"), panel), "Frame1");
    static const char* const names[] = {"", "A1", "A2", "A3", "B1", "B2", "B3", "C1", "C2", "C3"};
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 9; ++i) {
        QPushButton* button = NewButton(Frame1, "cmdQuick", QString::fromLatin1(names[i]));
        cmdQuick[static_cast<size_t>(i)] = Named(button, "cmdQuick", i);
        QFont font(QStringLiteral("Arial"));
        // Sized for the highlighted caption, so that highlighting moves nothing.
        font.setPointSize(28);
        button->setFont(font);
        button->setMinimumSize(button->sizeHint());
        font.setPointSize(20);
        button->setFont(font);
        grid->addWidget(button, (i - 1) / 3, (i - 1) % 3);
    }
    cmdGenRead[1] = NewButton(Frame1, "cmdGenRead_1", QStringLiteral("&Get"),
                              QStringLiteral("Read all General parameters from Transponder"));
    cmdGenCancel[1] = NewButton(Frame1, "cmdGenCancel_1", QStringLiteral("&Cancel"),
                                QStringLiteral("Reset all unsent General parameters"));
    cmdGenWrite[1] = NewButton(Frame1, "cmdGenWrite_1", QStringLiteral("&Set"),
                               QStringLiteral("Send all changed parameters to Transponder"));
    lblPowerLevel[1] = NewLabel(Frame1, "lblPowerLevel", 1, QStringLiteral("Power"));
    cboPowerLevel[1] = Named(NewCombo(Frame1, false), "cboPowerLevel", 1);
    lblGain[1] = NewLabel(Frame1, "lblGain", 1, QStringLiteral("Gain"));
    cboGain[1] = Named(NewCombo(Frame1, false), "cboGain", 1);
    Label7 = NewLabel(Frame1, "Label7", QStringLiteral("Interrogate"));
    Label10 = NewLabel(Frame1, "Label10", QStringLiteral("Address"));
    Label11 = NewLabel(Frame1, "Label11", QStringLiteral("TAT"));
    for (int i = 0; i < 3; ++i) {
        lblQuickData[static_cast<size_t>(i)] = NewLabel(Frame1, "lblQuickData", i, QString());
        lblQuickData[static_cast<size_t>(i)]->setFrameShape(QFrame::Panel);
        lblQuickData[static_cast<size_t>(i)]->setFrameShadow(QFrame::Sunken);
    }
    Label1[0] = NewLabel(Frame1, "Label1", 0, QStringLiteral("Click the required scheme, A1 to C3; Select Power & Gain."));
    Label1[3] = NewLabel(Frame1, "Label1", 3, QStringLiteral("Click Set to program the transponder."));
    lblSCP = NewLabel(Frame1, "lblSCP",
                      QStringLiteral("Same row e.g. B1+B2+B3 etc = Simultaneous mode.\ninterrogation cycle;\nFaster update "
                                     "rate.\n\nSame column/diagonal e.g. A1+B1+C3 etc = Sequential.\nSeparate "
                                     "interrogation cycles;\nSlower but separate update\nrates.\n\nWARNING: C1, C2 or "
                                     "C3 may cause interference with BOP\nsystems address x00."));
    // No word wrap: a wrapped label's height is no part of the window's
    // minimum size, and the note's last lines were cut off.

    auto* data = new QGridLayout;
    data->addWidget(Label7, 0, 0);
    data->addWidget(lblQuickData[0], 1, 0);
    data->addWidget(Label10, 0, 1);
    data->addWidget(lblQuickData[1], 1, 1);
    data->addWidget(Label11, 0, 2);
    data->addWidget(lblQuickData[2], 1, 2);
    auto* choices = new QGridLayout;
    choices->addWidget(lblPowerLevel[1], 0, 0);
    choices->addWidget(cboPowerLevel[1], 0, 1);
    choices->addWidget(lblGain[1], 1, 0);
    choices->addWidget(cboGain[1], 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdGenCancel[1]);
    buttons->addWidget(cmdGenWrite[1]);
    buttons->addWidget(cmdGenRead[1]);
    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(Label1[0]);
    frame->addLayout(grid);
    frame->addLayout(data);
    frame->addLayout(choices);
    frame->addWidget(Label1[3]);
    frame->addLayout(buttons);
    frame->addWidget(lblSCP);

    auto* top = new QHBoxLayout;
    top->addWidget(cmdAdvanced);
    top->addStretch();
    top->addWidget(cmdProgressCancel[1]);
    top->addWidget(cmdExit[1]);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(Frame1);
    return panel;
}

void frmGenSettings::ConnectEvents()
{
    // Leaving a field for these abandons the entry: they never check it. A
    // read replaces what the field held anyway.
    for (QWidget* w : {cmdExit[0], cmdExit[1], cmdGenCancel[0], cmdGenCancel[1], cmdProgressCancel[0],
                       cmdProgressCancel[1], cmdGenRead[0], cmdGenRead[1]}) {
        Forms::SetCausesValidation(w, false);
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdExit[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdExit_Click(i); });
        connect(cmdProgressCancel[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdProgressCancel_Click(i); });
        connect(cmdGenCancel[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdGenCancel_Click(i); });
        // Get and Set may stay enabled while an exchange runs (Set follows its
        // gate, and the navigation part of a write leaves both alone); a click
        // let through during its waits, or the second of a double click, must
        // not start another read or write on the same link.
        connect(cmdGenRead[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] {
            if (!Forms::FocusRefused(cmdGenRead[static_cast<size_t>(i)]) && !Busy()) {
                cmdGenRead_Click(i);
            }
        });
        connect(cmdGenWrite[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] {
            if (!Forms::FocusRefused(cmdGenWrite[static_cast<size_t>(i)]) && !Busy() && ValuesStillRead() &&
                GenWriteAllowed()) {
                cmdGenWrite_Click(i);
            }
        });
        connect(cboGain[static_cast<size_t>(i)], &QComboBox::activated, this, [this, i] { cboGain_Click(i); });
        connect(cboPowerLevel[static_cast<size_t>(i)], &QComboBox::activated, this, [this, i] { cboPowerLevel_Click(i); });
        Forms::OnValidate(cboGain[static_cast<size_t>(i)], [this, i](bool& Cancel) { FieldValidate(1, i, Cancel); });
        Forms::OnValidate(cboPowerLevel[static_cast<size_t>(i)],
                          [this, i](bool& Cancel) { FieldValidate(9, i, Cancel); });
    }
    for (int i = 1; i <= 9; ++i) {
        connect(cmdQuick[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdQuick_Click(i); });
    }
    connect(cmdQuickSet, &QPushButton::clicked, this, &frmGenSettings::cmdQuickSet_Click);
    connect(cmdAdvanced, &QPushButton::clicked, this, &frmGenSettings::cmdAdvanced_Click);
    connect(cmdMultiTATs, &QPushButton::clicked, this, &frmGenSettings::cmdMultiTATs_Click);
    connect(cmdTimedRelease, &QPushButton::clicked, this, &frmGenSettings::cmdTimedRelease_Click);
    connect(cboGenTAT, &QComboBox::activated, this, &frmGenSettings::cboGenTAT_Click);
    connect(cboOrvaneIntChan, &QComboBox::activated, this, &frmGenSettings::cboOrvaneIntChan_Click);
    connect(txtAddress, &QLineEdit::textChanged, this, &frmGenSettings::txtAddress_Change);
    connect(tmrReadParams, &QTimer::timeout, this, &frmGenSettings::tmrReadParams_Timer);

    // One line per field that stores through its own Validate.
    for (const GenParamFacts& row : GenParamTable) {
        if (row.text == GenFieldText::None || row.twins) {
            continue;
        }
        const int32_t n = row.number;
        Forms::OnValidate(Control<QWidget>(row.field), [this, n](bool& Cancel) { FieldValidate(n, 0, Cancel); });
    }
    Forms::OnValidate(txtAddress, [this](bool& Cancel) { txtAddress_Validate(Cancel); });
    Forms::OnKeyPress(txtAddress, [this](int16_t& KeyAscii) { txtAddress_KeyPress(KeyAscii); });

    for (QWidget* w : {static_cast<QWidget*>(txtAddress), static_cast<QWidget*>(txtPulseWidth),
                       static_cast<QWidget*>(txtRelayOnTime), static_cast<QWidget*>(cboOrvaneIntChan)}) {
        w->installEventFilter(this);
    }
}
