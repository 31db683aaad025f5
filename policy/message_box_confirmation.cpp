#include "policy/message_box_confirmation.h"

#include <windows.h>

namespace p2pb {

void MessageBoxConfirmation::show() { MessageBoxW(nullptr, L"设置成功", L"信息：", MB_OK | MB_TASKMODAL); }

}  // namespace p2pb
