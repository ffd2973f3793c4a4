#include "framework/controls/TCustomTreeView.h"

#include "framework/controls/ImageListAdapter.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <functional>

// --- TTreeNode --------------------------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* owner)
    : FOwner(owner)
{
}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

namespace {
// Sends a message about the node's window item, if it has one.
intptr_t SendForNode(const TTreeNode* node, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    TCustomTreeView* view = node->TreeView();
    if (!view || !node->ItemId())
        return 0;
    return view->SendToWindow(message, wParam, lParam);
}

void UpdateItem(TTreeNode* node, UINT mask)
{
    TVITEM item {};
    item.mask = mask | TVIF_HANDLE;
    item.hItem = node->ItemId();
    item.pszText = reinterpret_cast<char*>(-1);
    item.iImage = node->ImageIndex();
    item.iSelectedImage = node->SelectedIndex();
    item.cChildren = node->HasChildren() ? 1 : 0;
    SendForNode(node, TVM_SETITEM, 0, reinterpret_cast<intptr_t>(&item));
}
} // namespace

void TTreeNode::SetText(std::string_view value)
{
    FText = value;
    UpdateItem(this, TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int value)
{
    FImageIndex = value;
    UpdateItem(this, TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int value)
{
    FSelectedIndex = value;
    UpdateItem(this, TVIF_SELECTEDIMAGE);
}

bool TTreeNode::HasChildren() const { return FHasChildren || !FChildren.empty(); }

void TTreeNode::SetHasChildren(bool value)
{
    FHasChildren = value;
    UpdateItem(this, TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const
{
    TVITEM item {};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = FItem;
    item.stateMask = TVIS_EXPANDED;
    return SendForNode(this, TVM_GETITEM, 0, reinterpret_cast<intptr_t>(&item)) && (item.state & TVIS_EXPANDED);
}

void TTreeNode::SetExpanded(bool value)
{
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse)
{
    SendForNode(this, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<intptr_t>(FItem));
    if (recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
            child->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (TTreeNode* child : FChildren)
            child->Collapse(true);
    SendForNode(this, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<intptr_t>(FItem));
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool value)
{
    if (value && TreeView())
        TreeView()->SetSelected(this);
    else if (!value && Selected())
        TreeView()->SetSelected(nullptr);
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

int TTreeNode::Index() const
{
    const auto& siblings = FOwner->SiblingsOf(FParent);
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& siblings = FOwner->SiblingsOf(FParent);
    size_t i = static_cast<size_t>(Index()) + 1;
    return i < siblings.size() ? siblings[i] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    int i = Index();
    return i > 0 ? FOwner->SiblingsOf(FParent)[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty())
        return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling())
            return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* prev = GetPrevSibling();
    if (!prev)
        return FParent;
    while (!prev->FChildren.empty())
        prev = prev->FChildren.back();
    return prev;
}

void TTreeNode::DeleteChildren()
{
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back());
}

void TTreeNode::Delete() { FOwner->Delete(this); }

bool TTreeNode::EditText() { return SendForNode(this, TVM_EDITLABEL, 0, reinterpret_cast<intptr_t>(FItem)) != 0; }

TRect TTreeNode::DisplayRect(bool textOnly) const
{
    RECT r {};
    TreeItem* item = FItem;
    std::memcpy(&r, &item, sizeof item);
    if (!SendForNode(this, TVM_GETITEMRECT, textOnly, reinterpret_cast<intptr_t>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

void TTreeNode::MakeVisible() { SendForNode(this, TVM_ENSUREVISIBLE, 0, reinterpret_cast<intptr_t>(FItem)); }

// --- TTreeNodes -------------------------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* owner)
    : FOwner(owner)
{
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::AddNode(TTreeNode* parent, TTreeNode* before, std::string_view text, void* data)
{
    FNodes.push_back(std::make_unique<TTreeNode>(this));
    TTreeNode* node = FNodes.back().get();
    node->FParent = parent;
    node->FText = text;
    node->FData = data;
    auto& siblings = SiblingsOf(parent);
    auto at = before ? std::find(siblings.begin(), siblings.end(), before) : siblings.end();
    siblings.insert(at, node);
    InsertWindowItem(node, before);
    return node;
}

void TTreeNodes::InsertWindowItem(TTreeNode* node, TTreeNode* before)
{
    if (!FOwner->HandleAllocated() || (node->FParent && !node->FParent->FItem))
        return;
    TVINSERTSTRUCT insert {};
    insert.hParent = node->FParent ? node->FParent->FItem : TVI_ROOT;
    TTreeNode* previous = before ? before->GetPrevSibling() : nullptr;
    insert.hInsertAfter = !before ? TVI_LAST : previous ? previous->FItem : TVI_FIRST;
    // The window asks the node for its text when it shows it.
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = reinterpret_cast<char*>(-1);
    insert.item.iImage = node->FImageIndex;
    insert.item.iSelectedImage = node->FSelectedIndex;
    insert.item.cChildren = node->FHasChildren ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    node->FItem = reinterpret_cast<TreeItem*>(FOwner->SendToWindow(TVM_INSERTITEM, 0, reinterpret_cast<intptr_t>(&insert)));
    for (TTreeNode* child : node->FChildren)
        InsertWindowItem(child, nullptr);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, std::string_view text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, std::string_view text, void* data)
{
    return AddNode(sibling ? sibling->FParent : nullptr, nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string_view text) { return AddChildObject(parent, text, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, std::string_view text, void* data)
{
    return AddNode(parent, nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, std::string_view text)
{
    return AddNode(parent, parent ? parent->GetFirstChild() : GetFirstNode(), text, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, std::string_view text)
{
    return AddNode(sibling ? sibling->FParent : nullptr, sibling, text, nullptr);
}

void TTreeNodes::Remove(TTreeNode* node)
{
    for (TTreeNode* child : std::vector<TTreeNode*>(node->FChildren))
        Remove(child);
    FOwner->Delete(node);
    auto& siblings = SiblingsOf(node->FParent);
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node || node->FDeleting)
        return;
    node->FDeleting = true;
    // The node and its descendants go last: the window's deletion reports still find them.
    std::vector<TTreeNode*> gone;
    std::function<void(TTreeNode*)> collect = [&](TTreeNode* n) {
        gone.push_back(n);
        for (TTreeNode* c : n->FChildren)
            collect(c);
    };
    collect(node);
    TreeItem* item = node->FItem;
    Remove(node);
    if (item)
        FOwner->SendToWindow(TVM_DELETEITEM, 0, reinterpret_cast<intptr_t>(item));
    FNodes.erase(std::remove_if(FNodes.begin(), FNodes.end(),
                     [&](const auto& p) { return std::find(gone.begin(), gone.end(), p.get()) != gone.end(); }),
        FNodes.end());
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!FRoots.empty())
        Delete(FRoots.back());
    EndUpdate();
}

TTreeNode* TTreeNodes::Item(int index) const
{
    TTreeNode* node = GetFirstNode();
    for (int i = 0; node && i < index; ++i)
        node = node->GetNext();
    return node;
}

void TTreeNodes::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        FOwner->SendToWindow(WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        FOwner->SendToWindow(WM_SETREDRAW, TRUE, 0);
}

// --- TCustomTreeView --------------------------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner)
    , FNodes(std::make_unique<TTreeNodes>(this))
{
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 121;
    FHeight = 97;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView()
{
    if (HandleAllocated())
        DestroyHandle();
}

intptr_t TCustomTreeView::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomTreeView*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

void TCustomTreeView::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    RegisterTreeViewClass();
    WNDCLASS tree {};
    GetClassInfo(nullptr, WC_TREEVIEW, &tree);
    params.WindowClass.lpfnWndProc = tree.lpfnWndProc;
    params.WindowClass.cbWndExtra = tree.cbWndExtra;
    params.WindowClass.hCursor = tree.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    if (FShowButtons)
        params.Style |= TVS_HASBUTTONS;
    if (FShowLines)
        params.Style |= TVS_HASLINES;
    if (FShowRoot)
        params.Style |= TVS_LINESATROOT;
    if (!FReadOnly)
        params.Style |= TVS_EDITLABELS;
    if (!FHideSelection)
        params.Style |= TVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
    SendToWindow(TVM_SETINDENT, static_cast<uintptr_t>(FIndent), 0);
    if (FImagesAdapter)
        SendToWindow(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<intptr_t>(FImagesAdapter.get()));
    if (FStateAdapter)
        SendToWindow(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<intptr_t>(FStateAdapter.get()));
    SendToWindow(WM_SETREDRAW, FALSE, 0);
    for (TTreeNode* root : FNodes->FRoots)
        FNodes->InsertWindowItem(root, nullptr);
    // Expanding by message asks nothing of an item that had its children before.
    for (TTreeNode* node : FSavedExpanded)
        SendToWindow(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<intptr_t>(node->FItem));
    FSavedExpanded.clear();
    SendToWindow(WM_SETREDRAW, TRUE, 0);
    if (FSavedSelected)
        SendToWindow(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<intptr_t>(FSavedSelected->FItem));
    FSavedSelected = nullptr;
}

void TCustomTreeView::DestroyWnd()
{
    FSavedExpanded.clear();
    for (TTreeNode* node = FNodes->GetFirstNode(); node; node = node->GetNext())
        if (node->Expanded())
            FSavedExpanded.push_back(node);
    FSavedSelected = Selected();
    // The window's deletion reports must not take the nodes with them.
    for (auto& node : FNodes->FNodes)
        node->FDeleting = true;
    inherited::DestroyWnd();
    for (auto& node : FNodes->FNodes) {
        node->FItem = nullptr;
        node->FDeleting = false;
    }
}

void TCustomTreeView::UpdateStyles()
{
    if (!HandleAllocated())
        return;
    constexpr DWORD kOurs = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
    TCreateParams params;
    CreateParams(params);
    DWORD style = (static_cast<DWORD>(GetWindowLongPtr(Handle(), GWL_STYLE)) & ~kOurs) | (params.Style & kOurs);
    SetWindowLongPtr(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TCustomTreeView::SetShowRoot(bool value)
{
    FShowRoot = value;
    UpdateStyles();
}

void TCustomTreeView::SetShowLines(bool value)
{
    FShowLines = value;
    UpdateStyles();
}

void TCustomTreeView::SetShowButtons(bool value)
{
    FShowButtons = value;
    UpdateStyles();
}

void TCustomTreeView::SetHideSelection(bool value)
{
    FHideSelection = value;
    UpdateStyles();
}

void TCustomTreeView::SetReadOnly(bool value)
{
    FReadOnly = value;
    UpdateStyles();
}

int TCustomTreeView::Indent() const
{
    return HandleAllocated() ? static_cast<int>(SendToWindow(TVM_GETINDENT, 0, 0)) : FIndent;
}

void TCustomTreeView::SetIndent(int value)
{
    FIndent = value;
    SendToWindow(TVM_SETINDENT, static_cast<uintptr_t>(value), 0);
}

void TCustomTreeView::SetImageList(TCustomImageList* value, TCustomImageList** slot, int which)
{
    if (*slot)
        (*slot)->RemoveFreeNotification(this);
    *slot = value;
    auto& adapter = which == TVSIL_NORMAL ? FImagesAdapter : FStateAdapter;
    adapter = value ? std::make_unique<TImageListAdapter>(value) : nullptr;
    if (value)
        value->FreeNotification(this);
    SendToWindow(TVM_SETIMAGELIST, static_cast<uintptr_t>(which), reinterpret_cast<intptr_t>(adapter.get()));
}

void TCustomTreeView::SetImages(TCustomImageList* value) { SetImageList(value, &FImages, TVSIL_NORMAL); }

void TCustomTreeView::SetStateImages(TCustomImageList* value) { SetImageList(value, &FStateImages, TVSIL_STATE); }

void TCustomTreeView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        SetImages(nullptr);
    if (component == FStateImages)
        SetStateImages(nullptr);
}

TTreeNode* TCustomTreeView::Selected() const
{
    auto* item = reinterpret_cast<TreeItem*>(SendToWindow(TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return nullptr;
    TVITEM tv {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    SendToWindow(TVM_GETITEM, 0, reinterpret_cast<intptr_t>(&tv));
    return NodeOf(tv.lParam);
}

void TCustomTreeView::SetSelected(TTreeNode* value)
{
    SendToWindow(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<intptr_t>(value ? value->FItem : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const
{
    auto* item = reinterpret_cast<TreeItem*>(SendToWindow(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    if (!item)
        return nullptr;
    TVITEM tv {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    SendToWindow(TVM_GETITEM, 0, reinterpret_cast<intptr_t>(&tv));
    return NodeOf(tv.lParam);
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const
{
    TVHITTESTINFO hit {{x, y}, 0, nullptr};
    auto* item = reinterpret_cast<TreeItem*>(SendToWindow(TVM_HITTEST, 0, reinterpret_cast<intptr_t>(&hit)));
    if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)))
        return nullptr;
    TVITEM tv {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    SendToWindow(TVM_GETITEM, 0, reinterpret_cast<intptr_t>(&tv));
    return NodeOf(tv.lParam);
}

int TCustomTreeView::VisibleCount() const { return static_cast<int>(SendToWindow(TVM_GETVISIBLECOUNT, 0, 0)); }

bool TCustomTreeView::IsEditing() const { return SendToWindow(TVM_GETEDITCONTROL, 0, 0) != 0; }

namespace {
int CompareNodes(LPARAM a, LPARAM b, LPARAM view)
{
    auto* tree = reinterpret_cast<TCustomTreeView*>(view);
    auto* first = reinterpret_cast<TTreeNode*>(a);
    auto* second = reinterpret_cast<TTreeNode*>(b);
    int result = 0;
    if (tree->OnCompare)
        tree->OnCompare(tree, first, second, 0, result);
    else
        result = first->Text().compare(second->Text());
    return result;
}
} // namespace

bool TCustomTreeView::AlphaSort(bool recurse)
{
    std::function<void(TTreeNode*)> sortLevel = [&](TTreeNode* parent) {
        auto& siblings = FNodes->SiblingsOf(parent);
        std::stable_sort(siblings.begin(), siblings.end(), [this](TTreeNode* a, TTreeNode* b) {
            return CompareNodes(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), reinterpret_cast<LPARAM>(this)) < 0;
        });
        TVSORTCB sort {parent ? parent->FItem : TVI_ROOT, &CompareNodes, reinterpret_cast<LPARAM>(this)};
        if (!parent || parent->FItem)
            SendToWindow(TVM_SORTCHILDRENCB, 0, reinterpret_cast<intptr_t>(&sort));
        if (recurse)
            for (TTreeNode* child : siblings)
                sortLevel(child);
    };
    sortLevel(nullptr);
    return true;
}

void TCustomTreeView::FullExpand()
{
    for (TTreeNode* root : std::vector<TTreeNode*>(FNodes->FRoots))
        root->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
    for (TTreeNode* root : FNodes->FRoots)
        root->Collapse(true);
}

bool TCustomTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* node)
{
    if (OnExpanded)
        OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node)
{
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node)
{
    if (OnCollapsed)
        OnCollapsed(this, node);
}

bool TCustomTreeView::CanChange(TTreeNode* node)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node)
{
    if (OnChange)
        OnChange(this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode* node)
{
    bool allow = !FReadOnly;
    if (OnEditing)
        OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* node, std::string& s)
{
    if (OnEdited)
        OnEdited(this, node, s);
}

void TCustomTreeView::Delete(TTreeNode* node)
{
    if (OnDeletion)
        OnDeletion(this, node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* node)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* node)
{
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, node);
}

void TCustomTreeView::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case WM_RBUTTONDOWN:
        // Right-click select: the node under the pointer becomes the selection before any context menu.
        if (FRightClickSelect) {
            POINT p = MAKEPOINT(message.LParam);
            if (TTreeNode* node = GetNodeAt(p.x, p.y))
                SetSelected(node);
        }
        inherited::WndProc(message);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

void TCustomTreeView::CNNotify(TMessage& message)
{
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    auto* nm = reinterpret_cast<NMTREEVIEW*>(header);
    message.Result = 0;
    switch (header->code) {
    case TVN_GETDISPINFO: {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        TTreeNode* node = NodeOf(info->item.lParam);
        if (!node)
            return;
        if ((info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            size_t n = std::min(node->FText.size(), static_cast<size_t>(info->item.cchTextMax - 1));
            std::memcpy(info->item.pszText, node->FText.data(), n);
            info->item.pszText[n] = '\0';
        }
        if (info->item.mask & TVIF_CHILDREN)
            info->item.cChildren = node->HasChildren() ? 1 : 0;
        return;
    }
    case TVN_ITEMEXPANDING: {
        TTreeNode* node = NodeOf(nm->itemNew.lParam);
        if (!node)
            return;
        bool expanding = (nm->action & 3) == TVE_EXPAND;
        message.Result = (expanding ? CanExpand(node) : CanCollapse(node)) ? FALSE : TRUE;
        return;
    }
    case TVN_BEGINDRAG:
        // The view has already seen the pointer move away from the press.
        if (DragMode() == dmAutomatic)
            BeginDrag(true);
        return;
    case TVN_ITEMEXPANDED: {
        TTreeNode* node = NodeOf(nm->itemNew.lParam);
        if (!node)
            return;
        if ((nm->action & 3) == TVE_EXPAND)
            Expand(node);
        else
            Collapse(node);
        return;
    }
    case TVN_SELCHANGING: {
        TTreeNode* node = NodeOf(nm->itemNew.lParam);
        message.Result = CanChange(node) ? FALSE : TRUE;
        return;
    }
    case TVN_SELCHANGED:
        Change(NodeOf(nm->itemNew.lParam));
        return;
    case TVN_BEGINLABELEDIT: {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        TTreeNode* node = NodeOf(info->item.lParam);
        message.Result = node && CanEdit(node) ? FALSE : TRUE;
        return;
    }
    case TVN_ENDLABELEDIT: {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        TTreeNode* node = NodeOf(info->item.lParam);
        if (!node || !info->item.pszText)
            return;
        std::string s = info->item.pszText;
        Edit(node, s);
        node->FText = s;
        return;
    }
    case TVN_DELETEITEM: {
        // The window let go of the item: the node stays, without a window item.
        if (TTreeNode* node = NodeOf(nm->itemOld.lParam))
            node->FItem = nullptr;
        return;
    }
    default:
        return;
    }
}
