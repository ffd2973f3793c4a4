#include "skin/core/TspDataSkinControl.h"

#include "framework/core/TIniFile.h"
#include "skin/core/SkinRecordLayout.h"

using namespace SkinRecordLayout;

namespace {

using C = TspDataSkinControl;
constexpr TSkinField kControlFields[] = {
    Field<&C::PictureIndex>("pictureindex", -1),
    Field<&C::MaskPictureIndex>("maskpictureindex", -1),
    Field<&C::CursorIndex>("cursorindex", -1),
    Field<&C::SkinRect>("skinrect"),
};
constexpr TSkinRecordLayout kControl { kControlFields, {} };

using N = TspDataSkinCustomControl;
constexpr TSkinField kCustomControlFields[] = {
    Field<&N::LeftTopPoint>("lefttoppoint"),
    Field<&N::RightTopPoint>("righttoppoint"),
    Field<&N::LeftBottomPoint>("leftbottompoint"),
    Field<&N::RightBottomPoint>("rightbottompoint"),
    Field<&N::ClientRect>("clientrect"),
    Field<&N::LeftStretch>("leftstretch"),
    Field<&N::TopStretch>("topstretch"),
    Field<&N::RightStretch>("rightstretch"),
    Field<&N::BottomStretch>("bottomstretch"),
    Field<&N::StretchEffect>("stretcheffect"),
    Field<&N::StretchType>("stretchtype", spstFull),
};
constexpr TSkinRecordLayout kCustomControl { kCustomControlFields, {} };

using F = TspDataSkinFrameControl;
constexpr TSkinField kFrameControlFields[] = {
    Field<&F::FramesCount>("framescount", 1),
    Field<&F::FramesPlacement>("framesplacement", fpHorizontal),
};
constexpr TSkinRecordLayout kFrameControl { kFrameControlFields, {} };

constexpr TSkinField kFrameRegulatorFields[] = {
    Field<&TspDataSkinFrameRegulator::Kind>("kind", rkRound),
};
constexpr TSkinRecordLayout kFrameRegulator { kFrameRegulatorFields, {} };

} // namespace

TspDataSkinControl::TspDataSkinControl(std::string_view idName)
    : IDName(idName)
{
    InitFields(*this, kControl);
}

void TspDataSkinControl::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, IDName, kControl);
}

void TspDataSkinControl::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(IDName);
    WriteFields(*this, file, IDName, kControl);
}

TspDataSkinCustomControl::TspDataSkinCustomControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kCustomControl);
}

void TspDataSkinCustomControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kCustomControl);
}

void TspDataSkinCustomControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kCustomControl);
}

TspDataSkinFrameControl::TspDataSkinFrameControl(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kFrameControl);
}

void TspDataSkinFrameControl::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    ReadFields(*this, file, IDName, kFrameControl);
    if (FramesCount < 1)
        FramesCount = 1;
}

void TspDataSkinFrameControl::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kFrameControl);
}

TspDataSkinFrameRegulator::TspDataSkinFrameRegulator(std::string_view idName)
    : inherited(idName)
{
    InitFields(*this, kFrameRegulator);
}

void TspDataSkinFrameRegulator::LoadFromFile(TCustomIniFile* file)
{
    inherited::LoadFromFile(file);
    Kind = rkRound;
    ReadFields(*this, file, IDName, kFrameRegulator);
}

void TspDataSkinFrameRegulator::SaveToFile(TCustomIniFile* file)
{
    inherited::SaveToFile(file);
    WriteFields(*this, file, IDName, kFrameRegulator);
}

TspDataSkinArea::TspDataSkinArea(std::string_view idName, const TRect& areaRect)
    : IDName(idName)
    , AreaRect(areaRect)
{
}
