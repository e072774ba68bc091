// The firmware download, as far as the main window takes part in it.
#pragma once

#include <memory>

class clsDownload {
public:
    // Whether the download password was accepted.
    bool Password() const { return password_; }
    void Password(bool v) { password_ = v; }

private:
    bool password_ = false;
};

// Made by the main window's download command for one download, released after it.
extern std::unique_ptr<clsDownload> TpdrDownload;
// Set by the download dialog once a download has started.
extern bool DownloadAttempted;
