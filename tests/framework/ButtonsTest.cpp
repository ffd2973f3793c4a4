// The framework's buttons and the keyboard between controls, driven by raw input: clicks, the default and
// cancel buttons, accelerators, check boxes, radio buttons moved along by the arrow keys, and tab order.
#include "ControlsTestSupport.h"
#include "framework/controls/StdCtrls.h"
#include "platform/controls/ButtonControl.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinStyles.h"

namespace {

class ButtonsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
    }

    template <class T> T* Make(TWinControl* parent, const char* name, int x, int y, int width, int height)
    {
        auto* control = new T(Form);
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(x, y, width, height);
        control->OnClick = [this, control](TObject*) { Clicks.push_back(control->Name()); };
        return control;
    }
    void Key(UINT key)
    {
        Backend.Key(key);
        Pump();
    }
    // Alt held while `letter` is typed, as an accelerator is.
    void Accelerator(char letter)
    {
        Backend.KeyDown(VK_MENU);
        Backend.Key(static_cast<UINT>(std::toupper(letter)), std::u32string(1, static_cast<char32_t>(letter)));
        Backend.KeyUp(VK_MENU);
        Pump();
    }
    std::string Active() const
    {
        TWinControl* control = Form->ActiveControl();
        return control ? control->Name() : "none";
    }
    static DWORD Kind(TWinControl* control)
    {
        return static_cast<DWORD>(GetWindowLongPtr(control->Handle(), GWL_STYLE)) & BS_TYPEMASK;
    }

    TForm* Form = nullptr;
    std::vector<std::string> Clicks;
};

TEST_F(ButtonsTest, EnterClicksTheDefaultButtonUnlessAnotherButtonHasTheFocusAndEscapeTheCancelButton)
{
    auto* edit = Make<TEdit>(Form, "Edit", 10, 10, 150, 24);
    auto* ok = Make<TButton>(Form, "Ok", 10, 100, 75, 25);
    auto* cancel = Make<TButton>(Form, "Cancel", 100, 100, 75, 25);
    auto* other = Make<TButton>(Form, "Other", 190, 100, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(Kind(ok), BS_DEFPUSHBUTTON);

    Key(VK_RETURN);
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Ok" }));
    EXPECT_EQ(Form->ModalResult(), mrOk);
    Key(VK_ESCAPE);
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Ok", "Cancel" }));
    EXPECT_EQ(Form->ModalResult(), mrCancel);

    // A focused button takes Enter itself and wears the default ring meanwhile.
    Clicks.clear();
    other->SetFocus();
    Pump();
    EXPECT_EQ(Kind(ok), BS_PUSHBUTTON);
    EXPECT_EQ(Kind(other), BS_DEFPUSHBUTTON);
    Key(VK_RETURN);
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Other" }));
    edit->SetFocus();
    Pump();
    EXPECT_EQ(Kind(ok), BS_DEFPUSHBUTTON);
    EXPECT_EQ(Kind(other), BS_PUSHBUTTON);

    // Enter with Ctrl held, or at a disabled default button, clicks nothing.
    Clicks.clear();
    Backend.KeyDown(VK_CONTROL);
    Key(VK_RETURN);
    Backend.KeyUp(VK_CONTROL);
    ok->SetEnabled(false);
    Key(VK_RETURN);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonsTest, AMouseClickAndSpaceClickAButtonOnceAndAnAcceleratorClicksItFromAnotherControl)
{
    auto* edit = Make<TEdit>(Form, "Edit", 10, 10, 150, 24);
    edit->SetText("");
    auto* button = Make<TButton>(Form, "Go", 10, 100, 75, 25);
    button->SetCaption("&Go");
    Pump();
    Click(100 + 20, 100 + 110);
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Go" }));
    EXPECT_EQ(Active(), "Go");
    Backend.KeyDown(VK_SPACE);
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Clicks.size(), 2u);
    edit->SetFocus();
    Pump();
    Accelerator('g');
    EXPECT_EQ(Clicks.size(), 3u);
    EXPECT_EQ(edit->Text(), ""); // the letter went to the accelerator, not into the edit
}

TEST_F(ButtonsTest, CheckBoxesToggleOnClicksAndSettingTheStateRaisesOnClick)
{
    auto* box = Make<TCheckBox>(Form, "Box", 10, 10, 120, 17);
    box->SetCaption("&Loop");
    Pump();
    Click(100 + 15, 100 + 18);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessage(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        Click(100 + 15, 100 + 18);
        states.push_back(box->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState> { cbUnchecked, cbGrayed, cbChecked }));
    EXPECT_EQ(Clicks.size(), 4u);
    box->SetChecked(true); // unchanged: no click
    box->SetChecked(false);
    EXPECT_EQ(Clicks.size(), 5u);
    // The state lives on in a window made again.
    box->SetState(cbGrayed);
    box->SetAlignment(taLeftJustify);
    EXPECT_EQ(SendMessage(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_TRUE(GetWindowLongPtr(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
    // Its accelerator focuses and toggles it.
    Accelerator('l');
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(Active(), "Box");
}

TEST_F(ButtonsTest, ArrowKeysMoveTheCheckAlongARadioGroupAndTabLeavesTheGroupFromItsCheckedButton)
{
    auto* group = Make<TGroupBox>(Form, "Group", 10, 10, 200, 120);
    group->SetCaption("&Speed");
    auto* slow = Make<TRadioButton>(group, "Slow", 8, 20, 100, 17);
    auto* normal = Make<TRadioButton>(group, "Normal", 8, 40, 100, 17);
    auto* fast = Make<TRadioButton>(group, "Fast", 8, 60, 100, 17);
    auto* after = Make<TButton>(Form, "After", 10, 200, 75, 25);
    normal->SetChecked(true);
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Normal" }));
    EXPECT_FALSE(slow->TabStop());
    EXPECT_TRUE(normal->TabStop());

    // The group box's accelerator enters the group at its tab stop.
    after->SetFocus();
    Pump();
    Accelerator('s');
    EXPECT_EQ(Active(), "Normal");

    Clicks.clear();
    Key(VK_DOWN);
    EXPECT_EQ(Active(), "Fast");
    EXPECT_TRUE(fast->Checked());
    EXPECT_FALSE(normal->Checked());
    Key(VK_DOWN); // wraps within the group
    EXPECT_EQ(Active(), "Slow");
    Key(VK_UP);
    EXPECT_EQ(Active(), "Fast");
    EXPECT_EQ(Clicks, (std::vector<std::string> { "Fast", "Slow", "Fast" }));
    EXPECT_EQ((std::vector<bool> { slow->TabStop(), normal->TabStop(), fast->TabStop() }),
        (std::vector<bool> { false, false, true }));

    Key(VK_TAB);
    EXPECT_EQ(Active(), "After");
    Backend.KeyDown(VK_SHIFT);
    Key(VK_TAB);
    Backend.KeyUp(VK_SHIFT);
    EXPECT_EQ(Active(), "Fast");

    // A click checks a button and unchecks the one checked before.
    Click(100 + 10 + 8 + 5, 100 + 10 + 20 + 8 + 2);
    EXPECT_TRUE(slow->Checked());
    EXPECT_FALSE(fast->Checked());
}

TEST_F(ButtonsTest, TheGroupBoxHoldsItsControlsBelowItsCaption)
{
    auto* group = Make<TGroupBox>(Form, "Group", 10, 10, 200, 120);
    group->SetCaption("Options");
    auto* inside = Make<TButton>(group, "Inside", 0, 0, 75, 25);
    inside->SetAlign(alTop);
    EXPECT_GT(inside->Top(), 8);
    EXPECT_GE(inside->Left(), 2);
    EXPECT_EQ(inside->Width(), 200 - 2 * inside->Left());
}

} // namespace
