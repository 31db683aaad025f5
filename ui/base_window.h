// One window class per derived type. The window procedure finds its object
// through GWLP_USERDATA, stored at WM_NCCREATE, and forwards every message to
// Derived::handleMessage.
#pragma once

#include <windows.h>

#include "ui/scoped_win.h"

namespace p2pb {

struct WindowClassSpec {
    HINSTANCE instance;
    const wchar_t* className;
    HBRUSH background;
};

struct WindowSpec {
    const wchar_t* title;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height;
};

template <typename Derived>
class BaseWindow {
public:
    HWND hwnd() const { return hwnd_.get(); }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // Registers the class once per process; true if it is registered.
    static bool registerClass(const WindowClassSpec& cls) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(cls.instance, cls.className, &wc)) return true;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BaseWindow::windowProc;
        wc.hInstance = cls.instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.className;
        return RegisterClassExW(&wc) != 0;
    }

    // The derived destructor must call this: the window's last messages still
    // reach Derived::handleMessage.
    void destroyWindow() { hwnd_.reset(); }

    bool createWindow(const WindowClassSpec& cls, const WindowSpec& win) {
        if (!registerClass(cls)) return false;
        CreateWindowExW(win.exStyle, cls.className, win.title, win.style, win.left, win.top, win.width, win.height,
                        nullptr, nullptr, cls.instance, static_cast<Derived*>(this));
        return hwnd_.get() != nullptr;
    }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_.reset(hwnd);
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

        const LRESULT result = self->handleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_.release();  // already gone
        }
        return result;
    }

    ScopedWindow hwnd_;
};

}  // namespace p2pb
