// Measures a full Get Status pass of the main window against the simulated
// transponder on a pseudo-terminal at 19200 baud: the wall time against the
// wire time of every frame and reply, the peer's reply delays and the waits
// between commands; and the CPU time of the window's thread.
//
//   bench_status [delay between commands, s (default 0)] [passes (default 5)]
#include "appinfo.h"
#include "benchutil.h"
#include "dialogs.h"
#include "filehandler.h"
#include "frmMain.h"
#include "resets.h"
#include "pty_server.h"
#include "registry.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = BenchClock;

// Boxes are counted, not shown: a clean pass shows none.
class CountingDialogs : public Platform::DialogProvider {
public:
    int shown = 0;
    int MessageBox(const std::string& text, int style, const std::string& title) override
    {
        ++shown;
        std::printf("  box: %s: %s\n", title.c_str(), text.c_str());
        return (style & 0x7) == MsgBoxStyle::YesNo ? MsgBoxResult::Yes : MsgBoxResult::OK;
    }
    std::string OpenFile(const FileDialogRequest&) override { return {}; }
    std::string SaveFile(const FileDialogRequest&) override { return {}; }
};

// The number of reply bytes the window waits for after a frame.
size_t ReplyLength(const std::string& frame)
{
    const auto n = static_cast<unsigned char>(frame[5]);
    switch (frame[1]) {
    case 'V':
    case 'R':
    case 'r':
    case 'P':
        return n;
    case 'A':
        return 8;
    case 'I':
        return 0;
    default: // the voltage count and write acknowledgements
        return 1;
    }
}

bool WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::WriteOnly) && file.write(text.data(), static_cast<qint64>(text.size())) ==
                                                   static_cast<qint64>(text.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    QApplication app(argc, argv);
    const std::string delayText = argc > 1 ? argv[1] : "0";
    const double delay = std::atof(delayText.c_str());
    const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir dir;
    Sim::TransponderModel model;
    model.Poke(true, 0x80, 0x00, 0x00, 0x20); // codeword: band 2, IRS, address 05, channel 03
    model.Poke(true, 0x80, 0x00, 0x01, 0x53);
    Sim::PtyServer server(model);
    const std::string slave = server.Open();
    if (slave.empty()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    server.Start();
    if (!WriteFile(dir, "SerialPorts.ini", "COM1=" + slave + "\r\n") ||
        !WriteFile(dir, FileHandler::SettingsFile,
                   "[COMMS]\r\nTransponder=COM1\r\nVOV=\r\n[TRANSPONDER]\r\nSetting=19200,N,8,1\r\nTimeout=1\r\n"
                   "DelayBetweenCmds=" + delayText + "\r\n")) {
        return 1;
    }
    App::SetPath(dir.path().toStdString());
    Platform::SetRegistryFile((dir.path() + "/registry").toStdString());
    CountingDialogs dialogs;
    Platform::SetDialogs(&dialogs);
    WireStore();

    const double byteTime = 10.0 / 19200.0;
    const double replyDelay = model.knobs.replyDelay;
    int failures = 0;
    std::vector<double> overheads;
    std::vector<double> cpuShares;
    {
        frmMain win;
        win.Form_Load();
        auto* status = win.findChild<QPushButton*>(QStringLiteral("cmdStatus"));
        for (int pass = 1; pass <= passes; ++pass) {
            {
                std::lock_guard lock(server.ModelMutex());
                model.ClearFrames();
            }
            const int boxesBefore = dialogs.shown;
            const double cpu0 = ThreadCpuSeconds();
            const auto wall0 = Clock::now();
            status->click();
            const double wall = Seconds(Clock::now() - wall0);
            const double cpu = ThreadCpuSeconds() - cpu0;

            // The pass ends with a command that gets no reply: a marker behind it
            // on the same port shows when the transponder has seen everything.
            const std::string marker("!Z\0\0\0\0", 6);
            win.comTpdr->Output(marker);
            std::vector<std::string> frames;
            for (const auto deadline = Clock::now() + std::chrono::seconds(5); Clock::now() < deadline;) {
                {
                    std::lock_guard lock(server.ModelMutex());
                    if (!model.Frames().empty() && model.Frames().back() == marker) {
                        frames.assign(model.Frames().begin(), model.Frames().end() - 1);
                        break;
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }

            // The wire at 10 bits a byte and the peer's reply delay for every
            // exchange; a wait before every exchange and every initialise command
            // but the one between the type and serial number reads. An initialise
            // command gets no reply: its bytes cross while the next wait runs, and
            // the pass is over once the last one is written.
            const std::string typeNumberRead("!R\xE0\x0A\x00", 5);
            const auto waitBefore = [&](size_t i) {
                return frames[i][1] == 'I' && i > 0 && frames[i - 1].compare(0, 5, typeNumberRead) == 0 ? 0.0 : delay;
            };
            double wire = 0;
            double waits = 0;
            int answered = 0;
            for (size_t i = 0; i < frames.size(); ++i) {
                const double frameTime = static_cast<double>(frames[i].size()) * byteTime;
                waits += waitBefore(i);
                if (frames[i][1] == 'I') {
                    wire += i + 1 < frames.size() ? std::max(0.0, frameTime - waitBefore(i + 1)) : 0.0;
                } else {
                    wire += frameTime + static_cast<double>(ReplyLength(frames[i])) * byteTime;
                    ++answered;
                }
            }
            const double ideal = wire + answered * replyDelay + waits;
            std::string letters;
            for (const std::string& f : frames) {
                letters += f[1];
            }
            const bool ok = letters == "VAIRIRRIRIvIrrRI" && dialogs.shown == boxesBefore;
            failures += !ok;
            const double overhead = 100.0 * (wall - ideal) / ideal;
            if (ok) {
                overheads.push_back(overhead);
                cpuShares.push_back(100.0 * cpu / wall);
            }
            std::printf("pass %d: %zu frames, %d exchanges%s: wall %.2f ms against %.2f ms (wire %.2f, reply delays "
                        "%.2f, waits %.2f): %+.1f%%; CPU %.2f ms = %.1f%% of the wall time\n",
                        pass, frames.size(), answered, ok ? "" : " (FAILED PASS)", wall * 1e3, ideal * 1e3,
                        wire * 1e3, answered * replyDelay * 1e3, waits * 1e3, overhead, cpu * 1e3,
                        100.0 * cpu / wall);
        }
    }
    if (overheads.empty()) {
        std::printf("no complete pass out of %d\n", passes);
    } else {
        std::sort(overheads.begin(), overheads.end());
        std::sort(cpuShares.begin(), cpuShares.end());
        std::printf("median of %zu complete passes: %+.1f%% over wire, reply and wait time; CPU %.1f%% of the wall "
                    "time; %d of %d passes failed\n",
                    overheads.size(), overheads[overheads.size() / 2], cpuShares[cpuShares.size() / 2], failures,
                    passes);
    }

    Platform::SetDialogs(nullptr);
    Platform::SetRegistryFile("");
    App::SetPath("");
    server.Stop();
    return failures == 0 ? 0 : 1;
}
