#include "ControlsTestSupport.h"
#include "framework/controls/THintWindow.h"

namespace {

class ApplicationLoop : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Box = new TBox(Form);
        Box->SetBounds(10, 10, 100, 50);
        Box->SetParent(Form);
        Form->Show();
        Box->SetFocus();
        Pump();
    }

    TForm* Form = nullptr;
    TBox* Box = nullptr;
};

} // namespace

TEST_F(ApplicationLoop, OnMessageSeesEveryMessageFirstAndHandledStopsIt)
{
    std::vector<UINT> seen;
    std::vector<uint16_t> keys;
    Box->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
    Application->OnMessage = [&](MSG& message, bool& handled) {
        seen.push_back(message.message);
        handled = message.message == WM_KEYDOWN && message.wParam == 'X';
    };
    PostMessage(Box->Handle(), WM_USER, 0, 0);
    Backend.Key('X');
    Backend.Key('Y');
    Pump();
    Application->OnMessage = nullptr;
    EXPECT_EQ(keys, (std::vector<uint16_t> { 'Y' }));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_USER), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_KEYDOWN), 2);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_KEYUP), 2);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_CHAR), 1); // 'x' was never translated
}

TEST_F(ApplicationLoop, ProcessMessagesNestsInsideAHandler)
{
    std::vector<std::string> order;
    const auto saved = Box->WindowProc;
    Box->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER) {
            order.push_back("outer begins");
            PostMessage(Box->Handle(), WM_USER + 1, 0, 0);
            Application->ProcessMessages();
            order.push_back("outer ends");
            return;
        }
        if (m.Msg == WM_USER + 1) {
            order.push_back("inner");
            return;
        }
        saved(m);
    };
    PostMessage(Box->Handle(), WM_USER, 0, 0);
    Pump();
    Box->WindowProc = saved;
    EXPECT_EQ(order, (std::vector<std::string> { "outer begins", "inner", "outer ends" }));
}

TEST_F(ApplicationLoop, AnExceptionInAHandlerIsShownAndTheLoopGoesOn)
{
    Box->OnClick = [](TObject*) { throw EInvalidOperation("Nothing to convert"); };
    Click(150, 150);
    Click(150, 150);
    EXPECT_EQ(Boxes, (std::vector<std::string> { "Nothing to convert.", "Nothing to convert." }));
    // The capture the press took is cancelled, not left dangling.
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ApplicationLoop, WithoutAnAnsweringProcedureTheSystemsBoxShowsOverTheActiveForm)
{
    TApplication::SetMessageBoxProc(nullptr);
    bool formEnabled = true;
    std::string caption, shownTitle;
    SetMessageBoxHook([&](HWND box) {
        formEnabled = IsWindowEnabled(Form->Handle());
        char text[64] {};
        GetWindowText(box, text, sizeof text);
        caption = text;
        Backend.Key('N');
    });
    EXPECT_EQ(Application->MessageBox("All tasks will clear, Are you sure?", "Clear Tasks", MB_YESNO | MB_ICONINFORMATION), IDNO);
    EXPECT_FALSE(formEnabled);
    EXPECT_EQ(caption, "Clear Tasks");
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
    // An exception is shown in the same box, captioned with the application's title.
    Application->SetTitle("Tarnwick Pro");
    SetMessageBoxHook([&](HWND box) {
        char text[64] {};
        GetWindowText(box, text, sizeof text);
        shownTitle = text;
        Backend.Key(VK_RETURN);
    });
    Application->ShowException(EInvalidOperation("Nothing to convert"));
    EXPECT_EQ(shownTitle, "Tarnwick Pro");
    SetMessageBoxHook(nullptr);
}

TEST_F(ApplicationLoop, TerminateEndsRun)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    // Form came from NewForm, not CreateForm: the first form CreateForm made is the main form.
    ASSERT_EQ(Application->MainForm(), main);
    main->OnShow = [&](TObject*) { PostMessage(main->Handle(), WM_CLOSE, 0, 0); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(main->Visible());
}

TEST_F(ApplicationLoop, TheHintShowsAfterHintPauseAndTheLongHintGoesToOnHint)
{
    Box->SetHint("Convert|Converts the checked files");
    Box->SetShowHint(true);
    std::vector<std::string> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    Application->SetHintPause(500);
    Backend.MouseMove(150, 130);
    Pump();
    // The hint text follows the pointer at once; the hint window only after the pause.
    EXPECT_EQ(hints, (std::vector<std::string> { "Converts the checked files" }));
    EXPECT_TRUE(Application->HintWindow() == nullptr || !IsWindowVisible(Application->HintWindow()->Handle()));
    Backend.AdvanceClock(500);
    Pump();
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Convert");
    // A press takes it away.
    Click(150, 130);
    EXPECT_FALSE(Application->HintWindow()->HandleAllocated());
}

namespace {

class TLoudHint : public THintWindow {
public:
    using THintWindow::THintWindow;
};

} // namespace

TEST_F(ApplicationLoop, ANewHintWindowClassTakesOverWhenHintsAreTurnedOffAndOn)
{
    // The class is global: it goes back to the default whatever happens here.
    struct TRestore {
        THintWindowClass Saved = HintWindowClass;
        ~TRestore() { HintWindowClass = Saved; }
    } restore;
    Box->SetHint("Go");
    Box->SetShowHint(true);
    Backend.MouseMove(150, 130);
    Pump();
    Backend.AdvanceClock(600);
    Pump();
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(dynamic_cast<TLoudHint*>(Application->HintWindow()), nullptr);
    HintWindowClass = [](TComponent* owner) { return new TLoudHint(owner); };
    Application->SetShowHint(false);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->SetShowHint(true);
    Backend.MouseMove(900, 700); // away and back: a new hint
    Pump();
    Backend.MouseMove(150, 130);
    Pump();
    Backend.AdvanceClock(600);
    Pump();
    EXPECT_NE(dynamic_cast<TLoudHint*>(Application->HintWindow()), nullptr);
}
