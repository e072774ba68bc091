// Measures the general parameters dialog's full read of an F-family unit
// against the simulated transponder on a pseudo-terminal at 19200 baud: the
// wall time against the wire time of every frame and reply, the peer's reply
// delays and the mandated waits (the delay between commands, and the half
// second the six-byte group waits before its reply is read); and the CPU time
// of the window's thread.
//
//   bench_gensettings [delay between commands, s (default 0)] [passes (default 5)]
#include "benchrig.h"
#include "benchutil.h"
#include "frmGenSettings.h"
#include "frmMain.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const BenchArgs args(argc, argv);
    QApplication app(argc, argv);
    const double delay = args.delay;
    const int passes = args.passes;

    Sim::TransponderModel model; // Vers2.05F: gain, the six-byte group, power level
    BenchRig rig(model);
    if (!rig.Start(args.delayText)) {
        return 1;
    }

    const double byteTime = 10.0 / 19200.0;
    const double replyDelay = model.knobs.replyDelay;
    const double groupTwoWait = 0.5;
    PassReport report;
    {
        frmMain win;
        win.Form_Load();
        frmGenSettings dialog(&win);
        dialog.show();
        for (int pass = 1; pass <= passes; ++pass) {
            rig.ClearFrames();
            const int boxesBefore = rig.dialogs.shown;
            const double cpu0 = ThreadCpuSeconds();
            const auto wall0 = BenchClock::now();
            dialog.tmrReadParams_Timer();
            const double wall = Seconds(BenchClock::now() - wall0);
            const double cpu = ThreadCpuSeconds() - cpu0;

            const std::vector<std::string> frames = rig.PassFrames(*win.comTpdr);

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
            const bool ok = letters == "VRRRI" && rig.dialogs.shown == boxesBefore;
            report.Pass(pass, frames.size(), answered, ok, wall, cpu, wire, answered * replyDelay, waits);
        }
    }
    const int exitCode = report.Summary(passes);
    return exitCode;
}
