// How popup menus look: the menu font, raised frame, highlighted items, check marks, separators, shortcut texts and
// submenu arrows, installed into the menu loop with the DC provider.
#include "platform/gdi/MenuPaint.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/win/Menus.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kMarkColumn = 18;
constexpr int kShortcutGap = 16;
constexpr int kItemHeight = 18;

HFONT MenuFont(bool bold)
{
    return CreateFont(-11, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
}

// The text before the tab and the shortcut text after it.
std::pair<std::string, std::string> SplitText(const char* text)
{
    const std::string all = text ? text : "";
    const size_t tab = all.find('\t');
    if (tab == std::string::npos)
        return { all, std::string() };
    return { all.substr(0, tab), all.substr(tab + 1) };
}

class TGdiMenuPainter final : public TMenuPainter {
    using inherited = TMenuPainter;

public:
    SIZE MeasureMenuItem(const TMenuItemView& item) override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = MenuFont(item.Default);
        HGDIOBJ old = SelectObject(dc, font);
        const auto [text, shortcut] = SplitText(item.Text);
        RECT r { 0, 0, 0, 0 };
        DrawText(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
        int width = r.right;
        if (!shortcut.empty()) {
            SIZE size {};
            GetTextExtentPoint32(dc, shortcut.c_str(), int(shortcut.size()), &size);
            width += kShortcutGap + size.cx;
        }
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        return SIZE { width, std::max<LONG>(kItemHeight, r.bottom + 4) };
    }

    void PaintMenuFrame(HDC dc, const RECT& client) override
    {
        RECT r = client;
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        HBRUSH menu = CreateSolidBrush(GetSysColor(COLOR_MENU));
        r = client;
        InflateRect(&r, -2, -2);
        FillRect(dc, &r, menu);
        DeleteObject(menu);
    }

    void PaintMenuItem(HDC dc, const RECT& rect, const TMenuItemView& item) override
    {
        if (item.Separator) {
            RECT line { rect.left + 1, rect.top + (rect.bottom - rect.top) / 2 - 1, rect.right - 1, rect.bottom };
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            return;
        }
        const bool hot = item.Hot;
        HBRUSH back = CreateSolidBrush(GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
        FillRect(dc, &rect, back);
        DeleteObject(back);
        const int saved = SaveDC(dc);
        HFONT font = MenuFont(item.Default);
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        COLORREF color = GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
        if (!item.Enabled)
            color = GetSysColor(COLOR_GRAYTEXT);
        SetTextColor(dc, color);
        if (item.Checked) {
            RECT mark { rect.left, rect.top, rect.left + kMarkColumn, rect.bottom };
            InflateRect(&mark, -3, -3);
            DrawFrameControl(dc, &mark, DFC_POPUPMENU, item.RadioCheck ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        }
        if (item.HasSubmenu) {
            RECT arrow { rect.right - kMarkColumn, rect.top, rect.right, rect.bottom };
            InflateRect(&arrow, -4, -4);
            DrawFrameControl(dc, &arrow, DFC_POPUPMENU, DFCS_MENUARROW);
        }
        const auto [text, shortcut] = SplitText(item.Text);
        RECT area { rect.left + kMarkColumn, rect.top, rect.right - kMarkColumn, rect.bottom };
        DrawText(dc, text.c_str(), int(text.size()), &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!shortcut.empty())
            DrawText(dc, shortcut.c_str(), int(shortcut.size()), &area, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        RestoreDC(dc, saved);
        DeleteObject(font);
    }
};

} // namespace

void InstallGdiMenuPainter()
{
    static TGdiMenuPainter painter;
    SetMenuPainter(&painter);
}
