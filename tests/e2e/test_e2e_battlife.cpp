// The battery-life estimate over a real pseudo-terminal against the simulated
// transponder, opened over the real main window and its serial port. Each
// scenario checks every frame and ping the transponder received, the boxes,
// the hours, the advice and the status. Idle waits pass at once, so the pings'
// second apart costs nothing; the reply waits run on the wire's own time.
#include "appinfo.h"
#include "clock.h"
#include "clsSettings.h"
#include "filehandler.h"
#include "forms.h"
#include "frmBattLife.h"
#include "frmMain.h"
#include "iolog.h"
#include "mainwin_globals.h"
#include "pty_server.h"
#include "registry.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Frames = std::vector<std::string>;
using Model = Sim::TransponderModel;

// The wall clock, except that an idle wait is skipped rather than slept.
class SkipIdleClock : public Platform::Clock {
public:
    double Now() override { return std::fmod(Platform::SystemClock().Now() + skipped_, 86400.0); }
    void Idle(double seconds) override
    {
        QCoreApplication::processEvents();
        skipped_ += seconds > 0 ? seconds : 0;
    }

private:
    double skipped_ = 0;
};

const std::string V9 = "!V|A0|00|00|09|00|00|00|00|00|00|00|00|00", INIT = "!I|00|00|00|00";
const std::string BATT = "!R|E0|0A|80|01|00", VOLT = "!v|00|00|00|01|00", PING = "|00";

const ShownBox NoReply{"No reply from Transponder.", 48, "Communication Error"};
const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};

struct Scenario {
    const char* name;
    const char* version;
    uint8_t batteryType;
    int16_t pings;
    int16_t threshold;
    bool advice;
    int answerFrames;      // the transponder falls silent after this many (-1: never)
    bool cancelAtVoltage;  // Cancel clicked while the voltage read waits
    Frames frames;
    std::vector<ShownBox> boxes;
    const char* lifeLeft;
    const char* warning;   // "" when none is shown
    const char* status;
};
void PrintTo(const Scenario& sc, std::ostream* os) { *os << sc.name; }

class BattLifeE2ETest : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const std::string slave = server.Open();
        ASSERT_FALSE(slave.empty());
        server.Start();
        WriteFile("SerialPorts.ini", "COM1=" + slave + "\r\n");
        WriteFile(FileHandler::SettingsFile, "; Spanwave Tidelet - Dynamic Parameters\r\n\r\n[COMMS]\r\n"
                                             "Transponder=COM1\r\nVOV=\r\n\r\n[TRANSPONDER]\r\n"
                                             "Setting=19200,N,8,1\r\nTimeout=0.5\r\nDelayBetweenCmds=0.1\r\n");
        App::SetPath(dir.path().toStdString());
        Platform::SetRegistryFile(dir.path().toStdString() + "/registry");
        EngineeringMode = false;
        ShowIOFlag = false;
        win = std::make_unique<frmMain>();
        win->Form_Load();
        win->show();
    }
    void TearDown() override
    {
        dialog.reset();
        win.reset();
        server.Stop();
        Platform::SetRegistryFile("");
        App::SetPath("");
    }
    void WriteFile(const std::string& name, const std::string& text)
    {
        QFile file(dir.filePath(QString::fromStdString(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    size_t FramesReceived()
    {
        std::lock_guard lock(server.ModelMutex());
        return model.Frames().size();
    }
    // Every frame and ping received since the last call: a marker sent after
    // them through the same port shows when the transponder has seen them all.
    Frames Take()
    {
        const std::string marker("!Z\0\0\0\0", 6);
        win->comTpdr->Output(marker);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(server.ModelMutex());
                const auto& got = model.Frames();
                if (!got.empty() && got.back() == marker) {
                    Frames texts;
                    for (size_t i = 0; i + 1 < got.size(); ++i) {
                        texts.push_back(Sim::FrameText(got[i]));
                    }
                    model.ClearFrames();
                    return texts;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ADD_FAILURE() << "the marker frame never reached the transponder";
        return {};
    }
    std::string Text(const char* label) const
    {
        return Forms::S(dialog->findChild<QLabel*>(QString::fromLatin1(label))->text());
    }
    QPushButton* Button(const char* name) const { return dialog->findChild<QPushButton*>(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    Model model;
    Sim::PtyServer server{model};
    ScriptedDialogs boxes;
    std::unique_ptr<frmMain> win;
    std::unique_ptr<frmBattLife> dialog;
};

TEST_P(BattLifeE2ETest, Estimate)
{
    const Scenario& sc = GetParam();
    {
        std::lock_guard lock(server.ModelMutex());
        model.versionText = sc.version;
        model.Poke(false, 0xE0, 0x0A, 0x80, sc.batteryType);
        model.knobs.answerFrames = sc.answerFrames;
    }
    SkipIdleClock clock;
    Platform::ScopedClock scoped(clock);
    AppSettings.BattLifePings(sc.pings);
    AppSettings.BattLifeTemperature(2);
    AppSettings.BattChargeThreshold(sc.threshold);
    AppSettings.BattLifeAdvice(sc.advice);
    for (size_t i = 0; i < sc.boxes.size(); ++i) {
        boxes.Answer(MsgBoxResult::OK);
    }
    dialog = std::make_unique<frmBattLife>(win.get());
    dialog->show();
    Take();

    QTimer cancel;
    if (sc.cancelAtVoltage) {
        // Polled from the progress events of the running exchange.
        QObject::connect(&cancel, &QTimer::timeout, dialog.get(), [&] {
            if (FramesReceived() > static_cast<size_t>(sc.answerFrames) && Button("cmdCancel")->isVisible()) {
                cancel.stop();
                QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
            }
        });
        cancel.start(1);
    }
    QTest::mouseClick(Button("cmdGetLife"), Qt::LeftButton);

    EXPECT_EQ(Take(), sc.frames);
    EXPECT_EQ(boxes.Boxes(), sc.boxes);
    EXPECT_EQ(Text("lblLifeLeft"), sc.lifeLeft);
    const bool advice = *sc.warning != '\0';
    EXPECT_EQ(dialog->findChild<QLabel*>("lblWarning")->isVisible(), advice);
    EXPECT_EQ(dialog->findChild<QLabel*>("imgOrvane")->isVisible(), !advice);
    if (advice) {
        EXPECT_EQ(Text("lblWarning"), sc.warning);
    }
    EXPECT_EQ(Text("staBattLifePanel1"), sc.status);
    // Stopped, whatever happened: the window can be left.
    EXPECT_FALSE(dialog->Busy());
    QTest::mouseClick(Button("cmdBack"), Qt::LeftButton);
    EXPECT_TRUE(dialog->Unloaded());
}

const Frames TypeRead = {V9, BATT, INIT};
const Frames ThreePings = {PING, PING, PING};
Frames operator+(Frames a, const Frames& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Scenario Scenarios[] = {
    {"AdviceNoChargeAtTheThreshold", "Vers2.05F", 1, 3, 12, true, -1, false, TypeRead + ThreePings + Frames{VOLT, INIT},
     {}, "12 hours", "NO NEED TO CHARGE BATTERY", "Voltage = 17.3 Volts"},
    {"AdviceChargeAboveTheThreshold", "Vers2.05F", 1, 3, 13, true, -1, false,
     TypeRead + ThreePings + Frames{VOLT, INIT}, {}, "12 hours", "CHARGE BATTERY!", "Voltage = 17.3 Volts"},
    {"NoAdviceSFamily", "Vers3.05S", 0, 3, 13, false, -1, false, Frames{V9} + ThreePings + Frames{VOLT, INIT}, {},
     "12 hours", "", "Voltage = 17.3 Volts"},
    {"ZeroPings", "Vers2.05F", 1, 0, 5, true, -1, false, TypeRead + Frames{VOLT, INIT}, {}, "12 hours",
     "NO NEED TO CHARGE BATTERY", "Voltage = 17.3 Volts"},
    {"UnsupportedFirmware", "Vers2.05P", 1, 3, 5, true, -1, false, {V9}, {NotSupported}, "", "",
     "Battery Life not supported"},
    {"BatteryTypeThatCannotBeMeasured", "Vers2.05F", 3, 3, 5, true, -1, false, TypeRead, {NotSupported}, "", "",
     "Battery Life not supported"},
    {"SilentAtTheVoltageRead", "Vers2.05F", 1, 3, 5, true, 6, false, TypeRead + ThreePings + Frames{VOLT}, {NoReply},
     "", "", "Battery Life Test failed."},
    {"CancelDuringTheVoltageRead", "Vers2.05F", 1, 3, 5, true, 6, true, TypeRead + ThreePings + Frames{VOLT}, {}, "",
     "", "Battery Life Test failed."},
};

INSTANTIATE_TEST_SUITE_P(BattLife, BattLifeE2ETest, ::testing::ValuesIn(Scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
