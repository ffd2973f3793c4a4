// A parent window for the list and combo box tests that writes down what its children tell it (commands and
// the owner-draw and colour messages, in order) and answers the owner-draw questions as the test says.
#pragma once
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

struct ParentEvent {
    UINT Message = 0;
    UINT CtlType = 0;
    UINT Id = 0;
    UINT Code = 0; // WM_COMMAND: the notification
    int Item = 0;
    UINT Action = 0;
    UINT State = 0;
    RECT Rect {};
    UINT_PTR Data = 0;
    HWND From = nullptr;
};

class ListTestBase : public testing::Test {
protected:
    static constexpr int kId = 9;

    void SetUp() override
    {
        // Window DCs draw into the back buffers, so what a control draws outside WM_PAINT can be read back.
        InstallGdiDCProvider();
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterListBoxClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &ListTestBase::ParentProc;
        wc.lpszClassName = "ListTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "ListTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
            nullptr, nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
        SetActiveWindow(Parent);
        Font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        Current = this;
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        DeleteObject(Font);
        Current = nullptr;
        Backend.Uninstall();
    }

    HWND MakeChild(const char* cls, DWORD style, int x, int y, int width, int height)
    {
        HWND w = CreateWindowEx(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, Parent,
            reinterpret_cast<HMENU>(uintptr_t(kId)), nullptr, nullptr);
        SendMessage(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        Pump();
        return w;
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    void Press(UINT key, UINT modifier = 0)
    {
        if (modifier)
            Backend.KeyDown(modifier);
        Backend.Key(key);
        if (modifier)
            Backend.KeyUp(modifier);
        Pump();
    }
    // A click at a screen point, far enough in time from the last one not to make a double click.
    void ClickAt(int x, int y)
    {
        Backend.Click(x, y);
        Backend.AdvanceClock(1000);
        Pump();
    }
    static POINT ScreenCentre(HWND w, RECT r)
    {
        POINT p {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(w, &p);
        return p;
    }

    // The events of one kind, and the notification codes.
    std::vector<ParentEvent> Of(UINT message) const
    {
        std::vector<ParentEvent> out;
        for (const ParentEvent& e : Events)
            if (e.Message == message)
                out.push_back(e);
        return out;
    }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> out;
        for (const ParentEvent& e : Events)
            if (e.Message == WM_COMMAND)
                out.push_back(e.Code);
        return out;
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        ListTestBase* t = Current;
        if (!t)
            return DefWindowProc(hwnd, message, wParam, lParam);
        ParentEvent e;
        e.Message = message;
        switch (message) {
        case WM_COMMAND:
            e.Id = LOWORD(wParam);
            e.Code = HIWORD(wParam);
            e.From = reinterpret_cast<HWND>(lParam);
            t->Events.push_back(e);
            if (t->OnCommand)
                t->OnCommand(e);
            return 0;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            e.CtlType = m->CtlType;
            e.Id = m->CtlID;
            e.Item = static_cast<int>(m->itemID);
            e.Data = m->itemData;
            e.State = m->itemHeight; // the height offered
            if (t->MeasureHeight)
                m->itemHeight = static_cast<UINT>(t->MeasureHeight(static_cast<int>(m->itemID), m->itemData));
            t->Events.push_back(e);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            e.CtlType = d->CtlType;
            e.Id = d->CtlID;
            e.Item = static_cast<int>(d->itemID);
            e.Action = d->itemAction;
            e.State = d->itemState;
            e.Rect = d->rcItem;
            e.Data = d->itemData;
            e.From = d->hwndItem;
            t->Events.push_back(e);
            if (t->DrawBrush && static_cast<int>(d->itemID) >= 0)
                FillRect(d->hDC, &d->rcItem, t->DrawBrush);
            return TRUE;
        }
        case WM_DELETEITEM: {
            auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
            e.CtlType = d->CtlType;
            e.Id = d->CtlID;
            e.Item = static_cast<int>(d->itemID);
            e.Data = d->itemData;
            e.From = d->hwndItem;
            t->Events.push_back(e);
            return TRUE;
        }
        case WM_COMPAREITEM: {
            auto* c = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
            e.CtlType = c->CtlType;
            e.Id = c->CtlID;
            e.Data = c->itemData1;
            t->Events.push_back(e);
            return c->itemData1 < c->itemData2 ? -1 : c->itemData1 > c->itemData2 ? 1 : 0;
        }
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            e.From = reinterpret_cast<HWND>(lParam);
            t->Events.push_back(e);
            if (t->ColorBrush) {
                SetTextColor(reinterpret_cast<HDC>(wParam), t->ColorText);
                return reinterpret_cast<LRESULT>(t->ColorBrush);
            }
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
        }
    }

    static inline ListTestBase* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    std::vector<ParentEvent> Events;
    // Answers to the questions the children ask, when set.
    std::function<int(int item, UINT_PTR data)> MeasureHeight;
    std::function<void(const ParentEvent&)> OnCommand;
    HBRUSH DrawBrush = nullptr;
    HBRUSH ColorBrush = nullptr;
    COLORREF ColorText = 0;
};
