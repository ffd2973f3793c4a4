// The skinned open, save and folder dialogs on the headless display, driven as a user would once their form is
// up, over a temporary tree (HOME and the XDG folders pointed into it): the save name completed and asked about
// before it is returned, confirming in open mode, navigation and its history, what is remembered between calls,
// the folder dialog, and the dialogs serving as the program's provider of the file dialogs.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/TBitmap.h"
#include "framework/dialogs/FileDialogProviders.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/dialogs/SkinDirectoryDialog.h"
#include "skin/dialogs/SkinFileCtrls.h"
#include "skin/dialogs/SkinFileDialogProvider.h"
#include "skin/dialogs/SkinFileDialogs.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/dialogs/TspSkinMessage.h"
#include "skin/lists/TspSkinScrollBox.h"
#include "tests/platform/ShellTestSupport.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

namespace {

class FileDialogsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Folder = Home.Home() + "/clips ü";
        std::filesystem::create_directories(Folder + "/inner");
        Home.Write(Folder + "/a clip.avi", "x");
        Home.Write(Folder + "/notes.txt", "x");
        Home.Write(Folder + "/zz.log", "x");
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        ControlsTest::TearDown();
    }

    // Runs `show`; once the dialog's form of type F is up, `drive` acts on it. A question asked meanwhile is
    // answered with `Answer` and its text kept in Asked. The form is cancelled if `drive` left it open.
    template <class F>
    bool Run(const std::function<bool()>& show, const std::function<void(F*)>& drive)
    {
        bool driven = false;
        Asked.clear();
        Application->OnIdle = [&](TObject*, bool& idle) {
            for (int i = 0; i < Screen->FormCount(); ++i) {
                if (auto* message = dynamic_cast<TspMessageForm*>(Screen->Forms(i)); message && message->Visible() && message->ModalResult() == mrNone) {
                    Asked.push_back(message->Message->Caption());
                    message->SetModalResult(Answer);
                    idle = false;
                    return;
                }
            }
            if (driven)
                return;
            for (int i = 0; i < Screen->FormCount(); ++i) {
                auto* form = dynamic_cast<F*>(Screen->Forms(i));
                if (!form || !form->Visible())
                    continue;
                driven = true;
                idle = false;
                drive(form);
                StillOpen = form->ModalResult() == mrNone;
                if (StillOpen)
                    form->SetModalResult(mrCancel); // never hang the suite
                return;
            }
        };
        const bool result = show();
        Application->OnIdle = nullptr;
        EXPECT_TRUE(driven);
        return result;
    }

    // Selects the list's item named `name`.
    static void Select(TspOpenDlgForm* form, const std::string& name)
    {
        for (int i = 0; i < form->FileList->FolderCount(); ++i)
            if (form->FileList->GetFolder(i)->DisplayName() == name)
                form->FileList->SetItemIndex(i);
    }

    TShellTestHome Home;
    std::string Folder;
    TModalResult Answer = mrOk;
    std::vector<std::string> Asked;
    bool StillOpen = false;
};

// The name a save returns is completed from the filter (or the default extension) before the overwrite
// question, so the file asked about is the file returned; declining keeps the dialog open.
TEST_F(FileDialogsTest, SaveCompletesTheNameBeforeAskingAboutIt)
{
    struct Case {
        std::string Filter;
        std::string DefaultExt;
        std::string Typed;
        TModalResult Answer;
        std::string Returned; // "" when the dialog stays open
        bool Asks;
    };
    const Case cases[] = {
        { "Text|*.txt", "", "notes", mrOk, "notes.txt", true },
        { "Text|*.txt", "", "notes", mrCancel, "", true },
        { "Text|*.txt", "log", "fresh", mrOk, "fresh.txt", false },
        { "All|*.*", "avi", "a clip", mrOk, "a clip.avi", true },
        { "All|*.*", "", "plain", mrOk, "plain", false },
        { "Pictures|*.bmp;*.ico", "", "picture", mrOk, "picture.bmp", false },
        { "All|*.*", "", "new*", mrOk, "", false },
    };
    for (const Case& c : cases) {
        TspSkinSaveDialog dialog(nullptr);
        dialog.Filter = c.Filter;
        dialog.DefaultExt = c.DefaultExt;
        dialog.OverwritePromt = true;
        dialog.InitialDir = Folder;
        Answer = c.Answer;
        const bool chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
            form->Edit->SetText(c.Typed);
            form->OpenButtonClick(form->OpenButton);
        });
        const std::string what = c.Filter + " " + c.Typed;
        EXPECT_EQ(chosen, !c.Returned.empty()) << what;
        EXPECT_EQ(StillOpen, c.Returned.empty()) << what;
        EXPECT_EQ(Asked.size(), c.Asks ? 1u : 0u) << what;
        if (!c.Returned.empty())
            EXPECT_EQ(dialog.FileName(), Folder + "/" + c.Returned) << what;
    }
}

TEST_F(FileDialogsTest, OpenConfirmsOnlyAnExistingSelectedFile)
{
    TspSkinOpenDialog dialog(nullptr);
    dialog.InitialDir = Folder;
    EXPECT_EQ(dialog.GetSelectedFile(), "") << "nothing is selected outside Execute";

    // An empty edit never closes; a selected file fills the edit and is returned with its full path.
    std::string duringExecute;
    bool chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        Select(form, "a clip.avi");
        form->Edit->SetText("");
        form->OpenButtonClick(form->OpenButton);
        EXPECT_EQ(form->ModalResult(), mrNone) << "an empty edit";
        Select(form, "notes.txt");
        EXPECT_EQ(form->Edit->Text(), "notes.txt");
        duringExecute = dialog.GetSelectedFile();
        form->OpenButtonClick(form->OpenButton);
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(duringExecute, Folder + "/notes.txt");
    EXPECT_EQ(dialog.FileName(), Folder + "/notes.txt");
    ASSERT_EQ(dialog.Files()->Count(), 1);
    EXPECT_EQ(dialog.Files()->Strings(0), Folder + "/notes.txt");

    // A file gone between listing and confirming keeps the dialog open with no result.
    chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        Select(form, "zz.log");
        std::filesystem::remove(Folder + "/zz.log");
        form->OpenButtonClick(form->OpenButton);
        EXPECT_EQ(form->ResultFileName, "");
    });
    EXPECT_FALSE(chosen);
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(dialog.FileName(), Folder + "/notes.txt") << "a cancel leaves the last choice";
}

TEST_F(FileDialogsTest, NavigationHistoryAndTypedPaths)
{
    TspSkinOpenDialog dialog(nullptr);
    dialog.SetFileName(Folder + "/notes.txt");
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->FileList->GetPath(), Folder) << "the folder of FileName comes first";
        EXPECT_EQ(form->Edit->Text(), "notes.txt");
        form->BackToolButtonClick(nullptr);
        EXPECT_EQ(form->FileList->GetPath(), Folder) << "Back with one folder seen does nothing";

        // Into a folder, up again, then back twice: never past the first folder.
        form->FileList->SetPath(Folder + "/inner");
        EXPECT_EQ(form->FileList->GetPath(), Folder + "/inner");
        EXPECT_EQ(form->FolderBox->GetPath(), Folder + "/inner") << "the path box follows the list";
        form->UpToolButtonClick(nullptr);
        EXPECT_EQ(form->FileList->GetPath(), Folder);
        form->BackToolButtonClick(nullptr);
        EXPECT_EQ(form->FileList->GetPath(), Folder + "/inner");
        form->BackToolButtonClick(nullptr);
        EXPECT_EQ(form->FileList->GetPath(), Folder);
        form->BackToolButtonClick(nullptr);
        EXPECT_EQ(form->FileList->GetPath(), Folder);

        // A typed mask filters; a typed folder is gone to when it exists and ignored when not.
        char32_t enter = U'\r';
        form->Edit->SetText("*.txt");
        form->EditKeyPress(form->Edit, enter);
        EXPECT_EQ(form->FileList->FolderCount(), 2) << "the folder and notes.txt";
        form->Edit->SetText(Folder + "/missing/");
        form->EditKeyPress(form->Edit, enter);
        EXPECT_EQ(form->FileList->GetPath(), Folder);
        form->Edit->SetText("inner/");
        form->EditKeyPress(form->Edit, enter);
        EXPECT_EQ(form->FileList->GetPath(), Folder + "/inner");

        // A new folder is made where the list is, and listed.
        form->NewFolderToolButtonClick(nullptr);
        EXPECT_TRUE(std::filesystem::is_directory(Folder + "/inner/New Folder"));
        EXPECT_EQ(form->FileList->FolderCount(), 1);
    });
}

TEST_F(FileDialogsTest, SizeFilterAndViewAreRemembered)
{
    TspSkinOpenDialog dialog(nullptr);
    dialog.Filter = "Videos|*.avi|Texts|*.txt|All|*.*";
    dialog.FilterIndex = 2;
    dialog.InitialDir = Home.Root() + "/missing";
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->ClientWidth(), 450);
        EXPECT_EQ(form->ClientHeight(), 290);
        EXPECT_EQ(form->FileList->GetPath(), ExcludeTrailingPathDelimiter(ExeFolder())) << "a missing InitialDir";
        EXPECT_EQ(form->FilterBox->ItemIndex(), 1) << "the filter FilterIndex names is shown";
        EXPECT_EQ(form->FileList->Mask(), "*.txt") << "and its mask applied";
        form->FileList->SetPath(Folder);
        EXPECT_EQ(form->FileList->FolderCount(), 2);
        form->FilterBox->SetItemIndex(0);
        EXPECT_EQ(form->FileList->Mask(), "*.avi");
        form->SetViewStyle(vsReport);
        EXPECT_TRUE(form->ViewItems[3]->Checked());
        EXPECT_FALSE(form->ViewItems[2]->Checked());
        form->SetClientWidth(520);
        form->SetClientHeight(330);
    });
    EXPECT_EQ(dialog.FilterIndex, 1);
    EXPECT_EQ(dialog.DialogWidth, 520);
    EXPECT_EQ(dialog.DialogHeight, 330);
    EXPECT_EQ(dialog.ViewStyle(), vsReport);
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->ClientWidth(), 520);
        EXPECT_EQ(form->FileList->ViewStyle(), vsReport);
        EXPECT_TRUE(form->ViewItems[3]->Checked());
        EXPECT_EQ(form->FileList->Mask(), "*.avi");
    });
}

TEST_F(FileDialogsTest, FolderDialogGoesMakesAndReturns)
{
    TspSkinSelectDirectoryDialog dialog(nullptr);
    dialog.ShowToolBar = true;
    dialog.Directory = Folder;
    bool chosen = Run<TspSelDirDlgForm>([&] { return dialog.Execute(); }, [&](TspSelDirDlgForm* form) {
        EXPECT_EQ(form->ClientWidth(), 280);
        EXPECT_EQ(form->ClientHeight(), 280);
        EXPECT_EQ(form->DirTree->GetPath(), Folder);
        EXPECT_EQ(form->PathEdit->Text(), Folder);
        form->NewFolderToolButtonClick(nullptr);
        EXPECT_TRUE(std::filesystem::is_directory(Folder + "/New Folder"));
        EXPECT_EQ(form->DirTree->GetPath(), Folder) << "the selection stays on the refreshed folder";
        char32_t enter = U'\r';
        form->PathEdit->SetText(Folder + "/New Folder");
        form->EditKeyPress(form->PathEdit, enter);
        EXPECT_EQ(form->DirTree->GetPath(), Folder + "/New Folder");
        form->PathEdit->SetText(Folder + "/missing");
        form->EditKeyPress(form->PathEdit, enter);
        EXPECT_EQ(form->DirTree->GetPath(), Folder + "/New Folder") << "a missing folder is ignored";
        form->OKButton->ButtonClick();
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.Directory, Folder + "/New Folder");

    // A missing folder opens on the computer; Cancel keeps Directory.
    dialog.Directory = Home.Root() + "/missing";
    dialog.ShowToolBar = false;
    chosen = Run<TspSelDirDlgForm>([&] { return dialog.Execute(); }, [&](TspSelDirDlgForm* form) {
        EXPECT_EQ(form->PathEdit, nullptr);
        ASSERT_TRUE(form->DirTree->SelectedFolder());
        EXPECT_EQ(form->DirTree->SelectedFolder()->DisplayName(), "Computer");
        // Nothing is made under a virtual folder.
        form->NewFolderToolButtonClick(nullptr);
        form->CancelButton->ButtonClick();
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.Directory, Home.Root() + "/missing");
}

// The preview strip: as high as PaintPanelSize (the dialog's default height grows with it), painted by the
// program, repainted on demand for the file just selected, and nothing after Execute has returned.
TEST_F(FileDialogsTest, PreviewStripPaintsTheSelectedFile)
{
    TspSkinOpenPreviewDialog dialog(nullptr);
    dialog.InitialDir = Folder;
    dialog.PaintPanelSize = 100;
    std::vector<std::string> painted;
    dialog.OnPreviewPanelPaint = [&](TCanvas*, TRect) { painted.push_back(ExtractFileName(dialog.GetSelectedFile())); };
    dialog.OnFolderChange = [&](TObject*) { dialog.PreviewPanelRePaint(); };
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->ClientHeight(), 390);
        ASSERT_TRUE(dialog.PreviewPanel());
        EXPECT_EQ(dialog.PreviewPanel()->Height(), 100);
        painted.clear();
        Select(form, "notes.txt");
        ASSERT_FALSE(painted.empty());
        EXPECT_EQ(painted.back(), "notes.txt");
    });
    EXPECT_EQ(dialog.PreviewPanel(), nullptr);
    const size_t count = painted.size();
    dialog.PreviewPanelRePaint();
    EXPECT_EQ(painted.size(), count) << "nothing to repaint after Execute";
}

// Play and Stop go to the program with their button as the sender; closing, by OK or Cancel, calls Stop once
// more with the dialog as the sender.
TEST_F(FileDialogsTest, SoundDialogStopsOnceMoreAsItCloses)
{
    TspSkinOpenSoundDialog dialog(nullptr);
    dialog.InitialDir = Folder;
    std::vector<TObject*> plays;
    std::vector<TObject*> stops;
    dialog.OnPlayButtonClick = [&](TObject* sender) { plays.push_back(sender); };
    dialog.OnStopButtonClick = [&](TObject* sender) { stops.push_back(sender); };
    for (const bool ok : { false, true }) {
        plays.clear();
        stops.clear();
        TObject* play = nullptr;
        TObject* stop = nullptr;
        const bool chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
            EXPECT_EQ(form->ClientHeight(), 330);
            play = dialog.PlayButton();
            stop = dialog.StopButton();
            dialog.PlayButton()->Click();
            dialog.StopButton()->Click();
            if (ok) {
                Select(form, "notes.txt");
                form->OpenButtonClick(nullptr);
            }
        });
        EXPECT_EQ(chosen, ok);
        EXPECT_EQ(plays, (std::vector<TObject*> { play }));
        EXPECT_EQ(stops, (std::vector<TObject*> { stop, &dialog })) << (ok ? "OK" : "Cancel");
    }
}

// The picture dialog shows the selected picture at its natural size or stretched to the pane, as its toggle
// says; a folder empties it, a file that is no picture leaves the dialog usable; the pane's width and the
// toggle carry over to the next Execute.
TEST_F(FileDialogsTest, PictureDialogShowsTheSelectedPicture)
{
    const std::string pictures = Folder + "/pictures";
    std::filesystem::create_directories(pictures + "/sub");
    for (const auto& [name, width, height] : { std::tuple { "small.bmp", 30, 20 }, std::tuple { "large.bmp", 400, 300 } }) {
        TBitmap bitmap;
        bitmap.SetSize(width, height);
        bitmap.SaveToFile(pictures + "/" + name);
    }
    Home.Write(pictures + "/bad.bmp", "not a picture");
    TspSkinOpenPictureDialog dialog(nullptr);
    dialog.Filter = "Bitmaps|*.bmp";
    dialog.InitialDir = pictures;
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->ClientWidth(), 550);
        TImage* image = dialog.Image();
        Select(form, "small.bmp");
        EXPECT_EQ(form->Edit->Text(), "small.bmp");
        EXPECT_EQ(image->Width(), 30);
        EXPECT_EQ(image->Height(), 20);
        // A file that is no picture: its error goes to the framework's report, and the dialog goes on.
        Select(form, "bad.bmp");
        EXPECT_EQ(form->Edit->Text(), "bad.bmp");
        Select(form, "small.bmp");
        EXPECT_EQ(image->Width(), 30);
        Select(form, "sub");
        EXPECT_EQ(form->Edit->Text(), "");
        EXPECT_EQ(image->Width(), 0);
        dialog.StretchButton()->SetDown(true);
        dialog.StretchButton()->Click();
        Select(form, "large.bmp");
        EXPECT_TRUE(image->Stretch());
        EXPECT_EQ(image->Width(), dialog.ScrollBox()->ClientWidth()) << "stretched to the pane";
        dialog.PreviewPanel()->SetWidth(250);
    });
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm*) {
        EXPECT_TRUE(dialog.StretchButton()->Down()) << "the toggle carries over";
        EXPECT_EQ(dialog.PreviewPanel()->Width(), 250);
        dialog.StretchButton()->SetDown(false);
        dialog.StretchButton()->Click();
        EXPECT_FALSE(dialog.Image()->Stretch());
    });
    dialog.StretchPicture = true;
    Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm*) {
        EXPECT_TRUE(dialog.StretchButton()->Down()) << "StretchPicture always starts stretched";
    });
}

// The open-skin dialog shows the skin selected on its sample as the chosen filter says (an INI skin here), loads
// nothing under another filter, keeps the last good skin for a file that is no skin, and returns the typed name
// only once it exists.
TEST_F(FileDialogsTest, SkinDialogShowsTheSelectedSkinOnItsSample)
{
    TFixtureSkin fixture;
    const std::string ini = fixture.Write();
    const std::string folder = ExcludeTrailingPathDelimiter(ExtractFilePath(ini));
    Home.Write(folder + "/bogus.ini", "[nothing]\nkey=1\n");
    TspOpenSkinDialog dialog(nullptr);
    dialog.Filter = "Packed|*.skn|Skin folders|*.ini|All|*.*";
    dialog.FilterIndex = 2;
    dialog.InitialDir = folder;
    bool chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->ClientWidth(), 580);
        EXPECT_FALSE(dialog.SampleForm()->Visible()) << "no skin yet";
        Select(form, ExtractFileName(ini));
        EXPECT_EQ(form->Edit->Text(), ExtractFileName(ini));
        EXPECT_FALSE(dialog.SampleSkin()->Empty);
        EXPECT_TRUE(dialog.SampleForm()->Visible());
        Select(form, "bogus.ini");
        EXPECT_FALSE(dialog.SampleSkin()->Empty) << "a file that is no skin leaves the last one";
        EXPECT_TRUE(dialog.SampleForm()->Visible());
        form->Edit->SetText("missing.ini");
        form->OpenButtonClick(nullptr);
        EXPECT_EQ(form->ModalResult(), mrNone) << "a typed name that does not exist";
        form->Edit->SetText(ExtractFileName(ini));
        form->OpenButtonClick(nullptr);
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.FileName(), ini);
    EXPECT_EQ(dialog.SampleForm(), nullptr);

    // Under a filter of neither kind nothing is loaded; Cancel keeps the name.
    dialog.FilterIndex = 3;
    chosen = Run<TspOpenDlgForm>([&] { return dialog.Execute(); }, [&](TspOpenDlgForm* form) {
        EXPECT_FALSE(dialog.SampleForm()->Visible());
        Select(form, ExtractFileName(ini));
        EXPECT_TRUE(dialog.SampleSkin()->Empty);
        EXPECT_FALSE(dialog.SampleForm()->Visible());
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.FileName(), ini);
}

// One skin often dresses both the window and the controls: letting go of it as one keeps the notice of its
// end for the other, so a freed skin is never used.
TEST_F(FileDialogsTest, ASkinHeldTwiceIsForgottenWhenFreed)
{
    TspSkinOpenDialog dialog(nullptr);
    auto* skin = new TspSkinData(nullptr);
    auto* other = new TspSkinData(nullptr);
    dialog.SetSkinData(skin);
    dialog.SetCtrlSkinData(skin);
    dialog.SetCtrlSkinData(other);
    delete skin;
    EXPECT_EQ(dialog.SkinData(), nullptr);
    EXPECT_EQ(dialog.CtrlSkinData(), other);
    delete other;
    EXPECT_EQ(dialog.CtrlSkinData(), nullptr);
}

// Installed as the program's provider, the dialogs answer the file-dialog requests: the chosen paths, the
// filter in use, or a cancel.
TEST_F(FileDialogsTest, ServeAsTheProgramsFileDialogProvider)
{
    SetFileDialogProviders({});
    InstallFileDialogProvider(NewSkinFileDialogProvider());
    TFileChooserRequest open;
    open.Title = "Add files";
    open.Folder = Folder;
    open.Filters = { { "Videos", { "*.avi", "*.mp4" } }, { "Texts", { "*.txt" } } };
    open.FilterIndex = 1;
    TFileChooserResult result;
    Run<TspOpenDlgForm>([&] {
        result = RunFileDialog(open, nullptr);
        return true;
    }, [&](TspOpenDlgForm* form) {
        EXPECT_EQ(form->Caption(), "Add files");
        EXPECT_EQ(form->FileList->Mask(), "*.txt");
        Select(form, "notes.txt");
        form->OpenButtonClick(nullptr);
    });
    EXPECT_EQ(result.Status, TFileChooserStatus::Chosen);
    EXPECT_EQ(result.Paths, (std::vector<std::string> { Folder + "/notes.txt" }));
    EXPECT_EQ(result.FilterIndex, 1);

    TFileChooserRequest save;
    save.Kind = TFileChooserKind::Save;
    save.Folder = Folder;
    save.FileName = "out";
    save.Filters = { { "Videos", { "*.mp4" } } };
    Run<TspOpenDlgForm>([&] {
        result = RunFileDialog(save, nullptr);
        return true;
    }, [&](TspOpenDlgForm* form) { form->OpenButtonClick(nullptr); });
    EXPECT_EQ(result.Status, TFileChooserStatus::Chosen);
    EXPECT_EQ(result.Paths, (std::vector<std::string> { Folder + "/out.mp4" }));

    TFileChooserRequest folder;
    folder.Kind = TFileChooserKind::Folder;
    Run<TspSelDirDlgForm>([&] {
        result = RunFileDialog(folder, nullptr);
        return true;
    }, [&](TspSelDirDlgForm* form) {
        EXPECT_EQ(form->DirTree->GetPath(), Home.Home()) << "no folder asked: the home";
        form->CancelButton->ButtonClick();
    });
    EXPECT_EQ(result.Status, TFileChooserStatus::Cancelled);
    ResetFileDialogProviders();
}

} // namespace
