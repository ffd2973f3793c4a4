// The skinned message dialogs on the headless display: sizes and button places, default and cancel buttons and
// their keys, texts from the string table, the type's icon and caption, and the "show again" box.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SystemIcons.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/dialogs/TspSkinMessage.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class SkinMessageTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Dialog = new TspSkinMessage(Application);
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        ControlsTest::TearDown();
    }

    // Runs `answer` with the message form once it is up (it must end the modal loop) and returns the result.
    int Run(const std::function<int()>& show, const std::function<void(TspMessageForm*)>& answer)
    {
        bool done = false;
        // Once the form is up and the loop has nothing left to do, the answer comes in.
        Application->OnIdle = [&](TObject*, bool& idle) {
            TspMessageForm* form = nullptr;
            for (int i = 0; i < Screen->FormCount() && !form; ++i)
                form = dynamic_cast<TspMessageForm*>(Screen->Forms(i));
            if (!form || done || !form->Visible())
                return;
            done = true;
            idle = false; // the loop looks at the modal result before it sleeps again
            answer(form);
            if (form->ModalResult() == mrNone)
                form->SetModalResult(mrCancel); // never hang the suite
        };
        const int result = show();
        Application->OnIdle = nullptr;
        EXPECT_TRUE(done);
        return result;
    }

    static TspSkinButton* Button(TspMessageForm* form, const char* name)
    {
        return dynamic_cast<TspSkinButton*>(form->FindComponent(name));
    }

    void Press(UINT key)
    {
        Backend.Key(key);
        Pump();
    }

    TspSkinMessage* Dialog = nullptr;
};

TEST_F(SkinMessageTest, DefaultAndCancelButtonsAnswerTheKeys)
{
    struct Case {
        TMsgDlgButtons Buttons;
        const char* Default;
        const char* Cancel;
        UINT Key;
        int Expected;
    } const cases[] = {
        { { mbYes, mbNo, mbCancel }, "Yes", "Cancel", VK_RETURN, mrYes },
        { { mbYes, mbNo, mbCancel }, "Yes", "Cancel", VK_ESCAPE, mrCancel },
        { { mbOK, mbCancel }, "OK", "Cancel", VK_RETURN, mrOk },
        { { mbYes, mbNo }, "Yes", "No", VK_ESCAPE, mrNo },
        { { mbRetry, mbIgnore }, "Retry", nullptr, VK_RETURN, mrRetry },
        { { mbOK }, "OK", "OK", VK_ESCAPE, mrOk },
        { { mbAbort, mbIgnore }, nullptr, nullptr, 0, mrAbort },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.Default ? c.Default : "-") << "/" << (c.Cancel ? c.Cancel : "-"));
        const int result = Run([&] { return Dialog->MessageDlg("Go on?", mtConfirmation, c.Buttons, 0); },
            [&](TspMessageForm* form) {
                for (int i = 0; i < form->ComponentCount(); ++i)
                    if (auto* button = dynamic_cast<TspSkinButton*>(form->Components(i))) {
                        EXPECT_EQ(button->Default(), c.Default && button->Name() == c.Default) << button->Name();
                        EXPECT_EQ(button->Cancel(), c.Cancel && button->Name() == c.Cancel) << button->Name();
                    }
                if (c.Key)
                    Press(c.Key);
                else
                    form->SetModalResult(mrAbort);
            });
        EXPECT_EQ(result, c.Expected);
    }
}

TEST_F(SkinMessageTest, SizesPlacesAndTextsWithoutASkin)
{
    Run([&] { return Dialog->MessageDlg("Hi", mtInformation, { mbYes, mbNo, mbCancel }, 0); },
        [&](TspMessageForm* form) {
            EXPECT_EQ(form->ClientWidth(), 270);
            EXPECT_EQ(form->Caption(), "Information");
            const char* names[] = { "Yes", "No", "Cancel" };
            const char* texts[] = { "&Yes", "&No", "Cancel" };
            for (int i = 0; i < 3; ++i) {
                TspSkinButton* button = Button(form, names[i]);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->Left(), 20 + 80 * i);
                EXPECT_EQ(button->Width(), 70);
                EXPECT_EQ(button->Height(), 25);
                EXPECT_EQ(button->Caption(), texts[i]);
                EXPECT_EQ(button->Top(), form->ClientHeight() - 25 - 10);
            }
            // The type's icon at the left, centred on the message but never above y 10.
            auto* image = dynamic_cast<TImage*>(form->FindComponent("Image"));
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->Left(), 5);
            EXPECT_EQ(image->Top(), 10);
            EXPECT_FALSE(image->Picture()->Graphic() == nullptr);
            form->SetModalResult(mrNo);
        });

    // mtCustom: the application's title and no icon.
    Application->SetTitle("Tarnwick Pro");
    Run([&] { return Dialog->MessageDlg("Hi", mtCustom, { mbOK }, 0); },
        [&](TspMessageForm* form) {
            EXPECT_EQ(form->Caption(), "Tarnwick Pro");
            auto* image = dynamic_cast<TImage*>(form->FindComponent("Image"));
            ASSERT_NE(image, nullptr);
            EXPECT_TRUE(image->Picture()->Graphic() == nullptr || image->Picture()->Graphic()->Empty());
            form->SetModalResult(mrOk);
        });
}

TEST_F(SkinMessageTest, StringTableGivesTheTextsAndItsGapsStayBlank)
{
    auto* skin = new TspSkinData(Application);
    auto* strings = new TspResourceStrData(Application);
    strings->ResStrings()->Clear(); // a table of its own, without the English defaults
    strings->ResStrings()->Add("MSG_BTN_YES=&Ja");
    strings->ResStrings()->Add("MSG_CAP_CONFIRM=Frage");
    skin->SetResourceStrData(strings);
    Dialog->SetCtrlSkinData(skin);
    Dialog->ShowAgainFlag = true;
    Run([&] { return Dialog->MessageDlg("Weiter?", mtConfirmation, { mbYes, mbNo }, 0); },
        [&](TspMessageForm* form) {
            EXPECT_EQ(form->Caption(), "Frage");
            EXPECT_EQ(Button(form, "Yes")->Caption(), "&Ja");
            EXPECT_EQ(Button(form, "No")->Caption(), "");
            // The check box text falls back to English when the table lacks it.
            ASSERT_NE(form->CheckBox, nullptr);
            EXPECT_EQ(form->CheckBox->Caption(), "Do not display this message again");
            form->SetModalResult(mrYes);
        });
    // A skin component that goes is forgotten.
    delete skin;
    EXPECT_EQ(Dialog->CtrlSkinData(), nullptr);
}

TEST_F(SkinMessageTest, ShowAgainBox)
{
    Dialog->ShowAgainFlag = true;
    Dialog->ShowAgainFlagValue = false;
    Run([&] { return Dialog->MessageDlg("Hi", mtWarning, { mbOK }, 0); },
        [&](TspMessageForm* form) {
            ASSERT_NE(form->CheckBox, nullptr);
            EXPECT_TRUE(form->CheckBox->Checked());
            EXPECT_EQ(form->CheckBox->Left(), 5);
            EXPECT_EQ(form->CheckBox->Height(), 30);
            EXPECT_EQ(form->CheckBox->Top(), form->ClientHeight() - 25 - 50);
            // The box is wider than the buttons: the form grows to its text.
            EXPECT_EQ(form->ClientWidth(), std::max(110, form->CheckBox->Width() + 5));
            form->SetModalResult(mrOk);
        });
    EXPECT_FALSE(Dialog->ShowAgainFlagValue);

    Dialog->ShowAgainFlagValue = true;
    Run([&] { return Dialog->MessageDlg("Hi", mtWarning, { mbOK }, 0); },
        [&](TspMessageForm* form) {
            EXPECT_FALSE(form->CheckBox->Checked());
            form->SetModalResult(mrOk);
        });
    EXPECT_TRUE(Dialog->ShowAgainFlagValue);
}

// One skin serving window and controls stays watched while either holds it: freed after the controls took
// another, it is forgotten instead of left dangling.
TEST_F(SkinMessageTest, ASkinHeldTwiceIsForgottenWhenFreed)
{
    auto* skin = new TspSkinData(nullptr);
    auto* other = new TspSkinData(nullptr);
    Dialog->SetSkinData(skin);
    Dialog->SetCtrlSkinData(skin);
    Dialog->SetCtrlSkinData(other);
    delete skin;
    EXPECT_EQ(Dialog->SkinData(), nullptr);
    EXPECT_EQ(Dialog->CtrlSkinData(), other);
    delete other;
    EXPECT_EQ(Dialog->CtrlSkinData(), nullptr);
}

TEST(SystemIcons, DrawnOnceAndSharedPerKind)
{
    THeadlessBackend backend;
    ASSERT_TRUE(backend.Install());
    for (const char* id : { IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK }) {
        HICON icon = LoadIcon(nullptr, id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(LoadIcon(nullptr, id), icon);
        ICONINFO info {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap {};
        GetObject(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 32);
        EXPECT_EQ(bitmap.bmHeight, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(40000)), nullptr);
    backend.Uninstall();
}

} // namespace
