// One suite for every store backend: the in-memory store, and under Wine the
// real registry behind a redirected HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include "policy/store.h"
#include "tests/support/store_harness.h"
#include "tests/support/tree_checks.h"

namespace p2pb::test {
namespace {

class StoreContract : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { h_ = GetParam().make(); }
    PolicyStore& store() { return h_->store(); }

    std::unique_ptr<StoreHarness> h_;
};

TEST_P(StoreContract, MissingListKeyReadsAsAbsentAndCreatesNothing) {
    const TreeSnapshot before = h_->snapshot();
    EXPECT_FALSE(store().valueExists(fullValuePath("kugou.exe")));
    EXPECT_FALSE(store().deleteValue(fullValuePath("kugou.exe")));
    EXPECT_EQ(h_->snapshot(), before);
    EXPECT_FALSE(h_->keyExists("Software\\Microsoft"));
}

TEST_P(StoreContract, WriteCreatesEveryMissingKeyOnTheWay) {
    ASSERT_TRUE(h_->createKey("Software"));
    const TreeSnapshot before = h_->snapshot();
    EXPECT_TRUE(store().writeValue(fullValuePath("kugou.exe"), "kugou.exe"));
    EXPECT_EQ(h_->getRaw(kList, "kugou.exe"), RawValue::text("kugou.exe"));
    EXPECT_TRUE(h_->keyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Policies"));
    EXPECT_TRUE(store().valueExists(fullValuePath("kugou.exe")));
    EXPECT_ONLY_LIST_CHANGED(before, h_->snapshot());
}

TEST_P(StoreContract, StoresTextAsRegSzWithItsTerminatingZero) {
    EXPECT_TRUE(store().writeValue(fullValuePath("QQLive.exe"), "qqlive.exe"));
    const auto stored = h_->getRaw(kList, "QQLive.exe");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, kRegSz);
    const std::vector<unsigned char> bytes{'q', 'q', 'l', 'i', 'v', 'e', '.', 'e', 'x', 'e', 0};
    EXPECT_EQ(stored->bytes, bytes);

    EXPECT_TRUE(store().writeValue(fullValuePath("empty.exe"), ""));
    EXPECT_EQ(h_->getRaw(kList, "empty.exe"), (RawValue{kRegSz, {0}}));
}

TEST_P(StoreContract, WriteReplacesWhateverWasThere) {
    struct Prior {
        const char* label;
        RawValue value;
    };
    const Prior priors[] = {
        {"dword", {kRegDword, {1, 0, 0, 0}}},
        {"binary", {kRegBinary, {0xDE, 0xAD}}},
        {"multi-string", {kRegMultiSz, {'a', 0, 'b', 0, 0}}},
        {"empty string", RawValue::text("")},
        {"other text", RawValue::text("something else")},
    };
    for (const Prior& prior : priors) {
        SCOPED_TRACE(prior.label);
        ASSERT_TRUE(h_->setRaw(kList, "P8.exe", prior.value));
        EXPECT_TRUE(store().writeValue(fullValuePath("P8.exe"), "P8.exe"));
        EXPECT_EQ(h_->getRaw(kList, "P8.exe"), RawValue::text("P8.exe"));
    }
    EXPECT_TRUE(store().writeValue(fullValuePath("P8.exe"), "second"));
    EXPECT_EQ(h_->getRaw(kList, "P8.exe"), RawValue::text("second"));
}

TEST_P(StoreContract, AnyTypeOrContentCountsAsPresent) {
    const RawValue odd[] = {
        {kRegDword, {0, 0, 0, 0}}, {kRegBinary, {}}, {kRegMultiSz, {0, 0}}, RawValue::text(""), {kRegSz, {}},
    };
    for (const RawValue& value : odd) {
        SCOPED_TRACE(testing::PrintToString(value));
        ASSERT_TRUE(h_->setRaw(kList, "vagaa.exe", value));
        EXPECT_TRUE(store().valueExists(fullValuePath("vagaa.exe")));
    }
}

TEST_P(StoreContract, NamesCompareWithoutRegardToCase) {
    ASSERT_TRUE(h_->setRaw(kList, "qqdownload.EXE", RawValue::text("x")));
    EXPECT_TRUE(store().valueExists(fullValuePath("QQDownload.exe")));

    EXPECT_TRUE(store().writeValue(fullValuePath("QQDownload.exe"), "QQDownload.exe"));
    const auto values = listValues(h_->snapshot());
    ASSERT_EQ(values.size(), 1u) << "a second value of the same name";
    EXPECT_EQ(values.begin()->second, RawValue::text("QQDownload.exe"));

    EXPECT_TRUE(store().deleteValue(fullValuePath("QQDOWNLOAD.exe")));
    EXPECT_FALSE(store().valueExists(fullValuePath("QQDownload.exe")));
}

TEST_P(StoreContract, DeleteRemovesOnlyTheNamedValue) {
    ASSERT_TRUE(h_->setRaw(kList, "1", RawValue::text("notepad.exe")));
    ASSERT_TRUE(h_->setRaw(kList, "kugou.exe", RawValue::text("kugou.exe")));
    ASSERT_TRUE(h_->setRaw(std::string(kExplorerKeyPath), "NoRun", {kRegDword, {1, 0, 0, 0}}));
    const TreeSnapshot before = h_->snapshot();

    EXPECT_TRUE(store().deleteValue(fullValuePath("kugou.exe")));
    EXPECT_FALSE(h_->getRaw(kList, "kugou.exe"));
    EXPECT_EQ(h_->getRaw(kList, "1"), RawValue::text("notepad.exe"));
    EXPECT_ONLY_LIST_CHANGED(before, h_->snapshot());

    const TreeSnapshot afterFirst = h_->snapshot();
    EXPECT_FALSE(store().deleteValue(fullValuePath("kugou.exe"))) << "already gone";
    EXPECT_EQ(h_->snapshot(), afterFirst);
}

TEST_P(StoreContract, DeleteFallsBackToASameNamedSubkeyWithoutSubkeys) {
    const std::string leaf = kList + "\\emule.exe";
    ASSERT_TRUE(h_->setRaw(leaf, "inside", RawValue::text("values do not protect it")));
    ASSERT_TRUE(h_->createKey(kList + "\\Thunder.exe\\child"));
    const TreeSnapshot before = h_->snapshot();

    EXPECT_TRUE(store().deleteValue(fullValuePath("EMULE.exe")));
    EXPECT_FALSE(h_->keyExists(leaf));

    EXPECT_FALSE(store().deleteValue(fullValuePath("Thunder.exe")));
    EXPECT_TRUE(h_->keyExists(kList + "\\Thunder.exe\\child"));
    EXPECT_ONLY_LIST_CHANGED(before, h_->snapshot());
}

TEST_P(StoreContract, DeleteTakesTheValueBeforeASubkeyOfTheSameName) {
    ASSERT_TRUE(h_->setRaw(kList, "xmp.exe", RawValue::text("xmp.exe")));
    ASSERT_TRUE(h_->createKey(kList + "\\xmp.exe"));
    EXPECT_TRUE(store().deleteValue(fullValuePath("xmp.exe")));
    EXPECT_FALSE(h_->getRaw(kList, "xmp.exe"));
    EXPECT_TRUE(h_->keyExists(kList + "\\xmp.exe"));
}

TEST_P(StoreContract, NothingIsWrittenOutsideTheListKey) {
    ASSERT_TRUE(h_->setRaw(std::string(kExplorerKeyPath), "NoDrives", {kRegDword, {4, 0, 0, 0}}));
    ASSERT_TRUE(h_->setRaw("Software\\Other", "keep", RawValue::text("me")));
    const TreeSnapshot before = h_->snapshot();

    for (const char* name : {"a.exe", "b.exe", "server.met"}) {
        store().writeValue(fullValuePath(name), name);
        store().valueExists(fullValuePath(name));
    }
    for (const char* name : {"a.exe", "missing.exe"}) store().deleteValue(fullValuePath(name));

    const TreeSnapshot after = h_->snapshot();
    EXPECT_ONLY_LIST_CHANGED(before, after);
    EXPECT_EQ(listValues(after).size(), 2u);
}

TEST_P(StoreContract, AReadOnlyListRefusesChangesAndReportsIt) {
    ASSERT_TRUE(h_->setRaw(kList, "kugou.exe", RawValue::text("kugou.exe")));
    if (!h_->denyWrites(kList)) GTEST_SKIP() << "this backend cannot make a key read-only";
    const TreeSnapshot before = h_->snapshot();

    EXPECT_TRUE(store().valueExists(fullValuePath("kugou.exe")));
    EXPECT_FALSE(store().writeValue(fullValuePath("P8.exe"), "P8.exe"));
    EXPECT_FALSE(store().deleteValue(fullValuePath("kugou.exe")));
    EXPECT_EQ(h_->snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreContract, testing::ValuesIn(backends()), BackendName());

}  // namespace
}  // namespace p2pb::test
