#include "ControlsTestSupport.h"
#include "framework/core/TList.h"
#include "framework/core/TThread.h"
#include "framework/graphics/TIcon.h"

#include <thread>

namespace {

// A main form with a button-like box; dialogs made on demand.
class FormFixture : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Application->CreateForm(Main);
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(100, 100, 300, 200);
        Main->SetName("Main");
        Edit = new TRecordingBox(Main, &Trace, "Edit");
        Edit->SetBounds(10, 10, 100, 20);
        Edit->SetParent(Main);
        Main->Show();
        Pump();
        Trace.clear();
    }

    // A modal-ready dialog at (500, 100) with a button at its 10,10 (screen 510, 110).
    TForm* NewDialog(const char* name, TRecordingBox** button = nullptr)
    {
        TForm* dialog = NewForm(500, 100, 200, 100);
        dialog->SetName(name);
        auto* b = new TRecordingBox(dialog, &Trace, (std::string(name) + "Button").c_str());
        b->SetBounds(10, 10, 50, 20);
        b->SetParent(dialog);
        if (button)
            *button = b;
        return dialog;
    }

    TTrace Trace;
    std::vector<std::string> Log;
    TForm* Main = nullptr;
    TRecordingBox* Edit = nullptr;
};

} // namespace

TEST_F(FormFixture, ShowModalRunsUntilModalResultAndDisablesTheOtherForms)
{
    TRecordingBox* ok = nullptr;
    TForm* dialog = NewDialog("Dialog", &ok);
    ok->OnClick = [&](TObject*) { dialog->SetModalResult(mrOk); };
    dialog->OnShow = [&](TObject*) {
        Log.push_back(std::string("main enabled: ") + (IsWindowEnabled(Main->Handle()) ? "yes" : "no"));
        Backend.AdvanceClock(1000);
        Backend.Click(515, 115);
    };
    dialog->OnHide = [&](TObject*) { Log.push_back("hide"); };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(Log, (std::vector<std::string> { "main enabled: no", "hide" }));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_EQ(GetActiveWindow(), Main->Handle());
    EXPECT_THROW(Main->ShowModal(), EInvalidOperation); // a visible form cannot go modal
}

TEST_F(FormFixture, AModalFormOpensFromInsideAnotherModalLoop)
{
    TRecordingBox* openButton = nullptr;
    TForm* outer = NewDialog("Outer", &openButton);
    TForm* inner = NewForm(520, 300, 100, 80);
    openButton->OnClick = [&](TObject*) {
        Log.push_back("inner opens");
        const TModalResult r = inner->ShowModal();
        Log.push_back("inner returned " + std::to_string(r));
        outer->SetModalResult(mrOk);
    };
    outer->OnShow = [&](TObject*) {
        Backend.AdvanceClock(1000);
        Backend.Click(515, 115);
    };
    inner->OnShow = [&](TObject*) {
        Log.push_back(std::string("outer enabled: ") + (IsWindowEnabled(outer->Handle()) ? "yes" : "no"));
        PostMessage(inner->Handle(), WM_CLOSE, 0, 0); // closing a modal form ends its loop with mrCancel
    };
    EXPECT_EQ(outer->ShowModal(), mrOk);
    EXPECT_EQ(Log, (std::vector<std::string> { "inner opens", "outer enabled: no", "inner returned 2" }));
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_TRUE(IsWindowEnabled(outer->Handle()));
}

TEST_F(FormFixture, AModalFormOpensFromInsideProcessMessages)
{
    // A long operation that keeps the windows alive by pumping, as a conversion does, and a handler that
    // asks a question from inside that pump.
    TForm* question = NewForm(520, 300, 100, 80);
    question->OnShow = [&](TObject*) { PostMessage(question->Handle(), WM_CLOSE, 0, 0); };
    question->OnCloseQuery = [&](TObject*, bool& canClose) {
        Log.push_back("asked");
        canClose = true;
    };
    TModalResult answer = mrNone;
    const auto saved = Edit->WindowProc;
    Edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 1) {
            answer = question->ShowModal();
            return;
        }
        saved(m);
    };
    PostMessage(Edit->Handle(), WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    Edit->WindowProc = saved;
    EXPECT_EQ(answer, mrCancel);
    EXPECT_EQ(Log, (std::vector<std::string> { "asked" }));
    EXPECT_FALSE(question->Visible());
}

TEST_F(FormFixture, ASynchronizedCallIsServedWhileAModalLoopRuns)
{
    TForm* dialog = NewDialog("Waiting");
    std::thread worker;
    dialog->OnShow = [&](TObject*) {
        worker = std::thread([&] {
            TThread::Synchronize(nullptr, [&] {
                Log.push_back(GetCurrentThreadId() == MainThreadID() ? "on main thread" : "elsewhere");
                dialog->SetModalResult(mrYes);
            });
        });
    };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    worker.join();
    EXPECT_EQ(Log, (std::vector<std::string> { "on main thread" }));
}

TEST_F(FormFixture, CloseAsksOnCloseQueryThenActsOnTheCloseAction)
{
    TForm* tool = NewForm(500, 100, 100, 100);
    bool allow = false;
    TCloseAction action = caHide;
    tool->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    tool->OnClose = [&](TObject*, TCloseAction& a) { a = action; };
    tool->Show();
    tool->Close();
    EXPECT_TRUE(tool->Visible()); // refused
    allow = true;
    tool->Close();
    EXPECT_FALSE(tool->Visible());
    tool->Show();
    action = caNone;
    tool->Close();
    EXPECT_TRUE(tool->Visible());
    action = caFree;
    bool destroyed = false;
    tool->OnDestroy = [&](TObject*) { destroyed = true; };
    const int before = Screen->FormCount();
    tool->Close();
    EXPECT_FALSE(destroyed); // released once the queue is handled, not from inside the handler
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST_F(FormFixture, ClosingTheMainFormTerminatesTheApplication)
{
    // Main is the first form the application made.
    ASSERT_EQ(Application->MainForm(), Main);
    Main->Close();
    Pump();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormFixture, KeyPreviewLetsTheFormSeeAndEatKeysFirst)
{
    Edit->SetFocus();
    Pump();
    std::vector<std::string> keys;
    Main->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        keys.push_back("form down " + std::to_string(key));
        if (key == VK_F2)
            key = 0;
    };
    Main->OnKeyPress = [&](TObject*, char32_t& key) { keys.push_back("form press " + std::to_string(key)); };
    Edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back("edit down " + std::to_string(key)); };
    Edit->OnKeyPress = [&](TObject*, char32_t& key) { keys.push_back("edit press " + std::to_string(key)); };
    Backend.Key('A');
    Pump();
    EXPECT_EQ(keys, (std::vector<std::string> { "edit down 65", "edit press 97" })); // no preview yet
    keys.clear();
    Main->SetKeyPreview(true);
    Backend.Key('A');
    Backend.Key(VK_F2);
    Pump();
    EXPECT_EQ(keys,
        (std::vector<std::string> {
            "form down 65", "edit down 65", "form press 97", "edit press 97", "form down 113" }));
}

TEST_F(FormFixture, FormsAreListedInCreationOrderAndActivationFiresItsEvents)
{
    TForm* second = NewForm(500, 100, 100, 100);
    ASSERT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), Main);
    EXPECT_EQ(Screen->Forms(1), second);
    Main->OnDeactivate = [&](TObject*) { Log.push_back("main deactivate"); };
    second->OnShow = [&](TObject*) { Log.push_back("second show"); };
    second->OnActivate = [&](TObject*) { Log.push_back("second activate"); };
    second->Show();
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string> { "second show", "main deactivate", "second activate" }));
    EXPECT_EQ(Screen->ActiveForm(), second);
    // Activating never reorders the list.
    EXPECT_EQ(Screen->Forms(0), Main);
    Main->SetFocus();
    Pump();
    EXPECT_EQ(Screen->ActiveForm(), Main);
    EXPECT_EQ(Screen->ActiveControl(), Edit); // the form's active control gets the focus back
}

TEST_F(FormFixture, ConstraintsLimitTheSizeFromCodeAndFromTheSizeLoop)
{
    Main->Constraints()->SetMinWidth(200);
    Main->Constraints()->SetMaxHeight(150);
    Main->SetBounds(100, 100, 50, 400);
    EXPECT_EQ(Main->Width(), 200);
    EXPECT_EQ(Main->Height(), 150);
    MINMAXINFO info {};
    SendMessage(Main->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMaxTrackSize.y, 150);
}

namespace {

// A form that builds itself in its constructor, as the application's forms do.
class TLoggingForm : public TForm {
    using inherited = TForm;

public:
    TLoggingForm(TComponent* owner, std::vector<std::string>* log)
        : TForm(owner)
        , FLog(log)
    {
        OnCreate = [this](TObject*) { FLog->push_back("create " + FTitle); };
        OnDestroy = [this](TObject*) { FLog->push_back("destroy " + FTitle); };
        FTitle = "settings";
    }
    // OnDestroy uses this form's own member: it runs first, while the member is alive.
    ~TLoggingForm() override { DoDestroy(); }

private:
    std::vector<std::string>* FLog;
    std::string FTitle;
};

} // namespace

TEST_F(FormFixture, OnCreateRunsOnceTheWholeFormIsMadeAndOnDestroyOnceAsItGoes)
{
    auto* form = TCustomForm::Create<TLoggingForm>(Application, &Log);
    EXPECT_EQ(Log, (std::vector<std::string> { "create settings" }));
    delete form;
    EXPECT_EQ(Log, (std::vector<std::string> { "create settings", "destroy settings" }));
}

TEST_F(FormFixture, AHookOnWindowProcSeesMessagesFirstAndMayKeepThemFromTheForm)
{
    int closes = 0;
    const auto saved = Main->WindowProc;
    Main->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_CLOSE) {
            ++closes;
            return; // swallowed: the form never hears of it
        }
        saved(m);
    };
    SendMessage(Main->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Application->Terminated());
    Main->WindowProc = saved;
    SendMessage(Main->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormFixture, BadRequestsRaiseAndChangeNothing)
{
    TForm* other = NewForm(500, 100, 100, 100);
    auto* stranger = new TBox(other);
    stranger->SetParent(other);
    Edit->SetFocus();
    Pump();
    EXPECT_THROW(Main->SetActiveControl(stranger), EInvalidOperation); // not on this form
    Edit->SetEnabled(false);
    EXPECT_THROW(Main->SetActiveControl(Edit), EInvalidOperation); // cannot take the focus
    EXPECT_EQ(Main->ActiveControl(), nullptr);
    EXPECT_THROW(Main->Controls(5), EListError);
    EXPECT_THROW(Screen->Forms(9), EListError);
    EXPECT_EQ(Main->ControlCount(), 1);
}

TEST_F(FormFixture, TheDesktopSeesTheCaptionTheIconAndHearsTheBell)
{
    TForm* form = NewForm(10, 10, 200, 100, bsSizeable);
    form->SetCaption("Übersicht");
    form->Show();
    Pump();
    const THeadlessBackend::TNativeState* native = Backend.Native(form->Handle());
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->Title, "Übersicht");
    form->SetCaption("Tarnwick Pro");
    EXPECT_EQ(native->Title, "Tarnwick Pro");
    EXPECT_TRUE(native->IconPixels.empty());

    // An icon of one colour, as a loaded icon file gives it.
    auto makeIcon = [](int side, COLORREF colour) {
        TCursorImage image;
        image.Width = image.Height = side;
        image.Icon = true;
        image.HasAlpha = true;
        image.Pixels.assign(size_t(side * side), 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8)
                | GetBValue(colour));
        image.Mask.assign(image.Pixels.size(), 0);
        return CreateIconFromImage(std::move(image));
    };
    // The application's icon shows for a form without its own; the form's own wins once it has one.
    Application->Icon()->SetHandle(makeIcon(32, RGB(0, 0, 255)));
    EXPECT_EQ(native->IconSize.cx, 32);
    ASSERT_FALSE(native->IconPixels.empty());
    EXPECT_EQ(native->IconPixels[0], 0xFF0000FFu);
    form->Icon()->SetHandle(makeIcon(16, RGB(255, 0, 0)));
    EXPECT_EQ(native->IconSize.cx, 16);
    EXPECT_EQ(native->IconPixels[0], 0xFFFF0000u);
    // A form made later starts with the application's icon.
    TForm* later = NewForm(300, 10, 100, 100);
    later->Show();
    ASSERT_NE(Backend.Native(later->Handle()), nullptr);
    EXPECT_EQ(Backend.Native(later->Handle())->IconSize.cx, 32);

    const int bells = Backend.Bells();
    MessageBeep(0);
    MessageBeep(MB_ICONSTOP);
    EXPECT_EQ(Backend.Bells(), bells + 2);
    // A beep from another thread is counted, and the display is left alone.
    std::thread([] { MessageBeep(0); }).join();
    EXPECT_EQ(Backend.Bells(), bells + 2);
}
