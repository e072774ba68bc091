#include "clock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTime>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace Platform {
namespace {

class WallClock : public Clock {
public:
    WallClock()
        : anchorDay_(QTime::currentTime().msecsSinceStartOfDay() / 1000.0),
          anchorSteady_(std::chrono::steady_clock::now())
    {
    }

    // Time of day from a monotonic clock anchored once: high resolution and
    // never running backwards except at midnight.
    double Now() override
    {
        const std::chrono::duration<double> since = std::chrono::steady_clock::now() - anchorSteady_;
        return std::fmod(anchorDay_ + since.count(), 86400.0);
    }

    void Idle(double seconds) override
    {
        if (QCoreApplication::instance() == nullptr) {
            return;
        }
        const int ms = seconds <= 0 ? 0 : static_cast<int>(std::ceil(seconds * 1000.0));
        if (ms == 0) {
            QCoreApplication::processEvents();
            return;
        }
        // A precise timer in a local event loop sleeps in the kernel and still
        // lets every window event through.
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(ms);
        loop.exec();
    }

private:
    double anchorDay_;
    std::chrono::steady_clock::time_point anchorSteady_;
};

Clock* g_clock = nullptr;

} // namespace

Clock& SystemClock()
{
    static WallClock clock;
    return clock;
}

Clock& CurrentClock() { return g_clock != nullptr ? *g_clock : SystemClock(); }

void SetClock(Clock* clock) { g_clock = clock; }

double FakeClock::Now() { return std::fmod(t_, 86400.0); }

void FakeClock::Idle(double seconds)
{
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
    t_ += seconds > 0 ? seconds : 1e-6;
}

} // namespace Platform

double Timer() { return Platform::CurrentClock().Now(); }

void DoEvents()
{
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

void Beep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
}
