#include "registry.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::string_literals;
using namespace Platform;

namespace {

constexpr uint32_t HKCU = RegRoot::CurrentUser;
using Names = std::vector<std::string>;

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }
    std::string File(const char* name = "sub/test.registry") const { return dir.filePath(name).toStdString(); }
    void Write(const char* name, const QByteArray& bytes) const
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(RegistryStoreTest, ValuesSurviveARestartByteForByte)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(static_cast<unsigned char>(b));
    }
    const std::pair<std::string, RegValue> rows[] = {
        {"Engineering", {RegType::Text, "ABC\0"s}},
        {"Path", {RegType::ExpandText, "%HOME%\\x\0"s}},
        {"Count", {RegType::Number, "\x07\0\0\x80"s}},
        {"List", {RegType::MultiText, "a\0b\0\0"s}},
        {"Blob", {3, everyByte}},
    };
    const std::string key = "Software\\Orvane\\Tidelet Terminal";
    {
        RegistryStore first(File()); // neither the file nor its folder exist yet
        ASSERT_TRUE(first.CreateKey(HKCU, key));
        for (const auto& [name, value] : rows) {
            ASSERT_TRUE(first.SetValue(HKCU, key, name, value));
        }
    }
    RegistryStore second(File());
    ASSERT_TRUE(second.SetValue(HKCU, key, "ENGINEERING", rows[0].second)); // replaced in place, first case kept
    const auto values = second.Values(HKCU, "SOFTWARE\\orvane\\TIDELET TERMINAL");
    ASSERT_EQ(values.size(), std::size(rows));
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i], rows[i]) << rows[i].first;
    }
    const auto info = second.QueryInfo(HKCU, key);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->values, 5);
    EXPECT_EQ(info->subKeys, 0);
    EXPECT_EQ(info->maxValueNameLen, 11);
    EXPECT_EQ(info->maxValueLen, 256);
    EXPECT_FALSE(second.KeyExists(RegRoot::LocalMachine, "Software"));
}

TEST_F(RegistryStoreTest, PathsWithoutRegardToCaseAndOnlyCreateKeyMakesKeys)
{
    RegistryStore store(File());
    for (const char* path : {"Soft\\beta\\x", "SOFT\\Alpha", "soft\\GAMMA", "\\Soft\\ALPHA\\"}) {
        ASSERT_TRUE(store.CreateKey(HKCU, path));
    }
    EXPECT_EQ(store.SubKeys(HKCU, ""), Names{"Soft"});
    EXPECT_EQ(store.SubKeys(HKCU, "soft"), (Names{"Alpha", "beta", "GAMMA"}));
    EXPECT_FALSE(store.SetValue(HKCU, "Soft\\Missing", "v", {RegType::Text, "x"}));
    EXPECT_FALSE(store.KeyExists(HKCU, "Soft\\Missing"));
    EXPECT_FALSE(store.DeleteValue(HKCU, "Soft", "v"));
    EXPECT_FALSE(store.DeleteKey(HKCU, ""));
    EXPECT_FALSE(store.DeleteKey(HKCU, "Soft\\Missing"));
    EXPECT_TRUE(store.DeleteKey(HKCU, "SOFT\\BETA"));
    EXPECT_FALSE(store.KeyExists(HKCU, "Soft\\beta\\x"));
    EXPECT_EQ(store.QueryInfo(HKCU, "Soft")->subKeys, 2);
}

TEST_F(RegistryStoreTest, UnreadableFilesReadAsEmpty)
{
    const QByteArray rows[] = {
        "",
        "not json",
        "{\"roots\": [",
        "[1, 2]",
        "{\"roots\": 5}",
        "{\"roots\": [{\"root\": \"x\", \"keys\": [{\"name\": \"K\"}]}, {\"root\": 2147483649.5, \"keys\": [{\"name\": \"K\"}]}]}",
        "{\"roots\": [{\"root\": 2147483649, \"keys\": [{\"name\": \"\"}, {\"name\": \"a\\\\b\"}, 7],"
        " \"values\": [{\"name\": \"v\", \"type\": \"1\", \"data\": \"x\"}, {\"name\": \"w\", \"type\": 1}]}]}",
        QByteArray("\xff\xfe\0garbage", 10),
    };
    for (const auto& contents : rows) {
        Write("bad.registry", contents);
        RegistryStore store(File("bad.registry"));
        EXPECT_EQ(store.SubKeys(HKCU, ""), Names{}) << contents.constData();
        EXPECT_TRUE(store.Values(HKCU, "").empty()) << contents.constData();
        EXPECT_TRUE(store.CreateKey(HKCU, "K"));
        EXPECT_EQ(RegistryStore(File("bad.registry")).SubKeys(HKCU, ""), Names{"K"});
    }
}

TEST_F(RegistryStoreTest, AFailedSaveCreatesNothing)
{
    Write("plain", "a file where a folder would have to be");
    RegistryStore store(File("plain/test.registry"));
    EXPECT_FALSE(store.CreateKey(HKCU, "K"));
    EXPECT_FALSE(store.KeyExists(HKCU, "K"));
    EXPECT_TRUE(store.CreateKey(HKCU, "")); // the root exists without a file
}

} // namespace
