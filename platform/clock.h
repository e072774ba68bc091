// Time as the program sees it: seconds since midnight, and idle waits.
// Injectable so that tests run time-outs, progress steps and midnight on a
// fake clock without waiting.
#pragma once

namespace Platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, sub-second resolution.
    virtual double Now() = 0;
    // Yield for at most `seconds` while letting window events run; returns
    // earlier when an event arrives. The fake clock advances instead.
    virtual void Idle(double seconds) = 0;
};

// The wall clock (local time of day) with an event loop that sleeps.
Clock& SystemClock();

// The clock in use; the system clock unless a test installed another.
Clock& CurrentClock();
void SetClock(Clock* clock); // nullptr restores the system clock

// A clock that only moves when told to, or when something idles on it.
class FakeClock : public Clock {
public:
    explicit FakeClock(double start = 36000.0) : t_(start) {}
    double Now() override; // wraps at midnight
    void Idle(double seconds) override;
    void Advance(double seconds) { t_ += seconds; }
    void Set(double secondsSinceMidnight) { t_ = secondsSinceMidnight; }
    // Unwrapped seconds since the clock's own zero.
    double Elapsed() const { return t_; }

private:
    double t_;
};

// Installs a clock for the lifetime of the guard.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace Platform

namespace Platform {
// While a field's focus-out work runs, the user's input waits until that work
// and the event that moved the focus are done: a wait inside the work lets
// only other events run.
class InputHold {
public:
    InputHold();
    ~InputHold();
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;
};
bool InputHeld();
// True from the moment the application is told to quit until its main event
// loop has ended. No event loop runs in between, so a wait must end at once
// rather than poll an event loop that returns at once.
bool Quitting();
} // namespace Platform

// Seconds since midnight (the run time's Timer).
double Timer();
// Let pending window events run once.
void DoEvents();
void Beep();
namespace Platform {
// Beeps sounded so far in this run, so that tests count them.
int BeepCount();
} // namespace Platform
