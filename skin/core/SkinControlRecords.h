// The skin-control records of buttons, check boxes, gauges, track bars, sliders, scroll bars, splitters, panels,
// control bars, bevels, labels and the main-menu bar.
#pragma once
#include "framework/core/TStrings.h"
#include "skin/core/TspDataSkinControl.h"

#include <cstdint>
#include <string>
#include <string_view>

// Each record adds its keys to its parent's (TspDataSkinControl explains the conventions). State words in the
// names: "active" is the highlighted state, "down" the pressed one, "disabled" and "unenabled" the disabled one,
// "focus" the focused one. A "...Transparent" flag says that its image leaves out the "...TransparentColor".

// Push buttons; the nine-part frame gives the normal image.
class TspDataSkinButtonControl : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinButtonControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor DownFontColor {};
    TColor DisabledFontColor {};
    bool Morphing {};
    TMorphKind MorphKind {};
    TRect ActiveSkinRect;
    TRect DownSkinRect;
    TRect DisabledSkinRect;
    TRect AnimateSkinRect;
    int32_t FrameCount {};
    int32_t AnimateInterval {};
    bool ShowFocus {};
    TRect MenuMarkerFlatRect;
    TRect MenuMarkerRect;
    TRect MenuMarkerActiveRect;
    TRect MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor {};
};

// Buttons with a drop-down part.
class TspDataSkinMenuButtonControl final : public TspDataSkinButtonControl {
    using inherited = TspDataSkinButtonControl;

public:
    explicit TspDataSkinMenuButtonControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect TrackButtonRect;
};

// Check boxes and radio buttons.
class TspDataSkinCheckRadioControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinCheckRadioControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor UnEnabledFontColor {};
    TColor FrameFontColor {};
    bool Morphing {};
    TMorphKind MorphKind {};
    TRect ActiveSkinRect;
    TRect CheckImageArea;
    TRect TextArea;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect ActiveCheckImageRect;
    TRect ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect;
    TRect UnEnabledUnCheckImageRect;
};

// Progress gauges.
class TspDataSkinGaugeControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinGaugeControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ProgressArea;
    TRect ProgressRect;
    int32_t BeginOffset {};
    int32_t EndOffset {};
    bool Vertical {};
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    bool ProgressTransparent {};
    TColor ProgressTransparentColor {};
    bool ProgressStretch {};
};

// Track bars.
class TspDataSkinTrackBarControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinTrackBarControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ActiveSkinRect;
    TRect TrackArea;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    bool Vertical {};
    bool ButtonTransparent {};
    TColor ButtonTransparentColor {};
};

// Sliders drawn with a ruler and a thumb.
class TspDataSkinSlider final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinSlider(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TColor BGColor {};
    TRect HRulerRect;
    TRect HThumbRect;
    TRect VRulerRect;
    TRect VThumbRect;
    int32_t EdgeSize {};
    TColor PointsColor {};
};

// Scroll bars; list boxes name the records of their scroll bars.
class TspDataSkinScrollBarControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinScrollBarControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect TrackArea;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect ThumbRect;
    TRect ActiveThumbRect;
    TRect DownThumbRect;
    int32_t ThumbOffset1 {};
    int32_t ThumbOffset2 {};
    bool ThumbTransparent {};
    TColor ThumbTransparentColor {};
    TRect GlyphRect;
    TRect ActiveGlyphRect;
    TRect DownGlyphRect;
};

// Splitters.
class TspDataSkinSplitterControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinSplitterControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect GripperRect;
    bool GripperTransparent {};
    TColor GripperTransparentColor {};
};

// Panels and group boxes, with an optional caption bar, check mark and frame.
class TspDataSkinPanelControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinPanelControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t BGPictureIndex {};
    TRect CaptionRect;
    TAlignment Alignment {};
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect MarkFrameRect;
    TRect FrameRect;
    TRect FrameTextRect;
    int32_t FrameLeftOffset {};
    int32_t FrameRightOffset {};
    TRect GripperRect;
    bool GripperTransparent {};
    TColor GripperTransparentColor {};
};

// Expanding panels that roll up horizontally or vertically, with close, roll and restore buttons.
class TspDataSkinExPanelControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinExPanelControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect RollHSkinRect;
    TRect RollVSkinRect;
    int32_t RollLeftOffset {};
    int32_t RollRightOffset {};
    int32_t RollTopOffset {};
    int32_t RollBottomOffset {};
    TRect RollVCaptionRect;
    TRect RollHCaptionRect;
    TRect CloseButtonRect;
    TRect CloseButtonActiveRect;
    TRect CloseButtonDownRect;
    TRect HRollButtonRect;
    TRect HRollButtonActiveRect;
    TRect HRollButtonDownRect;
    TRect HRestoreButtonRect;
    TRect HRestoreButtonActiveRect;
    TRect HRestoreButtonDownRect;
    TRect VRollButtonRect;
    TRect VRollButtonActiveRect;
    TRect VRollButtonDownRect;
    TRect VRestoreButtonRect;
    TRect VRestoreButtonActiveRect;
    TRect VRestoreButtonDownRect;
    TRect CaptionRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    bool ButtonsTransparent {};
    TColor ButtonsTransparentColor {};
};

// Control bars and cool bars.
class TspDataSkinControlBar final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinControlBar(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ItemRect;
    int32_t BGPictureIndex {};
    TRect HGripRect;
    TRect VGripRect;
    int32_t GripOffset1 {};
    int32_t GripOffset2 {};
    int32_t ItemOffset1 {};
    int32_t ItemOffset2 {};
    bool ItemStretchEffect {};
    bool ItemTransparent {};
    TColor ItemTransparentColor {};
    bool GripTransparent {};
    TColor GripTransparentColor {};
};

// Bevels: the light and the dark line colour.
class TspDataSkinBevel final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinBevel(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TColor LightColor {};
    TColor DarkColor {};
};

// Labels drawn on a nine-part image.
class TspDataSkinLabelControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinLabelControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
};

// Text labels without an image.
class TspDataSkinStdLabelControl final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinStdLabelControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
};

// Labels whose text is drawn from a bitmap font cut from the picture. Loading appends to Symbols.
class TspDataSkinBitLabelControl final : public TspDataSkinCustomControl {
    using inherited = TspDataSkinCustomControl;

public:
    explicit TspDataSkinBitLabelControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect SkinTextRect;
    int32_t SymbolWidth {};
    int32_t SymbolHeight {};
    TStringList Symbols;
};

// The skinned main-menu bar; its strings name the object records that draw its items and buttons.
class TspDataSkinMainMenuBar final : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinMainMenuBar(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ItemsRect;
    std::string MenuBarItem;
    std::string CloseButton;
    std::string MinButton;
    std::string MaxButton;
    std::string SysMenuButton;
    TColor TrackMarkColor {};
    TColor TrackMarkActiveColor {};
    bool StretchEffect {};
    bool ItemTransparent {};
};
