// Measures a full Get Status pass of the main window against the simulated
// transponder on a pseudo-terminal at 19200 baud: the wall time against the
// wire time of every frame and reply, the peer's reply delays and the waits
// between commands; and the CPU time of the window's thread.
//
//   bench_status [delay between commands, s (default 0)] [passes (default 5)]
#include "benchrig.h"
#include "benchutil.h"
#include "frmMain.h"
#include "resets.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = BenchClock;

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

} // namespace

int main(int argc, char** argv)
{
    const BenchArgs args(argc, argv);
    QApplication app(argc, argv);
    const double delay = args.delay;
    const int passes = args.passes;

    Sim::TransponderModel model;
    model.Poke(true, 0x80, 0x00, 0x00, 0x20); // codeword: band 2, IRS, address 05, channel 03
    model.Poke(true, 0x80, 0x00, 0x01, 0x53);
    BenchRig rig(model);
    if (!rig.Start(args.delayText)) {
        return 1;
    }
    WireStore();

    const double byteTime = 10.0 / 19200.0;
    const double replyDelay = model.knobs.replyDelay;
    PassReport report;
    {
        frmMain win;
        win.Form_Load();
        auto* status = win.findChild<QPushButton*>(QStringLiteral("cmdStatus"));
        for (int pass = 1; pass <= passes; ++pass) {
            rig.ClearFrames();
            const int boxesBefore = rig.dialogs.shown;
            const double cpu0 = ThreadCpuSeconds();
            const auto wall0 = Clock::now();
            status->click();
            const double wall = Seconds(Clock::now() - wall0);
            const double cpu = ThreadCpuSeconds() - cpu0;

            const std::vector<std::string> frames = rig.PassFrames(*win.comTpdr);

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
            std::string letters;
            for (const std::string& f : frames) {
                letters += f[1];
            }
            const bool ok = letters == "VAIRIRRIRIvIrrRI" && rig.dialogs.shown == boxesBefore;
            report.Pass(pass, frames.size(), answered, ok, wall, cpu, wire, answered * replyDelay, waits);
        }
    }
    const int exitCode = report.Summary(passes);
    return exitCode;
}
