#include "policy/memory_store.h"

namespace p2pb {

struct MemoryStore::Key {
    std::map<std::string, RawValue, NameLess> values;
    std::map<std::string, std::unique_ptr<Key>, NameLess> subkeys;
    bool writable = true;
};

namespace {

// Splits a key path into its names; nullopt for an empty name ("a\\b", "\a", "a\").
std::optional<std::vector<std::string_view>> keyNames(std::string_view keyPath) {
    std::vector<std::string_view> names;
    keyPath = untilZero(keyPath);
    if (keyPath.empty()) return names;
    std::size_t start = 0;
    std::vector<std::size_t> cuts;
    forEachSeparator(keyPath, [&cuts](std::size_t at) { cuts.push_back(at); });
    cuts.push_back(keyPath.size());
    for (std::size_t cut : cuts) {
        if (cut == start) return std::nullopt;
        names.push_back(keyPath.substr(start, cut - start));
        start = cut + 1;
    }
    return names;
}

}  // namespace

RawValue RawValue::text(std::string_view s) {
    RawValue v{kRegSz, {s.begin(), s.end()}};
    v.bytes.push_back(0);
    return v;
}

MemoryStore::MemoryStore() : root_(std::make_unique<Key>()) {}
MemoryStore::~MemoryStore() = default;

MemoryStore::Key* MemoryStore::find(std::string_view keyPath) const {
    const auto names = keyNames(keyPath);
    if (!names) return nullptr;
    Key* key = root_.get();
    for (std::string_view name : *names) {
        const auto it = key->subkeys.find(name);
        if (it == key->subkeys.end()) return nullptr;
        key = it->second.get();
    }
    return key;
}

MemoryStore::Key* MemoryStore::findOrCreate(std::string_view keyPath) {
    const auto names = keyNames(keyPath);
    if (!names) return nullptr;
    Key* key = root_.get();
    for (std::string_view name : *names) {
        auto it = key->subkeys.find(name);
        if (it == key->subkeys.end()) {
            if (!key->writable) return nullptr;
            it = key->subkeys.emplace(std::string(name), std::make_unique<Key>()).first;
        }
        key = it->second.get();
    }
    return key;
}

bool MemoryStore::valueExists(std::string_view fullPath) {
    const ValuePath path = splitValuePath(fullPath);
    const Key* key = find(path.keyPath);
    return key && key->values.contains(path.name);
}

bool MemoryStore::writeValue(std::string_view fullPath, std::string_view text) {
    const ValuePath path = splitValuePath(fullPath);
    return setRaw(path.keyPath, path.name, RawValue::text(untilZero(text)));
}

bool MemoryStore::deleteValue(std::string_view fullPath) {
    const ValuePath path = splitValuePath(fullPath);
    Key* key = find(path.keyPath);
    if (!key || !key->writable) return false;
    if (const auto value = key->values.find(path.name); value != key->values.end()) {
        key->values.erase(value);
        return true;
    }
    // Fall back to a subkey of that name, removable only while it has no subkeys.
    const auto child = key->subkeys.find(path.name);
    if (child == key->subkeys.end() || !child->second->subkeys.empty()) return false;
    key->subkeys.erase(child);
    return true;
}

bool MemoryStore::createKey(std::string_view keyPath) { return findOrCreate(keyPath) != nullptr; }

bool MemoryStore::setRaw(std::string_view keyPath, std::string_view name, const RawValue& value) {
    Key* key = findOrCreate(keyPath);
    if (!key || !key->writable) return false;
    // An existing value keeps the spelling of its name, as in the registry.
    if (const auto it = key->values.find(name); it != key->values.end()) {
        it->second = value;
    } else {
        key->values.emplace(std::string(name), value);
    }
    return true;
}

std::optional<RawValue> MemoryStore::getRaw(std::string_view keyPath, std::string_view name) const {
    const Key* key = find(keyPath);
    if (!key) return std::nullopt;
    const auto it = key->values.find(name);
    if (it == key->values.end()) return std::nullopt;
    return it->second;
}

bool MemoryStore::keyExists(std::string_view keyPath) const { return find(keyPath) != nullptr; }

TreeSnapshot MemoryStore::snapshot() const {
    TreeSnapshot tree;
    auto walk = [&tree](auto&& self, const Key& key, const std::string& path) -> void {
        tree[path] = key.values;
        for (const auto& [name, child] : key.subkeys) {
            self(self, *child, path.empty() ? name : path + '\\' + name);
        }
    };
    walk(walk, *root_, std::string());
    return tree;
}

void MemoryStore::denyWrites(std::string_view keyPath) {
    if (Key* key = find(keyPath)) key->writable = false;
}

}  // namespace p2pb
