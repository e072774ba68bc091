// The main window against the simulated transponder, with the frames it sends
// written as the simulated transponder's FrameText shows them.
#pragma once

#include "frmmain_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace Frames {

inline std::string Zeros(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += "|00";
    }
    return s;
}

inline const std::string V9 = "!V|A0|00|00|09" + Zeros(9);
inline const std::string V10 = "!V|A0|00|00|0A" + Zeros(10);
inline const std::string Tx = "!A|00|00|00|09" + Zeros(9);
inline const std::string Init = "!I|00|00|00|00";
inline const std::string Type = "!R|E0|0A|00|10" + Zeros(16);
inline const std::string Serial = "!R|E0|0A|20|10" + Zeros(16);
inline const std::string Depth = "!R|A0|04|00|01|00";
inline const std::string BattType = "!R|E0|0A|80|01|00";
inline const std::string Volt = "!v|00|00|00|01|00";
inline const std::string Codeword = "!r|80|00|00|02|00|00";
inline const std::string Params = "!r|00|00|00|14" + Zeros(20);
inline const std::string RS232 = "!R|A0|04|08|01|00";
inline const std::string Dual = "!R|A0|04|07|01|00";
inline const std::string Ports = "!P|00|00|00|03|00|00|00";

// The navigation reads after the version read of Get, by firmware family.
inline const std::vector<std::string> GetF = {V9, Init, Codeword, Params, RS232, Init};
inline const std::vector<std::string> GetS = {V9, Init, RS232, Dual, Ports, Init};

inline std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

} // namespace Frames

struct Box {
    std::string title;
    int answer = MsgBoxResult::OK;
};

class ExchangeTest : public MainWindowTest {
protected:
    // Version texts of the families used here.
    static constexpr const char* FFamily = "Vers2.05F"; // 415: transmitter board, Spanwave addressing
    static constexpr const char* SFamily = "Vers2.05S"; // 64: three channels, no type number

    // Get and Get Voltage are offered once a Get Status has found a firmware.
    void OfferGet()
    {
        TpdrFirmware.FWVersion(415);
        win->UpdateControls();
    }

    // RS232 channel byte, Spanwave codeword and parameter block of the simulated transponder.
    void SetChannel(uint8_t bcd) { model.Poke(false, 0xA0, 0x04, 0x08, bcd); }
    void SetCodeword(uint16_t word)
    {
        model.Poke(true, 0x80, 0, 0, static_cast<uint8_t>(word >> 8));
        model.Poke(true, 0x80, 0, 1, static_cast<uint8_t>(word & 0xFF));
    }
    // Five groups of four bytes, high byte first.
    void ParamBlock(const std::array<uint32_t, 5>& groups)
    {
        for (uint8_t i = 0; i < 20; ++i) {
            model.Poke(true, 0, 0, i, static_cast<uint8_t>(groups[i / 4] >> (8 * (3 - i % 4))));
        }
    }
    // Orvane tone: interrogation MF2 (3), reply MF5, next reply MF6.
    void ToneBlock() { ParamBlock({0x0064007F, 0x0008FB6C, 0xFFFFFFFF, 0x0009399A, 0xFFFFFFFF}); }
    // Orvane Spanwave: interrogation MF2 (3), code groups not blank.
    void SpanwaveBlock() { ParamBlock({0x0064007F, 0x00A00000, 0x195068AA, 0x00A10000, 0xD6DDBC8E}); }

    // Every frame the transponder received, the last one on the wire included.
    std::vector<std::string> Sent()
    {
        clock.Advance(0.1);
        if (port->PortOpen()) {
            port->InBufferCount();
        }
        std::vector<std::string> texts;
        for (const std::string& f : model.Frames()) {
            texts.push_back(Sim::FrameText(f));
        }
        return texts;
    }
    // An expected frame ending in "*" stands for any frame that starts so.
    static void ExpectFrames(const std::vector<std::string>& sent, const std::vector<std::string>& want)
    {
        EXPECT_EQ(sent.size(), want.size()) << testing::PrintToString(sent);
        for (size_t i = 0; i < std::min(sent.size(), want.size()); ++i) {
            if (!want[i].empty() && want[i].back() == '*') {
                EXPECT_EQ(sent[i].substr(0, want[i].size() - 1), want[i].substr(0, want[i].size() - 1)) << i;
            } else {
                EXPECT_EQ(sent[i], want[i]) << i;
            }
        }
    }

    void Script(const std::vector<Box>& want)
    {
        boxes.Clear();
        for (const Box& b : want) {
            boxes.Answer(b.answer);
        }
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const ShownBox& b : boxes.Boxes()) {
            titles.push_back(b.title);
        }
        return titles;
    }
    static std::vector<std::string> Titles(const std::vector<Box>& want)
    {
        std::vector<std::string> titles;
        for (const Box& b : want) {
            titles.push_back(b.title);
        }
        return titles;
    }

    // "text:colour", the colour W white, R red, M magenta.
    static std::string Shown(const QLabel* label)
    {
        const uint32_t c = Forms::BackColor(label);
        const char* colour = c == Forms::vbWhite ? "W" : c == Forms::vbRed ? "R" : c == Forms::vbMagenta ? "M" : "?";
        return label->text().toStdString() + ":" + colour;
    }
    // Firmware, Tx firmware, type, serial, depth, voltage.
    std::vector<std::string> StatusLabels() const
    {
        return {Shown(win->lblFirmware),   Shown(win->lblTxFirmware), Shown(win->lblTypeNumber),
                Shown(win->lblSerialNumber), Shown(win->lblDepthOnOff), Shown(win->lblVoltage)};
    }

    // Runs `action` once, from the first event pass after `frames` frames were
    // received (inside the running exchange's progress event or a delay).
    void AtFrame(size_t frames, std::function<void()> action)
    {
        auto* timer = new QTimer(win.get());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, win.get(), [this, timer, frames, action] {
            if (model.Frames().size() >= frames) {
                timer->stop();
                action();
            }
        });
        timer->start();
    }
};
