#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policy/probe_apply.h"
#include "tests/support/counting_confirmation.h"
#include "tests/support/store_harness.h"
#include "tests/support/tree_checks.h"

namespace p2pb::test {
namespace {

Selection ticked(std::initializer_list<int> positions) {
    Selection s{};
    for (int p : positions) s[p - 1] = true;
    return s;
}

Selection everything() {
    Selection s;
    s.fill(true);
    return s;
}

// Logs every call in order and forwards it.
class RecordingStore final : public PolicyStore {
public:
    explicit RecordingStore(PolicyStore& inner) : inner_(inner) {}
    bool valueExists(std::string_view p) override { return log("exists", p), inner_.valueExists(p); }
    bool writeValue(std::string_view p, std::string_view t) override {
        return log("write", p, t), inner_.writeValue(p, t);
    }
    bool deleteValue(std::string_view p) override { return log("delete", p), inner_.deleteValue(p); }

    std::vector<std::string> calls;

private:
    void log(const char* op, std::string_view path, std::string_view text = {}) {
        std::string line = std::string(op) + ' ' + std::string(splitValuePath(path).name);
        if (!text.empty()) line += '=' + std::string(text);
        EXPECT_EQ(splitValuePath(path).keyPath, kListKeyPath);
        calls.push_back(line);
    }
    PolicyStore& inner_;
};

class ProbeApply : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { h_ = GetParam().make(); }

    void apply(const Selection& s) {
        const int before = confirm_.shown;
        applySelection(h_->store(), s, confirm_);
        EXPECT_EQ(confirm_.shown, before + 1) << "one confirmation per apply";
    }
    bool listed(const char* name) { return h_->getRaw(kList, name).has_value(); }
    void fillWithForeignValues() {
        ASSERT_TRUE(h_->setRaw(kList, "1", RawValue::text("notepad.exe")));
        ASSERT_TRUE(h_->setRaw(kList, "game.exe", {kRegBinary, {1, 2, 3}}));
        ASSERT_TRUE(h_->setRaw(std::string(kExplorerKeyPath), "DisallowRun", {kRegDword, {1, 0, 0, 0}}));
    }

    std::unique_ptr<StoreHarness> h_;
    CountingConfirmation confirm_;
};

TEST_P(ProbeApply, ProbeOnAMissingListTicksNothingAndWritesNothing) {
    const TreeSnapshot before = h_->snapshot();
    EXPECT_EQ(probe(h_->store()), Selection{});
    EXPECT_EQ(h_->snapshot(), before);
}

TEST_P(ProbeApply, ProbeTicksRowsWhoseProbeValueIsListedInAnyCase) {
    ASSERT_TRUE(h_->setRaw(kList, "qqdownload.EXE", {kRegDword, {0, 0, 0, 0}}));
    ASSERT_TRUE(h_->setRaw(kList, "Thunder5.exe", RawValue::text("")));
    ASSERT_TRUE(h_->setRaw(kList, "PP2008.exe", RawValue::text("PP2008.exe")));  // not row 4's probe value
    ASSERT_TRUE(h_->createKey(kList + "\\kugou.exe"));                           // a key is not a value
    const TreeSnapshot before = h_->snapshot();
    EXPECT_EQ(probe(h_->store()), ticked({1, 24, 34}));
    EXPECT_EQ(h_->snapshot(), before);
}

TEST_P(ProbeApply, NothingTickedRemovesEveryCatalogueValueAndKeepsForeignOnes) {
    fillWithForeignValues();
    for (const BlockEntry& entry : kCatalogue) {
        for (const BlockValue& value : entry.valueList()) ASSERT_TRUE(h_->setRaw(kList, value.name, RawValue::text("x")));
    }
    const TreeSnapshot before = h_->snapshot();

    RecordingStore recording(h_->store());
    applySelection(recording, Selection{}, confirm_);

    EXPECT_EQ(recording.calls.size(), 44u);
    for (const std::string& call : recording.calls) EXPECT_EQ(call.rfind("delete ", 0), 0u) << call;
    const TreeSnapshot after = h_->snapshot();
    EXPECT_ONLY_LIST_CHANGED(before, after);
    const auto left = listValues(after);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left.at("1"), RawValue::text("notepad.exe"));
    EXPECT_EQ(left.at("game.exe"), (RawValue{kRegBinary, {1, 2, 3}}));
    EXPECT_EQ(probe(h_->store()), Selection{});
}

TEST_P(ProbeApply, EverythingTickedWritesFortyThreeNamesInCatalogueOrder) {
    fillWithForeignValues();
    const TreeSnapshot before = h_->snapshot();
    RecordingStore recording(h_->store());
    applySelection(recording, everything(), confirm_);

    std::vector<std::string> expected;
    for (const BlockEntry& entry : kCatalogue) {
        for (const BlockValue& value : entry.valueList()) {
            expected.push_back(std::string("write ") + value.name + '=' + value.data);
        }
    }
    EXPECT_EQ(recording.calls, expected);

    const TreeSnapshot after = h_->snapshot();
    EXPECT_ONLY_LIST_CHANGED(before, after);
    EXPECT_EQ(listValues(after).size(), 43u + 2u);
    EXPECT_EQ(h_->getRaw(kList, "QQLive.exe"), RawValue::text("qqlive.exe"));
    EXPECT_EQ(h_->getRaw(kList, "server.met"), RawValue::text("server.met"));
    EXPECT_EQ(probe(h_->store()), everything());
}

TEST_P(ProbeApply, ThunderRowWritesItsFourValuesAndProbesBackTicked) {
    apply(ticked({24}));
    for (const char* name : {"server.met", "Thunder.exe", "Thunder5.exe", "Thunder6.exe"}) {
        EXPECT_EQ(h_->getRaw(kList, name), RawValue::text(name)) << name;
    }
    EXPECT_EQ(listValues(h_->snapshot()).size(), 4u);
    EXPECT_EQ(probe(h_->store()), ticked({24}));
}

TEST_P(ProbeApply, RowOnThenOffWritesThenDeletesAllItsValues) {
    apply(ticked({4}));
    for (const char* name : {"PP.exe", "PP2008.exe", "CMUpnp.dll"}) EXPECT_TRUE(listed(name)) << name;
    apply(Selection{});
    EXPECT_TRUE(listValues(h_->snapshot()).empty());
}

TEST_P(ProbeApply, ApplyingTheSameSelectionTwiceChangesNothingMore) {
    fillWithForeignValues();
    const Selection s = ticked({2, 4, 23, 24, 30, 36});
    apply(s);
    const TreeSnapshot once = h_->snapshot();
    apply(s);
    EXPECT_EQ(h_->snapshot(), once);
    EXPECT_EQ(probe(h_->store()), s);
}

TEST_P(ProbeApply, OddListContentsAreReplacedOrRemoved) {
    ASSERT_TRUE(h_->setRaw(kList, "KUGOU.EXE", {kRegDword, {7, 0, 0, 0}}));
    ASSERT_TRUE(h_->setRaw(kList, "vagaa.exe", {kRegMultiSz, {'a', 0, 0}}));
    ASSERT_TRUE(h_->createKey(kList + "\\emule.exe"));
    apply(ticked({2}));
    const auto values = listValues(h_->snapshot());
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values.begin()->second, RawValue::text("kugou.exe"));
    EXPECT_FALSE(h_->keyExists(kList + "\\emule.exe"));
}

// "QQDownload.exe" is governed by rows 1 and 34: it stays listed while either is ticked.
struct SharedNameCase {
    bool row1, row34, listed;
};

TEST_P(ProbeApply, SharedNameIsListedWhileEitherRowIsTicked) {
    const SharedNameCase cases[] = {
        {false, false, false},
        {true, false, true},
        {false, true, true},
        {true, true, true},
    };
    for (const SharedNameCase& c : cases) {
        for (bool listedBefore : {false, true}) {
            SCOPED_TRACE(testing::Message() << "row1=" << c.row1 << " row34=" << c.row34 << " before=" << listedBefore);
            if (listedBefore) {
                ASSERT_TRUE(h_->setRaw(kList, "qqdownload.exe", RawValue::text("old")));
            } else {
                h_->store().deleteValue(fullValuePath("QQDownload.exe"));
            }
            Selection s{};
            s[0] = c.row1;
            s[33] = c.row34;
            apply(s);
            EXPECT_EQ(listed("QQDownload.exe"), c.listed);
            if (c.listed) {
                EXPECT_EQ(h_->getRaw(kList, "QQDownload.exe")->bytes, RawValue::text("QQDownload.exe").bytes);
            }
            const Selection back = probe(h_->store());
            EXPECT_EQ(back[0], c.listed);
            EXPECT_EQ(back[33], c.listed);
        }
    }
}

TEST_P(ProbeApply, ConfirmsEvenWhenEveryChangeFails) {
    ASSERT_TRUE(h_->setRaw(kList, "kugou.exe", RawValue::text("kugou.exe")));
    if (!h_->denyWrites(kList)) GTEST_SKIP() << "this backend cannot make a key read-only";
    const TreeSnapshot before = h_->snapshot();
    apply(ticked({1, 3, 24}));
    apply(Selection{});
    EXPECT_EQ(h_->snapshot(), before);
    EXPECT_EQ(probe(h_->store()), ticked({2}));
}

INSTANTIATE_TEST_SUITE_P(Stores, ProbeApply, testing::ValuesIn(backends()), BackendName());

}  // namespace
}  // namespace p2pb::test
