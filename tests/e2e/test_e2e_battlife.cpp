// The battery-life estimate, opened over the real main window, against the
// simulated transponder on a real pseudo-terminal: every frame and ping the
// transponder received, the boxes, the hours, the advice and the status.
// Idle waits pass at once, so the pings' second apart costs nothing; the
// reply waits run on the wire's time (the silent row waits its second).
#include "clock.h"
#include "clsSettings.h"
#include "e2e_fixture.h"
#include "forms.h"
#include "frmBattLife.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::string>;

class SkipIdleClock : public Platform::Clock {
public:
    double Now() override { return std::fmod(Platform::SystemClock().Now() + skipped_, 86400.0); }
    void Idle(double seconds) override
    {
        QCoreApplication::processEvents();
        skipped_ += std::max(seconds, 0.0);
    }

private:
    double skipped_ = 0;
};

Frames operator+(Frames a, const Frames& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string V9 = "!V|A0|00|00|09|00|00|00|00|00|00|00|00|00", INIT = "!I|00|00|00|00";
const std::string BATT = "!R|E0|0A|80|01|00", VOLT = "!v|00|00|00|01|00", PING = "|00";
const Frames TypeRead = {V9, BATT, INIT}, Pings = {PING, PING, PING}, VoltRead = {VOLT, INIT};
const ShownBox NoReply{"No reply from Transponder.", 48, "Communication Error"};
const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};

class BattLifeEndToEnd : public ::testing::Test, public PtyMainWindow {
protected:
    void SetUp() override
    {
        Start();
        Load();
    }
    void TearDown() override { Finish(); }
};

TEST_F(BattLifeEndToEnd, Estimates)
{
    const struct {
        const char* name;
        const char* version;
        uint8_t batteryType;
        int16_t pings, threshold;
        bool advice;
        int answerFrames;    // silent after this many frames (-1: never)
        bool cancel;         // Cancel clicked while the voltage read waits
        Frames frames;
        std::vector<ShownBox> boxes;
        const char* lifeLeft;
        const char* warning; // "" when none is shown
        const char* status;
    } rows[] = {
        {"no charge at the threshold", "Vers2.05F", 1, 3, 12, true, -1, false, TypeRead + Pings + VoltRead, {},
         "12 hours", "NO NEED TO CHARGE BATTERY", "Voltage = 17.3 Volts"},
        {"charge above it", "Vers2.05F", 1, 3, 13, true, -1, false, TypeRead + Pings + VoltRead, {}, "12 hours",
         "CHARGE BATTERY!", "Voltage = 17.3 Volts"},
        {"no advice", "Vers3.05S", 0, 3, 13, false, -1, false, Frames{V9} + Pings + VoltRead, {}, "12 hours", "",
         "Voltage = 17.3 Volts"},
        {"zero pings", "Vers2.05F", 1, 0, 5, true, -1, false, TypeRead + VoltRead, {}, "12 hours",
         "NO NEED TO CHARGE BATTERY", "Voltage = 17.3 Volts"},
        {"unsupported firmware", "Vers2.05P", 1, 3, 5, true, -1, false, {V9}, {NotSupported}, "", "",
         "Battery Life not supported"},
        {"battery type not measurable", "Vers2.05F", 3, 3, 5, true, -1, false, TypeRead, {NotSupported}, "", "",
         "Battery Life not supported"},
        {"silent at the voltage read", "Vers2.05F", 1, 3, 5, true, 6, false, TypeRead + Pings + Frames{VOLT},
         {NoReply}, "", "", "Battery Life Test failed."},
        {"cancel during the voltage read", "Vers2.05F", 1, 3, 5, true, 6, true, TypeRead + Pings + Frames{VOLT}, {},
         "", "", "Battery Life Test failed."},
    };
    SkipIdleClock clock;
    Platform::ScopedClock scoped(clock);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        WithModel([&r](Model& m) {
            m.versionText = r.version;
            m.Poke(false, 0xE0, 0x0A, 0x80, r.batteryType);
            m.knobs.answerFrames = r.answerFrames;
        });
        AppSettings.BattLifePings(r.pings);
        AppSettings.BattLifeTemperature(2);
        AppSettings.BattChargeThreshold(r.threshold);
        AppSettings.BattLifeAdvice(r.advice);
        boxes.Clear();
        for (size_t i = 0; i < r.boxes.size(); ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
        frmBattLife dialog(win.get());
        dialog.show();
        const auto button = [&dialog](const char* name) { return dialog.findChild<QPushButton*>(name); };
        const auto text = [&dialog](const char* name) { return Forms::S(dialog.findChild<QLabel*>(name)->text()); };
        Take();
        QTimer cancel; // polled from the progress events of the running exchange
        QObject::connect(&cancel, &QTimer::timeout, &dialog, [&] {
            std::lock_guard lock(server.ModelMutex());
            if (model.Frames().size() > static_cast<size_t>(r.answerFrames) && button("cmdCancel")->isVisible()) {
                cancel.stop();
                QTest::mouseClick(button("cmdCancel"), Qt::LeftButton);
            }
        });
        if (r.cancel) {
            cancel.start(1);
        }
        QTest::mouseClick(button("cmdGetLife"), Qt::LeftButton);
        EXPECT_EQ(Take(), r.frames);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
        EXPECT_EQ(text("lblLifeLeft"), r.lifeLeft);
        EXPECT_EQ(dialog.findChild<QLabel*>("lblWarning")->isVisible() ? text("lblWarning") : "", r.warning);
        EXPECT_EQ(text("staBattLifePanel1"), r.status);
        // Stopped whatever happened: Exit closes the window.
        QTest::mouseClick(button("cmdBack"), Qt::LeftButton);
        EXPECT_TRUE(dialog.Unloaded());
    }
}

} // namespace
