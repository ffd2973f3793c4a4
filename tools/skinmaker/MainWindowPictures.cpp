// The main window's own pictures: the job rows' icon, the picture that covers the empty job list, and the two trim
// markers under the preview's time line.
#include "imaging/TBitmap32.h"
#include "platform/gdi/Text.h"
#include "tools/skinmaker/SkinGlyphs.h"
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinPainter.h"

using namespace SkinTheme;

namespace {

// A film frame in the accent's colours, opaque so that it reads on a selected row as on a plain one.
void DrawRowIcon(TBitmap32& icon)
{
    icon.SetSize(16, 16);
    TSkinPainter p(icon);
    p.FillRoundRect(TFloatRect { 0, 0, 16, 16 }, 0, AccentDown);
    p.FillRoundRect(TFloatRect { 1, 1, 15, 15 }, 0, TFill(AccentHot, Accent));
    p.FillRoundRect(TFloatRect { 4, 4, 12, 12 }, 0, Rgb(0xFFFFFF));
    for (float y : { 2.0f, 13.0f })
        for (float x : { 3.0f, 7.0f, 11.0f })
            p.FillRoundRect(TFloatRect { x, y, x + 2, y + 1 }, 0, Rgb(0xFFFFFF));
}

// White, with the invitation the face shows, centred on the part of the list under its header that a new window
// shows (494 x 265).
void DrawListBackground(TBitmap32& picture)
{
    picture.SetSize(450, 340);
    TSkinPainter p(picture);
    p.FillRoundRect(TFloatRect { 0, 0, 450, 340 }, 0, Surface);
    SkinGlyphs::Draw(p, TGlyph::AddFiles, 247, 110, 40, Rgb(0xC9D0DA), Surface);
    p.Text(TRect { 47, 138, 447, 158 }, "Add video files to start", FontName, FontPixels, false, MutedText,
        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// A small triangle pointing up at the time line, on the face's colour.
void DrawMarker(TBitmap32& marker, const TPaint& colour)
{
    marker.SetSize(9, 9);
    TSkinPainter p(marker);
    p.FillRoundRect(TFloatRect { 0, 0, 9, 9 }, 0, Body);
    p.FillPolygon({ { 4.5f, 0 }, { 9, 8 }, { 0, 8 } }, colour);
}

} // namespace

namespace SkinMaker {

void WriteMainWindowPictures(const std::string& folder)
{
    TBitmap32 picture;
    DrawRowIcon(picture);
    SaveAs24BitBmp(picture, folder + "MainRowIcon.bmp");
    DrawListBackground(picture);
    SaveAs24BitBmp(picture, folder + "MainListBackground.bmp");
    DrawMarker(picture, Accent);
    SaveAs24BitBmp(picture, folder + "TrimStart.bmp");
    DrawMarker(picture, AccentDown);
    SaveAs24BitBmp(picture, folder + "TrimEnd.bmp");
}

} // namespace SkinMaker
