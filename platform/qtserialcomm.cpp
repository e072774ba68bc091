#include "qtserialcomm.h"

#include "vberror.h"

#include <algorithm>
#ifdef Q_OS_UNIX
#include <termios.h>
#endif
#include <limits>

namespace Platform {

QtSerialComm::QtSerialComm() : serial_(std::make_unique<QSerialPort>())
{
    // Past the bound Qt stops reading; the device's driver then holds or drops
    // the rest, and the next exchange flushes it all.
    serial_->setReadBufferSize(MaxUnreadInput);
    connect(serial_.get(), &QSerialPort::errorOccurred, this, &QtSerialComm::onError);
}

QtSerialComm::~QtSerialComm()
{
    if (serial_->isOpen()) {
        serial_->close();
    }
}

void QtSerialComm::onError(QSerialPort::SerialPortError error)
{
    // A vanished device makes Qt report ReadError for ever: close at once.
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && serial_->isOpen()) {
        lost_ = true;
        serial_->close();
    }
}

void QtSerialComm::CommPort(int16_t port)
{
    if (port < 1 || port > 255) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    if (PortOpen()) {
        Raise(ErrNo::PortOpenOperationInvalid);
    }
    port_ = port;
}

void QtSerialComm::Settings(const std::string& settings)
{
    LineSettings parsed;
    if (!ParseSettings(settings, parsed)) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    if (PortOpen()) {
        apply(parsed);
    }
    settings_ = settings;
}

bool QtSerialComm::PortOpen() const { return serial_->isOpen(); }

void QtSerialComm::apply(const LineSettings& s)
{
    bool ok = serial_->setBaudRate(s.baud);
    ok = ok && serial_->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits));
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (s.parity) {
    case 'E': parity = QSerialPort::EvenParity; break;
    case 'O': parity = QSerialPort::OddParity; break;
    case 'M': parity = QSerialPort::MarkParity; break;
    case 'S': parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    ok = ok && serial_->setParity(parity);
    const auto stop = s.stopBits == 2 ? QSerialPort::TwoStop
                      : s.stopBits == 1 ? QSerialPort::OneStop
                                        : QSerialPort::OneAndHalfStop;
    ok = ok && serial_->setStopBits(stop);
    ok = ok && serial_->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        serial_->clearError();
        Raise(ErrNo::CommStateFailed);
    }
}

void QtSerialComm::PortOpen(bool open)
{
    if (!open) {
        if (serial_->isOpen()) {
            serial_->close();
        }
        return;
    }
    if (serial_->isOpen()) {
        Raise(ErrNo::PortAlreadyOpen);
    }
    LineSettings parsed;
    if (!ParseSettings(settings_, parsed)) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    const std::string device = PortDevice(port_);
    if (device.empty()) {
        Raise(ErrNo::InvalidPortNumber);
    }
    serial_->setPortName(QString::fromStdString(device));
    if (!serial_->open(QIODevice::ReadWrite)) {
        const auto error = serial_->error();
        serial_->clearError();
        switch (error) {
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError: Raise(ErrNo::PortAlreadyOpen);
        case QSerialPort::UnsupportedOperationError: Raise(ErrNo::CommStateFailed);
        default: Raise(ErrNo::InvalidPortNumber);
        }
    }
    lost_ = false;
    try {
        apply(parsed);
    } catch (...) {
        serial_->close();
        throw;
    }
}

void QtSerialComm::requireOpen()
{
    if (!serial_->isOpen()) {
        if (lost_) {
            lost_ = false;
            Raise(ErrNo::ReadError);
        }
        Raise(ErrNo::PortNotOpen);
    }
}

void QtSerialComm::pull()
{
    // Without an event loop Qt's buffer fills only inside a wait.
    serial_->waitForReadyRead(0);
    if (serial_->error() == QSerialPort::TimeoutError) {
        serial_->clearError();
    }
    requireOpen();
}

void QtSerialComm::Output(const std::string& bytes)
{
    requireOpen();
    const qint64 written = serial_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        requireOpen();
        Raise(ErrNo::ReadError);
    }
    while (serial_->bytesToWrite() > 0) {
        if (!serial_->waitForBytesWritten(1000)) {
            requireOpen();
            break;
        }
    }
    if (serial_->error() == QSerialPort::TimeoutError) {
        serial_->clearError();
    }
#ifdef Q_OS_UNIX
    // Return only when the bytes are on the wire: a command that gets no reply
    // (the initialise command) must not be lost to the next exchange's flush.
    ::tcdrain(static_cast<int>(serial_->handle()));
#endif
}

std::string QtSerialComm::Input()
{
    requireOpen();
    pull();
    const QByteArray data = serial_->readAll();
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

int16_t QtSerialComm::InBufferCount()
{
    requireOpen();
    pull();
    return static_cast<int16_t>(std::min<qint64>(serial_->bytesAvailable(), std::numeric_limits<int16_t>::max()));
}

void QtSerialComm::InBufferCount(int16_t count)
{
    requireOpen();
    if (count != 0) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    serial_->clear(QSerialPort::Input);
    serial_->readAll();
}

int16_t QtSerialComm::OutBufferCount()
{
    requireOpen();
    return static_cast<int16_t>(std::min<qint64>(serial_->bytesToWrite(), std::numeric_limits<int16_t>::max()));
}

void QtSerialComm::OutBufferCount(int16_t count)
{
    requireOpen();
    if (count != 0) {
        Raise(ErrNo::InvalidPropertyValue);
    }
    // Output returns only once its bytes are on the wire, so nothing sent is
    // left to discard. A kernel flush here would do harm on a pseudo-terminal,
    // where it throws away what the other side has not read yet.
    if (serial_->bytesToWrite() > 0) {
        serial_->clear(QSerialPort::Output);
    }
}

void QtSerialComm::WaitForInput(int ms)
{
    if (!serial_->isOpen()) {
        return;
    }
    serial_->waitForReadyRead(std::max(ms, 0));
    if (serial_->error() == QSerialPort::TimeoutError) {
        serial_->clearError();
    }
}

} // namespace Platform
