// Every test starts from the global store as the program starts: fresh
// parameter objects and settings, the reset hook wired. The test main
// installs it once for every test program.
#pragma once

#include "clsSettings.h"
#include "resets.h"

#include <gtest/gtest.h>

class StoreGuard : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        MakeStoreObjects();
        AppSettings = clsSettings();
        WireStore();
    }
};
