// TspSkinCustomListView and TspSkinListView: the framework's list view in the skin's font and colours, without a
// border or native scroll bars, with up to two external skinned bars kept in step with its scroll state both
// ways, and its column header painted from a skin button record.
#pragma once
#include "framework/controls/TCustomListView.h"
#include "skin/controls/SkinHeaderFaces.h"
#include "skin/core/SkinCtrls.h"

#include <functional>
#include <memory>

class TspSkinScrollBar;

// Draws a header section's content in place of the view; the skinned face is already on `Cnvs`.
using TspDrawHeaderSectionEvent = std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, TRect R)>;

class TspSkinCustomListView : public TCustomListView, public TspSkinDataClient {
    using inherited = TCustomListView;

public:
    explicit TspSkinCustomListView(TComponent* owner);
    ~TspSkinCustomListView() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Re-reads the record when the skin is loaded (outside design time). Not owned.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    // The button record the column header is painted from; read at every header paint.
    const std::string& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(std::string_view value) { FHeaderSkinDataName = value; }
    // Arial, height 14; owned. Also the view's font while there is no record.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    // The external bars. Linking one enables and hides it and takes its OnChange; the view shows it when needed.
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TspSkinScrollBar* value);
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TspSkinScrollBar* value);
    TspDrawHeaderSectionEvent OnDrawHeaderSection;

    // ---- Operations --------------------------------------------------------------------------------------------
    // Re-reads the view record and applies its font and colours, then mirrors the scroll state anew.
    void ChangeSkinData() override;
    // Mirrors the native scroll state into the linked bars (and shows or hides them).
    void UpDateScrollBars();
    // Scroll the view to follow a bar.
    void OnVScrollBarChange(TObject* sender);
    void OnHScrollBarChange(TObject* sender);
    // The column header: the subclassed "SysHeader32" child (null until the view made one).
    HWND HeaderWindow() const { return FHeader; }
    // The rectangle of the header section at display position `index`.
    TRect GetHeaderSectionRect(int index);
    // Paints the whole header into `dc` (null: a paint of the header's own).
    void PaintHeader(HDC dc);
    // Draws one section into `rect` of `canvas`.
    void DrawHeaderSection(TCanvas* canvas, TListColumn* column, bool pressed, bool hot, const TRect& rect);
    // Reads the header record named by HeaderSkinDataName; -1 without a usable button record.
    void HGetSkinData();
    int GetSkinIndex() const { return SkinIndex; }
    int GetHeaderSkinIndex() const { return FHeaderIndex; }
    // The header section held down (-1 none) and whether the press was on a section rather than a divider.
    int ActiveSection() const { return FActiveSection; }
    bool HeaderPressed() const { return FHeaderPressed; }

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    // The header's messages, before and after its own procedure.
    void HeaderWndProc(TMessage& message);

private:
    static LRESULT HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void SubclassHeader(HWND header);
    void ReleaseHeader();
    void UpDateScrollBars1();
    void UpDateScrollBars2();
    void UpDateScrollBars3();
    // The bounds of item 0; false when the view has no items.
    bool ItemZeroBounds(TRect& bounds) const;
    void ReadNativeBar(int bar, int& min, int& max, int& position);
    void PaintHeaderRest(TCanvas* canvas, int left, int width, int height);

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "listview";
    std::string FHeaderSkinDataName = "resizebutton";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;

    int SkinIndex = -1;
    int FHeaderIndex = -1;
    TspHeaderFace FHeaderFace;
    HWND FHeader = nullptr;
    WNDPROC FOldHeaderProc = nullptr;
    int FActiveSection = -1;
    bool FHeaderPressed = false;
    bool FInUpdate = false;
    bool FFromBar = false;
    int FLastVPos = 0;
    int FLastHPos = 0;
};

class TspSkinListView : public TspSkinCustomListView {
    using inherited = TspSkinCustomListView;

public:
    using TspSkinCustomListView::TspSkinCustomListView;
};
