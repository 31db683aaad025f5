// Odd and hostile list contents: the steps keep working, lose nothing and
// touch nothing they do not govern.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "policy/probe_apply.h"
#include "tests/support/counting_confirmation.h"
#include "tests/support/store_harness.h"
#include "tests/support/tree_checks.h"

namespace p2pb::test {
namespace {

Selection only(int position) {
    Selection s{};
    s[position - 1] = true;
    return s;
}

class BadInput : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        h_ = GetParam().make();
        ASSERT_TRUE(h_->setRaw(kList, "1", RawValue::text("notepad.exe")));
        ASSERT_TRUE(h_->setRaw(kList, "kugou.exe.bak", {kRegBinary, {0, 1, 2}}));
    }
    void apply(const Selection& s) { applySelection(h_->store(), s, confirm_); }

    std::unique_ptr<StoreHarness> h_;
    CountingConfirmation confirm_;
};

// A catalogue name (row 2, "kugou.exe") stored in a way the program never writes.
struct OddValue {
    const char* label;
    const char* name;
    RawValue value;
};

const OddValue kOddValues[] = {
    {"dword", "kugou.exe", {kRegDword, {1, 0, 0, 0}}},
    {"binary", "kugou.exe", {kRegBinary, {0xFF}}},
    {"multi-string", "kugou.exe", {kRegMultiSz, {'k', 0, 0}}},
    {"empty string", "kugou.exe", RawValue::text("")},
    {"string without its zero", "kugou.exe", {kRegSz, {'k', 'u'}}},
    {"odd letter case", "KuGoU.ExE", RawValue::text("KUGOU.EXE")},
};

TEST_P(BadInput, OddlyStoredValuesTickTheBoxAndAreReplacedOrRemoved) {
    for (const OddValue& odd : kOddValues) {
        SCOPED_TRACE(odd.label);
        for (bool tick : {true, false}) {
            ASSERT_TRUE(h_->setRaw(kList, odd.name, odd.value));
            const TreeSnapshot before = h_->snapshot();
            EXPECT_EQ(probe(h_->store()), only(2));
            EXPECT_EQ(h_->snapshot(), before) << "probe wrote";

            apply(tick ? only(2) : Selection{});
            const TreeSnapshot after = h_->snapshot();
            EXPECT_ONLY_LIST_CHANGED(before, after);
            const auto values = listValues(after);
            EXPECT_EQ(values.size(), tick ? 3u : 2u);
            if (tick) {
                EXPECT_EQ(h_->getRaw(kList, "kugou.exe"), RawValue::text("kugou.exe"));
            } else {
                EXPECT_FALSE(h_->getRaw(kList, "kugou.exe"));
            }
        }
    }
}

TEST_P(BadInput, SubkeysWithCatalogueNamesGoOnlyWhenEmptyOfSubkeys) {
    ASSERT_TRUE(h_->setRaw(kList + "\\vagaa.exe", "v", RawValue::text("x")));
    ASSERT_TRUE(h_->createKey(kList + "\\P8.exe\\inner"));
    const TreeSnapshot before = h_->snapshot();
    EXPECT_EQ(probe(h_->store()), Selection{}) << "a key is not a listed value";

    apply(Selection{});
    EXPECT_FALSE(h_->keyExists(kList + "\\vagaa.exe"));
    EXPECT_TRUE(h_->keyExists(kList + "\\P8.exe\\inner"));
    EXPECT_ONLY_LIST_CHANGED(before, h_->snapshot());

    apply(only(7));
    EXPECT_EQ(h_->getRaw(kList, "P8.exe"), RawValue::text("P8.exe"));
    EXPECT_TRUE(h_->keyExists(kList + "\\P8.exe\\inner"));
    EXPECT_EQ(confirm_.shown, 2);
}

TEST_P(BadInput, ThousandsOfForeignValuesStayByteForByte) {
    const std::uint32_t types[] = {kRegSz, kRegDword, kRegBinary, kRegMultiSz};
    for (int i = 0; i < 5000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, i % 7 ? "foreign-%04d" : "%04d.exe", i);
        RawValue v{types[i % 4], {}};
        for (int b = 0; b < 1 + i % 9; ++b) v.bytes.push_back(static_cast<unsigned char>('a' + (i + b) % 26));
        if (v.type == kRegSz || v.type == kRegMultiSz) v.bytes.push_back(0);
        ASSERT_TRUE(h_->setRaw(kList, name, v));
    }
    const TreeSnapshot before = h_->snapshot();
    const auto foreign = listValues(before);

    EXPECT_EQ(probe(h_->store()), Selection{});
    EXPECT_EQ(h_->snapshot(), before);

    Selection all;
    all.fill(true);
    apply(all);
    auto now = listValues(h_->snapshot());
    EXPECT_EQ(now.size(), foreign.size() + 43);
    for (const auto& [name, value] : foreign) {
        ASSERT_TRUE(now.contains(name) && now.at(name) == value) << name;
    }

    apply(Selection{});
    EXPECT_EQ(h_->snapshot(), before);
}

TEST_P(BadInput, MissingKeysOnTheWayAreCreatedOnlyToWrite) {
    struct Case {
        const char* label;
        const char* existing;
    };
    const Case cases[] = {
        {"no Policies key", "Software\\Microsoft\\Windows\\CurrentVersion"},
        {"no Explorer key", "Software\\Microsoft\\Windows\\CurrentVersion\\Policies"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto fresh = GetParam().make();
        ASSERT_TRUE(fresh->createKey(c.existing));
        ASSERT_TRUE(fresh->setRaw(c.existing, "keep", {kRegDword, {9, 0, 0, 0}}));
        const TreeSnapshot before = fresh->snapshot();

        EXPECT_EQ(probe(fresh->store()), Selection{});
        applySelection(fresh->store(), Selection{}, confirm_);
        EXPECT_EQ(fresh->snapshot(), before) << "clearing created keys";

        applySelection(fresh->store(), only(5), confirm_);
        EXPECT_ONLY_LIST_CHANGED(before, fresh->snapshot());
        EXPECT_EQ(fresh->getRaw(kList, "emule.exe"), RawValue::text("emule.exe"));
        EXPECT_EQ(probe(fresh->store()), only(5));
    }
}

TEST_P(BadInput, AReadOnlyListKeepsEverythingAndStillConfirms) {
    ASSERT_TRUE(h_->setRaw(kList, "Thunder5.exe", RawValue::text("Thunder5.exe")));
    if (!h_->denyWrites(kList)) GTEST_SKIP() << "no way to make the list read-only here";
    const TreeSnapshot before = h_->snapshot();
    EXPECT_EQ(probe(h_->store()), only(24));
    Selection all;
    all.fill(true);
    apply(all);
    apply(Selection{});
    EXPECT_EQ(confirm_.shown, 2);
    EXPECT_EQ(h_->snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Stores, BadInput, testing::ValuesIn(backends()), BackendName());

}  // namespace
}  // namespace p2pb::test
