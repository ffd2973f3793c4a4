#include "skin/menus/TspSkinMenuItem.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"

#include <string_view>

using namespace SPUtils;

namespace {

// The highlight of the default look.
constexpr TColor HotFillColor = 0xD2BDB6; // RGB(182, 189, 210)

// A triangle pointing right, 4 pixels wide and 7 high.
void DrawSubMenuArrow(TCanvas* canvas, int x, int y, TColor color)
{
    canvas->Pen()->SetColor(color);
    for (int i = 0; i <= 3; ++i) {
        canvas->MoveTo(x + i, y + i);
        canvas->LineTo(x + i, y + 7 - i);
    }
}

void DrawRadioDot(TCanvas* canvas, int x, int y, TColor color)
{
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->Ellipse(x, y, x + 6, y + 6);
    canvas->Brush()->SetStyle(bsClear);
}

// The glyphs of the form commands on the items the form builds for its system and tray menus; false for any
// other item.
bool DrawFormCommandGlyph(TCanvas* canvas, std::string_view name, int x, int y, TColor color)
{
    if (name == "SKF_CLOSE" || name == "TRAY_SKF_CLOSE")
        DrawCloseImage(canvas, x, y, color);
    else if (name == "SKF_MINITEM")
        DrawMinimizeImage(canvas, x, y, color);
    else if (name == "SKF_MAXITEM")
        DrawMaximizeImage(canvas, x, y, color);
    else if (name == "SKF_RESTORE" || name == "TRAY_SKF_RESTORE")
        DrawRestoreImage(canvas, x, y, color);
    else if (name == "SKF_ROLLUP")
        DrawRollUpImage(canvas, x, y, color);
    else if (name == "SKF_MINTOTRAY")
        DrawMTImage(canvas, x, y, color);
    else
        return false;
    return true;
}

} // namespace

TspSkinMenuItem::TspSkinMenuItem(TspSkinPopupWindow* parent, TMenuItem* menuItem, TspDataSkinMenuItem* data)
    : Parent(parent)
    , Data(data)
    , ActivePicture(ActivePictureOf(parent->Skin, data))
    , MenuItem(menuItem)
{
}

TBitmap* TspSkinMenuItem::ActivePictureOf(TspSkinData* skin, const TspDataSkinMenuItem* data)
{
    if (data && skin && data->ActivePictureIndex >= 0
        && data->ActivePictureIndex < static_cast<int>(skin->ActivePictures.size()))
        return skin->ActivePictures[size_t(data->ActivePictureIndex)].get();
    return nullptr;
}

TspSkinMenuItem::~TspSkinMenuItem() = default;

// ---- Interaction ------------------------------------------------------------------------------------------------

void TspSkinMenuItem::MouseEnter(bool byKey)
{
    Active = true;
    if (EnableAnimation())
        CurrentFrame = 0;
    for (const auto& other : Parent->ItemList) {
        if (other.get() != this && other->Down) {
            other->Down = false;
            other->Redraw();
        }
    }
    TspSkinMenu* menu = Parent->SkinMenu();
    const int level = menu->GetPWIndex(Parent);
    TspSkinPopupWindow* window = Parent;
    TMenuItem* menuItem = MenuItem;
    if (Waiting && !byKey) {
        Redraw();
    } else if (Down && menu->LevelCount() - (level + 1) >= 2) {
        menu->Level(level + 1)->UpDatePW();
    } else {
        Redraw();
        menu->CheckItem(Parent, this, false, byKey);
    }
    // The application's hint follows the control under the mouse, so it carries the highlighted item's hint.
    window->SetHint(menuItem->Hint());
}

void TspSkinMenuItem::MouseLeave()
{
    Waiting = false;
    Active = false;
    if (EnableAnimation())
        CurrentFrame = Data->FrameCount + 1;
    if (!Down)
        Redraw();
    TspSkinMenu* menu = Parent->SkinMenu();
    if (menu->WaitingItem() == this)
        menu->StopWait();
}

void TspSkinMenuItem::MouseDown(int, int)
{
    Waiting = false;
    if (!Down && MenuItem->Enabled())
        Parent->SkinMenu()->CheckItem(Parent, this, true, false);
}

// ---- Transitions ------------------------------------------------------------------------------------------------

bool TspSkinMenuItem::EnableAnimation() const
{
    const TspSkinData* skin = Parent->Skin;
    return Data && !IsNullRect(Data->AnimateSkinRect) && skin && !skin->Empty && skin->EnableSkinEffects();
}

bool TspSkinMenuItem::EnableMorphing() const
{
    const TspSkinData* skin = Parent->Skin;
    return Data && Data->Morphing && skin && skin->EnableSkinEffects();
}

bool TspSkinMenuItem::CanMorphing()
{
    if (!Visible && MorphKf != 0) {
        Active = false;
        Down = false;
        MorphKf = 0;
    }
    const bool on = Highlighted();
    return Visible && ((on && MorphKf < 1) || (!on && MorphKf > 0));
}

void TspSkinMenuItem::DoMorphing()
{
    // The step is added in extended precision: five steps from 0 stay just below 1, so a full transition takes
    // six ticks, the last one clamped.
    const long double step = Highlighted() ? 0.2L : -0.2L;
    SetMorphKf(static_cast<double>(static_cast<long double>(MorphKf) + step));
    Parent->DrawItemNow(this);
}

void TspSkinMenuItem::SetMorphKf(double value)
{
    MorphKf = value < 0 ? 0 : value > 1 ? 1 : value;
}

void TspSkinMenuItem::Redraw()
{
    if (Data && EnableAnimation()) {
        Parent->MorphTimer->SetInterval(uint32_t(Data->AnimateInterval));
        if (Highlighted() || Data->InActiveAnimation) {
            Parent->MorphTimer->SetEnabled(true);
        } else {
            CurrentFrame = 0;
            Parent->DrawItemNow(this);
        }
    } else if (Data && EnableMorphing()) {
        Parent->MorphTimer->SetInterval(20);
        Parent->MorphTimer->SetEnabled(true);
    } else {
        Parent->DrawItemNow(this);
    }
}

// ---- Painting ---------------------------------------------------------------------------------------------------

TRect TspSkinMenuItem::FrameRect(int frame) const
{
    const TRect& strip = Data->AnimateSkinRect;
    const int count = Data->FrameCount;
    if (RectHeight(strip) > RectHeight(Data->SkinRect)) {
        const int h = RectHeight(strip) / count;
        return TRect(strip.Left, strip.Top + (frame - 1) * h, strip.Right, strip.Top + frame * h);
    }
    const int w = RectWidth(strip) / count;
    return TRect(strip.Left + (frame - 1) * w, strip.Top, strip.Left + frame * w, strip.Bottom);
}

bool TspSkinMenuItem::ShowsFrame() const
{
    return Data && !MenuItem->IsLine() && EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= Data->FrameCount;
}

bool TspSkinMenuItem::InTransition() const
{
    if (ShowsFrame())
        return true;
    const bool on = Highlighted();
    return Data && !MenuItem->IsLine() && EnableMorphing() && !((on && MorphKf == 1) || (!on && MorphKf == 0));
}

bool TspSkinMenuItem::MixedWithScreen() const
{
    return Parent->AlphaBlend && !CheckW2KWXP() && Parent->SnapshotEffect;
}

bool TspSkinMenuItem::ShowsRestingLook(const TspKeptLevelImage::TItem& shown)
{
    if (!shown.Looks || !Visible || InTransition() || (Data && MenuItem->OnDrawItem) || MixedWithScreen())
        return false;
    ResolveLooks();
    return shown.Looks == FLooks && shown.State == LookState() && shown.Rect == ObjectRect;
}

int TspSkinMenuItem::LookState() const
{
    return Highlighted() && !MenuItem->IsLine() ? 1 : 0;
}

void TspSkinMenuItem::ResolveLooks()
{
    if (FLooks)
        return;
    if (!LookIsKept()) {
        FLooks = std::make_shared<TspMenuLookCache::TLooks>();
        return;
    }
    FLooks = Parent->SkinMenu()->Looks()->ItemLooks(
        MenuItem, Parent->LevelLook, RectWidth(ObjectRect), RectHeight(ObjectRect), [this] { return LookKey(); });
}

void TspSkinMenuItem::Draw(TCanvas* canvas)
{
    FLastDrawn = {};
    if (!Visible)
        return;
    const bool on = Highlighted();
    if (InTransition()) {
        TBitmap image;
        if (ShowsFrame()) {
            const TRect frame = FrameRect(CurrentFrame);
            CreateItemImage(&image, on, &frame);
        } else {
            TBitmap hot;
            CreateItemImage(&image, false, nullptr);
            CreateItemImage(&hot, true, nullptr);
            TspEffectBmp blend(image.Handle());
            const TspEffectBmp target(hot.Handle());
            MorphByKind(blend, target, Data->MorphKind, MorphKf);
            blend.Draw(image.Canvas()->Handle(), 0, 0);
        }
        Output(canvas, &image);
        return;
    }
    // A handler that draws the item may draw it differently each time.
    if (Data && MenuItem->OnDrawItem) {
        TBitmap image;
        BuildImage(&image, on);
        Output(canvas, &image);
        return;
    }
    ResolveLooks();
    std::unique_ptr<TBitmap>& cached = FLooks->Image[LookState()];
    if (!cached) {
        cached = std::make_unique<TBitmap>();
        BuildImage(cached.get(), on);
    }
    Output(canvas, cached.get());
    // A look mixed with the screen is not what the kept look holds (the mix is made on a copy).
    if (!MixedWithScreen())
        FLastDrawn = { ObjectRect, FLooks, LookState() };
}

bool TspSkinMenuItem::LookIsKept() const
{
    if (Data && MenuItem->OnDrawItem)
        return false;
    TCustomImageList* images = Parent->ImgL;
    const bool listImage = images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count();
    const bool bitmap = MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty();
    return !listImage && !bitmap;
}

std::string TspSkinMenuItem::LookKey() const
{
    TspLookKey key;
    key.AddInt(int64_t(Parent->LevelLook)).AddInt(RectWidth(ObjectRect)).AddInt(RectHeight(ObjectRect));
    key.AddText(MenuItem->Caption()).AddInt(MenuItem->ShortCut()).AddInt(MenuItem->Enabled());
    key.AddInt(MenuItem->Checked()).AddInt(MenuItem->RadioItem()).AddInt(MenuItem->Default());
    key.AddInt(MenuItem->Count() > 0).AddText(MenuItem->Name());
    return std::move(key).Take();
}

void TspSkinMenuItem::BuildImage(TBitmap* image, bool highlighted)
{
    if (!Data)
        BuildDefaultImage(image, highlighted);
    else if (MenuItem->IsLine())
        CreateDividerImage(image);
    else
        CreateItemImage(image, highlighted, nullptr);
}

void TspSkinMenuItem::CreateDividerImage(TBitmap* image)
{
    image->SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
    if (ActivePicture)
        CreateHSkinImage(Data->DividerLeftOffset, Data->DividerRightOffset, image, ActivePicture, Data->DividerRect,
            RectWidth(ObjectRect), RectHeight(Data->DividerRect), Data->DividerStretchEffect);
}

void TspSkinMenuItem::CreateItemImage(TBitmap* image, bool highlighted, const TRect* frame)
{
    const int width = RectWidth(ObjectRect);
    TRect source = highlighted ? Parent->ItemActiveSkinRect : Parent->ItemSkinRect;
    bool stretch = highlighted ? Data->StretchEffect : Data->InActiveStretchEffect;
    if (!highlighted && !Data->InActiveStretchEffect && Data->StretchEffect)
        stretch = frame != nullptr;
    if (frame)
        source = *frame;
    image->SetSize(width, RectHeight(ObjectRect));
    if (!ActivePicture || IsNullRect(source))
        return;
    CreateHSkinImage(
        Data->ItemLeftOffset, Data->ItemRightOffset, image, ActivePicture, source, width, RectHeight(source), stretch);
    TspSkinMenu* menu = Parent->SkinMenu();
    const int glyphWidth = !IsNullRect(Data->ImageRect) ? 0 : Parent->ImgL ? Parent->GlyphWidth : 16;
    TRect text = Data->TextRect;
    text.Right = image->Width() - (RectWidth(Parent->ItemSkinRect) - Data->TextRect.Right);
    TCanvas* canvas = image->Canvas();
    if (menu->UseSkinFont) {
        canvas->Font()->SetName(Data->FontName);
        canvas->Font()->SetStyle(Data->FontStyle);
        canvas->Font()->SetHeight(Data->FontHeight);
    } else {
        canvas->Font()->Assign(menu->DefaultMenuItemFont());
    }
    canvas->Font()->SetCharset(menu->ItemCharset());
    canvas->Brush()->SetStyle(bsClear);
    const TColor textColor = highlighted ? Data->ActiveFontColor
        : MenuItem->Enabled()            ? Data->FontColor
                                         : Data->UnEnabledFontColor;
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, canvas, text, highlighted);
        return;
    }
    TColor glyphColor = textColor;
    if (Data->UseImageColor)
        glyphColor = highlighted ? Data->ActiveImageColor : Data->ImageColor;
    DrawContent(canvas, text, glyphWidth, 16, textColor, glyphColor, false);
}

void TspSkinMenuItem::DefaultDraw(TCanvas* canvas)
{
    TBitmap image;
    BuildDefaultImage(&image, Highlighted());
    Output(canvas, &image);
}

void TspSkinMenuItem::BuildDefaultImage(TBitmap* image, bool highlighted)
{
    const int w = RectWidth(ObjectRect);
    const int h = RectHeight(ObjectRect);
    const int glyphWidth = Parent->ImgL ? Parent->GlyphWidth : 19;
    image->SetSize(w, h);
    TCanvas* c = image->Canvas();
    TspSkinMenu* menu = Parent->SkinMenu();
    c->Font()->Assign(menu->DefaultMenuItemFont());
    c->Font()->SetCharset(menu->ItemCharset());
    TColor textColor = clWindowText;
    c->Brush()->SetStyle(bsSolid);
    if (highlighted && !MenuItem->IsLine()) {
        c->Brush()->SetColor(HotFillColor);
        c->FillRect(TRect(0, 0, w, h));
        c->Brush()->SetColor(clNavy);
        c->FrameRect(TRect(0, 0, w, h));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(TRect(0, 0, glyphWidth, h));
        c->Brush()->SetColor(clWindow);
        c->FillRect(TRect(glyphWidth, 0, w, h));
        if (!MenuItem->Enabled())
            textColor = clBtnShadow;
    }
    if (MenuItem->IsLine()) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(TRect(glyphWidth, h / 2, w, h / 2 + 1));
        return;
    }
    c->Brush()->SetStyle(bsClear);
    DrawContent(c, TRect(2, 2, w - 2, h - 2), glyphWidth, 19, textColor, textColor, true);
}

void TspSkinMenuItem::DrawContent(TCanvas* canvas, const TRect& t, int glyphWidth, int arrowMargin, TColor textColor,
    TColor glyphColor, bool defaultLook)
{
    const int middle = t.Top + RectHeight(t) / 2;
    const uint32_t flags = Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER);
    canvas->Font()->SetColor(textColor);
    canvas->Brush()->SetStyle(bsClear);
    TRect caption(t.Left + glyphWidth, 0, t.Right - arrowMargin, 0);
    SPDrawSkinText(canvas, MenuItem->Caption(), caption, DT_CALCRECT);
    const int captionHeight = RectHeight(caption);
    caption.Top = middle - captionHeight / 2;
    caption.Bottom = caption.Top + captionHeight;
    caption.Right += 2;
    SPDrawSkinText(canvas, MenuItem->Caption(), caption, flags);
    if (MenuItem->ShortCut() != scNone) {
        const std::string shortCut = ShortCutToText(MenuItem->ShortCut());
        TRect measured(0, 0, 0, 0);
        SPDrawSkinText(canvas, shortCut, measured, DT_CALCRECT);
        TRect r(t.Right - RectWidth(measured) - arrowMargin, caption.Top, t.Right - arrowMargin, caption.Bottom);
        SPDrawSkinText(canvas, shortCut, r, flags);
    }
    if (MenuItem->Count() > 0)
        DrawSubMenuArrow(canvas, t.Right - 7, middle - 4, textColor);

    // An image: the item's own bitmap or its picture in the menu's image list.
    TCustomImageList* images = Parent->ImgL;
    const bool listImage = images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count();
    TBitmap* bitmap = MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty() ? MenuItem->Bitmap() : nullptr;
    const TRect& imageRect = Data && !defaultLook ? Data->ImageRect : TRect();
    const bool besideText = defaultLook || IsNullRect(imageRect);
    if (bitmap || listImage) {
        const int w = bitmap ? bitmap->Width() : images->Width();
        const int h = bitmap ? bitmap->Height() : images->Height();
        int x = t.Left + 2;
        int y = middle - h / 2;
        if (!besideText) {
            x = imageRect.Left + RectWidth(imageRect) / 2 - w / 2;
            y = imageRect.Top + RectHeight(imageRect) / 2 - h / 2;
        }
        if (MenuItem->Checked()) {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Pen()->SetColor(glyphColor);
            canvas->Rectangle(x - 1, y - 1, x + w + 1, y + h + 1);
        }
        if (bitmap)
            canvas->Draw(x, y, bitmap);
        else
            images->Draw(canvas, x, y, MenuItem->ImageIndex(), MenuItem->Enabled());
        return;
    }
    int x = t.Left + 2;
    int y = middle - 4;
    if (!besideText) {
        x = imageRect.Left + RectWidth(imageRect) / 2 - 4;
        y = imageRect.Top + RectHeight(imageRect) / 2 - 4;
    }
    if (DrawFormCommandGlyph(canvas, MenuItem->Name(), x, y, glyphColor) || !MenuItem->Checked())
        return;
    if (defaultLook) {
        if (MenuItem->RadioItem())
            DrawRadioDot(canvas, t.Left + 3, middle - 3, glyphColor);
        else
            DrawCheckImage(canvas, t.Left + 3, middle - 4, glyphColor);
    } else if (MenuItem->RadioItem()) {
        DrawRadioDot(canvas, x, y + 1, glyphColor);
    } else {
        DrawCheckImage(canvas, x, y, glyphColor);
    }
}

void TspSkinMenuItem::Output(TCanvas* canvas, TBitmap* image)
{
    if (MixedWithScreen()) {
        // Mixed on a copy: the image may be one of the looks kept for later.
        TspEffectBmp blend(image->Handle());
        blend.MorphRect(Parent->SnapshotEffect.get(), 1.0 - Parent->AlphaBlendValue / 255.0,
            TRect(0, 0, image->Width(), image->Height()), ObjectRect.Left, ObjectRect.Top);
        TBitmap mixed;
        mixed.SetSize(image->Width(), image->Height());
        blend.Draw(mixed.Canvas()->Handle(), 0, 0);
        canvas->Draw(ObjectRect.Left, ObjectRect.Top, &mixed);
        return;
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, image);
}
