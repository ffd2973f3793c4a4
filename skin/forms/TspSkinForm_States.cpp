// TspSkinForm: the form's own window states (a frame-mode dialog minimizes into a slot along the bottom of the
// work area; maximizing and restoring go through the window layer, so the display's window manager knows of
// them), the first placement on a monitor, rolling a form up to its frame or roll-up picture, snapping to the
// work area's edges while moving, translucency, the drop shadow and the tray.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspTrayIcon.h"

#include <algorithm>

using namespace SPUtils;

namespace {

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

bool Designing(const TComponent* component)
{
    return component->ComponentState().Contains(csDesigning) || component->ComponentState().Contains(csLoading);
}

HWND HandleOf(TCustomForm* form)
{
    return form->HandleAllocated() ? form->Handle() : nullptr;
}

void Fire(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        event(sender);
}

} // namespace

// ---- Window states ----------------------------------------------------------------------------------------------

void TspSkinForm::SetWindowState(TWindowState value)
{
    if (FForm->FormStyle() == fsMDIChild) {
        SetMDIChildWindowState(value);
        return;
    }
    if (value == FWindowState)
        return;
    const TWindowState old = FWindowState;
    // The main form minimizes the application; its own state stays.
    if (!(value == wsMinimized && FForm == Application->MainForm()))
        FWindowState = value;
    switch (value) {
    case wsMinimized:
        DoMinimize();
        break;
    case wsMaximized:
        RolledUpAtMaximize = FRolledUp;
        DoMaximize();
        break;
    default:
        if (old == wsMaximized && FRolledUp && !RolledUpAtMaximize)
            SetRollUpState(false);
        RolledUpAtMaximize = false;
        DoNormalize();
        break;
    }
}

void TspSkinForm::DoMinimize()
{
    if (FForm == Application->MainForm() || !FSupportNCArea) {
        Application->Minimize();
    } else {
        if (IsNullRect(FRestoreBounds))
            FRestoreBounds = FForm->BoundsRect();
        // A maximized window is normal again in the window layer: the slot is an ordinary place and size.
        if (IsZoomed(HandleOf(FForm)))
            ShowWindow(FForm->Handle(), SW_RESTORE);
        TPoint p;
        GetMinimizeCoord(p);
        FForm->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
    }
    Fire(OnMinimize, this);
}

TRect TspSkinForm::WorkArea() const
{
    TRect area {};
    GetMonitorWorkArea(HandleOf(FForm), true, area);
    return area;
}

void TspSkinForm::MinimizeArea(TRect& area, std::vector<TPoint>& taken) const
{
    area = WorkArea();
    taken.clear();
    if (!Screen)
        return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form == FForm || form == Application->MainForm() || !form->Visible())
            continue;
        if (TspSkinForm* other = GetSkinFormComponent(form); other && other->WindowState() == wsMinimized)
            taken.push_back(TPoint { form->Left(), form->Top() });
    }
}

void TspSkinForm::GetMinimizeCoord(TPoint& p)
{
    TRect area;
    std::vector<TPoint> taken;
    MinimizeArea(area, taken);
    // A step of at least one pixel, so that a skin whose frame has no size cannot make the scan endless.
    const int width = std::max(1, GetMinWidth());
    const int height = std::max(1, GetMinHeight());
    const TPoint first { area.Left, area.Bottom - height };
    auto isTaken = [&taken](TPoint slot) {
        return std::any_of(taken.begin(), taken.end(), [slot](TPoint q) { return q.X == slot.X && q.Y == slot.Y; });
    };
    // Only the slots that fit the area are tried; with every one taken the first is used.
    const int columns = std::max(1, RectWidth(area) / width);
    const int rows = std::max(1, RectHeight(area) / height);
    TPoint slot = first;
    for (int i = 0; i < columns * rows; ++i) {
        if (!isTaken(slot)) {
            p = slot;
            return;
        }
        slot.X += width;
        if (slot.X + width > area.Right) {
            slot.X = area.Left;
            slot.Y -= height;
            if (slot.Y < area.Top)
                break;
        }
    }
    p = first;
}

TRect TspSkinForm::MaximizedBounds() const
{
    TRect r {};
    GetMonitorWorkArea(HandleOf(FForm), !MaximizeOnFullScreen, r);
    if (MaximizeOnFullScreen)
        return r;
    TRect monitor {};
    GetMonitorWorkArea(HandleOf(FForm), false, monitor);
    const TRect primary = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // A form covering a whole screen would hide a task bar that shows itself only when the pointer reaches the
    // screen's edge: one pixel is left free on every side.
    if (EqRects(r, monitor) && EqRects(monitor, primary))
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    return r;
}

void TspSkinForm::DoMaximize()
{
    if (IsNullRect(FRestoreBounds))
        FRestoreBounds = FForm->BoundsRect();
    const TRect r = MaximizedBounds();
    if (FForm->HandleAllocated() && FForm->Visible()) {
        // The window layer places the window where WM_GETMINMAXINFO says (this rectangle) and tells the display.
        ShowWindow(FForm->Handle(), SW_SHOWMAXIMIZED);
    }
    if (!EqRects(FForm->BoundsRect(), r))
        FForm->SetBoundsRect(r);
    if (FStatusBar && FStatusBar->SizeGrip())
        FStatusBar->SetShowGrip(false);
    Fire(OnMaximize, this);
}

void TspSkinForm::DoNormalize()
{
    RolledUpWhileMaximized = false;
    TRect target = FRestoreBounds;
    if (FSupportNCArea && PositionPending && !IsNullRect(target)) {
        PositionPending = false;
        const TPoint p = GetPositionInMonitor(target.Left, target.Top, RectWidth(target), RectHeight(target));
        target = Bounds(p.X, p.Y, RectWidth(target), RectHeight(target));
    }
    const HWND window = HandleOf(FForm);
    if (IsZoomed(window) || IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    const TSize oldSize { FForm->Width(), FForm->Height() };
    if (!IsNullRect(target))
        FForm->SetBoundsRect(target);
    FMouseTimer->SetEnabled(true);
    if (FSupportNCArea) {
        if (oldSize.cx == FForm->Width() && oldSize.cy == FForm->Height() && FForm->HandleAllocated())
            UpDateForm();
        FForm->Repaint();
    }
    FRestoreBounds = NullRect();
    if (FStatusBar && FStatusBar->SizeGrip())
        FStatusBar->SetShowGrip(true);
    Fire(OnRestore, this);
}

// ---- Placement on the monitor -----------------------------------------------------------------------------------

TPoint TspSkinForm::GetPositionInMonitor(int x, int y, int width, int height) const
{
    if (PositionInMonitor == sppDefault)
        return TPoint { x, y };
    TRect area {};
    GetMonitorWorkArea(HandleOf(FForm), PositionInMonitor == sppDesktopCenter, area);
    return TPoint { area.Left + RectWidth(area) / 2 - width / 2, area.Top + RectHeight(area) / 2 - height / 2 };
}

void TspSkinForm::ApplyPositionInMonitor()
{
    const TPoint p = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(p.X, p.Y, FForm->Width(), FForm->Height());
}

// ---- Roll-up ----------------------------------------------------------------------------------------------------

void TspSkinForm::SetRollUpState(bool value)
{
    if ((!FSupportNCArea && !SkinLoaded(FSkinData)) || !FBorderIcons.Contains(TspBorderIcon::biRollUp)
        || FWindowState == wsMinimized || (FRolledUp && FWindowState == wsMaximized && !RolledUpWhileMaximized))
        return;
    // Rolling up what is rolled up would save the rolled-up height as the one to come back to.
    if (value == FRolledUp && FSupportNCArea) {
        Fire(OnChangeRollUpState, this);
        return;
    }
    if (FWindowState == wsMaximized)
        RolledUpWhileMaximized = value;
    const bool wasRolledUp = FRolledUp;
    FRolledUp = value;
    if (FSupportNCArea) {
        if (value)
            CreateRollUpForm2();
        else
            RestoreRollUpForm2();
    } else if (!value) {
        // Unrolling brings the controls back whatever the skin holds now; a form that is not rolled up keeps
        // its height (there is no height to come back to).
        if (wasRolledUp)
            RestoreRollUpForm();
    } else if (!HasRollUpPicture()) {
        FRolledUp = false;
    } else {
        // Rolling up what is rolled up keeps the height to come back to.
        if (!wasRolledUp)
            RollUpRestoreHeight = FForm->Height();
        CreateRollUpForm();
    }
    Fire(OnChangeRollUpState, this);
}

bool TspSkinForm::HasRollUpPicture() const
{
    return SkinLoaded(FSkinData) && FSkinData->RollUpPicture && !FSkinData->RollUpPicture->Empty();
}

void TspSkinForm::CreateRollUpForm2()
{
    RollUpRestoreHeight = FForm->Height();
    FForm->SetHeight(GetMinHeight());
}

void TspSkinForm::RestoreRollUpForm2()
{
    if (ClientHeight != 0)
        FForm->SetClientHeight(ClientHeight);
    else
        FForm->SetHeight(RollUpRestoreHeight);
}

void TspSkinForm::CreateRollUpForm()
{
    const TspSkinData& s = *FSkinData;
    TBitmap* picture = s.RollUpPicture.get();
    const bool stretchable = s.RollUpLeftPoint.X < s.RollUpRightPoint.X;
    const int height = picture->Height();
    const int width = stretchable ? FForm->Width() : picture->Width();
    const int dx = stretchable ? FForm->Width() - picture->Width() : 0;
    if (stretchable)
        for (auto& object : SkinObjects) {
            if (!object->RollUp)
                continue;
            TRect r = object->SkinRect;
            if (r.Left >= s.RollUpRightPoint.X) {
                r.Left += dx;
                r.Right += dx;
            } else if (r.Left <= s.RollUpLeftPoint.X && r.Right >= s.RollUpRightPoint.X) {
                r.Right += dx;
            }
            object->ObjectRect = r;
        }
    TestActive(-1, -1, false);
    FMouseTimer->SetEnabled(false);
    FMorphTimer->SetEnabled(false);
    if (HiddenControls.empty())
        for (int i = 0; i < FForm->ControlCount(); ++i)
            if (TControl* control = FForm->Controls(i); control->Visible()) {
                control->Hide();
                HiddenControls.push_back(control);
            }
    if (stretchable)
        FForm->SetHeight(height);
    else
        FForm->SetBounds(FForm->Left(), FForm->Top(), width, height);
    SetRollUpFormRegion();
    FForm->Repaint();
    FMouseTimer->SetEnabled(true);
    FMorphTimer->SetEnabled(true);
}

void TspSkinForm::SetRollUpFormRegion()
{
    const TspSkinData& s = *FSkinData;
    TBitmap* mask = s.RollUpMaskPicture.get();
    if (!mask || mask->Empty()) {
        if (FormRegion)
            SetRegion(nullptr);
        return;
    }
    TBitmap widened;
    TBitmap* source = mask;
    if (s.RollUpLeftPoint.X < s.RollUpRightPoint.X) {
        CreateHSkinImage(s.RollUpLeftPoint.X, mask->Width() - s.RollUpRightPoint.X, &widened, mask,
            Rect(0, 0, mask->Width(), mask->Height()), FForm->Width(), mask->Height(), false);
        source = &widened;
    }
    std::vector<uint8_t> data;
    const DWORD size = CreateRgnFromBmp(source, 0, 0, data);
    if (size == 0)
        return;
    if (HRGN region = ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(data.data())))
        SetRegion(region);
}

void TspSkinForm::RestoreRollUpForm()
{
    TestActive(-1, -1, false);
    FMouseTimer->SetEnabled(false);
    FMorphTimer->SetEnabled(false);
    for (TControl* control : HiddenControls)
        control->Show();
    HiddenControls.clear();
    if (CanScale())
        FForm->SetHeight(RollUpRestoreHeight);
    CheckSize();
    FMouseTimer->SetEnabled(true);
    FMorphTimer->SetEnabled(true);
}

// ---- Snapping ---------------------------------------------------------------------------------------------------

void TspSkinForm::SnapEdge(int& coordinate, int areaEdge, int cursor, int cursorMark, bool& snapped, bool near)
{
    if (near && !snapped) {
        coordinate = areaEdge;
    } else if (snapped) {
        // Held on the edge until the cursor has moved more than the snapping distance away from where it caught.
        if (std::abs(cursor - cursorMark) <= MagneticSize)
            coordinate = areaEdge;
        else
            coordinate = cursor + areaEdge - cursorMark;
    }
    snapped = near;
}

void TspSkinForm::DoMagnetic(int& left, int& top, int width, int height)
{
    const TRect area = WorkArea();
    const int m = MagneticSize;
    POINT cursor {};
    GetCursorPos(&cursor);
    auto near = [m](int value, int edge) { return edge - m < value && value < edge + m; };
    // Each edge records where the cursor was when it caught: the edges that catch now.
    const bool nearLeft = near(left, area.Left);
    if (nearLeft && !SnappedLeft)
        SnapCursor.X = cursor.x;
    SnapEdge(left, area.Left, cursor.x, SnapCursor.X, SnappedLeft, nearLeft);
    const bool nearTop = near(top, area.Top);
    if (nearTop && !SnappedTop)
        SnapCursor.Y = cursor.y;
    SnapEdge(top, area.Top, cursor.y, SnapCursor.Y, SnappedTop, nearTop);
    const bool nearRight = near(left + width, area.Right);
    if (nearRight && !SnappedRight)
        SnapCursor.X = cursor.x;
    int right = left + width;
    SnapEdge(right, area.Right, cursor.x, SnapCursor.X, SnappedRight, nearRight);
    left = right - width;
    const bool nearBottom = near(top + height, area.Bottom);
    if (nearBottom && !SnappedBottom)
        SnapCursor.Y = cursor.y;
    int bottom = top + height;
    SnapEdge(bottom, area.Bottom, cursor.y, SnapCursor.Y, SnappedBottom, nearBottom);
    top = bottom - height;
}

// ---- Translucency and the shadow --------------------------------------------------------------------------------

void TspSkinForm::SetAlphaBlend(bool value)
{
    if (value == AlphaBlend)
        return;
    AlphaBlend = value;
    if (Designing(this) || !FForm->HandleAllocated())
        return;
    const HWND window = FForm->Handle();
    const LONG style = GetWindowLong(window, GWL_EXSTYLE);
    if (value) {
        SetWindowLong(window, GWL_EXSTYLE, style | LONG(WS_EX_LAYERED));
        SetAlphaBlendTransparent(window, AlphaBlendValue);
    } else {
        SetWindowLong(window, GWL_EXSTYLE, style & ~LONG(WS_EX_LAYERED));
    }
}

void TspSkinForm::SetAlphaBlendValue(uint8_t value)
{
    if (value == AlphaBlendValue)
        return;
    AlphaBlendValue = value;
    if (AlphaBlend && !Designing(this) && FForm->HandleAllocated())
        SetAlphaBlendTransparent(FForm->Handle(), value);
}

void TspSkinForm::EnableShadow(bool value, bool rehide)
{
    if (!CheckW2KWXP() || value == FShadow)
        return;
    FShadow = value;
    if (!FForm->HandleAllocated())
        return;
    const HWND window = FForm->Handle();
    if (rehide)
        FForm->Hide();
    const LONG_PTR style = GetClassLongPtr(window, GCL_STYLE);
    SetClassLongPtr(window, GCL_STYLE, value ? style | LONG_PTR(CS_DROPSHADOW) : style & ~LONG_PTR(CS_DROPSHADOW));
    if (rehide)
        FForm->Show();
}

// ---- The tray ----------------------------------------------------------------------------------------------------

void TspSkinForm::SetStatusBar(TspSkinStatusBar* value)
{
    if (FStatusBar && FStatusBar != value)
        FStatusBar->RemoveFreeNotification(this);
    FStatusBar = value;
    if (value)
        value->FreeNotification(this);
}

TspSkinPopupMenu* TspSkinForm::TrayMenu()
{
    if (FTrayMenu)
        return FTrayMenu;
    FTrayMenu = new TspSkinPopupMenu(this);
    FTrayMenu->SetMenuForm(FForm);
    auto add = [this](const char* name, const char* caption, std::function<void()> action) {
        auto* item = new TMenuItem(nullptr);
        item->SetName(name);
        item->SetCaption(caption);
        if (action)
            item->OnClick = [action = std::move(action)](TObject*) { action(); };
        FTrayMenu->Items()->Add(item);
        return item;
    };
    add("TRAY_SKF_RESTORE", "&Restore", [this] { RestoreFromTray(); });
    add("", "-", nullptr);
    add("TRAY_SKF_CLOSE", "&Close", [this] { CloseForm(); })
        ->SetShortCut(TextToShortCut(FForm->FormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
    return FTrayMenu;
}

void TspSkinForm::SetTrayIcon(TspTrayIcon* value)
{
    if (value == FTrayIcon)
        return;
    if (FTrayIcon) {
        FTrayIcon->RemoveFreeNotification(this);
        if (FTrayDblClickOurs)
            FTrayIcon->OnDblClick = nullptr;
    }
    FTrayDblClickOurs = false;
    FTrayIcon = value;
    if (!value)
        return;
    value->FreeNotification(this);
    if (!AlwaysShowInTray)
        value->SetIconVisible(false);
    if (!value->PopupMenu())
        value->SetPopupMenu(TrayMenu());
    FTrayDblClickOurs = !value->OnDblClick;
    if (FTrayDblClickOurs)
        value->OnDblClick = [this](TObject* sender) { TrayIconDBLCLK(sender); };
}

void TspSkinForm::MinimizeToTray()
{
    if (!FTrayIcon)
        return;
    FTrayIcon->MinimizeToTray = true;
    Application->Minimize();
    Fire(OnMinimizeToTray, this);
}

void TspSkinForm::RestoreFromTray()
{
    if (!FTrayIcon)
        return;
    FTrayIcon->MinimizeToTray = false;
    FTrayIcon->ShowMainForm();
    Application->Restore();
    if (!AlwaysShowInTray)
        FTrayIcon->SetIconVisible(false);
    Fire(OnRestoreFromTray, this);
}

void TspSkinForm::TrayIconDBLCLK(TObject*)
{
    RestoreFromTray();
}

// ---- System commands --------------------------------------------------------------------------------------------

bool TspSkinForm::OnSysCommand(TMessage& message)
{
    switch (message.WParam & 0xFFF0) {
    case SC_KEYMENU:
        // F10 or a lone Alt: the main menu's keyboard mode ends, or an open menu closes (its chain tells the form,
        // which leaves the menu mode) and the keyboard mode starts.
        if (MainMenuActive) {
            SkinMainMenuClose();
            return true;
        }
        if (FSkinMenu && FSkinMenu->Visible())
            FSkinMenu->Hide();
        else if (SkinMenuOpened)
            SkinMenuClose();
        if (FMainMenuBar)
            FMainMenuBar->MenuEnter();
        else
            ActivateMenu();
        return true;
    case SC_MAXIMIZE:
        SetWindowState(wsMaximized);
        return true;
    case SC_RESTORE:
        // Back from the window manager's minimizing: the window layer restores the window as it was.
        if (IsIconic(HandleOf(FForm)) || FWindowState == wsNormal) {
            Fire(OnRestore, this);
            return false;
        }
        SetWindowState(wsNormal);
        return true;
    default:
        return false;
    }
}
