// What the window does with a key before the focused control sees it.
#pragma once

#include <windows.h>

#include <cstddef>

namespace p2pb {

enum class KeyAction {
    Pass,             // the control and the system handle it as usual
    Swallow,          // nothing happens, and nothing beeps
    NextControl,      // Tab
    PreviousControl,  // Shift+Tab
    Close,            // Esc
};

KeyAction classifyKey(UINT message, WPARAM key, bool shiftDown);

// The tab stop after (or before) `current`, wrapping round; from no tab stop
// (current >= count) it is the first (or the last).
std::size_t nextTabStop(std::size_t current, std::size_t count, bool backwards);

}  // namespace p2pb
