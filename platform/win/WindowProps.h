// Window properties (named handles a window carries) and deferred positioning of several windows at once.
#pragma once
#include "platform/win/WinTypes.h"

// Names compare case-insensitively; an atom (MAKEINTATOM) names a property by number. A property stays until
// RemoveProp or until the window is destroyed; what the handle refers to is the caller's to free.
BOOL SetProp(HWND hwnd, const char* name, HANDLE data);
// Null when the window has no such property.
HANDLE GetProp(HWND hwnd, const char* name);
// Returns the property's handle and removes it; null when there was none.
HANDLE RemoveProp(HWND hwnd, const char* name);
// Calls `callback` for each property (newest first) until it returns FALSE; the name is null-terminated text,
// or an atom for properties set by number. Returns the last callback's answer, -1 when there are none.
using PROPENUMPROC = BOOL (*)(HWND hwnd, const char* name, HANDLE data);
int EnumProps(HWND hwnd, PROPENUMPROC callback);

struct HDWP__;
using HDWP = HDWP__*;

// Collects SetWindowPos calls for `count` windows (a hint; the batch grows as needed) and applies them all in
// EndDeferWindowPos, in the order given. DeferWindowPos returns the batch to use from then on, or null, having
// freed the batch, when a window is invalid or the flags are not allowed. Windows of one batch must share a
// parent.
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);
