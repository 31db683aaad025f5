#include "policy/catalogue.h"

namespace p2pb {
namespace {

constexpr BlockValue same(const char* name) { return {name, name}; }

}  // namespace

const Catalogue kCatalogue = {{
    {1, L"超级旋风", L"超级旋风", "QQDownload.exe", {same("QQDownload.exe")}},
    {2, L"酷狗音乐", L"酷狗音乐", "kugou.exe", {same("kugou.exe")}},
    {3, L"Vagaa哇嘎", L"Vagaa哇嘎", "vagaa.exe", {same("vagaa.exe")}},
    {4, L"PP点点通", L"PP点点通", "PP.exe", {same("PP.exe"), same("PP2008.exe"), same("CMUpnp.dll")}},
    {5, L"eMule", L"eMule(电驴)", "emule.exe", {same("emule.exe")}},
    {6, L"Web迅雷", L"Web迅雷", "WebThunder.exe", {same("WebThunder.exe")}},
    {7, L"P8", L"P8", "P8.exe", {same("P8.exe")}},
    {8, L"百宝", L"百宝", "100bao.exe", {same("100bao.exe")}},
    {9, L"快车", L"快车", "flashget.exe", {same("flashget.exe")}},
    {10, L"BitComnt", L"BitComnt", "BitComet.exe", {same("BitComet.exe")}},
    {11, L"比特精灵", L"比特精灵", "BitSpirit.exe", {same("BitSpirit.exe")}},
    {12, L"网络剪刀手", L"网络剪刀手", "netcut.exe", {same("netcut.exe")}},
    {13, L"网络执法官", L"网络执法官", "Robocop.exe", {same("Robocop.exe")}},
    {14, L"QQ第六感", L"QQ第六感", "SixthSense.exe", {same("SixthSense.exe")}},
    {15, L"Poco2007", L"Poco2007", "Poco2007.exe", {same("Poco2007.exe")}},
    {16, L"屁屁狗", L"屁屁狗", "PPGou.exe", {same("PPGou.exe")}},
    {17, L"百听不厌", L"百听不厌", "btby.exe", {same("btby.exe")}},
    {18, L"卡盟", L"卡盟", "Kamun.exe", {same("Kamun.exe")}},
    {19, L"维宇RealLink", L"维宇RealLink", "RealLink.exe", {same("RealLink.exe")}},
    {20, L"Kuro音乐盒", L"Kuro音乐盒", "KuroMusic.exe", {same("KuroMusic.exe")}},
    {21, L"百兆BOX", L"百兆BOX", "bzbox.exe", {same("bzbox.exe")}},
    {22, L"PPlive", L"PPlive", "PPLive.exe", {same("PPLive.exe")}},
    {23, L"QQ直播", L"QQ直播", "QQLive.exe", {{"QQLive.exe", "qqlive.exe"}}},
    {24, L"迅雷", L"迅雷", "Thunder5.exe",
     {same("server.met"), same("Thunder.exe"), same("Thunder5.exe"), same("Thunder6.exe")}},
    {25, L"QVOD", L"QVOD", "QvodPlayer.exe", {same("QvodPlayer.exe"), same("QvodTerminal.exe")}},
    {26, L"脱兔", L"脱兔", "Tuotu.exe", {same("Tuotu.exe")}},
    {27, L"酷我音乐盒", L"酷我音乐盒", "KwMV.exe", {same("KwMV.exe"), same("KwMusic.exe")}},
    {28, L"uTorrent", L"uTorrent", "uTorrent.exe", {same("uTorrent.exe")}},
    {29, L"搜狐", L"搜狐", "Sooyuu.exe", {same("Sooyuu.exe")}},
    {30, L"PPStream", L"PPStream", "PPSAP.exe", {same("PPSAP.exe"), same("PPStream.exe")}},
    {31, L"UUSee", L"UUSee", "UUSeePlayer.exe", {same("UUSeePlayer.exe")}},
    {32, L"风行", L"风行", "Funshion.exe", {same("Funshion.exe")}},
    {33, L"FlashFXP", L"FlashFXP", "FlashBT.exe", {same("FlashBT.exe")}},
    {34, L"QQ旋风", L"QQ旋风", "QQDownload.exe", {same("QQDownload.exe")}},
    {35, L"迅雷看看播放器", L"迅雷播放器", "xmp.exe", {same("xmp.exe")}},
    {36, L"迅播GVOD", L"迅播(GVOD)", "gvods.exe", {same("gvods.exe")}},
}};

const BlockEntry* findByControlName(std::wstring_view controlName) {
    for (const BlockEntry& entry : kCatalogue) {
        if (controlName == entry.controlName) return &entry;
    }
    return nullptr;
}

}  // namespace p2pb
