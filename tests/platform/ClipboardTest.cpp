#include "PlatformTestSupport.h"

#include "platform/win/Clipboard.h"

#include <cstring>
#include <string>

namespace {

class ClipboardTest : public PlatformTest {
protected:
    static HGLOBAL Block(const void* bytes, size_t size)
    {
        HGLOBAL block = GlobalAlloc(GHND, size);
        std::memcpy(GlobalLock(block), bytes, size);
        GlobalUnlock(block);
        return block;
    }
    static std::string Bytes(HANDLE block)
    {
        const auto* p = static_cast<const char*>(GlobalLock(block));
        return p ? std::string(p, GlobalSize(block)) : std::string();
    }
};

} // namespace

TEST_F(ClipboardTest, TextGoesToTheDisplayAsUtf8AndComesBackInBothForms)
{
    HWND form = CreateTop(RECT { 0, 0, 100, 100 });
    const std::string text = "Gr\xC3\xBC\xC3\x9F"
                             "e \xF0\x9F\x98\x80";
    ASSERT_TRUE(OpenClipboard(form));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL block = Block(text.c_str(), text.size() + 1);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
    // Nothing reaches the display before the clipboard closes.
    EXPECT_TRUE(Backend.Clipboard().empty());
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalSize(block), 0u) << "the clipboard freed the block it took over";
    const TClipboardData shown = Backend.Clipboard();
    ASSERT_EQ(shown.count(CF_TEXT), 1u);
    EXPECT_EQ(std::string(shown.at(CF_TEXT).begin(), shown.at(CF_TEXT).end()), text);
    EXPECT_EQ(GetClipboardOwner(), form);

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Bytes(GetClipboardData(CF_TEXT)), text + '\0');
    const std::u16string wide = u"Gr\u00FC\u00DFe \U0001F600";
    EXPECT_EQ(Bytes(GetClipboardData(CF_UNICODETEXT)),
        std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2));
    CloseClipboard();

    // UTF-16 in, with a lone surrogate, comes out as UTF-8 with a replacement character.
    const char16_t in[] = { u'a', 0xD800, u'b', 0 };
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, Block(in, sizeof in));
    CloseClipboard();
    const TClipboardData again = Backend.Clipboard();
    EXPECT_EQ(std::string(again.at(CF_TEXT).begin(), again.at(CF_TEXT).end()), "a\xEF\xBF\xBD"
                                                                                "b");
}

TEST_F(ClipboardTest, RegisteredFormatsKeepTheirBytesAndEmptyingClearsEverything)
{
    const UINT png = RegisterClipboardFormat("image/png");
    EXPECT_GE(png, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("IMAGE/PNG"), png);
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
    const std::string bytes("\x89PNG\0\x01\x02", 7);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(png, Block(bytes.data(), bytes.size()));
    SetClipboardData(CF_TEXT, Block("picture", 8));
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(png));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Bytes(GetClipboardData(png)), bytes);
    EXPECT_EQ(GetClipboardData(png + 1), nullptr);
    // Setting without emptying adds to what is there.
    SetClipboardData(png + 1, Block("x", 1));
    CloseClipboard();
    EXPECT_EQ(Backend.Clipboard().size(), 3u);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(png));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(ClipboardTest, OnlyTheOpenerMayChangeTheClipboard)
{
    // Closed: nothing can be set or read, and a block handed in stays the caller's.
    HGLOBAL block = Block("a", 2);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(CloseClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "one opener at a time";
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(uintptr_t(0x1234))), nullptr);
    CloseClipboard();
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block) << "a freed block is no block";
    EXPECT_EQ(GlobalLock(block), nullptr);
}
