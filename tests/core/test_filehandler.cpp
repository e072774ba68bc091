#include "error_of.h"
#include "appinfo.h"
#include "clsSettings.h"
#include "filehandler.h"
#include "globals.h"
#include "scripted_dialogs.h"
#include "vbconv.h"
#include "vberror.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace FileHandler;
namespace fs = std::filesystem;

namespace {

const std::string Question = "You may continue without a .INI file if you wish.\n\nContinue?";
const ShownBox QuestionBox{Question, 36, "Corvel Tidelet Initialisation File"};
ShownBox FileBox(const std::string& title) { return {"Please contact Program Administrator", 48, title}; }

// Lines joined as the writer ends them: CR LF after every line.
std::string Crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\r\n";
    }
    return out;
}

std::string Bool(bool v) { return v ? "True" : "False"; }

// A comma locale for the life of the object, where one is installed.
struct GermanLocale {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    GermanLocale()
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                return;
            }
        }
    }
    ~GermanLocale() { std::setlocale(LC_ALL, saved.c_str()); }
};

// The written file of a fresh store after Defaults, and of a fresh store.
struct FileLine {
    std::string defaults;
    std::string fresh;
};
const std::vector<FileLine>& WrittenLines()
{
    static const std::vector<FileLine> lines = {
        {"; Spanwave Tidelet - Dynamic Parameters", "; Spanwave Tidelet - Dynamic Parameters"},
        {"", ""},
        {AppTitleVersion(), AppTitleVersion()},
        {"", ""},
        {"[COMMS]", "[COMMS]"},
        {"Transponder=COM1", "Transponder="},
        {"VOV=COM2", "VOV="},
        {"", ""},
        {"[TRANSPONDER]", "[TRANSPONDER]"},
        {"Setting=1200,N,8,1", "Setting=1200,N,8,1"},
        {"DownLoadSetting=1200,N,8,1", "DownLoadSetting=1200,N,8,1"},
        {"Timeout=1", "Timeout=0"},
        {"DelayBetweenCmds=1.5", "DelayBetweenCmds=0"},
        {"PingRate=3", "PingRate=0"},
        {"HexFilePath=", "HexFilePath="},
        {"RecordTimeout=0", "RecordTimeout=0"},
        {"DelayBetweenRecords=0", "DelayBetweenRecords=0"},
        {"RecordAttempts=0", "RecordAttempts=0"},
        {"DownloadListAll=False", "DownloadListAll=False"},
        {"", ""},
        {"[VOV]", "[VOV]"},
        {"RangeWait=1", "RangeWait=0"},
        {"DepthWait=1", "DepthWait=0"},
        {"MemoryReadTime=.2", "MemoryReadTime=0"},
        {"MemoryWriteTime=.2", "MemoryWriteTime=0"},
        {"ANTGoAttempts=3", "ANTGoAttempts=0"},
        {"RxAttenuation=0", "RxAttenuation=0"},
        {"TxAttenuation=0", "TxAttenuation=0"},
        {"TxPulseWidth1=10", "TxPulseWidth1=0"},
        {"TxPulseWidth2=10", "TxPulseWidth2=0"},
        {"HPR400Period=30", "HPR400Period=0"},
        {"ValidateTime=.79", "ValidateTime=0"},
        {"SampleTime=2", "SampleTime=0"},
        {"", ""},
        {"[TEST PARAMS]", "[TEST PARAMS]"},
        {"TestChanType=MainChan", ""},
        {"CCFOperatorOnly=False", "CCFOperatorOnly=False"},
        {"CCFDelay=.5", "CCFDelay=0"},
        {"ChangeChanViaRS232=True", "ChangeChanViaRS232=False"},
        {"LoopTest=False", "LoopTest=False"},
        {"UpdateRate=1", "UpdateRate=0"},
        {"DepthScale=1", "DepthScale=0"},
        {"DepthSensor=0", "DepthSensor=0"},
        {"DisplayDepth=True", "DisplayDepth=False"},
        {"TpdrTemperature=2", "TpdrTemperature=0"},
        {"TemperaturePings=3", "TemperaturePings=0"},
        {"ShowChargingAdvice=True", "ShowChargingAdvice=False"},
        {"BattChargeThreshold=5", "BattChargeThreshold=0"},
        {"TcvrQTLChannel=0", "TcvrQTLChannel=0"},
        {"TcvrFile=", "TcvrFile="},
        {"SpeedOfSound=0", "SpeedOfSound=0"},
        {"TargetTpdrRangeWait=0", "TargetTpdrRangeWait=0"},
        {"DisplayInMetres=False", "DisplayInMetres=False"},
        {"TargetTpdrTAT=0", "TargetTpdrTAT=0"},
        {"SubtractTAT=False", "SubtractTAT=False"},
        {"RepeatTcvrTest=False", "RepeatTcvrTest=False"},
        {"RepeatTcvrTime=0", "RepeatTcvrTime=0"},
        {"IsQTLTcvrTestType=False", "IsQTLTcvrTestType=False"},
        {"TcvrRxQuillatChan=0", "TcvrRxQuillatChan=0"},
        {"TcvrTxQuillatChan=0", "TcvrTxQuillatChan=0"},
        {"TcvrElement=0", "TcvrElement=0"},
        {"AddressCode=0", "AddressCode=0"},
        {"ICFChannel=0", "ICFChannel=0"},
        {"NumOfVTLInterrogations=0", "NumOfVTLInterrogations=0"},
    };
    return lines;
}

std::vector<std::string> Column(std::string FileLine::*column)
{
    std::vector<std::string> out;
    for (const FileLine& line : WrittenLines()) {
        out.push_back(line.*column);
    }
    return out;
}

// Every key set away from both a fresh store and the defaults, in the writer's form.
std::string EveryKeySetFile()
{
    return Crlf({"; Spanwave Tidelet - Dynamic Parameters", "", AppTitleVersion(), "", "[COMMS]", "Transponder=COM16",
                 "VOV=COM12", "", "[TRANSPONDER]", "Setting=19200,E,7,2", "DownLoadSetting=38400,O,8,1",
                 "Timeout=2.5", "DelayBetweenCmds=.75", "PingRate=7", "HexFilePath=C:\\HEX FILES\\\xC9T\xC9",
                 "RecordTimeout=12", "DelayBetweenRecords=4", "RecordAttempts=5", "DownloadListAll=True", "",
                 "[VOV]", "RangeWait=20", "DepthWait=9.5", "MemoryReadTime=.35", "MemoryWriteTime=.45",
                 "ANTGoAttempts=6", "RxAttenuation=4.5", "TxAttenuation=60", "TxPulseWidth1=12.5",
                 "TxPulseWidth2=1.25", "HPR400Period=45", "ValidateTime=1.23", "SampleTime=3", "",
                 "[TEST PARAMS]", "TestChanType=Alternative", "CCFOperatorOnly=True", "CCFDelay=1.25",
                 "ChangeChanViaRS232=True", "LoopTest=True", "UpdateRate=3600", "DepthScale=1E-05",
                 "DepthSensor=3", "DisplayDepth=True", "TpdrTemperature=1", "TemperaturePings=8",
                 "ShowChargingAdvice=True", "BattChargeThreshold=9", "TcvrQTLChannel=14", "TcvrFile=TCVR DATA.TXT",
                 "SpeedOfSound=1.5E+20", "TargetTpdrRangeWait=11", "DisplayInMetres=True", "TargetTpdrTAT=13",
                 "SubtractTAT=True", "RepeatTcvrTest=True", "RepeatTcvrTime=15", "IsQTLTcvrTestType=True",
                 "TcvrRxQuillatChan=16", "TcvrTxQuillatChan=17", "TcvrElement=18", "AddressCode=-19",
                 "ICFChannel=20", "NumOfVTLInterrogations=-2147483648"});
}

class FileHandlerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path().toStdString();
        Fresh();
        App::SetPath(folder);
    }
    void TearDown() override
    {
        App::SetPath("");
        AppSettings = clsSettings{};
    }

    void Fresh(const std::string& appPath = {})
    {
        AppSettings = clsSettings{};
        AppSettings.AppPath(appPath.empty() ? folder : appPath);
    }
    std::string PathOf(const std::string& name) const { return folder + "/" + name; }
    void Put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Get(const std::string& name) const
    {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Reads `bytes` as the settings file into a fresh store.
    int16_t ReadFrom(const std::string& bytes)
    {
        Fresh();
        Put(SettingsFile, bytes);
        return ReadIniFile();
    }

    QTemporaryDir dir;
    std::string folder;
};

TEST_F(FileHandlerTest, WritesTheSixtyFourLinesOfDefaultsAndOfAFreshStore)
{
    for (const bool defaults : {true, false}) {
        SCOPED_TRACE(defaults ? "after Defaults" : "fresh store");
        Fresh();
        if (defaults) {
            AppSettings.Defaults();
        }
        WriteIniFile();
        const std::string bytes = Get(SettingsFile);
        const std::vector<std::string> expected = Column(defaults ? &FileLine::defaults : &FileLine::fresh);
        ASSERT_EQ(expected.size(), 64u);
        std::istringstream in(bytes);
        std::string line;
        for (size_t i = 0; i < expected.size() && std::getline(in, line, '\n'); ++i) {
            EXPECT_EQ(line, expected[i] + "\r") << "line " << i + 1;
        }
        EXPECT_EQ(bytes, Crlf(expected)); // CR LF after each line and nothing after the last
        // The empty port texts were filled in the store itself.
        EXPECT_EQ(AppSettings.sTpdrComPortBaud() + AppSettings.sTpdrComPortBits(), "1200N,8,1");
        EXPECT_EQ(AppSettings.sTpdrDownLoadComPortBaud() + AppSettings.sTpdrDownLoadComPortBits(), "1200N,8,1");
    }
}

// Formats the round trip below does not reach.
TEST_F(FileHandlerTest, WritesValueFormats)
{
    struct Row {
        std::function<void(clsSettings&)> set;
        size_t line;
        std::string text;
    };
    const std::vector<Row> rows = {
        {[](clsSettings& s) { s.TpdrComPort(-1); }, 6, "Transponder="},
        {[](clsSettings& s) { s.sTpdrComPortBaud(" 9600 "); s.sTpdrComPortBits(" E,7,2 "); }, 10, "Setting=9600,E,7,2"},
        {[](clsSettings& s) { s.sTpdrDownLoadComPortBaud("4800"); }, 11, "DownLoadSetting=4800,N,8,1"},
        {[](clsSettings& s) { s.HexDownloadPath("  c:\\Hex\\caf\xE9  "); }, 15, "HexFilePath=c:\\Hex\\caf\xE9"},
        {[](clsSettings& s) { s.TestChanType(2); }, 36, "TestChanType=DualMode"},
        {[](clsSettings& s) { s.TestChanType(4); }, 36, ""},
        {[](clsSettings& s) { s.CCFDelay(-0.5f); }, 38, "CCFDelay=-.5"},
        {[](clsSettings& s) { s.SpeedOfSound(1234567.0f); }, 51, "SpeedOfSound=1234567"},
        {[](clsSettings& s) { s.SpeedOfSound(12345678.0f); }, 51, "SpeedOfSound=1.234568E+07"},
        {[](clsSettings& s) { s.VTLNumOfInts(2147483647); }, 64, "NumOfVTLInterrogations=2147483647"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Fresh();
        AppSettings.Defaults();
        row.set(AppSettings);
        WriteIniFile();
        std::vector<std::string> lines = Column(&FileLine::defaults);
        lines[row.line - 1] = row.text;
        EXPECT_EQ(Get(SettingsFile), Crlf(lines));
    }
}

// Reading a file and writing it back gives the same bytes: every key read
// lands in the property it was written from.
TEST_F(FileHandlerTest, RoundTrip)
{
    for (const std::string& file : {EveryKeySetFile(), Crlf(Column(&FileLine::defaults))}) {
        ASSERT_EQ(ReadFrom(file), 0);
        WriteIniFile();
        EXPECT_EQ(Get(SettingsFile), file);
    }
}

TEST_F(FileHandlerTest, ReaderRules)
{
    using Probe = std::function<std::string()>;
    const Probe tpdr = [] { return VB::NumText(AppSettings.TpdrComPort()); };
    const Probe vov = [] { return VB::NumText(AppSettings.ANTComPort()); };
    const Probe timeout = [] { return VB::NumText(AppSettings.TpdrTelemWait()); };
    const Probe ping = [] { return VB::NumText(AppSettings.PingRate()); };
    const Probe loop = [] { return Bool(AppSettings.TestChanLoop()); };
    const Probe port = [] { return AppSettings.sTpdrComPortBaud() + "|" + AppSettings.sTpdrComPortBits(); };
    const Probe download = [] {
        return AppSettings.sTpdrDownLoadComPortBaud() + "|" + AppSettings.sTpdrDownLoadComPortBits();
    };
    const Probe pingAndTimeout = [] { return VB::NumText(AppSettings.PingRate()) + "|" + VB::NumText(AppSettings.TpdrTelemWait()); };
    struct Row {
        std::string file;
        Probe probe;
        std::string expected;
    };
    const std::vector<Row> rows = {
        // Sections and keys
        {Crlf({"[COMMS]", "VOV=COM2"}), tpdr, "0"},
        {Crlf({"[TRANSPONDER]", "PingRate=3"}), timeout, "0"},
        {Crlf({"[comms]", "transponder=com3"}), tpdr, "3"},
        {Crlf({"[COMMS]", "Transponder = COM3"}), tpdr, "0"},
        {Crlf({"  [COMMS]  ", "   Transponder=  COM3  "}), tpdr, "3"},
        {Crlf({"Timeout=2", "[TRANSPONDER]"}), timeout, "0"},
        {Crlf({"[VOV]", "Timeout=2"}), timeout, "0"},
        {Crlf({"[TRANSPONDER]", "[OTHER]", "Timeout=2"}), timeout, "2"},
        {Crlf({"[TRANSPONDER]", "; Timeout=2", "Timeout"}), timeout, "0"},
        {Crlf({"[TRANSPONDER]", "Timeout=3", "Timeout=2"}), timeout, "2"},
        {Crlf({"[TRANSPONDER]", "Timeout=1=2"}), timeout, "2"},
        {Crlf({"[TRANSPONDER]", "=Timeout=2"}), timeout, "0"},
        // Ports, up to COM16 for both
        {Crlf({"[COMMS]", "Transponder=COM9"}), tpdr, "9"},
        {Crlf({"[COMMS]", "Transponder=COM16"}), tpdr, "16"},
        {Crlf({"[COMMS]", "Transponder=COM17"}), tpdr, "0"},
        {Crlf({"[COMMS]", "Transponder=COM0"}), tpdr, "0"},
        {Crlf({"[COMMS]", "Transponder=COM01"}), tpdr, "0"},
        {Crlf({"[COMMS]", "VOV=COM5"}), vov, "5"},
        {Crlf({"[COMMS]", "VOV=COM16"}), vov, "16"},
        {Crlf({"[COMMS]", "VOV=COM3", "VOV="}), vov, "3"},
        // Port settings texts
        {Crlf({"[TRANSPONDER]", "Setting=19200,N,8,1"}), port, "19200|N,8,1"},
        {Crlf({"[TRANSPONDER]", "Setting=19200"}), port, "1200|N,8,1"},
        {Crlf({"[TRANSPONDER]", "Setting=,N,8,1"}), port, "1200|N,8,1"},
        {Crlf({"[TRANSPONDER]", "Setting=600,E,7,1"}), port, "1200|E,7,1"},
        {Crlf({"[TRANSPONDER]", "Setting=9600,n,8,1"}), port, "9600|N,8,1"},
        {Crlf({"[TRANSPONDER]", "DownLoadSetting=4800,E,7,2"}), download, "4800|E,7,2"},
        // Numbers: half to even, exponent form, not-a-number ignored, setters' checks
        {Crlf({"[TRANSPONDER]", "PingRate=2.5"}), ping, "2"},
        {Crlf({"[TRANSPONDER]", "PingRate=3.5"}), ping, "4"},
        {Crlf({"[TRANSPONDER]", "PingRate=-2.5"}), ping, "-2"},
        {Crlf({"[TRANSPONDER]", "PingRate=1E1"}), ping, "10"},
        {Crlf({"[TRANSPONDER]", "PingRate=3", "PingRate=abc"}), ping, "3"},
        {Crlf({"[TRANSPONDER]", "PingRate=3", "PingRate=4x"}), ping, "3"},
        {Crlf({"[TRANSPONDER]", "Timeout=.2"}), timeout, ".2"},
        {Crlf({"[TRANSPONDER]", "Timeout=1.5E+2"}), timeout, "10"}, // the reply wait is 0.1 to 10 s
        {Crlf({"[TRANSPONDER]", "Timeout=1e-05"}), timeout, ".1"},
        {Crlf({"[TRANSPONDER]", "Timeout=1,5"}), timeout, "0"},
        {Crlf({"[VOV]", "DepthWait=5", "DepthWait=20"}), [] { return VB::NumText(AppSettings.ANTDepthWait()); }, "5"},
        {Crlf({"[VOV]", "RxAttenuation=4"}), [] { return VB::NumText(AppSettings.ANTRxAtten()); }, "4.5"},
        {Crlf({"[TEST PARAMS]", "UpdateRate=3601"}), [] { return VB::NumText(AppSettings.ANTInterrogationRate()); }, "0"},
        // Booleans, choices, texts (upper-cased, other bytes kept)
        {Crlf({"[TEST PARAMS]", "LoopTest=yes"}), loop, "False"},
        {Crlf({"[TEST PARAMS]", "LoopTest= true "}), loop, "True"},
        {Crlf({"[TEST PARAMS]", "LoopTest=True", "LoopTest="}), loop, "False"},
        {Crlf({"[TEST PARAMS]", "TestChanType=dualmode"}), [] { return VB::NumText(AppSettings.TestChanType()); }, "2"},
        {Crlf({"[TEST PARAMS]", "TestChanType=Alternative", "TestChanType=Main"}),
         [] { return VB::NumText(AppSettings.TestChanType()); }, "3"},
        {Crlf({"[TRANSPONDER]", "HexFilePath= c:\\Hex\\caf\xE9 "}), [] { return AppSettings.HexDownloadPath(); },
         "C:\\HEX\\CAF\xE9"},
        {Crlf({"[TEST PARAMS]", "TcvrFile=tcvr.dat"}), [] { return AppSettings.TcvrFile(); }, "TCVR.DAT"},
        // Line ends: CR LF, CR or LF
        {"[TRANSPONDER]\rTimeout=2\r", timeout, "2"},
        {"[TRANSPONDER]\r\n\r\n\r\nTimeout=2", timeout, "2"},
        {"[TRANSPONDER]\nTimeout=2\r\n", timeout, "2"},
        {"[TRANSPONDER]\r\nPingRate=4\nTimeout=2\r\n", pingAndTimeout, "4|2"},
        {"[TRANSPONDER]\nPingRate=4\n\rTimeout=2\n", pingAndTimeout, "4|2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "file \"" << row.file << "\"");
        ASSERT_EQ(ReadFrom(row.file), 0);
        EXPECT_EQ(row.probe(), row.expected);
    }
}

// The two waits that the serial-port dialog bounds come into its bounds when
// read: a hand-edited file must not freeze the window for days.
TEST_F(FileHandlerTest, WaitsReadIntoTheDialogsBounds)
{
    const struct {
        const char* entry;
        const char* timeoutAndDelay;
    } rows[] = {
        {"Timeout=1E9", "10|0"},         {"Timeout=10.5", "10|0"},        {"Timeout=10", "10|0"},
        {"Timeout=.1", ".1|0"},          {"Timeout=0", ".1|0"},           {"Timeout=-2", ".1|0"},
        {"DelayBetweenCmds=1E6", "0|5"}, {"DelayBetweenCmds=5", "0|5"},   {"DelayBetweenCmds=0", "0|0"},
        {"DelayBetweenCmds=-1", "0|0"},  {"DelayBetweenCmds=.75", "0|.75"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.entry);
        ASSERT_EQ(ReadFrom(Crlf({"[TRANSPONDER]", r.entry})), 0);
        EXPECT_EQ(VB::NumText(AppSettings.TpdrTelemWait()) + "|" + VB::NumText(AppSettings.DelayBetweenCmds()),
                  r.timeoutAndDelay);
    }
}

// Settings numbers are decimal text with "." as the point, whatever the
// locale: no &H / &O forms, no D exponent.
TEST_F(FileHandlerTest, NumbersAreDecimalTextInEveryLocale)
{
    const GermanLocale german;
    const struct {
        const char* entry;
        const char* pingTimeoutBaud; // read after PingRate=3, Timeout=2, Setting=9600,N,8,1
    } rows[] = {
        {"PingRate=&H10", "3|2|9600"},        {"PingRate=&o7", "3|2|9600"},   {"PingRate=1D1", "3|2|9600"},
        {"PingRate=1E1", "10|2|9600"},        {"Timeout=&HA", "3|2|9600"},    {"Timeout=2,5", "3|2|9600"},
        {"Timeout=2.5", "3|2.5|9600"},        {"Timeout=25D-1", "3|2|9600"},  {"Timeout=25E-1", "3|2.5|9600"},
        {"Setting=&H4B00,N,8,1", "3|2|1200"}, {"Setting=19200,N,8,1", "3|2|19200"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        ASSERT_EQ(ReadFrom(Crlf({"[TRANSPONDER]", "PingRate=3", "Timeout=2", "Setting=9600,N,8,1", row.entry})), 0);
        EXPECT_EQ(VB::NumText(AppSettings.PingRate()) + "|" + VB::NumText(AppSettings.TpdrTelemWait()) + "|" +
                      AppSettings.sTpdrComPortBaud(),
                  row.pingTimeoutBaud);
    }
}

TEST_F(FileHandlerTest, OverflowEndsTheRead)
{
    const ShownBox catchAll{"Error from ReadIniFile (FileHandler) trapped in CatchAll Errors.", 48,
                            "Error:  6  Overflow"};
    struct Row {
        std::string entry;
        int16_t result;
    };
    const std::vector<Row> rows = {
        {"PingRate=32767.5", 4},            // 16-bit, rounds up past the range
        {"PingRate=-32768.5", 0},           // rounds to the even -32768
        {"PingRate=40000", 4},
        {"DelayBetweenRecords=2147483648", 4}, // 32-bit
        {"DelayBetweenRecords=-2147483648", 0},
        {"Timeout=1E39", 4},                // beyond the largest Single
        {"Timeout=3E38", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        ScriptedDialogs boxes;
        boxes.AllowBoxes();
        EXPECT_EQ(ReadFrom(Crlf({"[TRANSPONDER]", row.entry, "PingRate=9"})), row.result);
        EXPECT_EQ(boxes.Boxes(), row.result == 4 ? std::vector<ShownBox>{catchAll} : std::vector<ShownBox>{});
        EXPECT_EQ(AppSettings.PingRate(), row.result == 4 ? 0 : 9); // the read ended there
    }
}

// Open failures: the browse dialog for a missing file, folder or bad name;
// the question when no file was opened.
TEST_F(FileHandlerTest, OpenFailures)
{
    const std::string picked = Crlf({"[TRANSPONDER]", "Timeout=7", "Setting=9600,N,8,1"});
    struct Row {
        const char* what;
        std::function<void()> setup;
        std::optional<std::string> browse; // the name picked in the folder ("" cancels); none = no dialog
        std::optional<int> answer;         // the question's answer; none = no question
        std::vector<ShownBox> boxes;
        int16_t result;
        std::string timeoutAndBaud;
    };
    const std::vector<Row> rows = {
        {"missing, cancelled, Yes", [] {}, "", 6, {QuestionBox}, 0, "1|"},
        {"missing, cancelled, No", [] {}, "", 7, {QuestionBox}, 3, "0|"},
        {"missing, name refused", [&] { Put("Bergen.INI", picked); }, "Bergen.INI", 7, {QuestionBox}, 3, "0|"},
        {"missing, qtl*.ini picked", [&] { Put("qtlsite.ini", picked); }, "qtlsite.ini", {}, {}, 0, "7|9600"},
        {"missing, picked file gone", [] {}, "QTL1.INI", 6, {FileBox(" 53: File not found."), QuestionBox}, 0,
         "1|"},
        {"missing, picked a folder", [&] { fs::create_directory(PathOf("QTL.INI")); }, "QTL.INI", 7,
         {FileBox(" 75: Path/File access error."), QuestionBox}, 3, "0|"},
        {"folder missing", [&] { Fresh(folder + "/gone"); }, "", 7, {QuestionBox}, 3, "0|"},
        {"bad name", [&] { Fresh(folder + "/" + std::string(300, 'x')); }, "", 6,
         {FileBox(" 64: Bad file name."), QuestionBox}, 0, "1|"},
        {"file is a folder", [&] { fs::create_directory(PathOf(SettingsFile)); }, {}, 7,
         {FileBox(" 75: Path/File access error."), QuestionBox}, 3, "0|"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir rowDir;
        folder = rowDir.path().toStdString();
        Fresh();
        row.setup();
        ScriptedDialogs boxes;
        if (row.browse) {
            boxes.AnswerOpen(row.browse->empty() ? "" : " " + PathOf(*row.browse) + " ");
        }
        if (row.boxes.size() > 1) {
            boxes.Answer(MsgBoxResult::OK); // the file error's box
        }
        if (row.answer) {
            boxes.Answer(*row.answer);
        }
        EXPECT_EQ(ReadIniFile(), row.result);
        EXPECT_EQ(boxes.Boxes(), row.boxes);
        EXPECT_EQ(VB::NumText(AppSettings.TpdrTelemWait()) + "|" + AppSettings.sTpdrComPortBaud(), row.timeoutAndBaud);
    }
}

TEST_F(FileHandlerTest, BrowseAcceptsOnlyQtlIniNames)
{
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"", ""},
        {"/data/QTL1.INI", "/data/QTL1.INI"},
        {"  C:\\Data\\qtl.ini  ", "C:\\Data\\qtl.ini"},
        {"/data/QTL.IN", ""},
        {"/data/QTLINI", ""},
        {"/data/Bergen.INI", ""},
        {"/data/QTLsite.txt", ""},
        {"/data/XQTL1.INI", ""},
    };
    for (const auto& [chosen, expected] : rows) {
        SCOPED_TRACE(chosen);
        ScriptedDialogs boxes;
        boxes.AnswerOpen(chosen);
        EXPECT_EQ(BrowseIniFile(), expected);
        ASSERT_EQ(boxes.FileRequests().size(), 1u);
        const FileDialogRequest& request = boxes.FileRequests()[0];
        EXPECT_EQ(request.title, "Corvel Tidelet .INI File");
        EXPECT_EQ(request.filter, "Corvel Tidelet INI Files (QTL*.INI)|QTL*.INI");
        EXPECT_EQ(request.initialDir, folder);
        EXPECT_TRUE(request.fileMustExist);
    }
}

// The file is found whatever the case of its name; the exact name wins; the
// writer replaces the file it found, keeping its mode.
TEST_F(FileHandlerTest, FindsTheFileWhateverItsCase)
{
    struct Row {
        std::vector<std::string> files; // each holds PingRate=<its position>; "dir:" makes a folder
        bool found;
        int16_t pingRead;
    };
    const std::vector<Row> rows = {
        {{"DIDeradediv.INI"}, true, 1},
        {{"dideradediv.ini"}, true, 1},
        {{"DIDERADEDIV.INI", "DIDeradediv.INI"}, true, 2},
        {{"DIDeradediv.INI.bak", "Other.INI"}, false, 0},
        {{"dir:DIDeradediv.INI"}, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.files[0]);
        QTemporaryDir rowDir;
        folder = rowDir.path().toStdString();
        App::SetPath(folder);
        AppSettings = clsSettings{};
        for (size_t i = 0; i < row.files.size(); ++i) {
            if (row.files[i].rfind("dir:", 0) == 0) {
                fs::create_directory(PathOf(row.files[i].substr(4)));
            } else {
                Put(row.files[i], Crlf({"[TRANSPONDER]", "PingRate=" + std::to_string(i + 1)}));
                ::chmod(PathOf(row.files[i]).c_str(), 0640);
            }
        }
        const std::vector<std::string> before = Listing();
        int shown = 0;
        EXPECT_EQ(CheckIniPath("\\DIDeradediv.INI", [&] { ++shown; }), row.found);
        EXPECT_EQ(shown, row.found ? 0 : 1);
        EXPECT_EQ(AppSettings.AppPath(), row.found ? folder : "");
        if (!row.found) {
            continue;
        }
        ASSERT_EQ(ReadIniFile(), 0);
        EXPECT_EQ(AppSettings.PingRate(), row.pingRead);
        WriteIniFile();
        EXPECT_EQ(Listing(), before);
        const std::string written = row.files[row.pingRead - 1];
        EXPECT_EQ(Get(written).substr(0, 9), "; Spanwav");
        EXPECT_EQ(fs::status(PathOf(written)).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    App::SetPath(folder + "/gone");
    EXPECT_FALSE(CheckIniPath("\\DIDeradediv.INI", [] {}));
}

// A failed write leaves the old file as it was and no temporary file behind.
TEST_F(FileHandlerTest, FailedWriteKeepsTheOldFile)
{
    const std::string target = PathOf(SettingsFile);
    struct Row {
        const char* what;
        std::function<std::function<void()>()> breakIt; // returns the repair
        int32_t number;
    };
    std::vector<Row> rows = {
        {"read-only file",
         [&] {
             ::chmod(target.c_str(), 0444);
             return [&] { ::chmod(target.c_str(), 0644); };
         },
         ErrNo::PermissionDenied},
        {"no room part-way (file size limit)",
         [] {
             rlimit saved{};
             ::getrlimit(RLIMIT_FSIZE, &saved);
             rlimit small = saved;
             small.rlim_cur = 100;
             const auto handler = std::signal(SIGXFSZ, SIG_IGN);
             ::setrlimit(RLIMIT_FSIZE, &small);
             return [saved, handler] {
                 ::setrlimit(RLIMIT_FSIZE, &saved);
                 std::signal(SIGXFSZ, handler);
             };
         },
         ErrNo::DiskFull},
        {"folder missing",
         [&] {
             AppSettings.AppPath(folder + "/gone");
             return [] {};
         },
         ErrNo::PathNotFound},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Fresh();
        AppSettings.Defaults();
        Put(SettingsFile, "OLD\r\n");
        const std::vector<std::string> before = Listing();
        const auto repair = row.breakIt();
        const int32_t number = ErrorOf(WriteIniFile);
        repair();
        EXPECT_EQ(number, row.number);
        EXPECT_EQ(Get(SettingsFile), "OLD\r\n");
        EXPECT_EQ(Listing(), before);
    }
}

// The file system's identity of an ordinary user for the life of the object,
// when the tests run as root: the system lets its administrator write into a
// read-only folder, so the folder would not be read-only for the test. Only
// this thread's file access changes.
class OrdinaryUser {
public:
    static constexpr uid_t Nobody = 65534;
    // `paths` become the ordinary user's own.
    explicit OrdinaryUser(const std::vector<std::string>& paths) : root_(::geteuid() == 0)
    {
        if (!root_) {
            return;
        }
        for (const std::string& path : paths) {
            EXPECT_EQ(::chown(path.c_str(), Nobody, Nobody), 0) << path;
        }
        ::setfsgid(Nobody);
        ::setfsuid(Nobody);
        EXPECT_EQ(::setfsuid(static_cast<uid_t>(-1)), Nobody) << "cannot take another user's file access";
    }
    ~OrdinaryUser()
    {
        if (root_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    bool root_;
};

// In a read-only folder no temporary file can be made: a writable settings
// file is then written in place; a write-protected one still is not.
TEST_F(FileHandlerTest, ReadOnlyFolderWritesTheFileInPlace)
{
    const std::string target = PathOf(SettingsFile);
    const struct {
        const char* what;
        mode_t fileMode;
        int32_t number;
    } rows[] = {
        {"writable file", 0644, 0},
        {"read-only file", 0444, ErrNo::PermissionDenied},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Fresh();
        AppSettings.Defaults();
        Put(SettingsFile, "OLD\r\n");
        ::chmod(target.c_str(), row.fileMode);
        ::chmod(folder.c_str(), 0555);
        int32_t number = 0;
        {
            const OrdinaryUser user({folder, target});
            // The folder really is read-only for the writer.
            const int probe = ::open(PathOf("probe").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            const int probeError = errno;
            EXPECT_EQ(probe, -1);
            EXPECT_EQ(probeError, EACCES);
            try {
                WriteIniFile();
            } catch (const VBError& e) {
                number = e.Number();
            }
        }
        ::chmod(folder.c_str(), 0755);
        ::chmod(target.c_str(), 0644);
        EXPECT_EQ(number, row.number);
        EXPECT_EQ(Listing(), std::vector<std::string>{SettingsFile});
        const std::string written = Get(SettingsFile);
        if (row.number == 0) {
            EXPECT_TRUE(written.starts_with("; Spanwave Tidelet - Dynamic Parameters\r\n")) << written;
            EXPECT_TRUE(written.ends_with("\r\nNumOfVTLInterrogations=0\r\n")) << written;
        } else {
            EXPECT_EQ(written, "OLD\r\n");
        }
    }
}

TEST(FileHandlerText, IniValueAndFileNameFromPath)
{
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Timeout=1", "1"},
        {"Timeout=", ""},
        {"=abc", ""},
        {"   =abc  ", ""},
        {"a=b=c", "c"},
        {"  Key =  v w  ", "v w"},
        {"NoEquals", ""},
        {"", ""},
    };
    for (const auto& [line, value] : values) {
        EXPECT_EQ(IniValue(line), value) << line;
    }
    const std::vector<std::pair<std::string, std::string>> names = {
        {"C:\\Data\\QTL1.INI", "QTL1.INI"},
        {"C:\\Data\\", ""},
        {"  C:\\a\\b.ini  ", "b.ini"},
        {"/home/op/QTL1.INI", "QTL1.INI"},
        {"/home/op/", ""},
        {"C:\\a/b\\c", "c"},
        {"QTL1.INI", "QTL1.INI"},
        {"   ", ""},
    };
    for (const auto& [path, name] : names) {
        EXPECT_EQ(FileNameFromPath(path), name) << path;
    }
}

} // namespace
