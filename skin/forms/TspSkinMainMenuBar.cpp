// The main-menu bar: building its items (merged with an MDI child's menu) and the buttons of a maximized MDI child,
// laying them out with the overflow marker, painting them from the skin or in the plain look, and the mouse.
#include "skin/forms/TspSkinMainMenuBar.h"

#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinMenu.h"

#include <algorithm>

using namespace SPUtils;

namespace {

bool InRect(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

TRect FirstSet(std::initializer_list<TRect> rects)
{
    for (const TRect& r : rects)
        if (!IsNullRect(r))
            return r;
    return NullRect();
}

// The object record of the skin named `name`, when it is of class T.
template <class T> const T* SkinObject(const TspSkinData* skin, const std::string& name)
{
    if (!skin || skin->Empty || name.empty())
        return nullptr;
    const int index = skin->GetIndex(name);
    return index == -1 ? nullptr : dynamic_cast<const T*>(skin->ObjectRecords[size_t(index)].get());
}

} // namespace

// ---- TspSkinMainMenu --------------------------------------------------------------------------------------------

void TspSkinMainMenu::SetSkinData(TspSkinData* value)
{
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (FSkinData)
        FSkinData->FreeNotification(this);
}

void TspSkinMainMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData)
        FSkinData = nullptr;
}

// ---- Objects ----------------------------------------------------------------------------------------------------

TspMenuBarObject::TspMenuBarObject(TspSkinMainMenuBar* bar, const TspDataSkinObject* record)
    : Bar(bar)
{
    if (!record)
        return;
    IDName = record->IDName;
    SkinRect = record->SkinRect;
    ActiveSkinRect = record->ActiveSkinRect;
    DownSkinRect = record->ActiveSkinRect;
    ObjectRect = SkinRect;
    Picture = SkinPictureAt(bar->SkinData(), record->ActivePictureIndex);
    Morphing = record->Morphing && !IsNullRect(record->ActiveSkinRect);
    MorphKind = record->MorphKind;
}

bool TspMenuBarObject::EnableMorphing() const
{
    const TspSkinData* skin = Bar->SkinData();
    return Morphing && Picture && skin && !skin->Empty && skin->EnableSkinEffects();
}

void TspMenuBarObject::DoMorphing()
{
    MorphKf = std::clamp(NextMorphFactor(MorphKf, Active), 0.0, 1.0);
    Bar->DrawSkinObject(this);
}

void TspMenuBarObject::Blend(TBitmap* source, TBitmap* target) const
{
    TspEffectBmp blend(source->Handle());
    const TspEffectBmp toward(target->Handle());
    MorphByKind(blend, toward, MorphKind, MorphKf);
    blend.Draw(source->Canvas()->Handle(), 0, 0);
}

void TspMenuBarObject::Redraw()
{
    if (EnableMorphing())
        Bar->StartMorphTimer();
    else
        Bar->DrawSkinObject(this);
}

void TspMenuBarObject::MouseDown(int, int, TMouseButton)
{
}

void TspMenuBarObject::MouseUp(int, int, TMouseButton)
{
}

void TspMenuBarObject::MouseEnter()
{
    Active = true;
    MouseOver = true;
    Redraw();
}

void TspMenuBarObject::MouseLeave()
{
    Active = false;
    MouseOver = false;
    Redraw();
}

// ---- Buttons of a maximized child -------------------------------------------------------------------------------

TspSkinMainMenuBarButton::TspSkinMainMenuBarButton(
    TspSkinMainMenuBar* bar, const TspDataSkinStdButton* record, TStdCommand command)
    : inherited(bar, record)
    , Command(record ? record->Command : command)
    , Skinned(record != nullptr)
{
    if (record)
        DownSkinRect = FirstSet({ record->DownRect, record->ActiveSkinRect });
}

void TspSkinMainMenuBarButton::Draw(TCanvas* canvas)
{
    if (!Skinned || !Picture) {
        DefaultDraw(canvas);
        return;
    }
    TRect source = SkinRect;
    if (Down && MouseOver) {
        source = FirstSet({ DownSkinRect, ActiveSkinRect, SkinRect });
    } else if (MorphRunning()) {
        const int width = RectWidth(ObjectRect);
        const int height = RectHeight(ObjectRect);
        TBitmap normal;
        TBitmap active;
        normal.SetSize(width, height);
        active.SetSize(width, height);
        normal.Canvas()->CopyRect(Rect(0, 0, width, height), Picture->Canvas(), SkinRect);
        active.Canvas()->CopyRect(Rect(0, 0, width, height), Picture->Canvas(), ActiveSkinRect);
        Blend(&normal, &active);
        canvas->Draw(ObjectRect.Left, ObjectRect.Top, &normal);
        return;
    } else if (Active) {
        source = FirstSet({ ActiveSkinRect, SkinRect });
    }
    canvas->CopyRect(ObjectRect, Picture->Canvas(), source);
}

void TspSkinMainMenuBarButton::DefaultDraw(TCanvas* canvas)
{
    DrawDefaultCaptionButton(canvas, ObjectRect, MouseOver, Down && MouseOver, Enabled,
        [this](TCanvas* c, int x, int y, TColor color) {
            switch (Command) {
            case cmClose:
                DrawCloseImage(c, x, y, color);
                break;
            case cmMaximize:
                // The child is maximized: this button restores it.
                DrawRestoreImage(c, x, y, color);
                break;
            case cmMinimize:
                DrawMinimizeImage(c, x, y, color);
                break;
            case cmSysMenu:
                DrawSysMenuImage(c, x, y, color);
                break;
            default:
                break;
            }
        });
}

void TspSkinMainMenuBarButton::MouseDown(int, int, TMouseButton button)
{
    if (!Enabled || button != mbLeft || Down)
        return;
    Down = true;
    if (EnableMorphing() && !IsNullRect(DownSkinRect))
        MorphKf = 1;
    Bar->DrawSkinObject(this);
    if (Command == cmSysMenu)
        DoCommand();
}

void TspSkinMainMenuBarButton::MouseUp(int, int, TMouseButton button)
{
    if (!Enabled || button != mbLeft)
        return;
    if (Command != cmSysMenu) {
        Down = false;
        Redraw();
    }
    if (Active)
        DoCommand();
}

void TspSkinMainMenuBarButton::DblClick()
{
    if (Command != cmSysMenu)
        return;
    if (TspSkinForm* child = GetMDIChildSkinFormComponent())
        child->CloseForm();
}

void TspSkinMainMenuBarButton::DoCommand()
{
    TspSkinForm* child = GetMDIChildSkinFormComponent();
    if (!child)
        return;
    // The bar rebuilds its buttons while the child's state changes: nothing of this button is used after.
    switch (Command) {
    case cmClose:
        child->CloseForm();
        break;
    case cmMaximize:
        child->SetWindowState(wsNormal);
        break;
    case cmMinimize:
        child->SetWindowState(wsMinimized);
        break;
    case cmSysMenu: {
        // The child's system menu opens under the button, through the bar's form.
        Bar->Repaint();
        TspSkinForm* form = Bar->SkinForm();
        TMenuItem* items = child->GetSystemMenu();
        if (!form || !form->SkinMenu() || !items) {
            Down = false;
            Redraw();
            break;
        }
        const TPoint topLeft = Bar->ClientToScreen(TPoint { ObjectRect.Left, ObjectRect.Top });
        const TRect r
            = Rect(topLeft.X, topLeft.Y, topLeft.X + RectWidth(ObjectRect), topLeft.Y + RectHeight(ObjectRect));
        form->SkinMenuOpen();
        form->SkinMenu()->Popup(Bar, form->MenusSkinData() ? form->MenusSkinData() : form->SkinData(), 0, r, items,
            Bar->PopupToUp);
        break;
    }
    default:
        break;
    }
}

// ---- Items ------------------------------------------------------------------------------------------------------

TspSkinMainMenuBarItem::TspSkinMainMenuBarItem(
    TspSkinMainMenuBar* bar, const TspDataSkinMainMenuBarItem* record, TMenuItem* item)
    : inherited(bar, record)
    , Record(record)
    , MenuItem(item)
{
    if (record)
        DownSkinRect = FirstSet({ record->DownRect, record->ActiveSkinRect, record->SkinRect });
    IDName = item->Name();
    Enabled = SavedEnabled = item->Enabled();
}

void TspSkinMainMenuBarItem::SetItemFont(TCanvas* canvas) const
{
    canvas->Font()->Assign(Bar->DefItemFont());
    if (Record && Bar->UseSkinFont) {
        canvas->Font()->SetName(Record->FontName);
        canvas->Font()->SetHeight(Record->FontHeight);
        canvas->Font()->SetStyle(Record->FontStyle);
    }
}

int TspSkinMainMenuBarItem::ItemWidth(TCanvas* canvas) const
{
    SetItemFont(canvas);
    const int text = canvas->TextWidth(StripHotkey(MenuItem->Caption()));
    if (Bar->Skinned() && Record)
        return RectWidth(Record->SkinRect) - RectWidth(Record->TextRect) + text + 2;
    return text + 12;
}

void TspSkinMainMenuBarItem::SetShown(bool value)
{
    if (value == Shown)
        return;
    Shown = value;
    if (value) {
        Enabled = SavedEnabled;
    } else {
        SavedEnabled = Enabled;
        Enabled = false;
    }
}

void TspSkinMainMenuBarItem::Draw(TCanvas* canvas)
{
    if (!Shown)
        return;
    if (!Bar->Skinned() || !Record || !Picture) {
        DefaultDraw(canvas);
        return;
    }
    if (IsNullRect(Record->SkinRect) || IsNullRect(Record->TextRect))
        return;
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    TRect source = SkinRect;
    bool activeLook = true;
    TColor color = Record->ActiveFontColor;
    const bool frameShown = !Down && AnimationFrameShown();
    if (Down) {
        source = DownSkinRect;
        color = Record->DownFontColor;
    } else if (frameShown) {
        source = AnimationFrameRect();
    } else if (Active) {
        source = FirstSet({ ActiveSkinRect, SkinRect });
    } else {
        activeLook = false;
        color = MenuItem->Enabled() ? Record->FontColor : Record->UnEnabledFontColor;
    }
    TBitmap image;
    image.SetSize(width, height);
    auto look = [&](TBitmap* into, const TRect& from, bool active) {
        if (Bar->Record()->ItemTransparent && !active) {
            // The bar under the item shows through.
            into->SetSize(width, height);
            into->Canvas()->CopyRect(Rect(0, 0, width, height), canvas, ObjectRect);
            return;
        }
        CreateHSkinImage(Record->ItemLeftOffset, Record->ItemRightOffset, into, Picture, from, width, height,
            active && Record->StretchEffect);
        into->SetSize(width, height);
    };
    // An item with a frame animation has no hover transition: its timer never runs.
    if (!Down && !frameShown && !EnableAnimation() && MorphRunning()) {
        // Between the normal and the active look.
        TBitmap active;
        look(&image, SkinRect, false);
        look(&active, ActiveSkinRect, true);
        Blend(&image, &active);
        color = Record->ActiveFontColor;
    } else {
        look(&image, source, activeLook);
    }
    TCanvas* c = image.Canvas();
    SetItemFont(c);
    c->Font()->SetColor(color);
    c->Brush()->SetStyle(bsClear);
    const std::string caption = MenuItem->Caption();
    const TRect& t = Record->TextRect;
    RECT r { t.Left, t.Top, t.Left + c->TextWidth(StripHotkey(caption)) + 2, t.Bottom };
    DrawText(c->Handle(), caption.c_str(), -1, &r, Bar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

bool TspSkinMainMenuBarItem::EnableAnimation() const
{
    const TspSkinData* skin = Bar->SkinData();
    return Record && !IsNullRect(Record->AnimateSkinRect) && Picture && skin && !skin->Empty
        && skin->EnableSkinEffects();
}

bool TspSkinMainMenuBarItem::AnimationFrameShown() const
{
    // A strip of no frames, or too small to hold them, has nothing to show.
    return EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= Record->FrameCount
        && !IsNullRect(AnimationFrameRect());
}

TRect TspSkinMainMenuBarItem::AnimationFrameRect() const
{
    const TRect& strip = Record->AnimateSkinRect;
    const int count = std::max(Record->FrameCount, 1);
    const int n = std::clamp(CurrentFrame, 1, count) - 1;
    if (RectHeight(strip) > RectHeight(Record->SkinRect)) {
        const int h = RectHeight(strip) / count;
        return h > 0 ? Rect(strip.Left, strip.Top + n * h, strip.Right, strip.Top + (n + 1) * h) : NullRect();
    }
    const int w = RectWidth(strip) / count;
    return w > 0 ? Rect(strip.Left + n * w, strip.Top, strip.Left + (n + 1) * w, strip.Bottom) : NullRect();
}

bool TspSkinMainMenuBarItem::StepAnimation()
{
    // Up to one past the strip, where the plain active look takes over; down to no frame.
    if (Active && CurrentFrame <= Record->FrameCount)
        ++CurrentFrame;
    else if (!Active && CurrentFrame > 0)
        --CurrentFrame;
    else
        return false;
    Bar->DrawSkinObject(this);
    return true;
}

void TspSkinMainMenuBarItem::Redraw()
{
    if (EnableAnimation())
        Bar->StartAnimateTimer(Record->AnimateInterval);
    else
        inherited::Redraw();
}

void TspSkinMainMenuBarItem::DefaultDraw(TCanvas* canvas)
{
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    image.SetSize(width, height);
    TCanvas* c = image.Canvas();
    const TRect r = Rect(0, 0, width, height);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    if (Down || MouseOver || Active) {
        c->Brush()->SetColor(Down ? RGB(133, 147, 181) : RGB(182, 189, 210));
        c->FillRect(r);
        c->Brush()->SetColor(clNavy);
        c->FrameRect(r);
    }
    c->Font()->Assign(Bar->DefItemFont());
    if (!MenuItem->Enabled())
        c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    RECT text { Down ? 1 : 0, Down ? 1 : 0, width + (Down ? 1 : 0), height + (Down ? 1 : 0) };
    const std::string caption = MenuItem->Caption();
    DrawText(c->Handle(), caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

bool TspSkinMainMenuBarItem::SearchDown()
{
    for (int i = 0; i < Bar->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(Bar->ObjectAt(i));
            item && item != this && item->IDName != IDName && item->Down) {
            item->SetDown(false);
            return true;
        }
    return false;
}

void TspSkinMainMenuBarItem::SearchActive()
{
    for (int i = 0; i < Bar->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(Bar->ObjectAt(i)); item && item != this && item->Active) {
            item->MouseLeave();
            return;
        }
}

void TspSkinMainMenuBarItem::MouseEnter()
{
    // With another item's submenu open, the open submenu moves here.
    if (SearchDown()) {
        Active = true;
        MouseOver = true;
        MorphKf = 1;
        SetDown(true);
        return;
    }
    SearchActive();
    Active = true;
    MouseOver = true;
    Redraw();
    if (Bar->OnItemMouseEnter)
        Bar->OnItemMouseEnter(MenuItem);
    if (Bar->Hint() != MenuItem->Hint())
        Bar->SetHint(MenuItem->Hint());
}

void TspSkinMainMenuBarItem::MouseLeave()
{
    Active = false;
    MouseOver = false;
    // Without an animation back, the item drops to its normal look at once.
    if (EnableAnimation() && !Record->InActiveAnimation) {
        CurrentFrame = 0;
        Bar->DrawSkinObject(this);
    }
    if (Down && EnableMorphing())
        MorphKf = 0;
    Redraw();
    if (Bar->OnItemMouseLeave)
        Bar->OnItemMouseLeave(MenuItem);
}

void TspSkinMainMenuBarItem::MouseDown(int, int, TMouseButton button)
{
    if (!Enabled || button != mbLeft || !Bar->SkinForm())
        return;
    if (Bar->OnMainMenuItemClick)
        Bar->OnMainMenuItemClick(IDName);
    if (MenuItem->Count() > 0) {
        Bar->MenuMode = true;
        SetDown(true);
        return;
    }
    TspSkinForm* form = Bar->SkinForm();
    if (form->MainMenuActive)
        form->SkinMainMenuClose();
    form->SkinMenuOpened = false;
    Redraw();
    // The command may rebuild the bar: nothing of this item is used after it.
    if (TMenu* menu = MenuItem->GetParentMenu())
        menu->DispatchCommand(MenuItem->Command());
}

void TspSkinMainMenuBarItem::SetDown(bool value)
{
    Down = value;
    if (!value) {
        Active = false;
        if (EnableAnimation()) {
            // The animation runs back from its end, or the item drops to its normal look at once.
            if (Record->InActiveAnimation) {
                CurrentFrame = Record->FrameCount + 1;
                Redraw();
            } else {
                CurrentFrame = 0;
                Bar->DrawSkinObject(this);
            }
        } else if (EnableMorphing()) {
            // The pressed look fades out from the active one.
            MorphKf = 1;
            Redraw();
        } else {
            Bar->DrawSkinObject(this);
        }
        return;
    }
    Bar->DrawSkinObject(this);
    TspSkinForm* form = Bar->SkinForm();
    if (form && !form->MainMenuActive && form->OnMainMenuEnter)
        form->OnMainMenuEnter(Bar);
    TrackMenu();
}

void TspSkinMainMenuBarItem::TrackMenu()
{
    TspSkinForm* form = Bar->SkinForm();
    TspSkinMenu* menu = form ? form->SkinMenu() : nullptr;
    if (!menu) {
        SetDown(false);
        return;
    }
    const TPoint topLeft = Bar->ClientToScreen(TPoint { ObjectRect.Left, ObjectRect.Top });
    const TRect r = Rect(topLeft.X, topLeft.Y, topLeft.X + RectWidth(ObjectRect), topLeft.Y + RectHeight(ObjectRect));
    form->SkinMenuOpen();
    form->MainMenuActive = true;
    // The form hears when the chain closes and releases the item: MenuExit when the menu ends, MenuClose when
    // Escape leaves the keyboard mode on. An item without sub-items opens nothing and stays pressed meanwhile,
    // so that Return clicks it.
    menu->Popup(nullptr, Bar->SkinData(), 0, r, MenuItem, Bar->PopupToUp);
}

// ---- The bar ----------------------------------------------------------------------------------------------------

TspSkinMainMenuBar::TspSkinMainMenuBar(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("mainmenubar");
    FDefItemFont = std::make_unique<TFont>();
    FDefItemFont->SetName("Arial");
    FDefItemFont->SetHeight(14);
    FDefItemFont->SetColor(clBtnText);
    FMouseTimer = new TTimer(this);
    FMouseTimer->SetEnabled(false);
    FMouseTimer->SetInterval(50);
    FMouseTimer->SetOnTimer([this](TObject*) { TestMouse(); });
    FMorphTimer = new TTimer(this);
    FMorphTimer->SetEnabled(false);
    FMorphTimer->SetInterval(25);
    FMorphTimer->SetOnTimer([this](TObject*) { TestMorph(); });
    FAnimateTimer = new TTimer(this);
    FAnimateTimer->SetEnabled(false);
    FAnimateTimer->SetInterval(25);
    FAnimateTimer->SetOnTimer([this](TObject*) { TestAnimate(); });
    SetAlign(alTop);
    SetHeight(22);
}

TspSkinMainMenuBar::~TspSkinMainMenuBar()
{
    Objects.clear();
    Retired.clear();
}

void TspSkinMainMenuBar::SetMainMenu(TMainMenu* value)
{
    if (FMainMenu)
        FMainMenu->RemoveFreeNotification(this);
    FMainMenu = value;
    if (FMainMenu)
        FMainMenu->FreeNotification(this);
    CreateMenu();
    Invalidate();
}

void TspSkinMainMenuBar::SetSkinForm(TspSkinForm* value)
{
    if (FSkinForm)
        FSkinForm->RemoveFreeNotification(this);
    FSkinForm = value;
    if (FSkinForm)
        FSkinForm->FreeNotification(this);
}

void TspSkinMainMenuBar::SetDefItemFont(TFont* value)
{
    FDefItemFont->Assign(value);
    if (!Skinned())
        Invalidate();
}

void TspSkinMainMenuBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMainMenu) {
        FMainMenu = nullptr;
        ClearObjects();
    }
    if (component == FMergeMenu) {
        FMergeMenu = nullptr;
        ClearObjects();
    }
    if (component == FSkinForm)
        FSkinForm = nullptr;
}

// ---- The skin ---------------------------------------------------------------------------------------------------

void TspSkinMainMenuBar::GetSkinData()
{
    inherited::GetSkinData();
    FRecord = nullptr;
    FPicture = nullptr;
    if (SkinIndex == -1)
        return;
    auto* record = dynamic_cast<const TspDataSkinMainMenuBar*>(SkinData()->ControlRecords[size_t(SkinIndex)].get());
    TBitmap* picture = record ? SkinPictureAt(SkinData(), record->PictureIndex) : nullptr;
    // A record without a picture has nothing to draw from: the bar keeps its plain look.
    if (!picture) {
        SkinIndex = -1;
        return;
    }
    FRecord = record;
    FPicture = picture;
}

void TspSkinMainMenuBar::BeforeChangeSkinData()
{
    inherited::BeforeChangeSkinData();
    FRecord = nullptr;
    FPicture = nullptr;
    ClearObjects();
}

void TspSkinMainMenuBar::ChangeSkinData()
{
    GetSkinData();
    CreateMenu();
    if (Skinned())
        SetHeight(RectHeight(FRecord->SkinRect));
    else if (DefaultHeight > 0)
        SetHeight(DefaultHeight);
    Invalidate();
}

void TspSkinMainMenuBar::SetBounds(int left, int top, int width, int height)
{
    if (Skinned())
        height = RectHeight(FRecord->SkinRect);
    inherited::SetBounds(left, top, width, height);
    CalcRects();
}

// ---- Building the objects ---------------------------------------------------------------------------------------

void TspSkinMainMenuBar::Retire(std::vector<std::unique_ptr<TspMenuBarObject>>::iterator first,
    std::vector<std::unique_ptr<TspMenuBarObject>>::iterator last)
{
    for (auto it = first; it != last; ++it)
        Retired.push_back(std::move(*it));
    Objects.erase(first, last);
}

void TspSkinMainMenuBar::ResetIndexes()
{
    ActiveObjectIndex = OldActiveObjectIndex = PressedObjectIndex = -1;
}

void TspSkinMainMenuBar::ClearObjects()
{
    Retire(Objects.begin(), Objects.end());
    ButtonCount = 0;
    ResetIndexes();
}

TMainMenu* TspSkinMainMenuBar::GetChildMainMenu() const
{
    if (FMergeMenu)
        return FMergeMenu;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    if (!child)
        return nullptr;
    for (int i = 0; i < child->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(child->Components(i)))
            return menu;
    return nullptr;
}

void TspSkinMainMenuBar::CreateMenu()
{
    ClearObjects();
    FMerged = false;
    const bool mdiMain = FSkinForm && FSkinForm->Form()->FormStyle() == fsMDIForm;
    TMainMenu* childMenu = mdiMain || FMergeMenu ? GetChildMainMenu() : nullptr;
    if (!FMainMenu)
        return;
    const auto* itemRecord
        = FRecord ? SkinObject<TspDataSkinMainMenuBarItem>(SkinData(), FRecord->MenuBarItem) : nullptr;
    std::vector<TMenuItem*> items;
    TMenuItem* main = FMainMenu->Items();
    if (!childMenu) {
        for (int i = 0; i < main->Count(); ++i)
            items.push_back(main->Items(i));
    } else {
        // A child item takes the place of the main items of its group; the groups keep their order.
        ScrollMenu = false;
        FMerged = true;
        TMenuItem* child = childMenu->Items();
        auto childHasGroup = [child](uint8_t group) {
            for (int i = 0; i < child->Count(); ++i)
                if (child->Items(i)->GroupIndex() == group)
                    return true;
            return false;
        };
        for (int i = 0; i < main->Count(); ++i)
            if (!childHasGroup(main->Items(i)->GroupIndex()))
                items.push_back(main->Items(i));
        for (int i = 0; i < child->Count(); ++i)
            items.push_back(child->Items(i));
        std::stable_sort(items.begin(), items.end(),
            [](const TMenuItem* a, const TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
    }
    for (TMenuItem* item : items)
        if (item->Visible())
            Objects.push_back(std::make_unique<TspSkinMainMenuBarItem>(this, itemRecord, item));
    if (FMDIChildMaximized) {
        AddButtons();
        CheckButtons(GetMDIChildSkinFormComponent());
    }
}

void TspSkinMainMenuBar::AddButtons()
{
    struct TSlot {
        std::string TspDataSkinMainMenuBar::*Name;
        const char* PlainName;
        TStdCommand Command;
    };
    // Inserted at the head one by one: the list starts system menu, close, maximize, minimize.
    const TSlot slots[] = {
        { &TspDataSkinMainMenuBar::MinButton, "MinButton", cmMinimize },
        { &TspDataSkinMainMenuBar::MaxButton, "MaxButton", cmMaximize },
        { &TspDataSkinMainMenuBar::CloseButton, "CloseButton", cmClose },
        { &TspDataSkinMainMenuBar::SysMenuButton, "SysMenuButton", cmSysMenu },
    };
    for (const TSlot& slot : slots) {
        const std::string name = FRecord ? FRecord->*slot.Name : std::string(slot.PlainName);
        const auto* record = SkinObject<TspDataSkinStdButton>(SkinData(), name);
        // Without a skinned record a button keeps the command of its place.
        auto button = std::make_unique<TspSkinMainMenuBarButton>(this, FRecord ? record : nullptr, slot.Command);
        if (!FRecord)
            button->Command = slot.Command;
        button->IDName = name;
        Objects.insert(Objects.begin(), std::move(button));
    }
    ButtonCount = 4;
}

void TspSkinMainMenuBar::DeleteButtons()
{
    Retire(Objects.begin(), Objects.begin() + std::min<ptrdiff_t>(ButtonCount, ptrdiff_t(Objects.size())));
    ButtonCount = 0;
    ResetIndexes();
}

void TspSkinMainMenuBar::CheckButtons(const TspSkinForm* child)
{
    if (!child)
        return;
    const TspBorderIcons icons = child->BorderIcons();
    for (int i = 0; i < ButtonCount; ++i) {
        auto* button = static_cast<TspSkinMainMenuBarButton*>(Objects[size_t(i)].get());
        button->Enabled = true;
        if (button->Command == cmMinimize && !icons.Contains(TspBorderIcon::biMinimize))
            button->Enabled = false;
        if (button->Command == cmSysMenu && !icons.Contains(TspBorderIcon::biSystemMenu))
            button->Enabled = false;
    }
}

void TspSkinMainMenuBar::Merge(TMainMenu* menu)
{
    if (FMergeMenu)
        FMergeMenu->RemoveFreeNotification(this);
    FMergeMenu = menu;
    if (FMergeMenu)
        FMergeMenu->FreeNotification(this);
    UpDateItems();
}

void TspSkinMainMenuBar::UnMerge()
{
    Merge(nullptr);
}

void TspSkinMainMenuBar::UpDateItems()
{
    CreateMenu();
    Invalidate();
    ResetIndexes();
    FMouseTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::UpDateEnabledItems()
{
    for (auto& object : Objects)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get())) {
            item->SavedEnabled = item->MenuItem->Enabled();
            if (item->Shown)
                item->Enabled = item->SavedEnabled;
        }
    Invalidate();
}

void TspSkinMainMenuBar::MDIChildMaximize()
{
    if (FMDIChildMaximized)
        return;
    FMDIChildMaximized = true;
    ResetIndexes();
    AddButtons();
    CheckButtons(GetMDIChildSkinFormComponent());
    Invalidate();
}

void TspSkinMainMenuBar::MDIChildRestore()
{
    TspSkinForm* maximized = GetMDIChildSkinFormComponent();
    if (!maximized && FMDIChildMaximized) {
        FMDIChildMaximized = false;
        DeleteButtons();
        Invalidate();
    } else if (maximized) {
        CheckButtons(maximized);
    }
}

// ---- Layout -----------------------------------------------------------------------------------------------------

TRect TspSkinMainMenuBar::MarkerRect() const
{
    return Rect(ItemsArea.Right - 5, ItemsArea.Top, ItemsArea.Right, ItemsArea.Bottom);
}

void TspSkinMainMenuBar::CalcRects()
{
    if (Skinned()) {
        ItemsArea = FRecord->ItemsRect;
        ItemsArea.Right += Width() - RectWidth(FRecord->SkinRect);
    } else {
        ItemsArea = Rect(2, 2, Width() - 2, Height() - 2);
    }
    // The buttons: the system menu at the left end, close, maximize and minimize from the right end.
    for (int i = 0; i < ButtonCount && size_t(i) < Objects.size(); ++i) {
        auto* button = static_cast<TspSkinMainMenuBarButton*>(Objects[size_t(i)].get());
        const int areaHeight = RectHeight(ItemsArea);
        const bool skinned = button->Skinned && button->Picture;
        const int w = skinned ? RectWidth(button->SkinRect) : areaHeight;
        const int h = skinned ? RectHeight(button->SkinRect) : areaHeight;
        const int top = skinned ? ItemsArea.Top + areaHeight / 2 - h / 2 : ItemsArea.Top;
        if (i == 0) {
            button->ObjectRect = Rect(ItemsArea.Left, top, ItemsArea.Left + w, top + h);
            ItemsArea.Left += w + 2;
        } else {
            button->ObjectRect = Rect(ItemsArea.Right - w, top, ItemsArea.Right, top + h);
            ItemsArea.Right -= w + 2;
        }
    }
    // The items one after another; those that would pass the end (less the marker's room) are left out.
    TBitmap measure;
    measure.SetSize(1, 1);
    const int limit = ItemsArea.Right - (ScrollMenu ? 5 : 0);
    int x = ItemsArea.Left;
    Overflow = false;
    for (size_t i = size_t(ButtonCount); i < Objects.size(); ++i) {
        auto* item = static_cast<TspSkinMainMenuBarItem*>(Objects[i].get());
        const int width = item->ItemWidth(measure.Canvas());
        const int height = Skinned() && item->Record ? RectHeight(item->Record->SkinRect) : RectHeight(ItemsArea);
        item->ObjectRect = Rect(x, ItemsArea.Top, x + width, ItemsArea.Top + height);
        const bool fits = item->ObjectRect.Right <= limit;
        item->SetShown(fits);
        if (!fits)
            Overflow = true;
        x = item->ObjectRect.Right;
    }
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TspSkinMainMenuBar::CreateControlDefaultImage(TBitmap* bitmap)
{
    PaintMenuBar(bitmap);
}

void TspSkinMainMenuBar::CreateControlSkinImage(TBitmap* bitmap)
{
    PaintMenuBar(bitmap);
}

void TspSkinMainMenuBar::PaintMenuBar(TBitmap* image)
{
    TCanvas* canvas = image->Canvas();
    if (!Skinned()) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(0, 0, image->Width(), image->Height()));
    } else if (SkinData()->MainMenuBarTransparent) {
        GetParentImage(this, canvas);
    } else {
        // The items rectangle is in the bar's own coordinates: the parts left and right of it keep their size.
        const TRect& s = FRecord->SkinRect;
        const TRect& items = FRecord->ItemsRect;
        CreateHSkinImage(std::max(items.Left, 0), std::max(RectWidth(s) - items.Right, 0), image, FPicture, s, Width(),
            Height(), FRecord->StretchEffect);
        image->SetSize(Width(), Height());
    }
    CalcRects();
    for (auto& object : Objects)
        if (object->Visible)
            object->Draw(canvas);
    if (Overflow && ScrollMenu) {
        const TColor color = Skinned() ? (MarkerActive ? FRecord->TrackMarkActiveColor : FRecord->TrackMarkColor)
                                       : (MarkerActive ? clBtnText : clBtnShadow);
        DrawArrowImage(canvas, MarkerRect(), color, 2);
    }
}

void TspSkinMainMenuBar::DrawSkinObject(TspMenuBarObject* object)
{
    if (!HandleAllocated() || !Visible())
        return;
    if (Skinned() && FRecord->ItemTransparent && dynamic_cast<TspSkinMainMenuBarItem*>(object)) {
        Repaint();
        return;
    }
    if (object->Visible)
        object->Draw(Canvas());
}

// ---- Mouse ------------------------------------------------------------------------------------------------------

void TspSkinMainMenuBar::TestActive(int x, int y)
{
    int hit = -1;
    for (int i = 0; i < ObjectCount(); ++i)
        if (Objects[size_t(i)]->Enabled && Objects[size_t(i)]->Visible && InRect(Objects[size_t(i)]->ObjectRect, x, y)) {
            hit = i;
            break;
        }
    // In menu mode the item whose submenu is open stays the active one between items.
    if (hit == -1 && MenuMode && ActiveObjectIndex != -1
        && dynamic_cast<TspSkinMainMenuBarItem*>(Objects[size_t(ActiveObjectIndex)].get()))
        hit = ActiveObjectIndex;
    // While an object holds the mouse no other one becomes active.
    if (PressedObjectIndex != -1 && hit != PressedObjectIndex)
        hit = -1;
    if (Overflow && ScrollMenu) {
        const bool overMarker = InRect(MarkerRect(), x, y);
        if (overMarker != MarkerActive) {
            MarkerActive = overMarker;
            Invalidate();
        }
    }
    if (hit == ActiveObjectIndex)
        return;
    OldActiveObjectIndex = ActiveObjectIndex;
    ActiveObjectIndex = hit;
    if (OldActiveObjectIndex != -1 && OldActiveObjectIndex < ObjectCount()
        && Objects[size_t(OldActiveObjectIndex)]->Enabled)
        Objects[size_t(OldActiveObjectIndex)]->MouseLeave();
    if (ActiveObjectIndex != -1 && ActiveObjectIndex < ObjectCount() && Objects[size_t(ActiveObjectIndex)]->Enabled)
        Objects[size_t(ActiveObjectIndex)]->MouseEnter();
}

void TspSkinMainMenuBar::TestMouse()
{
    POINT cursor {};
    GetCursorPos(&cursor);
    const TPoint p = ScreenToClient(TPoint { cursor.x, cursor.y });
    if (!HandleAllocated() || WindowFromPoint(cursor) != Handle() || !InRect(ClientRect(), p.X, p.Y)) {
        FMouseTimer->SetEnabled(false);
        TestActive(-1, -1);
        return;
    }
    TestActive(p.X, p.Y);
}

void TspSkinMainMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Retired.clear();
    inherited::MouseDown(button, shift, x, y);
    TestActive(x, y);
    if (ActiveObjectIndex == -1) {
        if (Overflow && ScrollMenu && InRect(MarkerRect(), x, y))
            TrackScrollMenu();
        return;
    }
    PressedObjectIndex = ActiveObjectIndex;
    TspMenuBarObject* object = Objects[size_t(ActiveObjectIndex)].get();
    object->MouseDown(x, y, button);
    if (shift.Contains(ssDouble) && ActiveObjectIndex != -1 && ActiveObjectIndex < ObjectCount()
        && Objects[size_t(ActiveObjectIndex)].get() == object)
        object->DblClick();
}

void TspSkinMainMenuBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Retired.clear();
    inherited::MouseUp(button, shift, x, y);
    const int pressed = PressedObjectIndex;
    PressedObjectIndex = -1;
    if (pressed != -1 && pressed < ObjectCount())
        Objects[size_t(pressed)]->MouseUp(x, y, button);
}

void TspSkinMainMenuBar::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    FMouseTimer->SetEnabled(true);
    TestActive(x, y);
}

void TspSkinMainMenuBar::TrackScrollMenu()
{
    TspSkinMenu* menu = FSkinForm ? FSkinForm->SkinMenu() : nullptr;
    if (!menu || !FMainMenu)
        return;
    int shown = 0;
    for (auto& object : Objects)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get()); item && item->Shown)
            ++shown;
    const TRect marker = MarkerRect();
    const TPoint topLeft = ClientToScreen(TPoint { marker.Left, marker.Top });
    const TRect r = Rect(topLeft.X, topLeft.Y, topLeft.X + RectWidth(marker), topLeft.Y + RectHeight(marker));
    FSkinForm->SkinMenuOpen();
    TMainMenu* child = FSkinForm->Form()->FormStyle() == fsMDIForm || FMergeMenu ? GetChildMainMenu() : nullptr;
    if (child)
        menu->Popup2(nullptr, SkinData(), shown, r, FMainMenu->Items(), child->Items(), false);
    else
        menu->Popup(nullptr, SkinData(), shown, r, FMainMenu->Items(), false);
}

void TspSkinMainMenuBar::StartMorphTimer()
{
    FMorphTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::TestMorph()
{
    bool stepped = false;
    // A step may not change the list, but the list is walked by index all the same.
    for (size_t i = 0; i < Objects.size(); ++i) {
        TspMenuBarObject* object = Objects[i].get();
        if (object->Visible && object->EnableMorphing() && object->CanMorphing()) {
            object->DoMorphing();
            stepped = true;
        }
    }
    if (!stepped)
        FMorphTimer->SetEnabled(false);
}

// ---- Keyboard -----------------------------------------------------------------------------------------------------

std::vector<TspSkinMainMenuBarItem*> TspSkinMainMenuBar::ReachableItems() const
{
    std::vector<TspSkinMainMenuBarItem*> items;
    for (const auto& object : Objects)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get()); item && item->Shown && item->Enabled)
            items.push_back(item);
    return items;
}

void TspSkinMainMenuBar::MenuEnter()
{
    MenuMode = true;
    const std::vector<TspSkinMainMenuBarItem*> items = ReachableItems();
    auto active = std::find_if(items.begin(), items.end(), [](auto* item) { return item->Active; });
    // An item left out for want of room, or a disabled one, cannot show the highlight.
    if (active != items.end())
        (*active)->MouseEnter();
    else if (!items.empty())
        items.front()->MouseEnter();
    if (!FSkinForm)
        return;
    FSkinForm->HookApp();
    FSkinForm->MainMenuActive = true;
    if (FSkinForm->OnMainMenuEnter)
        FSkinForm->OnMainMenuEnter(this);
}

void TspSkinMainMenuBar::StepMainMenuItem(int direction)
{
    const std::vector<TspSkinMainMenuBarItem*> items = ReachableItems();
    if (items.empty())
        return;
    const int count = static_cast<int>(items.size());
    auto current = std::find_if(items.begin(), items.end(), [](auto* item) { return item->Active || item->Down; });
    if (current == items.end()) {
        (direction > 0 ? items.front() : items.back())->MouseEnter();
        return;
    }
    const int index = static_cast<int>(current - items.begin());
    (*current)->MouseLeave();
    // Entering the next item moves an open submenu along with the highlight.
    items[size_t((index + direction + count) % count)]->MouseEnter();
}

void TspSkinMainMenuBar::NextMainMenuItem()
{
    StepMainMenuItem(1);
}

void TspSkinMainMenuBar::PriorMainMenuItem()
{
    StepMainMenuItem(-1);
}

bool TspSkinMainMenuBar::CheckReturnKey()
{
    const bool menuOpen = FSkinForm && FSkinForm->SkinMenuOpened;
    for (const auto& object : Objects) {
        auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get());
        if (!item)
            continue;
        const bool leafDown = item->Down && item->MenuItem->Count() == 0;
        if (!leafDown && !(item->Active && !menuOpen))
            continue;
        item->Active = false;
        // The click may rebuild the bar: nothing of the item is used after it.
        item->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

bool TspSkinMainMenuBar::FindHotKeyItem(WORD key)
{
    if (!FSkinForm || !FSkinForm->Form()->Visible())
        return false;
    for (TspSkinMainMenuBarItem* item : ReachableItems()) {
        if (!IsAccel(key, item->MenuItem->Caption()))
            continue;
        // With another item's submenu open, entering the item moves the submenu to it.
        const bool pressed = !FSkinForm->SkinMenuOpened || item->MenuItem->Count() == 0;
        item->MouseEnter();
        if (pressed)
            item->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TspSkinMainMenuBar::MenuClose()
{
    for (const auto& object : Objects)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get()); item && item->Down) {
            item->Down = false;
            item->Active = true;
            item->MorphKf = 1;
            DrawSkinObject(item);
            return;
        }
}

void TspSkinMainMenuBar::MenuExit()
{
    MenuMode = false;
    for (auto& object : Objects)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get()); item && (item->Down || item->Active)) {
            item->Active = item->MouseOver = item->Down = false;
            if (item->EnableMorphing())
                item->MorphKf = 1;
            if (item->EnableAnimation() && !item->Record->InActiveAnimation) {
                item->CurrentFrame = 0;
                DrawSkinObject(item);
            }
            item->Redraw();
            break;
        }
    ResetIndexes();
}

void TspSkinMainMenuBar::StartAnimateTimer(int interval)
{
    // A skin's interval of 0 or below would never tick: the usual 25 ms stands in.
    FAnimateTimer->SetInterval(uint32_t(interval > 0 ? interval : 25));
    FAnimateTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::TestAnimate()
{
    bool stepped = false;
    for (size_t i = 0; i < Objects.size(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(Objects[i].get());
            item && item->Visible && item->EnableAnimation() && item->StepAnimation())
            stepped = true;
    if (!stepped)
        FAnimateTimer->SetEnabled(false);
}

void TspSkinMainMenuBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        break;
    case WM_MOVE:
        inherited::WndProc(message);
        if (Skinned() && SkinData()->MainMenuBarTransparent && Align() == alNone)
            Repaint();
        break;
    case WM_CHECKPARENTBG:
        if (Skinned() && SkinData()->MainMenuBarTransparent)
            Repaint();
        break;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        FMouseTimer->SetEnabled(true);
        break;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        FMouseTimer->SetEnabled(false);
        TestActive(-1, -1);
        break;
    case WM_CLOSESKINMENU:
        // The system menu opened by a child's button closed: the button comes up.
        for (int i = 0; i < ButtonCount && size_t(i) < Objects.size(); ++i)
            if (auto* button = static_cast<TspSkinMainMenuBarButton*>(Objects[size_t(i)].get());
                button->Command == cmSysMenu && button->Down) {
                button->Down = false;
                if (i != ActiveObjectIndex)
                    button->Active = button->MouseOver = false;
                button->Redraw();
            }
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}
