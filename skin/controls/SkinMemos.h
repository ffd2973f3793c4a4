// The skinned memos: multi-line edits skinned from the record "memo" without any non-client area, scrolled by
// external skinned scroll bars into which they mirror their scroll state. TspSkinMemo paints its own frame and
// background and has a read-only flag of its own; TspSkinMemo2 is the light variant that paints neither.
#pragma once
#include "framework/controls/TCustomMemo.h"
#include "framework/graphics/Graphics.h"
#include "skin/controls/SkinEditMenu.h"
#include "skin/core/SkinCtrls.h"

#include <memory>

class TspSkinScrollBar;
class TspDataSkinMemoControl;

// What both memos share: the skin binding and fonts, the external bars, the wheel, the context menu and the
// text of a disabled memo.
class TspSkinCustomMemo : public TMemo, public TspSkinDataClient, protected TspEditMenuClient {
    using inherited = TMemo;

public:
    explicit TspSkinCustomMemo(TComponent* owner);
    ~TspSkinCustomMemo() override;

    TspSkinData* SkinData() const override { return FSkinData; }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TspSkinScrollBar* value);
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TspSkinScrollBar* value);
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Mirrors the memo's scroll state into the bars: range 0..last line, the page the visible lines, the position
    // the first visible line; a bar whose text fits, or of a disabled memo, is disabled.
    void UpDateScrollRange();
    int GetSkinIndex() const { return FIndex; }
    TspSkinPopupMenu* SysPopupMenu() const { return FMenu.Menu(); }

    void DoUndo(TObject* sender) override;
    void DoCut(TObject* sender) override;
    void DoCopy(TObject* sender) override;
    void DoPaste(TObject* sender) override;
    void DoDelete(TObject* sender) override;
    void DoSelectAll(TObject* sender) override;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Change() override;
    void Notification(TComponent* component, TOperation operation) override;
    void GetSkinData();
    TspDataSkinMemoControl* Record() const;
    // The font name, style and height for the skin (or the default font), and the character set.
    void ApplySkinFont();
    // The colour of the text for the state: "activefontcolor" while pointed at or focused.
    TColor StateFontColor() const;
    // Whether the memo's own read-only state holds (the menu shows the changing commands disabled).
    virtual bool MemoReadOnly() const = 0;
    // The rectangle the text is laid out in.
    virtual TRect TextRect();
    // Pointer and focus changed the look (colours); repaint as the class needs.
    virtual void StateChanged() { }
    void PaintDisabledText(HDC dc);

    TspEditMenuState EditMenuState() override;
    std::string EditMenuCaption(std::string_view key, std::string_view fallback) override;

    int FIndex = -1;
    bool MouseIn = false;
    bool LeftButtonDown = false;

private:
    void OnVScrollBarChange(TObject* sender);
    void OnHScrollBarChange(TObject* sender);
    void AttachBar(TspSkinScrollBar*& slot, TspSkinScrollBar* value, bool vertical);
    void UpdateBar(TspSkinScrollBar* bar, int which);
    void PointerOrFocusChanged();

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "memo";
    bool FUseSkinFont = true;
    bool FUseSkinFontColor = true;
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    TspEditContextMenu FMenu;
};

class TspSkinMemo : public TspSkinCustomMemo {
    using inherited = TspSkinCustomMemo;

public:
    explicit TspSkinMemo(TComponent* owner);

    // The memo's own read-only flag: the window stays writable, the memo swallows every change but Ctrl+C.
    bool ReadOnly() const { return FMemoReadOnly; }
    void SetReadOnly(bool value) { FMemoReadOnly = value; }
    // Draw the background picture (the skin's client piece, or clWindow) behind transparently painted text;
    // false fills with the memo's colour.
    bool BitMapBG() const { return FBitMapBG; }
    void SetBitMapBG(bool value);
    // Blend the background with what lies under the memo, by AlphaBlendValue (255: only what lies under it).
    bool Transparent() const { return FTransparent; }
    void SetAlphaBlend(bool value);
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t value);

    void ChangeSkinData() override;
    void AdjustTextBorders();
    TRect FormattingRect() const { return FTextArea; }
    void WndProc(TMessage& message) override;

protected:
    bool MemoReadOnly() const override { return FMemoReadOnly; }
    TRect TextRect() override { return FTextArea; }
    void StateChanged() override;
    void DrawMemoBackGround(HDC dc);
    void SkinFramePaint(TCanvas* canvas);

private:
    bool FMemoReadOnly = false;
    bool FBitMapBG = true;
    bool FTransparent = false;
    uint8_t FAlphaBlendValue = 0;
    bool FInPaint = false;
    TRect FTextArea;
};

class TspSkinMemo2 : public TspSkinCustomMemo {
    using inherited = TspSkinCustomMemo;

public:
    using TspSkinCustomMemo::TspSkinCustomMemo;

    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    bool MemoReadOnly() const override { return inherited::ReadOnly(); }
};
