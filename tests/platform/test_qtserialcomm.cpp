// The real serial port against the simulated transponder on a pseudo-terminal.
#include "appinfo.h"
#include "clsTpdrComms.h"
#include "pty_server.h"
#include "qtserialcomm.h"
#include "scripted_dialogs.h"
#include "tpdrport.h"
#include "error_of.h"
#include "vberror.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

class PtyPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = server.Open();
        ASSERT_FALSE(path.empty());
        server.Start();
        QFile map(dir.filePath("SerialPorts.ini"));
        ASSERT_TRUE(map.open(QIODevice::WriteOnly));
        map.write(("COM3=" + path + "\r\nCOM4=/dev/nonexistent-tidelet\r\n").c_str());
        map.close();
        App::SetPath(dir.path().toStdString());
    }
    void TearDown() override
    {
        SetTpdrPort(nullptr);
        App::SetPath({});
    }


    QTemporaryDir dir;
    Sim::TransponderModel model;
    Sim::PtyServer server{model};
    std::string path;
};

TEST_F(PtyPortTest, VersionReadOverTheWire)
{
    Platform::QtSerialComm port;
    port.CommPort(3);
    port.Settings("19200,N,8,1");
    port.PortOpen(true);
    SetTpdrPort(&port);
    clsTpdrComms link;
    const TpdrCommand frame = MakeFrame('V', 0xA0, 0, 0, std::string(9, '\0'));
    EXPECT_EQ(link.SendAndReceive(frame, 15, 9, 2.0f, 0.2f, true, false, false), ReplyReceived);
    EXPECT_EQ(link.TpdrReply(), "Vers2.05F");
    std::lock_guard lock(server.ModelMutex());
    ASSERT_EQ(model.Frames().size(), 1u);
    EXPECT_EQ(model.Frames()[0], std::string("!V\xA0\0\0\x09", 6) + std::string(9, '\0'));
}

TEST_F(PtyPortTest, ErrorNumbers)
{
    Platform::QtSerialComm port;
    EXPECT_EQ(ErrorOf([&] { port.CommPort(0); }), 380);
    EXPECT_EQ(ErrorOf([&] { port.Settings("fast"); }), 380);
    EXPECT_EQ(ErrorOf([&] { port.Settings("1200,N,9,1"); }), 380);
    EXPECT_EQ(ErrorOf([&] { port.Output("x"); }), 8018);
    EXPECT_EQ(ErrorOf([&] { port.InBufferCount(); }), 8018);
    port.CommPort(4); // mapped to a device that is not there
    EXPECT_EQ(ErrorOf([&] { port.PortOpen(true); }), 8002);
    port.CommPort(5); // not in the map at all
    EXPECT_EQ(ErrorOf([&] { port.PortOpen(true); }), 8002);
    EXPECT_FALSE(port.PortOpen());

    port.CommPort(3);
    port.Settings("1200,N,8,1");
    port.PortOpen(true);
    EXPECT_EQ(ErrorOf([&] { port.PortOpen(true); }), 8005);
    EXPECT_EQ(ErrorOf([&] { port.CommPort(2); }), 8000);
    Platform::QtSerialComm second;
    second.CommPort(3);
    second.Settings("1200,N,8,1");
    EXPECT_EQ(ErrorOf([&] { second.PortOpen(true); }), 8005);
    port.Settings("19200,N,8,2"); // applied to the open port
    EXPECT_EQ(port.Settings(), "19200,N,8,2");
    // A pseudo-terminal refuses seven data bits: the device's refusal is 8015.
    EXPECT_EQ(ErrorOf([&] { port.Settings("19200,E,7,1"); }), 8015);
    EXPECT_EQ(port.Settings(), "19200,N,8,2");
}

TEST_F(PtyPortTest, DeviceGoneClosesThePortAndReportsOnce)
{
    Platform::QtSerialComm port;
    port.CommPort(3);
    port.Settings("19200,N,8,1");
    port.PortOpen(true);
    server.Stop();
    server.Close();
    int first = 0;
    for (int i = 0; i < 50 && first == 0; ++i) {
        first = ErrorOf([&] { port.WaitForInput(20); (void)port.InBufferCount(); });
    }
    EXPECT_EQ(first, 8020);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(ErrorOf([&] { (void)port.InBufferCount(); }), 8018);
}

// A device that keeps sending while nothing waits for its bytes must not make
// the program's memory grow: what is kept unread is bounded.
TEST_F(PtyPortTest, UnsolicitedBytesAreBounded)
{
    const int device = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(device, 0);
    ASSERT_EQ(::grantpt(device), 0);
    ASSERT_EQ(::unlockpt(device), 0);
    QFile map(dir.filePath("SerialPorts.ini"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.write((std::string("COM6=") + ::ptsname(device) + "\r\n").c_str());
    map.close();
    Platform::QtSerialComm port;
    port.CommPort(6);
    port.Settings("19200,N,8,1");
    port.PortOpen(true);

    const std::string chunk(4096, 'x');
    size_t sent = 0;
    for (int i = 0; i < 1000 && sent < (size_t{4} << 20); ++i) {
        const ssize_t n = ::write(device, chunk.data(), chunk.size());
        sent += n > 0 ? static_cast<size_t>(n) : 0;
        QCoreApplication::processEvents(); // the program idles
    }
    EXPECT_LE(port.Input().size(), static_cast<size_t>(Platform::QtSerialComm::MaxUnreadInput));
    // An exchange's flush empties it all, and the next reply comes through whole.
    port.InBufferCount(0);
    ASSERT_EQ(::write(device, "?", 1), 1);
    std::string reply;
    for (int i = 0; i < 50 && reply.empty(); ++i) {
        port.WaitForInput(20);
        reply = port.Input();
    }
    EXPECT_EQ(reply, "?");
    port.PortOpen(false);
    ::close(device);
}

} // namespace
