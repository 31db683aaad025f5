// The window in-process, under Wine's real window system, on a scratch registry.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "policy/catalogue.h"
#include "policy/message_box_confirmation.h"
#include "tests/support/tree_checks.h"
#include "tests/ui/window_driver.h"

namespace p2pb::test {
namespace {

std::wstring textOf(HWND hwnd) {
    wchar_t buf[256] = {};
    GetWindowTextW(hwnd, buf, 256);
    return buf;
}

RECT clientRectIn(HWND control, HWND window) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(d_.create()); }

    Selection boxes() const { return d_.window().readSelection(); }
    void click(const wchar_t* name) {
        SendMessageW(d_.control(name), BM_CLICK, 0, 0);
        d_.pump();
    }

    WindowDriver d_;
};

TEST_F(MainWindowTest, FixedSizeCentredFrameWithTitleAndIcons) {
    RECT outer{};
    GetWindowRect(d_.hwnd(), &outer);
    EXPECT_EQ(outer.right - outer.left, 299);
    EXPECT_EQ(outer.bottom - outer.top, 339);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 299) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 339) / 2);

    const auto style = static_cast<DWORD>(GetWindowLongW(d_.hwnd(), GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), DWORD(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_VISIBLE), 0u);
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(d_.hwnd(), GWL_EXSTYLE));
    EXPECT_EQ(exStyle & ~DWORD(WS_EX_WINDOWEDGE), 0u) << std::hex << exStyle;  // the system adds the edge
    EXPECT_EQ(GetMenu(d_.hwnd()), nullptr);
    EXPECT_EQ(GetWindow(d_.hwnd(), GW_OWNER), nullptr);
    EXPECT_EQ(textOf(d_.hwnd()), L"MorvestaP2P软件屏蔽器 V1.0");

    // Size, Minimize and Maximize are greyed by the system as the menu opens,
    // from the style checked above.
    const HMENU system = GetSystemMenu(d_.hwnd(), FALSE);
    ASSERT_NE(system, nullptr);
    auto enabled = [system](UINT cmd) {
        const UINT state = GetMenuState(system, cmd, MF_BYCOMMAND);
        return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    };
    EXPECT_TRUE(enabled(SC_MOVE));
    EXPECT_TRUE(enabled(SC_CLOSE));

    for (auto [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(d_.hwnd(), WM_GETICON, which, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << size;
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(MainWindowTest, EveryControlHasItsParentKindCaptionStyleAndFont) {
    const HWND group = d_.control(L"分组框1");
    const auto font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlSpec& ctl = kControls[i];
        const HWND c = d_.window().control(i);
        SCOPED_TRACE(testing::Message() << "control " << i);
        ASSERT_TRUE(IsWindow(c));
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, L"Button"), 0);
        EXPECT_EQ(GetParent(c), ctl.parent == ParentKind::GroupBox ? group : d_.hwnd());
        EXPECT_EQ(textOf(c), ctl.caption);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), font);

        const auto style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_TRUE(style & WS_CLIPSIBLINGS);
        EXPECT_FALSE(style & WS_DISABLED);
        EXPECT_EQ(static_cast<bool>(style & WS_TABSTOP), ctl.kind != ControlKind::GroupBox);
        switch (ctl.kind) {
        case ControlKind::CheckBox:
            EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_AUTOCHECKBOX));
            EXPECT_EQ(style & (BS_LEFT | BS_VCENTER | BS_MULTILINE | BS_LEFTTEXT),
                      DWORD(BS_LEFT | BS_VCENTER | BS_MULTILINE));
            EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "empty list";
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_PUSHBUTTON)) << "never the default button";
            EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | BS_MULTILINE), DWORD(BS_CENTER | BS_VCENTER | BS_MULTILINE));
            break;
        case ControlKind::GroupBox: EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_GROUPBOX)); break;
        }
    }
}

TEST_F(MainWindowTest, TableBindsEachCheckBoxToItsCatalogueRow) {
    std::set<int> rows;
    for (const ControlSpec& ctl : kControls) {
        if (ctl.kind != ControlKind::CheckBox) continue;
        const BlockEntry* entry = findByControlName(ctl.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->position, ctl.row);
        EXPECT_STREQ(entry->caption, ctl.caption);
        rows.insert(ctl.row);
    }
    EXPECT_EQ(rows.size(), kCatalogueSize);
}

TEST_F(MainWindowTest, CheckBoxesFormTwelveRowsOfThreeInClientCoordinates) {
    const std::vector<std::pair<int, int>> rowBands = {{9, 15},     {31, 32},   {53, 54},   {75, 76},
                                                       {97, 98},    {119, 120}, {141, 142}, {163, 164},
                                                       {185, 186},  {207, 208}, {229, 230}, {250, 251}};
    const std::vector<std::pair<int, int>> columnBands = {{16, 18}, {113, 115}, {204, 206}};
    std::vector<int> perCell(36, 0);
    int shortBoxes = 0;
    for (const BlockEntry& entry : kCatalogue) {
        const RECT r = clientRectIn(d_.window().checkBoxForRow(entry.position), d_.hwnd());
        SCOPED_TRACE(entry.position);
        int row = -1, col = -1;
        for (std::size_t i = 0; i < rowBands.size(); ++i) {
            if (r.top >= rowBands[i].first && r.top <= rowBands[i].second) row = static_cast<int>(i);
        }
        for (std::size_t i = 0; i < columnBands.size(); ++i) {
            if (r.left >= columnBands[i].first && r.left <= columnBands[i].second) col = static_cast<int>(i);
        }
        ASSERT_GE(row, 0) << r.top;
        ASSERT_GE(col, 0) << r.left;
        ++perCell[row * 3 + col];
        if (r.bottom - r.top == 14) ++shortBoxes;
    }
    for (int n : perCell) EXPECT_EQ(n, 1);
    EXPECT_EQ(shortBoxes, 1);
    const RECT first = clientRectIn(d_.control(L"超级旋风"), d_.hwnd());
    EXPECT_EQ(first.left, 16);
    EXPECT_EQ(first.top, 15);
    EXPECT_EQ(first.bottom - first.top, 14);

    const RECT group = clientRectIn(d_.control(L"分组框1"), d_.hwnd());
    EXPECT_EQ(group.left, 3);
    EXPECT_EQ(group.top, 0);
    EXPECT_EQ(group.right - group.left, 287);
    EXPECT_EQ(group.bottom - group.top, 276);
    const RECT vagaa = clientRectIn(d_.control(L"Vagaa哇嘎"), d_.hwnd());
    EXPECT_EQ(vagaa.left, 204);
    EXPECT_EQ(vagaa.top, 9);
    const RECT apply = clientRectIn(d_.control(L"应用"), d_.hwnd());
    EXPECT_EQ(apply.left, 198);
    EXPECT_EQ(apply.top, 277);
    EXPECT_EQ(apply.right - apply.left, 84);
    EXPECT_EQ(apply.bottom - apply.top, 25);
}

TEST_F(MainWindowTest, LaterControlsInTabOrderStackOnTopAndTheGroupBoxBeneathAll) {
    for (HWND parent : {d_.hwnd(), d_.control(L"分组框1")}) {
        std::vector<HWND> expected;  // top first
        for (std::size_t i = kTabStopCount; i-- > 0;) {
            if (GetParent(d_.window().control(i)) == parent) expected.push_back(d_.window().control(i));
        }
        if (parent == d_.hwnd()) expected.push_back(d_.control(L"分组框1"));
        std::vector<HWND> actual;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) actual.push_back(c);
        EXPECT_EQ(actual, expected);
    }
}

TEST_F(MainWindowTest, GroupBoxPaintsItsOwnFaceAndColoursItsBoxes) {
    const HWND group = d_.control(L"分组框1");
    const HDC dc = GetDC(group);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(group, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(d_.control(L"P8"))));
    EXPECT_EQ(brush, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(group, dc);

    d_.show();
    RedrawWindow(d_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    d_.pump();
    // A gap between the boxes, inside the group box frame.
    const HDC window = GetDC(d_.hwnd());
    EXPECT_EQ(GetPixel(window, 104, 140), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(window, 200, 270), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(d_.hwnd(), window);
}

TEST_F(MainWindowTest, ShowsWithFocusOnTheFirstBox) {
    EXPECT_FALSE(IsWindowVisible(d_.hwnd()));
    d_.show();
    EXPECT_TRUE(IsWindowVisible(d_.hwnd()));
    EXPECT_EQ(GetActiveWindow(), d_.hwnd());
    EXPECT_EQ(d_.focusIndex(), 0u);
}

TEST_F(MainWindowTest, TabAndShiftTabWalkAllTabStopsAndWrap) {
    d_.show();
    for (std::size_t step = 1; step <= kTabStopCount; ++step) {
        d_.press(VK_TAB);
        ASSERT_EQ(d_.focusIndex(), step % kTabStopCount) << "after Tab number " << step;
    }
    for (std::size_t step = 1; step <= kTabStopCount; ++step) {
        d_.press(VK_TAB, kShift);
        ASSERT_EQ(d_.focusIndex(), (kTabStopCount - step) % kTabStopCount) << "after Shift+Tab number " << step;
    }
    EXPECT_EQ(boxes(), Selection{});
}

TEST_F(MainWindowTest, FocusReturnsToTheLastControlWhenReactivated) {
    d_.show();
    for (int i = 0; i < 5; ++i) d_.press(VK_TAB);
    ASSERT_EQ(d_.focusIndex(), 5u);
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                       nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    d_.pump();
    ASSERT_NE(GetActiveWindow(), d_.hwnd());
    SetForegroundWindow(d_.hwnd());
    SetActiveWindow(d_.hwnd());
    d_.pump();
    EXPECT_EQ(d_.focusIndex(), 5u);
    DestroyWindow(other);
}

TEST_F(MainWindowTest, SpaceTogglesTheFocusedBoxAndNothingElseTouchesIt) {
    d_.show();
    const TreeSnapshot before = d_.registry().snapshot();
    d_.press(VK_SPACE);
    EXPECT_TRUE(d_.window().isTicked(1));
    d_.press(VK_TAB);
    d_.press(VK_SPACE);
    EXPECT_TRUE(d_.window().isTicked(2));
    d_.press(VK_SPACE);
    EXPECT_FALSE(d_.window().isTicked(2));

    // Enter, arrows and Alt+letters: no focus change, no tick, no apply, still open.
    for (WORD vk : {WORD(VK_RETURN), WORD(VK_LEFT), WORD(VK_RIGHT), WORD(VK_UP), WORD(VK_DOWN)}) d_.press(vk);
    for (WORD vk : {WORD('A'), WORD('S'), WORD('X'), WORD('1')}) d_.press(vk, kAlt);
    EXPECT_EQ(d_.focusIndex(), 1u);
    EXPECT_EQ(boxes(), [] {
        Selection s{};
        s[0] = true;
        return s;
    }());
    EXPECT_EQ(d_.confirmations(), 0);
    EXPECT_TRUE(IsWindow(d_.hwnd()));
    EXPECT_FALSE(d_.quitCode());
    EXPECT_EQ(d_.registry().snapshot(), before);
}

TEST_F(MainWindowTest, EnterOnApplyDoesNothingAndSpaceApplies) {
    d_.show();
    SetFocus(d_.control(L"应用"));
    d_.window().setTicked(24, true);
    const TreeSnapshot before = d_.registry().snapshot();

    d_.press(VK_RETURN);
    EXPECT_EQ(d_.confirmations(), 0);
    EXPECT_EQ(d_.registry().snapshot(), before);

    d_.press(VK_SPACE);
    EXPECT_EQ(d_.confirmations(), 1);
    const auto listed = listValues(d_.registry().snapshot());
    EXPECT_EQ(listed.size(), 4u);
    EXPECT_TRUE(listed.contains("Thunder5.exe"));
}

TEST_F(MainWindowTest, ProbeTicksBoxesFromTheListBeforeTheWindowIsShown) {
    WindowDriver fresh;
    fresh.registry().setRaw(kList, "QQDOWNLOAD.exe", RawValue::text("x"));
    fresh.registry().setRaw(kList, "Thunder5.exe", {kRegDword, {0, 0, 0, 0}});
    fresh.registry().setRaw(kList, "KwMusic.exe", RawValue::text("KwMusic.exe"));  // not row 27's probe value
    fresh.registry().setRaw(kList, "1", RawValue::text("kugou.exe"));             // data does not count
    const TreeSnapshot before = fresh.registry().snapshot();
    ASSERT_TRUE(fresh.create());
    EXPECT_FALSE(IsWindowVisible(fresh.hwnd()));
    Selection expected{};
    expected[0] = expected[23] = expected[33] = true;
    EXPECT_EQ(fresh.window().readSelection(), expected);
    EXPECT_EQ(fresh.registry().snapshot(), before);
}

TEST_F(MainWindowTest, SelectAllAndClearAllChangeOnlyTheBoxes) {
    d_.registry().setRaw(kList, "1", RawValue::text("notepad.exe"));
    d_.show();
    const TreeSnapshot before = d_.registry().snapshot();
    d_.window().setTicked(3, true);
    d_.window().setTicked(30, true);

    click(L"全选");
    Selection all;
    all.fill(true);
    EXPECT_EQ(boxes(), all);
    click(L"反选");
    EXPECT_EQ(boxes(), Selection{}) << "clears, does not invert";
    click(L"反选");
    EXPECT_EQ(boxes(), Selection{});
    SendMessageW(d_.control(L"QQ旋风"), BM_CLICK, 0, 0);
    d_.pump();
    EXPECT_TRUE(d_.window().isTicked(34));

    EXPECT_EQ(d_.confirmations(), 0);
    EXPECT_EQ(d_.registry().snapshot(), before);
}

TEST_F(MainWindowTest, ApplyWritesWhatTheBoxesShowAndConfirmsOnce) {
    d_.registry().setRaw(kList, "1", RawValue::text("notepad.exe"));
    d_.registry().setRaw(kList, "emule.exe", RawValue::text("emule.exe"));
    d_.show();
    d_.window().setTicked(1, true);   // shares its name with row 34, which stays clear
    d_.window().setTicked(23, true);
    click(L"应用");

    EXPECT_EQ(d_.confirmations(), 1);
    const auto listed = listValues(d_.registry().snapshot());
    EXPECT_EQ(listed.size(), 3u);
    EXPECT_FALSE(listed.contains("emule.exe"));
    EXPECT_EQ(listed.at("1"), RawValue::text("notepad.exe"));
    EXPECT_EQ(listed.at("QQDownload.exe"), RawValue::text("QQDownload.exe"));
    EXPECT_EQ(listed.at("QQLive.exe"), RawValue::text("qqlive.exe"));
}

TEST_F(MainWindowTest, BoxesHoldTwoStatesAndReadAsTheyShow) {
    const HWND box = d_.window().checkBoxForRow(7);
    for (WPARAM written : {WPARAM(BST_CHECKED), WPARAM(BST_INDETERMINATE), WPARAM(5), WPARAM(BST_UNCHECKED)}) {
        SendMessageW(box, BM_SETCHECK, written, 0);
        const LRESULT state = SendMessageW(box, BM_GETCHECK, 0, 0);
        EXPECT_TRUE(state == BST_CHECKED || state == BST_UNCHECKED) << written << " read back as " << state;
        EXPECT_EQ(d_.window().readSelection()[6], state == BST_CHECKED) << written;
    }
}

// While the real confirmation is open, a timer in its modal loop looks at it
// and presses OK.
struct OpenBox {
    HWND main = nullptr;
    bool seen = false, mainDisabled = false, onlyOk = false;
    std::wstring caption, text;
    int listedWhileOpen = -1;
    StoreHarness* registry = nullptr;
};
OpenBox* g_box = nullptr;

BOOL CALLBACK findBox(HWND hwnd, LPARAM found) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

void CALLBACK pressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box || g_box->seen) return;
    g_box->seen = true;
    KillTimer(nullptr, timer);
    g_box->caption = textOf(box);
    wchar_t text[64] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 64);  // the message's static control
    g_box->text = text;
    g_box->mainDisabled = !IsWindowEnabled(g_box->main);
    g_box->onlyOk = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDNO);
    g_box->listedWhileOpen = static_cast<int>(listValues(g_box->registry->snapshot()).size());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Confirmation, TaskModalMessageAfterTheWritesThenTheWindowIsBack) {
    MessageBoxConfirmation real;
    WindowDriver d(&real);
    ASSERT_TRUE(d.create());
    d.show();
    d.window().setTicked(25, true);
    SetFocus(d.control(L"应用"));
    OpenBox box;
    box.main = d.hwnd();
    box.registry = &d.registry();
    g_box = &box;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, pressOk);
    d.press(VK_SPACE);
    KillTimer(nullptr, timer);
    g_box = nullptr;

    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.caption, L"信息：");
    EXPECT_EQ(box.text, L"设置成功");
    EXPECT_TRUE(box.onlyOk);
    EXPECT_TRUE(box.mainDisabled) << "task-modal: the window waits for the box";
    EXPECT_EQ(box.listedWhileOpen, 2) << "the box comes after the writes";
    EXPECT_TRUE(IsWindowEnabled(d.hwnd()));
    EXPECT_EQ(GetActiveWindow(), d.hwnd());
    EXPECT_EQ(GetFocus(), d.control(L"应用"));
    d.press(VK_TAB);
    EXPECT_EQ(GetFocus(), d.control(L"迅播GVOD")) << "keys reach the window again";
}

struct CloseCase {
    const char* how;
    void (*close)(WindowDriver&);
};

const CloseCase kCloseCases[] = {
    {"Esc", [](WindowDriver& d) { d.press(VK_ESCAPE); }},
    {"Alt+F4", [](WindowDriver& d) { d.press(VK_F4, kAlt); }},
    {"system menu Close", [](WindowDriver& d) { SendMessageW(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"close button", [](WindowDriver& d) { PostMessageW(d.hwnd(), WM_CLOSE, 0, 0); }},
};

class CloseTest : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseTest, ClosesAtOnceWithExitCodeZeroAndSavesNothing) {
    WindowDriver d;
    d.registry().setRaw(kList, "kugou.exe", RawValue::text("kugou.exe"));
    ASSERT_TRUE(d.create());
    d.show();
    const TreeSnapshot before = d.registry().snapshot();
    SendMessageW(d.control(L"全选"), BM_CLICK, 0, 0);
    d.pump();
    GetParam().close(d);
    d.pump();
    EXPECT_FALSE(IsWindow(d.hwnd()));
    EXPECT_EQ(d.quitCode(), 0);
    EXPECT_EQ(d.confirmations(), 0);
    EXPECT_EQ(d.registry().snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseTest, testing::ValuesIn(kCloseCases), [](const auto& c) {
    std::string id;
    for (char ch : std::string(c.param.how)) id += (ch == ' ' || ch == '+') ? '_' : ch;
    return id;
});

}  // namespace
}  // namespace p2pb::test
