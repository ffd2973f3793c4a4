#include "skin/core/SkinWindowRecords.h"

#include "framework/core/TIniFile.h"
#include "skin/core/SkinRecordLayout.h"

using namespace SkinRecordLayout;

namespace {

constexpr const char* kPopupSection = "POPUPWINDOW";
constexpr const char* kHintSection = "HINTWINDOW";

constexpr TSkinField kPopupWindowFields[] = {
    Field<&TspDataSkinPopupWindow::WindowPictureIndex>("windowpictureindex", -1),
    Field<&TspDataSkinPopupWindow::MaskPictureIndex>("maskpictureindex", -1),
    Field<&TspDataSkinPopupWindow::LeftTopPoint>("lefttoppoint"),
    Field<&TspDataSkinPopupWindow::RightTopPoint>("righttoppoint"),
    Field<&TspDataSkinPopupWindow::LeftBottomPoint>("leftbottompoint"),
    Field<&TspDataSkinPopupWindow::RightBottomPoint>("rightbottompoint"),
    Field<&TspDataSkinPopupWindow::ItemsRect>("itemsrect"),
    Field<&TspDataSkinPopupWindow::CursorIndex>("cursorindex", -1),
    Field<&TspDataSkinPopupWindow::ScrollMarkerColor>("scrollmarkercolor", 0),
    Field<&TspDataSkinPopupWindow::ScrollMarkerActiveColor>("scrollmarkeractivecolor", 0),
    Field<&TspDataSkinPopupWindow::LeftStretch>("leftstretch"),
    Field<&TspDataSkinPopupWindow::RightStretch>("rightstretch"),
    Field<&TspDataSkinPopupWindow::TopStretch>("topstretch"),
    Field<&TspDataSkinPopupWindow::BottomStretch>("bottomstretch"),
    Field<&TspDataSkinPopupWindow::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinPopupWindow::StretchType>("stretchtype", spstFull),
};
// "cursorindex" is read before "itemsrect".
constexpr const char* kPopupWindowReadOrder[]
    = { "windowpictureindex", "maskpictureindex", "lefttoppoint", "righttoppoint", "leftbottompoint",
          "rightbottompoint", "cursorindex", "itemsrect", "scrollmarkercolor", "scrollmarkeractivecolor", "leftstretch",
          "rightstretch", "topstretch", "bottomstretch", "stretcheffect", "stretchtype" };
static_assert(IsReadOrderOf(kPopupWindowFields, kPopupWindowReadOrder));
constexpr TSkinRecordLayout kPopupWindow { kPopupWindowFields, kPopupWindowReadOrder };

constexpr TSkinField kHintWindowFields[] = {
    Field<&TspDataSkinHintWindow::WindowPictureIndex>("windowpictureindex", -1),
    Field<&TspDataSkinHintWindow::MaskPictureIndex>("maskpictureindex", -1),
    Field<&TspDataSkinHintWindow::LeftTopPoint>("lefttoppoint"),
    Field<&TspDataSkinHintWindow::RightTopPoint>("righttoppoint"),
    Field<&TspDataSkinHintWindow::LeftBottomPoint>("leftbottompoint"),
    Field<&TspDataSkinHintWindow::RightBottomPoint>("rightbottompoint"),
    Field<&TspDataSkinHintWindow::ClientRect>("clientrect"),
    Field<&TspDataSkinHintWindow::FontName>("fontname", "Arial"),
    Field<&TspDataSkinHintWindow::FontHeight>("fontheight", 14, 12),
    Field<&TspDataSkinHintWindow::FontStyle>("fontstyle"),
    Field<&TspDataSkinHintWindow::FontColor>("fontcolor", 0),
    Field<&TspDataSkinHintWindow::LeftStretch>("leftstretch"),
    Field<&TspDataSkinHintWindow::RightStretch>("rightstretch"),
    Field<&TspDataSkinHintWindow::TopStretch>("topstretch"),
    Field<&TspDataSkinHintWindow::BottomStretch>("bottomstretch"),
    Field<&TspDataSkinHintWindow::StretchEffect>("stretcheffect"),
    Field<&TspDataSkinHintWindow::StretchType>("stretchtype", spstFull),
};
constexpr TSkinRecordLayout kHintWindow { kHintWindowFields, {} };

} // namespace

TspDataSkinPopupWindow::TspDataSkinPopupWindow()
{
    InitFields(*this, kPopupWindow);
}

void TspDataSkinPopupWindow::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, kPopupSection, kPopupWindow);
}

void TspDataSkinPopupWindow::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(kPopupSection);
    WriteFields(*this, file, kPopupSection, kPopupWindow);
}

TspDataSkinHintWindow::TspDataSkinHintWindow()
{
    InitFields(*this, kHintWindow);
}

void TspDataSkinHintWindow::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, kHintSection, kHintWindow);
}

void TspDataSkinHintWindow::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(kHintSection);
    WriteFields(*this, file, kHintSection, kHintWindow);
}
