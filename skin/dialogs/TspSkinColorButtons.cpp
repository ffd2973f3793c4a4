#include "skin/dialogs/TspSkinColorButtons.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/TspSkinColorDialog.h"
#include "skin/menus/TspSkinImagesMenu.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr std::array<TColor, 40> kColorButtonColors { 0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000,
    0x353333, 0x333333, 0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080, 0x0000FF,
    0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999, 0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00,
    0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0, 0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC,
    0xFFFFFF };
constexpr std::array<TColor, 16> kTextColorButtonColors { 0x000000, 0x808080, 0x000080, 0x008080, 0x008000,
    0x800000, 0x808000, 0x800080, 0xFFFFFF, 0xC0C0C0, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF };

void AddSwatch(TCustomImageList* images, TColor color)
{
    TBitmap swatch;
    swatch.SetPixelFormat(pf24bit);
    swatch.SetSize(12, 12);
    swatch.Canvas()->Brush()->SetColor(color);
    swatch.Canvas()->FillRect({ 0, 0, 12, 12 });
    images->Add(&swatch, nullptr);
}

} // namespace

TspColorMenuButton::TspColorMenuButton(TComponent* owner, std::span<const TColor> colors, bool rebuildOnChange)
    : inherited(owner)
    , FColors(colors)
    , FRebuildOnChange(rebuildOnChange)
    , FImages(new TCustomImageList(this))
    , FMenu(new TspSkinImagesMenu(this))
{
    ColorMarker = true;
    ColorMarkerValue = FColorValue;
    FMenu->SetImages(FImages);
    FMenu->OnItemClick = [this](TObject* sender) { OnImagesMenuClick(sender); };
    FMenu->OnMenuPopup = [this](TObject* sender) { OnImagesMenuPopup(sender); };
}

TspColorMenuButton::~TspColorMenuButton()
{
    FImages->Clear();
    // Deleting the menu tells this button, which forgets it, so the speed button's teardown finds no menu.
    delete FMenu;
    delete FImages;
}

bool TspColorMenuButton::Quiet() const
{
    return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
}

void TspColorMenuButton::SetColorValue(TColor value)
{
    FColorValue = value;
    ColorMarkerValue = value;
    Repaint();
    if (!Quiet() && OnChangeColor)
        OnChangeColor(this);
}

void TspColorMenuButton::SetShowAutoColor(bool value)
{
    if (value == FShowAutoColor)
        return;
    FShowAutoColor = value;
    if (FRebuildOnChange && !Quiet())
        InitColors();
}

void TspColorMenuButton::SetShowMoreColor(bool value)
{
    if (value == FShowMoreColor)
        return;
    FShowMoreColor = value;
    if (FRebuildOnChange && !Quiet())
        InitColors();
}

void TspColorMenuButton::SetColorDialog(TspSkinColorDialog* value)
{
    FColorDialog = value;
    if (value)
        value->FreeNotification(this);
}

bool TspColorMenuButton::MenuUseSkinFont() const { return FMenu->UseSkinFont; }
void TspColorMenuButton::SetMenuUseSkinFont(bool value) { FMenu->UseSkinFont = value; }
TFont* TspColorMenuButton::MenuDefaultFont() const { return FMenu->DefaultFont(); }
void TspColorMenuButton::SetMenuDefaultFont(TFont* value) { FMenu->SetDefaultFont(value); }
bool TspColorMenuButton::MenuAlphaBlend() const { return FMenu->AlphaBlend; }
void TspColorMenuButton::SetMenuAlphaBlend(bool value) { FMenu->AlphaBlend = value; }
int TspColorMenuButton::MenuAlphaBlendValue() const { return FMenu->AlphaBlendValue; }
// The menu keeps a byte: clamping keeps 300 from wrapping round to a nearly clear 44.
void TspColorMenuButton::SetMenuAlphaBlendValue(int value) { FMenu->AlphaBlendValue = uint8_t(std::clamp(value, 0, 255)); }
bool TspColorMenuButton::MenuAlphaBlendAnimation() const { return FMenu->AlphaBlendAnimation; }
void TspColorMenuButton::SetMenuAlphaBlendAnimation(bool value) { FMenu->AlphaBlendAnimation = value; }

TColor TspColorMenuButton::ItemColor(int index) const
{
    // "Automatic" follows AutoColor as it is now, not as it was when the menu was filled.
    if (FMenuHasAuto && index == 0)
        return AutoColor;
    return index >= 0 && index < static_cast<int>(FItemColors.size()) ? FItemColors[static_cast<size_t>(index)]
                                                                       : clBlack;
}

void TspColorMenuButton::Loaded()
{
    inherited::Loaded();
    InitColors();
}

void TspColorMenuButton::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FColorDialog)
        FColorDialog = nullptr;
}

void TspColorMenuButton::InitColors()
{
    SetSkinImagesMenu(FMenu);
    SetSkinPopupMenu(nullptr);
    FImages->Clear();
    FMenu->ImagesItems()->Clear();
    FItemColors.clear();
    FMenuHasAuto = FShowAutoColor;
    FMenuHasMore = FShowMoreColor;
    FMenu->SetColumnsCount(8);
    FMenu->SetSkinData(SkinData());
    FMenu->ItemIndex = 0;
    TspSkinData* skin = FMenu->SkinData();
    const auto text = [skin](const char* key, const char* english) {
        return skin && skin->ResourceStrData() ? skin->ResourceStrData()->GetResStr(key) : std::string(english);
    };
    const auto add = [this](int imageIndex, TColor color, const std::string& caption, bool button) {
        TspImagesMenuItem* item = FMenu->ImagesItems()->Add();
        item->SetImageIndex(imageIndex);
        item->SetCaption(caption);
        item->Button = button;
        FItemColors.push_back(color);
    };
    if (FShowAutoColor)
        add(0, AutoColor, text("AUTOCOLOR", "Automatic"), true);
    for (size_t i = 0; i < FColors.size(); ++i)
        add(static_cast<int>(i) + 1, FColors[i], {}, false);

    FImages->SetWidth(12);
    FImages->SetHeight(12);
    FImages->SetDrawingStyle(dsNormal);
    // Image n stays entry n: without "Automatic" a black picture holds place 0.
    if (!FShowAutoColor)
        AddSwatch(FImages, clBlack);
    for (TColor color : FItemColors)
        AddSwatch(FImages, color);
    if (FShowMoreColor)
        add(-1, clBlack, text("MORECOLORS", "More colors..."), true);
}

void TspColorMenuButton::OnImagesMenuPopup(TObject*)
{
    // Every colour can be preselected; only the "More colors..." entry, when there is one, cannot.
    const int count = static_cast<int>(FItemColors.size()) - (FMenuHasMore ? 1 : 0);
    const int32_t wanted = ColorToRGB(FColorValue);
    for (int i = 0; i < count; ++i)
        if (ColorToRGB(ItemColor(i)) == wanted) {
            FMenu->ItemIndex = i;
            return;
        }
    FMenu->ItemIndex = FMenuHasMore ? static_cast<int>(FItemColors.size()) - 1 : -1;
}

void TspColorMenuButton::OnImagesMenuClick(TObject*)
{
    const int index = FMenu->ItemIndex;
    if (index < 0 || index >= static_cast<int>(FItemColors.size()))
        return;
    const bool moreColors = FMenuHasMore && index == static_cast<int>(FItemColors.size()) - 1;
    if (!moreColors) {
        SetColorValue(ItemColor(index));
        return;
    }
    if (FColorDialog) {
        FColorDialog->Color = FColorValue;
        if (FColorDialog->Execute())
            SetColorValue(FColorDialog->Color);
        return;
    }
    auto dialog = std::make_unique<TspSkinColorDialog>(this);
    dialog->SetSkinData(SkinData());
    dialog->SetCtrlSkinData(SkinData());
    dialog->Color = FColorValue;
    if (dialog->Execute())
        SetColorValue(dialog->Color);
}

TspSkinColorButton::TspSkinColorButton(TComponent* owner)
    : TspColorMenuButton(owner, kColorButtonColors, true)
{
    InitColors();
}

TspSkinTextColorButton::TspSkinTextColorButton(TComponent* owner)
    : TspColorMenuButton(owner, kTextColorButtonColors, false)
{
}
