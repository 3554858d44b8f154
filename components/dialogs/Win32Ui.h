#pragma once

// What the component's windows share: the system's dialog font and its dialog units, the visual
// styles of the DLL's own manifest, controls, the message loop with its timeouts, a person's input
// through the system's input queue, and pictures of a window.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The launchers' GetClassName operations, not the system's macro of the same name.
#undef GetClassName

#include <functional>
#include <string>

namespace moru::components::win32 {

// The system's message font at the system's DPI, and the dialog units it gives.
struct DialogUnits {
    HFONT font = nullptr;
    int baseX = 6;
    int baseY = 13;
    int X(int units) const { return MulDiv(units, baseX, 4); }
    int Y(int units) const { return MulDiv(units, baseY, 8); }
};
const DialogUnits& SystemDialogUnits();

// Activates the DLL's own manifest (common controls 6, so visual styles) while it lives, so that
// a host without a manifest still gets them. Does nothing when the context cannot be made.
class VisualStyles {
public:
    VisualStyles();
    ~VisualStyles();
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;

private:
    HANDLE m_context = INVALID_HANDLE_VALUE;
    ULONG_PTR m_cookie = 0;
    bool m_active = false;
};

HINSTANCE ModuleInstance();

// A child control in the system's dialog font; throws ServiceError when it cannot be made.
HWND MakeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, int id,
                 DWORD extendedStyle = 0);
std::wstring WindowText(HWND window);

// A top-level window of ours: IsDialogMessage gives it the dialog keys (Tab, Enter, Esc, arrows).
void RegisterDialogWindow(HWND window);
void UnregisterDialogWindow(HWND window);
void DispatchOne(MSG& message);

// Processes this thread's messages until `done` holds (checked after each message and when the
// queue is empty) or `timeoutMs` has passed; returns whether `done` held. Without `done`, until the
// queue has stayed empty for a moment.
bool Pump(const std::function<bool()>& done, DWORD timeoutMs);
bool PumpUntilIdle(DWORD timeoutMs = 5000);

// A person's input, through the system's input queue to whatever window it reaches.
void ClickAt(HWND window, POINT client, bool withControl = false, bool twice = false);
void Click(HWND window, bool twice = false);
// A key by its script name ("tab", "ctrl+space", ...); false for a name it does not know.
bool PressKey(const std::string& name);
void TypeText(const std::wstring& text);

// Saves the window's client area as it shows on the screen to NAME.png in the folder that MORU_DIALOG_SCREENSHOTS
// names; nothing when it names none. Failures to save are left unreported: a picture is never
// worth a failed dialog.
void SaveScreenshot(HWND window, const std::string& name);

} // namespace moru::components::win32
