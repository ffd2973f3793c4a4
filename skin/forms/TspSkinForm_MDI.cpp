// TspSkinForm and MDI: the messages between a skinned main form and its skinned children, the children's own
// window states inside the main form's work area, the window menu and tab bar kept in step with the children,
// arranging them, and the hooked MDI client window with its skinned background.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMDITabsBar.h"
#include "skin/forms/TspSkinMainMenuBar.h"

#include <cmath>
#include <string>

using namespace SPUtils;

namespace {

constexpr std::string_view kChildItemSuffix = "_SKFCHILDITEM";
constexpr const char* kClientProp = "TspSkinForm.MDIClient";

TCustomForm* MainForm()
{
    return Application ? Application->MainForm() : nullptr;
}

TspSkinForm* MainComponent()
{
    return GetSkinFormComponent(MainForm());
}

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

void SendToMainForm(UINT message)
{
    if (TCustomForm* main = MainForm(); main && main->HandleAllocated())
        SendMessage(main->Handle(), message, 0, 0);
}

// The child that a window-menu item stands for: its Name is the child's Name with the suffix.
bool ItemStandsFor(const TMenuItem* item, const TCustomForm* child)
{
    std::string name = item->Name();
    const size_t at = name.find(kChildItemSuffix);
    if (at == std::string::npos)
        return false;
    name.erase(at, kChildItemSuffix.size());
    return name == child->Name();
}

TMenuItem* ChildItem(TMenuItem* windowMenu, const TCustomForm* child)
{
    for (int i = 0; i < windowMenu->Count(); ++i)
        if (ItemStandsFor(windowMenu->Items(i), child))
            return windowMenu->Items(i);
    return nullptr;
}

template <class F> void ForEachChild(TCustomForm* main, F&& f)
{
    if (!main)
        return;
    // A step may close a child: the list is taken first.
    std::vector<TForm*> children;
    for (int i = 0; i < main->MDIChildCount(); ++i)
        children.push_back(main->MDIChildren(i));
    for (TForm* child : children)
        f(child);
}

LRESULT ClientHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* component = static_cast<TspSkinForm*>(GetProp(hwnd, kClientProp));
    TMessage message { msg, wParam, lParam, 0 };
    if (component)
        component->FormClientWindowProcHook(message);
    return message.Result;
}

} // namespace

TspSkinForm* GetMDIChildSkinFormComponent()
{
    TspSkinForm* found = nullptr;
    ForEachChild(MainForm(), [&](TForm* child) {
        TspSkinForm* component = GetSkinFormComponent(child);
        if (!found && component && component->WindowState() == wsMaximized)
            found = component;
    });
    return found;
}

TspSkinForm* GetMDIChildSkinFormComponent2()
{
    TCustomForm* main = MainForm();
    return main ? GetSkinFormComponent(main->ActiveMDIChild()) : nullptr;
}

// ---- The window procedure of MDI forms ---------------------------------------------------------------------------

void TspSkinForm::MDIWndProc(TMessage& message)
{
    const bool child = FForm->FormStyle() == fsMDIChild;
    const bool skinnable = FSkinnableForm;
    auto old = [&] {
        if (OldWindowProc)
            OldWindowProc(message);
    };
    switch (message.Msg) {
    case WM_DESTROY:
        FormWndProc(message);
        if (child) {
            // A child deleted while shown is never hidden first: it leaves the menu and the bar here, while it is
            // still whole.
            DeleteChildFromMenu(FForm);
            DeleteChildFromBar(FForm);
            FWindowState = wsNormal;
            SendToMainForm(WM_MDICHILDRESTORED);
            CheckMDIMainMenu();
            CheckMDIBar();
        }
        return;
    case WM_SETTEXT:
        FormWndProc(message);
        if (child && skinnable) {
            UpDateChildCaptionInMenu(FForm);
            RefreshMDIBarTab(FForm);
        }
        return;
    case WM_SHOWWINDOW:
        FormWndProc(message);
        if (!child && message.WParam) {
            HookMDIClient();
        } else if (child && skinnable && message.WParam) {
            AddChildToMenu(FForm);
            AddChildToBar(FForm);
        } else if (child && skinnable) {
            DeleteChildFromMenu(FForm);
            DeleteChildFromBar(FForm);
        }
        return;
    case WM_ACTIVATE:
        FormWndProc(message);
        if (!child && skinnable)
            CheckMDIMainMenu();
        return;
    case WM_NCACTIVATE:
        if (!child || !skinnable) {
            FormWndProc(message);
            return;
        }
        // A child's activation goes through the MDI client's default handling; its frame is painted after.
        FFormActive = message.WParam != 0;
        old();
        message.Result = 1;
        if (IsMDIMaxChild() || BorderStyleNone()) {
            FormChangeActive(false);
        } else {
            FramePaint();
            FormChangeActive(true);
        }
        if (IsMDIMaxChild())
            if (TCustomForm* main = MainForm(); main && main->HandleAllocated())
                SendMessage(main->Handle(), WM_NCPAINT, 1, 0);
        UpDateChildActiveInMenu();
        CheckMDIMainMenu();
        CheckMDIBar();
        return;
    case WM_MOUSEACTIVATE:
        FormWndProc(message);
        if (child && skinnable && !FFormActive && MainForm() && MainForm()->ActiveMDIChild() == FForm) {
            FFormActive = true;
            FormChangeActive(!IsMDIMaxChild());
        }
        return;
    case WM_NCCALCSIZE:
        // A maximized child's window is all client: its frame is gone while it fills the work area.
        if (skinnable && IsMDIMaxChild()) {
            message.Result = 0;
            return;
        }
        FormWndProc(message);
        return;
    case WM_NCPAINT:
        if (skinnable && IsMDIMaxChild()) {
            message.Result = 0;
            return;
        }
        FormWndProc(message);
        return;
    case WM_ERASEBKGND:
        // The main form's client area is the MDI client's, which paints its own background.
        if (!child) {
            old();
            return;
        }
        FormWndProc(message);
        return;
    case WM_AFTERCHANGESKINDATA:
        FormWndProc(message);
        if (!child && FSkinData && reinterpret_cast<TspSkinData*>(message.WParam) == FSkinData)
            ResizeMDIChilds();
        return;
    case WM_MDICHILDREFIT:
        FormWndProc(message);
        if (IsMDIMaxChild()) {
            TRect area;
            GetMDIWorkArea(area);
            FForm->SetBounds(0, 0, RectWidth(area), RectHeight(area));
        }
        return;
    case WM_MDICHILDMAXIMIZED:
        FormWndProc(message);
        if (!child) {
            FMDIChildMaximized = true;
            FramePaint();
            if (FMainMenuBar)
                FMainMenuBar->MDIChildMaximize();
        }
        return;
    case WM_MDICHILDRESTORED:
        FormWndProc(message);
        if (!child) {
            FMDIChildMaximized = GetMaximizeMDIChild() != nullptr;
            FramePaint();
            if (FMainMenuBar)
                FMainMenuBar->MDIChildRestore();
        }
        return;
    default:
        FormWndProc(message);
        return;
    }
}

// ---- A child's own window states ---------------------------------------------------------------------------------

TPoint TspSkinForm::MDIMinimizeCoord() const
{
    TRect area;
    GetMDIWorkArea(area);
    const int width = RectWidth(area);
    const int height = RectHeight(area);
    // Slots are at least a pixel apart, so that the scan always ends.
    const int slotWidth = std::max(GetMinWidth(), 1);
    const int slotHeight = std::max(GetMinHeight(), 1);
    std::vector<TPoint> taken;
    ForEachChild(MainForm(), [&](TForm* other) {
        TspSkinForm* component = GetSkinFormComponent(other);
        if (other != FForm && other->Visible() && component && component->WindowState() == wsMinimized)
            taken.push_back(TPoint { other->Left(), other->Top() });
    });
    const TPoint first { 0, height - slotHeight };
    TPoint slot = first;
    // Each minimized child holds at most one slot: one more slot than there are of them is always free.
    for (size_t tries = 0; tries <= taken.size(); ++tries) {
        const bool used = std::any_of(
            taken.begin(), taken.end(), [&](const TPoint& p) { return p.X == slot.X && p.Y == slot.Y; });
        if (!used)
            return slot;
        slot.X += slotWidth;
        if (slot.X + slotWidth > width) {
            slot.X = 0;
            slot.Y -= slotHeight;
            if (slot.Y < 0)
                return first;
        }
    }
    return first;
}

void TspSkinForm::SetMDIChildWindowState(TWindowState value)
{
    if (value == FWindowState)
        return;
    if (IsNullRect(FMDIRestoreBounds) && FWindowState == wsNormal)
        FMDIRestoreBounds = FForm->BoundsRect();
    const TRect before = FForm->BoundsRect();
    auto refreshWhenSameSize = [&] {
        // The frame comes or goes with the state: an unchanged size still needs a new frame calculation.
        if (RectWidth(before) == FForm->Width() && RectHeight(before) == FForm->Height())
            UpDateForm();
    };
    FWindowState = value;
    switch (value) {
    case wsMinimized: {
        const TPoint slot = MDIMinimizeCoord();
        FForm->SetBounds(slot.X, slot.Y, GetMinWidth(), GetMinHeight());
        refreshWhenSameSize();
        SendToMainForm(WM_MDICHILDRESTORED);
        break;
    }
    case wsMaximized: {
        FMouseTimer->SetEnabled(false);
        TestActive(-1, -1, false);
        TRect area;
        GetMDIWorkArea(area);
        FForm->SetBounds(0, 0, RectWidth(area), RectHeight(area));
        refreshWhenSameSize();
        CreateNewRegion(true);
        SendToMainForm(WM_MDICHILDMAXIMIZED);
        break;
    }
    case wsNormal:
        PositionPending = false;
        if (!IsNullRect(FMDIRestoreBounds))
            FForm->SetBoundsRect(FMDIRestoreBounds);
        FMDIRestoreBounds = NullRect();
        FMouseTimer->SetEnabled(true);
        refreshWhenSameSize();
        CreateNewRegion(true);
        FForm->Repaint();
        SendToMainForm(WM_MDICHILDRESTORED);
        break;
    }
}

// ---- Window menu ------------------------------------------------------------------------------------------------

void TspSkinForm::AddChildToMenu(TCustomForm* child)
{
    TCustomForm* main = MainForm();
    TspSkinForm* component = MainComponent();
    if (!component || !main->WindowMenu())
        return;
    // The item belongs to the child's component and goes with it at the latest.
    TspSkinForm* owner = GetSkinFormComponent(child);
    auto* item = new TMenuItem(owner ? static_cast<TComponent*>(owner) : child);
    item->SetName(child->Name() + std::string(kChildItemSuffix));
    item->SetCaption(child->Caption());
    item->OnClick = [component](TObject* sender) { component->MDIItemClick(sender); };
    main->WindowMenu()->Add(item);
}

void TspSkinForm::DeleteChildFromMenu(TCustomForm* child)
{
    TCustomForm* main = MainForm();
    if (!MainComponent() || !main->WindowMenu())
        return;
    TMenuItem* menu = main->WindowMenu();
    delete ChildItem(menu, child);
    if (main->MDIChildCount() != 0)
        return;
    // The last child gone: a child item left over goes too.
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Name().find(kChildItemSuffix) != std::string::npos) {
            delete menu->Items(i);
            break;
        }
}

void TspSkinForm::UpDateChildCaptionInMenu(TCustomForm* child)
{
    TCustomForm* main = MainForm();
    if (!MainComponent() || !main->WindowMenu())
        return;
    if (TMenuItem* item = ChildItem(main->WindowMenu(), child))
        item->SetCaption(child->Caption());
}

void TspSkinForm::UpDateChildActiveInMenu()
{
    TCustomForm* main = MainForm();
    if (!MainComponent() || !main->WindowMenu())
        return;
    TMenuItem* menu = main->WindowMenu();
    TCustomForm* active = main->ActiveMDIChild();
    for (int i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (item->Name().find(kChildItemSuffix) != std::string::npos)
            item->SetChecked(active && ItemStandsFor(item, active));
    }
}

void TspSkinForm::MDIItemClick(TObject* sender)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    TForm* target = nullptr;
    ForEachChild(MainForm(), [&](TForm* child) {
        if (!target && ItemStandsFor(item, child))
            target = child;
    });
    if (!target)
        return;
    if (TspSkinForm* component = GetSkinFormComponent(target); component && component->WindowState() == wsMinimized)
        component->SetWindowState(wsNormal);
    target->Show();
}

// ---- Tab bar and main-menu bar ----------------------------------------------------------------------------------

void TspSkinForm::SetMDITabsBar(TspSkinMDITabsBar* value)
{
    if (FMDITabsBar)
        FMDITabsBar->RemoveFreeNotification(this);
    FMDITabsBar = value;
    if (FMDITabsBar)
        FMDITabsBar->FreeNotification(this);
}

void TspSkinForm::AddChildToBar(TCustomForm* child)
{
    if (TspSkinForm* component = MainComponent(); component && component->FMDITabsBar)
        component->FMDITabsBar->AddTab(child);
}

void TspSkinForm::DeleteChildFromBar(TCustomForm* child)
{
    if (TspSkinForm* component = MainComponent(); component && component->FMDITabsBar)
        component->FMDITabsBar->DeleteTab(child);
}

void TspSkinForm::RefreshMDIBarTab(TCustomForm* child)
{
    TspSkinForm* component = MainComponent();
    if (!component || !component->FMDITabsBar)
        return;
    TspSkinMDITabsBar* bar = component->FMDITabsBar;
    if (!bar->HandleAllocated() || !bar->Visible())
        return;
    for (int i = 0; i < bar->TabCount(); ++i)
        if (bar->TabAt(i)->TabForm == child)
            bar->TabAt(i)->Draw(bar->Canvas());
}

void TspSkinForm::CheckMDIBar()
{
    if (TspSkinForm* component = MainComponent(); component && component->FMDITabsBar)
        component->FMDITabsBar->CheckActive();
}

void TspSkinForm::CheckMDIMainMenu()
{
    // A bar that shows a child's menu, or should, follows the active child.
    TspSkinForm* component = MainComponent();
    TspSkinMainMenuBar* bar = component ? component->FMainMenuBar : nullptr;
    if (bar && (bar->Merged() || bar->GetChildMainMenu()))
        bar->UpDateItems();
}

void TspSkinForm::SetMainMenuBar(TspSkinMainMenuBar* value)
{
    if (FMainMenuBar)
        FMainMenuBar->RemoveFreeNotification(this);
    FMainMenuBar = value;
    if (FMainMenuBar)
        FMainMenuBar->FreeNotification(this);
}

// ---- Arranging --------------------------------------------------------------------------------------------------

void TspSkinForm::GetMDIWorkArea(TRect& r) const
{
    TCustomForm* main = MainForm();
    if (!main)
        return;
    int left = 0;
    int top = 0;
    int right = main->ClientWidth();
    int bottom = main->ClientHeight();
    bool anyRight = false;
    bool anyBottom = false;
    for (int i = 0; i < main->ControlCount(); ++i) {
        TControl* c = main->Controls(i);
        if (!c->Visible())
            continue;
        switch (c->Align()) {
        case alLeft:
            left = std::max(left, c->Left() + c->Width());
            break;
        case alTop:
            top = std::max(top, c->Top() + c->Height());
            break;
        case alRight:
            right = anyRight ? std::min(right, c->Left()) : c->Left();
            anyRight = true;
            break;
        case alBottom:
            bottom = anyBottom ? std::min(bottom, c->Top()) : c->Top();
            anyBottom = true;
            break;
        default:
            break;
        }
    }
    r = Rect(left, top, right, bottom);
}

TCustomForm* TspSkinForm::GetMaximizeMDIChild() const
{
    TCustomForm* main = MainForm();
    if (!main)
        return nullptr;
    TCustomForm* active = main->ActiveMDIChild();
    if (TspSkinForm* component = GetSkinFormComponent(active); component && component->WindowState() == wsMaximized)
        return active;
    TspSkinForm* maximized = GetMDIChildSkinFormComponent();
    return maximized ? maximized->Form() : nullptr;
}

void TspSkinForm::MinimizeAll()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    ForEachChild(FForm, [](TForm* child) {
        if (TspSkinForm* component = GetSkinFormComponent(child))
            component->SetWindowState(wsMinimized);
    });
}

void TspSkinForm::MaximizeAll()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    ForEachChild(FForm, [](TForm* child) {
        if (TspSkinForm* component = GetSkinFormComponent(child))
            component->SetWindowState(wsMaximized);
    });
}

void TspSkinForm::RestoreAll()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    ForEachChild(FForm, [](TForm* child) {
        TspSkinForm* component = GetSkinFormComponent(child);
        if (!component)
            return;
        if (component->WindowState() != wsNormal)
            component->SetWindowState(wsNormal);
        if (component->WindowState() == wsNormal && component->RolledUp())
            component->SetRollUpState(false);
    });
}

void TspSkinForm::CloseAll()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    std::vector<TForm*> children;
    ForEachChild(FForm, [&](TForm* child) { children.push_back(child); });
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->Close();
}

void TspSkinForm::Tile()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    RestoreAll();
    const int count = FForm->MDIChildCount();
    const int columns = static_cast<int>(std::sqrt(static_cast<double>(count)));
    if (columns == 0)
        return;
    int rows = count / columns;
    if (columns * rows < count)
        ++rows;
    TRect area;
    GetMDIWorkArea(area);
    const int width = RectWidth(area);
    const int height = RectHeight(area);
    const int columnWidth = width / columns;
    int rowHeight = height / rows;
    int x = width;
    int y = height;
    int columnsLeft = columns;
    // From the last child to the first: columns fill from the right, each from the bottom.
    for (int i = count - 1; i >= 0; --i) {
        TForm* child = FForm->MDIChildren(i);
        child->SetBounds(std::max(x - columnWidth, 0), std::max(y - rowHeight, 0), columnWidth, rowHeight);
        y -= rowHeight;
        if (y - rowHeight < 0) {
            y = height;
            x -= columnWidth;
            columnsLeft = std::max(columnsLeft - 1, 1);
            // The children still to place share the columns still to fill.
            int rowsLeft = i / columnsLeft;
            if (i % columnsLeft != 0)
                ++rowsLeft;
            rowHeight = height / std::max(rowsLeft, 1);
        }
    }
}

void TspSkinForm::Cascade()
{
    if (FForm->FormStyle() != fsMDIForm)
        return;
    RestoreAll();
    const int count = FForm->MDIChildCount();
    if (count == 0)
        return;
    TRect area;
    GetMDIWorkArea(area);
    const int width = RectWidth(area);
    const int height = RectHeight(area);
    // A skin whose client area starts at the top has no caption step: the default caption's is taken.
    int step = FFormSkinned ? CurClientRect.Top : GetDefCaptionHeight() + 3;
    if (step < 1)
        step = GetDefCaptionHeight() + 3;
    const int reserved = static_cast<int>(std::nearbyint(width * 0.8));
    const int fitting = (width - reserved) / step;
    const int shrink = step * (fitting > count ? count - 1 : fitting);
    const int commonWidth = std::max(width - shrink, GetMinWidth());
    const int commonHeight = std::max(height - shrink, GetMinHeight());
    int offset = 0;
    for (int i = count - 1; i >= 0; --i) {
        TForm* child = FForm->MDIChildren(i);
        const bool ownSize = child->BorderStyle() == bsSingle;
        const int w = ownSize ? child->Width() : commonWidth;
        const int h = ownSize ? child->Height() : commonHeight;
        if (offset + w > width || offset + h > height)
            offset = 0;
        child->SetBounds(offset, offset, w, h);
        offset += step;
    }
}

void TspSkinForm::ResizeMDIChilds()
{
    ForEachChild(FForm, [](TForm* child) {
        if (child->HandleAllocated())
            SendMessage(child->Handle(), WM_MDICHILDREFIT, 0, 0);
    });
    ArangeMinimizedChilds();
}

void TspSkinForm::ArangeMinimizedChilds()
{
    ForEachChild(FForm, [](TForm* child) {
        TspSkinForm* component = GetSkinFormComponent(child);
        if (!component || component->WindowState() != wsMinimized)
            return;
        const TPoint slot = component->MDIMinimizeCoord();
        child->SetBounds(slot.X, slot.Y, child->Width(), child->Height());
    });
}

void TspSkinForm::SetFormStyle(TFormStyle value)
{
    if (value != fsNormal && value != fsStayOnTop)
        return;
    FForm->SetFormStyle(value);
}

// ---- The MDI client window --------------------------------------------------------------------------------------

void TspSkinForm::HookMDIClient()
{
    const HWND client = FForm->FormStyle() == fsMDIForm ? FForm->ClientHandle() : nullptr;
    if (!client || client == FHookedClient)
        return;
    UnhookMDIClient();
    SetProp(client, kClientProp, this);
    OldClientWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClientHookProc)));
    FHookedClient = client;
    // The client's frame is calculated again through the hook, which leaves it none.
    SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TspSkinForm::UnhookMDIClient()
{
    if (!FHookedClient)
        return;
    if (IsWindow(FHookedClient)) {
        SetWindowLongPtr(FHookedClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldClientWindowProc));
        RemoveProp(FHookedClient, kClientProp);
    }
    FHookedClient = nullptr;
    OldClientWindowProc = nullptr;
}

void TspSkinForm::FormClientWindowProcHook(TMessage& message)
{
    const HWND client = FHookedClient;
    auto old = [&] {
        message.Result = CallWindowProc(OldClientWindowProc, client, message.Msg, message.WParam, message.LParam);
    };
    switch (message.Msg) {
    case WM_SIZE: {
        old();
        ResizeMDIChilds();
        // A centred logo or a stretched background moves everywhere with the size, not only where the client
        // grew.
        const bool stretched = FFormSkinned
            && ((FSkinData->StretchEffect && FSkinData->MDIBGPictureIndex == -1)
                || (FSkinData->MDIBGStretchEffect && FSkinData->MDIBGPictureIndex != -1));
        if (stretched || !FLogoBitMap->Empty()) {
            const RECT r { 0, 0, FForm->ClientWidth(), FForm->ClientHeight() };
            InvalidateRect(client, &r, TRUE);
        }
        return;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        message.Result = 0;
        return;
    case WM_NCACTIVATE:
        message.Result = 1;
        return;
    case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (!SkinLoaded(FSkinData))
            PaintMDIBGDefault(dc);
        else if (FSkinData->MDIBGPictureIndex != -1)
            PaintBG3(dc);
        else if (FSkinData->BGPictureIndex == -1)
            PaintBG(dc);
        else
            PaintBG2(dc);
        message.Result = 1;
        return;
    }
    case WM_NCDESTROY:
        old();
        RemoveProp(client, kClientProp);
        FHookedClient = nullptr;
        OldClientWindowProc = nullptr;
        return;
    default:
        old();
        return;
    }
}

void TspSkinForm::PaintMDIBGDefault(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clAppWorkSpace);
    canvas.FillRect(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()));
    if (!FLogoBitMap->Empty())
        DrawLogoBitMap(&canvas);
    canvas.SetHandle(nullptr);
}
