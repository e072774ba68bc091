#include "pty_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

TEST(PtyServer, AnswersAVersionReadAtWireSpeed)
{
    Sim::TransponderModel model;
    Sim::PtyServer server(model);
    const std::string path = server.Open();
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(path, server.SlavePath());
    server.Start();

    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    cfmakeraw(&t);
    cfsetspeed(&t, B9600); // not the server's fallback: it must follow the line
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);

    std::string frame = {'!', 'V', static_cast<char>(0xA0), 0, 0, 9};
    frame += std::string(9, '\0');
    const auto start = Clock::now();
    ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));

    std::string reply;
    const auto deadline = start + std::chrono::seconds(3);
    while (reply.size() < 9 && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (poll(&p, 1, static_cast<int>(left.count()) + 1) > 0 && (p.revents & POLLIN) != 0) {
            char buf[64];
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) {
                reply.append(buf, static_cast<size_t>(n));
            }
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(reply, "Vers2.05F");
    // 15 bytes out, 2 ms, 9 bytes back at 9600 baud: at least 27 ms.
    EXPECT_GE(seconds, 0.026);
    {
        std::lock_guard<std::mutex> lock(server.ModelMutex());
        EXPECT_EQ(model.Frames(), std::vector<std::string>{frame});
    }
    close(fd);

    const auto stopping = Clock::now();
    server.Stop();
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - stopping).count(), 1.0);
}

} // namespace
