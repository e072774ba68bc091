// Runs the tests inside an offscreen application so that forms and the event
// loop behave as in the program, each test on a fresh store.
#include "clsSettings.h"
#include "resets.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Every test starts from the global store as the program starts: fresh
// parameter objects and settings, the reset hook wired.
class StoreGuard : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        MakeStoreObjects();
        AppSettings = clsSettings();
        WireStore();
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new StoreGuard);
    return RUN_ALL_TESTS();
}
