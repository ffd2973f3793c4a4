// TCustomTreeView and TTreeView over the platform's "SysTreeView32" window: nodes (TTreeNode) kept by the
// object in TTreeNodes and handed to the window, whose texts and images the window asks the nodes for. The
// window's notifications become the events and the overridable CanExpand, CanChange, Change, Edit and Delete.
#pragma once
#include "framework/controls/TWinControl.h"

#include <memory>
#include <string>
#include <vector>

class TCustomImageList;
class TCustomTreeView;
class TImageListAdapter;
class TTreeNodes;
struct TreeItem;

class TTreeNode : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TTreeNode(TTreeNodes* owner);
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    const std::string& Text() const { return FText; }
    void SetText(std::string_view value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value);
    // Whether the node shows an expand button before it has children (filled when it is expanded).
    bool HasChildren() const;
    void SetHasChildren(bool value);
    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool value);
    int Level() const;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FChildren.size()); }
    TTreeNode* Item(int index) const { return FChildren.at(static_cast<size_t>(index)); }
    int Index() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in the whole tree, depth first.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    void DeleteChildren();
    void Delete();
    bool EditText();
    TRect DisplayRect(bool textOnly) const;
    void MakeVisible();
    TreeItem* ItemId() const { return FItem; }

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    TreeItem* FItem = nullptr;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    bool FHasChildren = false;
    bool FDeleting = false;
};

// Owns every node of the tree.
class TTreeNodes : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;

    TCustomTreeView* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FNodes.size()); }
    // A new last sibling of `sibling` (at the top level when nullptr).
    TTreeNode* Add(TTreeNode* sibling, std::string_view text);
    TTreeNode* AddObject(TTreeNode* sibling, std::string_view text, void* data);
    TTreeNode* AddChild(TTreeNode* parent, std::string_view text);
    TTreeNode* AddChildObject(TTreeNode* parent, std::string_view text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, std::string_view text);
    // A new node before `sibling`.
    TTreeNode* Insert(TTreeNode* sibling, std::string_view text);
    void Delete(TTreeNode* node);
    void Clear();
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    // The index-th node depth first.
    TTreeNode* Item(int index) const;
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* AddNode(TTreeNode* parent, TTreeNode* before, std::string_view text, void* data);
    void InsertWindowItem(TTreeNode* node, TTreeNode* before);
    void Remove(TTreeNode* node);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }

    TCustomTreeView* FOwner;
    std::vector<std::unique_ptr<TTreeNode>> FNodes;
    std::vector<TTreeNode*> FRoots;
    int FUpdateCount = 0;
};

using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& s)>;
using TTVCompareEvent = std::function<void(TObject* sender, TTreeNode* node1, TTreeNode* node2, int data, int& compare)>;

class TCustomTreeView : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const { return FNodes.get(); }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* value);
    TTreeNode* TopItem() const;
    TTreeNode* GetNodeAt(int x, int y) const;
    int VisibleCount() const;
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* value);
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool value) { FRightClickSelect = value; }
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int Indent() const;
    void SetIndent(int value);
    bool IsEditing() const;
    // Sorts each level by OnCompare (or by text without it); with `recurse` the children too.
    bool AlphaSort(bool recurse = true);
    void FullExpand();
    void FullCollapse();

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnDeletion;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVCompareEvent OnCompare;

    void WndProc(TMessage& message) override;
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapse(TTreeNode* node);
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual bool CanEdit(TTreeNode* node);
    virtual void Edit(TTreeNode* node, std::string& s);
    virtual void Delete(TTreeNode* node);
    virtual void GetImageIndex(TTreeNode* node);
    virtual void GetSelectedIndex(TTreeNode* node);
    void UpdateStyles();
    // The view selects on the press and reports a drag once the pointer moves away with the button down.
    bool StartsDragItself() const override { return true; }
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    void CNNotify(TMessage& message);
    void SetImageList(TCustomImageList* value, TCustomImageList** slot, int which);
    TTreeNode* NodeOf(LPARAM param) const { return reinterpret_cast<TTreeNode*>(param); }

    std::unique_ptr<TTreeNodes> FNodes;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    std::unique_ptr<TImageListAdapter> FImagesAdapter;
    std::unique_ptr<TImageListAdapter> FStateAdapter;
    bool FRightClickSelect = false;
    bool FShowRoot = true;
    bool FShowLines = true;
    bool FShowButtons = true;
    bool FHideSelection = true;
    bool FReadOnly = false;
    int FIndent = 19;
    // Kept across a re-creation of the window.
    std::vector<TTreeNode*> FSavedExpanded;
    TTreeNode* FSavedSelected = nullptr;
};

class TTreeView : public TCustomTreeView {
    using inherited = TCustomTreeView;

public:
    using TCustomTreeView::TCustomTreeView;
};
