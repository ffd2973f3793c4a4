// What the skinned combo box and check combo box share of their face: the copies of the combo record, the face's
// layout, and the drop-down button in the default and skinned looks.
#pragma once
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Types.h"

#include <string>

class TBitmap;
class TControl;
class TWinControl;
struct TMessage;
class TspSkinCustomListBox;
class TCanvas;
class TspDataSkinComboBox;
class TspSkinData;

class TspComboSkinParts {
public:
    // Copies the record's values (the focus item falls back to the item).
    void ReadComboRecord(const TspDataSkinComboBox* record);
    // The same from control record `index` of `skin`; false when that is no combo box record.
    bool ReadComboRecord(const TspSkinData* skin, int index);
    // The button and item area for a face of `width` x `height`; `skinned` with the record's geometry.
    void CalcFaceRects(int width, int height, bool skinned, const TRect& skinRect, int rightTopX,
        const TRect& skinClientRect, bool growHeight);
    // The default look's button: navy framed when hovered (pressed darker), the arrow grey when disabled.
    void DrawDefaultComboButton(TCanvas* canvas, bool enabled) const;
    // The skin look's button state, copied from `picture`; nothing for the normal state (the face shows it).
    void DrawSkinComboButton(TCanvas* canvas, TBitmap* picture, bool enabled) const;
    // The skinned face item: its height (the item picture's, else the focus item's, else the item area's), the
    // picture for the state (empty: the face shows through), its text rectangle for an item area `areaWidth`
    // wide, and the text colour for the state while enabled.
    int SkinItemHeight(int areaHeight) const;
    const TRect& SkinItemSource(bool focused) const;
    TRect SkinItemTextRect(int areaWidth, const TRect& skinClientRect) const;
    TColor SkinItemFontColor(bool focused) const;
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

    // ---- The face's pointer and messages, alike in both combo boxes ----------------------------------------
    enum class TFaceAction { None, Open, Close };
    // A left press at (x, y): on the button (or on the item area when `itemOpens`) the button shows pressed and
    // the list is to open (tracking from here) or, when shown, to close; elsewhere a shown list is to close.
    TFaceAction PressFace(TWinControl* combo, int x, int y, bool itemOpens, bool listShown);
    // While tracking the pointer is followed into the shown list; otherwise the button's hover follows it.
    void FollowPointer(TWinControl* combo, TspSkinCustomListBox* list, bool listShown, int x, int y);
    // Whether the sender of a cancel mode is the combo box or a part of its list (the list, its inner list, its
    // bars), which leave the list open.
    static bool IsOwnPart(const TControl* sender, const TControl* combo, TspSkinCustomListBox* list);
    // CM_WANTSPECIALKEY: the arrow keys are the combo box's, not the dialog's (true when answered).
    static bool ClaimArrowKey(TMessage& message);
    // Where the list opens on the screen: below the combo box, or above it when it would pass the bottom of the
    // work area; never moved sideways.
    static TPoint DropDownOrigin(TWinControl* combo, int listHeight);
};
