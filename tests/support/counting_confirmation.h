// A confirmation that shows nothing: it counts, and can run a hook.
#pragma once

#include <functional>

#include "policy/probe_apply.h"

namespace p2pb::test {

class CountingConfirmation final : public Confirmation {
public:
    void show() override {
        ++shown;
        if (onShow) onShow();
    }
    int shown = 0;
    std::function<void()> onShow;
};

}  // namespace p2pb::test
