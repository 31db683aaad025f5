// The program's one window: 36 check boxes in a group box, and three buttons.
#pragma once

#include <windows.h>

#include <array>

#include "policy/probe_apply.h"
#include "policy/store.h"
#include "ui/base_window.h"
#include "ui/layout.h"
#include "ui/scoped_win.h"

namespace p2pb {

struct MainWindowDeps {
    PolicyStore& store;
    Confirmation& confirmation;
};

class MainWindow final : public BaseWindow<MainWindow> {
public:
    explicit MainWindow(MainWindowDeps deps) : deps_(deps) {}
    ~MainWindow() { destroyWindow(); }

    // Builds the window hidden, with its controls, and ticks what the list holds.
    bool create(HINSTANCE instance);
    // Shows and activates the window, with the focus on the first check box.
    void show();
    // The keyboard filter of the message loop; true when the message is used up.
    bool preTranslate(const MSG& msg);

    HWND control(std::size_t index) const { return controls_[index]; }
    HWND checkBoxForRow(int position) const;

    bool isTicked(int position) const;
    void setTicked(int position, bool ticked);
    Selection readSelection() const;

    void selectAll();
    void clearAll();
    void apply();

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct CommandArgs {
        int id;
        int code;
    };
    struct ColorArgs {
        HDC dc;
    };

    void createControls();
    void stackControls();
    void moveFocus(bool backwards);
    std::size_t indexOf(HWND control) const;

    void onCreate();
    LRESULT onCommand(CommandArgs args);
    LRESULT onColor(ColorArgs args);
    void onActivate(bool active);
    void onSetFocus();

    static LRESULT CALLBACK groupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    MainWindowDeps deps_;
    HINSTANCE instance_ = nullptr;
    ScopedIcon bigIcon_;    // outlive the window, which is destroyed before them
    ScopedIcon smallIcon_;
    std::array<HWND, kControlCount> controls_{};  // children, destroyed with the window
    std::array<HWND, kCatalogueSize> boxByRow_{};
    WNDPROC groupBoxDefault_ = nullptr;
    HWND lastFocus_ = nullptr;
};

// Runs the message loop through the window's keyboard filter; returns the exit code.
int runMessageLoop(MainWindow& window);

}  // namespace p2pb
