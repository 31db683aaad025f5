// A store under test together with direct access to the tree behind it, so that
// tests can prepare odd contents and check exactly what an operation left.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "policy/memory_store.h"
#include "policy/store.h"

namespace p2pb::test {

class StoreHarness {
public:
    virtual ~StoreHarness() = default;

    virtual PolicyStore& store() = 0;
    virtual bool createKey(std::string_view keyPath) = 0;
    virtual bool setRaw(std::string_view keyPath, std::string_view name, const RawValue& value) = 0;
    virtual std::optional<RawValue> getRaw(std::string_view keyPath, std::string_view name) = 0;
    virtual bool keyExists(std::string_view keyPath) = 0;
    virtual TreeSnapshot snapshot() = 0;
    // Makes the key refuse writes; false where the backend can't.
    virtual bool denyWrites(std::string_view keyPath) = 0;
};

struct Backend {
    const char* name;
    std::unique_ptr<StoreHarness> (*make)();
};
inline std::ostream& operator<<(std::ostream& os, const Backend& b) { return os << b.name; }

// Names parameterised tests after their backend.
struct BackendName {
    template <typename Info>
    std::string operator()(const Info& param) const {
        return param.param.name;
    }
};

std::unique_ptr<StoreHarness> makeMemoryHarness();
// The real registry, with HKEY_CURRENT_USER redirected to a scratch key for the
// harness's lifetime (Windows builds only).
std::unique_ptr<StoreHarness> makeRegistryHarness();

// The list key's parent and the list key itself, as keyPath arguments.
inline constexpr std::string_view kExplorerKeyPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline const std::string kList(kListKeyPath);

}  // namespace p2pb::test

namespace p2pb {
std::ostream& operator<<(std::ostream& os, const RawValue& v);
}

namespace p2pb::test {
// The backends this build can test: the in-memory store everywhere, and the
// real registry where there is one.
std::vector<Backend> backends();
}  // namespace p2pb::test
