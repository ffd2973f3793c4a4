// Splitters with a skinned face: TspSkinSplitter, the framework's splitter drawn from a "splitter" record, and
// TspCustomSplitter / TspSkinSplitterEx, a windowed splitter with its own sizing logic (live sizing, snapping,
// Esc to end a drag).
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/TSplitter.h"
#include "skin/core/SkinCtrls.h"

#include <string>
#include <string_view>

class TspSkinSplitter : public TSplitter, public TspSkinDataClient {
    using inherited = TSplitter;

public:
    explicit TspSkinSplitter(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Stores the skin and takes its thickness and face at once.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool Transparent() const { return FTransparent; }
    // The thickness follows at the next ChangeSkinData.
    void SetTransparent(bool value);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int value) { FDefaultSize = value; }

    // The record again, the thickness from its face (DefaultSize without one, or while transparent), repaint.
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override { SkinIndex = -1; }
    int GetSkinIndex() const { return SkinIndex; }

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void RequestAlign() override;

private:
    void GetSkinData();

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "vsplitter";
    bool FTransparent = false;
    int FDefaultSize = 10;
    int SkinIndex = -1;
};

using TCanResizeSizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

class TspCustomSplitter : public TspSkinControl {
    using inherited = TspSkinControl;

public:
    explicit TspCustomSplitter(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool value) { FAutoSnap = value; }
    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = value; }
    TCanResizeSizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

    // The sibling being sized during a drag, else null.
    TControl* SizedControl() const { return FControl; }
    virtual bool CanResize(int& newSize);
    // CanResize, then a size at most MinSize snaps to 0 with AutoSnap.
    virtual bool DoCanResize(int& newSize);
    // Ends a drag (the sibling keeps its size), gives the active control its key handler back, raises OnMoved.
    virtual void StopSizing();

    void WndProc(TMessage& message) override;

protected:
    void Paint() override { }
    void RequestAlign() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TControl* FindControl() const;
    void CalcSplitSize(int x, int y, int& newSize, int& split) const;
    void UpdateSize(int x, int y);
    void UpdateControlSize();
    void FocusKeyDown(TObject* sender, uint16_t& key, TShiftState shift);

    bool FAutoSnap = true;
    int FMinSize = 30;
    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FMaxSize = 0;
    int FNewSize = 0;
    int FSplit = 0;
    int FOldSize = -1;
    TWinControl* FActiveControl = nullptr;
    TKeyEvent FOldKeyDown;
};

class TspSkinSplitterEx : public TspCustomSplitter {
    using inherited = TspCustomSplitter;

public:
    explicit TspSkinSplitterEx(TComponent* owner);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int value) { FDefaultSize = value; }
    void GetSkinData() override;
    void ChangeSkinData() override;

protected:
    void Paint() override;

private:
    int FDefaultSize = 10;
};
