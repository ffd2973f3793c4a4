#include "framework/controls/THeaderControl.h"

#include "framework/controls/ImageListAdapter.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/HeaderControl.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {
int FormatOf(const THeaderSection* section)
{
    int format = section->Alignment() == taRightJustify ? HDF_RIGHT
        : section->Alignment() == taCenter              ? HDF_CENTER
                                                        : HDF_LEFT;
    format |= section->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
    if (section->ImageIndex() >= 0)
        format |= HDF_IMAGE;
    return format;
}
} // namespace

// --- THeaderSection ---------------------------------------------------------------------------------------------

THeaderSection::THeaderSection(TCollection* collection)
    : TCollectionItem(collection)
{
}

void THeaderSection::SetText(std::string_view value)
{
    FText = value;
    Changed(false);
}

void THeaderSection::SetWidth(int value)
{
    value = std::clamp(value, FMinWidth, std::max(FMinWidth, FMaxWidth));
    if (value == FWidth)
        return;
    FWidth = value;
    // Every section after this one moves.
    Changed(true);
}

void THeaderSection::SetMinWidth(int value)
{
    FMinWidth = std::max(0, value);
    if (FWidth < FMinWidth)
        SetWidth(FMinWidth);
}

void THeaderSection::SetMaxWidth(int value)
{
    FMaxWidth = std::max(FMinWidth, value);
    if (FWidth > FMaxWidth)
        SetWidth(FMaxWidth);
}

void THeaderSection::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Changed(false);
}

void THeaderSection::SetImageIndex(int value)
{
    FImageIndex = value;
    Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle value)
{
    FStyle = value;
    Changed(false);
}

int THeaderSection::Left() const
{
    auto* sections = static_cast<THeaderSections*>(Collection());
    if (!sections)
        return 0;
    int left = 0;
    for (int i : sections->Owner()->SectionOrder()) {
        if (i == Index())
            break;
        left += sections->Items(i)->Width();
    }
    return left;
}

void THeaderSection::Assign(TPersistent* source)
{
    if (auto* section = dynamic_cast<THeaderSection*>(source)) {
        FText = section->FText;
        FWidth = section->FWidth;
        FMinWidth = section->FMinWidth;
        FMaxWidth = section->FMaxWidth;
        FAlignment = section->FAlignment;
        FImageIndex = section->FImageIndex;
        FStyle = section->FStyle;
        FAllowClick = section->FAllowClick;
        Changed(false);
        return;
    }
    inherited::Assign(source);
}

std::string THeaderSection::GetDisplayName() const { return FText.empty() ? inherited::GetDisplayName() : FText; }

THeaderSections::THeaderSections(TCustomHeaderControl* owner)
    : TOwnedCollection(owner, CollectionItemClass<THeaderSection>())
    , FHeader(owner)
{
}

void THeaderSections::Update(TCollectionItem* item)
{
    if (item)
        FHeader->SyncSection(item->Index());
    else
        FHeader->SyncSections();
}

// --- TCustomHeaderControl ---------------------------------------------------------------------------------------

TCustomHeaderControl::TCustomHeaderControl(TComponent* owner)
    : TWinControl(owner)
    , FSections(std::make_unique<THeaderSections>(this))
    , FCanvas(std::make_unique<TControlCanvas>())
{
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 250;
    FHeight = 17;
    SetAlign(alTop);
    FCanvas->SetControl(this);
}

TCustomHeaderControl::~TCustomHeaderControl()
{
    if (HandleAllocated())
        DestroyHandle();
}

TCanvas* TCustomHeaderControl::Canvas() const { return FCanvas.get(); }

intptr_t TCustomHeaderControl::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomHeaderControl*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

void TCustomHeaderControl::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    RegisterHeaderClass();
    WNDCLASS header {};
    GetClassInfo(nullptr, WC_HEADER, &header);
    params.WindowClass.lpfnWndProc = header.lpfnWndProc;
    params.WindowClass.cbWndExtra = header.cbWndExtra;
    params.WindowClass.hCursor = header.hCursor;
    params.Style |= HDS_HORZ;
    if (FStyle == hsButtons)
        params.Style |= HDS_BUTTONS;
    if (FDragReorder)
        params.Style |= HDS_DRAGDROP;
    if (FFullDrag)
        params.Style |= HDS_FULLDRAG;
}

void TCustomHeaderControl::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
    if (FImagesAdapter)
        SendToWindow(HDM_SETIMAGELIST, 0, reinterpret_cast<intptr_t>(FImagesAdapter.get()));
    SyncSections();
}

void TCustomHeaderControl::SetStyle(THeaderStyle value)
{
    FStyle = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomHeaderControl::SetDragReorder(bool value)
{
    FDragReorder = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomHeaderControl::SetFullDrag(bool value)
{
    FFullDrag = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomHeaderControl::SetImages(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    FImagesAdapter = value ? std::make_unique<TImageListAdapter>(value) : nullptr;
    if (value)
        value->FreeNotification(this);
    SendToWindow(HDM_SETIMAGELIST, 0, reinterpret_cast<intptr_t>(FImagesAdapter.get()));
}

void TCustomHeaderControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        SetImages(nullptr);
}

std::vector<int> TCustomHeaderControl::SectionOrder() const
{
    std::vector<int> order(static_cast<size_t>(FSections->Count()));
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        order[i] = i;
    if (!order.empty())
        SendToWindow(HDM_GETORDERARRAY, order.size(), reinterpret_cast<intptr_t>(order.data()));
    return order;
}

void TCustomHeaderControl::SyncSection(int index)
{
    if (!HandleAllocated() || FSyncing || index < 0 || index >= FSections->Count())
        return;
    THeaderSection* section = FSections->Items(index);
    HDITEM item {};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM;
    item.cxy = section->FWidth;
    item.pszText = section->FText.data();
    item.fmt = FormatOf(section);
    item.iImage = section->FImageIndex;
    item.lParam = reinterpret_cast<LPARAM>(section);
    FSyncing = true;
    SendToWindow(HDM_SETITEM, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&item));
    FSyncing = false;
}

void TCustomHeaderControl::SyncSections()
{
    if (!HandleAllocated() || FSyncing)
        return;
    FSyncing = true;
    // Sections that stay keep their shown order; new ones go to the end.
    std::vector<int> order = SectionOrder();
    while (SendToWindow(HDM_DELETEITEM, 0, 0)) {
    }
    for (int i = 0; i < FSections->Count(); ++i) {
        THeaderSection* section = FSections->Items(i);
        HDITEM item {};
        item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM;
        item.cxy = section->FWidth;
        item.pszText = section->FText.data();
        item.fmt = FormatOf(section);
        item.iImage = section->FImageIndex;
        item.lParam = reinterpret_cast<LPARAM>(section);
        SendToWindow(HDM_INSERTITEM, static_cast<uintptr_t>(i), reinterpret_cast<intptr_t>(&item));
    }
    if (static_cast<int>(order.size()) == FSections->Count())
        SendToWindow(HDM_SETORDERARRAY, order.size(), reinterpret_cast<intptr_t>(order.data()));
    FSyncing = false;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomHeaderControl::SectionClick(THeaderSection* section)
{
    if (OnSectionClick)
        OnSectionClick(this, section);
}

void TCustomHeaderControl::SectionResize(THeaderSection* section)
{
    if (OnSectionResize)
        OnSectionResize(this, section);
}

void TCustomHeaderControl::SectionTrack(THeaderSection* section, int width, TSectionTrackState state)
{
    if (OnSectionTrack)
        OnSectionTrack(this, section, width, state);
}

void TCustomHeaderControl::DrawSection(THeaderSection* section, const TRect& rect, bool pressed)
{
    if (OnDrawSection)
        OnDrawSection(this, section, rect, pressed);
    else
        FCanvas->FillRect(rect);
}

void TCustomHeaderControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

void TCustomHeaderControl::CNNotify(TMessage& message)
{
    auto* nm = reinterpret_cast<NMHEADER*>(message.LParam);
    message.Result = 0;
    if (nm->iItem < 0 || nm->iItem >= FSections->Count())
        return;
    THeaderSection* section = FSections->Items(nm->iItem);
    switch (nm->hdr.code) {
    case HDN_ITEMCLICK:
        if (section->AllowClick())
            SectionClick(section);
        return;
    case HDN_BEGINTRACK:
        SectionTrack(section, section->Width(), tsTrackBegin);
        return;
    case HDN_TRACK:
    case HDN_ITEMCHANGING:
        // The window proposes a width; the section's limits bound it.
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && !FSyncing) {
            int width = std::clamp(nm->pitem->cxy, section->MinWidth(), std::max(section->MinWidth(), section->MaxWidth()));
            if (nm->hdr.code == HDN_TRACK) {
                SectionTrack(section, width, tsTrackMove);
                nm->pitem->cxy = width;
            } else if (width != nm->pitem->cxy) {
                // Refused here and set again at the bounded width.
                message.Result = TRUE;
                HDITEM bounded {};
                bounded.mask = HDI_WIDTH;
                bounded.cxy = width;
                section->FWidth = width;
                FSyncing = true;
                SendToWindow(HDM_SETITEM, static_cast<uintptr_t>(nm->iItem), reinterpret_cast<intptr_t>(&bounded));
                FSyncing = false;
                SectionResize(section);
            }
        }
        return;
    case HDN_ITEMCHANGED:
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && !FSyncing && nm->pitem->cxy != section->FWidth) {
            section->FWidth = nm->pitem->cxy;
            SectionResize(section);
        }
        return;
    case HDN_ENDTRACK:
        SectionTrack(section, section->Width(), tsTrackEnd);
        return;
    case HDN_BEGINDRAG: {
        message.Result = FDragReorder ? FALSE : TRUE;
        return;
    }
    case HDN_ENDDRAG: {
        bool allow = true;
        if (OnSectionDrag && nm->pitem) {
            std::vector<int> order = SectionOrder();
            int to = std::clamp(nm->pitem->iOrder, 0, static_cast<int>(order.size()) - 1);
            OnSectionDrag(this, section, FSections->Items(order[to]), allow);
        }
        message.Result = allow ? FALSE : TRUE;
        if (allow && OnSectionEndDrag)
            OnSectionEndDrag(this);
        return;
    }
    default:
        return;
    }
}

void TCustomHeaderControl::CNDrawItem(TMessage& message)
{
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    if (draw->CtlType != ODT_HEADER || static_cast<int>(draw->itemID) >= FSections->Count()) {
        message.Result = FALSE;
        return;
    }
    FCanvas->SetHandle(draw->hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    DrawSection(FSections->Items(static_cast<int>(draw->itemID)),
        {draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom},
        (draw->itemState & ODS_SELECTED) != 0);
    FCanvas->SetHandle(nullptr);
    message.Result = TRUE;
}
