#include "skin/dialogs/SkinTabsCore.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"

#include <string>

using namespace SPUtils;

namespace {

// The three-part tab picture of the record, made at the chosen rectangle's height.
void MakeTabImage(TBitmap& target, TBitmap* picture, const TspTabSkinValues& v, const TRect& source, int width)
{
    CreateHSkinImage(v.TabLeftOffset, v.TabRightOffset, &target, picture, source, width, RectHeight(source),
        v.TabStretchEffect);
}

void NewBitmap(TBitmap& bitmap, int width, int height)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
}

} // namespace

template <class Base>
TspSkinTabsCore<Base>::TspSkinTabsCore(TComponent* owner)
    : Base(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    for (TFont* font : { FDefaultFont.get(), this->Font() }) {
        font->SetName("Arial");
        font->SetHeight(14);
        font->SetColor(clBtnText);
        font->SetStyle({});
    }
    this->SetCtl3D(false);
}

template <class Base> TspSkinTabsCore<Base>::~TspSkinTabsCore()
{
    // The scroller is owned and parented here: it goes with the control's own children.
    FScroller = nullptr;
}

template <class Base> void TspSkinTabsCore<Base>::SetTabsBGTransparent(bool value)
{
    if (FTabsBGTransparent == value)
        return;
    FTabsBGTransparent = value;
    this->Invalidate();
}

template <class Base> void TspSkinTabsCore<Base>::SetDefaultFont(TFont* value) { FDefaultFont->Assign(value); }

template <class Base> void TspSkinTabsCore<Base>::SetDefaultItemHeight(int value)
{
    FDefaultItemHeight = value;
    if (FIndex == -1) {
        SetItemSize(this->TabWidth(), value);
        Change2();
        this->Realign();
    }
}

template <class Base> void TspSkinTabsCore<Base>::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (value && !value->Empty && !this->ComponentState().Contains(csDesigning))
        ChangeSkinData();
}

template <class Base> void TspSkinTabsCore<Base>::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
    if (operation == opRemove && component == FScroller)
        FScroller = nullptr;
}

template <class Base> TBitmap* TspSkinTabsCore<Base>::RecordPicture(int index) const
{
    TspSkinData* skin = SkinData();
    if (!skin || index < 0 || index >= static_cast<int>(skin->ActivePictures.size()))
        return nullptr;
    return skin->ActivePictures[static_cast<size_t>(index)].get();
}

template <class Base> void TspSkinTabsCore<Base>::GetSkinData()
{
    Values.BGPictureIndex = -1;
    TspSkinData* skin = SkinData();
    FIndex = skin && !skin->Empty ? skin->GetControlIndex(SkinDataName()) : -1;
    if (FIndex == -1)
        return;
    auto* record = dynamic_cast<TspDataSkinTabControl*>(skin->ControlRecords[static_cast<size_t>(FIndex)].get());
    if (!record) {
        // A record of another kind: the control keeps the last values read and draws its default look.
        FIndex = -1;
        return;
    }
    FPicture = RecordPicture(record->PictureIndex);
    TspTabSkinValues& v = Values;
    v.SkinRect = record->SkinRect;
    v.ClientRect = record->ClientRect;
    v.TabRect = record->TabRect;
    v.ActiveTabRect = IsNullRect(record->ActiveTabRect) ? record->TabRect : record->ActiveTabRect;
    v.FocusTabRect = IsNullRect(record->FocusTabRect) ? v.ActiveTabRect : record->FocusTabRect;
    v.MouseInTabRect = record->MouseInTabRect;
    v.TabsBGRect = record->TabsBGRect;
    v.LTPoint = record->LeftTopPoint;
    v.RTPoint = record->RightTopPoint;
    v.LBPoint = record->LeftBottomPoint;
    v.RBPoint = record->RightBottomPoint;
    v.TabLeftOffset = record->TabLeftOffset;
    v.TabRightOffset = record->TabRightOffset;
    v.FontName = record->FontName;
    v.FontStyle = record->FontStyle;
    v.FontHeight = record->FontHeight;
    v.FontColor = record->FontColor;
    v.ActiveFontColor = record->ActiveFontColor;
    v.FocusFontColor = record->FocusFontColor;
    v.MouseInFontColor = record->MouseInFontColor;
    v.UpDown = record->UpDown;
    v.BGPictureIndex = record->BGPictureIndex;
    v.TabStretchEffect = record->TabStretchEffect;
    v.LeftStretch = record->LeftStretch;
    v.TopStretch = record->TopStretch;
    v.RightStretch = record->RightStretch;
    v.BottomStretch = record->BottomStretch;
    v.ShowFocus = record->ShowFocus;
    v.FocusOffsetX = record->FocusOffsetX;
    v.FocusOffsetY = record->FocusOffsetY;
    v.StretchEffect = record->StretchEffect;
    v.StretchType = record->StretchType;
}

template <class Base> void TspSkinTabsCore<Base>::ChangeSkinData()
{
    GetSkinData();
    TspSkinData* skin = SkinData();
    TspResourceStrData* strings = skin ? skin->ResourceStrData() : nullptr;
    TFont* font = this->Font();
    int height;
    if (FIndex == -1) {
        font->Assign(FDefaultFont.get());
        if (strings)
            font->SetCharset(strings->CharSet());
        height = this->TabHeight() > 0 ? this->TabHeight() : FDefaultItemHeight;
    } else {
        if (FUseSkinFont) {
            font->SetName(Values.FontName);
            font->SetHeight(Values.FontHeight);
            font->SetStyle(Values.FontStyle);
        } else {
            font->Assign(FDefaultFont.get());
        }
        font->SetCharset(strings ? strings->CharSet() : FDefaultFont->Charset());
        font->SetColor(Values.FontColor);
        height = this->TabHeight() > 0 ? this->TabHeight() : RectHeight(Values.TabRect);
    }
    SetItemSize(this->TabWidth(), height);
    Change2();
    this->Realign();
    if (FScroller) {
        HideSkinUpDown();
        CheckScroll();
    }
    this->Invalidate();
}

template <class Base> void TspSkinTabsCore<Base>::Loaded()
{
    inherited::Loaded();
    if (FIndex == -1) {
        SetItemSize(this->TabWidth(), this->TabHeight() > 0 ? this->TabHeight() : FDefaultItemHeight);
        Change2();
        this->Realign();
    }
}

template <class Base> void TspSkinTabsCore<Base>::UpDateTabs()
{
    int height = this->TabHeight() > 0 ? this->TabHeight()
        : FIndex == -1                 ? FDefaultItemHeight
                                       : RectHeight(Values.TabRect);
    SetItemSize(this->TabWidth(), height);
    if (this->MultiLine())
        HideSkinUpDown();
    this->Realign();
}

template <class Base> TRect TspSkinTabsCore<Base>::GetItemRect(int index) const
{
    TRect r = this->TabRect(index);
    if (index == 0 && !this->MultiLine())
        r.Left += 1;
    return r;
}

template <class Base> void TspSkinTabsCore<Base>::SetItemSize(int width, int height)
{
    this->SendToWindow(TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
}

template <class Base> int TspSkinTabsCore<Base>::GetPosition() const
{
    int count = 0;
    for (int i = 0; i < TabCount(); ++i)
        if (GetItemRect(i).Right <= 0)
            ++count;
    return count;
}

template <class Base> int TspSkinTabsCore<Base>::GetInVisibleItemCount() const
{
    const int limit = this->Width() - 3 - (FScroller ? FScroller->Width() : 0);
    int count = 0;
    for (int i = 0; i < TabCount(); ++i) {
        const TRect r = GetItemRect(i);
        if (r.Right <= 0 || r.Right > limit)
            ++count;
    }
    return count;
}

template <class Base> void TspSkinTabsCore<Base>::DestroyNativeArrows()
{
    if (!this->HandleAllocated())
        return;
    const HWND own = FScroller && FScroller->HandleAllocated() ? FScroller->Handle() : nullptr;
    for (HWND child = GetWindow(this->Handle(), GW_CHILD); child;) {
        const HWND next = GetWindow(child, GW_HWNDNEXT);
        char name[64] {};
        GetClassName(child, name, sizeof name);
        if (child != own && std::string(name) == UPDOWN_CLASS)
            DestroyWindow(child);
        child = next;
    }
}

template <class Base> TSize TspSkinTabsCore<Base>::ScrollerSize() const
{
    return { 2 * FDefaultItemHeight, FDefaultItemHeight };
}

template <class Base> void TspSkinTabsCore<Base>::CheckScroll()
{
    DestroyNativeArrows();
    const int hidden = GetInVisibleItemCount();
    if (hidden == 0 || (ScrollerFollowsMultiLine() && this->MultiLine()))
        HideSkinUpDown();
    else if (!FScroller)
        ShowSkinUpDown();
    if (FScroller) {
        FScroller->SetMax(hidden);
        FScroller->SetLeft(this->Width() - FScroller->Width());
        FScroller->SetTop(this->TabPosition() == tpTop ? 0 : this->Height() - FScroller->Height());
    }
}

template <class Base> void TspSkinTabsCore<Base>::ShowSkinUpDown()
{
    const TSize size = ScrollerSize();
    FScroller = new TspTabScroller(this);
    FScroller->SetOrientation(udHorizontal);
    FScroller->SetBounds(this->Width() - size.cx, this->TabPosition() == tpTop ? 0 : this->Height() - size.cy,
        size.cx, size.cy);
    FScroller->SetMin(0);
    FScroller->SetMax(GetInVisibleItemCount());
    FScroller->SetPosition(GetPosition());
    FScroller->SetIncrement(1);
    FScroller->OnChange = [this](TObject*) { OnUpDownChange(); };
    FScroller->SetSkinDataName(Values.UpDown);
    FScroller->SetSkinData(this->SkinData());
    FScroller->SetParent(this);
    FScroller->SetVisible(true);
}

template <class Base> void TspSkinTabsCore<Base>::HideSkinUpDown()
{
    delete FScroller;
    FScroller = nullptr;
}

template <class Base> void TspSkinTabsCore<Base>::OnUpDownChange()
{
    if (!FScroller)
        return;
    FScroller->SetMax(GetInVisibleItemCount());
    SendMessage(this->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FScroller->Position()), 0);
}

template <class Base> void TspSkinTabsCore<Base>::Change()
{
    if (FScroller)
        FScroller->SetPosition(GetPosition());
    inherited::Change();
    this->Invalidate();
}

template <class Base> void TspSkinTabsCore<Base>::Change2()
{
    if (FScroller)
        FScroller->SetPosition(GetPosition());
    this->Invalidate();
}

template <class Base> TRect TspSkinTabsCore<Base>::FrameMargins() const
{
    const TRect& c = Values.ClientRect;
    return { c.Left, c.Top, RectWidth(Values.SkinRect) - c.Right, RectHeight(Values.SkinRect) - c.Bottom };
}

template <class Base> TRect TspSkinTabsCore<Base>::FrameRect() const
{
    TRect r = this->DisplayRect();
    if (FIndex == -1)
        return r;
    const TRect m = FrameMargins();
    return { r.Left - m.Left, r.Top - m.Top, r.Right + m.Right, r.Bottom + m.Bottom };
}

template <class Base> TRect TspSkinTabsCore<Base>::TabStripRect(const TRect& frame) const
{
    const int w = this->Width(), h = this->Height();
    switch (this->TabPosition()) {
    case tpBottom: return { 0, frame.Bottom, w, h };
    case tpLeft: return { 0, 0, frame.Left, h };
    case tpRight: return { frame.Right, 0, w, h };
    default: return { 0, 0, w, frame.Top };
    }
}

template <class Base> bool TspSkinTabsCore<Base>::Focused_() const { return this->Focused(); }

template <class Base> TCanvas* TspSkinTabsCore<Base>::ControlCanvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TControlCanvas>();
        FCanvas->SetControl(this);
    }
    return FCanvas.get();
}

template <class Base> void TspSkinTabsCore<Base>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case TCM_ADJUSTRECT: {
        inherited::WndProc(message);
        auto* r = reinterpret_cast<RECT*>(message.LParam);
        if (!r || message.WParam)
            return;
        const int cw = this->ClientWidth(), ch = this->ClientHeight();
        if (FIndex == -1) {
            switch (this->TabPosition()) {
            case tpTop: *r = { 1, r->top - 5, cw - 1, ch - 1 }; break;
            case tpBottom: *r = { 1, 1, cw - 1, r->bottom + 3 }; break;
            case tpLeft: *r = { r->left - 3, r->top - 5, cw - 1, ch - 1 }; break;
            case tpRight: *r = { r->left - 3, r->top - 5, r->right + 3, ch - 1 }; break;
            }
        } else {
            const TRect m = FrameMargins();
            switch (this->TabPosition()) {
            case tpTop: *r = { m.Left, r->top + m.Top - 6, cw - m.Right, ch - m.Bottom }; break;
            case tpBottom: *r = { m.Left, r->top + m.Top - 4, cw - m.Right, r->bottom + 4 - m.Bottom }; break;
            case tpLeft: *r = { r->left + m.Left - 4, r->top + m.Top - 4, cw - m.Right, ch - m.Bottom }; break;
            case tpRight: *r = { m.Left, r->top + m.Top - 4, r->right + 4 - m.Right, ch - m.Bottom }; break;
            }
        }
        return;
    }
    case TCM_GETITEMRECT: {
        inherited::WndProc(message);
        auto* r = reinterpret_cast<RECT*>(message.LParam);
        if (!message.Result || !r)
            return;
        const bool single = !this->MultiLine();
        switch (this->TabPosition()) {
        case tpTop: OffsetRect(r, single ? -2 : 0, -2); break;
        case tpBottom: OffsetRect(r, single ? -2 : 0, 2); break;
        case tpLeft: OffsetRect(r, -2, 0); break;
        case tpRight: OffsetRect(r, 2, 0); break;
        }
        return;
    }
    case WM_HSCROLL:
        inherited::WndProc(message);
        if (!message.LParam)
            this->Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        RedrawTab(FOldHotTab, false);
        RedrawTab(FHotTab, false);
        FHotPage = FHotTab = FOldHotPage = FOldHotTab = -1;
        return;
    case WM_CHECKPARENTBG:
        if (FTabsBGTransparent)
            this->Invalidate();
        return;
    default:
        inherited::WndProc(message);
    }
}

template <class Base> void TspSkinTabsCore<Base>::PaintWindow(HDC dc)
{
    GetSkinData();
    const int saved = SaveDC(dc);
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (FIndex == -1)
        PaintDefaultWindow(&canvas);
    else
        PaintSkinWindow(&canvas);
    DrawTabs(&canvas);
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

template <class Base> void TspSkinTabsCore<Base>::PaintDefaultWindow(TCanvas* canvas)
{
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(this->ClientRect());
    TRect r = this->DisplayRect();
    r = { r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1 };
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
}

template <class Base> void TspSkinTabsCore<Base>::PaintSkinWindow(TCanvas* canvas)
{
    DrawSkinFrame(canvas, FrameRect());
}

template <class Base> void TspSkinTabsCore<Base>::DrawSkinFrame(TCanvas* canvas, const TRect& frame)
{
    if (!FPicture)
        return;
    const TspTabSkinValues& v = Values;
    const int nw = RectWidth(frame), nh = RectHeight(frame);
    const int dw = nw - RectWidth(v.SkinRect), dh = nh - RectHeight(v.SkinRect);
    const TPoint nRT { v.RTPoint.X + dw, v.RTPoint.Y }, nLB { v.LBPoint.X, v.LBPoint.Y + dh },
        nRB { v.RBPoint.X + dw, v.RBPoint.Y + dh };
    const TRect nC { v.ClientRect.Left, v.ClientRect.Top, v.ClientRect.Right + dw, v.ClientRect.Bottom + dh };
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(v.LTPoint, v.RTPoint, v.LBPoint, v.RBPoint, v.ClientRect, v.LTPoint, nRT, nLB, nRB, nC,
        &left, &top, &right, &bottom, FPicture, v.SkinRect, nw, nh, v.LeftStretch, v.TopStretch, v.RightStretch,
        v.BottomStretch);
    canvas->Draw(frame.Left, frame.Top, &top);
    canvas->Draw(frame.Left, frame.Top + top.Height(), &left);
    canvas->Draw(frame.Right - right.Width(), frame.Top + top.Height(), &right);
    canvas->Draw(frame.Left, frame.Bottom - bottom.Height(), &bottom);
}

template <class Base>
void TspSkinTabsCore<Base>::DrawStretched(
    TCanvas* canvas, TBitmap* picture, const TRect& piece, int w, int h, bool stretch)
{
    const int pw = RectWidth(piece), ph = RectHeight(piece);
    if (!picture || pw <= 0 || ph <= 0 || w <= 0 || h <= 0)
        return;
    if (stretch) {
        switch (Values.StretchType) {
        case spstFull: canvas->CopyRect({ 0, 0, w, h }, picture->Canvas(), piece); return;
        case spstHorz:
            for (int x = 0; x < w; x += pw)
                canvas->CopyRect({ x, 0, x + pw, h }, picture->Canvas(), piece);
            return;
        case spstVert:
            for (int y = 0; y < h; y += ph)
                canvas->CopyRect({ 0, y, w, y + ph }, picture->Canvas(), piece);
            return;
        }
    }
    for (int y = 0; y < h; y += ph)
        for (int x = 0; x < w; x += pw)
            canvas->CopyRect({ x, y, x + pw, y + ph }, picture->Canvas(), piece);
}

template <class Base> void TspSkinTabsCore<Base>::DrawClientPiece(TCanvas* canvas, int w, int h)
{
    TRect piece = Values.ClientRect;
    OffsetRect(reinterpret_cast<RECT*>(&piece), Values.SkinRect.Left, Values.SkinRect.Top);
    DrawStretched(canvas, FPicture, piece, w, h, Values.StretchEffect);
}

template <class Base> void TspSkinTabsCore<Base>::DrawTabs(TCanvas* canvas)
{
    const int count = TabCount();
    if (count == 0)
        return;
    const int tabIndex = this->TabIndex();
    if (FIndex == -1) {
        for (int v = 0; v < count; ++v)
            DrawTab(TabPage(v), GetItemRect(v), v == tabIndex, v == FHotTab, canvas);
        return;
    }
    const TRect frame = FrameRect();
    const TRect strip = TabStripRect(frame);
    const int sw = RectWidth(strip), sh = RectHeight(strip);
    if (sw <= 0 || sh <= 0)
        return;
    TBitmap bitmap;
    NewBitmap(bitmap, sw, sh);
    if (FTabsBGTransparent) {
        GetParentImageRect(this, strip, bitmap.Canvas());
    } else {
        TRect piece = Values.TabsBGRect;
        if (IsNullRect(piece)) {
            piece = Values.ClientRect;
            OffsetRect(reinterpret_cast<RECT*>(&piece), Values.SkinRect.Left, Values.SkinRect.Top);
        }
        DrawStretched(bitmap.Canvas(), FPicture, piece, sw, sh, false);
    }
    const TTabPosition position = this->TabPosition();
    int activePage = -1;
    for (int v = 0; v < count; ++v) {
        TRect r = GetItemRect(v);
        if (position == tpBottom)
            OffsetRect(reinterpret_cast<RECT*>(&r), 0, -frame.Bottom);
        else if (position == tpRight)
            OffsetRect(reinterpret_cast<RECT*>(&r), -frame.Right, 0);
        if (v == tabIndex)
            activePage = TabPage(v);
        DrawTab(TabPage(v), r, v == tabIndex, v == FHotTab, bitmap.Canvas());
    }
    const int x = position == tpRight ? this->Width() - sw : 0;
    const int y = position == tpBottom ? this->Height() - sh : 0;
    canvas->Draw(x, y, &bitmap);
    // The active tab once more over the frame.
    if (activePage >= 0 && tabIndex >= 0 && tabIndex < PageTotal()) {
        TRect r = GetItemRect(tabIndex);
        if (RectHeight(Values.TabRect) != RectHeight(Values.ActiveTabRect)) {
            if (position == tpBottom)
                OffsetRect(reinterpret_cast<RECT*>(&r), 0, -1);
            else if (position == tpRight)
                OffsetRect(reinterpret_cast<RECT*>(&r), -1, 0);
        }
        DrawTab(activePage, r, true, false, canvas);
    }
}

template <class Base>
void TspSkinTabsCore<Base>::DrawTab(int ti, const TRect& rct, bool active, bool mouseIn, TCanvas* cnvs)
{
    if (ti < 0 || ti >= PageTotal() || RectWidth(rct) <= 0 || RectHeight(rct) <= 0)
        return;
    const TTabPosition position = this->TabPosition();
    const bool sideways = position == tpLeft || position == tpRight;
    const int w = sideways ? RectHeight(rct) : RectWidth(rct);
    const int h = sideways ? RectWidth(rct) : RectHeight(rct);
    const bool focused = Focused_();
    TspSkinData* skin = SkinData();
    TspResourceStrData* strings = skin ? skin->ResourceStrData() : nullptr;
    TBitmap bitmap;
    NewBitmap(bitmap, w, h);
    TCanvas* c = bitmap.Canvas();
    if (FIndex == -1) {
        c->Brush()->SetStyle(bsSolid);
        if (mouseIn && !active) {
            c->Brush()->SetColor(static_cast<TColor>(0xD2BDB6));
            c->FillRect({ 0, 0, w, h });
        } else if (active) {
            c->Brush()->SetColor(clNavy);
            c->FillRect({ 0, 0, w, h });
            c->Brush()->SetColor(static_cast<TColor>(focused ? 0xB59385 : 0xD2BDB6));
            c->FillRect({ 1, 1, w - 1, h - 1 });
        } else {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect({ 0, 0, w, h });
        }
        c->Font()->Assign(this->Font());
        if (strings)
            c->Font()->SetCharset(strings->CharSet());
    } else {
        const TspTabSkinValues& v = Values;
        TRect source = v.ActiveTabRect;
        TColor color = v.ActiveFontColor;
        if (mouseIn && !active && !IsNullRect(v.MouseInTabRect)) {
            source = v.MouseInTabRect;
            color = v.MouseInFontColor;
        } else if (active && focused) {
            source = v.FocusTabRect;
            color = v.FocusFontColor;
        } else if (!active) {
            source = v.TabRect;
            color = v.FontColor;
        }
        if (mouseIn && !active)
            color = v.MouseInFontColor;
        TBitmap image;
        MakeTabImage(image, FPicture, v, source, w);
        if (this->TabHeight() > 0 || image.Height() != h)
            c->StretchDraw({ 0, 0, w, h }, &image);
        else
            c->Draw(0, 0, &image);
        if (position == tpBottom) {
            TspEffectBmp upright(bitmap.Handle());
            TspEffectBmp flipped(w, h);
            upright.FlipVert(&flipped);
            flipped.Draw(c->Handle(), 0, 0);
        }
        if (FUseSkinFont) {
            c->Font()->SetName(v.FontName);
            c->Font()->SetStyle(v.FontStyle);
            c->Font()->SetHeight(v.FontHeight);
        } else {
            c->Font()->Assign(this->Font());
        }
        c->Font()->SetCharset(strings ? strings->CharSet() : this->Font()->Charset());
        c->Font()->SetColor(color);
        if (v.ShowFocus && focused && active) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(skin->Colors->cBtnFace);
            c->DrawFocusRect({ v.FocusOffsetX, v.FocusOffsetY, w - v.FocusOffsetX, h - v.FocusOffsetY });
        }
    }
    c->Brush()->SetStyle(bsClear);
    const std::string text = TabCaption(ti);
    int imageIndex = -1;
    bool enabled = true;
    if (OnDrawSkinTab) {
        OnDrawSkinTab(ti, { 0, 0, w, h }, active, mouseIn, c);
    } else if (TabImageOf(ti, imageIndex, enabled)) {
        TCustomImageList* images = this->Images();
        TSize extent = c->TextExtent(text);
        extent.cx += 2;
        const int x0 = w / 2 - (images->Width() + extent.cx + 2) / 2;
        images->Draw(c, x0, h / 2 - images->Height() / 2, imageIndex, enabled);
        RECT textRect { x0 + images->Width() + 2, h / 2 - extent.cy / 2, 0, 0 };
        textRect.right = textRect.left + extent.cx;
        textRect.bottom = textRect.top + extent.cy;
        DrawText(c->Handle(), text.data(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    } else {
        RECT textRect { 0, 0, w, h };
        DrawText(c->Handle(), text.data(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    if (!sideways) {
        cnvs->Draw(rct.Left, rct.Top, &bitmap);
        return;
    }
    TspEffectBmp flat(bitmap.Handle());
    TspEffectBmp turned(h, w);
    if (position == tpLeft)
        flat.Rotate90_1(&turned);
    else
        flat.Rotate90_2(&turned);
    turned.Draw(cnvs->Handle(), rct.Left, rct.Top);
}

template <class Base> void TspSkinTabsCore<Base>::RedrawTab(int visible, bool mouseIn)
{
    if (visible < 0 || visible >= TabCount() || visible == this->TabIndex())
        return;
    const int page = TabPage(visible);
    if (page < 0 || page >= PageTotal())
        return;
    GetSkinData();
    DrawTab(page, GetItemRect(visible), false, mouseIn, ControlCanvas());
}

template <class Base> void TspSkinTabsCore<Base>::TestActive(int x, int y)
{
    FOldHotPage = FHotPage;
    FOldHotTab = FHotTab;
    FHotPage = FHotTab = -1;
    for (int v = 0; v < TabCount(); ++v) {
        const TRect r = GetItemRect(v);
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) {
            FHotTab = v;
            FHotPage = TabPage(v);
            break;
        }
    }
    if (FHotTab == FOldHotTab)
        return;
    RedrawTab(FOldHotTab, false);
    RedrawTab(FHotTab, true);
}

template <class Base> void TspSkinTabsCore<Base>::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button == mbLeft && !this->ComponentState().Contains(csDesigning))
        TestActive(x, y);
}

template <class Base> void TspSkinTabsCore<Base>::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!this->ComponentState().Contains(csDesigning))
        TestActive(x, y);
}

void CheckChildrenBackground(TWinControl* parent)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && windowed->HandleAllocated())
            SendMessage(windowed->Handle(), WM_CHECKPARENTBG, 0, 0);
        else
            child->Perform(WM_CHECKPARENTBG, 0, 0);
    }
}

template class TspSkinTabsCore<TPageControl>;
template class TspSkinTabsCore<TTabControl>;
