#include "appinfo.h"
#include "clock.h"
#include "serialcomm.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PortMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        App::SetPath(dir.path().toStdString());
    }
    void TearDown() override { App::SetPath({}); }
    QTemporaryDir dir;
};

TEST_F(PortMapTest, DefaultDevicesWithoutAMapFile)
{
    const std::pair<int, const char*> rows[] = {
        {0, ""},           {1, "/dev/ttyUSB0"}, {4, "/dev/ttyUSB3"}, {5, "/dev/ttyACM0"}, {8, "/dev/ttyACM3"},
        {9, "/dev/ttyS0"}, {16, "/dev/ttyS7"},  {17, ""},
    };
    for (const auto& [port, device] : rows) {
        EXPECT_EQ(Platform::PortDevice(port), device) << "COM" << port;
    }
}

TEST_F(PortMapTest, OnlyTheMapFileCountsWhenItExists)
{
    QFile map(dir.filePath("SerialPorts.ini"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.write("; test ports\r\nCOM2=/dev/pts/7\r\n  COM12 = /dev/pts/9 \nCOM1=\n");
    map.close();
    EXPECT_EQ(Platform::PortDevice(2), "/dev/pts/7");
    EXPECT_EQ(Platform::PortDevice(1), "");
    EXPECT_EQ(Platform::PortDevice(3), "");
    EXPECT_EQ(Platform::PortDevice(12), "");  // "COM12 =" is not the key "COM12="
}

TEST(LineSettingsTest, AcceptedAndRefusedTexts)
{
    struct Row {
        const char* text;
        bool ok;
        int baud;
        char parity;
        int bits;
        double stop;
    };
    const Row rows[] = {
        {"1200,N,8,1", true, 1200, 'N', 8, 1},  {"19200,e,7,2", true, 19200, 'E', 7, 2},
        {"9600,O,8,1.5", true, 9600, 'O', 8, 1.5}, {"38400, N, 8, 1", true, 38400, 'N', 8, 1},
        {",", false, 0, 0, 0, 0},               {"", false, 0, 0, 0, 0},
        {"1200", false, 0, 0, 0, 0},            {"1234,N,8,1", false, 0, 0, 0, 0},
        {"1200,X,8,1", false, 0, 0, 0, 0},      {"1200,N,9,1", false, 0, 0, 0, 0},
        {"1200,N,8,3", false, 0, 0, 0, 0},      {"1200,N,8,1,1", false, 0, 0, 0, 0},
        {"fast,N,8,1", false, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        Platform::LineSettings s;
        ASSERT_EQ(Platform::ParseSettings(row.text, s), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(s.baud, row.baud) << row.text;
            EXPECT_EQ(s.parity, row.parity) << row.text;
            EXPECT_EQ(s.dataBits, row.bits) << row.text;
            EXPECT_EQ(s.stopBits, row.stop) << row.text;
        }
    }
}

TEST(FakeClockTest, WrapsAtMidnightAndAdvancesWhenIdle)
{
    Platform::FakeClock clock(86399.75);
    Platform::ScopedClock scoped(clock);
    EXPECT_DOUBLE_EQ(Timer(), 86399.75);
    Platform::CurrentClock().Idle(0.5);
    EXPECT_NEAR(Timer(), 0.25, 1e-9);
    EXPECT_NEAR(clock.Elapsed(), 86400.25, 1e-9);
}

TEST(AppInfoTest, TitleCompanyAndVersion)
{
    EXPECT_EQ(App::Title(), "Tidelet Terminal");
    EXPECT_EQ(App::CompanyName(), "Orvane");
    EXPECT_GE(App::Major(), 1);
}

} // namespace
