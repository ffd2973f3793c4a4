// The skinned single-line edit: TspCustomEdit (the platform's edit with its own read-only filter, transparent
// text, Enter and Esc handed to the form, and the skinned context menu), TspSkinCustomEdit (the frame and the
// optional edit button painted in the non-client area from the skin or in the default look, font colours by
// state, height fitting) and TspSkinEdit, which publishes it.
#pragma once
#include "framework/controls/Mask.h"
#include "framework/graphics/Graphics.h"
#include "skin/controls/SkinEditMenu.h"
#include "skin/core/SkinCtrls.h"

#include <functional>
#include <memory>

class TspDataSkinEditControl;
class TspDataSkinSpinEditControl;

using TspEditCancelModeEvent = std::function<void(TControl* control)>;

// The bare edit: the base of every skinned single-line edit, the spin edit's inner edit and the combo box's
// edit part.
class TspCustomEdit : public TCustomMaskEdit, protected TspEditMenuClient {
    using inherited = TCustomMaskEdit;

public:
    explicit TspCustomEdit(TComponent* owner);
    ~TspCustomEdit() override;

    // The control's own read-only flag. The window itself stays writable (white, selectable, focusable); the
    // control swallows every changing message while the flag is set, except Ctrl+C, which copies.
    bool ReadOnly() const { return FEditReadOnly; }
    void SetReadOnly(bool value) { FEditReadOnly = value; }
    // The window paints its text with a transparent background over what the control drew behind it.
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool value);

    void Invalidate() override;
    void WndProc(TMessage& message) override;

    // Called after CM_CANCELMODE with the control that takes the focus.
    TspEditCancelModeEvent OnEditCancelMode;

    // The context menu's commands, each going through the read-only filter.
    void DoUndo(TObject* sender);
    void DoCut(TObject* sender);
    void DoCopy(TObject* sender);
    void DoPaste(TObject* sender);
    void DoDelete(TObject* sender);
    void DoSelectAll(TObject* sender);
    // The open (or last) context menu; null when none is kept.
    TspSkinPopupMenu* SysPopupMenu() const { return FMenu.Menu(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Change() override;
    void CreateSysPopupMenu();
    // Whether a changing message passes the read-only filter.
    bool Writable() const { return !FEditReadOnly; }

    // TspEditMenuClient.
    TspEditMenuState EditMenuState() override;
    std::string EditMenuCaption(std::string_view key, std::string_view fallback) override;

    bool LeftButtonDown = false;

private:
    void WMChar(TMessage& message);
    void CNCtlColor(TMessage& message);
    // After a message that may change what the text shows, a transparent edit repaints its background.
    void InvalidateIfTransparent();

    bool FEditReadOnly = false;
    bool FEditTransparent = false;
    TspEditContextMenu FMenu;
};

// The skinned edit.
class TspSkinCustomEdit : public TspCustomEdit, public TspSkinDataClient {
    using inherited = TspCustomEdit;

public:
    explicit TspSkinCustomEdit(TComponent* owner);
    ~TspSkinCustomEdit() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TNotifyEvent OnButtonClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // ---- The skin binding ------------------------------------------------------------------------------------
    void GetSkinData();
    void ChangeSkinData() override;
    bool CancelsModeWithMenus() const override { return true; }
    int GetSkinIndex() const { return FIndex; }

    // The text area and the button, in window coordinates (the button is empty without ButtonMode).
    void CalcRects();
    TRect TextRect() const { return FTextRect; }
    TRect ButtonRect() const { return FButtonRect; }
    int CalcEditHeight();
    void AdjustEditHeight();
    // Sends WM_NCPAINT, repainting the frame.
    void InvalidateNC();

    void SetBounds(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Paints the frame (and the button) into `canvas`, which covers the whole window.
    void DrawSkinEdit(TCanvas* canvas, bool drawText);
    void DrawSkinEdit2(TCanvas* canvas, bool drawText);
    void DrawEditBackGround(HDC dc);
    TspDataSkinEditControl* Record() const;

    // Values kept from the record (valid while FIndex is not -1).
    TBitmap* Picture = nullptr;
    TRect SkinRect, ActiveSkinRect, ClRect;
    TRect SkinButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    int LOffset = 0, ROffset = 0;
    bool StretchEffect = false;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = clBlack, ActiveFontColor = clBlack, DisabledFontColor = clGrayText;

    bool MouseIn = false;
    bool ButtonDown = false;
    bool ButtonActive = false;

private:
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMPaint(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    // The frame painted into `dc` (a window DC or one handed in), the text area left out.
    void PaintFrame(HDC dc);
    void PaintDisabledText(HDC dc);
    // The frame's image at the window's size, composed in `bitmap`.
    void ComposeFrame(TBitmap* bitmap);
    void SetButtonActive(bool value);
    void SetButtonDown(bool value);
    // The font colour for the control's state.
    void UpdateFontColor();
    bool Active() const;
    void OnDefaultFontChange(TObject* sender);
    TRect ClientInWindow() const;

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "edit";
    bool FUseSkinFont = true;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    bool FButtonMode = false;
    bool FAlphaBlend = false;
    uint8_t FAlphaBlendValue = 0;
    TAlignment FAlignment = taLeftJustify;
    int FIndex = -1;
    TRect FTextRect, FButtonRect;
    bool FInPaint = false;
};

class TspSkinEdit : public TspSkinCustomEdit {
    using inherited = TspSkinCustomEdit;

public:
    using TspSkinCustomEdit::TspSkinCustomEdit;
};
