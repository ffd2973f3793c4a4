// The main window's skin: its whole face drawn as one picture, with a copy per button state and a mask.
#include "tools/skinmaker/SkinControls.h"
#include "tools/skinmaker/SkinGlyphs.h"
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinSheet.h"

#include "imaging/TBitmap32.h"
#include "platform/gdi/Text.h"

#include <cstring>
#include <stdexcept>

using namespace SkinTheme;

namespace SkinMaker {

namespace {

using TKV = TSkinDescription::TKeyValues;

constexpr int kFaceWidth = 785;
constexpr int kFaceHeight = 521;
constexpr int kTitleHeight = 40;
constexpr float kCornerRadius = 10;

enum class TFaceState { Normal, Hot, Down, Disabled };

enum class TButtonKind {
    Title, // flat, on the title bar
    CloseTitle, // the title bar's close button
    Flat, // flat, on the window body, icon with or without a label
    Push, // bordered, beside the fields
    Primary, // the accent-filled command
};

struct TFaceButton {
    const char* Name;
    const char* Hint;
    TRect Place;
    TButtonKind Kind;
    TGlyph Glyph;
    const char* Label;
    // A small chevron after the label: the button opens a menu.
    bool Menu = false;
};

const TFaceButton kButtons[] = {
    { "Add Files", "Add video files", { 12, 52, 120, 84 }, TButtonKind::Flat, TGlyph::AddFiles, "Add Files" },
    { "Add Folder", "Add the videos of a folder", { 124, 52, 244, 84 }, TButtonKind::Flat, TGlyph::AddFolder,
        "Add Folder" },
    { "DeleteFiles", "Remove the selected jobs", { 260, 52, 356, 84 }, TButtonKind::Flat, TGlyph::Remove, "Remove" },
    { "Clear Jobs", "Remove every job", { 360, 52, 448, 84 }, TButtonKind::Flat, TGlyph::ClearList, "Clear" },
    { "Up", "Move the job up", { 464, 52, 496, 84 }, TButtonKind::Flat, TGlyph::ArrowUp, nullptr },
    { "Down", "Move the job down", { 500, 52, 532, 84 }, TButtonKind::Flat, TGlyph::ArrowDown, nullptr },
    { "Jump", "Advanced settings of the job", { 551, 52, 665, 84 }, TButtonKind::Flat, TGlyph::Crop, "Advanced" },
    { "iPodMenu", "Clip tools", { 669, 52, 773, 84 }, TButtonKind::Flat, TGlyph::Film, "Clip", true },
    { "Preview", "Play the preview", { 541, 306, 571, 334 }, TButtonKind::Flat, TGlyph::Play, nullptr },
    { "PausePreview", "Pause the preview", { 574, 306, 604, 334 }, TButtonKind::Flat, TGlyph::Pause, nullptr },
    { "StopPreview", "Stop the preview", { 607, 306, 637, 334 }, TButtonKind::Flat, TGlyph::Stop, nullptr },
    { "StartPoint", "Set the start time here", { 657, 306, 687, 334 }, TButtonKind::Flat, TGlyph::MarkStart, nullptr },
    { "EndPoint", "Set the end time here", { 690, 306, 720, 334 }, TButtonKind::Flat, TGlyph::MarkEnd, nullptr },
    { "SaveBmp", "Save the preview picture", { 743, 306, 773, 334 }, TButtonKind::Flat, TGlyph::Camera, nullptr },
    { "Setting", "Output settings", { 342, 415, 436, 443 }, TButtonKind::Push, TGlyph::Sliders, "Settings" },
    { "EditProfile", "Edit the output profiles", { 440, 415, 529, 443 }, TButtonKind::Push, TGlyph::Pencil, "Edit" },
    { "Browse", "Choose the output folder", { 440, 449, 529, 477 }, TButtonKind::Push, TGlyph::Browse, "Browse" },
    { "Go", "Start converting", { 541, 456, 683, 508 }, TButtonKind::Primary, TGlyph::Play, "Convert" },
    { "Stop", "Stop converting", { 689, 456, 773, 508 }, TButtonKind::Push, TGlyph::Stop, "Stop" },
    { "Option", "Options", { 605, 7, 645, 33 }, TButtonKind::Title, TGlyph::Gear, nullptr },
    { "Menu", "Help", { 649, 7, 689, 33 }, TButtonKind::Title, TGlyph::Menu, nullptr },
};

// The caption buttons, drawn in place (picture mode lays out nothing).
const TFaceButton kCaptionButtons[] = {
    { "minbutton", "", { 693, 7, 735, 33 }, TButtonKind::Title, TGlyph::Minimize, nullptr },
    { "closebutton", "", { 737, 7, 779, 33 }, TButtonKind::CloseTitle, TGlyph::Close, nullptr },
};
const TRect kSysMenuPlace { 10, 8, 34, 32 };

const TRect kFileList { 12, 96, 529, 404 };
const TRect kPreview { 541, 96, 773, 270 };
const TRect kPreviewTrackBar { 541, 276, 720, 298 };
const TRect kConvertInfo { 541, 342, 773, 446 };
const TRect kOutputProfile { 110, 417, 336, 441 };
const TRect kOutputFolder { 110, 451, 436, 475 };
const TRect kHintMessage { 12, 484, 529, 508 };

TFloatRect F(const TRect& r, float inset = 0)
{
    return TFloatRect { r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset };
}

// The icon, and the label and menu chevron when the button has them, centred on the button.
void DrawButtonContent(
    TSkinPainter& p, const TFaceButton& button, const TPaint& colour, const TPaint& under, bool bold)
{
    const TRect& r = button.Place;
    const float size = button.Kind == TButtonKind::Primary ? 20.0f : 18.0f;
    const float cy = (r.Top + r.Bottom) / 2.0f;
    if (!button.Label) {
        SkinGlyphs::Draw(p, button.Glyph, (r.Left + r.Right) / 2.0f, cy, size, colour, under);
        return;
    }
    const int fontPixels = button.Kind == TButtonKind::Primary ? 14 : FontPixels;
    const int textWidth = p.TextWidth(button.Label, FontName, fontPixels, bold);
    const int gap = 7;
    const int chevron = button.Menu ? 14 : 0;
    const float content = size + gap + textWidth + chevron;
    const float left = (r.Left + r.Right - content) / 2;
    SkinGlyphs::Draw(p, button.Glyph, left + size / 2, cy, size, colour, under);
    const int textLeft = int(left + size + gap + 0.5f);
    p.Text(TRect { textLeft, r.Top, textLeft + textWidth + 2, r.Bottom }, button.Label, FontName,
        fontPixels, bold, colour, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (button.Menu)
        SkinGlyphs::Draw(p, TGlyph::ChevronDown, textLeft + textWidth + 4 + 6.0f, cy, 12, colour, under);
}

void DrawFaceButton(TSkinPainter& p, const TFaceButton& button, TFaceState state)
{
    const TFloatRect box = F(button.Place);
    const bool hot = state == TFaceState::Hot;
    const bool down = state == TFaceState::Down;
    const bool disabled = state == TFaceState::Disabled;
    switch (button.Kind) {
    case TButtonKind::Title:
    case TButtonKind::CloseTitle: {
        const bool close = button.Kind == TButtonKind::CloseTitle;
        if (hot)
            p.FillRoundRect(box, 6, close ? CloseHot : Rgb(0xFFFFFF, 0.12f));
        else if (down)
            p.FillRoundRect(box, 6, close ? CloseDown : Rgb(0xFFFFFF, 0.22f));
        const TPaint colour = disabled ? Rgb(0x6B7482) : CaptionText;
        SkinGlyphs::Draw(p, button.Glyph, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2, 16, colour,
            CaptionBottom);
        break;
    }
    case TButtonKind::Flat: {
        TPaint under = Body;
        if (hot)
            under = HoverFill;
        else if (down)
            under = DownFill;
        if (hot || down)
            p.FillRoundRect(box, 6, under);
        const TPaint colour = disabled ? DisabledText : down ? AccentDown : Text;
        DrawButtonContent(p, button, colour, under, false);
        break;
    }
    case TButtonKind::Push: {
        TFill fill(Surface, Rgb(0xF5F7FA));
        TPaint edge = StrongBorder;
        if (hot) {
            fill = TFill(Rgb(0xF7FAFF), Rgb(0xEDF3FD));
            edge = AccentHot;
        } else if (down) {
            fill = TFill(AccentSoftDown, AccentSoft);
            edge = Accent;
        } else if (disabled) {
            fill = TFill(Rgb(0xF0F2F5));
            edge = Border;
        }
        p.FillRoundRect(box, 5, fill);
        p.StrokeRoundRect(box, 5, 1, edge);
        TPaint colour = disabled ? DisabledText : down ? AccentDown : Text;
        DrawButtonContent(p, button, colour, fill.To, false);
        break;
    }
    case TButtonKind::Primary: {
        TFill fill(AccentHot, Accent);
        if (hot)
            fill = TFill(Rgb(0x6A98F2), AccentHot);
        else if (down)
            fill = TFill(AccentDown, Rgb(0x1D4CAB));
        else if (disabled)
            fill = TFill(Rgb(0xB4C7EE), Rgb(0xA9BFEC));
        p.FillRoundRect(box, 7, fill);
        if (!disabled && !down)
            p.BevelRoundRect(box, 7, Rgb(0xFFFFFF, 0.25f), Rgb(0x000000, 0.12f));
        DrawButtonContent(p, button, disabled ? Rgb(0xF4F7FD) : Surface, fill.To, true);
        break;
    }
    }
}

void DrawField(TSkinPainter& p, const TRect& r, bool withChevron)
{
    p.FillRoundRect(F(r), 3, Surface);
    p.StrokeRoundRect(F(r), 3, 1, StrongBorder);
    if (withChevron)
        SkinGlyphs::Draw(p, TGlyph::ChevronDown, r.Right - 11.0f, (r.Top + r.Bottom) / 2.0f, 14, MutedText, Surface);
}

void DrawBackground(TSkinPainter& p)
{
    p.FillRoundRect(TFloatRect { 0, 0, kFaceWidth, kFaceHeight }, 0, Body);
    // The title bar, with the program's name.
    p.FillRoundRect(TFloatRect { 0, 0, kFaceWidth, kTitleHeight }, 0, TFill(CaptionTop, CaptionBottom));
    SkinGlyphs::Draw(p, TGlyph::AppIcon, (kSysMenuPlace.Left + kSysMenuPlace.Right) / 2.0f,
        (kSysMenuPlace.Top + kSysMenuPlace.Bottom) / 2.0f, 22, Accent, Surface);
    const int nameWidth = p.TextWidth("Tarnwick Pro", FontName, 14, true);
    p.Text(TRect { 42, 0, 42 + nameWidth + 2, kTitleHeight }, "Tarnwick Pro", FontName, 14, true, CaptionText,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    p.Text(TRect { 42 + nameWidth + 10, 0, 400, kTitleHeight }, "Video Converter", FontName, FontPixels, false,
        InactiveCaptionText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    // The tool bar's separators between the groups of commands.
    for (int x : { 252, 456, 541 })
        p.FillRoundRect(TFloatRect { float(x), 58, float(x + 1), 78 }, 0, Border);
    p.FillRoundRect(TFloatRect { 0, 91, kFaceWidth, 92 }, 0, Border);

    // The job list's card; the list view fills it.
    p.FillRoundRect(F(kFileList), 4, Surface);
    p.StrokeRoundRect(F(kFileList), 4, 1, Border);
    SkinGlyphs::Draw(p, TGlyph::AddFiles, (kFileList.Left + kFileList.Right) / 2.0f, 228, 40, Rgb(0xC9D0DA), Surface);
    p.Text(TRect { kFileList.Left, 256, kFileList.Right, 276 }, "Add video files to start", FontName, FontPixels, false,
        MutedText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    // The preview screen and its time line.
    p.FillRoundRect(F(kPreview), 4, Preview);
    SkinGlyphs::Draw(p, TGlyph::Film, (kPreview.Left + kPreview.Right) / 2.0f, (kPreview.Top + kPreview.Bottom) / 2.0f,
        36, Rgb(0x3A4250), Preview);
    p.FillRoundRect(TFloatRect { kPreviewTrackBar.Left + 4.0f, kPreviewTrackBar.Top + 9.0f, kPreviewTrackBar.Right - 4.0f,
                        kPreviewTrackBar.Top + 13.0f },
        2, Rgb(0xCDD4DD));
    p.FillRoundRect(TFloatRect { 648, 310, 649, 330 }, 0, Border);
    p.FillRoundRect(TFloatRect { 731, 310, 732, 330 }, 0, Border);

    // The conversion card: the progress panel covers it while a batch runs; its last row holds two check boxes.
    p.FillRoundRect(F(kConvertInfo), 4, Surface);
    p.StrokeRoundRect(F(kConvertInfo), 4, 1, Border);
    p.Text(TRect { kConvertInfo.Left + 12, kConvertInfo.Top + 8, kConvertInfo.Right - 12, kConvertInfo.Top + 28 },
        "Conversion", FontName, FontPixels, true, Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    p.Text(TRect { kConvertInfo.Left + 12, kConvertInfo.Top + 30, kConvertInfo.Right - 12, kConvertInfo.Top + 50 },
        "Progress appears here.", FontName, 11, false, MutedText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

    // The output settings: labels, the profile choice and the folder.
    p.Text(TRect { 12, 416, 108, 442 }, "Output profile", FontName, FontPixels, false, MutedText,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    p.Text(TRect { 12, 450, 108, 476 }, "Output folder", FontName, FontPixels, false, MutedText,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    DrawField(p, kOutputProfile, true);
    DrawField(p, kOutputFolder, false);
    p.FillRoundRect(F(kHintMessage), 4, Band);
    SkinGlyphs::Draw(p, TGlyph::Info, kHintMessage.Left + 14.0f, (kHintMessage.Top + kHintMessage.Bottom) / 2.0f, 14,
        MutedText, Band);

    // The window's outline, inside the rounded mask.
    p.StrokeRoundRect(TFloatRect { 0, 0, kFaceWidth, kFaceHeight }, kCornerRadius, 1, WindowEdge);
}

void DrawFace(TBitmap32& face, TFaceState state)
{
    face.SetSize(kFaceWidth, kFaceHeight);
    TSkinPainter p(face);
    DrawBackground(p);
    for (const TFaceButton& button : kButtons)
        DrawFaceButton(p, button, state);
    for (const TFaceButton& button : kCaptionButtons)
        DrawFaceButton(p, button, state);
}

// The hot, pressed and disabled faces one below the other, so a button's state images sit at its own place
// moved down by zero, one and two face heights. The normal face is the main picture.
void DrawStates(TBitmap32& states)
{
    states.SetSize(kFaceWidth, 3 * kFaceHeight);
    const TFaceState looks[] = { TFaceState::Hot, TFaceState::Down, TFaceState::Disabled };
    for (int i = 0; i < 3; ++i) {
        TBitmap32 face;
        DrawFace(face, looks[i]);
        std::memcpy(states.ScanLine(i * kFaceHeight), face.Bits(), size_t(kFaceWidth) * kFaceHeight * 4);
    }
}

TRect Down(const TRect& r, int faces)
{
    return TRect { r.Left, r.Top + faces * kFaceHeight, r.Right, r.Bottom + faces * kFaceHeight };
}

TKV ButtonObjectKeys(const TFaceButton& button, int statesPicture)
{
    return { { "hint", button.Hint }, { "rollup", "0" }, { "activepictureindex", Num(statesPicture) },
        { "skinrectinapicture", "0" }, { "cursorindex", "-1" }, { "skinrect", RectText(button.Place) },
        { "activeskinrect", RectText(Down(button.Place, 0)) }, { "inactiveskinrect", "" }, { "morphing", "1" },
        { "morphkind", "mkgradient" }, { "downrect", RectText(Down(button.Place, 1)) },
        { "disableskinrsect", RectText(Down(button.Place, 2)) }, { "groupindex", "-1" } };
}

} // namespace

void BuildMainSkin(TSkinDescription& skin)
{
    skin.Set("VERSION",
        { { "ver", "2" }, { "skinname", "Tarnwick Pro" }, { "skinauthor", "The Tarnwick Pro developers" },
            { "authoremail", "" }, { "authorurl", "" }, { "skincomments", "Main window" } });

    TBitmap32 face;
    DrawFace(face, TFaceState::Normal);
    skin.SetPicture("picture", "MainFace.bmp", face);
    skin.Set("PICTURES", { { "inactivepicture", "" } });
    TBitmap32 mask;
    SkinControls::RoundMask(mask, kFaceWidth, kFaceHeight, kCornerRadius);
    skin.SetPicture("mask", "MainFaceMask.bmp", mask);
    skin.Set("PICTURES", { { "rolluppicture", "" }, { "rollupmask", "" } });

    // Equal corner points: the window keeps the face's size and cannot be resized.
    skin.Set("FORMINFO",
        { { "lefttoppoint", "0,0" }, { "righttoppoint", "0,0" }, { "leftbottompoint", "0,0" },
            { "rightbottompoint", "0,0" }, { "clientrect", RectText(TRect { 0, 0, kFaceWidth, kFaceHeight }) },
            { "bgpictureindex", "-1" }, { "captionrect", RectText(TRect { 0, 0, 600, kTitleHeight }) },
            { "buttonsoffset", "0" }, { "borderwidth", "0" }, { "cursorindex", "-1" },
            { "inactiveeffect", "iebrightness" } });

    constexpr int kStates = 0;
    TBitmap32 states;
    DrawStates(states);
    skin.Set("SKINOBJECTS", "count", "0");
    for (const TFaceButton& button : kButtons)
        skin.AddObject(button.Name, "button", ButtonObjectKeys(button, kStates));
    for (const TFaceButton& button : kCaptionButtons) {
        TKV keys = ButtonObjectKeys(button, kStates);
        keys.emplace_back("command", button.Kind == TButtonKind::CloseTitle ? "cmclose" : "cmminimize");
        skin.AddObject(button.Name, "stdbutton", keys);
    }
    // The program's mark opens the system menu; it looks the same in every state.
    TKV sysMenu { { "hint", "" }, { "rollup", "0" }, { "activepictureindex", Num(kStates) },
        { "skinrectinapicture", "0" }, { "cursorindex", "-1" }, { "skinrect", RectText(kSysMenuPlace) },
        { "activeskinrect", RectText(kSysMenuPlace) }, { "inactiveskinrect", "" }, { "morphing", "0" },
        { "morphkind", "mkdefault" }, { "downrect", RectText(kSysMenuPlace) },
        { "disableskinrsect", RectText(kSysMenuPlace) }, { "groupindex", "-1" }, { "command", "cmsysmenu" } };
    skin.AddObject("sysmenubutton", "stdbutton", sysMenu);
    if (skin.AddActivePicture("MainStates.bmp", states) != kStates)
        throw std::logic_error("the button states must be active picture 0");

    skin.Set("SKINAREAS", "count", "0");
    skin.AddArea("FileList", kFileList);
    skin.AddArea("PreviewArea", kPreview);
    skin.AddArea("PreviewTrackBar", kPreviewTrackBar);
    skin.AddArea("ConvertInfoArea", kConvertInfo);
    skin.AddArea("OutputProfile", kOutputProfile);
    skin.AddArea("OutputFolder", kOutputFolder);
    skin.AddArea("HintMessageArea", TRect { kHintMessage.Left + 26, kHintMessage.Top + 3, kHintMessage.Right - 6,
                                            kHintMessage.Bottom - 3 });

    constexpr int kControls = 1;
    TSkinSheet controls(420, Body);
    skin.Set("SKINCONTROLS", "count", "0");
    SkinControls::AddScrollBars(skin, controls, kControls);
    SkinControls::AddTrackBar(skin, controls, kControls);
    SkinControls::AddComboBox(skin, controls, kControls);
    if (skin.AddActivePicture("MainControls.bmp", controls.Finish()) != kControls)
        throw std::logic_error("the controls must be active picture 1");

    SkinControls::AddPopupMenu(skin);
    SkinControls::AddColors(skin);
}

} // namespace SkinMaker
