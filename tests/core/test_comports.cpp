// The serial-port dialog driven as the operator drives it, on a machine whose
// only serial ports are COM1 and COM3.
#include "clsSettings.h"
#include "clock.h"
#include "frmComPorts.h"
#include "frmDialogsCore.h"
#include "scripted_dialogs.h"
#include "sim_serial_comm.h"
#include "tpdrport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Items(const QComboBox* list)
{
    Strings items;
    for (int i = 0; i < list->count(); ++i) {
        items.push_back(list->itemText(i).toStdString());
    }
    return items;
}

const ShownBox IdenticalPorts{"The Transponder and VOV Com Ports cannot be the same.", 48, "Identical Com Ports"};

class ComPortsTest : public ::testing::Test {
protected:
    ComPortsTest() : scoped(clock), tpdr(model, clock), ant(vov, clock)
    {
        for (Sim::SimSerialComm* port : {&tpdr, &ant}) {
            port->availablePorts = {1, 3};
        }
        tpdr.Settings("19200,N,8,1");
        ant.Settings("9600,N,8,1");
        SetTpdrPort(&tpdr);
        SetANTPort(&ant);
        Reset(1, 3, "19200");
    }

    // Stored settings (an empty baud text as before any settings file) and
    // both ports open on COM1 and COM3.
    void Reset(int32_t tpdrPort, int32_t antPort, const char* baud)
    {
        dialog.reset();
        AppSettings = clsSettings();
        AppSettings.TpdrComPort(tpdrPort);
        AppSettings.ANTComPort(antPort);
        if (*baud != '\0') {
            AppSettings.sTpdrComPortBaud(baud);
            AppSettings.sTpdrDownLoadComPortBaud(baud);
        }
        AppSettings.sTpdrComPortBits("N,8,1");
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(1.5f);
        for (auto [port, number] : {std::pair{&tpdr, 1}, std::pair{&ant, 3}}) {
            port->PortOpen(false);
            port->CommPort(static_cast<int16_t>(number));
            port->PortOpen(true);
        }
    }
    ~ComPortsTest() override
    {
        dialog.reset();
        SetTpdrPort(nullptr);
        SetANTPort(nullptr);
    }

    frmComPorts& Open()
    {
        dialog = std::make_unique<frmComPorts>();
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    // Types into a wait box as the operator would, then tabs away.
    void TypeAndTab(QLineEdit* box, const char* text)
    {
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Tab);
    }

    Platform::FakeClock clock;
    Platform::ScopedClock scoped;
    Sim::TransponderModel model;
    Sim::TransponderModel vov;
    Sim::SimSerialComm tpdr;
    Sim::SimSerialComm ant;
    ScriptedDialogs boxes;
    std::unique_ptr<frmComPorts> dialog;
};

TEST_F(ComPortsTest, OpeningShowsTheAvailablePortsAndTheStoredSettings)
{
    struct Row {
        int32_t tpdrPort;
        int32_t antPort;
        const char* baud; // "" leaves the text empty, as before any settings file
        const char* tpdrShown;
        const char* antShown;
        bool tpdrControls;
        Strings bauds;
        const char* baudShown;
    };
    const Row rows[] = {
        {2, 0, "9600", "Not Used", "Not Used", false, {"1200", "19200", "9600"}, "9600"},
        {1, 5, "", "COM1", "Not Used", true, {"1200", "19200", "0"}, "0"},
        {3, 1, "19200", "COM3", "COM1", true, {"1200", "19200"}, "19200"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.tpdrPort) + "/" + std::to_string(row.antPort) + " '" + row.baud + "'");
        Reset(row.tpdrPort, row.antPort, row.baud);
        frmComPorts& d = Open();
        EXPECT_EQ(Items(d.cboTpdrPort), (Strings{"Not Used", "COM1", "COM3"}));
        EXPECT_EQ(Items(d.cboANTPort), (Strings{"Not Used", "COM1", "COM3"}));
        EXPECT_EQ(d.cboTpdrPort->currentText().toStdString(), row.tpdrShown);
        EXPECT_EQ(d.cboANTPort->currentText().toStdString(), row.antShown);
        EXPECT_EQ(Items(d.cboTpdrBaud), row.bauds);
        EXPECT_EQ(d.cboTpdrBaud->currentText().toStdString(), row.baudShown);
        for (QWidget* w : std::vector<QWidget*>{d.lblTpdr[0], d.lblTpdr[1], d.lblTpdr[2], d.lblTpdr[3], d.lblTpdr[4],
                                                d.cboTpdrBaud, d.txtTpdrTelemWait, d.txtDelayBetweenCmds}) {
            EXPECT_EQ(w->isEnabled(), row.tpdrControls) << w->objectName().toStdString();
        }
        EXPECT_FALSE(tpdr.PortOpen());
        EXPECT_FALSE(ant.PortOpen());
    }
}

TEST_F(ComPortsTest, CaptionsAndToolTips)
{
    const frmComPorts& d = Open();
    const std::pair<QWidget*, const char*> tips[] = {
        {d.cboTpdrPort, "19200,N,8,1"},
        {d.cboANTPort, "9600,N,8,1"},
        {d.txtTpdrTelemWait, "Transponder Serial Communications Wait (0.1 - 10 Seconds)"},
        {d.txtDelayBetweenCmds, "Delay between commands (0 - 5 Seconds)"},
        {d.cmdOK, "Accept settings and exit"},
        {d.cmdCancel, "Keep original settings and exit"},
        {d.cmdDefaults, "Use default values"},
    };
    for (const auto& [widget, tip] : tips) {
        EXPECT_EQ(widget->toolTip().toStdString(), tip) << widget->objectName().toStdString();
    }
    EXPECT_EQ(d.windowTitle().toStdString(), "Serial Port Settings");
    EXPECT_EQ(d.txtTpdrTelemWait->text().toStdString(), "1");
    EXPECT_EQ(d.txtDelayBetweenCmds->text().toStdString(), "1.5");
}

TEST_F(ComPortsTest, LeavingAWaitBoxKeepsTheFocusUnlessTheValueIsInRange)
{
    struct Row {
        bool telemWait; // else the delay box
        const char* typed;
        bool accepted;
        float stored;
        const char* shown;
    };
    const Row rows[] = {
        {true, "12", false, 1.0f, "12"},    {true, "2.5", true, 2.5f, "2.5"}, {true, "abc", false, 1.0f, "abc"},
        {true, ".1", true, 0.1f, "0.1"},    {true, "10", true, 10.0f, "10"},  {true, "0.05", false, 1.0f, "0.05"},
        {false, "0", true, 0.0f, "0"},      {false, "5", true, 5.0f, "5"},    {false, "5.5", false, 1.5f, "5.5"},
        {false, "-1", false, 1.5f, "-1"},   {false, "", false, 1.5f, ""},
        // decimal text only, "." the point in every locale
        {true, "&HA", false, 1.0f, "&HA"},  {true, "&O7", false, 1.0f, "&O7"}, {true, "2D0", false, 1.0f, "2D0"},
        {true, "2,5", false, 1.0f, "2,5"},  {true, "2E0", true, 2.0f, "2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.telemWait ? "wait " : "delay ") + row.typed);
        Reset(1, 3, "19200");
        frmComPorts& d = Open();
        QLineEdit* box = row.telemWait ? d.txtTpdrTelemWait : d.txtDelayBetweenCmds;
        TypeAndTab(box, row.typed);
        EXPECT_EQ(QApplication::focusWidget() == box, !row.accepted);
        EXPECT_EQ(row.telemWait ? AppSettings.TpdrTelemWait() : AppSettings.DelayBetweenCmds(), row.stored);
        EXPECT_EQ(box->text().toStdString(), row.shown);
    }
}

TEST_F(ComPortsTest, AClickWhoseFocusChangeWasRefusedDoesNothing)
{
    frmComPorts& d = Open();
    TypeAndTab(d.txtTpdrTelemWait, "12");
    for (QPushButton* button : {d.cmdDefaults, d.cmdOK}) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), d.txtTpdrTelemWait) << button->objectName().toStdString();
        EXPECT_EQ(d.txtTpdrTelemWait->text().toStdString(), "12");
        EXPECT_TRUE(d.isVisible());
    }
    // Cancel does not validate: it leaves at once, with the settings as they were.
    QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(AppSettings.TpdrTelemWait(), 1.0f);
}

TEST_F(ComPortsTest, UseDefaultsSetsTheWaitsOnly)
{
    AppSettings.TpdrTelemWait(3.0f);
    AppSettings.DelayBetweenCmds(4.0f);
    frmComPorts& d = Open();
    d.cboTpdrPort->setCurrentIndex(2);
    QTest::mouseClick(d.cmdDefaults, Qt::LeftButton);
    EXPECT_EQ(d.txtTpdrTelemWait->text().toStdString(), "1");
    EXPECT_EQ(d.txtDelayBetweenCmds->text().toStdString(), "1.5");
    EXPECT_EQ(AppSettings.TpdrTelemWait(), 1.0f);
    EXPECT_EQ(AppSettings.DelayBetweenCmds(), 1.5f);
    EXPECT_EQ(AppSettings.TpdrComPort(), 1);
}

TEST_F(ComPortsTest, OKStoresTheChoicesAndChecksThePorts)
{
    struct Row {
        const char* name;
        const char* storedBaud;
        int tpdrIndex; // 0 Not Used, 1 COM1, 2 COM3
        int antIndex;
        std::vector<ShownBox> shown;
        bool closes;
        int32_t tpdrPort;
        int32_t antPort;
        bool tpdrOpen;
        const char* baud;
    };
    const Row rows[] = {
        {"both not used", "19200", 0, 0, {}, true, 0, 0, false, "19200"},
        {"same port", "19200", 1, 1, {IdenticalPorts}, false, 1, 1, true, "19200"},
        {"new port", "19200", 2, 1, {}, true, 3, 1, true, "19200"},
        {"empty baud", "", 1, 0, {}, true, 1, 0, true, "1200"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Reset(1, 3, row.storedBaud);
        frmComPorts& d = Open();
        d.cboTpdrPort->setCurrentIndex(row.tpdrIndex);
        d.cboANTPort->setCurrentIndex(row.antIndex);
        boxes.Clear();
        for (size_t i = 0; i < row.shown.size(); ++i) {
            boxes.Answer(1);
        }
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        EXPECT_EQ(boxes.Boxes(), row.shown);
        EXPECT_EQ(d.isVisible(), !row.closes);
        EXPECT_EQ(AppSettings.TpdrComPort(), row.tpdrPort);
        EXPECT_EQ(AppSettings.ANTComPort(), row.antPort);
        EXPECT_EQ(tpdr.PortOpen(), row.tpdrOpen);
        if (row.tpdrOpen) {
            EXPECT_EQ(tpdr.CommPort(), row.tpdrPort);
        }
        EXPECT_FALSE(ant.PortOpen());
        EXPECT_EQ(AppSettings.sTpdrComPortBaud(), row.baud);
        EXPECT_EQ(AppSettings.sTpdrDownLoadComPortBaud(), row.baud);
    }
}

// Cancel puts back everything; the close box and Esc put back the ports only,
// keeping a wait already stored by leaving its box and the baud texts as they are.
TEST_F(ComPortsTest, CancelRestoresTheWaitsTheCloseBoxOnlyThePorts)
{
    enum class How { CloseBox, Escape, Cancel };
    const struct {
        How how;
        const char* name;
        float wait;
        const char* baud;
    } rows[] = {
        {How::CloseBox, "close box", 2.5f, ""},
        {How::Escape, "Esc", 2.5f, ""},
        {How::Cancel, "Cancel", 1.0f, "1200"}, // the remembered rate, 0, which the setter refuses
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Reset(1, 3, "");
        frmComPorts& d = Open();
        TypeAndTab(d.txtTpdrTelemWait, "2.5");
        ASSERT_EQ(AppSettings.TpdrTelemWait(), 2.5f);
        d.cboTpdrPort->setCurrentIndex(2);
        d.cboTpdrBaud->setCurrentIndex(1);
        switch (row.how) {
        case How::CloseBox:
            d.close();
            break;
        case How::Escape:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            break;
        case How::Cancel:
            QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
            break;
        }
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(AppSettings.TpdrTelemWait(), row.wait);
        EXPECT_EQ(AppSettings.DelayBetweenCmds(), 1.5f);
        EXPECT_EQ(AppSettings.sTpdrComPortBaud(), row.baud);
        EXPECT_EQ(AppSettings.sTpdrDownLoadComPortBaud(), row.baud);
        EXPECT_EQ(AppSettings.TpdrComPort(), 1);
        EXPECT_EQ(AppSettings.ANTComPort(), 3);
        EXPECT_TRUE(tpdr.PortOpen());
        EXPECT_EQ(tpdr.CommPort(), 1);
        EXPECT_TRUE(ant.PortOpen());
        EXPECT_EQ(ant.CommPort(), 3);
    }
}

// After OK was refused for equal ports, the close box still puts the ports back.
TEST_F(ComPortsTest, CloseBoxAfterARefusedOKPutsThePortsBack)
{
    frmComPorts& d = Open();
    d.cboTpdrPort->setCurrentIndex(2);
    d.cboANTPort->setCurrentIndex(2);
    boxes.Answer(1);
    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    ASSERT_TRUE(d.isVisible());
    d.close();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(AppSettings.TpdrComPort(), 1);
    EXPECT_EQ(AppSettings.ANTComPort(), 3);
    EXPECT_TRUE(tpdr.PortOpen());
    EXPECT_EQ(tpdr.CommPort(), 1);
    EXPECT_TRUE(ant.PortOpen());
}

TEST_F(ComPortsTest, WithoutAnyPortTheDialogSaysSoAndLeavesAsCancelWould)
{
    tpdr.PortOpen(false);
    tpdr.availablePorts.clear();
    RegisterCoreDialogs();
    boxes.Answer(1);
    EXPECT_EQ(Forms::ShowModal("frmComPorts", nullptr), QDialog::Rejected);
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{"No Available Serial Ports Found.", 16, "Tidelet Terminal"}}));
    EXPECT_EQ(AppSettings.TpdrComPort(), 1);
    EXPECT_EQ(AppSettings.ANTComPort(), 3);
    EXPECT_FALSE(tpdr.PortOpen());
    EXPECT_TRUE(ant.PortOpen());
}

} // namespace
