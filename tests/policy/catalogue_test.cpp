#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "policy/catalogue.h"
#include "policy/store.h"

namespace p2pb {
namespace {

std::vector<std::string> flattenedNames() {
    std::vector<std::string> names;
    for (const BlockEntry& entry : kCatalogue) {
        for (const BlockValue& value : entry.valueList()) names.emplace_back(value.name);
    }
    return names;
}

TEST(Catalogue, RowsRunOneToThirtySixInOrder) {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) EXPECT_EQ(kCatalogue[i].position, static_cast<int>(i + 1));
}

TEST(Catalogue, FortyFourValuesWithFortyThreeDistinctNames) {
    const std::vector<std::string> names = flattenedNames();
    EXPECT_EQ(names.size(), 44u);
    std::set<std::string, decltype([](const std::string& a, const std::string& b) {
                  return compareNames(a, b) < 0;
              })>
        distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), 43u);
}

TEST(Catalogue, OnlyRowsOneAndThirtyFourShareAName) {
    std::vector<int> rows;
    for (const BlockEntry& entry : kCatalogue) {
        for (const BlockValue& value : entry.valueList()) {
            if (sameName(value.name, "QQDownload.exe")) rows.push_back(entry.position);
        }
    }
    EXPECT_EQ(rows, (std::vector<int>{1, 34}));
}

TEST(Catalogue, RowInvariants) {
    std::set<std::wstring> controlNames;
    for (const BlockEntry& entry : kCatalogue) {
        SCOPED_TRACE(entry.position);
        EXPECT_TRUE(controlNames.insert(entry.controlName).second) << "control name used twice";
        ASSERT_GE(entry.valueList().size(), 1u);
        ASSERT_LE(entry.valueList().size(), 4u);
        bool probeGoverned = false;
        for (std::size_t i = 0; i < entry.valueList().size(); ++i) {
            const BlockValue& value = entry.valueList()[i];
            const std::string name = value.name, data = value.data;
            EXPECT_EQ(name.find('\\'), std::string::npos) << name;
            for (char c : name + data) EXPECT_TRUE(c > 0x20 && c < 0x7F) << name << " / " << data;
            for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(sameName(name, entry.valueList()[j].name));
            if (!sameName(name, "QQLive.exe")) {
                EXPECT_EQ(name, data);
            }
            probeGoverned |= name == entry.probeValue;
        }
        EXPECT_TRUE(probeGoverned) << entry.probeValue;
    }
}

TEST(Catalogue, RowsThatDoNotFollowThePattern) {
    const BlockEntry& live = kCatalogue[22];
    ASSERT_EQ(live.valueList().size(), 1u);
    EXPECT_STREQ(live.valueList()[0].name, "QQLive.exe");
    EXPECT_STREQ(live.valueList()[0].data, "qqlive.exe");

    const BlockEntry& thunder = kCatalogue[23];
    ASSERT_EQ(thunder.valueList().size(), 4u);
    EXPECT_STREQ(thunder.valueList()[0].name, "server.met");
    EXPECT_STREQ(thunder.valueList()[2].name, thunder.probeValue);
    EXPECT_STREQ(thunder.probeValue, "Thunder5.exe");

    EXPECT_STREQ(kCatalogue[4].caption, L"eMule(电驴)");
    EXPECT_STREQ(kCatalogue[34].caption, L"迅雷播放器");
    EXPECT_STREQ(kCatalogue[35].caption, L"迅播(GVOD)");
    EXPECT_STREQ(kCatalogue[32].probeValue, "FlashBT.exe");
}

TEST(Catalogue, LookupByControlName) {
    for (const BlockEntry& entry : kCatalogue) EXPECT_EQ(findByControlName(entry.controlName), &entry);
    EXPECT_EQ(findByControlName(L"迅雷看看播放器"), &kCatalogue[34]);
    EXPECT_EQ(findByControlName(L"eMule(电驴)"), nullptr) << "captions are not names";
    EXPECT_EQ(findByControlName(L"全选"), nullptr);
    EXPECT_EQ(findByControlName(L""), nullptr);
}

}  // namespace
}  // namespace p2pb
