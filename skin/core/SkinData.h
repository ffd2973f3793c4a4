// The keyword values of skin records (morph kinds, inactive effects, frame placement, regulator kinds, window
// commands, gauge kinds) with their readers and writers, and the test of a description's required sections.
#pragma once
#include "skin/core/SPUtils.h"

#include <cstdint>
#include <string_view>

class TCustomIniFile;

// The transitions between two images of an object or control.
enum TMorphKind : uint8_t { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };
// The filter applied to the image of an inactive skinned form.
enum TspInActiveEffect : uint8_t { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
// Frames of a strip side by side, or one below the other.
enum TFramesPlacement : uint8_t { fpHorizontal, fpVertical };
// The knob of a frame regulator.
enum TRegulatorKind : uint8_t { rkRound, rkHorizontal, rkVertical };
// The window command of a caption button.
enum TStdCommand : uint8_t { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };
enum TGaugeKind : uint8_t { gkHorizontal, gkVertical };

namespace SkinData {

// A keyword is stored as a lower-case word and compared exactly, letter case included. A missing key gives
// the first value of its list; a word that matches none (other letter case and an empty value included) gives
// a fixed value per keyword: spstHorz, mkDefault, ieGrayScale, fpVertical, rkVertical, cmMinimizeToTray,
// gkVertical.
TspStretchType ReadStretchType(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteStretchType(TCustomIniFile* file, std::string_view section, std::string_view key, TspStretchType value);
TMorphKind ReadMorphKind(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteMorphKind(TCustomIniFile* file, std::string_view section, std::string_view key, TMorphKind value);
TspInActiveEffect ReadInActiveEffect(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteInActiveEffect(TCustomIniFile* file, std::string_view section, std::string_view key, TspInActiveEffect value);
TFramesPlacement ReadFramesPlacement(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteFramesPlacement(TCustomIniFile* file, std::string_view section, std::string_view key, TFramesPlacement value);
TRegulatorKind ReadRegulatorKind(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteRegulatorKind(TCustomIniFile* file, std::string_view section, std::string_view key, TRegulatorKind value);
TStdCommand ReadStdCommand(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteStdCommand(TCustomIniFile* file, std::string_view section, std::string_view key, TStdCommand value);
TGaugeKind ReadGaugeKind(const TCustomIniFile* file, std::string_view section, std::string_view key);
void WriteGaugeKind(TCustomIniFile* file, std::string_view section, std::string_view key, TGaugeKind value);

// True only when "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS" and "SKINCONTROLS" each hold a key.
bool CheckSkinIniSections(const TCustomIniFile* file);

} // namespace SkinData
