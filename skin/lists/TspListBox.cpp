// The list window of the skinned list frames: input forwarded to the frame, and every item painted in the
// frame's look through a bitmap of its own size.
#include "framework/controls/ImgList.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/TabbedText.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListSupport.h"
#include "skin/lists/TspSkinListBox.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinListSupport;

std::vector<int> TabStopsOf(const TStrings* tabWidths)
{
    std::vector<int> stops;
    const int count = std::min(tabWidths->Count(), 10);
    for (int i = 0; i < count; ++i) {
        const std::string line = tabWidths->Strings(i);
        const bool digits = std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
        int value = 0;
        if (digits && !line.empty() && line.size() < 10)
            value = std::stoi(line);
        stops.push_back(value);
    }
    return stops;
}

void DrawTabbedString(
    const std::string& text, const TStrings* tabWidths, int xOffset, const TRect& rect, TCanvas* canvas)
{
    const std::vector<int> stops = TabStopsOf(tabWidths);
    const int y = rect.Top + RectHeight(rect) / 2 - canvas->TextHeight(text) / 2;
    TabbedTextOut(canvas->Handle(), rect.Left + xOffset + 2, y, text.c_str(), static_cast<int>(text.size()),
        static_cast<int>(stops.size()), stops.data(), 0);
}

TspListBox::TspListBox(TComponent* owner)
    : inherited(owner)
{
    FControlStyle = TControlStyle { csCaptureMouse, csOpaque, csDoubleClicks };
    SetCtl3D(false);
    SetBorderStyle(bsNone);
}

TspListBox::~TspListBox() = default;

void TspListBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.Style |= WS_TABSTOP;
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
    params.WindowClass.style = CS_DBLCLKS;
}

void TspListBox::CreateWnd()
{
    inherited::CreateWnd();
    if (SkinListBox)
        SkinListBox->ListBoxCreateWnd();
}

void TspListBox::SetBounds(int left, int top, int width, int height)
{
    const int oldWidth = Width();
    inherited::SetBounds(left, top, width, height);
    // A narrower list scrolled sideways keeps its right edge where the text ends.
    if (oldWidth != width && HorizontalOffset >= 1) {
        HorizontalOffset = std::max(0, HorizontalOffset + oldWidth - width);
        Invalidate();
    }
}

bool TspListBox::Skinned() const { return SkinListBox && SkinListBox->ListSkinned(); }

// ---- Messages -------------------------------------------------------------------------------------------------

void TspListBox::WndProc(TMessage& message)
{
    if (SkinListBox) {
        bool continueHandling = true;
        SkinListBox->ListBoxWProc(message, continueHandling);
        if (!continueHandling)
            return;
    }
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        // No non-client area: the list keeps its scroll state but draws no bar of its own.
        message.Result = 0;
        return;
    case WM_ERASEBKGND:
        PaintBG(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        if (SkinListBox)
            SkinListBox->UpDateScrollBar();
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case CM_BGPAINT:
        CMBGPaint(message);
        return;
    case CM_ENTER:
        if (SkinListBox)
            SkinListBox->ListBoxEnter();
        inherited::WndProc(message);
        return;
    case CM_EXIT:
        if (SkinListBox)
            SkinListBox->ListBoxExit();
        inherited::WndProc(message);
        return;
    case WM_LBUTTONDBLCLK:
        inherited::WndProc(message);
        if (SkinListBox)
            SkinListBox->ListBoxDblClick();
        return;
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
        inherited::WndProc(message);
        if (SkinListBox)
            SkinListBox->UpDateScrollBar();
        return;
    case WM_MOUSEWHEEL:
        inherited::WndProc(message);
        WMMouseWheel(message);
        return;
    default:
        inherited::WndProc(message);
    }
}

void TspListBox::CMBGPaint(TMessage& message)
{
    if (Count() != 0 || message.LParam != CM_BGPAINTParam) {
        inherited::WndProc(message);
        return;
    }
    if (message.WParam)
        PaintBG(reinterpret_cast<HDC>(message.WParam));
    message.Result = CM_BGPAINTParam;
}

void TspListBox::CNDrawItem(TMessage& message)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    TCanvas* canvas = Canvas();
    canvas->Lock();
    canvas->SetHandle(item->hDC);
    canvas->Font()->Assign(Font());
    canvas->Brush()->Assign(Brush());
    const TRect rect { item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom };
    TOwnerDrawState state;
    if (item->itemState & ODS_SELECTED)
        state.Include(odSelected);
    if (item->itemState & ODS_FOCUS)
        state.Include(odFocused);
    DrawItemLook(canvas, static_cast<int>(item->itemID), rect, state);
    canvas->SetHandle(nullptr);
    canvas->Unlock();
    message.Result = TRUE;
}

void TspListBox::WMMouseWheel(TMessage& message)
{
    if (!SkinListBox)
        return;
    const int delta = static_cast<int16_t>(HIWORD(message.WParam));
    if (TspSkinScrollBar* bar = SkinListBox->VScrollBar()) {
        (void)bar;
        SendMessage(Handle(), WM_VSCROLL, delta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        SkinListBox->UpDateScrollBar();
    } else if (SkinListBox->HScrollBar()) {
        SkinListBox->StepHScrollBar(delta <= 0 ? 1 : -1);
    }
}

// ---- Input forwarded to the frame -----------------------------------------------------------------------------

void TspListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (SkinListBox)
        SkinListBox->ListBoxMouseDown(button, shift, x, y);
    inherited::MouseDown(button, shift, x, y);
}

void TspListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (SkinListBox)
        SkinListBox->ListBoxMouseUp(button, shift, x, y);
    inherited::MouseUp(button, shift, x, y);
}

void TspListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (SkinListBox)
        SkinListBox->ListBoxMouseMove(shift, x, y);
    inherited::MouseMove(shift, x, y);
}

void TspListBox::KeyDown(uint16_t& key, TShiftState shift)
{
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(key, shift);
        if (SkinListBox->HScrollBar() && (key == VK_LEFT || key == VK_RIGHT)) {
            SkinListBox->StepHScrollBar(key == VK_LEFT ? -1 : 1);
            key = 0;
        }
    }
    inherited::KeyDown(key, shift);
}

void TspListBox::KeyPress(char32_t& key)
{
    if (SkinListBox)
        SkinListBox->ListBoxKeyPress(key);
    inherited::KeyPress(key);
}

void TspListBox::Click()
{
    if (SkinListBox)
        SkinListBox->ListBoxClick();
    inherited::Click();
}

// ---- Painting -------------------------------------------------------------------------------------------------

void TspListBox::PaintWindow(HDC dc)
{
    if (Width() <= 0 || Height() <= 0)
        return;
    const int saved = SaveDC(dc);
    PaintList(dc);
    RestoreDC(dc, saved);
}

TOwnerDrawState TspListBox::ItemState(int index)
{
    TOwnerDrawState state;
    if (index == ItemIndex()) {
        state.Include(odSelected);
        if (Focused())
            state.Include(odFocused);
    } else if (SelCount() >= 1 && Selected(index)) {
        state.Include(odSelected);
    }
    return state;
}

void TspListBox::PaintList(HDC dc)
{
    const int itemHeight = std::max(1, ItemHeight());
    const int count = Count();
    const int rows = ClientRect().Bottom / itemHeight;
    const int top = std::max(0, TopIndex());
    int last = Columns() > 0 ? top + rows * Columns() : top + rows;
    last = std::min(last, count - 1);
    TCanvas* canvas = Canvas();
    canvas->Lock();
    canvas->SetHandle(dc);
    int bottom = 0;
    for (int i = top; i <= last; ++i) {
        const TRect rect = ItemRect(i);
        DrawItemLook(canvas, i, rect, ItemState(i));
        bottom = std::max(bottom, static_cast<int>(rect.Bottom));
    }
    const TRect client = ClientRect();
    if (Columns() == 0 && bottom < client.Bottom) {
        if (Skinned()) {
            PaintBGWH(canvas, client.Right, client.Bottom - bottom, 0, bottom);
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(clWindow);
            canvas->FillRect(Rect(0, bottom, client.Right, client.Bottom));
        }
    }
    canvas->SetHandle(nullptr);
    canvas->Unlock();
}

void TspListBox::PaintBG(HDC dc)
{
    if (!dc)
        return;
    if (SkinListBox)
        SkinListBox->GetSkinData();
    const TRect client = ClientRect();
    // Painted items cover their rows whole: the background shows only below the last visible one.
    int top = 0;
    const int count = Count();
    if (count > 0 && Columns() == 0) {
        const int itemHeight = std::max(1, ItemHeight());
        const int first = std::max(0, TopIndex());
        const int last = std::min(count - 1, first + client.Bottom / itemHeight);
        top = std::max(0, static_cast<int>(ItemRect(last).Bottom));
    }
    if (top >= client.Bottom)
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (Skinned()) {
        PaintBGWH(&canvas, client.Right, client.Bottom - top, 0, top);
    } else {
        canvas.Brush()->SetColor(clWindow);
        canvas.FillRect(Rect(0, top, client.Right, client.Bottom));
    }
    canvas.SetHandle(nullptr);
}

void TspListBox::PaintBGWH(TCanvas* canvas, int width, int height, int x, int y)
{
    TBitmap* picture = SkinListBox->Picture();
    const TRect skinRect = SkinListBox->SkinRect();
    const TRect tile = Offset(SkinListBox->ClientPart(), skinRect.Left, skinRect.Top);
    const int tileWidth = RectWidth(tile);
    const int tileHeight = RectHeight(tile);
    if (!picture || tileWidth <= 0 || tileHeight <= 0 || width <= 0 || height <= 0)
        return;
    // Whole tiles from the top left; the last column and row are cut at the edges.
    for (int row = 0; row * tileHeight < height; ++row)
        for (int col = 0; col * tileWidth < width; ++col) {
            const int w = std::min(tileWidth, width - col * tileWidth);
            const int h = std::min(tileHeight, height - row * tileHeight);
            const int left = x + col * tileWidth;
            const int top = y + row * tileHeight;
            canvas->CopyRect(Rect(left, top, left + w, top + h), picture->Canvas(),
                Rect(tile.Left, tile.Top, tile.Left + w, tile.Top + h));
        }
}

TBitmap* TspListBox::ItemBitmap(int width, int height)
{
    if (!FItemBitmap)
        FItemBitmap = std::make_unique<TBitmap>();
    if (FItemBitmap->Width() != width || FItemBitmap->Height() != height)
        FItemBitmap->SetSize(width, height);
    TCanvas* canvas = FItemBitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(clBlack);
    return FItemBitmap.get();
}

void TspListBox::ClearItemBackgrounds() { FBackgrounds.clear(); }

void TspListBox::DrawItemBackground(TBitmap* bitmap, const TRect& source, int width, int height, bool stretch)
{
    TBitmap* picture = SkinListBox->Picture();
    for (const TKeptBackground& kept : FBackgrounds)
        if (kept.Picture == picture && kept.Source == source && kept.Width == width && kept.Height == height
            && kept.Stretch == stretch) {
            bitmap->SetSize(kept.Image->Width(), kept.Image->Height());
            bitmap->Canvas()->Draw(0, 0, kept.Image.get());
            return;
        }
    auto image = std::make_unique<TBitmap>();
    CreateHSkinImage(SkinListBox->ItemLeftOffset, SkinListBox->ItemRightOffset, image.get(), picture, source, width,
        height, stretch);
    bitmap->SetSize(image->Width(), image->Height());
    bitmap->Canvas()->Draw(0, 0, image.get());
    // A handful of looks at a handful of widths; a list resized many times starts over.
    if (FBackgrounds.size() >= 16)
        FBackgrounds.clear();
    FBackgrounds.push_back({ picture, source, width, height, stretch, std::move(image) });
}

void TspListBox::DrawItemLook(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state)
{
    if (index < 0 || index >= Count())
        return;
    if (!Skinned())
        DrawDefaultItem(canvas, index, rect, state);
    else if (SkinListBox->UseSkinItemHeight())
        DrawSkinItem(canvas, index, rect, state);
    else
        DrawStretchSkinItem(canvas, index, rect, state);
}

void TspListBox::DrawItemContent(
    TCanvas* cnvs, int index, TRect txtRect, const TRect& tabbedRect, TOwnerDrawState state, bool plainText)
{
    TspSkinCustomListBox* frame = SkinListBox;
    if (frame->OnDrawItem) {
        const TBitmap* bitmap = FItemBitmap.get();
        frame->OnDrawItem(cnvs, index, bitmap->Width(), bitmap->Height(), txtRect, state);
        return;
    }
    int indent = 0;
    if (TCustomImageList* images = frame->Images()) {
        const int image = frame->ImageIndex() >= 0 ? frame->ImageIndex() : index;
        if (image < images->Count())
            images->Draw(cnvs, txtRect.Left - HorizontalOffset,
                txtRect.Top + RectHeight(txtRect) / 2 - images->Height() / 2, image);
        indent = images->Width() + 2;
    }
    cnvs->Brush()->SetStyle(bsClear);
    const std::string text = Items()->Strings(index);
    if (frame->TabWidths()->Count() > 0 && Columns() == 0)
        DrawTabbedString(text, frame->TabWidths(), plainText ? 0 : indent, tabbedRect, cnvs);
    else if (plainText)
        SPDrawText(cnvs, text, Rect(txtRect.Left + indent, txtRect.Top, txtRect.Right, txtRect.Bottom));
    else
        SPDrawText3(cnvs, text, txtRect, indent - HorizontalOffset);
}

void TspListBox::DrawDefaultItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state)
{
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap* bitmap = ItemBitmap(width, height);
    TCanvas* cnvs = bitmap->Canvas();
    TFont* font = cnvs->Font();
    font->SetName(SkinListBox->Font()->Name());
    font->SetStyle(SkinListBox->Font()->Style());
    font->SetHeight(SkinListBox->Font()->Height());
    SkinLabels::ApplyCharset(font, SkinListBox->SkinData(), SkinListBox->DefaultFont());
    const bool selected = state.Contains(odSelected);
    cnvs->Brush()->SetColor(selected ? clHighlight : clWindow);
    font->SetColor(selected ? clHighlightText : SkinListBox->Font()->Color());
    const TRect whole = Rect(0, 0, width, height);
    cnvs->FillRect(whole);
    DrawItemContent(cnvs, index, Rect(2, 0, width - 2, height), whole, state);
    if (state.Contains(odFocused)) {
        cnvs->Brush()->SetStyle(bsSolid);
        cnvs->Brush()->SetColor(selected ? clHighlight : clWindow);
        cnvs->DrawFocusRect(whole);
    }
    canvas->Draw(rect.Left, rect.Top, bitmap);
}

void TspListBox::DrawSkinItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state)
{
    TspSkinCustomListBox* frame = SkinListBox;
    TBitmap* picture = frame->Picture();
    const int width = RectWidth(rect);
    const int height = RectHeight(frame->SItemRect);
    if (!picture || width <= 0 || height <= 0)
        return;
    TBitmap* bitmap = ItemBitmap(width, height);
    TCanvas* cnvs = bitmap->Canvas();
    const bool focused = state.Contains(odFocused);
    const bool selected = state.Contains(odSelected);
    const bool stretch = frame->StretchEffectOn();
    if (focused && !selected) {
        DrawItemBackground(bitmap, frame->SItemRect, width, height, stretch);
        cnvs->DrawFocusRect(Rect(0, 0, width, height));
    } else if (focused) {
        DrawItemBackground(bitmap, frame->FocusItemRect, width, height, stretch);
    } else if (selected) {
        DrawItemBackground(bitmap, frame->ActiveItemRect, width, height, stretch);
    } else {
        DrawItemBackground(bitmap, frame->SItemRect, width, height, false);
    }
    DrawSkinItemCheck(cnvs, index, width - RectWidth(frame->SItemRect), 0);
    TRect txtRect = frame->ItemTextRect;
    txtRect.Right += width - RectWidth(frame->SItemRect);
    frame->ApplyItemFont(cnvs->Font());
    cnvs->Font()->SetColor(!selected ? frame->FontColor : focused ? frame->FocusFontColor : frame->ActiveFontColor);
    if (focused && frame->ShowFocus && frame->SkinData()) {
        cnvs->Brush()->SetStyle(bsSolid);
        cnvs->Brush()->SetColor(frame->SkinData()->Colors->cBtnFace);
        cnvs->DrawFocusRect(Rect(0, 0, width, height));
    }
    DrawItemContent(cnvs, index, txtRect, txtRect, state);
    canvas->Draw(rect.Left, rect.Top, bitmap);
}

void TspListBox::DrawStretchSkinItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state)
{
    TspSkinCustomListBox* frame = SkinListBox;
    TBitmap* picture = frame->Picture();
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    if (!picture || width <= 0 || height <= 0)
        return;
    TBitmap* bitmap = ItemBitmap(width, height);
    TCanvas* cnvs = bitmap->Canvas();
    const bool focused = state.Contains(odFocused);
    const bool selected = state.Contains(odSelected);
    const TRect& source = focused ? frame->FocusItemRect : selected ? frame->ActiveItemRect : frame->SItemRect;
    const TRect centre = Inflate(frame->ItemTextRect, -1, -1);
    CreateStretchImage(bitmap, picture, source, centre, true);
    DrawSkinItemCheck(cnvs, index, width - RectWidth(frame->SItemRect), height - RectHeight(frame->SItemRect));
    TRect txtRect = frame->ItemTextRect;
    txtRect.Right += width - RectWidth(frame->SItemRect);
    txtRect.Bottom += height - RectHeight(frame->SItemRect);
    frame->ApplyItemFont(cnvs->Font());
    cnvs->Font()->SetColor(focused ? frame->FocusFontColor : selected ? frame->ActiveFontColor : frame->FontColor);
    if (focused && frame->ShowFocus && frame->SkinData()) {
        cnvs->Brush()->SetStyle(bsSolid);
        cnvs->Brush()->SetColor(frame->SkinData()->Colors->cBtnFace);
        cnvs->DrawFocusRect(Rect(0, 0, width, height));
    }
    DrawItemContent(cnvs, index, txtRect, txtRect, state);
    canvas->Draw(rect.Left, rect.Top, bitmap);
}
