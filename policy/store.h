// Access to the per-user disallow list: three operations on single values,
// each addressed by one full value path under HKEY_CURRENT_USER.
#pragma once

#include <cstddef>
#include <string_view>

#include "policy/path_buffer.h"

namespace p2pb {

inline constexpr std::string_view kListKeyPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowRun";

// kListKeyPath + '\' + name; not ok() if that would not fit.
PathBuffer fullValuePath(std::string_view name);

// The text up to its first zero byte.
inline std::string_view untilZero(std::string_view text) {
    const std::size_t end = text.find('\0');
    return end == std::string_view::npos ? text : std::string_view(text.data(), end);
}

// Calls found(position) for each backslash of an 8-bit path (code page 936). A
// byte of 0x80 or above starts a double-byte character, so its trail byte is
// never taken for a separator, even when it is 0x5C. The text ends at the first
// zero byte, and a lead byte with nothing after it ends the scan.
template <typename Found>
void forEachSeparator(std::string_view path, Found found) {
    path = untilZero(path);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte >= 0x80) {
            if (i + 1 == path.size()) break;  // lead byte before the terminator
            ++i;                              // skip the trail byte
        } else if (byte == '\\') {
            found(i);
        }
    }
}

// Orders names as the registry compares them: ASCII letters without regard to
// case, double-byte characters byte for byte. Negative, zero or positive.
int compareNames(std::string_view a, std::string_view b);
inline bool sameName(std::string_view a, std::string_view b) { return compareNames(a, b) == 0; }

struct ValuePath {
    std::string_view keyPath;  // empty: the value lies directly under the root
    std::string_view name;
};

// Cut at the last separator; a path without one is a value name under the root.
ValuePath splitValuePath(std::string_view fullPath);

class PolicyStore {
public:
    // True when the value exists, whatever its type or contents. Creates nothing.
    virtual bool valueExists(std::string_view fullPath) = 0;
    // Stores text as REG_SZ with its terminating zero, creating missing keys.
    virtual bool writeValue(std::string_view fullPath, std::string_view text) = 0;
    // Deletes the value; failing that, a same-named subkey that has no subkeys.
    virtual bool deleteValue(std::string_view fullPath) = 0;

protected:
    ~PolicyStore() = default;  // never deleted through this interface
};

}  // namespace p2pb
