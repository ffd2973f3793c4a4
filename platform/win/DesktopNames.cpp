// What the desktop knows of our top-level windows: their titles and icons, and the name other programs give
// them.
#include "platform/win/PlatformState.h"

namespace WinCore {

void SyncNativeTitle(TWindowRecord* w)
{
    if (w && w->Native && GPlatform)
        GPlatform->Backend->SetNativeWindowTitle(w->Native, w->Text);
}

void SyncNativeIcon(TWindowRecord* w)
{
    if (!w || !w->Native || !GPlatform)
        return;
    HICON icon = w->BigIcon ? w->BigIcon : w->SmallIcon;
    if (!icon && w->Class)
        icon = w->Class->Icon ? w->Class->Icon : w->Class->IconSmall;
    TCursorImage image;
    if (icon && GetCursorImage(icon, image))
        GPlatform->Backend->SetNativeWindowIcon(w->Native, &image);
    else
        GPlatform->Backend->SetNativeWindowIcon(w->Native, nullptr);
}

} // namespace WinCore

using namespace WinCore;

std::string NativeWindowExportHandle(HWND hwnd)
{
    if (!Ready())
        return {};
    TWindowRecord* w = Find(hwnd);
    if (!w)
        return {};
    TWindowRecord* root = RootOf(w);
    return root && root->Native ? GPlatform->Backend->NativeWindowExportHandle(root->Native) : std::string();
}
