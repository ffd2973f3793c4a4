#include "app/TCoverForm.h"

#include "app/AppPictures.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

namespace {

TLabel* NewLabel(TCoverForm* form, int x, int y, int width, TColor colour, bool bold)
{
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(x, y, width, 13);
    label->SetTransparent(true);
    label->Font()->SetName("Tahoma");
    label->Font()->SetSize(8);
    label->Font()->SetColor(colour);
    if (bold)
        label->Font()->SetStyle({ fsBold });
    return label;
}

// Widens a right-aligned label to the left when its text is wider than its box, so that the text shows whole
// whatever the font's metrics here.
void KeepWhole(TLabel* label)
{
    TBitmap measure;
    measure.Canvas()->Font()->Assign(label->Font());
    const int width = measure.Canvas()->TextWidth(label->Caption());
    if (width > label->Width())
        label->SetBounds(label->Left() + label->Width() - width, label->Top(), width, label->Height());
}

} // namespace

TCoverForm::TCoverForm(TComponent* owner)
    : TForm(owner)
{
    CreateComponents();
    lblVersion->SetCaption(std::string("Version: ") + "2.6.0" + "(Build: " + "20071016" + ")");
    KeepWhole(lblVersion);
    IconStdImage->SetLeft(IconProImage->Left());
    IconStdImage->SetTop(IconProImage->Top());
    ProTextImage->SetVisible(true);
    IconProImage->SetVisible(true);
    IconStdImage->SetVisible(false);
}

void TCoverForm::CreateComponents()
{
    SetBorderStyle(bsNone);
    SetScaled(false);
    SetPosition(poDesktopCenter);
    SetClientWidth(553);
    SetClientHeight(260);

    Image1 = NewAppImage(this, this, "Splash.bmp", 0, 0, 553, 260);
    lblVersion = NewLabel(this, 386, 15, 164, clBlack, true);
    lblVersion->SetAlignment(taRightJustify);
    ProTextImage = NewAppImage(this, this, "SplashProText.bmp", 342, 119, 200, 34);
    ProTextImage->SetVisible(false);
    IconProImage = NewAppImage(this, this, "SplashEditionPro.bmp", 14, 183, 331, 39);
    IconProImage->SetVisible(false);
    IconStdImage = NewAppImage(this, this, "SplashEditionStd.bmp", 110, 183, 331, 39);
    IconStdImage->SetVisible(false);
    lblInfoText = NewLabel(this, 373, 209, 177, clWhite, false);
}

void TCoverForm::ShowInfoText(std::string_view text)
{
    lblInfoText->SetCaption(text);
    Update();
}
