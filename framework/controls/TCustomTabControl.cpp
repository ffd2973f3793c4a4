#include "framework/controls/TCustomTabControl.h"

#include "framework/controls/ImageListAdapter.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/TabControl.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>

// --- TCustomTabControl ------------------------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner)
{
    FControlStyle = TControlStyle {csAcceptsControls, csDoubleClicks};
    FWidth = 289;
    FHeight = 193;
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl()
{
    if (HandleAllocated())
        DestroyHandle();
}

intptr_t TCustomTabControl::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomTabControl*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

void TCustomTabControl::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    RegisterTabControlClass();
    WNDCLASS tabs {};
    GetClassInfo(nullptr, WC_TABCONTROL, &tabs);
    params.WindowClass.lpfnWndProc = tabs.lpfnWndProc;
    params.WindowClass.cbWndExtra = tabs.cbWndExtra;
    params.WindowClass.hCursor = tabs.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= WS_CLIPCHILDREN;
    if (FMultiLine)
        params.Style |= TCS_MULTILINE;
    if (FTabPosition == tpBottom)
        params.Style |= TCS_BOTTOM;
    else if (FTabPosition == tpLeft)
        params.Style |= TCS_VERTICAL;
    else if (FTabPosition == tpRight)
        params.Style |= TCS_VERTICAL | TCS_RIGHT;
    if (FTabWidth > 0)
        params.Style |= TCS_FIXEDWIDTH;
}

void TCustomTabControl::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
    if (FImagesAdapter)
        SendToWindow(TCM_SETIMAGELIST, 0, reinterpret_cast<intptr_t>(FImagesAdapter.get()));
    if (FTabHeight > 0 || FTabWidth > 0)
        SendToWindow(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
    SyncTabs();
    if (FSavedTabIndex >= 0)
        SendToWindow(TCM_SETCURSEL, static_cast<uintptr_t>(FSavedTabIndex), 0);
    FSavedTabIndex = -1;
    Realign();
}

void TCustomTabControl::SyncTabs()
{
    if (!HandleAllocated())
        return;
    int current = TabIndex();
    SendToWindow(TCM_DELETEALLITEMS, 0, 0);
    std::vector<std::string> texts = TabTexts();
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        TCITEM item {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = texts[i].data();
        item.iImage = TabImage(i);
        SendToWindow(TCM_INSERTITEM, static_cast<uintptr_t>(i), reinterpret_cast<intptr_t>(&item));
    }
    if (current >= 0 && current < static_cast<int>(texts.size()))
        SendToWindow(TCM_SETCURSEL, static_cast<uintptr_t>(current), 0);
    Realign();
}

int TCustomTabControl::TabImage(int) const { return -1; }

int TCustomTabControl::TabIndex() const
{
    return HandleAllocated() ? static_cast<int>(SendToWindow(TCM_GETCURSEL, 0, 0)) : FSavedTabIndex;
}

void TCustomTabControl::SetTabIndex(int value)
{
    if (!HandleAllocated()) {
        FSavedTabIndex = value;
        return;
    }
    SendToWindow(TCM_SETCURSEL, static_cast<uintptr_t>(value), 0);
}

void TCustomTabControl::SetMultiLine(bool value)
{
    FMultiLine = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition value)
{
    FTabPosition = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTabControl::SetTabHeight(int value)
{
    FTabHeight = std::max(0, value);
    SendToWindow(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
    Realign();
}

void TCustomTabControl::SetTabWidth(int value)
{
    FTabWidth = std::max(0, value);
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTabControl::SetImageList(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    FImagesAdapter = value ? std::make_unique<TImageListAdapter>(value) : nullptr;
    if (value)
        value->FreeNotification(this);
    SendToWindow(TCM_SETIMAGELIST, 0, reinterpret_cast<intptr_t>(FImagesAdapter.get()));
}

void TCustomTabControl::SetImages(TCustomImageList* value) { SetImageList(value); }

void TCustomTabControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        SetImages(nullptr);
}

TRect TCustomTabControl::DisplayRect() const
{
    RECT r {0, 0, ClientWidth(), ClientHeight()};
    SendToWindow(TCM_ADJUSTRECT, FALSE, reinterpret_cast<intptr_t>(&r));
    return {r.left, r.top, r.right, r.bottom};
}

TRect TCustomTabControl::TabRect(int index) const
{
    RECT r {};
    if (!SendToWindow(TCM_GETITEMRECT, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const
{
    TCHITTESTINFO hit {{x, y}, 0};
    return HandleAllocated() ? static_cast<int>(SendToWindow(TCM_HITTEST, 0, reinterpret_cast<intptr_t>(&hit))) : -1;
}

int TCustomTabControl::RowCount() const { return static_cast<int>(SendToWindow(TCM_GETROWCOUNT, 0, 0)); }

void TCustomTabControl::AdjustClientRect(TRect& rect)
{
    if (HandleAllocated())
        rect = DisplayRect();
    else
        inherited::AdjustClientRect(rect);
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CM_TABSCHANGED:
        SyncTabs();
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        Realign();
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        Realign();
        return;
    default:
        inherited::WndProc(message);
    }
}

void TCustomTabControl::CNNotify(TMessage& message)
{
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    message.Result = 0;
    if (header->code == TCN_SELCHANGING)
        message.Result = CanChange() ? FALSE : TRUE;
    else if (header->code == TCN_SELCHANGE)
        Change();
}

// --- TTabControl ------------------------------------------------------------------------------------------------

namespace {
// The tab texts: a change rebuilds the window's tabs, and the selection stays on its tab.
class TTabStrings : public TStringList {
    using inherited = TStringList;

public:
    explicit TTabStrings(TTabControl* tabs)
        : FTabs(tabs)
    {
        OnChange = [this](TObject*) { FTabs->Perform(CM_TABSCHANGED, 0, 0); };
    }
    void Insert(int index, std::string_view s) override
    {
        int current = FTabs->TabIndex();
        inherited::Insert(index, s);
        if (current >= index)
            FTabs->SetTabIndex(current + 1);
    }
    void Delete(int index) override
    {
        int current = FTabs->TabIndex();
        inherited::Delete(index);
        FTabs->SetTabIndex(current == index ? -1 : current > index ? current - 1 : current);
    }

private:
    TTabControl* FTabs;
};
} // namespace

TTabControl::TTabControl(TComponent* owner)
    : TCustomTabControl(owner)
    , FTabs(std::make_unique<TTabStrings>(this))
{
}

TTabControl::~TTabControl()
{
    if (HandleAllocated())
        DestroyHandle();
}

std::vector<std::string> TTabControl::TabTexts() const
{
    std::vector<std::string> texts;
    for (int i = 0; i < FTabs->Count(); ++i)
        texts.push_back(FTabs->Strings(i));
    return texts;
}

// --- TTabSheet --------------------------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner)
    : TWinControl(owner)
{
    FControlStyle = TControlStyle {csAcceptsControls, csClickEvents};
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value)
{
    if (value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    SetParent(value);
    if (value)
        value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value)
{
    if (!FPageControl)
        return;
    auto& pages = FPageControl->FPages;
    pages.erase(std::find(pages.begin(), pages.end(), this));
    pages.insert(pages.begin() + std::clamp(value, 0, static_cast<int>(pages.size())), this);
    FPageControl->PagesChanged();
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible)
        return -1;
    int index = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this)
            return index;
        if (page->FTabVisible)
            ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value)
{
    if (value == FTabVisible)
        return;
    FTabVisible = value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::SetImageIndex(int value)
{
    FImageIndex = value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED && FPageControl)
        FPageControl->PagesChanged();
}

// --- TPageControl -----------------------------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner)
    : TCustomTabControl(owner)
{
}

TPageControl::~TPageControl()
{
    // The sheets are the owner's; they only forget this control.
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
    if (HandleAllocated())
        DestroyHandle();
}

void TPageControl::InsertPage(TTabSheet* page)
{
    FPages.push_back(page);
    page->FPageControl = this;
    PagesChanged();
    if (!FActivePage)
        SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto at = std::find(FPages.begin(), FPages.end(), page);
    if (at == FPages.end())
        return;
    // The next page takes over when the shown one goes.
    TTabSheet* next = page == FActivePage ? FindNextPage(page, true) : FActivePage;
    FPages.erase(at);
    page->FPageControl = nullptr;
    if (next == page)
        next = nullptr;
    FActivePage = nullptr;
    PagesChanged();
    SetActivePage(next);
}

std::vector<std::string> TPageControl::TabTexts() const
{
    std::vector<std::string> texts;
    for (TTabSheet* page : FPages)
        if (page->FTabVisible)
            texts.push_back(page->Caption());
    return texts;
}

int TPageControl::TabImage(int index) const
{
    TTabSheet* page = PageOfTab(index);
    return page ? page->FImageIndex : -1;
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const
{
    for (TTabSheet* page : FPages)
        if (page->FTabVisible && tabIndex-- == 0)
            return page;
    return nullptr;
}

void TPageControl::PagesChanged()
{
    SyncTabs();
    if (FActivePage)
        SetTabIndex(FActivePage->TabIndex());
}

void TPageControl::ShowActivePage()
{
    for (TTabSheet* page : FPages)
        if (page != FActivePage)
            page->SetVisible(false);
    if (FActivePage) {
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->FPageControl != this)
        return;
    FActivePage = page;
    SetTabIndex(page ? page->TabIndex() : -1);
    ShowActivePage();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value)
{
    SetActivePage(value >= 0 && value < PageCount() ? FPages[static_cast<size_t>(value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const
{
    if (FPages.empty())
        return nullptr;
    auto at = std::find(FPages.begin(), FPages.end(), current);
    int n = PageCount();
    int start = at == FPages.end() ? (goForward ? n - 1 : 0) : static_cast<int>(at - FPages.begin());
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (goForward ? step : -step)) % n + n) % n;
        if (FPages[static_cast<size_t>(i)]->FTabVisible)
            return FPages[static_cast<size_t>(i)];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward)
{
    TTabSheet* next = FindNextPage(FActivePage, goForward);
    if (next && next != FActivePage && CanChange()) {
        SetActivePage(next);
        Change();
    }
}

void TPageControl::Change()
{
    // The user chose a tab: its page is shown.
    TTabSheet* page = PageOfTab(TabIndex());
    if (page && page != FActivePage) {
        FActivePage = page;
        ShowActivePage();
    }
    inherited::Change();
}
