#include "tools/skinmaker/SkinControls.h"

#include "tools/skinmaker/SkinGlyphs.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinSheet.h"

#include <algorithm>
#include <stdexcept>

using namespace SkinTheme;

namespace SkinControls {

namespace {

using TKV = TSkinDescription::TKeyValues;

enum class TState { Normal, Hot, Down, Disabled };
constexpr TState kStates[] = { TState::Normal, TState::Hot, TState::Down, TState::Disabled };

TFloatRect F(const TRect& r, float inset = 0)
{
    return TFloatRect { r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset };
}

TRect Sub(const TRect& origin, int left, int top, int right, int bottom)
{
    return TRect { origin.Left + left, origin.Top + top, origin.Left + right, origin.Top + bottom };
}

void Append(TKV& to, const TKV& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

std::string Colour(const TPaint& paint)
{
    return Num(WinColor(paint));
}

TKV RootKeys(int picture, const TRect& skin)
{
    return { { "pictureindex", Num(picture) }, { "maskpictureindex", "-1" }, { "skinrect", RectText(skin) },
        { "cursorindex", "-1" } };
}

// The nine-part keys: corner pieces of the margins given, every part stretched (the images are flat or vary
// only across their edges, so stretching never shows).
TKV NineKeys(int picture, const TRect& skin, int left, int top, int right, int bottom)
{
    const int w = skin.Right - skin.Left;
    const int h = skin.Bottom - skin.Top;
    TKV keys = RootKeys(picture, skin);
    Append(keys,
        { { "lefttoppoint", PointText(left, top) }, { "righttoppoint", PointText(w - right, top) },
            { "leftbottompoint", PointText(left, h - bottom) }, { "rightbottompoint", PointText(w - right, h - bottom) },
            { "clientrect", RectText(TRect { left, top, w - right, h - bottom }) }, { "leftstretch", "1" },
            { "topstretch", "1" }, { "rightstretch", "1" }, { "bottomstretch", "1" }, { "stretcheffect", "1" },
            { "stretchtype", "stfull" } });
    return keys;
}

// Three parts side by side: the height stays the skin's.
TKV HorzKeys(int picture, const TRect& skin, int left, int right)
{
    const int w = skin.Right - skin.Left;
    const int h = skin.Bottom - skin.Top;
    TKV keys = RootKeys(picture, skin);
    Append(keys,
        { { "lefttoppoint", PointText(left, 0) }, { "righttoppoint", PointText(w - right, 0) },
            { "leftbottompoint", "0,0" }, { "rightbottompoint", "0,0" },
            { "clientrect", RectText(TRect { left, 0, w - right, h }) }, { "leftstretch", "1" }, { "topstretch", "1" },
            { "rightstretch", "1" }, { "bottomstretch", "1" }, { "stretcheffect", "1" }, { "stretchtype", "stfull" } });
    return keys;
}

// Three parts one above the other: the width stays the skin's.
TKV VertKeys(int picture, const TRect& skin, int top, int bottom)
{
    const int w = skin.Right - skin.Left;
    const int h = skin.Bottom - skin.Top;
    TKV keys = RootKeys(picture, skin);
    Append(keys,
        { { "lefttoppoint", PointText(0, top) }, { "righttoppoint", "0,0" },
            { "leftbottompoint", PointText(0, h - bottom) }, { "rightbottompoint", "0,0" },
            { "clientrect", RectText(TRect { 0, top, w, h - bottom }) }, { "leftstretch", "1" }, { "topstretch", "1" },
            { "rightstretch", "1" }, { "bottomstretch", "1" }, { "stretcheffect", "1" }, { "stretchtype", "stfull" } });
    return keys;
}

void Glyph(TSkinPainter& p, TGlyph glyph, const TRect& box, float size, const TPaint& colour, const TPaint& under)
{
    SkinGlyphs::Draw(p, glyph, (box.Left + box.Right) / 2.0f, (box.Top + box.Bottom) / 2.0f, size, colour, under);
}

// ---- Push buttons ------------------------------------------------------------------------------------------------

void DrawPushButton(TSkinPainter& p, const TRect& r, TState state)
{
    p.FillRoundRect(F(r), 0, Body);
    switch (state) {
    case TState::Normal:
        p.FillRoundRect(F(r), 4, TFill(Surface, Rgb(0xF5F7FA)));
        p.StrokeRoundRect(F(r), 4, 1, StrongBorder);
        break;
    case TState::Hot:
        p.FillRoundRect(F(r), 4, TFill(Rgb(0xF7FAFF), Rgb(0xEDF3FD)));
        p.StrokeRoundRect(F(r), 4, 1, AccentHot);
        break;
    case TState::Down:
        p.FillRoundRect(F(r), 4, TFill(AccentSoftDown, AccentSoft));
        p.StrokeRoundRect(F(r), 4, 1, Accent);
        break;
    case TState::Disabled:
        p.FillRoundRect(F(r), 4, Rgb(0xF0F2F5));
        p.StrokeRoundRect(F(r), 4, 1, Border);
        break;
    }
}

void DrawHeader(TSkinPainter& p, const TRect& r, TState state)
{
    const TPaint fill = state == TState::Hot ? HoverFill : state == TState::Down ? DownFill : Rgb(0xF0F3F7);
    p.FillRoundRect(F(r), 0, fill);
    p.FillRoundRect(TFloatRect { float(r.Left), float(r.Bottom - 1), float(r.Right), float(r.Bottom) }, 0, Border);
    p.FillRoundRect(TFloatRect { float(r.Right - 1), float(r.Top + 5), float(r.Right), float(r.Bottom - 5) }, 0, Border);
}

// Four state images of one look; returns them in the order normal, hot, pressed, disabled.
template <typename Draw>
std::vector<TRect> FourStates(TSkinSheet& sheet, int width, int height, Draw draw)
{
    sheet.NewRow();
    std::vector<TRect> rects;
    for (TState state : kStates) {
        rects.push_back(sheet.Take(width, height));
        draw(sheet.Painter(), rects.back(), state);
    }
    return rects;
}

TKV ButtonKeys(int picture, const std::vector<TRect>& states, int margin, const TPaint& downText = AccentDown,
    bool showFocus = true)
{
    TKV keys = NineKeys(picture, states[0], margin, margin, margin, margin);
    Append(keys, FontKeys(Text));
    Append(keys,
        { { "activefontcolor", Colour(Text) }, { "downfontcolor", Colour(downText) },
            { "disabledfontcolor", Colour(DisabledText) }, { "morphing", "0" }, { "morphkind", "mkdefault" },
            { "activeskinrect", RectText(states[1]) }, { "downskinrect", RectText(states[2]) },
            { "disabledskinrect", RectText(states[3]) }, { "framecount", "0" }, { "animateinterval", "25" },
            { "showfocus", showFocus ? "1" : "0" } });
    return keys;
}

// ---- Scroll bars -------------------------------------------------------------------------------------------------

const TPaint Track = Rgb(0xECEFF3);

// A bar with its two arrow buttons at the ends of `r`; `corner` leaves a square at the far end for the corner
// between two bars.
void DrawBar(TSkinPainter& p, const TRect& r, bool vertical, int corner)
{
    p.FillRoundRect(F(r), 0, Track);
    const int s = 16;
    if (vertical) {
        Glyph(p, TGlyph::ChevronUp, Sub(r, 0, 0, s, s), 12, MutedText, Track);
        Glyph(p, TGlyph::ChevronDown, TRect { r.Left, r.Bottom - s, r.Right, r.Bottom }, 12, MutedText, Track);
    } else {
        const int end = r.Right - corner;
        Glyph(p, TGlyph::ChevronLeft, Sub(r, 0, 0, s, s), 12, MutedText, Track);
        Glyph(p, TGlyph::ChevronRight, TRect { end - s, r.Top, end, r.Bottom }, 12, MutedText, Track);
        if (corner > 0)
            p.FillRoundRect(F(TRect { end, r.Top, r.Right, r.Bottom }), 0, Rgb(0xE4E8ED));
    }
}

void DrawArrowButton(TSkinPainter& p, const TRect& r, TGlyph glyph, TState state)
{
    p.FillRoundRect(F(r), 0, Track);
    p.FillRoundRect(F(r, 1), 3, state == TState::Down ? DownFill : HoverFill);
    Glyph(p, glyph, r, 12, state == TState::Down ? AccentDown : Text, HoverFill);
}

void DrawThumb(TSkinPainter& p, const TRect& r, bool vertical, TState state)
{
    p.FillRoundRect(F(r), 0, Track);
    const TPaint fill = state == TState::Hot ? Rgb(0xA3ACB9) : state == TState::Down ? Rgb(0x8893A3) : Rgb(0xC3CAD3);
    const TFloatRect pill = vertical ? TFloatRect { r.Left + 4.0f, r.Top + 2.0f, r.Right - 4.0f, r.Bottom - 2.0f }
                                     : TFloatRect { r.Left + 2.0f, r.Top + 4.0f, r.Right - 2.0f, r.Bottom - 4.0f };
    p.FillRoundRect(pill, 4, fill);
}

void AddScrollBar(TSkinDescription& skin, TSkinSheet& sheet, int picture, const char* name, bool vertical, int corner)
{
    constexpr int s = 16;
    constexpr int length = 100;
    sheet.NewRow();
    const TRect bar = vertical ? sheet.Take(s, length) : sheet.Take(length + corner, s);
    DrawBar(sheet.Painter(), bar, vertical, corner);
    // The increase button is the one at the far end (down or right), the decrease button the one at the start.
    const TGlyph increase = vertical ? TGlyph::ChevronDown : TGlyph::ChevronRight;
    const TGlyph decrease = vertical ? TGlyph::ChevronUp : TGlyph::ChevronLeft;
    TRect images[4];
    const TGlyph glyphs[4] = { increase, increase, decrease, decrease };
    const TState states[4] = { TState::Hot, TState::Down, TState::Hot, TState::Down };
    for (int i = 0; i < 4; ++i) {
        images[i] = sheet.Take(s, s);
        DrawArrowButton(sheet.Painter(), images[i], glyphs[i], states[i]);
    }
    TRect thumbs[3];
    const TState thumbStates[3] = { TState::Normal, TState::Hot, TState::Down };
    for (int i = 0; i < 3; ++i) {
        thumbs[i] = vertical ? sheet.Take(s, 32) : sheet.Take(32, s);
        DrawThumb(sheet.Painter(), thumbs[i], vertical, thumbStates[i]);
    }
    // The far button sits just past the last point, so it moves with the bar's length.
    TKV keys = vertical ? VertKeys(picture, bar, s, s + 1) : HorzKeys(picture, bar, s, s + 1 + corner);
    const TRect track = vertical ? TRect { 0, s, s, length - s } : TRect { s, 0, length - s, s };
    const TRect up = vertical ? TRect { 0, length - s, s, length } : TRect { length - s, 0, length, s };
    const TRect down { 0, 0, s, s };
    Append(keys,
        { { "trackarea", RectText(track) }, { "upbuttonrect", RectText(up) },
            { "activeupbuttonrect", RectText(images[0]) }, { "downupbuttonrect", RectText(images[1]) },
            { "downbuttonrect", RectText(down) }, { "activedownbuttonrect", RectText(images[2]) },
            { "downdownbuttonrect", RectText(images[3]) }, { "thumbrect", RectText(thumbs[0]) },
            { "activethumbrect", RectText(thumbs[1]) }, { "downthumbrect", RectText(thumbs[2]) },
            { "thumboffset1", "7" }, { "thumboffset2", "7" }, { "thumbtransparent", "0" },
            { "thumbtransparentcolor", "16711935" } });
    skin.AddControl(name, "scrollbar", keys);
}

// ---- Fields ------------------------------------------------------------------------------------------------------

void DrawField(TSkinPainter& p, const TRect& r, bool focused, bool enabled = true)
{
    p.FillRoundRect(F(r), 0, Body);
    p.FillRoundRect(F(r), 3, enabled ? Surface : Rgb(0xF0F2F5));
    if (focused) {
        p.StrokeRoundRect(F(r), 3, 1.5f, Accent);
    } else {
        p.StrokeRoundRect(F(r), 3, 1, enabled ? StrongBorder : Border);
    }
}

// The image of a small button inside a field (drop-down, ellipsis, spin arrows).
void DrawFieldButton(TSkinPainter& p, const TRect& r, TGlyph glyph, float size, TState state)
{
    p.FillRoundRect(F(r), 0, Surface);
    if (state == TState::Hot || state == TState::Down)
        p.FillRoundRect(F(r, 1), 3, state == TState::Down ? DownFill : HoverFill);
    const TPaint colour = state == TState::Disabled ? DisabledText : state == TState::Normal ? MutedText : Text;
    Glyph(p, glyph, r, size, colour, Surface);
}

TKV FieldButtonImages(TSkinSheet& sheet, int width, int height, TGlyph glyph, float size, const char* active,
    const char* down, const char* disabled)
{
    TKV keys;
    const std::pair<const char*, TState> images[] = { { active, TState::Hot }, { down, TState::Down },
        { disabled, TState::Disabled } };
    for (const auto& [key, state] : images) {
        if (!key)
            continue;
        const TRect r = sheet.Take(width, height);
        DrawFieldButton(sheet.Painter(), r, glyph, size, state);
        keys.emplace_back(key, RectText(r));
    }
    return keys;
}

TKV EditFontKeys()
{
    TKV keys = FontKeys(Text);
    Append(keys, { { "activefontcolor", Colour(Text) }, { "disabledfontcolor", Colour(DisabledText) } });
    return keys;
}

// ---- Check boxes and radio buttons ---------------------------------------------------------------------------

void DrawMark(TSkinPainter& p, const TRect& r, bool radio, bool checked, TState state)
{
    p.FillRoundRect(F(r), 0, Body);
    const float radius = radio ? 8 : 3;
    const TFloatRect box = F(r, 0.5f);
    if (state == TState::Disabled) {
        p.FillRoundRect(box, radius, Rgb(0xECEFF3));
        p.StrokeRoundRect(box, radius, 1, Border);
        if (checked)
            radio ? p.FillCircle(r.Left + 8.0f, r.Top + 8.0f, 3.5f, DisabledText)
                  : Glyph(p, TGlyph::Check, r, 13, DisabledText, Body);
        return;
    }
    const bool hot = state == TState::Hot;
    if (checked) {
        p.FillRoundRect(box, radius, hot ? AccentHot : Accent);
        if (radio)
            p.FillCircle(r.Left + 8.0f, r.Top + 8.0f, 3.5f, Surface);
        else
            Glyph(p, TGlyph::Check, r, 13, Surface, Accent);
    } else {
        p.FillRoundRect(box, radius, Surface);
        p.StrokeRoundRect(box, radius, hot ? 1.5f : 1.0f, hot ? Accent : Rgb(0x8E99A8));
    }
}

void AddCheckRadioRecord(TSkinDescription& skin, TSkinSheet& sheet, int picture, const char* name, bool radio)
{
    sheet.NewRow();
    const TRect back = sheet.Take(120, 20);
    sheet.Painter().FillRoundRect(F(back), 0, Body);
    const std::pair<const char*, std::pair<bool, TState>> marks[] = { { "checkimagerect", { true, TState::Normal } },
        { "uncheckimagerect", { false, TState::Normal } }, { "activecheckimagerect", { true, TState::Hot } },
        { "activeuncheckimagerect", { false, TState::Hot } }, { "unenabledcheckimagerect", { true, TState::Disabled } },
        { "unenableduncheckimagerect", { false, TState::Disabled } } };
    TKV keys = NineKeys(picture, back, 2, 2, 2, 2);
    Append(keys, FontKeys(Text));
    Append(keys,
        { { "activefontcolor", Colour(Text) }, { "unenabledfontcolor", Colour(DisabledText) },
            { "framefontcolor", Colour(Text) }, { "morphing", "0" }, { "morphkind", "mkdefault" },
            { "activeskinrect", RectText(back) }, { "checkimagearea", "2,2,18,18" }, { "textarea", "22,0,118,20" } });
    for (const auto& [key, look] : marks) {
        const TRect r = sheet.Take(16, 16);
        DrawMark(sheet.Painter(), r, radio, look.first, look.second);
        keys.emplace_back(key, RectText(r));
    }
    skin.AddControl(name, "checkradio", keys);
}

} // namespace

TSkinDescription::TKeyValues FontKeys(const TPaint& colour, bool bold)
{
    return { { "fontname", std::string(FontName) }, { "fontheight", Num(RecordFontHeight) },
        { "fontstyle", bold ? "fsbold" : "" }, { "fontcolor", Colour(colour) } };
}

void AddScrollBars(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    AddScrollBar(skin, sheet, picture, "vscrollbar", true, 0);
    AddScrollBar(skin, sheet, picture, "hscrollbar", false, 0);
    AddScrollBar(skin, sheet, picture, "bothhscrollbar", false, 16);
}

void AddTrackBar(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect bar = sheet.Take(120, 22);
    p.FillRoundRect(F(bar), 0, Body);
    p.FillRoundRect(TFloatRect { bar.Left + 4.0f, bar.Top + 9.0f, bar.Right - 4.0f, bar.Top + 13.0f }, 2, Rgb(0xCDD4DD));
    const TRect thumb = sheet.Take(16, 16);
    p.FillRoundRect(F(thumb), 0, Body);
    p.FillCircle(thumb.Left + 8.0f, thumb.Top + 8.0f, 7.5f, Accent);
    p.FillCircle(thumb.Left + 8.0f, thumb.Top + 8.0f, 5.0f, Surface);
    const TRect active = sheet.Take(16, 16);
    p.FillRoundRect(F(active), 0, Body);
    p.FillCircle(active.Left + 8.0f, active.Top + 8.0f, 7.5f, AccentDown);
    p.FillCircle(active.Left + 8.0f, active.Top + 8.0f, 3.0f, Surface);
    TKV keys = HorzKeys(picture, bar, 10, 10);
    Append(keys,
        { { "activeskinrect", "" }, { "trackarea", "2,3,118,19" }, { "buttonrect", RectText(thumb) },
            { "activebuttonrect", RectText(active) }, { "vertical", "0" }, { "buttontransparent", "0" },
            { "buttontransparentcolor", "16711935" } });
    skin.AddControl("htrackbar", "trackbar", keys);
}

void AddComboBox(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect normal = sheet.Take(120, 24);
    DrawField(p, normal, false);
    Glyph(p, TGlyph::ChevronDown, Sub(normal, 100, 2, 118, 22), 14, MutedText, Surface);
    const TRect active = sheet.Take(120, 24);
    DrawField(p, active, true);
    Glyph(p, TGlyph::ChevronDown, Sub(active, 100, 2, 118, 22), 14, Text, Surface);
    // The edit part's item looks: plain, highlighted, and focused (selected text).
    const TRect item = sheet.Take(60, 18);
    p.FillRoundRect(F(item), 0, Surface);
    const TRect activeItem = sheet.Take(60, 18);
    p.FillRoundRect(F(activeItem), 0, Surface);
    p.FillRoundRect(F(activeItem), 2, AccentSoft);
    const TRect focusItem = sheet.Take(60, 18);
    p.FillRoundRect(F(focusItem), 0, Surface);
    p.FillRoundRect(F(focusItem), 2, Accent);

    TKV keys = NineKeys(picture, normal, 6, 4, 22, 4);
    Append(keys,
        { { "activeskinrect", RectText(active) }, { "itemrect", RectText(item) },
            { "activeitemrect", RectText(activeItem) }, { "focusitemrect", RectText(focusItem) },
            { "itemleftoffset", "2" }, { "itemrightoffset", "2" }, { "itemtextrect", "4,0,56,18" } });
    Append(keys, FontKeys(Text));
    Append(keys,
        { { "focusfontcolor", Colour(Surface) }, { "activefontcolor", Colour(Text) }, { "listboxname", "listbox" },
            { "buttonrect", "100,2,118,22" } });
    Append(keys,
        FieldButtonImages(
            sheet, 18, 20, TGlyph::ChevronDown, 14, "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"));
    Append(keys, { { "itemstretcheffect", "1" }, { "focusitemstretcheffect", "1" }, { "showfocus", "0" } });
    skin.AddControl("combobox", "combobox", keys);

    // The drop-down list.
    sheet.NewRow();
    const TRect list = sheet.Take(120, 100);
    p.FillRoundRect(F(list), 0, Surface);
    p.StrokeRoundRect(F(list), 0, 1, StrongBorder);
    const TRect row = sheet.Take(100, 20);
    p.FillRoundRect(F(row), 0, Surface);
    const TRect hotRow = sheet.Take(100, 20);
    p.FillRoundRect(F(hotRow), 0, Surface);
    p.FillRoundRect(F(hotRow), 3, AccentSoft);
    const TRect focusRow = sheet.Take(100, 20);
    p.FillRoundRect(F(focusRow), 0, Surface);
    p.FillRoundRect(F(focusRow), 3, Accent);
    TKV listKeys = NineKeys(picture, list, 2, 2, 2, 2);
    Append(listKeys,
        { { "itemrect", RectText(row) }, { "activeitemrect", RectText(hotRow) },
            { "focusitemrect", RectText(focusRow) }, { "itemleftoffset", "2" }, { "itemrightoffset", "2" },
            { "itemtextrect", "6,0,94,20" } });
    Append(listKeys, FontKeys(Text));
    Append(listKeys,
        { { "activefontcolor", Colour(Text) }, { "focusfontcolor", Colour(Surface) }, { "captionrect", "" },
            { "captionfontname", std::string(FontName) }, { "captionfontheight", Num(RecordFontHeight) },
            { "captionfontstyle", "fsbold" }, { "captionfontcolor", Colour(Text) }, { "vscrollbarname", "vscrollbar" },
            { "hscrollbarname", "hscrollbar" }, { "bothhscrollbarname", "bothhscrollbar" }, { "showfocus", "0" } });
    skin.AddControl("listbox", "listbox", listKeys);

    // The button of a freely sized combo box.
    const std::vector<TRect> button = FourStates(sheet, 18, 22, DrawPushButton);
    skin.AddControl("combobutton", "button", ButtonKeys(picture, button, 5));
}

void AddButtons(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    const std::vector<TRect> push = FourStates(sheet, 75, 25, DrawPushButton);
    skin.AddControl("button", "button", ButtonKeys(picture, push, 5));
    // Notebook page buttons and the spin buttons' fallback wear the push button's look.
    skin.AddControl("resizebutton", "button", ButtonKeys(picture, push, 5));
    const std::vector<TRect> small = FourStates(sheet, 20, 22, DrawPushButton);
    skin.AddControl("editbutton", "button", ButtonKeys(picture, small, 5));
    const std::vector<TRect> header = FourStates(sheet, 80, 24, DrawHeader);
    // A pressed header keeps its text colour and shows no focus.
    skin.AddControl("HeadButton", "button", ButtonKeys(picture, header, 5, Text, false));
}

void AddCheckRadio(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    AddCheckRadioRecord(skin, sheet, picture, "checkbox", false);
    AddCheckRadioRecord(skin, sheet, picture, "radiobox", true);
}

void AddGauge(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect back = sheet.Take(100, 18);
    p.FillRoundRect(F(back), 0, Body);
    p.FillRoundRect(F(back), 5, Rgb(0xE6EAF0));
    p.StrokeRoundRect(F(back), 5, 1, Border);
    const TRect fill = sheet.Take(40, 14);
    p.FillRoundRect(F(fill), 0, Rgb(0xE6EAF0));
    p.FillRoundRect(F(fill), 4, TFill(Rgb(0x8DB2F6), Progress));
    TKV keys = NineKeys(picture, back, 6, 6, 6, 6);
    Append(keys,
        { { "progressarea", "2,2,98,16" }, { "progressrect", RectText(fill) }, { "beginoffset", "5" },
            { "endoffset", "5" }, { "vertical", "0" } });
    Append(keys, FontKeys(Text));
    Append(keys,
        { { "progresstransparent", "0" }, { "progresstransparentcolor", "16711935" }, { "progressstretch", "1" } });
    skin.AddControl("gauge", "gauge", keys);
}

void AddPanels(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect panel = sheet.Take(60, 40);
    p.FillRoundRect(F(panel), 0, Body);
    TKV keys = NineKeys(picture, panel, 4, 4, 4, 4);
    Append(keys, { { "bgpictureindex", "-1" }, { "captionrect", "" }, { "alignment", "taleftjustify" } });
    Append(keys, FontKeys(Text));
    skin.AddControl("panel", "panel", keys);

    // A group box is a card whose caption sits in a band along its top.
    const TRect group = sheet.Take(160, 90);
    p.FillRoundRect(F(group), 0, Body);
    p.FillRoundRect(F(group), 5, Rgb(0xF8F9FB));
    p.SetClip(Sub(group, 0, 0, 160, 24));
    p.FillRoundRect(F(group), 5, Band);
    p.ResetClip();
    p.FillRoundRect(F(Sub(group, 1, 23, 159, 24)), 0, Border);
    p.StrokeRoundRect(F(group), 5, 1, Border);
    TKV groupKeys = NineKeys(picture, group, 6, 26, 6, 6);
    Append(groupKeys, { { "bgpictureindex", "-1" }, { "captionrect", "10,0,150,24" }, { "alignment", "taleftjustify" } });
    Append(groupKeys, FontKeys(Text, true));
    skin.AddControl("groupbox", "panel", groupKeys);
}

void AddEdits(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect normal = sheet.Take(100, 24);
    DrawField(p, normal, false);
    const TRect active = sheet.Take(100, 24);
    DrawField(p, active, true);
    TKV keys = NineKeys(picture, normal, 6, 4, 6, 4);
    keys.emplace_back("activeskinrect", RectText(active));
    Append(keys, EditFontKeys());
    skin.AddControl("edit", "edit", keys);
    TKV memoKeys = keys;
    Append(memoKeys, { { "bgcolor", Colour(Surface) }, { "activebgcolor", Colour(Surface) } });
    skin.AddControl("memo", "memo", memoKeys);

    // An edit with an ellipsis button at its right end.
    const TRect withButton = sheet.Take(120, 24);
    DrawField(p, withButton, false);
    Glyph(p, TGlyph::Ellipsis, Sub(withButton, 98, 2, 118, 22), 14, MutedText, Surface);
    const TRect withButtonActive = sheet.Take(120, 24);
    DrawField(p, withButtonActive, true);
    Glyph(p, TGlyph::Ellipsis, Sub(withButtonActive, 98, 2, 118, 22), 14, Text, Surface);
    TKV buttonKeys = NineKeys(picture, withButton, 6, 4, 24, 4);
    buttonKeys.emplace_back("activeskinrect", RectText(withButtonActive));
    Append(buttonKeys, EditFontKeys());
    buttonKeys.emplace_back("buttonrect", "98,2,118,22");
    Append(buttonKeys,
        FieldButtonImages(
            sheet, 20, 20, TGlyph::Ellipsis, 14, "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"));
    skin.AddControl("buttonedit", "edit", buttonKeys);

    // The spin edit: two stacked arrow buttons at the right end.
    sheet.NewRow();
    const TRect spin = sheet.Take(100, 24);
    DrawField(p, spin, false);
    p.FillRoundRect(F(Sub(spin, 82, 3, 83, 21)), 0, Border);
    Glyph(p, TGlyph::ChevronUp, Sub(spin, 83, 2, 98, 12), 11, MutedText, Surface);
    Glyph(p, TGlyph::ChevronDown, Sub(spin, 83, 12, 98, 22), 11, MutedText, Surface);
    const TRect spinActive = sheet.Take(100, 24);
    DrawField(p, spinActive, true);
    p.FillRoundRect(F(Sub(spinActive, 82, 3, 83, 21)), 0, Border);
    Glyph(p, TGlyph::ChevronUp, Sub(spinActive, 83, 2, 98, 12), 11, Text, Surface);
    Glyph(p, TGlyph::ChevronDown, Sub(spinActive, 83, 12, 98, 22), 11, Text, Surface);
    TKV spinKeys = NineKeys(picture, spin, 6, 4, 20, 4);
    spinKeys.emplace_back("activeskinrect", RectText(spinActive));
    Append(spinKeys, EditFontKeys());
    spinKeys.emplace_back("upbuttonrect", "83,2,98,12");
    Append(spinKeys, FieldButtonImages(sheet, 15, 10, TGlyph::ChevronUp, 11, "activeupbuttonrect", "downupbuttonrect", nullptr));
    spinKeys.emplace_back("downbuttonrect", "83,12,98,22");
    Append(spinKeys,
        FieldButtonImages(sheet, 15, 10, TGlyph::ChevronDown, 11, "activedownbuttonrect", "downdownbuttonrect", nullptr));
    skin.AddControl("spinedit", "spinedit", spinKeys);

    // Up-down pairs: side by side for tab rows, stacked for the rest. "up" is the button that increases.
    const struct {
        const char* Name;
        bool Vertical;
    } pairs[] = { { "hupdown", false }, { "vupdown", true } };
    for (const auto& pair : pairs) {
        sheet.NewRow();
        const int bw = pair.Vertical ? 16 : 18;
        const int bh = pair.Vertical ? 12 : 18;
        const TRect whole = pair.Vertical ? sheet.Take(bw, 2 * bh) : sheet.Take(2 * bw, bh);
        const TRect up = pair.Vertical ? TRect { 0, 0, bw, bh } : TRect { bw, 0, 2 * bw, bh };
        const TRect down = pair.Vertical ? TRect { 0, bh, bw, 2 * bh } : TRect { 0, 0, bw, bh };
        const TGlyph upGlyph = pair.Vertical ? TGlyph::ChevronUp : TGlyph::ChevronRight;
        const TGlyph downGlyph = pair.Vertical ? TGlyph::ChevronDown : TGlyph::ChevronLeft;
        p.FillRoundRect(F(whole), 0, Body);
        for (const auto& [place, glyph] : { std::pair { up, upGlyph }, std::pair { down, downGlyph } }) {
            const TRect r = Sub(whole, place.Left, place.Top, place.Right, place.Bottom);
            p.FillRoundRect(F(r, 0.5f), 3, Surface);
            p.StrokeRoundRect(F(r, 0.5f), 3, 1, Border);
            Glyph(p, glyph, r, pair.Vertical ? 10.0f : 12.0f, MutedText, Surface);
        }
        TKV pairKeys = RootKeys(picture, whole);
        Append(pairKeys,
            { { "lefttoppoint", "0,0" }, { "righttoppoint", "0,0" }, { "leftbottompoint", "0,0" },
                { "rightbottompoint", "0,0" }, { "clientrect", "0,0,0,0" } });
        pairKeys.emplace_back("upbuttonrect", RectText(up));
        Append(pairKeys, FieldButtonImages(sheet, bw, bh, upGlyph, pair.Vertical ? 10.0f : 12.0f, "activeupbuttonrect",
                             "downupbuttonrect", nullptr));
        pairKeys.emplace_back("downbuttonrect", RectText(down));
        Append(pairKeys, FieldButtonImages(sheet, bw, bh, downGlyph, pair.Vertical ? 10.0f : 12.0f,
                             "activedownbuttonrect", "downdownbuttonrect", nullptr));
        skin.AddControl(pair.Name, "updown", pairKeys);
    }
}

void AddViews(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect frame = sheet.Take(60, 40);
    p.FillRoundRect(F(frame), 0, Surface);
    p.StrokeRoundRect(F(frame), 0, 1, Border);
    for (const char* name : { "listview", "treeview" }) {
        TKV keys = RootKeys(picture, frame);
        Append(keys, FontKeys(Text));
        keys.emplace_back("bgcolor", Colour(Surface));
        skin.AddControl(name, name, keys);
    }
}

void AddTab(TSkinDescription& skin, TSkinSheet& sheet, int picture)
{
    sheet.NewRow();
    TSkinPainter& p = sheet.Painter();
    const TRect page = sheet.Take(120, 80);
    p.FillRoundRect(F(page), 0, Body);
    p.StrokeRoundRect(F(page), 0, 1, Border);
    const TRect rowBack = sheet.Take(20, 28);
    p.FillRoundRect(F(rowBack), 0, Body);
    p.FillRoundRect(F(Sub(rowBack, 0, 27, 20, 28)), 0, Border);
    const auto drawTab = [&](const TRect& r, int look) {
        p.FillRoundRect(F(r), 0, Body);
        const TFloatRect shape { r.Left + 1.0f, r.Top + 2.0f, r.Right - 1.0f, r.Bottom + 6.0f };
        p.SetClip(TRect { r.Left, r.Top, r.Right, r.Bottom });
        if (look == 1) {
            p.FillRoundRect(shape, 4, HoverFill);
        } else if (look == 2) {
            p.FillRoundRect(shape, 4, Body);
            p.StrokeRoundRect(shape, 4, 1, Border);
            p.SetClip(TRect { r.Left, r.Top, r.Right, r.Top + 5 });
            p.FillRoundRect(TFloatRect { shape.Left, shape.Top, shape.Right, shape.Top + 10 }, 4, Accent);
        }
        p.ResetClip();
        if (look != 2)
            p.FillRoundRect(F(TRect { r.Left, r.Bottom - 1, r.Right, r.Bottom }), 0, Border);
    };
    const TRect tab = sheet.Take(80, 28);
    drawTab(tab, 0);
    const TRect hotTab = sheet.Take(80, 28);
    drawTab(hotTab, 1);
    const TRect activeTab = sheet.Take(80, 28);
    drawTab(activeTab, 2);

    TKV keys = RootKeys(picture, page);
    Append(keys,
        { { "tabrect", RectText(tab) }, { "activetabrect", RectText(activeTab) },
            { "focustabrect", RectText(activeTab) }, { "mouseintabrect", RectText(hotTab) },
            { "clientrect", "4,4,116,76" }, { "bgpictureindex", "-1" }, { "lefttoppoint", "4,4" },
            { "righttoppoint", "116,4" }, { "leftbottompoint", "4,76" }, { "rightbottompoint", "116,76" },
            { "tableftoffset", "6" }, { "tabrightoffset", "6" }, { "tabsbgrect", RectText(rowBack) },
            { "tabstretcheffect", "1" }, { "leftstretch", "1" }, { "topstretch", "1" }, { "rightstretch", "1" },
            { "bottomstretch", "1" }, { "stretcheffect", "1" }, { "stretchtype", "stfull" } });
    Append(keys, FontKeys(MutedText));
    Append(keys,
        { { "activefontcolor", Colour(Text) }, { "focusfontcolor", Colour(Text) },
            { "mouseinfontcolor", Colour(Text) }, { "updown", "hupdown" }, { "showfocus", "0" },
            { "focusoffsetx", "0" }, { "focusoffsety", "0" } });
    skin.AddControl("tab", "tab", keys);
}

void AddLabels(TSkinDescription& skin)
{
    TKV label { { "pictureindex", "-1" }, { "maskpictureindex", "-1" }, { "skinrect", "0,0,0,0" },
        { "cursorindex", "-1" } };
    Append(label, FontKeys(Text));
    label.emplace_back("activefontcolor", Colour(Accent));
    skin.AddControl("stdlabel", "stdlabel", label);
    skin.AddControl("bevel", "bevel",
        { { "pictureindex", "-1" }, { "maskpictureindex", "-1" }, { "skinrect", "0,0,0,0" }, { "cursorindex", "-1" },
            { "lightcolor", Colour(Surface) }, { "darkcolor", Colour(Border) } });
}

void RoundMask(TBitmap32& mask, int width, int height, float radius)
{
    mask.SetSize(width, height);
    mask.Clear(0xFFFFFFFF);
    // Whole pixels only: a mask has no half-covered pixels, so the edge is where the coverage passes one half.
    TBitmap32 cover;
    cover.SetSize(width, height);
    cover.Clear(0xFF000000);
    TSkinPainter c(cover);
    c.FillRoundRect(TFloatRect { 0, 0, float(width), float(height) }, radius, Rgb(0xFFFFFF));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((cover.Pixel(x, y) & 0xFF) >= 128)
                mask.SetPixel(x, y, 0xFF000000);
}

namespace {

int AddMask(TSkinDescription& skin, const char* name, int width, int height, float radius)
{
    TBitmap32 mask;
    RoundMask(mask, width, height, radius);
    return skin.AddActivePicture(name, mask);
}

} // namespace

void AddPopupMenu(TSkinDescription& skin)
{
    constexpr int w = 160;
    constexpr int h = 120;
    TBitmap32 window;
    window.SetSize(w, h);
    window.Clear(0xFFFFFFFF);
    TSkinPainter p(window);
    p.FillRoundRect(TFloatRect { 0, 0, w, h }, 6, Surface);
    p.StrokeRoundRect(TFloatRect { 0, 0, w, h }, 6, 1, StrongBorder);
    const int windowPicture = skin.AddActivePicture("PopupWindow.bmp", window);
    const int maskPicture = AddMask(skin, "PopupWindowMask.bmp", w, h, 6);
    skin.Set("POPUPWINDOW",
        { { "windowpictureindex", Num(windowPicture) }, { "maskpictureindex", Num(maskPicture) },
            { "lefttoppoint", "8,8" }, { "righttoppoint", "152,8" }, { "leftbottompoint", "8,112" },
            { "rightbottompoint", "152,112" }, { "itemsrect", "4,5,156,115" }, { "cursorindex", "-1" },
            { "scrollmarkercolor", Colour(MutedText) }, { "scrollmarkeractivecolor", Colour(Accent) },
            { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" }, { "bottomstretch", "1" },
            { "stretcheffect", "1" }, { "stretchtype", "stfull" } });

    // The item looks, with the normal one at the picture's corner so its places read the same either way.
    TBitmap32 items;
    items.SetSize(152, 60);
    items.Clear(0xFFFFFFFF);
    TSkinPainter q(items);
    const TRect normal { 0, 0, 152, 24 };
    const TRect active { 0, 26, 152, 50 };
    const TRect divider { 0, 52, 152, 59 };
    q.FillRoundRect(F(active, 0), 0, Surface);
    q.FillRoundRect(TFloatRect { 2, 27, 150, 49 }, 4, AccentSoft);
    q.FillRoundRect(TFloatRect { 0, 55, 152, 56 }, 0, Border);
    const int itemPicture = skin.AddActivePicture("MenuItem.bmp", items);
    TKV keys { { "hint", "" }, { "rollup", "0" }, { "activepictureindex", Num(itemPicture) },
        { "skinrectinapicture", "1" }, { "cursorindex", "-1" }, { "skinrect", RectText(normal) },
        { "activeskinrect", RectText(active) }, { "inactiveskinrect", "" }, { "morphing", "0" },
        { "morphkind", "mkdefault" }, { "itemleftoffset", "8" }, { "itemrightoffset", "8" },
        { "dividerrect", RectText(divider) }, { "dividerleftoffset", "8" }, { "dividerrightoffset", "8" },
        { "textrect", "28,0,144,24" }, { "imagerect", "6,4,22,20" } };
    Append(keys, FontKeys(Text));
    Append(keys,
        { { "activefontcolor", Colour(Text) }, { "unenabledfontcolor", Colour(DisabledText) }, { "stretcheffect", "1" },
            { "inactivestretcheffect", "1" }, { "dividerstretcheffect", "1" }, { "useimagecolor", "0" } });
    skin.AddObject("menuitem", "menuitem", keys);
}

void AddHintWindow(TSkinDescription& skin)
{
    constexpr int w = 160;
    constexpr int h = 28;
    TBitmap32 window;
    window.SetSize(w, h);
    window.Clear(0xFFFFFFFF);
    TSkinPainter p(window);
    p.FillRoundRect(TFloatRect { 0, 0, w, h }, 5, Rgb(0x2A3240));
    const int windowPicture = skin.AddActivePicture("HintWindow.bmp", window);
    const int maskPicture = AddMask(skin, "HintWindowMask.bmp", w, h, 5);
    TKV keys { { "windowpictureindex", Num(windowPicture) }, { "maskpictureindex", Num(maskPicture) },
        { "lefttoppoint", "6,6" }, { "righttoppoint", "154,6" }, { "leftbottompoint", "6,22" },
        { "rightbottompoint", "154,22" }, { "clientrect", "6,4,154,24" } };
    Append(keys, FontKeys(CaptionText));
    Append(keys,
        { { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" }, { "bottomstretch", "1" },
            { "stretcheffect", "1" }, { "stretchtype", "stfull" } });
    skin.Set("HINTWINDOW", keys);
}

void AddColors(TSkinDescription& skin)
{
    skin.Set("SKINCOLORS",
        { { "cbtnface", Colour(Body) }, { "cbtntext", Colour(Text) }, { "cwindow", Colour(Surface) },
            { "cwindowtext", Colour(Text) }, { "chighlight", Colour(Accent) }, { "chighlighttext", Colour(Surface) },
            { "cbtnhighlight", Colour(Surface) }, { "cbtnshadow", Colour(StrongBorder) },
            { "c3dlight", Colour(Band) }, { "c3ddkshadow", Colour(Rgb(0x8A94A3)) } });
}

} // namespace SkinControls
