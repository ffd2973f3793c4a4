// TRichEdit over the rich edit window class: its text and paragraph attributes, Lines that save and load RTF
// files (and plain text, and RTF that cannot be read), formatting that survives a new window, and its events.
#include "ControlsTestSupport.h"

#include "framework/controls/TCustomRichEdit.h"
#include "framework/core/Exception.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

class RichEditsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "RichEditsTest.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
        ControlsTest::TearDown();
    }

    TRichEdit* MakeRichEdit(int y = 10)
    {
        auto* edit = new TRichEdit(Form);
        edit->SetParent(Form);
        edit->SetBounds(10, y, 300, 100);
        edit->Font()->SetName("DejaVu Sans");
        edit->Font()->SetHeight(-13);
        return edit;
    }
    std::string File(const char* name) const { return Folder + "/" + name; }
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Formats "Heading" big, bold and red and centres its paragraph; "body" stays as the font is.
    static void Format(TRichEdit* edit)
    {
        edit->Lines()->Add("Heading");
        edit->Lines()->Add("body text");
        edit->SetSelStart(0);
        edit->SetSelLength(7);
        edit->SelAttributes()->SetStyle(TFontStyles {fsBold});
        edit->SelAttributes()->SetColor(clRed);
        edit->SelAttributes()->SetSize(16);
        edit->Paragraph()->SetAlignment(taCenter);
    }
    static void ExpectFormatted(TRichEdit* edit)
    {
        ASSERT_EQ(edit->Lines()->Count(), 2);
        EXPECT_EQ(edit->Lines()->Strings(0), "Heading");
        EXPECT_EQ(edit->Lines()->Strings(1), "body text");
        edit->SetSelStart(1);
        edit->SetSelLength(3);
        EXPECT_TRUE(edit->SelAttributes()->Style().Contains(fsBold));
        EXPECT_EQ(edit->SelAttributes()->Color(), clRed);
        EXPECT_EQ(edit->SelAttributes()->Size(), 16);
        EXPECT_EQ(edit->Paragraph()->Alignment(), taCenter);
        edit->SetSelStart(10);
        edit->SetSelLength(4);
        EXPECT_FALSE(edit->SelAttributes()->Style().Contains(fsBold));
        EXPECT_EQ(edit->SelAttributes()->Color(), clWindowText);
        EXPECT_EQ(edit->SelAttributes()->Name(), "DejaVu Sans");
        EXPECT_EQ(edit->Paragraph()->Alignment(), taLeftJustify);
    }

    std::string Folder;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(RichEditsTest, LinesSaveAndLoadRtfFilesWithTheirFormatting)
{
    TRichEdit* edit = MakeRichEdit();
    Format(edit);
    ExpectFormatted(edit);
    edit->Lines()->SaveToFile(File("saved.rtf"));
    EXPECT_EQ(Read(File("saved.rtf")).rfind("{\\rtf1", 0), 0u);

    TRichEdit* copy = MakeRichEdit(150);
    copy->Lines()->LoadFromFile(File("saved.rtf"));
    ExpectFormatted(copy);

    // PlainText saves and loads the text alone.
    copy->SetPlainText(true);
    copy->Lines()->SaveToFile(File("saved.txt"));
    EXPECT_EQ(Read(File("saved.txt")), "Heading\r\nbody text");
    Write(File("words.txt"), "\xEF\xBB\xBF{\\rtf1 taken as it is}");
    copy->Lines()->LoadFromFile(File("words.txt"));
    EXPECT_EQ(copy->Text(), "{\\rtf1 taken as it is}");
}

TEST_F(RichEditsTest, AFileThatIsNotGoodRtfLoadsAsPlainTextAndSaysSo)
{
    TRichEdit* edit = MakeRichEdit();
    Write(File("broken.rtf"), "{\\rtf1\\ansi {\\b bold} and no end");
    EXPECT_THROW(edit->Lines()->LoadFromFile(File("broken.rtf")), EOutOfResources);
    EXPECT_EQ(edit->Text(), "{\\rtf1\\ansi {\\b bold} and no end");

    // Plain text in a file is no error, and RTF it does not fully know still gives its text.
    Write(File("plain.rtf"), "first line\nsecond line\n");
    edit->Lines()->LoadFromFile(File("plain.rtf"));
    EXPECT_EQ(edit->Lines()->Count(), 2);
    Write(File("foreign.rtf"),
        "{\\rtf1\\ansi{\\*\\company Maker}{\\unknown kept}\\newword7 text\\'e9{\\*\\shppict{\\pict 0a0b}}\\par}");
    edit->Lines()->LoadFromFile(File("foreign.rtf"));
    EXPECT_EQ(edit->Text(), "kepttext\xC3\xA9\r\n");
}

TEST_F(RichEditsTest, FormattingSurvivesANewWindow)
{
    TRichEdit* edit = MakeRichEdit();
    Format(edit);
    edit->SetModified(false);
    // Word wrap and the scroll bars are styles of the window: changing them makes it again.
    edit->SetScrollBars(ssVertical);
    edit->SetWordWrap(false);
    ExpectFormatted(edit);
    EXPECT_FALSE(edit->Modified());
}

TEST_F(RichEditsTest, DefaultAttributesFollowTheFontAndChangesAreReported)
{
    TRichEdit* edit = MakeRichEdit();
    int changes = 0, selections = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnSelectionChange = [&](TObject*) { ++selections; };
    edit->Lines()->Add("some words");
    EXPECT_GT(changes, 0);
    EXPECT_GT(selections, 0);
    selections = 0;
    edit->SetSelStart(2);
    EXPECT_EQ(selections, 1);

    // Text nobody formatted takes the font's new colour and style; a run formatted on its own keeps its colour.
    edit->SetSelStart(0);
    edit->SetSelLength(4);
    edit->SelAttributes()->SetColor(clBlue);
    edit->Font()->SetColor(clGreen);
    edit->Font()->SetStyle(TFontStyles {fsItalic});
    EXPECT_EQ(edit->DefAttributes()->Color(), clGreen);
    EXPECT_EQ(edit->SelAttributes()->Color(), clBlue);
    edit->SetSelStart(5);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelAttributes()->Color(), clGreen);
    EXPECT_TRUE(edit->SelAttributes()->Style().Contains(fsItalic));
    // A selection over both: the colour is not consistent, the face is.
    edit->SetSelStart(0);
    edit->SetSelLength(10);
    TConsistentAttributes consistent = edit->SelAttributes()->ConsistentAttributes();
    EXPECT_FALSE(consistent.Contains(caColor));
    EXPECT_TRUE(consistent.Contains(caFace));

    // DefAttributes into a font and back.
    TFont font;
    font.Assign(edit->DefAttributes());
    EXPECT_EQ(font.Color(), clGreen);
    EXPECT_EQ(font.Name(), "DejaVu Sans");
}

TEST_F(RichEditsTest, TheColourIsTheBackgroundAndARedRunShowsRed)
{
    TRichEdit* edit = MakeRichEdit();
    edit->SetBorderStyle(ebsNone);
    edit->SetColor(clYellow);
    edit->Lines()->Add("MMMMMMMM");
    edit->SetSelStart(0);
    edit->SetSelLength(8);
    edit->SelAttributes()->SetColor(clRed);
    edit->SelAttributes()->SetStyle(TFontStyles {fsBold});
    edit->SetSelStart(8);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10 + 295, 10 + 95) & 0xFFFFFF, 0xFFFF00u);
    int red = 0;
    for (int x = 10; x < 130; ++x)
        for (int y = 10; y < 30; ++y) {
            uint32_t p = Backend.WindowPixel(Form->Handle(), x, y);
            red += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
        }
    EXPECT_GT(red, 20);
}
