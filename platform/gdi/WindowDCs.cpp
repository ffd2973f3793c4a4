#include "platform/gdi/WindowDCs.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/MenuPaint.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/win/WindowSurface.h"
#include "platform/win/Windows.h"

#include <string>

namespace {

class TGdiDCProvider final : public TDCProvider {
    using inherited = TDCProvider;

public:
    HDC AcquireDC(HWND hwnd, bool client, const TRegion* clip) override
    {
        auto dc = std::make_unique<TDeviceContext>(hwnd ? TDCKind::Window : TDCKind::Screen, hwnd, client, clip);
        dc->FromWindowLayer = true;
        return AddDeviceContext(std::move(dc));
    }

    int ReleaseDC(HWND, HDC dc) override
    {
        TDeviceContext* context = DCOf(dc);
        if (!context || !context->FromWindowLayer)
            return 0;
        return DestroyDeviceContext(dc) ? 1 : 0;
    }

    bool FillDCRect(HDC dc, const RECT& rect, COLORREF color) override
    {
        if (!DCOf(dc))
            return false;
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        return true;
    }

    bool InvertCaret(HWND hwnd, const RECT& rect, HBITMAP bitmap) override
    {
        HDC dc = AcquireDC(hwnd, true, nullptr);
        if (!dc)
            return false;
        if (!bitmap) {
            PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, DSTINVERT);
        } else if (bitmap == CARET_GREY_BITMAP) {
            HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
            HGDIOBJ old = SelectObject(dc, grey);
            PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATINVERT);
            SelectObject(dc, old);
            DeleteObject(grey);
        } else {
            BITMAP info {};
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, bitmap);
            if (old && GetObject(bitmap, sizeof info, &info))
                BitBlt(dc, rect.left, rect.top, info.bmWidth, info.bmHeight, source, 0, 0, SRCINVERT);
            SelectObject(source, old);
            DeleteDC(source);
        }
        ReleaseDC(hwnd, dc);
        MarkSurfaceDirty(hwnd, nullptr);
        return true;
    }

    void DrawCaptionText(HWND hwnd, const RECT& rect, bool active) override
    {
        const int length = GetWindowTextLength(hwnd);
        if (length <= 0)
            return;
        std::string text(size_t(length) + 1, '\0');
        text.resize(size_t(GetWindowText(hwnd, text.data(), length + 1)));
        HDC dc = AcquireDC(hwnd, false, nullptr);
        if (!dc)
            return;
        HFONT font = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT r { rect.left + 2, rect.top, rect.right - 2, rect.bottom };
        DrawText(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(hwnd, dc);
        MarkSurfaceDirty(hwnd, nullptr);
    }
};

} // namespace

void InstallGdiDCProvider()
{
    static TGdiDCProvider provider;
    SetDCProvider(&provider);
    InstallGdiMenuPainter();
}
