#include "policy/registry_store.h"

#include <string>

namespace p2pb {
namespace {

// The registry API wants zero-terminated copies of both halves.
struct SplitPath {
    std::string keyPath;
    std::string name;

    explicit SplitPath(std::string_view fullPath) {
        const ValuePath parts = splitValuePath(fullPath);
        keyPath.assign(parts.keyPath);
        name.assign(parts.name);
    }
};

ScopedKey openKey(const std::string& keyPath, REGSAM access) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) {
        key.release();  // a failed open may leave anything in the slot
    }
    return key;
}

}  // namespace

bool RegistryStore::valueExists(std::string_view fullPath) {
    const SplitPath path(fullPath);
    const ScopedKey key = openKey(path.keyPath, KEY_READ);
    if (!key) return false;
    DWORD type = 0;
    return RegQueryValueExA(key.get(), path.name.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryStore::writeValue(std::string_view fullPath, std::string_view text) {
    const SplitPath path(fullPath);
    ScopedKey key = openKey(path.keyPath, KEY_WRITE);
    if (!key && RegCreateKeyA(HKEY_CURRENT_USER, path.keyPath.c_str(), key.receive()) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    const std::string data(text.substr(0, text.find('\0')));
    return RegSetValueExA(key.get(), path.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryStore::deleteValue(std::string_view fullPath) {
    const SplitPath path(fullPath);
    if (const ScopedKey key = openKey(path.keyPath, KEY_WRITE)) {
        if (RegDeleteValueA(key.get(), path.name.c_str()) == ERROR_SUCCESS) return true;
    }
    // No such value: a subkey of that name goes instead, if it has no subkeys.
    const std::string asKey(fullPath.substr(0, fullPath.find('\0')));
    return RegDeleteKeyA(HKEY_CURRENT_USER, asKey.c_str()) == ERROR_SUCCESS;
}

}  // namespace p2pb
