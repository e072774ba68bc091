// Serves a TransponderModel on a pseudo-terminal: the program under test
// opens the slave path as a serial port. Bytes are paced at the line's baud
// rate (read from the terminal settings) so that timings are those of a wire:
// each reply byte is written when its last bit would have crossed, the first
// one replyDelay + one byte time after the frame's last byte crossed.
#pragma once

#include "transponder_model.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace Sim {

class PtyServer {
public:
    explicit PtyServer(TransponderModel& model);
    ~PtyServer(); // stops the thread, closes the master

    // Opens the pseudo-terminal; returns the slave path ("" on failure).
    std::string Open();
    const std::string& SlavePath() const { return slavePath_; }

    // Serve on a background thread until Stop(), or on this thread (Run).
    void Start();
    void Stop();
    void Run(); // returns when Stop() is called from elsewhere or the master fails
    // Stops and hangs up the line, as when the device is unplugged.
    void Close();

    // When the last reply byte was written to the line (for latency measurements).
    std::chrono::steady_clock::time_point LastReplyByteAt() const
    {
        return std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(lastWrite_.load()));
    }

    // The model is shared with the serving thread: lock while touching it.
    std::mutex& ModelMutex() { return mutex_; }
    // The line's rate until the program sets one, and whenever the terminal
    // reports a rate that is not a standard one. Set before Open().
    int baud = 19200;
    // Each frame received and its reply, as a line on standard error.
    bool trace = false;

private:
    double LineByteTime() const;

    TransponderModel& model_;
    int master_ = -1;
    int slave_ = -1;         // held open so the master never sees a hang-up between clients
    int wake_[2] = {-1, -1}; // Stop() writes here to end the wait at once
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<std::chrono::steady_clock::rep> lastWrite_{0};
    std::mutex mutex_;
};

} // namespace Sim
