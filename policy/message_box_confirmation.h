#pragma once

#include "policy/probe_apply.h"

namespace p2pb {

// "设置成功" in a task-modal box with no owner: every window of the thread is
// disabled until the user dismisses it.
class MessageBoxConfirmation final : public Confirmation {
public:
    void show() override;
};

}  // namespace p2pb
