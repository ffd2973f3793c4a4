// The system's message box: a modal window in the window layer's plain look with the icon of its type, the
// wrapped text and the buttons of its MB_ button set, answered with the mouse or the keyboard.
#pragma once
#include "platform/win/WinTypes.h"

#include <functional>

// Button sets (type & MB_TYPEMASK).
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_ABORTRETRYIGNORE = 0x02;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_RETRYCANCEL = 0x05;
constexpr UINT MB_CANCELTRYCONTINUE = 0x06;
constexpr UINT MB_TYPEMASK = 0x0F;
// Icons (type & MB_ICONMASK).
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONMASK = 0xF0;
// The default button (type & MB_DEFMASK): the first, second or third of the set.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;

// The answers, which are also the buttons' control identifiers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// Shows the box, centred on `owner`, and returns the answer once the user chose. While it is up the owner's
// top-level window and the windows it owns take no input (with no visible owner: every top-level window of the
// program), and everything keeps painting. Enter pushes the focused button (first the default one), Tab and the
// arrows move between the buttons, a button's underlined letter (with or without Alt) pushes it, and Escape or
// the close box give MessageBoxCancelAnswer. A null caption is "Error". Returns 0 when the window layer is not
// running or the box cannot be made. UI thread.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The answer of a box closed without a button: Cancel where the set has one, else OK, No or Abort.
int MessageBoxCancelAnswer(UINT type);

// Called with the box once it is shown and has the focus, before it waits for the user; tests inject their
// input there. Null removes it.
using TMessageBoxHook = std::function<void(HWND box)>;
void SetMessageBoxHook(TMessageBoxHook hook);
