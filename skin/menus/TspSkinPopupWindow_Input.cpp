// The mouse, scrolling and keyboard of a menu level.
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupWindow.h"

using namespace SPUtils;

// ---- Mouse ------------------------------------------------------------------------------------------------------

bool TspSkinPopupWindow::InWindow(TPoint screenPoint) const
{
    return HandleAllocated()
        && WindowFromPoint(POINT { screenPoint.X, screenPoint.Y }) == const_cast<TspSkinPopupWindow*>(this)->Handle();
}

void TspSkinPopupWindow::TestMouse(TObject*)
{
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return;
    const TPoint screen { cursor.x, cursor.y };
    const TPoint client = ScreenToClient(screen);
    const bool moved = client.X != OldPoint.X || client.Y != OldPoint.Y;
    OldPoint = client;
    if (!moved)
        return;
    if (InWindow(screen)) {
        TestActive(client.X, client.Y);
    } else if (Scroll) {
        // A scroll that runs stops doing anything while the mouse is away.
        ScrollCode = 0;
        RepaintNow();
    }
}

bool TspSkinPopupWindow::Selectable(int index) const
{
    const TMenuItem* item = ItemList[size_t(index)]->MenuItem;
    return item->Enabled() && !item->IsLine();
}

void TspSkinPopupWindow::TestActive(int x, int y)
{
    const TPoint p { x, y };
    if (Scroll) {
        const TRect up = UpMarkerRect();
        const TRect down = DownMarkerRect();
        if (PointInRect(up, p) && ScrollCode == 0 && CanScroll(1)) {
            ScrollCode = 1;
            RepaintNow();
            StartScroll();
        } else if (PointInRect(down, p) && ScrollCode == 0 && CanScroll(2)) {
            ScrollCode = 2;
            RepaintNow();
            StartScroll();
        } else if (ScrollCode != 0 && !PointInRect(up, p) && !PointInRect(down, p)) {
            StopScroll();
        }
    }
    if (ItemList.empty())
        return;
    OldActiveItem = ActiveItem;
    for (int i = 0; i < static_cast<int>(ItemList.size()); ++i) {
        const TspSkinMenuItem* item = ItemList[size_t(i)].get();
        if (item->Visible && PointInRect(item->ObjectRect, p)) {
            ActiveItem = i;
            break;
        }
    }
    if (ActiveItem >= static_cast<int>(ItemList.size()))
        ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem == -1)
            return;
        TspSkinMenuItem* item = ItemList[size_t(ActiveItem)].get();
        if (item->Waiting) {
            item->Waiting = false;
            if (item->MenuItem->Count() > 0)
                item->MouseEnter(false);
        }
        return;
    }
    if (OldActiveItem != -1 && Selectable(OldActiveItem))
        ItemList[size_t(OldActiveItem)]->MouseLeave();
    if (ActiveItem != -1 && Selectable(ActiveItem))
        ItemList[size_t(ActiveItem)]->MouseEnter(false);
}

bool TspSkinPopupWindow::GetActive(int x, int y) const
{
    for (const auto& item : ItemList)
        if (item->Visible && PointInRect(item->ObjectRect, TPoint { x, y }))
            return true;
    return false;
}

void TspSkinPopupWindow::MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    TestActive(x, y);
    if (button != mbLeft || ActiveItem == -1 || !GetActive(x, y))
        return;
    TspSkinMenuItem* item = ItemList[size_t(ActiveItem)].get();
    if (!item->MenuItem->IsLine())
        item->MouseDown(x, y); // may close every level, this one included
}

void TspSkinPopupWindow::UpDatePW()
{
    const int level = FSkinMenu->GetPWIndex(this);
    if (level + 1 < FSkinMenu->LevelCount())
        FSkinMenu->CloseMenu(level + 1);
    for (const auto& item : ItemList) {
        if (!item->Down)
            continue;
        item->Down = false;
        if (item->EnableAnimation() && !item->Data->InActiveAnimation) {
            item->CurrentFrame = 0;
            DrawItemNow(item.get());
        } else {
            item->Redraw();
        }
    }
}

void TspSkinPopupWindow::TestMorph(TObject*)
{
    if (!SkinRecord)
        return;
    bool changed = false;
    for (const auto& item : ItemList) {
        if (item->EnableMorphing() && item->CanMorphing()) {
            item->DoMorphing();
            changed = true;
        } else if (item->EnableAnimation()) {
            const bool on = item->Active || item->Down;
            if (on && item->CurrentFrame <= item->Data->FrameCount) {
                ++item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            } else if (!on && item->CurrentFrame > 0) {
                --item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            }
        }
    }
    if (!changed)
        MorphTimer->SetEnabled(false);
}

// ---- Scrolling --------------------------------------------------------------------------------------------------

bool TspSkinPopupWindow::CanScroll(int direction) const
{
    if (direction == 1)
        return FirstVisibleIndex > 0;
    return FirstVisibleIndex + VisibleCount - 1 < static_cast<int>(ItemList.size()) - 1;
}

void TspSkinPopupWindow::StartScroll()
{
    WaitTimer->SetEnabled(false);
    const int level = FSkinMenu->GetPWIndex(this);
    if (level + 1 < FSkinMenu->LevelCount())
        FSkinMenu->CloseMenu(level + 1);
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 100, nullptr);
}

void TspSkinPopupWindow::StopScroll()
{
    ScrollCode = 0;
    RepaintNow();
    if (HandleAllocated())
        KillTimer(Handle(), 1);
}

void TspSkinPopupWindow::WMTimer(TMessage& message)
{
    if (message.WParam != 1)
        return;
    if (ScrollCode == 1) {
        if (CanScroll(1))
            ScrollUp(false);
        else
            StopScroll();
    } else if (ScrollCode == 2) {
        if (CanScroll(2))
            ScrollDown(false);
        else
            StopScroll();
    }
}

void TspSkinPopupWindow::ScrollUp(bool wrap)
{
    if (FirstVisibleIndex > 0)
        --FirstVisibleIndex;
    else if (wrap)
        FirstVisibleIndex = GetEndStartVisibleIndex();
    else
        return;
    CalcItemRects();
    RepaintNow();
}

void TspSkinPopupWindow::ScrollDown(bool wrap)
{
    if (FirstVisibleIndex + VisibleCount - 1 < static_cast<int>(ItemList.size()) - 1)
        ++FirstVisibleIndex;
    else if (wrap)
        FirstVisibleIndex = 0;
    else
        return;
    CalcItemRects();
    RepaintNow();
}

int TspSkinPopupWindow::GetEndStartVisibleIndex() const
{
    // Counted against the top of the items band (not an absolute 10), so that the last items shown after a wrap
    // are the ones the layout can place.
    const int count = static_cast<int>(ItemList.size());
    int value = NewItemsRect.Bottom - 10;
    int counted = 0;
    for (int i = count - 1; i >= 0; --i) {
        value -= ItemHeight(ItemList[size_t(i)]->MenuItem);
        if (value < NewItemsRect.Top + 10)
            break;
        ++counted;
    }
    return count - counted;
}

// ---- Keyboard ---------------------------------------------------------------------------------------------------

void TspSkinPopupWindow::SetActive(int index)
{
    if (index == ActiveItem)
        return;
    const int old = ActiveItem;
    ActiveItem = index;
    ItemList[size_t(index)]->MouseEnter(true);
    if (old != -1)
        ItemList[size_t(old)]->MouseLeave();
}

void TspSkinPopupWindow::NextItem()
{
    const int count = static_cast<int>(ItemList.size());
    if (count == 0)
        return;
    auto lastVisible = [this] { return FirstVisibleIndex + VisibleCount - 1; };
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == lastVisible())
        ScrollDown(true);
    int start = ActiveItem + 1;
    if (start >= count)
        start = 0;
    for (int i = start; i < count; ++i) {
        if (Selectable(i)) {
            SetActive(i);
            return;
        }
        if (Scroll && i == lastVisible())
            ScrollDown(true);
    }
}

void TspSkinPopupWindow::PriorItem()
{
    const int count = static_cast<int>(ItemList.size());
    if (count == 0)
        return;
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == FirstVisibleIndex)
        ScrollUp(true);
    int start = ActiveItem - 1;
    if (ActiveItem <= 0)
        start = count - 1;
    for (int i = start; i >= 0; --i) {
        if (Selectable(i)) {
            SetActive(i);
            return;
        }
        if (Scroll && i == FirstVisibleIndex)
            ScrollUp(true);
    }
}

void TspSkinPopupWindow::PopupKeyDown(int key)
{
    if (!Showing())
        return;
    for (int i = 0; i < static_cast<int>(ItemList.size()); ++i) {
        TspSkinMenuItem* item = ItemList[size_t(i)].get();
        if (!IsAccel(uint32_t(key), item->MenuItem->Caption()) || !Enabled())
            continue;
        const int old = ActiveItem;
        item->MouseEnter(false);
        ActiveItem = i;
        if (old != -1 && old != i)
            ItemList[size_t(old)]->MouseLeave();
        item->MouseDown(0, 0); // a leaf runs its command and closes every level
        return;
    }
    switch (key) {
    case VK_RETURN:
        if (ActiveItem != -1)
            ItemList[size_t(ActiveItem)]->MouseDown(0, 0);
        break;
    case VK_ESCAPE:
    case VK_LEFT: {
        if (key == VK_LEFT && FSkinMenu->LevelCount() < 2)
            break;
        FSkinMenu->CloseMenu(FSkinMenu->LevelCount() - 1);
        if (TspSkinPopupWindow* last = FSkinMenu->LastLevel(); last && last->ActiveItem != -1)
            last->ItemList[size_t(last->ActiveItem)]->Down = false;
        break;
    }
    case VK_UP:
        PriorItem();
        break;
    case VK_RIGHT:
        if (ActiveItem != -1 && ItemList[size_t(ActiveItem)]->MenuItem->Count() > 0)
            ItemList[size_t(ActiveItem)]->MouseDown(0, 0);
        break;
    case VK_DOWN:
        NextItem();
        break;
    default:
        break;
    }
}
