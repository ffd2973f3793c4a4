#include "skin/core/TspSkinData.h"

#include "SkinTestSupport.h"
#include "framework/core/FileSystem.h"
#include "framework/core/Streams.h"
#include "framework/core/TList.h"
#include "framework/graphics/TJPEGImage.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/testing/TFixtureSkin.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// The colour (0x00RRGGBB) of a pixel of a 24- or 32-bit bitmap.
uint32_t PixelAt(TBitmap& bitmap, int x, int y)
{
    int bytes = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    const uint8_t* p = row + x * bytes;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// The whole description a container writes.
std::string Description(TspSkinData& skin)
{
    TMemIniFile ini("");
    skin.SaveToCustomIniFile(&ini);
    return IniText(ini);
}

std::string BmpBytes(TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST(TspSkinData, NewContainerIsEmptyWithItsStartValues)
{
    TspSkinData skin(nullptr);
    EXPECT_TRUE(skin.Empty);
    EXPECT_FALSE(skin.SkinChanging);
    EXPECT_TRUE(skin.SkinnableForm());
    EXPECT_TRUE(skin.EnableSkinEffects());
    EXPECT_EQ(skin.StartCursorIndex, 1);
    EXPECT_EQ(skin.BGPictureIndex, -1);
    EXPECT_EQ(skin.MDIBGPictureIndex, -1);
    EXPECT_EQ(skin.CursorIndex, -1);
    EXPECT_EQ(skin.StretchType, spstFull);
    EXPECT_EQ(skin.InActiveEffect, ieBrightness);
    EXPECT_EQ(skin.Colors->cBtnFace, 0);
    EXPECT_EQ(skin.Colors->c3DDkShadow, 0);
    EXPECT_EQ(skin.PopupWindow->WindowPictureIndex, -1);
    EXPECT_EQ(skin.HintWindow->FontHeight, 12);
    EXPECT_TRUE(skin.Picture->Empty());
    EXPECT_TRUE(skin.ActivePictures.empty());
}

TEST(TspSkinData, LoadsACompleteSkin)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());

    EXPECT_FALSE(skin.Empty);
    EXPECT_FALSE(skin.SkinChanging);
    EXPECT_EQ(skin.SkinName, "Fixture");
    EXPECT_EQ(skin.AuthorURL, "http://example.org/");
    EXPECT_EQ(skin.PictureName, "frame.bmp");
    EXPECT_EQ(skin.Picture->Width(), 60);
    EXPECT_EQ(skin.Picture->Height(), 40);
    EXPECT_EQ(PixelAt(*skin.Picture, 7, 3), TFixtureSkin::PixelOf(7, 3, 1));
    EXPECT_FALSE(skin.MaskPicture->Empty());
    EXPECT_TRUE(skin.InActivePicture->Empty());
    ASSERT_EQ(skin.ActivePictures.size(), 2u);
    EXPECT_EQ(skin.ActivePictureNames->Text(), "states.bmp\ncontrols.bmp\n");
    EXPECT_EQ(skin.ActivePictures[1]->Width(), 64);
    EXPECT_EQ(PixelAt(*skin.ActivePictures[1], 63, 47), TFixtureSkin::PixelOf(63, 47, 4));

    EXPECT_EQ(skin.BorderWidth, 3);
    EXPECT_EQ(skin.InActiveEffect, ieDarkness);
    EXPECT_EQ(skin.StatusBarName, "status");
    EXPECT_EQ(skin.Colors->cBtnFace, 15790320);
    EXPECT_EQ(skin.Colors->cWindowText, 1);
    EXPECT_EQ(skin.PopupWindow->WindowPictureIndex, 1);
    EXPECT_EQ(skin.PopupWindow->ItemsRect, (TRect { 2, 2, 62, 46 }));
    EXPECT_EQ(skin.HintWindow->FontName, "Tahoma");
    EXPECT_EQ(skin.HintWindow->FontHeight, 14);

    ASSERT_EQ(skin.AreaRecords.size(), 2u);
    int area = skin.GetAreaIndex("OutputFolder");
    ASSERT_EQ(area, 0);
    EXPECT_EQ(skin.AreaRecords[area]->AreaRect, (TRect { 10, 20, 300, 42 }));
    EXPECT_EQ(skin.GetAreaIndex("outputfolder"), -1);

    EXPECT_EQ(skin.ObjectRecords.size(), TFixtureSkin::ObjectTypeWords().size());
    EXPECT_EQ(skin.ControlRecords.size(), TFixtureSkin::ControlTypeWords().size());
    auto* button = dynamic_cast<TspDataSkinButtonControl*>(skin.ControlRecords[skin.GetControlIndex("button")].get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->PictureIndex, 1);
    EXPECT_EQ(button->FontHeight, 13);
    EXPECT_EQ(button->SkinRect, (TRect { 0, 0, 20, 10 }));
    auto* close = dynamic_cast<TspDataSkinStdButton*>(skin.ObjectRecords[skin.GetIndex("stdbutton")].get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Hint, "stdbutton");
    EXPECT_EQ(close->Command, cmDefault);
}

TEST(TspSkinData, EachTypeWordMakesItsRecordClass)
{
    struct Case {
        const char* Name;
        std::function<bool(TObject*)> Is;
    };
    auto is
        = [](auto* typed) { return [](TObject* record) { return dynamic_cast<decltype(typed)>(record) != nullptr; }; };
    const Case kControls[] = {
        { "slider", is((TspDataSkinSlider*)nullptr) },
        { "menubutton", is((TspDataSkinMenuButtonControl*)nullptr) },
        { "checkradio", is((TspDataSkinCheckRadioControl*)nullptr) },
        { "frameregulator", is((TspDataSkinFrameRegulator*)nullptr) },
        { "framegauge", is((TspDataSkinFrameGauge*)nullptr) },
        { "animate", is((TspDataSkinAnimateControl*)nullptr) },
        { "switch", is((TspDataSkinSwitchControl*)nullptr) },
        { "updown", is((TspDataSkinUpDownControl*)nullptr) },
        { "memo", is((TspDataSkinMemoControl*)nullptr) },
        { "checklistbox", is((TspDataSkinCheckListBox*)nullptr) },
        { "tab", is((TspDataSkinTabControl*)nullptr) },
        { "richedit", is((TspDataSkinRichEdit*)nullptr) },
    };
    const Case kObjects[] = {
        { "menuitem", is((TspDataSkinMenuItem*)nullptr) },
        { "mainmenubaritem", is((TspDataSkinMainMenuBarItem*)nullptr) },
        { "mainmenubarbutton", is((TspDataSkinMainMenuBarButton*)nullptr) },
        { "frameregulatorobject", is((TspDataSkinFrameRegulatorObject*)nullptr) },
        { "switchobject", is((TspDataSkinSwitch*)nullptr) },
        { "userobject", is((TspDataUserObject*)nullptr) },
    };
    TFixtureSkin fixture;
    fixture.AddEverything();
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    for (const Case& c : kControls) {
        SCOPED_TRACE(c.Name);
        int index = skin.GetControlIndex(c.Name);
        ASSERT_GE(index, 0);
        EXPECT_TRUE(c.Is(skin.ControlRecords[index].get()));
    }
    for (const Case& c : kObjects) {
        SCOPED_TRACE(c.Name);
        int index = skin.GetIndex(c.Name);
        ASSERT_GE(index, 0);
        EXPECT_TRUE(c.Is(skin.ObjectRecords[index].get()));
    }
    // The saved list names each record by its class, descendants before their ancestors.
    TMemIniFile ini("");
    skin.SaveToCustomIniFile(&ini);
    EXPECT_EQ(ini.ReadString("SKINCONTROLS", "4", ""), "menubutton:menubutton");
    EXPECT_EQ(ini.ReadString("SKINOBJECTS", "4", ""), "mainmenubarbutton:mainmenubarbutton");
}

TEST(TspSkinData, ListEntriesWithUnknownWordsAreSkipped)
{
    TFixtureSkin fixture;
    fixture.AddListEntry("SKINOBJECTS", "close:StdButton")
        .AddListEntry("SKINOBJECTS", "close:")
        .AddListEntry("SKINOBJECTS", "close")
        .AddObject("close", "stdbutton", { { "command", "cmclose" } })
        .AddObject("caption", "caption")
        .AddControl("button", "button", { { "fontcolor", "1" } })
        .AddControl("button", "button", { { "fontcolor", "1" } })
        .AddListEntry("SKINCONTROLS", "button2:Button")
        .AddArea("NoRect", "1,2,3,4")
        .AddListEntry("SKINAREAS", "NoColon");
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    ASSERT_EQ(skin.ObjectRecords.size(), 2u);
    EXPECT_NE(dynamic_cast<TspDataSkinStdButton*>(skin.ObjectRecords[0].get()), nullptr);
    EXPECT_EQ(static_cast<TspDataSkinStdButton*>(skin.ObjectRecords[0].get())->Command, cmClose);
    EXPECT_NE(dynamic_cast<TspDataSkinCaption*>(skin.ObjectRecords[1].get()), nullptr);
    EXPECT_EQ(skin.ControlRecords.size(), 2u);
    EXPECT_EQ(skin.GetControlIndex("button"), 0);
    EXPECT_EQ(skin.GetControlIndex("Button"), -1);
    EXPECT_EQ(skin.GetControlIndex("button2"), -1);
    // An area entry without ":" has neither name nor rectangle.
    ASSERT_EQ(skin.AreaRecords.size(), 2u);
    EXPECT_EQ(skin.AreaRecords[1]->IDName, "");
    EXPECT_EQ(skin.AreaRecords[1]->AreaRect, (TRect {}));
}

TEST(TspSkinData, FormInfoDerivesMaskAndCornerValues)
{
    struct Case {
        const char* Name;
        bool Mask;
        TFixtureSkin::TKeyValues Keys;
        std::function<void(TspSkinData&)> Check;
    };
    const Case kCases[] = {
        { "mask area from the client part", true, { { "clientrect", "10,10,80,40" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.MaskRectArea, (TRect { 10, 10, 80, 40 }));
            } },
        { "mask area widened to the client part", true,
            { { "maskrectarea", "0,0,50,50" }, { "clientrect", "10,10,80,40" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.MaskRectArea, (TRect { 0, 0, 80, 50 }));
            } },
        { "no mask, no derivation", false, { { "clientrect", "10,10,80,40" } },
            [](TspSkinData& s) { EXPECT_EQ(s.MaskRectArea, (TRect {})); } },
        { "hit-test points take their corners", true,
            { { "lefttoppoint", "3,3" }, { "rightbottompoint", "3,3" }, { "hittestlefttoppoint", "0,7" },
                { "hittestrighttoppoint", "8,9" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.HitTestLeftTopPoint, (TPoint { 3, 3 }));
                EXPECT_EQ(s.HitTestRightTopPoint, (TPoint { 8, 9 }));
                EXPECT_EQ(s.HitTestRightBottomPoint, (TPoint { 3, 3 }));
            } },
        { "corner points moved into the client part", false,
            { { "lefttoppoint", "5,5" }, { "rightbottompoint", "60,40" }, { "clientrect", "10,10,50,30" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.LeftTopPoint, (TPoint { 10, 10 }));
                EXPECT_EQ(s.RightBottomPoint, (TPoint { 50, 30 }));
                EXPECT_EQ(s.RightTopPoint, (TPoint { 0, 10 }));
                EXPECT_EQ(s.LeftBottomPoint, (TPoint { 10, 0 }));
            } },
        { "fixed frame keeps its corner points", false,
            { { "lefttoppoint", "5,5" }, { "rightbottompoint", "5,40" }, { "clientrect", "10,10,50,30" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.LeftTopPoint, (TPoint { 5, 5 }));
                EXPECT_EQ(s.RightBottomPoint, (TPoint { 5, 40 }));
            } },
        { "keywords and picture indexes", false,
            { { "stretchtype", "StVert" }, { "mdibgstretchtype", "stvert" }, { "inactiveeffect", "iefoo" },
                { "bgpictureindex", "$10" } },
            [](TspSkinData& s) {
                EXPECT_EQ(s.StretchType, spstHorz);
                EXPECT_EQ(s.MDIBGStretchType, spstVert);
                EXPECT_EQ(s.InActiveEffect, ieGrayScale);
                EXPECT_EQ(s.BGPictureIndex, 16);
                EXPECT_EQ(s.CursorIndex, -1);
            } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TFixtureSkin fixture;
        if (c.Mask)
            fixture.SetPicture("mask", "mask.bmp", 8, 8);
        fixture.Set("FORMINFO", c.Keys);
        TspSkinData skin(nullptr);
        skin.LoadFromFile(fixture.Write());
        ASSERT_FALSE(skin.Empty);
        c.Check(skin);
    }
}

TEST(TspSkinData, FormInfoIsWrittenInItsOwnOrder)
{
    TspSkinData skin(nullptr);
    TMemIniFile ini("");
    skin.WriteFormInfo(&ini);
    std::vector<std::string> keys;
    for (const std::string& line : SectionLines(ini, "FORMINFO"))
        keys.push_back(line.substr(0, line.find('=')));
    EXPECT_EQ(keys,
        (std::vector<std::string> { "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint",
            "clientrect", "bgpictureindex", "mdibgpictureindex", "maskrectarea", "leftstretch", "rightstretch",
            "topstretch", "bottomstretch", "stretcheffect", "stretchtype", "mdibgstretcheffect", "mdibgstretchtype",
            "buttonsrect", "captionrect", "buttonsoffset", "buttonsinleft", "hittestlefttoppoint",
            "hittestrighttoppoint", "hittestleftbottompoint", "hittestrightbottompoint", "rollupleftpoint",
            "rolluprightpoint", "mainmenurect", "iconrect", "mainmenupopupup", "borderwidth", "cursorindex",
            "autorenderinginactiveimage", "inactiveeffect", "formminwidth", "sizegriparea", "statusbarname",
            "mditabstransparent", "mainmenubartransparent" }));
}

TEST(TspSkinData, RefusedDescriptionsKeepThePreviousSkin)
{
    TFixtureSkin good;
    good.AddEverything();
    struct Case {
        const char* Name;
        std::function<std::string(TFixtureSkin&)> Make;
    };
    const Case kCases[] = {
        { "no SKINCONTROLS", [](TFixtureSkin& f) { return f.RemoveSection("SKINCONTROLS").Write(); } },
        { "SKINCONTROLS without keys", [](TFixtureSkin& f) { return f.Remove("SKINCONTROLS", "count").Write(); } },
        { "no VERSION", [](TFixtureSkin& f) { return f.RemoveSection("VERSION").Write(); } },
        { "no file", [](TFixtureSkin& f) { return f.Path("missing.ini"); } },
        { "a folder", [](TFixtureSkin& f) { return f.Folder(); } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TspSkinData skin(nullptr);
        skin.LoadFromFile(good.Write());
        TFixtureSkin bad;
        skin.LoadFromFile(c.Make(bad));
        EXPECT_FALSE(skin.Empty);
        EXPECT_EQ(skin.SkinName, "Fixture");
        EXPECT_EQ(skin.ControlRecords.size(), TFixtureSkin::ControlTypeWords().size());
    }
}

TEST(TspSkinData, FailedLoadLeavesThePartlyReadSkinEmpty)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("first.bmp", 4, 4);
    fixture.AddActivePicture("second.bmp", 4, 4);
    fixture.AddControl("button", "button");
    std::string path = fixture.Write();
    DeleteFile(fixture.Path("second.bmp"));
    TspSkinData skin(nullptr);
    TFixtureSkin good;
    good.AddEverything();
    skin.LoadFromFile(good.Write());
    EXPECT_THROW(skin.LoadFromFile(path), EFOpenError);
    EXPECT_TRUE(skin.Empty);
    EXPECT_TRUE(skin.SkinChanging);
    ASSERT_EQ(skin.ActivePictures.size(), 1u);
    EXPECT_EQ(skin.ActivePictures[0]->Width(), 4);
    EXPECT_TRUE(skin.ControlRecords.empty());
    // A later load ends that state.
    skin.LoadFromFile(good.Write());
    EXPECT_FALSE(skin.Empty);
    EXPECT_FALSE(skin.SkinChanging);
}

TEST(TspSkinData, PictureNamesChooseTheDecoderByTheirLetters)
{
    TFixtureSkin fixture;
    // JPEG data under a name with ".jpg" inside is decoded; under ".JPG" it is read as BMP and fails.
    TFixtureSkin::WriteJpeg(fixture.Path("back.jpg.bmp"), 24, 16);
    TFixtureSkin::WriteJpeg(fixture.Path("back.JPG"), 24, 16);
    fixture.Set("PICTURES", "picture", "back.jpg.bmp");
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    EXPECT_EQ(skin.Picture->Width(), 24);
    EXPECT_EQ(skin.Picture->Height(), 16);
    fixture.Set("PICTURES", "picture", "back.JPG");
    EXPECT_THROW(skin.LoadFromFile(fixture.Write()), EInvalidGraphic);
}

TEST(TspSkinData, SavedDescriptionLoadsToTheSameSkin)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    fixture.AddControl("negative", "panel", { { "captionrect", "-1,-2,3,4" } });
    TspSkinData first(nullptr);
    first.LoadFromFile(fixture.Write());
    first.SaveToFile(fixture.Path("saved.ini"));
    TspSkinData second(nullptr);
    second.LoadFromFile(fixture.Path("saved.ini"));
    EXPECT_FALSE(second.Empty);
    EXPECT_EQ(Description(second), Description(first));
    auto* panel = dynamic_cast<TspDataSkinPanelControl*>(second.ControlRecords.back().get());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->CaptionRect, (TRect { 1, 2, 3, 4 }));
    // Saving replaces an existing file.
    TFixtureSkin::WriteBytes(fixture.Path("saved.ini"), std::string(100000, 'x'));
    first.SaveToFile(fixture.Path("saved.ini"));
    EXPECT_EQ(TFixtureSkin::ReadBytes(fixture.Path("saved.ini")).find("xxxx"), std::string::npos);
}

TEST(TspSkinData, StoredFolderLoadsAgainWithTheSamePictures)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    fixture.AddActivePicture("photo.jpg", 20, 10, 5);
    fixture.AddActivePicture("photo_jpg.bmp", 6, 6, 6);
    ForceDirectories(fixture.Path("sub"));
    TFixtureSkin::WriteBmp(fixture.Path("up.bmp"), 5, 5, 7);
    fixture.AddActivePicture("sub/../up.bmp", 5, 5, 7);
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    // A name that leads out of the folder the skin is stored in, where a file of someone else's lies.
    skin.ActivePictureNames->SetStrings(4, "../up.bmp");
    TFixtureSkin::WriteBytes(fixture.Path("up.bmp"), "not ours");

    std::string target = fixture.Path("stored/");
    ForceDirectories(target);
    skin.StoreToDisk(target);
    EXPECT_EQ(TFixtureSkin::ReadBytes(fixture.Path("up.bmp")), "not ours");
    EXPECT_TRUE(FileExists(target + "up.bmp"));
    EXPECT_TRUE(FileExists(target + "frame.bmp"));
    EXPECT_FALSE(FileExists(target + "photo.jpg"));

    TspSkinData again(nullptr);
    again.LoadFromFile(target + "skin.ini");
    ASSERT_FALSE(again.Empty);
    ASSERT_EQ(again.ActivePictures.size(), skin.ActivePictures.size());
    EXPECT_EQ(again.ActivePictureNames->Text(), "states.bmp\ncontrols.bmp\nphoto_jpg.bmp\nphoto_jpg_2.bmp\nup.bmp\n");
    for (size_t i = 0; i < skin.ActivePictures.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(BmpBytes(*again.ActivePictures[i]), BmpBytes(*skin.ActivePictures[i]));
    }
    EXPECT_EQ(BmpBytes(*again.Picture), BmpBytes(*skin.Picture));
    EXPECT_EQ(BmpBytes(*again.MaskPicture), BmpBytes(*skin.MaskPicture));
    EXPECT_TRUE(again.InActivePicture->Empty());
    EXPECT_EQ(again.ControlRecords.size(), skin.ControlRecords.size());
}

TEST(TspSkinData, ClearSkinKeepsTheDescriptionAndStartCursor)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    fixture.Set("CURSORS", "startcursorindex", "7");
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    EXPECT_EQ(skin.StartCursorIndex, 7);
    skin.ClearSkin();
    EXPECT_TRUE(skin.Empty);
    EXPECT_TRUE(skin.Picture->Empty());
    EXPECT_TRUE(skin.PictureName.empty());
    EXPECT_TRUE(skin.ActivePictures.empty());
    EXPECT_EQ(skin.ActivePictureNames->Count(), 0);
    EXPECT_TRUE(skin.ControlRecords.empty());
    EXPECT_TRUE(skin.ObjectRecords.empty());
    EXPECT_TRUE(skin.AreaRecords.empty());
    EXPECT_EQ(skin.PopupWindow->WindowPictureIndex, -1);
    EXPECT_EQ(skin.Colors->cBtnFace, clBtnFace);
    EXPECT_EQ(skin.Colors->c3DDkShadow, cl3DDkShadow);
    EXPECT_EQ(skin.StartCursorIndex, 7);
    EXPECT_EQ(skin.BorderWidth, 3);
    EXPECT_EQ(skin.SkinName, "Fixture");

    // A skin without "SKINCOLORS" gives black.
    fixture.RemoveSection("SKINCOLORS");
    fixture.Set("CURSORS", "startcursorindex", "0");
    skin.LoadFromFile(fixture.Write());
    EXPECT_EQ(skin.Colors->cBtnFace, 0);
    EXPECT_EQ(skin.StartCursorIndex, 1);
}

TEST(TspSkinData, ActivePicturesAreAddedAndDeletedWithTheirNames)
{
    TFixtureSkin fixture;
    TFixtureSkin::WriteBmp(fixture.Path("a.bmp"), 3, 2);
    TFixtureSkin::WriteJpeg(fixture.Path("b.jpg"), 8, 8);
    TspSkinData skin(nullptr);
    skin.AddBitMap(fixture.Path("a.bmp"));
    skin.AddBitMap(fixture.Path("b.jpg"));
    EXPECT_THROW(skin.AddBitMap(fixture.Path("missing.bmp")), EFOpenError);
    ASSERT_EQ(skin.ActivePictures.size(), 2u);
    EXPECT_EQ(skin.ActivePictureNames->Text(), "a.bmp\nb.jpg\n");
    EXPECT_EQ(skin.ActivePictures[1]->Width(), 8);
    skin.DeleteBitMap(0);
    EXPECT_EQ(skin.ActivePictureNames->Text(), "b.jpg\n");
    EXPECT_EQ(skin.ActivePictures.size(), 1u);
    EXPECT_THROW(skin.DeleteBitMap(1), EListError);
    EXPECT_THROW(skin.DeleteBitMap(-1), EListError);
}

// A component that links to a skin the way skinned controls do.
class TSkinUser : public TComponent {
public:
    explicit TSkinUser(TspSkinData* skin)
        : TComponent(nullptr)
        , SkinData(skin)
    {
        skin->FreeNotification(this);
    }

    TspSkinData* SkinData;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == SkinData)
            SkinData = nullptr;
    }
};

TEST(TspSkinData, LinksToOtherComponentsAreDroppedWhenTheyGo)
{
    TComponent holder(nullptr);
    auto* table = new TspResourceStrData(&holder);
    auto* packed = new TspCompressedStoredSkin(&holder);
    auto skin = std::make_unique<TspSkinData>(nullptr);
    skin->SetResourceStrData(table);
    skin->SetCompressedStoredSkin(packed);
    EXPECT_TRUE(skin->Empty);
    delete table;
    delete packed;
    EXPECT_EQ(skin->ResourceStrData(), nullptr);
    EXPECT_EQ(skin->CompressedStoredSkin(), nullptr);

    // A user of the skin hears of its deletion.
    TSkinUser user(skin.get());
    skin.reset();
    EXPECT_EQ(user.SkinData, nullptr);
}

} // namespace
