#include "serialcomm.h"

#include "appinfo.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

namespace Platform {
namespace {

std::string Trimmed(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool AllDigits(const std::string& s)
{
    if (s.empty()) {
        return false;
    }
    for (const unsigned char c : s) {
        if (!std::isdigit(c)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseSettings(const std::string& text, LineSettings& out)
{
    std::array<std::string, 4> parts;
    std::istringstream in(text);
    size_t n = 0;
    for (std::string part; std::getline(in, part, ',');) {
        if (n == parts.size()) {
            return false;
        }
        parts[n++] = Trimmed(part);
    }
    if (n != parts.size() || !AllDigits(parts[0]) || parts[0].size() > 7) {
        return false;
    }
    static const int32_t rates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                    19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
    const int32_t baud = std::stoi(parts[0]);
    if (std::find(std::begin(rates), std::end(rates), baud) == std::end(rates)) {
        return false;
    }
    if (parts[1].size() != 1 || std::string("NEOMSneoms").find(parts[1][0]) == std::string::npos) {
        return false;
    }
    if (parts[2].size() != 1 || parts[2][0] < '4' || parts[2][0] > '8') {
        return false;
    }
    double stop = 0;
    if (parts[3] == "1") {
        stop = 1;
    } else if (parts[3] == "1.5") {
        stop = 1.5;
    } else if (parts[3] == "2") {
        stop = 2;
    } else {
        return false;
    }
    out.baud = baud;
    out.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
    out.dataBits = parts[2][0] - '0';
    out.stopBits = stop;
    return true;
}

std::string PortDevice(int port)
{
    QFile map(QDir(QString::fromStdString(App::Path())).filePath("SerialPorts.ini"));
    if (map.exists()) {
        if (!map.open(QIODevice::ReadOnly | QIODevice::Text)) {
            return {};
        }
        const std::string key = "COM" + std::to_string(port) + "=";
        while (!map.atEnd()) {
            const std::string line = Trimmed(map.readLine().trimmed().toStdString());
            if (line.size() > key.size() && line.compare(0, key.size(), key) == 0) {
                return Trimmed(line.substr(key.size()));
            }
        }
        return {};
    }
    if (port >= 1 && port <= 4) {
        return "/dev/ttyUSB" + std::to_string(port - 1);
    }
    if (port >= 5 && port <= 8) {
        return "/dev/ttyACM" + std::to_string(port - 5);
    }
    if (port >= 9 && port <= 16) {
        return "/dev/ttyS" + std::to_string(port - 9);
    }
    return {};
}

} // namespace Platform
