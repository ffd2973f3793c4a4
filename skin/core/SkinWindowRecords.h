// The popup-menu window and hint window records: fixed sections of a skin, read at every load.
#pragma once
#include "framework/core/TObject.h"
#include "skin/core/SkinData.h"

#include <cstdint>
#include <string>

class TCustomIniFile;

// The window of skinned popup menus, from section "POPUPWINDOW". Its image is the whole active picture
// WindowPictureIndex (-1: the skin gives popup windows no image); the points and ItemsRect are in that
// picture's coordinates. Fields are named after their keys in PascalCase.
class TspDataSkinPopupWindow final : public TObject {
    using inherited = TObject;

public:
    TspDataSkinPopupWindow();

    // Reads every key with its default, so a skin without the section resets the record.
    void LoadFromFile(TCustomIniFile* file);
    // Erases the section and writes every key once.
    void SaveToFile(TCustomIniFile* file);

    int32_t WindowPictureIndex {};
    int32_t MaskPictureIndex {};
    TPoint LeftTopPoint;
    TPoint RightTopPoint;
    TPoint LeftBottomPoint;
    TPoint RightBottomPoint;
    TRect ItemsRect;
    int32_t CursorIndex {};
    TColor ScrollMarkerColor {};
    TColor ScrollMarkerActiveColor {};
    bool LeftStretch {};
    bool RightStretch {};
    bool TopStretch {};
    bool BottomStretch {};
    bool StretchEffect {};
    TspStretchType StretchType {};
};

// The skinned hint window, from section "HINTWINDOW"; its image is the whole active picture WindowPictureIndex.
class TspDataSkinHintWindow final : public TObject {
    using inherited = TObject;

public:
    TspDataSkinHintWindow();

    void LoadFromFile(TCustomIniFile* file);
    void SaveToFile(TCustomIniFile* file);

    int32_t WindowPictureIndex {};
    int32_t MaskPictureIndex {};
    TPoint LeftTopPoint;
    TPoint RightTopPoint;
    TPoint LeftBottomPoint;
    TPoint RightBottomPoint;
    TRect ClientRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    bool LeftStretch {};
    bool RightStretch {};
    bool TopStretch {};
    bool BottomStretch {};
    bool StretchEffect {};
    TspStretchType StretchType {};
};
