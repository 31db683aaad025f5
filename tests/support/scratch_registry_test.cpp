#include <gtest/gtest.h>

#include "policy/registry_store.h"
#include "tests/support/scratch_registry.h"

namespace p2pb::test {
namespace {

TEST(ScratchRegistry, NestedScratchKeysHandBackTheOuterOne) {
    RegistryStore store;
    const PathBuffer outerValue = fullValuePath("outer.exe");
    const PathBuffer innerValue = fullValuePath("inner.exe");
    ScratchRegistry outer;
    ASSERT_TRUE(store.writeValue(outerValue, "outer.exe"));
    {
        ScratchRegistry inner;
        EXPECT_FALSE(store.valueExists(outerValue));
        ASSERT_TRUE(store.writeValue(innerValue, "inner.exe"));
    }
    EXPECT_TRUE(store.valueExists(outerValue)) << "HKEY_CURRENT_USER is the outer scratch key again";
    EXPECT_FALSE(store.valueExists(innerValue));
}

}  // namespace
}  // namespace p2pb::test
