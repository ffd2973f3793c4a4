#include "skin/core/SkinData.h"

#include "framework/core/TIniFile.h"

#include <span>
#include <string>

namespace SkinData {

namespace {

    // The words of one keyword in ordinal order, and the value of a word that is none of them.
    template <class E> struct TKeyword {
        std::span<const char* const> Words;
        E Other;
    };

    constexpr const char* kStretchTypeWords[] = { "stfull", "sthorz", "stvert" };
    constexpr const char* kMorphKindWords[]
        = { "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush" };
    constexpr const char* kInActiveEffectWords[]
        = { "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert" };
    constexpr const char* kFramesPlacementWords[] = { "fphorizontal", "fpvertical" };
    constexpr const char* kRegulatorKindWords[] = { "rkround", "rkhorizontal", "rkvertical" };
    constexpr const char* kStdCommandWords[]
        = { "cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup", "cmminimizetotray" };
    constexpr const char* kGaugeKindWords[] = { "gkhorizontal", "gkvertical" };

    constexpr TKeyword<TspStretchType> kStretchType { kStretchTypeWords, spstHorz };
    constexpr TKeyword<TMorphKind> kMorphKind { kMorphKindWords, mkDefault };
    constexpr TKeyword<TspInActiveEffect> kInActiveEffect { kInActiveEffectWords, ieGrayScale };
    constexpr TKeyword<TFramesPlacement> kFramesPlacement { kFramesPlacementWords, fpVertical };
    constexpr TKeyword<TRegulatorKind> kRegulatorKind { kRegulatorKindWords, rkVertical };
    constexpr TKeyword<TStdCommand> kStdCommand { kStdCommandWords, cmMinimizeToTray };
    constexpr TKeyword<TGaugeKind> kGaugeKind { kGaugeKindWords, gkVertical };

    // NOTE: a missing key reads the first word, so only a present key can give the "other" value. The command
    // is the one keyword whose missing value is not its first word.
    template <class E>
    E ReadKeyword(const TCustomIniFile* file, std::string_view section, std::string_view key,
        const TKeyword<E>& keyword, E missing)
    {
        std::string word = file->ReadString(section, key, keyword.Words[static_cast<size_t>(missing)]);
        for (size_t i = 0; i < keyword.Words.size(); ++i) {
            if (word == keyword.Words[i])
                return static_cast<E>(i);
        }
        return keyword.Other;
    }

    template <class E>
    void WriteKeyword(
        TCustomIniFile* file, std::string_view section, std::string_view key, const TKeyword<E>& keyword, E value)
    {
        size_t index = static_cast<size_t>(value);
        file->WriteString(section, key, index < keyword.Words.size() ? keyword.Words[index] : "");
    }

} // namespace

TspStretchType ReadStretchType(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kStretchType, spstFull);
}

void WriteStretchType(TCustomIniFile* file, std::string_view section, std::string_view key, TspStretchType value)
{
    WriteKeyword(file, section, key, kStretchType, value);
}

TMorphKind ReadMorphKind(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kMorphKind, mkDefault);
}

void WriteMorphKind(TCustomIniFile* file, std::string_view section, std::string_view key, TMorphKind value)
{
    WriteKeyword(file, section, key, kMorphKind, value);
}

TspInActiveEffect ReadInActiveEffect(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kInActiveEffect, ieBrightness);
}

void WriteInActiveEffect(TCustomIniFile* file, std::string_view section, std::string_view key, TspInActiveEffect value)
{
    WriteKeyword(file, section, key, kInActiveEffect, value);
}

TFramesPlacement ReadFramesPlacement(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kFramesPlacement, fpHorizontal);
}

void WriteFramesPlacement(TCustomIniFile* file, std::string_view section, std::string_view key, TFramesPlacement value)
{
    WriteKeyword(file, section, key, kFramesPlacement, value);
}

TRegulatorKind ReadRegulatorKind(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kRegulatorKind, rkRound);
}

void WriteRegulatorKind(TCustomIniFile* file, std::string_view section, std::string_view key, TRegulatorKind value)
{
    WriteKeyword(file, section, key, kRegulatorKind, value);
}

TStdCommand ReadStdCommand(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kStdCommand, cmDefault);
}

void WriteStdCommand(TCustomIniFile* file, std::string_view section, std::string_view key, TStdCommand value)
{
    WriteKeyword(file, section, key, kStdCommand, value);
}

TGaugeKind ReadGaugeKind(const TCustomIniFile* file, std::string_view section, std::string_view key)
{
    return ReadKeyword(file, section, key, kGaugeKind, gkHorizontal);
}

void WriteGaugeKind(TCustomIniFile* file, std::string_view section, std::string_view key, TGaugeKind value)
{
    WriteKeyword(file, section, key, kGaugeKind, value);
}

bool CheckSkinIniSections(const TCustomIniFile* file)
{
    for (const char* section : { "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS" }) {
        if (!file->SectionExists(section))
            return false;
    }
    return true;
}

} // namespace SkinData
