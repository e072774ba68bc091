// Serves the simulated transponder on a pseudo-terminal for end-to-end runs.
// The first line of output is the slave path; serving ends on SIGINT, SIGTERM
// or the end of standard input (so a parent that dies takes it down too).
#include "pty_server.h"
#include "transponder_model.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr char VersionCommand[] = "version ";

int Usage()
{
    std::cerr << "usage: tidelet-sim [--version TEXT] [--baud N] [--reply-delay SECONDS] [--no-reply] [--trace]\n"
                 "A line \"version TEXT\" on standard input changes the version text while serving.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    Sim::TransponderModel model;
    Sim::PtyServer server(model);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        char* end = nullptr;
        if (arg == "--no-reply") {
            model.knobs.noReply = true;
            continue;
        }
        if (arg == "--trace") {
            server.trace = true;
            continue;
        }
        if (value == nullptr) {
            return Usage();
        }
        ++i;
        if (arg == "--version") {
            model.versionText = value;
        } else if (arg == "--baud") {
            const long baud = std::strtol(value, &end, 10);
            if (*end != '\0' || baud <= 0 || baud > 10000000) {
                return Usage();
            }
            server.baud = static_cast<int>(baud);
        } else if (arg == "--reply-delay") {
            const double delay = std::strtod(value, &end);
            if (*end != '\0' || !(delay >= 0 && delay <= 3600)) {
                return Usage();
            }
            model.knobs.replyDelay = delay;
        } else {
            return Usage();
        }
    }

    // Blocked before the serving thread starts, so that only the signal
    // descriptor below ever sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signals = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    const std::string path = server.Open();
    if (path.empty()) {
        std::cerr << "tidelet-sim: cannot open a pseudo-terminal\n";
        return 1;
    }
    std::cout << path << std::endl;
    server.Start();

    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signals, POLLIN, 0}};
    std::string input;
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[1].revents != 0 || (fds[0].revents & POLLNVAL) != 0) {
            break;
        }
        if (fds[0].revents != 0) {
            char bytes[256];
            const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                break;
            }
            // "version TEXT" lines put another unit on the cable.
            input.append(bytes, static_cast<size_t>(std::max<ssize_t>(n, 0)));
            for (size_t end = input.find('\n'); end != std::string::npos; end = input.find('\n')) {
                const std::string line = input.substr(0, end);
                input.erase(0, end + 1);
                if (line.rfind(VersionCommand, 0) == 0) {
                    const std::lock_guard<std::mutex> lock(server.ModelMutex());
                    model.versionText = line.substr(sizeof VersionCommand - 1);
                }
            }
        }
    }
    server.Stop();
    return 0;
}
