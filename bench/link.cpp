// Measures the transponder link against the simulated transponder on a
// pseudo-terminal at 19200 baud: CPU use while waiting, latency from the last
// reply byte to the return, and a run of ordinary exchanges against their
// wire times.
#include "appinfo.h"
#include "benchutil.h"
#include "clock.h"
#include "clsTpdrComms.h"
#include "commonprocs.h"
#include "pty_server.h"
#include "qtserialcomm.h"
#include "tpdrport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = BenchClock;

TpdrCommand VersionRead() { return MakeFrame('V', 0xA0, 0, 0, std::string(9, '\0')); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Sim::TransponderModel model;
    Sim::PtyServer server(model);
    const std::string slave = server.Open();
    if (slave.empty()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    server.Start();
    QFile map(dir.filePath("SerialPorts.ini"));
    if (!map.open(QIODevice::WriteOnly)) {
        return 1;
    }
    map.write(("COM1=" + slave + "\n").c_str());
    map.close();
    App::SetPath(dir.path().toStdString());

    Platform::QtSerialComm port;
    port.CommPort(1);
    port.Settings("19200,N,8,1");
    port.PortOpen(true);
    SetTpdrPort(&port);
    const double byteTime = 10.0 / 19200.0;
    const double replyDelay = model.knobs.replyDelay;

    // 1. CPU time during a one-second wait for a reply that never comes.
    {
        std::lock_guard lock(server.ModelMutex());
        model.knobs.noReply = true;
    }
    clsTpdrComms idle;
    const double cpu0 = ThreadCpuSeconds();
    const auto wall0 = Clock::now();
    const auto r = idle.SendAndReceive(VersionRead(), 15, 9, 1.0f, 0.1f, false, false, false);
    const double wall = Seconds(Clock::now() - wall0);
    const double cpu = ThreadCpuSeconds() - cpu0;
    std::printf("wait without reply: result %d, wall %.3f s, cpu %.4f s = %.2f%% of the wait (target < 2%%)\n", r, wall,
                cpu, 100.0 * cpu / wall);
    {
        std::lock_guard lock(server.ModelMutex());
        model.knobs.noReply = false;
    }

    // 2. Time from the last reply byte leaving the peer to SendAndReceive returning.
    std::vector<double> latencies;
    for (int i = 0; i < 200; ++i) {
        clsTpdrComms link;
        link.SendAndReceive(VersionRead(), 15, 9, 1.0f, 0.1f, false, false, false);
        const auto returned = Clock::now();
        latencies.push_back(Seconds(returned - server.LastReplyByteAt()));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("last reply byte to return: median %.3f ms, 95th percentile %.3f ms, max %.3f ms over %zu exchanges "
                "(target < 1 ms)\n",
                latencies[latencies.size() / 2] * 1e3, latencies[latencies.size() * 95 / 100] * 1e3,
                latencies.back() * 1e3, latencies.size());

    // 3. Twenty ordinary exchanges with no delay between commands.
    const int exchanges = 20;
    const auto run0 = Clock::now();
    int failures = 0;
    for (int i = 0; i < exchanges; ++i) {
        CommonProcs::Delay(0.0f);
        clsTpdrComms link;
        failures += link.SendAndReceive(VersionRead(), 15, 9, 1.0f, 0.1f, false, false, false) != ReplyReceived;
    }
    const double run = Seconds(Clock::now() - run0);
    const double ideal = exchanges * ((15 + 9) * byteTime + replyDelay);
    std::printf("%d exchanges: %.2f ms against %.2f ms of wire and reply time: %+.2f%% (target within 5%%), %d failed\n",
                exchanges, run * 1e3, ideal * 1e3, 100.0 * (run - ideal) / ideal, failures);

    SetTpdrPort(nullptr);
    port.PortOpen(false);
    server.Stop();
    return failures == 0 ? 0 : 1;
}
