#include <QTest>
#include "exchange_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace {

using namespace Frames;

const std::string F22 = WriteRS232("22");
const std::string F10 = WriteRS232("10");
const std::string Addr05 = WriteAddress("05");
const std::string Chan03 = WriteChanCode("03");
const std::string Addr07 = WriteAddress("07");
const std::string Chan04 = WriteChanCode("04");
const std::string CW2053 = WriteCodeword("20 53"); // band 2, IRS, address 05, channel 03
const std::string CW2074 = WriteCodeword("20 74"); // address 07, channel 04
const std::string Pulse4 = WritePulse("64");       // 4.0 ms
const std::string Pulse8 = WritePulse("C8");       // 8.0 ms
const std::string AnyBlock = "!w|00|00|00|14|*";
// Interrogation MF2, reply MF5 and MF6, the Spanwave groups blank.
const std::string ToneMF5 = WriteParams("00 64 00 7F 00 08 FB 6C FF FF FF FF 00 09 39 9A FF FF FF FF");
const std::string ToneMF7 = WriteParams("00 64 00 7F 00 09 7B 3E FF FF FF FF 00 09 C0 A9 FF FF FF FF");
const std::vector<std::string> GetF1 = {V9, Init, Ports, Init}; // endcap only

void Select(QComboBox* list, const char* item)
{
    list->setCurrentIndex(list->findText(QString::fromLatin1(item)));
    ASSERT_NE(list->currentIndex(), -1) << item;
}

class NavIOTest : public ExchangeTest {
protected:
    // The transponder as the base of a row: 'H' HPR channel 11, 'h' the same
    // with a Spanwave type other than IRS, 'T' Orvane tone, 'S' Orvane
    // Spanwave, 'O' S family, '1' firmware with the endcap channel only.
    void Transponder(char kind)
    {
        model = Sim::TransponderModel();
        model.versionText = kind == 'O' ? SFamily : kind == '1' ? "Vers_1.04" : FFamily;
        SetCodeword(kind == 'h' ? 0x2850 : 0x2053); // type 3 address 05 channel 00; IRS 05 03
        if (kind == 'T' || kind == 'S') {
            SetChannel(0x10);
            kind == 'T' ? ToneBlock() : SpanwaveBlock();
        }
    }
    // Loads the window and runs Get on the transponder; the frames and boxes start empty.
    void LoadAndGet(char kind)
    {
        Transponder(kind);
        Load();
        OfferGet();
        for (int i = 0; kind == '1' && i < 2; ++i) {
            boxes.Answer(MsgBoxResult::OK); // the two channels it cannot read
        }
        win->cmdRead->click();
        ASSERT_TRUE(win->NavParamsRead);
        Sent();
        model.ClearFrames();
        boxes.Clear();
    }
    void EditAddress(int scheme, const char* text)
    {
        win->txtAddress[static_cast<size_t>(scheme)]->setText(QString::fromLatin1(text));
        win->txtAddress_LostFocus(scheme);
    }
    void Tone(int intChan, int replyChan)
    {
        win->cboOrvaneIntChan[3]->setCurrentIndex(intChan);
        win->cboOrvaneIntChan_LostFocus(3);
        win->cboOrvaneReplyChan->setCurrentIndex(replyChan);
        win->cboOrvaneReplyChan_LostFocus();
    }
};

TEST_F(NavIOTest, Get)
{
    const struct Row {
        const char* name;
        char kind;
        std::function<void()> setup;
        std::vector<std::string> frames;
        std::vector<Box> boxes;
        int32_t scheme;
        bool read;
    } rows[] = {
        {"F family", 'H', [] {}, GetF, {}, 2, true},
        {"S family", 'O', [] {}, GetS, {}, 1, true},
        {"firmware without the RS232 channel", 'O', [this] { model.versionText = "Vers1.10S"; },
         {V9, Init, Dual, Ports, Init}, {{"Not Supported"}}, 1, true},
        {"firmware with the endcap channel only", '1', [] {}, GetF1, {{"Not Supported"}, {"Not Supported"}}, 1, true},
        {"RS232 channel of type 0 ends Get", 'H', [this] { SetChannel(0x19); }, {V9, Init, Codeword, Params, RS232},
         {{"Invalid Channel"}}, 0, false},
        // The endcap is still read after a failed RS232 read, and gives the result.
        {"S family, RS232 read unanswered", 'O', [this] { model.knobs.answerFrames = 2; }, {V9, Init, RS232, Ports},
         {{"Communication Error"}, {"Communication Error"}}, 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Transponder(r.kind);
        r.setup();
        Load();
        OfferGet();
        const std::vector<std::string> labels = StatusLabels();
        Script(r.boxes);
        win->cmdRead->click();
        ExpectFrames(Sent(), r.frames);
        EXPECT_EQ(Titles(), Titles(r.boxes));
        EXPECT_EQ(NavParams.NavScheme(), r.scheme);
        EXPECT_EQ(win->NavParamsRead, r.read);
        EXPECT_FALSE(win->StatusReadRequested);
        const std::vector<std::string> after = StatusLabels();
        EXPECT_EQ(std::vector<std::string>(after.begin() + 1, after.end()),
                  std::vector<std::string>(labels.begin() + 1, labels.end())); // not reset by Get
        EXPECT_EQ(win->Stored.NavScheme, r.read ? r.scheme : 0);
        EXPECT_FALSE(OwnVisible("cmdCancel"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(NavIOTest, Set)
{
    const Box nothingWritten{"Nothing Written"};
    const struct Row {
        const char* name;
        char kind;
        std::function<void()> edit;
        std::vector<Box> boxes; // the read-back's included
        std::vector<std::string> writes;
        bool written;           // acknowledged and initialised
        bool direct = false;    // through SetNavParams, as the general parameters dialog does
    } rows[] = {
        {"HPR, nothing changed", 'H', [] {}, {nothingWritten}, {}, false},
        {"HPR, RS232 channel: address and channel code follow", 'H',
         [this] {
             Select(win->cboHPRChan, "B22 (Circle)");
             win->cboHPRChan_LostFocus();
         },
         {}, {F22, Addr05, Chan03}, true},
        {"HPR, command address", 'H', [this] { EditAddress(2, "0704"); }, {}, {CW2074, Addr07, Chan04}, true},
        {"HPR to Orvane tone", 'H',
         [this] {
             win->optChanScheme_Click(1);
             Tone(3, 5);
         },
         {}, {F10, CW2053, ToneMF5, Addr05, Chan03, Pulse4}, true},
        {"HPR to Orvane Spanwave", 'H',
         [this] {
             win->optChanScheme_Click(1);
             win->optReplyType_Click(2);
             NavParams.OrvaneIntChan(3);
         },
         {}, {F10, CW2053, AnyBlock, Addr05, Chan03, Pulse8}, true, true},
        {"HPR to Orvane tone, parameter block refused", 'H',
         [this] {
             win->optChanScheme_Click(1);
             Tone(3, 5);
             model.knobs.acceptWrites = 2;
         },
         {{"Invalid Spanwave Parameter Write"}}, {F10, CW2053, ToneMF5}, false},
        {"HPR, invalid channel", 'H', [this] { TpdrChannel.RS232Chan(19); }, {{"Invalid HPR Channel"}}, {}, false},
        {"HPR, type not IRS kept on No", 'h',
         [this] {
             Select(win->cboHPRChan, "B22 (Circle)");
             win->cboHPRChan_LostFocus();
         },
         {{"Spanwave Type NOT IRS", MsgBoxResult::No}}, {F22, Addr05, "!W|E0|00|09|01|00"}, true},
        {"HPR, type made IRS on Yes", 'h', [] {},
         {{"Spanwave Type NOT IRS", MsgBoxResult::Yes}, {"Invalid Address"}}, {}, false},
        {"Orvane tone, nothing changed", 'T', [] {}, {nothingWritten}, {}, false},
        {"Orvane tone, command address", 'T', [this] { EditAddress(3, "0704"); }, {}, {CW2074, Addr07, Chan04}, true},
        {"Orvane tone, reply channel", 'T', [this] { Tone(3, 7); }, {}, {ToneMF7}, true},
        {"Orvane tone, no reply channel", 'T', [this] { Tone(3, -1); }, {{"Invalid Reply Channel"}}, {}, false},
        {"Orvane tone, no interrogation channel", 'T', [this] { Tone(-1, 5); },
         {{"Invalid Orvane Interrogation Channel"}}, {}, false},
        {"Orvane tone, same channel both ways", 'T', [this] { Tone(1, 0); },
         {{"Interrogation and Reply Channels are the same"}}, {}, false},
        {"Orvane tone, address 35 after the note", 'T', [this] { EditAddress(3, "3503"); },
         {{"Transponder Address", MsgBoxResult::OK}}, {"!w|80|00|00|02|22|33", "!W|E0|00|01|01|23", Chan03}, true},
        {"Orvane Spanwave, interrogation channel", 'S', [] { NavParams.OrvaneIntChan(5); }, {}, {AnyBlock}, true,
         true},
        {"Orvane Spanwave, command address", 'S', [] { NavParams.CmdAddressString("0704"); }, {},
         {CW2074, AnyBlock, Addr07, Chan04}, true, true},
        {"Orvane Spanwave, no interrogation channel", 'S', [] { NavParams.OrvaneIntChan(19); },
         {{"Invalid Orvane Interrogation Channel"}}, {}, false, true},
        {"Spanwave firmware, channel-select scheme: nothing to write", 'H', [] { NavParams.NavScheme(1); }, {}, {},
         false, true},
        {"S family, programmed channel", 'O', [this] { Select(win->cboProgrammedChan, "B22 (Circle)"); }, {}, {F22},
         true},
        {"S family, dual-mode channel", 'O', [this] { Select(win->cboDualModeChan, "B33 (Delta)"); }, {},
         {"!W|A0|04|07|01|33"}, true},
        {"S family, both", 'O',
         [this] {
             Select(win->cboProgrammedChan, "B22 (Circle)");
             Select(win->cboDualModeChan, "B33 (Delta)");
         },
         {}, {F22, "!W|A0|04|07|01|33"}, true},
        {"S family, nothing changed", 'O', [] {}, {nothingWritten}, {}, false},
        {"S family, programmed list without a selection", 'O', [this] { win->cboProgrammedChan->setCurrentIndex(-1); },
         {{"Invalid Channel"}}, {}, false},
        {"S family, dual-mode list without a selection", 'O',
         [this] {
             Select(win->cboProgrammedChan, "B22 (Circle)");
             win->cboDualModeChan->setCurrentIndex(-1);
         },
         {{"Invalid Channel"}}, {}, false},
        {"S family, dual-mode channel refused", 'O',
         [this] {
             Select(win->cboDualModeChan, "B33 (Delta)");
             model.knobs.refuseWrites = true;
         },
         {{"Invalid HPR Channel Write"}}, {"!W|A0|04|07|01|33"}, false},
        {"endcap only: not supported", '1', [] {},
         {{"Not supported"}, {"Not Supported"}, {"Not Supported"}}, {}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet(r.kind);
        r.edit();
        Script(r.boxes);
        if (r.direct) {
            EXPECT_EQ(win->SetNavParams(), r.written);
        } else {
            ASSERT_TRUE(OwnEnabled("cmdSet"));
            win->cmdSet->click();
        }
        model.knobs = Sim::Knobs();
        const std::vector<std::string>& readBack = r.kind == 'O' ? GetS : r.kind == '1' ? GetF1 : GetF;
        ExpectFrames(Sent(), Join({r.writes, r.written ? std::vector<std::string>{Init} : std::vector<std::string>{},
                                   readBack}));
        EXPECT_EQ(Titles(), Titles(r.boxes));
        EXPECT_TRUE(win->NavParamsRead);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// One write of the whole Orvane chain fails, chosen by its address: the chain
// stops there, the transponder keeps what it had, and the values are read back.
TEST_F(NavIOTest, OneWriteOfTheChainFails)
{
    const std::string block = Sim::FrameAddress('w', 0, 0, 0);
    const std::string address = Sim::FrameAddress('W', 0xE0, 0x00, 0x01);
    const struct Row {
        const char* name;
        std::string Sim::Knobs::*knob;
        std::string at;
        std::vector<Box> boxes;
        std::vector<std::string> writes;
    } rows[] = {
        {"third write refused", &Sim::Knobs::refuseFrame, block, {{"Invalid Spanwave Parameter Write"}},
         {F10, CW2053, ToneMF5}},
        {"third write ignored", &Sim::Knobs::ignoreFrame, block, {{"Communication Error"}}, {F10, CW2053, ToneMF5}},
        {"address write refused, the other general writes not reached", &Sim::Knobs::refuseFrame, address,
         {{"Invalid Address-Code Write"}}, {F10, CW2053, ToneMF5, Addr05}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet('H');
        win->optChanScheme_Click(1);
        Tone(3, 5);
        model.knobs.*r.knob = r.at;
        Script(r.boxes);
        win->cmdSet->click();
        model.knobs = Sim::Knobs();
        ExpectFrames(Sent(), Join({r.writes, GetF}));
        EXPECT_EQ(Titles(), Titles(r.boxes));
        EXPECT_EQ(model.Peek(true, 0, 0, 5), r.at == block ? 0x00 : 0x08); // the reply channel's group
    }
}

TEST_F(NavIOTest, AddressNoteCancelledWritesAndReadsNothing)
{
    LoadAndGet('T');
    EditAddress(3, "1603");
    Script({{"Transponder Address", MsgBoxResult::Cancel}});
    EXPECT_FALSE(win->SetNavParams());
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0], (ShownBox{"NOTE: Address Codes greater than 15XX are only compatable with\n"
                                          "      command units that have Spanwave capability; in which case\n"
                                          "      an address of 33xx to 47xx is recomended.",
                                          MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation, "Transponder Address"}));
    EXPECT_EQ(NavParams.AddressCode(), 16); // the edit stays for another try
}

// A Get that fails leaves its cleared values not read: Set stays off until a
// read succeeds, and a click on it sends nothing.
TEST_F(NavIOTest, SetAfterAFailedGet)
{
    LoadAndGet('H');
    SetChannel(0x19);
    Script({{"Invalid Channel"}});
    win->cmdRead->click();
    EXPECT_FALSE(win->NavParamsRead);
    EXPECT_EQ(NavParams.NavScheme(), 0);
    EXPECT_FALSE(OwnEnabled("cmdSet"));
    Sent();
    model.ClearFrames();
    Script({});
    QTest::mouseClick(win->cmdSet, Qt::LeftButton);
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    EXPECT_EQ(Titles(), std::vector<std::string>{});
}

TEST_F(NavIOTest, SetCancelledDuringTheCodeword)
{
    LoadAndGet('H');
    win->optChanScheme_Click(1);
    Tone(3, 5);
    model.knobs.replyDelay = 0.5; // every wait reaches its progress events
    int cursor = -1;
    AtFrame(2, [this, &cursor] {
        cursor = QApplication::overrideCursor() ? int(QApplication::overrideCursor()->shape()) : -1;
        EXPECT_TRUE(OwnVisible("cmdCancel") && OwnEnabled("cmdCancel"));
        EXPECT_FALSE(win->NavParamsRead);
        win->cmdCancel->click();
        clock.Advance(0.5); // the late acknowledgement lands before the read-back empties the buffer
    });
    win->cmdSet->click();
    EXPECT_EQ(cursor, int(Qt::WaitCursor));
    EXPECT_EQ(Sent(), Join({{F10, CW2053}, GetF}));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(win->NavParamsRead); // from the read-back
    EXPECT_EQ(NavParams.NavScheme(), 4); // the channel was written, the codeword and block were not
}

// A channel number the write frame cannot carry is refused before anything is sent.
TEST_F(NavIOTest, ChannelWriteNeedsAByte)
{
    const struct {
        int16_t kind, channel;
        const char* frame; // nullptr: refused
    } rows[] = {
        {3, -1, nullptr}, {3, 100, nullptr}, {3, 255, nullptr}, {2, -1, nullptr}, {2, 256, nullptr},
        {2, 255, "!W|A0|04|07|01|FF"}, {3, 99, "!F|00|00|00|01|99"}, {3, 0, "!F|00|00|00|01|00"},
    };
    Load();
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.kind << "/" << r.channel);
        model.ClearFrames();
        Script(r.frame ? std::vector<Box>{} : std::vector<Box>{{"Invalid Channel"}});
        TpdrChannel.RS232Chan(r.kind == 3 ? r.channel : 11);
        TpdrChannel.DualModeChan(r.kind == 2 ? r.channel : 11);
        EXPECT_EQ(win->WriteHPRChannel(r.kind), r.frame ? 0 : 20);
        EXPECT_EQ(Sent(), r.frame ? std::vector<std::string>{r.frame} : std::vector<std::string>{});
        EXPECT_EQ(boxes.Boxes().size(), r.frame ? 0u : 1u);
    }
}

} // namespace
