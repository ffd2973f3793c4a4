#include "skin/dialogs/SkinDialogGlyphs.h"

#include "framework/graphics/Colors.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

namespace {

// One glyph as 16 rows of 16 palette letters.
struct TGlyph {
    std::string_view Name;
    std::string_view Rows[16];
};

TColor PaletteColor(char letter)
{
    switch (letter) {
    case 'k': return clBlack;
    case 'w': return clWhite;
    case 'g': return clGray;
    case 's': return clSilver;
    case 'y': return clYellow;
    case 'o': return clOlive;
    case 'G': return clGreen;
    case 'L': return clLime;
    case 'n': return clNavy;
    case 'b': return clBlue;
    case 'r': return clRed;
    case 'm': return clMaroon;
    case 't': return clTeal;
    case 'a': return clAqua;
    default: return clFuchsia; // the background
    }
}

// clang-format off
constexpr TGlyph kGlyphs[] = {
    { "SP_BACK", {
        "................", "................", "................", "......G.........", ".....GG.........",
        "....GLG.........", "...GLLGGGGGGG...", "..GLLLLLLLLLLG..", "...GLLGGGGGGLG..", "....GLG.....GLG.",
        ".....GG.....GLG.", "......G.....GLG.", "............GGG.", "................", "................",
        "................" } },
    { "SP_UP", {
        "................", "................", ".ooooo..........", "oyyyyyo.........", "oyyyyyyooooooo..",
        "oyyyyyyyyyyyyo..", "oyyyykyyyyyyyo..", "oyyykkkyyyyyyo..", "oyykkkkkyyyyyo..", "oyyyykyyyyyyyo..",
        "oyyyykyyyyyyyo..", "oyyyykkkkkyyyo..", "oyyyyyyyyyyyyo..", "oooooooooooooo..", "................",
        "................" } },
    { "SP_NEWFOLDER", {
        "...........y....", "..........y.y.y.", ".ooooo.....yyy..", "oyyyyyo...yy.yy.", "oyyyyyyoooyyyoy.",
        "oyyyyyyyyyy.y...", "oyyyyyyyyyyyy...", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..",
        "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oooooooooooooo..", "................",
        "................" } },
    { "SP_LVSTYLE", {
        "................", "................", ".nn.kkkkkk......", ".nn.............", "................",
        ".nn.kkkkkk......", ".nn.............", "................", ".nn.kkkkkk......", ".nn.............",
        "................", ".nn.kkkkkk.kkkkk", "............kkk.", ".............k..", "................",
        "................" } },
    { "SP_STRETCH", {
        "................", ".kkkkk..........", ".kkkk...........", ".kkk............", ".kk.k...........",
        ".k...k..........", "......k.........", ".......k........", "........k.......", ".........k......",
        "..........k...k.", "...........k.kk.", "............kkk.", "...........kkkk.", "..........kkkkk.",
        "................" } },
    { "SP_PLAY", {
        "................", "................", "...kk...........", "...kGk..........", "...kLGk.........",
        "...kLLGk........", "...kLLLGk.......", "...kLLLLGk......", "...kLLLLGk......", "...kLLLGk.......",
        "...kLLGk........", "...kLGk.........", "...kGk..........", "...kk...........", "................",
        "................" } },
    { "SP_STOP", {
        "................", "................", "................", "...kkkkkkkkkk...", "...krrrrrrrrk...",
        "...krrrrrrrrk...", "...krrrrrrrrk...", "...krrrrrrrrk...", "...krrrrrrrrk...", "...krrrrrrrrk...",
        "...krrrrrrrrk...", "...krrrrrrrrk...", "...kkkkkkkkkk...", "................", "................",
        "................" } },
    { "SP_FLOPPY", {
        "................", ".kkkkkkkkkkkkk..", ".kgkwwwwwwwkgk..", ".kgkwwwwwwwkgk..", ".kgkwwwwwwwkgk..",
        ".kgkwwwwwwwkgk..", ".kggkkkkkkkggk..", ".kgggggggggggk..", ".kggkkkkkkkggk..", ".kggkskkssskgk..",
        ".kggkskkssskgk..", ".kggkskkssskgk..", "..kgkkkkkkkkgk..", "...kkkkkkkkkkk..", "................",
        "................" } },
    { "SP_HARD", {
        "................", "................", "................", "................", "................",
        "...kkkkkkkkkkk..", "..kssssssssssk..", ".kwwwwwwwwwwsk..", ".kssssssssssk...", ".kgsssssssLsk...",
        ".kssssssssssk...", ".kkkkkkkkkkkk...", "................", "................", "................",
        "................" } },
    { "SP_NETWORK", {
        "................", "................", "...kkkkkkkkkk...", "..kssssssssssk..", ".kwwwwwwwwwwsk..",
        ".kssssssssssk...", ".kgssssssLssk...", ".kkkkkkkkkkkk...", "......kk........", "......kk........",
        "......kk........", "kkkkkkkkkkkkkkk.", "................", "................", "................",
        "................" } },
    { "SP_CDROM", {
        "................", ".....kkkkk......", "...kksssswkk....", "..kssssswwwwk...", ".ksssssswwwwwk..",
        ".kssssskkwwwwk..", "kssssskwwkwwwwk.", "kssssskwwkssssk.", "kwwwwwkkkssssk..", ".kwwwwwsssssssk.",
        ".kwwwwssssssk...", "..kwwwsssssk....", "...kkwssskk.....", ".....kkkkk......", "................",
        "................" } },
    { "SP_RAM", {
        "................", "................", "................", "..k.k.k.k.k.k...", ".kkkkkkkkkkkkk..",
        ".kGGGGGGGGGGGk..", ".kGkkGkkGkkGGk..", ".kGkkGkkGkkGGk..", ".kGGGGGGGGGGGk..", ".kkkkkkkkkkkkk..",
        "..k.k.k.k.k.k...", "................", "................", "................", "................",
        "................" } },
    { "SP_CLOSEDFOLDER", {
        "................", "................", "................", ".ooooo..........", "oyyyyyo.........",
        "oyyyyyyooooooo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..",
        "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyo..", "oooooooooooooo..", "................",
        "................" } },
    { "SP_OPENFOLDER", {
        "................", "................", "................", ".ooooo..........", "oyyyyyo.........",
        "oyyyyyyoooooo...", "oyyyyyyyyyyyo...", "oyyyoooooooooooo", "oyyoyyyyyyyyyyo.", "oyoyyyyyyyyyyo..",
        "ooyyyyyyyyyyyo..", "oyyyyyyyyyyyo...", "ooooooooooooo...", "................", "................",
        "................" } },
    { "SP_CURRENTFOLDER", {
        "................", "................", "................", ".ooooo..........", "oyyyyyo.........",
        "oyyyyyyoooooo...", "oyyyyyyyyyyyo...", "oyyyoooooooooooo", "oyyoyyyyyyyyyyo.", "oyoyyyyGGyyyyo..",
        "ooyyyyGLLGyyyo..", "oyyyyyyGGyyyo...", "ooooooooooooo...", "................", "................",
        "................" } },
    { "SP_PRIORMONTH", {
        "................", "................", "................", "................", ".........k......",
        "........kk......", ".......kkk......", "......kkkk......", "......kkkk......", ".......kkk......",
        "........kk......", ".........k......", "................", "................", "................",
        "................" } },
    { "SP_NEXTMONTH", {
        "................", "................", "................", "................", "......k.........",
        "......kk........", "......kkk.......", "......kkkk......", "......kkkk......", "......kkk.......",
        "......kk........", "......k.........", "................", "................", "................",
        "................" } },
    { "SP_PRIORYEAR", {
        "................", "................", "................", "................", ".......k...k....",
        "......kk..kk....", ".....kkk.kkk....", "....kkkkkkkk....", "....kkkkkkkk....", ".....kkk.kkk....",
        "......kk..kk....", ".......k...k....", "................", "................", "................",
        "................" } },
    { "SP_NEXTYEAR", {
        "................", "................", "................", "................", "....k...k.......",
        "....kk..kk......", "....kkk.kkk.....", "....kkkkkkkk....", "....kkkkkkkk....", "....kkk.kkk.....",
        "....kk..kk......", "....k...k.......", "................", "................", "................",
        "................" } },
};
// clang-format on

} // namespace

bool LoadDialogGlyph(TBitmap* bitmap, std::string_view name)
{
    for (const TGlyph& glyph : kGlyphs) {
        if (glyph.Name != name)
            continue;
        bitmap->SetSize(16, 16);
        TCanvas* canvas = bitmap->Canvas();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                canvas->SetPixels(x, y, PaletteColor(x < int(glyph.Rows[y].size()) ? glyph.Rows[y][x] : '.'));
        return true;
    }
    return false;
}
