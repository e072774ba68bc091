// The settings file: read into AppSettings at start-up, written back when the
// operator leaves through Exit. Plain 8-bit text; lines end in CR LF.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace FileHandler {

// The settings file in the program folder. Callers name it with a leading
// backslash ("\DIDeradediv.INI"); a backslash in such a fixed name stands for
// the folder separator. On a case-sensitive file system the file is found
// whatever the case of its name: the exact name first, then any match.
constexpr char SettingsFile[] = "DIDeradediv.INI";

namespace ReadResult {
constexpr int16_t Read = 0;     // settings read, or the operator went on with the defaults
constexpr int16_t Declined = 3; // the operator would not go on without a settings file
constexpr int16_t CatchAll = 4; // an unexpected error, reported by CatchAllErrors
} // namespace ReadResult

// Start-up check: the settings file `fileName` exists in the program folder.
// True: AppSettings.AppPath := the folder. False: showPathNotFound runs and
// nothing is stored.
bool CheckIniPath(const std::string& fileName, const std::function<void()>& showPathNotFound);

// Fills AppSettings from the settings file in AppSettings.AppPath; when it
// cannot be opened, offers the browse dialog (missing file, bad name) and then
// the choice of going on with the defaults.
int16_t ReadIniFile();

// Writes AppSettings to the settings file in AppSettings.AppPath. The new file
// replaces the old one only once it is complete; on failure the old file stays
// and VBError carries the file error number (61 disk full, 70 permission
// denied, 75 path/file access, 76 path not found, 57 device I/O...).
void WriteIniFile();

// The operator picks a settings file named QTL*.INI; its full path or "".
std::string BrowseIniFile();

// The value part of an entry: the text after the last "=", trimmed.
std::string IniValue(const std::string& line);

// The file name part of a path; "\" and "/" both separate. A path without a
// separator is a file name already.
std::string FileNameFromPath(const std::string& path);

} // namespace FileHandler
