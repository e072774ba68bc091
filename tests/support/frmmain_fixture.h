// The main window in a temporary program folder with its own registry file,
// a simulated transponder on the fake clock, scripted boxes and stub dialogs
// that record how they were shown.
#pragma once

#include "appinfo.h"
#include "clsGenStatus.h"
#include "filehandler.h"
#include "forms.h"
#include "frmMain.h"
#include "globals.h"
#include "iolog.h"
#include "registry.h"
#include "scripted_dialogs.h"
#include "sim_serial_comm.h"
#include "store.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A dialog that returns at once; `onShow` runs in place of its modal loop.
class StubDialog : public QDialog {
public:
    using QDialog::QDialog;
    std::function<void()> onShow;
    int exec() override
    {
        if (onShow) {
            onShow();
        }
        return QDialog::Accepted;
    }
};

struct ShownDialog {
    std::string form;
    bool ownerEnabled;
    bool ownerVisible;
    int cursor; // the override cursor's shape, -1 for none
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : scoped(clock)
    {
        App::SetPath(Folder());
        Platform::SetRegistryFile(Folder() + "/registry");
        EngineeringMode = false;
        EngineeringCode.clear();
        ShowIOFlag = false;
        for (const char* form : DialogNames) {
            Stub(form, [] {});
        }
    }
    ~MainWindowTest() override
    {
        win.reset();
        // The stubs refer to this fixture: no later test may reach them.
        for (const char* form : DialogNames) {
            Forms::RegisterDialog(form, [](QWidget*) { return std::unique_ptr<QDialog>(); });
        }
        Platform::SetRegistryFile("");
        App::SetPath("");
    }

    std::string Folder() const { return dir.path().toStdString(); }
    std::string SettingsPath() const { return Folder() + "/" + FileHandler::SettingsFile; }
    // The settings file as it stands on disk.
    std::string SettingsText() const
    {
        QFile file(QString::fromStdString(SettingsPath()));
        file.open(QIODevice::ReadOnly);
        return file.readAll().toStdString();
    }

    // A settings file as the program writes it.
    void WriteSettings(int32_t port = 1)
    {
        AppSettings = clsSettings();
        AppSettings.AppPath(Folder());
        AppSettings.TpdrComPort(port);
        AppSettings.sTpdrComPortBaud("19200");
        AppSettings.sTpdrComPortBits("N,8,1");
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(0.05f);
        FileHandler::WriteIniFile();
        AppSettings = clsSettings();
    }

    void SetRegistryValue(const std::string& value)
    {
        Platform::Registry().CreateKey(Platform::RegRoot::CurrentUser, Key);
        Platform::Registry().SetValue(Platform::RegRoot::CurrentUser, Key, "Engineering",
                                      {Platform::RegType::Text, value + std::string(1, '\0')});
    }
    // The stored value as text; "<absent>" when there is none.
    std::string RegistryValue() const
    {
        const auto v = Platform::Registry().QueryValue(Platform::RegRoot::CurrentUser, Key, "Engineering");
        if (!v) {
            return "<absent>";
        }
        return v->data.substr(0, v->data.find('\0'));
    }

    frmMain& Make()
    {
        auto tpdr = std::make_unique<Sim::SimSerialComm>(model, clock);
        port = tpdr.get();
        win = std::make_unique<frmMain>(std::move(tpdr), std::make_unique<Sim::SimSerialComm>(antModel, clock));
        return *win;
    }
    // A settings file, the window loaded.
    frmMain& Load(int32_t comPort = 1)
    {
        WriteSettings(comPort);
        Make().Form_Load();
        return *win;
    }

    // The window shown and active, as the user sees it.
    void Activate()
    {
        win->show();
        QApplication::setActiveWindow(win.get());
    }

    // The dialog `form` runs `action` with its owner when shown; every showing is recorded.
    void Stub(const std::string& form, std::function<void()> action)
    {
        Forms::RegisterDialog(form, [this, form, action](QWidget* owner) {
            auto dialog = std::make_unique<StubDialog>(owner);
            dialog->onShow = [this, form, action, owner] {
                const QCursor* c = QApplication::overrideCursor();
                shown.push_back({form, owner->isEnabled(), !owner->isHidden(), c ? int(c->shape()) : -1});
                action();
            };
            return dialog;
        });
    }

    QObject* Control(const std::string& name) const
    {
        const QString n = QString::fromStdString(name);
        if (auto* action = win->findChild<QAction*>(n)) {
            return action;
        }
        return win->findChild<QWidget*>(n);
    }
    // A control's own flags, not what its container imposes on it.
    bool OwnEnabled(const std::string& name) const
    {
        QObject* c = Control(name);
        EXPECT_NE(c, nullptr) << name;
        if (auto* action = qobject_cast<QAction*>(c)) {
            return action->isEnabled();
        }
        return c != nullptr && !static_cast<QWidget*>(c)->testAttribute(Qt::WA_ForceDisabled);
    }
    bool OwnVisible(const std::string& name) const
    {
        QObject* c = Control(name);
        EXPECT_NE(c, nullptr) << name;
        if (auto* action = qobject_cast<QAction*>(c)) {
            return action->isVisible();
        }
        return c != nullptr && !static_cast<QWidget*>(c)->isHidden();
    }
    void Trigger(const std::string& name) { qobject_cast<QAction*>(Control(name))->trigger(); }

    static constexpr const char* DialogNames[] = {"frmComPorts",    "frmGenSettings", "frmRelease",      "frmDepth",
                                            "frmDownloadPassword", "frmDownload", "frmPingTest",   "frmChanTest",
                                            "frmTransceiver", "frmCommands",    "frmVTLTankTest", "frmCalSelectors",
                                            "frmAbout",       "frmBattLife"};
    static constexpr char Key[] = "Software\\Orvane\\Tidelet Terminal";
    QTemporaryDir dir;
    Platform::FakeClock clock{36000.0};
    Platform::ScopedClock scoped;
    Sim::TransponderModel model;
    Sim::TransponderModel antModel;
    ScriptedDialogs boxes;
    Sim::SimSerialComm* port = nullptr;
    std::vector<ShownDialog> shown;
    std::unique_ptr<frmMain> win;
};
