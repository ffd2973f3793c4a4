// The in-place label editor the views share: an "EDIT" child over an item's label that ends on Enter (keep),
// Escape (drop) or losing the focus (keep), and tells its owner once.
#pragma once
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>
#include <string_view>

class InPlaceEditor {
public:
    // Called once when the edit ends; `commit` false for Escape.
    using DoneProc = std::function<void(bool commit)>;

    ~InPlaceEditor();
    // Opens the editor over `rect` of `owner` with the text selected and the focus; returns its window.
    HWND Open(HWND owner, const RECT& rect, std::string_view text, HFONT font, DoneProc done);
    HWND Window() const { return hwnd_; }
    std::string Text() const;
    // Takes the editor away without telling the owner (the owner's done procedure calls this).
    void Close();
    // Ends the edit as if by a key: tells the owner, which closes it.
    void Finish(bool commit);

    LRESULT Message(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    DoneProc done_;
    bool finishing_ = false;
};
