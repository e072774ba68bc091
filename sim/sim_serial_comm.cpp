#include "sim_serial_comm.h"

#include "vberror.h"

#include <algorithm>
#include <limits>

namespace Sim {

SimSerialComm::SimSerialComm(TransponderModel& model, Platform::FakeClock& clock) : model_(model), clock_(clock) {}

void SimSerialComm::CommPort(int16_t port)
{
    if (port < 1 || port > 255) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    if (open_) {
        Raise(ErrNo::PortOpenOperationInvalid);
    }
    port_ = port;
}

void SimSerialComm::Settings(const std::string& settings)
{
    Platform::LineSettings parsed;
    if (!Platform::ParseSettings(settings, parsed)) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    settings_ = settings;
}

void SimSerialComm::PortOpen(bool open)
{
    if (!open) {
        Close();
        return;
    }
    if (open_) {
        Raise(ErrNo::PortAlreadyOpen);
    }
    // A device that went away stays away.
    if (disconnected_ || availablePorts.count(port_) == 0) {
        Raise(ErrNo::InvalidPortNumber);
    }
    if (busyPorts.count(port_) != 0) {
        Raise(ErrNo::PortAlreadyOpen);
    }
    open_ = true;
    txFree_ = rxFree_ = clock_.Elapsed();
}

void SimSerialComm::Close()
{
    open_ = false;
    toDevice_.clear();
    fromDevice_.clear();
    inBuffer_.clear();
}

void SimSerialComm::Require()
{
    if (!open_) {
        Raise(ErrNo::PortNotOpen);
    }
    if (disconnected_) {
        Close();
        Raise(ErrNo::ReadError);
    }
}

double SimSerialComm::ByteTime() const
{
    Platform::LineSettings parsed;
    Platform::ParseSettings(settings_, parsed); // the setter let only valid text in
    return 10.0 / parsed.baud;
}

void SimSerialComm::Service()
{
    const double now = clock_.Elapsed();
    const double byteTime = ByteTime();
    while (!toDevice_.empty() && toDevice_.front().at <= now) {
        const Timed sent = toDevice_.front();
        toDevice_.pop_front();
        for (const std::string& reply : model_.Receive(std::string(1, sent.byte))) {
            if (reply.empty()) {
                continue;
            }
            double at = std::max(sent.at + model_.knobs.replyDelay, rxFree_);
            for (const char c : reply) {
                at += byteTime;
                fromDevice_.push_back({at, c});
            }
            rxFree_ = at;
        }
    }
    while (!fromDevice_.empty() && fromDevice_.front().at <= now) {
        inBuffer_ += fromDevice_.front().byte;
        fromDevice_.pop_front();
    }
}

void SimSerialComm::Output(const std::string& bytes)
{
    Require();
    Service();
    const double byteTime = ByteTime();
    for (const char c : bytes) {
        txFree_ = std::max(txFree_, clock_.Elapsed()) + byteTime;
        toDevice_.push_back({txFree_, c});
    }
    written_ += bytes;
    // Like the real port, the write returns when its bytes have crossed.
    if (txFree_ > clock_.Elapsed()) {
        clock_.Advance(txFree_ - clock_.Elapsed());
    }
    Service();
}

std::string SimSerialComm::Input()
{
    Require();
    Service();
    std::string bytes;
    bytes.swap(inBuffer_);
    return bytes;
}

int16_t SimSerialComm::InBufferCount()
{
    Require();
    Service();
    return static_cast<int16_t>(std::min<size_t>(inBuffer_.size(), std::numeric_limits<int16_t>::max()));
}

void SimSerialComm::InBufferCount(int16_t count)
{
    Require();
    if (count != 0) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    Service();
    inBuffer_.clear(); // bytes still on the wire arrive later, as on a real line
}

int16_t SimSerialComm::OutBufferCount()
{
    Require();
    Service();
    return static_cast<int16_t>(std::min<size_t>(toDevice_.size(), std::numeric_limits<int16_t>::max()));
}

void SimSerialComm::OutBufferCount(int16_t count)
{
    Require();
    if (count != 0) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    Service();
    toDevice_.clear();
    txFree_ = clock_.Elapsed();
}

void SimSerialComm::WaitForInput(int ms)
{
    if (!open_ || disconnected_) {
        return;
    }
    Service();
    // Like the real port: wait for bytes beyond those already waiting.
    const size_t waiting = inBuffer_.size();
    const double deadline = clock_.Elapsed() + std::max(ms, 0) / 1000.0;
    // Step from event to event: an outgoing byte crossing may start a reply
    // whose first byte ends the wait.
    for (;;) {
        double next = deadline;
        if (!toDevice_.empty()) {
            next = std::min(next, toDevice_.front().at);
        }
        if (!fromDevice_.empty()) {
            next = std::min(next, fromDevice_.front().at);
        }
        if (next > clock_.Elapsed()) {
            clock_.Advance(next - clock_.Elapsed());
        }
        Service();
        if (inBuffer_.size() > waiting || clock_.Elapsed() >= deadline) {
            return;
        }
    }
}

} // namespace Sim
