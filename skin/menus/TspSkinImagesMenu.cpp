#include "skin/menus/TspSkinImagesMenu.h"

#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinHint.h"

#include <algorithm>

using namespace SPUtils;

namespace {

constexpr TColor HotFillColor = 0xD2BDB6; // RGB(182, 189, 210)
constexpr TColor DownFillColor = 0xB59385; // RGB(133, 147, 181)

// The skin's button record for highlighted cells: "menuitembutton", else "resizebutton".
TspDataSkinButtonControl* ButtonRecord(TspSkinData* skin)
{
    if (!skin || skin->Empty)
        return nullptr;
    for (const char* name : { "menuitembutton", "resizebutton" }) {
        const int index = skin->GetControlIndex(name);
        if (index >= 0)
            if (auto* record = dynamic_cast<TspDataSkinButtonControl*>(skin->ControlRecords[size_t(index)].get()))
                return record;
    }
    return nullptr;
}

TspDataSkinMenuItem* MenuItemRecord(TspSkinData* skin)
{
    if (!skin || skin->Empty)
        return nullptr;
    for (const char* name : { "menuitem", "MENUITEM" }) {
        const int index = skin->GetIndex(name);
        if (index >= 0)
            if (auto* record = dynamic_cast<TspDataSkinMenuItem*>(skin->ObjectRecords[size_t(index)].get()))
                return record;
    }
    return nullptr;
}

// The application hook of one grid window, recognisable by its type.
struct TImagesMenuHook {
    TspSkinImagesMenuPopupWindow* Window;
    void operator()(MSG& message, bool& handled) const { Window->NewAppMessage(message, handled); }
};

} // namespace

// ---- Items ------------------------------------------------------------------------------------------------------

TspImagesMenuItem::TspImagesMenuItem(TCollection* collection)
    : TCollectionItem(collection)
{
}

void TspImagesMenuItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TspImagesMenuItem*>(source)) {
        SetImageIndex(item->ImageIndex());
        SetCaption(item->Caption());
        Button = item->Button;
        Hint = item->Hint;
        return;
    }
    inherited::Assign(source);
}

TspImagesMenuItems::TspImagesMenuItems(TspSkinImagesMenu* menu)
    : TCollection(CollectionItemClass<TspImagesMenuItem>())
    , FMenu(menu)
{
}

TPersistent* TspImagesMenuItems::GetOwner() const
{
    return FMenu;
}

// ---- The menu ---------------------------------------------------------------------------------------------------

TspSkinImagesMenu::TspSkinImagesMenu(TComponent* owner)
    : TComponent(owner)
    , FImagesItems(std::make_unique<TspImagesMenuItems>(this))
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle({});
}

TspSkinImagesMenu::~TspSkinImagesMenu()
{
    if (FPopupWindow)
        FPopupWindow->UnHookApp();
    FPopupWindow.reset();
    FClosedWindow.reset();
}

void TspSkinImagesMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        FImages = nullptr;
    if (component == FSkinData)
        FSkinData = nullptr;
    if (component == static_cast<TComponent*>(FSkinHint))
        FSkinHint = nullptr;
}

void TspSkinImagesMenu::SetImages(TCustomImageList* value)
{
    FImages = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinImagesMenu::SetImagesItems(TspImagesMenuItems* value)
{
    FImagesItems->Assign(value);
}

void TspSkinImagesMenu::SetColumnsCount(int value)
{
    if (value >= 1 && value <= 50)
        FColumnsCount = value;
}

void TspSkinImagesMenu::SetSkinData(TspSkinData* value)
{
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinHint(TspSkinHint* value)
{
    FSkinHint = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinImagesMenu::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
}

TspImagesMenuItem* TspSkinImagesMenu::GetSelectedItem() const
{
    if (ItemIndex < 0 || ItemIndex >= FImagesItems->Count())
        return nullptr;
    return FImagesItems->Items(ItemIndex);
}

bool TspSkinImagesMenu::GetSelectedItem(int& imageIndex, std::string& caption) const
{
    const TspImagesMenuItem* item = GetSelectedItem();
    if (!item)
        return false;
    imageIndex = item->ImageIndex();
    caption = item->Caption();
    return true;
}

void TspSkinImagesMenu::PopupFromRect(const TRect& rect)
{
    if (FPopupWindow)
        FPopupWindow->Hide(false);
    FClosedWindow.reset();
    if (OnMenuPopup)
        OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0)
        return;
    FOpeningIndex = ItemIndex;
    FPopupWindow = std::make_unique<TspSkinImagesMenuPopupWindow>(nullptr, this);
    FPopupWindow->Show(rect);
}

void TspSkinImagesMenu::Popup(int x, int y)
{
    PopupFromRect(TRect(x, y, x, y));
}

void TspSkinImagesMenu::Hide()
{
    if (FPopupWindow)
        FPopupWindow->Hide(false);
}

void TspSkinImagesMenu::ProcessEvents(bool chosen)
{
    // The window's own handler is still running: it is freed later, never here.
    FClosedWindow = std::move(FPopupWindow);
    if (FCloseReceiver)
        FCloseReceiver();
    if (OnMenuClose)
        OnMenuClose(this);
    if (!chosen || ItemIndex == -1)
        return;
    if (TspImagesMenuItem* item = GetSelectedItem(); item && item->OnClick)
        item->OnClick(this);
    if (OnItemClick)
        OnItemClick(this);
    if (ItemIndex != FOpeningIndex) {
        if (FChangeReceiver)
            FChangeReceiver();
        if (OnChange)
            OnChange(this);
    }
}

// ---- The window -------------------------------------------------------------------------------------------------

TspSkinImagesMenuPopupWindow::TspSkinImagesMenuPopupWindow(TComponent* owner, TspSkinImagesMenu* menu)
    : TCustomControl(owner)
    , FMenu(menu)
{
    // The window holds the capture itself for as long as it is open.
    FControlStyle.Exclude(csCaptureMouse);
    FVisible = false;
    TspSkinData* skin = menu->SkinData();
    if (skin && !skin->Empty && skin->PopupWindow && skin->PopupWindow->WindowPictureIndex != -1) {
        FWindowPicture = LoadedSkinPictureAt(skin, skin->PopupWindow->WindowPictureIndex);
        if (FWindowPicture) {
            SkinLook = true;
            FRecord = skin->PopupWindow.get();
            FMaskPicture = LoadedSkinPictureAt(skin, FRecord->MaskPictureIndex);
        }
    }
}

TspSkinImagesMenuPopupWindow::~TspSkinImagesMenuPopupWindow()
{
    UnHookApp();
}

void TspSkinImagesMenuPopupWindow::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

void TspSkinImagesMenuPopupWindow::AssignItemRects()
{
    TCustomImageList* images = FMenu->Images();
    const int cw = images->Width() + 10;
    const int ch = images->Height() + 10;
    const int tw = FMenu->ColumnsCount() * cw;
    const int left0 = SkinLook ? FRecord->ItemsRect.Left : 5;
    const int top0 = SkinLook ? FRecord->ItemsRect.Top : 5;
    int x = left0;
    int y = top0;
    TspImagesMenuItems* items = FMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i) {
        TspImagesMenuItem* item = items->Items(i);
        if (item->Button) {
            if (x != left0)
                y += ch + 1;
            item->ItemRect = TRect(left0, y, left0 + tw, y + ch);
            y += ch + 1;
            continue;
        }
        item->ItemRect = TRect(x, y, x + cw, y + ch);
        x += cw;
        if (x + cw > left0 + tw) {
            x = left0;
            y += ch + 1;
        }
    }
}

void TspSkinImagesMenuPopupWindow::CreateMenu()
{
    AssignItemRects();
    TspImagesMenuItems* items = FMenu->ImagesItems();
    const int tw = FMenu->ColumnsCount() * (FMenu->Images()->Width() + 10);
    TRect area(0, 0, 0, 0);
    if (items->Count() > 0) {
        const TRect& first = items->Items(0)->ItemRect;
        area = TRect(first.Left, first.Top, first.Left + tw, items->Items(items->Count() - 1)->ItemRect.Bottom);
    }
    if (!SkinLook) {
        SetBounds(Left(), Top(), tw + 10, RectHeight(area) + 10);
        NewItemsRect = TRect(5, 5, 5 + tw, 5 + RectHeight(area));
        return;
    }
    const int pw = FWindowPicture->Width();
    const int ph = FWindowPicture->Height();
    const int w = pw + tw - RectWidth(FRecord->ItemsRect);
    const int h = ph + RectHeight(area) - RectHeight(FRecord->ItemsRect);
    SetBounds(Left(), Top(), w, h);
    NewLTPoint = FRecord->LeftTopPoint;
    NewRTPoint = TPoint { FRecord->RightTopPoint.X + w - pw, FRecord->RightTopPoint.Y };
    NewLBPoint = TPoint { FRecord->LeftBottomPoint.X, FRecord->LeftBottomPoint.Y + h - ph };
    NewRBPoint = TPoint { FRecord->RightBottomPoint.X + w - pw, FRecord->RightBottomPoint.Y + h - ph };
    const TRect& items0 = FRecord->ItemsRect;
    NewItemsRect = TRect(items0.Left, items0.Top, items0.Right + w - pw, items0.Bottom + h - ph);
    if (FMaskPicture) {
        HRGN region = nullptr;
        CreateSkinRegion(region, FRecord->LeftTopPoint, FRecord->RightTopPoint, FRecord->LeftBottomPoint,
            FRecord->RightBottomPoint, FRecord->ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
            FMaskPicture, w, h);
        SetWindowRgn(Handle(), region, TRUE);
    }
}

TRect TspSkinImagesMenuPopupWindow::GetItemRect(int index) const
{
    return FMenu->ImagesItems()->Items(index)->ItemRect;
}

int TspSkinImagesMenuPopupWindow::GetItemFromPoint(TPoint p) const
{
    for (int i = 0; i < FMenu->ImagesItems()->Count(); ++i)
        if (PointInRect(GetItemRect(i), p))
            return i;
    return -1;
}

void TspSkinImagesMenuPopupWindow::Show(const TRect& r)
{
    CreateMenu();
    TRect wa;
    GetMonitorWorkArea(Handle(), true, wa);
    const int w = Width();
    const int h = Height();
    int x = r.Left;
    int y = r.Bottom;
    if (y + h > wa.Bottom)
        y = r.Top - h;
    if (x + w > wa.Right)
        x = wa.Right - w;
    x = std::max(x, wa.Left);
    y = std::max(y, wa.Top);
    SetBounds(x, y, w, h);
    const bool layered = CheckW2KWXP() && FMenu->AlphaBlend;
    const bool fade = layered && FMenu->AlphaBlendAnimation;
    if (layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(Handle(), fade ? 0 : FMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (fade) {
        if (Application)
            Application->ProcessMessages();
        int level = 0;
        uint64_t last = 0;
        while (level < FMenu->AlphaBlendValue) {
            const uint64_t now = GetTickCount64();
            if (now - last > 5) {
                last = now;
                level = std::min(level + 10, int(FMenu->AlphaBlendValue));
                SetAlphaBlendTransparent(Handle(), level);
            }
        }
    }
    HookApp();
    SetCapture(Handle());
}

void TspSkinImagesMenuPopupWindow::HideItemHint()
{
    if (FMenu->ShowHints && FMenu->SkinHint())
        FMenu->SkinHint()->HideHint();
}

void TspSkinImagesMenuPopupWindow::Hide(bool chosen)
{
    HideItemHint();
    if (HandleAllocated())
        SetWindowPos(
            Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FVisible = false;
    UnHookApp();
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
    FMenu->ProcessEvents(chosen);
}

void TspSkinImagesMenuPopupWindow::HookApp()
{
    // Saved once, given back only while the installed handler is this window's own.
    if (FHooked || !Application)
        return;
    FSavedAppMessage = Application->OnMessage;
    Application->OnMessage = TImagesMenuHook { this };
    FHooked = true;
}

void TspSkinImagesMenuPopupWindow::UnHookApp()
{
    if (!FHooked)
        return;
    FHooked = false;
    if (!Application)
        return;
    const auto* installed = Application->OnMessage.target<TImagesMenuHook>();
    if (installed && installed->Window == this)
        Application->OnMessage = std::move(FSavedAppMessage);
    FSavedAppMessage = nullptr;
}

void TspSkinImagesMenuPopupWindow::NewAppMessage(MSG& message, bool&)
{
    // What closes a form's open menu, less the left press, closes the grid too; so does any key, as the grid has
    // no keys of its own. It closes and the message goes on as usual.
    const UINT msg = message.message;
    const bool key
        = msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSCHAR;
    if (key || (msg != WM_LBUTTONDOWN && CanMenuClose(msg)))
        Hide(false);
}

void TspSkinImagesMenuPopupWindow::TestActive(int x, int y)
{
    const int hot = GetItemFromPoint(TPoint { x, y });
    if (hot == HotIndex)
        return;
    OldHotIndex = HotIndex;
    HotIndex = hot;
    Invalidate();
    if (!FMenu->ShowHints || !FMenu->SkinHint() || hot == -1)
        return;
    FMenu->SkinHint()->HideHint();
    const std::string& hint = FMenu->ImagesItems()->Items(hot)->Hint;
    if (!hint.empty())
        FMenu->SkinHint()->ActivateHint2(hint);
}

void TspSkinImagesMenuPopupWindow::MouseMove(TShiftState, int x, int y)
{
    TestActive(x, y);
}

void TspSkinImagesMenuPopupWindow::MouseDown(TMouseButton, TShiftState, int x, int y)
{
    HideItemHint();
    PressStarted = true;
    PressedOnItem = GetItemFromPoint(TPoint { x, y }) != -1;
    Invalidate();
}

void TspSkinImagesMenuPopupWindow::MouseUp(TMouseButton, TShiftState, int x, int y)
{
    if (!PressStarted) {
        // The release of the click that opened the grid: the capture stays with the grid.
        if (GetCapture() == Handle())
            ReleaseCapture();
        SetCapture(Handle());
        return;
    }
    const int item = GetItemFromPoint(TPoint { x, y });
    if (item != -1)
        FMenu->ItemIndex = item;
    Hide(item != -1);
}

void TspSkinImagesMenuPopupWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case CM_MOUSEENTER:
        return;
    case CM_MOUSELEAVE:
        HideItemHint();
        HotIndex = -1;
        OldHotIndex = -1;
        Invalidate();
        return;
    default:
        break;
    }
    inherited::WndProc(message);
    if (message.Msg != WM_LBUTTONDOWN && message.Msg != WM_LBUTTONDBLCLK)
        return;
    POINT cursor {};
    GetCursorPos(&cursor);
    if (FVisible || IsWindowVisible(Handle()))
        if (WindowFromPoint(cursor) != Handle())
            Hide(false);
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TspSkinImagesMenuPopupWindow::DrawActiveItem(TCanvas* canvas, const TRect& cell, bool down)
{
    TspSkinData* skin = FMenu->SkinData();
    TspDataSkinButtonControl* record = SkinLook ? ButtonRecord(skin) : nullptr;
    TBitmap* picture = record ? LoadedSkinPictureAt(skin, record->PictureIndex) : nullptr;
    if (!picture) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(down ? DownFillColor : HotFillColor);
        canvas->FillRect(cell);
        canvas->Brush()->SetColor(clNavy);
        canvas->FrameRect(cell);
        return;
    }
    TRect source = down && !IsNullRect(record->DownSkinRect) ? record->DownSkinRect : record->ActiveSkinRect;
    if (IsNullRect(source))
        source = record->SkinRect;
    const int w = RectWidth(cell);
    const int h = RectHeight(cell);
    const int dx = w - RectWidth(record->SkinRect);
    const int dy = h - RectHeight(record->SkinRect);
    const TPoint nRT { record->RightTopPoint.X + dx, record->RightTopPoint.Y };
    const TPoint nLB { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + dy };
    const TPoint nRB { record->RightBottomPoint.X + dx, record->RightBottomPoint.Y + dy };
    const TRect& c = record->ClientRect;
    const TRect nC(c.Left, c.Top, c.Right + dx, c.Bottom + dy);
    TBitmap image;
    CreateSkinImage(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint, record->RightBottomPoint,
        record->ClientRect, record->LeftTopPoint, nRT, nLB, nRB, nC, &image, picture, source, w, h, true,
        record->LeftStretch, record->TopStretch, record->RightStretch, record->BottomStretch, record->StretchEffect,
        record->StretchType);
    canvas->Draw(cell.Left, cell.Top, &image);
}

void TspSkinImagesMenuPopupWindow::DrawItemCaption(
    TCanvas* canvas, const std::string& text, TRect r, bool down, bool active)
{
    TspSkinData* skin = FMenu->SkinData();
    TspDataSkinButtonControl* record = SkinLook ? ButtonRecord(skin) : nullptr;
    TspDataSkinMenuItem* itemRecord = SkinLook ? MenuItemRecord(skin) : nullptr;
    TFont* font = canvas->Font();
    if (record && itemRecord) {
        if (FMenu->UseSkinFont) {
            font->SetName(record->FontName);
            font->SetHeight(record->FontHeight);
            font->SetStyle(record->FontStyle);
        } else {
            font->Assign(FMenu->DefaultFont());
        }
        font->SetCharset(
            skin->ResourceStrData() ? skin->ResourceStrData()->CharSet() : FMenu->DefaultFont()->Charset());
        font->SetColor(down ? record->DownFontColor : active ? record->ActiveFontColor : itemRecord->FontColor);
    } else {
        font->Assign(FMenu->DefaultFont());
        font->SetColor(clWindowText);
    }
    canvas->Brush()->SetStyle(bsClear);
    uint32_t flags = DT_SINGLELINE | DT_VCENTER;
    if (CalcTextWidthW(canvas, text) <= RectWidth(r))
        flags |= DT_CENTER;
    SPDrawSkinText(canvas, text, r, flags);
}

void TspSkinImagesMenuPopupWindow::Paint()
{
    const int w = Width();
    const int h = Height();
    TBitmap buffer;
    buffer.SetSize(w, h);
    TCanvas* c = buffer.Canvas();
    if (SkinLook) {
        CreateSkinImageBS(FRecord->LeftTopPoint, FRecord->RightTopPoint, FRecord->LeftBottomPoint,
            FRecord->RightBottomPoint, FRecord->ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
            &buffer, FWindowPicture, TRect(0, 0, FWindowPicture->Width(), FWindowPicture->Height()), w, h, true,
            FRecord->LeftStretch, FRecord->TopStretch, FRecord->RightStretch, FRecord->BottomStretch,
            FRecord->StretchEffect, FRecord->StretchType);
    } else {
        c->Pen()->SetColor(clBtnShadow);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWindow);
        c->Rectangle(0, 0, w, h);
    }
    TCustomImageList* images = FMenu->Images();
    TspImagesMenuItems* items = FMenu->ImagesItems();
    const bool pressing = PressStarted && PressedOnItem;
    for (int i = 0; i < items->Count(); ++i) {
        TspImagesMenuItem* item = items->Items(i);
        const TRect& cell = item->ItemRect;
        const bool selected = FMenu->ShowSelectedItem && i == FMenu->ItemIndex && !pressing;
        if (selected)
            DrawActiveItem(c, cell, true);
        else if (i == HotIndex)
            DrawActiveItem(c, cell, pressing);
        int textOffset = 0;
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
            images->Draw(c, cell.Left + 5, cell.Top + 5, item->ImageIndex(), true);
            textOffset = images->Width() + 5;
        }
        if (item->Button && !item->Caption().empty()) {
            TRect r = cell;
            r.Left += textOffset;
            const bool down = selected || (i == HotIndex && pressing);
            const bool active = i == HotIndex && !PressStarted;
            DrawItemCaption(c, item->Caption(), r, down, active && !down);
        }
    }
    BitBlt(Canvas()->Handle(), 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}
