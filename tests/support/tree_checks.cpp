#include "tests/support/tree_checks.h"

#include "policy/store.h"

namespace p2pb::test {
namespace {

bool isPrefixPath(std::string_view prefix, std::string_view path) {
    if (prefix.empty()) return true;
    if (path.size() < prefix.size() || !sameName(path.substr(0, prefix.size()), prefix)) return false;
    return path.size() == prefix.size() || path[prefix.size()] == '\\';
}

bool belowList(std::string_view path) { return path.size() > kListKeyPath.size() && isPrefixPath(kListKeyPath, path); }

}  // namespace

void expectOnlyListChanged(const TreeSnapshot& before, const TreeSnapshot& after, const char* file, int line) {
    const testing::ScopedTrace trace(file, line, "expectOnlyListChanged");
    for (const auto& [path, values] : before) {
        if (sameName(path, kListKeyPath)) continue;
        const auto now = after.find(path);
        if (now == after.end()) {
            EXPECT_TRUE(belowList(path)) << "key removed: " << path;
            continue;
        }
        EXPECT_TRUE(now->second == values) << "values changed in: " << path;
    }
    for (const auto& [path, values] : after) {
        if (before.contains(path)) continue;
        EXPECT_TRUE(isPrefixPath(path, kListKeyPath)) << "key created off the way to the list: " << path;
        if (!sameName(path, kListKeyPath)) {
            EXPECT_TRUE(values.empty()) << "values in created key: " << path;
        }
    }
}

std::map<std::string, RawValue, NameLess> listValues(const TreeSnapshot& tree) {
    const auto it = tree.find(kListKeyPath);
    return it == tree.end() ? std::map<std::string, RawValue, NameLess>{} : it->second;
}

}  // namespace p2pb::test
