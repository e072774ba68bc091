// The general parameters dialog against the in-process simulated transponder
// on the fake clock, opened by a stand-in for the main window that records
// the one call the dialog makes back.
#pragma once

#include "SpanwaveQuickset.h"
#include "forms.h"
#include "frames.h"
#include "frmGenSettings.h"
#include "gensettingsowner.h"
#include "link_fixture.h"
#include "store.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakeMainWindow : public QWidget, public GenSettingsOwner {
public:
    std::function<bool()> onSetNavParams = [] { return false; };
    int setNavParamsCalls = 0;
    std::function<void()> onGetNavParams = [] {};
    int getNavParamsCalls = 0;
    std::string firmwareLabel;
    int32_t firmwareLabelColour = -1;
    bool SetNavParams() override
    {
        ++setNavParamsCalls;
        return onSetNavParams();
    }
    bool GetNavParams() override
    {
        ++getNavParamsCalls;
        onGetNavParams();
        return NavParams.NavScheme() != 0;
    }
    void CancelExchange() override {}
    void SetFirmwareLabelText(const std::string& text) override { firmwareLabel = text; }
    void SetFirmwareLabelBackColor(int32_t vbColor) override { firmwareLabelColour = vbColor; }
};

namespace GenFrames {
using Frames::Init;
using Frames::V10;
using Frames::V9;
// The general block's read groups 0 to 6 (group 6 at 0A or 0B).
inline const std::string G0 = Frames::Text("!R", "E0 00 00 01", 1);
inline const std::string G1 = Frames::Text("!R", "E0 00 01 01", 1);
inline const std::string G2 = Frames::Text("!R", "E0 00 02 06", 6);
inline const std::string G3 = Frames::Text("!R", "E0 00 08 01", 1);
inline const std::string G4 = Frames::Text("!R", "E0 00 09 01", 1);
inline const std::string G5 = Frames::Text("!R", "E0 00 0A 01", 1);
inline const std::string G6At0A = Frames::Text("!R", "E0 00 0A 02", 2);
inline const std::string G6At0B = Frames::Text("!R", "E0 00 0B 02", 2);
} // namespace GenFrames

// Spanwave quick-set mode: interrogation "MF9" and command address 47 05, so
// that the unit as simulated (500 ms, 8 ms) is preset A3.
inline void QuickSetNavigation(int16_t address = 47, int16_t channel = 5, int32_t type = 1)
{
    NavParams.NavScheme(4);
    NavParams.SpanwaveType(type);
    NavParams.OrvaneIntChan(10);
    NavParams.AddressCode(false, address);
    NavParams.ChannelCode(false, channel);
    ReadNavScheme = 4;
}

class GenSettingsTest : public LinkFixture {
protected:
    GenSettingsTest()
    {
        ShowIOFlag = false;
        AppSettings = clsSettings();
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(0.05f);
        MakeStoreObjects();
        SpanwaveQuickset::InitQuicksets();
        WireStore();
        EngineeringMode = false;
        ReadNavScheme = 0;
    }
    ~GenSettingsTest() override
    {
        dialog.reset();
        MakeStoreObjects();
        EngineeringMode = false;
        ReadNavScheme = 0;
        Forms::DefaultPointer();
    }

    // Opens the dialog as the Settings button does; `read` runs the first tick
    // of its read-on-open timer.
    frmGenSettings& Open(bool read = true)
    {
        dialog = std::make_unique<frmGenSettings>(&owner);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        if (read) {
            dialog->tmrReadParams_Timer();
        }
        readFrames = Sent();
        return *dialog;
    }

    template <typename T = QWidget>
    T* W(const std::string& name) const
    {
        T* w = dialog->findChild<T*>(QString::fromStdString(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // W white, O orange, R red.
    std::string Colour(const std::string& name) const
    {
        const uint32_t c = Forms::BackColor(W(name));
        return c == Forms::vbWhite ? "W" : c == Forms::vbOrange ? "O" : c == Forms::vbRed ? "R" : "?";
    }
    std::string Text(const std::string& name) const
    {
        QWidget* w = W(name);
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            return box->text().toStdString();
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            return combo->currentText().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text().toStdString();
        }
        return static_cast<QPushButton*>(w)->text().toStdString();
    }
    bool OwnEnabled(const std::string& name) const { return !W(name)->testAttribute(Qt::WA_ForceDisabled); }
    bool OwnVisible(const std::string& name) const { return !W(name)->isHidden(); }
    std::string Focus() const
    {
        QWidget* f = QApplication::focusWidget();
        return f != nullptr ? f->objectName().toStdString() : "";
    }

    // Clicks into a box and types over its text.
    void Type(const std::string& name, const char* text)
    {
        QWidget* field = W(name);
        QTest::mouseClick(field, Qt::LeftButton);
        if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit() != nullptr) {
            combo->lineEdit()->selectAll();
            QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
            QTest::keyClicks(combo->lineEdit(), QString::fromLatin1(text));
        } else {
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, QString::fromLatin1(text));
        }
    }
    // The same, then leaves the box with Tab.
    void TypeAndTab(const std::string& name, const char* text)
    {
        Type(name, text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    void Click(const std::string& name) { QTest::mouseClick(W(name), Qt::LeftButton); }
    // Opens a list with the mouse and picks `item` in it with the keys; a list
    // that does not open is left as it is.
    void Pick(const std::string& name, const char* item)
    {
        auto* combo = W<QComboBox>(name);
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
        QAbstractItemView* list = combo->view();
        if (!list->isVisible()) {
            return;
        }
        const int want = combo->findText(QString::fromLatin1(item));
        EXPECT_GE(want, 0) << item;
        for (int at = list->currentIndex().row(); at != want; at += at < want ? 1 : -1) {
            QTest::keyClick(list, at < want ? Qt::Key_Down : Qt::Key_Up);
        }
        QTest::keyClick(list, Qt::Key_Return);
    }

    // Every frame the transponder received, the last one on the wire included.
    std::vector<std::string> Sent()
    {
        clock.Advance(0.1);
        port.InBufferCount();
        std::vector<std::string> texts;
        for (const std::string& f : model.Frames()) {
            texts.push_back(Sim::FrameText(f));
        }
        model.ClearFrames();
        return texts;
    }

    // Runs `action` once, from the first event pass after `frames` frames arrived.
    void AtFrame(size_t frames, std::function<void()> action)
    {
        auto* timer = new QTimer(dialog.get());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, dialog.get(), [this, timer, frames, action] {
            if (model.Frames().size() >= frames) {
                timer->stop();
                action();
            }
        });
        timer->start();
    }

    // Runs `script` on the next modal dialog shown above this one, once it is up.
    void InModal(std::function<void(QDialog*)> script)
    {
        auto* timer = new QTimer(dialog.get());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, dialog.get(), [this, timer, script] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal != nullptr && modal != dialog.get() && modal->isVisible()) {
                timer->stop();
                timer->deleteLater();
                script(modal);
            }
        });
        timer->start();
    }

    // Every text the status panel paints from now on, in order, a text painted
    // again straight after itself counted once: what the user saw go by.
    std::vector<std::string>& StatusTexts()
    {
        struct Recorder : QObject {
            explicit Recorder(QLabel* panel) : QObject(panel) { panel->installEventFilter(this); }
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Paint) {
                    const std::string text = static_cast<QLabel*>(watched)->text().toStdString();
                    if (texts.empty() || texts.back() != text) {
                        texts.push_back(text);
                    }
                }
                return false;
            }
            std::vector<std::string> texts;
        };
        return (new Recorder(W<QLabel>("staSettings_1")))->texts;
    }

    FakeMainWindow owner;
    std::unique_ptr<frmGenSettings> dialog;
    std::vector<std::string> readFrames; // what the read on opening sent
};
