// The job list on a real list view of the headless display: its columns, the rows an owner-data view asks for
// among 10,000 jobs, and the painted rows (selection colour, the running job's progress bar); and the output
// settings window answering the add road.
#include "app/AddJobs.h"
#include "app/JobListView.h"
#include "app/TOutputSettingsForm.h"

#include "engine/FormatProfiles.h"
#include "framework/graphics/Colors.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "platform/controls/ListViewControl.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/ProfileWindowsTestSupport.h"
#include "tests/framework/ControlsTestSupport.h"

#include <set>

namespace {

class JobListViewTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(50, 50, 760, 320);
        Form->Show();
        View = new TListView(Form);
        View->SetParent(Form);
        View->SetBounds(0, 0, 740, 300);
        View->SetViewStyle(vsReport);
        View->SetOwnerData(true);
        View->SetOwnerDraw(true);
        View->SetMultiSelect(true);
        View->SetRowSelect(true);
        View->SetColor(clWhite);
        AddJobListColumns(View);
        View->OnData = [this](TObject*, TListItem* item) {
            Filled.insert(item->Index());
            FillJobRow(Jobs, item);
        };
        View->OnDrawItem = [this](TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state) {
            DrawJobRow(Jobs, sender, item, rect, state);
        };
        Pump();
    }

    void AddJobs(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto job = std::make_unique<TConvertJob>("/videos/clip" + std::to_string(i) + ".avi");
            job->SetProfile(std::make_unique<TAVIProfile>("Plain AVI", ""));
            job->OutputFile = "/out/clip" + std::to_string(i) + ".avi";
            Jobs.push_back(std::move(job));
        }
        SetJobListColumnWidths(View, Jobs.empty());
        View->Items()->SetCount(static_cast<int>(Jobs.size()));
        View->Refresh();
        Pump();
    }

    // The displayed colour (0xRRGGBB) at (x, the middle of row `row`) of the view.
    uint32_t RowPixel(int row, int x)
    {
        Pump();
        const TRect bounds = View->Items()->Item(row)->DisplayRect(drBounds);
        const TPoint point = Form->ScreenToClient(View->ClientToScreen({ x, (bounds.Top + bounds.Bottom) / 2 }));
        return Backend.WindowPixel(Form->Handle(), point.X, point.Y);
    }

    static uint32_t Rgb(TColor color)
    {
        const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

    TForm* Form = nullptr;
    TListView* View = nullptr;
    TJobList Jobs;
    std::set<int> Filled;
};

TEST_F(JobListViewTest, ColumnsAndTheWidthsAnEmptyListHides)
{
    struct Column {
        const char* Caption;
        int Width;
        TAlignment Alignment;
    };
    const Column expected[] = { { "Source File", 90, taLeftJustify }, { "Frame Size", 80, taCenter },
        { "Duration", 80, taCenter }, { "Target Format", 100, taCenter }, { "Status", 80, taCenter },
        { "Estimate Output File Size", 0, taLeftJustify }, { "Output File", 0, taLeftJustify },
        { "Profile", 0, taLeftJustify } };
    ASSERT_EQ(View->Columns()->Count(), 8);
    for (int i = 0; i < 8; ++i) {
        TListColumn* column = View->Columns()->Items(i);
        EXPECT_EQ(column->Caption(), expected[i].Caption);
        EXPECT_EQ(column->Width(), expected[i].Width) << i;
        EXPECT_EQ(column->Alignment(), expected[i].Alignment) << i;
    }
    AddJobs(1);
    EXPECT_EQ(View->Columns()->Items(5)->Width(), 140);
    EXPECT_EQ(View->Columns()->Items(6)->Width(), 200);
    EXPECT_EQ(View->Columns()->Items(7)->Width(), 250);
    SetJobListColumnWidths(View, true);
    EXPECT_EQ(View->Columns()->Items(6)->Width(), 0);
}

TEST_F(JobListViewTest, TenThousandJobsFillOnlyTheShownRows)
{
    AddJobs(10000);
    ASSERT_FALSE(Filled.empty());
    EXPECT_LE(static_cast<int>(Filled.size()), View->VisibleRowCount() + 1);
    EXPECT_LE(*Filled.rbegin(), View->VisibleRowCount());

    TListItem* item = View->Items()->Item(9999);
    EXPECT_EQ(item->Caption(), "/videos/clip9999.avi");
    EXPECT_EQ(item->ImageIndex(), 0);
    ASSERT_EQ(item->SubItems()->Count(), 7);
    EXPECT_EQ(item->SubItems()->Strings(2), "AVI");
    EXPECT_EQ(item->SubItems()->Strings(3), "Queue");
    EXPECT_EQ(item->SubItems()->Strings(5), "/out/clip9999.avi");
    EXPECT_EQ(item->SubItems()->Strings(6), "Plain AVI");
}

TEST_F(JobListViewTest, SelectedRowsAndTheRunningJobsProgressBar)
{
    AddJobs(4);
    View->Items()->Item(1)->SetSelected(true);
    Jobs[2]->Status = jsProcessing;
    View->Refresh();

    // A selected row is filled with the selection colour, an unselected one with the list colour.
    EXPECT_EQ(RowPixel(1, 735), 0x3D80DFu);
    EXPECT_EQ(RowPixel(0, 735), 0xFFFFFFu);
    // The status box starts 4 pixels after the first four columns (90 + 80 + 80 + 100): the running job's
    // cell is a bar framed in the highlight colour, white inside while nothing is decoded yet.
    EXPECT_EQ(RowPixel(2, 354), Rgb(clHighlight));
    EXPECT_EQ(RowPixel(2, 356), 0xFFFFFFu);
    EXPECT_EQ(RowPixel(0, 354), 0xFFFFFFu) << "a queued job's status is text";
    // A queued row's status is the centred word.
    bool text = false;
    for (int x = 356; x < 432; ++x)
        text = text || RowPixel(0, x) != 0xFFFFFFu;
    EXPECT_TRUE(text);
}

// The cells past the list's right edge are left out of a row's drawing; scrolled sideways, the last columns come
// into view and are drawn where the header shows them.
TEST_F(JobListViewTest, ScrolledSidewaysTheLastColumnsAreDrawnInTheirPlace)
{
    AddJobs(3);
    SendMessage(View->Handle(), LVM_SCROLL, 1000, 0);
    View->Refresh();
    RECT profile { LVIR_BOUNDS, 7, 0, 0 }; // The "Profile" column of row 0.
    ASSERT_TRUE(SendMessage(View->Handle(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&profile)));
    ASSERT_LT(profile.left, View->ClientWidth()) << "the view did not scroll to its last column";
    int textPixels = 0;
    for (int x = std::max(0, int(profile.left)); x < std::min(int(profile.right), View->ClientWidth()); ++x)
        textPixels += RowPixel(0, x) != 0xFFFFFFu;
    EXPECT_GT(textPixels, 0) << "the profile's name is drawn";
    // Left of that column, the output file's cell ends in the output path, drawn as well.
    int pathPixels = 0;
    for (int x = std::max(0, int(profile.left) - 200); x < profile.left; ++x)
        pathPixels += RowPixel(0, x) != 0xFFFFFFu;
    EXPECT_GT(pathPixels, 0);
}

// The add road's settings come from the real output settings window, answered while it is shown.
class AddRoadWindowTest : public ProfileWindowsTest {
protected:
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        for (const char* name : { "Clip", "Film" })
            WriteProfile(TMOVProfile(name, ""));
        LoadHolder();
    }

    // Runs the window, `answer` closing it once it shows.
    std::optional<TNewJobSettings> Choose(const std::function<void(TOutputSettingsForm&)>& answer)
    {
        int shown = 0;
        Application->OnIdle = [&](TObject*, bool& done) {
            TOutputSettingsForm* window = nullptr;
            for (int i = 0; i < Screen->FormCount() && !window; ++i)
                window = dynamic_cast<TOutputSettingsForm*>(Screen->Forms(i));
            if (!window || !window->Visible() || window->ModalResult() != mrNone)
                return;
            done = false;
            ASSERT_EQ(++shown, 1);
            answer(*window);
        };
        std::optional<TNewJobSettings> settings = ChooseNewJobSettings(Application);
        Application->OnIdle = nullptr;
        EXPECT_EQ(shown, 1) << "the window never showed";
        return settings;
    }
};

TEST_F(AddRoadWindowTest, TheOutputSettingsWindowGivesTheChosenProfileOrNothing)
{
    std::optional<TNewJobSettings> chosen = Choose([](TOutputSettingsForm& window) {
        window.rbMOV->SetChecked(true);
        window.cbProfiles->SetItemIndex(1);
        window.chkDisableAudio->SetChecked(true);
        window.chkFixAspectRatio->SetChecked(false);
        window.btnOkClick(nullptr);
    });
    ASSERT_TRUE(chosen);
    ASSERT_NE(chosen->Profile, nullptr);
    EXPECT_EQ(chosen->Profile->FormatType, vfMOV);
    EXPECT_EQ(chosen->Profile->ProfileName, "Film");
    EXPECT_TRUE(chosen->DisableAudio);
    EXPECT_FALSE(chosen->FixAspectRatio);

    EXPECT_FALSE(Choose([](TOutputSettingsForm& window) { window.SetModalResult(window.btnCancel->ModalResult()); }));
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_EQ(dynamic_cast<TOutputSettingsForm*>(Screen->Forms(i)), nullptr) << "the window outlived its answer";
}

} // namespace
