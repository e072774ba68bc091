// The main window against the simulated transponder, with the frames it sends
// written as the simulated transponder's FrameText shows them (frames.h).
#pragma once

#include "frames.h"
#include "frmmain_fixture.h"
#include "transponder_memory.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

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

    // The shared memory pokes (transponder_memory.h) on this test's transponder.
    void SetChannel(uint8_t bcd) { Memory::SetChannel(model, bcd); }
    void SetCodeword(uint16_t word) { Memory::SetCodeword(model, word); }
    void ToneBlock() { Memory::ToneBlock(model); }
    void SpanwaveBlock() { Memory::SpanwaveBlock(model); }

    // Every frame the transponder received, the last one on the wire included.
    std::vector<std::string> Sent()
    {
        clock.Advance(0.1);
        if (port->PortOpen()) {
            port->InBufferCount();
        }
        return FrameTexts(model.Frames().begin(), model.Frames().end());
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
