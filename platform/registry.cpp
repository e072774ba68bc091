#include "registry.h"

#include "appinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <map>

namespace Platform {
namespace {

struct Node {
    std::string name;
    std::vector<std::pair<std::string, RegValue>> values;
    std::vector<Node> keys; // kept in order of their folded names
};
using Tree = std::map<uint32_t, Node>;

std::string Fold(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') {
            c = static_cast<char>(b - 'a' + 'A');
        }
    }
    return out;
}

bool SameName(const std::string& a, const std::string& b) { return a.size() == b.size() && Fold(a) == Fold(b); }

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path + '\\') {
        if (c != '\\') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(std::move(part));
            part.clear();
        }
    }
    return parts;
}

template <typename N> N* Child(N& node, const std::string& name)
{
    for (auto& key : node.keys) {
        if (SameName(key.name, name)) {
            return &key;
        }
    }
    return nullptr;
}

Node& AddChild(Node& node, Node child)
{
    const std::string folded = Fold(child.name);
    const auto at = std::find_if(node.keys.begin(), node.keys.end(),
                                 [&](const Node& k) { return Fold(k.name) > folded; });
    return *node.keys.insert(at, std::move(child));
}

template <typename T> auto* FindKey(T& tree, uint32_t root, const std::vector<std::string>& parts)
{
    auto it = tree.find(root);
    decltype(&it->second) node = nullptr;
    if (it != tree.end()) {
        node = &it->second;
        for (const auto& part : parts) {
            if ((node = Child(*node, part)) == nullptr) {
                break;
            }
        }
    }
    return node;
}

template <typename V> auto FindValue(V& values, const std::string& name)
{
    return std::find_if(values.begin(), values.end(), [&](const auto& v) { return SameName(v.first, name); });
}

// --- the file: JSON, names and data as Latin-1 texts (one character a byte)

QString ToJsonText(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }

std::string FromJsonText(const QJsonValue& value)
{
    const QByteArray bytes = value.toString().toLatin1();
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

std::optional<uint32_t> FromJsonNumber(const QJsonValue& value)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double d = value.toDouble();
    if (!(d >= 0 && d <= 4294967295.0) || std::floor(d) != d) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(d);
}

QJsonObject ToJson(const Node& node)
{
    QJsonObject obj;
    obj["name"] = ToJsonText(node.name);
    QJsonArray values;
    for (const auto& [name, value] : node.values) {
        values.append(QJsonObject{{"name", ToJsonText(name)},
                                  {"type", static_cast<double>(value.type)},
                                  {"data", ToJsonText(value.data)}});
    }
    obj["values"] = values;
    QJsonArray keys;
    for (const auto& key : node.keys) {
        keys.append(ToJson(key));
    }
    obj["keys"] = keys;
    return obj;
}

// Anything malformed in a hand-edited file is skipped, never trusted.
void FillFromJson(Node& node, const QJsonObject& obj)
{
    for (const auto& item : obj["values"].toArray()) {
        const QJsonObject v = item.toObject();
        const auto type = FromJsonNumber(v["type"]);
        if (!v["name"].isString() || !v["data"].isString() || !type) {
            continue;
        }
        std::string name = FromJsonText(v["name"]);
        if (FindValue(node.values, name) == node.values.end()) {
            node.values.emplace_back(std::move(name), RegValue{*type, FromJsonText(v["data"])});
        }
    }
    for (const auto& item : obj["keys"].toArray()) {
        const QJsonObject k = item.toObject();
        Node child{FromJsonText(k["name"]), {}, {}};
        if (child.name.empty() || child.name.find('\\') != std::string::npos || Child(node, child.name) != nullptr) {
            continue;
        }
        FillFromJson(AddChild(node, std::move(child)), k);
    }
}

Tree Load(const std::string& file)
{
    Tree tree;
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly)) {
        return tree;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
    for (const auto& item : doc.object()["roots"].toArray()) {
        const QJsonObject r = item.toObject();
        if (const auto root = FromJsonNumber(r["root"]); root && tree.count(*root) == 0) {
            FillFromJson(tree[*root], r);
        }
    }
    return tree;
}

bool Save(const std::string& file, const Tree& tree)
{
    QJsonArray roots;
    for (const auto& [number, node] : tree) {
        if (!node.keys.empty() || !node.values.empty()) {
            QJsonObject r = ToJson(node);
            r.remove("name");
            r["root"] = static_cast<double>(number);
            roots.append(r);
        }
    }
    const QString path = QString::fromStdString(file);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        return false;
    }
    f.write(QJsonDocument(QJsonObject{{"roots", roots}}).toJson(QJsonDocument::Indented));
    return f.commit();
}

std::string& OverrideFile()
{
    static std::string file;
    return file;
}

} // namespace

bool RegistryStore::CreateKey(uint32_t root, const std::string& path)
{
    Tree tree = Load(file_);
    Node* node = &tree[root];
    bool created = false;
    for (const auto& part : SplitPath(path)) {
        Node* child = Child(*node, part);
        if (child == nullptr) {
            child = &AddChild(*node, Node{part, {}, {}});
            created = true;
        }
        node = child;
    }
    return !created || Save(file_, tree);
}

bool RegistryStore::KeyExists(uint32_t root, const std::string& path) const
{
    const Tree tree = Load(file_);
    return FindKey(tree, root, SplitPath(path)) != nullptr;
}

std::optional<RegKeyInfo> RegistryStore::QueryInfo(uint32_t root, const std::string& path) const
{
    const Tree tree = Load(file_);
    const Node* node = FindKey(tree, root, SplitPath(path));
    if (node == nullptr) {
        return std::nullopt;
    }
    RegKeyInfo info;
    info.subKeys = static_cast<int32_t>(node->keys.size());
    info.values = static_cast<int32_t>(node->values.size());
    for (const auto& key : node->keys) {
        info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<int32_t>(key.name.size()));
    }
    for (const auto& [name, value] : node->values) {
        info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<int32_t>(name.size()));
        info.maxValueLen = std::max(info.maxValueLen, static_cast<int32_t>(value.data.size()));
    }
    return info;
}

std::vector<std::string> RegistryStore::SubKeys(uint32_t root, const std::string& path) const
{
    const Tree tree = Load(file_);
    std::vector<std::string> names;
    if (const Node* node = FindKey(tree, root, SplitPath(path))) {
        for (const auto& key : node->keys) {
            names.push_back(key.name);
        }
    }
    return names;
}

std::vector<std::pair<std::string, RegValue>> RegistryStore::Values(uint32_t root, const std::string& path) const
{
    const Tree tree = Load(file_);
    const Node* node = FindKey(tree, root, SplitPath(path));
    return node != nullptr ? node->values : std::vector<std::pair<std::string, RegValue>>{};
}

std::optional<RegValue> RegistryStore::QueryValue(uint32_t root, const std::string& path, const std::string& name) const
{
    const Tree tree = Load(file_);
    if (const Node* node = FindKey(tree, root, SplitPath(path))) {
        if (const auto it = FindValue(node->values, name); it != node->values.end()) {
            return it->second;
        }
    }
    return std::nullopt;
}

bool RegistryStore::SetValue(uint32_t root, const std::string& path, const std::string& name, const RegValue& value)
{
    Tree tree = Load(file_);
    Node* node = FindKey(tree, root, SplitPath(path));
    if (node == nullptr) {
        return false;
    }
    if (const auto it = FindValue(node->values, name); it != node->values.end()) {
        it->second = value;
    } else {
        node->values.emplace_back(name, value);
    }
    return Save(file_, tree);
}

bool RegistryStore::DeleteValue(uint32_t root, const std::string& path, const std::string& name)
{
    Tree tree = Load(file_);
    Node* node = FindKey(tree, root, SplitPath(path));
    if (node == nullptr) {
        return false;
    }
    const auto it = FindValue(node->values, name);
    if (it == node->values.end()) {
        return false;
    }
    node->values.erase(it);
    return Save(file_, tree);
}

bool RegistryStore::DeleteKey(uint32_t root, const std::string& path)
{
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) {
        return false;
    }
    const std::string name = parts.back();
    parts.pop_back();
    Tree tree = Load(file_);
    Node* parent = FindKey(tree, root, parts);
    if (parent == nullptr) {
        return false;
    }
    const auto it = std::find_if(parent->keys.begin(), parent->keys.end(),
                                 [&](const Node& k) { return SameName(k.name, name); });
    if (it == parent->keys.end()) {
        return false;
    }
    parent->keys.erase(it);
    return Save(file_, tree);
}

RegistryStore Registry() { return RegistryStore(RegistryFile()); }

std::string RegistryFile()
{
    if (!OverrideFile().empty()) {
        return OverrideFile();
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.toStdString() + "/" + App::CompanyName() + "/" + App::Title() + ".registry";
}

void SetRegistryFile(const std::string& path) { OverrideFile() = path; }

} // namespace Platform
