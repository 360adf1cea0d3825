// manacalc: the calculator window on the Windows API.

#include <windows.h>

#include <commctrl.h>

#include "win/creation_failure.h"
#include "win/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The manifest asks for common controls 6: their visual styles.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        win::Form1 form(instance);
        form.show(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Thrown, so that the window is gone before the box shows.
        if (form.failure()) throw *form.failure();
        return static_cast<int>(message.wParam);
    } catch (const win::CreationFailure& failure) {
        // A window program has no terminal to say it on: the cause in a box,
        // and exit status 1, as the Linux window's when it has no display.
        MessageBoxW(nullptr, failure.message().c_str(), L"manacalc", MB_OK | MB_ICONERROR);
        return 1;
    }
}
