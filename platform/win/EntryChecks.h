// The checks a window-layer entry point starts with: the layer is running on this thread, the handle names a
// live window of the kind the call accepts, and the pointers it must write through are given. One place, so
// every call fails the same way and sets the same last error.
//
//     TWindowRecord* w = WinCore::NeedWindow(hwnd, info);
//     if (!w)
//         return FALSE;
#pragma once
#include "platform/win/PlatformState.h"

#include <cstdint>

namespace WinCore {

// The windows an entry point accepts.
enum class TAccept : uint8_t {
    // Windows made by CreateWindowEx (not the desktop, not the message-only root).
    Windows,
    // Those that can be seen: message-only windows are never shown, painted, focused or given input.
    Drawable,
    // Windows and the desktop (geometry queries: the desktop is the screen).
    WithDesktop,
};

// The live record of `hwnd`, or null with the last error set: ERROR_INVALID_HANDLE while the layer is stopped,
// ERROR_WINDOW_OF_OTHER_THREAD off the UI thread, ERROR_INVALID_WINDOW_HANDLE when the handle is not a live
// window that `accept` takes, else ERROR_INVALID_PARAMETER when `pointersGiven` is false.
TWindowRecord* CheckWindow(HWND hwnd, TAccept accept, bool pointersGiven);

// `required` are the pointer arguments (data or callbacks) the call cannot do without.
template <typename... TPointers>
TWindowRecord* NeedWindow(HWND hwnd, TPointers... required)
{
    return CheckWindow(hwnd, TAccept::Windows, ((required != nullptr) && ...));
}

template <typename... TPointers>
TWindowRecord* NeedDrawable(HWND hwnd, TPointers... required)
{
    return CheckWindow(hwnd, TAccept::Drawable, ((required != nullptr) && ...));
}

template <typename... TPointers>
TWindowRecord* NeedWindowOrDesktop(HWND hwnd, TPointers... required)
{
    return CheckWindow(hwnd, TAccept::WithDesktop, ((required != nullptr) && ...));
}

// For calls that take no window: the layer is running on this thread and the pointers are given, else false
// with the last error set as above.
template <typename... TPointers>
bool NeedArguments(TPointers... required)
{
    if (!Ready())
        return false;
    if (!((required != nullptr) && ...)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

} // namespace WinCore
