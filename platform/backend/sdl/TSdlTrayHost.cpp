#include "platform/backend/sdl/TSdlTrayHost.h"

#include "platform/backend/sdl/TXSystemTray.h"
#include "platform/win/Cursors.h"

namespace {

// The icon's pixels as the tray draws them; no icon (or a handle this layer did not make) draws nothing.
TTrayImage ImageOf(HICON icon)
{
    TCursorImage image;
    if (!icon || !GetCursorImage(icon, image) || !image.IsValid())
        return TTrayImage {};
    return TTrayImage { image.Width, image.Height, image.StraightPixels() };
}

} // namespace

TSdlTrayHost::TSdlTrayHost(const std::string& displayName, std::function<void()> wake)
    : FDisplayName(displayName)
    , FWake(std::move(wake))
{
}

TSdlTrayHost::~TSdlTrayHost() = default;

TXSystemTray* TSdlTrayHost::Tray()
{
    if (!FTried) {
        FTried = true;
        auto tray = std::make_unique<TXSystemTray>(FDisplayName, FWake);
        if (tray->Connected())
            FTray = std::move(tray);
    }
    return FTray.get();
}

void TSdlTrayHost::Pump()
{
    using TKind = TXSystemTray::TEventKind;
    if (!FTray)
        return;
    FTray->Pump([this](const TXSystemTray::TEvent& event) {
        switch (event.Kind) {
        case TKind::ManagerAppeared:
            TrayAppeared();
            return;
        case TKind::ManagerGone:
            FIcons.clear();
            return;
        case TKind::ButtonDown:
        case TKind::ButtonUp:
        case TKind::PointerMoved:
            for (const auto& [key, icon] : FIcons)
                if (icon.XWindow == event.Window) {
                    TrayIconPointer(key.first, key.second, event.Button, event.Kind == TKind::ButtonDown);
                    return;
                }
            return;
        }
    });
}

unsigned long TSdlTrayHost::IconWindow(HWND window, UINT id) const
{
    const auto found = FIcons.find({ window, id });
    return found == FIcons.end() ? 0 : found->second.XWindow;
}

bool TSdlTrayHost::Available()
{
    TXSystemTray* tray = Tray();
    return tray && tray->HasManager();
}

bool TSdlTrayHost::AddIcon(const TTrayIconState& icon)
{
    // As on the shell, an icon is added once.
    if (FIcons.count({ icon.Window, icon.ID }))
        return false;
    TXSystemTray* tray = Tray();
    if (!tray)
        return false;
    const unsigned long window = tray->Dock(ImageOf(icon.Icon), icon.Tip);
    if (!window)
        return false;
    FIcons[{ icon.Window, icon.ID }] = TDockedIcon { window, icon };
    return true;
}

bool TSdlTrayHost::ModifyIcon(const TTrayIconState& icon)
{
    const auto found = FIcons.find({ icon.Window, icon.ID });
    if (found == FIcons.end())
        return false;
    TDockedIcon& held = found->second;
    // The same handle may hold other pixels now (an icon changed in place), so the pixels are read again.
    FTray->SetImage(held.XWindow, ImageOf(icon.Icon));
    if (icon.Tip != held.State.Tip)
        FTray->SetTip(held.XWindow, icon.Tip);
    held.State = icon;
    return true;
}

bool TSdlTrayHost::DeleteIcon(HWND window, UINT id)
{
    const auto found = FIcons.find({ window, id });
    if (found == FIcons.end())
        return false;
    FTray->Remove(found->second.XWindow);
    FIcons.erase(found);
    return true;
}

RECT TSdlTrayHost::IconRect(HWND window, UINT id)
{
    const auto found = FIcons.find({ window, id });
    int x = 0, y = 0, width = 0, height = 0;
    if (found == FIcons.end() || !FTray->ScreenRect(found->second.XWindow, x, y, width, height))
        return RECT {};
    return RECT { x, y, x + width, y + height };
}
