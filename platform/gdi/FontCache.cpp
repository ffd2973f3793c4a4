#include "platform/gdi/FontCache.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <map>
#include <numbers>
#include <strings.h>
#include <unordered_map>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace {

constexpr LONG kMaxFontHeight = 4000;

// Where fonts-wine puts its faces: outside fontconfig's default path, so the mapper adds it.
constexpr const char* kWineFonts = "/usr/share/wine/fonts";

// What a logical name is drawn with, before fontconfig: Windows' own aliases and, for the bitmap-only faces,
// the outline face that stands in when no strike fits or the text turns.
struct TAlias {
    const char* Name;
    const char* Target;
};
constexpr TAlias kAliases[] = {
    { "ms shell dlg", "MS Sans Serif" },
    { "ms shell dlg 2", "Tahoma" },
    { "helv", "MS Sans Serif" },
    { "tms rmn", "Times New Roman" },
    { "microsoft sans serif", "Arial" },
};
constexpr TAlias kOutlineStandIns[] = {
    { "ms sans serif", "Arial" },
    { "system", "Arial" },
    { "small fonts", "Arial" },
    { "courier", "Courier New" },
    { "fixedsys", "Courier New" },
};

struct TBitmapFace {
    std::string Family;
    std::string File;
    bool Bold = false;
    bool Italic = false;
    std::vector<int> Heights;
};

// The face a logical font resolves to and how to size and synthesise it.
struct TFaceChoice {
    std::string File;
    int Index = 0;
    bool Scalable = true;
    int StrikeHeight = 0;
    // What the logical font asks for; the face decides whether it has to be synthesised.
    bool WantBold = false;
    bool WantItalic = false;
    bool Embolden = false;
    bool Oblique = false;
};

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* Lookup(const TAlias* table, size_t count, const std::string& lowerName)
{
    for (size_t i = 0; i < count; ++i)
        if (lowerName == table[i].Name)
            return table[i].Target;
    return nullptr;
}

class TFreeTypeFace;

struct TFontSystem {
    FT_Library Library = nullptr;
    FcConfig* Config = nullptr;
    std::vector<TBitmapFace> BitmapFaces;
    // Realized faces by (file, index, size, synthesis); logical fonts by their LOGFONT fields.
    std::map<std::string, std::shared_ptr<TFreeTypeFace>> Faces;
    std::map<std::string, std::shared_ptr<TFreeTypeFace>> Logical;
    // The last logical fonts asked for, checked before a key is built: painting asks for the same few fonts call
    // after call. Emptied whenever Logical is.
    struct TRecent {
        LOGFONT Log {};
        bool Rotated = false;
        std::shared_ptr<TFreeTypeFace> Face;
    };
    std::array<TRecent, 8> Recent;
    size_t RecentNext = 0;

    void ClearLogical()
    {
        Logical.clear();
        Recent = {};
    }
};

std::mutex& FontLock()
{
    static std::mutex lock;
    return lock;
}

void ScanBitmapFaces(TFontSystem& system)
{
    DIR* dir = opendir(kWineFonts);
    if (!dir)
        return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 4 || strcasecmp(name.c_str() + name.size() - 4, ".ttf") != 0)
            continue;
        const std::string path = std::string(kWineFonts) + "/" + name;
        FT_Face face = nullptr;
        if (FT_New_Face(system.Library, path.c_str(), 0, &face) != 0)
            continue;
        if (!FT_IS_SCALABLE(face) && face->num_fixed_sizes > 0 && face->family_name) {
            TBitmapFace bitmap;
            bitmap.Family = face->family_name;
            bitmap.File = path;
            bitmap.Bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
            bitmap.Italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
            for (int i = 0; i < face->num_fixed_sizes; ++i)
                bitmap.Heights.push_back(face->available_sizes[i].height);
            system.BitmapFaces.push_back(std::move(bitmap));
        }
        FT_Done_Face(face);
    }
    closedir(dir);
}

TFontSystem* GSystem = nullptr;

// At exit the faces, FreeType and fontconfig are shut down, so leak checkers see everything returned.
void ShutDownFonts()
{
    std::lock_guard lock(FontLock());
    if (!GSystem)
        return;
    GSystem->ClearLogical();
    GSystem->Faces.clear();
    FT_Done_FreeType(GSystem->Library);
    if (GSystem->Config)
        FcConfigDestroy(GSystem->Config);
    FcFini();
    delete GSystem;
    GSystem = nullptr;
}

TFontSystem& System()
{
    // Made on first use under the font lock.
    if (!GSystem) {
        GSystem = new TFontSystem;
        FT_Init_FreeType(&GSystem->Library);
        GSystem->Config = FcInitLoadConfigAndFonts();
        if (GSystem->Config)
            FcConfigAppFontAddDir(GSystem->Config, reinterpret_cast<const FcChar8*>(kWineFonts));
        ScanBitmapFaces(*GSystem);
        std::atexit(ShutDownFonts);
    }
    return *GSystem;
}

} // namespace

std::vector<TInstalledFace> InstalledFaces()
{
    TFontSystem& system = System();
    std::vector<TInstalledFace> out;
    if (system.Config) {
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(
            FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_SPACING, FC_SCALABLE, FC_CHARSET, FC_PIXEL_SIZE, nullptr);
        FcFontSet* set = FcFontList(system.Config, pattern, objects);
        for (int i = 0; set && i < set->nfont; ++i) {
            FcPattern* p = set->fonts[i];
            FcChar8* family = nullptr;
            if (FcPatternGetString(p, FC_FAMILY, 0, &family) != FcResultMatch || !family)
                continue;
            TInstalledFace face;
            face.Family = reinterpret_cast<const char*>(family);
            FcChar8* style = nullptr;
            if (FcPatternGetString(p, FC_STYLE, 0, &style) == FcResultMatch && style)
                face.Style = reinterpret_cast<const char*>(style);
            int weight = FC_WEIGHT_REGULAR;
            FcPatternGetInteger(p, FC_WEIGHT, 0, &weight);
            face.Weight = FcWeightToOpenType(weight);
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(p, FC_SLANT, 0, &slant);
            face.Italic = slant != FC_SLANT_ROMAN;
            int spacing = FC_PROPORTIONAL;
            FcPatternGetInteger(p, FC_SPACING, 0, &spacing);
            face.FixedPitch = spacing >= FC_MONO;
            FcBool scalable = FcTrue;
            FcPatternGetBool(p, FC_SCALABLE, 0, &scalable);
            face.Scalable = scalable != FcFalse;
            FcCharSet* chars = nullptr;
            if (FcPatternGetCharSet(p, FC_CHARSET, 0, &chars) == FcResultMatch && chars) {
                for (uint32_t sample : { 0x41u, 0x3042u, 0x4E2Du, 0x2591u })
                    if (FcCharSetHasChar(chars, sample))
                        face.Covered.push_back(sample);
                face.Symbol = !FcCharSetHasChar(chars, 0x41);
            }
            double pixels = 0;
            if (!face.Scalable && FcPatternGetDouble(p, FC_PIXEL_SIZE, 0, &pixels) == FcResultMatch)
                face.Heights.push_back(int(pixels + 0.5));
            out.push_back(std::move(face));
        }
        if (set)
            FcFontSetDestroy(set);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
    }
    for (const TBitmapFace& bitmap : system.BitmapFaces) {
        TInstalledFace face;
        face.Family = bitmap.Family;
        face.Style = bitmap.Bold ? (bitmap.Italic ? "Bold Italic" : "Bold") : (bitmap.Italic ? "Italic" : "Regular");
        face.Weight = bitmap.Bold ? FW_BOLD : FW_NORMAL;
        face.Italic = bitmap.Italic;
        face.Scalable = false;
        face.Heights = bitmap.Heights;
        face.Covered.push_back(0x41);
        out.push_back(std::move(face));
    }
    return out;
}

namespace {

// The strike of a bitmap face that fits the requested size, or 0.
int FitStrike(const TBitmapFace& face, const LOGFONT& log)
{
    const double cell = log.lfHeight > 0 ? log.lfHeight : log.lfHeight < 0 ? -log.lfHeight * 1.2 : 13;
    int best = 0;
    double bestDistance = 1e9;
    for (int h : face.Heights) {
        const double d = std::fabs(h - cell);
        if (d < bestDistance) {
            bestDistance = d;
            best = h;
        }
    }
    return bestDistance <= 2.0 ? best : 0;
}

TFaceChoice ChooseFace(TFontSystem& system, const LOGFONT& log, bool rotated)
{
    std::string name(log.lfFaceName, strnlen(log.lfFaceName, LF_FACESIZE));
    if (name.empty()) {
        const int family = log.lfPitchAndFamily & 0xF0;
        if (family == FF_ROMAN)
            name = "Times New Roman";
        else if (family == FF_MODERN || (log.lfPitchAndFamily & 0x03) == FIXED_PITCH)
            name = "Courier New";
        else
            name = "Arial";
    }
    if (const char* alias = Lookup(kAliases, std::size(kAliases), Lower(name)))
        name = alias;
    const bool wantBold = log.lfWeight >= FW_SEMIBOLD;
    const bool wantItalic = log.lfItalic != 0;
    TFaceChoice choice;
    choice.WantBold = wantBold;
    choice.WantItalic = wantItalic;
    if (!rotated) {
        const TBitmapFace* best = nullptr;
        for (const TBitmapFace& face : system.BitmapFaces) {
            if (strcasecmp(face.Family.c_str(), name.c_str()) != 0)
                continue;
            if (!best || (face.Bold == wantBold && best->Bold != wantBold))
                best = &face;
        }
        if (best) {
            if (const int strike = FitStrike(*best, log)) {
                choice.File = best->File;
                choice.Scalable = false;
                choice.StrikeHeight = strike;
                return choice;
            }
        }
    }
    if (const char* standIn = Lookup(kOutlineStandIns, std::size(kOutlineStandIns), Lower(name)))
        name = standIn;

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    const int weight = log.lfWeight <= 0 ? FW_NORMAL : std::min<int>(log.lfWeight, 1000);
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, wantItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(system.Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(system.Config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            choice.File = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        choice.Index = index;
        FcPatternDestroy(match);
    }
    if (choice.File.empty())
        choice.File = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    return choice;
}

int Round(double v)
{
    return int(std::lround(v));
}

class TFreeTypeFace final : public TFontFace {
    using inherited = TFontFace;

public:
    TFreeTypeFace(FT_Face face, const TFaceChoice& choice, const LOGFONT& log)
        : FFace(face)
        , FChoice(choice)
    {
        if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
            FMetrics.Symbol = true;
        TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        // A bold or italic request that the face itself does not carry is synthesised.
        const bool boldFace = (face->style_flags & FT_STYLE_FLAG_BOLD) || (os2 && os2->usWeightClass >= 600);
        FChoice.Embolden = choice.WantBold && !boldFace;
        FChoice.Oblique = choice.WantItalic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
        TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        const double upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        const double winAscent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
        const double winDescent = os2 && os2->usWinAscent ? os2->usWinDescent : -face->descender;
        TFontMetrics& m = FMetrics;
        m.Scalable = choice.Scalable;
        double scale = 1;
        if (choice.Scalable) {
            // Negative heights ask for the em square, positive ones for the whole cell.
            double ppem = 12;
            if (log.lfHeight < 0)
                ppem = -double(log.lfHeight);
            else if (log.lfHeight > 0)
                ppem = log.lfHeight * upem / std::max(1.0, winAscent + winDescent);
            else
                ppem = 16 * upem / std::max(1.0, winAscent + winDescent);
            ppem = std::clamp(ppem, 1.0, 2000.0);
            FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(ppem * 64)), 72, 72);
            scale = ppem / upem;
            m.Ascent = Round(winAscent * scale);
            m.Descent = log.lfHeight > 0 ? std::max(0, log.lfHeight - m.Ascent) : Round(winDescent * scale);
            m.Height = m.Ascent + m.Descent;
            m.InternalLeading = std::max(0, m.Height - Round(ppem));
        } else {
            for (int i = 0; i < face->num_fixed_sizes; ++i)
                if (face->available_sizes[i].height == choice.StrikeHeight) {
                    FT_Select_Size(face, i);
                    break;
                }
            m.Ascent = int(face->size->metrics.ascender >> 6);
            m.Descent = int(-(face->size->metrics.descender >> 6));
            m.Height = m.Ascent + m.Descent;
            m.InternalLeading = log.lfHeight < 0 ? std::max(0, m.Height + int(log.lfHeight)) : Round(m.Height * 0.15);
            scale = double(m.Height) / std::max(1.0, winAscent + winDescent);
        }
        if (hhea) {
            const double gap = hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender));
            m.ExternalLeading = std::max(0, Round(gap * scale));
        }
        m.AveCharWidth = os2 && os2->xAvgCharWidth > 0 ? std::max(1, Round(os2->xAvgCharWidth * scale))
                                                       : std::max(1, Advance('x'));
        m.MaxCharWidth = std::max(m.AveCharWidth, Round(face->max_advance_width * scale));
        m.Weight = log.lfWeight >= FW_SEMIBOLD || (face->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD
            : os2 && os2->usWeightClass                                                    ? os2->usWeightClass
                                                                                           : FW_NORMAL;
        // Some faces carry nonsense here; keep the lines near the baseline and at least one pixel thick.
        const double underline = std::clamp<double>(-face->underline_position, 0, winDescent);
        m.UnderlinePosition = std::clamp(Round(underline * scale), 1, std::max(1, m.Descent));
        m.UnderlineThickness = std::clamp(Round(face->underline_thickness * scale), 1, std::max(1, m.Height / 8));
        const double strike = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : winAscent / 3;
        m.StrikeoutPosition = std::clamp(Round(strike * scale), 1, std::max(1, m.Ascent));
        m.StrikeoutThickness = std::clamp(
            Round((os2 && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize : 0) * scale), 1, std::max(1, m.Height / 8));
        m.FixedPitch = FT_IS_FIXED_WIDTH(face);
        m.Family = face->family_name ? face->family_name : "";
        m.File = choice.File;
    }

    ~TFreeTypeFace() override { FT_Done_Face(FFace); }

    const TFontMetrics& Metrics() const override { return FMetrics; }

    const TGlyph& Glyph(uint32_t codePoint, bool antialiased) override
    {
        // Latin-1, nearly all the text there is, is looked up in a table; the map keeps the glyphs in place.
        if (codePoint < FLatin[0].size()) {
            const TGlyph*& slot = FLatin[antialiased ? 1 : 0][codePoint];
            if (!slot)
                slot = &Cached(codePoint, antialiased);
            return *slot;
        }
        return Cached(codePoint, antialiased);
    }

    TGlyph RotatedGlyph(uint32_t codePoint, bool antialiased, double degrees) override
    {
        const double radians = degrees * std::numbers::pi / 180;
        FT_Matrix matrix;
        matrix.xx = FT_Fixed(std::lround(std::cos(radians) * 65536));
        matrix.xy = FT_Fixed(std::lround(-std::sin(radians) * 65536));
        matrix.yx = FT_Fixed(std::lround(std::sin(radians) * 65536));
        matrix.yy = FT_Fixed(std::lround(std::cos(radians) * 65536));
        return Render(codePoint, antialiased, &matrix);
    }

    int Advance(uint32_t codePoint) override { return int((Glyph(codePoint, true).AdvanceX + 32) >> 6); }

private:
    const TGlyph& Cached(uint32_t codePoint, bool antialiased)
    {
        const uint64_t key = uint64_t(codePoint) | (antialiased ? (uint64_t(1) << 32) : 0);
        auto it = FGlyphs.find(key);
        if (it != FGlyphs.end())
            return *it->second;
        auto glyph = std::make_unique<TGlyph>(Render(codePoint, antialiased, nullptr));
        return *FGlyphs.emplace(key, std::move(glyph)).first->second;
    }

    FT_UInt GlyphIndex(uint32_t codePoint)
    {
        FT_UInt index = FT_Get_Char_Index(FFace, codePoint);
        // Symbol faces keep their shapes at U+F000 and up.
        if (index == 0 && FMetrics.Symbol && codePoint < 0x100)
            index = FT_Get_Char_Index(FFace, 0xF000 + codePoint);
        return index;
    }

    TGlyph Render(uint32_t codePoint, bool antialiased, FT_Matrix* matrix)
    {
        TGlyph glyph;
        FT_Set_Transform(FFace, matrix, nullptr);
        FT_Int32 flags = FT_LOAD_DEFAULT | (antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
        // Outline faces draw from their outlines even where they carry bitmaps for small sizes: bitmaps can neither
        // turn, slant nor smooth.
        if (FChoice.Scalable)
            flags |= FT_LOAD_NO_BITMAP;
        if (matrix)
            flags |= FT_LOAD_NO_HINTING;
        const bool loaded = FT_Load_Glyph(FFace, GlyphIndex(codePoint), flags) == 0;
        FT_Set_Transform(FFace, nullptr, nullptr);
        if (!loaded)
            return glyph;
        FT_GlyphSlot slot = FFace->glyph;
        if (FChoice.Oblique && slot->format == FT_GLYPH_FORMAT_OUTLINE)
            FT_GlyphSlot_Oblique(slot);
        if (FChoice.Embolden)
            FT_GlyphSlot_Embolden(slot);
        if (slot->format != FT_GLYPH_FORMAT_BITMAP
            && FT_Render_Glyph(slot, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
            return glyph;
        glyph.AdvanceX = slot->advance.x;
        glyph.AdvanceY = slot->advance.y;
        if (!matrix) {
            // Whole-pixel advances, as the measuring calls report them.
            glyph.AdvanceX = (glyph.AdvanceX + 32) & ~63L;
            glyph.AdvanceY = 0;
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.Left = slot->bitmap_left;
        glyph.Top = slot->bitmap_top;
        glyph.Width = int(bitmap.width);
        glyph.Height = int(bitmap.rows);
        glyph.Coverage.assign(size_t(glyph.Width) * size_t(glyph.Height), 0);
        for (int y = 0; y < glyph.Height; ++y) {
            const unsigned char* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
            uint8_t* out = glyph.Coverage.data() + size_t(y) * size_t(glyph.Width);
            for (int x = 0; x < glyph.Width; ++x) {
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
                else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                    out[x] = antialiased ? row[x] : (row[x] >= 128 ? 255 : 0);
            }
        }
        return glyph;
    }

    FT_Face FFace;
    TFaceChoice FChoice;
    TFontMetrics FMetrics;
    std::unordered_map<uint64_t, std::unique_ptr<TGlyph>> FGlyphs;
    std::array<std::array<const TGlyph*, 256>, 2> FLatin {};
};

// Keeps the caches small. The logical map only points at faces, so it is simply emptied when full; faces then go
// once nothing but the cache holds them (a text call in progress keeps its face alive).
void Trim(TFontSystem& system)
{
    if (system.Logical.size() >= 256)
        system.ClearLogical();
    if (system.Faces.size() < 64)
        return;
    for (auto it = system.Faces.begin(); it != system.Faces.end();)
        it = it->second.use_count() == 1 ? system.Faces.erase(it) : std::next(it);
}

std::string LogicalKey(const LOGFONT& log, bool rotated)
{
    return std::to_string(log.lfHeight) + "|" + std::to_string(log.lfWeight) + "|" + std::to_string(log.lfItalic) + "|"
        + std::to_string(log.lfPitchAndFamily) + "|" + (rotated ? "r" : "") + "|"
        + Lower(std::string(log.lfFaceName, strnlen(log.lfFaceName, LF_FACESIZE)));
}

// True when `log` asks for what `recent` was asked for, by every field the logical key holds (the name exactly, a
// stricter test than the key's, so a differently written name just takes the map).
bool SameRequest(const TFontSystem::TRecent& recent, const LOGFONT& log, bool rotated)
{
    return recent.Rotated == rotated && recent.Log.lfHeight == log.lfHeight && recent.Log.lfWeight == log.lfWeight
        && recent.Log.lfItalic == log.lfItalic && recent.Log.lfPitchAndFamily == log.lfPitchAndFamily
        && std::strncmp(recent.Log.lfFaceName, log.lfFaceName, LF_FACESIZE) == 0;
}

void Remember(TFontSystem& system, const LOGFONT& log, bool rotated, const std::shared_ptr<TFreeTypeFace>& face)
{
    system.Recent[system.RecentNext] = TFontSystem::TRecent { log, rotated, face };
    system.RecentNext = (system.RecentNext + 1) % system.Recent.size();
}

} // namespace

TFontFace::~TFontFace() = default;

uint64_t NewFaceSerial()
{
    static std::atomic<uint64_t> next { 1 };
    return next.fetch_add(1, std::memory_order_relaxed);
}

std::unique_lock<std::mutex> LockFonts()
{
    return std::unique_lock<std::mutex>(FontLock());
}

void PrepareFonts()
{
    auto lock = LockFonts();
    System();
}

std::shared_ptr<TFontFace> RealizeFont(const LOGFONT& requested, bool rotated)
{
    // Heights past any screen's size are pinned, so the metrics arithmetic stays in range.
    LOGFONT log = requested;
    log.lfHeight = std::clamp<LONG>(log.lfHeight, -kMaxFontHeight, kMaxFontHeight);
    TFontSystem& system = System();
    for (const TFontSystem::TRecent& recent : system.Recent)
        if (recent.Face && SameRequest(recent, log, rotated))
            return recent.Face;
    const std::string logicalKey = LogicalKey(log, rotated);
    if (auto it = system.Logical.find(logicalKey); it != system.Logical.end()) {
        Remember(system, log, rotated, it->second);
        return it->second;
    }
    TFaceChoice choice = ChooseFace(system, log, rotated);
    const std::string faceKey = choice.File + "|" + std::to_string(choice.Index) + "|"
        + std::to_string(choice.StrikeHeight) + "|" + std::to_string(choice.WantBold)
        + std::to_string(choice.WantItalic) + "|" + std::to_string(log.lfHeight);
    std::shared_ptr<TFreeTypeFace> face;
    if (auto it = system.Faces.find(faceKey); it != system.Faces.end()) {
        face = it->second;
    } else {
        FT_Face ftFace = nullptr;
        if (FT_New_Face(system.Library, choice.File.c_str(), choice.Index, &ftFace) != 0) {
            // The last resort is any face fontconfig knows for "sans".
            choice = TFaceChoice();
            choice.File = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
            if (FT_New_Face(system.Library, choice.File.c_str(), 0, &ftFace) != 0)
                ftFace = nullptr;
        }
        if (!ftFace)
            return nullptr;
        face = std::make_shared<TFreeTypeFace>(ftFace, choice, log);
        Trim(system);
        system.Faces.emplace(faceKey, face);
    }
    if (system.Logical.size() >= 256)
        system.ClearLogical();
    system.Logical.emplace(logicalKey, face);
    Remember(system, log, rotated, face);
    return face;
}

std::vector<uint32_t> DecodeUtf8(const char* text, size_t bytes)
{
    std::vector<uint32_t> out;
    DecodeUtf8(text, bytes, out);
    return out;
}

void DecodeUtf8(const char* text, size_t bytes, std::vector<uint32_t>& out)
{
    out.clear();
    out.reserve(bytes);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < bytes) {
        const unsigned char c = s[i];
        int extra = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + size_t(k) >= bytes || (s[i + size_t(k)] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + size_t(k)] & 0x3F);
        }
        const bool overlong = (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (!ok || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
}

std::vector<uint32_t> DecodeUtf16(const WCHAR* text, size_t units)
{
    std::vector<uint32_t> out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(u);
        }
    }
    return out;
}

std::string EncodeUtf8(const std::vector<uint32_t>& codePoints)
{
    std::string out;
    for (uint32_t cp : codePoints) {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
