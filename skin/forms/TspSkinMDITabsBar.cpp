// TspSkinMDITabsBar: tab layout, the skinned, button and default tab faces, hot tracking and dragging tabs to a
// new place.
#include "skin/forms/TspSkinMDITabsBar.h"

#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinMenu.h"

#include <algorithm>

using namespace SPUtils;

namespace {

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

// The first rectangle of `rects` that is not empty.
TRect FirstSet(std::initializer_list<TRect> rects)
{
    for (const TRect& r : rects)
        if (!IsNullRect(r))
            return r;
    return NullRect();
}

// Turns `face` upside down, for a bar whose tabs hang from its bottom edge.
void FlipFace(TBitmap* face)
{
    const TspEffectBmp source(face->Handle());
    TspEffectBmp flipped(face->Width(), face->Height());
    source.FlipVert(&flipped);
    flipped.Draw(face->Canvas()->Handle(), 0, 0);
}

} // namespace

// ---- One tab ----------------------------------------------------------------------------------------------------

void TspMDITab::DrawCaption(TCanvas* canvas, const TRect& textRect, bool skinFont, TColor color) const
{
    const TspDataSkinTabControl* record = TabBar->TabRecord();
    TFont* font = canvas->Font();
    if (skinFont && record && TabBar->UseSkinFont) {
        font->SetName(record->FontName);
        font->SetHeight(record->FontHeight);
        font->SetStyle(record->FontStyle);
    } else {
        font->Assign(TabBar->DefaultFont());
    }
    font->SetColor(color);
    std::string text = TabForm->Caption();
    CorrectTextbyWidthW(canvas, text, RectWidth(textRect));
    canvas->Brush()->SetStyle(bsClear);
    RECT r { textRect.Left, textRect.Top, textRect.Right, textRect.Bottom };
    DrawText(canvas->Handle(), text.c_str(), -1, &r,
        TabBar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

void TspMDITab::SkinFace(TBitmap* face, int width, bool stretch, TColor& textColor) const
{
    const TspDataSkinTabControl& r = *TabBar->TabRecord();
    TRect source = r.TabRect;
    textColor = r.FontColor;
    if (TabActive) {
        source = FirstSet({ r.ActiveTabRect, r.TabRect });
        textColor = r.FocusFontColor;
    } else if (TabHot) {
        source = FirstSet({ r.MouseInTabRect, r.TabRect });
        textColor = r.MouseInFontColor;
    }
    CreateHSkinImage(r.TabLeftOffset, r.TabRightOffset, face, TabBar->Picture, source, width, RectHeight(source), stretch);
    if (TabBar->Align() == alBottom)
        FlipFace(face);
}

void TspMDITab::Draw(TCanvas* canvas)
{
    const int width = RectWidth(TabRectangle);
    const int height = RectHeight(TabRectangle);
    if (width <= 0 || height <= 0)
        return;
    const TspDataSkinTabControl* record = TabBar->TabRecord();
    if (record && TabBar->FTabKind == sptkButton) {
        ButtonDraw(canvas);
        return;
    }
    if (record && !TabBar->UseSkinSize) {
        ResizeDraw(canvas);
        return;
    }
    TBitmap face;
    face.SetSize(width, height);
    TRect textRect;
    TColor color = clBtnText;
    if (!record) {
        TCanvas* c = face.Canvas();
        c->Brush()->SetColor(TabActive ? TColor(RGB(133, 147, 181))
                : TabHot             ? TColor(RGB(182, 189, 210))
                                     : clBtnFace);
        c->FillRect(Rect(0, 0, width, height));
        textRect = Rect(2, 0, width - 2, height);
        color = TabBar->DefaultFont()->Color();
    } else {
        SkinFace(&face, width, record->TabStretchEffect, color);
        face.SetSize(width, height);
        textRect = Rect(record->TabLeftOffset, 0, width - record->TabRightOffset, height);
    }
    DrawCaption(face.Canvas(), textRect, record != nullptr, color);
    canvas->Draw(TabRectangle.Left, TabRectangle.Top, &face);
}

void TspMDITab::ResizeDraw(TCanvas* canvas)
{
    const int width = RectWidth(TabRectangle);
    const int height = RectHeight(TabRectangle);
    const TspDataSkinTabControl& r = *TabBar->TabRecord();
    TBitmap face;
    TColor color;
    // The middle is always tiled here: the face is stretched to the bar's height afterwards.
    SkinFace(&face, width, false, color);
    TBitmap sized;
    sized.SetSize(width, height);
    sized.Canvas()->StretchDraw(Rect(0, 0, width, height), &face);
    DrawCaption(sized.Canvas(), Rect(r.TabLeftOffset, 0, width - r.TabRightOffset, height), true, color);
    canvas->Draw(TabRectangle.Left, TabRectangle.Top, &sized);
}

void TspMDITab::ButtonDraw(TCanvas* canvas)
{
    TspSkinData* skin = TabBar->SkinData();
    const int index = skin ? skin->GetControlIndex("resizebutton") : -1;
    auto* button = index == -1 ? nullptr
                               : dynamic_cast<TspDataSkinButtonControl*>(skin->ControlRecords[size_t(index)].get());
    TBitmap* picture = button ? SkinPictureAt(skin, button->PictureIndex) : nullptr;
    if (!button || !picture)
        return;
    const int width = RectWidth(TabRectangle);
    const int height = RectHeight(TabRectangle);
    TRect source = button->SkinRect;
    TColor color = button->FontColor;
    if (TabActive) {
        source = FirstSet({ button->DownSkinRect, button->ActiveSkinRect, button->SkinRect });
        color = button->DownFontColor;
    } else if (TabHot) {
        source = FirstSet({ button->ActiveSkinRect, button->SkinRect });
        color = button->ActiveFontColor;
    }
    const TspDataSkinButtonControl& b = *button;
    const int dx = width - RectWidth(b.SkinRect);
    const int dy = height - RectHeight(b.SkinRect);
    const TRect client = b.ClientRect;
    TRect newClient = Rect(client.Left, client.Top, client.Right + dx, client.Bottom + dy);
    TBitmap face;
    CreateSkinImage(b.LeftTopPoint, b.RightTopPoint, b.LeftBottomPoint, b.RightBottomPoint, client, b.LeftTopPoint,
        TPoint { b.RightTopPoint.X + dx, b.RightTopPoint.Y },
        TPoint { b.LeftBottomPoint.X, b.LeftBottomPoint.Y + dy },
        TPoint { b.RightBottomPoint.X + dx, b.RightBottomPoint.Y + dy }, newClient, &face, picture, source, width,
        height, true, b.LeftStretch, b.TopStretch, b.RightStretch, b.BottomStretch, b.StretchEffect, b.StretchType);
    face.SetSize(width, height);
    TCanvas* c = face.Canvas();
    c->Font()->Assign(TabBar->DefaultFont());
    if (TabBar->UseSkinFont) {
        c->Font()->SetName(b.FontName);
        c->Font()->SetHeight(b.FontHeight);
        c->Font()->SetStyle(b.FontStyle);
    }
    // Text taller than the client part is centred in the whole tab.
    const int textHeight = c->TextHeight("Wg");
    if (textHeight > RectHeight(newClient)) {
        newClient.Top = height / 2 - textHeight / 2;
        newClient.Bottom = newClient.Top + textHeight;
    }
    c->Font()->SetColor(color);
    std::string text = TabForm->Caption();
    CorrectTextbyWidthW(c, text, RectWidth(newClient));
    c->Brush()->SetStyle(bsClear);
    RECT r { newClient.Left, newClient.Top, newClient.Right, newClient.Bottom };
    DrawText(c->Handle(), text.c_str(), -1, &r, TabBar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    canvas->Draw(TabRectangle.Left, TabRectangle.Top, &face);
}

// ---- The bar ----------------------------------------------------------------------------------------------------

TspSkinMDITabsBar::TspSkinMDITabsBar(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("tab");
    FDefaultFont = std::make_unique<TFont>();
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    SetWidth(150);
    SetHeight(21);
}

TspSkinMDITabsBar::~TspSkinMDITabsBar()
{
    ClearObjects();
}

const TspDataSkinTabControl* TspSkinMDITabsBar::TabRecord() const
{
    if (SkinIndex == -1 || !Picture)
        return nullptr;
    return dynamic_cast<const TspDataSkinTabControl*>(SkinData()->ControlRecords[size_t(SkinIndex)].get());
}

bool TspSkinMDITabsBar::Transparent() const
{
    return SkinIndex != -1 && SkinLoaded(SkinData()) && SkinData()->MDITabsTransparent;
}

void TspSkinMDITabsBar::GetSkinData()
{
    inherited::GetSkinData();
    Picture = nullptr;
    if (SkinIndex == -1)
        return;
    // Another kind of record under the name "tab" leaves the bar in its default look.
    if (auto* record = dynamic_cast<TspDataSkinTabControl*>(SkinData()->ControlRecords[size_t(SkinIndex)].get()))
        Picture = SkinPictureAt(SkinData(), record->PictureIndex);
    if (!Picture)
        SkinIndex = -1;
}

void TspSkinMDITabsBar::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (const TspDataSkinTabControl* record = TabRecord(); record && UseSkinSize)
        SetHeight(RectHeight(record->TabRect));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
}

void TspSkinMDITabsBar::SetTabKind(TspSkinMDITabKind value)
{
    FTabKind = value;
    if (SkinIndex != -1)
        Repaint();
}

void TspSkinMDITabsBar::SetSkinForm(TspSkinForm* value)
{
    if (FSkinForm)
        FSkinForm->RemoveFreeNotification(this);
    FSkinForm = value;
    if (FSkinForm)
        FSkinForm->FreeNotification(this);
}

void TspSkinMDITabsBar::SetDefaultHeight(int value)
{
    FDefaultHeight = value;
    if (SkinIndex == -1 && value > 0)
        SetHeight(value);
}

void TspSkinMDITabsBar::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
}

void TspSkinMDITabsBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FSkinForm)
        FSkinForm = nullptr;
    // A child deleted while its tab is still here takes its tab along. By now it is only a component.
    const auto gone = [component](auto& tab) { return static_cast<TComponent*>(tab->TabForm) == component; };
    if (std::none_of(Tabs.begin(), Tabs.end(), gone))
        return;
    Tabs.erase(std::remove_if(Tabs.begin(), Tabs.end(), gone), Tabs.end());
    HotTabIndex = PrevHotTabIndex = DragTabIndex = -1;
    TabDragging = TabPressed = false;
    Invalidate();
}

// ---- Tabs -------------------------------------------------------------------------------------------------------

void TspSkinMDITabsBar::AddTab(TCustomForm* form)
{
    Tabs.push_back(std::make_unique<TspMDITab>(this, form));
    form->FreeNotification(this);
    Repaint();
}

void TspSkinMDITabsBar::DeleteTab(TCustomForm* form)
{
    const auto it = std::find_if(Tabs.begin(), Tabs.end(), [form](auto& tab) { return tab->TabForm == form; });
    if (it == Tabs.end())
        return;
    const int index = static_cast<int>(it - Tabs.begin());
    if (index == HotTabIndex) {
        if (OnTabMouseLeave)
            OnTabMouseLeave(it->get());
        HotTabIndex = PrevHotTabIndex = -1;
    }
    // The indexes keep naming the same tabs when one before them goes.
    for (int* kept : { &HotTabIndex, &PrevHotTabIndex, &DragTabIndex })
        if (*kept > index)
            --*kept;
        else if (*kept == index)
            *kept = -1;
    if (index == DragTabIndex || DragTabIndex == -1)
        TabDragging = false;
    Tabs.erase(Tabs.begin() + index);
    if (std::none_of(Tabs.begin(), Tabs.end(), [form](auto& tab) { return tab->TabForm == form; }))
        form->RemoveFreeNotification(this);
    Repaint();
}

void TspSkinMDITabsBar::ClearObjects()
{
    for (auto& tab : Tabs)
        tab->TabForm->RemoveFreeNotification(this);
    Tabs.clear();
    HotTabIndex = PrevHotTabIndex = DragTabIndex = -1;
    TabDragging = TabPressed = false;
}

void TspSkinMDITabsBar::CheckActive()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active)
        return;
    for (auto& tab : Tabs)
        tab->TabActive = tab->TabForm == active;
    Repaint();
}

int TspSkinMDITabsBar::GetTabIndex(int x, int y) const
{
    // Right and bottom edges count as inside: on the line between two tabs the left one wins.
    for (size_t i = 0; i < Tabs.size(); ++i) {
        const TRect& r = Tabs[i]->TabRectangle;
        if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

TspMDITab* TspSkinMDITabsBar::GetTab(int x, int y) const
{
    const int index = GetTabIndex(x, y);
    return index == -1 ? nullptr : Tabs[size_t(index)].get();
}

void TspSkinMDITabsBar::CalcObjectRects()
{
    const int count = TabCount();
    if (count == 0)
        return;
    const int width = std::min(Width() / count, DefaultTabWidth);
    for (int i = 0; i < count; ++i)
        Tabs[size_t(i)]->TabRectangle = Rect(i * width, 0, (i + 1) * width, Height());
    // Tabs narrower than the widest allowed fill the bar.
    if (width < DefaultTabWidth)
        Tabs.back()->TabRectangle.Right = Width();
    if (TabDragging && DragTabIndex >= 0 && DragTabIndex < count) {
        TRect& r = Tabs[size_t(DragTabIndex)]->TabRectangle;
        auto shift = [&r](int dx) {
            r.Left += dx;
            r.Right += dx;
        };
        shift(DragOffset);
        if (r.Right > Width())
            shift(Width() - r.Right);
        if (r.Left < 0)
            shift(-r.Left);
    }
}

int TspSkinMDITabsBar::GetMoveIndex() const
{
    if (Tabs.empty() || DragOffset == 0 || DragTabIndex < 0 || DragTabIndex >= TabCount())
        return -1;
    const TRect& dragged = Tabs[size_t(DragTabIndex)]->TabRectangle;
    auto centre = [this](int i) {
        const TRect& r = Tabs[size_t(i)]->TabRectangle;
        return r.Left + RectWidth(r) / 2;
    };
    if (DragOffset > 0) {
        int target = -1;
        for (int i = DragTabIndex + 1; i < TabCount(); ++i)
            if (centre(i) < dragged.Right)
                target = i;
        return target;
    }
    for (int i = 0; i < DragTabIndex; ++i)
        if (centre(i) > dragged.Left)
            return i;
    return -1;
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TspSkinMDITabsBar::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
    DrawTabs(bitmap);
}

void TspSkinMDITabsBar::CreateControlSkinImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    const TspDataSkinTabControl* record = TabRecord();
    const TRect tile = record ? record->TabsBGRect : NullRect();
    const int tileWidth = RectWidth(tile);
    const int tileHeight = RectHeight(tile);
    if (Transparent()) {
        GetParentImage(this, canvas);
    } else if (tileWidth <= 0 || tileHeight <= 0) {
        // A skin without a tab background leaves the plain face rather than tiling nothing.
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
    } else {
        for (int y = 0; y < bitmap->Height(); y += tileHeight)
            for (int x = 0; x < bitmap->Width(); x += tileWidth)
                canvas->CopyRect(Rect(x, y, x + tileWidth, y + tileHeight), Picture->Canvas(), tile);
    }
    DrawTabs(bitmap);
}

void TspSkinMDITabsBar::DrawTabs(TBitmap* bitmap)
{
    if (Tabs.empty())
        return;
    CalcObjectRects();
    TCanvas* canvas = bitmap->Canvas();
    // A held tab is drawn last, over its neighbours, whether or not it has moved yet.
    const bool held = (TabPressed || TabDragging) && DragTabIndex >= 0 && DragTabIndex < TabCount();
    for (int i = 0; i < TabCount(); ++i)
        if (!held || i != DragTabIndex)
            Tabs[size_t(i)]->Draw(canvas);
    if (held)
        Tabs[size_t(DragTabIndex)]->Draw(canvas);
    if (TabDragging)
        DrawMoveMarker(canvas);
}

void TspSkinMDITabsBar::DrawMoveMarker(TCanvas* canvas)
{
    const int target = GetMoveIndex();
    if (target == -1)
        return;
    const TRect& r = Tabs[size_t(target)]->TabRectangle;
    const int x = DragOffset > 0 ? r.Right : r.Left;
    const int h = Height();
    canvas->Pen()->SetMode(pmNot);
    canvas->Brush()->SetStyle(bsClear);
    for (int dx = -1; dx <= 1; ++dx) {
        canvas->MoveTo(x + dx, 0);
        canvas->LineTo(x + dx, h);
    }
    const TPoint right[3] = { { x + 2, h / 2 }, { x + 5, h / 2 - 3 }, { x + 5, h / 2 + 3 } };
    const TPoint left[3] = { { x - 2, h / 2 }, { x - 5, h / 2 - 3 }, { x - 5, h / 2 + 3 } };
    canvas->Polygon(right);
    canvas->Polygon(left);
    canvas->Pen()->SetMode(pmCopy);
}

void TspSkinMDITabsBar::RedrawTab(TspMDITab* tab)
{
    if (HandleAllocated() && Visible())
        tab->Draw(Canvas());
}

void TspSkinMDITabsBar::PopupChildMenu(TCustomForm* child, int x, int y)
{
    TspSkinForm* component = GetSkinFormComponent(child);
    TspSkinMenu* menu = FSkinForm ? FSkinForm->SkinMenu() : nullptr;
    TMenuItem* items = component ? component->GetSystemMenu() : nullptr;
    if (!menu || !items)
        return;
    const TPoint p = ClientToScreen(TPoint { x, y });
    FSkinForm->SkinMenuOpen();
    menu->Popup(Parent(), FSkinForm->MenusSkinData() ? FSkinForm->MenusSkinData() : FSkinForm->SkinData(), 0,
        Rect(p.X, p.Y, p.X, p.Y), items, false);
}

// ---- Mouse ------------------------------------------------------------------------------------------------------

void TspSkinMDITabsBar::TestActive(int x, int y)
{
    HotTabIndex = GetTabIndex(x, y);
    if (HotTabIndex == PrevHotTabIndex)
        return;
    if (PrevHotTabIndex >= 0 && PrevHotTabIndex < TabCount()) {
        TspMDITab* old = Tabs[size_t(PrevHotTabIndex)].get();
        old->TabHot = false;
        RedrawTab(old);
        if (OnTabMouseLeave)
            OnTabMouseLeave(old);
    }
    if (HotTabIndex != -1) {
        TspMDITab* hot = Tabs[size_t(HotTabIndex)].get();
        hot->TabHot = true;
        RedrawTab(hot);
        if (OnTabMouseEnter)
            OnTabMouseEnter(hot);
    }
    PrevHotTabIndex = HotTabIndex;
}

void TspSkinMDITabsBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    const int index = GetTabIndex(x, y);
    if (index == -1)
        return;
    TspMDITab* tab = Tabs[size_t(index)].get();
    TCustomForm* form = tab->TabForm;
    if (button == mbLeft) {
        form->Show();
        if (TspSkinForm* component = GetSkinFormComponent(form); component && component->WindowState() == wsMinimized)
            component->SetWindowState(wsNormal);
        // Showing may have changed the tabs: the press belongs to the form's tab wherever it is now.
        const auto it = std::find_if(Tabs.begin(), Tabs.end(), [form](auto& t) { return t->TabForm == form; });
        if (it == Tabs.end())
            return;
        tab = it->get();
        TabPressed = true;
        DragTabIndex = MoveTabs ? static_cast<int>(it - Tabs.begin()) : -1;
        PressX = x;
        DragOffset = 0;
    } else if (button == mbRight && SupportChildMenus) {
        PopupChildMenu(form, x, y);
    }
    if (OnTabMouseDown)
        OnTabMouseDown(button, shift, tab);
}

void TspSkinMDITabsBar::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (TabPressed && DragTabIndex != -1 && !TabDragging && x != PressX)
        TabDragging = true;
    if (TabDragging) {
        DragOffset = x - PressX;
        Repaint();
    } else {
        TestActive(x, y);
    }
}

void TspSkinMDITabsBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    TabPressed = false;
    if (TabDragging) {
        CalcObjectRects();
        const int target = GetMoveIndex();
        if (target >= 0 && target < TabCount() && target != DragTabIndex) {
            auto moved = std::move(Tabs[size_t(DragTabIndex)]);
            Tabs.erase(Tabs.begin() + DragTabIndex);
            Tabs.insert(Tabs.begin() + target, std::move(moved));
        }
        TabDragging = false;
        DragTabIndex = -1;
        PressX = DragOffset = 0;
        HotTabIndex = PrevHotTabIndex = -1;
        for (auto& tab : Tabs)
            tab->TabHot = false;
        Repaint();
        return;
    }
    if (TspMDITab* tab = GetTab(x, y); tab && OnTabMouseUp)
        OnTabMouseUp(button, shift, tab);
}

void TspSkinMDITabsBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOVE:
        inherited::WndProc(message);
        if (Align() == alNone && Transparent())
            Repaint();
        break;
    case WM_CHECKPARENTBG:
        if (Transparent())
            Repaint();
        break;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        TestActive(-1, -1);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}
