// The skinned panel, group box, paint panel, status bar and notebook on the headless display: client
// rectangles, rolling up, the checked caption, the grip, the page list with its buttons, and the pieces of the
// fixture skin and of the program's own skin they show.
#include "framework/core/TStrings.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinNotebook.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/core/SkinControlRecords.h"
#include "tests/skin/SkinControlsTestSupport.h"

namespace {

class SkinPanelsTest : public SkinControlsTest {
protected:
    static std::string RectText(const TRect& r)
    {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + ","
            + std::to_string(r.Bottom);
    }
    static std::vector<std::string> Captions(TspSkinNotebook* notebook)
    {
        std::vector<std::string> result;
        for (int i = 0; i < notebook->Pages()->Count(); ++i)
            result.push_back(notebook->Pages()->Strings(i));
        return result;
    }
    static int VisiblePages(TspSkinNotebook* notebook)
    {
        int count = 0;
        for (int i = 0; i < notebook->PageCount(); ++i)
            count += notebook->Page(i)->Visible();
        return count;
    }
    TspSkinNotebook* NewNotebook(std::initializer_list<const char*> pages)
    {
        auto* notebook = Place<TspSkinNotebook>(10, 10, 200, 200, false);
        notebook->Pages()->Clear();
        for (const char* page : pages)
            notebook->Pages()->Add(page);
        return notebook;
    }
};

// ---- Panel -------------------------------------------------------------------------------------------------------

TEST_F(SkinPanelsTest, TheClientRectangleFollowsTheBorderCaptionAndRecord)
{
    auto* panel = Place<TspSkinPanel>(10, 10, 150, 150, false);
    using B = TspSkinBorderStyle;
    const struct {
        B Border;
        bool Caption;
        const char* Client;
    } kDefault[] = { { B::bvFrame, true, "1,23,149,149" }, { B::bvFrame, false, "1,1,149,149" },
        { B::bvLowered, true, "1,23,149,149" }, { B::bvNone, false, "0,0,150,150" },
        { B::bvNone, true, "0,22,150,150" } };
    for (const auto& c : kDefault) {
        panel->SetBorderStyle(c.Border);
        panel->SetCaptionMode(c.Caption);
        EXPECT_EQ(RectText(panel->GetSkinClientRect()), c.Client);
    }
    panel->SetCaptionMode(false);
    panel->SetBorderStyle(B::bvFrame);
    panel->SetSkinData(Skin);
    EXPECT_EQ(RectText(panel->GetSkinClientRect()), "6,6,144,144") << "the record's client part, mapped";
    panel->SetTransparentMode(true);
    EXPECT_EQ(RectText(panel->GetSkinClientRect()), "2,2,148,148");
    panel->SetTransparentMode(false);
    panel->SetSkinDataName("bgpanel");
    EXPECT_EQ(RectText(panel->GetSkinClientRect()), "0,0,150,150") << "a background picture leaves all of it";
}

TEST_F(SkinPanelsTest, RollingUpKeepsTheFirstHeightAndHidesTheChildren)
{
    auto* panel = Place<TspSkinPanel>(10, 10, 150, 150, false);
    panel->SetCaptionMode(true);
    auto* child = new TCustomControl(Form);
    child->SetParent(panel);
    int changes = 0;
    panel->OnChangeRollUpState = [&](TObject*) { ++changes; };

    panel->Constraints()->SetMinHeight(100);
    panel->SetRollUpState(true);
    EXPECT_FALSE(panel->RollUpState()) << "without RollUpMode";
    EXPECT_EQ(panel->Height(), 150);
    EXPECT_EQ(changes, 0);

    panel->SetRollUpMode(true);
    Click(10 + 50, 10 + 10);
    EXPECT_TRUE(panel->RollUpState()) << "a click on the caption";
    EXPECT_EQ(panel->Height(), 23);
    EXPECT_EQ(panel->RealHeight(), 150);
    EXPECT_FALSE(child->Visible());
    EXPECT_EQ(panel->Constraints()->MinHeight(), 0) << "the constraints are off while rolled up";
    panel->DoRollUp(true);
    EXPECT_EQ(panel->RealHeight(), 150) << "a second roll-up keeps the height to restore";
    panel->SetRollUpState(false);
    EXPECT_EQ(panel->Height(), 150);
    EXPECT_EQ(panel->RealHeight(), -1);
    EXPECT_TRUE(child->Visible());
    EXPECT_EQ(changes, 2);
    panel->DoRollUp(false);
    EXPECT_EQ(panel->Height(), 150) << "rolling down a panel that is not rolled up changes nothing";

    // With RollUpMode off again a change only restores the saved constraints.
    panel->SetRollUpState(true);
    panel->SetRollUpMode(false);
    panel->SetRollUpState(false);
    EXPECT_EQ(panel->Constraints()->MinHeight(), 0);
    EXPECT_TRUE(panel->RollUpState());
}

TEST_F(SkinPanelsTest, TheCheckedCaptionEnablesTheChildrenOnlyInCheckedMode)
{
    auto* panel = Place<TspSkinPanel>(10, 10, 150, 150, false);
    panel->SetCaptionMode(true);
    auto* a = new TCustomControl(Form);
    a->SetParent(panel);
    auto* b = new TCustomControl(Form);
    b->SetParent(panel);
    int checks = 0;
    panel->OnChecked = [&](TObject*) { ++checks; };
    panel->SetChecked(false);
    EXPECT_TRUE(a->Enabled()) << "CheckedMode off leaves the children alone";
    EXPECT_EQ(checks, 1);
    panel->SetCheckedMode(true);
    panel->SetChecked(false);
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
    Click(10 + 50, 10 + 10);
    EXPECT_TRUE(panel->Checked());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(checks, 3);
    Pump();
    // The default 14 x 14 box at x 5 with its mark.
    EXPECT_EQ(At(10 + 5, 10 + 4), Rgb(clBtnShadow));
}

TEST_F(SkinPanelsTest, ASkinnedPanelShowsItsNinePartsAndABackgroundPictureHidesTheFrame)
{
    auto* panel = Place<TspSkinPanel>(10, 10, 120, 80);
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(1, 151));
    EXPECT_EQ(At(10 + 119, 10 + 79), Sheet(59, 189));
    EXPECT_EQ(At(10 + 6, 10 + 6), Sheet(6, 156)) << "the client piece, tiled";
    EXPECT_EQ(At(10 + 6 + 48, 10 + 6), Sheet(6, 156)) << "its second tile";
    panel->SetSkinDataName("bgpanel");
    panel->Repaint();
    Pump();
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(1, 1)) << "the background picture from its corner";
    EXPECT_EQ(At(10 + 100, 10 + 60), Sheet(100, 60));

    // A transparent panel shows its parent with a frame in the colour of the skin's bottom centre pixel.
    auto* clear = Place<TspSkinPanel>(200, 10, 100, 60);
    clear->SetTransparentMode(true);
    Pump();
    EXPECT_EQ(At(200 + 50, 10 + 30), Rgb(clWhite));
    EXPECT_EQ(At(200, 10 + 30), Sheet(30, 189));
}

// ---- Status bar and paint panel ----------------------------------------------------------------------------------

TEST_F(SkinPanelsTest, TheStatusBarGripTakesASquareAndAnswersBottomRight)
{
    auto* bar = Place<TspSkinStatusBar>(0, 0, 200, 21, false);
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Height(), 21);
    EXPECT_EQ(RectText(bar->GetSkinClientRect()), "0,0,400,21");
    bar->SetSizeGrip(true);
    Pump();
    EXPECT_EQ(RectText(bar->GetSkinClientRect()), "0,0,379,21");
    EXPECT_EQ(RectText(bar->GetGripRect()), "381,0,400,19");
    const int top = bar->Top();
    // The first shadow line starts 3 right of the grip's left at its bottom.
    EXPECT_EQ(At(381 + 3, top + 19), Rgb(clBtnShadow));
    auto hit = [&](int x, int y) {
        return SendMessage(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(390, top + 10), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(100, top + 10), HTCLIENT);
    bar->SetShowGrip(false);
    Pump();
    EXPECT_EQ(hit(390, top + 10), HTCLIENT);
    EXPECT_EQ(RectText(bar->GetSkinClientRect()), "0,0,400,21");
    EXPECT_EQ(At(381 + 3, top + 19), Rgb(clBtnFace)) << "no grip drawn";

    // With the record's gripper piece at the client's bottom right; a frameless bar without a caption keeps
    // the whole of its height.
    bar->SetShowGrip(true);
    bar->SetSkinData(Skin);
    Pump();
    const TRect grip = bar->GetGripRect();
    EXPECT_EQ(RectText(grip), "388,9,400,21");
    EXPECT_EQ(At(grip.Left + 2, top + grip.Top + 2), Sheet(162, 152));
}

TEST_F(SkinPanelsTest, APaintPanelLetsItsOwnerPaintTheClientRectangle)
{
    auto* panel = Place<TspSkinPaintPanel>(10, 10, 100, 50, false);
    TRect given;
    panel->OnPanelPaint = [&](TCanvas* canvas, TRect r) {
        given = r;
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(r);
    };
    panel->Repaint();
    Pump();
    EXPECT_EQ(RectText(given), "1,1,99,49");
    EXPECT_EQ(At(10 + 50, 10 + 25), Rgb(clRed));
    EXPECT_EQ(At(10, 10), Rgb(clBtnShadow)) << "over the finished panel image";
    panel->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(RectText(given), "6,6,94,44");
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(1, 151));
}

// ---- Notebook ----------------------------------------------------------------------------------------------------

TEST_F(SkinPanelsTest, ANewNotebookHasOneDefaultPageAndTheListEditsItsPages)
{
    auto* notebook = Place<TspSkinNotebook>(10, 10, 200, 200, false);
    EXPECT_EQ(Captions(notebook), (std::vector<std::string> { "Default" }));
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_EQ(notebook->ActivePage(), "Default");
    EXPECT_TRUE(notebook->Page(0)->Visible());
    EXPECT_EQ(notebook->Pages()->Objects(0), notebook->Page(0));

    notebook->Pages()->Clear();
    EXPECT_EQ(notebook->PageIndex(), -1);
    EXPECT_THROW(notebook->ActivePage(), EStringListError);
    EXPECT_THROW(notebook->Pages()->Strings(0), EStringListError);
    for (const char* name : { "A", "B", "C" })
        notebook->Pages()->Add(name);
    EXPECT_EQ(notebook->PageIndex(), 2) << "the page added last is current";
    notebook->Pages()->Move(0, 2);
    EXPECT_EQ(Captions(notebook), (std::vector<std::string> { "C", "B", "A" }));
    EXPECT_EQ(notebook->ActivePage(), "C") << "the page shown stays current";
    notebook->SetActivePage("nothing");
    EXPECT_EQ(notebook->PageIndex(), 0);
    int changes = 0;
    notebook->OnPageChanged = [&](TObject*) { ++changes; };
    notebook->SetActivePage("b");
    EXPECT_EQ(notebook->PageIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(VisiblePages(notebook), 1);
    notebook->Pages()->SetStrings(1, "Bee");
    EXPECT_EQ(notebook->Page(1)->Caption(), "Bee");
}

TEST_F(SkinPanelsTest, DeletingOrInsertingPagesLeavesExactlyOnePageShown)
{
    const struct {
        const char* Case;
        int Current;
        int Deleted;
        std::vector<std::string> Left;
    } kDeletes[] = { { "the current first page", 0, 0, { "B", "C" } },
        { "a page before the current one", 2, 0, { "B", "C" } }, { "a page after it", 0, 2, { "A", "B" } } };
    for (const auto& c : kDeletes) {
        SCOPED_TRACE(c.Case);
        TspSkinNotebook* notebook = NewNotebook({ "A", "B", "C" });
        notebook->SetPageIndex(c.Current);
        notebook->Pages()->Delete(c.Deleted);
        EXPECT_EQ(Captions(notebook), c.Left);
        EXPECT_EQ(notebook->PageIndex(), 0);
        EXPECT_TRUE(notebook->Page(0)->Visible());
        EXPECT_EQ(VisiblePages(notebook), 1);
        delete notebook;
    }
    TspSkinNotebook* notebook = NewNotebook({ "A", "B" });
    notebook->Pages()->Insert(0, "First");
    EXPECT_EQ(notebook->ActivePage(), "First");
    EXPECT_EQ(VisiblePages(notebook), 1);
    EXPECT_THROW(notebook->Pages()->Delete(7), EStringListError);
}

TEST_F(SkinPanelsTest, PageButtonsStandAboveAndBelowTheCurrentPageAndOpenTheirPage)
{
    TspSkinNotebook* notebook = NewNotebook({ "P0", "P1", "P2", "P3" });
    notebook->SetPageIndex(1);
    notebook->SetButtonsMode(true);
    Pump();
    const std::vector<TspPageButton*>& buttons = notebook->PageButtons();
    ASSERT_EQ(buttons.size(), 4u);
    auto tops = [&] {
        std::vector<int> result;
        for (TspPageButton* button : notebook->PageButtons())
            result.push_back(button->Top());
        return result;
    };
    // Buttons 25 high in the client (1, 1, 199, 199): two above the page, two below.
    EXPECT_EQ(tops(), (std::vector<int> { 1, 26, 149, 174 }));
    const TRect page = notebook->Page(1)->BoundsRect();
    EXPECT_EQ(RectText(page), "1,51,199,149");

    Click(10 + 100, 10 + 174 + 10);
    EXPECT_EQ(notebook->PageIndex(), 3);
    EXPECT_EQ(tops(), (std::vector<int> { 1, 26, 51, 76 }));
    EXPECT_EQ(notebook->PageButtons()[2]->Align(), alTop);

    notebook->Pages()->SetStrings(2, "Renamed");
    EXPECT_EQ(notebook->PageButtons()[2]->Caption(), "Renamed");
    EXPECT_EQ(notebook->PageButtons()[1]->Caption(), "P1");

    // The buttons wear the record named by ButtonSkinDataName.
    notebook->SetSkinData(Skin);
    notebook->UpdateButtons();
    Pump();
    const TspPageButton* first = notebook->PageButtons()[0];
    EXPECT_EQ(At(10 + first->Left() + 1, 10 + first->Top() + 1), Sheet(161, 171));

    notebook->Pages()->Clear();
    EXPECT_TRUE(notebook->PageButtons().empty());
}

TEST_F(SkinPanelsTest, ALoadedNotebookDropsAnInvalidIndexAndGivesEveryPageItsWindow)
{
    TspSkinNotebook* notebook = NewNotebook({ "A", "B" });
    notebook->SetComponentStateItem(csLoading, true);
    notebook->SetPageIndex(5);
    EXPECT_EQ(notebook->PageIndex(), 5) << "only stored while loading";
    notebook->Loaded();
    EXPECT_EQ(notebook->PageIndex(), -1);
    EXPECT_TRUE(notebook->Page(0)->HandleAllocated());
    EXPECT_TRUE(notebook->Page(1)->HandleAllocated());
    EXPECT_EQ(SendMessage(notebook->Page(0)->Handle(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

// ---- The program's own skin --------------------------------------------------------------------------------------

#ifdef TP_SKIN_DIR
TEST_F(SkinPanelsTest, TheProgramsSkinDressesEachControlFromItsRecord)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    auto recordOf = [&](const char* name) {
        const int index = program->GetControlIndex(name);
        EXPECT_NE(index, -1) << name;
        return dynamic_cast<TspDataSkinCustomControl*>(program->ControlRecords[size_t(index)].get());
    };
    auto pictureAt = [&](const TspDataSkinCustomControl* record, int x, int y) {
        TBitmap* picture = program->ActivePictures[size_t(record->PictureIndex)].get();
        return Rgb(picture->Canvas()->Pixels(record->SkinRect.Left + x, record->SkinRect.Top + y));
    };
    // Each at its record's own size, so that its corners are the picture's.
    const struct {
        const char* Name;
        TspSkinControl* Control;
    } kControls[] = { { "gauge", new TspSkinGauge(Form) }, { "htrackbar", new TspSkinTrackBar(Form) },
        { "panel", new TspSkinPanel(Form) }, { "groupbox", new TspSkinGroupBox(Form) } };
    int y = 0;
    for (const auto& c : kControls) {
        SCOPED_TRACE(c.Name);
        const TspDataSkinCustomControl* record = recordOf(c.Name);
        ASSERT_NE(record, nullptr);
        const int w = record->SkinRect.Right - record->SkinRect.Left;
        const int h = record->SkinRect.Bottom - record->SkinRect.Top;
        c.Control->SetParent(Form);
        c.Control->SetBounds(0, y, w, h);
        c.Control->SetSkinData(program);
        Pump();
        EXPECT_NE(c.Control->GetSkinIndex(), -1);
        EXPECT_EQ(At(1, y + 1), pictureAt(record, 1, 1));
        EXPECT_EQ(At(w - 2, y + h - 2), pictureAt(record, w - 2, h - 2));
        y += h + 4;
    }
    for (const char* name : { "checkbox", "radiobox" }) {
        auto* box = new TspSkinCheckRadioBox(Form);
        box->SetParent(Form);
        box->SetSkinDataName(name);
        box->SetSkinData(program);
        EXPECT_NE(box->GetSkinIndex(), -1) << name;
    }
}
#endif

} // namespace
