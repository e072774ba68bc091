// The serial port of an in-process simulated transponder on the fake clock.
// Bytes take their wire time (10 bits a byte at the port's baud rate) in
// both directions; the model answers after its reply delay. A byte counts as
// arrived once its last bit has crossed: the first reply byte is in the input
// buffer replyDelay + ByteTime() after the frame's last byte crossed.
#pragma once

#include "clock.h"
#include "serialcomm.h"
#include "transponder_model.h"

#include <deque>
#include <set>

namespace Sim {

class SimSerialComm : public Platform::SerialComm {
public:
    SimSerialComm(TransponderModel& model, Platform::FakeClock& clock);

    // Port numbers that exist (default: 1 only); opening another raises 8002.
    std::set<int> availablePorts{1};
    // Port numbers held by another program: opening raises 8005.
    std::set<int> busyPorts;
    // The device goes away: the next access closes the port and raises 8020.
    void Disconnect() { disconnected_ = true; }

    int16_t CommPort() const override { return port_; }
    void CommPort(int16_t port) override;
    std::string Settings() const override { return settings_; }
    void Settings(const std::string& settings) override;
    bool PortOpen() const override { return open_; }
    void PortOpen(bool open) override;
    void Output(const std::string& bytes) override;
    std::string Input() override;
    int16_t InBufferCount() override;
    void InBufferCount(int16_t count) override;
    int16_t OutBufferCount() override;
    void OutBufferCount(int16_t count) override;
    void WaitForInput(int ms) override;

    // Seconds one byte takes on the wire at the current baud rate.
    double ByteTime() const;
    // Everything written to the port, as written.
    const std::string& Written() const { return written_; }

private:
    struct Timed {
        double at; // FakeClock::Elapsed() when the byte has crossed the wire
        char byte;
    };
    void Service();  // move every byte whose time has come
    void Require();  // 8018 / 8020 checks
    void Close();    // bytes still on the wire are lost

    TransponderModel& model_;
    Platform::FakeClock& clock_;
    int16_t port_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool open_ = false;
    bool disconnected_ = false;
    std::deque<Timed> toDevice_;
    std::deque<Timed> fromDevice_;
    std::string inBuffer_;
    std::string written_;
    double txFree_ = 0; // when the line towards the device is next free
    double rxFree_ = 0; // when the line from the device is next free
};

} // namespace Sim
