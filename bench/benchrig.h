// What the window benchmarks share: a program folder whose COM1 is the
// simulated transponder on a pseudo-terminal at 19200 baud, boxes counted
// rather than shown, and the frames of one pass collected from the peer.
#pragma once

#include "appinfo.h"
#include "dialogs.h"
#include "filehandler.h"
#include "pty_server.h"
#include "registry.h"
#include "serialcomm.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A clean pass shows no box; a Yes/No question is answered Yes.
class CountingDialogs : public Platform::DialogProvider {
public:
    int shown = 0;
    int MessageBox(const std::string& text, int style, const std::string& title) override
    {
        ++shown;
        std::printf("  box: %s: %s\n", title.c_str(), text.c_str());
        return (style & 0x7) == MsgBoxStyle::YesNo ? MsgBoxResult::Yes : MsgBoxResult::OK;
    }
    std::string OpenFile(const FileDialogRequest&) override { return {}; }
    std::string SaveFile(const FileDialogRequest&) override { return {}; }
};

// The window benchmarks' arguments: [delay between commands, s (default 0)]
// [passes (default 5)]. Windows are drawn offscreen unless told otherwise.
struct BenchArgs {
    BenchArgs(int argc, char** argv)
        : delayText(argc > 1 ? argv[1] : "0"), delay(std::atof(delayText.c_str())),
          passes(argc > 2 ? std::max(1, std::atoi(argv[2])) : 5)
    {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        }
    }
    std::string delayText;
    double delay;
    int passes;
};

class BenchRig {
public:
    explicit BenchRig(Sim::TransponderModel& model) : model_(model), server_(model) {}
    ~BenchRig()
    {
        Platform::SetDialogs(nullptr);
        Platform::SetRegistryFile("");
        App::SetPath("");
        server_.Stop();
    }
    BenchRig(const BenchRig&) = delete;
    BenchRig& operator=(const BenchRig&) = delete;

    // Serves the transponder and writes the settings file with the given
    // delay between commands; false (with a message) when it cannot.
    bool Start(const std::string& delayText)
    {
        const std::string slave = server_.Open();
        if (slave.empty()) {
            std::fprintf(stderr, "no pseudo-terminal\n");
            return false;
        }
        server_.Start();
        if (!WriteFile("SerialPorts.ini", "COM1=" + slave + "\r\n") ||
            !WriteFile(FileHandler::SettingsFile,
                       "[COMMS]\r\nTransponder=COM1\r\nVOV=\r\n[TRANSPONDER]\r\nSetting=19200,N,8,1\r\nTimeout=1\r\n"
                       "DelayBetweenCmds=" + delayText + "\r\n")) {
            return false;
        }
        App::SetPath(dir_.path().toStdString());
        Platform::SetRegistryFile((dir_.path() + "/registry").toStdString());
        Platform::SetDialogs(&dialogs);
        return true;
    }

    void ClearFrames()
    {
        std::lock_guard lock(server_.ModelMutex());
        model_.ClearFrames();
    }

    // A pass ends with a command that gets no reply: a marker sent behind it
    // on the same port shows when the transponder has seen everything.
    std::vector<std::string> PassFrames(Platform::SerialComm& port)
    {
        const std::string marker("!Z\0\0\0\0", 6);
        port.Output(marker);
        for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
             std::chrono::steady_clock::now() < deadline;) {
            {
                std::lock_guard lock(server_.ModelMutex());
                if (!model_.Frames().empty() && model_.Frames().back() == marker) {
                    return {model_.Frames().begin(), model_.Frames().end() - 1};
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return {};
    }

    CountingDialogs dialogs;

private:
    bool WriteFile(const char* name, const std::string& text)
    {
        QFile file(dir_.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) &&
               file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    }

    Sim::TransponderModel& model_;
    QTemporaryDir dir_;
    Sim::PtyServer server_;
};
