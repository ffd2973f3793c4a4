#include "skin/lists/SkinRichEdit.h"

#include "framework/controls/Messages.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLinks.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinViewSupport.h"

using namespace SkinLinks;
using namespace SkinViewSupport;

TspSkinRichEdit::TspSkinRichEdit(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
    Font()->Assign(FDefaultFont.get());
    SetScrollBars(ssBoth);
}

TspSkinRichEdit::~TspSkinRichEdit() = default;

void TspSkinRichEdit::SetSkinData(TspSkinData* value)
{
    if (WatchSkin(this, FSkinData, value))
        ChangeSkinData();
}

void TspSkinRichEdit::SetDefaultFont(TFont* value)
{
    SetViewDefaultFont(this, FDefaultFont.get(), value, SkinIndex == -1 && FSkinSupport);
}

void TspSkinRichEdit::SetDefaultColor(TColor value)
{
    SetViewDefaultColor(this, FDefaultColor, value, SkinIndex == -1 && FSkinSupport);
}

// The rich edit leaves its bars shown: it enables and disables them as its text needs.
void TspSkinRichEdit::SetVScrollBar(TspSkinScrollBar* value)
{
    Watch(this, FVScrollBar, value);
    if (value) {
        value->OnChange = [this](TObject* sender) { OnVScrollBarChange(sender); };
        value->OnUpButtonClick = [this](TObject* sender) { OnVScrollBarUpButtonClick(sender); };
        value->OnDownButtonClick = [this](TObject* sender) { OnVScrollBarDownButtonClick(sender); };
    }
    UpDateScrollBars();
}

void TspSkinRichEdit::SetHScrollBar(TspSkinScrollBar* value)
{
    Watch(this, FHScrollBar, value);
    if (value)
        value->OnChange = [this](TObject* sender) { OnHScrollBarChange(sender); };
    UpDateScrollBars();
}

void TspSkinRichEdit::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    Forget(component, operation, FSkinData, FVScrollBar, FHScrollBar);
}

void TspSkinRichEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TspSkinRichEdit::Loaded()
{
    inherited::Loaded();
    ChangeSkinData();
}

void TspSkinRichEdit::ChangeSkinData()
{
    SkinIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FSkinDataName) : -1;
    auto* record = SkinRecordAt<TspDataSkinRichEdit>(FSkinData, SkinIndex);
    if (FSkinSupport && SkinIndex == -1)
        ApplyViewDefaults(this, FDefaultFont.get(), FDefaultColor);
    else if (FSkinSupport && record)
        ApplyViewFont(this, true, FDefaultFont.get(), record->FontName, record->FontHeight, record->FontStyle,
            record->FontColor, record->BGColor);
    ApplyViewCharset(this, FSkinData, FDefaultFont.get());
    UpDateScrollBars();
    RealignBar(FVScrollBar);
    RealignBar(FHScrollBar);
}

// ---- Mirroring ---------------------------------------------------------------------------------------------------

static bool NativeBarHidden(HWND window, LONG objectId)
{
    SCROLLBARINFO info {};
    info.cbSize = sizeof info;
    SPUtils::MyGetScrollBarInfo(window, objectId, info);
    return (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0;
}

bool TspSkinRichEdit::VScrollDisabled()
{
    return !HandleAllocated() || NativeBarHidden(Handle(), OBJID_VSCROLL);
}

bool TspSkinRichEdit::HScrollDisabled()
{
    return !HandleAllocated() || NativeBarHidden(Handle(), OBJID_HSCROLL);
}

void TspSkinRichEdit::MirrorBar(TspSkinScrollBar* bar, int nativeBar, bool disabled)
{
    SCROLLINFO info {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(Handle(), nativeBar, &info);
    if (disabled) {
        bar->SetEnabled(false);
        SetScrollRange(Handle(), nativeBar, 0, 0, FALSE);
        return;
    }
    if (!bar->Enabled())
        bar->SetEnabled(true);
    bar->SetRange(TspScrollMin(info.nMin), TspScrollMax(info.nMax), TspScrollPage(static_cast<int>(info.nPage)),
        TspScrollPosition(info.nPos));
}

void TspSkinRichEdit::UpDateScrollBars()
{
    if (!HandleAllocated())
        return;
    if (FVScrollBar)
        MirrorBar(FVScrollBar, SB_VERT, VScrollDisabled());
    if (FHScrollBar)
        MirrorBar(FHScrollBar, SB_HORZ, HScrollDisabled());
}

// ---- Following the bars ----------------------------------------------------------------------------------------

void TspSkinRichEdit::OnVScrollBarChange(TObject*)
{
    if (FVScrollBar && HandleAllocated())
        SendThumbPosition(Handle(), true, FVScrollBar->Position());
}

void TspSkinRichEdit::OnHScrollBarChange(TObject*)
{
    if (FHScrollBar && HandleAllocated())
        SendThumbPosition(Handle(), false, FHScrollBar->Position());
}

void TspSkinRichEdit::OnVScrollBarUpButtonClick(TObject*)
{
    if (!FVScrollBar || !HandleAllocated())
        return;
    const int position = FVScrollBar->Position();
    if (position < FVScrollBar->Max() - FVScrollBar->PageSize() + 1)
        SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, WORD(position)), 0);
    UpDateScrollBars();
}

void TspSkinRichEdit::OnVScrollBarDownButtonClick(TObject*)
{
    if (!FVScrollBar || !HandleAllocated())
        return;
    const int position = FVScrollBar->Position();
    if (position != 0)
        SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEUP, WORD(position)), 0);
    UpDateScrollBars();
}

void TspSkinRichEdit::Change()
{
    inherited::Change();
    UpDateScrollBars();
}

void TspSkinRichEdit::WndProc(TMessage& message)
{
    if (message.Msg == WM_NCCALCSIZE)
        return; // no non-client area
    inherited::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        UpDateScrollBars();
        break;
    default:
        break;
    }
}
