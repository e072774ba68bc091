// A small persistent store of named, typed values under key paths below
// numbered roots, kept in one file of the user's configuration folder.
// Key and value names compare without regard to letter case (a-z / A-Z) and
// keep the case in which they were first written. Every operation reads the
// file afresh and every change rewrites it atomically, so several objects -
// or several running programs - see one another's changes. A missing or
// unreadable file reads as an empty store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

namespace RegRoot {
constexpr uint32_t ClassesRoot = 0x80000000u;
constexpr uint32_t CurrentUser = 0x80000001u;
constexpr uint32_t LocalMachine = 0x80000002u;
} // namespace RegRoot

namespace RegType {
constexpr uint32_t Text = 1;       // data: the text and one NUL
constexpr uint32_t ExpandText = 2; // as Text; may hold %NAME% references
constexpr uint32_t Number = 4;     // data: 32 bits, least significant byte first
constexpr uint32_t MultiText = 7;  // data: texts each ended by a NUL, then one more NUL
} // namespace RegType

// A value as stored: its type and its data bytes, uninterpreted.
struct RegValue {
    uint32_t type = 0;
    std::string data;
    bool operator==(const RegValue&) const = default;
};

struct RegKeyInfo {
    int32_t subKeys = 0;
    int32_t values = 0;
    int32_t maxSubKeyLen = 0;    // longest subkey name
    int32_t maxValueNameLen = 0; // longest value name
    int32_t maxValueLen = 0;     // longest value data, in bytes
};

// Key paths are names separated by backslashes; empty names are skipped, so
// the empty path is the root itself. Any root number is a root of its own.
// Only CreateKey makes keys: the other operations fail on a missing key.
class RegistryStore {
public:
    explicit RegistryStore(std::string file) : file_(std::move(file)) {}
    const std::string& File() const { return file_; }

    // Opens the key, creating every missing key of the path; false when the
    // new keys could not be saved.
    bool CreateKey(uint32_t root, const std::string& path);
    bool KeyExists(uint32_t root, const std::string& path) const;
    std::optional<RegKeyInfo> QueryInfo(uint32_t root, const std::string& path) const;
    // Subkey names in order of their upper-cased names.
    std::vector<std::string> SubKeys(uint32_t root, const std::string& path) const;
    // Values in the order they were first written.
    std::vector<std::pair<std::string, RegValue>> Values(uint32_t root, const std::string& path) const;
    std::optional<RegValue> QueryValue(uint32_t root, const std::string& path, const std::string& name) const;
    // Replaces a value in place (keeping its name's case) or adds it last.
    bool SetValue(uint32_t root, const std::string& path, const std::string& name, const RegValue& value);
    bool DeleteValue(uint32_t root, const std::string& path, const std::string& name);
    // Deletes the key with its whole subtree; a root cannot be deleted.
    bool DeleteKey(uint32_t root, const std::string& path);

private:
    std::string file_;
};

// The program's store: the file set by SetRegistryFile, else
// <generic configuration folder>/Orvane/Tidelet Terminal.registry.
RegistryStore Registry();
std::string RegistryFile();
void SetRegistryFile(const std::string& path); // "" restores the default

} // namespace Platform
