#include "skin/forms/SkinButtonObjects.h"

#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinObjectRecords.h"

using namespace SPUtils;

// ---- TspSkinButtonObject ----------------------------------------------------------------------------------------

TspSkinButtonObject::TspSkinButtonObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    if (auto* record = dynamic_cast<TspDataSkinButton*>(data)) {
        DownRect = record->DownRect;
        DisableSkinRsect = record->DisableSkinRsect;
        GroupIndex = record->GroupIndex;
    }
}

void TspSkinButtonObject::DrawButton(TCanvas* canvas, bool standalone)
{
    if (!Enabled && !IsNullRect(DisableSkinRsect)) {
        DrawLook(canvas, ActivePicture, DisableSkinRsect);
        return;
    }
    // A plain button shows its pressed look only while the mouse is over it; a latched group button always.
    if (Down && !IsNullRect(DownRect) && (GroupIndex != -1 || MouseOver)) {
        DrawLook(canvas, ActivePicture, DownRect);
        return;
    }
    DrawBase(canvas, standalone);
}

void TspSkinButtonObject::Draw(TCanvas* canvas, bool standalone)
{
    DrawButton(canvas, standalone);
}

void TspSkinButtonObject::ReleaseGroup()
{
    if (GroupIndex == -1)
        return;
    for (int i = 0; i < FParent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TspSkinButtonObject*>(FParent->ObjectAt(i));
        if (other && other->IDName != IDName && other->GroupIndex == GroupIndex && other->Down) {
            other->SetDown(false);
            return;
        }
    }
}

void TspSkinButtonObject::SetDown(bool value)
{
    Down = value;
    const bool downLook = !IsNullRect(DownRect);
    if (MenuItem && !downLook) {
        if (value) {
            MouseOver = true;
            Active = true;
            if (EnableMorphing())
                FMorphKf = 1;
            FParent->DrawSkinObject(this);
        } else {
            FParent->DrawSkinObject(this);
            if (EnableMorphing())
                Redraw();
        }
    }
    if (!downLook) {
        if (value)
            ReleaseGroup();
        return;
    }
    if (value) {
        if (EnableMorphing())
            FMorphKf = 1;
        FParent->DrawSkinObject(this);
        ReleaseGroup();
        return;
    }
    if (GroupIndex != -1 || MenuItem)
        Active = false;
    if (EnableMorphing())
        FParent->DrawSkinObject(this);
    Redraw();
}

void TspSkinButtonObject::TrackMenu()
{
    if (MenuItem && MenuItem->Count() > 0)
        FParent->PopupObjectMenu(this, MenuItem, PopupUp);
}

void TspSkinButtonObject::MouseDown(int x, int y, TMouseButton button)
{
    if (!Enabled)
        return;
    if (button == mbLeft && !Down) {
        SetDown(true);
        TrackMenu();
    }
    inherited::MouseDown(x, y, button);
}

void TspSkinButtonObject::MouseUp(int x, int y, TMouseButton button)
{
    if (!Enabled)
        return;
    if (button == mbLeft && !MenuItem && Down && GroupIndex == -1)
        SetDown(false);
    inherited::MouseUp(x, y, button);
}

void TspSkinButtonObject::MouseEnter()
{
    MouseOver = true;
    Active = true;
    if (IsNullRect(DownRect) || !Down) {
        if (!IsNullRect(ActiveSkinRect))
            Redraw();
    } else if (GroupIndex == -1) {
        // Back over a held plain button: its pressed look again.
        FParent->DrawSkinObject(this);
    }
    FParent->MouseEnterEvent(IDName);
}

void TspSkinButtonObject::MouseLeave()
{
    MouseOver = false;
    const bool downLook = !IsNullRect(DownRect);
    if (MenuItem && Down && !downLook) {
        Active = false;
    } else if (Down && downLook && (MenuItem || GroupIndex != -1)) {
        // A latched button or one whose menu is open keeps its look.
    } else {
        Active = false;
        if (EnableMorphing() && Down)
            FMorphKf = 1;
        if (!IsNullRect(ActiveSkinRect) || (downLook && GroupIndex == -1))
            Redraw();
    }
    FParent->MouseLeaveEvent(IDName);
}

bool TspSkinButtonObject::CanMorphing()
{
    if (MenuItem && Down)
        return false;
    return inherited::CanMorphing();
}

// ---- TspSkinStdButtonObject -------------------------------------------------------------------------------------

TspSkinStdButtonObject::TspSkinStdButtonObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    auto* record = dynamic_cast<TspDataSkinStdButton*>(data);
    SkinnedButton = record != nullptr;
    if (!record)
        return;
    Command = record->Command;
    RestoreRect = record->RestoreRect;
    RestoreActiveRect = record->RestoreActiveRect;
    RestoreDownRect = record->RestoreDownRect;
    RestoreInActiveRect = record->RestoreInActiveRect;
}

bool TspSkinStdButtonObject::RestoreState() const
{
    return (Command == cmMaximize && FParent->WindowState() == wsMaximized)
        || (Command == cmMinimize && FParent->WindowState() == wsMinimized)
        || (Command == cmRollUp && FParent->RolledUp());
}

bool TspSkinStdButtonObject::ShowsFormIcon() const
{
    return Command == cmSysMenu && FParent->ShowIcon() && (SkinRectInAPicture || !SkinnedButton);
}

void TspSkinStdButtonObject::Draw(TCanvas* canvas, bool standalone)
{
    if (!SkinnedButton) {
        DefaultDraw(canvas);
        return;
    }
    if (ShowsFormIcon()) {
        FParent->DrawFormIcon(canvas, ObjectRect.Left, ObjectRect.Top);
        FMorphKf = 0;
        return;
    }
    const bool restore = RestoreState();
    if (!Enabled || (!FParent->GetFormActive() && !IsNullRect(InActiveSkinRect) && !restore) || IsNullRect(RestoreRect)
        || !restore) {
        DrawButton(canvas, standalone);
        return;
    }
    if (!FParent->FormActive() && !IsNullRect(RestoreInActiveRect))
        DrawLook(canvas, ActivePicture, RestoreInActiveRect);
    else if (Down && MouseOver && !IsNullRect(RestoreDownRect))
        DrawLook(canvas, ActivePicture, RestoreDownRect);
    else if (MorphRunning())
        DrawMorph(canvas, ActivePicture, RestoreRect, ActivePicture, RestoreActiveRect);
    else if (Active && !IsNullRect(RestoreActiveRect))
        DrawLook(canvas, ActivePicture, RestoreActiveRect);
    else
        DrawLook(canvas, ActivePicture, RestoreRect);
}

void DrawDefaultCaptionButton(TCanvas* canvas, const TRect& rect, bool hot, bool pressed, bool enabled,
    const std::function<void(TCanvas* canvas, int x, int y, TColor color)>& drawGlyph)
{
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    image.SetSize(width, height);
    TCanvas* c = image.Canvas();
    const TRect r = Rect(0, 0, width, height);
    if (pressed || hot) {
        c->Brush()->SetColor(pressed ? RGB(133, 147, 181) : RGB(182, 189, 210));
        c->FillRect(r);
        c->Brush()->SetColor(clNavy);
        c->FrameRect(r);
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
    }
    const int x = width / 2 - 5 + (pressed ? 1 : 0);
    const int y = height / 2 - 4 + (pressed ? 1 : 0);
    drawGlyph(c, x, y, enabled ? clBtnText : clBtnShadow);
    canvas->Draw(rect.Left, rect.Top, &image);
}

void TspSkinStdButtonObject::DefaultDraw(TCanvas* canvas)
{
    if (Command == cmSysMenu && FParent->ShowIcon()) {
        FParent->DrawFormIcon(canvas, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    DrawDefaultCaptionButton(canvas, ObjectRect, MouseOver, Down && MouseOver, Enabled,
        [this](TCanvas* c, int x, int y, TColor color) {
            switch (Command) {
            case cmClose:
                DrawCloseImage(c, x, y, color);
                break;
            case cmMaximize:
                if (FParent->WindowState() == wsMaximized)
                    DrawRestoreImage(c, x, y, color);
                else
                    DrawMaximizeImage(c, x, y, color);
                break;
            case cmMinimize:
                if (FParent->WindowState() == wsMinimized)
                    DrawRestoreImage(c, x, y, color);
                else
                    DrawMinimizeImage(c, x, y, color);
                break;
            case cmSysMenu:
                DrawSysMenuImage(c, x, y, color);
                break;
            case cmRollUp:
                if (FParent->RolledUp())
                    DrawRestoreRollUpImage(c, x, y, color);
                else
                    DrawRollUpImage(c, x, y, color);
                break;
            case cmMinimizeToTray:
                DrawMTImage(c, x, y, color);
                break;
            case cmDefault:
                break;
            }
        });
}

void TspSkinStdButtonObject::MouseDown(int x, int y, TMouseButton button)
{
    (void)x;
    (void)y;
    if (!Enabled || button != mbLeft || Down)
        return;
    if (Command == cmSysMenu)
        LinkMenu(FParent->GetSystemMenu(), false);
    SetDown(true);
    if (Command == cmSysMenu)
        TrackMenu();
}

void TspSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button)
{
    if (!Enabled)
        return;
    // Active holds only while the mouse is over the button: a release elsewhere runs no command. Closing comes
    // last, after the button's own events, since it may end the form.
    const bool command = Active && button == mbLeft;
    if (Command == cmClose) {
        inherited::MouseUp(x, y, button);
        if (command)
            DoCommand();
        return;
    }
    if (command)
        DoCommand();
    inherited::MouseUp(x, y, button);
}

void TspSkinStdButtonObject::DblClick()
{
    if (Command == cmSysMenu)
        DoClose();
}

bool TspSkinStdButtonObject::CanMorphing()
{
    if (ShowsFormIcon())
        return false;
    return inherited::CanMorphing();
}

void TspSkinStdButtonObject::DoClose()
{
    FParent->CloseForm();
}

void TspSkinStdButtonObject::DoMax()
{
    FParent->SetWindowState(FParent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinStdButtonObject::DoMin()
{
    if (FParent->SupportNCArea() && FParent->WindowState() == wsMinimized)
        FParent->SetWindowState(wsNormal);
    else if (FParent->AlwaysMinimizeToTray())
        FParent->MinimizeToTray();
    else
        FParent->SetWindowState(wsMinimized);
}

void TspSkinStdButtonObject::DoRollUp()
{
    FParent->SetRollUpState(!FParent->RolledUp());
}

void TspSkinStdButtonObject::DoMinimizeToTray()
{
    FParent->MinimizeToTray();
}

void TspSkinStdButtonObject::DoCommand()
{
    switch (Command) {
    case cmClose:
        DoClose();
        break;
    case cmMaximize:
        DoMax();
        break;
    case cmMinimize:
        DoMin();
        break;
    case cmRollUp:
        DoRollUp();
        break;
    case cmMinimizeToTray:
        DoMinimizeToTray();
        break;
    case cmSysMenu:
    case cmDefault:
        break;
    }
}

// ---- TspSkinAnimateObject ---------------------------------------------------------------------------------------

TspSkinAnimateObject::TspSkinAnimateObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    auto* record = dynamic_cast<TspDataSkinAnimate*>(data);
    if (!record)
        return;
    CountFrames = record->CountFrames < 1 ? 1 : record->CountFrames;
    Cycle = record->Cycle;
    ButtonStyle = record->ButtonStyle;
    TimerInterval = record->TimerInterval < 25 ? 25 : record->TimerInterval;
    Command = record->Command;
    DownSkinRect = record->DownSkinRect;
    RestoreRect = record->RestoreRect;
    RestoreActiveRect = record->RestoreActiveRect;
    RestoreDownRect = record->RestoreDownRect;
    RestoreInActiveRect = record->RestoreInActiveRect;
}

bool TspSkinAnimateObject::RestoreState() const
{
    if (IsNullRect(RestoreRect))
        return false;
    return (Command == cmMaximize && FParent->WindowState() == wsMaximized)
        || (Command == cmMinimize && FParent->WindowState() == wsMinimized)
        || (Command == cmRollUp && FParent->RolledUp());
}

bool TspSkinAnimateObject::HasDownLook() const
{
    return !IsNullRect(RestoreState() ? RestoreDownRect : DownSkinRect);
}

TRect TspSkinAnimateObject::FrameRect(int n) const
{
    const bool restore = RestoreState();
    const TRect& size = restore ? RestoreRect : SkinRect;
    const TRect& origin = restore ? RestoreActiveRect : ActiveSkinRect;
    const int w = RectWidth(size);
    const int h = RectHeight(size);
    return Rect(origin.Left + (n - 1) * w, origin.Top, origin.Left + n * w, origin.Top + h);
}

void TspSkinAnimateObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    const bool restore = RestoreState();
    const TRect& downLook = restore ? RestoreDownRect : DownSkinRect;
    const TRect& inactiveLook = restore ? RestoreInActiveRect : InActiveSkinRect;
    if (MenuTracking) {
        if (!IsNullRect(downLook)) {
            DrawLook(canvas, ActivePicture, downLook);
        } else {
            FrameIndex = CountFrames;
            DrawLook(canvas, ActivePicture, FrameRect(CountFrames));
        }
        return;
    }
    if (!FParent->GetFormActive() && !IsNullRect(inactiveLook))
        DrawLook(canvas, ActivePicture, inactiveLook);
    else if (Down && MouseOver && !IsNullRect(downLook))
        DrawLook(canvas, ActivePicture, downLook);
    else
        DrawLook(canvas, ActivePicture, FrameRect(FrameIndex));
}

bool TspSkinAnimateObject::WantsFrameStep() const
{
    return Active && !(Down && HasDownLook());
}

void TspSkinAnimateObject::SetFrame(int value)
{
    if (Increment && value > CountFrames)
        value = 1;
    else if (!Increment && value <= 0)
        value = CountFrames;
    FrameIndex = value;
    FParent->DrawSkinObject(this);
}

void TspSkinAnimateObject::ChangeFrame()
{
    if (Elapsed < TimerInterval) {
        Elapsed += 25;
        return;
    }
    if (Increment) {
        SetFrame(FrameIndex + 1);
        if (!Cycle && FrameIndex == CountFrames)
            Active = false;
    } else {
        SetFrame(FrameIndex - 1);
        if (FrameIndex == 1)
            Active = false;
    }
    Elapsed = 25;
}

void TspSkinAnimateObject::Start()
{
    Elapsed = 25;
    Increment = true;
    FrameIndex = 1;
    Active = true;
    FParent->StartAnimationTimer();
}

void TspSkinAnimateObject::Stop()
{
    SetFrame(1);
    Active = false;
    Elapsed = 25;
}

void TspSkinAnimateObject::MouseEnter()
{
    MouseOver = true;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        if (Down && HasDownLook())
            FParent->DrawSkinObject(this);
        else
            FParent->StartAnimationTimer();
    }
    FParent->MouseEnterEvent(IDName);
}

void TspSkinAnimateObject::MouseLeave()
{
    if (!MouseOver)
        return;
    MouseOver = false;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        if (Down && HasDownLook())
            FParent->DrawSkinObject(this);
        else
            FParent->StartAnimationTimer();
    }
    FParent->MouseLeaveEvent(IDName);
}

void TspSkinAnimateObject::MouseDown(int x, int y, TMouseButton button)
{
    inherited::MouseDown(x, y, button);
    if (button == mbLeft && HasDownLook()) {
        FrameIndex = CountFrames;
        Down = true;
        FParent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && ButtonStyle && button == mbLeft && MouseOver)
        DoCommand();
}

void TspSkinAnimateObject::MouseUp(int x, int y, TMouseButton button)
{
    inherited::MouseUp(x, y, button);
    if (MenuTracking)
        return;
    if (button == mbLeft && HasDownLook()) {
        Down = false;
        FParent->DrawSkinObject(this);
        FParent->StartAnimationTimer();
    }
    if (Command != cmSysMenu && ButtonStyle && button == mbLeft && MouseOver)
        DoCommand();
}

void TspSkinAnimateObject::DblClick()
{
    if (Command == cmSysMenu)
        DoClose();
}

void TspSkinAnimateObject::TrackMenu()
{
    if (!MenuItem || MenuItem->Count() == 0)
        return;
    // Set first: the menu may run its own loop and close before the call returns.
    MenuTracking = true;
    FParent->PopupObjectMenu(this, MenuItem, PopupUp);
}

void TspSkinAnimateObject::MenuClosed()
{
    Active = true;
    FrameIndex = CountFrames;
    Down = false;
    MenuTracking = false;
    Increment = false;
    FParent->StartAnimationTimer();
}

void TspSkinAnimateObject::DoClose()
{
    FParent->CloseForm();
}

void TspSkinAnimateObject::DoMax()
{
    FParent->SetWindowState(FParent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinAnimateObject::DoMin()
{
    if (FParent->SupportNCArea() && FParent->WindowState() == wsMinimized)
        FParent->SetWindowState(wsNormal);
    else if (FParent->AlwaysMinimizeToTray())
        FParent->MinimizeToTray();
    else
        FParent->SetWindowState(wsMinimized);
}

void TspSkinAnimateObject::DoRollUp()
{
    FParent->SetRollUpState(!FParent->RolledUp());
}

void TspSkinAnimateObject::DoMinToTray()
{
    FParent->MinimizeToTray();
}

void TspSkinAnimateObject::DoCommand()
{
    switch (Command) {
    case cmClose:
        DoClose();
        break;
    case cmMaximize:
        DoMax();
        break;
    case cmMinimize:
        DoMin();
        break;
    case cmRollUp:
        DoRollUp();
        break;
    case cmMinimizeToTray:
        DoMinToTray();
        break;
    case cmSysMenu:
        LinkMenu(FParent->GetSystemMenu(), false);
        TrackMenu();
        break;
    case cmDefault:
        TrackMenu();
        break;
    }
}

// ---- TspSkinSwitchObject ----------------------------------------------------------------------------------------

TspSkinSwitchObject::TspSkinSwitchObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
}

void TspSkinSwitchObject::SetState(TSwitchState value)
{
    State = value;
    Active = value == swsOn;
    Redraw();
    FParent->SwitchChangeStateEvent(IDName, State);
}

void TspSkinSwitchObject::SimpleSetState(TSwitchState value)
{
    State = value;
    Active = value == swsOn;
    if (value == swsOn)
        FMorphKf = 1;
}

void TspSkinSwitchObject::MouseDown(int x, int y, TMouseButton button)
{
    if (button == mbLeft)
        SetState(State == swsOn ? swsOff : swsOn);
    inherited::MouseDown(x, y, button);
}

// The switch's look follows its state, not the mouse.
void TspSkinSwitchObject::MouseEnter()
{
    MouseOver = true;
    FParent->MouseEnterEvent(IDName);
}

void TspSkinSwitchObject::MouseLeave()
{
    MouseOver = false;
    FParent->MouseLeaveEvent(IDName);
}

// ---- TspUserObject ----------------------------------------------------------------------------------------------

void TspUserObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    FParent->PaintEvent(IDName, canvas, ObjectRect);
}
