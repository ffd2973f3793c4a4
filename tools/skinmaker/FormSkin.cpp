// The frame skin: the dialog frame with its caption bar and caption buttons, and the dialogs' controls.
#include "tools/skinmaker/SkinControls.h"
#include "tools/skinmaker/SkinGlyphs.h"
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinSheet.h"

#include "imaging/TBitmap32.h"

#include <stdexcept>

using namespace SkinTheme;

namespace SkinMaker {

namespace {

using TKV = TSkinDescription::TKeyValues;

// The sample window the frame is cut from.
constexpr int kWidth = 300;
constexpr int kHeight = 220;
// The caption bar below the one-pixel outer edge, and the sizing border at the other three sides.
constexpr int kCaptionBottom = 32;
constexpr int kBorder = 4;
constexpr int kCaptionButtonWidth = 44;
constexpr int kCaptionButtonHeight = kCaptionBottom - 1;

void DrawFrame(TBitmap32& bitmap, bool active)
{
    bitmap.SetSize(kWidth, kHeight);
    TSkinPainter p(bitmap);
    p.FillRoundRect(TFloatRect { 0, 0, kWidth, kHeight }, 0, Body);
    p.FillRoundRect(TFloatRect { 0, 0, kWidth, float(kCaptionBottom) }, 0,
        active ? TFill(CaptionTop, CaptionBottom) : TFill(InactiveCaptionTop, InactiveCaptionBottom));
    p.StrokeRoundRect(TFloatRect { 0, 0, kWidth, kHeight }, 0, 1, active ? WindowEdge : Rgb(0x8C95A2));
}

// The caption bar's colour at a row of a caption button, so a button image matches the bar behind it.
TFill CaptionFill(bool active)
{
    // The bar's gradient runs over rows 0..kCaptionBottom-1; the buttons cover rows 1..kCaptionBottom-1.
    const float step = 1.0f / float(kCaptionBottom - 1);
    const TPaint top = active ? CaptionTop : InactiveCaptionTop;
    const TPaint bottom = active ? CaptionBottom : InactiveCaptionBottom;
    return TFill(Mix(top, bottom, step), bottom);
}

enum class TCaptionLook { Normal, Hot, Down, Inactive, Disabled };

void DrawCaptionButton(TSkinPainter& p, const TRect& r, TGlyph glyph, TCaptionLook look, bool close)
{
    const TFloatRect box { float(r.Left), float(r.Top), float(r.Right), float(r.Bottom) };
    p.FillRoundRect(box, 0, CaptionFill(look != TCaptionLook::Inactive));
    TPaint colour = CaptionText;
    if (look == TCaptionLook::Hot)
        p.FillRoundRect(box, 0, close ? CloseHot : Rgb(0xFFFFFF, 0.12f));
    else if (look == TCaptionLook::Down)
        p.FillRoundRect(box, 0, close ? CloseDown : Rgb(0xFFFFFF, 0.22f));
    else if (look == TCaptionLook::Inactive)
        colour = InactiveCaptionText;
    else if (look == TCaptionLook::Disabled)
        colour = Rgb(0x6B7482);
    SkinGlyphs::Draw(p, glyph, (r.Left + r.Right) / 2.0f, (r.Top + r.Bottom) / 2.0f, 16, colour, CaptionBottom);
}

struct TCaptionButton {
    const char* Name;
    const char* Command;
    TGlyph Glyph;
    bool Close;
};

// One row of the caption-button sheet: normal, hot, pressed, inactive and disabled images.
TKV DrawCaptionRow(TSkinSheet& sheet, TGlyph glyph, int width, bool close, const char* const keys[5])
{
    sheet.NewRow();
    TKV values;
    const TCaptionLook looks[] = { TCaptionLook::Normal, TCaptionLook::Hot, TCaptionLook::Down, TCaptionLook::Inactive,
        TCaptionLook::Disabled };
    for (int i = 0; i < 5; ++i) {
        const TRect r = sheet.Take(width, kCaptionButtonHeight);
        DrawCaptionButton(sheet.Painter(), r, glyph, looks[i], close);
        values.emplace_back(keys[i], RectText(r));
    }
    return values;
}

void AddCaptionButtons(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    static const char* const kStateKeys[5] = { "skinrect", "activeskinrect", "downrect", "inactiveskinrect",
        "disableskinrsect" };
    static const char* const kRestoreKeys[5] = { "restorerect", "restoreactiverect", "restoredownrect",
        "restoreinactiverect", "restoredisabledrect" };
    const TCaptionButton buttons[] = {
        { "closebutton", "cmclose", TGlyph::Close, true },
        { "maxbutton", "cmmaximize", TGlyph::Maximize, false },
        { "minbutton", "cmminimize", TGlyph::Minimize, false },
        { "rollupbutton", "cmrollup", TGlyph::RollUp, false },
        { "sysmenubutton", "cmsysmenu", TGlyph::AppIcon, false },
    };
    for (const TCaptionButton& button : buttons) {
        const bool sysMenu = button.Glyph == TGlyph::AppIcon;
        TKV keys { { "hint", "" }, { "rollup", "0" }, { "activepictureindex", Num(picture) },
            { "skinrectinapicture", "1" }, { "cursorindex", "-1" } };
        TKV states;
        if (sysMenu) {
            // The program's mark: the same image in every state but the inactive one.
            sheet.NewRow();
            const TRect normal = sheet.Take(30, kCaptionButtonHeight);
            const TRect inactive = sheet.Take(30, kCaptionButtonHeight);
            TSkinPainter& p = sheet.Painter();
            p.FillRoundRect(TFloatRect { float(normal.Left), float(normal.Top), float(normal.Right), float(normal.Bottom) },
                0, CaptionFill(true));
            SkinGlyphs::Draw(p, TGlyph::AppIcon, normal.Left + 15.0f, normal.Top + 15.5f, 18, Accent, Surface);
            p.FillRoundRect(
                TFloatRect { float(inactive.Left), float(inactive.Top), float(inactive.Right), float(inactive.Bottom) }, 0,
                CaptionFill(false));
            SkinGlyphs::Draw(p, TGlyph::AppIcon, inactive.Left + 15.0f, inactive.Top + 15.5f, 18, Rgb(0x6F7A8A),
                Rgb(0xD5DAE1));
            states = { { "skinrect", RectText(normal) }, { "activeskinrect", RectText(normal) },
                { "downrect", RectText(normal) }, { "inactiveskinrect", RectText(inactive) },
                { "disableskinrsect", RectText(normal) } };
        } else {
            states = DrawCaptionRow(sheet, button.Glyph, kCaptionButtonWidth, button.Close, kStateKeys);
        }
        // The object keys in the reader's order: the state images, then what buttons and caption buttons add.
        for (const auto& [key, value] : states)
            if (key != "disableskinrsect")
                keys.emplace_back(key, value);
        keys.emplace_back("morphing", "0");
        keys.emplace_back("morphkind", "mkdefault");
        for (const auto& [key, value] : states)
            if (key == "disableskinrsect")
                keys.emplace_back(key, value);
        keys.emplace_back("groupindex", "-1");
        keys.emplace_back("command", button.Command);
        if (button.Glyph == TGlyph::Maximize) {
            TKV restore = DrawCaptionRow(sheet, TGlyph::Restore, kCaptionButtonWidth, false, kRestoreKeys);
            restore.pop_back();
            keys.insert(keys.end(), restore.begin(), restore.end());
        }
        skin.AddObject(button.Name, "stdbutton", keys);
    }
}

void AddCaption(TSkinDescription& skin)
{
    TKV keys { { "hint", "" }, { "rollup", "0" }, { "activepictureindex", "-1" }, { "skinrectinapicture", "0" },
        { "cursorindex", "-1" }, { "skinrect", "38,1,150,32" }, { "activeskinrect", "" }, { "inactiveskinrect", "" },
        { "morphing", "0" }, { "morphkind", "mkdefault" }, { "defaultcaption", "1" }, { "textrect", "2,0,110,31" } };
    keys.emplace_back("fontname", std::string(FontName));
    keys.emplace_back("fontheight", Num(RecordFontHeight));
    keys.emplace_back("fontstyle", "fsbold");
    keys.emplace_back("fontcolor", Num(WinColor(InactiveCaptionText)));
    keys.emplace_back("activefontcolor", Num(WinColor(CaptionText)));
    keys.emplace_back("alignment", "taleftjustify");
    keys.emplace_back("shadow", "0");
    keys.emplace_back("light", "0");
    skin.AddObject("caption", "caption", keys);
}

} // namespace

void BuildFormSkin(TSkinDescription& skin)
{
    skin.Set("VERSION",
        { { "ver", "2" }, { "skinname", "Tarnwick Pro" }, { "skinauthor", "The Tarnwick Pro developers" },
            { "authoremail", "" }, { "authorurl", "" }, { "skincomments", "Dialog frame and controls" } });

    TBitmap32 frame;
    DrawFrame(frame, true);
    skin.SetPicture("picture", "Frame.bmp", frame);
    TBitmap32 inactive;
    DrawFrame(inactive, false);
    skin.SetPicture("inactivepicture", "FrameInactive.bmp", inactive);
    skin.Set("PICTURES", { { "mask", "" }, { "rolluppicture", "" }, { "rollupmask", "" } });

    const int right = kWidth - kBorder;
    const int bottom = kHeight - kBorder;
    skin.Set("FORMINFO",
        { { "lefttoppoint", PointText(8, kCaptionBottom) }, { "righttoppoint", PointText(kWidth - 8, kCaptionBottom) },
            { "leftbottompoint", PointText(8, bottom) }, { "rightbottompoint", PointText(kWidth - 8, bottom) },
            { "clientrect", RectText(TRect { kBorder, kCaptionBottom, right, bottom }) }, { "bgpictureindex", "-1" },
            { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" }, { "bottomstretch", "1" },
            { "stretcheffect", "1" }, { "stretchtype", "stfull" },
            // No button row of its own: the buttons line up at the caption's right end, and the caption text then
            // runs from the icon to the first button, however wide the dialog.
            { "buttonsrect", "" }, { "captionrect", RectText(TRect { 4, 1, kWidth - 1, kCaptionBottom }) },
            { "buttonsoffset", "0" },
            { "buttonsinleft", "0" }, { "borderwidth", Num(kBorder) }, { "formminwidth", "160" },
            // The corners size both ways within 8 pixels of each corner.
            { "hittestlefttoppoint", PointText(8, 8) }, { "hittestrighttoppoint", PointText(kWidth - 8, 8) },
            { "hittestleftbottompoint", PointText(8, kHeight - 8) },
            { "hittestrightbottompoint", PointText(kWidth - 8, kHeight - 8) },
            { "cursorindex", "-1" }, { "autorenderinginactiveimage", "0" }, { "inactiveeffect", "iebrightness" } });

    TSkinSheet captionSheet(5 * (kCaptionButtonWidth + 2) + 2, CaptionBottom);
    skin.Set("SKINOBJECTS", "count", "0");
    AddCaptionButtons(skin, captionSheet, 0);
    AddCaption(skin);
    if (skin.AddActivePicture("CaptionButtons.bmp", captionSheet.Finish()) != 0)
        throw std::logic_error("the caption buttons must be active picture 0");

    constexpr int kControls = 1;
    TSkinSheet controls(420, Body);
    skin.Set("SKINCONTROLS", "count", "0");
    SkinControls::AddButtons(skin, controls, kControls);
    SkinControls::AddCheckRadio(skin, controls, kControls);
    SkinControls::AddGauge(skin, controls, kControls);
    SkinControls::AddTrackBar(skin, controls, kControls);
    SkinControls::AddScrollBars(skin, controls, kControls);
    SkinControls::AddPanels(skin, controls, kControls);
    SkinControls::AddEdits(skin, controls, kControls);
    SkinControls::AddComboBox(skin, controls, kControls);
    SkinControls::AddViews(skin, controls, kControls);
    SkinControls::AddTab(skin, controls, kControls);
    SkinControls::AddLabels(skin);
    if (skin.AddActivePicture("Controls.bmp", controls.Finish()) != kControls)
        throw std::logic_error("the controls must be active picture 1");

    SkinControls::AddPopupMenu(skin);
    SkinControls::AddHintWindow(skin);
    SkinControls::AddColors(skin);
}

} // namespace SkinMaker
