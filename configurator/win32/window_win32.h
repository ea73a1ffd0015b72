// What the configurator window's Win32 files share: the main window, the
// page dialog procedures, and the few helpers every page needs.
#pragma once

#include <windows.h>

#include <optional>

#include "configurator/seams/window_controls.h"

namespace quillon {

HWND MainWindow();
// The control primitives find a control by its id in these dialogs.
void AddControlParent(HWND dialog);
void ForgetControlParents();
HWND ControlWindow(int id);
// True while the logic has the control lit (SetLit).
bool IsLitControl(HWND control);

// Themed background, as a property page has; done in each page's
// WM_INITDIALOG.
void PreparePage(HWND page);
// One tool tip for every control below `window` that has a string resource
// of its own id.
void AddToolTips(HWND window);
// A WM_COMMAND notification as the page logic names it; none for the
// notifications it does not hear.
std::optional<ControlEvent> EventOf(HWND control, int notification);

// The dialog procedure of a page whose logic hears its controls: the page's
// WM_INITDIALOG runs `onInit`, and the notifications of EventOf go to
// `onEvent`.
INT_PTR PageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR (*onInit)(HWND page),
                    void (*onEvent)(int id, ControlEvent event));

// A page whose controls only show what the logic sets (About, and the
// pages whose own controls are still to come).
INT_PTR CALLBACK DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ActionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// The main window was minimised or restored: the live view stops or goes on.
void ActionsPageWindowSized();
// While press-to-set waits for a key it takes every key-down first; true
// when it took this message.
bool TakenByPressToSet(const MSG& message);
INT_PTR CALLBACK ConfigurationsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OtherSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quillon
