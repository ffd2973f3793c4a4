#include "skin/menus/TspSkinPopupWindow.h"

#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Text.h"
#include "platform/win/WindowSurface.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/TspMenuLookCache.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"

#include <algorithm>

using namespace SPUtils;

namespace {

// The skin's "menuitem" object, looked up by its upper-case name first.
TspDataSkinMenuItem* MenuItemRecord(TspSkinData* skin)
{
    for (const char* name : { "MENUITEM", "menuitem" }) {
        const int index = skin->GetIndex(name);
        if (index >= 0)
            if (auto* record = dynamic_cast<TspDataSkinMenuItem*>(skin->ObjectRecords[size_t(index)].get()))
                return record;
    }
    return nullptr;
}

} // namespace

TspSkinPopupWindow::TspSkinPopupWindow(TComponent* owner, TspSkinMenu* menu, TspDataSkinPopupWindow* record)
    : TCustomControl(owner)
    , FSkinMenu(menu)
    , FLevelFont(std::make_unique<TFont>())
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    FVisible = false;
    AlphaBlend = menu->AlphaBlend;
    AlphaBlendValue = menu->AlphaBlendValue;
    AlphaBlendAnimation = menu->AlphaBlendAnimation;
    TspSkinData* skin = menu->SkinData();
    // The skin look needs the window picture and the item record; a skin that names a window picture but gives
    // no "menuitem" object (or a picture index outside its list) shows the default look.
    if (record && record->WindowPictureIndex != -1 && skin && !skin->Empty) {
        TBitmap* picture = LoadedSkinPictureAt(skin, record->WindowPictureIndex);
        TspDataSkinMenuItem* itemRecord = MenuItemRecord(skin);
        if (picture && itemRecord) {
            SkinRecord = record;
            Skin = skin;
            WindowPicture = picture;
            MaskPicture = LoadedSkinPictureAt(skin, record->MaskPictureIndex);
            ItemData = itemRecord;
            // Items whose picture is missing get no height; the shared record itself stays as the skin gave it.
            if (LoadedSkinPictureAt(skin, itemRecord->ActivePictureIndex)) {
                ItemSkinRect = itemRecord->SkinRect;
                ItemActiveSkinRect = itemRecord->ActiveSkinRect;
            }
        }
    }
    auto makeTimer = [this](uint32_t interval, void (TspSkinPopupWindow::*method)(TObject*)) {
        auto* timer = new TTimer(this);
        timer->SetEnabled(false);
        timer->SetInterval(interval);
        timer->SetOnTimer([this, method](TObject* sender) { (this->*method)(sender); });
        return timer;
    };
    MouseTimer = makeTimer(50, &TspSkinPopupWindow::TestMouse);
    MorphTimer = makeTimer(20, &TspSkinPopupWindow::TestMorph);
    WaitTimer = makeTimer(100, &TspSkinPopupWindow::WTProc);
}

TspSkinPopupWindow::~TspSkinPopupWindow()
{
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    WaitTimer->SetEnabled(false);
    ItemList.clear();
    // The next level of the chain paints into this image instead of making and clearing one of its own, and
    // keeps what it can of it.
    if (FComposed)
        FSkinMenu->KeepLevelImage(
            TspKeptLevelImage { std::move(FComposed), std::move(FComposedBackground), std::move(FComposedItems) });
}

void TspSkinPopupWindow::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

// ---- Building a level -------------------------------------------------------------------------------------------

void TspSkinPopupWindow::PrepareLevel(TMenuItem* root)
{
    TFont* defaultFont = FSkinMenu->DefaultMenuItemFont();
    if (ItemData && FSkinMenu->UseSkinFont) {
        FLevelFont->SetName(ItemData->FontName);
        FLevelFont->SetHeight(ItemData->FontHeight);
        FLevelFont->SetStyle(ItemData->FontStyle);
        FLevelFont->SetCharset(defaultFont->Charset());
    } else {
        FLevelFont->Assign(defaultFont);
    }
    TMenu* menu = root->GetParentMenu();
    if (menu && !menu->GetAutoLineReduction())
        root->RethinkLines();
    ImgL = menu ? menu->Images() : nullptr;
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 16;
    IdentifyLook();
}

void TspSkinPopupWindow::IdentifyLook()
{
    TspLookKey key;
    key.AddFont(FLevelFont.get()).AddFont(FSkinMenu->DefaultMenuItemFont()).AddInt(FSkinMenu->ItemCharset());
    key.AddInt(FSkinMenu->UseSkinFont).AddInt(ImgL != nullptr).AddInt(GlyphWidth);
    key.AddInt(DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER));
    for (TColor color : { clBtnFace, clWindow, clWindowText, clBtnShadow })
        key.AddColor(color);
    key.AddInt(SkinRecord != nullptr);
    if (SkinRecord) {
        const TspDataSkinMenuItem* d = ItemData;
        key.AddInt(d->ItemLeftOffset).AddInt(d->ItemRightOffset).AddRect(d->DividerRect);
        key.AddInt(d->DividerLeftOffset).AddInt(d->DividerRightOffset).AddRect(d->TextRect).AddRect(d->ImageRect);
        key.AddText(d->FontName).AddInt(d->FontHeight);
        for (TFontStyle style : { fsBold, fsItalic, fsUnderline, fsStrikeOut })
            key.AddInt(d->FontStyle.Contains(style));
        key.AddColor(d->FontColor).AddColor(d->ActiveFontColor).AddColor(d->UnEnabledFontColor);
        key.AddInt(d->StretchEffect).AddInt(d->InActiveStretchEffect).AddInt(d->DividerStretchEffect);
        key.AddInt(d->UseImageColor).AddColor(d->ImageColor).AddColor(d->ActiveImageColor);
        key.AddRect(ItemSkinRect).AddRect(ItemActiveSkinRect);
        // The items draw from the skin's active picture as it is now, so its pixels are part of the look.
        TBitmap* picture = TspSkinMenuItem::ActivePictureOf(Skin, ItemData);
        key.AddPixels(picture, ItemSkinRect).AddPixels(picture, ItemActiveSkinRect).AddPixels(picture, d->DividerRect);
    }
    LevelLook = FSkinMenu->Looks()->LevelLook(key.Bytes());
}

void TspSkinPopupWindow::AddItems(TMenuItem* root, int startIndex)
{
    for (int i = std::max(startIndex, 0); i < root->Count(); ++i) {
        TMenuItem* child = root->Items(i);
        if (!child->Visible())
            continue;
        if (child->Action())
            child->InitiateAction();
        ItemList.push_back(std::make_unique<TspSkinMenuItem>(this, child, ItemData));
    }
}

void TspSkinPopupWindow::CreateMenu(TMenuItem* root, int startIndex)
{
    PrepareLevel(root);
    AddItems(root, startIndex);
    SizeLevel();
}

void TspSkinPopupWindow::CreateMenu2(TMenuItem* root, TMenuItem* root2, int startIndex)
{
    PrepareLevel(root);
    if (startIndex < root->Count())
        AddItems(root, startIndex);
    if (root2)
        AddItems(root2, std::max(startIndex - root->Count(), 0));
    SizeLevel();
}

int TspSkinPopupWindow::ItemHeight(const TMenuItem* item) const
{
    if (SkinRecord)
        return item->IsLine() ? RectHeight(ItemData->DividerRect) : RectHeight(ItemSkinRect);
    return item->IsLine() ? 4 : FSkinMenu->DefaultMenuItemHeight;
}

void TspSkinPopupWindow::SizeLevel()
{
    FirstVisibleIndex = 0;
    Scroll = false;
    Limited = false;
    // Widths are measured with the level's font on a scratch canvas, so the window needs no handle yet. The
    // canvas is made only for a caption whose width is not kept yet: a menu opened again measures nothing.
    std::unique_ptr<TBitmap> scratch;
    // One text and one measuring function serve every item: the level is sized on every opening.
    std::string text;
    const std::function<int()> measure = [&] {
        if (!scratch) {
            scratch = std::make_unique<TBitmap>();
            scratch->SetSize(1, 1);
            scratch->Canvas()->Font()->Assign(FLevelFont.get());
        }
        TRect r(0, 0, 0, 0);
        SPDrawSkinText(scratch->Canvas(), text, r, DT_CALCRECT);
        return RectWidth(r) + 2;
    };
    // The level look holds the measuring font, so a width found again is the width measured now.
    TMenuItem* menuItem = nullptr;
    const std::function<int()> itemWidth = [&] {
        text.assign(menuItem->Caption());
        if (menuItem->ShortCut() != scNone)
            text.append("  ").append(ShortCutToText(menuItem->ShortCut()));
        return FSkinMenu->Looks()->TextWidth(LevelLook, text, measure);
    };
    int textWidth = 0;
    for (const auto& item : ItemList) {
        menuItem = item->MenuItem;
        textWidth = std::max(textWidth, FSkinMenu->Looks()->ItemTextWidth(menuItem, LevelLook, itemWidth));
    }
    int width = textWidth + GlyphWidth + 16;
    int frameHeight = 6;
    if (SkinRecord) {
        width += ItemData->TextRect.Left + (RectWidth(ItemSkinRect) - ItemData->TextRect.Right)
            + (WindowPicture->Width() - RectWidth(SkinRecord->ItemsRect));
        frameHeight = WindowPicture->Height() - RectHeight(SkinRecord->ItemsRect);
    } else {
        width += 10;
    }
    int height = 0;
    const int maxItems = FSkinMenu->MaxMenuItemsInWindow;
    if (maxItems > 0 && static_cast<int>(ItemList.size()) > maxItems) {
        const int itemHeight = SkinRecord ? RectHeight(ItemSkinRect) : FSkinMenu->DefaultMenuItemHeight;
        height = itemHeight * maxItems + frameHeight + 20;
        Scroll = true;
        Limited = true;
    } else {
        for (const auto& item : ItemList)
            height += ItemHeight(item->MenuItem);
        height += frameHeight;
    }
    const int workHeight = RectHeight(FSkinMenu->WorkArea);
    if (height > workHeight) {
        height = workHeight;
        Scroll = true;
    }
    SetBounds(Left(), Top(), width, height);
    if (SkinRecord) {
        const int dx = width - WindowPicture->Width();
        const int dy = height - WindowPicture->Height();
        NewLTPoint = SkinRecord->LeftTopPoint;
        NewRTPoint = TPoint { SkinRecord->RightTopPoint.X + dx, SkinRecord->RightTopPoint.Y };
        NewLBPoint = TPoint { SkinRecord->LeftBottomPoint.X, SkinRecord->LeftBottomPoint.Y + dy };
        NewRBPoint = TPoint { SkinRecord->RightBottomPoint.X + dx, SkinRecord->RightBottomPoint.Y + dy };
        const TRect& items = SkinRecord->ItemsRect;
        NewItemsRect = TRect(items.Left, items.Top, items.Right + dx, items.Bottom + dy);
    } else {
        NewItemsRect = TRect(3, 3, width - 3, height - 3);
    }
    CalcItemRects();
    if (MaskPicture)
        SetMenuWindowRegion();
}

void TspSkinPopupWindow::CalcItemRects()
{
    int y = NewItemsRect.Top + (Scroll ? 10 : 0);
    const int bottom = NewItemsRect.Bottom - (Scroll ? 10 : 0);
    VisibleCount = 0;
    for (int i = FirstVisibleIndex; i < static_cast<int>(ItemList.size()); ++i) {
        TspSkinMenuItem* item = ItemList[size_t(i)].get();
        const int height = ItemHeight(item->MenuItem);
        item->ObjectRect = TRect(NewItemsRect.Left, y, NewItemsRect.Right, y + height);
        y += height;
        if (y > bottom)
            break;
        item->Visible = true;
        ++VisibleCount;
    }
    if (!Scroll)
        return;
    for (int i = 0; i < static_cast<int>(ItemList.size()); ++i)
        if (i < FirstVisibleIndex || i >= FirstVisibleIndex + VisibleCount)
            ItemList[size_t(i)]->Visible = false;
}

void TspSkinPopupWindow::SetMenuWindowRegion()
{
    // The region follows from the mask's pixels, the record's points and the size alone, so a level like the
    // last one takes a copy of its region instead of tracing the mask again.
    TspLookKey key;
    key.AddPixels(MaskPicture, TRect(0, 0, MaskPicture->Width(), MaskPicture->Height()));
    for (const TPoint& p : { SkinRecord->LeftTopPoint, SkinRecord->RightTopPoint, SkinRecord->LeftBottomPoint,
             SkinRecord->RightBottomPoint, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint })
        key.AddInt(p.X).AddInt(p.Y);
    key.AddRect(SkinRecord->ItemsRect).AddRect(NewItemsRect).AddInt(Width()).AddInt(Height());
    HRGN region = FSkinMenu->Looks()->Region(key.Bytes(), [&] {
        HRGN made = nullptr;
        CreateSkinRegion(made, SkinRecord->LeftTopPoint, SkinRecord->RightTopPoint, SkinRecord->LeftBottomPoint,
            SkinRecord->RightBottomPoint, SkinRecord->ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
            NewItemsRect, MaskPicture, Width(), Height());
        return made;
    });
    // The window owns the region from here on.
    SetWindowRgn(Handle(), region, TRUE);
}

// ---- Placing and showing ----------------------------------------------------------------------------------------

void TspSkinPopupWindow::Place(const TRect& r, bool asSubMenu, bool popupUp, int& x, int& y) const
{
    const TRect& wa = FSkinMenu->WorkArea;
    const int w = Width();
    const int h = Height();
    const int t = NewItemsRect.Top;
    const int middle = wa.Top + RectHeight(wa) / 2;
    bool moved = false;
    if (Scroll && !Limited) {
        y = wa.Top;
    } else if (asSubMenu) {
        if (r.Top + h - t <= wa.Bottom)
            y = r.Top - t;
        else if (r.Top < middle)
            y = wa.Bottom - h;
        else
            y = std::max(r.Bottom - h + t, wa.Top);
    } else if (popupUp) {
        if (r.Top - h >= wa.Top) {
            y = r.Top - h;
        } else if (r.Top < middle) {
            if (r.Bottom + h <= wa.Bottom) {
                y = r.Bottom;
            } else {
                y = wa.Bottom - h;
                moved = true;
            }
        } else {
            y = wa.Top;
            moved = true;
        }
    } else if (r.Bottom + h <= wa.Bottom) {
        y = r.Bottom;
    } else if (r.Top < middle) {
        y = wa.Bottom - h;
        moved = true;
    } else if (r.Top - h >= wa.Top) {
        y = r.Top - h;
    } else {
        y = wa.Top;
        moved = true;
    }
    if (asSubMenu || (Scroll && !Limited) || moved)
        x = r.Right + 1 + w <= wa.Right ? r.Right + 1 : r.Left - w - 1;
    else if (r.Left + w > wa.Right)
        x = wa.Right - w;
    else if (r.Left < wa.Left)
        x = wa.Left;
    else
        x = r.Left;
}

bool TspSkinPopupWindow::EmulatedAlpha() const
{
    return AlphaBlend && !CheckW2KWXP();
}

void TspSkinPopupWindow::Show(const TRect& rect, TMenuItem* root, int startIndex, bool asSubMenu, bool popupUp)
{
    if (CheckW2KWXP() && FSkinMenu->AlphaBlend && FSkinMenu->AlphaBlendAnimation && FSkinMenu->First && Application)
        Application->ProcessMessages();
    CreateMenu(root, startIndex);
    Place(rect, asSubMenu, popupUp, ShowPoint.X, ShowPoint.Y);
    FinishShow();
}

void TspSkinPopupWindow::Show2(
    const TRect& rect, TMenuItem* root, TMenuItem* root2, int startIndex, bool asSubMenu, bool popupUp)
{
    if (CheckW2KWXP() && FSkinMenu->AlphaBlend && FSkinMenu->AlphaBlendAnimation && FSkinMenu->First && Application)
        Application->ProcessMessages();
    CreateMenu2(root, root2, startIndex);
    Place(rect, asSubMenu, popupUp, ShowPoint.X, ShowPoint.Y);
    FinishShow();
}

void TspSkinPopupWindow::FinishShow()
{
    SetBounds(ShowPoint.X, ShowPoint.Y, Width(), Height());
    if (EmulatedAlpha()) {
        // Translucency without layered windows mixes with a snapshot of the screen, taken once whatever opened
        // the menu has had time to repaint.
        WaitTimer->SetEnabled(true);
        return;
    }
    // The first item is highlighted while the level is still hidden, so the paint that shows the level draws
    // it highlighted once instead of drawing it at rest and again highlighted.
    ActivateFirstItem();
    ShowAt(ShowPoint.X, ShowPoint.Y);
    MouseTimer->SetEnabled(true);
}

void TspSkinPopupWindow::ShowAt(int x, int y)
{
    if (SkinRecord && SkinRecord->CursorIndex != -1)
        SetCursor(static_cast<TCursor>(Skin->StartCursorIndex + SkinRecord->CursorIndex));
    const bool fade = CheckW2KWXP() && AlphaBlend && AlphaBlendAnimation && FSkinMenu->First;
    if (CheckW2KWXP() && AlphaBlend) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(Handle(), fade ? 0 : AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (!fade)
        return;
    // The fade-in neither sleeps nor handles messages: ten steps of opacity, each at least 6 ms apart.
    int level = 0;
    uint64_t last = 0;
    while (level < AlphaBlendValue) {
        const uint64_t now = GetTickCount64();
        if (now - last > 5) {
            last = now;
            level = std::min(level + 10, int(AlphaBlendValue));
            SetAlphaBlendTransparent(Handle(), level);
        }
    }
}

void TspSkinPopupWindow::ActivateFirstItem()
{
    ActiveItem = -1;
    for (int i = 0; i < static_cast<int>(ItemList.size()); ++i) {
        if (!Selectable(i))
            continue;
        ActiveItem = i;
        ItemList[size_t(i)]->Waiting = true;
        ItemList[size_t(i)]->MouseEnter(true);
        return;
    }
}

void TspSkinPopupWindow::WTProc(TObject*)
{
    WaitTimer->SetEnabled(false);
    Snapshot = std::make_unique<TBitmap>();
    Snapshot->SetPixelFormat(pf24bit);
    Snapshot->SetSize(Width() + 1, Height() + 1);
    GetScreenImage(ShowPoint.X, ShowPoint.Y, Snapshot.get());
    SnapshotEffect = std::make_unique<TspEffectBmp>(Snapshot->Handle());
    FBackground.reset();
    FComposed.reset();
    FComposedValid = false;
    FComposedBackground.clear();
    FComposedItems.clear();
    ShowAt(ShowPoint.X, ShowPoint.Y);
    MouseTimer->SetEnabled(true);
    if (!ItemList.empty()) {
        ActiveItem = 0;
        ItemList[0]->MouseEnter(true);
    }
}

void TspSkinPopupWindow::Hide()
{
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    WaitTimer->SetEnabled(false);
    if (HandleAllocated()) {
        KillTimer(Handle(), 1);
        SetWindowPos(
            Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FVisible = false;
}

bool TspSkinPopupWindow::Showing() const
{
    return HandleAllocated() && IsWindowVisible(const_cast<TspSkinPopupWindow*>(this)->Handle());
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TspSkinPopupWindow::CreateRealImage(TBitmap* target)
{
    const int w = Width();
    const int h = Height();
    target->SetSize(w, h);
    TCanvas* canvas = target->Canvas();
    if (SkinRecord) {
        // The frame may leave parts undrawn, which show white as in a new image even when the image is one kept
        // from an earlier level.
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(0, 0, w, h));
        CreateSkinImageBS(SkinRecord->LeftTopPoint, SkinRecord->RightTopPoint, SkinRecord->LeftBottomPoint,
            SkinRecord->RightBottomPoint, SkinRecord->ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
            NewItemsRect, target, WindowPicture, TRect(0, 0, WindowPicture->Width(), WindowPicture->Height()), w, h,
            Scroll, SkinRecord->LeftStretch, SkinRecord->TopStretch, SkinRecord->RightStretch,
            SkinRecord->BottomStretch, SkinRecord->StretchEffect, SkinRecord->StretchType);
    } else {
        const int strip = ImgL ? GlyphWidth + 3 : 22;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(TRect(0, 0, strip, h));
        canvas->Brush()->SetColor(clWindow);
        canvas->FillRect(TRect(strip, 0, w, h));
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(TRect(0, 0, w, h));
        canvas->Brush()->SetColor(clWindow);
        canvas->FrameRect(TRect(1, 1, w - 1, h - 1));
    }
    if (EmulatedAlpha() && SnapshotEffect) {
        TspEffectBmp image(target->Handle());
        image.MorphRect(SnapshotEffect.get(), 1.0 - AlphaBlendValue / 255.0, TRect(0, 0, w, h), 0, 0);
        image.Draw(canvas->Handle(), 0, 0);
    }
}

std::string TspSkinPopupWindow::BackgroundKey() const
{
    // The default look's items cover the items rectangle of a level that does not scroll, so its background
    // never changes under them; a skin frame, scroll markers and a mix with the screen are made anew each time.
    if (SkinRecord || Scroll || EmulatedAlpha())
        return {};
    TspLookKey key;
    key.AddInt(Width()).AddInt(Height()).AddInt(ImgL ? GlyphWidth + 3 : 22);
    for (TColor color : { clBtnFace, clWindow, clBtnShadow })
        key.AddColor(color);
    return std::move(key).Take();
}

void TspSkinPopupWindow::ComposeMenu()
{
    // The composed window image is kept while the level is open and only made again after scrolling or a marker
    // change; item redraws keep it current. The first time it is the image of a closed level of the same size
    // when there is one: its background stays when it has the same key, and so does each item whose rectangle
    // already shows the same kept look. The background is kept apart only once a level scrolls (the one case
    // that composes again).
    if (!FComposedValid) {
        std::vector<TspKeptLevelImage::TItem> shown;
        if (!FComposed) {
            TspKeptLevelImage kept = FSkinMenu->TakeLevelImage(Width(), Height());
            FComposed = std::move(kept.Image);
            FComposedBackground = BackgroundKey();
            if (!FComposedBackground.empty() && kept.Background == FComposedBackground)
                shown = std::move(kept.Items);
            else
                CreateRealImage(FComposed.get());
        } else {
            if (!FBackground) {
                FBackground = std::make_unique<TBitmap>();
                CreateRealImage(FBackground.get());
            }
            FComposed->SetSize(FBackground->Width(), FBackground->Height());
            BitBlt(FComposed->Canvas()->Handle(), 0, 0, FComposed->Width(), FComposed->Height(),
                FBackground->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        // What the image shows at each item's place, kept where it is the item's look; the looks are compared
        // in place, as copying each one costs atomic counts.
        FComposedItems = std::move(shown);
        FComposedItems.resize(ItemList.size());
        const int end = std::min(FirstVisibleIndex + VisibleCount, static_cast<int>(ItemList.size()));
        for (int i = 0; i < static_cast<int>(ItemList.size()); ++i) {
            TspSkinMenuItem* item = ItemList[size_t(i)].get();
            if (i < FirstVisibleIndex || i >= end)
                FComposedItems[size_t(i)] = {};
            else if (!item->ShowsRestingLook(FComposedItems[size_t(i)]))
                DrawComposedItem(item);
        }
        TCanvas* canvas = FComposed->Canvas();
        if (Scroll) {
            DrawUpMarker(canvas);
            DrawDownMarker(canvas);
        }
        FComposedValid = true;
    }
}

void TspSkinPopupWindow::PaintMenu(HDC dc)
{
    ComposeMenu();
    BitBlt(dc, 0, 0, FComposed->Width(), FComposed->Height(), FComposed->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TspSkinPopupWindow::CopyComposedToWindow(HDC dc)
{
    // Only a DC of the level's own window that draws where the window is, as a paint or an erase gives it: the
    // window layer then clips the copy as that DC would.
    if (WindowFromDC(dc) != Handle())
        return false;
    POINT viewport {};
    POINT window {};
    if (!GetViewportOrgEx(dc, &viewport) || !GetWindowOrgEx(dc, &window) || viewport.x || viewport.y || window.x
        || window.y)
        return false;
    const int w = FComposed->Width();
    const int h = FComposed->Height();
    if (w <= 0 || h <= 0 || (FComposed->PixelFormat() != pfDevice && FComposed->PixelFormat() != pf32bit))
        return false;
    const auto* top = static_cast<const char*>(FComposed->ScanLine(0));
    const ptrdiff_t stride = h > 1 ? static_cast<const char*>(FComposed->ScanLine(1)) - top : ptrdiff_t(w) * 4;
    return CopyToWindow(Handle(), true, RECT { 0, 0, w, h }, reinterpret_cast<const uint32_t*>(top), stride);
}

void TspSkinPopupWindow::DrawComposedItem(TspSkinMenuItem* item)
{
    item->Draw(FComposed->Canvas());
    for (size_t i = 0; i < ItemList.size(); ++i)
        if (ItemList[i].get() == item && i < FComposedItems.size())
            FComposedItems[i] = item->LastDrawn();
}

TRect TspSkinPopupWindow::UpMarkerRect() const
{
    if (SkinRecord)
        return TRect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10);
    return TRect(3, 3, Width() - 3, 13);
}

TRect TspSkinPopupWindow::DownMarkerRect() const
{
    if (SkinRecord)
        return TRect(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
    return TRect(3, Height() - 10, Width() - 3, Height() - 3);
}

void TspSkinPopupWindow::DrawUpMarker(TCanvas* canvas)
{
    TColor color;
    if (SkinRecord)
        color = ScrollCode == 1 ? SkinRecord->ScrollMarkerActiveColor : SkinRecord->ScrollMarkerColor;
    else
        color = ScrollCode == 1 ? clBtnText : clBtnShadow;
    DrawArrowImage(canvas, UpMarkerRect(), color, 3);
}

void TspSkinPopupWindow::DrawDownMarker(TCanvas* canvas)
{
    TColor color;
    if (SkinRecord)
        color = ScrollCode == 2 ? SkinRecord->ScrollMarkerActiveColor : SkinRecord->ScrollMarkerColor;
    else
        color = ScrollCode == 2 ? clBtnText : clBtnShadow;
    DrawArrowImage(canvas, DownMarkerRect(), color, 4);
}

void TspSkinPopupWindow::RepaintNow()
{
    FComposedValid = false;
    if (!Showing())
        return;
    HDC dc = GetDC(Handle());
    PaintMenu(dc);
    ReleaseDC(Handle(), dc);
}

void TspSkinPopupWindow::DrawItemNow(TspSkinMenuItem* item)
{
    if (FComposedValid)
        DrawComposedItem(item);
    if (!Showing())
        return;
    HDC dc = GetDC(Handle());
    if (FComposedValid) {
        const TRect& r = item->ObjectRect;
        BitBlt(dc, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, FComposed->Canvas()->Handle(), r.Left, r.Top,
            SRCCOPY);
    } else {
        TCanvas canvas;
        canvas.SetHandle(dc);
        item->Draw(&canvas);
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(Handle(), dc);
}

TRect TspSkinPopupWindow::ItemScreenRect(const TspSkinMenuItem* item) const
{
    TRect r = item->ObjectRect;
    r.Left += Left();
    r.Right += Left();
    r.Top += Top();
    r.Bottom += Top();
    return r;
}

void TspSkinPopupWindow::Paint()
{
    // WM_ERASEBKGND has painted the whole window in this cycle unless the update came without erasing.
    if (!FErased)
        PaintMenu(Canvas()->Handle());
    FErased = false;
}

void TspSkinPopupWindow::WMEraseBkGrnd(TMessage& message)
{
    // The erase paints the level's whole image through a DC clipped to the update region, so every pixel that
    // waited for a paint has it. Within a paint the paint then skips its drawing; an erase of its own (showing
    // the level, a redraw) leaves nothing to paint, and the level is valid again without a paint message.
    // The window layer copies the image itself where it can: it then knows that the copy covers the new window,
    // whose buffer needs no filling first.
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    ComposeMenu();
    if (!CopyComposedToWindow(dc))
        BitBlt(dc, 0, 0, FComposed->Width(), FComposed->Height(), FComposed->Canvas()->Handle(), 0, 0, SRCCOPY);
    if (FInPaint)
        FErased = true;
    else
        ValidateRect(Handle(), nullptr);
    message.Result = 1;
}

void TspSkinPopupWindow::WMMouseActivate(TMessage& message)
{
    message.Result = MA_NOACTIVATE;
}

void TspSkinPopupWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        WMEraseBkGrnd(message);
        break;
    case WM_PAINT:
        FInPaint = true;
        inherited::WndProc(message);
        FInPaint = false;
        break;
    case WM_MOUSEACTIVATE:
        WMMouseActivate(message);
        break;
    case WM_TIMER:
        inherited::WndProc(message);
        WMTimer(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}
