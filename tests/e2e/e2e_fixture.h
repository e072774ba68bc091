// The real main window in a temporary program folder, its transponder port a
// real pseudo-terminal served by the simulated transponder on its own thread.
#pragma once

#include "appinfo.h"
#include "filehandler.h"
#include "frames.h"
#include "frmMain.h"
#include "globals.h"
#include "iolog.h"
#include "pty_server.h"
#include "registry.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class PtyMainWindow {
public:
    using Model = Sim::TransponderModel;

    // Serves the transponder and writes the port map and settings file; the
    // window is made by Load().
    void Start()
    {
        ASSERT_TRUE(dir.isValid());
        const std::string slave = server.Open();
        ASSERT_FALSE(slave.empty());
        server.Start();
        WriteFile("SerialPorts.ini", "COM1=" + slave + "\r\n");
        WriteFile(FileHandler::SettingsFile, "; Spanwave Tidelet - Dynamic Parameters\r\n\r\n[COMMS]\r\n"
                                             "Transponder=COM1\r\nVOV=\r\n\r\n[TRANSPONDER]\r\n"
                                             "Setting=19200,N,8,1\r\nTimeout=1\r\nDelayBetweenCmds=0\r\n");
        App::SetPath(Folder());
        Platform::SetRegistryFile(Folder() + "/registry");
        EngineeringMode = false;
        EngineeringCode.clear();
        ShowIOFlag = false;
    }
    void Finish()
    {
        win.reset();
        server.Stop();
        Platform::SetRegistryFile("");
        App::SetPath("");
    }

    std::string Folder() const { return dir.path().toStdString(); }
    void WriteFile(const std::string& name, const std::string& text)
    {
        QFile file(dir.filePath(QString::fromStdString(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    void Load()
    {
        win = std::make_unique<frmMain>();
        win->Form_Load();
        win->show();
        QApplication::setActiveWindow(win.get());
    }

    void WithModel(const std::function<void(Model&)>& f)
    {
        std::lock_guard lock(server.ModelMutex());
        f(model);
    }

    // Every frame received since the last call. The window sends its last
    // command without waiting for a reply, so a marker sent after it through
    // the same port shows when the transponder has seen everything before it.
    std::vector<std::string> Take()
    {
        const std::string marker("!Z\0\0\0\0", 6);
        win->comTpdr->Output(marker);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            {
                std::lock_guard lock(server.ModelMutex());
                const auto& got = model.Frames();
                if (!got.empty() && got.back() == marker) {
                    std::vector<std::string> texts = FrameTexts(got.begin(), got.end() - 1);
                    model.ClearFrames();
                    return texts;
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                std::lock_guard lock(server.ModelMutex());
                ADD_FAILURE() << "the marker frame never reached the transponder; frames " << model.Frames().size()
                              << ", pending " << Sim::FrameText(model.Pending());
                return {};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    QTemporaryDir dir;
    Model model;
    Sim::PtyServer server{model};
    ScriptedDialogs boxes;
    std::unique_ptr<frmMain> win;
};
