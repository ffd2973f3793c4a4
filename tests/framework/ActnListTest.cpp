#include "framework/controls/ActnList.h"

#include "ControlsTestSupport.h"
#include "framework/controls/Menus.h"

namespace {

// A shown form with a focused box and an action list.
class Actions : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Box = new TBox(Form);
        Box->SetBounds(10, 10, 100, 50);
        Box->SetParent(Form);
        Box->OnKeyDown
            = [this](TObject*, uint16_t& key, TShiftState) { Keys.push_back("down " + std::to_string(key)); };
        Box->OnKeyPress = [this](TObject*, char32_t& key) { Keys.push_back("press " + std::to_string(key)); };
        List = new TActionList(Form);
        Save = NewAction("&Save", ShortCut('S', { ssCtrl }));
        Form->Show();
        Box->SetFocus();
        Pump();
    }

    TAction* NewAction(const char* caption, TShortCut shortCut)
    {
        auto* action = new TAction(Form);
        action->SetCaption(caption);
        action->SetShortCut(shortCut);
        action->SetActionList(List);
        action->OnExecute = [this, action](TObject*) { Executed.push_back(action->Caption()); };
        return action;
    }

    void CtrlKey(UINT key)
    {
        Backend.KeyDown(VK_CONTROL);
        Backend.Key(key);
        Backend.KeyUp(VK_CONTROL);
        Pump();
    }

    TForm* Form = nullptr;
    TBox* Box = nullptr;
    TActionList* List = nullptr;
    TAction* Save = nullptr;
    std::vector<std::string> Executed;
    std::vector<std::string> Keys;
};

} // namespace

TEST_F(Actions, AShortCutExecutesItsActionAndTheKeyGoesNoFurther)
{
    CtrlKey('S');
    EXPECT_EQ(Executed, (std::vector<std::string> { "&Save" }));
    // Neither the key itself nor the character it would make reached the control.
    EXPECT_EQ(Keys, (std::vector<std::string> { "down 17" }));
    EXPECT_TRUE(Backend.Log().Only({ WM_CHAR }).empty());
}

TEST_F(Actions, ADisabledActionLeavesItsKeyToTheControl)
{
    Save->SetEnabled(false);
    CtrlKey('S');
    EXPECT_TRUE(Executed.empty());
    EXPECT_EQ(Keys, (std::vector<std::string> { "down 17", "down 83", "press 19" }));
}

TEST_F(Actions, OnUpdateRunsBeforeExecutionAndCanDisableIt)
{
    bool allowed = false;
    Save->OnUpdate = [&](TObject*) { Save->SetEnabled(allowed); };
    EXPECT_FALSE(Save->Execute());
    allowed = true;
    EXPECT_TRUE(Save->Execute());
    // The list's OnExecute may take over.
    List->OnExecute = [&](TBasicAction* action, bool& handled) {
        Executed.push_back("list:" + action->Name());
        handled = true;
    };
    Save->SetName("actSave");
    EXPECT_TRUE(Save->Execute());
    EXPECT_EQ(Executed, (std::vector<std::string> { "&Save", "list:actSave" }));
}

TEST_F(Actions, MenuItemsAndControlsFollowTheirAction)
{
    auto* menu = new TMainMenu(Form);
    auto* item = new TMenuItem(Form);
    menu->Items()->Add(item);
    item->SetAction(Save);
    EXPECT_EQ(item->Caption(), "&Save");
    EXPECT_EQ(item->ShortCut(), ShortCut('S', { ssCtrl }));
    Save->SetCaption("Save &all");
    Save->SetEnabled(false);
    Save->SetChecked(true);
    EXPECT_EQ(item->Caption(), "Save &all");
    EXPECT_FALSE(item->Enabled());
    EXPECT_TRUE(item->Checked());
    Box->SetAction(Save);
    EXPECT_EQ(Box->Caption(), "Save &all");
    EXPECT_FALSE(Box->Enabled());
    Save->SetEnabled(true);
    EXPECT_TRUE(Box->Enabled());
    item->Click();
    Click(150, 150); // the box: its click executes the action
    EXPECT_EQ(Executed, (std::vector<std::string> { "Save &all", "Save &all" }));
    delete Save; // the clients forget it
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(Box->Action(), nullptr);
}

TEST_F(Actions, AutoCheckActionsOfAGroupStayExclusive)
{
    TAction* small = NewAction("Small", scNone);
    TAction* large = NewAction("Large", scNone);
    for (TAction* a : { small, large }) {
        a->SetAutoCheck(true);
        a->SetGroupIndex(3);
    }
    small->Execute();
    EXPECT_TRUE(small->Checked());
    large->Execute();
    EXPECT_FALSE(small->Checked());
    EXPECT_TRUE(large->Checked());
    large->Execute(); // checked in a group: stays checked
    EXPECT_TRUE(large->Checked());
}

TEST_F(Actions, AltShortCutsComeThroughTheSystemKeys)
{
    NewAction("&About", ShortCut('A', { ssAlt }));
    Backend.KeyDown(VK_MENU);
    Backend.Key('A');
    Backend.KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(Executed, (std::vector<std::string> { "&About" }));
    EXPECT_TRUE(Backend.Log().Only({ WM_SYSCHAR }).empty());
}
