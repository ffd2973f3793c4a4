// The skinned bars that scroll or band what they hold, on the headless display: the buttons bar.
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinButtonsBar.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class SkinButtonsBarTest : public SkinControlsTest {
protected:
    // A bar of `sections` sections with `items` items each, 150 x `height`, unskinned unless `skin` is given.
    TspSkinButtonsBar* Bar(int sections, int items, int height, TspSkinData* skin = nullptr)
    {
        auto* bar = new TspSkinButtonsBar(Form);
        bar->SetAlign(alNone);
        bar->SetBounds(10, 10, 150, height);
        bar->SetParent(Form);
        if (skin)
            bar->SetSkinData(skin);
        for (int s = 0; s < sections; ++s) {
            TspButtonBarSection* section = bar->Sections()->Add();
            section->SetText("S" + std::to_string(s));
            section->OnClick = [this, s](TObject*) { SectionClicks.push_back(s); };
            for (int i = 0; i < items; ++i)
                section->Items()->Add()->SetText("I" + std::to_string(i));
        }
        Pump();
        return bar;
    }

    // Where the section buttons stand: "T" or "B" and the section, in the order top to bottom.
    static std::string ButtonOrder(TspSkinButtonsBar* bar)
    {
        std::vector<TspSectionButton*> buttons = bar->SectionButtons();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
        std::string order;
        for (TspSectionButton* button : buttons)
            order += (button->Align() == alTop ? "T" : "B") + std::to_string(button->SectionIndex());
        return order;
    }

    static std::string ShownItems(TspSkinButtonsBar* bar)
    {
        std::string shown;
        for (TspSectionItem* item : bar->SectionItems())
            if (item->Visible() && item->Parent())
                shown += std::to_string(item->ItemIndex()) + "@" + std::to_string(item->Top()) + " ";
        return shown;
    }

    void ClickControl(TControl* control)
    {
        const TPoint p = control->ClientToScreen(TPoint { control->Width() / 2, control->Height() / 2 });
        Click(p.X, p.Y);
    }

    std::vector<int> SectionClicks;
};

// ---- Buttons bar -------------------------------------------------------------------------------------------------

TEST_F(SkinButtonsBarTest, SectionButtonsStandAboveAndBelowTheOpenSectionAndOpeningOneClicksItTwice)
{
    auto* bar = Bar(3, 2, 300);
    EXPECT_EQ(ButtonOrder(bar), "T0B1B2");
    EXPECT_EQ(ShownItems(bar), "0@0 1@60 ");
    struct TCase {
        int Open;
        const char* Order;
        const char* Items;
    };
    for (const TCase& c : { TCase { 2, "T0T1T2", "0@0 1@60 " }, TCase { 1, "T0T1B2", "0@0 1@60 " },
             TCase { -1, "T0T1T2", "" } }) {
        SCOPED_TRACE(c.Open);
        bar->SetSectionIndex(c.Open);
        Pump();
        EXPECT_EQ(bar->SectionIndex(), c.Open);
        EXPECT_EQ(ButtonOrder(bar), c.Order);
        EXPECT_EQ(ShownItems(bar), c.Items);
    }
    // The button of a closed section: its own click, then the opening's.
    SectionClicks.clear();
    ClickControl(bar->SectionButtons()[2]);
    EXPECT_EQ(bar->SectionIndex(), 1);
    EXPECT_EQ(SectionClicks, (std::vector<int> { 1, 1 }));
    SectionClicks.clear();
    TspSectionButton* open = nullptr;
    for (TspSectionButton* button : bar->SectionButtons())
        if (button->SectionIndex() == 1)
            open = button;
    ClickControl(open);
    EXPECT_EQ(SectionClicks, (std::vector<int> { 1 }));
    // Out of range: ignored.
    bar->SetSectionIndex(3);
    EXPECT_EQ(bar->SectionIndex(), 1);
}

TEST_F(SkinButtonsBarTest, ItemsThatDoNotFitScrollOneAtATimeAndGrowingTheBarShowsThemAll)
{
    // 3 section buttons of 25 and a frame leave the item panel room for 2 of 6 items.
    auto* bar = Bar(3, 6, 200);
    TspSkinPanel* panel = bar->ItemPanel();
    ASSERT_EQ(bar->VisibleItemCount(), panel->Height() / 60);
    ASSERT_EQ(bar->VisibleItemCount(), 2);
    EXPECT_EQ(bar->UpButton(), nullptr);
    ASSERT_NE(bar->DownButton(), nullptr);
    EXPECT_EQ(bar->DownButton()->Left(), panel->Width() - 23);
    EXPECT_EQ(bar->DownButton()->Top(), panel->Height() - 23);
    EXPECT_EQ(bar->DownButton()->Width(), 18);

    ClickControl(bar->DownButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 1);
    EXPECT_EQ(ShownItems(bar), "1@0 2@60 ");
    ASSERT_NE(bar->UpButton(), nullptr);
    EXPECT_EQ(bar->UpButton()->Left(), panel->Width() - 23);
    EXPECT_EQ(bar->UpButton()->Top(), 5);

    // Up to the top: the last step hides the very button that is clicked.
    ClickControl(bar->UpButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 0);
    EXPECT_EQ(bar->UpButton(), nullptr);
    for (int i = 0; i < 4; ++i)
        bar->ScrollDown();
    EXPECT_EQ(bar->FirstVisibleItem(), 4);
    EXPECT_EQ(bar->DownButton(), nullptr);
    bar->ScrollDown();
    EXPECT_EQ(bar->FirstVisibleItem(), 4);

    // Room for every item: back to the first, no arrows.
    bar->SetBounds(10, 10, 150, 600);
    Pump();
    EXPECT_EQ(bar->VisibleItemCount(), 6);
    EXPECT_EQ(bar->FirstVisibleItem(), 0);
    EXPECT_EQ(bar->UpButton(), nullptr);
    EXPECT_EQ(bar->DownButton(), nullptr);
}

TEST_F(SkinButtonsBarTest, RemovingSectionsClampsTheOpenSectionAndRebuildsFromWhatIsLeft)
{
    auto* bar = Bar(3, 2, 300);
    bar->SetSectionIndex(2);
    Pump();
    // The open section (the last) goes: the last remaining one is open.
    bar->Sections()->Delete(2);
    Pump();
    EXPECT_EQ(bar->SectionIndex(), 1);
    EXPECT_EQ(ButtonOrder(bar), "T0T1");
    EXPECT_EQ(ShownItems(bar), "0@0 1@60 ");
    for (TspSectionItem* item : bar->SectionItems())
        EXPECT_EQ(item->SectionIndex(), 1);
    // All of them go: no buttons, no items, no open section.
    bar->Sections()->Clear();
    Pump();
    EXPECT_EQ(bar->SectionIndex(), -1);
    EXPECT_TRUE(bar->SectionButtons().empty());
    EXPECT_TRUE(bar->SectionItems().empty());
    // And new ones come back with the first open.
    bar->Sections()->Add()->Items()->Add();
    Pump();
    bar->SetSectionIndex(0);
    Pump();
    EXPECT_EQ(ButtonOrder(bar), "T0");
    EXPECT_EQ(ShownItems(bar), "0@0 ");
}

TEST_F(SkinButtonsBarTest, AnItemHeightBelowOneIsIgnoredAndTextChangesRenameWithoutRebuilding)
{
    auto* bar = Bar(2, 3, 300);
    for (int height : { 0, -5 }) {
        bar->SetItemHeight(height);
        EXPECT_EQ(bar->ItemHeight(), 60) << height;
    }
    bar->SetItemHeight(40);
    EXPECT_EQ(ShownItems(bar), "0@0 1@40 2@80 ");
    // A new section and item start at picture 0.
    EXPECT_EQ(bar->Sections()->Items(0)->ImageIndex(), 0);
    EXPECT_EQ(bar->Sections()->Items(0)->Items()->Items(0)->ImageIndex(), 0);
    // Renaming the open section keeps its items; changing an item rebuilds them with the new text.
    TspSectionItem* before = bar->SectionItems()[0];
    bar->Sections()->Items(0)->SetText("Renamed");
    Pump();
    EXPECT_EQ(bar->SectionItems()[0], before);
    EXPECT_EQ(bar->SectionButtons()[0]->Caption(), "Renamed");
    bar->Sections()->Items(0)->Items()->Items(1)->SetText("Changed");
    Pump();
    EXPECT_EQ(bar->SectionItems()[1]->Caption(), "Changed");
}

TEST_F(SkinButtonsBarTest, SkinnedSectionButtonsTakeTheirRecordAndItemsTheResizeButtonOne)
{
    auto* bar = Bar(2, 2, 300, Skin);
    ASSERT_FALSE(bar->SectionButtons().empty());
    // The fixture's "toolbutton" face (160, 170) shows at the button's top-left corner.
    TspSectionButton* first = bar->SectionButtons()[0];
    const TPoint corner = first->ClientToScreen(TPoint { 1, 1 });
    const TPoint origin = Form->ClientToScreen(TPoint { 0, 0 });
    EXPECT_NE(first->GetSkinIndex(), -1);
    EXPECT_EQ(At(corner.X - origin.X, corner.Y - origin.Y), Sheet(161, 171));
    for (TspSectionItem* item : bar->SectionItems())
        EXPECT_EQ(item->SkinDataName(), "resizebutton");
}

#ifdef TP_SKIN_DIR
TEST_F(SkinButtonsBarTest, TheProgramsSkinDressesTheBarItsItemsAndItsArrows)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    auto* bar = Bar(3, 6, 200, program);
    EXPECT_NE(bar->GetSkinIndex(), -1);
    // The program's skin has no tool-button record: the section buttons keep their default look.
    for (TspSectionButton* button : bar->SectionButtons())
        EXPECT_EQ(button->GetSkinIndex(), -1);
    for (TspSectionItem* item : bar->SectionItems())
        if (item->Visible())
            EXPECT_NE(item->GetSkinIndex(), -1);
    ASSERT_NE(bar->DownButton(), nullptr);
    EXPECT_NE(bar->DownButton()->GetSkinIndex(), -1);
    ClickControl(bar->DownButton());
    EXPECT_EQ(bar->FirstVisibleItem(), 1);
}
#endif

} // namespace
