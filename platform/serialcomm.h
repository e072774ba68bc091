// A serial port with the members of the serial communications control that the
// program uses. Failures raise VBError with the control's error numbers.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

class SerialComm {
public:
    virtual ~SerialComm() = default;

    // Port number (1 = COM1). 380 outside 1..255; 8000 while the port is open.
    virtual int16_t CommPort() const = 0;
    virtual void CommPort(int16_t port) = 0;

    // "baud,parity,data,stop", e.g. "1200,N,8,1". 380 when malformed; applied
    // at once to an open port (8015 when the device refuses it).
    virtual std::string Settings() const = 0;
    virtual void Settings(const std::string& settings) = 0;

    // Opening: 8002 no such port, 8005 busy or already open, 8015 settings refused.
    virtual bool PortOpen() const = 0;
    virtual void PortOpen(bool open) = 0;

    // Bytes 0-255 one char each; returns when they are on the wire. 8018 when
    // the port is closed.
    virtual void Output(const std::string& bytes) = 0;
    virtual std::string Input() = 0; // all waiting bytes, removed from the buffer

    // Count of waiting input / unsent output; setting 0 discards them.
    virtual int16_t InBufferCount() = 0;
    virtual void InBufferCount(int16_t count) = 0;
    virtual int16_t OutBufferCount() = 0;
    virtual void OutBufferCount(int16_t count) = 0;

    // Sleep until more input arrives or `ms` milliseconds pass, without
    // running window events. Returns at once when the port is closed.
    virtual void WaitForInput(int ms) = 0;
};

// Parsed "baud,parity,data,stop"; false when the text is not of that form.
struct LineSettings {
    int32_t baud = 0;
    char parity = 'N';
    int dataBits = 8;
    double stopBits = 1;
};
bool ParseSettings(const std::string& text, LineSettings& out);

// The device path of port number `port`, or "" when no device is mapped.
// SerialPorts.ini in the program folder (lines COMn=<path>) when it exists,
// else COM1-4 /dev/ttyUSB0-3, COM5-8 /dev/ttyACM0-3, COM9-16 /dev/ttyS0-7.
std::string PortDevice(int port);

} // namespace Platform
