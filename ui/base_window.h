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
    static bool registerClass(const WindowClassSpec& spec) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(spec.instance, spec.className, &wc)) return true;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BaseWindow::windowProc;
        wc.hInstance = spec.instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = spec.background;
        wc.lpszClassName = spec.className;
        return RegisterClassExW(&wc) != 0;
    }

    // The derived destructor must call this: the window's last messages still
    // reach Derived::handleMessage.
    void destroyWindow() { hwnd_.reset(); }

    bool createWindow(const WindowClassSpec& cls, const WindowSpec& spec) {
        if (!registerClass(cls)) return false;
        CreateWindowExW(spec.exStyle, cls.className, spec.title, spec.style, spec.left, spec.top, spec.width,
                        spec.height, nullptr, nullptr, cls.instance, static_cast<Derived*>(this));
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
