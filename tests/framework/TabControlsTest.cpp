// TPageControl, TTabSheet and TTabControl on a shown form: tab changes by clicks with the changing veto, the
// shown page and its place in the display area, hidden tabs, and removed pages.
#include "ControlsTestSupport.h"

#include "framework/controls/TCustomTabControl.h"
#include "framework/core/TStrings.h"

namespace {

class TabControlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 420, 300);
        Form->Show();
    }
    void ClickTab(TCustomTabControl* tabs, int index)
    {
        TRect r = tabs->TabRect(index);
        TPoint p = tabs->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Click(p.X, p.Y);
    }
    TTabSheet* AddSheet(TPageControl* pages, const char* caption)
    {
        auto* sheet = new TTabSheet(Form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
        return sheet;
    }

    TForm* Form = nullptr;
};

TEST_F(TabControlsTest, PageControlChangesPagesUnlessTheChangeIsRefused)
{
    auto* pages = new TPageControl(Form);
    pages->SetParent(Form);
    pages->SetBounds(10, 10, 400, 250);
    TTabSheet* general = AddSheet(pages, "General");
    TTabSheet* video = AddSheet(pages, "Video");
    TTabSheet* audio = AddSheet(pages, "Audio");
    Pump();
    EXPECT_EQ(pages->ActivePage(), general);
    EXPECT_TRUE(general->Visible());
    EXPECT_FALSE(video->Visible());
    // The page fills the display area.
    TRect display = pages->DisplayRect();
    EXPECT_EQ(general->Left(), display.Left);
    EXPECT_EQ(general->Top(), display.Top);
    EXPECT_EQ(general->Width(), display.Right - display.Left);

    int changes = 0;
    bool allow = true;
    pages->OnChange = [&](TObject*) { ++changes; };
    pages->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    ClickTab(pages, 2);
    EXPECT_EQ(pages->ActivePage(), audio);
    EXPECT_TRUE(audio->Visible());
    EXPECT_FALSE(general->Visible());
    EXPECT_EQ(changes, 1);
    allow = false;
    ClickTab(pages, 1);
    EXPECT_EQ(pages->ActivePage(), audio);
    EXPECT_EQ(pages->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    allow = true;

    // A hidden tab takes its page out of the strip; the program may still show it.
    video->SetTabVisible(false);
    EXPECT_EQ(audio->TabIndex(), 1);
    EXPECT_EQ(pages->TabIndex(), 1);
    ClickTab(pages, 0);
    EXPECT_EQ(pages->ActivePage(), general);
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->ActivePage(), audio);
    // A removed active page hands over to the next one.
    delete audio;
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), general);
    EXPECT_TRUE(general->Visible());
    EXPECT_EQ(SendMessage(pages->Handle(), 0x1304 /* TCM_GETITEMCOUNT */, 0, 0), 1);
}

TEST_F(TabControlsTest, TabControlShowsItsTabTexts)
{
    auto* tabs = new TTabControl(Form);
    tabs->SetParent(Form);
    tabs->SetBounds(10, 10, 200, 120);
    tabs->SetMultiLine(true);
    for (const char* text : {"First tab", "Second tab", "Third tab", "Fourth tab", "Fifth tab", "Sixth tab"})
        tabs->Tabs()->Add(text);
    Pump();
    EXPECT_GT(tabs->RowCount(), 1);
    ClickTab(tabs, 4);
    EXPECT_EQ(tabs->TabIndex(), 4);
    TRect r = tabs->TabRect(4);
    EXPECT_EQ(tabs->IndexOfTabAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), 4);
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(tabs->TabIndex(), 3);
    // The display area sits under all the rows.
    EXPECT_GE(tabs->DisplayRect().Top, r.Bottom);
}

} // namespace
