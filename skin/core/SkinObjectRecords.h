// The skin-object records: buttons, caption buttons, the caption, labels, gauges, frame strips, track bars,
// switches, animations, user objects and the looks of menu items drawn on skinned forms.
#pragma once
#include "framework/core/TObject.h"
#include "framework/core/TStrings.h"
#include "skin/core/SkinData.h"

#include <cstdint>
#include <string>
#include <string_view>

class TCustomIniFile;

// The root of the object records: a named piece of a skinned form's picture that the form turns into something
// live. SkinRect is both the object's place on the form and its normal image, cut from the form's picture (the
// roll-up picture with RollUp, the active picture with SkinRectInAPicture); the other state images come from
// the active picture ActivePictureIndex. Fields are named after their keys as for TspDataSkinControl.
class TspDataSkinObject : public TObject {
    using inherited = TObject;

public:
    explicit TspDataSkinObject(std::string_view idName);

    // Reads the section IDName; see TspDataSkinControl::LoadFromFile.
    virtual void LoadFromFile(TCustomIniFile* file);
    // Erases the section IDName and writes the record's keys.
    virtual void SaveToFile(TCustomIniFile* file);

    std::string IDName;
    std::string Hint;
    bool RollUp {};
    int32_t ActivePictureIndex {};
    bool SkinRectInAPicture {};
    int32_t CursorIndex {};
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    bool Morphing {};
    TMorphKind MorphKind {};
};

// Buttons drawn on the form. At most one button of a group (GroupIndex other than -1) stays down.
class TspDataSkinButton : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    explicit TspDataSkinButton(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect DownRect;
    // The disabled image; skins have always spelled its key "disableskinrsect".
    TRect DisableSkinRsect;
    int32_t GroupIndex {};
};

// Caption-bar buttons that carry a window command.
class TspDataSkinStdButton : public TspDataSkinButton {
    using inherited = TspDataSkinButton;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinButton::TspDataSkinButton;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TStdCommand Command {};
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
};

// The buttons that the main-menu bar draws for a maximized child window.
class TspDataSkinMainMenuBarButton final : public TspDataSkinStdButton {
    using inherited = TspDataSkinStdButton;

public:
    using TspDataSkinStdButton::TspDataSkinStdButton;
};

// The form's caption text.
class TspDataSkinCaption final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    bool DefaultCaption {};
    TRect TextRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TAlignment Alignment {};
    bool Light {};
    TColor LightColor {};
    TColor ActiveLightColor {};
    bool Shadow {};
    TColor ShadowColor {};
    TColor ActiveShadowColor {};
    TRect FrameRect;
    TRect ActiveFrameRect;
    TRect FrameTextRect;
    int32_t FrameLeftOffset {};
    int32_t FrameRightOffset {};
    bool StretchEffect {};
    TRect AnimateSkinRect;
    int32_t FrameCount {};
    int32_t AnimateInterval {};
    bool InActiveAnimation {};
    bool FullFrame {};
};

// Text labels on the form.
class TspDataSkinLabel final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TAlignment Alignment {};
    std::string TextValue;
};

// Labels drawn with a bitmap font of symbol cells cut from the active picture. A bitmap label never morphs.
class TspDataSkinBitLabel final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    explicit TspDataSkinBitLabel(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    std::string TextValue;
    int32_t SymbolWidth {};
    int32_t SymbolHeight {};
    TStringList Symbols;
    bool Transparent {};
    TColor TransparentColor {};
};

// Gauges drawn on the form.
class TspDataSkinGauge final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t MinValue {};
    int32_t MaxValue {};
    TGaugeKind Kind {};
};

// Frame-strip gauges drawn on the form. Unlike the control record, CountFrames may stay 0.
class TspDataSkinFrameGaugeObject final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t MinValue {};
    int32_t MaxValue {};
    int32_t CountFrames {};
    TFramesPlacement FramesPlacement {};
};

// Frame-strip knobs drawn on the form.
class TspDataSkinFrameRegulatorObject final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t MinValue {};
    int32_t MaxValue {};
    int32_t CountFrames {};
    TFramesPlacement FramesPlacement {};
    TRegulatorKind Kind {};
};

// Track bars drawn on the form. A track bar never morphs.
class TspDataSkinTrackBar final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRect ButtonRect;
    TRect ActiveButtonRect;
    TPoint BeginPoint;
    TPoint EndPoint;
    int32_t MinValue {};
    int32_t MaxValue {};
    bool MouseDownChangeValue {};
    bool ButtonTransparent {};
    TColor ButtonTransparentColor {};
};

// Switches drawn on the form: the object values only.
class TspDataSkinSwitch final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    using TspDataSkinObject::TspDataSkinObject;
};

// Frame animations, which may act as buttons. An animation never morphs.
class TspDataSkinAnimate final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t CountFrames {};
    bool Cycle {};
    bool ButtonStyle {};
    int32_t TimerInterval {};
    TStdCommand Command {};
    TRect DownSkinRect;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
};

// A place on the form that the application paints itself. It reads and writes only RollUp, SkinRect and
// CursorIndex; its other fields keep their constructor values.
class TspDataUserObject final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;
};

// The look of the items of skinned popup menus; SkinRect is the item image.
class TspDataSkinMenuItem final : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t ItemLeftOffset {};
    int32_t ItemRightOffset {};
    TRect DividerRect;
    int32_t DividerLeftOffset {};
    int32_t DividerRightOffset {};
    TRect TextRect;
    TRect ImageRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor UnEnabledFontColor {};
    bool StretchEffect {};
    bool InActiveStretchEffect {};
    bool DividerStretchEffect {};
    TRect AnimateSkinRect;
    int32_t FrameCount {};
    int32_t AnimateInterval {};
    bool InActiveAnimation {};
    bool UseImageColor {};
    TColor ImageColor {};
    TColor ActiveImageColor {};
};

// The look of main-menu items drawn on the form.
class TspDataSkinMainMenuItem : public TspDataSkinObject {
    using inherited = TspDataSkinObject;

public:
    // Until it is loaded, the fields it adds hold zero, empty or false.
    using TspDataSkinObject::TspDataSkinObject;

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t ItemLeftOffset {};
    int32_t ItemRightOffset {};
    TRect DownRect;
    TRect TextRect;
    std::string FontName;
    int32_t FontHeight {};
    TFontStyles FontStyle;
    TColor FontColor {};
    TColor ActiveFontColor {};
    TColor DownFontColor {};
    TColor UnEnabledFontColor {};
    bool StretchEffect {};
    TRect AnimateSkinRect;
    int32_t FrameCount {};
    int32_t AnimateInterval {};
    bool InActiveAnimation {};
};

// The look of the items of the skinned main-menu bar.
class TspDataSkinMainMenuBarItem final : public TspDataSkinMainMenuItem {
    using inherited = TspDataSkinMainMenuItem;

public:
    using TspDataSkinMainMenuItem::TspDataSkinMainMenuItem;
};
