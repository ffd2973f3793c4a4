// What the skinned combo box and check combo box share of their face: the copies of the combo record, the face's
// layout, and the drop-down button in the default and skinned looks.
#pragma once
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Types.h"

#include <string>

class TBitmap;
class TWinControl;
class TspSkinCustomListBox;
class TCanvas;
class TspDataSkinComboBox;
class TspSkinData;

class TspComboSkinParts {
public:
    // Copies the record's values (the focus item falls back to the item).
    void ReadComboRecord(const TspDataSkinComboBox* record);
    // The button and item area for a face of `width` x `height`; `skinned` with the record's geometry.
    void CalcFaceRects(int width, int height, bool skinned, const TRect& skinRect, int rightTopX,
        const TRect& skinClientRect, bool growHeight);
    // The default look's button: navy framed when hovered (pressed darker), the arrow grey when disabled.
    void DrawDefaultComboButton(TCanvas* canvas, bool enabled) const;
    // The skin look's button state, copied from `picture`; nothing for the normal state (the face shows it).
    void DrawSkinComboButton(TCanvas* canvas, TBitmap* picture, bool enabled) const;
    // The "edit" record's disabled text colour, clGrayText without one.
    static TColor DisabledFontColor(const TspSkinData* skin);

    TRect ActiveSkinRect, SItemRect, FocusItemRect, ActiveItemRect, ItemTextRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = clBlack, FocusFontColor = clBlack, ActiveFontColor = clBlack;
    TRect SButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    std::string ListBoxName;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

    // The face.
    TRect CBItemRect, ButtonRect;
    bool MouseIn = false, FButtonHover = false, FButtonPressed = false;

    // ---- The pointer held over the open list ---------------------------------------------------------------
    // Follows the pointer at (x, y) of `combo` into the open `list`: inside, the row under it becomes current;
    // above or below a list with a bar (once the pointer was in it), the combo's timer 1 scrolls it.
    void TrackList(TWinControl* combo, TspSkinCustomListBox* list, int x, int y);
    // Timer 1 every 25 ms in mode 1 (up) or 2 (down), started on a change of mode only.
    void SetTimerMode(TWinControl* combo, int mode);
    void StopTimer(TWinControl* combo);
    bool FTracking = false, FMovedInList = false;
    int TimerMode = 0;
};
