#include "clock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTime>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace Platform {
namespace {

int g_inputHolds = 0;
int g_beeps = 0;

QEventLoop::ProcessEventsFlags WaitFlags()
{
    return g_inputHolds > 0 ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
}

class QuitWatch;
QuitWatch* Watch();
void MarkQuitting();

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
        Watch();
        const int ms = seconds <= 0 ? 0 : static_cast<int>(std::ceil(seconds * 1000.0));
        if (ms == 0) {
            QCoreApplication::processEvents(WaitFlags());
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
        if (loop.exec(WaitFlags()) == -1) {
            MarkQuitting(); // the loop would not start
        }
    }

private:
    double anchorDay_;
    std::chrono::steady_clock::time_point anchorSteady_;
};

Clock* g_clock = nullptr;

// Watches the application for a request to quit. A request may still be
// refused (a window that will not close); an accepted one ends every event
// loop before it starts, which tells the two apart.
class QuitWatch : public QObject {
public:
    explicit QuitWatch(QCoreApplication* app) : QObject(app)
    {
        app->installEventFilter(this);
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { requested = known = false; });
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Quit) {
            requested = true;
        }
        return false;
    }
    bool requested = false;
    bool known = false;
};

QuitWatch* Watch()
{
    static QPointer<QuitWatch> watch;
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return nullptr;
    }
    if (watch.isNull() || watch->parent() != app) {
        watch = new QuitWatch(app);
    }
    return watch.data();
}

void MarkQuitting()
{
    if (QuitWatch* watch = Watch()) {
        watch->known = true;
    }
}

} // namespace

Clock& SystemClock()
{
    static WallClock clock;
    return clock;
}

Clock& CurrentClock() { return g_clock != nullptr ? *g_clock : SystemClock(); }

void SetClock(Clock* clock) { g_clock = clock; }

bool Quitting()
{
    if (QCoreApplication::instance() == nullptr) {
        return false;
    }
    if (QCoreApplication::closingDown()) {
        return true;
    }
    QuitWatch* watch = Watch();
    if (!watch->known && watch->requested) {
        QEventLoop probe;
        QTimer::singleShot(0, &probe, &QEventLoop::quit);
        watch->known = probe.exec(WaitFlags()) == -1;
        watch->requested = watch->known;
    }
    return watch->known;
}

double FakeClock::Now() { return std::fmod(t_, 86400.0); }

InputHold::InputHold() { ++g_inputHolds; }
InputHold::~InputHold() { --g_inputHolds; }
bool InputHeld() { return g_inputHolds > 0; }

void FakeClock::Idle(double seconds)
{
    if (QCoreApplication::instance() != nullptr) {
        Watch();
        QCoreApplication::processEvents(WaitFlags());
    }
    t_ += seconds > 0 ? seconds : 1e-6;
}

} // namespace Platform

double Timer() { return Platform::CurrentClock().Now(); }

void DoEvents()
{
    if (QCoreApplication::instance() != nullptr) {
        Platform::Watch(); // a request to quit made while events run is seen
        QCoreApplication::processEvents(Platform::WaitFlags());
    }
}

int Platform::BeepCount() { return Platform::g_beeps; }

void Beep()
{
    ++Platform::g_beeps;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
}
