// The battery-life estimate against the in-process simulated transponder on
// the fake clock, and its settings dialog driven by keys and clicks.
#include "exchange_fixture.h"
#include "frmBattLife.h"
#include "frmBattLifeSettings.h"
#include "frmIOlist.h"
#include "status_bar.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

namespace {

using namespace Frames;

class BattLifeTest : public ExchangeTest {
protected:
    void Open(int16_t pings)
    {
        Load();
        AppSettings.BattLifePings(pings);
        AppSettings.BattLifeTemperature(2);
        AppSettings.BattChargeThreshold(5);
        AppSettings.BattLifeAdvice(true);
        dialog = std::make_unique<frmBattLife>(win.get());
        dialog->show();
    }
    template <typename T = QWidget>
    T* Find(const QString& name) const
    {
        return dialog->findChild<T*>(name);
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    std::string Text(const char* label) const { return Forms::S(Find<QLabel>(label)->text()); }
    bool Visible(const char* name) const { return !Find(name)->isHidden(); }
    bool Enabled(const char* name) const { return !Find(name)->testAttribute(Qt::WA_ForceDisabled); }
    // Runs `action` from the first event pass after `bytes` bytes went out on
    // the port: a ping is never answered, so only the port sees it go.
    void AtWritten(size_t bytes, std::function<void()> action)
    {
        auto* timer = new QTimer(dialog.get());
        QObject::connect(timer, &QTimer::timeout, dialog.get(), [this, timer, bytes, action] {
            if (port->Written().size() >= bytes) {
                timer->stop();
                action();
            }
        });
        timer->start(0);
    }

    std::unique_ptr<frmBattLife> dialog;
};

// Hours by temperature and count, and the advice against the threshold. A
// stored temperature outside the options selects none and fails the lookup.
TEST_F(BattLifeTest, LookupAndAdvice)
{
    const QColor blue = Forms::ToQColor(0xFF0000), red = Forms::ToQColor(0x0000FF);
    const ShownBox subscript{"Check arrays.", 16, "Error 9: Subscript out of range"};
    const struct Row {
        int32_t temperature;
        int16_t threshold;
        bool advice;
        uint8_t count;
        const char* lifeLeft;
        const char* warning; // "" when no advice is shown
        QColor color;
        QRect twips;         // left, top, width, height of the advice
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
    Open(0);
    model.versionText = SFamily;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.temperature) + "/" + std::to_string(r.threshold));
        const bool known = r.temperature >= 0 && r.temperature <= 3;
        Script(known ? std::vector<Box>{} : std::vector<Box>{{subscript.title}});
        AppSettings.BattLifeTemperature(r.temperature);
        AppSettings.BattChargeThreshold(r.threshold);
        AppSettings.BattLifeAdvice(r.advice);
        model.batteryCount = r.count;
        model.ClearFrames();
        Click("cmdGetLife");
        ExpectFrames(Sent(), {V9, Volt, Init});
        EXPECT_EQ(boxes.Boxes(), known ? std::vector<ShownBox>{} : std::vector<ShownBox>{subscript});
        EXPECT_EQ(Text("lblLifeLeft"), r.lifeLeft);
        EXPECT_EQ(Text("staBattLifePanel1"), r.status);
        ExpectOneStatusBar(dialog.get(), "staBattLife", "staBattLifePanel1");
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Find<QRadioButton>(Forms::ArrayName("optTemperature", i))->isChecked(), i == r.temperature);
        }
        EXPECT_EQ(Visible("lblWarning"), *r.warning != '\0');
        EXPECT_EQ(Visible("imgOrvane"), *r.warning == '\0');
        if (*r.warning != '\0') {
            const QLabel* w = Find<QLabel>("lblWarning");
            EXPECT_EQ(Text("lblWarning"), r.warning);
            EXPECT_EQ(w->palette().color(QPalette::WindowText), r.color);
            EXPECT_EQ(Forms::BackColor(w), Forms::vbWhite);
            // The box's size and place, or wider about the same centre where
            // this system's font needs it: never cut off.
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
    // A click on an option stores it.
    QTest::mouseClick(Find<QRadioButton>("optTemperature_1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(AppSettings.BattLifeTemperature(), 1);
}

// F family with battery type 1: the type read, two pings a second apart with
// the ping picture and their lines in the IO log, then the voltage read.
TEST_F(BattLifeTest, PingsBeforeTheVoltageRead)
{
    Open(2);
    frmIOlist log;
    std::vector<double> at;
    const size_t typeRead = 15 + 7 + 6; // version read, battery-type read, initialise
    for (size_t ping = 1; ping <= 2; ++ping) {
        AtWritten(typeRead + ping, [&] {
            at.push_back(clock.Elapsed());
            EXPECT_TRUE(Visible("imgPing") && Visible("cmdBack") && !Enabled("cmdBack") && !Visible("cmdCancel"));
            EXPECT_FALSE(Enabled("optTemperature_0"));
            EXPECT_EQ(Text("staBattLifePanel1"), "Pinging the Transponder. Please wait...");
        });
    }
    Click("cmdGetLife");
    ExpectFrames(Sent(), {V9, BattType, Init, "|00", "|00", Volt, Init});
    ASSERT_EQ(at.size(), 2u);
    EXPECT_NEAR(at[1] - at[0], 1.0, 0.05);
    EXPECT_FALSE(Visible("imgPing"));
    std::vector<std::string> lines;
    for (int i = 0; i < log.lstIO->count(); ++i) {
        lines.push_back(Forms::S(log.lstIO->item(i)->text()).substr(0, 11));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"!V|A0|00|00", "!R|E0|0A|80", "|00| <Ping>", "|00| <Ping>",
                                               "!v|00|00|00"}));
    EXPECT_EQ(Text("staBattLifePanel1"), "Voltage = 17.3 Volts");
}

// While busy the window refuses its close box and Esc. A port that goes away
// while pinging is reported, and the window is left stopped, so it can close.
TEST_F(BattLifeTest, RunTimeErrorLeavesTheWindowStopped)
{
    Open(3);
    AtWritten(15 + 7 + 6 + 1, [this] {
        dialog->close();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->Unloaded());
        port->Disconnect();
    });
    Script({{"8020: Error reading comm device"}});
    Click("cmdGetLife");
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{"New Comms Error", 48, "8020: Error reading comm device"}}));
    EXPECT_EQ(Text("staBattLifePanel1"), "Battery Life Test failed.");
    EXPECT_TRUE(Enabled("cmdGetLife") && Enabled("cmdBack") && Visible("cmdBack"));
    Click("cmdBack");
    EXPECT_TRUE(dialog->Unloaded());
}

TEST(BattLifeSettings, ThresholdIsCheckedWhenTheFocusLeaves)
{
    const struct {
        const char* typed;
        bool accepted;
        int16_t threshold;
    } rows[] = {{"999", true, 999}, {"0", true, 0}, {"12.5", true, 12}, {"1234", true, 123}, {"-1", false, 5},
                {"1e3", false, 5},  {"9e9", false, 5}, {"", false, 5},     {"ab", false, 5}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        frmBattLifeSettings dialog({5, true});
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* txt = dialog.findChild<QLineEdit*>("txtThreshold");
        QTest::mouseClick(txt, Qt::LeftButton);
        QTest::keyClick(txt, Qt::Key_Delete);
        QTest::keyClicks(txt, QString::fromLatin1(r.typed));
        QTest::keyClick(txt, Qt::Key_Tab);
        EXPECT_EQ(txt->hasFocus(), !r.accepted);
        EXPECT_EQ(dialog.Settings().threshold, r.threshold);
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        EXPECT_EQ(dialog.Unloaded(), r.accepted);
    }
}

// Shows the dialog and clicks into the threshold; the threshold and advice boxes.
std::pair<QLineEdit*, QCheckBox*> OpenAndClickThreshold(frmBattLifeSettings& dialog)
{
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* txt = dialog.findChild<QLineEdit*>("txtThreshold");
    QTest::mouseClick(txt, Qt::LeftButton);
    return {txt, dialog.findChild<QCheckBox*>("chkWarning")};
}

// A click on the box while the threshold is refused keeps the focus where it
// is and changes nothing.
TEST(BattLifeSettings, RefusedThresholdKeepsTheWarningBox)
{
    frmBattLifeSettings dialog({7, true});
    auto [txt, chk] = OpenAndClickThreshold(dialog);
    QTest::keyClicks(txt, QStringLiteral("ab"));
    QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(6, chk->height() / 2));
    EXPECT_TRUE(txt->hasFocus());
    EXPECT_TRUE(chk->isChecked());
    EXPECT_EQ(dialog.Settings(), (BattLifeSettings{7, true}));
}

// Changes count as they are made; Cancel takes both back.
TEST(BattLifeSettings, CancelRestoresBothValues)
{
    frmBattLifeSettings dialog({7, true});
    auto [txt, chk] = OpenAndClickThreshold(dialog);
    QTest::keyClicks(txt, QStringLiteral("40"));
    QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(6, chk->height() / 2));
    EXPECT_EQ(dialog.Settings(), (BattLifeSettings{40, false}));
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    EXPECT_TRUE(dialog.Unloaded());
    EXPECT_EQ(dialog.Settings(), (BattLifeSettings{7, true}));
}

} // namespace
