// The context menu of the skinned edits and memos: Undo, Cut, Copy, Paste, Delete and Select All in a skinned
// popup menu built anew for each request, with captions from the skin's string table.
#pragma once
#include "framework/controls/TControl.h"

#include <string>
#include <string_view>

class TspSkinPopupMenu;
class TWinControl;

// What the menu shows enabled.
struct TspEditMenuState {
    bool CanUndo = false;
    bool HasSelection = false;
    bool ReadOnly = false;
    bool ClipboardHasText = false;
    bool AllSelected = false;
};

// The control the menu serves: its state, its captions and its commands.
class TspEditMenuClient {
public:
    virtual ~TspEditMenuClient() = default;
    virtual TspEditMenuState EditMenuState() = 0;
    // The caption of `key` from the string table the control reads, `fallback` when it reads none.
    virtual std::string EditMenuCaption(std::string_view key, std::string_view fallback) = 0;
    virtual void DoUndo(TObject* sender) = 0;
    virtual void DoCut(TObject* sender) = 0;
    virtual void DoCopy(TObject* sender) = 0;
    virtual void DoPaste(TObject* sender) = 0;
    virtual void DoDelete(TObject* sender) = 0;
    virtual void DoSelectAll(TObject* sender) = 0;
};

// Holds at most one menu at a time, owned by the control: made on a request, freed on the next request, after
// a command has run (WM_AFTERDISPATCH) or with the control.
class TspEditContextMenu {
public:
    TspEditContextMenu() = default;
    ~TspEditContextMenu() { Free(); }
    TspEditContextMenu(const TspEditContextMenu&) = delete;
    TspEditContextMenu& operator=(const TspEditContextMenu&) = delete;

    TspSkinPopupMenu* Menu() const { return FMenu; }
    // Frees a previous menu and builds the eight items for `control`.
    void Build(TWinControl* control, TspEditMenuClient* client);
    // WM_CONTEXTMENU: builds and opens the menu at the message's screen point, or at the control's centre when
    // the point is off screen (the keyboard's menu key sends -1, -1).
    void Show(TWinControl* control, TspEditMenuClient* client, const TMessage& message);
    void Free();
    // WM_CONTEXTMENU (unless the control has a popup menu of its own) and WM_AFTERDISPATCH; true when handled.
    bool HandleMessage(TWinControl* control, TspEditMenuClient* client, TMessage& message);

private:
    TspSkinPopupMenu* FMenu = nullptr;
};

// The caption of `key` in the string table of the skin `skin` reads, `fallback` without a table. A table that
// lacks the key gives an empty caption.
std::string EditMenuCaptionFrom(const class TspSkinData* skin, std::string_view key, std::string_view fallback);
