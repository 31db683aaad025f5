#include "tests/ui/window_driver.h"

#include <string_view>
#include <vector>

namespace p2pb::test {

WindowDriver::WindowDriver(Confirmation* confirmation) : registry_(makeRegistryHarness()) {
    window_ = std::make_unique<MainWindow>(
        MainWindowDeps{registry_->store(), confirmation ? *confirmation : confirmation_});
    confirmation_.onShow = [this] { lastApplied_ = window_->readSelection(); };
}

WindowDriver::~WindowDriver() {
    window_.reset();  // destroys the window if it is still there
    pump();
}

bool WindowDriver::create() { return window_->create(GetModuleHandleW(nullptr)); }

void WindowDriver::show() {
    window_->show();
    for (int i = 0; i < 50 && GetForegroundWindow() != hwnd(); ++i) {
        SetForegroundWindow(hwnd());
        pump();
    }
    pump();
}

void WindowDriver::addKey(std::vector<INPUT>& inputs, WORD vk, unsigned modifiers) {
    auto key = [&inputs](WORD code, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = code;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (modifiers & kShift) key(VK_SHIFT, false);
    if (modifiers & kAlt) key(VK_MENU, false);
    key(vk, false);
    key(vk, true);
    if (modifiers & kAlt) key(VK_MENU, true);
    if (modifiers & kShift) key(VK_SHIFT, true);
}

void WindowDriver::addClick(std::vector<INPUT>& inputs, POINT client) const {
    ClientToScreen(hwnd(), &client);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (DWORD flag : {DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP)}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = (client.x * 65535 + w / 2) / (w - 1);
        in.mi.dy = (client.y * 65535 + h / 2) / (h - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flag;
        inputs.push_back(in);
    }
}

void WindowDriver::send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    inputs.clear();
    pump();
}

void WindowDriver::press(WORD vk, unsigned modifiers) {
    std::vector<INPUT> inputs;
    addKey(inputs, vk, modifiers);
    send(inputs);
}

void WindowDriver::pump() {
    // Injected input reaches the queue asynchronously: keep going until the
    // queue has stayed empty for a while, within a bound.
    for (int idle = 0, rounds = 0; idle < 3 && rounds < 400; ++rounds) {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) {
                quitCode_ = static_cast<int>(msg.wParam);
                continue;
            }
            if (window_ && window_->preTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        idle = any ? 0 : idle + 1;
        if (!any) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND WindowDriver::control(const wchar_t* name) const {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (std::wstring_view(kControls[i].name) == name) return window_->control(i);
    }
    return nullptr;
}

std::size_t WindowDriver::focusIndex() const {
    const HWND focus = GetFocus();
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (window_->control(i) == focus) return i;
    }
    return kControlCount;
}

}  // namespace p2pb::test
