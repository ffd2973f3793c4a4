// TspSkinHeaderControl, the framework's header control with every section painted as a skinned button from a
// button record ("resizebutton" by default), a hot look under the pointer, a pressed look while the left button
// is held, and a click event per section.
#pragma once
#include "framework/controls/THeaderControl.h"
#include "skin/controls/SkinDataLink.h"
#include "skin/controls/SkinHeaderFaces.h"
#include "skin/core/SkinCtrls.h"

#include <memory>

class TspSkinHeaderControl;

// Draws a section's image and caption in place of the control; the skinned face is already on `canvas`.
using TspCustomDrawSkinSectionEvent = std::function<void(
    TspSkinHeaderControl* header, THeaderSection* section, TRect rect, bool active, bool pressed, TCanvas* canvas)>;

class TspSkinHeaderControl : public THeaderControl, public TspSkinDataClient {
    using inherited = THeaderControl;

public:
    explicit TspSkinHeaderControl(TComponent* owner);
    ~TspSkinHeaderControl() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    // Re-reads the record at once when the skin is loaded (outside design time).
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }
    // The font without a record, or with UseSkinFont off (Arial, height 14); owned.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    // The height without a record (0: free).
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    TSectionNotifyEvent OnSkinSectionClick;
    TspCustomDrawSkinSectionEvent OnDrawSkinSection;

    // Looks the record up, fixes the height a record or DefaultHeight asks for, and repaints.
    void ChangeSkinData() override;
    // The rectangle of the section shown at display position `index`.
    TRect GetSkinItemRect(int index);
    // Draws the section at display position `index` into its rectangle on `canvas`; returns the rectangle.
    TRect DrawSkinSection(TCanvas* canvas, int index, bool active, bool pressed);
    // Draws `section` into `rect` of `canvas`.
    void DrawSkinSectionR(TCanvas* canvas, THeaderSection* section, bool active, bool pressed, const TRect& rect);
    // A height change is replaced by the record's fixed height, or DefaultHeight without a record.
    void SetBounds(int left, int top, int width, int height) override;
    int GetSkinIndex() const { return SkinIndex; }
    // The display position under the pointer (-1 none) and whether it is held down.
    int ActiveSection() const { return FActiveSection; }
    bool SectionPressed() const { return FPressed; }

    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    void DrawSection(THeaderSection* section, const TRect& rect, bool pressed) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void GetSkinData();
    bool Skinned() const { return SkinIndex != -1; }
    // Display position -> section index.
    int SectionAt(int position) const;
    void TestActive(int x, int y);
    void DrawSectionCaption(TCanvas* canvas, THeaderSection* section, const TRect& area);
    void PaintRest(TCanvas* canvas, int left);
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    TspSkinDataLink FSkinLink { this, "resizebutton" };
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultHeight = 0;

    int SkinIndex = -1;
    TspHeaderFace FFace;
    int FActiveSection = -1;
    int FOldActiveSection = -1;
    bool FOnDivider = false;
    bool FPressOnDivider = false;
    bool FPressed = false;
    bool FResizing = false;
    bool FDragging = false;
};
