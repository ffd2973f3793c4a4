#include "app/TAboutForm.h"

#include "app/AppDialog.h"
#include "engine/AppServices.h"
#include "framed/FrLabel.h"
#include "framework/graphics/Graphics.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinPanels.h"

#include <string>

const std::string_view ProductVersionLine = "Version: 2.6.0(Build: 20071016)";
const std::string_view ProductWebSite = "https://www.tarnwickpro.example/";
const std::string_view ProductSupportMail = "mailto:support@tarnwickpro.example";

namespace {

constexpr TColor kLinkColor = 9457993;

// A link label showing its address without the scheme, red while the pointer is over it.
TFrURLLabel* PlaceLink(TWinControl* parent, int x, int y, std::string_view url, std::string_view shown)
{
    auto* link = PlaceControl<TFrURLLabel>(parent, x, y, 240, 16);
    link->SetURL(url);
    link->SetCaption(shown);
    link->SetUnvisitedColor(kLinkColor);
    link->SetVisitedColor(kLinkColor);
    link->Font()->SetColor(kLinkColor);
    link->SetFlyByColor(clRed);
    link->SetFlyByEnabled(true);
    return link;
}

} // namespace

TAboutForm::TAboutForm(TComponent* owner)
    : TForm(owner)
{
    SetCaption("About " + std::string(ApplicationTitle));
    SkinAppDialog(this);
    SetClientWidth(360);
    SetClientHeight(196);

    lblNameAndCopy = PlaceControl<TFrLabel>(this, 16, 14, 328, 28);
    lblNameAndCopy->SetTextStyle(tsRecessed);
    lblNameAndCopy->SetLightTextStyle(true);
    lblNameAndCopy->Font()->SetSize(14);
    lblNameAndCopy->Font()->SetStyle({ fsBold });
    lblNameAndCopy->SetCaption(ApplicationTitle);
    lblVersion = PlaceControl<TFrLabel>(this, 16, 46, 328, 18);
    lblVersion->SetCaption(ProductVersionLine);

    TspSkinPanel* panel = PlacePanel(this, 16, 74, 328, 72);
    PlaceControl<TFrLabel>(panel, 12, 14, 72, 16)->SetCaption("Web Site:");
    lblSiteURL = PlaceLink(panel, 84, 14, ProductWebSite, "www.tarnwickpro.example");
    PlaceControl<TFrLabel>(panel, 12, 42, 72, 16)->SetCaption("Support:");
    lblSupportMail = PlaceLink(panel, 84, 42, ProductSupportMail, "support@tarnwickpro.example");

    btnClose = PlaceSkinned<TspSkinButton>(this, 264, 158, 80, 25);
    btnClose->SetCaption("Close");
    btnClose->SetDefault(true);
    btnClose->SetModalResult(1);
    OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
}

void TAboutForm::FormKeyDown(TObject*, uint16_t& key, TShiftState)
{
    if (key == 27)
        Close();
}
