#include "policy/store.h"

namespace p2pb {

PathBuffer fullValuePath(std::string_view name) {
    PathBuffer path(kListKeyPath);
    path.append("\\").append(name);
    return path;
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
    fullPath = untilZero(fullPath);
    std::size_t last = std::string_view::npos;
    forEachSeparator(fullPath, [&last](std::size_t at) { last = at; });
    if (last == std::string_view::npos) return {{}, fullPath};
    return {std::string_view(fullPath.data(), last),
            std::string_view(fullPath.data() + last + 1, fullPath.size() - last - 1)};
}

}  // namespace p2pb
