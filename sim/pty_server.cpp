#include "pty_server.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace Sim {
namespace {

struct Speed {
    speed_t code;
    int baud;
};
constexpr Speed kSpeeds[] = {{B110, 110},     {B300, 300},     {B600, 600},     {B1200, 1200},
                             {B2400, 2400},   {B4800, 4800},   {B9600, 9600},   {B19200, 19200},
                             {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};

double MonotonicNow()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

timespec Duration(double seconds)
{
    seconds = std::max(seconds, 0.0);
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
    return ts;
}

void CloseFd(int& fd)
{
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

} // namespace

PtyServer::PtyServer(TransponderModel& model) : model_(model) {}

PtyServer::~PtyServer()
{
    Stop();
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
    CloseFd(slave_);
    CloseFd(master_);
}

std::string PtyServer::Open()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    char name[256] = {};
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0 || pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) {
        CloseFd(master_);
        return {};
    }
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // The master's settings are the slave's: raw, at the fallback rate.
    termios t{};
    if (tcgetattr(master_, &t) == 0) {
        cfmakeraw(&t);
        for (const Speed& s : kSpeeds) {
            if (s.baud == baud) {
                cfsetspeed(&t, s.code);
            }
        }
        tcsetattr(master_, TCSANOW, &t);
    }
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    slavePath_ = name;
    return slavePath_;
}

double PtyServer::LineByteTime() const
{
    int rate = baud;
    termios t{};
    if (tcgetattr(master_, &t) == 0) {
        const speed_t code = cfgetospeed(&t);
        for (const Speed& s : kSpeeds) {
            if (s.code == code) {
                rate = s.baud;
            }
        }
    }
    return 10.0 / std::max(rate, 1);
}

void PtyServer::Start()
{
    if (master_ < 0 || thread_.joinable()) {
        return;
    }
    stop_ = false;
    thread_ = std::thread(&PtyServer::Run, this);
}

void PtyServer::Stop()
{
    stop_ = true;
    if (wake_[1] >= 0) {
        const ssize_t ignored = write(wake_[1], "x", 1);
        (void)ignored;
    }
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

void PtyServer::Close()
{
    Stop();
    CloseFd(slave_);
    CloseFd(master_);
}

void PtyServer::Run()
{
    struct Timed {
        double at; // CLOCK_MONOTONIC seconds when the byte is due at the program
        char byte;
    };
    std::deque<Timed> out;
    double lineFree = 0;  // when the last byte from the program has crossed
    double replyFree = 0; // when the last reply byte has crossed
    bool hangUp = false;
    while (!stop_ && master_ >= 0) {
        double now = MonotonicNow();
        bool full = false;
        while (!out.empty() && out.front().at <= now) {
            const ssize_t n = write(master_, &out.front().byte, 1);
            if (n == 1) {
                lastWrite_ = std::chrono::steady_clock::now().time_since_epoch().count();
                out.pop_front();
            } else if (n < 0 && errno != EINTR) {
                full = true; // nobody reads the slave: wait until it drains
                break;
            }
        }

        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (full ? POLLOUT : 0)), 0}, {wake_[0], POLLIN, 0}};
        timespec timeout{};
        timespec* wait = nullptr;
        if (!out.empty() && !full) {
            timeout = Duration(out.front().at - now);
            wait = &timeout;
        }
        if (hangUp) {
            // Poll reports a hang-up at once for as long as it lasts: look again later.
            fds[0].fd = -1;
            timeout = Duration(wait != nullptr ? std::min(out.front().at - now, 0.02) : 0.02);
            wait = &timeout;
        }
        if (ppoll(fds, 2, wait, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            char drain[16];
            while (read(wake_[0], drain, sizeof drain) > 0) {
            }
        }
        hangUp = false;
        if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            hangUp = (fds[0].revents & POLLHUP) != 0;
            continue;
        }
        char bytes[256];
        const ssize_t count = read(master_, bytes, sizeof bytes);
        if (count <= 0) {
            hangUp = count < 0 && errno == EIO;
            continue;
        }
        now = MonotonicNow();
        const double byteTime = LineByteTime();
        std::lock_guard<std::mutex> lock(mutex_);
        for (ssize_t i = 0; i < count; ++i) {
            lineFree = std::max(lineFree, now) + byteTime;
            for (const std::string& reply : model_.Receive(std::string(1, bytes[i]))) {
                if (trace) {
                    std::cerr << FrameText(model_.Frames().back()) << " -> " << FrameText(reply) << std::endl;
                }
                if (reply.empty()) {
                    continue;
                }
                double at = std::max(lineFree + model_.knobs.replyDelay, replyFree);
                for (const char c : reply) {
                    at += byteTime;
                    out.push_back({at, c});
                }
                replyFree = at;
            }
        }
    }
}

} // namespace Sim
