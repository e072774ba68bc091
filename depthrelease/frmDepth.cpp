#include "frmDepth.h"

#include "clsDepth.h"
#include "clsFirmware.h"
#include "clsTpdrComms.h"
#include "depthrelease_choices.h"
#include "dialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

constexpr float RaiseEventPeriod = 0.1f;

frmDepth::frmDepth(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmDepth"));
    setWindowTitle(QStringLiteral("Depth Sensor"));

    auto* caption = new QLabel(QStringLiteral("Depth telemetry:"), this);
    lblDepthOnOff = Forms::Named(new QLabel(this), "lblDepthOnOff");
    cboDepthOnOff = Forms::Named(new QComboBox(this), "cboDepthOnOff");
    cboDepthOnOff->addItems({QStringLiteral("ON"), QStringLiteral("OFF")});
    cmdGet = Forms::NewButton(this, "cmdGet", QStringLiteral("&Get"));
    cmdSet = Forms::NewButton(this, "cmdSet", QStringLiteral("&Set"));
    cmdExit = Forms::NewButton(this, "cmdExit", QStringLiteral("E&xit"));
    Forms::SetCausesValidation(cmdExit, false);

    auto* state = new QHBoxLayout;
    state->addWidget(caption);
    state->addWidget(lblDepthOnOff);
    state->addStretch();
    state->addWidget(cboDepthOnOff);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdGet);
    buttons->addWidget(cmdSet);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(state);
    layout->addLayout(buttons);

    connect(cmdGet, &QPushButton::clicked, this, &frmDepth::cmdGet_Click);
    connect(cmdSet, &QPushButton::clicked, this, &frmDepth::cmdSet_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmDepth::cmdExit_Click);
    ShowOnOff();
}

void frmDepth::cmdGet_Click()
{
    if (Busy()) {
        return;
    }
    ReadOnOff();
    ShowOnOff();
}

void frmDepth::cmdSet_Click()
{
    if (Busy()) {
        return;
    }
    EditDepth.OnOff(cboDepthOnOff->currentIndex() == 0 ? 1 : 2);
    TpdrExchange::Reply reply;
    bool written = false;
    if (Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { EditDepth.WriteEncode_OnOff(c, n, r); }, reply)) {
        written = clsDepth::WriteDecode(reply.text);
        if (!written) {
            MsgBox("The transponder did not accept the depth setting.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
                   "Depth Sensor");
        }
    }
    // The state shown afterwards is the one the transponder reports, not the one asked for.
    if (written) {
        ReadOnOff();
    }
    ShowOnOff();
}

void frmDepth::cmdExit_Click() { Unload(QDialog::Accepted); }

// Never unloaded under its own running exchange.
void frmDepth::QueryUnload(bool& Cancel, CloseBy /*how*/) { Cancel = Busy(); }

bool frmDepth::Exchange(const TpdrExchange::Encoder& encode, TpdrExchange::Reply& reply)
{
    TpdrExchange::Options options;
    options.delayFirst = false;
    options.raiseEventPeriod = RaiseEventPeriod;
    // The parameter objects' encoders raise nothing: the busy state always ends.
    SetBusy(true);
    Forms::BusyPointer();
    const int32_t result = TpdrExchange::Run(*this, encode, {}, reply, {}, options);
    Forms::DefaultPointer();
    SetBusy(false);
    return result == ReplyReceived;
}

bool frmDepth::ReadOnOff()
{
    TpdrExchange::Reply reply;
    if (!Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { ReadDepth.ReadEncode_OnOff(c, n, r); }, reply)) {
        // The state shown before is no longer known to be the unit's.
        ReadDepth.OnOff(0);
        return false;
    }
    int16_t result = 0;
    ReadDepth.ReadDecode_OnOff(reply.text, TpdrFirmware.FWVersion(), result);
    return result == 0 || result == DepthOnOffNotFitted;
}

void frmDepth::ShowOnOff()
{
    static const char* const texts[] = {"Not read", "ON", "OFF", "Status ON", "Not fitted"};
    const int16_t state = ReadDepth.OnOff();
    lblDepthOnOff->setText(QString::fromLatin1(texts[state >= 1 && state <= 4 ? state : 0]));
    const bool fitted = ReadDepth.OnOff() != 4;
    cboDepthOnOff->setEnabled(fitted);
    cmdSet->setEnabled(fitted);
    if (ReadDepth.OnOff() == 1 || ReadDepth.OnOff() == 2) {
        cboDepthOnOff->setCurrentIndex(ReadDepth.OnOff() - 1);
    }
}
