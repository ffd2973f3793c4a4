// The client window of an MDI parent form.
#include "framework/controls/TCustomForm.h"
#include "platform/win/Windows.h"

namespace {

constexpr const char* kMDIClientClass = "MDICLIENT";

bool EnsureMDIClientClass()
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, kMDIClientClass, &wc))
        return true;
    wc.lpfnWndProc = &DefWindowProc;
    // A system colour index plus one stands for that colour's brush.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_APPWORKSPACE) + 1);
    wc.lpszClassName = kMDIClientClass;
    return RegisterClass(&wc) != 0;
}

} // namespace

void TCustomForm::CreateMDIClient()
{
    if (!EnsureMDIClientClass())
        return;
    RECT client {};
    GetClientRect(FHandle, &client);
    FClientHandle = CreateWindowEx(0, kMDIClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
        0, client.right, client.bottom, FHandle, nullptr, nullptr, nullptr);
}

void TCustomForm::SizeMDIClient()
{
    if (!FClientHandle)
        return;
    RECT client {};
    GetClientRect(FHandle, &client);
    SetWindowPos(FClientHandle, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}
