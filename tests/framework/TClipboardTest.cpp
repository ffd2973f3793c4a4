#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TPicture.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Clipboard.h"

#include <gtest/gtest.h>

namespace {

class TClipboardTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Backend.Install()); }
    void TearDown() override { Backend.Uninstall(); }

    THeadlessBackend Backend;
};

} // namespace

TEST_F(TClipboardTest, TextRoundTripsAndReplacesThePicture)
{
    EXPECT_EQ(Clipboard()->AsText(), "");
    Clipboard()->SetAsText("caf\xC3\xA9 au lait");
    EXPECT_EQ(Clipboard()->AsText(), "caf\xC3\xA9 au lait");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    // What another program put there is read the same way.
    Backend.SetClipboard(TClipboardData { { CF_TEXT, { 'x', 'y' } } });
    EXPECT_EQ(Clipboard()->AsText(), "xy");
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(TClipboardTest, APictureTravelsUnderItsClassFormatAndComesBackIntoAPicture)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    bitmap.Canvas()->SetPixels(2, 0, clBlue);
    Clipboard()->SetAsText("old");
    Clipboard()->Assign(&bitmap);
    const UINT format = TClipboard::PictureFormatOf(bitmap);
    ASSERT_NE(format, 0u);
    EXPECT_TRUE(Clipboard()->HasFormat(format));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT)) << "a new picture replaces the whole contents";

    TPicture picture;
    picture.Assign(Clipboard());
    ASSERT_NE(picture.Graphic(), nullptr);
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    TBitmap* copy = picture.Bitmap();
    EXPECT_EQ(copy->Width(), 3);
    EXPECT_EQ(copy->Height(), 2);
    EXPECT_EQ(copy->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(copy->Canvas()->Pixels(2, 0), clBlue);

    // Text only: no picture to take, and the picture keeps what it had.
    Clipboard()->SetAsText("just text");
    EXPECT_THROW(picture.Assign(Clipboard()), EClipboardException);
    EXPECT_EQ(picture.Width(), 3);
    // A class without a clipboard format is refused with a clear error.
    TIcon icon;
    EXPECT_THROW(Clipboard()->Assign(&icon), EClipboardException);
    EXPECT_EQ(Clipboard()->AsText(), "just text");
}
