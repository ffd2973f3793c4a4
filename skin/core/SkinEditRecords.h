// The skin-control records of edits, memos, spin edits, up-down buttons, list boxes, combo boxes, scroll boxes,
// tree and list views, rich edits, grids and tab controls.
#pragma once
#include "skin/core/TspDataSkinControl.h"

#include <cstdint>
#include <string>
#include <string_view>

// Each record adds its keys to its parent's (TspDataSkinControl explains the conventions). Several records name
// other control records of the same skin: a list box its scroll bars, a combo box its drop-down list box, a tab
// control its up-down scroller.

// Single-line edits, with an optional button inside.
class TspDataSkinEditControl : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinEditControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ActiveSkinRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor DisabledFontColor {};
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
};

// Memos.
class TspDataSkinMemoControl final : public TspDataSkinEditControl {
    using inherited = TspDataSkinEditControl;

public:
    explicit TspDataSkinMemoControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TColor BGColor {};
    TColor ActiveBGColor {};
};

// Spin edits.
class TspDataSkinSpinEditControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinSpinEditControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ActiveSkinRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor DisabledFontColor {};
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
};

// Up-down buttons. The record has no nine-part frame: its corner points and client rectangle are always zero.
class TspDataSkinUpDownControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinCustomControl::TspDataSkinCustomControl;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;

private:
    // The up-down buttons are drawn whole: whatever the section says, the corner points and the client
    // rectangle stay zero.
    void ClearFrame();
};

// List boxes, with an optional caption bar carrying up, down and check buttons; the three names are the
// scroll-bar records of its scroll bars.
class TspDataSkinListBox : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinListBox(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    int32_t ItemLeftOffset {};
    int32_t ItemRightOffset {};
    TRect ItemTextRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor FocusFontColor {};
    TRect CaptionRect;
    std::string CaptionFontName;
    int32_t CaptionFontHeight {};
    TFontStyles CaptionFontStyle;
    TColor CaptionFontColor {};
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect CheckButtonRect;
    TRect ActiveCheckButtonRect;
    TRect DownCheckButtonRect;
    std::string VScrollBarName;
    std::string HScrollBarName;
    std::string BothHScrollBarName;
    bool ShowFocus {};
};

// Check list boxes.
class TspDataSkinCheckListBox final : public TspDataSkinListBox {
    using inherited = TspDataSkinListBox;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinListBox::TspDataSkinListBox;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ItemCheckRect;
    TRect UnCheckImageRect;
    TRect CheckImageRect;
};

// Combo boxes; ListBoxName is the list-box record of the drop-down list.
class TspDataSkinComboBox final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinComboBox(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ActiveSkinRect;
    TRect ItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    int32_t ItemLeftOffset {};
    int32_t ItemRightOffset {};
    TRect ItemTextRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor FocusFontColor {};
    TColor ActiveFontColor {};
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    std::string ListBoxName;
    bool ItemStretchEffect {};
    bool FocusItemStretchEffect {};
    bool ShowFocus {};
};

// Scroll boxes.
class TspDataSkinScrollBoxControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinScrollBoxControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t BGPictureIndex {};
};

// Tree views. A loaded record without "bgcolor" holds black, a new one white.
class TspDataSkinTreeView final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinTreeView(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor BGColor {};
};

// List views.
class TspDataSkinListView final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinListView(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor BGColor {};
};

// Rich edits.
class TspDataSkinRichEdit final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinRichEdit(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor BGColor {};
};

// Grids.
class TspDataSkinGridControl final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinGridControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect FixedCellRect;
    TRect SelectCellRect;
    TRect FocusCellRect;
    int32_t FixedCellLeftOffset {};
    int32_t FixedCellRightOffset {};
    TRect FixedCellTextRect;
    int32_t CellLeftOffset {};
    int32_t CellRightOffset {};
    TRect CellTextRect;
    TColor LinesColor {};
    TColor BGColor {};
    int32_t BGPictureIndex {};
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor SelectFontColor {};
    TColor FocusFontColor {};
    std::string FixedFontName;
    int32_t FixedFontHeight {};
    TFontStyles FixedFontStyle;
    TColor FixedFontColor {};
    bool CellStretchEffect {};
    bool FixedCellStretchEffect {};
    bool ShowFocus {};
};

// Tab and page controls and the tab bar of MDI windows. Besides the tab images it carries a nine-part frame of
// its own for the page area drawn from SkinRect; UpDown names the up-down record of its tab scroller.
class TspDataSkinTabControl final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinTabControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect TabRect;
    TRect ActiveTabRect;
    TRect FocusTabRect;
    TRect MouseInTabRect;
    TRect ClientRect;
    int32_t BGPictureIndex {};
    TPoint LeftTopPoint;
    TPoint RightTopPoint;
    TPoint LeftBottomPoint;
    TPoint RightBottomPoint;
    int32_t TabLeftOffset {};
    int32_t TabRightOffset {};
    TRect TabsBGRect;
    bool TabStretchEffect {};
    bool LeftStretch {};
    bool TopStretch {};
    bool RightStretch {};
    bool BottomStretch {};
    bool StretchEffect {};
    TspStretchType StretchType {};
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor FocusFontColor {};
    TColor MouseInFontColor {};
    std::string UpDown;
    bool ShowFocus {};
    int32_t FocusOffsetX {};
    int32_t FocusOffsetY {};
};
