// The serial port on QSerialPort.
#pragma once

#include "serialcomm.h"

#include <QObject>
#include <QSerialPort>
#include <memory>

namespace Platform {

class QtSerialComm : public QObject, public SerialComm {
    Q_OBJECT
public:
    QtSerialComm();
    ~QtSerialComm() override;

    // Bytes kept unread at most. Replies are a few dozen bytes; a device that
    // keeps sending while nothing waits for it must not fill the memory.
    static constexpr qint64 MaxUnreadInput = 16384;

    int16_t CommPort() const override { return port_; }
    void CommPort(int16_t port) override;
    std::string Settings() const override { return settings_; }
    void Settings(const std::string& settings) override;
    bool PortOpen() const override;
    void PortOpen(bool open) override;
    void Output(const std::string& bytes) override;
    std::string Input() override;
    int16_t InBufferCount() override;
    void InBufferCount(int16_t count) override;
    int16_t OutBufferCount() override;
    void OutBufferCount(int16_t count) override;
    void WaitForInput(int ms) override;

private:
    void onError(QSerialPort::SerialPortError error);
    void requireOpen();
    void pull(); // move bytes from the kernel into the port's buffer
    void apply(const LineSettings& s);

    std::unique_ptr<QSerialPort> serial_;
    int16_t port_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool lost_ = false; // the device went away; the port was closed
};

} // namespace Platform
