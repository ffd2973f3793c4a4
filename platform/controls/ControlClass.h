// The window procedure and class registration every standard control shares: each window owns one object of
// the control's type, made at WM_NCCREATE, kept in the window's first extra slot and freed at WM_NCDESTROY;
// every other message goes to that object's Handle.
#pragma once
#include "platform/win/Windows.h"

template <class TControlObject>
TControlObject* ControlObjectOf(HWND hwnd)
{
    return reinterpret_cast<TControlObject*>(GetWindowLongPtr(hwnd, 0));
}

template <class TControlObject>
LRESULT ControlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
        SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(new TControlObject(hwnd, *create)));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    TControlObject* control = ControlObjectOf<TControlObject>(hwnd);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtr(hwnd, 0, 0);
        delete control;
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    if (!control)
        return DefWindowProc(hwnd, message, wParam, lParam);
    return control->Handle(message, wParam, lParam);
}

// Registers the class once; a second call finds it registered with this procedure and answers 1.
template <class TControlObject>
ATOM RegisterControlClass(const char* className, const char* cursor)
{
    WNDCLASS existing {};
    if (GetClassInfo(nullptr, className, &existing) && existing.lpfnWndProc == &ControlWindowProc<TControlObject>)
        return 1;
    WNDCLASS wc {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ControlWindowProc<TControlObject>;
    wc.cbWndExtra = sizeof(TControlObject*);
    wc.hCursor = LoadCursor(nullptr, cursor);
    wc.lpszClassName = className;
    return RegisterClass(&wc);
}
