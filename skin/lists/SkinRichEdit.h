// TspSkinRichEdit: the framework's rich edit with an optional skin font and background, no border, and up to
// two external skinned bars standing in for its native ones: enabled while the native bar would show, and the
// vertical bar's arrows stepping by lines.
#pragma once
#include "framework/controls/TCustomRichEdit.h"
#include "skin/core/SkinCtrls.h"

#include <memory>

class TspSkinScrollBar;

class TspSkinRichEdit : public TCustomRichEdit, public TspSkinDataClient {
    using inherited = TCustomRichEdit;

public:
    explicit TspSkinRichEdit(TComponent* owner);
    ~TspSkinRichEdit() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // Whether the skin's font and background apply at all; read at the next ChangeSkinData.
    bool SkinSupport() const { return FSkinSupport; }
    void SetSkinSupport(bool value) { FSkinSupport = value; }
    TspSkinData* SkinData() const override { return FSkinData; }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    // Linking a bar takes its events; its Enabled and Visible are left as they are.
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TspSkinScrollBar* value);
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TspSkinScrollBar* value);

    // ---- Operations --------------------------------------------------------------------------------------------
    void ChangeSkinData() override;
    // The rich edit takes its skin from a skinned frame or its own setter, never from the form's re-skin pass.
    bool ReskinnedByForm() const override { return false; }
    void UpDateScrollBars();
    // Whether the native vertical or horizontal bar is not shown.
    bool VScrollDisabled();
    bool HScrollDisabled();
    void OnVScrollBarChange(TObject* sender);
    void OnHScrollBarChange(TObject* sender);
    void OnVScrollBarUpButtonClick(TObject* sender);
    void OnVScrollBarDownButtonClick(TObject* sender);
    int GetSkinIndex() const { return SkinIndex; }

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    void Change() override;

private:
    void MirrorBar(TspSkinScrollBar* bar, int nativeBar, bool disabled);

    bool FSkinSupport = false;
    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "richedit";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    int SkinIndex = -1;
};
