#include "skin/forms/SkinMainMenuItemObject.h"

#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinMainMenuBar.h"

using namespace SPUtils;

TspSkinMainMenuItem::TspSkinMainMenuItem(TspSkinObjectHost* form, TspDataSkinObject* data, TMenuItem* menuItem)
    : inherited(form, data)
    , MenuItem(menuItem)
{
    if (menuItem) {
        IDName = menuItem->Name();
        Enabled = menuItem->Enabled();
    }
    auto* record = dynamic_cast<TspDataSkinMainMenuItem*>(data);
    if (!record)
        return;
    FontName = record->FontName;
    FontHeight = record->FontHeight;
    FontStyle = record->FontStyle;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    DownFontColor = record->DownFontColor;
    UnEnabledFontColor = record->UnEnabledFontColor;
    TextRect = record->TextRect;
    DownRect = !IsNullRect(record->DownRect) ? record->DownRect
        : !IsNullRect(ActiveSkinRect)         ? ActiveSkinRect
                                              : SkinRect;
    ItemLeftOffset = record->ItemLeftOffset;
    ItemRightOffset = record->ItemRightOffset;
    // Without a hot picture there is nothing to blend into.
    if (IsNullRect(ActiveSkinRect))
        Morphing = false;
}

std::string TspSkinMainMenuItem::Caption() const
{
    return MenuItem ? MenuItem->Caption() : std::string();
}

// ---- Layout and looks -------------------------------------------------------------------------------------------

bool TspSkinMainMenuItem::Layout(bool standalone)
{
    if (IsNullRect(SkinRect) || IsNullRect(TextRect))
        return false;
    const TRect menuRect = FParent->MainMenuRect();
    // The item follows the nearest main-menu item before it in the form's list.
    int left = 0;
    for (int i = 0; i < FParent->ObjectCount() && FParent->ObjectAt(i) != this; ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(FParent->ObjectAt(i)))
            left = item->ObjectRect.Right;
    if (left == 0)
        left = menuRect.Left;
    TBitmap measure;
    SetItemFont(measure.Canvas(), FontColor);
    const int width = RectWidth(SkinRect) - RectWidth(TextRect) + measure.Canvas()->TextWidth(Caption()) + 2;
    TRect r = Rect(left, menuRect.Top, left + width, menuRect.Top + RectHeight(SkinRect));
    LayoutRect = TRect();
    const TRect client = FParent->SkinClientRect();
    if (FParent->SupportNCArea() && !standalone && r.Top >= client.Bottom) {
        // A full repaint draws the strip below the client area into an image of its own.
        LayoutRect = r;
        r.Top -= client.Bottom;
        r.Bottom -= client.Bottom;
    }
    ObjectRect = r;
    const bool fits = r.Right <= menuRect.Right;
    if (!fits && Shown) {
        SavedEnabled = Enabled;
        Enabled = false;
        Shown = false;
    } else if (fits && !Shown) {
        Enabled = SavedEnabled;
        Shown = true;
    }
    return Shown;
}

void TspSkinMainMenuItem::SetItemFont(TCanvas* canvas, TColor color) const
{
    TFont* font = canvas->Font();
    font->SetName(FontName.empty() ? "Arial" : FontName);
    font->SetHeight(FontHeight);
    font->SetStyle(FontStyle);
    font->SetColor(color);
}

void TspSkinMainMenuItem::MakeImage(TBitmap& image, const TRect& source, TColor color) const
{
    image.SetPixelFormat(pf24bit);
    image.SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
    if (ActivePicture && !IsNullRect(source))
        CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &image, ActivePicture, source, image.Width(),
            image.Height(), false);
    TCanvas* canvas = image.Canvas();
    canvas->Brush()->SetStyle(bsClear);
    SetItemFont(canvas, color);
    const std::string caption = Caption();
    const int textWidth = canvas->TextWidth(caption);
    const int textHeight = canvas->TextHeight(caption);
    // The text area is the record's, narrowed to the caption.
    const TRect area = Rect(TextRect.Left, TextRect.Top, TextRect.Left + textWidth + 2, TextRect.Bottom);
    const int x = area.Left + RectWidth(area) / 2 - textWidth / 2;
    const int y = area.Top + RectHeight(area) / 2 - textHeight / 2;
    canvas->TextRect(area, x, y, caption);
}

TColor TspSkinMainMenuItem::TextColor(bool activeLook) const
{
    if (Down)
        return DownFontColor;
    if (activeLook)
        return ActiveFontColor;
    return !MenuItem || MenuItem->Enabled() ? FontColor : UnEnabledFontColor;
}

void TspSkinMainMenuItem::Draw(TCanvas* canvas, bool standalone)
{
    if (!Layout(standalone))
        return;
    TBitmap image;
    if (Down) {
        MakeImage(image, DownRect, TextColor(false));
    } else if (MorphRunning()) {
        MakeImage(image, SkinRect, TextColor(false));
        TBitmap activeImage;
        MakeImage(activeImage, ActiveSkinRect, TextColor(true));
        TspEffectBmp blend(image.Handle());
        const TspEffectBmp target(activeImage.Handle());
        MorphByKind(blend, target, MorphKind, FMorphKf);
        blend.Draw(image.Canvas()->Handle(), 0, 0);
    } else if (Active) {
        MakeImage(image, IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, TextColor(true));
    } else {
        MakeImage(image, SkinRect, TextColor(false));
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
    if (!IsNullRect(LayoutRect))
        ObjectRect = LayoutRect;
}

// ---- The mouse and the submenu ----------------------------------------------------------------------------------

TspSkinMainMenuItem* TspSkinMainMenuItem::SearchActive() const
{
    for (int i = 0; i < FParent->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(FParent->ObjectAt(i));
            item && item != this && item->IDName != IDName && item->Active)
            return item;
    return nullptr;
}

TspSkinMainMenuItem* TspSkinMainMenuItem::SearchDown() const
{
    for (int i = 0; i < FParent->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(FParent->ObjectAt(i));
            item && item != this && item->IDName != IDName && item->Down)
            return item;
    return nullptr;
}

void TspSkinMainMenuItem::MouseEnter()
{
    if (TspSkinMainMenuItem* down = SearchDown()) {
        // The open submenu moves to this item.
        down->SetDown(false);
        MouseOver = true;
        Active = true;
        if (EnableMorphing())
            FMorphKf = 1;
        SetDown(true);
        return;
    }
    if (TspSkinMainMenuItem* active = SearchActive())
        active->MouseLeave();
    MouseOver = true;
    Active = true;
    Redraw();
}

void TspSkinMainMenuItem::MouseLeave()
{
    Active = false;
    MouseOver = false;
    if (EnableMorphing() && Down)
        FMorphKf = 0;
    Redraw();
    FParent->MouseLeaveEvent(IDName);
}

void TspSkinMainMenuItem::MouseDown(int x, int y, TMouseButton button)
{
    if (!Enabled)
        return;
    if (button == mbLeft && MenuItem) {
        if (MenuItem->Count() > 0) {
            SetDown(true);
        } else {
            SetDown(false);
            FParent->MainMenuItemClicked();
            // The command may rebuild the form's main menu and free this item: nothing of it is used after.
            TspSkinObjectHost* form = FParent;
            const std::string idName = IDName;
            const TRect rect = ObjectRect;
            if (TMenu* menu = MenuItem->GetParentMenu())
                menu->DispatchCommand(MenuItem->Command());
            form->MouseDownEvent(idName, x, y, rect, button);
            return;
        }
    }
    inherited::MouseDown(x, y, button);
}

void TspSkinMainMenuItem::SetDown(bool value)
{
    if (value) {
        Down = true;
        FParent->DrawSkinObject(this);
        TrackMenu();
        FParent->MainMenuEntered();
        return;
    }
    Down = false;
    Active = false;
    if (EnableMorphing())
        FMorphKf = 1;
    Redraw();
}

void TspSkinMainMenuItem::TrackMenu()
{
    if (!MenuItem)
        return;
    // A main menu with a skin of its own opens its submenus in that skin.
    auto* ownMenu = dynamic_cast<TspSkinMainMenu*>(MenuItem->GetParentMenu());
    TspSkinData* skin = ownMenu ? ownMenu->SkinData() : nullptr;
    const TspSkinData* formSkin = FParent->SkinData();
    const bool upward = skin ? skin->MainMenuPopupUp : formSkin && formSkin->MainMenuPopupUp;
    FParent->PopupObjectMenu(this, MenuItem, upward, skin);
}
