// The program's own skins as the build puts them into the program folder: every record, object and area the
// windows and controls look up is there and of the kind they test for, every picture index and rectangle
// points into its picture, and packing a skin changes nothing.
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspSkinData.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kSkinFolder = TP_SKIN_DIR "/";

struct TLoadedSkin {
    TLoadedSkin(const std::string& fileName)
        : Skin(nullptr)
    {
        Skin.LoadFromFile(kSkinFolder + fileName);
    }
    TspSkinData Skin;
};

const TspSkinData& MainSkin()
{
    static TLoadedSkin skin("MainSkin.ini");
    return skin.Skin;
}

const TspSkinData& FormSkin()
{
    static TLoadedSkin skin("Skin.ini");
    return skin.Skin;
}

template <typename Record>
const Record* ControlAs(const TspSkinData& skin, const std::string& name)
{
    const int index = skin.GetControlIndex(name);
    return index < 0 ? nullptr : dynamic_cast<const Record*>(skin.ControlRecords[size_t(index)].get());
}

template <typename Record>
const Record* ObjectAs(const TspSkinData& skin, const std::string& name)
{
    const int index = skin.GetIndex(name);
    return index < 0 ? nullptr : dynamic_cast<const Record*>(skin.ObjectRecords[size_t(index)].get());
}

// A look-up of one name and the record class the control asking for it tests for.
struct TNeed {
    const char* Name;
    std::function<bool(const TspSkinData&, const std::string&)> HasKind;
    const char* Kind;
};

template <typename Record>
TNeed Control(const char* name, const char* kind)
{
    return TNeed { name, [](const TspSkinData& skin, const std::string& n) { return ControlAs<Record>(skin, n) != nullptr; },
        kind };
}

template <typename Record>
TNeed Object(const char* name, const char* kind)
{
    return TNeed { name, [](const TspSkinData& skin, const std::string& n) { return ObjectAs<Record>(skin, n) != nullptr; },
        kind };
}

void ExpectNeeds(const TspSkinData& skin, const std::vector<TNeed>& needs)
{
    for (const TNeed& need : needs)
        EXPECT_TRUE(need.HasKind(skin, need.Name)) << "\"" << need.Name << "\" is missing or not a " << need.Kind;
}

// ---- Rectangles of the records ---------------------------------------------------------------------------------

TSize SizeOf(const TBitmap& bitmap)
{
    return TSize { bitmap.Width(), bitmap.Height() };
}

bool Inside(const TRect& r, TSize size)
{
    return r.Left >= 0 && r.Top >= 0 && r.Left <= r.Right && r.Top <= r.Bottom && r.Right <= size.cx
        && r.Bottom <= size.cy;
}

bool IsNull(const TRect& r)
{
    return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0;
}

// The rectangles a record writes, by key, parsed from its section as the record saves it.
template <typename Record>
std::map<std::string, TRect> RectsOf(Record& record, const std::string& section)
{
    TMemIniFile ini("");
    record.SaveToFile(&ini);
    TStringList lines;
    ini.ReadSectionValues(section, lines);
    std::map<std::string, TRect> rects;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const bool rectKey = key.ends_with("rect") || key.ends_with("area") || key == "disableskinrsect";
        if (!rectKey || key == "skinrectinapicture")
            continue;
        TRect r;
        if (std::sscanf(line.c_str() + equals + 1, "%d,%d,%d,%d", &r.Left, &r.Top, &r.Right, &r.Bottom) == 4)
            rects[key] = r;
    }
    return rects;
}

TSize SkinSize(const TRect& skinRect)
{
    return TSize { skinRect.Right - skinRect.Left, skinRect.Bottom - skinRect.Top };
}

// The keys that place a part inside the control's skin rectangle rather than cut an image from the picture.
std::set<std::string> PlacementKeys(const TspDataSkinControl& record)
{
    std::set<std::string> keys { "clientrect", "captionrect", "textarea", "checkimagearea", "progressarea",
        "trackarea", "frametextrect" };
    if (dynamic_cast<const TspDataSkinScrollBarControl*>(&record) || dynamic_cast<const TspDataSkinSpinEditControl*>(&record)
        || dynamic_cast<const TspDataSkinUpDownControl*>(&record) || dynamic_cast<const TspDataSkinListBox*>(&record))
        keys.insert({ "upbuttonrect", "downbuttonrect", "checkbuttonrect" });
    if (dynamic_cast<const TspDataSkinComboBox*>(&record) || dynamic_cast<const TspDataSkinEditControl*>(&record))
        keys.insert("buttonrect");
    return keys;
}

void ExpectControlRectsInside(const TspSkinData& skin)
{
    const int pictures = int(skin.ActivePictures.size());
    for (const auto& record : skin.ControlRecords) {
        SCOPED_TRACE(record->IDName);
        const auto rects = RectsOf(*record, record->IDName);
        if (record->PictureIndex < 0) {
            // A record without a picture cuts nothing.
            for (const auto& [key, r] : rects)
                EXPECT_TRUE(IsNull(r) || key == "clientrect") << key;
            continue;
        }
        ASSERT_LT(record->PictureIndex, pictures);
        const TSize picture = SizeOf(*skin.ActivePictures[size_t(record->PictureIndex)]);
        const TSize own = SkinSize(record->SkinRect);
        const std::set<std::string> placements = PlacementKeys(*record);
        for (const auto& [key, r] : rects) {
            if (key == "itemtextrect") {
                const auto item = rects.find("itemrect");
                ASSERT_NE(item, rects.end());
                EXPECT_TRUE(Inside(r, SkinSize(item->second))) << key;
            } else if (placements.contains(key)) {
                EXPECT_TRUE(Inside(r, own)) << key;
            } else {
                EXPECT_TRUE(Inside(r, picture)) << key;
            }
        }
        if (record->MaskPictureIndex >= 0) {
            EXPECT_LT(record->MaskPictureIndex, pictures);
        }
    }
}

void ExpectObjectRectsInside(const TspSkinData& skin)
{
    const int pictures = int(skin.ActivePictures.size());
    for (const auto& record : skin.ObjectRecords) {
        SCOPED_TRACE(record->IDName);
        const auto rects = RectsOf(*record, record->IDName);
        const bool hasActive = record->ActivePictureIndex >= 0;
        if (hasActive) {
            ASSERT_LT(record->ActivePictureIndex, pictures);
        }
        const TSize active = hasActive ? SizeOf(*skin.ActivePictures[size_t(record->ActivePictureIndex)]) : TSize {};
        const TSize main = SizeOf(*skin.Picture);
        const bool menuItem = dynamic_cast<const TspDataSkinMenuItem*>(record.get()) != nullptr;
        for (const auto& [key, r] : rects) {
            if (IsNull(r))
                continue;
            if (key == "skinrect") {
                EXPECT_TRUE(Inside(r, record->SkinRectInAPicture || menuItem ? active : main)) << key;
            } else if (key == "textrect" || key == "imagerect" || key == "frametextrect") {
                // Places inside the object (menu items: inside the item).
                EXPECT_TRUE(Inside(r, SkinSize(record->SkinRect))) << key;
            } else {
                ASSERT_TRUE(hasActive) << key;
                EXPECT_TRUE(Inside(r, active)) << key;
            }
        }
    }
}

void ExpectWindowPictures(const TspSkinData& skin)
{
    const int pictures = int(skin.ActivePictures.size());
    const TspDataSkinPopupWindow& popup = *skin.PopupWindow;
    ASSERT_GE(popup.WindowPictureIndex, 0);
    ASSERT_LT(popup.WindowPictureIndex, pictures);
    const TSize window = SizeOf(*skin.ActivePictures[size_t(popup.WindowPictureIndex)]);
    EXPECT_TRUE(Inside(popup.ItemsRect, window));
    if (popup.MaskPictureIndex >= 0) {
        ASSERT_LT(popup.MaskPictureIndex, pictures);
        EXPECT_EQ(SizeOf(*skin.ActivePictures[size_t(popup.MaskPictureIndex)]), window);
    }
}

// ---- The needs of the windows ----------------------------------------------------------------------------------

const char* const kMainButtons[] = { "Add Files", "Add Folder", "Clear Jobs", "Menu", "iPodMenu", "Browse", "Setting",
    "EditProfile", "Preview", "StopPreview", "PausePreview", "StartPoint", "EndPoint", "DeleteFiles", "Up", "Down", "Jump",
    "Go", "Stop", "Option", "SaveBmp" };

// The scroll bars, track bar and profile combo of the main window and the option window's list.
std::vector<TNeed> SharedControlNeeds()
{
    return {
        Control<TspDataSkinScrollBarControl>("hscrollbar", "scrollbar"),
        Control<TspDataSkinScrollBarControl>("vscrollbar", "scrollbar"),
        Control<TspDataSkinScrollBarControl>("bothhscrollbar", "scrollbar"),
        Control<TspDataSkinTrackBarControl>("htrackbar", "trackbar"),
        Control<TspDataSkinComboBox>("combobox", "combobox"),
        Control<TspDataSkinListBox>("listbox", "listbox"),
        Control<TspDataSkinButtonControl>("combobutton", "button"),
        Object<TspDataSkinMenuItem>("menuitem", "menuitem"),
    };
}

TEST(ProgramSkins, BothLoadFromTheProgramFolder)
{
    EXPECT_FALSE(MainSkin().Empty);
    EXPECT_FALSE(FormSkin().Empty);
    EXPECT_EQ(MainSkin().SkinName, "Tarnwick Pro");
}

TEST(ProgramSkins, TheMainFaceIsAFixedShapedPictureWithEveryButtonAndArea)
{
    const TspSkinData& skin = MainSkin();
    ASSERT_FALSE(skin.Empty);
    EXPECT_EQ(SizeOf(*skin.Picture), (TSize { 785, 521 }));
    EXPECT_EQ(SizeOf(*skin.MaskPicture), (TSize { 785, 521 }));
    // Equal corner points keep the window at the face's size, and without a border it cannot be resized.
    EXPECT_EQ(skin.LeftTopPoint.X, skin.RightBottomPoint.X);
    EXPECT_EQ(skin.LeftTopPoint.Y, skin.RightBottomPoint.Y);
    EXPECT_EQ(skin.BorderWidth, 0);

    for (const char* name : kMainButtons) {
        SCOPED_TRACE(name);
        const TspDataSkinButton* button = ObjectAs<TspDataSkinButton>(skin, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(dynamic_cast<const TspDataSkinStdButton*>(button), nullptr) << "a command button, not a caption button";
        EXPECT_FALSE(button->Hint.empty());
        // Every state has its own image: commands are disabled while a batch runs.
        for (const TRect& state : { button->ActiveSkinRect, button->DownRect, button->DisableSkinRsect }) {
            EXPECT_FALSE(IsNull(state));
            EXPECT_EQ(SkinSize(state), SkinSize(button->SkinRect));
        }
    }
    const std::pair<const char*, TStdCommand> captionButtons[] = { { "closebutton", cmClose },
        { "minbutton", cmMinimize }, { "sysmenubutton", cmSysMenu } };
    for (const auto& [name, command] : captionButtons) {
        const TspDataSkinStdButton* button = ObjectAs<TspDataSkinStdButton>(skin, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->Command, command) << name;
        EXPECT_FALSE(button->SkinRectInAPicture) << name << " is drawn in place";
    }

    for (const char* area : { "OutputFolder", "PreviewArea", "HintMessageArea", "ConvertInfoArea", "FileList",
             "OutputProfile", "PreviewTrackBar" }) {
        const int index = skin.GetAreaIndex(area);
        ASSERT_GE(index, 0) << area;
        EXPECT_TRUE(Inside(skin.AreaRecords[size_t(index)]->AreaRect, TSize { 785, 521 })) << area;
    }
    const TRect track = skin.AreaRecords[size_t(skin.GetAreaIndex("PreviewTrackBar"))]->AreaRect;
    EXPECT_EQ(track.Left, 541);
    EXPECT_EQ(track.Right - track.Left, 179);

    ExpectNeeds(skin, SharedControlNeeds());
    EXPECT_EQ(ControlAs<TspDataSkinComboBox>(skin, "combobox")->ListBoxName, "listbox");
}

TEST(ProgramSkins, TheFrameSkinHasASizeableFrameCaptionButtonsAndEveryControl)
{
    const TspSkinData& skin = FormSkin();
    ASSERT_FALSE(skin.Empty);
    EXPECT_FALSE(IsNull(skin.ClientRect)) << "without a client rectangle no frame is drawn";
    EXPECT_GE(skin.BorderWidth, 3);
    EXPECT_FALSE(IsNull(skin.CaptionRect));
    // The caption buttons line up at the caption's right end, so the caption text reaches the first of them.
    EXPECT_TRUE(IsNull(skin.ButtonsRect));
    EXPECT_EQ(SizeOf(*skin.InActivePicture), SizeOf(*skin.Picture));

    const TspDataSkinCaption* caption = ObjectAs<TspDataSkinCaption>(skin, "caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->DefaultCaption);
    const std::pair<const char*, TStdCommand> captionButtons[] = { { "closebutton", cmClose },
        { "maxbutton", cmMaximize }, { "minbutton", cmMinimize }, { "rollupbutton", cmRollUp },
        { "sysmenubutton", cmSysMenu } };
    for (const auto& [name, command] : captionButtons) {
        const TspDataSkinStdButton* button = ObjectAs<TspDataSkinStdButton>(skin, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->Command, command) << name;
        EXPECT_TRUE(button->SkinRectInAPicture) << name << " is laid out along the caption";
        EXPECT_FALSE(IsNull(button->ActiveSkinRect)) << name;
        EXPECT_FALSE(IsNull(button->DownRect)) << name;
    }
    EXPECT_FALSE(IsNull(ObjectAs<TspDataSkinStdButton>(skin, "maxbutton")->RestoreRect));

    std::vector<TNeed> needs = SharedControlNeeds();
    const std::vector<TNeed> dialogs {
        Control<TspDataSkinButtonControl>("button", "button"),
        Control<TspDataSkinButtonControl>("resizebutton", "button"),
        Control<TspDataSkinButtonControl>("HeadButton", "button"),
        Control<TspDataSkinButtonControl>("editbutton", "button"),
        Control<TspDataSkinCheckRadioControl>("checkbox", "checkradio"),
        Control<TspDataSkinCheckRadioControl>("radiobox", "checkradio"),
        Control<TspDataSkinGaugeControl>("gauge", "gauge"),
        Control<TspDataSkinPanelControl>("panel", "panel"),
        Control<TspDataSkinPanelControl>("groupbox", "panel"),
        Control<TspDataSkinEditControl>("edit", "edit"),
        Control<TspDataSkinEditControl>("buttonedit", "edit"),
        Control<TspDataSkinMemoControl>("memo", "memo"),
        Control<TspDataSkinSpinEditControl>("spinedit", "spinedit"),
        Control<TspDataSkinUpDownControl>("hupdown", "updown"),
        Control<TspDataSkinUpDownControl>("vupdown", "updown"),
        Control<TspDataSkinListView>("listview", "listview"),
        Control<TspDataSkinTreeView>("treeview", "treeview"),
        Control<TspDataSkinTabControl>("tab", "tab"),
        Control<TspDataSkinStdLabelControl>("stdlabel", "stdlabel"),
        Control<TspDataSkinBevel>("bevel", "bevel"),
    };
    needs.insert(needs.end(), dialogs.begin(), dialogs.end());
    ExpectNeeds(skin, needs);

    // The names one record gives for another.
    EXPECT_EQ(ControlAs<TspDataSkinComboBox>(skin, "combobox")->ListBoxName, "listbox");
    EXPECT_EQ(ControlAs<TspDataSkinTabControl>(skin, "tab")->UpDown, "hupdown");
    const TspDataSkinListBox* list = ControlAs<TspDataSkinListBox>(skin, "listbox");
    for (const std::string& bar : { list->VScrollBarName, list->HScrollBarName, list->BothHScrollBarName })
        EXPECT_NE(ControlAs<TspDataSkinScrollBarControl>(skin, bar), nullptr) << bar;
    // Tree and list views have no picture of their background: a colour of their own keeps them from black.
    EXPECT_NE(ControlAs<TspDataSkinListView>(skin, "listview")->BGColor, 0);
    EXPECT_NE(ControlAs<TspDataSkinTreeView>(skin, "treeview")->BGColor, 0);

    const TspDataSkinHintWindow& hint = *skin.HintWindow;
    ASSERT_GE(hint.WindowPictureIndex, 0);
    ASSERT_LT(hint.WindowPictureIndex, int(skin.ActivePictures.size()));
}

TEST(ProgramSkins, EveryPictureIndexAndRectangleLiesInItsPicture)
{
    for (const TspSkinData* skin : { &MainSkin(), &FormSkin() }) {
        SCOPED_TRACE(skin == &MainSkin() ? "MainSkin.ini" : "Skin.ini");
        ASSERT_FALSE(skin->Empty);
        ExpectControlRectsInside(*skin);
        ExpectObjectRectsInside(*skin);
        ExpectWindowPictures(*skin);
        const TSize main = SizeOf(*skin->Picture);
        for (const TRect& r : { skin->ClientRect, skin->CaptionRect, skin->ButtonsRect })
            EXPECT_TRUE(Inside(r, main));
        for (const auto& area : skin->AreaRecords)
            EXPECT_TRUE(Inside(area->AreaRect, main)) << area->IDName;
        if (!skin->MaskPicture->Empty()) {
            EXPECT_EQ(SizeOf(*skin->MaskPicture), main);
        }
        // The ten colours are all given: none is left black but the text colours.
        EXPECT_NE(skin->Colors->cBtnFace, 0);
        EXPECT_NE(skin->Colors->cWindow, 0);
        EXPECT_NE(skin->Colors->cHighLight, 0);
    }
}

// ---- Packed skins ----------------------------------------------------------------------------------------------

std::string Description(TspSkinData& skin)
{
    TMemIniFile ini("");
    skin.SaveToCustomIniFile(&ini);
    TStringList lines;
    ini.GetStrings(lines);
    return lines.Text();
}

bool SamePixels(TBitmap& a, TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    const int bytes = a.PixelFormat() == pf32bit ? 4 : 3;
    if ((b.PixelFormat() == pf32bit ? 4 : 3) != bytes)
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.Width()) * bytes) != 0)
            return false;
    return true;
}

TEST(ProgramSkins, PackingEitherSkinKeepsEveryRecordAndPicture)
{
    const std::string packedPath = std::filesystem::temp_directory_path() / ("tp_packed_" + std::to_string(getpid()) + ".skn");
    for (const char* file : { "MainSkin.ini", "Skin.ini" }) {
        SCOPED_TRACE(file);
        TspSkinData original(nullptr);
        original.LoadFromFile(kSkinFolder + file);
        ASSERT_FALSE(original.Empty);
        original.SaveToCompressedFile(packedPath);
        TspSkinData packed(nullptr);
        packed.LoadFromCompressedFile(packedPath);
        ASSERT_FALSE(packed.Empty);

        EXPECT_EQ(Description(packed), Description(original));
        ASSERT_EQ(packed.ActivePictures.size(), original.ActivePictures.size());
        for (size_t i = 0; i < original.ActivePictures.size(); ++i)
            EXPECT_TRUE(SamePixels(*packed.ActivePictures[i], *original.ActivePictures[i])) << "active picture " << i;
        EXPECT_TRUE(SamePixels(*packed.Picture, *original.Picture));
        EXPECT_TRUE(SamePixels(*packed.MaskPicture, *original.MaskPicture));
        EXPECT_TRUE(SamePixels(*packed.InActivePicture, *original.InActivePicture));
        ASSERT_EQ(packed.ControlRecords.size(), original.ControlRecords.size());
        ASSERT_EQ(packed.ObjectRecords.size(), original.ObjectRecords.size());
    }
    std::filesystem::remove(packedPath);
}

} // namespace
