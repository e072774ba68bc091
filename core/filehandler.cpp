#include "filehandler.h"

#include "appinfo.h"
#include "clsSettings.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "globals.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <system_error>
#include <variant>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace FileHandler {
namespace {

constexpr char ReadProcName[] = "ReadIniFile (FileHandler)";
// The serial-port dialog offers, and the writer saves, COM1 to COM16.
constexpr int32_t HighestPort = 16;

// ---------------------------------------------------------------- the lines

template <typename T, typename Arg = T>
struct Prop {
    T (clsSettings::*get)() const;
    void (clsSettings::*set)(Arg);
};
using IntegerProp = Prop<int16_t>;
using LongProp = Prop<int32_t>;
using SingleProp = Prop<float>;
using BooleanProp = Prop<bool>;
using TextProp = Prop<std::string, const std::string&>;

struct TitleLine {};
struct PortEntry { LongProp port; };          // "COMn", or nothing for no port
struct ChoiceEntry { LongProp choice; };      // TestChanType by name
struct PortSettingsEntry { TextProp baud; TextProp bits; }; // "1200,N,8,1"

using Kind = std::variant<std::monostate, TitleLine, PortEntry, ChoiceEntry, PortSettingsEntry, IntegerProp,
                          LongProp, SingleProp, BooleanProp, TextProp>;

struct Line {
    const char* text; // the whole line; for an entry, its key
    Kind kind;
};

const char* const TestChanTypeNames[] = {"MainChan", "DualMode", "Alternative"};

// The file as written, line by line; the reader takes its sections and keys from it.
const std::vector<Line>& Lines()
{
    using S = clsSettings;
    static const std::vector<Line> lines = {
        {"; Spanwave Tidelet - Dynamic Parameters", {}},
        {"", {}},
        {"", TitleLine{}},
        {"", {}},
        {"[COMMS]", {}},
        {"Transponder", PortEntry{{&S::TpdrComPort, &S::TpdrComPort}}},
        {"VOV", PortEntry{{&S::ANTComPort, &S::ANTComPort}}},
        {"", {}},
        {"[TRANSPONDER]", {}},
        {"Setting", PortSettingsEntry{{&S::sTpdrComPortBaud, &S::sTpdrComPortBaud},
                                      {&S::sTpdrComPortBits, &S::sTpdrComPortBits}}},
        {"DownLoadSetting", PortSettingsEntry{{&S::sTpdrDownLoadComPortBaud, &S::sTpdrDownLoadComPortBaud},
                                              {&S::sTpdrDownLoadComPortBits, &S::sTpdrDownLoadComPortBits}}},
        {"Timeout", SingleProp{&S::TpdrTelemWait, &S::TpdrTelemWait}},
        {"DelayBetweenCmds", SingleProp{&S::DelayBetweenCmds, &S::DelayBetweenCmds}},
        {"PingRate", IntegerProp{&S::PingRate, &S::PingRate}},
        {"HexFilePath", TextProp{&S::HexDownloadPath, &S::HexDownloadPath}},
        {"RecordTimeout", IntegerProp{&S::DownloadWait, &S::DownloadWait}},
        {"DelayBetweenRecords", LongProp{&S::RecordDelay, &S::RecordDelay}},
        {"RecordAttempts", IntegerProp{&S::RecordAttempts, &S::RecordAttempts}},
        {"DownloadListAll", BooleanProp{&S::DownloadListAll, &S::DownloadListAll}},
        {"", {}},
        {"[VOV]", {}},
        {"RangeWait", SingleProp{&S::ANTRangeWait, &S::ANTRangeWait}},
        {"DepthWait", SingleProp{&S::ANTDepthWait, &S::ANTDepthWait}},
        {"MemoryReadTime", SingleProp{&S::ANTReadTime, &S::ANTReadTime}},
        {"MemoryWriteTime", SingleProp{&S::ANTWriteTime, &S::ANTWriteTime}},
        {"ANTGoAttempts", IntegerProp{&S::ANTGoAttempts, &S::ANTGoAttempts}},
        {"RxAttenuation", SingleProp{&S::ANTRxAtten, &S::ANTRxAtten}},
        {"TxAttenuation", SingleProp{&S::ANTTxAtten, &S::ANTTxAtten}},
        {"TxPulseWidth1", SingleProp{&S::ANTTxPWidth1, &S::ANTTxPWidth1}},
        {"TxPulseWidth2", SingleProp{&S::ANTTxPWidth2, &S::ANTTxPWidth2}},
        {"HPR400Period", SingleProp{&S::HPR400Period, &S::HPR400Period}},
        {"ValidateTime", SingleProp{&S::ANTValTime, &S::ANTValTime}},
        {"SampleTime", LongProp{&S::ANTSampleTime, &S::ANTSampleTime}},
        {"", {}},
        {"[TEST PARAMS]", {}},
        {"TestChanType", ChoiceEntry{{&S::TestChanType, &S::TestChanType}}},
        {"CCFOperatorOnly", BooleanProp{&S::CCFOperatorOnly, &S::CCFOperatorOnly}},
        {"CCFDelay", SingleProp{&S::CCFDelay, &S::CCFDelay}},
        {"ChangeChanViaRS232", BooleanProp{&S::RS232ChanChange, &S::RS232ChanChange}},
        {"LoopTest", BooleanProp{&S::TestChanLoop, &S::TestChanLoop}},
        {"UpdateRate", IntegerProp{&S::ANTInterrogationRate, &S::ANTInterrogationRate}},
        {"DepthScale", SingleProp{&S::DepthScale, &S::DepthScale}},
        {"DepthSensor", LongProp{&S::DepthSensor, &S::DepthSensor}},
        {"DisplayDepth", BooleanProp{&S::DisplayDepth, &S::DisplayDepth}},
        {"TpdrTemperature", LongProp{&S::BattLifeTemperature, &S::BattLifeTemperature}},
        {"TemperaturePings", IntegerProp{&S::BattLifePings, &S::BattLifePings}},
        {"ShowChargingAdvice", BooleanProp{&S::BattLifeAdvice, &S::BattLifeAdvice}},
        {"BattChargeThreshold", IntegerProp{&S::BattChargeThreshold, &S::BattChargeThreshold}},
        {"TcvrQTLChannel", IntegerProp{&S::TcvrQTLChannel, &S::TcvrQTLChannel}},
        {"TcvrFile", TextProp{&S::TcvrFile, &S::TcvrFile}},
        {"SpeedOfSound", SingleProp{&S::SpeedOfSound, &S::SpeedOfSound}},
        {"TargetTpdrRangeWait", IntegerProp{&S::TargetTpdrRangeWait, &S::TargetTpdrRangeWait}},
        {"DisplayInMetres", BooleanProp{&S::DisplayMetres, &S::DisplayMetres}},
        {"TargetTpdrTAT", LongProp{&S::TargetTAT, &S::TargetTAT}},
        {"SubtractTAT", BooleanProp{&S::SubractTAT, &S::SubractTAT}},
        {"RepeatTcvrTest", BooleanProp{&S::RepeatTcvrTest, &S::RepeatTcvrTest}},
        {"RepeatTcvrTime", IntegerProp{&S::RepeatTcvrTime, &S::RepeatTcvrTime}},
        {"IsQTLTcvrTestType", BooleanProp{&S::IsQTLTcvrTest, &S::IsQTLTcvrTest}},
        {"TcvrRxQuillatChan", LongProp{&S::QuillatRxChan, &S::QuillatRxChan}},
        {"TcvrTxQuillatChan", LongProp{&S::QuillatTxChan, &S::QuillatTxChan}},
        {"TcvrElement", IntegerProp{&S::TcvrElement, &S::TcvrElement}},
        {"AddressCode", IntegerProp{&S::AddressCode, &S::AddressCode}},
        {"ICFChannel", IntegerProp{&S::ICFChannel, &S::ICFChannel}},
        {"NumOfVTLInterrogations", LongProp{&S::VTLNumOfInts, &S::VTLNumOfInts}},
    };
    return lines;
}

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string WrittenLine(const Line& line)
{
    const clsSettings& s = AppSettings;
    const std::string key = std::string(line.text) + "=";
    return std::visit(
        Overloaded{
            [&](std::monostate) { return std::string(line.text); },
            [&](TitleLine) { return AppTitleVersion(); },
            [&](const PortEntry& e) {
                const int32_t port = (s.*e.port.get)();
                return key + (port > 0 ? "COM" + VB::NumText(port) : std::string());
            },
            [&](const ChoiceEntry& e) {
                const int32_t choice = (s.*e.choice.get)();
                return choice >= 1 && choice <= 3 ? key + TestChanTypeNames[choice - 1] : std::string();
            },
            [&](const PortSettingsEntry& e) {
                return key + VB::Trim((s.*e.baud.get)()) + "," + VB::Trim((s.*e.bits.get)());
            },
            [&](const IntegerProp& p) { return key + VB::NumText(int32_t{(s.*p.get)()}); },
            [&](const LongProp& p) { return key + VB::NumText((s.*p.get)()); },
            [&](const SingleProp& p) { return key + VB::NumText((s.*p.get)()); },
            [&](const BooleanProp& p) { return key + ((s.*p.get)() ? "True" : "False"); },
            [&](const TextProp& p) { return key + VB::Trim((s.*p.get)()); },
        },
        line.kind);
}

// ---------------------------------------------------------------- reading

// The entries of each section by key in upper case, the sections by header.
using Section = std::map<std::string, const Line*>;

const std::map<std::string, Section>& Sections()
{
    static const std::map<std::string, Section> sections = [] {
        std::map<std::string, Section> out;
        std::string current;
        for (const Line& line : Lines()) {
            if (std::holds_alternative<std::monostate>(line.kind)) {
                if (line.text[0] == '[') {
                    current = line.text;
                }
            } else if (!std::holds_alternative<TitleLine>(line.kind)) {
                out[current][VB::UCase(line.text)] = &line;
            }
        }
        return out;
    }();
    return sections;
}

// The nearest Single; error 6 where that would be infinite.
float ToSingle(double value)
{
    constexpr double Limit = 0x1.ffffffp127; // halfway above the largest Single
    if (std::fabs(value) >= Limit) {
        Raise(ErrNo::Overflow);
    }
    return static_cast<float>(value);
}

// A reply wait or delay from a hand-edited file must not freeze the window:
// both come into the serial-port dialog's bounds.
float Bounded(const SingleProp& p, float value)
{
    if (p.set == static_cast<void (clsSettings::*)(float)>(&clsSettings::TpdrTelemWait)) {
        return std::clamp(value, WaitBounds::MinTelemWait, WaitBounds::MaxTelemWait);
    }
    if (p.set == static_cast<void (clsSettings::*)(float)>(&clsSettings::DelayBetweenCmds)) {
        return std::clamp(value, WaitBounds::MinDelay, WaitBounds::MaxDelay);
    }
    return value;
}

// `value` is trimmed (IniValue) and upper-cased with its line. Every value goes
// through the setter, so the store's own checks apply.
void ApplyEntry(const Line& line, const std::string& value)
{
    clsSettings& s = AppSettings;
    std::visit(Overloaded{
                   [](std::monostate) {},
                   [](TitleLine) {},
                   [&](const PortEntry& e) {
                       for (int32_t port = 1; port <= HighestPort; ++port) {
                           if (value == "COM" + VB::NumText(port)) {
                               (s.*e.port.set)(port);
                           }
                       }
                   },
                   [&](const ChoiceEntry& e) {
                       for (int32_t choice = 1; choice <= 3; ++choice) {
                           if (value == VB::UCase(TestChanTypeNames[choice - 1])) {
                               (s.*e.choice.set)(choice);
                           }
                       }
                   },
                   [&](const PortSettingsEntry& e) {
                       const size_t comma = value.find(',');
                       if (comma == std::string::npos || comma == 0) {
                           (s.*e.baud.set)(PortDefaults::Baud);
                           (s.*e.bits.set)(PortDefaults::Bits);
                       } else {
                           (s.*e.baud.set)(value.substr(0, comma));
                           (s.*e.bits.set)(value.substr(comma + 1));
                       }
                   },
                   [&](const IntegerProp& p) {
                       if (VB::IsDecimal(value)) {
                           (s.*p.set)(VB::CInt(VB::DecimalVal(value)));
                       }
                   },
                   [&](const LongProp& p) {
                       if (VB::IsDecimal(value)) {
                           (s.*p.set)(VB::CLng(VB::DecimalVal(value)));
                       }
                   },
                   [&](const SingleProp& p) {
                       if (VB::IsDecimal(value)) {
                           (s.*p.set)(Bounded(p, ToSingle(VB::DecimalVal(value))));
                       }
                   },
                   [&](const BooleanProp& p) { (s.*p.set)(value == "TRUE"); },
                   [&](const TextProp& p) { (s.*p.set)(value); },
               },
               line.kind);
}

// A line ends at CR LF, CR or LF: a file edited elsewhere must not read as
// one line (and be written back empty at Exit).
std::vector<std::string> SplitLines(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
        if (content[end] == '\r' && start < content.size() && content[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

void ReadSettings(const std::string& content)
{
    const Section* current = nullptr;
    for (const std::string& raw : SplitLines(content)) {
        const std::string line = VB::UCase(VB::Trim(raw));
        const auto header = Sections().find(line);
        if (header != Sections().end()) {
            current = &header->second;
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const auto entry = current->find(line.substr(0, line.find('='))); // the key is not trimmed
        if (entry != current->end()) {
            ApplyEntry(*entry->second, IniValue(line));
        }
    }
}

// ---------------------------------------------------------------- the file system

std::string PathInFolder(const std::string& folder, const std::string& fixedName)
{
    std::string name = fixedName;
    std::replace(name.begin(), name.end(), '\\', '/');
    name.erase(0, name.find_first_not_of('/'));
    return folder + "/" + name;
}

bool IsRegularFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The file `fixedName` in `folder`: the exact name, else the first name in
// order that differs only in case; "" when there is none.
std::string FindFile(const std::string& folder, const std::string& fixedName)
{
    const std::string exact = PathInFolder(folder, fixedName);
    if (exact.find('\0') != std::string::npos) {
        return {};
    }
    if (IsRegularFile(exact)) {
        return exact;
    }
    const fs::path exactPath(exact);
    const std::string wanted = VB::UCase(exactPath.filename().string());
    std::string found;
    std::error_code ec;
    for (fs::directory_iterator it(exactPath.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().string();
        if (VB::UCase(it->path().filename().string()) == wanted && IsRegularFile(it->path()) &&
            (found.empty() || candidate < found)) {
            found = candidate;
        }
    }
    return found;
}

std::string SettingsPath(const std::string& folder)
{
    const std::string fixedName = std::string("\\") + SettingsFile;
    const std::string found = FindFile(folder, fixedName);
    return found.empty() ? PathInFolder(folder, fixedName) : found;
}

// The file error number of a failed operation on `path`.
int32_t FileErrorNumber(const std::error_code& ec, const std::string& path)
{
    if (ec == std::errc::no_such_file_or_directory) {
        std::error_code folderError;
        return fs::is_directory(fs::path(path).parent_path(), folderError) ? ErrNo::FileNotFound
                                                                            : ErrNo::PathNotFound;
    }
    if (ec == std::errc::not_a_directory) {
        return ErrNo::PathNotFound;
    }
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system) {
        return ErrNo::PermissionDenied;
    }
    if (ec == std::errc::filename_too_long || ec == std::errc::invalid_argument ||
        ec == std::errc::illegal_byte_sequence) {
        return ErrNo::BadFileName;
    }
    if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large
#ifdef EDQUOT
        || ec == std::error_condition(EDQUOT, std::generic_category())
#endif
    ) {
        return ErrNo::DiskFull;
    }
    if (ec == std::errc::io_error) {
        return ErrNo::DeviceIOError;
    }
    return ErrNo::PathFileAccessError;
}

std::error_code LastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

// The whole file as bytes; 0 or the file error number.
int32_t LoadFile(const std::string& path, std::string& content)
{
    content.clear();
    if (path.find('\0') != std::string::npos) {
        return ErrNo::BadFileName;
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return ErrNo::PathFileAccessError;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return FileErrorNumber(LastError(), path);
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, count);
    }
    const std::error_code error = std::ferror(file) != 0 ? LastError() : std::error_code();
    std::fclose(file);
    return error ? FileErrorNumber(error, path) : 0;
}

int SyncToDisk(std::FILE* file)
{
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

int TruncateTo(std::FILE* file, size_t size)
{
#ifdef _WIN32
    return _chsize_s(_fileno(file), static_cast<__int64>(size));
#else
    return ftruncate(fileno(file), static_cast<off_t>(size));
#endif
}

[[noreturn]] void RaiseFileError(const std::error_code& ec, const std::string& path)
{
    Raise(FileErrorNumber(ec, path));
}

// A temporary file removed again unless it was put in place.
struct TempFile {
    std::string path;
    ~TempFile()
    {
        if (!path.empty()) {
            std::error_code ec;
            fs::remove(path, ec);
        }
    }
};

// Overwrites the existing file `target` itself, for a folder where no new
// file may be made. The old contents are lost only if this write fails
// part-way.
void WriteInPlace(const std::string& target, const std::string& content)
{
    std::FILE* file = std::fopen(target.c_str(), "r+b");
    if (file == nullptr) {
        RaiseFileError(LastError(), target);
    }
    std::error_code error;
    if (std::fwrite(content.data(), 1, content.size(), file) != content.size() || std::fflush(file) != 0 ||
        TruncateTo(file, content.size()) != 0 || SyncToDisk(file) != 0) {
        error = LastError();
    }
    if (std::fclose(file) != 0 && !error) {
        error = LastError();
    }
    if (error) {
        RaiseFileError(error, target);
    }
}

// Writes `content` to a new file beside `target` and puts it in the target's
// place only once it is complete and on disk, so that a failure anywhere
// leaves the old file as it was.
void SaveReplacing(std::string target, const std::string& content)
{
    if (target.find('\0') != std::string::npos) {
        Raise(ErrNo::BadFileName);
    }
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        target = fs::weakly_canonical(target, ec).string(); // write where the link points
        if (ec) {
            RaiseFileError(ec, target);
        }
    }
    const fs::path targetPath(target);
    if (!fs::is_directory(targetPath.parent_path(), ec)) {
        Raise(ErrNo::PathNotFound);
    }
    const fs::file_status old = fs::status(targetPath, ec);
    const bool replacing = fs::exists(old);
    if (replacing) {
        if (!fs::is_regular_file(old)) {
            Raise(ErrNo::PathFileAccessError);
        }
        // A write-protected file stays protected, also from a user whom the
        // system would let replace it.
        constexpr fs::perms writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((old.permissions() & writeBits) == fs::perms::none) {
            Raise(ErrNo::PermissionDenied);
        }
        std::FILE* probe = std::fopen(target.c_str(), "r+b");
        if (probe == nullptr) {
            RaiseFileError(LastError(), target);
        }
        std::fclose(probe);
    }

    TempFile temp;
    std::FILE* file = nullptr;
    std::random_device random;
    for (int attempt = 0; file == nullptr && attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        const std::string candidate = target + suffix;
        errno = 0;
        file = std::fopen(candidate.c_str(), "wbx");
        if (file != nullptr) {
            temp.path = candidate;
        } else if (errno != EEXIST) {
            const std::error_code ec = LastError();
            // A read-only folder with a writable file in it: the plain write
            // still works where the safe replacement cannot.
            if (replacing && (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)) {
                WriteInPlace(target, content);
                return;
            }
            RaiseFileError(ec, candidate);
        }
    }
    if (file == nullptr) {
        Raise(ErrNo::PathFileAccessError);
    }
    std::error_code error;
    if (std::fwrite(content.data(), 1, content.size(), file) != content.size() || std::fflush(file) != 0 ||
        SyncToDisk(file) != 0) {
        error = LastError();
    }
    if (std::fclose(file) != 0 && !error) {
        error = LastError();
    }
    if (error) {
        RaiseFileError(error, temp.path);
    }
    if (replacing) {
        fs::permissions(temp.path, old.permissions(), ec); // keep the old file's mode; not vital
    }
    fs::rename(temp.path, targetPath, ec);
    if (ec) {
        RaiseFileError(ec, target);
    }
    temp.path.clear();
}

} // namespace

// ---------------------------------------------------------------- procedures

bool CheckIniPath(const std::string& fileName, const std::function<void()>& showPathNotFound)
{
    const std::string folder = App::Path();
    if (!FindFile(folder, fileName).empty()) {
        AppSettings.AppPath(folder);
        return true;
    }
    if (showPathNotFound) {
        showPathNotFound();
    }
    return false;
}

int16_t ReadIniFile()
{
    try {
        std::string path = SettingsPath(AppSettings.AppPath());
        std::string content;
        int32_t error = LoadFile(path, content);
        if (error != 0) {
            if (ErrorHandler::FileErrors(error, false) != ErrorHandler::Action::Continue) {
                ErrorHandler::CatchAllErrors(error, ErrorDescription(error), ReadProcName);
                return ReadResult::CatchAll;
            }
            path.clear();
            if (error == 53 || error == 58 || error == 64 || error == 76) {
                path = BrowseIniFile();
                if (!path.empty()) {
                    error = LoadFile(path, content);
                    if (error != 0) {
                        // The operator picked it, so its failure is reported; no second attempt.
                        if (ErrorHandler::FileErrors(error, true) != ErrorHandler::Action::Continue) {
                            ErrorHandler::CatchAllErrors(error, ErrorDescription(error), ReadProcName);
                            return ReadResult::CatchAll;
                        }
                        path.clear();
                    }
                }
            }
        }
        if (path.empty()) {
            const int answer = MsgBox("You may continue without a .INI file if you wish.\n\nContinue?",
                                      MsgBoxStyle::YesNo | MsgBoxStyle::Question, "Corvel Tidelet Initialisation File");
            if (answer != MsgBoxResult::Yes) {
                return ReadResult::Declined;
            }
            AppSettings.Defaults();
            return ReadResult::Read;
        }
        ReadSettings(content);
        return ReadResult::Read;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), ReadProcName);
        return ReadResult::CatchAll;
    }
}

void WriteIniFile()
{
    clsSettings& s = AppSettings;
    s.FillEmptyPortTexts();
    std::string content;
    for (const Line& line : Lines()) {
        content += WrittenLine(line);
        content += "\r\n";
    }
    SaveReplacing(SettingsPath(s.AppPath()), content);
}

std::string BrowseIniFile()
{
    try {
        FileDialogRequest request;
        request.title = "Corvel Tidelet .INI File";
        request.filter = "Corvel Tidelet INI Files (QTL*.INI)|QTL*.INI";
        request.initialDir = AppSettings.AppPath();
        request.fileMustExist = true;
        const std::string chosen = Platform::Dialogs().OpenFile(request);
        const std::string name = FileNameFromPath(chosen);
        if (name.size() >= 7 && VB::UCase(name.substr(0, 3)) == "QTL" && VB::UCase(name.substr(name.size() - 4)) == ".INI") {
            return VB::Trim(chosen);
        }
    } catch (const std::exception&) {
        // Whatever goes wrong with the dialog, no file was chosen.
    }
    return {};
}

std::string IniValue(const std::string& line)
{
    const std::string s = VB::Trim(line);
    const size_t equals = s.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        return {};
    }
    return VB::Trim(s.substr(equals + 1));
}

std::string FileNameFromPath(const std::string& path)
{
    const std::string s = VB::Trim(path);
    const size_t separator = s.find_last_of("\\/");
    return separator == std::string::npos ? s : s.substr(separator + 1);
}

} // namespace FileHandler
