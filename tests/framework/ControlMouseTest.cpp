#include "ControlsTestSupport.h"

#include <algorithm>

namespace {

// A form at (100, 100), 400 x 300, without a frame, holding:
//   Outer (windowed) at 10,10 200x150, with Inner (windowed) at 20,20 100x80, with SpotA (windowless) at
//   10,10 40x30; SpotB (windowless) on the form at 250,20 50x50; Side (windowed) on the form at 250,150.
// Screen rectangles: Outer 110..310 x 110..260, Inner 130..230 x 130..210, SpotA 140..180 x 140..170,
// SpotB 350..400 x 120..170, Side 350..450 x 250..350.
class ControlMouse : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Outer = Make<TRecordingBox>(Form, "Outer", 10, 10, 200, 150);
        Inner = Make<TRecordingBox>(Outer, "Inner", 20, 20, 100, 80);
        SpotA = Make<TRecordingSpot>(Inner, "SpotA", 10, 10, 40, 30);
        SpotB = Make<TRecordingSpot>(Form, "SpotB", 250, 20, 50, 50);
        Side = Make<TRecordingBox>(Form, "Side", 250, 150, 100, 100);
        Form->Show();
        Pump();
        Trace.clear();
    }

    template <class T> T* Make(TWinControl* parent, const char* name, int x, int y, int w, int h)
    {
        auto* c = new T(Form, &Trace, name);
        c->SetBounds(x, y, w, h);
        c->SetParent(parent);
        return c;
    }

    // The trace entries of the named controls only.
    TTrace Of(std::initializer_list<const char*> names) const
    {
        TTrace out;
        for (const std::string& e : Trace)
            for (const char* n : names)
                if (e.rfind(std::string(n) + ":", 0) == 0)
                    out.push_back(e);
        return out;
    }

    // The mouse button and click entries only.
    TTrace Presses() const
    {
        TTrace out;
        for (const std::string& e : Trace)
            if (e.find(":Down") != std::string::npos || e.find(":Up(") != std::string::npos
                || e.find(":Click") != std::string::npos)
                out.push_back(e);
        return out;
    }

    TTrace Trace;
    TForm* Form = nullptr;
    TRecordingBox* Outer = nullptr;
    TRecordingBox* Inner = nullptr;
    TRecordingSpot* SpotA = nullptr;
    TRecordingSpot* SpotB = nullptr;
    TRecordingBox* Side = nullptr;
};

} // namespace

TEST_F(ControlMouse, ClicksReachTheControlUnderThePointerInItsOwnCoordinates)
{
    struct Case {
        int X, Y;
        const char* Target;
        TTrace Expected;
    };
    // Click comes on the release, before MouseUp.
    const Case kCases[] = {
        { 155, 155, "SpotA", { "SpotA:Down(15,15)", "SpotA:Click", "SpotA:Up(15,15)" } },
        { 200, 200, "Inner", { "Inner:Down(70,70)", "Inner:Click", "Inner:Up(70,70)" } },
        { 115, 250, "Outer", { "Outer:Down(5,140)", "Outer:Click", "Outer:Up(5,140)" } },
        { 399, 169, "SpotB", { "SpotB:Down(49,49)", "SpotB:Click", "SpotB:Up(49,49)" } },
        { 360, 300, "Side", { "Side:Down(10,50)", "Side:Click", "Side:Up(10,50)" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Target);
        Trace.clear();
        Click(c.X, c.Y);
        EXPECT_EQ(Presses(), c.Expected);
    }
}

TEST_F(ControlMouse, DisabledAndHiddenWindowlessControlsLeaveTheClickToTheirParent)
{
    SpotA->SetEnabled(false);
    Click(155, 155);
    SpotA->SetEnabled(true);
    SpotA->SetVisible(false);
    Click(155, 155);
    EXPECT_EQ(Presses(),
        (TTrace { "Inner:Down(25,25)", "Inner:Click", "Inner:Up(25,25)", "Inner:Down(25,25)", "Inner:Click",
            "Inner:Up(25,25)" }));
}

TEST_F(ControlMouse, EnterAndLeaveFollowThePointerAcrossNestedAndWindowlessControls)
{
    const std::pair<POINT, TTrace> kSteps[] = {
        { { 155, 155 }, { "SpotA:Enter" } },
        { { 160, 160 }, {} },
        { { 125, 125 }, { "SpotA:Leave", "Outer:Enter" } },
        { { 135, 135 }, { "Outer:Leave", "Inner:Enter" } },
        { { 355, 125 }, { "Inner:Leave", "SpotB:Enter" } },
        { { 360, 300 }, { "SpotB:Leave", "Side:Enter" } },
        // Off every window of the application.
        { { 900, 700 }, { "Side:Leave" } },
    };
    for (const auto& [point, expected] : kSteps) {
        SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
        Trace.clear();
        Backend.MouseMove(point.x, point.y);
        Pump();
        TTrace got;
        for (const std::string& e : Trace)
            if (e.find("Enter") != std::string::npos || e.find("Leave") != std::string::npos)
                if (e.find("CMEnter") == std::string::npos)
                    got.push_back(e);
        EXPECT_EQ(got, expected);
    }
}

TEST_F(ControlMouse, ThePointerLeavingOurWindowsLeavesTheControlUnderIt)
{
    // Over another program's window that covers SpotA: the display reports no move, only the leaving.
    Backend.MouseMove(155, 155);
    Pump();
    Trace.clear();
    Backend.PointerLeave(156, 156);
    Pump();
    EXPECT_EQ(Of({ "SpotA", "Inner", "Outer" }), (TTrace { "SpotA:Leave" }));
    Trace.clear();
    Backend.MouseMove(156, 156);
    Pump();
    EXPECT_EQ(Of({ "SpotA", "Inner", "Outer" }), (TTrace { "SpotA:Enter" }));
}

TEST_F(ControlMouse, ALeftPressCapturesUntilTheReleaseWhichOutsideIsNoClick)
{
    Backend.MouseMove(155, 155);
    Backend.MouseDown();
    Pump();
    EXPECT_TRUE(SpotA->MouseCapture());
    EXPECT_EQ(GetCapture(), Inner->Handle()); // a windowless control captures through its parent's window
    Trace.clear();
    // Over another control: the captured one keeps the messages, and only it hears of leaving.
    Backend.MouseMove(360, 130);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Of({ "SpotA", "SpotB" }), (TTrace { "SpotA:Leave", "SpotA:Up(220,-10)" }));
    EXPECT_FALSE(SpotA->MouseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlMouse, APressElsewhereOrAFocusChangeSendsCancelModeToTheFocusedControl)
{
    Side->SetFocus();
    Pump();
    ASSERT_TRUE(Side->Focused());
    ASSERT_EQ(Form->ActiveControl(), Side);
    Trace.clear();
    Click(155, 155); // SpotA takes the click; the focus stays with Side
    EXPECT_EQ(Of({ "Side" }), (TTrace { "Side:CancelMode(SpotA)" }));
    Trace.clear();
    Inner->SetFocus();
    Pump();
    EXPECT_EQ(Of({ "Side", "Outer", "Inner" }),
        (TTrace { "Side:CancelMode(Inner)", "Side:CMExit", "Outer:CMEnter", "Inner:CMEnter",
            "Outer:FocusChanged(Inner)", "Inner:FocusChanged(Inner)", "Side:FocusChanged(Inner)" }));
    EXPECT_TRUE(Inner->Focused());
    EXPECT_EQ(Screen->ActiveControl(), Inner);
    EXPECT_EQ(Screen->ActiveForm(), Form);
}

TEST_F(ControlMouse, TabAndShiftTabWalkTheTabOrderAcrossNestedControls)
{
    Outer->SetFocus();
    Pump();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        Backend.Key(VK_TAB);
        Pump();
        visited.push_back(Screen->ActiveControl() ? Screen->ActiveControl()->Name() : "none");
    }
    EXPECT_EQ(visited, (std::vector<std::string> { "Inner", "Side", "Outer", "Inner" }));
    Backend.KeyDown(VK_SHIFT);
    Backend.Key(VK_TAB);
    Backend.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), Outer);
    Side->SetTabOrder(0);
    Backend.Key(VK_TAB);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), Inner); // Side, Outer, Inner
}

TEST_F(ControlMouse, ASecondPressInTimeIsADoubleClickWithoutASecondClick)
{
    int doubleClicks = 0;
    SpotA->OnDblClick = [&](TObject*) { ++doubleClicks; };
    Backend.Click(155, 155);
    Backend.Click(156, 155);
    Pump();
    EXPECT_EQ(Presses(),
        (TTrace { "SpotA:Down(15,15)", "SpotA:Click", "SpotA:Up(15,15)", "SpotA:Down(16,15)", "SpotA:Up(16,15)" }));
    EXPECT_EQ(doubleClicks, 1);
}
