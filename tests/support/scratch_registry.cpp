#include "tests/support/scratch_registry.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace p2pb::test {
namespace {

constexpr const char* kScratchBase = "Software\\MorvestaP2PBlockerTests";

ScratchRegistry* g_active = nullptr;

std::string freshScratchPath() {
    static unsigned counter = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "\\%lu-%u", GetCurrentProcessId(), ++counter);
    return kScratchBase + std::string(buf);
}

bool processRunning(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Scratch keys are named "<pid>-<n>": those of processes that are gone were
// left by a run that crashed or was killed.
void deleteStaleScratchKeys() {
    std::vector<std::string> stale;
    {
        ScopedKey base;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kScratchBase, 0, KEY_READ, base.receive()) != ERROR_SUCCESS) {
            base.release();
            return;
        }
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof name;
            if (RegEnumKeyExA(base.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            const DWORD pid = std::strtoul(name, nullptr, 10);
            if (pid != GetCurrentProcessId() && !processRunning(pid)) stale.emplace_back(name, size);
        }
    }
    for (const std::string& name : stale) deleteTree(HKEY_CURRENT_USER, kScratchBase + ("\\" + name));
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

ScratchRegistry::ScratchRegistry() : path_(freshScratchPath()), previous_(g_active) {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);  // back to the real one while making ours
    deleteStaleScratchKeys();
    deleteTree(HKEY_CURRENT_USER, path_);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root_.receive(),
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, root_.get()) != ERROR_SUCCESS) {
        RegOverridePredefKey(HKEY_CURRENT_USER, previous_ ? previous_->root() : nullptr);
        throw std::runtime_error("cannot redirect HKEY_CURRENT_USER to " + path_);
    }
    g_active = this;
}

ScratchRegistry::~ScratchRegistry() {
    if (g_active != this) std::abort();  // they must go in the reverse order of making
    g_active = previous_;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    root_.reset();
    deleteTree(HKEY_CURRENT_USER, path_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchBase);  // only once no other run uses it
    if (previous_) RegOverridePredefKey(HKEY_CURRENT_USER, previous_->root());
}

}  // namespace p2pb::test
