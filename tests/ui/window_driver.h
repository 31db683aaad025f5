// Drives a MainWindow in-process the way a user would: input goes through the
// system's input queue and the window's own message filter, then the queue is
// pumped before anything is checked.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "policy/probe_apply.h"
#include "tests/support/counting_confirmation.h"
#include "tests/support/store_harness.h"
#include "ui/main_window.h"

namespace p2pb::test {

enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kAlt = 2 };

class WindowDriver {
public:
    // A window on a scratch registry, not yet built. Confirmations are counted,
    // or go to `confirmation` when given.
    explicit WindowDriver(Confirmation* confirmation = nullptr);
    ~WindowDriver();

    StoreHarness& registry() { return *registry_; }
    MainWindow& window() const { return *window_; }
    HWND hwnd() const { return window_->hwnd(); }
    int confirmations() const { return confirmation_.shown; }
    // What the boxes showed when apply last ran.
    const std::optional<Selection>& lastApplied() const { return lastApplied_; }

    bool create();  // builds the window (probe included)
    void show();    // shows it and waits until it has the focus

    // Types a key through SendInput, then pumps.
    void press(WORD vk, unsigned modifiers = kNoModifier);
    // Queues a key or a left click at a client point, without pumping.
    static void addKey(std::vector<INPUT>& inputs, WORD vk, unsigned modifiers);
    void addClick(std::vector<INPUT>& inputs, POINT client) const;
    void send(std::vector<INPUT>& inputs);  // sends and pumps
    // Handles everything queued, waiting a little for input still in flight.
    void pump();
    // The exit code, once the window has gone and the loop has been told to quit.
    std::optional<int> quitCode() const { return quitCode_; }

    HWND control(const wchar_t* name) const;
    std::size_t focusIndex() const;  // table index of the focused control, or kControlCount

private:
    std::unique_ptr<StoreHarness> registry_;
    CountingConfirmation confirmation_;
    std::optional<Selection> lastApplied_;
    std::unique_ptr<MainWindow> window_;
    std::optional<int> quitCode_;
};

}  // namespace p2pb::test
