#include "RegOp.h"

#include "dialogs.h"
#include "registry.h"
#include "vbconv.h"
#include "vberror.h"

#include <optional>
#include <unistd.h> // environ

namespace {

namespace RegType = Platform::RegType;

bool SameName(const std::string& a, const std::string& b) { return VB::UCase(a) == VB::UCase(b); }

std::string TrimAtNul(const std::string& data) { return data.substr(0, data.find('\0')); }

std::vector<std::string> SplitMultiString(const std::string& text)
{
    std::vector<std::string> parts;
    for (size_t start = 0; !text.empty();) {
        const size_t nul = text.find('\0', start);
        parts.push_back(text.substr(start, nul - start));
        if (nul == std::string::npos) {
            break;
        }
        start = nul + 1;
    }
    return parts;
}

// The value of an environment variable; names match without regard to case
// (as they do where the store's values were first written), an exact match
// winning.
std::optional<std::string> EnvValue(const std::string& name)
{
    std::optional<std::string> found;
    for (char** entry = environ; !name.empty() && entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const size_t eq = text.find('=');
        const std::string entryName = text.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : text.substr(eq + 1);
        if (entryName == name) {
            return value;
        }
        if (!found && SameName(entryName, name)) {
            found = value;
        }
    }
    return found;
}

bool HasEnvReference(const std::string& text)
{
    const size_t first = text.find('%');
    if (first == std::string::npos || first == text.rfind('%')) {
        return false;
    }
    const std::string upper = VB::UCase(text);
    int looked = 0;
    for (char** entry = environ; entry != nullptr && *entry != nullptr && **entry != '\0' && looked < 100;
         ++entry, ++looked) {
        const std::string entryText(*entry);
        const std::string name = entryText.substr(0, entryText.find('='));
        if (upper.find('%' + VB::UCase(name) + '%') != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A reference to an unknown variable stays as written.
std::string ExpandEnvString(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '%') {
            const size_t close = text.find('%', i + 1);
            if (close != std::string::npos) {
                if (const auto value = EnvValue(text.substr(i + 1, close - i - 1))) {
                    out += *value;
                    i = close + 1;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out.substr(0, 1024);
}

int32_t RegLong(const RegVariant& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) {
        return *number;
    }
    const auto* text = std::get_if<std::string>(&value);
    if (text == nullptr || !VB::IsNumeric(*text)) {
        Raise(ErrNo::TypeMismatch);
    }
    return VB::CLng(VB::Val(*text));
}

Platform::RegValue Encode(const RegVariant& value)
{
    if (const auto* texts = std::get_if<std::vector<std::string>>(&value)) {
        std::string data;
        for (size_t i = 0; i < texts->size(); ++i) {
            data += (i > 0 ? std::string(1, '\0') : std::string()) + (*texts)[i];
        }
        return {RegType::MultiText, data + std::string(2, '\0')};
    }
    if (const auto* number = std::get_if<int32_t>(&value)) {
        const auto bits = static_cast<uint32_t>(*number);
        std::string data;
        for (int shift = 0; shift < 32; shift += 8) {
            data += static_cast<char>(static_cast<unsigned char>((bits >> shift) & 0xFFu));
        }
        return {RegType::Number, data};
    }
    const std::string text = RegText(value);
    return {HasEnvReference(text) ? RegType::ExpandText : RegType::Text, text + '\0'};
}

} // namespace

std::string RegText(const RegVariant& value)
{
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* number = std::get_if<int32_t>(&value)) {
        return VB::NumText(*number);
    }
    if (std::holds_alternative<std::monostate>(value)) {
        return {};
    }
    Raise(ErrNo::TypeMismatch);
}

void RegOp::Root(uint32_t root)
{
    if (root != root_) {
        root_ = root;
        if (!key_.empty()) {
            OpenKey();
        }
    }
}

void RegOp::Key(const std::string& path)
{
    if (path.empty()) {
        return;
    }
    if (key_.empty()) {
        key_ = path;
    } else if (!SameName(path, key_)) {
        key_ = path;
        OpenKey();
    }
}

void RegOp::Options(int32_t options)
{
    if (options >= 0 && options <= 15) {
        options_ = options;
    }
}

RegVariant RegOp::Value(const std::string& name)
{
    if (cache_.empty()) {
        LoadValues();
    }
    for (const auto& [cachedName, value] : cache_) {
        if (SameName(cachedName, name)) {
            return value;
        }
    }
    return {};
}

void RegOp::Value(const std::string& name, const RegVariant& value)
{
    if (std::holds_alternative<std::monostate>(value) || !OpenSubKey()) {
        return;
    }
    auto store = Platform::Registry();
    RegVariant v = value;
    if (const auto existing = store.QueryValue(StoreRoot(), key_, name)) {
        switch (existing->type) {
        case RegType::Text:
        case RegType::ExpandText:
            v = RegText(v);
            break;
        case RegType::Number:
            v = RegLong(v);
            break;
        case RegType::MultiText:
            break;
        default:
            ShowRegError("Existing value has unsupported data type and will not be overwritten");
            return;
        }
    }
    // The default value (empty name) is always text.
    if (((options_ & 1) != 0 && std::holds_alternative<int32_t>(v)) || name.empty()) {
        v = RegText(v);
    }
    store.SetValue(StoreRoot(), key_, name, Encode(v));
    cache_.clear();
}

std::vector<std::pair<std::string, RegVariant>> RegOp::AllValues()
{
    if (!OpenSubKey()) {
        return {};
    }
    if (cache_.empty()) {
        LoadValues();
    }
    return cache_;
}

std::vector<std::string> RegOp::AllKeys()
{
    return OpenSubKey() ? Platform::Registry().SubKeys(StoreRoot(), key_) : std::vector<std::string>{};
}

bool RegOp::DeleteValue(const std::string& name)
{
    if (!OpenSubKey() || !Platform::Registry().DeleteValue(StoreRoot(), key_, name)) {
        return false;
    }
    cache_.clear();
    return true;
}

bool RegOp::DeleteKey()
{
    if (key_.empty()) {
        ShowRegError("No Key name specified!");
        return false;
    }
    const size_t cut = key_.rfind('\\');
    if (cut == std::string::npos || cut == key_.size() - 1) {
        return false;
    }
    const std::string child = key_.substr(cut + 1);
    key_.resize(cut);
    CloseKey();
    if (!OpenSubKey() || !Platform::Registry().DeleteKey(StoreRoot(), key_ + '\\' + child)) {
        return false;
    }
    cache_.clear();
    return true;
}

int32_t RegOp::ValueCount()
{
    if (!OpenSubKey()) {
        return 0;
    }
    const auto info = Platform::Registry().QueryInfo(StoreRoot(), key_);
    return info ? info->values : 0;
}

int32_t RegOp::KeyCount()
{
    if (!OpenSubKey()) {
        return 0;
    }
    const auto info = Platform::Registry().QueryInfo(StoreRoot(), key_);
    return info ? info->subKeys : 0;
}

uint32_t RegOp::StoreRoot() const { return root_ == 0 ? Platform::RegRoot::CurrentUser : root_; }

void RegOp::CloseKey()
{
    keyOpen_ = false;
    // Values of a key no longer open must not be served as the next key's.
    cache_.clear();
}

bool RegOp::OpenKey()
{
    CloseKey();
    keyOpen_ = Platform::Registry().CreateKey(StoreRoot(), key_);
    return keyOpen_;
}

bool RegOp::OpenSubKey()
{
    if (key_.empty()) {
        ShowRegError("No Key name specified!");
        return false;
    }
    if (!keyOpen_ && !OpenKey()) {
        ShowRegError("Could not open Registry Key!");
        return false;
    }
    return true;
}

void RegOp::LoadValues()
{
    if (!OpenSubKey()) {
        return;
    }
    cache_.clear();
    for (const auto& [storedName, value] : Platform::Registry().Values(StoreRoot(), key_)) {
        const std::string name = TrimAtNul(storedName);
        switch (value.type) {
        case RegType::Text:
            cache_.emplace_back(name, TrimAtNul(value.data));
            break;
        case RegType::ExpandText:
            cache_.emplace_back(name, (options_ & 4) != 0 ? ExpandEnvString(TrimAtNul(value.data))
                                                          : TrimAtNul(value.data));
            break;
        case RegType::Number:
            if (value.data.size() == 4) {
                uint32_t bits = 0;
                for (int i = 3; i >= 0; --i) {
                    bits = (bits << 8) | static_cast<unsigned char>(value.data[static_cast<size_t>(i)]);
                }
                cache_.emplace_back(name, static_cast<int32_t>(bits));
            }
            break;
        case RegType::MultiText: {
            const std::string text = value.data.substr(0, value.data.find(std::string(2, '\0')));
            if ((options_ & 2) != 0) {
                cache_.emplace_back(name, SplitMultiString(text));
            } else {
                cache_.emplace_back(name, text);
            }
            break;
        }
        default:
            cache_.emplace_back(name, std::string("(unsupported data format)"));
            break;
        }
    }
}

void RegOp::ShowRegError(const std::string& text) const
{
    if ((options_ & 8) != 0) {
        MsgBox(text, MsgBoxStyle::Exclamation, "Registry Error");
    }
}
