// What every fuzz program shares: boxes answered at once, a scratch folder,
// and a check that stops the run as a finding.
#pragma once

#include "dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace Fuzz {

// Every box answered with its last button, as an operator in a hurry would
// (OK, Cancel, No); no file is ever picked.
class QuietDialogs : public Platform::DialogProvider {
public:
    int MessageBox(const std::string&, int style, const std::string&) override
    {
        switch (style & 7) {
        case MsgBoxStyle::OKCancel: return MsgBoxResult::Cancel;
        case MsgBoxStyle::YesNo: return MsgBoxResult::No;
        default: return MsgBoxResult::OK;
        }
    }
    std::string OpenFile(const FileDialogRequest&) override { return {}; }
    std::string SaveFile(const FileDialogRequest&) override { return {}; }
};

inline void InstallQuietDialogs()
{
    static QuietDialogs dialogs;
    Platform::SetDialogs(&dialogs);
}

// A folder of its own for the run, in memory where the system offers one.
inline std::string ScratchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/tidelet-fuzz-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

inline std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
            bytes.append(buffer, n);
        }
        std::fclose(f);
    }
    return bytes;
}

// A broken promise of the code under test: report it and stop as a finding.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace Fuzz
