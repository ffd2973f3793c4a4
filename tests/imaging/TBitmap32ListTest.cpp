#include "imaging/TBitmap32List.h"

#include "framework/core/TList.h"
#include "imaging/TBitmap32.h"

#include <gtest/gtest.h>

TEST(TBitmap32List, ItemsOwnCopiesOfTheirBitmaps)
{
    TBitmap32List list(nullptr);
    EXPECT_EQ(list.Bitmaps()->Count(), 0);
    EXPECT_EQ(list.Bitmaps()->Owner(), &list);
    list.Bitmaps()->Add();
    ASSERT_NE(list.Bitmap(0), nullptr);
    EXPECT_EQ(list.Bitmap(0)->Width(), 0);
    EXPECT_EQ(list.Bitmap(0)->Height(), 0);

    TBitmap32 source;
    source.SetSize(10, 10);
    source.Clear(0xFF00FF00);
    list.SetBitmap(0, &source);
    source.Clear(0xFFFF0000);
    EXPECT_EQ(list.Bitmap(0)->Width(), 10);
    EXPECT_EQ(list.Bitmap(0)->Pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(list.Bitmaps()->Items(0)->Index(), 0);
}

TEST(TBitmap32List, BadIndexesAndItemAssignmentRaise)
{
    TBitmap32List list(nullptr);
    list.Bitmaps()->Add();
    try {
        list.Bitmap(1);
        FAIL() << "no error";
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list.SetBitmap(-1, nullptr), EListError);
    TBitmap32Collection other(nullptr);
    TBitmap32Item* item = other.Add();
    try {
        list.Bitmaps()->SetItems(0, item);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TBitmap32Item to a TBitmap32Item");
    }
}

TEST(TBitmap32List, WritingTheCollectionCopiesItsItems)
{
    TBitmap32List list(nullptr);
    list.Bitmaps()->Add();
    {
        TBitmap32Collection replacement(nullptr);
        replacement.Add()->Bitmap()->SetSize(2, 3);
        replacement.Add();
        list.SetBitmaps(&replacement);
        // The caller still owns and frees its collection; the list keeps copies.
    }
    ASSERT_EQ(list.Bitmaps()->Count(), 2);
    EXPECT_EQ(list.Bitmap(0)->Height(), 3);
    list.SetBitmaps(list.Bitmaps());
    EXPECT_EQ(list.Bitmaps()->Count(), 2);
    list.SetBitmaps(nullptr);
    EXPECT_EQ(list.Bitmaps()->Count(), 0);
}
