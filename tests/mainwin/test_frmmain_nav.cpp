#include "frmmain_fixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <array>

namespace {

class NavPanelTest : public MainWindowTest {
protected:
    void Show(int32_t fw, int32_t chanType, int32_t replyType, bool read)
    {
        TpdrFirmware.FWVersion(fw);
        NavParams.ChanType(chanType);
        NavParams.ReplyType(replyType);
        win->NavParamsRead = read;
        win->UpdateControls();
    }
    std::vector<std::string> Items(const QComboBox* combo) const
    {
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back(combo->itemText(i).toStdString());
        }
        return items;
    }
    static bool Has(const std::vector<std::string>& items, const std::string& item)
    {
        return std::find(items.begin(), items.end(), item) != items.end();
    }
    // A click on the option's button, not beside its short caption.
    static void Click(QRadioButton* option)
    {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    // Moves the focus on, as a user leaving the field.
    void Leave(QWidget* field)
    {
        field->setFocus();
        win->cmdExit->setFocus();
    }
};

TEST_F(NavPanelTest, FrameAndEnablingPerScheme)
{
    // E/D per control: cmdSet, cmdQuickSet, optChanScheme 1-2, optReplyType 1-2,
    // fraChanScheme, fraReplyType, the scheme's frame.
    const char* const controls[] = {"cmdSet",         "cmdQuickSet",    "optChanScheme_1", "optChanScheme_2",
                                    "optReplyType_1", "optReplyType_2", "fraChanScheme",   "fraReplyType"};
    const struct {
        int32_t fw, chanType, replyType;
        bool read;
        int32_t scheme;
        const char* enables; // the eight controls, then the frame
        int checkedChan, checkedReply; // 0: neither option on
    } rows[] = {
        // Outside the Spanwave family there is no quick-set.
        // No firmware, or no scheme: nothing read, nothing to write.
        {0, 1, 1, true, 0, "DDDDDDDDD", 0, 0},     {100, 1, 1, true, 1, "EDDDDDDDE", 0, 0},
        {400, 0, 0, true, 0, "DDDDDDDDD", 0, 0},   {400, 2, 0, false, 2, "DDDDDDDDD", 2, 1},
        {400, 2, 2, true, 2, "EEEEDDEDE", 2, 1},   {400, 1, 1, false, 3, "DDDDDDDDD", 1, 1},
        {400, 1, 1, true, 3, "EEEEEEEEE", 1, 1},   {400, 1, 2, true, 4, "DEEEEEEEE", 1, 2},
    };
    Load();
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "fw " << r.fw << " types " << r.chanType << "/" << r.replyType);
        Show(r.fw, r.chanType, r.replyType, r.read);
        EXPECT_EQ(NavParams.NavScheme(), r.scheme);
        EXPECT_EQ(ReadNavScheme, r.scheme);
        for (int s = 0; s <= 4; ++s) {
            EXPECT_EQ(OwnVisible("fraNavScheme_" + std::to_string(s)), s == r.scheme) << s;
        }
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(OwnEnabled(controls[i]), r.enables[i] == 'E') << controls[i];
        }
        EXPECT_EQ(OwnEnabled("fraNavScheme_" + std::to_string(r.scheme)), r.enables[8] == 'E');
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(win->optChanScheme[i]->isChecked(), i == r.checkedChan) << i;
            EXPECT_EQ(win->optReplyType[i]->isChecked(), i == r.checkedReply) << i;
        }
    }
}

TEST_F(NavPanelTest, ChannelSelectLists)
{
    Load();
    TpdrChannel.RS232Chan(12);
    TpdrChannel.DualModeChan(255);
    TpdrChannel.EndcapChan(11);
    Show(100, 0, 0, true);
    const auto programmed = Items(win->cboProgrammedChan);
    EXPECT_EQ(programmed.front(), "00");
    // Every channel's text is built from fresh pieces: nothing of 11 sticks to 12.
    EXPECT_TRUE(Has(programmed, "B11 (Square)"));
    EXPECT_TRUE(Has(programmed, "B12"));
    EXPECT_TRUE(Has(programmed, "S10  Orvane"));
    EXPECT_EQ(TpdrChannel.NumOfHPRChans(), static_cast<int16_t>(programmed.size()));
    EXPECT_EQ(win->cboProgrammedChan->currentText().toStdString(), "B12");
    EXPECT_EQ(Items(win->cboDualModeChan).front(), "Not Set");
    EXPECT_EQ(TpdrChannel.NumOfDualModeChans(), static_cast<int16_t>(programmed.size() + 1));
    EXPECT_EQ(win->cboDualModeChan->currentIndex(), 0);
    EXPECT_EQ(win->lblEndcap->text().toStdString(), "B11 (Square)");

    TpdrChannel.RS232Chan(100);
    TpdrChannel.DualModeChan(12);
    TpdrChannel.EndcapChan(-1);
    win->UpdateControls();
    EXPECT_EQ(win->cboProgrammedChan->currentIndex(), -1);
    EXPECT_EQ(win->cboDualModeChan->currentText().toStdString(), "B12");
    EXPECT_EQ(win->lblEndcap->text().toStdString(), "");
}

TEST_F(NavPanelTest, HPRChannelAndAddress)
{
    Load();
    NavParams.SpanwaveType(1);
    NavParams.AddressCode(false, 33);
    NavParams.ChannelCode(false, 5);
    TpdrChannel.RS232Chan(12);
    Show(400, 2, 0, true);
    const auto items = Items(win->cboHPRChan);
    EXPECT_EQ(items.front(), "00");
    EXPECT_TRUE(Has(items, "B11 (Square)"));
    EXPECT_FALSE(Has(items, "S10  Orvane")); // Orvane channels are not HPR channels
    EXPECT_EQ(TpdrChannel.NumOfHPRChans(), static_cast<int16_t>(items.size()));
    EXPECT_EQ(win->cboHPRChan->currentText().toStdString(), "B12");
    EXPECT_EQ(win->txtAddress[2]->text().toStdString(), "3305");
    EXPECT_EQ(Forms::BackColor(win->txtAddress[2]), Forms::vbWhite);
    EXPECT_EQ(win->txtAddress[2]->toolTip().toStdString(), NavParams.CmdAddressToolTip());

    NavParams.AddressCode(false, -1);
    TpdrChannel.RS232Chan(10);
    win->UpdateControls();
    EXPECT_EQ(win->txtAddress[2]->text().toStdString(), "Invalid");
    EXPECT_EQ(Forms::BackColor(win->txtAddress[2]), Forms::vbRed);
    EXPECT_EQ(win->cboHPRChan->currentIndex(), -1);
}

TEST_F(NavPanelTest, OrvaneToneAndSpanwaveLists)
{
    const struct {
        int32_t replyType, intChan, replyChan;
        int intIndex, replyIndex;
        const char* interrogate; // scheme 4's label
    } rows[] = {
        {1, 5, 7, 5, 7, ""},     {1, 18, 18, -1, -1, ""}, {1, 19, 17, -1, 17, ""}, {1, 17, 0, 17, 0, ""},
        {2, 5, 7, 5, -1, "MF4"}, {2, 0, 7, 0, -1, "CIF"}, {2, 16, 7, -1, -1, ""},  {2, 19, 7, -1, -1, ""},
    };
    Load();
    NavParams.SpanwaveType(1);
    NavParams.AddressCode(false, 33);
    NavParams.ChannelCode(false, 5);
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.replyType << ": " << r.intChan << "/" << r.replyChan);
        NavParams.OrvaneIntChan(r.intChan);
        NavParams.OrvaneReplyChan(r.replyChan);
        Show(400, 1, r.replyType, true);
        const int s = r.replyType == 1 ? 3 : 4;
        EXPECT_EQ(win->cboOrvaneIntChan[s]->count(), s == 3 ? 18 : 16);
        EXPECT_EQ(win->cboOrvaneIntChan[s]->currentIndex(), r.intIndex);
        if (s == 3) {
            EXPECT_EQ(Items(win->cboOrvaneReplyChan).size(), 18u);
            EXPECT_EQ(win->cboOrvaneReplyChan->currentIndex(), r.replyIndex);
            EXPECT_EQ(win->txtAddress[3]->text().toStdString(), "3305");
        } else {
            EXPECT_EQ(win->lblInterrogate[4]->text().toStdString(), r.interrogate);
            EXPECT_EQ(win->lblAddr->text().toStdString(), "3305");
            EXPECT_EQ(win->lblAddr->toolTip().toStdString(), NavParams.CmdAddressToolTip());
            EXPECT_FALSE(OwnVisible("txtAddress_4"));
            EXPECT_FALSE(OwnVisible("cboOrvaneIntChan_4"));
        }
    }
}

TEST_F(NavPanelTest, FieldEvents)
{
    Load();
    Activate();
    NavParams.SpanwaveType(1);
    NavParams.OrvaneIntChan(5);
    NavParams.OrvaneReplyChan(7);
    Show(400, 1, 1, true);

    // The address is taken when the field is left; its colour then says whether it is valid.
    win->txtAddress[3]->setFocus();
    EXPECT_EQ(win->txtAddress[3]->selectedText(), win->txtAddress[3]->text());
    win->txtAddress[3]->clear();
    QTest::keyClicks(win->txtAddress[3], "1203");
    win->cmdExit->setFocus();
    EXPECT_EQ(NavParams.AddressCode(), 12);
    EXPECT_EQ(NavParams.ChannelCode(), 3);
    EXPECT_EQ(win->txtAddress[3]->text().toStdString(), "1203");
    win->txtAddress[3]->setFocus();
    QTest::keyClicks(win->txtAddress[3], "x");
    win->cmdExit->setFocus();
    EXPECT_EQ(NavParams.AddressCode(), -1);
    EXPECT_EQ(Forms::BackColor(win->txtAddress[3]), Forms::vbRed);

    // Lists left without a choice store their "no channel" markers.
    win->cboOrvaneIntChan[3]->setCurrentIndex(-1);
    win->cboOrvaneReplyChan->setCurrentIndex(-1);
    Leave(win->cboOrvaneIntChan[3]);
    Leave(win->cboOrvaneReplyChan);
    EXPECT_EQ(NavParams.OrvaneIntChan(), 19);
    EXPECT_EQ(NavParams.OrvaneReplyChan(), 18);
    win->cboOrvaneIntChan[3]->setCurrentIndex(4);
    Leave(win->cboOrvaneIntChan[3]);
    EXPECT_EQ(NavParams.OrvaneIntChan(), 4);

    // The scheme options take effect at once.
    Click(win->optChanScheme[2]);
    EXPECT_EQ(NavParams.ChanType(), 2);
    EXPECT_EQ(NavParams.NavScheme(), 2);
    EXPECT_FALSE(OwnVisible("fraNavScheme_3"));
    EXPECT_TRUE(OwnVisible("fraNavScheme_2"));

    win->cboHPRChan->setCurrentIndex(win->cboHPRChan->findText("B11 (Square)"));
    Leave(win->cboHPRChan);
    EXPECT_EQ(TpdrChannel.RS232Chan(), 11);
    win->cboHPRChan->setCurrentIndex(-1);
    Leave(win->cboHPRChan);
    EXPECT_EQ(TpdrChannel.RS232Chan(), 0);

    Click(win->optChanScheme[1]);
    Click(win->optReplyType[2]);
    EXPECT_EQ(NavParams.NavScheme(), 4);
    EXPECT_FALSE(OwnEnabled("cmdSet"));
}

// Opening a list with the mouse moves the focus into its drop-down: that is
// no leaving, so the list is neither taken nor refilled and opens at its
// channel. The choice made there is taken when the list is left.
TEST_F(NavPanelTest, AListOpensAtItsChannelAndIsTakenWhenLeft)
{
    using Values = std::array<int32_t, 3>; // HPR, Orvane interrogation and reply channels
    const struct {
        int32_t chanType, replyType, intChan;
        const char* list;
        const char* shown; // "": no channel chosen
        Values taken;      // after the next item is chosen and the list left
    } rows[] = {
        {2, 0, 5, "cboHPRChan", "B12", {13, 5, 7}},
        {1, 1, 18, "cboOrvaneIntChan_3", "", {12, 1, 7}}, // a channel the list does not offer stays until left
        {1, 1, 5, "cboOrvaneReplyChan", "MF7", {12, 5, 8}},
    };
    const auto values = [] {
        return Values{TpdrChannel.RS232Chan(), NavParams.OrvaneIntChan(), NavParams.OrvaneReplyChan()};
    };
    Load();
    Activate();
    NavParams.SpanwaveType(1);
    NavParams.AddressCode(false, 33);
    NavParams.ChannelCode(false, 5);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.list);
        auto* list = win->findChild<QComboBox*>(r.list);
        TpdrChannel.RS232Chan(12);
        NavParams.OrvaneIntChan(r.intChan);
        NavParams.OrvaneReplyChan(7);
        Show(400, r.chanType, r.replyType, true);
        ASSERT_EQ(list->currentText().toStdString(), r.shown);
        const size_t written = port->Written().size();
        int refills = 0;
        const auto count = [&refills] { ++refills; };
        QObject::connect(list->model(), &QAbstractItemModel::rowsRemoved, list, count);
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, count);

        QTest::mouseClick(list, Qt::LeftButton);
        ASSERT_TRUE(list->view()->isVisible());
        if (*r.shown != '\0') {
            EXPECT_EQ(list->view()->currentIndex().data().toString().toStdString(), r.shown);
        }
        EXPECT_EQ(list->currentText().toStdString(), r.shown);
        EXPECT_EQ(refills, 0);
        EXPECT_EQ(port->Written().size(), written);
        EXPECT_EQ(values(), (Values{12, r.intChan, 7}));
        list->model()->disconnect(list);

        QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Return);
        ASSERT_FALSE(list->view()->isVisible());
        // The offscreen platform hands the activation to the closed drop-down
        // late; the window takes it back, as it keeps it on a real desktop.
        QApplication::processEvents();
        QApplication::setActiveWindow(win.get());
        ASSERT_EQ(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), list);
        EXPECT_EQ(values(), r.taken);
    }
}

TEST_F(NavPanelTest, AsReadCopy)
{
    Load();
    NavParams.NavScheme(3);
    NavParams.ChanType(1);
    NavParams.ReplyType(1);
    NavParams.SpanwaveType(1);
    NavParams.AddressCode(false, 33);
    NavParams.ChannelCode(false, 5);
    NavParams.OrvaneIntChan(4);
    NavParams.OrvaneReplyChan(6);
    TpdrChannel.RS232Chan(10);
    TpdrChannel.DualModeChan(255);
    TpdrChannel.EndcapChan(11);
    win->StoreReadParams();
    EXPECT_EQ(win->Stored, (frmMain::StoredNavParams{3, 1, 1, 1, 33, 5, 4, 6, 10, 255, 11}));
    // Edits change the objects only.
    NavParams.OrvaneIntChan(2);
    EXPECT_EQ(win->Stored.OrvaneIntChan, 4);

    win->ClearNavParams();
    const frmMain::StoredNavParams cleared{0, 0, 0, 0, -1, -1, 19, 18, -1, -1, -1};
    EXPECT_EQ(win->Stored, cleared);
    win->StoreReadParams();
    EXPECT_EQ(win->Stored, cleared); // the objects hold the same markers
}

TEST(NavPanel, OrvaneInterrogationChannelList)
{
    QComboBox combo;
    combo.addItems({"old 1", "old 2"});
    frmMain::FillOrvaneIntChanCombo(&combo);
    const char* expected[] = {"CIF", "MF0", "MF1", "MF2",  "MF3",  "MF4",  "MF5",  "MF6",
                              "MF7", "MF8", "MF9", "MF10", "MF11", "MF12", "MF13", "MF14"};
    ASSERT_EQ(combo.count(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(combo.itemText(i).toStdString(), expected[i]) << i;
    }
}

} // namespace
