#include "ControlsTestSupport.h"

namespace {

// Records the numbers of the framework messages a control receives.
template <class Base> class TMessageRecorder : public Base {
public:
    TMessageRecorder(TComponent* owner, std::vector<UINT>* log)
        : Base(owner)
        , FLog(log)
    {
    }

    void WndProc(TMessage& message) override
    {
        if (message.Msg >= CM_BASE && message.Msg < CM_BASE + 0x100)
            FLog->push_back(message.Msg);
        else if (message.Msg == WM_SETTEXT)
            FLog->push_back(WM_SETTEXT);
        Base::WndProc(message);
    }

private:
    std::vector<UINT>* FLog;
};

class ControlProperties : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 300, 200);
        Panel = new TMessageRecorder<TBox>(Form, &PanelLog);
        Panel->SetParent(Form);
        Spot = new TMessageRecorder<TSpot>(Form, &SpotLog);
        Spot->SetParent(Panel);
        Form->Show();
        Pump();
        PanelLog.clear();
        SpotLog.clear();
    }

    std::vector<UINT> PanelLog;
    std::vector<UINT> SpotLog;
    TForm* Form = nullptr;
    TBox* Panel = nullptr;
    TSpot* Spot = nullptr;
};

} // namespace

TEST_F(ControlProperties, ChangesArriveAsTheirFrameworkMessages)
{
    struct Case {
        const char* Name;
        std::function<void()> Change;
        std::vector<UINT> Expected;
    };
    const Case kCases[] = {
        { "caption: the window text first, then the notice", [&] { Panel->SetCaption("Files"); },
            { WM_SETTEXT, CM_TEXTCHANGED } },
        // The panel has the focus (the form's first tab stop): disabling it moves the focus to the form.
        { "enabling", [&] { Panel->SetEnabled(false); },
            { CM_ENABLEDCHANGED, CM_CANCELMODE, CM_EXIT, CM_FOCUSCHANGED } },
        { "visibility", [&] { Panel->SetVisible(false); }, { CM_VISIBLECHANGED, CM_SHOWINGCHANGED } },
        { "cursor", [&] { Panel->SetCursor(crHandPoint); }, { CM_CURSORCHANGED } },
        { "the same value again: nothing", [&] { Panel->SetCaption("Files"); }, {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        PanelLog.clear();
        c.Change();
        EXPECT_EQ(PanelLog, c.Expected);
    }
    EXPECT_FALSE(IsWindowEnabled(Panel->Handle()));
    EXPECT_FALSE(IsWindowVisible(Panel->Handle()));
    char text[32] = {};
    GetWindowText(Panel->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "Files");
}

TEST_F(ControlProperties, ParentFontAndColorFlowDownUntilAChildSetsItsOwn)
{
    Form->SetColor(clNavy);
    Form->Font()->SetName("Arial");
    Form->Font()->SetColor(clYellow);
    EXPECT_EQ(Panel->Color(), clNavy);
    EXPECT_EQ(Spot->Color(), clNavy);
    EXPECT_EQ(Spot->Font()->Name(), "Arial");
    EXPECT_EQ(Spot->Font()->Color(), clYellow);
    EXPECT_NE(std::find(SpotLog.begin(), SpotLog.end(), CM_PARENTFONTCHANGED), SpotLog.end());
    EXPECT_NE(std::find(SpotLog.begin(), SpotLog.end(), CM_FONTCHANGED), SpotLog.end());
    EXPECT_TRUE(Spot->ParentFont());
    Panel->SetColor(clTeal);
    Panel->Font()->SetColor(clRed);
    EXPECT_FALSE(Panel->ParentColor());
    EXPECT_FALSE(Panel->ParentFont());
    Form->SetColor(clMaroon);
    Form->Font()->SetColor(clLime);
    EXPECT_EQ(Panel->Color(), clTeal);
    EXPECT_EQ(Panel->Font()->Color(), clRed);
    EXPECT_EQ(Spot->Color(), clTeal); // it follows its own parent
    Panel->SetParentColor(true);
    EXPECT_EQ(Panel->Color(), clMaroon);
    EXPECT_EQ(Spot->Color(), clMaroon);
}

TEST_F(ControlProperties, ANamedControlTakesItsNameAsCaptionUntilGivenOne)
{
    Panel->SetName("Panel1");
    EXPECT_EQ(Panel->Caption(), "Panel1");
    Panel->SetName("Toolbar");
    EXPECT_EQ(Panel->Caption(), "Toolbar");
    Panel->SetCaption("Tools");
    Panel->SetName("Side");
    EXPECT_EQ(Panel->Caption(), "Tools");
}

TEST_F(ControlProperties, ShowHintFollowsTheParentUntilSetDirectly)
{
    Form->SetShowHint(true);
    EXPECT_TRUE(Panel->ShowHint());
    EXPECT_TRUE(Spot->ShowHint());
    Spot->SetShowHint(false);
    Form->SetShowHint(false);
    Form->SetShowHint(true);
    EXPECT_FALSE(Spot->ShowHint());
    EXPECT_FALSE(Spot->ParentShowHint());
}
