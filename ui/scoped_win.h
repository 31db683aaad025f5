// Owners for window-system handles.
#pragma once

#include <windows.h>

#include "policy/scoped_handle.h"

namespace p2pb {

struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static void close(HWND hwnd) { DestroyWindow(hwnd); }
};
using ScopedWindow = ScopedHandle<HWND, WindowTraits>;

struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON icon) { DestroyIcon(icon); }
};
using ScopedIcon = ScopedHandle<HICON, IconTraits>;

}  // namespace p2pb
