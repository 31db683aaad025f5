// A registry stand-in for machines without one, and the tests' fault injector.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "policy/store.h"

namespace p2pb {

// Value types, numbered as the registry numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

struct RawValue {
    std::uint32_t type = kRegSz;
    std::vector<unsigned char> bytes;

    static RawValue text(std::string_view s);  // REG_SZ with its terminating zero
    bool operator==(const RawValue&) const = default;
};

struct NameLess {
    bool operator()(std::string_view a, std::string_view b) const { return compareNames(a, b) < 0; }
    using is_transparent = void;
};

// Every key by its path from the root ("" is the root itself), with its values.
using TreeSnapshot = std::map<std::string, std::map<std::string, RawValue, NameLess>, NameLess>;

class MemoryStore final : public PolicyStore {
public:
    MemoryStore();
    ~MemoryStore();

    bool valueExists(std::string_view fullPath) override;
    bool writeValue(std::string_view fullPath, std::string_view text) override;
    bool deleteValue(std::string_view fullPath) override;

    // Direct access, the way a registry editor would see the tree.
    bool createKey(std::string_view keyPath);
    bool setRaw(std::string_view keyPath, std::string_view name, const RawValue& value);
    std::optional<RawValue> getRaw(std::string_view keyPath, std::string_view name) const;
    bool keyExists(std::string_view keyPath) const;
    TreeSnapshot snapshot() const;

    // From now on the key refuses write access: its values can't be set or
    // deleted, and keys can't be created or deleted below it.
    void denyWrites(std::string_view keyPath);

private:
    struct Key;
    Key* find(std::string_view keyPath) const;
    Key* findOrCreate(std::string_view keyPath);

    std::unique_ptr<Key> root_;
};

}  // namespace p2pb
