#include "skin/core/SkinEditRecords.h"

#include "framework/core/TIniFile.h"
#include "skin/core/SkinRecordLayout.h"

using namespace SkinRecordLayout;

namespace {

constexpr TSkinField kEditControlFields[] = {
    Field<&TspDataSkinEditControl::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinEditControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinEditControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinEditControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinEditControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinEditControl::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinEditControl::DisabledFontColor>("disabledfontcolor", 0),
    Field<&TspDataSkinEditControl::ButtonRect>("buttonrect"),
    Field<&TspDataSkinEditControl::ActiveButtonRect>("activebuttonrect"),
    Field<&TspDataSkinEditControl::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinEditControl::UnEnabledButtonRect>("unenabledbuttonrect"),
};
// "disabledfontcolor" is read before "activefontcolor".
constexpr const char* kEditControlReadOrder[] = { "activeskinrect", "fontname", "fontheight", "fontstyle", "fontcolor",
    "disabledfontcolor", "activefontcolor", "buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect" };
static_assert(IsReadOrderOf(kEditControlFields, kEditControlReadOrder));
constexpr TSkinRecordLayout kEditControl { kEditControlFields, kEditControlReadOrder };

constexpr TSkinField kMemoControlFields[] = {
    Field<&TspDataSkinMemoControl::BGColor>("bgcolor", 0),
    Field<&TspDataSkinMemoControl::ActiveBGColor>("activebgcolor", 0),
};
constexpr TSkinRecordLayout kMemoControl { kMemoControlFields, {} };

constexpr TSkinField kSpinEditControlFields[] = {
    Field<&TspDataSkinSpinEditControl::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinSpinEditControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinSpinEditControl::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinSpinEditControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinSpinEditControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinSpinEditControl::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinSpinEditControl::DisabledFontColor>("disabledfontcolor", 0),
    Field<&TspDataSkinSpinEditControl::UpButtonRect>("upbuttonrect"),
    Field<&TspDataSkinSpinEditControl::ActiveUpButtonRect>("activeupbuttonrect"),
    Field<&TspDataSkinSpinEditControl::DownUpButtonRect>("downupbuttonrect"),
    Field<&TspDataSkinSpinEditControl::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinSpinEditControl::ActiveDownButtonRect>("activedownbuttonrect"),
    Field<&TspDataSkinSpinEditControl::DownDownButtonRect>("downdownbuttonrect"),
};
constexpr TSkinRecordLayout kSpinEditControl { kSpinEditControlFields, {} };

constexpr TSkinField kUpDownControlFields[] = {
    Field<&TspDataSkinUpDownControl::UpButtonRect>("upbuttonrect"),
    Field<&TspDataSkinUpDownControl::ActiveUpButtonRect>("activeupbuttonrect"),
    Field<&TspDataSkinUpDownControl::DownUpButtonRect>("downupbuttonrect"),
    Field<&TspDataSkinUpDownControl::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinUpDownControl::ActiveDownButtonRect>("activedownbuttonrect"),
    Field<&TspDataSkinUpDownControl::DownDownButtonRect>("downdownbuttonrect"),
};
constexpr TSkinRecordLayout kUpDownControl { kUpDownControlFields, {} };

constexpr TSkinField kListBoxFields[] = {
    Field<&TspDataSkinListBox::ItemRect>("itemrect"),
    Field<&TspDataSkinListBox::ActiveItemRect>("activeitemrect"),
    Field<&TspDataSkinListBox::FocusItemRect>("focusitemrect"),
    Field<&TspDataSkinListBox::ItemLeftOffset>("itemleftoffset", 0),
    Field<&TspDataSkinListBox::ItemRightOffset>("itemrightoffset", 0),
    Field<&TspDataSkinListBox::ItemTextRect>("itemtextrect"),
    Field<&TspDataSkinListBox::FontName>("fontname", "Arial"),
    Field<&TspDataSkinListBox::FontHeight>("fontheight", 14),
    Field<&TspDataSkinListBox::FontStyle>("fontstyle"),
    Field<&TspDataSkinListBox::FontColor>("fontcolor", 0),
    Field<&TspDataSkinListBox::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinListBox::FocusFontColor>("focusfontcolor", 0),
    Field<&TspDataSkinListBox::CaptionRect>("captionrect"),
    Field<&TspDataSkinListBox::CaptionFontName>("captionfontname", "Arial"),
    Field<&TspDataSkinListBox::CaptionFontHeight>("captionfontheight", 14),
    Field<&TspDataSkinListBox::CaptionFontStyle>("captionfontstyle"),
    Field<&TspDataSkinListBox::CaptionFontColor>("captionfontcolor", 0),
    Field<&TspDataSkinListBox::UpButtonRect>("upbuttonrect"),
    Field<&TspDataSkinListBox::ActiveUpButtonRect>("activeupbuttonrect"),
    Field<&TspDataSkinListBox::DownUpButtonRect>("downupbuttonrect"),
    Field<&TspDataSkinListBox::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinListBox::ActiveDownButtonRect>("activedownbuttonrect"),
    Field<&TspDataSkinListBox::DownDownButtonRect>("downdownbuttonrect"),
    Field<&TspDataSkinListBox::CheckButtonRect>("checkbuttonrect"),
    Field<&TspDataSkinListBox::ActiveCheckButtonRect>("activecheckbuttonrect"),
    Field<&TspDataSkinListBox::DownCheckButtonRect>("downcheckbuttonrect"),
    Field<&TspDataSkinListBox::VScrollBarName>("vscrollbarname", "vscrollbar", ""),
    Field<&TspDataSkinListBox::HScrollBarName>("hscrollbarname", "hscrollbar", ""),
    Field<&TspDataSkinListBox::BothHScrollBarName>("bothhscrollbarname", "bothhscrollbar", ""),
    Field<&TspDataSkinListBox::ShowFocus>("showfocus"),
};
constexpr TSkinRecordLayout kListBox { kListBoxFields, {} };

constexpr TSkinField kCheckListBoxFields[] = {
    Field<&TspDataSkinCheckListBox::ItemCheckRect>("itemcheckrect"),
    Field<&TspDataSkinCheckListBox::UnCheckImageRect>("uncheckimagerect"),
    Field<&TspDataSkinCheckListBox::CheckImageRect>("checkimagerect"),
};
// The mark images are read around the mark's place.
constexpr const char* kCheckListBoxReadOrder[] = { "checkimagerect", "itemcheckrect", "uncheckimagerect" };
static_assert(IsReadOrderOf(kCheckListBoxFields, kCheckListBoxReadOrder));
constexpr TSkinRecordLayout kCheckListBox { kCheckListBoxFields, kCheckListBoxReadOrder };

constexpr TSkinField kComboBoxFields[] = {
    Field<&TspDataSkinComboBox::ActiveSkinRect>("activeskinrect"),
    Field<&TspDataSkinComboBox::ItemRect>("itemrect"),
    Field<&TspDataSkinComboBox::ActiveItemRect>("activeitemrect"),
    Field<&TspDataSkinComboBox::FocusItemRect>("focusitemrect"),
    Field<&TspDataSkinComboBox::ItemLeftOffset>("itemleftoffset", 0),
    Field<&TspDataSkinComboBox::ItemRightOffset>("itemrightoffset", 0),
    Field<&TspDataSkinComboBox::ItemTextRect>("itemtextrect"),
    Field<&TspDataSkinComboBox::FontName>("fontname", "Arial"),
    Field<&TspDataSkinComboBox::FontHeight>("fontheight", 14),
    Field<&TspDataSkinComboBox::FontStyle>("fontstyle"),
    Field<&TspDataSkinComboBox::FontColor>("fontcolor", 0),
    Field<&TspDataSkinComboBox::FocusFontColor>("focusfontcolor", 0),
    Field<&TspDataSkinComboBox::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinComboBox::ButtonRect>("buttonrect"),
    Field<&TspDataSkinComboBox::ActiveButtonRect>("activebuttonrect"),
    Field<&TspDataSkinComboBox::DownButtonRect>("downbuttonrect"),
    Field<&TspDataSkinComboBox::UnEnabledButtonRect>("unenabledbuttonrect"),
    Field<&TspDataSkinComboBox::ListBoxName>("listboxname", ""),
    Field<&TspDataSkinComboBox::ItemStretchEffect>("itemstretcheffect"),
    Field<&TspDataSkinComboBox::FocusItemStretchEffect>("focusitemstretcheffect"),
    Field<&TspDataSkinComboBox::ShowFocus>("showfocus"),
};
// "listboxname" is read right after the font colours.
constexpr const char* kComboBoxReadOrder[] = { "activeskinrect", "itemrect", "activeitemrect", "focusitemrect",
    "itemleftoffset", "itemrightoffset", "itemtextrect", "fontname", "fontheight", "fontstyle", "fontcolor",
    "focusfontcolor", "activefontcolor", "listboxname", "buttonrect", "activebuttonrect", "downbuttonrect",
    "unenabledbuttonrect", "itemstretcheffect", "focusitemstretcheffect", "showfocus" };
static_assert(IsReadOrderOf(kComboBoxFields, kComboBoxReadOrder));
constexpr TSkinRecordLayout kComboBox { kComboBoxFields, kComboBoxReadOrder };

constexpr TSkinField kScrollBoxControlFields[] = {
    Field<&TspDataSkinScrollBoxControl::BGPictureIndex>("bgpictureindex", -1),
};
constexpr TSkinRecordLayout kScrollBoxControl { kScrollBoxControlFields, {} };

constexpr TSkinField kTreeViewFields[] = {
    Field<&TspDataSkinTreeView::FontName>("fontname", "Arial"),
    Field<&TspDataSkinTreeView::FontHeight>("fontheight", 14),
    Field<&TspDataSkinTreeView::FontStyle>("fontstyle"),
    Field<&TspDataSkinTreeView::FontColor>("fontcolor", 0),
    Field<&TspDataSkinTreeView::BGColor>("bgcolor", 0, 0xFFFFFF),
};
constexpr TSkinRecordLayout kTreeView { kTreeViewFields, {} };

constexpr TSkinField kListViewFields[] = {
    Field<&TspDataSkinListView::FontName>("fontname", "Arial"),
    Field<&TspDataSkinListView::FontHeight>("fontheight", 14),
    Field<&TspDataSkinListView::FontStyle>("fontstyle"),
    Field<&TspDataSkinListView::FontColor>("fontcolor", 0),
    Field<&TspDataSkinListView::BGColor>("bgcolor", 0, 0xFFFFFF),
};
constexpr TSkinRecordLayout kListView { kListViewFields, {} };

constexpr TSkinField kRichEditFields[] = {
    Field<&TspDataSkinRichEdit::FontName>("fontname", "Arial"),
    Field<&TspDataSkinRichEdit::FontHeight>("fontheight", 14),
    Field<&TspDataSkinRichEdit::FontStyle>("fontstyle"),
    Field<&TspDataSkinRichEdit::FontColor>("fontcolor", 0),
    Field<&TspDataSkinRichEdit::BGColor>("bgcolor", 0, 0xFFFFFF),
};
constexpr TSkinRecordLayout kRichEdit { kRichEditFields, {} };

constexpr TSkinField kGridControlFields[] = {
    Field<&TspDataSkinGridControl::FixedCellRect>("fixedcellrect"),
    Field<&TspDataSkinGridControl::SelectCellRect>("selectcellrect"),
    Field<&TspDataSkinGridControl::FocusCellRect>("focuscellrect"),
    Field<&TspDataSkinGridControl::FixedCellLeftOffset>("fixedcellleftoffset", 0),
    Field<&TspDataSkinGridControl::FixedCellRightOffset>("fixedcellrightoffset", 0),
    Field<&TspDataSkinGridControl::FixedCellTextRect>("fixedcelltextrect"),
    Field<&TspDataSkinGridControl::CellLeftOffset>("cellleftoffset", 0),
    Field<&TspDataSkinGridControl::CellRightOffset>("cellrightoffset", 0),
    Field<&TspDataSkinGridControl::CellTextRect>("celltextrect"),
    Field<&TspDataSkinGridControl::LinesColor>("linescolor", 0),
    Field<&TspDataSkinGridControl::BGColor>("bgcolor", 0),
    Field<&TspDataSkinGridControl::BGPictureIndex>("bgpictureindex", -1),
    Field<&TspDataSkinGridControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinGridControl::FontHeight>("fontheight", 14),
    Field<&TspDataSkinGridControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinGridControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinGridControl::SelectFontColor>("selectfontcolor", 0),
    Field<&TspDataSkinGridControl::FocusFontColor>("focusfontcolor", 0),
    Field<&TspDataSkinGridControl::FixedFontName>("fixedfontname", "Arial"),
    Field<&TspDataSkinGridControl::FixedFontHeight>("fixedfontheight", 14),
    Field<&TspDataSkinGridControl::FixedFontStyle>("fixedfontstyle"),
    Field<&TspDataSkinGridControl::FixedFontColor>("fixedfontcolor", 0),
    Field<&TspDataSkinGridControl::CellStretchEffect>("cellstretcheffect"),
    Field<&TspDataSkinGridControl::FixedCellStretchEffect>("fixedcellstretcheffect"),
    Field<&TspDataSkinGridControl::ShowFocus>("showfocus"),
};
constexpr TSkinRecordLayout kGridControl { kGridControlFields, {} };

constexpr TSkinField kTabControlFields[] = {
    Field<&TspDataSkinTabControl::TabRect>("tabrect"),
    Field<&TspDataSkinTabControl::ActiveTabRect>("activetabrect"),
    Field<&TspDataSkinTabControl::FocusTabRect>("focustabrect"),
    Field<&TspDataSkinTabControl::MouseInTabRect>("mouseintabrect"),
    Field<&TspDataSkinTabControl::ClientRect>("clientrect"),
    Field<&TspDataSkinTabControl::BGPictureIndex>("bgpictureindex", -1),
    Field<&TspDataSkinTabControl::LeftTopPoint>("lefttoppoint"),
    Field<&TspDataSkinTabControl::RightTopPoint>("righttoppoint"),
    Field<&TspDataSkinTabControl::LeftBottomPoint>("leftbottompoint"),
    Field<&TspDataSkinTabControl::RightBottomPoint>("rightbottompoint"),
    Field<&TspDataSkinTabControl::TabLeftOffset>("tableftoffset", 0),
    Field<&TspDataSkinTabControl::TabRightOffset>("tabrightoffset", 0),
    Field<&TspDataSkinTabControl::TabsBGRect>("tabsbgrect"),
    Field<&TspDataSkinTabControl::TabStretchEffect>("tabstretcheffect"),
    Field<&TspDataSkinTabControl::LeftStretch>("leftstretch"),
    Field<&TspDataSkinTabControl::TopStretch>("topstretch"),
    Field<&TspDataSkinTabControl::RightStretch>("rightstretch"),
    Field<&TspDataSkinTabControl::BottomStretch>("bottomstretch"),
    Field<&TspDataSkinTabControl::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinTabControl::StretchType>("stretchtype", spstFull),
    Field<&TspDataSkinTabControl::FontName>("fontname", "Arial"),
    Field<&TspDataSkinTabControl::FontHeight>("fontheight", 14),
    Field<&TspDataSkinTabControl::FontStyle>("fontstyle"),
    Field<&TspDataSkinTabControl::FontColor>("fontcolor", 0),
    Field<&TspDataSkinTabControl::ActiveFontColor>("activefontcolor", 0),
    Field<&TspDataSkinTabControl::FocusFontColor>("focusfontcolor", 0),
    Field<&TspDataSkinTabControl::MouseInFontColor>("mouseinfontcolor", 0),
    Field<&TspDataSkinTabControl::UpDown>("updown", ""),
    Field<&TspDataSkinTabControl::ShowFocus>("showfocus"),
    Field<&TspDataSkinTabControl::FocusOffsetX>("focusoffsetx", 0),
    Field<&TspDataSkinTabControl::FocusOffsetY>("focusoffsety", 0),
};
constexpr TSkinRecordLayout kTabControl { kTabControlFields, {} };

} // namespace

TspDataSkinEditControl::TspDataSkinEditControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kEditControl);
}

void TspDataSkinEditControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kEditControl);
}

void TspDataSkinEditControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kEditControl);
}

TspDataSkinMemoControl::TspDataSkinMemoControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kMemoControl);
}

void TspDataSkinMemoControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kMemoControl);
}

void TspDataSkinMemoControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kMemoControl);
}

TspDataSkinSpinEditControl::TspDataSkinSpinEditControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kSpinEditControl);
}

void TspDataSkinSpinEditControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kSpinEditControl);
}

void TspDataSkinSpinEditControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kSpinEditControl);
}

void TspDataSkinUpDownControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kUpDownControl);
    ClearFrame();
}

void TspDataSkinUpDownControl::SaveToFile(TCustomIniFile* file)
{
    ClearFrame();
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kUpDownControl);
}

void TspDataSkinUpDownControl::ClearFrame()
{
    LeftTopPoint = TPoint {};
    RightTopPoint = TPoint {};
    LeftBottomPoint = TPoint {};
    RightBottomPoint = TPoint {};
    ClientRect = TRect {};
}

TspDataSkinListBox::TspDataSkinListBox(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kListBox);
}

void TspDataSkinListBox::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kListBox);
}

void TspDataSkinListBox::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kListBox);
}

void TspDataSkinCheckListBox::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kCheckListBox);
}

void TspDataSkinCheckListBox::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kCheckListBox);
}

TspDataSkinComboBox::TspDataSkinComboBox(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kComboBox);
}

void TspDataSkinComboBox::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kComboBox);
}

void TspDataSkinComboBox::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kComboBox);
}

TspDataSkinScrollBoxControl::TspDataSkinScrollBoxControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kScrollBoxControl);
}

void TspDataSkinScrollBoxControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kScrollBoxControl);
}

void TspDataSkinScrollBoxControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kScrollBoxControl);
}

TspDataSkinTreeView::TspDataSkinTreeView(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kTreeView);
}

void TspDataSkinTreeView::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kTreeView);
}

void TspDataSkinTreeView::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kTreeView);
}

TspDataSkinListView::TspDataSkinListView(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kListView);
}

void TspDataSkinListView::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kListView);
}

void TspDataSkinListView::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kListView);
}

TspDataSkinRichEdit::TspDataSkinRichEdit(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kRichEdit);
}

void TspDataSkinRichEdit::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kRichEdit);
}

void TspDataSkinRichEdit::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kRichEdit);
}

TspDataSkinGridControl::TspDataSkinGridControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kGridControl);
}

void TspDataSkinGridControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kGridControl);
}

void TspDataSkinGridControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kGridControl);
}

TspDataSkinTabControl::TspDataSkinTabControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kTabControl);
}

void TspDataSkinTabControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kTabControl);
}

void TspDataSkinTabControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kTabControl);
}
