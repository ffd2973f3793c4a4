// TspSkinScrollBox, the skinned scroll box: a container whose children may reach past its client area, scrolled
// by two skinned bars its user places and attaches; the ranges come from the visible children's extent. A skinned
// non-client frame and a tiled or stretched background, or a plain frame by BorderStyle.
#pragma once
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinCustomCtrls.h"

class TspSkinScrollBar;

class TspSkinScrollBox : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinScrollBox(TComponent* owner);
    ~TspSkinScrollBox() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TspSkinScrollBar* value);
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TspSkinScrollBar* value);
    TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TspSkinBorderStyle value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value) { FCanFocused = value; }

    // Owners call it after adding, moving or resizing children.
    void UpdateScrollRange();
    void VScroll(int position);
    void HScroll(int position);
    void VScrollControls(int delta);
    void HScrollControls(int delta);
    void GetVRange();
    void GetHRange();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;

private:
    void OnVScrollBarChange(TObject* sender);
    void OnHScrollBarChange(TObject* sender);
    // One direction's range: `vertical` picks the bar, the extent, the growth and the moves.
    void GetRange(bool vertical);
    void AttachBar(TspSkinScrollBar* bar, bool vertical);
    void ShowOrHide(TspSkinScrollBar* bar, bool visible);
    bool HasFrame() const;
    void NCCalcSize(TMessage& message);
    void PaintFrame(HDC dc);

    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    TspSkinBorderStyle FBorderStyle = TspSkinBorderStyle::bvFrame;
    bool FCanFocused = false;
    int FOldVSPos = 0, FOldHSPos = 0;
    int FHeightGrowth = 0, FWidthGrowth = 0;
    bool FInUpdate = false;
    bool FFocusing = false;
    int BGPictureIndex = -1;
};
