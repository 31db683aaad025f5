// The disallow list in the Windows registry, under HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include "policy/scoped_handle.h"
#include "policy/store.h"

namespace p2pb {

struct KeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
using ScopedKey = ScopedHandle<HKEY, KeyTraits>;

// Each operation opens the key it needs and closes it before returning.
class RegistryStore final : public PolicyStore {
public:
    bool valueExists(std::string_view fullPath) override;
    bool writeValue(std::string_view fullPath, std::string_view text) override;
    bool deleteValue(std::string_view fullPath) override;
};

}  // namespace p2pb
