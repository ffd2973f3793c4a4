#include "skin/core/SkinControlRecords.h"

#include "framework/core/TIniFile.h"
#include "skin/core/SkinRecordLayout.h"

using namespace SkinRecordLayout;

namespace {

constexpr TSkinField kButtonControlFields[] = {
    Field<&TspDataSkinButtonControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinButtonControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinButtonControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinButtonControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinButtonControl::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinButtonControl::DownFontColor>("downfontcolor", 0),
    Field<&TspDataSkinButtonControl::DisabledFontColor>("disabledfontcolor", 0),
    Field<&TspDataSkinButtonControl::Morphing>("morphing"),
    Field<&TspDataSkinButtonControl::MorphKind>("morphkind", mkDefault),
    Field<&TspDataSkinButtonControl::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinButtonControl::DownSkinRect>("downskinrect"),
    Field<&TspDataSkinButtonControl::DisabledSkinRect>("disabledskinrect"),
    Field<&TspDataSkinButtonControl::AnimateSkinRect>("animateskinrect"),
    Field<&TspDataSkinButtonControl::FrameCount>("framecount", 0),
    Field<&TspDataSkinButtonControl::AnimateInterval>("animateinterval", 25, 0),
    Field<&TspDataSkinButtonControl::ShowFocus>("showfocus"),
    Field<&TspDataSkinButtonControl::MenuMarkerFlatRect>("menumarkerflatrect"),
    Field<&TspDataSkinButtonControl::MenuMarkerRect>("menumarkerrect"),
    Field<&TspDataSkinButtonControl::MenuMarkerActiveRect>("menumarkeractiverect"),
    Field<&TspDataSkinButtonControl::MenuMarkerDownRect>("menumarkerdownrect"),
    Field<&TspDataSkinButtonControl::MenuMarkerTransparentColor>("menumarkertransparentcolor", 0),
};
// "disabledfontcolor" is read before "downfontcolor".
constexpr const char* kButtonControlReadOrder[] = { "fontname", "fontheight", "fontstyle", "fontcolor",
    "activefontcolor", "disabledfontcolor", "downfontcolor", "morphing", "morphkind", "activeskinrect", "downskinrect",
    "disabledskinrect", "animateskinrect", "framecount", "animateinterval", "showfocus", "menumarkerflatrect",
    "menumarkerrect", "menumarkeractiverect", "menumarkerdownrect", "menumarkertransparentcolor" };
static_assert(IsReadOrderOf(kButtonControlFields, kButtonControlReadOrder));
constexpr TSkinRecordLayout kButtonControl { kButtonControlFields, kButtonControlReadOrder };

constexpr TSkinField kMenuButtonControlFields[] = {
    Field<&TspDataSkinMenuButtonControl::TrackButtonRect>("trackbuttonrect"),
};
constexpr TSkinRecordLayout kMenuButtonControl { kMenuButtonControlFields, {} };

constexpr TSkinField kCheckRadioControlFields[] = {
    Field<&TspDataSkinCheckRadioControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinCheckRadioControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinCheckRadioControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinCheckRadioControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinCheckRadioControl::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinCheckRadioControl::UnEnabledFontColor>("unenabledfontcolor", 0),
    Field<&TspDataSkinCheckRadioControl::FrameFontColor>("framefontcolor", 0),
    Field<&TspDataSkinCheckRadioControl::Morphing>("morphing"),
    Field<&TspDataSkinCheckRadioControl::MorphKind>("morphkind", mkDefault),
    Field<&TspDataSkinCheckRadioControl::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinCheckRadioControl::CheckImageArea>("checkimagearea"),
    Field<&TspDataSkinCheckRadioControl::TextArea>("textarea"),
    Field<&TspDataSkinCheckRadioControl::CheckImageRect>("checkimagerect"),
    Field<&TspDataSkinCheckRadioControl::UnCheckImageRect>("uncheckimagerect"),
    Field<&TspDataSkinCheckRadioControl::ActiveCheckImageRect>("activecheckimagerect"),
    Field<&TspDataSkinCheckRadioControl::ActiveUnCheckImageRect>("activeuncheckimagerect"),
    Field<&TspDataSkinCheckRadioControl::UnEnabledCheckImageRect>("unenabledcheckimagerect"),
    Field<&TspDataSkinCheckRadioControl::UnEnabledUnCheckImageRect>("unenableduncheckimagerect"),
};
constexpr TSkinRecordLayout kCheckRadioControl { kCheckRadioControlFields, {} };

constexpr TSkinField kGaugeControlFields[] = {
    Field<&TspDataSkinGaugeControl::ProgressArea>("progressarea"),
    Field<&TspDataSkinGaugeControl::ProgressRect>("progressrect"),
    Field<&TspDataSkinGaugeControl::BeginOffset>("beginoffset", 0),
    Field<&TspDataSkinGaugeControl::EndOffset>("endoffset", 0),
    Field<&TspDataSkinGaugeControl::Vertical>("vertical"),
    Field<&TspDataSkinGaugeControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinGaugeControl::FontHeight>("fontheight", 14),
    Field<&TspDataSkinGaugeControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinGaugeControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinGaugeControl::ProgressTransparent>("progresstransparent"),
    Field<&TspDataSkinGaugeControl::ProgressTransparentColor>("progresstransparentcolor", 0, 0xFF00FF),
    Field<&TspDataSkinGaugeControl::ProgressStretch>("progressstretch"),
};
constexpr TSkinRecordLayout kGaugeControl { kGaugeControlFields, {} };

constexpr TSkinField kTrackBarControlFields[] = {
    Field<&TspDataSkinTrackBarControl::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinTrackBarControl::TrackArea>("trackarea"),
    Field<&TspDataSkinTrackBarControl::ButtonRect>("buttonrect"),
    Field<&TspDataSkinTrackBarControl::ActiveButtonRect>("activebuttonrect"),
    Field<&TspDataSkinTrackBarControl::Vertical>("vertical"),
    Field<&TspDataSkinTrackBarControl::ButtonTransparent>("buttontransparent"),
    Field<&TspDataSkinTrackBarControl::ButtonTransparentColor>("buttontransparentcolor", 0, 0xFF00FF),
};
constexpr TSkinRecordLayout kTrackBarControl { kTrackBarControlFields, {} };

constexpr TSkinField kSliderFields[] = {
    Field<&TspDataSkinSlider::BGColor>("bgcolor", 0),
    Field<&TspDataSkinSlider::HRulerRect>("hrulerrect"),
    Field<&TspDataSkinSlider::HThumbRect>("hthumbrect"),
    Field<&TspDataSkinSlider::VRulerRect>("vrulerrect"),
    Field<&TspDataSkinSlider::VThumbRect>("vthumbrect"),
    Field<&TspDataSkinSlider::EdgeSize>("edgesize", 0),
    Field<&TspDataSkinSlider::PointsColor>("pointscolor", 0),
};
constexpr TSkinRecordLayout kSlider { kSliderFields, {} };

constexpr TSkinField kScrollBarControlFields[] = {
    Field<&TspDataSkinScrollBarControl::TrackArea>("trackarea"),
    Field<&TspDataSkinScrollBarControl::UpButtonRect>("upbuttonrect"),
    Field<&TspDataSkinScrollBarControl::ActiveUpButtonRect>("activeupbuttonrect"),
    Field<&TspDataSkinScrollBarControl::DownUpButtonRect>("downupbuttonrect"),
    Field<&TspDataSkinScrollBarControl::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinScrollBarControl::ActiveDownButtonRect>("activedownbuttonrect"),
    Field<&TspDataSkinScrollBarControl::DownDownButtonRect>("downdownbuttonrect"),
    Field<&TspDataSkinScrollBarControl::ThumbRect>("thumbrect"),
    Field<&TspDataSkinScrollBarControl::ActiveThumbRect>("activethumbrect"),
    Field<&TspDataSkinScrollBarControl::DownThumbRect>("downthumbrect"),
    Field<&TspDataSkinScrollBarControl::ThumbOffset1>("thumboffset1", 0),
    Field<&TspDataSkinScrollBarControl::ThumbOffset2>("thumboffset2", 0),
    Field<&TspDataSkinScrollBarControl::ThumbTransparent>("thumbtransparent"),
    Field<&TspDataSkinScrollBarControl::ThumbTransparentColor>("thumbtransparentcolor", 0, 0xFF00FF),
    Field<&TspDataSkinScrollBarControl::GlyphRect>("glyphrect"),
    Field<&TspDataSkinScrollBarControl::ActiveGlyphRect>("activeglyphrect"),
    Field<&TspDataSkinScrollBarControl::DownGlyphRect>("downglyphrect"),
};
constexpr TSkinRecordLayout kScrollBarControl { kScrollBarControlFields, {} };

constexpr TSkinField kSplitterControlFields[] = {
    Field<&TspDataSkinSplitterControl::GripperRect>("gripperrect"),
    Field<&TspDataSkinSplitterControl::GripperTransparent>("grippertransparent"),
    Field<&TspDataSkinSplitterControl::GripperTransparentColor>("grippertransparentcolor", 0, 0xFF00FF),
};
constexpr TSkinRecordLayout kSplitterControl { kSplitterControlFields, {} };

constexpr TSkinField kPanelControlFields[] = {
    Field<&TspDataSkinPanelControl::BGPictureIndex>("bgpictureindex", -1),
    Field<&TspDataSkinPanelControl::CaptionRect>("captionrect"),
    Field<&TspDataSkinPanelControl::Alignment>("alignment", taCenter),
    Field<&TspDataSkinPanelControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinPanelControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinPanelControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinPanelControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinPanelControl::CheckImageRect>("checkimagerect"),
    Field<&TspDataSkinPanelControl::UnCheckImageRect>("uncheckimagerect"),
    Field<&TspDataSkinPanelControl::MarkFrameRect>("markframerect"),
    Field<&TspDataSkinPanelControl::FrameRect>("framerect"),
    Field<&TspDataSkinPanelControl::FrameTextRect>("frametextrect"),
    Field<&TspDataSkinPanelControl::FrameLeftOffset>("frameleftoffset", 0),
    Field<&TspDataSkinPanelControl::FrameRightOffset>("framerightoffset", 0),
    Field<&TspDataSkinPanelControl::GripperRect>("gripperrect"),
    Field<&TspDataSkinPanelControl::GripperTransparent>("grippertransparent"),
    Field<&TspDataSkinPanelControl::GripperTransparentColor>("grippertransparentcolor", 0, 0xFF00FF),
};
constexpr TSkinRecordLayout kPanelControl { kPanelControlFields, {} };

constexpr TSkinField kExPanelControlFields[] = {
    Field<&TspDataSkinExPanelControl::RollHSkinRect>("rollhskinrect"),
    Field<&TspDataSkinExPanelControl::RollVSkinRect>("rollvskinrect"),
    Field<&TspDataSkinExPanelControl::RollLeftOffset>("rollleftoffset", 0),
    Field<&TspDataSkinExPanelControl::RollRightOffset>("rollrightoffset", 0),
    Field<&TspDataSkinExPanelControl::RollTopOffset>("rolltopoffset", 0),
    Field<&TspDataSkinExPanelControl::RollBottomOffset>("rollbottomoffset", 0),
    Field<&TspDataSkinExPanelControl::RollVCaptionRect>("rollvcaptionrect"),
    Field<&TspDataSkinExPanelControl::RollHCaptionRect>("rollhcaptionrect"),
    Field<&TspDataSkinExPanelControl::CloseButtonRect>("closebuttonrect"),
    Field<&TspDataSkinExPanelControl::CloseButtonActiveRect>("closebuttonactiverect"),
    Field<&TspDataSkinExPanelControl::CloseButtonDownRect>("closebuttondownrect"),
    Field<&TspDataSkinExPanelControl::HRollButtonRect>("hrollbuttonrect"),
    Field<&TspDataSkinExPanelControl::HRollButtonActiveRect>("hrollbuttonactiverect"),
    Field<&TspDataSkinExPanelControl::HRollButtonDownRect>("hrollbuttondownrect"),
    Field<&TspDataSkinExPanelControl::HRestoreButtonRect>("hrestorebuttonrect"),
    Field<&TspDataSkinExPanelControl::HRestoreButtonActiveRect>("hrestorebuttonactiverect"),
    Field<&TspDataSkinExPanelControl::HRestoreButtonDownRect>("hrestorebuttondownrect"),
    Field<&TspDataSkinExPanelControl::VRollButtonRect>("vrollbuttonrect"),
    Field<&TspDataSkinExPanelControl::VRollButtonActiveRect>("vrollbuttonactiverect"),
    Field<&TspDataSkinExPanelControl::VRollButtonDownRect>("vrollbuttondownrect"),
    Field<&TspDataSkinExPanelControl::VRestoreButtonRect>("vrestorebuttonrect"),
    Field<&TspDataSkinExPanelControl::VRestoreButtonActiveRect>("vrestorebuttonactiverect"),
    Field<&TspDataSkinExPanelControl::VRestoreButtonDownRect>("vrestorebuttondownrect"),
    Field<&TspDataSkinExPanelControl::CaptionRect>("captionrect"),
    Field<&TspDataSkinExPanelControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinExPanelControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinExPanelControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinExPanelControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinExPanelControl::ButtonsTransparent>("buttonstransparent"),
    Field<&TspDataSkinExPanelControl::ButtonsTransparentColor>("buttonstransparentcolor", 0, 0xFF00FF),
};
constexpr TSkinRecordLayout kExPanelControl { kExPanelControlFields, {} };

constexpr TSkinField kControlBarFields[] = {
    Field<&TspDataSkinControlBar::ItemRect>("itemrect"),
    Field<&TspDataSkinControlBar::BGPictureIndex>("bgpictureindex", -1),
    Field<&TspDataSkinControlBar::HGripRect>("hgriprect"),
    Field<&TspDataSkinControlBar::VGripRect>("vgriprect"),
    Field<&TspDataSkinControlBar::GripOffset1>("gripoffset1", 0),
    Field<&TspDataSkinControlBar::GripOffset2>("gripoffset2", 0),
    Field<&TspDataSkinControlBar::ItemOffset1>("itemoffset1", 3, 0),
    Field<&TspDataSkinControlBar::ItemOffset2>("itemoffset2", 3, 0),
    Field<&TspDataSkinControlBar::ItemStretchEffect>("itemstretcheffect"),
    Field<&TspDataSkinControlBar::ItemTransparent>("itemtransparent"),
    Field<&TspDataSkinControlBar::ItemTransparentColor>("itemtransparentcolor", 0),
    Field<&TspDataSkinControlBar::GripTransparent>("griptransparent"),
    Field<&TspDataSkinControlBar::GripTransparentColor>("griptransparentcolor", 0),
};
// "itemstretcheffect" is read before the item offsets.
constexpr const char* kControlBarReadOrder[] = { "itemrect", "bgpictureindex", "hgriprect", "vgriprect", "gripoffset1",
    "gripoffset2", "itemstretcheffect", "itemoffset1", "itemoffset2", "itemtransparent", "itemtransparentcolor",
    "griptransparent", "griptransparentcolor" };
static_assert(IsReadOrderOf(kControlBarFields, kControlBarReadOrder));
constexpr TSkinRecordLayout kControlBar { kControlBarFields, kControlBarReadOrder };

constexpr TSkinField kBevelFields[] = {
    Field<&TspDataSkinBevel::LightColor>("lightcolor", 0),
    Field<&TspDataSkinBevel::DarkColor>("darkcolor", 0),
};
constexpr TSkinRecordLayout kBevel { kBevelFields, {} };

constexpr TSkinField kLabelControlFields[] = {
    Field<&TspDataSkinLabelControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinLabelControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinLabelControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinLabelControl::FontColor>("fontcolor", 0),
};
constexpr TSkinRecordLayout kLabelControl { kLabelControlFields, {} };

constexpr TSkinField kStdLabelControlFields[] = {
    Field<&TspDataSkinStdLabelControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinStdLabelControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinStdLabelControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinStdLabelControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinStdLabelControl::ActiveFontColor>("activefontcolor", 0xFF0000),
};
constexpr TSkinRecordLayout kStdLabelControl { kStdLabelControlFields, {} };

constexpr TSkinField kBitLabelControlFields[] = {
    Field<&TspDataSkinBitLabelControl::SkinTextRect>("skintextrect"),
    Field<&TspDataSkinBitLabelControl::SymbolWidth>("symbolwidth", 0),
    Field<&TspDataSkinBitLabelControl::SymbolHeight>("symbolheight", 0),
    Field<&TspDataSkinBitLabelControl::Symbols>("symbols"),
};
constexpr TSkinRecordLayout kBitLabelControl { kBitLabelControlFields, {} };

constexpr TSkinField kMainMenuBarFields[] = {
    Field<&TspDataSkinMainMenuBar::ItemsRect>("itemsrect"),
    Field<&TspDataSkinMainMenuBar::MenuBarItem>("menubaritem", ""),
    Field<&TspDataSkinMainMenuBar::CloseButton>("closebutton", ""),
    Field<&TspDataSkinMainMenuBar::MinButton>("minbutton", ""),
    Field<&TspDataSkinMainMenuBar::MaxButton>("maxbutton", ""),
    Field<&TspDataSkinMainMenuBar::SysMenuButton>("sysmenubutton", ""),
    Field<&TspDataSkinMainMenuBar::TrackMarkColor>("trackmarkcolor", 0),
    Field<&TspDataSkinMainMenuBar::TrackMarkActiveColor>("trackmarkactivecolor", 0),
    Field<&TspDataSkinMainMenuBar::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinMainMenuBar::ItemTransparent>("itemtransparent"),
};
constexpr TSkinRecordLayout kMainMenuBar { kMainMenuBarFields, {} };

} // namespace

TspDataSkinButtonControl::TspDataSkinButtonControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kButtonControl);
}

void TspDataSkinButtonControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kButtonControl);
}

void TspDataSkinButtonControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kButtonControl);
}

TspDataSkinMenuButtonControl::TspDataSkinMenuButtonControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kMenuButtonControl);
}

void TspDataSkinMenuButtonControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kMenuButtonControl);
}

void TspDataSkinMenuButtonControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kMenuButtonControl);
}

TspDataSkinCheckRadioControl::TspDataSkinCheckRadioControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kCheckRadioControl);
}

void TspDataSkinCheckRadioControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kCheckRadioControl);
}

void TspDataSkinCheckRadioControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kCheckRadioControl);
}

TspDataSkinGaugeControl::TspDataSkinGaugeControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kGaugeControl);
}

void TspDataSkinGaugeControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kGaugeControl);
}

void TspDataSkinGaugeControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kGaugeControl);
}

TspDataSkinTrackBarControl::TspDataSkinTrackBarControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kTrackBarControl);
}

void TspDataSkinTrackBarControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kTrackBarControl);
}

void TspDataSkinTrackBarControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kTrackBarControl);
}

TspDataSkinSlider::TspDataSkinSlider(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kSlider);
}

void TspDataSkinSlider::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kSlider);
}

void TspDataSkinSlider::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kSlider);
}

TspDataSkinScrollBarControl::TspDataSkinScrollBarControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kScrollBarControl);
}

void TspDataSkinScrollBarControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kScrollBarControl);
}

void TspDataSkinScrollBarControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kScrollBarControl);
}

TspDataSkinSplitterControl::TspDataSkinSplitterControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kSplitterControl);
}

void TspDataSkinSplitterControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kSplitterControl);
}

void TspDataSkinSplitterControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kSplitterControl);
}

TspDataSkinPanelControl::TspDataSkinPanelControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kPanelControl);
}

void TspDataSkinPanelControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kPanelControl);
}

void TspDataSkinPanelControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kPanelControl);
}

TspDataSkinExPanelControl::TspDataSkinExPanelControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kExPanelControl);
}

void TspDataSkinExPanelControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kExPanelControl);
}

void TspDataSkinExPanelControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kExPanelControl);
}

TspDataSkinControlBar::TspDataSkinControlBar(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kControlBar);
}

void TspDataSkinControlBar::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kControlBar);
}

void TspDataSkinControlBar::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kControlBar);
}

TspDataSkinBevel::TspDataSkinBevel(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kBevel);
}

void TspDataSkinBevel::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kBevel);
}

void TspDataSkinBevel::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kBevel);
}

TspDataSkinLabelControl::TspDataSkinLabelControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kLabelControl);
}

void TspDataSkinLabelControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kLabelControl);
}

void TspDataSkinLabelControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kLabelControl);
}

TspDataSkinStdLabelControl::TspDataSkinStdLabelControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kStdLabelControl);
}

void TspDataSkinStdLabelControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kStdLabelControl);
}

void TspDataSkinStdLabelControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kStdLabelControl);
}

TspDataSkinBitLabelControl::TspDataSkinBitLabelControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kBitLabelControl);
}

void TspDataSkinBitLabelControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kBitLabelControl);
}

void TspDataSkinBitLabelControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kBitLabelControl);
}

TspDataSkinMainMenuBar::TspDataSkinMainMenuBar(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kMainMenuBar);
}

void TspDataSkinMainMenuBar::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kMainMenuBar);
}

void TspDataSkinMainMenuBar::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kMainMenuBar);
}
