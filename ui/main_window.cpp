#include "ui/main_window.h"

#include "ui/keyboard.h"

namespace p2pb {
namespace {

constexpr const wchar_t* kClassName = L"MorvestaP2PBlockerWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD controlStyle(ControlKind kind) {
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case ControlKind::CheckBox:
        return common | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER | BS_MULTILINE;
    case ControlKind::PushButton:
        return common | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    case ControlKind::GroupBox: return common | BS_GROUPBOX | BS_LEFT;
    }
    return common;
}

HICON loadIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, 0));
}

}  // namespace

bool MainWindow::create(HINSTANCE instance) {
    instance_ = instance;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    if (!createWindow({instance, kClassName, GetSysColorBrush(COLOR_BTNFACE)},
                      {kWindowTitle, kWindowStyle, 0, left, top, kWindowWidth, kWindowHeight})) {
        return false;
    }
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    if (outer.right - outer.left != kWindowWidth || outer.bottom - outer.top != kWindowHeight) {
        SetWindowPos(hwnd(), nullptr, 0, 0, kWindowWidth, kWindowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void MainWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(controls_[0]);
}

void MainWindow::onCreate() {
    bigIcon_.reset(loadIcon(instance_, 32));
    smallIcon_.reset(loadIcon(instance_, 16));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    createControls();
    stackControls();

    const Selection found = probe(deps_.store);
    for (const BlockEntry& entry : kCatalogue) {
        if (found[entry.position - 1]) setTicked(entry.position, true);
    }
}

void MainWindow::createControls() {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    // The group box first: 34 of the check boxes are its children.
    auto make = [&](std::size_t index) {
        const ControlSpec& ctl = kControls[index];
        const HWND parent = ctl.parent == ParentKind::GroupBox ? controls_[kGroupBoxIndex] : hwnd();
        const HWND control = CreateWindowExW(0, L"BUTTON", ctl.caption, controlStyle(ctl.kind), ctl.left, ctl.top,
                                             ctl.width, ctl.height, parent,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(index))),
                                             instance_, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
        controls_[index] = control;
        if (ctl.row > 0) boxByRow_[ctl.row - 1] = control;
    };
    make(kGroupBoxIndex);
    SetWindowLongPtrW(controls_[kGroupBoxIndex], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    groupBoxDefault_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        controls_[kGroupBoxIndex], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::groupBoxProc)));
    for (std::size_t i = 0; i < kTabStopCount; ++i) make(i);
}

// Within each parent the last control in tab order is on top, and the group box
// lies beneath everything. New children start at the bottom, so restack them.
void MainWindow::stackControls() {
    for (std::size_t i = 0; i < kTabStopCount; ++i) {
        SetWindowPos(controls_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWindowPos(controls_[kGroupBoxIndex], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND MainWindow::checkBoxForRow(int position) const {
    return position >= 1 && position <= static_cast<int>(kCatalogueSize) ? boxByRow_[position - 1] : nullptr;
}

bool MainWindow::isTicked(int position) const {
    return SendMessageW(checkBoxForRow(position), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::setTicked(int position, bool ticked) {
    SendMessageW(checkBoxForRow(position), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Selection MainWindow::readSelection() const {
    Selection selection{};
    for (const BlockEntry& entry : kCatalogue) selection[entry.position - 1] = isTicked(entry.position);
    return selection;
}

void MainWindow::selectAll() {
    for (const BlockEntry& entry : kCatalogue) setTicked(entry.position, true);
}

void MainWindow::clearAll() {
    for (const BlockEntry& entry : kCatalogue) setTicked(entry.position, false);
}

void MainWindow::apply() {
    const HWND focus = GetFocus();
    applySelection(deps_.store, readSelection(), deps_.confirmation);
    // The confirmation has no owner, so closing it need not hand activation
    // back (Wine leaves no window active): take it back, with the focus.
    if (GetActiveWindow() != hwnd() && IsWindowVisible(hwnd())) {
        SetForegroundWindow(hwnd());
        SetActiveWindow(hwnd());
    }
    if (focus && IsChild(hwnd(), focus)) SetFocus(focus);
}

std::size_t MainWindow::indexOf(HWND control) const {
    for (std::size_t i = 0; i < kTabStopCount; ++i) {
        if (controls_[i] == control) return i;
    }
    return kTabStopCount;
}

void MainWindow::moveFocus(bool backwards) {
    SetFocus(controls_[nextTabStop(indexOf(GetFocus()), kTabStopCount, backwards)]);
}

bool MainWindow::preTranslate(const MSG& msg) {
    if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    switch (classifyKey(msg.message, msg.wParam, GetKeyState(VK_SHIFT) < 0)) {
    case KeyAction::Pass: return false;
    case KeyAction::Swallow: return true;
    case KeyAction::NextControl: moveFocus(false); return true;
    case KeyAction::PreviousControl: moveFocus(true); return true;
    case KeyAction::Close: SendMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); return true;
    }
    return false;
}

LRESULT MainWindow::onCommand(CommandArgs args) {
    const auto index = static_cast<std::size_t>(args.id - controlId(0));
    if (args.code != BN_CLICKED || index >= kControlCount) return 0;
    switch (kControls[index].action) {
    case Action::SelectAll: selectAll(); break;
    case Action::ClearAll: clearAll(); break;
    case Action::Apply: apply(); break;
    case Action::None: break;
    }
    return 0;
}

LRESULT MainWindow::onColor(ColorArgs args) {
    SetTextColor(args.dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(args.dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::onActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
    }
}

void MainWindow::onSetFocus() {
    if (lastFocus_ && IsWindow(lastFocus_)) SetFocus(lastFocus_);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(); return 0;
    case WM_COMMAND: return onCommand({LOWORD(wParam), HIWORD(wParam)});
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return onColor({reinterpret_cast<HDC>(wParam)});
    case WM_ACTIVATE: onActivate(LOWORD(wParam) != WA_INACTIVE); break;
    case WM_SETFOCUS: onSetFocus(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

// The group box paints its own face and colours its check boxes: the window's
// WS_CLIPCHILDREN keeps the window's own background out of the box.
LRESULT CALLBACK MainWindow::groupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND: {
        RECT area{};
        GetClientRect(hwnd, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return self->onColor({reinterpret_cast<HDC>(wParam)});
    default: return CallWindowProcW(self->groupBoxDefault_, hwnd, message, wParam, lParam);
    }
}

int runMessageLoop(MainWindow& window) {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace p2pb
