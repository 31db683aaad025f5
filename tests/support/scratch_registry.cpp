#include "tests/support/scratch_registry.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace p2pb::test {
namespace {

constexpr const char* kScratchBase = "Software\\MorvestaP2PBlockerTests";

std::string freshScratchPath() {
    static unsigned counter = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "\\%lu-%u", GetCurrentProcessId(), ++counter);
    return kScratchBase + std::string(buf);
}

}  // namespace

bool deleteTree(HKEY parent, const std::string& path) {
    {
        ScopedKey key;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, key.receive()) != ERROR_SUCCESS) {
            key.release();
            return true;  // nothing there
        }
        std::vector<std::string> children;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof name;
            if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            children.emplace_back(name, size);
        }
        for (const std::string& child : children) deleteTree(key.get(), child);
    }
    return RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

ScratchRegistry::ScratchRegistry() : path_(freshScratchPath()) {
    deleteTree(HKEY_CURRENT_USER, path_);  // left over from a crashed run
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root_.receive(),
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, root_.get()) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot redirect HKEY_CURRENT_USER to " + path_);
    }
}

ScratchRegistry::~ScratchRegistry() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    root_.reset();
    deleteTree(HKEY_CURRENT_USER, path_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchBase);  // only once no other run uses it
}

}  // namespace p2pb::test
