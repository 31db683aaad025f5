#include <windows.h>

#include "policy/message_box_confirmation.h"
#include "policy/registry_store.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    p2pb::RegistryStore store;
    p2pb::MessageBoxConfirmation confirmation;
    p2pb::MainWindow window({store, confirmation});
    if (!window.create(instance)) return 1;
    window.show();
    return p2pb::runMessageLoop(window);
}
