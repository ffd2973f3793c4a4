// TspSkinCustomListView: the column header, subclassed when the view creates it and painted section by section
// from a skin button record (or in the library's default look).
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/HeaderControl.h"
#include "platform/win/WindowProps.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListViews.h"

#include <vector>

using namespace SPUtils;
using namespace SkinHeaderFaces;

namespace {

constexpr const char* kHeaderViewProp = "TspSkinCustomListView";
// The gap between a column's image and its caption, and the margin at both ends of a section.
constexpr int kImageGap = 10;
constexpr int kMargin = 5;

} // namespace

void TspSkinCustomListView::SubclassHeader(HWND header)
{
    ReleaseHeader();
    FHeader = header;
    FOldHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(header, GWLP_WNDPROC));
    SetProp(header, kHeaderViewProp, static_cast<HANDLE>(this));
    SetWindowLongPtr(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeaderProc));
}

void TspSkinCustomListView::ReleaseHeader()
{
    if (!FHeader)
        return;
    if (IsWindow(FHeader)) {
        SetWindowLongPtr(FHeader, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldHeaderProc));
        RemoveProp(FHeader, kHeaderViewProp);
    }
    FHeader = nullptr;
    FOldHeaderProc = nullptr;
}

LRESULT TspSkinCustomListView::HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = static_cast<TspSkinCustomListView*>(GetProp(hwnd, kHeaderViewProp));
    if (!view)
        return DefWindowProc(hwnd, message, wParam, lParam);
    TMessage m { message, wParam, lParam, 0 };
    view->HeaderWndProc(m);
    return m.Result;
}

void TspSkinCustomListView::HeaderWndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGING:
        // The header runs 4 pixels past the view so that no edge of its own shows at the right.
        if (auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam))
            pos->cx += 4;
        return;
    case WM_PAINT:
        PaintHeader(reinterpret_cast<HDC>(message.WParam));
        return;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    default:
        break;
    }
    const HWND header = FHeader;
    message.Result = CallWindowProc(FOldHeaderProc, header, message.Msg, message.WParam, message.LParam);
    switch (message.Msg) {
    case WM_NCDESTROY:
        // The window is gone with its procedure chain; nothing is left to restore.
        if (FHeader == header) {
            FHeader = nullptr;
            FOldHeaderProc = nullptr;
        }
        break;
    case WM_LBUTTONDOWN: {
        const TPoint p { static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam)) };
        FActiveSection = -1;
        for (int i = 0; i < Columns()->Count(); ++i)
            if (PointInRect(GetHeaderSectionRect(i), p)) {
                FActiveSection = i;
                break;
            }
        HDHITTESTINFO hit {};
        hit.pt = POINT { p.X, p.Y };
        SendMessage(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        FHeaderPressed = hit.flags != HHT_ONDIVIDER;
        RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE);
        break;
    }
    case WM_LBUTTONUP:
        FHeaderPressed = false;
        FActiveSection = -1;
        RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE);
        break;
    default:
        break;
    }
}

// The display order of the header's items: the identity unless the columns may be dragged.
static std::vector<int> HeaderOrder(HWND header, int count, bool fullDrag)
{
    std::vector<int> order(size_t(std::max(0, count)));
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = i;
    if (fullDrag && count > 0)
        SendMessage(header, HDM_GETORDERARRAY, WPARAM(count), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

TRect TspSkinCustomListView::GetHeaderSectionRect(int index)
{
    if (!FHeader)
        return TRect {};
    int item = index;
    if (FullDrag()) {
        const std::vector<int> order = HeaderOrder(FHeader, Columns()->Count(), true);
        if (index >= 0 && index < int(order.size()))
            item = order[size_t(index)];
    }
    RECT r {};
    SendMessage(FHeader, HDM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TspSkinCustomListView::HGetSkinData()
{
    FHeaderIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FHeaderSkinDataName) : -1;
    // A record that is not a button record has no picture for the sections: the default look.
    if (FHeaderIndex != -1 && !ReadHeaderFace(FSkinData, FHeaderIndex, FHeaderFace))
        FHeaderIndex = -1;
}

void TspSkinCustomListView::PaintHeader(HDC dc)
{
    if (!FHeader)
        return;
    PAINTSTRUCT paint {};
    const bool own = dc == nullptr;
    if (own)
        dc = BeginPaint(FHeader, &paint);
    if (dc) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        RECT client {};
        GetClientRect(FHeader, &client);
        const int count = static_cast<int>(SendMessage(FHeader, HDM_GETITEMCOUNT, 0, 0));
        const std::vector<int> order = HeaderOrder(FHeader, count, FullDrag());
        int right = 0;
        for (int i = 0; i < count; ++i) {
            const TRect rect = GetHeaderSectionRect(i);
            // The column shown at this place, which differs from the i-th once the columns were dragged.
            const int column = order[size_t(i)];
            // Sections past the header's ends show nothing; a wide list has several.
            const bool shown = rect.Right > client.left && rect.Left < client.right;
            if (shown && column < Columns()->Count())
                DrawHeaderSection(
                    &canvas, Columns()->Items(column), i == FActiveSection && FHeaderPressed, false, rect);
            right = std::max(right, int(rect.Right));
        }
        PaintHeaderRest(&canvas, right, client.right + 1, client.bottom);
        canvas.SetHandle(nullptr);
    }
    if (own)
        EndPaint(FHeader, &paint);
}

void TspSkinCustomListView::PaintHeaderRest(TCanvas* canvas, int left, int right, int height)
{
    TRect rest = Rect(left, 0, right, height);
    if (IsNullRect(rest))
        return;
    HGetSkinData();
    if (FHeaderIndex == -1) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(rest);
        Frame3D(canvas, rest, clBtnShadow, clBtnShadow, 1);
        return;
    }
    const int w = RectWidth(rest);
    TBitmap image;
    if (FHeaderFace.NinePart()) {
        canvas->Draw(left, 0,
            CachedNinePartFace(
                FSkinData->ImageCache(), FHeaderFace, FHeaderFace.SkinRect, w, height, FHeaderFace.StretchType, true,
                image));
    } else {
        ThreePartFace(&image, FHeaderFace, FHeaderFace.SkinRect, w, true);
        canvas->StretchDraw(rest, &image);
    }
}

void TspSkinCustomListView::DrawHeaderSection(
    TCanvas* canvas, TListColumn* column, bool pressed, bool hot, const TRect& rect)
{
    const int w = RectWidth(rect);
    const int h = RectHeight(rect);
    if (w <= 0 || h <= 0)
        return;
    HGetSkinData();
    TBitmap image;
    image.SetSize(w, h);
    TCanvas* c = image.Canvas();
    c->Font()->Assign(Font());
    if (FHeaderIndex == -1) {
        TRect r = Rect(0, 0, w, h);
        const TColor frame = pressed || hot ? clNavy : clBtnShadow;
        Frame3D(c, r, frame, frame, 1);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(pressed ? RGB(133, 147, 181) : (hot ? RGB(182, 189, 210) : clBtnFace));
        c->FillRect(r);
        c->Font()->SetColor(clBtnText);
    } else {
        const TRect& source = pressed ? FHeaderFace.DownSkinRect : FHeaderFace.SkinRect;
        c->Font()->SetColor(pressed ? FHeaderFace.DownFontColor : FHeaderFace.FontColor);
        if (FHeaderFace.NinePart()) {
            TBitmap scratch;
            TBitmap* face = CachedNinePartFace(
                FSkinData->ImageCache(), FHeaderFace, source, w, h, FHeaderFace.StretchType, false, scratch);
            c->CopyRect(Rect(0, 0, w, h), face->Canvas(), Rect(0, 0, w, h));
        } else {
            TBitmap strip;
            ThreePartFace(&strip, FHeaderFace, source, w, false);
            c->StretchDraw(Rect(0, 0, w, h), &strip);
        }
    }
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(c, column, pressed, Rect(0, 0, w, h));
    } else {
        c->Brush()->SetStyle(bsClear);
        const TRect area = Rect(kMargin, 0, w - kMargin, h);
        const int areaWidth = RectWidth(area);
        std::string text = column->Caption();
        TCustomImageList* images = SmallImages();
        const int imageIndex = column->ImageIndex();
        int x = area.Left;
        if (images && imageIndex >= 0 && imageIndex < images->Count()) {
            const std::string full = text;
            CorrectTextbyWidth(c, text, areaWidth - kImageGap - images->Width());
            const int textWidth = c->TextWidth(text);
            const int block = textWidth + images->Width() + kImageGap;
            if (text == full && column->Alignment() == taRightJustify)
                x = area.Right - block;
            else if (text == full && column->Alignment() == taCenter)
                x = area.Left + areaWidth / 2 - block / 2;
            images->Draw(c, x, h / 2 - images->Height() / 2, imageIndex, true);
            x += images->Width() + kImageGap;
        } else {
            CorrectTextbyWidth(c, text, areaWidth);
            const int textWidth = c->TextWidth(text);
            if (column->Alignment() == taRightJustify)
                x = area.Right - textWidth;
            else if (column->Alignment() == taCenter)
                x = area.Left + areaWidth / 2 - textWidth / 2;
        }
        c->TextRect(area, x, h / 2 - c->TextHeight(text) / 2, text);
    }
    canvas->Draw(rect.Left, rect.Top, &image);
}
