#include "skin/controls/SkinButtonsBar.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCtrlsLayout.h"

#include <algorithm>

namespace {

constexpr int kScrollButtonSize = 18;
constexpr int kScrollButtonGap = 5;
constexpr int kScrollRepeatInterval = 150;

void SetBarFont(TFont* font)
{
    font->SetName("Arial");
    font->SetStyle({});
    font->SetHeight(14);
}

// The arrow of a scroll button: a black triangle 7 wide at its base on a fuchsia ground (left out when drawn).
void LoadButtonsBarArrow(TBitmap* bitmap, bool up)
{
    bitmap->SetSize(9, 9);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(0, 0, 9, 9));
    canvas->Brush()->SetColor(clBlack);
    for (int row = 0; row < 4; ++row) {
        const int y = up ? 3 + row : 6 - row;
        canvas->FillRect(Rect(1 + row, y, 8 - row, y + 1));
    }
    bitmap->SetTransparentColor(clFuchsia);
    bitmap->SetTransparent(true);
}

} // namespace

// ---- TspButtonBarItem --------------------------------------------------------------------------------------------

TspButtonBarItem::TspButtonBarItem(TCollection* collection)
    : inherited(collection)
{
}

void TspButtonBarItem::SetText(std::string_view value)
{
    if (FText == value)
        return;
    FText = value;
    Changed(false);
}

void TspButtonBarItem::SetImageIndex(int value)
{
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Changed(false);
}

void TspButtonBarItem::SetLayout(TspButtonLayout value)
{
    FLayout = value;
    Changed(false);
}

void TspButtonBarItem::SetMargin(int value)
{
    FMargin = value;
    Changed(false);
}

void TspButtonBarItem::SetSpacing(int value)
{
    FSpacing = value;
    Changed(false);
}

void TspButtonBarItem::Click()
{
    if (OnClick)
        OnClick(this);
}

void TspButtonBarItem::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TspButtonBarItem::Assign(TPersistent* source)
{
    auto* item = dynamic_cast<TspButtonBarItem*>(source);
    if (!item) {
        inherited::Assign(source);
        return;
    }
    FText = item->FText;
    FImageIndex = item->FImageIndex;
    FTag = item->FTag;
    OnClick = item->OnClick;
    OnDblClick = item->OnDblClick;
    FLayout = item->FLayout;
    FMargin = item->FMargin;
    FSpacing = item->FSpacing;
}

std::string TspButtonBarItem::GetDisplayName() const
{
    return FText.empty() ? inherited::GetDisplayName() : FText;
}

// ---- TspButtonBarItems -------------------------------------------------------------------------------------------

TspButtonBarItems::TspButtonBarItems(TspButtonBarSection* section)
    : inherited(CollectionItemClass<TspButtonBarItem>())
    , FSection(section)
{
}

TPersistent* TspButtonBarItems::GetOwner() const
{
    return FSection;
}

void TspButtonBarItems::Update(TCollectionItem*)
{
    FSection->ItemsChanged();
}

// ---- TspButtonBarSection -----------------------------------------------------------------------------------------

TspButtonBarSection::TspButtonBarSection(TCollection* collection)
    : inherited(collection)
    , FItems(std::make_unique<TspButtonBarItems>(this))
{
}

TspButtonBarSection::~TspButtonBarSection() = default;

void TspButtonBarSection::SetText(std::string_view value)
{
    if (FText == value)
        return;
    FText = value;
    Changed(false);
}

void TspButtonBarSection::SetImageIndex(int value)
{
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Changed(false);
}

void TspButtonBarSection::SetMargin(int value)
{
    FMargin = value;
    Changed(false);
}

void TspButtonBarSection::SetSpacing(int value)
{
    FSpacing = value;
    Changed(false);
}

void TspButtonBarSection::Click()
{
    if (OnClick)
        OnClick(this);
}

void TspButtonBarSection::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TspButtonBarSection::Assign(TPersistent* source)
{
    auto* section = dynamic_cast<TspButtonBarSection*>(source);
    if (!section) {
        inherited::Assign(source);
        return;
    }
    FText = section->FText;
    FImageIndex = section->FImageIndex;
    FTag = section->FTag;
    OnClick = section->OnClick;
    OnDblClick = section->OnDblClick;
    FMargin = section->FMargin;
    FSpacing = section->FSpacing;
}

std::string TspButtonBarSection::GetDisplayName() const
{
    return FText.empty() ? inherited::GetDisplayName() : FText;
}

// ---- TspButtonBarSections ----------------------------------------------------------------------------------------

TspButtonBarSections::TspButtonBarSections(TspSkinButtonsBar* bar)
    : inherited(CollectionItemClass<TspButtonBarSection>())
    , FBar(bar)
{
}

TPersistent* TspButtonBarSections::GetOwner() const
{
    return FBar;
}

void TspButtonBarSections::Update(TCollectionItem* item)
{
    FBar->SectionsChanged(item);
}

// ---- TspSectionButton --------------------------------------------------------------------------------------------

TspSectionButton::TspSectionButton(TComponent* owner, TspSkinButtonsBar* bar, int sectionIndex)
    : inherited(owner)
    , FBar(bar)
    , FSectionIndex(sectionIndex)
{
    SetNumGlyphs(1);
    SetSpacing(5);
    SetSkinDataName(bar->SectionButtonSkinDataName());
    SetDefaultFont(bar->DefaultSectionFont());
    SetUseSkinFont(bar->UseSkinFont());
}

void TspSectionButton::ButtonClick()
{
    FBar->Sections()->Items(FSectionIndex)->Click();
    FBar->OpenSection(FSectionIndex);
    inherited::ButtonClick();
}

void TspSectionButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button == mbLeft && shift.Contains(ssDouble))
        FBar->Sections()->Items(FSectionIndex)->DblClick();
}

// ---- TspSectionItem ----------------------------------------------------------------------------------------------

TspSectionItem::TspSectionItem(TComponent* owner, TspSkinButtonsBar* bar, int sectionIndex, int itemIndex)
    : inherited(owner)
    , FBar(bar)
    , FSectionIndex(sectionIndex)
    , FItemIndex(itemIndex)
    , FWebStyle(bar->WebStyle())
{
    if (FWebStyle)
        SetCursor(crHandPoint);
    SetFlat(true);
    SetAlphaBlend(false);
    SetSkinDataName("resizebutton");
    SetNumGlyphs(1);
    SetLayout(blGlyphTop);
    SetSpacing(5);
    SetDefaultFont(bar->DefaultItemFont());
    SetUseSkinFont(bar->UseSkinFont());
}

TspButtonBarItem* TspSectionItem::BarItem() const
{
    return FBar->Sections()->Items(FSectionIndex)->Items()->Items(FItemIndex);
}

void TspSectionItem::ButtonClick()
{
    BarItem()->Click();
    inherited::ButtonClick();
}

void TspSectionItem::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button == mbLeft && shift.Contains(ssDouble))
        BarItem()->DblClick();
}

void TspSectionItem::Paint()
{
    if (FWebStyle)
        PaintWebStyle();
    else
        inherited::Paint();
}

void TspSectionItem::PaintWebStyle()
{
    // A link: no face, the text underlined while the pointer is over it, in the standard label's colours.
    TspSkinData* skin = SkinData();
    auto* label = SkinRecordAt<TspDataSkinStdLabelControl>(skin, skin ? skin->GetControlIndex("stdlabel") : -1);
    if (skin && skin->Empty)
        label = nullptr;
    const bool hot = Hot();
    TCanvas* canvas = Canvas();
    TFont* font = canvas->Font();
    if (SkinIndex != -1 && UseSkinFont()) {
        font->SetName(FontName);
        font->SetHeight(FontHeight);
        font->SetStyle(FontStyle);
    } else {
        font->Assign(DefaultFont());
    }
    if (label)
        font->SetColor(hot ? label->ActiveFontColor : label->FontColor);
    else
        font->SetColor(hot ? clBlue : DefaultFont()->Color());
    SkinLabels::ApplyCharset(font, skin, DefaultFont());
    TFontStyles style = font->Style();
    if (hot)
        style.Include(fsUnderline);
    else
        style.Exclude(fsUnderline);
    font->SetStyle(style);
    canvas->Brush()->SetStyle(bsClear);
    SkinCtrls::DrawImageAndText(canvas, ClientRect(), Margin(), Spacing(), Layout(), Caption(), ImageIndex(),
        ImageList(), false, Enabled(), false, 0);
}

// ---- TspSkinButtonsBar -------------------------------------------------------------------------------------------

TspSkinButtonsBar::TspSkinButtonsBar(TComponent* owner)
    : inherited(owner)
    , FSections(std::make_unique<TspButtonBarSections>(this))
    , FDefaultSectionFont(std::make_unique<TFont>())
    , FDefaultItemFont(std::make_unique<TFont>())
{
    SetBarFont(FDefaultSectionFont.get());
    SetBarFont(FDefaultItemFont.get());
    SetBorderStyle(TspSkinBorderStyle::bvFrame);
    SetBounds(Left(), Top(), 150, Height());
    SetAlign(alLeft);
    FItemPanel = new TspSkinPanel(this);
    FItemPanel->SetParent(this);
    FItemPanel->SetAlign(alClient);
    FItemPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    FItemPanel->OnResize = [this](TObject*) { CheckVisibleItems(); };
}

TspSkinButtonsBar::~TspSkinButtonsBar()
{
    // The item panel's resize must not reach a bar that is going away.
    FItemPanel->OnResize = nullptr;
    ClearItems();
    ClearSectionButtons();
}

bool TspSkinButtonsBar::Ready() const
{
    return HandleAllocated() && !ComponentState().Contains(csDestroying);
}

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinButtonsBar::SetSectionIndex(int value)
{
    if (value >= -1 && value < FSections->Count() && value != FSectionIndex)
        OpenSection(value);
}

void TspSkinButtonsBar::SetShowButtons(bool value)
{
    FShowButtons = value;
    UpdateSections();
}

void TspSkinButtonsBar::SetDefaultSectionFont(TFont* value)
{
    FDefaultSectionFont->Assign(value);
}

void TspSkinButtonsBar::SetDefaultItemFont(TFont* value)
{
    FDefaultItemFont->Assign(value);
}

void TspSkinButtonsBar::SetDefaultButtonHeight(int value)
{
    FDefaultButtonHeight = value;
    for (int i = 0; i < FSections->Count(); ++i)
        UpdateSection(i);
}

void TspSkinButtonsBar::SetItemHeight(int value)
{
    // The visible item count divides by the height.
    if (value < 1)
        return;
    FItemHeight = value;
    UpdateItems();
}

void TspSkinButtonsBar::SetItemsTransparent(bool value)
{
    FItemsTransparent = value;
    UpdateItems();
}

void TspSkinButtonsBar::SetItemImages(TCustomImageList* value)
{
    if (FItemImages)
        FItemImages->RemoveFreeNotification(this);
    FItemImages = value;
    if (FItemImages)
        FItemImages->FreeNotification(this);
    UpdateItems();
}

void TspSkinButtonsBar::SetSectionImages(TCustomImageList* value)
{
    if (FSectionImages)
        FSectionImages->RemoveFreeNotification(this);
    FSectionImages = value;
    if (FSectionImages)
        FSectionImages->FreeNotification(this);
    for (int i = 0; i < FSections->Count(); ++i)
        UpdateSection(i);
}

void TspSkinButtonsBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FItemImages)
        SetItemImages(nullptr);
    if (component == FSectionImages)
        SetSectionImages(nullptr);
}

void TspSkinButtonsBar::SetSkinData(TspSkinData* value)
{
    inherited::SetSkinData(value);
    if (FItemPanel)
        FItemPanel->SetSkinData(value);
    UpdateSections();
}

void TspSkinButtonsBar::ChangeSkinData()
{
    inherited::ChangeSkinData();
    CheckVisibleItems();
}

void TspSkinButtonsBar::CreateWnd()
{
    inherited::CreateWnd();
    UpdateSections();
    UpdateItems();
}

// ---- Sections ----------------------------------------------------------------------------------------------------

void TspSkinButtonsBar::SectionsChanged(TCollectionItem* item)
{
    if (item) {
        UpdateSection(item->Index());
        return;
    }
    // Sections may have gone: the open one must still exist before anything is rebuilt from it, and the items
    // on screen may belong to a section that is no more.
    FSectionIndex = std::min(FSectionIndex, FSections->Count() - 1);
    UpdateSections();
    UpdateItems();
}

void TspSkinButtonsBar::ClearSectionButtons()
{
    std::vector<TspSectionButton*> buttons;
    buttons.swap(FButtons);
    for (TspSectionButton* button : buttons)
        delete button;
}

void TspSkinButtonsBar::SetButtonImage(TspSkinSpeedButton* button, TCustomImageList* images, int imageIndex)
{
    if (imageIndex != -1 && images && imageIndex < images->Count()) {
        button->SetImageList(images);
        button->SetImageIndex(imageIndex);
    } else {
        button->SetImageList(nullptr);
        button->SetImageIndex(-1);
    }
}

void TspSkinButtonsBar::ApplySection(TspSectionButton* button, TspButtonBarSection* section)
{
    button->SetDefaultHeight(FDefaultButtonHeight);
    button->SetHint(section->Hint());
    button->SetMargin(section->Margin());
    button->SetSpacing(section->Spacing());
    button->SetShowHint(FShowItemHint);
    SetButtonImage(button, FSectionImages, section->ImageIndex());
}

void TspSkinButtonsBar::UpdateSections()
{
    if (!Ready())
        return;
    if (FSections->Count() == 0) {
        // Buttons and items of sections that no longer exist would read past the collection.
        ClearItems();
        ClearSectionButtons();
        return;
    }
    ClearSectionButtons();
    if (!FShowButtons) {
        CheckVisibleItems();
        return;
    }
    // Created top-aligned from the open section up to the first, bottom-aligned from the last down: each new
    // button goes below the top ones and above the bottom ones, so both groups stand in section order.
    auto make = [this](int index, TAlign align) {
        auto* button = new TspSectionButton(this, this, index);
        FButtons.push_back(button);
        button->SetAlign(align);
        button->SetParent(this);
        TspButtonBarSection* section = FSections->Items(index);
        button->SetSkinData(SkinData());
        button->SetCaption(section->Text());
        ApplySection(button, section);
    };
    for (int i = FSectionIndex; i >= 0; --i)
        make(i, alTop);
    for (int i = FSections->Count() - 1; i > FSectionIndex; --i)
        make(i, alBottom);
}

void TspSkinButtonsBar::UpdateSection(int index)
{
    if (!Ready() || FSections->Count() == 0)
        return;
    if (!FShowButtons) {
        UpdateItems();
        return;
    }
    for (TspSectionButton* button : FButtons) {
        if (button->SectionIndex() != index)
            continue;
        TspButtonBarSection* section = FSections->Items(index);
        ApplySection(button, section);
        const bool captionChanged = button->Caption() != section->Text();
        if (captionChanged)
            button->SetCaption(section->Text());
        button->Repaint();
        // A new caption is only a rename; anything else may concern the section's items.
        if (index == FSectionIndex && !captionChanged)
            UpdateItems();
    }
}

void TspSkinButtonsBar::OpenSection(int index)
{
    if (index == FSectionIndex)
        return;
    FSectionIndex = index;
    if (FShowButtons && index != -1) {
        for (TspSectionButton* button : FButtons)
            if (button->SectionIndex() > FSectionIndex && button->Align() != alBottom)
                button->SetAlign(alBottom);
        for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it)
            if ((*it)->SectionIndex() <= FSectionIndex && (*it)->Align() != alTop)
                (*it)->SetAlign(alTop);
    } else if (FShowButtons) {
        for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it)
            (*it)->SetAlign(alTop);
    }
    UpdateItems();
    if (index != -1)
        FSections->Items(index)->Click();
}

// ---- Items -------------------------------------------------------------------------------------------------------

void TspSkinButtonsBar::ClearItems()
{
    std::vector<TspSectionItem*> items;
    items.swap(FItems);
    for (TspSectionItem* item : items)
        delete item;
    // The scroll buttons are kept hidden rather than freed: the last scroll step hides the very button whose
    // click is running.
    if (FUpButton)
        FUpButton->SetVisible(false);
    if (FDownButton)
        FDownButton->SetVisible(false);
    FFirstVisible = 0;
    FVisibleCount = 0;
}

void TspSkinButtonsBar::UpdateItems()
{
    if (!Ready())
        return;
    if (FSections->Count() == 0) {
        ClearItems();
        return;
    }
    if (FShowButtons && FButtons.empty())
        return;
    ClearItems();
    if (FSectionIndex == -1)
        return;
    TspButtonBarSection* section = FSections->Items(FSectionIndex);
    if (section->Items()->Count() == 0)
        return;
    FFirstVisible = 0;
    for (int i = 0; i < section->Items()->Count(); ++i) {
        TspButtonBarItem* barItem = section->Items()->Items(i);
        auto* item = new TspSectionItem(FItemPanel, this, FSectionIndex, i);
        FItems.push_back(item);
        item->SetFlat(FItemsTransparent || FWebStyle);
        item->SetCursor(FWebStyle ? crHandPoint : crDefault);
        item->SetDefaultHeight(FItemHeight);
        item->SetSkinData(SkinData());
        item->SetCaption(barItem->Text());
        item->SetHint(barItem->Hint());
        item->SetShowHint(FShowItemHint);
        SetButtonImage(item, FItemImages, barItem->ImageIndex());
        item->SetLayout(barItem->Layout());
        item->SetMargin(barItem->Margin());
        item->SetSpacing(barItem->Spacing());
        item->SetVisible(false);
    }
    CheckVisibleItems();
}

void TspSkinButtonsBar::CheckVisibleItems()
{
    if (!FItemPanel)
        return;
    const int count = static_cast<int>(FItems.size());
    const int oldFirst = FFirstVisible;
    const int oldVisible = FVisibleCount;
    FVisibleCount = std::min(FItemPanel->Height() / FItemHeight, count);
    if (FVisibleCount == count)
        FFirstVisible = 0;
    else if (FFirstVisible + FVisibleCount > count && FFirstVisible > 0)
        FFirstVisible = std::max(FFirstVisible - (FVisibleCount - oldVisible), 0);
    for (int i = 0; i < count; ++i) {
        TspSectionItem* item = FItems[size_t(i)];
        const bool visible = i >= FFirstVisible && i <= FFirstVisible + FVisibleCount - 1;
        if (visible && !item->Visible()) {
            item->SetTop(i < oldFirst ? 0 : FItemPanel->Height());
        } else if (!visible) {
            item->SetVisible(false);
            item->SetParent(nullptr);
        }
    }
    ArangeItems();
}

TspSkinButton* TspSkinButtonsBar::MakeScrollButton(bool up)
{
    auto* button = new TspSkinButton(this);
    button->SetParent(FItemPanel);
    button->SetCanFocused(false);
    button->SetBounds(0, 0, kScrollButtonSize, kScrollButtonSize);
    button->SetSpacing(0);
    button->SetSkinDataName("resizebutton");
    button->SetRepeatMode(true);
    button->SetRepeatInterval(kScrollRepeatInterval);
    button->SetCaption("");
    button->SetNumGlyphs(1);
    TBitmap arrow;
    LoadButtonsBarArrow(&arrow, up);
    button->SetGlyph(&arrow);
    button->SetSkinData(SkinData());
    button->OnClick = [this, up](TObject*) {
        if (up)
            ScrollUp();
        else
            ScrollDown();
    };
    return button;
}

void TspSkinButtonsBar::ArangeItems()
{
    const int count = static_cast<int>(FItems.size());
    const int panelWidth = FItemPanel->Width();
    const int panelHeight = FItemPanel->Height();
    const int x = panelWidth - kScrollButtonSize - kScrollButtonGap;
    auto place = [&](TspSkinButton*& button, bool up, bool shown, int y) {
        if (shown) {
            if (!button)
                button = MakeScrollButton(up);
            button->SetBounds(x, y, kScrollButtonSize, kScrollButtonSize);
            button->SetVisible(true);
        } else if (button) {
            button->SetVisible(false);
        }
    };
    place(FUpButton, true, FFirstVisible > 0, kScrollButtonGap);
    place(FDownButton, false, FFirstVisible + FVisibleCount < count,
        panelHeight - kScrollButtonSize - kScrollButtonGap);
    int y = 0;
    for (int i = FFirstVisible; i < FFirstVisible + FVisibleCount && i < count; ++i) {
        TspSectionItem* item = FItems[size_t(i)];
        item->SetParent(FItemPanel);
        item->SetBounds(0, y, panelWidth, FItemHeight);
        item->SetVisible(true);
        y += FItemHeight;
    }
    // The arrows stand over the items.
    if (FUpButton && FUpButton->Visible())
        FUpButton->BringToFront();
    if (FDownButton && FDownButton->Visible())
        FDownButton->BringToFront();
}

void TspSkinButtonsBar::ScrollUp()
{
    if (FFirstVisible <= 0 || FVisibleCount <= 0)
        return;
    TspSectionItem* last = FItems[size_t(FFirstVisible + FVisibleCount - 1)];
    last->SetVisible(false);
    last->SetParent(nullptr);
    --FFirstVisible;
    ArangeItems();
}

void TspSkinButtonsBar::ScrollDown()
{
    const int count = static_cast<int>(FItems.size());
    if (FVisibleCount <= 0 || FFirstVisible + FVisibleCount >= count)
        return;
    TspSectionItem* first = FItems[size_t(FFirstVisible)];
    first->SetVisible(false);
    first->SetParent(nullptr);
    ++FFirstVisible;
    ArangeItems();
}

TspSkinButton* TspSkinButtonsBar::UpButton() const
{
    return FUpButton && FUpButton->Visible() ? FUpButton : nullptr;
}

TspSkinButton* TspSkinButtonsBar::DownButton() const
{
    return FDownButton && FDownButton->Visible() ? FDownButton : nullptr;
}
