#include "error_of.h"
#include "RegOp.h"
#include "registry.h"
#include "scripted_dialogs.h"
#include "vberror.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using namespace std::string_literals;
using Platform::RegType::ExpandText;
using Platform::RegType::MultiText;
using Platform::RegType::Number;
using Platform::RegType::Text;
using Platform::RegValue;

namespace {

constexpr uint32_t HKCU = Platform::RegRoot::CurrentUser;
const std::string kKey = "Software\\Orvane\\Tidelet Terminal";
using Texts = std::vector<std::string>;

class RegOpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        Platform::SetRegistryFile(file);
    }
    void TearDown() override
    {
        Platform::SetRegistryFile({});
        QStandardPaths::setTestModeEnabled(false);
    }
    static std::optional<RegValue> Stored(const std::string& name, const std::string& key = kKey)
    {
        return Platform::Registry().QueryValue(HKCU, key, name);
    }
    static void Preset(const std::string& name, const RegValue& value)
    {
        auto store = Platform::Registry();
        ASSERT_TRUE(store.CreateKey(HKCU, kKey));
        ASSERT_TRUE(store.SetValue(HKCU, kKey, name, value));
    }
    QTemporaryDir dir;
    const std::string file = dir.filePath("test.registry").toStdString();
    ScriptedDialogs boxes;
};

TEST_F(RegOpTest, EngineeringValueAcrossRuns)
{
    {
        RegOp reg;
        reg.Key(kKey);
        EXPECT_EQ(reg.Value("Engineering"), RegVariant{});
        EXPECT_TRUE(Platform::Registry().KeyExists(HKCU, kKey)); // reading created the key
        EXPECT_EQ(reg.ValueCount(), 0);
    }
    {
        RegOp reg;
        reg.Key(kKey);
        reg.Value("Engineering", "SECRET"s);
    }
    RegOp reg;
    reg.Key("software\\orvane\\TIDELET TERMINAL");
    EXPECT_EQ(reg.Value("ENGINEERING"), RegVariant{"SECRET"});
    reg.Value("Engineering", ""s); // stored as an empty text, not deleted
    EXPECT_EQ(reg.Value("Engineering"), RegVariant{""});
    EXPECT_EQ(Stored("Engineering"), (RegValue{Text, "\0"s}));
    EXPECT_EQ(RegText(RegOp().Value("Engineering")), ""); // no key: empty, and no box
}

TEST_F(RegOpTest, TypeChosenFromTheValue)
{
    struct Row {
        RegVariant value;
        int32_t options;
        RegValue stored;
        RegVariant readBack;
    };
    const Row rows[] = {
        {""s, 0, {Text, "\0"s}, ""s},
        {"ABC"s, 0, {Text, "ABC\0"s}, "ABC"s},
        {int16_t{7}, 0, {Number, "\x07\0\0\0"s}, 7},
        {int16_t{-7}, 1, {Text, "-7\0"s}, "-7"s},
        {int32_t{-2}, 0, {Number, "\xFE\xFF\xFF\xFF"s}, -2},
        {int32_t{65536}, 2, {Number, "\0\0\1\0"s}, 65536},
        {Texts{"a", "b"}, 0, {MultiText, "a\0b\0\0"s}, "a\0b"s},
        {Texts{"a", "b"}, 2, {MultiText, "a\0b\0\0"s}, Texts{"a", "b"}},
        {Texts{}, 2, {MultiText, "\0\0"s}, Texts{}},
        {RegVariant{}, 0, {}, RegVariant{}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const std::string name = "V" + std::to_string(i);
        RegOp reg;
        reg.Options(row.options);
        reg.Key(kKey);
        EXPECT_EQ(reg.Value(name), RegVariant{}) << name; // fills the cache before the write
        reg.Value(name, row.value);
        EXPECT_EQ(Stored(name).value_or(RegValue{}), row.stored) << name;
        EXPECT_EQ(reg.Value(name), row.readBack) << name;
    }
}

TEST_F(RegOpTest, WritingOverAnExistingValue)
{
    const std::string shown = "Existing value has unsupported data type and will not be overwritten";
    struct Row {
        std::optional<RegValue> existing;
        std::string name;
        RegVariant value;
        int32_t options;
        RegValue stored;
        int32_t error;
        bool box;
    };
    const Row rows[] = {
        {RegValue{Text, "x\0"s}, "N", 5, 0, {Text, "5\0"s}, 0, false},
        {RegValue{ExpandText, "x\0"s}, "N", 5, 0, {Text, "5\0"s}, 0, false},
        {RegValue{Number, "\0\0\0\0"s}, "N", " 12 "s, 0, {Number, "\x0C\0\0\0"s}, 0, false},
        {RegValue{Number, "\0\0\0\0"s}, "N", "2.5"s, 0, {Number, "\x02\0\0\0"s}, 0, false},
        {RegValue{Number, "\0\0\0\0"s}, "N", "12"s, 1, {Text, "12\0"s}, 0, false},
        {RegValue{MultiText, "a\0\0"s}, "N", "t"s, 0, {Text, "t\0"s}, 0, false},
        {std::nullopt, "", 5, 0, {Text, "5\0"s}, 0, false}, // the key's default value is text
        {RegValue{Number, "\1\0\0\0"s}, "N", "abc"s, 0, {Number, "\1\0\0\0"s}, ErrNo::TypeMismatch, false},
        {RegValue{Text, "x\0"s}, "N", Texts{"a"}, 0, {Text, "x\0"s}, ErrNo::TypeMismatch, false},
        {RegValue{3, "bin"s}, "N", "t"s, 0, {3, "bin"s}, 0, false},
        {RegValue{3, "bin"s}, "N", "t"s, 8, {3, "bin"s}, 0, true},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        Platform::Registry().DeleteKey(HKCU, kKey);
        Platform::Registry().CreateKey(HKCU, kKey);
        if (row.existing) {
            Preset(row.name, *row.existing);
        }
        boxes.Clear();
        boxes.AllowBoxes();
        RegOp reg;
        reg.Options(row.options);
        reg.Key(kKey);
        const std::string label = "row " + std::to_string(i);
        EXPECT_EQ(ErrorOf([&] { reg.Value(row.name, row.value); }), row.error) << label;
        EXPECT_EQ(Stored(row.name), row.stored) << label;
        const std::vector<ShownBox> expected{{shown, 48, "Registry Error"}};
        EXPECT_EQ(boxes.Boxes(), row.box ? expected : std::vector<ShownBox>{}) << label;
    }
}

TEST_F(RegOpTest, ReadingEachStoredType)
{
    qputenv("TIDELET_REG_DIR", "/opt/t");
    const std::tuple<RegValue, int32_t, RegVariant> rows[] = {
        {{Text, "abc\0junk"s}, 0, "abc"s},
        {{Text, "abc"s}, 0, "abc"s},
        {{ExpandText, "%TIDELET_REG_DIR%/x\0"s}, 0, "%TIDELET_REG_DIR%/x"s},
        {{ExpandText, "%TIDELET_REG_DIR%/x\0"s}, 4, "/opt/t/x"s},
        {{ExpandText, "%tidelet_reg_dir%|%TIDELET_NO_SUCH%|%%\0"s}, 4, "/opt/t|%TIDELET_NO_SUCH%|%%"s},
        {{ExpandText, "%TIDELET_REG_DIR%" + std::string(1100, 'x') + '\0'}, 4, "/opt/t" + std::string(1018, 'x')},
        {{Number, "\x01\x02"s}, 0, RegVariant{}},
        {{MultiText, "a\0b\0\0c\0\0"s}, 0, "a\0b"s},
        {{MultiText, "a\0b\0\0c\0\0"s}, 2, Texts{"a", "b"}},
        {{MultiText, "a\0b\0\0c\0\0"s}, 14, Texts{"a", "b"}},
        {{11, "\1\2"s}, 0, "(unsupported data format)"s},
    };
    for (const auto& [stored, options, expected] : rows) {
        Preset("V", stored);
        RegOp reg;
        reg.Options(options);
        reg.Key(kKey);
        EXPECT_EQ(reg.Value("v"), expected) << stored.data;
    }
    qunsetenv("TIDELET_REG_DIR");
}

// Only the first 100 entries of the environment count when choosing the
// expandable type.
TEST_F(RegOpTest, ExpandableTypeForReferencesToTheFirst100Variables)
{
    std::vector<std::string> saved;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        saved.emplace_back(*e);
    }
    clearenv();
    for (int i = 0; i <= 100; ++i) {
        setenv(("V" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i)).c_str(), "x", 1);
    }
    const std::pair<std::string, uint32_t> rows[] = {
        {"%V000%", ExpandText}, {"a%v099%b", ExpandText}, {"%V100%", Text}, {"%V000", Text},
        {"100%", Text},         {"%%", Text},            {"%V00%", Text},  {"%NOPE%", Text},
    };
    RegOp reg;
    reg.Key(kKey);
    for (const auto& [text, type] : rows) {
        reg.Value("V", text);
        EXPECT_EQ(Stored("V"), (RegValue{type, text + '\0'})) << text;
    }
    clearenv();
    for (const auto& entry : saved) {
        const size_t eq = entry.find('=');
        setenv(entry.substr(0, eq).c_str(), eq == std::string::npos ? "" : entry.c_str() + eq + 1, 1);
    }
}

TEST_F(RegOpTest, KeyRootAndOptionsSetters)
{
    auto store = Platform::Registry();
    RegOp reg;
    reg.Key("Soft\\A");
    EXPECT_FALSE(store.KeyExists(HKCU, "Soft\\A")); // the first path waits for its first use
    EXPECT_EQ(reg.KeyCount(), 0);
    EXPECT_TRUE(store.KeyExists(HKCU, "Soft\\A"));
    store.DeleteKey(HKCU, "Soft\\A");
    reg.Key("SOFT\\a"); // the same path: not opened again
    reg.Key("");        // ignored
    EXPECT_FALSE(store.KeyExists(HKCU, "Soft\\A"));
    reg.Key("Soft\\B"); // another path: opened at once
    EXPECT_TRUE(store.KeyExists(HKCU, "Soft\\B"));
    reg.Root(Platform::RegRoot::LocalMachine);
    EXPECT_TRUE(store.KeyExists(Platform::RegRoot::LocalMachine, "Soft\\B"));
    reg.Root(0x80000005u);
    reg.Value("v", "x"s);
    EXPECT_TRUE(store.QueryValue(0x80000005u, "Soft\\B", "v"));
    reg.Root(0); // the current user's root
    reg.Value("w", "y"s);
    EXPECT_TRUE(Stored("w", "Soft\\B"));

    // Reports appear only with Options 8, and Options outside 0-15 is ignored.
    Platform::RegistryStore(file).CreateKey(HKCU, "x"); // a file exists to stand in the way
    const std::string blocked = file + "/test.registry";
    const std::pair<std::vector<int32_t>, bool> rows[] = {
        {{0}, false}, {{8}, true}, {{8, 16}, true}, {{16}, false}, {{15}, true}, {{8, -1}, true}, {{8, 0}, false},
    };
    for (const auto& [settings, shown] : rows) {
        boxes.Clear();
        boxes.AllowBoxes();
        RegOp bad;
        for (const int32_t o : settings) {
            bad.Options(o);
        }
        EXPECT_EQ(bad.Value("x"), RegVariant{});
        EXPECT_FALSE(bad.DeleteKey());
        Platform::SetRegistryFile(blocked);
        bad.Key("Soft\\New");
        bad.Value("x", "y"s);
        EXPECT_EQ(bad.ValueCount(), 0);
        Platform::SetRegistryFile(file);
        const auto box = [](const char* text) { return ShownBox{text, 48, "Registry Error"}; };
        const std::vector<ShownBox> expected{box("No Key name specified!"), box("No Key name specified!"),
                                             box("Could not open Registry Key!"), box("Could not open Registry Key!")};
        EXPECT_EQ(boxes.Boxes(), shown ? expected : std::vector<ShownBox>{}) << settings.back();
    }
}

TEST_F(RegOpTest, EnumerateAndDelete)
{
    auto store = Platform::Registry();
    for (const char* k : {"Soft\\Co\\b", "Soft\\Co\\A", "Soft\\Co\\C\\Deep"}) {
        store.CreateKey(HKCU, k);
    }
    RegOp reg;
    reg.Key("Soft\\Co");
    reg.Value("One", "1"s);
    reg.Value("Two", 2);
    EXPECT_EQ(reg.AllKeys(), (Texts{"A", "b", "C"}));
    EXPECT_EQ(reg.AllValues(), (std::vector<std::pair<std::string, RegVariant>>{{"One", "1"s}, {"Two", 2}}));
    EXPECT_EQ(reg.KeyCount(), 3);
    EXPECT_EQ(reg.ValueCount(), 2);
    EXPECT_TRUE(reg.DeleteValue("ONE"));
    EXPECT_FALSE(reg.DeleteValue("one"));
    EXPECT_EQ(reg.Value("One"), RegVariant{});
    EXPECT_EQ(reg.ValueCount(), 1);

    reg.Key("Soft\\Co\\C");
    EXPECT_TRUE(reg.DeleteKey()); // with its subtree; the object moves to the parent
    EXPECT_FALSE(store.KeyExists(HKCU, "Soft\\Co\\C"));
    EXPECT_EQ(reg.AllKeys(), (Texts{"A", "b"}));
    EXPECT_EQ(reg.Value("Two"), RegVariant{2});
    reg.Key("Soft\\Co\\Gone");
    store.DeleteKey(HKCU, "Soft\\Co\\Gone");
    EXPECT_FALSE(reg.DeleteKey());

    for (const char* path : {"Soft", "Soft\\"}) {
        RegOp top;
        top.Key(path);
        EXPECT_FALSE(top.DeleteKey()) << path;
    }
    EXPECT_TRUE(store.KeyExists(HKCU, "Soft"));
    RegOp bare;
    bare.Key("Soft\\Co\\A");
    EXPECT_TRUE(bare.AllKeys().empty());
    EXPECT_TRUE(bare.AllValues().empty());
}

} // namespace
