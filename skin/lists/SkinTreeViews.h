// TspSkinCustomTreeView and TspSkinTreeView: the framework's tree view in the skin's font and colours, without a
// border or native scroll bars, with up to two external skinned bars kept in step with its scroll state both
// ways.
#pragma once
#include "framework/controls/TCustomTreeView.h"
#include "skin/core/SkinCtrls.h"

#include <memory>

class TspSkinScrollBar;

class TspSkinCustomTreeView : public TCustomTreeView, public TspSkinDataClient {
    using inherited = TCustomTreeView;

public:
    explicit TspSkinCustomTreeView(TComponent* owner);
    ~TspSkinCustomTreeView() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Re-reads the record when the skin is loaded (outside design time). Not owned.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    // Arial, height 14; owned. The tree's font while there is no record.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    // The external bars. Linking one enables and hides it and takes its OnChange; the tree shows it when needed.
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TspSkinScrollBar* value);
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TspSkinScrollBar* value);

    // ---- Operations --------------------------------------------------------------------------------------------
    // Re-reads the record and applies it (nothing while the tree is loading).
    void ChangeSkinData() override;
    // Mirrors the native scroll state into the linked bars (nothing while loading).
    void UpDateScrollBars();
    void OnVScrollBarChange(TObject* sender);
    void OnHScrollBarChange(TObject* sender);
    int GetSkinIndex() const { return SkinIndex; }

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    void Change(TTreeNode* node) override;

private:
    bool Loading() const { return ComponentState().Contains(csLoading); }

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "treeview";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    int SkinIndex = -1;
    bool FInUpdate = false;
};

class TspSkinTreeView : public TspSkinCustomTreeView {
    using inherited = TspSkinCustomTreeView;

public:
    using TspSkinCustomTreeView::TspSkinCustomTreeView;
};
