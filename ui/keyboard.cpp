#include "ui/keyboard.h"

namespace p2pb {

KeyAction classifyKey(UINT message, WPARAM key, bool shiftDown) {
    switch (message) {
    case WM_KEYDOWN:
        switch (key) {
        case VK_TAB: return shiftDown ? KeyAction::PreviousControl : KeyAction::NextControl;
        case VK_ESCAPE: return KeyAction::Close;
        case VK_RETURN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: return KeyAction::Swallow;
        default: return KeyAction::Pass;
        }
    case WM_CHAR:
        return (key == L'\t' || key == L'\r' || key == L'\n' || key == 0x1B) ? KeyAction::Swallow : KeyAction::Pass;
    case WM_SYSCHAR:
        // Alt+letter: there are no mnemonics, and the default handling would beep.
        // Alt+Space still opens the system menu.
        return key == L' ' ? KeyAction::Pass : KeyAction::Swallow;
    default: return KeyAction::Pass;
    }
}

std::size_t nextTabStop(std::size_t current, std::size_t count, bool backwards) {
    if (current >= count) return backwards ? count - 1 : 0;
    if (backwards) return current == 0 ? count - 1 : current - 1;
    return current + 1 == count ? 0 : current + 1;
}

}  // namespace p2pb
