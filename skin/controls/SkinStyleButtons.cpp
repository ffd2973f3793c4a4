#include "skin/controls/SkinStyleButtons.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "skin/controls/SkinStylePictures.h"
#include "skin/menus/TspSkinImagesMenu.h"

#include <algorithm>
#include <cassert>

// ---- TspSkinGraphicButton -----------------------------------------------------------------------------------------

TspSkinGraphicButton::TspSkinGraphicButton(TComponent* owner)
    : inherited(owner)
    , FImages(new TCustomImageList(this))
    , FMenu(new TspSkinImagesMenu(this))
{
    SetWidth(65);
    FMenu->SetImages(FImages);
    SetSkinImagesMenu(FMenu);
    SetUseImagesMenuImage(true);
    InitImages();
    InitItems();
}

TspSkinGraphicButton::~TspSkinGraphicButton()
{
    FImages->Clear();
    // Deleting the menu tells this button, which forgets it, so the speed button's teardown finds no menu.
    delete FMenu;
    delete FImages;
}

int TspSkinGraphicButton::ItemIndex() const
{
    return FMenu->ItemIndex;
}

void TspSkinGraphicButton::SetItemIndex(int value)
{
    FMenu->ItemIndex = value;
    Repaint();
}

TspSkinHint* TspSkinGraphicButton::MenuSkinHint() const
{
    return FMenu->SkinHint();
}
void TspSkinGraphicButton::SetMenuSkinHint(TspSkinHint* value)
{
    FMenu->SetSkinHint(value);
}
bool TspSkinGraphicButton::MenuShowHints() const
{
    return FMenu->ShowHints;
}
void TspSkinGraphicButton::SetMenuShowHints(bool value)
{
    FMenu->ShowHints = value;
}
TspImagesMenuItems* TspSkinGraphicButton::GraphicItems() const
{
    return FMenu->ImagesItems();
}
bool TspSkinGraphicButton::MenuUseSkinFont() const
{
    return FMenu->UseSkinFont;
}
void TspSkinGraphicButton::SetMenuUseSkinFont(bool value)
{
    FMenu->UseSkinFont = value;
}
TFont* TspSkinGraphicButton::MenuDefaultFont() const
{
    return FMenu->DefaultFont();
}
void TspSkinGraphicButton::SetMenuDefaultFont(TFont* value)
{
    FMenu->SetDefaultFont(value);
}
bool TspSkinGraphicButton::MenuAlphaBlend() const
{
    return FMenu->AlphaBlend;
}
void TspSkinGraphicButton::SetMenuAlphaBlend(bool value)
{
    FMenu->AlphaBlend = value;
}
int TspSkinGraphicButton::MenuAlphaBlendValue() const
{
    return FMenu->AlphaBlendValue;
}

void TspSkinGraphicButton::SetMenuAlphaBlendValue(int value)
{
    // The menu keeps a byte: clamping keeps 300 from wrapping round to a nearly clear 44.
    FMenu->AlphaBlendValue = uint8_t(std::clamp(value, 0, 255));
}

bool TspSkinGraphicButton::MenuAlphaBlendAnimation() const
{
    return FMenu->AlphaBlendAnimation;
}
void TspSkinGraphicButton::SetMenuAlphaBlendAnimation(bool value)
{
    FMenu->AlphaBlendAnimation = value;
}
TspImagesMenuItem* TspSkinGraphicButton::GetSelectedItem() const
{
    return FMenu->GetSelectedItem();
}

void TspSkinGraphicButton::Loaded()
{
    inherited::Loaded();
    SetSkinImagesMenu(FMenu);
    FMenu->SetSkinData(SkinData());
}

void TspSkinGraphicButton::AddPictures(std::initializer_list<const char*> names, bool maskWhite)
{
    TBitmap picture;
    for (const char* name : names) {
        [[maybe_unused]] const bool found = LoadStylePicture(&picture, name);
        assert(found);
        if (maskWhite) {
            FImages->AddMasked(&picture, clWhite);
            continue;
        }
        if (FImages->Count() == 0) {
            // Setting the size empties the list, so only the first picture may set it.
            FImages->SetWidth(picture.Width());
            FImages->SetHeight(picture.Height());
        }
        FImages->Add(&picture, nullptr);
    }
}

TspImagesMenuItem* TspSkinGraphicButton::AddItem(
    int imageIndex, const std::string& caption, const std::string& hint, bool button)
{
    TspImagesMenuItem* item = FMenu->ImagesItems()->Add();
    item->SetImageIndex(imageIndex);
    item->SetCaption(caption);
    item->Hint = hint;
    item->Button = button;
    return item;
}

// ---- The style buttons --------------------------------------------------------------------------------------------

TspSkinGradientStyleButton::TspSkinGradientStyleButton(TComponent* owner)
    : inherited(owner)
{
    InitImages();
    InitItems();
}

void TspSkinGradientStyleButton::InitImages()
{
    AddPictures({ "SP_GRAD_HORZ_IN", "SP_GRAD_HORZ_OUT", "SP_GRAD_HORZ_INOUT", "SP_GRAD_VERT_IN", "SP_GRAD_VERT_OUT",
        "SP_GRAD_VERT_INOUT" });
}

void TspSkinGradientStyleButton::InitItems()
{
    // The hints keep the spelling that callers and stored settings know.
    const char* const hints[]
        = { "HorizotalIn", "HorizotalOut", "HorizotalInOut", "VerticalIn", "VerticalOut", "VerticalInOut" };
    for (int i = 0; i < 6; ++i)
        AddItem(i, {}, hints[i]);
    GraphicMenu()->SetColumnsCount(2);
    GraphicMenu()->ItemIndex = 0;
}

TspSkinBrushStyleButton::TspSkinBrushStyleButton(TComponent* owner)
    : inherited(owner)
{
    InitImages();
    InitItems();
}

void TspSkinBrushStyleButton::InitImages()
{
    AddPictures({ "SP_BRUSH_CLEAR", "SP_BRUSH_SOLID", "SP_BRUSH_CROSS", "SP_BRUSH_DCROSS", "SP_BRUSH_FD", "SP_BRUSH_BD",
        "SP_BRUSH_H", "SP_BRUSH_V" });
}

void TspSkinBrushStyleButton::InitItems()
{
    for (int i = 0; i < 8; ++i)
        AddItem(i);
    GraphicMenu()->SetColumnsCount(2);
    GraphicMenu()->ItemIndex = 0;
}

TspSkinPenStyleButton::TspSkinPenStyleButton(TComponent* owner)
    : inherited(owner)
{
    InitImages();
    InitItems();
}

void TspSkinPenStyleButton::InitImages()
{
    AddPictures({ "SP_PEN_SOLID", "SP_PEN_DASH", "SP_PEN_DASHDOT", "SP_PEN_DOT", "SP_PEN_DASHDOTDOT" });
}

void TspSkinPenStyleButton::InitItems()
{
    for (int i = 0; i < 5; ++i)
        AddItem(i);
    GraphicMenu()->SetColumnsCount(1);
    GraphicMenu()->ItemIndex = 0;
}

TspSkinPenWidthButton::TspSkinPenWidthButton(TComponent* owner)
    : inherited(owner)
{
    InitImages();
    InitItems();
}

void TspSkinPenWidthButton::InitImages()
{
    AddPictures({ "SP_PEN1", "SP_PEN1", "SP_PEN2", "SP_PEN2", "SP_PEN2", "SP_PEN3", "SP_PEN3", "SP_PEN3", "SP_PEN3",
        "SP_PEN4", "SP_PEN4", "SP_PEN6" });
}

void TspSkinPenWidthButton::InitItems()
{
    const char* const captions[] = { "1/4 pt", "1/2 pt", "3/4 pt", "1 pt", "1 1/4 pt", "1 1/2 pt", "1 3/4 pt", "2 pt",
        "2 1/2 pt", "3 pt", "4 pt", "6 pt" };
    for (int i = 0; i < 12; ++i)
        AddItem(i, captions[i], {}, true);
    GraphicMenu()->SetColumnsCount(2);
    GraphicMenu()->ItemIndex = 0;
}

TspSkinShadowStyleButton::TspSkinShadowStyleButton(TComponent* owner)
    : inherited(owner)
{
    InitImages();
    InitItems();
}

void TspSkinShadowStyleButton::InitImages()
{
    GraphicImages()->SetWidth(20);
    GraphicImages()->SetHeight(20);
    AddPictures(
        { "SP_SHADOW1", "SP_SHADOW2", "SP_SHADOW3", "SP_SHADOW4", "SP_SHADOW5", "SP_SHADOW6", "SP_SHADOW7",
            "SP_SHADOW8", "SP_SHADOW9", "SP_SHADOW10", "SP_SHADOW11", "SP_SHADOW12", "SP_SHADOW13", "SP_SHADOW14",
            "SP_SHADOW15", "SP_SHADOW16", "SP_SHADOW17", "SP_SHADOW18", "SP_SHADOW19", "SP_SHADOW20", "SP_SHADOW21" },
        true);
}

void TspSkinShadowStyleButton::InitItems()
{
    AddItem(-1, "No shadow", {}, true);
    for (int i = 0; i < 20; ++i)
        AddItem(i);
    AddItem(20, "More settings", {}, true);
    GraphicMenu()->SetColumnsCount(4);
    GraphicMenu()->ItemIndex = 0;
}
