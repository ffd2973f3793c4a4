// The root skin-control record, the nine-part and frame-strip records built on it, and the named skin area.
#pragma once
#include "framework/core/TObject.h"
#include "skin/core/SkinData.h"

#include <cstdint>
#include <string>
#include <string_view>

class TCustomIniFile;

// A skin record is a plain data object holding one INI section of a skin: the section named IDName. Every
// field is named after the key that fills it, in PascalCase ("skinrect" fills SkinRect). A load sets every
// field of the class chain, taking the key's default when it is missing; a save replaces the section by
// exactly the keys of the chain, root first. Picture and cursor indexes are -1 for none.
class TspDataSkinControl : public TObject {
    using inherited = TObject;

public:
    explicit TspDataSkinControl(std::string_view idName);

    // Reads the section IDName. A missing section or key gives the defaults; a malformed rectangle or point
    // raises EConvertError and stops the load at that key.
    virtual void LoadFromFile(TCustomIniFile* file);
    // Erases the section IDName and writes the record's keys.
    virtual void SaveToFile(TCustomIniFile* file);

    std::string IDName;
    int32_t PictureIndex {};
    int32_t MaskPictureIndex {};
    TRect SkinRect;
    int32_t CursorIndex {};
};

// The nine-part record: four inner corner points and a client rectangle cut SkinRect into corners, edges and
// middle; the flags say which parts are stretched rather than tiled.
class TspDataSkinCustomControl : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinCustomControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TPoint LeftTopPoint;
    TPoint RightTopPoint;
    TPoint LeftBottomPoint;
    TPoint RightBottomPoint;
    TRect ClientRect;
    bool LeftStretch {};
    bool TopStretch {};
    bool RightStretch {};
    bool BottomStretch {};
    bool StretchEffect {};
    TspStretchType StretchType {};
};

// The frame-strip record: SkinRect is a strip of FramesCount equal frames (at least 1).
class TspDataSkinFrameControl : public TspDataSkinControl {
    using inherited = TspDataSkinControl;

public:
    explicit TspDataSkinFrameControl(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    int32_t FramesCount {};
    TFramesPlacement FramesPlacement {};
};

// The animation, switch and frame-gauge records add nothing: their classes tell the controls apart.
class TspDataSkinAnimateControl final : public TspDataSkinFrameControl {
    using inherited = TspDataSkinFrameControl;

public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinSwitchControl final : public TspDataSkinFrameControl {
    using inherited = TspDataSkinFrameControl;

public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameGauge final : public TspDataSkinFrameControl {
    using inherited = TspDataSkinFrameControl;

public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameRegulator final : public TspDataSkinFrameControl {
    using inherited = TspDataSkinFrameControl;

public:
    explicit TspDataSkinFrameRegulator(std::string_view idName);

    void LoadFromFile(TCustomIniFile* file) override;
    void SaveToFile(TCustomIniFile* file) override;

    TRegulatorKind Kind {};
};

// A named rectangle of the skin, an entry of "SKINAREAS"; the container reads and writes the entries.
class TspDataSkinArea final : public TObject {
    using inherited = TObject;

public:
    TspDataSkinArea(std::string_view idName, const TRect& areaRect);

    std::string IDName;
    TRect AreaRect;
};
