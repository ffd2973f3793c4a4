// The sections of a skin description: reading and writing them, the form description and the record lists.
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinRecordLayout.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>
#include <span>

using namespace SPUtils;
using namespace SkinData;
using namespace SkinRecordLayout;

namespace {

constexpr const char* kVersion = "VERSION";
constexpr const char* kPictures = "PICTURES";
constexpr const char* kCursors = "CURSORS";
constexpr const char* kFormInfo = "FORMINFO";
constexpr const char* kSkinAreas = "SKINAREAS";
constexpr const char* kSkinObjects = "SKINOBJECTS";
constexpr const char* kSkinControls = "SKINCONTROLS";

using D = TspSkinData;

// "FORMINFO" in the order it is written.
constexpr TSkinField kFormInfoFields[] = {
    Field<&D::LeftTopPoint>("lefttoppoint"),
    Field<&D::RightTopPoint>("righttoppoint"),
    Field<&D::LeftBottomPoint>("leftbottompoint"),
    Field<&D::RightBottomPoint>("rightbottompoint"),
    Field<&D::ClientRect>("clientrect"),
    Field<&D::BGPictureIndex>("bgpictureindex", -1),
    Field<&D::MDIBGPictureIndex>("mdibgpictureindex", -1),
    Field<&D::MaskRectArea>("maskrectarea"),
    Field<&D::LeftStretch>("leftstretch"),
    Field<&D::RightStretch>("rightstretch"),
    Field<&D::TopStretch>("topstretch"),
    Field<&D::BottomStretch>("bottomstretch"),
    Field<&D::StretchEffect>("stretcheffect"),
    Field<&D::StretchType>("stretchtype", spstFull),
    Field<&D::MDIBGStretchEffect>("mdibgstretcheffect"),
    Field<&D::MDIBGStretchType>("mdibgstretchtype", spstFull),
    Field<&D::ButtonsRect>("buttonsrect"),
    Field<&D::CaptionRect>("captionrect"),
    Field<&D::ButtonsOffset>("buttonsoffset", 0),
    Field<&D::ButtonsInLeft>("buttonsinleft"),
    Field<&D::HitTestLeftTopPoint>("hittestlefttoppoint"),
    Field<&D::HitTestRightTopPoint>("hittestrighttoppoint"),
    Field<&D::HitTestLeftBottomPoint>("hittestleftbottompoint"),
    Field<&D::HitTestRightBottomPoint>("hittestrightbottompoint"),
    Field<&D::RollUpLeftPoint>("rollupleftpoint"),
    Field<&D::RollUpRightPoint>("rolluprightpoint"),
    Field<&D::MainMenuRect>("mainmenurect"),
    Field<&D::IconRect>("iconrect"),
    Field<&D::MainMenuPopupUp>("mainmenupopupup"),
    Field<&D::BorderWidth>("borderwidth", 0),
    Field<&D::CursorIndex>("cursorindex", -1),
    Field<&D::AutoRenderingInActiveImage>("autorenderinginactiveimage"),
    Field<&D::InActiveEffect>("inactiveeffect", ieBrightness),
    Field<&D::FormMinWidth>("formminwidth", 0),
    Field<&D::SizeGripArea>("sizegriparea"),
    Field<&D::StatusBarName>("statusbarname", ""),
    Field<&D::MDITabsTransparent>("mditabstransparent"),
    Field<&D::MainMenuBarTransparent>("mainmenubartransparent"),
};

// "FORMINFO" in the order it is read. The values read in the first part decide the mask and hit-test
// values; those of the second part the corner points.
constexpr const char* kFormInfoReadOrder[]
    = { "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect", "bgpictureindex",
          "mdibgpictureindex", "leftstretch", "rightstretch", "topstretch", "bottomstretch", "stretcheffect",
          "stretchtype", "mdibgstretcheffect", "mdibgstretchtype", "buttonsrect", "captionrect", "buttonsoffset",
          "buttonsinleft", "maskrectarea", "hittestlefttoppoint", "hittestrighttoppoint", "hittestleftbottompoint",
          "hittestrightbottompoint", "rollupleftpoint", "rolluprightpoint", // mask and hit-test values derived here
          "mainmenurect", "iconrect", "mainmenupopupup", "borderwidth", "formminwidth", "mditabstransparent",
          "mainmenubartransparent", "cursorindex", "autorenderinginactiveimage", "inactiveeffect", // corners here
          "sizegriparea", "statusbarname" };
static_assert(IsReadOrderOf(kFormInfoFields, kFormInfoReadOrder));
constexpr std::span<const char* const> kFormInfoOrder { kFormInfoReadOrder };
constexpr TSkinRecordLayout kFormInfoWrite { kFormInfoFields, {} };
constexpr TSkinRecordLayout kFormInfoRead1 { kFormInfoFields, kFormInfoOrder.subspan(0, 26) };
constexpr TSkinRecordLayout kFormInfoRead2 { kFormInfoFields, kFormInfoOrder.subspan(26, 10) };
constexpr TSkinRecordLayout kFormInfoRead3 { kFormInfoFields, kFormInfoOrder.subspan(36) };

using K = TspSkinColors;
constexpr TSkinField kColorFields[] = {
    Field<&K::cBtnFace>("cbtnface", 0),
    Field<&K::cBtnText>("cbtntext", 0),
    Field<&K::cWindow>("cwindow", 0),
    Field<&K::cWindowText>("cwindowtext", 0),
    Field<&K::cHighLight>("chighlight", 0),
    Field<&K::cHighLightText>("chighlighttext", 0),
    Field<&K::cBtnHighLight>("cbtnhighlight", 0),
    Field<&K::cBtnShadow>("cbtnshadow", 0),
    Field<&K::c3DLight>("c3dlight", 0),
    Field<&K::c3DDkShadow>("c3ddkshadow", 0),
};
constexpr TSkinRecordLayout kColors { kColorFields, {} };
constexpr const char* kSkinColors = "SKINCOLORS";

// A type word of a record list and the class it stands for.
template <class TBase> struct TTypeWord {
    const char* Word;
    std::unique_ptr<TBase> (*Create)(std::string_view name);
    // Whether a record is of the class or a descendant.
    bool (*Is)(const TBase* record);
};

template <class TBase, class T> constexpr TTypeWord<TBase> Word(const char* word)
{
    return TTypeWord<TBase> { word,
        [](std::string_view name) -> std::unique_ptr<TBase> { return std::make_unique<T>(name); },
        [](const TBase* record) { return dynamic_cast<const T*>(record) != nullptr; } };
}

// In the order the writer tests the classes, so that a class comes before its ancestors ("mainmenubarbutton"
// before "stdbutton" before "button"). The reader compares words exactly, where the order makes no
// difference.
constexpr TTypeWord<TspDataSkinObject> kObjectWords[] = {
    Word<TspDataSkinObject, TspDataSkinMenuItem>("menuitem"),
    Word<TspDataSkinObject, TspDataSkinMainMenuBarItem>("mainmenubaritem"),
    Word<TspDataSkinObject, TspDataSkinMainMenuItem>("mainmenuitem"),
    Word<TspDataSkinObject, TspDataSkinMainMenuBarButton>("mainmenubarbutton"),
    Word<TspDataSkinObject, TspDataSkinStdButton>("stdbutton"),
    Word<TspDataSkinObject, TspDataSkinButton>("button"),
    Word<TspDataSkinObject, TspDataSkinCaption>("caption"),
    Word<TspDataSkinObject, TspDataSkinTrackBar>("trackbar"),
    Word<TspDataSkinObject, TspDataSkinGauge>("gauge"),
    Word<TspDataSkinObject, TspDataSkinFrameGaugeObject>("framegauge"),
    Word<TspDataSkinObject, TspDataSkinFrameRegulatorObject>("frameregulator"),
    Word<TspDataSkinObject, TspDataSkinLabel>("label"),
    Word<TspDataSkinObject, TspDataSkinBitLabel>("bitlabel"),
    Word<TspDataSkinObject, TspDataSkinSwitch>("switch"),
    Word<TspDataSkinObject, TspDataSkinAnimate>("animate"),
    Word<TspDataSkinObject, TspDataUserObject>("userobject"),
};

constexpr TTypeWord<TspDataSkinControl> kControlWords[] = {
    Word<TspDataSkinControl, TspDataSkinSlider>("slider"),
    Word<TspDataSkinControl, TspDataSkinBevel>("bevel"),
    Word<TspDataSkinControl, TspDataSkinPanelControl>("panel"),
    Word<TspDataSkinControl, TspDataSkinExPanelControl>("expanel"),
    Word<TspDataSkinControl, TspDataSkinMenuButtonControl>("menubutton"),
    Word<TspDataSkinControl, TspDataSkinButtonControl>("button"),
    Word<TspDataSkinControl, TspDataSkinCheckRadioControl>("checkradio"),
    Word<TspDataSkinControl, TspDataSkinGaugeControl>("gauge"),
    Word<TspDataSkinControl, TspDataSkinSplitterControl>("splitter"),
    Word<TspDataSkinControl, TspDataSkinTrackBarControl>("trackbar"),
    Word<TspDataSkinControl, TspDataSkinLabelControl>("label"),
    Word<TspDataSkinControl, TspDataSkinStdLabelControl>("stdlabel"),
    Word<TspDataSkinControl, TspDataSkinBitLabelControl>("bitlabel"),
    Word<TspDataSkinControl, TspDataSkinFrameRegulator>("frameregulator"),
    Word<TspDataSkinControl, TspDataSkinFrameGauge>("framegauge"),
    Word<TspDataSkinControl, TspDataSkinAnimateControl>("animate"),
    Word<TspDataSkinControl, TspDataSkinUpDownControl>("updown"),
    Word<TspDataSkinControl, TspDataSkinSwitchControl>("switch"),
    Word<TspDataSkinControl, TspDataSkinGridControl>("grid"),
    Word<TspDataSkinControl, TspDataSkinTabControl>("tab"),
    Word<TspDataSkinControl, TspDataSkinMainMenuBar>("mainmenubar"),
    Word<TspDataSkinControl, TspDataSkinControlBar>("controlbar"),
    Word<TspDataSkinControl, TspDataSkinMemoControl>("memo"),
    Word<TspDataSkinControl, TspDataSkinEditControl>("edit"),
    Word<TspDataSkinControl, TspDataSkinCheckListBox>("checklistbox"),
    Word<TspDataSkinControl, TspDataSkinListBox>("listbox"),
    Word<TspDataSkinControl, TspDataSkinComboBox>("combobox"),
    Word<TspDataSkinControl, TspDataSkinScrollBarControl>("scrollbar"),
    Word<TspDataSkinControl, TspDataSkinSpinEditControl>("spinedit"),
    Word<TspDataSkinControl, TspDataSkinScrollBoxControl>("scrollbox"),
    Word<TspDataSkinControl, TspDataSkinTreeView>("treeview"),
    Word<TspDataSkinControl, TspDataSkinListView>("listview"),
    Word<TspDataSkinControl, TspDataSkinRichEdit>("richedit"),
};

template <class TBase, size_t N>
const TTypeWord<TBase>* FindWord(const TTypeWord<TBase> (&words)[N], std::string_view word)
{
    for (const TTypeWord<TBase>& entry : words) {
        if (word == entry.Word)
            return &entry;
    }
    return nullptr;
}

template <class TBase, size_t N> const char* WordOf(const TTypeWord<TBase> (&words)[N], const TBase* record)
{
    for (const TTypeWord<TBase>& entry : words) {
        if (entry.Is(record))
            return entry.Word;
    }
    return "";
}

// The number of entries of a list section; a count past what any skin holds is refused instead of being
// walked entry by entry.
int ListCount(const TCustomIniFile* ini, std::string_view section)
{
    int count = ini->ReadInteger(section, "count", 0);
    if (count > MaxListCount)
        throw EConvertError(Format("The count %d of section [%s] is too large", count, section));
    return count;
}

// Creates, appends and loads the record of each entry whose type word is known; other entries are skipped.
template <class TBase, size_t N>
void ReadRecords(TCustomIniFile* ini, std::string_view section, const TTypeWord<TBase> (&words)[N],
    std::vector<std::unique_ptr<TBase>>& records, const TspSkinData& skin)
{
    int count = ListCount(ini, section);
    for (int i = 0; i < count; ++i) {
        std::string name, type;
        skin.GetObjectTypeName(ini->ReadString(section, IntToStr(i), ""), name, type);
        const TTypeWord<TBase>* word = FindWord(words, type);
        if (!word)
            continue;
        records.push_back(word->Create(name));
        records.back()->LoadFromFile(ini);
    }
}

template <class TBase, size_t N>
void WriteRecords(TCustomIniFile* ini, std::string_view section, const TTypeWord<TBase> (&words)[N],
    const std::vector<std::unique_ptr<TBase>>& records)
{
    ini->WriteInteger(section, "count", static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        TBase* record = records[i].get();
        ini->WriteString(
            section, IntToStr(int64_t(i)), record->IDName + ":" + WordOf(words, static_cast<const TBase*>(record)));
        record->SaveToFile(ini);
    }
}

} // namespace

void TspSkinColors::LoadFromFile(TCustomIniFile* file)
{
    ReadFields(*this, file, kSkinColors, kColors);
}

void TspSkinColors::SaveToFile(TCustomIniFile* file)
{
    file->EraseSection(kSkinColors);
    WriteFields(*this, file, kSkinColors, kColors);
}

void TspSkinColors::SetColorsToDefault()
{
    cBtnFace = clBtnFace;
    cBtnText = clBtnText;
    cWindow = clWindow;
    cWindowText = clWindowText;
    cHighLight = clHighlight;
    cHighLightText = clHighlightText;
    cBtnHighLight = clBtnHighlight;
    cBtnShadow = clBtnShadow;
    c3DLight = cl3DLight;
    c3DDkShadow = cl3DDkShadow;
}

void TspSkinData::ReadVersionAndPictureNames(TCustomIniFile* ini)
{
    SkinName = ini->ReadString(kVersion, "skinname", "");
    SkinAuthor = ini->ReadString(kVersion, "skinauthor", "");
    AuthorEmail = ini->ReadString(kVersion, "authoremail", "");
    AuthorURL = ini->ReadString(kVersion, "authorurl", "");
    SkinComments = ini->ReadString(kVersion, "skincomments", "");
    for (const TMainPicture& main : MainPictures())
        *main.Name = ini->ReadString(kPictures, main.Key, "");
}

void TspSkinData::ReadSkinSections(TCustomIniFile* ini)
{
    ReadFormInfo(ini);
    PopupWindow->LoadFromFile(ini);
    HintWindow->LoadFromFile(ini);
    Colors->LoadFromFile(ini);
    ReadAreas(ini);
    ReadObjects(ini);
    ReadCtrls(ini);
}

void TspSkinData::ReadFormInfo(TCustomIniFile* ini)
{
    ReadFields(*this, ini, kFormInfo, kFormInfoRead1);
    // With a mask, the mask area holds at least the client part and the hit-test corners default to the
    // frame's corners.
    if (!MaskPictureName.empty()) {
        if (IsNullRect(MaskRectArea)) {
            MaskRectArea = ClientRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClientRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClientRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClientRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClientRect.Bottom);
        }
        auto defaultTo = [](TPoint& hitTest, const TPoint& corner) {
            if (IsNullPoint(hitTest))
                hitTest = corner;
        };
        defaultTo(HitTestLeftTopPoint, LeftTopPoint);
        defaultTo(HitTestRightTopPoint, RightTopPoint);
        defaultTo(HitTestLeftBottomPoint, LeftBottomPoint);
        defaultTo(HitTestRightBottomPoint, RightBottomPoint);
    }
    ReadFields(*this, ini, kFormInfo, kFormInfoRead2);
    // A scalable frame keeps its corner points inside the client part.
    if (RightBottomPoint.X != LeftTopPoint.X && RightBottomPoint.Y != LeftTopPoint.Y) {
        LeftTopPoint.X = std::max(LeftTopPoint.X, ClientRect.Left);
        LeftTopPoint.Y = std::max(LeftTopPoint.Y, ClientRect.Top);
        RightTopPoint.X = std::min(RightTopPoint.X, ClientRect.Right);
        RightTopPoint.Y = std::max(RightTopPoint.Y, ClientRect.Top);
        LeftBottomPoint.X = std::max(LeftBottomPoint.X, ClientRect.Left);
        LeftBottomPoint.Y = std::min(LeftBottomPoint.Y, ClientRect.Bottom);
        RightBottomPoint.X = std::min(RightBottomPoint.X, ClientRect.Right);
        RightBottomPoint.Y = std::min(RightBottomPoint.Y, ClientRect.Bottom);
    }
    ReadFields(*this, ini, kFormInfo, kFormInfoRead3);
}

void TspSkinData::WriteFormInfo(TCustomIniFile* ini)
{
    WriteFields(*this, ini, kFormInfo, kFormInfoWrite);
}

void TspSkinData::ReadActivePictures(TCustomIniFile* ini, std::string_view folder)
{
    int first = ActivePictureNames->Count();
    ReadStrings1(ini, kPictures, "activepictures", ActivePictureNames.get());
    for (int i = first; i < ActivePictureNames->Count(); ++i) {
        auto bitmap = std::make_unique<TBitmap>();
        std::string name = ActivePictureNames->Strings(i);
        const std::string path = PicturePath(folder, name);
        if (IsJpegFile(name))
            LoadFromJpegFile(bitmap.get(), path);
        else
            bitmap->LoadFromFile(path);
        AddPicture(std::move(bitmap));
    }
}

void TspSkinData::WriteActivePictures(TCustomIniFile* ini)
{
    WriteStrings1(ini, kPictures, "activepictures", ActivePictureNames.get());
}

void TspSkinData::ReadCursors(TCustomIniFile* ini, std::string_view folder)
{
    StartCursorIndex = std::max(1, ini->ReadInteger(kCursors, "startcursorindex", 1));
    int first = CursorNames->Count();
    ReadStrings1(ini, kCursors, "cursors", CursorNames.get());
    for (int i = first; i < CursorNames->Count(); ++i) {
        // A cursor from outside the skin's folder is not read; the screen keeps its own for that number.
        if (InSkinFolder(CursorNames->Strings(i)))
            SetScreenCursor(int64_t(StartCursorIndex) + (i - first), std::string(folder) + CursorNames->Strings(i));
    }
}

void TspSkinData::WriteCursors(TCustomIniFile* ini)
{
    ini->WriteInteger(kCursors, "startcursorindex", StartCursorIndex);
    WriteStrings1(ini, kCursors, "cursors", CursorNames.get());
}

void TspSkinData::ReadAreas(TCustomIniFile* ini)
{
    int count = ListCount(ini, kSkinAreas);
    for (int i = 0; i < count; ++i) {
        std::string entry = ini->ReadString(kSkinAreas, IntToStr(i), "");
        std::string name;
        // An entry without ":" has no rectangle of its own.
        TRect rect {};
        try {
            GetAreaNameRect(entry, name, rect);
        } catch (const EConvertError& e) {
            throw EConvertError(Format("%s (entry %d of section [%s])", e.Message(), i, kSkinAreas));
        }
        AddSkinArea(name, rect);
    }
}

void TspSkinData::WriteAreas(TCustomIniFile* ini)
{
    ini->WriteInteger(kSkinAreas, "count", static_cast<int>(AreaRecords.size()));
    for (size_t i = 0; i < AreaRecords.size(); ++i)
        ini->WriteString(kSkinAreas, IntToStr(int64_t(i)),
            AreaRecords[i]->IDName + ":" + SPUtils::SetRect(AreaRecords[i]->AreaRect));
}

void TspSkinData::ReadObjects(TCustomIniFile* ini)
{
    ReadRecords(ini, kSkinObjects, kObjectWords, ObjectRecords, *this);
}

void TspSkinData::WriteObjects(TCustomIniFile* ini)
{
    WriteRecords(ini, kSkinObjects, kObjectWords, ObjectRecords);
}

void TspSkinData::ReadCtrls(TCustomIniFile* ini)
{
    ReadRecords(ini, kSkinControls, kControlWords, ControlRecords, *this);
}

void TspSkinData::WriteCtrls(TCustomIniFile* ini)
{
    WriteRecords(ini, kSkinControls, kControlWords, ControlRecords);
}

void TspSkinData::GetObjectTypeName(std::string_view text, std::string& name, std::string& type) const
{
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        name.clear();
        type.clear();
        return;
    }
    name = text.substr(0, colon);
    type = text.substr(colon + 1);
}

void TspSkinData::GetAreaNameRect(std::string_view text, std::string& name, TRect& rect) const
{
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        name.clear();
        return;
    }
    rect = GetRect(text.substr(colon + 1));
    name = text.substr(0, colon);
}

void TspSkinData::AddSkinArea(std::string_view name, const TRect& rect)
{
    AreaRecords.push_back(std::make_unique<TspDataSkinArea>(name, rect));
}

void TspSkinData::SaveToCustomIniFile(TCustomIniFile* ini)
{
    ini->EraseSection(kVersion);
    ini->WriteInteger(kVersion, "ver", 2);
    ini->WriteString(kVersion, "skinname", SkinName);
    ini->WriteString(kVersion, "skinauthor", SkinAuthor);
    ini->WriteString(kVersion, "authoremail", AuthorEmail);
    ini->WriteString(kVersion, "authorurl", AuthorURL);
    ini->WriteString(kVersion, "skincomments", SkinComments);

    ini->EraseSection(kPictures);
    for (const TMainPicture& main : MainPictures())
        ini->WriteString(kPictures, main.Key, *main.Name);
    WriteActivePictures(ini);

    ini->EraseSection(kCursors);
    WriteCursors(ini);

    ini->EraseSection(kFormInfo);
    WriteFormInfo(ini);

    PopupWindow->SaveToFile(ini);
    HintWindow->SaveToFile(ini);

    ini->EraseSection(kSkinAreas);
    WriteAreas(ini);

    Colors->SaveToFile(ini);

    ini->EraseSection(kSkinObjects);
    WriteObjects(ini);

    ini->EraseSection(kSkinControls);
    WriteCtrls(ini);
}
