// The skinned header control on the headless display: the height rules of its record, the section looks under
// the pointer and while pressed, which clicks count, how captions are shortened and placed, and the hook that
// draws a section's content.
#include "skin/controls/SkinHeaderControl.h"
#include "skin/core/SkinControlRecords.h"
#include "tests/skin/SkinControlsTestSupport.h"

using namespace SPUtils;

namespace {

class SkinHeaderControlTest : public SkinControlsTest {
protected:
    void SetUp() override
    {
        // An 80 x 20 strip at (0, 60) of the sheet with 5-pixel caps and no vertical stretching; hot at y 80,
        // pressed at y 100. A nine-part twin of the same pieces.
        const TFixtureSkin::TKeyValues strip = { { "pictureindex", "0" }, { "skinrect", "0,60,80,80" },
            { "activeskinrect", "0,80,80,100" }, { "downskinrect", "0,100,80,120" }, { "lefttoppoint", "5,5" },
            { "righttoppoint", "75,5" }, { "leftbottompoint", "0,0" }, { "rightbottompoint", "0,0" },
            { "clientrect", "5,2,75,18" }, { "fontname", "DejaVu Sans" }, { "fontheight", "12" },
            { "fontcolor", "0" }, { "activefontcolor", "255" }, { "downfontcolor", "65280" } };
        Fixture.AddControl("headstrip", "button", strip);
        TFixtureSkin::TKeyValues nine = strip;
        nine.push_back({ "leftbottompoint", "5,15" });
        nine.push_back({ "rightbottompoint", "75,15" });
        Fixture.AddControl("headnine", "button", nine);
        SkinControlsTest::SetUp();
    }

    // A header at (10, 10), 300 wide, with sections of 100 and 120.
    TspSkinHeaderControl* Header(const char* record = nullptr, int height = 24)
    {
        auto* header = new TspSkinHeaderControl(Form);
        header->SetAlign(alNone);
        header->SetParent(Form);
        header->SetBounds(10, 10, 300, height);
        for (auto [text, width] : { std::pair { "First", 100 }, std::pair { "Second", 120 } }) {
            THeaderSection* section = header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(width);
        }
        if (record) {
            header->SetSkinDataName(record);
            header->SetSkinData(Skin);
        }
        header->OnSkinSectionClick = [this](TCustomHeaderControl*, THeaderSection* section) {
            Clicks.push_back(section->Text());
        };
        Pump();
        return header;
    }
    void Down(int x, int y)
    {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(x, y);
        Backend.MouseDown();
        Pump();
    }
    void Move(int x, int y)
    {
        Backend.MouseMove(x, y);
        Pump();
    }
    void Up()
    {
        Backend.MouseUp();
        Pump();
    }
    // The first column of the header's row `y` in [from, to) whose pixel is not `face`; -1 when none.
    int FirstInk(int y, int from, int to, uint32_t face)
    {
        for (int x = from; x < to; ++x)
            if (At(10 + x, 10 + y) != face)
                return x;
        return -1;
    }

    std::vector<std::string> Clicks;
};

TEST_F(SkinHeaderControlTest, AStripRecordFixesTheHeightAndDefaultHeightAppliesWithoutOne)
{
    TspSkinHeaderControl* strip = Header("headstrip");
    EXPECT_EQ(strip->Height(), 20);
    strip->SetBounds(10, 10, 300, 40);
    EXPECT_EQ(strip->Height(), 20) << "the record's height holds";
    EXPECT_EQ(strip->Width(), 300);

    TspSkinHeaderControl* nine = Header("headnine");
    nine->SetBounds(10, 50, 300, 33);
    EXPECT_EQ(nine->Height(), 33) << "a nine-part record stretches";

    TspSkinHeaderControl* plain = Header(nullptr, 24);
    plain->SetBounds(10, 100, 300, 30);
    EXPECT_EQ(plain->Height(), 30) << "no record and DefaultHeight 0: free";
    plain->SetDefaultHeight(22);
    EXPECT_EQ(plain->Height(), 22);
    plain->SetBounds(10, 100, 300, 30);
    EXPECT_EQ(plain->Height(), 22);
}

TEST_F(SkinHeaderControlTest, SectionsShowTheirNormalHotAndPressedPieces)
{
    TspSkinHeaderControl* header = Header("headstrip");
    struct Probe {
        const char* what;
        int x, y;
        uint32_t expected;
    };
    const auto check = [&](std::initializer_list<Probe> probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(At(10 + p.x, 10 + p.y), p.expected) << p.what;
    };
    check({ { "first section's left cap", 2, 10, Sheet(2, 70) }, { "second section's left cap", 102, 10, Sheet(2, 70) },
        { "second section's right cap", 218, 10, Sheet(78, 70) },
        { "the free space after the last section, left-anchored", 222, 10, Sheet(2, 70) } });
    Move(10 + 150, 10 + 10);
    EXPECT_EQ(header->ActiveSection(), 1);
    check({ { "hot section", 102, 10, Sheet(2, 90) }, { "the other stays", 2, 10, Sheet(2, 70) } });
    Down(10 + 150, 10 + 10);
    check({ { "pressed section", 102, 10, Sheet(2, 110) } });
    Up();
    check({ { "hot again after the release", 102, 10, Sheet(2, 90) } });
    EXPECT_EQ(Clicks, std::vector<std::string> { "Second" });

    // Without a record: the library's default frames.
    TspSkinHeaderControl* plain = Header();
    plain->SetBounds(10, 100, 300, 24);
    Pump();
    Move(300, 290);
    EXPECT_EQ(At(10 + 0, 100 + 5), Rgb(clBtnShadow));
    EXPECT_EQ(At(10 + 50, 100 + 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(10 + 50, 100 + 1), Rgb(clBtnFace));
    Move(10 + 50, 100 + 12);
    EXPECT_EQ(At(10 + 0, 100 + 5), Rgb(clNavy));
    EXPECT_EQ(At(10 + 1, 100 + 1), Rgb(RGB(182, 189, 210)));
}

TEST_F(SkinHeaderControlTest, OnlyAPlainClickOnASectionOfAButtonHeaderIsASectionClick)
{
    TspSkinHeaderControl* header = Header("headstrip");
    Down(10 + 40, 20);
    Up();
    EXPECT_EQ(Clicks, std::vector<std::string> { "First" });

    Clicks.clear();
    Down(10 + 100, 20); // on the divider between the sections
    EXPECT_FALSE(header->SectionPressed()) << "a divider press shows no pressed section";
    Move(10 + 110, 20);
    Up();
    EXPECT_TRUE(Clicks.empty()) << "a divider";

    header->SetDragReorder(true);
    Down(10 + 40, 20);
    Move(10 + 200, 20);
    Up();
    EXPECT_TRUE(Clicks.empty()) << "a drag that reorders";

    header->SetDragReorder(false);
    header->SetStyle(hsFlat);
    Down(10 + 40, 20);
    Up();
    EXPECT_TRUE(Clicks.empty()) << "a flat header";
}

TEST_F(SkinHeaderControlTest, ACaptionTooLongIsShortenedAndStartsAtTheLeftWhateverItsAlignment)
{
    TspSkinHeaderControl* header = Header();
    THeaderSection* first = header->Sections()->Items(0);
    const uint32_t face = Rgb(clBtnFace);
    struct Case {
        const char* what;
        const char* text;
        TAlignment alignment;
        bool nearLeft;
    };
    const Case kCases[] = {
        { "short, left", "Ab", taLeftJustify, true },
        { "short, right", "Ab", taRightJustify, false },
        { "short, centred", "Ab", taCenter, false },
        { "long, right", "A caption far too long for a hundred pixels", taRightJustify, true },
        { "long, centred", "A caption far too long for a hundred pixels", taCenter, true },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        first->SetText(c.text);
        first->SetAlignment(c.alignment);
        header->Invalidate();
        Pump();
        const int ink = FirstInk(12, 2, 98, face);
        ASSERT_NE(ink, -1);
        EXPECT_EQ(ink <= 4, c.nearLeft) << ink;
    }
}

TEST_F(SkinHeaderControlTest, ADrawHookReplacesTheCaptionButNotTheSkinnedFace)
{
    TspSkinHeaderControl* header = Header("headstrip");
    std::vector<TRect> areas;
    header->OnDrawSkinSection
        = [&areas](TspSkinHeaderControl*, THeaderSection*, TRect rect, bool, bool, TCanvas*) { areas.push_back(rect); };
    header->Sections()->Items(0)->SetText("MMMMMMMM");
    header->Invalidate();
    Pump();
    ASSERT_GE(areas.size(), 2u);
    EXPECT_EQ(areas[0], Rect(5, 2, 95, 18)) << "the client rectangle with its margins kept";
    for (int x = 5; x < 95; ++x)
        ASSERT_EQ(At(10 + x, 10 + 10), Sheet(5 + (x - 5) % 70, 70)) << "the tiled middle, no caption at " << x;
}

#ifdef TP_SKIN_DIR
TEST_F(SkinHeaderControlTest, TheProgramsHeaderButtonDressesTheSections)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    const int index = program->GetControlIndex("HeadButton");
    ASSERT_NE(index, -1);
    auto* record = dynamic_cast<TspDataSkinButtonControl*>(program->ControlRecords[size_t(index)].get());
    ASSERT_NE(record, nullptr);
    TBitmap* picture = program->ActivePictures[size_t(record->PictureIndex)].get();
    TspSkinHeaderControl* header = Header();
    header->SetSkinDataName("HeadButton");
    header->SetSkinData(program);
    Pump();
    EXPECT_EQ(header->GetSkinIndex(), index);
    // The top-left corner of each section is the record's.
    for (int x : { 0, 100 })
        EXPECT_EQ(At(10 + x + 1, 10 + 1),
            Rgb(picture->Canvas()->Pixels(record->SkinRect.Left + 1, record->SkinRect.Top + 1)));
}
#endif

} // namespace
