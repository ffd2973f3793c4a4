#include "framework/controls/AllocateHWnd.h"

#include "platform/win/Windows.h"

#include <map>
#include <memory>

namespace {

constexpr const char* kUtilWindowClass = "TPUtilWindow";

// The methods by window. Held through shared_ptr so that a method that deallocates its own window keeps
// running on a live object until it returns.
std::map<HWND, std::shared_ptr<TWndMethod>>& Methods()
{
    static std::map<HWND, std::shared_ptr<TWndMethod>> methods;
    return methods;
}

// The method is bound once CreateWindowEx returns, as the method cannot know its window before then; the
// creation messages get the defaults.
LRESULT UtilWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<TWndMethod> method;
    auto& methods = Methods();
    if (auto it = methods.find(hwnd); it != methods.end())
        method = it->second;
    LRESULT result;
    if (method && *method) {
        TMessage m { message, wParam, lParam, 0 };
        (*method)(m);
        result = m.Result;
    } else {
        result = DefWindowProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY)
        methods.erase(hwnd);
    return result;
}

bool EnsureClass()
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, kUtilWindowClass, &wc))
        return true;
    wc.lpfnWndProc = &UtilWindowProc;
    wc.lpszClassName = kUtilWindowClass;
    return RegisterClass(&wc) != 0;
}

} // namespace

HWND AllocateHWnd(TWndMethod method)
{
    if (!EnsureClass())
        return nullptr;
    HWND hwnd = CreateWindowEx(0, kUtilWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (hwnd)
        Methods()[hwnd] = std::make_shared<TWndMethod>(std::move(method));
    return hwnd;
}

void DeallocateHWnd(HWND hwnd)
{
    if (!hwnd)
        return;
    if (Methods().count(hwnd))
        DestroyWindow(hwnd);
}
