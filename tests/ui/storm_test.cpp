// A storm of random keys and clicks on the real window.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>

#include "policy/memory_store.h"
#include "tests/support/tree_checks.h"
#include "tests/ui/window_driver.h"

namespace p2pb::test {
namespace {

void prepare(StoreHarness& h) {
    h.setRaw(kList, "1", RawValue::text("notepad.exe"));
    h.setRaw(kList, "kugou.exe", RawValue::text("kugou.exe"));
    h.setRaw(kList, "THUNDER5.EXE", {kRegDword, {1, 0, 0, 0}});
}

TEST(Storm, ThousandsOfRandomKeysAndClicksLeaveASaneWindowAndRegistry) {
    WindowDriver d;
    prepare(d.registry());
    const TreeSnapshot before = d.registry().snapshot();
    ASSERT_TRUE(d.create());
    d.show();

    // Everything but the ways to close: Tab, Shift+Tab, Space, Enter, arrows, Alt+letters.
    const WORD plainKeys[] = {VK_TAB, VK_SPACE, VK_SPACE, VK_RETURN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    std::mt19937 random(20261211);
    RECT client{};
    GetClientRect(d.hwnd(), &client);
    std::vector<INPUT> batch;
    int events = 0;
    for (; events < 3000; ++events) {
        switch (random() % 4) {
        case 0:
            d.addClick(batch, {static_cast<LONG>(random() % client.right), static_cast<LONG>(random() % client.bottom)});
            break;
        case 1: WindowDriver::addKey(batch, VK_TAB, kShift); break;
        case 2: WindowDriver::addKey(batch, static_cast<WORD>('A' + random() % 26), kAlt); break;
        default: WindowDriver::addKey(batch, plainKeys[random() % std::size(plainKeys)], kNoModifier); break;
        }
        if (batch.size() >= 24) d.send(batch);
        ASSERT_TRUE(IsWindow(d.hwnd())) << "closed after " << events << " events";
    }
    d.send(batch);

    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(d.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer)) << "not responding";
    EXPECT_TRUE(IsWindowEnabled(d.hwnd()));
    for (const BlockEntry& entry : kCatalogue) {
        const LRESULT state = SendMessageW(d.window().checkBoxForRow(entry.position), BM_GETCHECK, 0, 0);
        EXPECT_TRUE(state == BST_CHECKED || state == BST_UNCHECKED) << entry.position << ": " << state;
    }

    // The list changed only through apply: it is what the last apply makes of
    // the starting list, or the starting list itself.
    MemoryStore expected;
    for (const auto& [name, value] : listValues(before)) expected.setRaw(kList, name, value);
    if (d.lastApplied()) {
        CountingConfirmation ignored;
        applySelection(expected, *d.lastApplied(), ignored);
    }
    // Names compare without case: an earlier apply may have respelled one.
    const auto actual = listValues(d.registry().snapshot());
    const auto wanted = listValues(expected.snapshot());
    EXPECT_EQ(actual.size(), wanted.size());
    for (const auto& [name, value] : wanted) {
        const auto it = actual.find(name);
        EXPECT_TRUE(it != actual.end() && it->second == value) << name << " after " << d.confirmations() << " applies";
    }
    EXPECT_ONLY_LIST_CHANGED(before, d.registry().snapshot());
    RecordProperty("applies", d.confirmations());
    std::printf("storm: %d events, %d applies\n", events, d.confirmations());
}

}  // namespace
}  // namespace p2pb::test
