// One key of the persistent registry store: reads its named values through a
// cache, writes values with a type chosen from the value, enumerates and
// deletes. Errors are reported only with Options 8, never raised - except a
// conversion error when a value is written over a number of another kind.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// Empty, text, 32-bit number (16-bit numbers are held here too), or texts.
using RegVariant = std::variant<std::monostate, std::string, int32_t, std::vector<std::string>>;

// The variant as text: empty gives "", a number its digits; error 13 (type
// mismatch) for an array.
std::string RegText(const RegVariant& value);

class RegOp {
public:
    RegOp() = default;
    RegOp(const RegOp&) = delete;
    RegOp& operator=(const RegOp&) = delete;

    void Root(uint32_t root);
    void Key(const std::string& path);
    void Options(int32_t options); // 1 numbers as text, 2 multi-text as array,
                                   // 4 expand %NAME%, 8 show errors; 0-15 only

    // The named value, or the empty variant when the key has none of that name.
    RegVariant Value(const std::string& name);
    void Value(const std::string& name, const RegVariant& value);

    // Name and value of every value; empty when there are none.
    std::vector<std::pair<std::string, RegVariant>> AllValues();
    std::vector<std::string> AllKeys();
    bool DeleteValue(const std::string& name);
    // Deletes the key named by Key with its subtree; the object then stays on
    // the parent key.
    bool DeleteKey();
    int32_t ValueCount();
    int32_t KeyCount();

private:
    uint32_t StoreRoot() const; // a root of 0 is the current user's
    void CloseKey();
    bool OpenKey();
    bool OpenSubKey();
    void LoadValues();
    void ShowRegError(const std::string& text) const;

    uint32_t root_ = 0x80000001u; // the current user's root
    int32_t options_ = 0;
    std::string key_;
    bool keyOpen_ = false;
    // Names compare without regard to case; kept in the store's order.
    std::vector<std::pair<std::string, RegVariant>> cache_;
};

