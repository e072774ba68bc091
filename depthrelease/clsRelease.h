// The release mechanism, as far as the main window asks about it.
#pragma once

#include <string>

class clsRelease {
public:
    // Whether the model named by the type number carries a release.
    bool ReleaseFittedOK(const std::string& TypeNumber) const;
};
