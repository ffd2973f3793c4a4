// TspSkinForm: the window procedure it installs on its form, the frame geometry of the current size, the window
// region, the hit tests, activation and the fade-in.
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinMenu.h"

#include <cstdio>

using namespace SPUtils;

namespace {

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

TPoint Moved(TPoint p, int dx, int dy)
{
    return TPoint { p.X + dx, p.Y + dy };
}

bool InRect(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

TPoint MessagePoint(LPARAM lParam)
{
    return TPoint { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
}

} // namespace

int TspSkinForm::BorderStyleNone() const
{
    return FForm->BorderStyle() == bsNone;
}

// ---- Geometry ---------------------------------------------------------------------------------------------------

void TspSkinForm::CalcRects()
{
    if (LayoutWidth == 0)
        LayoutWidth = FForm->Width();
    if (LayoutHeight == 0)
        LayoutHeight = FForm->Height();
    if (!SkinLoaded(FSkinData))
        return;
    const TspSkinData& s = *FSkinData;
    const int pictureWidth = s.Picture ? s.Picture->Width() : 0;
    const int pictureHeight = s.Picture ? s.Picture->Height() : 0;
    const int dx = LayoutWidth - pictureWidth;
    const int dy = LayoutHeight - pictureHeight;
    CurFramePoints[0] = s.LeftTopPoint;
    CurFramePoints[1] = Moved(s.RightTopPoint, dx, 0);
    CurFramePoints[2] = Moved(s.LeftBottomPoint, 0, dy);
    CurFramePoints[3] = Moved(s.RightBottomPoint, dx, dy);
    CurClientRect = s.ClientRect;
    CurClientRect.Right += dx;
    CurClientRect.Bottom += dy;
    CurCaptionRect = s.CaptionRect;
    if (!IsNullRect(CurCaptionRect))
        CurCaptionRect.Right += dx;
    CurButtonsRect = s.ButtonsRect;
    if (!IsNullRect(CurButtonsRect)) {
        if (CurButtonsRect.Left > pictureWidth / 2)
            CurButtonsRect
                = Rect(CurButtonsRect.Left + dx, CurButtonsRect.Top, CurButtonsRect.Right + dx, CurButtonsRect.Bottom);
        else if (CurButtonsRect.Left < pictureWidth / 2)
            ButtonsInLeftHalf = true;
    }
    CurHitTestPoints[0] = s.HitTestLeftTopPoint;
    CurHitTestPoints[1] = Moved(s.HitTestRightTopPoint, dx, 0);
    CurHitTestPoints[2] = Moved(s.HitTestLeftBottomPoint, 0, dy);
    CurHitTestPoints[3] = Moved(s.HitTestRightBottomPoint, dx, dy);
    CurMaskRect = s.MaskRectArea;
    CurMaskRect.Right += dx;
    CurMaskRect.Bottom += dy;
}

void TspSkinForm::SetRegion(HRGN region)
{
    if (FForm->HandleAllocated())
        SetWindowRgn(FForm->Handle(), region, TRUE);
    else if (region)
        DeleteObject(region);
    // The window owns the region from here on.
    FormRegion = FForm->HandleAllocated() ? region : nullptr;
}

void TspSkinForm::CreateNewRegion(bool rescale)
{
    if (!FSkinnableForm || (FSupportNCArea && BorderStyleNone())) {
        if (FormRegion)
            SetRegion(nullptr);
        FormRegion = nullptr;
        return;
    }
    // A maximized MDI child has no frame to cut.
    if (!SkinLoaded(FSkinData) || !FSkinData->MaskPicture || FSkinData->MaskPicture->Empty() || IsMDIMaxChild()) {
        if (!SkinLoaded(FSkinData))
            for (auto& strip : MaskStrips)
                strip->SetSize(0, 0);
        SetRegion(CreateRectRgn(0, 0, LayoutWidth, LayoutHeight));
        return;
    }
    TBitmap* mask = FSkinData->MaskPicture.get();
    if (!rescale) {
        HRGN region = nullptr;
        CreateSkinSimplyRegion(region, mask);
        SetRegion(region);
        return;
    }
    const TspSkinData& s = *FSkinData;
    CreateSkinMask(s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.MaskRectArea,
        CurFramePoints[0], CurFramePoints[1], CurFramePoints[2], CurFramePoints[3], CurMaskRect, mask,
        MaskStrips[0].get(), MaskStrips[2].get(), MaskStrips[3].get(), MaskStrips[1].get(), LayoutWidth, LayoutHeight);
    HRGN region = CreateRectRgn(CurMaskRect.Left, CurMaskRect.Top, CurMaskRect.Right, CurMaskRect.Bottom);
    const TPoint places[4]
        = { { 0, 0 }, { 0, CurMaskRect.Bottom }, { 0, CurMaskRect.Top }, { CurMaskRect.Right, CurMaskRect.Top } };
    for (int i = 0; i < 4; ++i) {
        if (MaskStrips[i]->Empty())
            continue;
        std::vector<uint8_t> data;
        const DWORD size = CreateRgnFromBmp(MaskStrips[i].get(), places[i].X, places[i].Y, data);
        if (size == 0)
            continue;
        HRGN strip = ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(data.data()));
        if (!strip)
            continue;
        CombineRgn(region, region, strip, RGN_OR);
        DeleteObject(strip);
    }
    SetRegion(region);
}

void TspSkinForm::CreateNewForm(bool rescale)
{
    if (!SkinLoaded(FSkinData))
        return;
    InvalidateImages();
    if (FSkinnableForm) {
        CalcRects();
        if (rescale)
            CalcAllRealObjectRect();
    }
    CreateNewRegion(rescale);
    if (OnChangeClientRect)
        OnChangeClientRect(CurClientRect);
    if (FSupportNCArea) {
        if (!FormRegion && FSkinnableForm)
            FramePaint();
        if (FFormSkinned && FSkinData->StretchEffect) {
            FForm->Repaint();
            CheckControlsBackground();
        }
        return;
    }
    FForm->Repaint();
    ControlsToAreas();
}

// ---- Hit tests --------------------------------------------------------------------------------------------------

void TspSkinForm::PointToNCPoint(TPoint& p) const
{
    // An MDI child's Left and Top are in its MDI client, not on the screen: its window rectangle is.
    if (FForm->FormStyle() == fsMDIChild && FForm->HandleAllocated()) {
        RECT window {};
        GetWindowRect(FForm->Handle(), &window);
        p.X -= window.left;
        p.Y -= window.top;
        return;
    }
    p.X -= FForm->Left();
    p.Y -= FForm->Top();
}

namespace {

// The corner and border codes of a point near the edge, by the hit-test points; 0 when none applies.
LRESULT EdgeCode(TPoint p, const TPoint* points, const TRect& client, int width, int height)
{
    const TPoint lt = points[0];
    const TPoint rt = points[1];
    const TPoint lb = points[2];
    const TPoint rb = points[3];
    if (p.X <= lt.X && p.Y <= lt.Y)
        return HTTOPLEFT;
    if (p.X >= rt.X && p.Y <= rt.Y)
        return HTTOPRIGHT;
    if (p.X <= lb.X && p.Y >= lb.Y)
        return HTBOTTOMLEFT;
    if (p.X >= rb.X && p.Y >= rb.Y)
        return HTBOTTOMRIGHT;
    if (InRect(Rect(lt.X, 0, rt.X, client.Top), p))
        return HTTOP;
    if (InRect(Rect(lb.X, client.Bottom, rb.X, height), p))
        return HTBOTTOM;
    if (InRect(Rect(0, lt.Y, client.Left, lb.Y), p))
        return HTLEFT;
    if (InRect(Rect(client.Right, rt.Y, width, rb.Y), p))
        return HTRIGHT;
    return 0;
}

} // namespace

bool TspSkinForm::NearEdge(TPoint p) const
{
    const int b = FSkinData->BorderWidth;
    const TPoint around[4] = { { p.X - b, p.Y }, { p.X, p.Y - b }, { p.X + b, p.Y }, { p.X, p.Y + b } };
    const bool masked = FSkinData->MaskPicture && !FSkinData->MaskPicture->Empty();
    const TRect window = Rect(0, 0, FForm->Width(), FForm->Height());
    if (!masked) {
        for (const TPoint& q : around)
            if (!InRect(window, q))
                return true;
        return false;
    }
    if (InRect(CurMaskRect, p))
        return false;
    for (const TPoint& q : around)
        if (!PtInMask(q))
            return true;
    return false;
}

bool TspSkinForm::OnCaptionObject(TPoint p) const
{
    for (auto& object : SkinObjects)
        if (dynamic_cast<TspSkinCaptionObject*>(object.get()) && CanObjectTest(object->RollUp)
            && InRect(object->ObjectRect, p))
            return true;
    return false;
}

LRESULT TspSkinForm::NewNCHitTest(TPoint p)
{
    const bool folded = FRolledUp || FWindowState == wsMinimized;
    if (!folded) {
        if (ActiveObjectIndex != -1 && !OnCaptionObject(p) && !InRect(CurClientRect, p) && !InSizeMove)
            return HTOBJECT;
        if (!IsMaximized() && Sizeable) {
            if (!NearEdge(p)) {
                if (InRect(CurClientRect, p))
                    return HTCLIENT;
                return OnCaptionObject(p) ? HTCAPTION : HTOBJECT;
            }
            if (const LRESULT code = EdgeCode(p, CurHitTestPoints, CurClientRect, FForm->Width(), FForm->Height()))
                return code;
        }
        if (InRect(CurClientRect, p))
            return HTCLIENT;
    }
    return OnCaptionObject(p) ? HTCAPTION : HTOBJECT;
}

LRESULT TspSkinForm::NewHitTest(TPoint p)
{
    if (!Sizeable || IsMaximized() || FRolledUp || ActiveObjectIndex != -1 || !SkinLoaded(FSkinData))
        return HTCLIENT;
    if (!IsNullRect(CurSizeGripRect) && InRect(CurSizeGripRect, p))
        return HTBOTTOMRIGHT;
    if (!NearEdge(p))
        return HTCLIENT;
    const LRESULT code = EdgeCode(p, CurHitTestPoints, CurClientRect, FForm->Width(), FForm->Height());
    return code ? code : HTCLIENT;
}

LRESULT TspSkinForm::NewDefNCHitTest(TPoint p)
{
    const int w = FForm->Width();
    const int h = FForm->Height();
    if (!IsMaximized() && FWindowState != wsMinimized && !FRolledUp && Sizeable) {
        if (ActiveObjectIndex != -1)
            return HTOBJECT;
        if (p.X <= 2 && p.Y <= 2)
            return HTTOPLEFT;
        if (p.X >= w - 2 && p.Y <= 2)
            return HTTOPRIGHT;
        if (p.X <= 2 && p.Y >= h - 2)
            return HTBOTTOMLEFT;
        if (p.X >= w - 2 && p.Y >= h - 2)
            return HTBOTTOMRIGHT;
        if (p.X <= 2)
            return HTLEFT;
        if (p.Y <= 2)
            return HTTOP;
        if (p.X >= w - 2)
            return HTRIGHT;
        if (p.Y >= h - 2)
            return HTBOTTOM;
    }
    if (InRect(GetDefCaptionRect(), p))
        return HTCAPTION;
    if (InRect(Rect(3, GetDefCaptionHeight() + 3, w - 3, h - 3), p))
        return HTCLIENT;
    return HTOBJECT;
}

// ---- Activation -------------------------------------------------------------------------------------------------

bool TspSkinForm::GetFormActive()
{
    const TFormStyle style = FForm->FormStyle();
    if (style == fsMDIChild || style == fsMDIForm)
        return FFormActive;
    return FForm->Active() && Screen && Screen->ActiveCustomForm() == FForm;
}

void TspSkinForm::FormChangeActive(bool active)
{
    const bool formActive = GetFormActive();
    for (auto& object : SkinObjects) {
        auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get());
        if (!caption)
            continue;
        if (active && CanObjectTest(caption->RollUp)) {
            if (!FSupportNCArea)
                caption->Active = formActive;
            if (caption->EnableAnimation()) {
                caption->Active = formActive;
                caption->StartAnimation(formActive);
                FAnimateTimer->SetEnabled(true);
            }
            if (!FSupportNCArea || !IsNullRect(caption->ActiveSkinRect))
                DrawSkinObject(caption);
        } else if (caption->EnableMorphing()) {
            caption->SetMorphKf(formActive ? 1 : 0);
        }
    }
    if (formActive) {
        if (OnActivate)
            OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

// ---- Painting the frame -----------------------------------------------------------------------------------------

void TspSkinForm::FramePaint()
{
    if (FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_NCPAINT, 1, 0);
}

// ---- Fade-in ----------------------------------------------------------------------------------------------------

void TspSkinForm::FadeIn()
{
    const HWND window = FForm->Handle();
    KillTimer(window, 1);
    const int target = AlphaBlendAnimation && !AlphaBlend ? 255 : AlphaBlendValue;
    if (AlphaBlendAnimation) {
        Application->ProcessMessages();
        if (!FForm->HandleAllocated())
            return;
        int alpha = 0;
        DWORD last = 0;
        bool first = true;
        while (alpha < target) {
            const DWORD now = GetTickCount();
            if (first || now - last > 5) {
                alpha = std::min(alpha + 10, target);
                SetAlphaBlendTransparent(window, alpha);
                last = now;
                first = false;
            }
        }
    } else if (target < 255) {
        SetAlphaBlendTransparent(window, target);
    }
    if (target == 255)
        SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) & ~LONG(WS_EX_LAYERED));
}

// ---- The window procedure ---------------------------------------------------------------------------------------

void TspSkinForm::OnSkinMessage(TMessage& message)
{
    auto* skin = reinterpret_cast<TspSkinData*>(message.WParam);
    switch (message.Msg) {
    case WM_BEFORECHANGESKINDATA:
        if (skin == FSkinData) {
            SkinDataChanging = true;
            FFormSkinned = false;
            InvalidateImages();
            FMorphTimer->SetEnabled(false);
            FMouseTimer->SetEnabled(false);
            FAnimateTimer->SetEnabled(false);
            ClearObjects();
            BeforeUpDateSkinControls(skin, FForm);
            BeforeUpDateSkinComponents();
        }
        break;
    case WM_CHANGESKINDATA:
        SkinDataChanging = false;
        if (skin == FSkinData)
            ChangeSkinData();
        // Controls bound to the skin are re-skinned on every form, whatever skin the form wears.
        UpDateSkinControls(skin, FForm);
        UpDateSkinComponents();
        break;
    case WM_CHANGERESSTRDATA:
        CheckObjectsHint();
        break;
    case WM_CHANGEFORMSKINNABLE:
        if (FSkinData && skin == FSkinData && FForm->FormStyle() != fsMDIChild)
            SetSkinnableForm(FSkinData->SkinnableForm());
        break;
    }
}

void TspSkinForm::NewWndProc(TMessage& message)
{
    // Once the window is gone the form may be half deleted: what it still hears takes the plain path.
    if (message.Msg == WM_NCCREATE)
        FFormWindowGone = false;
    // A form deleted without ever having had a window hears its children leave while it is half deleted: that
    // goes straight to the form's own procedure, as nothing of the skin is drawn without a window.
    if (!FForm->HandleAllocated() && FForm->ComponentState().Contains(csDestroying)) {
        if (OldWindowProc)
            OldWindowProc(message);
        return;
    }
    const TFormStyle style = FFormWindowGone ? fsNormal : FForm->FormStyle();
    if (style == fsMDIChild || style == fsMDIForm)
        MDIWndProc(message);
    else
        FormWndProc(message);
    if (message.Msg == WM_NCDESTROY)
        FFormWindowGone = true;
}

void TspSkinForm::FormWndProc(TMessage& message)
{
    auto old = [&] {
        if (OldWindowProc)
            OldWindowProc(message);
    };
    const bool frame = FSupportNCArea;
    const bool skinnable = FSkinnableForm;
    // An MDI main form also closes what its active child has open; an object hint goes too.
    if (FSkinMenu
        && (SkinMenuOpened || FSkinMenu->Visible() || MainMenuActive || (ShowObjectHint && FSkinHint)
            || (!FFormWindowGone && FForm->FormStyle() == fsMDIForm)))
        CheckMenuVisible(message);
    // Whatever the menus: skinned edits and combo boxes of an MDI parent close what they have open.
    if (CanMenuClose(message.Msg))
        CancelMessageToControls();
    switch (message.Msg) {
    case WM_CLOSESKINMENU:
        SkinMenuClose();
        return;
    case WM_DESTROY:
        FMorphTimer->SetEnabled(false);
        FMouseTimer->SetEnabled(false);
        FAnimateTimer->SetEnabled(false);
        old();
        return;
    case WM_SIZE:
        if (InSizeMove && FullDrag && frame) {
            if (!FLogoBitMap->Empty() && FForm->FormStyle() != fsMDIForm)
                FForm->Invalidate();
            old();
            break;
        }
        old();
        SnappedLeft = SnappedTop = SnappedRight = SnappedBottom = false;
        LayoutWidth = FForm->Width();
        LayoutHeight = FForm->Height();
        if (FFormSkinned) {
            if (frame) {
                if (LayoutWidth >= GetMinWidth() && LayoutHeight >= GetMinHeight())
                    CreateNewForm(true);
            } else if (!FRolledUp) {
                const bool scalable = CanScale();
                if (scalable
                    || (FSkinData->Picture->Width() == FForm->ClientWidth()
                        && FSkinData->Picture->Height() == FForm->ClientHeight()))
                    CreateNewForm(scalable);
            }
        } else if (frame) {
            FramePaint();
            CreateNewRegion(true);
        }
        if (frame && AlphaBlend && AlphaBlendValue < 255 && CheckW2KWXP()) {
            FramePaint();
            FForm->Repaint();
        }
        if (frame && !FLogoBitMap->Empty() && FForm->FormStyle() != fsMDIForm)
            FForm->Invalidate();
        break;
    case WM_ACTIVATE:
        if (!skinnable) {
            old();
            break;
        }
        Dragging = false;
        old();
        if (frame) {
            FramePaint();
            TestActive(-1, -1, false);
            UpDateActiveObjects();
        }
        FormChangeActive(true);
        break;
    case WM_SETTEXT:
        old();
        if (skinnable && (!frame || !BorderStyleNone())) {
            if (frame)
                FramePaint();
            if (FFormSkinned)
                SetDefaultCaptionText(FForm->Caption());
            if (!frame)
                FForm->Invalidate();
        }
        break;
    case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (!frame)
            Paint(dc);
        else if (FFormSkinned && FSkinData->BGPictureIndex != -1)
            PaintBG2(dc);
        else if (FFormSkinned)
            PaintBG(dc);
        else
            PaintBGDefault(dc);
        message.Result = 1;
        return;
    }
    case WM_SHOWWINDOW:
        if (message.WParam && PositionPending) {
            // The first showing places a form shown normal on its monitor; a form shown minimized or
            // maximized is placed when it is restored.
            if (PositionInMonitor == sppDefault) {
                PositionPending = false;
            } else if (FWindowState == wsNormal) {
                PositionPending = false;
                ApplyPositionInMonitor();
            }
        }
        if (skinnable && message.WParam) {
            if ((AlphaBlend || AlphaBlendAnimation) && FForm->HandleAllocated()) {
                const HWND window = FForm->Handle();
                SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
                SetAlphaBlendTransparent(window, 0);
                SetTimer(window, 1, 1, nullptr);
            }
            if (!frame)
                ControlsToAreas();
        } else if (skinnable && AlphaBlend && FForm->HandleAllocated()) {
            const HWND window = FForm->Handle();
            SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) & ~LONG(WS_EX_LAYERED));
        }
        old();
        break;
    case WM_SETCURSOR:
        if (frame && skinnable && UseFormCursorInNCArea) {
            const int hit = LOWORD(message.LParam);
            if (!(hit == HTCLIENT || (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)))
                message.LParam = MAKELONG(HTCLIENT, HIWORD(message.LParam));
        }
        old();
        break;
    case WM_GETMINMAXINFO:
        old();
        if (skinnable) {
            auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
            info->ptMinTrackSize = POINT { GetMinWidth(), GetMinHeight() };
            info->ptMaxTrackSize = POINT { GetMaxWidth(), GetMaxHeight() };
            // Where the window layer puts the window when the form maximizes, relative to the work area.
            if (FForm->FormStyle() != fsMDIChild) {
                const TRect r = MaximizedBounds();
                const TRect work = WorkArea();
                info->ptMaxPosition = POINT { r.Left - work.Left, r.Top - work.Top };
                info->ptMaxSize = POINT { RectWidth(r), RectHeight(r) };
            }
        }
        break;
    case WM_NCCALCSIZE: {
        if (!skinnable) {
            old();
            break;
        }
        if (frame && !BorderStyleNone()) {
            RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                     : reinterpret_cast<RECT*>(message.LParam);
            if (CanNCSupport()) {
                CalcRects();
                const TRect& c = FSkinData->ClientRect;
                r->left += c.Left;
                r->top += c.Top;
                r->right += c.Right - FSkinData->Picture->Width();
                r->bottom += c.Bottom - FSkinData->Picture->Height();
            } else {
                r->left += 3;
                r->top += GetDefCaptionHeight() + 3;
                r->right -= 3;
                r->bottom -= 3;
            }
            r->right = std::max(r->right, r->left);
            r->bottom = std::max(r->bottom, r->top);
        }
        message.Result = 0;
        return;
    }
    case WM_NCHITTEST: {
        TPoint p = MessagePoint(message.LParam);
        if (!frame) {
            if (!FFormSkinned) {
                old();
                return;
            }
            POINT client { p.X, p.Y };
            ScreenToClient(FForm->Handle(), &client);
            if (!MouseInForm) {
                MouseInForm = true;
                TestActive(client.x, client.y, true);
                FMouseTimer->SetEnabled(true);
            }
            message.Result = NewHitTest(TPoint { client.x, client.y });
            return;
        }
        if (!skinnable) {
            old();
            return;
        }
        PointToNCPoint(p);
        message.Result = FFormSkinned ? NewNCHitTest(p) : NewDefNCHitTest(p);
        if (!FMouseTimer->Enabled() && message.Result == HTOBJECT) {
            TestActive(p.X, p.Y, true);
            FMouseTimer->SetEnabled(true);
        }
        return;
    }
    case WM_NCPAINT:
        if (!skinnable) {
            old();
            break;
        }
        if (frame && !BorderStyleNone() && FForm->HandleAllocated()) {
            if (FFormSkinned)
                PaintNCSkin(nullptr, false);
            else
                PaintNCDefault(nullptr, false);
        }
        message.Result = 0;
        return;
    case CM_BENCPAINT:
        if (!skinnable || message.LParam != CM_BENCPAINTParam) {
            old();
            break;
        }
        if (message.WParam && frame && !BorderStyleNone()) {
            const HDC dc = reinterpret_cast<HDC>(message.WParam);
            if (FFormSkinned)
                PaintNCSkin(dc, true);
            else if (!SkinDataChanging)
                PaintNCDefault(dc, true);
        }
        message.Result = CM_BENCPAINTParam;
        return;
    case WM_SYNCPAINT:
        if (skinnable && FRolledUp && frame) {
            FramePaint();
            message.Result = 0;
            return;
        }
        old();
        break;
    case WM_NCACTIVATE:
        if (!skinnable) {
            old();
            break;
        }
        FFormActive = message.WParam != 0;
        message.Result = 1;
        if (BorderStyleNone()) {
            FormChangeActive(false);
        } else {
            FramePaint();
            FormChangeActive(true);
        }
        return;
    case WM_SYSCOMMAND:
        if (OnSysCommand(message))
            return;
        old();
        break;
    case WM_TIMER:
        if (message.WParam == 1 && (AlphaBlend || AlphaBlendAnimation) && FForm->HandleAllocated())
            FadeIn();
        old();
        break;
    case WM_SIZING:
        if (!(InSizeMove && FullDrag)) {
            old();
            break;
        }
        SnappedLeft = SnappedTop = SnappedRight = SnappedBottom = false;
        old();
        {
            const RECT* r = reinterpret_cast<const RECT*>(message.LParam);
            const int width = r->right - r->left;
            const int height = r->bottom - r->top;
            if (!SkinLoaded(FSkinData) && frame && skinnable) {
                LayoutWidth = width;
                LayoutHeight = height;
                CreateNewRegion(true);
            } else if (frame && skinnable && width >= GetMinWidth() && height >= GetMinHeight()
                && (width != FForm->Width() || height != FForm->Height())) {
                // Region and frame are ready for the new size before the window takes it.
                LayoutWidth = width;
                LayoutHeight = height;
                CreateNewForm(true);
            }
        }
        break;
    case WM_MOVING:
        if (skinnable && IsMaximized() && FForm->FormStyle() != fsMDIChild) {
            RECT* r = reinterpret_cast<RECT*>(message.LParam);
            *r = RECT { FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height() };
        } else if (skinnable && Magnetic) {
            RECT* r = reinterpret_cast<RECT*>(message.LParam);
            int left = r->left;
            int top = r->top;
            DoMagnetic(left, top, FForm->Width(), FForm->Height());
            *r = RECT { left, top, left + FForm->Width(), top + FForm->Height() };
        }
        old();
        break;
    case WM_ENTERSIZEMOVE: {
        POINT cursor {};
        GetCursorPos(&cursor);
        SnapCursor = TPoint { cursor.x, cursor.y };
    }
        if (frame && skinnable) {
            UpDateActiveObjects();
            FMouseTimer->SetEnabled(false);
            ActiveObjectIndex = PressedObjectIndex = -1;
            InSizeMove = true;
            FullDrag = true;
        }
        old();
        break;
    case WM_EXITSIZEMOVE:
        if (frame && skinnable) {
            FMouseTimer->SetEnabled(false);
            OldActiveObjectIndex = ActiveObjectIndex = PressedObjectIndex = -1;
            if (SkinLoaded(FSkinData))
                FramePaint();
        }
        old();
        break;
    case WM_BEFORECHANGESKINDATA:
    case WM_CHANGESKINDATA:
    case WM_AFTERCHANGESKINDATA:
    case WM_CHANGERESSTRDATA:
    case WM_CHANGEFORMSKINNABLE:
        OnSkinMessage(message);
        old();
        break;
    default:
        old();
        break;
    }
    RouteMouse(message);
}

void TspSkinForm::RouteMouse(TMessage& message)
{
    const bool frame = FSupportNCArea;
    if (frame && !FSkinnableForm)
        return;
    TPoint p = MessagePoint(message.LParam);
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        if (frame) {
            PointToNCPoint(p);
            MouseMove(p.X, p.Y);
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: {
        if (!frame)
            break;
        // A move or size loop ran inside this press: the press is over.
        if (InSizeMove) {
            InSizeMove = false;
            break;
        }
        const bool left = message.Msg == WM_NCLBUTTONDOWN || message.Msg == WM_NCLBUTTONDBLCLK;
        PointToNCPoint(p);
        TestActive(p.X, p.Y, true);
        MouseDown(left ? mbLeft : mbRight, p.X, p.Y);
        if (message.Msg == WM_NCLBUTTONDBLCLK) {
            MouseDBlClick();
            if (message.WParam == WPARAM(HTCAPTION)) {
                if (Sizeable && FWindowState == wsMinimized)
                    SetWindowState(wsNormal);
                else if (Sizeable && !IsMaximized() && !FRolledUp && FBorderIcons.Contains(TspBorderIcon::biMaximize))
                    SetWindowState(wsMaximized);
                else if (Sizeable && IsMaximized() && !RolledUpWhileMaximized)
                    SetWindowState(wsNormal);
                else
                    SetRollUpState(!FRolledUp);
            }
        }
        if (message.WParam == WPARAM(HTCAPTION)) {
            PressedObjectIndex = -1;
            // A right press on the caption opens the system menu where the cursor is.
            if (message.Msg == WM_NCRBUTTONDOWN) {
                POINT cursor {};
                GetCursorPos(&cursor);
                TrackSystemMenu(cursor.x, cursor.y);
            }
        }
        break;
    }
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
        if (!frame)
            break;
        PointToNCPoint(p);
        try {
            MouseUp(message.Msg == WM_NCLBUTTONUP ? mbLeft : mbRight, p.X, p.Y);
        } catch (const Exception& e) {
            // A release in the frame never brings the window procedure down.
            std::fprintf(stderr, "skinned form: %s\n", e.what());
        }
        break;
    case WM_MOUSEMOVE:
        if (frame)
            break;
        MouseMove(p.X, p.Y);
        if (Dragging) {
            POINT cursor;
            GetCursorPos(&cursor);
            if (cursor.x != DragPoint.X || cursor.y != DragPoint.Y) {
                int left = FForm->Left() + cursor.x - DragPoint.X;
                int top = FForm->Top() + cursor.y - DragPoint.Y;
                if (Magnetic)
                    DoMagnetic(left, top, FForm->Width(), FForm->Height());
                FForm->SetBounds(left, top, FForm->Width(), FForm->Height());
                DragPoint = TPoint { cursor.x, cursor.y };
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (!frame) {
            POINT cursor {};
            GetCursorPos(&cursor);
            SnapCursor = TPoint { cursor.x, cursor.y };
        }
        [[fallthrough]];
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        if (!frame)
            MouseDown(message.Msg == WM_LBUTTONDOWN ? mbLeft : mbRight, p.X, p.Y);
        break;
    case WM_LBUTTONDBLCLK:
        if (!frame) {
            MouseDown(mbLeft, p.X, p.Y);
            MouseDBlClick();
            CheckWindowState();
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const TMouseButton button = message.Msg == WM_LBUTTONUP ? mbLeft : mbRight;
        if (frame)
            MouseUp(button, -1, -1);
        else
            MouseUp(button, p.X, p.Y);
        break;
    }
    }
}
