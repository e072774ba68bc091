// The settings-file reader and writer, fed any file. The reader never
// crashes; the waits it takes stay within their bounds; the writer's file
// always reads back, and reading and writing it again changes nothing.
#include "clsSettings.h"
#include "filehandler.h"
#include "fuzz_support.h"
#include "vberror.h"

#include <cstdint>
#include <string>

namespace {

std::string SettingsPath() { return Fuzz::ScratchFolder() + "/" + FileHandler::SettingsFile; }

int16_t ReadFresh()
{
    AppSettings = clsSettings();
    AppSettings.AppPath(Fuzz::ScratchFolder());
    return FileHandler::ReadIniFile();
}

std::string WriteOut()
{
    try {
        FileHandler::WriteIniFile();
    } catch (const VBError&) {
        Fuzz::Check(false, "the settings file could not be written");
    }
    return Fuzz::ReadBytes(SettingsPath());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::InstallQuietDialogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::WriteBytes(SettingsPath(), std::string(reinterpret_cast<const char*>(data), size));
    // 4: a number too large for its setting, reported; the program would end.
    if (ReadFresh() != FileHandler::ReadResult::Read) {
        return 0;
    }
    const float wait = AppSettings.TpdrTelemWait();
    const float delay = AppSettings.DelayBetweenCmds();
    Fuzz::Check(wait == 0.0f || (wait >= WaitBounds::MinTelemWait && wait <= WaitBounds::MaxTelemWait),
                "reply wait out of bounds");
    Fuzz::Check(delay >= WaitBounds::MinDelay && delay <= WaitBounds::MaxDelay, "delay out of bounds");

    std::string written = WriteOut();
    Fuzz::Check(ReadFresh() == FileHandler::ReadResult::Read, "the written file does not read back");
    if (wait == 0.0f) {
        // A file without a reply wait leaves it 0 and writes Timeout=0, which
        // reads back as the least wait: one more round settles it.
        written = WriteOut();
        Fuzz::Check(ReadFresh() == FileHandler::ReadResult::Read, "the written file does not read back");
    }
    Fuzz::Check(WriteOut() == written, "the settings changed when read and written again");
    return 0;
}
