#include "PlatformTestSupport.h"

#include <vector>

namespace {

using OwnerDraw = PlatformTest;

// A list of three owner-drawn items: the list asks its parent for each item's height, then has it draw each
// item in its row.
TEST_F(OwnerDraw, AnOwnerDrawnListHasItsParentMeasureAndDrawEachItem)
{
    HWND parent = CreateTop(RECT { 0, 0, 200, 200 });
    HWND list = CreateChild(parent, RECT { 10, 10, 110, 110 }, WS_CHILD | WS_VISIBLE, kPlain, 42);
    std::vector<DRAWITEMSTRUCT> drawn;
    Handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (hwnd != parent)
            return std::nullopt;
        if (message == WM_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(wParam, 42u);
            measure->itemHeight = 10 + 5 * measure->itemID;
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    };
    StartLog();
    int top = 0;
    for (UINT item = 0; item < 3; ++item) {
        MEASUREITEMSTRUCT measure { ODT_LISTBOX, 0, item, 100, 16, 1000 + item };
        EXPECT_EQ(SendMeasureItem(list, measure), TRUE);
        DRAWITEMSTRUCT draw { ODT_LISTBOX, 0, item, ODA_DRAWENTIRE, item == 1 ? ODS_SELECTED : 0u, nullptr, nullptr,
            RECT { 0, top, 100, top + int(measure.itemHeight) }, 1000 + item };
        top += int(measure.itemHeight);
        EXPECT_EQ(SendDrawItem(list, draw), TRUE);
    }
    EXPECT_EQ(Sequence({ WM_MEASUREITEM, WM_DRAWITEM }, parent),
        Messages({ WM_MEASUREITEM, WM_DRAWITEM, WM_MEASUREITEM, WM_DRAWITEM, WM_MEASUREITEM, WM_DRAWITEM }));
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[2].rcItem.top, 25) << "rows of 10 and 15 pixels above it";
    EXPECT_EQ(drawn[2].rcItem.bottom, 45);
    EXPECT_EQ(drawn[1].itemState, ODS_SELECTED);
    EXPECT_EQ(drawn[1].itemData, 1001u);
    EXPECT_EQ(drawn[0].hwndItem, list);
    EXPECT_EQ(drawn[0].CtlID, 42u);

    // Deleting and comparing go the same way; a top-level window has no parent to ask.
    COMPAREITEMSTRUCT compare { ODT_LISTBOX, 0, nullptr, 0, 5, 1, 3, 0 };
    Handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (hwnd == parent && message == WM_COMPAREITEM) {
            const auto* c = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
            return c->itemData1 < c->itemData2 ? -1 : (c->itemData1 > c->itemData2 ? 1 : 0);
        }
        return std::nullopt;
    };
    EXPECT_EQ(SendCompareItem(list, compare), 1);
    EXPECT_EQ(compare.hwndItem, list);
    MEASUREITEMSTRUCT orphan { ODT_LISTBOX, 0, 0, 0, 16, 0 };
    EXPECT_EQ(SendMeasureItem(parent, orphan), 0);
    EXPECT_EQ(orphan.itemHeight, 16u);
}

} // namespace
