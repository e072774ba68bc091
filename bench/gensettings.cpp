// Measures the general parameters dialog's full read of an F-family unit
// against the simulated transponder on a pseudo-terminal at 19200 baud: the
// wall time against the wire time of every frame and reply, the peer's reply
// delays and the mandated waits (the delay between commands, and the half
// second the six-byte group waits before its reply is read); and the CPU time
// of the window's thread.
//
//   bench_gensettings [delay between commands, s (default 0)] [passes (default 5)]
#include "appinfo.h"
#include "benchutil.h"
#include "dialogs.h"
#include "filehandler.h"
#include "frmGenSettings.h"
#include "frmMain.h"
#include "pty_server.h"
#include "registry.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

class CountingDialogs : public Platform::DialogProvider {
public:
    int shown = 0;
    int MessageBox(const std::string& text, int, const std::string& title) override
    {
        ++shown;
        std::printf("  box: %s: %s\n", title.c_str(), text.c_str());
        return MsgBoxResult::OK;
    }
    std::string OpenFile(const FileDialogRequest&) override { return {}; }
    std::string SaveFile(const FileDialogRequest&) override { return {}; }
};

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
    Sim::TransponderModel model; // Vers2.05F: gain, the six-byte group, power level
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

    const double byteTime = 10.0 / 19200.0;
    const double replyDelay = model.knobs.replyDelay;
    const double groupTwoWait = 0.5;
    int failures = 0;
    std::vector<double> overheads;
    std::vector<double> cpuShares;
    {
        frmMain win;
        win.Form_Load();
        frmGenSettings dialog(&win);
        dialog.show();
        for (int pass = 1; pass <= passes; ++pass) {
            {
                std::lock_guard lock(server.ModelMutex());
                model.ClearFrames();
            }
            const int boxesBefore = dialogs.shown;
            const double cpu0 = ThreadCpuSeconds();
            const auto wall0 = BenchClock::now();
            dialog.tmrReadParams_Timer();
            const double wall = Seconds(BenchClock::now() - wall0);
            const double cpu = ThreadCpuSeconds() - cpu0;

            const std::string marker("!Z\0\0\0\0", 6);
            win.comTpdr->Output(marker);
            std::vector<std::string> frames;
            for (const auto deadline = BenchClock::now() + std::chrono::seconds(5); BenchClock::now() < deadline;) {
                {
                    std::lock_guard lock(server.ModelMutex());
                    if (!model.Frames().empty() && model.Frames().back() == marker) {
                        frames.assign(model.Frames().begin(), model.Frames().end() - 1);
                        break;
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }

            // Every frame and its reply on the wire, the peer's reply delay per
            // exchange, the delay before each group and before the initialise
            // command, and group 2's wait; the closing initialise command gets
            // no reply and the read is over once it is written.
            double wire = 0;
            double waits = 0;
            int answered = 0;
            std::string letters;
            for (const std::string& f : frames) {
                letters += f[1];
                const auto n = static_cast<unsigned char>(f[5]);
                if (f[1] == 'I') {
                    waits += delay;
                    continue;
                }
                wire += static_cast<double>(f.size() + n) * byteTime;
                ++answered;
                if (f[1] == 'R') {
                    waits += delay + (static_cast<unsigned char>(f[4]) == 0x02 ? groupTwoWait : 0.0);
                }
            }
            const double ideal = wire + answered * replyDelay + waits;
            const bool ok = letters == "VRRRI" && dialogs.shown == boxesBefore;
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
