// The fixture of the edit tests: the headless backend, a parent window that logs the notifications it gets
// and can answer the colour messages, and an edit in it with a real font.
#pragma once
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/TextEngine.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class EditTest : public testing::Test {
protected:
    static constexpr int kEditId = 7;

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterEditClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &EditTest::ParentProc;
        wc.lpszClassName = "EditTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "EditTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
            nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
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

    HWND MakeEdit(DWORD style, const RECT& r, const char* text = "")
    {
        HWND edit = CreateWindowEx(0, WC_EDIT, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
            r.bottom - r.top, Parent, reinterpret_cast<HMENU>(uintptr_t(kEditId)), nullptr, nullptr);
        SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        return edit;
    }

    static std::string Text(HWND edit)
    {
        std::string text(GetWindowTextLength(edit) + 1, '\0');
        text.resize(GetWindowText(edit, text.data(), static_cast<int>(text.size())));
        return text;
    }
    static std::pair<DWORD, DWORD> Selection(HWND edit)
    {
        DWORD start = 0, end = 0;
        SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    static int LineHeight(HWND edit)
    {
        return HIWORD(SendMessage(edit, EM_POSFROMCHAR, SendMessage(edit, EM_LINEINDEX, 1, 0), 0)) -
               HIWORD(SendMessage(edit, EM_POSFROMCHAR, 0, 0));
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    // Types each character of the UTF-8 text as the display's key text.
    void Type(const std::string& text)
    {
        for (size_t at = 0; at < text.size();) {
            int length = 1;
            Backend.Char(utf8::Decode(text, at, &length));
            at += length;
        }
        Pump();
    }
    // A key with Shift or Ctrl held.
    void Chord(UINT modifier, UINT key)
    {
        Backend.KeyDown(modifier);
        Backend.Key(key);
        Backend.KeyUp(modifier);
        Pump();
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current) {
            if (message == WM_COMMAND && LOWORD(wParam) == kEditId)
                Current->Notifications.push_back(HIWORD(wParam));
            if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && Current->Brush)
                return reinterpret_cast<LRESULT>(Current->Brush);
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline EditTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    std::vector<WORD> Notifications;
    HBRUSH Brush = nullptr; // what the parent answers to the colour messages (null: the default)
};
