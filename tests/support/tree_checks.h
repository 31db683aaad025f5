// Checks on whole-tree snapshots; failures name the calling line.
#pragma once

#include <gtest/gtest.h>

#include "policy/memory_store.h"

namespace p2pb::test {

// Outside the list key nothing changed, apart from empty keys created on the
// way to it; below it, subkeys may have gone but none appeared or changed.
void expectOnlyListChanged(const TreeSnapshot& before, const TreeSnapshot& after, const char* file, int line);
#define EXPECT_ONLY_LIST_CHANGED(before, after) ::p2pb::test::expectOnlyListChanged(before, after, __FILE__, __LINE__)

// The list key's values (none when it is missing).
std::map<std::string, RawValue, NameLess> listValues(const TreeSnapshot& tree);

}  // namespace p2pb::test
