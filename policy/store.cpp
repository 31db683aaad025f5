#include "policy/store.h"

namespace p2pb {

std::string fullValuePath(std::string_view name) {
    std::string path;
    path.reserve(kListKeyPath.size() + 1 + name.size());
    path.append(kListKeyPath).push_back('\\');
    path.append(name);
    return path;
}

std::vector<std::size_t> separatorPositions(std::string_view path) {
    path = path.substr(0, path.find('\0'));
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte >= 0x80) {
            if (i + 1 == path.size()) break;  // lead byte before the terminator
            ++i;                              // skip the trail byte
        } else if (byte == '\\') {
            found.push_back(i);
        }
    }
    return found;
}

int compareNames(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    bool trail = false;  // the previous byte was a lead byte in both strings
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (!trail) {
            if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
            if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
        }
        if (ca != cb) return ca < cb ? -1 : 1;
        trail = !trail && ca >= 0x80;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

ValuePath splitValuePath(std::string_view fullPath) {
    fullPath = fullPath.substr(0, fullPath.find('\0'));
    const std::vector<std::size_t> separators = separatorPositions(fullPath);
    if (separators.empty()) return {{}, fullPath};
    const std::size_t last = separators.back();
    return {fullPath.substr(0, last), fullPath.substr(last + 1)};
}

}  // namespace p2pb
