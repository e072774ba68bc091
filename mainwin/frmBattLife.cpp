#include "frmBattLife.h"

#include "appinfo.h"
#include "clock.h"
#include "clsBattery.h"
#include "clsFirmware.h"
#include "clsSettings.h"
#include "commonprocs.h"
#include "errorhandler.h"
#include "frmBattLifeSettings.h"
#include "tpdrexchange.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <algorithm>

using Forms::Named;
using Forms::Q;
using Forms::Twips;

namespace {

constexpr char TestFailed[] = "Battery Life Test failed.";
using Result::DecodeError;
constexpr int32_t NotSupportedResult = 18;

// How the advice is shown: charge (true) or not (false). Sizes in twips,
// colours as &HBBGGRR values.
struct Advice {
    uint32_t textColor;
    int height;
    int width;
    int left;
    int fontSize;
    const char* caption;
};
constexpr Advice NoNeedToCharge{0xFF0000, 450, 4040, 920, 18, "NO NEED TO CHARGE BATTERY"};
constexpr Advice ChargeBattery{0x0000FF, 540, 4800, 540, 24, "CHARGE BATTERY!"};
constexpr int WarningTop = 2400;

void SetGeometry(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

// The advice at its size and place, except that it is always readable whole:
// where this system's font runs wider than the box, the box grows about its
// centre as far as the window allows, and only then does the font shrink.
void LayOutAdvice(QLabel* label, const Advice& advice, int windowWidth)
{
    constexpr int Margin = 8;
    constexpr int SmallestFont = 8;
    QFont font = label->font();
    font.setPointSize(advice.fontSize);
    const auto needed = [&label, &font] { return QFontMetrics(font).horizontalAdvance(label->text()) + Margin; };
    const int centre = Twips(advice.left) + Twips(advice.width) / 2;
    const int room = 2 * std::min(centre, windowWidth - centre);
    const int width = std::max(Twips(advice.width), std::min(needed(), room));
    while (needed() > width && font.pointSize() > SmallestFont) {
        font.setPointSize(font.pointSize() - 1);
    }
    label->setFont(font);
    label->setGeometry(centre - width / 2, Twips(WarningTop), width, Twips(advice.height));
}

// The company's name on a plate, shown while there is no advice.
QPixmap CompanyPlate()
{
    QPixmap picture(Twips(2700), Twips(540));
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 51, 102));
    painter.drawRoundedRect(picture.rect(), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(16);
    painter.setFont(font);
    painter.setPen(QColor(250, 200, 40));
    painter.drawText(picture.rect(), Qt::AlignCenter, Q(App::CompanyName()));
    return picture;
}

// Rings going out from a point: shown while a ping is on its way.
QPixmap PingRings()
{
    const int size = Twips(480);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 120, 215), 2));
    for (int r = 4; r < size / 2; r += 5) {
        painter.drawEllipse(QPoint(size / 2, size / 2), r, r);
    }
    return picture;
}

} // namespace

frmBattLife::frmBattLife(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmBattLife"));
    setWindowTitle(QStringLiteral("Battery Life"));
    setFixedSize(Twips(5880), Twips(4590));

    fraTemperature = Named(new QGroupBox(QStringLiteral("Temperature"), this), "fraTemperature");
    SetGeometry(fraTemperature, 120, 60, 5640, 1335);
    lblTemperature = Named(new QLabel(fraTemperature), "lblTemperature");
    lblTemperature->setWordWrap(true);
    SetGeometry(lblTemperature, 120, 270, 5400, 450);
    const char* const temperatures[] = {"0 C", "10 C", "20 C", "30 C"};
    for (int i = 0; i < 4; ++i) {
        auto* option = Named(new QRadioButton(QString::fromLatin1(temperatures[i]), fraTemperature),
                             "optTemperature", i);
        SetGeometry(option, 240 + 1320 * i, 840, 1200, 315);
        optTemperature[static_cast<size_t>(i)] = option;
    }

    lblLifeLeftPrompt = Named(new QLabel(QStringLiteral("Battery Life Left:"), this), "lblLifeLeftPrompt");
    SetGeometry(lblLifeLeftPrompt, 240, 1560, 1800, 315);
    lblLifeLeft = Named(new QLabel(this), "lblLifeLeft");
    SetGeometry(lblLifeLeft, 2040, 1560, 2400, 315);
    QFont bold = lblLifeLeft->font();
    bold.setBold(true);
    lblLifeLeft->setFont(bold);
    lblLifeLeftInfo = Named(new QLabel(QStringLiteral("Based on 1 ping per second."), this), "lblLifeLeftInfo");
    SetGeometry(lblLifeLeftInfo, 240, 1920, 3600, 285);
    imgPing = Named(new QLabel(this), "imgPing");
    imgPing->setPixmap(PingRings());
    SetGeometry(imgPing, 4920, 1500, 480, 480);
    imgPing->hide();

    lblWarning = Named(new QLabel(this), "lblWarning");
    lblWarning->setAlignment(Qt::AlignCenter);
    lblWarning->setAutoFillBackground(true);
    lblWarning->hide();
    imgOrvane = Named(new QLabel(this), "imgOrvane");
    imgOrvane->setPixmap(CompanyPlate());
    SetGeometry(imgOrvane, 1590, 2370, 2700, 540);

    cmdGetLife = Forms::NewButton(this, "cmdGetLife", QStringLiteral("&Get Battery Life"),
                                  QStringLiteral("Begin the Battery Life estimation"));
    SetGeometry(cmdGetLife, 240, 3240, 1695, 420);
    cmdSettings = Forms::NewButton(this, "cmdSettings", QStringLiteral("&Settings..."),
                                   QStringLiteral("Set warning limit"));
    SetGeometry(cmdSettings, 2093, 3240, 1695, 420);
    cmdBack = Forms::NewButton(this, "cmdBack", QStringLiteral("&Exit"), QStringLiteral("Back to main menu"));
    SetGeometry(cmdBack, 3945, 3240, 1695, 420);
    cmdCancel = Forms::NewButton(this, "cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    SetGeometry(cmdCancel, 3945, 3240, 1695, 420);
    Forms::SetCausesValidation(cmdBack, false);
    Forms::SetCausesValidation(cmdCancel, false);

    prgBattLife = Named(new QProgressBar(this), "prgBattLife");
    prgBattLife->setRange(0, 100);
    prgBattLife->setTextVisible(false);
    SetGeometry(prgBattLife, 120, 3840, 5640, 240);
    staBattLife = Forms::NewStatusBar(this, "staBattLife", staBattLifePanel1, "staBattLifePanel1");
    SetGeometry(staBattLife, 0, 4200, 5880, 390);

    connect(cmdGetLife, &QPushButton::clicked, this, &frmBattLife::cmdGetLife_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBattLife::cmdCancel_Click);
    connect(cmdSettings, &QPushButton::clicked, this, &frmBattLife::cmdSettings_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmBattLife::cmdBack_Click);
    for (int i = 0; i < 4; ++i) {
        // Only a user's click stores the option; the window's own selections do not.
        connect(optTemperature[static_cast<size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { optTemperature_Click(i); });
    }

    Form_Load();
}

void frmBattLife::Form_Load()
{
    lblTemperature->setText(QStringLiteral("Estimate the temperature at which the transponder will be working."));
    SetTestState(Stopped, "Stopped");
}

void frmBattLife::QueryUnload(bool& Cancel, CloseBy /*how*/)
{
    if (Busy()) {
        Cancel = true;
    }
}

void frmBattLife::ShowStatus(const std::string& text)
{
    staBattLifePanel1->setText(Q(text));
    staBattLife->repaint();
}

void frmBattLife::mTpdrComms_PercentDone(float Fraction, bool& Cancel)
{
    TpdrExchange::ShowProgress(prgBattLife, Fraction, *this, Cancel);
}

void frmBattLife::cmdCancel_Click() { cancelRequested_ = true; }

void frmBattLife::cmdBack_Click() { Unload(QDialog::Accepted); }

void frmBattLife::optTemperature_Click(int Index) { AppSettings.BattLifeTemperature(Index); }

void frmBattLife::cmdSettings_Click()
{
    BattLifeSettings settings;
    {
        frmBattLifeSettings dialog({AppSettings.BattChargeThreshold(), AppSettings.BattLifeAdvice()}, this);
        dialog.exec();
        settings = dialog.Settings();
    }
    AppSettings.BattChargeThreshold(settings.threshold);
    AppSettings.BattLifeAdvice(settings.advice);
}

void frmBattLife::SelectStoredTemperature()
{
    // A stored value outside the options selects none of them.
    const int32_t stored = AppSettings.BattLifeTemperature();
    for (int i = 0; i < 4; ++i) {
        QRadioButton* option = optTemperature[static_cast<size_t>(i)];
        if (option->isChecked() != (i == stored)) {
            option->setAutoExclusive(false);
            option->setChecked(i == stored);
            option->setAutoExclusive(true);
        }
    }
}

void frmBattLife::SetTestState(int16_t state, const std::string& text)
{
    prgBattLife->setValue(prgBattLife->minimum());
    std::string status = VB::Trim(text);
    const bool stopped = state != Measuring && state != Pinging;
    SetBusy(!stopped);
    for (QRadioButton* option : optTemperature) {
        option->setEnabled(stopped);
    }
    if (stopped) {
        DoEvents();
    }
    cmdSettings->setEnabled(stopped);
    cmdGetLife->setEnabled(stopped);
    cmdBack->setEnabled(stopped);
    cmdBack->setVisible(state != Measuring);
    cmdCancel->setEnabled(state == Measuring);
    cmdCancel->setVisible(state == Measuring);
    if (status.empty()) {
        status = state == Measuring  ? "Measuring the Battery Voltage."
                 : state == Pinging ? "Pinging the Transponder. Please wait..."
                                    : "Stopped";
    }
    staBattLifePanel1->setText(Q(status));
    SelectStoredTemperature();
    repaint();
}

void frmBattLife::cmdGetLife_Click()
{
    try {
        ShowResults(true);
        SetTestState(Measuring, "");
        cancelRequested_ = false;

        FirmwareReader::GetFirmware(FirmwarePolicies::frmBattLife, *this);
        const int32_t FW = TpdrFirmware.FWVersion();

        TpdrBattery.BatteryType(0);
        bool measurable = false;
        if (clsBattery::EnableOK_BattType(FW) && ReadBatteryType() == 0) {
            measurable = TpdrBattery.CanMeasureLife();
        }
        if (!clsBattery::EnableOK_BattLife(FW) && !measurable) {
            CommonProcs::ShowNotSupported();
            SetTestState(Stopped, "Battery Life not supported");
            return;
        }

        SetTestState(Pinging, "");
        CommonProcs::Delay(0.5f);
        // The pings load the battery; Cancel does not stop them.
        for (int i = 0; i < AppSettings.BattLifePings(); ++i) {
            Ping();
        }

        SetTestState(Measuring, "");
        if (ReadBatteryVoltage(FW) != 0 || ShowResults(false) != 0) {
            SetTestState(Stopped, TestFailed);
            return;
        }
        SetTestState(Stopped, "Voltage = " + TpdrBattery.BatteryVoltage(TpdrBattery.BatteryCount(), FW,
                                                                         TpdrBattery.BatteryType()));
    } catch (const VBError& e) {
        ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "cmdGetLifeErrorHandler (frmBattLife)");
        // A window left busy could never be closed.
        SetTestState(Stopped, TestFailed);
    }
}

void frmBattLife::Ping()
{
    TpdrExchange::Options options;
    options.delayFirst = false;
    options.noReply = true;
    options.ioText = clsBattery::PingIOText;
    TpdrExchange::Reply reply;
    TpdrExchange::Run(*this, clsBattery::PingEncode, {}, reply, {}, options);
    imgPing->show();
    repaint();
    CommonProcs::Delay(0.2f);
    imgPing->hide();
    repaint();
    CommonProcs::Delay(0.8f);
}

int32_t frmBattLife::ReadBatteryType()
{
    try {
        TpdrExchange::Options options;
        options.statusAfterDecode = true;
        TpdrExchange::Reply reply;
        const int32_t R = TpdrExchange::Run(
            *this, [](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_BatteryType(c, n, r); },
            [] { return TpdrBattery.StatusBarText(); }, reply,
            [](const std::string& text, int16_t) { TpdrBattery.ReadDecode_BatteryType(text); }, options);
        if (R != ReplyReceived) {
            TpdrBattery.BatteryType(0);
            ShowStatus("Invalid Battery Type");
        } else {
            CommonProcs::InitialiseTpdr(*this);
        }
        return R;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadBatteryType (frmBattLife)");
    }
    return DecodeError;
}

int32_t frmBattLife::ReadBatteryVoltage(int32_t FW)
{
    cancelRequested_ = false;
    try {
        if (!clsBattery::EnableOK(FW)) {
            if (FW != FWUnknown) {
                CommonProcs::ShowNotSupported();
            }
            return NotSupportedResult;
        }
        // The status bar keeps saying what the window does while it waits.
        TpdrExchange::Options options;
        options.delayFirst = false;
        TpdrExchange::Reply reply;
        const int32_t R = TpdrExchange::Run(
            *this, [](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_VoltageByte(c, n, r); }, {},
            reply, [](const std::string& text, int16_t) { TpdrBattery.ReadDecode_VoltageByte(text); }, options);
        if (R != ReplyReceived) {
            return R;
        }
        CommonProcs::InitialiseTpdr(*this);
        return TpdrBattery.ReadOK() ? 0 : DecodeError;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadBatteryVoltage (frmBattLife)");
    }
    return DecodeError;
}

int16_t frmBattLife::HoursLeft()
{
    try {
        const int32_t temperature = AppSettings.BattLifeTemperature();
        const int16_t count = TpdrBattery.BatteryCount();
        if (temperature < 0 || temperature >= static_cast<int32_t>(HoursByTemperature.size()) || count < 0 ||
            count >= CountsInTable) {
            Raise(ErrNo::SubscriptOutOfRange);
        }
        return HoursByTemperature[static_cast<size_t>(temperature)];
    } catch (const VBError& e) {
        if (ErrorHandler::GeneralErrors(e.Number()) != ErrorHandler::Action::Reported) {
            ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "HoursLeftErrorHandler (frmBattLife)");
        }
    }
    return -1;
}

int32_t frmBattLife::ShowResults(bool reset)
{
    try {
        if (reset) {
            lblLifeLeft->clear();
            imgOrvane->show();
            lblWarning->hide();
            repaint();
            return 0;
        }
        const int16_t H = HoursLeft();
        if (H < 0) {
            return DecodeError;
        }
        lblLifeLeft->setText(Q(VB::Trim(VB::Str(int32_t{H})) + " hours"));
        if (!AppSettings.BattLifeAdvice()) {
            imgOrvane->show();
            lblWarning->hide();
        } else {
            const Advice& advice = H < AppSettings.BattChargeThreshold() ? ChargeBattery : NoNeedToCharge;
            Forms::SetBackColor(lblWarning, Forms::vbWhite);
            QPalette palette = lblWarning->palette();
            palette.setColor(QPalette::WindowText, Forms::ToQColor(advice.textColor));
            lblWarning->setPalette(palette);
            lblWarning->setText(QString::fromLatin1(advice.caption));
            LayOutAdvice(lblWarning, advice, width());
            imgOrvane->hide();
            lblWarning->show();
        }
        repaint();
        return 0;
    } catch (const VBError& e) {
        const int32_t action = ErrorHandler::GeneralErrors(e.Number());
        if (action == ErrorHandler::Action::Reported) {
            return action;
        }
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ResultsErrorHandler (frmBattLife)");
    }
    return ErrorHandler::Action::Unknown;
}
