#include "skin/core/SkinObjectRecords.h"

#include "framework/core/TIniFile.h"
#include "skin/core/SkinRecordLayout.h"

using namespace SkinRecordLayout;

namespace {

constexpr TSkinField kObjectFields[] = {
    Field<&TspDataSkinObject::Hint>("hint", ""),
    Field<&TspDataSkinObject::RollUp>("rollup"),
    Field<&TspDataSkinObject::ActivePictureIndex>("activepictureindex", -1),
    Field<&TspDataSkinObject::SkinRectInAPicture>("skinrectinapicture"),
    Field<&TspDataSkinObject::CursorIndex>("cursorindex", -1),
    Field<&TspDataSkinObject::SkinRect>("skinrect"),
    Field<&TspDataSkinObject::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinObject::InActiveSkinRect>("inactiveskinrect"),
    Field<&TspDataSkinObject::Morphing>("morphing"),
    Field<&TspDataSkinObject::MorphKind>("morphkind", mkDefault),
};
constexpr TSkinRecordLayout kObject { kObjectFields, {} };

constexpr TSkinField kButtonFields[] = {
    Field<&TspDataSkinButton::DownRect>("downrect"),
    Field<&TspDataSkinButton::DisableSkinRsect>("disableskinrsect"),
    Field<&TspDataSkinButton::GroupIndex>("groupindex", -1),
};
constexpr TSkinRecordLayout kButton { kButtonFields, {} };

constexpr TSkinField kStdButtonFields[] = {
    Field<&TspDataSkinStdButton::Command>("command", cmDefault),
    Field<&TspDataSkinStdButton::RestoreRect>("restorerect"),
    Field<&TspDataSkinStdButton::RestoreActiveRect>("restoreactiverect"),
    Field<&TspDataSkinStdButton::RestoreDownRect>("restoredownrect"),
    Field<&TspDataSkinStdButton::RestoreInActiveRect>("restoreinactiverect"),
};
constexpr TSkinRecordLayout kStdButton { kStdButtonFields, {} };

constexpr TSkinField kCaptionFields[] = {
    Field<&TspDataSkinCaption::DefaultCaption>("defaultcaption"),
    Field<&TspDataSkinCaption::TextRect>("textrect"),
    Field<&TspDataSkinCaption::FontName>("fontname", "Arial"),
    Field<&TspDataSkinCaption::FontHeight>("fontheight", 14),
    Field<&TspDataSkinCaption::FontStyle>("fontstyle"),
    Field<&TspDataSkinCaption::FontColor>("fontcolor", 0),
    Field<&TspDataSkinCaption::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinCaption::Alignment>("alignment", taCenter),
    Field<&TspDataSkinCaption::Light>("light"),
    Field<&TspDataSkinCaption::LightColor>("lightcolor", 0),
    Field<&TspDataSkinCaption::ActiveLightColor>("activelightcolor", 0),
    Field<&TspDataSkinCaption::Shadow>("shadow"),
    Field<&TspDataSkinCaption::ShadowColor>("shadowcolor", 0),
    Field<&TspDataSkinCaption::ActiveShadowColor>("activeshadowcolor", 0),
    Field<&TspDataSkinCaption::FrameRect>("framerect"),
    Field<&TspDataSkinCaption::ActiveFrameRect>("activeframerect"),
    Field<&TspDataSkinCaption::FrameTextRect>("frametextrect"),
    Field<&TspDataSkinCaption::FrameLeftOffset>("frameleftoffset", 0),
    Field<&TspDataSkinCaption::FrameRightOffset>("framerightoffset", 0),
    Field<&TspDataSkinCaption::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinCaption::AnimateSkinRect>("animateskinrect"),
    Field<&TspDataSkinCaption::FrameCount>("framecount", 0),
    Field<&TspDataSkinCaption::AnimateInterval>("animateinterval", 25),
    Field<&TspDataSkinCaption::InActiveAnimation>("inactiveanimation"),
    Field<&TspDataSkinCaption::FullFrame>("fullframe"),
};
// The shadow and its colour are read right after "alignment", the active shadow colour after the light
// colours.
constexpr const char* kCaptionReadOrder[] = { "defaultcaption", "textrect", "fontname", "fontheight", "fontstyle",
    "fontcolor", "activefontcolor", "alignment", "shadow", "shadowcolor", "light", "lightcolor", "activelightcolor",
    "activeshadowcolor", "framerect", "activeframerect", "frametextrect", "frameleftoffset", "framerightoffset",
    "stretcheffect", "animateskinrect", "framecount", "animateinterval", "inactiveanimation", "fullframe" };
static_assert(IsReadOrderOf(kCaptionFields, kCaptionReadOrder));
constexpr TSkinRecordLayout kCaption { kCaptionFields, kCaptionReadOrder };

constexpr TSkinField kLabelFields[] = {
    // Older skins spell this key "fontName"; key names match without regard to letter case.
    Field<&TspDataSkinLabel::FontName>("fontname", "Arial"),
    Field<&TspDataSkinLabel::FontHeight>("fontheight", 14),
    Field<&TspDataSkinLabel::FontStyle>("fontstyle"),
    Field<&TspDataSkinLabel::FontColor>("fontcolor", 0),
    Field<&TspDataSkinLabel::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinLabel::Alignment>("alignment", taCenter),
    Field<&TspDataSkinLabel::TextValue>("textvalue", ""),
};
constexpr TSkinRecordLayout kLabel { kLabelFields, {} };

constexpr TSkinField kBitLabelFields[] = {
    Field<&TspDataSkinBitLabel::TextValue>("textvalue", ""),
    Field<&TspDataSkinBitLabel::SymbolWidth>("symbolwidth", 0),
    Field<&TspDataSkinBitLabel::SymbolHeight>("symbolheight", 0),
    Field<&TspDataSkinBitLabel::Symbols>("symbols"),
    Field<&TspDataSkinBitLabel::Transparent>("transparent"),
    Field<&TspDataSkinBitLabel::TransparentColor>("transparentcolor", 0xFF00FF),
};
constexpr TSkinRecordLayout kBitLabel { kBitLabelFields, {} };

constexpr TSkinField kGaugeFields[] = {
    Field<&TspDataSkinGauge::MinValue>("minvalue", 0),
    Field<&TspDataSkinGauge::MaxValue>("maxvalue", 0),
    Field<&TspDataSkinGauge::Kind>("kind", gkHorizontal),
};
constexpr TSkinRecordLayout kGauge { kGaugeFields, {} };

constexpr TSkinField kFrameGaugeObjectFields[] = {
    Field<&TspDataSkinFrameGaugeObject::MinValue>("minvalue", 0),
    Field<&TspDataSkinFrameGaugeObject::MaxValue>("maxvalue", 0),
    Field<&TspDataSkinFrameGaugeObject::CountFrames>("countframes", 0),
    Field<&TspDataSkinFrameGaugeObject::FramesPlacement>("framesplacement", fpHorizontal),
};
constexpr TSkinRecordLayout kFrameGaugeObject { kFrameGaugeObjectFields, {} };

constexpr TSkinField kFrameRegulatorObjectFields[] = {
    Field<&TspDataSkinFrameRegulatorObject::MinValue>("minvalue", 0),
    Field<&TspDataSkinFrameRegulatorObject::MaxValue>("maxvalue", 0),
    Field<&TspDataSkinFrameRegulatorObject::CountFrames>("countframes", 0),
    Field<&TspDataSkinFrameRegulatorObject::FramesPlacement>("framesplacement", fpHorizontal),
    Field<&TspDataSkinFrameRegulatorObject::Kind>("kind", rkRound),
};
constexpr TSkinRecordLayout kFrameRegulatorObject { kFrameRegulatorObjectFields, {} };

constexpr TSkinField kTrackBarFields[] = {
    Field<&TspDataSkinTrackBar::ButtonRect>("buttonrect"),
    Field<&TspDataSkinTrackBar::ActiveButtonRect>("activebuttonrect"),
    Field<&TspDataSkinTrackBar::BeginPoint>("beginpoint"),
    Field<&TspDataSkinTrackBar::EndPoint>("endpoint"),
    Field<&TspDataSkinTrackBar::MinValue>("minvalue", 0),
    Field<&TspDataSkinTrackBar::MaxValue>("maxvalue", 0),
    Field<&TspDataSkinTrackBar::MouseDownChangeValue>("mousedownchangevalue"),
    Field<&TspDataSkinTrackBar::ButtonTransparent>("buttontransparent"),
    Field<&TspDataSkinTrackBar::ButtonTransparentColor>("buttontransparentcolor", 0),
};
constexpr TSkinRecordLayout kTrackBar { kTrackBarFields, {} };

constexpr TSkinField kAnimateFields[] = {
    Field<&TspDataSkinAnimate::CountFrames>("countframes", 1),
    Field<&TspDataSkinAnimate::Cycle>("cycle"),
    Field<&TspDataSkinAnimate::ButtonStyle>("buttonstyle"),
    Field<&TspDataSkinAnimate::TimerInterval>("timerinterval", 50),
    Field<&TspDataSkinAnimate::Command>("command", cmDefault),
    Field<&TspDataSkinAnimate::DownSkinRect>("downskinrect"),
    Field<&TspDataSkinAnimate::RestoreRect>("restorerect"),
    Field<&TspDataSkinAnimate::RestoreActiveRect>("restoreactiverect"),
    Field<&TspDataSkinAnimate::RestoreDownRect>("restoredownrect"),
    Field<&TspDataSkinAnimate::RestoreInActiveRect>("restoreinactiverect"),
};
constexpr TSkinRecordLayout kAnimate { kAnimateFields, {} };

constexpr TSkinField kMenuItemFields[] = {
    Field<&TspDataSkinMenuItem::ItemLeftOffset>("itemleftoffset", 0),
    Field<&TspDataSkinMenuItem::ItemRightOffset>("itemrightoffset", 0),
    Field<&TspDataSkinMenuItem::DividerRect>("dividerrect"),
    Field<&TspDataSkinMenuItem::DividerLeftOffset>("dividerleftoffset", 0),
    Field<&TspDataSkinMenuItem::DividerRightOffset>("dividerrightoffset", 0),
    Field<&TspDataSkinMenuItem::TextRect>("textrect"),
    Field<&TspDataSkinMenuItem::ImageRect>("imagerect"),
    Field<&TspDataSkinMenuItem::FontName>("fontname", "Arial"),
    Field<&TspDataSkinMenuItem::FontHeight>("fontheight", 14),
    Field<&TspDataSkinMenuItem::FontStyle>("fontstyle"),
    Field<&TspDataSkinMenuItem::FontColor>("fontcolor", 0),
    Field<&TspDataSkinMenuItem::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinMenuItem::UnEnabledFontColor>("unenabledfontcolor", 0),
    Field<&TspDataSkinMenuItem::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinMenuItem::InActiveStretchEffect>("inactivestretcheffect"),
    Field<&TspDataSkinMenuItem::DividerStretchEffect>("dividerstretcheffect"),
    Field<&TspDataSkinMenuItem::AnimateSkinRect>("animateskinrect"),
    Field<&TspDataSkinMenuItem::FrameCount>("framecount", 0),
    Field<&TspDataSkinMenuItem::AnimateInterval>("animateinterval", 25),
    Field<&TspDataSkinMenuItem::InActiveAnimation>("inactiveanimation"),
    Field<&TspDataSkinMenuItem::UseImageColor>("useimagecolor"),
    Field<&TspDataSkinMenuItem::ImageColor>("imagecolor", 0),
    Field<&TspDataSkinMenuItem::ActiveImageColor>("activeimagecolor", 0),
};
constexpr TSkinRecordLayout kMenuItem { kMenuItemFields, {} };

constexpr TSkinField kMainMenuItemFields[] = {
    Field<&TspDataSkinMainMenuItem::ItemLeftOffset>("itemleftoffset", 0),
    Field<&TspDataSkinMainMenuItem::ItemRightOffset>("itemrightoffset", 0),
    Field<&TspDataSkinMainMenuItem::DownRect>("downrect"),
    Field<&TspDataSkinMainMenuItem::TextRect>("textrect"),
    Field<&TspDataSkinMainMenuItem::FontName>("fontname", "Arial"),
    Field<&TspDataSkinMainMenuItem::FontHeight>("fontheight", 14),
    Field<&TspDataSkinMainMenuItem::FontStyle>("fontstyle"),
    Field<&TspDataSkinMainMenuItem::FontColor>("fontcolor", 0),
    Field<&TspDataSkinMainMenuItem::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinMainMenuItem::DownFontColor>("downfontcolor", 0),
    // Older skins spell this key "unenabledfontColor".
    Field<&TspDataSkinMainMenuItem::UnEnabledFontColor>("unenabledfontcolor", 0),
    Field<&TspDataSkinMainMenuItem::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinMainMenuItem::AnimateSkinRect>("animateskinrect"),
    Field<&TspDataSkinMainMenuItem::FrameCount>("framecount", 0),
    Field<&TspDataSkinMainMenuItem::AnimateInterval>("animateinterval", 25),
    Field<&TspDataSkinMainMenuItem::InActiveAnimation>("inactiveanimation"),
};
constexpr TSkinRecordLayout kMainMenuItem { kMainMenuItemFields, {} };

// The user object reads and writes its three keys alone, without the root's.
constexpr TSkinField kUserObjectFields[] = {
    Field<&TspDataSkinObject::RollUp>("rollup"),
    Field<&TspDataSkinObject::SkinRect>("skinrect"),
    Field<&TspDataSkinObject::CursorIndex>("cursorindex", -1),
};
constexpr TSkinRecordLayout kUserObject { kUserObjectFields, {} };

} // namespace

TspDataSkinObject::TspDataSkinObject(std::string_view idName)
    : IDName(idName)
{
    InitFields(*this, kObject);
}

void TspDataSkinObject::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, IDName, kObject);
}

void TspDataSkinObject::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(IDName);
    WriteFields(*this, file, IDName, kObject);
}

TspDataSkinButton::TspDataSkinButton(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kButton);
}

void TspDataSkinButton::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kButton);
}

void TspDataSkinButton::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kButton);
}

void TspDataSkinStdButton::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kStdButton);
}

void TspDataSkinStdButton::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kStdButton);
}

void TspDataSkinCaption::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kCaption);
}

void TspDataSkinCaption::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kCaption);
}

void TspDataSkinLabel::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kLabel);
}

void TspDataSkinLabel::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kLabel);
}

TspDataSkinBitLabel::TspDataSkinBitLabel(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kBitLabel);
}

void TspDataSkinBitLabel::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    Morphing = false;
    ReadFields(*this, file, IDName, kBitLabel);
}

void TspDataSkinBitLabel::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kBitLabel);
}

void TspDataSkinGauge::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kGauge);
}

void TspDataSkinGauge::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kGauge);
}

void TspDataSkinFrameGaugeObject::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kFrameGaugeObject);
}

void TspDataSkinFrameGaugeObject::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kFrameGaugeObject);
}

void TspDataSkinFrameRegulatorObject::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kFrameRegulatorObject);
}

void TspDataSkinFrameRegulatorObject::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kFrameRegulatorObject);
}

void TspDataSkinTrackBar::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kTrackBar);
    Morphing = false;
}

void TspDataSkinTrackBar::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kTrackBar);
}

void TspDataSkinAnimate::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    Morphing = false;
    ReadFields(*this, file, IDName, kAnimate);
}

void TspDataSkinAnimate::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kAnimate);
}

void TspDataSkinMenuItem::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kMenuItem);
}

void TspDataSkinMenuItem::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kMenuItem);
}

void TspDataSkinMainMenuItem::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kMainMenuItem);
}

void TspDataSkinMainMenuItem::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kMainMenuItem);
}

void TspDataUserObject::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, IDName, kUserObject);
}

void TspDataUserObject::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(IDName);
    WriteFields(*this, file, IDName, kUserObject);
}
