// The file dialogs over injected providers: the order they are tried in, what the application's options
// become, the modal wait while a provider runs out of process, and what a dialog makes of each answer.
#include "ControlsTestSupport.h"
#include "framework/controls/TCustomEdit.h"
#include "framework/core/TStrings.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/dialogs/FileDialogProviders.h"

#include <future>
#include <thread>

namespace {

// Answers with a fixed result and records what it was asked. An out-of-process one asks the UI thread, through a
// posted message, whether the form takes input while it runs.
class TFakeProvider final : public TFileDialogProvider {
public:
    TFakeProvider(std::string name, TFileChooserStatus status, bool outOfProcess, std::vector<std::string>* calls)
        : FName(std::move(name))
        , FStatus(status)
        , FOutOfProcess(outOfProcess)
        , FCalls(calls)
    {
    }
    std::string Name() const override { return FName; }
    bool OutOfProcess() const override { return FOutOfProcess; }
    TFileChooserResult Run(const TFileChooserRequest& request) override
    {
        FCalls->push_back(FName);
        Requests.push_back(request);
        if (Probe)
            Probe();
        TFileChooserResult result;
        result.Status = FStatus;
        if (FStatus == TFileChooserStatus::Chosen) {
            result.Paths = Paths;
            result.FilterIndex = 2;
        } else if (FStatus == TFileChooserStatus::Unavailable) {
            result.Error = "not here";
        }
        return result;
    }
    std::vector<TFileChooserRequest> Requests;
    std::vector<std::string> Paths { "/videos/first clip.avi", "/videos/zweite Übung.mkv" };
    std::function<void()> Probe;

private:
    std::string FName;
    TFileChooserStatus FStatus;
    bool FOutOfProcess;
    std::vector<std::string>* FCalls;
};

constexpr const char* kVideoFilter = "All Supported Video Files|*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mov;*.qt;*.vob;"
                                     "*.rmvb;*.rm;*.mp4;*.mkv;*.ogm;*.flv|AVI Files(*.avi)|*.avi|Windows Media "
                                     "Files(*.wmv, *.asf)|*.wmv;*.asf|All Files(*.*)|*.*";

class FileDialogs : public ControlsTest {
protected:
    void TearDown() override
    {
        ResetFileDialogProviders();
        ControlsTest::TearDown();
    }
    // Installs providers with these statuses, in order; the last one as the program's installed provider.
    std::vector<TFakeProvider*> Use(std::vector<TFileChooserStatus> statuses, bool installLast = false)
    {
        std::vector<std::unique_ptr<TFileDialogProvider>> list;
        std::vector<TFakeProvider*> fakes;
        for (size_t i = 0; i < statuses.size(); ++i) {
            auto fake = std::make_unique<TFakeProvider>(
                "p" + std::to_string(i), statuses[i], !(installLast && i + 1 == statuses.size()), &Calls);
            fakes.push_back(fake.get());
            list.push_back(std::move(fake));
        }
        std::unique_ptr<TFileDialogProvider> installed;
        if (installLast) {
            installed = std::move(list.back());
            list.pop_back();
        }
        SetFileDialogProviders(std::move(list));
        if (installed)
            InstallFileDialogProvider(std::move(installed));
        return fakes;
    }
    std::vector<std::string> Calls;
};

} // namespace

TEST_F(FileDialogs, ProvidersAreTriedInOrderUntilOneShowsADialog)
{
    using S = TFileChooserStatus;
    struct TCase {
        std::vector<S> Statuses;
        bool InstallLast;
        std::vector<std::string> Calls;
        bool Executed;
        size_t BoxesShown;
    };
    const TCase cases[] = {
        // Portal present: nothing else is asked.
        { { S::Chosen, S::Chosen, S::Chosen }, true, { "p0" }, true, 0 },
        // Portal absent or failing: zenity.
        { { S::Unavailable, S::Chosen, S::Chosen }, true, { "p0", "p1" }, true, 0 },
        // Neither (zenity missing or killed): the installed provider.
        { { S::Unavailable, S::Unavailable, S::Chosen }, true, { "p0", "p1", "p2" }, true, 0 },
        // A cancel is the user's answer: no other dialog follows.
        { { S::Cancelled, S::Chosen, S::Chosen }, true, { "p0" }, false, 0 },
        { { S::Unavailable, S::Cancelled, S::Chosen }, true, { "p0", "p1" }, false, 0 },
        // Nobody can show one: the user is told why.
        { { S::Unavailable, S::Unavailable }, false, { "p0", "p1" }, false, 1 },
        { {}, false, {}, false, 1 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Calls));
        Calls.clear();
        Boxes.clear();
        Use(c.Statuses, c.InstallLast);
        TOpenDialog dialog(nullptr);
        EXPECT_EQ(dialog.Execute(), c.Executed);
        EXPECT_EQ(Calls, c.Calls);
        EXPECT_EQ(Boxes.size(), c.BoxesShown);
        if (c.BoxesShown && !c.Calls.empty())
            EXPECT_NE(Boxes[0].find("p1: not here"), std::string::npos) << Boxes[0];
    }
}

TEST_F(FileDialogs, TheApplicationsOptionsReachTheProviderAndTheChoiceComesBack)
{
    auto fakes = Use({ TFileChooserStatus::Chosen });
    TOpenDialog open(nullptr);
    open.SetTitle("Add Video Files");
    open.SetFilter(kVideoFilter);
    open.SetFilterIndex(1);
    open.SetInitialDir("/videos");
    open.SetOptions({ ofHideReadOnly, ofAllowMultiSelect, ofExtensionDifferent, ofEnableSizing });
    ASSERT_TRUE(open.Execute());
    const TFileChooserRequest& r = fakes[0]->Requests.at(0);
    EXPECT_EQ(r.Kind, TFileChooserKind::Open);
    EXPECT_EQ(r.Title, "Add Video Files");
    EXPECT_TRUE(r.Multiple);
    EXPECT_EQ(r.Folder, "/videos");
    EXPECT_EQ(r.FilterIndex, 0);
    ASSERT_EQ(r.Filters.size(), 4u);
    EXPECT_EQ(r.Filters[0].Name, "All Supported Video Files");
    EXPECT_EQ(r.Filters[0].Patterns.size(), 14u);
    EXPECT_EQ(r.Filters[2].Patterns, (std::vector<std::string> { "*.wmv", "*.asf" }));
    EXPECT_EQ(r.Filters[3].Patterns, (std::vector<std::string> { "*.*" }));
    ASSERT_EQ(open.Files()->Count(), 2);
    EXPECT_EQ(open.Files()->Strings(1), "/videos/zweite Übung.mkv");
    EXPECT_EQ(open.FileName(), "/videos/first clip.avi");
    EXPECT_EQ(open.FilterIndex(), 3);

    // Saving: one file, the suggested name and folder, the overwrite prompt, and the default extension added to
    // a name without one.
    fakes = Use({ TFileChooserStatus::Chosen });
    fakes[0]->Paths = { "/out/report" };
    TSaveDialog save(nullptr);
    save.SetFilter("Text|*.txt");
    save.SetFileName("/home/me/notes.txt");
    save.SetDefaultExt("txt");
    save.SetOptions({ ofOverwritePrompt, ofAllowMultiSelect });
    ASSERT_TRUE(save.Execute());
    const TFileChooserRequest& s = fakes[0]->Requests.at(0);
    EXPECT_EQ(s.Kind, TFileChooserKind::Save);
    EXPECT_EQ(s.Title, "Save As");
    EXPECT_FALSE(s.Multiple);
    EXPECT_TRUE(s.OverwritePrompt);
    EXPECT_EQ(s.Folder, "/home/me");
    EXPECT_EQ(s.FileName, "notes.txt");
    EXPECT_EQ(save.FileName(), "/out/report.txt");
    EXPECT_FALSE(save.Options().Contains(ofExtensionDifferent));

    // The folder browser of the output folder: its title, no folder preselected, the chosen folder back.
    fakes = Use({ TFileChooserStatus::Chosen });
    fakes[0]->Paths = { "/home/me/Ausgabe Ordner" };
    std::string folder = "unchanged";
    ASSERT_TRUE(SelectDirectory("Select Directory", "", folder));
    EXPECT_EQ(fakes[0]->Requests.at(0).Kind, TFileChooserKind::Folder);
    EXPECT_EQ(fakes[0]->Requests.at(0).Title, "Select Directory");
    EXPECT_EQ(fakes[0]->Requests.at(0).Folder, "");
    EXPECT_EQ(folder, "/home/me/Ausgabe Ordner");
    Use({ TFileChooserStatus::Cancelled });
    EXPECT_FALSE(SelectDirectory("Select Directory", "", folder));
    EXPECT_EQ(folder, "/home/me/Ausgabe Ordner");
}

TEST_F(FileDialogs, WhileAProviderRunsElsewhereTheFormsTakeNoInputAndKeepPainting)
{
    TForm* form = NewForm(100, 100, 200, 100);
    form->Show();
    Pump();
    auto fakes = Use({ TFileChooserStatus::Chosen });
    // The provider's thread asks the UI thread, by a posted message it must dispatch, to repaint the form; the
    // paint, which comes only when the loop goes idle, answers whether the form takes input.
    std::promise<bool> answer;
    bool armed = false;
    const auto saved = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 7) {
            armed = true;
            InvalidateRect(form->Handle(), nullptr, TRUE);
        }
        if (m.Msg == WM_PAINT && armed) {
            armed = false;
            answer.set_value(IsWindowEnabled(form->Handle()));
        }
        saved(m);
    };
    std::thread::id providerThread;
    bool enabledWhileUp = true;
    fakes[0]->Probe = [&] {
        providerThread = std::this_thread::get_id();
        std::future<bool> painted = answer.get_future();
        PostMessage(form->Handle(), WM_USER + 7, 0, 0);
        enabledWhileUp = painted.get();
    };
    TOpenDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Execute());
    form->WindowProc = saved;
    EXPECT_NE(providerThread, std::this_thread::get_id());
    EXPECT_FALSE(enabledWhileUp);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

// The forms are disabled while the dialog is up, which takes the focus from them: the window and the control that
// had it get it back, so the keyboard goes on where it was.
TEST_F(FileDialogs, AfterTheDialogTheFocusIsWhereItWas)
{
    TForm* form = NewForm(100, 100, 200, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 100, 20);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 40, 100, 20);
    form->Show();
    other->SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), other->Handle());
    for (TFileChooserStatus status : { TFileChooserStatus::Chosen, TFileChooserStatus::Cancelled }) {
        Use({ status });
        TOpenDialog dialog(nullptr);
        dialog.Execute();
        Pump();
        EXPECT_EQ(GetActiveWindow(), form->Handle());
        EXPECT_EQ(GetFocus(), other->Handle());
    }
}
