// The skinned edit and its context menu on the headless display: frame geometry with and without a skin, the
// edit button, the read-only filter, Enter handed to the form, the menu's states and captions, typing of text
// beyond ASCII, and the spin edit's number over its face.
#include "SkinControlsTestSupport.h"

#include "framework/controls/Menus.h"
#include "framework/controls/StdButtons.h"
#include "framework/graphics/TClipboard.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinMaskEdits.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/controls/SkinURLEdit.h"
#include "framework/core/FormatSettings.h"
#include "platform/shell/ShellExecute.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinPopupMenu.h"

namespace {

class SkinEditsTest : public ControlsTest {
protected:
    static constexpr uint32_t kSeed = 5;

    void SetUp() override
    {
        ControlsTest::SetUp();
        // A 100 x 24 edit face at y 0 with 4-pixel ends and its text area (4, 4, 96, 20); the active face at y 30;
        // button pieces 20 x 24 at (120, 0), (140, 0) and (160, 0).
        Fixture.AddActivePicture("sheet.bmp", 200, 80, kSeed);
        Fixture.AddControl("edit", "edit",
            { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "activeskinrect", "0,30,100,54" },
                { "lefttoppoint", "4,4" }, { "righttoppoint", "96,4" }, { "leftbottompoint", "4,20" },
                { "rightbottompoint", "96,20" }, { "clientrect", "4,4,96,20" }, { "fontname", "DejaVu Sans" },
                { "fontheight", "13" }, { "fontcolor", "255" }, { "activefontcolor", "65280" },
                { "disabledfontcolor", "8421504" }, { "buttonrect", "80,0,100,24" },
                { "activebuttonrect", "120,0,140,24" }, { "downbuttonrect", "140,0,160,24" } });
        // A 100 x 24 spin edit face at y 56 with its text area (4, 4, 78, 20) and its buttons at the right end.
        Fixture.AddControl("spinedit", "spinedit",
            { { "pictureindex", "0" }, { "skinrect", "0,56,100,80" }, { "lefttoppoint", "4,4" },
                { "righttoppoint", "78,4" }, { "leftbottompoint", "4,20" }, { "rightbottompoint", "78,20" },
                { "clientrect", "4,4,78,20" }, { "upbuttonrect", "80,2,98,12" }, { "downbuttonrect", "80,12,98,22" },
                { "fontname", "DejaVu Sans" }, { "fontheight", "13" }, { "fontcolor", "255" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    TspSkinEdit* Place(int x, int y, int width, int height, bool skinned = false)
    {
        auto* edit = new TspSkinEdit(Form);
        edit->SetParent(Form);
        edit->SetBounds(x, y, width, height);
        if (skinned)
            edit->SetSkinData(Skin);
        Pump();
        return edit;
    }
    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Backend.Char(c);
        Pump();
    }
    void Send(TWinControl* control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        SendMessage(control->Handle(), message, wParam, lParam);
        Pump();
    }
    // The items of the edit's context menu as "caption:enabled", separators left out.
    static std::vector<std::string> MenuItems(TspCustomEdit* edit)
    {
        std::vector<std::string> items;
        TspSkinPopupMenu* menu = edit->SysPopupMenu();
        if (!menu)
            return items;
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            TMenuItem* item = menu->Items()->Items(i);
            if (item->Caption() != "-")
                items.push_back(item->Caption() + (item->Enabled() ? ":on" : ":off"));
        }
        return items;
    }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

TEST_F(SkinEditsTest, DefaultLookGeometryFrameAndHitTest)
{
    TspSkinEdit* plain = Place(10, 10, 120, 20);
    EXPECT_EQ(plain->TextRect(), TRect(2, 2, 118, 18));
    EXPECT_EQ(plain->ClientWidth(), 116);
    EXPECT_EQ(plain->ClientHeight(), 16);
    TspSkinEdit* button = Place(10, 50, 120, 20);
    button->SetButtonMode(true);
    Pump();
    EXPECT_EQ(button->ButtonRect(), TRect(100, 0, 120, 20));
    EXPECT_EQ(button->TextRect(), TRect(2, 2, 98, 18));
    EXPECT_EQ(button->ClientWidth(), 96);
    // The frame: clBtnShadow outside, clBtnFace inside, the text area in DefaultColor.
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10, 10), Rgb(clBtnShadow));
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 11, 11), Rgb(clBtnFace));
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 60, 20), Rgb(clWindow));
    // Hit codes in window terms: 6 on the button, 7 on the frame, the client's own inside the text area.
    const auto hit = [&](int x, int y) { return SendMessage(button->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    EXPECT_EQ(hit(10 + 110, 50 + 10), HTHSCROLL);
    EXPECT_EQ(hit(10 + 1, 50 + 10), HTVSCROLL);
    EXPECT_EQ(hit(10 + 50, 50 + 10), HTCLIENT);
}

TEST_F(SkinEditsTest, TheButtonClicksOnlyWhenReleasedOverIt)
{
    TspSkinEdit* edit = Place(10, 10, 120, 20);
    edit->SetButtonMode(true);
    TspSkinEdit* other = Place(10, 50, 120, 20);
    other->SetFocus();
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    Backend.MouseMove(120, 20);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(300, 200);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(clicks, 0) << "released outside";
    EXPECT_FALSE(edit->Focused());
    Click(120, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->Focused()) << "the button focuses its edit";
    // A double click counts as a press: its release clicks once more.
    Backend.AdvanceClock(1000);
    Backend.Click(120, 20);
    Backend.Click(120, 20);
    Pump();
    EXPECT_EQ(clicks, 3);
}

TEST_F(SkinEditsTest, ReadOnlySwallowsEveryChangeButCopies)
{
    TspSkinEdit* edit = Place(10, 10, 150, 20);
    edit->SetText("keep me");
    edit->SetReadOnly(true);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetFocus();
    Pump();
    Clipboard()->SetAsText("pasted");
    edit->SetSelStart(0);
    edit->SetSelLength(4);
    Type(U"xy\b");
    Backend.Key(VK_DELETE);
    Backend.KeyDown(VK_CONTROL);
    Backend.Key('V');
    Backend.Key('X');
    Backend.KeyUp(VK_CONTROL);
    Pump();
    for (UINT message : { WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO })
        Send(edit, message);
    EXPECT_EQ(edit->Text(), "keep me");
    EXPECT_EQ(changes, 0);
    Backend.KeyDown(VK_CONTROL);
    Backend.Key('C');
    Backend.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clipboard()->AsText(), "keep");
    // The caret still moves.
    Backend.Key(VK_END);
    Pump();
    EXPECT_EQ(edit->SelStart(), 7);
}

TEST_F(SkinEditsTest, EnterPressesTheDefaultButtonAndStillReachesOnKeyPress)
{
    TspSkinEdit* edit = Place(10, 10, 150, 20);
    auto* ok = new TButton(Form);
    ok->SetParent(Form);
    ok->SetBounds(10, 50, 75, 25);
    ok->SetDefault(true);
    int clicked = 0;
    ok->OnClick = [&](TObject*) { ++clicked; };
    std::vector<char32_t> keys;
    edit->OnKeyPress = [&](TObject*, char32_t& key) { keys.push_back(key); key = 0; };
    edit->SetFocus();
    Pump();
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(keys, std::vector<char32_t>({ 13 }));
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(SkinEditsTest, TypingAndDeletingNeverSplitsACharacter)
{
    TspSkinEdit* edit = Place(10, 10, 200, 20);
    edit->SetFocus();
    Pump();
    Type(U"a\u00e9\u20ac\U0001F600b");
    EXPECT_EQ(edit->Text(), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "b");
    EXPECT_EQ(edit->SelStart(), 5);
    Backend.Key(VK_LEFT);
    Backend.Key(VK_BACK);
    Pump();
    EXPECT_EQ(edit->Text(), "a\xC3\xA9\xE2\x82\xAC" "b");
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelText(), "\xC3\xA9");
}

TEST_F(SkinEditsTest, ContextMenuStatesFollowSelectionClipboardAndReadOnly)
{
    TspSkinEdit* edit = Place(10, 10, 150, 20);
    edit->SetText("hello");
    edit->SetFocus();
    Pump();
    struct Case {
        const char* name;
        bool readOnly;
        int selStart, selLength;
        const char* clipboard;
        std::vector<std::string> expected;
    };
    const Case kCases[] = {
        { "nothing selected, empty clipboard", false, 2, 0, "",
            { "Undo:off", "Cut:off", "Copy:off", "Paste:off", "Delete:off", "Select All:on" } },
        { "a selection and text to paste", false, 1, 2, "x",
            { "Undo:off", "Cut:on", "Copy:on", "Paste:on", "Delete:on", "Select All:on" } },
        { "everything selected", false, 0, 5, "x",
            { "Undo:off", "Cut:on", "Copy:on", "Paste:on", "Delete:on", "Select All:off" } },
        { "read-only", true, 1, 2, "x",
            { "Undo:off", "Cut:off", "Copy:on", "Paste:off", "Delete:off", "Select All:on" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        edit->SetReadOnly(c.readOnly);
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        Clipboard()->SetAsText(c.clipboard);
        Send(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(50, 20));
        EXPECT_EQ(MenuItems(edit), c.expected);
    }
    // A command's dispatch frees the menu; Delete goes through the read-only filter.
    edit->SetReadOnly(false);
    edit->DoDelete(nullptr);
    Send(edit, WM_AFTERDISPATCH);
    EXPECT_EQ(edit->SysPopupMenu(), nullptr);
    EXPECT_EQ(edit->Text(), "hlo");
    Send(edit, WM_CONTEXTMENU, 0, MAKELPARAM(50, 20));
    EXPECT_EQ(MenuItems(edit).front(), "Undo:on");
}

TEST_F(SkinEditsTest, ContextMenuCaptionsComeFromTheFormSkinsStringTable)
{
    auto* skinner = new TspSkinForm(Form);
    skinner->SetSkinData(Skin);
    auto* table = new TspResourceStrData(Application);
    table->ResStrings()->Clear();
    table->ResStrings()->Add("EDIT_UNDO=Back");
    table->ResStrings()->Add("EDIT_COPY=Take");
    Skin->SetResourceStrData(table);
    TspSkinEdit* edit = Place(10, 10, 150, 20);
    Send(edit, WM_CONTEXTMENU, 0, MAKELPARAM(50, 20));
    // A key the table lacks gives an empty caption, not the English one.
    const std::vector<std::string> expected = { "Back:off", ":off", "Take:off", ":off", ":off", ":off" };
    EXPECT_EQ(MenuItems(edit), expected);
    // The keyboard's menu key (-1, -1) opens at the edit's centre: the menu shows on the skinned form.
    Send(edit, WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    ASSERT_NE(edit->SysPopupMenu(), nullptr);
    EXPECT_EQ(edit->SysPopupMenu()->PopupPoint().X, 12 + 75) << "the client origin plus half the size";
    EXPECT_EQ(edit->SysPopupMenu()->PopupPoint().Y, 12 + 10);
    // An edit with its own menu shows only that one.
    auto* own = new TspSkinPopupMenu(Form);
    int ownShown = 0;
    own->OnPopup = [&](TObject*) { ++ownShown; };
    edit->SetPopupMenu(own);
    Send(edit, WM_AFTERDISPATCH);
    Send(edit, WM_CONTEXTMENU, 0, MAKELPARAM(50, 20));
    EXPECT_EQ(edit->SysPopupMenu(), nullptr);
    EXPECT_EQ(ownShown, 1);
}

TEST_F(SkinEditsTest, SkinnedFramePinsTheHeightAndFollowsTheState)
{
    TspSkinEdit* edit = Place(10, 10, 150, 40, true);
    EXPECT_EQ(edit->Height(), 24) << "the skin's height";
    EXPECT_EQ(edit->TextRect(), TRect(4, 4, 146, 20)) << "the client rectangle widened with the edit";
    edit->SetHeight(60);
    EXPECT_EQ(edit->Height(), 24);
    EXPECT_EQ(edit->Font()->Color(), TColor(255));
    // The frame's left end is the skin's, copied unchanged; focus switches to the active face and colour.
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10, 10), TFixtureSkin::PixelOf(0, 0, kSeed));
    edit->SetFocus();
    Pump();
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10, 10), TFixtureSkin::PixelOf(0, 30, kSeed));
    EXPECT_EQ(edit->Font()->Color(), TColor(65280));
    // With the user's font the height follows it: the character height plus the skin's vertical frame (8).
    TspSkinEdit* own = Place(10, 100, 150, 40);
    own->SetUseSkinFont(false);
    own->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(own->Height(), own->CalcEditHeight());
    EXPECT_GT(own->Height(), 8);
    EXPECT_NE(own->Height(), 24);
}

TEST_F(SkinEditsTest, TimeEditRefusesEveryKeystrokeThatMakesAnInvalidTime)
{
    auto* time = new TspSkinTimeEdit(Form);
    time->SetParent(Form);
    time->SetBounds(10, 10, 120, 20);
    time->SetFocus();
    Pump();
    struct Case {
        int caret;
        std::u32string typed;
        const char* expected;
    };
    const Case kCases[] = {
        { 0, U"25", "20:00:00" }, // 25 hours: the 5 is refused
        { 0, U"23", "23:00:00" },
        { 0, U"241", "24:00:00" }, // 24:00 is a time, 24:10 is not
        { 3, U"7", "00:00:00" }, // 70 minutes
        { 3, U"59", "00:59:00" },
        { 2, U"5", "00:50:00" }, // on the separator: the digit lands in the minutes, and is checked there
        { 6, U"6", "00:00:00" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        time->SetTime("00:00:00");
        time->SetSelStart(c.caret);
        Type(c.typed);
        EXPECT_EQ(time->Time(), c.expected);
    }
    // Leaving an incomplete entry raises nothing.
    time->SetEditText("1 :  :  ");
    EXPECT_NO_THROW(time->ValidateEdit());
    time->SetShowSeconds(false);
    EXPECT_EQ(time->Time(), "00:00");
}

TEST_F(SkinEditsTest, TimeEditConvertsMillisecondsBothWaysWithTheSettingsSeparator)
{
    TFormatSettings& settings = FormatSettings();
    const TFormatSettings saved = settings;
    for (char32_t separator : { U':', U'.' }) {
        settings.TimeSeparator = separator;
        const std::string s = SeparatorText(separator);
        auto* time = new TspSkinTimeEdit(Form);
        time->SetParent(Form);
        EXPECT_EQ(time->Time(), "00" + s + "00" + s + "00");
        time->SetShowMilliseconds(true);
        time->SetTime("01" + s + "02" + s + "03.004");
        EXPECT_EQ(time->Milliseconds(), 3723 * 1000 + 4);
        time->SetMilliseconds(3723004);
        EXPECT_EQ(time->Time(), "01" + s + "02" + s + "03.004");
        time->SetTime("xx" + s + "02" + s + "03.004");
        EXPECT_EQ(time->Time(), "00" + s + "00" + s + "00.000");
        int h = 0, m = 0, sec = 0, ms = 0;
        time->SetTime("24" + s + "00" + s + "00.000");
        time->DecodeTime(h, m, sec, ms);
        EXPECT_EQ(h, 23);
        delete time;
    }
    settings = saved;
}

TEST_F(SkinEditsTest, URLEditOpensItsTextOnlyWhenHotAndAMailAddressHasAnAtSign)
{
    std::vector<std::vector<std::string>> opened;
    TShellRunner previous = SetShellRunner([&](const TShellCommand& command) {
        opened.push_back(command.Argv);
        return true;
    });
    auto* url = new TspSkinURLEdit(Form);
    url->SetParent(Form);
    url->SetBounds(10, 10, 200, 20);
    url->SetLinkType(spltMail);
    url->SetText("nobody");
    Pump();
    const auto hover = [&](int x) {
        Backend.MouseMove(x, 20);
        Pump();
    };
    hover(200);
    hover(15);
    EXPECT_TRUE(url->Hot());
    EXPECT_TRUE(url->Font()->Style().Contains(fsUnderline));
    Click(15, 20);
    EXPECT_TRUE(opened.empty()) << "no @: not a mail address";
    url->SetText("a@b");
    hover(200);
    EXPECT_FALSE(url->Hot()) << "off the text the link is off";
    EXPECT_FALSE(url->Font()->Style().Contains(fsUnderline));
    hover(15);
    Click(15, 20);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].back(), "mailto:a@b");
    // Selecting with the left button held does not turn the link on.
    hover(200);
    Backend.MouseDown();
    hover(15);
    EXPECT_FALSE(url->Hot());
    Backend.MouseUp();
    Pump();
    SetShellRunner(previous);
}

// The spin edit's number edit draws only its text: the face the spin edit paints shows through it, though the spin
// edit clips its children.
TEST_F(SkinEditsTest, ASpinEditsNumberStandsOnItsFaceNotOnBlackOrOldDigits)
{
    auto* spin = new TspSkinSpinEdit(Form);
    spin->SetParent(Form);
    spin->SetBounds(10, 100, 100, 24);
    spin->SetSkinData(Skin);
    Pump();
    ASSERT_TRUE(spin->Edit()->EditTransparent());
    const TRect edit = spin->Edit()->BoundsRect();
    // The pixels of the text area's middle row, right of where a first digit stands, that are not the face.
    const int y = (edit.Top + edit.Bottom) / 2;
    const auto marks = [&] {
        int count = 0;
        for (int x = edit.Left + 12; x < edit.Right; ++x)
            count += Backend.WindowPixel(Form->Handle(), 10 + x, 100 + y) != TFixtureSkin::PixelOf(x, 56 + y, kSeed);
        return count;
    };
    EXPECT_EQ(marks(), 0) << "first show";
    spin->SetValue(888888888);
    Pump();
    EXPECT_GT(marks(), 0) << "the long number reaches past its first digit";
    spin->SetValue(1);
    Pump();
    EXPECT_EQ(marks(), 0) << "the old digits are gone";
}

} // namespace
