// The general parameters dialog driven as a user: opening and its read-on-open
// timer, the lists per firmware, the field checks through real focus changes,
// the twin combos, the quick-set panel, Cancel of the edits and the busy rules.
#include "gensettings_fixture.h"

#include "frmDialogsGenParams.h"
#include "status_bar.h"
#include "vbconv.h"

#include <QClipboard>
#include <QFont>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollBar>
#include <QtTest/qtestspontaneevent.h>

namespace {

using namespace GenFrames;

TEST_F(GenSettingsTest, OpensOnTheGeneralPanelAndReadsOnceOnTheFirstTick)
{
    Open(false);
    auto* timer = dialog->findChild<QTimer*>(QStringLiteral("tmrReadParams"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "General Settings");
    EXPECT_TRUE(OwnVisible("picGeneral_0"));
    EXPECT_FALSE(OwnVisible("picGeneral_1"));
    EXPECT_FALSE(OwnVisible("cmdQuickSet"));
    EXPECT_FALSE(OwnEnabled("cmdGenRead_0") && OwnEnabled("cboGain_0")); // nothing read yet
    ExpectOneStatusBar(dialog.get(), "staSettings", "staSettings_1");

    const std::vector<std::string>& shown = StatusTexts();
    dialog->tmrReadParams_Timer();
    EXPECT_FALSE(timer->isActive());
    // F family: gain, the six-byte group and the power level; no address,
    // relay, channel code or variable TAT.
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, G0, G2, G5, Init}));
    // Each group's frame, never its reply; the version read shows its reply.
    EXPECT_EQ(shown, (std::vector<std::string>{"!V|A0|00|00|09|00|00|00|00|00|00|00|00|00|", "Vers2.05F",
                                               "!R E0 00 00 01 00 ", "!R E0 00 02 06 00 00 00 00 00 00 ",
                                               "!R E0 00 0A 01 00 ", "Transponder initialised."}));
    EXPECT_EQ(owner.firmwareLabel, "V2.05F");
    EXPECT_EQ(owner.firmwareLabelColour, int32_t(Forms::vbWhite));
    EXPECT_EQ(Text("staSettings_1"), "Transponder initialised.");
    EXPECT_EQ(Text("cboGain_0"), "High");
    EXPECT_EQ(Text("cboGain_1"), "High");
    EXPECT_EQ(Text("cboGenTAT"), "500.0");
    EXPECT_EQ(Text("lblQuickData_2"), "500.0");
    EXPECT_EQ(Text("txtPulseWidth"), "8.0");
    EXPECT_EQ(Text("cboBlock"), "1.0");
    EXPECT_EQ(Text("cboPowerLevel_0"), "High");
    EXPECT_EQ(Text("lblIdentity_1"), "Omni");
    EXPECT_TRUE(OwnVisible("lblIdentity_1"));
    EXPECT_FALSE(OwnVisible("cboIdentity"));
    EXPECT_FALSE(OwnVisible("cboVariableTAT"));
    EXPECT_FALSE(OwnEnabled("txtRelayOnTime"));
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0")); // nothing changed
    EXPECT_TRUE(OwnEnabled("cmdGenCancel_0"));
    EXPECT_TRUE(OwnVisible("cmdExit_0"));
    EXPECT_FALSE(OwnVisible("cmdProgressCancel_0"));
    for (const char* name : {"cboGain_0", "cboGenTAT", "txtPulseWidth", "cboBlock", "cboPowerLevel_0"}) {
        EXPECT_EQ(Colour(name), "W") << name;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

struct Lists {
    const char* version;
    int gains;
    bool variableTAT;
    std::vector<std::string> vtat; // first and last
    std::vector<std::string> frames;
};

TEST_F(GenSettingsTest, ListsAndReadGroupsFollowTheFirmware)
{
    const Lists rows[] = {
        {"Vers2.05S", 4, false, {}, {V9, G0, G1, G2, Init}},
        {"Vers4.50S", 4, true, {"10", "30"}, {V9, G0, G1, G2, G3, G4, G6At0A, Init}},
        {"Vers9.05F", 2, true, {"10", "125"}, {V9, G0, G2, G5, G6At0B, Init}},
        {"TestMode ", 2, true, {"10", "30"}, {V9, G0, G1, G2, G3, G4, G5, G6At0A, Init}},
    };
    for (const Lists& row : rows) {
        SCOPED_TRACE(row.version);
        model.versionText = row.version;
        Open();
        dialog->tmrReadParams_Timer(); // a tick after the first reads nothing more than a Get
        EXPECT_EQ(Sent(), row.frames);
        EXPECT_EQ(W<QComboBox>("cboGain_0")->count(), row.gains);
        EXPECT_EQ(W<QComboBox>("cboGain_1")->count(), row.gains);
        auto* tat = W<QComboBox>("cboGenTAT");
        EXPECT_EQ(tat->count(), 14);
        EXPECT_EQ(tat->itemText(0).toStdString() + " " + tat->itemText(13).toStdString(), "62.5 875.0");
        auto* block = W<QComboBox>("cboBlock");
        EXPECT_EQ(block->count(), 10);
        EXPECT_EQ(block->itemText(0).toStdString() + " " + block->itemText(9).toStdString(), "0.5 5.0");
        EXPECT_EQ(OwnVisible("cboVariableTAT"), row.variableTAT);
        if (row.variableTAT) {
            auto* v = W<QComboBox>("cboVariableTAT");
            EXPECT_EQ(v->itemText(0).toStdString(), row.vtat[0]);
            EXPECT_EQ(v->itemText(v->count() - 1).toStdString(), row.vtat[1]);
        }
        dialog.reset();
        MakeStoreObjects();
    }
}

struct Edit {
    const char* field;
    const char* typed;
    bool kept;          // the focus stays in the field
    const char* colour; // of the field afterwards
    std::function<bool()> stored;
};

// A unit with every parameter but the power level (V4.50S): address 47 with
// channel code 1, pulse width 8 ms, blocking 1 s, relay-on 57 units (29.9 s,
// which the check brings to its 0.5 s step, 30 s), variable TAT 20 ms, gain
// "Low" of the four-value coding.
TEST_F(GenSettingsTest, FieldsAreCheckedWhenLeft)
{
    const Edit rows[] = {
        {"txtPulseWidth", "7.5", false, "O", [] { return EditGenParam.PulseWidth() == 7.5f; }},
        {"txtPulseWidth", "8", false, "W", [] { return EditGenParam.PulseWidth() == 8.0f; }},
        {"txtPulseWidth", "", true, "W", [] { return EditGenParam.PulseWidth() == 8.0f; }},
        {"txtPulseWidth", "10.5", true, "W",
         [] { return EditGenParam.PulseWidth() == 10.5f && !EditGenParam.OKToWrite(5); }},
        // Too large for any number: refused like any other bad entry.
        {"txtPulseWidth", "1e400", true, "W", [] { return EditGenParam.PulseWidth() == 8.0f; }},
        {"txtPulseWidth", "1e300", true, "W", [] { return EditGenParam.PulseWidth() == 8.0f; }},
        {"txtRelayOnTime", "40", false, "O", [] { return EditGenParam.RelayOnTime() == 40.0f; }},
        {"txtRelayOnTime", "0.2", true, "W", [] { return EditGenParam.RelayOnTime() == 0.0f; }},
        {"cboBlock", "2.2", false, "O", [] { return EditGenParam.Block() == 2.0f; }},
        {"cboBlock", "0.3", true, "W", [] { return EditGenParam.Block() == 0.3f; }},
        {"txtAddress", "105", false, "O",
         [] { return EditGenParam.Address() == 1 && EditGenParam.ChannelCode() == 5; }},
        {"txtAddress", "6314", false, "O",
         [] { return EditGenParam.Address() == 63 && EditGenParam.ChannelCode() == 14; }},
        // Same address, new channel code: the channel code's colour shows.
        {"txtAddress", "4705", false, "O",
         [] { return EditGenParam.Address() == 47 && EditGenParam.ChannelCode() == 5; }},
        {"txtAddress", "12", true, "W", [] { return EditGenParam.Address() == 47; }},
        {"txtAddress", "12345", true, "W", [] { return EditGenParam.Address() == 47; }},
        {"txtAddress", "6414", true, "W", [] { return EditGenParam.Address() == 47; }},
        {"txtAddress", "115", true, "W", [] { return EditGenParam.ChannelCode() == 1; }},
    };
    model.versionText = "Vers4.50S";
    model.Poke(false, 0xE0, 0x00, 0x00, 0x08);
    model.Poke(false, 0xE0, 0x00, 0x0A, 0x01);
    model.Poke(false, 0xE0, 0x00, 0x0B, 0xF1);
    for (const Edit& row : rows) {
        SCOPED_TRACE(std::string(row.field) + " <- \"" + row.typed + "\"");
        Open();
        TypeAndTab(row.field, row.typed);
        EXPECT_EQ(Focus() == row.field, row.kept) << Focus();
        EXPECT_EQ(Colour(row.field), row.colour);
        EXPECT_TRUE(row.stored());
        EXPECT_EQ(OwnEnabled("cmdGenWrite_0"), !row.kept && std::string(row.colour) == "O");
        dialog.reset();
        MakeStoreObjects();
    }
}

TEST_F(GenSettingsTest, AnInvalidEntryIsAbandonedByCancelOrExit)
{
    Open();
    TypeAndTab("txtPulseWidth", "");
    ASSERT_EQ(Focus(), "txtPulseWidth");
    Click("cmdGenCancel_0");
    EXPECT_EQ(Focus(), "cmdGenCancel_0");
    EXPECT_EQ(Text("txtPulseWidth"), "8.0");
    EXPECT_EQ(Colour("txtPulseWidth"), "W");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
    TypeAndTab("txtPulseWidth", "99");
    ASSERT_EQ(Focus(), "txtPulseWidth");
    Click("cmdExit_0");
    EXPECT_TRUE(dialog->Unloaded());
}

// Typed or pasted, only digits go in; what is not all digits is refused with a
// beep and the box keeps its text. The keys that edit, cut and copy work.
TEST_F(GenSettingsTest, TheAddressBoxTakesDigitsOnlyAndSelectsAllOnEntry)
{
    model.versionText = "Vers4.50S";
    Open();
    auto* box = W<QLineEdit>("txtAddress");
    EXPECT_EQ(box->text().toStdString(), "4701");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->selectedText().toStdString(), "4701");

    QClipboard* clipboard = QGuiApplication::clipboard();
    // Keys as X11 sends them: Delete carries DEL, Ctrl with a letter its control character.
    const auto key = [box](Qt::Key k, const char* text, Qt::KeyboardModifiers modifiers = {}) {
        QTest::sendKeyEvent(QTest::Click, box, k, QString::fromLatin1(text), modifiers);
    };
    const auto paste = [clipboard, key](const char* text) {
        clipboard->setText(QString::fromLatin1(text));
        key(Qt::Key_V, "\x16", Qt::ControlModifier);
    };
    const auto drop = [box](const char* text) {
        QMimeData data;
        data.setText(QString::fromLatin1(text));
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop}) {
            QSpontaneKeyEvent::setSpontaneous(event);
            qApp->notify(box, event);
        }
    };
    const auto menuPaste = [box, clipboard](const char* text) {
        clipboard->setText(QString::fromLatin1(text));
        QContextMenuEvent event(QContextMenuEvent::Mouse, box->rect().center(), box->mapToGlobal(box->rect().center()));
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(box, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("&Paste"))) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            }
        }
    };
    const struct {
        const char* name;
        std::function<void()> act;
        const char* text;
        int beeps;
    } rows[] = {
        {"typed", [box] { QTest::keyClicks(box, QStringLiteral("1a.-5")); }, "15", 3},
        {"Delete", [&] { key(Qt::Key_Home, ""), key(Qt::Key_Delete, "\x7f"); }, "5", 0},
        {"Ctrl+V of a text", [&] { paste("ab.9"); }, "5", 1},
        {"Shift+Insert of a text", [&] { key(Qt::Key_Insert, "", Qt::ShiftModifier); }, "5", 1},
        {"Ctrl+V of digits", [&] { paste("63"); }, "635", 0},
        {"Backspace", [&] { key(Qt::Key_Backspace, "\b"); }, "65", 0},
        {"copy, then Ctrl+V at the end",
         [&] {
             clipboard->clear();
             key(Qt::Key_A, "\x01", Qt::ControlModifier), key(Qt::Key_C, "\x03", Qt::ControlModifier);
             key(Qt::Key_End, ""), key(Qt::Key_V, "\x16", Qt::ControlModifier);
         },
         "6565", 0},
        {"cut", [&] { key(Qt::Key_A, "\x01", Qt::ControlModifier), key(Qt::Key_X, "\x18", Qt::ControlModifier); }, "",
         0},
        {"Ctrl+V of what was cut", [&] { key(Qt::Key_V, "\x16", Qt::ControlModifier); }, "6565", 0},
        {"dropped text", [&] { drop("7a"); }, "6565", 1},
        {"menu Paste of a text", [&] { menuPaste("x1"); }, "6565", 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int beeps = Platform::BeepCount();
        r.act();
        EXPECT_EQ(box->text().toStdString(), r.text);
        EXPECT_EQ(Platform::BeepCount() - beeps, r.beeps);
    }
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(Focus(), "txtAddress");
}

TEST_F(GenSettingsTest, TwinCombosMoveTogetherWithoutRunningTheirHandlers)
{
    QuickSetNavigation();
    Open();
    auto* gain1 = W<QComboBox>("cboGain_1");
    gain1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gain1, Qt::Key_Up); // High -> Low
    EXPECT_EQ(Text("cboGain_1"), "Low");
    EXPECT_EQ(Text("cboGain_0"), "Low");
    EXPECT_EQ(EditGenParam.Gain(), 0);
    EXPECT_EQ(Colour("cboGain_0"), "O");
    EXPECT_EQ(Colour("cboGain_1"), "O");
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_1"));
    auto* power0 = W<QComboBox>("cboPowerLevel_0");
    EXPECT_TRUE(OwnEnabled("cboPowerLevel_0"));
    Click("cmdAdvanced");
    power0->setFocus(Qt::TabFocusReason);
    QTest::keyClick(power0, Qt::Key_Up);
    EXPECT_EQ(Text("cboPowerLevel_1"), "Low");
    EXPECT_EQ(EditGenParam.PowerLevel(), 0);
}

TEST_F(GenSettingsTest, ABlankGainStoresNothingAndKeepsSetOff)
{
    model.Poke(false, 0xE0, 0x00, 0x00, 0x12); // no gain of the two-value coding
    Open();
    EXPECT_EQ(W<QComboBox>("cboGain_0")->currentIndex(), -1);
    EXPECT_EQ(W<QComboBox>("cboGain_0")->count(), 2);
    EXPECT_EQ(EditGenParam.Gain(), -1);
    EXPECT_FALSE(EditGenParam.OKToWrite(1));
    TypeAndTab("txtPulseWidth", "7.5");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
    auto* gain = W<QComboBox>("cboGain_0");
    gain->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gain, Qt::Key_Down);
    EXPECT_EQ(EditGenParam.Gain(), 0);
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_0"));
}

TEST_F(GenSettingsTest, QuickSetPanelPresetsAndCancel)
{
    QuickSetNavigation();
    Open();
    EXPECT_TRUE(OwnVisible("picGeneral_1"));
    EXPECT_FALSE(OwnVisible("picGeneral_0"));
    EXPECT_EQ(W<QComboBox>("cboOrvaneIntChan")->count(), 16);
    EXPECT_EQ(Text("cboOrvaneIntChan"), "MF9");
    const auto fonts = [this] {
        std::string s;
        for (int i = 1; i <= 9; ++i) {
            s += std::to_string(W("cmdQuick_" + std::to_string(i))->font().pointSize()) + " ";
        }
        return s;
    };
    EXPECT_EQ(fonts(), "20 20 28 20 20 20 20 20 20 "); // A3 as read
    EXPECT_EQ(Text("cmdQuick_5"), "B2");
    EXPECT_EQ(W("cmdQuick_5")->toolTip().toStdString(), "Click to select B2");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));

    Click("cmdQuick_5");
    EXPECT_EQ(fonts(), "20 20 20 20 28 20 20 20 20 ");
    EXPECT_EQ(Text("cboOrvaneIntChan"), "MF10");
    EXPECT_EQ(Text("cboGenTAT"), "375.0");
    EXPECT_EQ(Text("lblQuickData_2"), "375.0");
    EXPECT_EQ(Text("txtPulseWidth"), "8.0");
    EXPECT_EQ(Text("cboBlock"), "0.5");
    EXPECT_EQ(Text("cboGain_1") + "/" + Text("cboPowerLevel_1"), "High/Low");
    EXPECT_EQ(Text("txtAddress") + "/" + Text("lblQuickData_1"), "4603/4603");
    EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress") + Colour("cboGenTAT"), "OOO");
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_1"));

    Click("cmdGenCancel_1");
    EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Text("txtAddress") + " " + Text("cboGenTAT"), "MF9 4705 500.0");
    EXPECT_EQ(fonts(), "20 20 28 20 20 20 20 20 20 ");
    EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress") + Colour("cboGenTAT"), "WWW");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));
}

TEST_F(GenSettingsTest, CancelRestoresTheCommandAddressAsShown)
{
    QuickSetNavigation(0, 5, 2); // "0005": address code 0, channel 5
    Open();
    ASSERT_EQ(Text("txtAddress"), "0005");
    TypeAndTab("txtAddress", "4603");
    Click("cmdGenCancel_1");
    EXPECT_EQ(NavParams.CmdAddressString(), "0005");
    EXPECT_EQ(Text("txtAddress"), "0005");
    EXPECT_EQ(Colour("txtAddress"), "W");
}

TEST_F(GenSettingsTest, AnInvalidCommandAddressTurnsRedAndLetsTheFocusGo)
{
    QuickSetNavigation();
    Open();
    TypeAndTab("txtAddress", "99");
    EXPECT_NE(Focus(), "txtAddress");
    EXPECT_EQ(Colour("txtAddress") + Colour("lblQuickData_1"), "RR");
    EXPECT_EQ(Text("lblQuickData_1"), "99");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));
}

// Opened again after a read, the dialog starts no exchange of its own, nor a
// sub-dialog's, before the read that opening starts: the two would share the link.
TEST_F(GenSettingsTest, NothingStartsBeforeTheReadOnOpening)
{
    model.versionText = "TestMode ";
    Open();
    Click("cmdExit_0");
    Open(false);
    EXPECT_FALSE(OwnEnabled("cmdMultiTATs") || OwnEnabled("cmdGenRead_0") || OwnEnabled("cboGain_0"));
    dialog->tmrReadParams_Timer();
    Sent();
    EXPECT_TRUE(OwnEnabled("cmdMultiTATs") && OwnEnabled("cmdGenRead_0") && OwnEnabled("cboGain_0"));
}

TEST_F(GenSettingsTest, ClosingWhileBusyIsRefused)
{
    Open(false);
    bool visibleAfterEsc = false;
    bool busyPattern = false;
    AtFrame(2, [&] {
        busyPattern = !OwnVisible("cmdExit_0") && OwnVisible("cmdProgressCancel_0") && !OwnEnabled("cmdGenRead_0") &&
                      !OwnEnabled("cboGain_0") && QApplication::overrideCursor() != nullptr &&
                      QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        dialog->close();
        visibleAfterEsc = dialog->isVisible();
    });
    dialog->tmrReadParams_Timer();
    EXPECT_TRUE(busyPattern);
    EXPECT_TRUE(visibleAfterEsc);
    EXPECT_FALSE(dialog->Unloaded());
    EXPECT_EQ(W<QProgressBar>("prgGenSettings")->value(), 0);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->Unloaded());
}

TEST_F(GenSettingsTest, AValueNoEncoderCanSendIsReportedAndTheDialogGoesIdle)
{
    Open();
    // A turn-around time no word can carry, marked writable behind the check's back.
    EditGenParam.TAT(5000.0f);
    EditGenParam.OKToWrite(4, true);
    boxes.Answer(MsgBoxResult::OK);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdGenWrite_0"))->setEnabled(true);
    Click("cmdGenWrite_0");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Error from cmdGenWriteErrorHandler (frmGenSettings) trapped in CatchAll Errors.");
    EXPECT_EQ(Sent(), std::vector<std::string>{}); // no frame, no initialise
    EXPECT_TRUE(OwnVisible("cmdExit_0"));
    EXPECT_FALSE(OwnVisible("cmdProgressCancel_0"));
    EXPECT_TRUE(OwnEnabled("cmdGenRead_0"));
    EXPECT_FALSE(dialog->Busy());
}

TEST_F(GenSettingsTest, EngineeringModeShowsTheIdentityCombo)
{
    EngineeringMode = true;
    Open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "General Settings : Engineering Mode");
    EXPECT_TRUE(OwnVisible("cboIdentity"));
    EXPECT_FALSE(OwnVisible("lblIdentity_1"));
    EXPECT_EQ(Text("cboIdentity"), "Omni");
}

// The address-code list shows only on a unit with an address and no channel
// code; elsewhere the user must not Tab into an unlabelled box that edits the
// address and refuses to let go while it is blank.
TEST_F(GenSettingsTest, TheAddressCodeListShowsOnlyWhereItIsTheAddressField)
{
    struct Row {
        const char* version;
        bool quickSet;
        bool list, box;
    };
    for (const Row& row : {Row{"Vers2.05S", false, true, false}, Row{"Vers4.50S", false, false, true},
                           Row{"Vers9.00F", false, false, false}, Row{"Vers4.50S", true, false, true},
                           Row{"Vers9.00F", true, false, true}}) {
        SCOPED_TRACE(std::string(row.version) + (row.quickSet ? " quick-set" : ""));
        model.versionText = row.version;
        if (row.quickSet) {
            QuickSetNavigation();
        }
        Open();
        if (row.quickSet) {
            Click("cmdAdvanced");
            // The general panel's lists, filled while it was hidden, scroll to the items they cannot show.
            auto* tat = W<QComboBox>("cboGenTAT");
            QTest::mouseClick(tat, Qt::LeftButton, {}, QPoint(tat->width() - 4, tat->height() / 2));
            ASSERT_TRUE(tat->view()->isVisible());
            EXPECT_TRUE(tat->view()->verticalScrollBar()->isVisible());
            QTest::keyClick(tat->view(), Qt::Key_Escape);
            TypeAndTab("txtAddress", "4603");
            EXPECT_NE(Focus(), "cboAddress");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_NE(Focus(), "cboAddress");
        }
        EXPECT_EQ(OwnVisible("cboAddress"), row.list);
        EXPECT_EQ(OwnVisible("txtAddress"), row.box);
        EXPECT_EQ(OwnVisible("lblAddress"), row.list || row.box);
        dialog.reset();
        MakeStoreObjects();
        NavParams.NavScheme(0);
        ReadNavScheme = 0;
    }
}

// Highlighting a preset enlarges its caption, not its button: Set stays where
// the user is about to click it.
TEST_F(GenSettingsTest, PickingAPresetMovesNoButton)
{
    QuickSetNavigation(33, 5); // no preset highlighted at opening
    Open();
    const auto settle = [] {
        for (int pass = 0; pass < 3; ++pass) {
            QApplication::processEvents();
        }
    };
    settle();
    const auto where = [this](const char* name) { return W(name)->mapTo(dialog.get(), QPoint(0, 0)); };
    const QPoint set = where("cmdGenWrite_1");
    const QSize button = W("cmdQuick_5")->size();
    Click("cmdQuick_5");
    settle();
    EXPECT_EQ(W("cmdQuick_5")->font().pointSize(), 28);
    EXPECT_EQ(W("cmdQuick_5")->size(), button);
    EXPECT_EQ(where("cmdGenWrite_1"), set);
}

// The quick-set panel's notes wrap; the dialog opens tall enough to show them
// whole, the interference warning at their end included.
TEST_F(GenSettingsTest, TheQuickSetNotesAreShownWhole)
{
    QuickSetNavigation();
    Open();
    for (int pass = 0; pass < 3; ++pass) {
        QApplication::processEvents(); // the layout settles after the read
    }
    for (const char* name : {"Label1_0", "Label1_3", "lblSCP"}) {
        auto* label = W<QLabel>(name);
        const int needed = std::max(label->sizeHint().height(), label->heightForWidth(label->width()));
        EXPECT_GE(label->height(), needed) << name;
    }
}

} // namespace

namespace {

// The sub-dialogs open modally, owned by this dialog, only where their gate
// lets them; the focus then goes to the Exit button of the panel shown.
TEST_F(GenSettingsTest, SubDialogsOpenBehindTheirGates)
{
    std::vector<std::string> opened;
    for (const char* form : {"frmMultiTAT", "frmTimedRelease"}) {
        Forms::RegisterDialog(form, [&opened, form, this](QWidget* owner) {
            // Its read finds another unit: the values behind it show as not read at once.
            model.versionText = "Vers2.05F";
            FirmwareWindow reader;
            FirmwareReader::GetFirmware(FirmwarePolicies::frmMultiTAT, reader);
            opened.push_back(std::string(form) + (owner == dialog.get() ? " owned [" : " not owned [") +
                             VB::Trim(Text("txtPulseWidth")) + "]");
            return std::unique_ptr<QDialog>();
        });
    }
    struct Row {
        const char* version;
        bool multi;
        bool timed;
    };
    for (const Row& row : {Row{"Vers9.00P", false, true}, Row{"Vers1.20D", true, false}, Row{"Vers2.02S", false, false}}) {
        SCOPED_TRACE(row.version);
        model.versionText = row.version;
        opened.clear();
        Open();
        EXPECT_EQ(OwnEnabled("cmdMultiTATs"), row.multi);
        EXPECT_EQ(OwnEnabled("cmdTimedRelease"), row.timed);
        Click("cmdMultiTATs");
        Click("cmdTimedRelease");
        std::vector<std::string> want;
        if (row.multi) {
            want.push_back("frmMultiTAT owned []");
        }
        if (row.timed) {
            want.push_back("frmTimedRelease owned []");
        }
        EXPECT_EQ(opened, want);
        if (row.multi || row.timed) {
            EXPECT_EQ(Focus(), "cmdExit_0");
        }
        dialog.reset();
        MakeStoreObjects();
    }
    Forms::RegisterDialog("frmTimedRelease", [](QWidget*) { return std::unique_ptr<QDialog>(); });
    RegisterGenParamsDialogs();
}

} // namespace

namespace {

// One changed parameter: its frame, the pause after it, then half a second and
// the pause on each side of the initialise command before the dialog is idle.
TEST_F(GenSettingsTest, SetWritesTheChangeThenInitialisesWithItsWaits)
{
    Open();
    TypeAndTab("txtPulseWidth", "7.5");
    const double before = clock.Elapsed();
    Click("cmdGenWrite_0");
    const double took = clock.Elapsed() - before;
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|05|01|BC", Init}));
    EXPECT_GE(took, 0.05 + 0.5 + 0.05 + 0.5 + 0.05);
    EXPECT_LT(took, 1.3);
    EXPECT_EQ(ReadGenParam.PulseWidth(), 7.5f);
    EXPECT_EQ(Colour("txtPulseWidth"), "W");
    EXPECT_EQ(Text("staSettings_1"), "");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
    EXPECT_EQ(Focus(), "cmdGenRead_0");
    EXPECT_EQ(model.Peek(false, 0xE0, 0x00, 0x05), 0xBC);
}

} // namespace

namespace {

TEST_F(GenSettingsTest, AnUnknownVersionIsReportedAndNothingIsRead)
{
    model.versionText = "Vers7.77X";
    boxes.Answer(MsgBoxResult::OK);
    Open();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0], (ShownBox{"Invalid Firmware Version returned.", 48, "Firmware Version"}));
    EXPECT_EQ(readFrames, (std::vector<std::string>{V9, Init}));
    EXPECT_EQ(owner.firmwareLabel, "Unrecognised");
    EXPECT_EQ(owner.firmwareLabelColour, int32_t(Forms::vbWhite));
    EXPECT_FALSE(OwnEnabled("cboGain_0"));
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
    EXPECT_TRUE(OwnEnabled("cmdGenRead_0"));
}

} // namespace

namespace {

// Alt+S from a field being edited (Set offered by an earlier change): the field
// is checked first; a refused entry keeps the focus and writes nothing.
TEST_F(GenSettingsTest, SetByItsAccessKeyChecksTheFieldFirst)
{
    Open();
    TypeAndTab("txtPulseWidth", "7.5");
    auto* set = W<QPushButton>("cmdGenWrite_0");
    ASSERT_TRUE(OwnEnabled("cmdGenWrite_0"));
    const struct {
        const char* typed;
        std::vector<std::string> frames;
    } rows[] = {
        {"99", {}},
        {"7.0", {"!W|E0|00|05|01|AF", Init}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        auto* box = W<QLineEdit>("txtPulseWidth");
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromLatin1(r.typed));
        QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([set] { return !set->isDown(); }));
        EXPECT_EQ(Sent(), r.frames);
        EXPECT_EQ(Focus() == "txtPulseWidth", r.frames.empty());
    }
}

} // namespace

namespace {

// Get and Set clicked while a write is under way (a double click, or a click
// let through during the waits) start nothing: one exchange at a time.
TEST_F(GenSettingsTest, GetAndSetDoNothingWhileAWriteIsUnderWay)
{
    const std::vector<std::string> general{"!W|E0|00|03|02|24|8A", "!W|E0|00|06|02|18|6A", "!W|E0|00|0A|01|00", Init};
    // During the navigation write of a quick-set.
    QuickSetNavigation();
    Open();
    owner.onSetNavParams = [this] {
        if (owner.setNavParamsCalls == 1) {
            Click("cmdGenRead_1");
            Click("cmdGenWrite_1");
        }
        return true;
    };
    Click("cmdQuick_5"); // B2: 375 ms, 0.5 s, power Low
    Click("cmdGenWrite_1");
    EXPECT_EQ(owner.setNavParamsCalls, 1);
    EXPECT_EQ(Sent(), general);

    // During the exchange of the first of two changes.
    dialog.reset();
    MakeStoreObjects();
    Open();
    TypeAndTab("txtPulseWidth", "7.5");
    TypeAndTab("cboBlock", "2.0");
    AtFrame(1, [this] { Click("cmdGenWrite_0"); });
    Click("cmdGenWrite_0");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|05|01|BC", "!W|E0|00|06|02|61|A8", Init}));
}

} // namespace

namespace {

// Pulse-width byte BB (7.48 ms) shows as "7.5". Passing through that box while
// changing only the gain is no edit of it: Set sends the gain alone. No
// progress Cancel before the read, and the read leaves the focus on Get, not
// in the first entry.
TEST_F(GenSettingsTest, ARoundedValueShownIsNoEdit)
{
    model.Poke(false, 0xE0, 0x00, 0x05, 0xBB);
    Open(false);
    EXPECT_FALSE(OwnVisible("cmdProgressCancel_0"));
    dialog->tmrReadParams_Timer();
    Sent();
    EXPECT_EQ(Focus(), "cmdGenRead_0");
    ASSERT_EQ(Text("txtPulseWidth"), "7.5");
    Click("txtPulseWidth");
    QTest::keyClick(W("txtPulseWidth"), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(Focus(), "cboGain_0");
    QTest::keyClick(W("cboGain_0"), Qt::Key_Up); // High -> Low
    Click("cmdGenWrite_0");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|00|01|00", Init}));
    EXPECT_EQ(model.Peek(false, 0xE0, 0x00, 0x05), 0xBB);
}

// A read that loses the six-byte group leaves its fields blank, the quick-set
// TAT read-out too, and traps no focus: a blank or refused entry never blocks
// Get, which reads again.
TEST_F(GenSettingsTest, AFailedReadTrapsNoFocus)
{
    Open();
    ASSERT_EQ(Text("lblQuickData_2"), "500.0");
    model.knobs.ignoreFrame = Sim::FrameAddress('R', 0xE0, 0x00, 0x02);
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdGenRead_0");
    Sent();
    EXPECT_EQ(Text("cboGenTAT") + "|" + Text("lblQuickData_2"), "|");
    EXPECT_EQ(Focus(), "cmdGenRead_0");
    Click("txtPulseWidth");
    QTest::keyClick(W("txtPulseWidth"), Qt::Key_Backtab);
    EXPECT_EQ(Focus(), "cboGenTAT");
    TypeAndTab("txtPulseWidth", "x");
    ASSERT_EQ(Focus(), "txtPulseWidth");
    model.knobs.ignoreFrame.clear();
    Click("cmdGenRead_0");
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, G0, G2, G5, Init}));
    EXPECT_EQ(Text("cboGenTAT") + " " + Text("txtPulseWidth"), "500.0 8.0");
}

// The dialog's own writes of the odd 62.5 ms steps read back a few hundredths
// off (12 3A is 187.48 ms): the item that sends the same word is shown, white,
// and is not written again. A time off the steps stays red.
TEST_F(GenSettingsTest, ATatReadBackMatchesTheItemWithItsWord)
{
    const struct {
        uint8_t high, low;
        const char* shown;
        const char* colour;
    } rows[] = {
        {0x06, 0x06, "62.5", "W"}, {0x12, 0x3A, "187.5", "W"}, {0x2A, 0xA4, "437.5", "W"}, {0x09, 0xAF, "", "R"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        model.Poke(false, 0xE0, 0x00, 0x03, row.high);
        model.Poke(false, 0xE0, 0x00, 0x04, row.low);
        Open();
        EXPECT_EQ(Text("cboGenTAT"), row.shown);
        EXPECT_EQ(Colour("cboGenTAT"), row.colour);
        TypeAndTab("txtPulseWidth", "7.0");
        EXPECT_EQ(OwnEnabled("cmdGenWrite_0"), *row.colour == 'W');
        Click("cmdGenWrite_0");
        const std::vector<std::string> pulseOnly{"!W|E0|00|05|01|AF", Init};
        EXPECT_EQ(Sent(), *row.colour == 'W' ? pulseOnly : std::vector<std::string>{});
        Click("cmdGenCancel_0"); // shows what was read again, the time off the steps still red
        EXPECT_EQ(Colour("cboGenTAT"), row.colour);
        dialog.reset();
        MakeStoreObjects();
        model.Poke(false, 0xE0, 0x00, 0x05, 0xC8);
    }
}

// On a unit of the second Spanwave type a preset's address is of the first:
// it shows as picked, for the write to offer the switch of type. A Get then
// leaves no unsent preset: the unit's address shows, and Set is off.
TEST_F(GenSettingsTest, APresetNotSentIsGoneAfterGet)
{
    QuickSetNavigation(0, 5, 2);
    Open();
    Click("cmdQuick_5");
    EXPECT_EQ(Text("txtAddress") + " " + Colour("txtAddress"), "4603 O");
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_1"));
    Click("cmdGenRead_1");
    Sent();
    EXPECT_EQ(Text("txtAddress") + " " + Colour("txtAddress"), "0005 W");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));
}

} // namespace

namespace {

// A power-High Set leaves FF in the byte the variable TAT shares, which then
// reads out of range and shows blank. A value typed there and left by Tab is
// checked although Tab reaches Cancel, which does not cause validation: it is
// a change, and Alt+S writes it.
TEST_F(GenSettingsTest, AValueLeftByTabIsCheckedOnToCancel)
{
    model.versionText = "TestMode ";
    model.Poke(false, 0xE0, 0x00, 0x0A, 0xFF);
    model.Poke(false, 0xE0, 0x00, 0x0B, 0xF7);
    Open();
    ASSERT_EQ(Text("cboVariableTAT"), "");
    TypeAndTab("cboVariableTAT", "15");
    EXPECT_EQ(Focus(), "cmdGenCancel_0");
    EXPECT_EQ(Colour("cboVariableTAT"), "O");
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    auto* set = W<QPushButton>("cmdGenWrite_0");
    EXPECT_TRUE(QTest::qWaitFor([set] { return !set->isDown(); }));
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|0A|02|01|74", Init}));
}

} // namespace
