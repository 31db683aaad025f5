#include "ui/layout.h"

namespace p2pb {
namespace {

constexpr ControlSpec box(const wchar_t* name, const wchar_t* caption, ParentKind parent, int left, int top,
                          int width, int height, int row) {
    return {name, ControlKind::CheckBox, caption, parent, left, top, width, height, row, Action::None};
}
constexpr ControlSpec button(const wchar_t* name, const wchar_t* caption, int left, Action action) {
    return {name, ControlKind::PushButton, caption, ParentKind::Window, left, 277, 84, 25, 0, action};
}

constexpr ParentKind W = ParentKind::Window;
constexpr ParentKind G = ParentKind::GroupBox;

}  // namespace

const std::array<ControlSpec, kControlCount> kControls = {{
    box(L"超级旋风", L"超级旋风", G, 13, 15, 85, 14, 1),
    box(L"酷狗音乐", L"酷狗音乐", G, 110, 10, 87, 24, 2),
    box(L"PP点点通", L"PP点点通", W, 16, 32, 96, 24, 4),
    box(L"Vagaa哇嘎", L"Vagaa哇嘎", W, 204, 9, 82, 24, 3),
    box(L"P8", L"P8", G, 13, 54, 96, 24, 7),
    box(L"BitComnt", L"BitComnt", G, 13, 76, 96, 24, 10),
    box(L"网络执法官", L"网络执法官", G, 13, 98, 96, 24, 13),
    box(L"屁屁狗", L"屁屁狗", G, 13, 120, 96, 24, 16),
    box(L"维宇RealLink", L"维宇RealLink", G, 13, 142, 96, 24, 19),
    box(L"PPlive", L"PPlive", G, 14, 164, 96, 24, 22),
    box(L"QVOD", L"QVOD", G, 14, 186, 96, 24, 25),
    box(L"uTorrent", L"uTorrent", G, 14, 208, 96, 24, 28),
    box(L"QQ直播", L"QQ直播", G, 111, 164, 96, 24, 23),
    box(L"脱兔", L"脱兔", G, 111, 186, 96, 24, 26),
    box(L"搜狐", L"搜狐", G, 111, 208, 96, 24, 29),
    box(L"百听不厌", L"百听不厌", G, 110, 120, 96, 24, 17),
    box(L"Kuro音乐盒", L"Kuro音乐盒", G, 110, 142, 96, 24, 20),
    box(L"QQ第六感", L"QQ第六感", G, 110, 98, 96, 24, 14),
    box(L"比特精灵", L"比特精灵", G, 110, 76, 96, 24, 11),
    box(L"百宝", L"百宝", G, 110, 54, 96, 24, 8),
    box(L"eMule", L"eMule(电驴)", G, 110, 32, 96, 24, 5),
    box(L"迅雷", L"迅雷", G, 202, 163, 81, 24, 24),
    box(L"酷我音乐盒", L"酷我音乐盒", G, 202, 185, 82, 24, 27),
    box(L"PPStream", L"PPStream", G, 202, 207, 79, 24, 30),
    box(L"卡盟", L"卡盟", G, 201, 119, 82, 24, 18),
    box(L"百兆BOX", L"百兆BOX", G, 201, 141, 78, 24, 21),
    box(L"Poco2007", L"Poco2007", G, 201, 97, 80, 24, 15),
    box(L"网络剪刀手", L"网络剪刀手", G, 201, 75, 80, 24, 12),
    box(L"快车", L"快车", G, 201, 53, 80, 24, 9),
    box(L"Web迅雷", L"Web迅雷", G, 201, 31, 80, 24, 6),
    box(L"FlashFXP", L"FlashFXP", G, 203, 229, 79, 24, 33),
    box(L"风行", L"风行", G, 112, 230, 87, 24, 32),
    box(L"UUSee", L"UUSee", G, 15, 230, 96, 24, 31),
    button(L"全选", L"全   选", 9, Action::SelectAll),
    button(L"反选", L"反   选", 103, Action::ClearAll),
    button(L"应用", L"应   用", 198, Action::Apply),
    box(L"迅播GVOD", L"迅播(GVOD)", G, 203, 250, 80, 24, 36),
    box(L"迅雷看看播放器", L"迅雷播放器", G, 112, 251, 87, 24, 35),
    box(L"QQ旋风", L"QQ旋风", G, 15, 251, 96, 24, 34),
    {L"分组框1", ControlKind::GroupBox, L"", ParentKind::Window, 3, 0, 287, 276, 0, Action::None},
}};

}  // namespace p2pb
