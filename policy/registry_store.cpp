#include "policy/registry_store.h"

namespace p2pb {
namespace {

// The registry API wants zero-terminated copies of both halves.
struct SplitPath {
    PathBuffer keyPath;
    PathBuffer name;

    explicit SplitPath(std::string_view fullPath) : SplitPath(splitValuePath(fullPath)) {}
    explicit SplitPath(const ValuePath& parts) : keyPath(parts.keyPath), name(parts.name) {}
    bool ok() const { return keyPath.ok() && name.ok(); }
};

ScopedKey openKey(const PathBuffer& keyPath, REGSAM access) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) {
        key.release();  // a failed open may leave anything in the slot
    }
    return key;
}

}  // namespace

bool RegistryStore::valueExists(std::string_view fullPath) {
    const SplitPath path(fullPath);
    if (!path.ok()) return false;
    const ScopedKey key = openKey(path.keyPath, KEY_READ);
    if (!key) return false;
    DWORD type = 0;
    return RegQueryValueExA(key.get(), path.name.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryStore::writeValue(std::string_view fullPath, std::string_view text) {
    const SplitPath path(fullPath);
    const PathBuffer data(untilZero(text));
    if (!path.ok() || !data.ok()) return false;
    ScopedKey key = openKey(path.keyPath, KEY_WRITE);
    if (!key && RegCreateKeyA(HKEY_CURRENT_USER, path.keyPath.c_str(), key.receive()) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    return RegSetValueExA(key.get(), path.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryStore::deleteValue(std::string_view fullPath) {
    const SplitPath path(fullPath);
    if (!path.ok()) return false;
    if (const ScopedKey key = openKey(path.keyPath, KEY_WRITE)) {
        if (RegDeleteValueA(key.get(), path.name.c_str()) == ERROR_SUCCESS) return true;
    }
    // No such value: a subkey of that name goes instead, if it has no subkeys.
    const PathBuffer asKey(untilZero(fullPath));
    return asKey.ok() && RegDeleteKeyA(HKEY_CURRENT_USER, asKey.c_str()) == ERROR_SUCCESS;
}

}  // namespace p2pb
