#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "policy/store.h"

namespace p2pb {
namespace {

struct SplitCase {
    const char* label;
    std::string path;
    std::string keyPath;
    std::string name;
};

// 0x81 0x5C is one GBK character (U+4E57) whose trail byte is a backslash.
const SplitCase kSplitCases[] = {
    {"list value", std::string(fullValuePath("QQDownload.exe")), std::string(kListKeyPath), "QQDownload.exe"},
    {"no separator", "kugou.exe", "", "kugou.exe"},
    {"empty", "", "", ""},
    {"leading separator", "\\a.exe", "", "a.exe"},
    {"trailing separator", "A\\B\\", "A\\B", ""},
    {"last of several", "A\\B\\C\\d.exe", "A\\B\\C", "d.exe"},
    {"trail byte is 0x5C", "A\\\x81\x5C", "A", "\x81\x5C"},
    {"trail byte 0x5C ends the path", "A\\B\x81\x5C", "A", "B\x81\x5C"},
    {"double-byte key name", "\x81\x5C\\b.exe", "\x81\x5C", "b.exe"},
    {"only a double-byte name", "\x81\x5C", "", "\x81\x5C"},
    {"lead byte before the end", "A\\b\x81", "A", "b\x81"},
    {"lead byte before a zero", std::string("A\\x\x81\0\\y", 7), "A", "x\x81"},
    {"zero ends the text", std::string("A\\b\0\\c", 6), "A", "b"},
    {"byte 0x80 and above all lead", "\xC4\xE3\\\xBA\xC3", "\xC4\xE3", "\xBA\xC3"},
};

class SplitValuePath : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitValuePath, CutsAtTheLastRealSeparator) {
    const SplitCase& c = GetParam();
    const ValuePath split = splitValuePath(c.path);
    EXPECT_EQ(std::string(split.keyPath), c.keyPath);
    EXPECT_EQ(std::string(split.name), c.name);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitValuePath, testing::ValuesIn(kSplitCases),
                         [](const auto& c) {
                             std::string id;
                             for (char ch : std::string(c.param.label)) id += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return id;
                         });

TEST(FullValuePath, JoinsTheListKeyAndTheNameOrRefusesWhatDoesNotFit) {
    EXPECT_EQ(fullValuePath("kugou.exe").view(),
              "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowRun\\kugou.exe");
    const std::string longest(PathBuffer::kCapacity - kListKeyPath.size() - 1, 'x');
    EXPECT_TRUE(fullValuePath(longest).ok());
    EXPECT_FALSE(fullValuePath(longest + 'x').ok());
}

TEST(ValueNames, CompareAsciiWithoutCaseAndDoubleByteExactly) {
    EXPECT_TRUE(sameName("QQDownload.exe", "qqdownload.EXE"));
    EXPECT_FALSE(sameName("QQDownload.exe", "QQDownload.ex"));
    EXPECT_FALSE(sameName("a.exe", "b.exe"));
    // 0x81 0x61 and 0x81 0x41 are different characters, not one in two cases.
    EXPECT_FALSE(sameName("\x81\x61", "\x81\x41"));
    EXPECT_TRUE(sameName("\x81\x61x", "\x81\x61X"));
    EXPECT_LT(compareNames("a", "B"), 0);
    EXPECT_GT(compareNames("ab", "A"), 0);
}

}  // namespace
}  // namespace p2pb
