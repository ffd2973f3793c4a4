#include "platform/shell/THeadlessTray.h"

#include "platform/win/Windows.h"

THeadlessTray::THeadlessTray(bool available)
    : FAvailable(available)
{
    SetTrayHost(this);
}

THeadlessTray::~THeadlessTray()
{
    if (GetTrayHost() == this)
        SetTrayHost(nullptr);
}

void THeadlessTray::SetAvailable(bool available)
{
    const bool appeared = available && !FAvailable;
    FAvailable = available;
    if (!available)
        FIcons.clear();
    if (appeared)
        TrayAppeared();
}

const TTrayIconState* THeadlessTray::Icon(HWND window, UINT id) const
{
    const auto found = FIcons.find({ window, id });
    return found == FIcons.end() ? nullptr : &found->second.second;
}

void THeadlessTray::Click(HWND window, UINT id, int button)
{
    Press(window, id, button);
    Release(window, id, button);
}

bool THeadlessTray::AddIcon(const TTrayIconState& icon)
{
    if (FIcons.count({ icon.Window, icon.ID }))
        return false;
    ++Adds;
    FIcons[{ icon.Window, icon.ID }] = { FNextSlot++, icon };
    return true;
}

bool THeadlessTray::ModifyIcon(const TTrayIconState& icon)
{
    const auto found = FIcons.find({ icon.Window, icon.ID });
    if (found == FIcons.end())
        return false;
    ++Modifies;
    found->second.second = icon;
    return true;
}

bool THeadlessTray::DeleteIcon(HWND window, UINT id)
{
    return FIcons.erase({ window, id }) > 0;
}

RECT THeadlessTray::IconRect(HWND window, UINT id)
{
    const auto found = FIcons.find({ window, id });
    if (found == FIcons.end())
        return RECT {};
    const int right = GetSystemMetrics(SM_CXSCREEN) - found->second.first * 24;
    return RECT { right - 24, 0, right, 24 };
}
