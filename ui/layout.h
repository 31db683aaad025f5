// The window's fixed geometry and its 40 controls, in tab order.
#pragma once

#include <array>
#include <cstddef>

namespace p2pb {

inline constexpr const wchar_t* kWindowTitle = L"MorvestaP2P软件屏蔽器 V1.0";
inline constexpr int kWindowWidth = 299;   // outer size, frame and title bar included
inline constexpr int kWindowHeight = 339;

enum class ControlKind { CheckBox, PushButton, GroupBox };
enum class ParentKind { Window, GroupBox };
enum class Action { None, SelectAll, ClearAll, Apply };

struct ControlSpec {
    const wchar_t* name;
    ControlKind kind;
    const wchar_t* caption;
    ParentKind parent;
    int left, top, width, height;  // relative to the parent's client area
    int row;                       // catalogue position a check box shows; 0 otherwise
    Action action;                 // what a push button does
};

inline constexpr std::size_t kControlCount = 40;
inline constexpr std::size_t kTabStopCount = 39;  // all but the group box, which is last

// Entries 0..38 are the tab stops in tab order; entry 39 is the group box.
extern const std::array<ControlSpec, kControlCount> kControls;

// The id the control at this table index is created with.
constexpr int controlId(std::size_t index) { return 1000 + static_cast<int>(index); }

// The group box's entry.
inline constexpr std::size_t kGroupBoxIndex = kControlCount - 1;

}  // namespace p2pb
