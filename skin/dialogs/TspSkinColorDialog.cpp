#include "skin/dialogs/TspSkinColorDialog.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/SkinColorGrids.h"
#include "skin/forms/TspSkinForm.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The ring as the mouse sees it is one pixel wider inside than the ring the palette paints.
constexpr TRect kPaintedInnerRing { 20, 20, 175, 175 };
constexpr TRect kClickedInnerRing { 20, 20, 174, 174 };

void SetArial(TFont* font)
{
    font->SetName("Arial");
    font->SetHeight(14);
    font->SetStyle({});
}

int RoundInt(double value) { return static_cast<int>(Round(value)); }

int EditValue(TspColorDialogEdit* edit) { return edit->Value(); }

// An edit fires its change only when the value really changes, as a value set by the user does.
void SetEditValue(TspColorDialogEdit* edit, int value)
{
    if (EditValue(edit) != value)
        edit->SetValue(value);
}

TColor HSLColor(double h, double s, double l)
{
    const TRGB rgb = HSLToRGB({ h, s, l });
    return BytesToColor(rgb.R, rgb.G, rgb.B);
}

// Writes one pixel of a 32-bit bitmap.
void PutPixel(TBitmap* bitmap, int x, int y, TColor color)
{
    const TRGB rgb = ColorToBytes(color);
    auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y)) + x * 4;
    row[0] = rgb.B;
    row[1] = rgb.G;
    row[2] = rgb.R;
    row[3] = 0xFF;
}

} // namespace

// ---- Palette geometry ----------------------------------------------------------------------------------------

void CalcAngle360(double& a)
{
    while (a < 0)
        a += 360;
    while (a >= 360)
        a -= 360;
}

double CalcDistancePoints(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

double CalcArcSinRadians(double x)
{
    const double root = std::sqrt(std::max(0.0, 1 - x * x));
    if (root < CalcEpsilon)
        return x > 0 ? kPi / 2 : -kPi / 2;
    return std::atan(x / root);
}

double CalcArcCosRadians(double x) { return kPi / 2 - CalcArcSinRadians(x); }

double CalcArcTan(double x) { return std::atan(x) / CalcRadian; }

double CalcAnglePoints(double cx, double cy, double px, double py)
{
    const double d = CalcDistancePoints(cx, cy, px, py);
    if (d < CalcEpsilon)
        return 0;
    double a = CalcArcCosRadians(std::abs(cx - px) / d);
    if (std::abs(cy - py) >= CalcEpsilon && py < cy)
        a = -a;
    if (std::abs(cx - px) >= CalcEpsilon && px < cx)
        a = kPi - a;
    if (std::abs(a) < CalcEpsilon)
        a = 0;
    if (a < 0)
        a += 2 * kPi;
    return a / CalcRadian;
}

double CalcAngle3Points(double x1, double y1, double cx, double cy, double x2, double y2)
{
    double a = CalcAnglePoints(cx, cy, x2, y2) - CalcAnglePoints(cx, cy, x1, y1);
    CalcAngle360(a);
    return a;
}

void CalcPointSurEllipse(double cx, double cy, double rx, double ry, double angle, double& x, double& y)
{
    double theta = angle;
    CalcAngle360(theta);
    const double c = std::cos(theta * CalcRadian), s = std::sin(theta * CalcRadian);
    double t;
    if (std::abs(ry * c) < CalcEpsilon)
        t = std::abs(theta - 90) < 1e-7 ? 90 : 270;
    else {
        t = CalcArcTan((rx * s) / (ry * c));
        if (theta >= 90 && theta < 270)
            t += 180;
    }
    x = cx + rx * std::cos(t * CalcRadian);
    y = cy + ry * std::sin(t * CalcRadian);
}

void CalcRotationPoint(double cx, double cy, double angle, double px, double py, double& x, double& y)
{
    const double d = CalcDistancePoints(cx, cy, px, py);
    CalcPointSurEllipse(cx, cy, d, d, CalcAnglePoints(cx, cy, px, py) + angle, x, y);
}

bool InPaletteRing(int x, int y, const TRect& outer, const TRect& inner)
{
    // A pixel belongs to an ellipse when its centre does.
    const auto inside = [&](const TRect& r) {
        const double rx = (r.Right - r.Left) / 2.0, ry = (r.Bottom - r.Top) / 2.0;
        const double dx = (x + 0.5 - (r.Left + rx)) / rx, dy = (y + 0.5 - (r.Top + ry)) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    return inside(outer) && !inside(inner);
}

// ---- TspColorDialogForm ----------------------------------------------------------------------------------------

TspColorDialogForm::TspColorDialogForm(TComponent* owner)
    : TForm(owner)
{
    SetPosition(poScreenCenter);
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    SkinForm = new TspSkinForm(this);
    SkinForm->SetBorderIcons({});
    SkinForm->Sizeable = false;
}

// ---- TspSkinColorDialog ----------------------------------------------------------------------------------------

TspSkinColorDialog::TspSkinColorDialog(TComponent* owner)
    : TComponent(owner)
    , FDefaultLabelFont(std::make_unique<TFont>())
    , FDefaultButtonFont(std::make_unique<TFont>())
    , FDefaultEditFont(std::make_unique<TFont>())
    , FPaletteColor(std::make_unique<TPSPColor>())
{
    SetArial(FDefaultLabelFont.get());
    SetArial(FDefaultButtonFont.get());
    SetArial(FDefaultEditFont.get());
    CustomColors.fill(clWhite);
}

TspSkinColorDialog::~TspSkinColorDialog() = default;

void TspSkinColorDialog::SetSkinData(TspSkinData* value)
{
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinColorDialog::SetCtrlSkinData(TspSkinData* value)
{
    FCtrlSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinColorDialog::SetDefaultLabelFont(TFont* value) { FDefaultLabelFont->Assign(value); }
void TspSkinColorDialog::SetDefaultButtonFont(TFont* value) { FDefaultButtonFont->Assign(value); }
void TspSkinColorDialog::SetDefaultEditFont(TFont* value) { FDefaultEditFont->Assign(value); }

void TspSkinColorDialog::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FSkinData)
        FSkinData = nullptr;
    if (component == FCtrlSkinData)
        FCtrlSkinData = nullptr;
}

std::string TspSkinColorDialog::Text(const char* key, const char* english) const
{
    if (FCtrlSkinData && FCtrlSkinData->ResourceStrData())
        return FCtrlSkinData->ResourceStrData()->GetResStr(key);
    return english;
}

std::unique_ptr<TspColorDialogForm> TspSkinColorDialog::CreateForm()
{
    auto form = std::unique_ptr<TspColorDialogForm>(TCustomForm::Create<TspColorDialogForm>(Application));
    TspColorDialogForm* f = form.get();
    f->SetCaption(Caption);
    f->SkinForm->SetSkinData(FSkinData);
    f->SkinForm->SetMenusSkinData(FCtrlSkinData);
    f->SkinForm->AlphaBlend = AlphaBlend;
    f->SkinForm->AlphaBlendAnimation = AlphaBlendAnimation;
    f->SkinForm->AlphaBlendValue = AlphaBlendValue;
    f->SetClientWidth(378);

    const auto grid = [&](TspColorGridBase* g, int top, int height, const char* key, const char* english) {
        g->SetTransparentMode(GroupBoxTransparentMode);
        g->SetCaptionMode(true);
        g->SetBounds(5, top, 167, height);
        g->SetSkinDataName("groupbox");
        g->SetSkinData(FCtrlSkinData);
        g->SetCaption(Text(key, english));
        g->SetParent(f);
    };
    f->ColorGrid = new TspSkinColorGrid(f);
    f->ColorGrid->SetBorderStyle(TspSkinBorderStyle::bvNone);
    f->ColorGrid->SetRowCount(8);
    f->ColorGrid->SetColCount(6);
    grid(f->ColorGrid, 5, 195, "COLORGRID_CAP", "Basic colors");
    f->ColorGrid->OnChange = [this](TObject* sender) { ColorGridChange(sender); };
    const int gridBottom = f->ColorGrid->Top() + f->ColorGrid->Height();

    f->CustomColorGrid = new TspSkinCustomColorGrid(f);
    grid(f->CustomColorGrid, gridBottom + 10, 68, "CUSTOMCOLORGRID_CAP", "Custom colors");
    f->CustomColorGrid->OnChange = [this](TObject* sender) { CustomColorGridChange(sender); };
    f->CustomColorGrid->CustomColorValues = CustomColors;
    f->CustomColorGrid->Counter = CustomColorsCounter;

    f->PaletteHost = new TspEmptyControl(f);
    f->PaletteHost->SetBounds(f->ColorGrid->Left() + f->ColorGrid->Width() + 5, 5, 195, 195);
    f->PaletteHost->SetParent(f);
    f->Palette = new TImage(f);
    f->Palette->SetBounds(0, 0, 195, 195);
    f->Palette->SetParent(f->PaletteHost);
    f->Palette->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PalettePSPMouseDown(s, b, sh, x, y);
    };
    f->Palette->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { PalettePSPMouseMove(s, sh, x, y); };
    f->Palette->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PalettePSPMouseUp(s, b, sh, x, y);
    };
    TBitmap* picture = f->Palette->Picture()->Bitmap();
    picture->SetPixelFormat(pf32bit);
    picture->SetSize(f->Palette->Width(), f->Palette->Height());
    FClickZone = czpspPnone;
    FPaletteColor->SetRGB(0, 0, 0);
    const int paletteLeft = f->PaletteHost->Left();
    const int paletteRight = paletteLeft + f->PaletteHost->Width();
    const int paletteBottom = f->PaletteHost->Top() + f->PaletteHost->Height();

    struct TEditPlace {
        const char* Label;
        int Max;
        int TrackBarWidth;
        bool Rgb;
    };
    const TEditPlace places[6] = { { "R:", 255, 200, true }, { "G:", 255, 200, true }, { "B:", 255, 200, true },
        { "H:", 359, 250, false }, { "S:", 100, 120, false }, { "L:", 100, 120, false } };
    std::array<TspColorDialogEdit*, 6> edits {};
    for (int i = 0; i < 6; ++i) {
        const bool firstOfColumn = i % 3 == 0;
        auto* label = new TspSkinStdLabel(f);
        label->SetDefaultFont(FDefaultLabelFont.get());
        label->SetUseSkinFont(UseSkinFont);
        label->SetSkinData(FCtrlSkinData);
        label->SetCaption(places[i].Label);
        const int labelLeft = i < 3 ? paletteLeft : edits[0]->Left() + edits[0]->Width() + 5;
        const int rowTop = firstOfColumn ? gridBottom : edits[i - 1]->Top() + edits[i - 1]->Height();
        label->SetLeft(labelLeft);
        label->SetTop(rowTop + 12);
        label->SetParent(f);
        f->Labels[i] = label;

        auto* edit = new TspColorDialogEdit(f);
        edit->SetMinValue(0);
        edit->SetMaxValue(places[i].Max);
        edit->SetTrackBarWidth(places[i].TrackBarWidth);
        edit->SetPopupKind(tbpLeft);
        edit->SetJumpWhenClick(true);
        edit->SetSkinData(FCtrlSkinData);
        const int editLeft = firstOfColumn ? label->Left() + label->Width() + 5 : edits[i - 1]->Left();
        edit->SetBounds(editLeft, rowTop + 10, 50, 21);
        edit->SetParent(f);
        edit->SetValue(0);
        if (places[i].Rgb)
            edit->OnChange = [this](TObject* sender) { RGBEditChange(sender); };
        else
            edit->OnChange = [this](TObject* sender) { HSLEditChange(sender); };
        edits[i] = edit;
    }
    f->REdit = edits[0], f->GEdit = edits[1], f->BEdit = edits[2];
    f->HEdit = edits[3], f->SEdit = edits[4], f->LEdit = edits[5];

    f->Viewer = new TspColorViewer(f);
    const int viewerLeft = f->HEdit->Left() + f->HEdit->Width() + 5;
    f->Viewer->SetBounds(viewerLeft, paletteBottom + 10, paletteRight - viewerLeft, paletteRight - viewerLeft);
    f->Viewer->SetParent(f);

    const int buttonTop = f->LEdit->Top() + f->LEdit->Height() + 15;
    const auto button = [&](int left, int width, const char* key, const char* english) {
        auto* b = new TspSkinButton(f);
        b->SetDefaultFont(FDefaultButtonFont.get());
        b->SetUseSkinFont(UseSkinFont);
        b->SetSkinDataName(ButtonSkinDataName);
        b->SetSkinData(FCtrlSkinData);
        b->SetDefaultHeight(25);
        b->SetCanFocused(true);
        b->SetCaption(Text(key, english));
        b->SetBounds(left, buttonTop, width, 25);
        b->SetParent(f);
        return b;
    };
    f->OKButton = button(5, 70, "MSG_BTN_OK", "OK");
    f->OKButton->SetModalResult(mrOk);
    f->OKButton->SetDefault(true);
    f->CancelButton = button(90, 70, "MSG_BTN_CANCEL", "Cancel");
    f->CancelButton->SetModalResult(mrCancel);
    f->CancelButton->SetCancel(true);
    f->AddCustomColorButton
        = button(paletteLeft, paletteRight - paletteLeft, "ADDCUSTOMCOLORBUTTON_CAP", "Add to Custom Colors");
    f->AddCustomColorButton->OnClick = [this](TObject* sender) { AddCustomColorButtonClick(sender); };
    f->SetClientHeight(buttonTop + 25 + 10);
    return form;
}

bool TspSkinColorDialog::Execute()
{
    std::unique_ptr<TspColorDialogForm> form = CreateForm();
    FForm = form.get();
    // The window goes with the unique pointer, and the handlers stop reaching it, also when showing raises.
    struct TReset {
        TspColorDialogForm*& Form;
        ~TReset() { Form = nullptr; }
    } reset { FForm };

    // The edits report their changes through their windows, so the starting colour needs them made.
    for (TspColorDialogEdit* edit : { FForm->REdit, FForm->GEdit, FForm->BEdit, FForm->HEdit, FForm->SEdit, FForm->LEdit })
        edit->HandleNeeded();
    InitPSPPalette();
    FForm->Viewer->SetColorValue(Color);
    FForm->ColorGrid->SetColorValue(Color);
    const TRGB bytes = ColorToBytes(Color);
    SetEditValue(FForm->REdit, bytes.R);
    SetEditValue(FForm->GEdit, bytes.G);
    SetEditValue(FForm->BEdit, bytes.B);

    if (FForm->ShowModal() != mrOk)
        return false;
    Color = FForm->Viewer->ColorValue();
    CustomColors = FForm->CustomColorGrid->CustomColorValues;
    CustomColorsCounter = FForm->CustomColorGrid->Counter;
    return true;
}

// ---- Edits and grids -------------------------------------------------------------------------------------------

void TspSkinColorDialog::PaletteChanged()
{
    if (FFromPalette)
        return;
    DrawCursor();
    const TRGB bytes = ColorToBytes(FForm->Viewer->ColorValue());
    FPaletteColor->SetRGB(bytes);
    DrawPSPPalette();
}

void TspSkinColorDialog::RGBEditChange(TObject*)
{
    if (FRGBLock || !FForm)
        return;
    const int r = EditValue(FForm->REdit), g = EditValue(FForm->GEdit), b = EditValue(FForm->BEdit);
    FForm->Viewer->SetColorValue(BytesToColor(static_cast<uint8_t>(r), static_cast<uint8_t>(g),
        static_cast<uint8_t>(b)));
    FHSLLock = true;
    const TIntHSV hsv = RGBToIntHSV(r, g, b);
    SetEditValue(FForm->HEdit, hsv.H);
    SetEditValue(FForm->SEdit, hsv.S);
    SetEditValue(FForm->LEdit, hsv.V);
    PaletteChanged();
    FHSLLock = false;
}

void TspSkinColorDialog::HSLEditChange(TObject*)
{
    if (FHSLLock || !FForm)
        return;
    const TRGB rgb = IntHSVToRGB(EditValue(FForm->HEdit), EditValue(FForm->SEdit), EditValue(FForm->LEdit));
    FForm->Viewer->SetColorValue(BytesToColor(rgb.R, rgb.G, rgb.B));
    FRGBLock = true;
    SetEditValue(FForm->REdit, rgb.R);
    SetEditValue(FForm->GEdit, rgb.G);
    SetEditValue(FForm->BEdit, rgb.B);
    PaletteChanged();
    FRGBLock = false;
}

void TspSkinColorDialog::GridChange(TColor value)
{
    if (!FForm)
        return;
    const TRGB bytes = ColorToBytes(value);
    FRGBLock = true;
    SetEditValue(FForm->REdit, bytes.R);
    SetEditValue(FForm->GEdit, bytes.G);
    SetEditValue(FForm->BEdit, bytes.B);
    FRGBLock = false;
    FForm->Viewer->SetColorValue(value);
    FHSLLock = true;
    const TIntHSV hsv = RGBToIntHSV(bytes.R, bytes.G, bytes.B);
    SetEditValue(FForm->HEdit, hsv.H);
    SetEditValue(FForm->SEdit, hsv.S);
    SetEditValue(FForm->LEdit, hsv.V);
    PaletteChanged();
    FHSLLock = false;
}

void TspSkinColorDialog::ColorGridChange(TObject*)
{
    if (FForm)
        GridChange(FForm->ColorGrid->ColorValue());
}

void TspSkinColorDialog::CustomColorGridChange(TObject*)
{
    if (FForm)
        GridChange(FForm->CustomColorGrid->ColorValue());
}

void TspSkinColorDialog::ChangeEdits()
{
    FFromPalette = true;
    const TRGB rgb = FPaletteColor->RGB();
    SetEditValue(FForm->REdit, rgb.R);
    SetEditValue(FForm->GEdit, rgb.G);
    SetEditValue(FForm->BEdit, rgb.B);
    FFromPalette = false;
}

void TspSkinColorDialog::AddCustomColorButtonClick(TObject*)
{
    if (FForm)
        FForm->CustomColorGrid->AddColor(FForm->Viewer->ColorValue());
}

// ---- Palette ---------------------------------------------------------------------------------------------------

void TspSkinColorDialog::InitPSPPalette()
{
    for (int i = 0; i < 360; ++i)
        FHues[static_cast<size_t>(i)] = HSLColor(i / 359.0, 1.0, 0.47);
    TBitmap* bitmap = FForm->Palette->Picture()->Bitmap();
    TCanvas* canvas = bitmap->Canvas();
    const bool skinnedBackground = FCtrlSkinData && !FCtrlSkinData->Empty
        && FCtrlSkinData->GetControlIndex("panel") != -1;
    if (skinnedBackground)
        SPUtils::GetParentImage(FForm->PaletteHost, canvas);
    else {
        canvas->Pen()->SetMode(pmCopy);
        canvas->Pen()->SetColor(static_cast<TColor>(ColorToRGB(clBtnFace)));
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(static_cast<TColor>(ColorToRGB(clBtnFace)));
        canvas->FillRect({ 0, 0, bitmap->Width(), bitmap->Height() });
    }
    const int right = std::min(bitmap->Width(), static_cast<int>(PalettePSPCoord.Right));
    const int bottom = std::min(bitmap->Height(), static_cast<int>(PalettePSPCoord.Bottom));
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < right; ++x) {
            if (!InPaletteRing(x, y, PalettePSPCoord, kPaintedInnerRing))
                continue;
            int v = RoundInt(CalcAngle3Points(98, 0, 98, 98, x, y));
            if (v == 360)
                v = 0;
            PutPixel(bitmap, x, y, FHues[static_cast<size_t>(359 - v)]);
        }
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(pmXor);
    canvas->Brush()->SetStyle(bsClear);
    // The square, then both cursors.
    DrawPSPPalette();
}

void TspSkinColorDialog::DrawPSPPalette()
{
    TBitmap* bitmap = FForm->Palette->Picture()->Bitmap();
    const double hue = FPaletteColor->HSL().H;
    for (int y = RectPSP.Top; y <= RectPSP.Bottom; ++y)
        for (int x = RectPSP.Left; x <= RectPSP.Right; ++x)
            PutPixel(bitmap, x, y, HSLColor(hue, (x - 44) / 106.0, (y - 44) / 106.0));
    DrawCursor();
    bitmap->SetModified(true);
}

void TspSkinColorDialog::DrawCursor()
{
    TBitmap* bitmap = FForm->Palette->Picture()->Bitmap();
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(pmXor);
    canvas->Brush()->SetStyle(bsClear);
    const THSL& hsl = FPaletteColor->HSL();
    const int sx = RoundInt(106 * hsl.S + 44), sy = RoundInt(106 * hsl.L + 44);
    canvas->Ellipse(sx - 5, sy - 5, sx + 5, sy + 5);
    double rx = 0, ry = 0;
    CalcRotationPoint(97, 97, -static_cast<double>(RoundInt(360 * hsl.H)), 97, 10, rx, ry);
    const int cx = RoundInt(rx), cy = RoundInt(ry);
    canvas->Ellipse(cx - 5, cy - 5, cx + 5, cy + 5);
}

// ---- Mouse on the palette --------------------------------------------------------------------------------------

void TspSkinColorDialog::ZoneAction(int x, int y)
{
    if (!FForm)
        return;
    const THSLPSP current = FPaletteColor->HSLPSP();
    if (FClickZone == czpspPCircle) {
        int l = RoundInt(CalcAngle3Points(97, 0, 97, 97, x, y));
        if (l == 360)
            l = 0;
        const auto hue = static_cast<uint8_t>(RoundInt((359 - l) / 359.0 * 255));
        if (hue == current.H)
            return;
        DrawCursor();
        FPaletteColor->SeTHSLPSP({ hue, current.S, current.L });
        ChangeEdits();
        DrawPSPPalette();
        FForm->Palette->Invalidate();
    } else if (FClickZone == czpspPCar) {
        x = std::clamp(x, 44, 150);
        y = std::clamp(y, 44, 150);
        const auto s = static_cast<uint8_t>(RoundInt((x - 44) / 106.0 * 255));
        const auto l = static_cast<uint8_t>(RoundInt((y - 44) / 106.0 * 255));
        DrawCursor();
        FPaletteColor->SeTHSLPSP({ current.H, s, l });
        ChangeEdits();
        DrawCursor();
        FForm->Palette->Invalidate();
    }
}

void TspSkinColorDialog::PalettePSPMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (x >= RectPSP.Left && x < RectPSP.Right && y >= RectPSP.Top && y < RectPSP.Bottom)
        FClickZone = czpspPCar;
    else if (InPaletteRing(x, y, PalettePSPCoord, kClickedInnerRing))
        FClickZone = czpspPCircle;
    else
        FClickZone = czpspPnone;
    if (button == mbLeft)
        ZoneAction(x, y);
}

void TspSkinColorDialog::PalettePSPMouseMove(TObject*, TShiftState shift, int x, int y)
{
    if (shift.Contains(ssLeft))
        ZoneAction(x, y);
}

void TspSkinColorDialog::PalettePSPMouseUp(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (button == mbLeft)
        ZoneAction(x, y);
    FClickZone = czpspPnone;
}
