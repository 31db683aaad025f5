// Redirects HKEY_CURRENT_USER of this process to a fresh scratch key for the
// lifetime of the object, and deletes the scratch key afterwards, so that no
// test ever sees or changes the real user's list. Scratch registries nest:
// the last one made is in force until it goes, then the one before it again.
#pragma once

#include <windows.h>

#include <string>

#include "policy/registry_store.h"

namespace p2pb::test {

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // The key that HKEY_CURRENT_USER now stands for.
    HKEY root() const { return root_.get(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;  // under the real HKEY_CURRENT_USER
    ScopedKey root_;
    ScratchRegistry* previous_;
};

// Removes a key with everything below it; true if it is gone.
bool deleteTree(HKEY parent, const std::string& path);

}  // namespace p2pb::test
