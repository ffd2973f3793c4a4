// Window classes and registered message numbers.
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace WinCore {

std::shared_ptr<TWindowClassRecord> FindClass(const char* name)
{
    if (!GPlatform || !name)
        return nullptr;
    for (const auto& c : GPlatform->Classes) {
        if (IS_INTRESOURCE(name) ? c->Atom == ATOM(reinterpret_cast<uintptr_t>(name))
                                 : strcasecmp(c->Name.c_str(), name) == 0)
            return c;
    }
    return nullptr;
}

} // namespace WinCore

using namespace WinCore;

namespace {

ATOM Register(const WNDCLASSEX& wc)
{
    if (!Ready())
        return 0;
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !*wc.lpszClassName || !wc.lpfnWndProc
        || wc.cbClsExtra < 0 || wc.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(wc.lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    TPlatformState& s = *GPlatform;
    if (s.NextAtom == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto c = std::make_shared<TWindowClassRecord>();
    c->Name = wc.lpszClassName;
    c->Atom = s.NextAtom++;
    c->Style = wc.style;
    c->Proc = wc.lpfnWndProc;
    c->Instance = wc.hInstance;
    c->Icon = wc.hIcon;
    c->IconSmall = wc.hIconSm;
    c->Cursor = wc.hCursor;
    c->Background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName))
        c->MenuName = wc.lpszMenuName;
    c->WindowExtra = wc.cbWndExtra;
    c->ClassExtra.assign(size_t(wc.cbClsExtra), 0);
    s.Classes.push_back(c);
    return c->Atom;
}

} // namespace

ATOM RegisterClass(const WNDCLASS* windowClass)
{
    if (!windowClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEX wc {};
    wc.cbSize = sizeof wc;
    wc.style = windowClass->style;
    wc.lpfnWndProc = windowClass->lpfnWndProc;
    wc.cbClsExtra = windowClass->cbClsExtra;
    wc.cbWndExtra = windowClass->cbWndExtra;
    wc.hInstance = windowClass->hInstance;
    wc.hIcon = windowClass->hIcon;
    wc.hCursor = windowClass->hCursor;
    wc.hbrBackground = windowClass->hbrBackground;
    wc.lpszMenuName = windowClass->lpszMenuName;
    wc.lpszClassName = windowClass->lpszClassName;
    return Register(wc);
}

ATOM RegisterClassEx(const WNDCLASSEX* windowClass)
{
    if (!windowClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*windowClass);
}

BOOL UnregisterClass(const char* className, HINSTANCE)
{
    if (!Ready())
        return FALSE;
    std::shared_ptr<TWindowClassRecord> c = FindClass(className);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->WindowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(GPlatform->Classes, c);
    return TRUE;
}

BOOL GetClassInfo(HINSTANCE, const char* className, WNDCLASS* windowClass)
{
    if (!NeedArguments(windowClass))
        return FALSE;
    std::shared_ptr<TWindowClassRecord> c = FindClass(className);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *windowClass = WNDCLASS {};
    windowClass->style = c->Style;
    windowClass->lpfnWndProc = c->Proc;
    windowClass->cbClsExtra = static_cast<int>(c->ClassExtra.size());
    windowClass->cbWndExtra = c->WindowExtra;
    windowClass->hInstance = c->Instance;
    windowClass->hIcon = c->Icon;
    windowClass->hCursor = c->Cursor;
    windowClass->hbrBackground = c->Background;
    windowClass->lpszMenuName = c->MenuName.empty() ? nullptr : c->MenuName.c_str();
    windowClass->lpszClassName = c->Name.c_str();
    return TRUE;
}

int GetClassName(HWND hwnd, char* buffer, int bufferSize)
{
    TWindowRecord* w = NeedWindow(hwnd, buffer);
    if (!w || bufferSize <= 0)
        return 0;
    const int n = std::min<int>(bufferSize - 1, static_cast<int>(w->Class->Name.size()));
    std::memcpy(buffer, w->Class->Name.data(), size_t(n));
    buffer[n] = 0;
    return n;
}

LONG_PTR GetClassLongPtr(HWND hwnd, int index)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return 0;
    TWindowClassRecord& c = *w->Class;
    switch (index) {
    case GCL_STYLE:
        return c.Style;
    case GCLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(c.Proc);
    case GCLP_HCURSOR:
        return reinterpret_cast<LONG_PTR>(c.Cursor);
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<LONG_PTR>(c.Background);
    case GCLP_HICON:
        return reinterpret_cast<LONG_PTR>(c.Icon);
    case GCLP_HICONSM:
        return reinterpret_cast<LONG_PTR>(c.IconSmall);
    case GCL_CBWNDEXTRA:
        return c.WindowExtra;
    case GCL_CBCLSEXTRA:
        return static_cast<LONG_PTR>(c.ClassExtra.size());
    case GCW_ATOM:
        return c.Atom;
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c.ClassExtra.size()) {
            LONG_PTR value;
            std::memcpy(&value, c.ClassExtra.data() + index, sizeof value);
            return value;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return 0;
    TWindowClassRecord& c = *w->Class;
    LONG_PTR old = GetClassLongPtr(hwnd, index);
    switch (index) {
    case GCL_STYLE:
        c.Style = static_cast<UINT>(value);
        break;
    case GCLP_WNDPROC:
        if (!value) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        c.Proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GCLP_HCURSOR:
        c.Cursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCLP_HBRBACKGROUND:
        c.Background = reinterpret_cast<HBRUSH>(value);
        break;
    case GCLP_HICON:
        c.Icon = reinterpret_cast<HICON>(value);
        break;
    case GCLP_HICONSM:
        c.IconSmall = reinterpret_cast<HICON>(value);
        break;
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c.ClassExtra.size()) {
            std::memcpy(c.ClassExtra.data() + index, &value, sizeof value);
            break;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return old;
}

UINT RegisterWindowMessage(const char* name)
{
    if (!Ready() || !name || !*name)
        return 0;
    auto& names = GPlatform->RegisteredMessages;
    for (size_t i = 0; i < names.size(); ++i)
        if (strcasecmp(names[i].c_str(), name) == 0)
            return WM_REGISTERED_FIRST + UINT(i);
    if (names.size() >= 0x4000)
        return 0;
    names.emplace_back(name);
    return WM_REGISTERED_FIRST + UINT(names.size() - 1);
}
