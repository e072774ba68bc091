// The battery-life estimate against the in-process simulated transponder on
// the fake clock, and its settings dialog driven by keys and clicks.
#include "exchange_fixture.h"
#include "frmBattLife.h"
#include "frmBattLifeSettings.h"
#include "frmIOlist.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>

namespace {

using namespace Frames;

const std::string Ping(1, '\0');
const std::string PingText = "|00";
const ShownBox SubscriptBox{"Check arrays.", 16, "Error 9: Subscript out of range"};

class BattLifeTest : public ExchangeTest {
protected:
    frmBattLife& Open(int16_t pings = 0)
    {
        Load();
        AppSettings.BattLifePings(pings);
        AppSettings.BattLifeTemperature(2);
        AppSettings.BattChargeThreshold(5);
        AppSettings.BattLifeAdvice(true);
        AppSettings.DelayBetweenCmds(0.05f);
        dialog = std::make_unique<frmBattLife>(win.get());
        dialog->show();
        return *dialog;
    }
    template <typename T = QWidget>
    T* Find(const char* name) const
    {
        T* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    std::string Text(const char* label) const { return Forms::S(Find<QLabel>(label)->text()); }
    std::string Status() const { return Text("staBattLifePanel1"); }
    bool Visible(const char* name) const { return !Find(name)->isHidden(); }
    bool Enabled(const char* name) const { return !Find(name)->testAttribute(Qt::WA_ForceDisabled); }
    int CheckedOption() const
    {
        for (int i = 0; i < 4; ++i) {
            if (Find<QRadioButton>(Forms::ArrayName("optTemperature", i).toLatin1().constData())->isChecked()) {
                return i;
            }
        }
        return -1;
    }
    // Runs `action` from the first event pass after `bytes` bytes were written
    // to the port (a ping is never answered, so only the port sees it go).
    void AtWritten(size_t bytes, std::function<void()> action)
    {
        auto* timer = new QTimer(dialog.get());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, dialog.get(), [this, timer, bytes, action] {
            if (port->Written().size() >= bytes) {
                timer->stop();
                action();
            }
        });
        timer->start();
    }

    std::unique_ptr<frmBattLife> dialog;
};

TEST_F(BattLifeTest, WindowAndMenu)
{
    Open();
    EXPECT_EQ(Forms::S(win->mnuBattLife->text()), "Battery &Life...");
    EXPECT_EQ(Forms::S(dialog->windowTitle()), "Battery Life");
    EXPECT_EQ(Text("lblTemperature"), "Estimate the temperature at which the transponder will be working.");
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
    } buttons[] = {{"cmdGetLife", "&Get Battery Life", "Begin the Battery Life estimation"},
                   {"cmdSettings", "&Settings...", "Set warning limit"},
                   {"cmdBack", "&Exit", "Back to main menu"},
                   {"cmdCancel", "&Cancel", "Cancel operation"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(Forms::S(Find<QPushButton>(b.name)->text()), b.caption);
        EXPECT_EQ(Forms::S(Find<QPushButton>(b.name)->toolTip()), b.tip);
    }
    EXPECT_EQ(Status(), "Stopped");
    EXPECT_EQ(CheckedOption(), 2);
    EXPECT_TRUE(Visible("imgOrvane") && !Visible("lblWarning") && !Visible("imgPing") && !Visible("cmdCancel"));
    // A click stores the option at once.
    QTest::mouseClick(Find<QRadioButton>("optTemperature_3"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(AppSettings.BattLifeTemperature(), 3);
}

// The hours looked up by temperature and count, and the advice against the
// threshold. A temperature outside the options selects none and fails the lookup.
TEST_F(BattLifeTest, LookupAndAdvice)
{
    const QColor blue = Forms::ToQColor(0xFF0000), red = Forms::ToQColor(0x0000FF);
    const struct Row {
        int32_t temperature;
        int16_t threshold;
        bool advice;
        uint8_t count;
        const char* lifeLeft;
        const char* warning; // "" when no advice is shown
        QColor color;
        QRect twips;         // left, top, width, height
        int fontSize;
        const char* status;
    } rows[] = {
        {2, 12, true, 200, "12 hours", "NO NEED TO CHARGE BATTERY", blue, {920, 2400, 4040, 450}, 18,
         "Voltage = 17.3 Volts"},
        {2, 13, true, 200, "12 hours", "CHARGE BATTERY!", red, {540, 2400, 4800, 540}, 24, "Voltage = 17.3 Volts"},
        {0, 10, true, 0, "10 hours", "NO NEED TO CHARGE BATTERY", blue, {920, 2400, 4040, 450}, 18,
         "Voltage = 0.0 Volts"},
        {0, 11, true, 255, "10 hours", "CHARGE BATTERY!", red, {540, 2400, 4800, 540}, 24, "Voltage = 22.0 Volts"},
        {1, 0, true, 100, "11 hours", "NO NEED TO CHARGE BATTERY", blue, {920, 2400, 4040, 450}, 18,
         "Voltage = 8.6 Volts"},
        {3, 999, true, 200, "13 hours", "CHARGE BATTERY!", red, {540, 2400, 4800, 540}, 24, "Voltage = 17.3 Volts"},
        {2, 999, false, 200, "12 hours", "", {}, {}, 0, "Voltage = 17.3 Volts"},
        {4, 5, true, 200, "", "", {}, {}, 0, "Battery Life Test failed."},
        {-1, 5, true, 200, "", "", {}, {}, 0, "Battery Life Test failed."},
    };
    Open();
    model.versionText = SFamily;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.temperature) + "/" + std::to_string(r.threshold) + "/" +
                     std::to_string(r.count));
        const bool known = r.temperature >= 0 && r.temperature <= 3;
        Script(known ? std::vector<Box>{} : std::vector<Box>{{SubscriptBox.title}});
        AppSettings.BattLifeTemperature(r.temperature);
        AppSettings.BattChargeThreshold(r.threshold);
        AppSettings.BattLifeAdvice(r.advice);
        model.batteryCount = r.count;
        model.ClearFrames();
        Click("cmdGetLife");
        ExpectFrames(Sent(), {V9, Volt, Init});
        EXPECT_EQ(boxes.Boxes(), known ? std::vector<ShownBox>{} : std::vector<ShownBox>{SubscriptBox});
        EXPECT_EQ(Text("lblLifeLeft"), r.lifeLeft);
        EXPECT_EQ(Status(), r.status);
        EXPECT_EQ(CheckedOption(), known ? r.temperature : -1);
        EXPECT_EQ(Visible("lblWarning"), *r.warning != '\0');
        EXPECT_EQ(Visible("imgOrvane"), *r.warning == '\0');
        EXPECT_TRUE(Enabled("cmdGetLife") && Enabled("cmdBack") && Visible("cmdBack") && !Visible("cmdCancel"));
        if (*r.warning != '\0') {
            const QLabel* w = Find<QLabel>("lblWarning");
            EXPECT_EQ(Text("lblWarning"), r.warning);
            EXPECT_EQ(w->palette().color(QPalette::WindowText), r.color);
            EXPECT_EQ(Forms::BackColor(w), Forms::vbWhite);
            // At the box's size and place, or wider about the same centre
            // where this system's font needs it; never cut off.
            const QRect g = w->geometry();
            EXPECT_EQ(g.left() + g.width() / 2, Forms::Twips(r.twips.x()) + Forms::Twips(r.twips.width()) / 2);
            EXPECT_EQ(g.top(), Forms::Twips(r.twips.y()));
            EXPECT_EQ(g.height(), Forms::Twips(r.twips.height()));
            EXPECT_GE(g.width(), Forms::Twips(r.twips.width()));
            EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(w->text()), g.width());
            EXPECT_LE(w->font().pointSize(), r.fontSize);
            EXPECT_GE(w->font().pointSize(), r.fontSize - 4);
        }
    }
    // An option clicked after a bad stored value stores a good one.
    QTest::mouseClick(Find<QRadioButton>("optTemperature_1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(AppSettings.BattLifeTemperature(), 1);
}

// F family with battery type 1: the type read, two pings a second apart with
// the ping picture and the IO log, then the voltage read.
TEST_F(BattLifeTest, PingsLoadTheBatteryBeforeTheVoltageRead)
{
    Open(2);
    frmIOlist log;
    struct Seen {
        double at;
        bool picture, backShown, backEnabled, cancelShown, optionEnabled;
        std::string status;
    };
    std::vector<Seen> seen;
    const size_t typeRead = 15 + 7 + 6; // version read, battery-type read, initialise
    for (size_t ping = 1; ping <= 2; ++ping) {
        AtWritten(typeRead + ping, [&] {
            seen.push_back({clock.Elapsed(), Visible("imgPing"), Visible("cmdBack"), Enabled("cmdBack"),
                            Visible("cmdCancel"), Enabled("optTemperature_0"), Status()});
        });
    }
    const double start = clock.Elapsed();
    Click("cmdGetLife");
    ExpectFrames(Sent(), {V9, BattType, Init, PingText, PingText, Volt, Init});
    ASSERT_EQ(seen.size(), 2u);
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.picture && s.backShown && !s.backEnabled && !s.cancelShown && !s.optionEnabled);
        EXPECT_EQ(s.status, "Pinging the Transponder. Please wait...");
    }
    EXPECT_NEAR(seen[1].at - seen[0].at, 1.0, 0.05);
    EXPECT_GE(seen[0].at - start, 0.5);
    EXPECT_FALSE(Visible("imgPing"));
    std::vector<std::string> lines;
    for (int i = 0; i < log.lstIO->count(); ++i) {
        lines.push_back(Forms::S(log.lstIO->item(i)->text()).substr(0, 11));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"!V|A0|00|00", "!R|E0|0A|80", "|00| <Ping>", "|00| <Ping>",
                                               "!v|00|00|00"}));
    EXPECT_EQ(Text("lblLifeLeft"), "12 hours");
    EXPECT_EQ(Status(), "Voltage = 17.3 Volts");
}

TEST_F(BattLifeTest, UnsupportedFirmwareAndBatteryType)
{
    const ShownBox notSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};
    const struct {
        const char* version;
        uint8_t batteryType;
        std::vector<std::string> frames;
    } rows[] = {{"Vers2.05P", 1, {V9}}, {FFamily, 3, {V9, BattType, Init}}};
    Open(3);
    for (const auto& r : rows) {
        model.versionText = r.version;
        model.Poke(false, 0xE0, 0x0A, 0x80, r.batteryType);
        model.ClearFrames();
        Script({{notSupported.title}});
        Click("cmdGetLife");
        ExpectFrames(Sent(), r.frames);
        EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{notSupported});
        EXPECT_EQ(Status(), "Battery Life not supported");
    }
}

// A port that goes away while pinging: the error is reported and the window
// is stopped, so it can be closed.
TEST_F(BattLifeTest, RunTimeErrorStopsTheWindow)
{
    Open(3);
    AtWritten(15 + 7 + 6, [this] { port->Disconnect(); });
    Script({{"8020: Error reading comm device"}});
    Click("cmdGetLife");
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{"New Comms Error", 48, "8020: Error reading comm device"}}));
    EXPECT_EQ(Status(), "Battery Life Test failed.");
    EXPECT_FALSE(dialog->Busy());
    Click("cmdBack");
    EXPECT_TRUE(dialog->Unloaded());
}

// While the voltage read waits, the window refuses its close box and Esc;
// Cancel ends the wait, and the estimate fails without a box.
TEST_F(BattLifeTest, CancelDuringTheVoltageReadAndNoCloseWhileBusy)
{
    Open(1);
    model.versionText = SFamily;
    model.knobs.answerFrames = 2; // the version read and the ping
    bool stillOpen = false;
    int progress = -1;
    AtWritten(15 + 1 + 7, [&] {
        dialog->close();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        stillOpen = dialog->isVisible() && !dialog->Unloaded();
        progress = Find<QProgressBar>("prgBattLife")->value();
        EXPECT_EQ(Status(), "Measuring the Battery Voltage.");
        EXPECT_TRUE(Visible("cmdCancel") && !Visible("cmdBack"));
        Click("cmdCancel");
    });
    Click("cmdGetLife");
    EXPECT_TRUE(stillOpen);
    EXPECT_GT(progress, 0);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    EXPECT_EQ(Status(), "Battery Life Test failed.");
    EXPECT_EQ(Text("lblLifeLeft"), "");
    dialog->close();
    EXPECT_TRUE(dialog->Unloaded());
}

class BattLifeSettingsTest : public ::testing::Test {
protected:
    frmBattLifeSettings& Open(BattLifeSettings current = {5, true})
    {
        dialog = std::make_unique<frmBattLifeSettings>(current);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        txt = dialog->findChild<QLineEdit*>("txtThreshold");
        return *dialog;
    }
    // Clicks into the box, types over its text, and tabs away.
    void TypeAndTab(const char* text)
    {
        QTest::mouseClick(txt, Qt::LeftButton);
        QTest::keyClick(txt, Qt::Key_Delete);
        QTest::keyClicks(txt, QString::fromLatin1(text));
        QTest::keyClick(txt, Qt::Key_Tab);
    }
    void Click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton); }

    std::unique_ptr<frmBattLifeSettings> dialog;
    QLineEdit* txt = nullptr;
};

TEST_F(BattLifeSettingsTest, ThresholdIsCheckedWhenTheFocusLeaves)
{
    const struct {
        const char* typed;
        bool accepted;
        int16_t threshold;
    } rows[] = {{"999", true, 999}, {"0", true, 0},    {"12.5", true, 12}, {"-1", false, 5}, {"1e3", false, 5},
                {"9e9", false, 5},  {"", false, 5},    {"ab", false, 5},   {"1234", true, 123}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        Open();
        EXPECT_EQ(Forms::S(txt->toolTip()),
                  "Charge Battery warning appears if hours left is less than this (0 - 999 hours)");
        TypeAndTab(r.typed);
        EXPECT_EQ(txt->hasFocus(), !r.accepted);
        EXPECT_EQ(dialog->Settings().threshold, r.threshold);
        Click("cmdOK");
        EXPECT_EQ(dialog->Unloaded(), r.accepted);
    }
}

TEST_F(BattLifeSettingsTest, CancelRestoresBothValues)
{
    Open({7, true});
    EXPECT_EQ(Forms::S(txt->text()), "7");
    auto* chk = dialog->findChild<QCheckBox*>("chkWarning");
    EXPECT_TRUE(chk->isChecked());
    TypeAndTab("40");
    QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(6, chk->height() / 2));
    EXPECT_EQ(dialog->Settings(), (BattLifeSettings{40, false}));
    Click("cmdCancel");
    EXPECT_TRUE(dialog->Unloaded());
    EXPECT_EQ(dialog->Settings(), (BattLifeSettings{7, true}));
}

// The estimate's Settings button hands the dialog's values to the settings.
TEST_F(BattLifeTest, SettingsButtonAppliesTheDialogsValues)
{
    Open();
    for (const char* button : {"cmdOK", "cmdCancel"}) {
        AppSettings.BattChargeThreshold(5);
        AppSettings.BattLifeAdvice(true);
        QTimer::singleShot(0, dialog.get(), [button] {
            auto* settings = qobject_cast<frmBattLifeSettings*>(QApplication::activeModalWidget());
            ASSERT_NE(settings, nullptr);
            auto* box = settings->findChild<QLineEdit*>("txtThreshold");
            QTest::mouseClick(box, Qt::LeftButton);
            QTest::keyClicks(box, QStringLiteral("30"));
            QTest::mouseClick(settings->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        Click("cmdSettings");
        EXPECT_EQ(AppSettings.BattChargeThreshold(), std::string(button) == "cmdOK" ? 30 : 5) << button;
        EXPECT_TRUE(AppSettings.BattLifeAdvice());
    }
}

} // namespace
