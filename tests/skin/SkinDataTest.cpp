#include "skin/core/SkinData.h"

#include "SkinTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace SkinData;

namespace {

// A keyword value as read, by its ordinal, so that one table holds every keyword.
using TKeywordReader = std::function<int(const TCustomIniFile*)>;

template <class E> TKeywordReader Reader(E (*read)(const TCustomIniFile*, std::string_view, std::string_view))
{
    return [read](const TCustomIniFile* ini) { return static_cast<int>(read(ini, "s", "key")); };
}

TEST(SkinData, KeywordsCompareExactlyAndFallBackPerKeyword)
{
    struct Case {
        const char* Keyword;
        TKeywordReader Read;
        std::optional<std::string> Value;
        int Expected;
    };
    const Case kCases[] = {
        { "stretchtype", Reader(ReadStretchType), std::nullopt, spstFull },
        { "stretchtype", Reader(ReadStretchType), "stfull", spstFull },
        { "stretchtype", Reader(ReadStretchType), "sthorz", spstHorz },
        { "stretchtype", Reader(ReadStretchType), "stvert", spstVert },
        { "stretchtype", Reader(ReadStretchType), "StVert", spstHorz },
        { "stretchtype", Reader(ReadStretchType), "full", spstHorz },
        { "stretchtype", Reader(ReadStretchType), "", spstHorz },
        { "morphkind", Reader(ReadMorphKind), std::nullopt, mkDefault },
        { "morphkind", Reader(ReadMorphKind), "mkpush", mkPush },
        { "morphkind", Reader(ReadMorphKind), "mkleftslide", mkLeftSlide },
        { "morphkind", Reader(ReadMorphKind), "mkfade", mkDefault },
        { "inactiveeffect", Reader(ReadInActiveEffect), std::nullopt, ieBrightness },
        { "inactiveeffect", Reader(ReadInActiveEffect), "ieinvert", ieInvert },
        { "inactiveeffect", Reader(ReadInActiveEffect), "ienoise", ieNoise },
        { "inactiveeffect", Reader(ReadInActiveEffect), "iesepia", ieGrayScale },
        { "inactiveeffect", Reader(ReadInActiveEffect), "", ieGrayScale },
        { "framesplacement", Reader(ReadFramesPlacement), std::nullopt, fpHorizontal },
        { "framesplacement", Reader(ReadFramesPlacement), "fphorizontal", fpHorizontal },
        { "framesplacement", Reader(ReadFramesPlacement), "FpHorizontal", fpVertical },
        { "kind", Reader(ReadRegulatorKind), std::nullopt, rkRound },
        { "kind", Reader(ReadRegulatorKind), "rkhorizontal", rkHorizontal },
        { "kind", Reader(ReadRegulatorKind), "rkdiagonal", rkVertical },
        { "command", Reader(ReadStdCommand), std::nullopt, cmDefault },
        { "command", Reader(ReadStdCommand), "cmclose", cmClose },
        { "command", Reader(ReadStdCommand), "cmrollup", cmRollUp },
        { "command", Reader(ReadStdCommand), "cmminimizetotray", cmMinimizeToTray },
        { "command", Reader(ReadStdCommand), "cmhelp", cmMinimizeToTray },
        { "command", Reader(ReadStdCommand), "", cmMinimizeToTray },
        { "kind", Reader(ReadGaugeKind), std::nullopt, gkHorizontal },
        { "kind", Reader(ReadGaugeKind), "gkvertical", gkVertical },
        { "kind", Reader(ReadGaugeKind), "GKHORIZONTAL", gkVertical },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.Keyword) + " = " + c.Value.value_or("(missing)"));
        auto ini = IniFromText(c.Value ? "[s]\nkey=" + *c.Value + "\n" : "[s]\nother=1\n");
        EXPECT_EQ(c.Read(ini.get()), c.Expected);
    }
}

TEST(SkinData, KeywordsAreWrittenAsTheirWords)
{
    auto ini = IniFromText("");
    WriteStretchType(ini.get(), "s", "a", spstVert);
    WriteMorphKind(ini.get(), "s", "b", mkRightGradient);
    WriteInActiveEffect(ini.get(), "s", "c", ieSplitBlur);
    WriteFramesPlacement(ini.get(), "s", "d", fpVertical);
    WriteRegulatorKind(ini.get(), "s", "e", rkHorizontal);
    WriteStdCommand(ini.get(), "s", "f", cmMinimizeToTray);
    WriteGaugeKind(ini.get(), "s", "g", gkVertical);
    EXPECT_EQ(SectionLines(*ini, "s"),
        (std::vector<std::string> { "a=stvert", "b=mkrightgradient", "c=iesplitblur", "d=fpvertical", "e=rkhorizontal",
            "f=cmminimizetotray", "g=gkvertical" }));
}

TEST(SkinData, CheckSkinIniSectionsWantsEveryRequiredSectionWithAKey)
{
    const std::string complete = "[VERSION]\nver=2\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=0\n"
                                 "[SKINOBJECTS]\ncount=0\n[skincontrols]\nCOUNT=0\n";
    EXPECT_TRUE(CheckSkinIniSections(IniFromText(complete).get()));
    for (const char* section : { "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "skincontrols" }) {
        SCOPED_TRACE(section);
        auto ini = IniFromText(complete);
        ini->EraseSection(section);
        EXPECT_FALSE(CheckSkinIniSections(ini.get()));
    }
    auto emptySection = IniFromText(complete + "");
    emptySection->DeleteKey("SKINCONTROLS", "count");
    EXPECT_FALSE(CheckSkinIniSections(emptySection.get()));
}

} // namespace
