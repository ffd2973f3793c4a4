// The options window over a real DecoderMode.cfg and LastSettings.ini in the test's program folder: its list
// commands, OK writing both files and reloading the program's table, Cancel writing nothing, a refused write
// keeping everything, the extension stored as the probe looks it up, and the rows it draws.
#include "app/TOptionForm.h"
#include "engine/TDecoderModeMap.h"
#include "framework/core/TStrings.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/AppDialogsTestSupport.h"

#include <map>

namespace {

// The table as "ext=mode/note" lines, in key order, and its default mode.
std::map<std::string, std::string> Entries(const TDecoderModeMap& map)
{
    std::map<std::string, std::string> entries;
    for (int i = 0; i < map.Count(); ++i) {
        TDecoderModeMapItem item;
        map.GetItem(i, item);
        entries[item.Extension] = std::to_string(item.DecoderMode) + "/" + item.Note;
    }
    return entries;
}

class OptionsWindowTest : public AppDialogTest {
protected:
    void SetUp() override
    {
        AppDialogTest::SetUp();
        WriteFile("DecoderMode.cfg",
            "[Default]\nDefaultDecoderMode=0\n\n[Ext]\n.avi=\n.mkv=\n\n[.avi]\nNote=old films\nDecoderMode=1\n\n"
            "[.mkv]\nNote=\nDecoderMode=2\n");
        CreateGlobalDecoderModeMap();
        ASSERT_TRUE(GlobalDecoderModeMap->LoadFromFile(Folder + "DecoderMode.cfg"));
        Original = ReadFile("DecoderMode.cfg");
    }
    void TearDown() override
    {
        DestroyGlobalDecoderModeMap();
        AppDialogTest::TearDown();
    }

    std::unique_ptr<TOptionForm> NewWindow()
    {
        return std::unique_ptr<TOptionForm>(TCustomForm::Create<TOptionForm>(Application));
    }

    std::string Original;
};

TEST_F(OptionsWindowTest, ListCommandsEditTheWindowsOwnCopy)
{
    using TEntries = std::map<std::string, std::string>;
    struct Case {
        const char* Name;
        std::function<void(TOptionForm*)> Steps;
        TEntries Expected;
    };
    const TEntries start { { ".avi", "1/old films" }, { ".mkv", "2/" } };
    const Case cases[] = {
        { "Add then Modify stores a new entry as the probe looks it up",
            [](TOptionForm* f) {
                f->btnAddClick(f);
                EXPECT_EQ(f->edtExt->Text(), ".Ext");
                EXPECT_EQ(f->cbDecoderMode->ItemIndex(), 0);
                EXPECT_EQ(f->edtNote->Text(), "");
                f->btnSaveClick(f);
            },
            { { ".avi", "1/old films" }, { ".ext", "0/" }, { ".mkv", "2/" } } },
        { "a changed extension replaces the entry",
            [](TOptionForm* f) {
                f->lvMapList->SetItemIndex(0); // .avi
                EXPECT_EQ(f->edtExt->Text(), ".avi");
                EXPECT_EQ(f->edtNote->Text(), "old films");
                f->edtExt->SetText(".divx");
                f->cbDecoderMode->SetItemIndex(3);
                f->btnSaveClick(f);
            },
            { { ".divx", "3/old films" }, { ".mkv", "2/" } } },
        { "Remove right after Add removes nothing",
            [](TOptionForm* f) {
                f->lvMapList->SetItemIndex(1);
                f->btnAddClick(f);
                f->btnDeleteClick(f);
            },
            start },
        { "Remove takes the selected entry and the edits keep showing it",
            [](TOptionForm* f) {
                f->lvMapList->SetItemIndex(1);
                f->btnDeleteClick(f);
                EXPECT_EQ(f->edtExt->Text(), ".mkv");
            },
            { { ".avi", "1/old films" } } },
        { "a typed extension is trimmed, lower-cased and given its dot",
            [](TOptionForm* f) {
                f->btnAddClick(f);
                f->edtExt->SetText("  TS ");
                f->btnSaveClick(f);
                f->btnAddClick(f);
                f->edtExt->SetText("..M2T");
                f->btnSaveClick(f);
            },
            { { ".avi", "1/old films" }, { ".m2t", "0/" }, { ".mkv", "2/" }, { ".ts", "0/" } } },
        { "an extension of blanks or dots only is refused and changes nothing",
            [this](TOptionForm* f) {
                f->lvMapList->SetItemIndex(0);
                for (const char* typed : { "", "   ", "." }) {
                    f->edtExt->SetText(typed);
                    f->btnSaveClick(f);
                }
                EXPECT_EQ(Messages.size(), 3u);
            },
            start },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Messages.clear();
        auto form = NewWindow();
        EXPECT_EQ(form->Caption(), "Tarnwick Pro - Option");
        EXPECT_EQ(form->lvMapList->Items()->Count(), 2);
        EXPECT_EQ(form->lvMapList->ItemIndex(), 0) << "the first row is selected";
        c.Steps(form.get());
        EXPECT_EQ(Entries(form->Edited()), c.Expected);
        EXPECT_EQ(form->lvMapList->Items()->Count(), static_cast<int>(c.Expected.size()));
        EXPECT_EQ(Entries(*GlobalDecoderModeMap), start) << "the program's table waits for OK";
    }
}

TEST_F(OptionsWindowTest, OKWritesBothFilesAndReloadsTheTableCancelWritesNothing)
{
    // Cancel and Escape after edits: both files as they were.
    for (bool escape : { false, true }) {
        auto form = NewWindow();
        EXPECT_EQ(RunModal<TOptionForm>(form.get(),
                      [&](TOptionForm* f) {
                          f->cbDefaultDecoderMode->SetItemIndex(3);
                          f->btnAddClick(f);
                          f->btnSaveClick(f);
                          f->edtExt->SetFocus();
                          if (escape)
                              Backend.Key(VK_ESCAPE);
                          else
                              f->btnCancel->ButtonClick();
                      }),
            mrCancel);
    }
    EXPECT_EQ(ReadFile("DecoderMode.cfg"), Original);
    EXPECT_EQ(ReadFile("LastSettings.ini"), "");

    // Without a stored choice the window offers "Select By User"; OK writes it as 1.
    auto form = NewWindow();
    EXPECT_TRUE(form->cbSelectByUser->Checked());
    EXPECT_FALSE(form->cbFirstStream->Checked());
    EXPECT_EQ(RunModal<TOptionForm>(form.get(),
                  [](TOptionForm* f) {
                      f->cbDefaultDecoderMode->SetItemIndex(2);
                      f->lvMapList->SetItemIndex(1);
                      f->cbDecoderMode->SetItemIndex(0);
                      f->edtNote->SetText("matroska");
                      f->btnSaveClick(f);
                      f->btnOK->ButtonClick();
                  }),
        mrOk);
    TDecoderModeMap onDisk;
    ASSERT_TRUE(onDisk.LoadFromFile(Folder + "DecoderMode.cfg"));
    EXPECT_EQ(onDisk.GetDefaultMode(), dmBuiltInOnly);
    EXPECT_EQ(onDisk.GetDecoderMode(".mkv"), dmBuiltInThenDirectShow);
    EXPECT_EQ(GlobalDecoderModeMap->GetDefaultMode(), dmBuiltInOnly) << "later probes use the new table";
    EXPECT_EQ(Entries(*GlobalDecoderModeMap), Entries(onDisk));
    EXPECT_NE(ReadFile("LastSettings.ini").find("MultiStreamsMethod=1"), std::string::npos);

    // A stored 0 ticks "First Stream", and OK keeps it.
    WriteFile("LastSettings.ini", "[LastSettings]\nMultiStreamsMethod=0\n");
    form = NewWindow();
    EXPECT_TRUE(form->cbFirstStream->Checked());
    EXPECT_EQ(RunModal<TOptionForm>(form.get(), [](TOptionForm* f) { f->btnOK->ButtonClick(); }), mrOk);
    EXPECT_NE(ReadFile("LastSettings.ini").find("MultiStreamsMethod=0"), std::string::npos);
}

TEST_F(OptionsWindowTest, ARefusedWriteKeepsTheFilesTheTableAndTheWindow)
{
    // Where the table goes there is a folder, which no file can replace.
    std::filesystem::rename(Folder + "DecoderMode.cfg", Folder + "kept.cfg");
    std::filesystem::create_directories(Folder + "DecoderMode.cfg/inside");
    auto form = NewWindow();
    bool stillOpen = false;
    RunModal<TOptionForm>(form.get(), [&](TOptionForm* f) {
        f->cbDefaultDecoderMode->SetItemIndex(3);
        f->btnOK->ButtonClick();
        stillOpen = f->ModalResult() == mrNone;
        f->btnCancel->ButtonClick();
    });
    EXPECT_TRUE(stillOpen) << "the user's edits are not thrown away";
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Unable to write to " + Folder + "DecoderMode.cfg");
    EXPECT_EQ(GlobalDecoderModeMap->GetDefaultMode(), dmBuiltInThenDirectShow);
    EXPECT_EQ(GlobalDecoderModeMap->Count(), 2) << "the program's table is not emptied";
    EXPECT_TRUE(std::filesystem::is_directory(Folder + "DecoderMode.cfg/inside"));
}

TEST_F(OptionsWindowTest, RowsShowTheModeTextAndTheSelectedRowIsDrawnHighlighted)
{
    auto form = NewWindow();
    form->lvMapList->SetItemIndex(1);
    TListItem* row = form->lvMapList->Items()->Item(1);
    EXPECT_EQ(row->Caption(), ".mkv");
    ASSERT_EQ(row->SubItems()->Count(), 2);
    EXPECT_EQ(row->SubItems()->Strings(0), "Built-in Decoder Only");
    RunModal<TOptionForm>(form.get(), [&](TOptionForm* f) {
        Pump();
        const TRect selected = f->lvMapList->Items()->Item(1)->DisplayRect(drBounds);
        const TRect other = f->lvMapList->Items()->Item(0)->DisplayRect(drBounds);
        HWND list = f->lvMapList->Handle();
        // Beyond the last column's text, inside the list.
        EXPECT_EQ(Backend.WindowPixel(list, 440, (selected.Top + selected.Bottom) / 2), 0x3D80DFu);
        EXPECT_EQ(Backend.WindowPixel(list, 440, (other.Top + other.Bottom) / 2), 0xFFFFFFu);
        f->btnCancel->ButtonClick();
    });
}

} // namespace
