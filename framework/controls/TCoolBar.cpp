#include "framework/controls/TCoolBar.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"

#include <algorithm>

// --- TCoolBand -----------------------------------------------------------------------------------------

TCoolBand::TCoolBand(TCollection* collection)
    : TCollectionItem(collection)
{
}

TCoolBand::~TCoolBand() = default;

TCoolBar* TCoolBand::CoolBar() const
{
    auto* bands = dynamic_cast<TCoolBands*>(Collection());
    return bands ? bands->CoolBar() : nullptr;
}

void TCoolBand::SetControl(TWinControl* value)
{
    if (value == FControl)
        return;
    TCoolBar* bar = CoolBar();
    if (value && bar)
        if (TCoolBand* other = bar->Bands()->FindBand(value); other && other != this)
            other->FControl = nullptr;
    FControl = value;
    if (value) {
        FIdealWidth = value->Width();
        if (bar && value->Parent() != bar)
            value->SetParent(bar);
    }
    Changed(false);
}

void TCoolBand::SetText(std::string_view value)
{
    if (value == FText)
        return;
    FText = value;
    Changed(false);
}

void TCoolBand::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Changed(false);
}

void TCoolBand::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FControl)
        FControl->SetVisible(value);
    Changed(false);
}

void TCoolBand::SetFixedSize(bool value)
{
    if (value == FFixedSize)
        return;
    FFixedSize = value;
    Changed(false);
}

void TCoolBand::SetBreak(bool value)
{
    if (value == FBreak)
        return;
    FBreak = value;
    Changed(false);
}

void TCoolBand::SetWidth(int value)
{
    value = std::max(value, 0);
    if (value == FWidth)
        return;
    FWidth = value;
    Changed(false);
}

void TCoolBand::SetMinWidth(int value)
{
    value = std::max(value, 0);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    Changed(false);
}

void TCoolBand::SetMinHeight(int value)
{
    value = std::max(value, 0);
    if (value == FMinHeight)
        return;
    FMinHeight = value;
    Changed(false);
}

void TCoolBand::Assign(TPersistent* source)
{
    auto* band = dynamic_cast<TCoolBand*>(source);
    if (!band) {
        inherited::Assign(source);
        return;
    }
    FText = band->FText;
    FImageIndex = band->FImageIndex;
    FVisible = band->FVisible;
    FFixedSize = band->FFixedSize;
    FBreak = band->FBreak;
    FWidth = band->FWidth;
    FMinWidth = band->FMinWidth;
    FMinHeight = band->FMinHeight;
    Changed(false);
}

std::string TCoolBand::GetDisplayName() const
{
    if (!FText.empty())
        return FText;
    if (FControl && !FControl->Name().empty())
        return FControl->Name();
    return inherited::GetDisplayName();
}

// --- TCoolBands ----------------------------------------------------------------------------------------

TCoolBands::TCoolBands(TCoolBar* coolBar)
    : TCollection(CollectionItemClass<TCoolBand>())
    , FCoolBar(coolBar)
{
}

TCoolBand* TCoolBands::FindBand(const TControl* control) const
{
    if (!control)
        return nullptr;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Control() == control)
            return Items(i);
    return nullptr;
}

void TCoolBands::Update(TCollectionItem*)
{
    if (FCoolBar)
        FCoolBar->BandsChanged();
}

// --- TCoolBar ------------------------------------------------------------------------------------------

TCoolBar::TCoolBar(TComponent* owner)
    : TCustomControl(owner)
    , FBands(std::make_unique<TCoolBands>(this))
{
    FControlStyle.Include(csAcceptsControls);
    SetColor(clBtnFace);
    SetBounds(FLeft, FTop, 150, 75);
    SetAlign(alTop);
}

TCoolBar::~TCoolBar()
{
    // The bands go first: the children leaving afterwards find none to take with them.
    FBands.reset();
}

void TCoolBar::SetBands(TCoolBands* value)
{
    FBands->Assign(value);
}

void TCoolBar::SetShowText(bool value)
{
    if (value == FShowText)
        return;
    FShowText = value;
    BandsChanged();
}

void TCoolBar::SetFixedOrder(bool value)
{
    if (value == FFixedOrder)
        return;
    FFixedOrder = value;
    BandsChanged();
}

void TCoolBar::SetFixedSize(bool value)
{
    if (value == FFixedSize)
        return;
    FFixedSize = value;
    BandsChanged();
}

void TCoolBar::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    BandsChanged();
}

void TCoolBar::SetVertical(bool value)
{
    if (value == FVertical)
        return;
    FVertical = value;
    BandsChanged();
}

void TCoolBar::SetBandBorderStyle(TBorderStyle value)
{
    if (value == FBandBorderStyle)
        return;
    FBandBorderStyle = value;
    Invalidate();
}

void TCoolBar::SetAutoSize(bool value)
{
    inherited::SetAutoSize(value);
    if (value)
        Realign();
}

void TCoolBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        SetImages(nullptr);
}

void TCoolBar::BandsChanged()
{
    if (FBands && !FLayingOut) {
        Realign();
        Invalidate();
    }
    if (OnChange)
        OnChange(this);
}

void TCoolBar::WndProc(TMessage& message)
{
    if (message.Msg == CM_CONTROLCHANGE) {
        CMControlChange(message);
        return;
    }
    inherited::WndProc(message);
}

void TCoolBar::CMControlChange(TMessage& message)
{
    if (!FBands)
        return;
    auto* control = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.WParam));
    if (!control)
        return;
    TCoolBand* band = FBands->FindBand(control);
    if (message.LParam != 0) {
        if (!band)
            FBands->Add()->SetControl(control);
    } else if (band) {
        band->FControl = nullptr;
        delete band;
    }
}

// --- Geometry ------------------------------------------------------------------------------------------

bool TCoolBar::HasGrip(const TCoolBand* band) const
{
    return (!FFixedOrder || band->ID() != 0) && !band->FixedSize() && !FFixedSize;
}

int TCoolBar::TextExtent(const std::string& text)
{
    // Measured on a bitmap's canvas, so that the layout works before the bar has a window.
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(Font());
    return FVertical ? measure.Canvas()->TextHeight(text) : measure.Canvas()->TextWidth(text);
}

int TCoolBar::CaptionFontHeight()
{
    if (!HandleAllocated())
        return 0;
    Canvas()->Font()->Assign(Font());
    TEXTMETRIC metrics {};
    GetTextMetrics(Canvas()->Handle(), &metrics);
    return metrics.tmHeight;
}

int TCoolBar::BandCaptionSize(const TCoolBand* band)
{
    if (!band || !band->Visible())
        return 0;
    int size = 0;
    bool adjusted = false;
    if (FShowText && !band->Text().empty()) {
        size = TextExtent(band->Text());
        adjusted = true;
    }
    if (band->ImageIndex() >= 0) {
        if (adjusted)
            size += 2;
        if (FImages) {
            size += FVertical ? FImages->Height() : FImages->Width();
            adjusted = true;
        } else if (!adjusted) {
            size += 4;
        }
    }
    if (adjusted)
        size += 4;
    // The grip and the gap after it.
    if (HasGrip(band))
        size += 4 + 5;
    return size;
}

void TCoolBar::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    if (FLayingOut || !FBands)
        return;
    // Sizing the bar to its rows may realign its parent and so change the bar again, inside this
    // alignment, which then does not run again by itself: the bands are laid out until the size holds.
    TRect area = rect;
    for (int pass = 0; pass < 3; ++pass) {
        FLayingOut = true;
        const int depth = LayoutBands(area);
        FLayingOut = false;
        if (!AutoSize())
            break;
        if (FVertical && depth + Width() - ClientWidth() != Width())
            SetWidth(depth + Width() - ClientWidth());
        else if (!FVertical && depth + Height() - ClientHeight() != Height())
            SetHeight(depth + Height() - ClientHeight());
        else
            break;
        area = ClientRect();
        AdjustClientRect(area);
    }
}

// Lays the bands out along the main axis (x, or y when Vertical) in rows stacked along the cross axis;
// returns the depth of the rows together.
int TCoolBar::LayoutBands(const TRect& area)
{
    const int mainStart = FVertical ? area.Top : area.Left;
    const int mainEnd = FVertical ? area.Bottom : area.Right;
    const int crossStart = FVertical ? area.Left : area.Top;

    struct TPlaced {
        TCoolBand* Band;
        int Caption;
        int Start;
        int Length;
    };
    std::vector<std::vector<TPlaced>> rows;
    int x = mainStart;
    for (int i = 0; i < FBands->Count(); ++i) {
        TCoolBand* band = FBands->Items(i);
        if (!band->Visible()) {
            band->FBandRect = TRect {};
            continue;
        }
        const int caption = BandCaptionSize(band);
        const int ideal = band->FIdealWidth > 0 ? band->FIdealWidth : 0;
        int length = band->Width() > 0 ? band->Width() : caption + ideal + BandMargin;
        length = std::max(length, caption + band->MinWidth() + BandMargin);
        if (rows.empty() || (!rows.back().empty() && (band->Break() || x + length > mainEnd))) {
            rows.emplace_back();
            x = mainStart;
        }
        rows.back().push_back(TPlaced { band, caption, x, length });
        x += length;
    }

    int cross = crossStart;
    for (auto& row : rows) {
        // The last band takes the rest of its row.
        TPlaced& last = row.back();
        last.Length = std::max(last.Length, mainEnd - last.Start);
        int depth = 0;
        for (const TPlaced& p : row) {
            const TWinControl* c = p.Band->Control();
            const int controlDepth = c ? (FVertical ? c->Width() : c->Height()) : 0;
            depth = std::max(depth, std::max(controlDepth, p.Band->MinHeight()) + 2 * BandMargin);
        }
        for (const TPlaced& p : row) {
            p.Band->FBandRect = FVertical ? TRect { cross, p.Start, cross + depth, p.Start + p.Length }
                                          : TRect { p.Start, cross, p.Start + p.Length, cross + depth };
            TWinControl* c = p.Band->Control();
            if (!c)
                continue;
            // The control follows the caption, stretched to the band's end and centred across the row.
            const int start = p.Start + p.Caption;
            const int length = std::max(0, p.Start + p.Length - BandMargin - start);
            if (FVertical)
                c->SetBounds(cross + (depth - c->Width()) / 2, start, c->Width(), length);
            else
                c->SetBounds(start, cross + (depth - c->Height()) / 2, length, c->Height());
        }
        cross += depth;
    }
    return cross - crossStart;
}

// --- Painting ------------------------------------------------------------------------------------------

void TCoolBar::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    for (int i = 0; i < FBands->Count(); ++i)
        if (FBands->Items(i)->Visible())
            PaintBand(canvas, FBands->Items(i));
}

void TCoolBar::PaintBand(TCanvas* canvas, TCoolBand* band)
{
    const TRect r = band->BandRect();
    if (FBandBorderStyle == bsSingle) {
        RECT edge = ToRECT(r);
        DrawEdge(canvas->Handle(), &edge, EDGE_ETCHED, BF_RIGHT | BF_BOTTOM);
    }
    // The caption runs along the band's start, as deep as the band less its margins.
    const int crossStart = (FVertical ? r.Left : r.Top) + BandMargin;
    const int crossEnd = (FVertical ? r.Right : r.Bottom) - BandMargin;
    int pos = FVertical ? r.Top : r.Left;
    const int captionEnd = pos + BandCaptionSize(band);
    if (HasGrip(band)) {
        DrawGrip(canvas, FVertical ? TRect { crossStart, pos + 1, crossEnd, pos + 5 }
                                   : TRect { pos + 1, crossStart, pos + 5, crossEnd });
        pos += 5 + 2;
    }
    if (FImages && band->ImageIndex() >= 0 && band->ImageIndex() < FImages->Count()) {
        const int middle = crossStart + (crossEnd - crossStart) / 2;
        if (FVertical) {
            FImages->Draw(canvas, middle - FImages->Width() / 2, pos, band->ImageIndex());
            pos += FImages->Height() + 1;
        } else {
            FImages->Draw(canvas, pos, middle - FImages->Height() / 2, band->ImageIndex());
            pos += FImages->Width() + 1;
        }
    }
    if (FShowText && !band->Text().empty()) {
        canvas->Font()->Assign(Font());
        canvas->Font()->SetColor(clBtnText);
        canvas->Brush()->SetStyle(bsClear);
        RECT text = FVertical ? RECT { crossStart, pos, crossEnd, captionEnd } : RECT { pos, crossStart, captionEnd, crossEnd };
        const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (FVertical ? DT_CENTER : DT_LEFT);
        DrawText(canvas->Handle(), band->Text().c_str(), -1, &text, flags);
        canvas->Brush()->SetStyle(bsSolid);
    }
}

void TCoolBar::DrawGrip(TCanvas* canvas, const TRect& rect)
{
    TRect first = FVertical ? TRect { rect.Left, rect.Top + 1, rect.Right, rect.Top + 3 }
                            : TRect { rect.Left + 1, rect.Top, rect.Left + 3, rect.Bottom };
    TRect second = FVertical ? TRect { rect.Left, rect.Top + 3, rect.Right, rect.Top + 5 }
                             : TRect { rect.Left + 3, rect.Top, rect.Left + 5, rect.Bottom };
    Frame3D(canvas, first, clBtnHighlight, clBtnShadow, 1);
    Frame3D(canvas, second, clBtnHighlight, clBtnShadow, 1);
}
