// The add-folder dialog over temporary trees: which files each file type finds, with and without subfolders and
// with blanks in the path; its two states; Escape during a search keeping what was found; closing before any
// search; the button following the tree's selection; and the remembered subfolder box.
#include "app/TAddFolderForm.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/AppDialogsTestSupport.h"
#include "tests/platform/ShellTestSupport.h"

#include <algorithm>
#include <set>

namespace {

namespace fs = std::filesystem;
using TPaths = std::set<std::string>;

class AddFolderDialogTest : public AppDialogTest {
protected:
    void SetUp() override
    {
        AppDialogTest::SetUp();
        Root = Home.Home() + "/my  videos";
        for (const char* name : { "a.rm", "b.rmvb", "A.AVI", "c.avi", "notes.txt", "d.mkv", "sub dir/e.avi",
                 "sub dir/deeper/f.rm", "sub dir/g.txt" })
            Touch(Root + "/" + name);
    }

    static void Touch(const std::string& path)
    {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << "x";
    }

    std::unique_ptr<TAddFolderForm> NewDialog(const std::string& folder)
    {
        std::unique_ptr<TAddFolderForm> form(TCustomForm::Create<TAddFolderForm>(Application));
        form->DirTreeView->SetPath(folder);
        Pump();
        return form;
    }

    TPaths Under(std::initializer_list<const char*> names) const
    {
        TPaths paths;
        for (const char* name : names)
            paths.insert(Root + "/" + name);
        return paths;
    }

    TShellTestHome Home;
    std::string Root;
};

TEST_F(AddFolderDialogTest, EachFileTypeFindsItsWholeExtensionsOnly)
{
    struct Case {
        int FileType;
        bool Subfolders;
        TPaths Expected;
    } const cases[] = {
        { 6, false, Under({ "a.rm", "b.rmvb" }) },
        { 1, false, Under({ "A.AVI", "c.avi" }) },
        { 1, true, Under({ "A.AVI", "c.avi", "sub dir/e.avi" }) },
        { 0, true, Under({ "a.rm", "b.rmvb", "A.AVI", "c.avi", "d.mkv", "sub dir/e.avi", "sub dir/deeper/f.rm" }) },
        { 5, true, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "file type " << c.FileType << (c.Subfolders ? " with subfolders" : ""));
        auto form = NewDialog(Root);
        ASSERT_TRUE(form->btnAddFolder->Enabled());
        form->cbFileType->SetItemIndex(c.FileType);
        form->chkIncludedSubdir->SetChecked(c.Subfolders);
        int heightWhileSearching = 0;
        std::string captionWhileSearching;
        RunModal<TAddFolderForm>(form.get(), [&](TAddFolderForm* f) {
            EXPECT_EQ(f->Height(), TAddFolderForm::ChoosingHeight);
            EXPECT_FALSE(f->InfoPanel->Visible());
            f->btnAddFolder->ButtonClick();
            heightWhileSearching = f->Height();
            captionWhileSearching = f->btnAddFolder->Caption();
            EXPECT_TRUE(f->InfoPanel->Visible());
            // The search hands its finds over and then closes the dialog.
            while (f->ModalResult() == mrNone)
                CheckSynchronize(1000);
        });
        EXPECT_EQ(heightWhileSearching, TAddFolderForm::SearchingHeight);
        EXPECT_EQ(captionWhileSearching, "Stop");
        EXPECT_TRUE(form->IsSearchStarted());
        const std::vector<std::string>& found = form->GetFoundFiles();
        EXPECT_EQ(TPaths(found.begin(), found.end()), c.Expected);
        EXPECT_EQ(form->GetFoundFileCount(), static_cast<int>(c.Expected.size()));
        EXPECT_EQ(form->lblFoundFilesCount->Caption(), std::to_string(c.Expected.size() ? c.Expected.size() : 0));
    }
}

TEST_F(AddFolderDialogTest, EscapeDuringASearchKeepsWhatWasFound)
{
    // Enough folders that the search is still under way when the key arrives.
    for (int folder = 0; folder < 200; ++folder)
        for (int file = 0; file < 10; ++file)
            Touch(Root + "/many/" + std::to_string(folder) + "/clip" + std::to_string(file) + ".avi");
    auto form = NewDialog(Root);
    form->chkIncludedSubdir->SetChecked(true);
    size_t shown = 0;
    RunModal<TAddFolderForm>(form.get(), [&](TAddFolderForm* f) {
        f->btnAddFolder->ButtonClick();
        // Wait until some files came in, then press Escape.
        while (f->GetFoundFileCount() == 0)
            CheckSynchronize(1000);
        Backend.Key(VK_ESCAPE);
    });
    shown = std::stoul(form->lblFoundFilesCount->Caption());
    const std::vector<std::string> kept = form->GetFoundFiles();
    EXPECT_EQ(kept.size(), shown) << "the paths kept are those the window counted";
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), 2004u) << "the search was stopped before it ended";
    // Nothing more reaches the closed window, though the main window goes on processing messages.
    for (int i = 0; i < 20; ++i) {
        CheckSynchronize(10);
        Pump();
    }
    EXPECT_EQ(form->GetFoundFiles(), kept);
    form.reset(); // waits for the search thread
    EXPECT_NE(ReadFile("LastSettings.ini").find("IncludedSubdir=1"), std::string::npos);
}

TEST_F(AddFolderDialogTest, DeletedWhileSearchingItWaitsForTheSearchAndHearsNothingMore)
{
    for (int folder = 0; folder < 300; ++folder)
        Touch(Root + "/many/" + std::to_string(folder) + "/clip.avi");
    for (int round = 0; round < 5; ++round) {
        auto form = NewDialog(Root);
        form->chkIncludedSubdir->SetChecked(true);
        form->Show();
        form->btnAddFolder->ButtonClick();
        for (int i = 0; i < round; ++i)
            CheckSynchronize(100);
        form.reset(); // the sanitizer build sees any hand-over that reached the deleted window
        CheckSynchronize(10);
        Pump();
    }
}

TEST_F(AddFolderDialogTest, ClosingBeforeASearchAddsNothingAndStillRemembersTheBox)
{
    WriteFile("LastSettings.ini", "[LastSettings]\nIncludedSubdir=5\n");
    auto form = NewDialog(Root);
    EXPECT_TRUE(form->chkIncludedSubdir->Checked()) << "any number but 0 ticks it";
    EXPECT_EQ(form->cbFileType->Items()->Count(), 12);
    EXPECT_EQ(form->cbFileType->ItemIndex(), 0);
    EXPECT_EQ(form->cbFileType->Text(), "All Supported Video Files");
    EXPECT_EQ(RunModal<TAddFolderForm>(form.get(), [this](TAddFolderForm*) { Backend.Key(VK_ESCAPE); }), mrCancel);
    EXPECT_FALSE(form->IsSearchStarted());
    EXPECT_EQ(form->GetFoundFileCount(), 0);
    form->chkIncludedSubdir->SetChecked(false);
    form.reset();
    EXPECT_NE(ReadFile("LastSettings.ini").find("IncludedSubdir=0"), std::string::npos);
}

TEST_F(AddFolderDialogTest, TheButtonNeedsAnExistingFolder)
{
    auto form = NewDialog(Root + "/sub dir");
    EXPECT_TRUE(form->btnAddFolder->Enabled());
    fs::remove_all(Root + "/sub dir");
    form->DirTreeViewChange(form->DirTreeView);
    EXPECT_FALSE(form->btnAddFolder->Enabled()) << "a folder gone meanwhile";
}

} // namespace
