#include "exchange_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

using namespace Frames;
using namespace Memory;

const std::string Unknown = "Unknown:M";

TEST_F(ExchangeTest, GetStatus)
{
    const std::vector<std::string> labelsF = {"V2.05F:W", "Tx V2.10F:W", "5021:W",
                                              "004217:W", "ON:W",        "17.3 Volts:W"};
    auto labelsFWith = [&labelsF](size_t i, const std::string& shown) {
        auto labels = labelsF;
        labels[i] = shown;
        return labels;
    };
    const struct Row {
        const char* name;
        std::function<void()> setup;
        std::vector<std::string> frames;
        std::vector<std::string> labels; // firmware, Tx firmware, type, serial, depth, voltage
        std::vector<Box> boxes;
        int32_t scheme;
        bool navRead, depthButton, releaseButton;
    } rows[] = {
        {"S family", [this] { model.versionText = SFamily; },
         {V9, Volt, Init, RS232, Dual, Ports, Init},
         {"V2.05S:W", Unknown, "N/A:W", "N/A:W", Unknown, "17.3 Volts:W"}, {}, 1, true, false, false},
        {"F family in HPR", [] {}, Join({StatusF, NavF, {Init}}), labelsF, {}, 2, true, true, true},
        {"F family without transmitter board, Orvane tone",
         [this] {
             model.versionText = "Vers1.05F";
             SetChannel(0x10);
             ToneBlock();
         },
         {V9, Type, Init, Serial, Depth, Init, BattType, Init, Volt, Init, Codeword, Params, RS232, Init},
         {"V1.05F:W", Unknown, "5021:W", "004217:W", "ON:W", "17.3 Volts:W"}, {}, 3, true, true, true},
        {"Orvane Spanwave",
         [this] {
             SetChannel(0x10);
             SpanwaveBlock();
         },
         Join({StatusF, NavF, {Init}}), labelsF, {}, 4, true, true, true},
        {"pending version read again with ten characters", [this] { model.versionText = "Vers1.11Ss"; },
         {V9, V10, Volt, Init, RS232, Dual, Ports, Init},
         {"V1.11S:W", Unknown, "N/A:W", "N/A:W", Unknown, "17.3 Volts:W"}, {}, 1, true, false, false},
        {"test mode", [this] { model.versionText = "TestMode "; },
         {V9, Tx, Init, Depth, Init, Volt, Init, RS232, Dual, Ports, Init},
         // No type number: the depth answer is decoded.
         {"Test Mode:W", "Tx V2.10F:W", "N/A:W", "N/A:W", "ON:W", "17.3 Volts:W"}, {}, 0, false, true, false},
        {"unrecognised version", [this] { model.versionText = "Vers7.77X"; }, {V9},
         {"Unrecognised:R", Unknown, Unknown, Unknown, Unknown, Unknown}, {{"Invalid Firmware Version"}}, 0, false,
         false, false},
        {"no reply", [this] { model.knobs.noReply = true; }, {V9},
         {"Unrecognised:R", Unknown, Unknown, Unknown, Unknown, Unknown}, {{"Communication Error"}}, 0, false, false,
         false},
        {"unrecognised transmitter firmware goes on", [this] { model.txVersionText = "TxV9.99F"; },
         Join({StatusF, NavF, {Init}}), labelsFWith(1, "Unrecognised:R"),
         {{"Invalid Tx Synthesiser Firmware Version"}}, 2, true, true, true},
        {"stops answering at the type number", [this] { model.knobs.answerFrames = 3; }, {V9, Tx, Init, Type},
         {"V2.05F:W", "Tx V2.10F:W", "Unknown:R", Unknown, Unknown, "N/A:W"}, {{"Communication Error"}}, 0, false,
         false, false},
        {"model without depth sensor",
         [this] {
             for (uint8_t i = 0; i < 4; ++i) {
                 model.Poke(false, 0xE0, 0x0A, i, static_cast<uint8_t>("5120"[i]));
             }
         },
         Join({StatusF, NavF, {Init}}),
         {"V2.05F:W", "Tx V2.10F:W", "5120:W", "004217:W", "Not fitted:W", "17.3 Volts:W"}, {}, 2, true, false,
         false},
        {"depth byte FF: not fitted", [this] { SetDepthByte(model, 0xFF); },
         Join({StatusF, NavF, {Init}}), labelsFWith(4, "Not fitted:W"), {}, 2, true, false, true},
        {"depth status on shows OFF here", [this] { SetDepthByte(model, 0x02); },
         Join({StatusF, NavF, {Init}}), labelsFWith(4, "OFF:W"), {}, 2, true, true, true},
        {"invalid depth byte ends the pass", [this] { SetDepthByte(model, 0x07); },
         {V9, Tx, Init, Type, Init, Serial, Depth, Init},
         {"V2.05F:W", "Tx V2.10F:W", "5021:W", "004217:W", "Not fitted:R", "N/A:W"},
         {{"Invalid Depth On/Off Parameter"}}, 0, false, true, true},
        {"battery type 3", [this] { SetBatteryType(model, 3); }, Join({StatusF, NavF, {Init}}),
         labelsFWith(5, "25.9 Volts:W"), {}, 2, true, true, true},
        {"battery type 7 has no divider", [this] { SetBatteryType(model, 7); },
         Join({StatusF, NavF, {Init}}), labelsFWith(5, "Invalid:R"), {}, 2, true, true, true},
        {"invalid RS232 channel, HPR channel 1 declined", [this] { SetChannel(0x19); }, Join({StatusF, NavF}), labelsF,
         {{"Invalid Channel"}, {"Write HPR Channel", MsgBoxResult::No}}, 0, false, true, true},
        {"invalid RS232 channel, HPR channel 1 written", [this] { SetChannel(0x19); },
         Join({StatusF, NavF, {"!F|00|00|00|01|01"}}), labelsF,
         {{"Invalid Channel"}, {"Write HPR Channel", MsgBoxResult::Yes}, {"Read the Channel"}}, 0, false, true, true},
        {"channel 0 as RS232 channel: no offer", [this] { SetChannel(0x00); }, Join({StatusF, NavF}), labelsF,
         {{"Invalid Channel"}}, 0, false, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        model = Sim::TransponderModel();
        model.versionText = FFamily;
        SetCodeword(0x2053); // IRS, address 05, channel 03
        r.setup();
        Load();
        Activate();
        Script(r.boxes);
        win->cmdStatus->click();
        ExpectFrames(Sent(), r.frames);
        EXPECT_EQ(StatusLabels(), r.labels);
        EXPECT_EQ(Titles(), Titles(r.boxes));
        EXPECT_EQ(NavParams.NavScheme(), r.scheme);
        EXPECT_EQ(win->NavParamsRead, r.navRead);
        EXPECT_EQ(OwnEnabled("cmdDepth"), r.depthButton);
        EXPECT_EQ(OwnEnabled("cmdRelease"), r.releaseButton);
        EXPECT_TRUE(win->StatusReadRequested);
        EXPECT_FALSE(OwnVisible("cmdCancel"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        if (r.navRead) {
            EXPECT_EQ(win->StatusText(), "Transponder initialised.");
            EXPECT_EQ(win->Stored.NavScheme, r.scheme); // the copy a Set compares with
        }
        if (r.boxes.size() == 3) {
            EXPECT_EQ(model.Peek(false, 0xA0, 0x04, 0x08), 0x01);
            EXPECT_EQ(QApplication::focusWidget(), win->cmdRead);
        }
    }
}

TEST_F(ExchangeTest, GetStatusShowsWhatWasRead)
{
    const struct {
        int scheme;
        std::function<void()> setup;
        std::function<void()> check;
    } rows[] = {
        {1, [this] { model.versionText = SFamily; },
         [this] {
             EXPECT_EQ(win->cboProgrammedChan->currentText().toStdString(), "B11 (Square)");
             EXPECT_EQ(win->cboDualModeChan->currentText().toStdString(), "Not Set");
             EXPECT_EQ(win->lblEndcap->text().toStdString(), "B05");
         }},
        {2, [] {},
         [this] {
             EXPECT_EQ(win->cboHPRChan->currentText().toStdString(), "B11 (Square)");
             EXPECT_EQ(win->txtAddress[2]->text().toStdString(), "0503");
         }},
        {3, [this] {
             SetChannel(0x10);
             ToneBlock();
         },
         [this] {
             EXPECT_EQ(win->cboOrvaneIntChan[3]->currentText().toStdString(), "MF2");
             EXPECT_EQ(win->cboOrvaneReplyChan->currentText().toStdString(), "MF5");
             EXPECT_EQ(win->txtAddress[3]->text().toStdString(), "0503");
         }},
        {4, [this] {
             SetChannel(0x10);
             SpanwaveBlock();
         },
         [this] {
             EXPECT_EQ(win->lblInterrogate[4]->text().toStdString(), "MF2");
             EXPECT_EQ(win->lblAddr->text().toStdString(), "0503");
             EXPECT_FALSE(OwnEnabled("cmdSet"));
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.scheme);
        model = Sim::TransponderModel();
        model.versionText = FFamily;
        SetCodeword(0x2053);
        r.setup();
        Load();
        win->cmdStatus->click();
        EXPECT_EQ(NavParams.NavScheme(), r.scheme);
        r.check();
    }
}

// The type and serial number of the unit read before never decide for this one.
TEST_F(ExchangeTest, GetStatusForgetsThePreviousModel)
{
    model.versionText = FFamily;
    Load();
    win->cmdStatus->click();
    ASSERT_TRUE(OwnEnabled("cmdRelease"));
    ASSERT_EQ(Shown(win->lblDepthOnOff), "ON:W");

    model.versionText = "TestMode "; // reads depth but no type number
    Sent();
    model.ClearFrames();
    win->cmdStatus->click();
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, Tx, Init, Depth, Init, Volt, Init, RS232, Dual, Ports, Init}));
    EXPECT_EQ(TpdrGenStatus.TypeNumber(), "");
    EXPECT_EQ(TpdrGenStatus.SerialNumber(), "");
    // No type number: the depth answer is read, no release is offered.
    EXPECT_EQ(Shown(win->lblDepthOnOff), "ON:W");
    EXPECT_TRUE(win->DepthFitted);
    EXPECT_FALSE(OwnEnabled("cmdRelease"));
    EXPECT_TRUE(OwnEnabled("cmdDepth"));
}

// A depth read of the status pass that fails leaves the state not read: the
// depth dialog opened afterwards does not start from the state read before.
TEST_F(ExchangeTest, GetStatusFailedDepthReadLeavesTheStateNotRead)
{
    model.versionText = FFamily;
    Load();
    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    ASSERT_EQ(ReadDepth.OnOff(), 1);
    Sent();
    model.ClearFrames();
    model.knobs.answerFrames = 6; // silent from the depth read on
    Script({{"Communication Error"}});
    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, Tx, Init, Type, Init, Serial, Depth, Init}));
    EXPECT_EQ(StatusLabels()[4], "Not fitted:R");
    int16_t atDialog = -1;
    Stub("frmDepth", [&atDialog] { atDialog = ReadDepth.OnOff(); });
    ASSERT_TRUE(OwnEnabled("cmdDepth"));
    QTest::mouseClick(win->cmdDepth, Qt::LeftButton);
    EXPECT_EQ(atDialog, 0);
    EXPECT_EQ(StatusLabels()[4], "Not read:R");
    // The unit, and so its sensor, is the same: the dialog can be opened again to read it.
    EXPECT_TRUE(OwnEnabled("cmdDepth"));
    EXPECT_TRUE(OwnEnabled("mnuDepthTest"));
    Stub("frmDepth", [] { ReadDepth.OnOff(1); });
    QTest::mouseClick(win->cmdDepth, Qt::LeftButton);
    EXPECT_EQ(StatusLabels()[4], "ON:W");
    EXPECT_EQ(shown.size(), 2u);
}

// The pass ends with the initialise: the window stays busy until it is sent,
// and a click on Set in the pause before it starts nothing.
TEST_F(ExchangeTest, GetStatusStaysBusyUntilTheInitialise)
{
    model.versionText = FFamily;
    SetCodeword(0x2053);
    Load();
    Activate();
    std::vector<std::string> enabled;
    bool paused = false;
    bool cancelOffered = false;
    auto* timer = new QTimer(win.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, win.get(), [&] {
        // Every read answered, the initialise not yet sent.
        if (!win->NavParamsRead || model.Frames().size() != StatusF.size() + NavF.size()) {
            return;
        }
        timer->stop();
        paused = true;
        for (const char* name : {"cmdSet", "cmdRead", "cmdStatus", "cmdQuickSet", "cmdSettings", "cmdVoltage"}) {
            if (OwnEnabled(name)) {
                enabled.push_back(name);
            }
        }
        cancelOffered = OwnVisible("cmdCancel") && OwnEnabled("cmdCancel");
        QTest::mouseClick(win->cmdSet, Qt::LeftButton);
    });
    timer->start();
    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    ASSERT_TRUE(paused);
    EXPECT_EQ(enabled, std::vector<std::string>{});
    EXPECT_TRUE(cancelOffered);
    ExpectFrames(Sent(), Join({StatusF, NavF, {Init}}));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(win->StatusText(), "Transponder initialised.");
    EXPECT_FALSE(OwnVisible("cmdCancel"));
    EXPECT_TRUE(OwnEnabled("cmdSet"));
    EXPECT_EQ(win->Stored.NavScheme, 2);
}

TEST_F(ExchangeTest, GetStatusCancelledDuringTheTypeNumber)
{
    model.versionText = FFamily;
    model.knobs.replyDelay = 0.5; // every wait reaches its progress events
    Load();
    std::vector<std::string> busy;
    AtFrame(4, [this, &busy] {
        const QCursor* c = QApplication::overrideCursor();
        EXPECT_TRUE(c != nullptr && c->shape() == Qt::BusyCursor);
        EXPECT_TRUE(OwnVisible("cmdCancel") && OwnEnabled("cmdCancel"));
        EXPECT_FALSE(OwnVisible("cmdExit") || OwnEnabled("cmdStatus") || OwnEnabled("cmdVoltage"));
        busy = StatusLabels();
        win->cmdCancel->click();
    });
    win->cmdStatus->click();
    EXPECT_EQ(busy, (std::vector<std::string>{"V2.05F:W", "Tx V2.10F:W", Unknown, Unknown, Unknown, Unknown}));
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, Tx, Init, Type}));
    EXPECT_EQ(StatusLabels(),
              (std::vector<std::string>{"V2.05F:W", "Tx V2.10F:W", "Unknown:R", Unknown, Unknown, "N/A:W"}));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(win->NavParamsRead);
    EXPECT_TRUE(OwnVisible("cmdExit"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A Cancel clicked in the pause before a command ends Get Status there: the
// command is not sent and no later pause is waited out.
TEST_F(ExchangeTest, GetStatusCancelledInThePauseBeforeACommand)
{
    model.versionText = FFamily;
    Load();
    AppSettings.DelayBetweenCmds(5.0f);
    double clickedAt = -1;
    auto* timer = new QTimer(win.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, win.get(), [this, timer, &clickedAt] {
        // The version is shown: the pause before the transmitter firmware runs.
        if (model.Frames().size() == 1 && win->lblFirmware->text() == "V2.05F") {
            timer->stop();
            clickedAt = Timer();
            QTest::mouseClick(win->cmdCancel, Qt::LeftButton);
        }
    });
    timer->start();
    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    ASSERT_GE(clickedAt, 0);
    // The cancelled reads send nothing; the initialise after them still comes,
    // after its one pause.
    EXPECT_LT(Timer() - clickedAt, 5.1);
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, Init}));
    // The type number is still asked for, and is cancelled before its frame too.
    EXPECT_EQ(StatusLabels(),
              (std::vector<std::string>{"V2.05F:W", "Unknown:R", "Unknown:R", Unknown, Unknown, "N/A:W"}));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(win->NavParamsRead);
    EXPECT_TRUE(OwnVisible("cmdExit"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExchangeTest, GetVoltage)
{
    const struct Row {
        const char* name;
        std::function<void()> setup;
        std::vector<std::string> frames;
        std::string voltage;
        std::vector<Box> boxes;
        std::string status;
    } rows[] = {
        {"F family reads the battery type first", [] {}, {V9, BattType, Init, Volt, Init}, "17.3 Volts:W", {},
         "Transponder initialised."},
        {"S family", [this] { model.versionText = SFamily; }, {V9, Volt, Init}, "17.3 Volts:W", {},
         "Transponder initialised."},
        {"count 0", [this] { model.batteryCount = 0; }, {V9, BattType, Init, Volt, Init}, "0.0 Volts:W", {},
         "Transponder initialised."},
        {"firmware without voltage", [this] { model.versionText = "Vers1.10S"; }, {V9}, "Invalid:R",
         {{"Not Supported"}}, "Vers1.10S"},
        // A version read that fails keeps the code read before.
        {"version unanswered", [this] { model.knobs.noReply = true; }, {V9, BattType}, "Invalid:R",
         {{"Communication Error"}, {"Communication Error"}}, "Invalid Battery Type"},
        {"battery type unanswered", [this] { model.knobs.answerFrames = 1; }, {V9, BattType}, "Invalid:R",
         {{"Communication Error"}}, "Invalid Battery Type"},
        {"voltage unanswered", [this] { model.knobs.answerFrames = 3; }, {V9, BattType, Init, Volt}, "Invalid:R",
         {{"Communication Error"}}, "!v 00 00 00 01 00 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        model = Sim::TransponderModel();
        model.versionText = FFamily;
        Load();
        OfferGet();
        r.setup();
        Activate();
        const std::vector<std::string> before = StatusLabels();
        Script(r.boxes);
        win->cmdVoltage->click();
        ExpectFrames(Sent(), r.frames);
        EXPECT_EQ(Shown(win->lblVoltage), r.voltage);
        EXPECT_EQ(Titles(), Titles(r.boxes));
        EXPECT_EQ(win->StatusText(), r.status);
        const std::vector<std::string> after = StatusLabels();
        for (size_t i = 1; i < 5; ++i) {
            EXPECT_EQ(after[i], before[i]) << i; // only the firmware and the voltage change
        }
        EXPECT_FALSE(OwnVisible("cmdCancel"));
        EXPECT_EQ(QApplication::focusWidget(), win->cmdStatus);
    }
}

} // namespace
