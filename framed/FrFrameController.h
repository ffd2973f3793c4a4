// The frame controller: one set of frame and colour settings pushed into every control linked to it, so the
// edits, memos and panels of a form look alike and change together; and TFrRegIniFile, a description of where
// settings could be stored.
#pragma once
#include "framed/FrCommon.h"
#include "framework/core/TComponent.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class TControl;

// A control that fetches the controller's settings itself when told they changed (the panels).
class IFrControllerNotify {
public:
    virtual ~IFrControllerNotify() = default;
    virtual void ControllerNotify() = 0;
};

// A control whose published properties can be set by name. Sets are given as their bit value, colours and
// enumerations as their ordinal. False when the control has no published property of that name.
class IFrPublishedProperties {
public:
    virtual ~IFrPublishedProperties() = default;
    virtual bool SetPublishedProperty(std::string_view name, int64_t value) = 0;
};

enum TFrPathType : uint8_t { ptIniFile, ptRegistry };
enum TFrRegKey : uint8_t {
    hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig,
    hkeyDynData
};
enum TFrRegAccessKey : uint8_t {
    keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
    keyExecute, keyAllAccess
};
using TFrRegAccess = TSet<TFrRegAccessKey, keyAllAccess>;

// Where settings would be kept. Nothing in the program reads or writes through it: only the description and the
// flag that says it changed exist.
class TFrRegIniFile : public TComponent {
    using inherited = TComponent;

public:
    explicit TFrRegIniFile(TComponent* owner);

    const std::string& Path() const { return FPath; }
    virtual void SetPath(std::string_view value);
    TFrPathType PathType() const { return FPathType; }
    virtual void SetPathType(TFrPathType value);
    TFrRegKey RegKey() const { return FRegKey; }
    virtual void SetRegKey(TFrRegKey value);
    TFrRegAccess RegAccess() const { return FRegAccess; }
    virtual void SetRegAccess(TFrRegAccess value);
    // Set by every change, for whoever opens the storage next.
    bool RefreshStorage() const { return FRefreshStorage; }

private:
    std::string FPath;
    TFrPathType FPathType = ptIniFile;
    TFrRegKey FRegKey = hkeyCurrentUser;
    TFrRegAccess FRegAccess { keyAllAccess };
    bool FRefreshStorage = true;
};

class TFrFrameController : public TComponent {
    using inherited = TComponent;

public:
    // The codes of the settings as they are pushed; 0 is all of them.
    enum : int {
        fcpAll, fcpColor, fcpFocusColor, fcpDisabledColor, fcpParentColor, fcpFlatButtonColor, fcpFlatButtons,
        fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle,
        fcpFrameVisible, fcpFramingPreference
    };

    explicit TFrFrameController(TComponent* owner);
    ~TFrFrameController() override;

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    virtual void SetParentColor(bool value);
    TColor FlatButtonColor() const { return FFlatButtonColor; }
    virtual void SetFlatButtonColor(TColor value);
    bool FlatButtons() const { return FFlatButtons; }
    virtual void SetFlatButtons(bool value);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor value);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor value);
    TColor FrameHotColor() const { return FFrameHotColor; }
    virtual void SetFrameHotColor(TColor value);
    bool FrameHotTrack() const { return FFrameHotTrack; }
    virtual void SetFrameHotTrack(bool value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle value);
    TSides FrameSides() const { return FFrameSides; }
    virtual void SetFrameSides(TSides value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle value);
    bool FrameVisible() const { return FFrameVisible; }
    virtual void SetFrameVisible(bool value);
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    virtual void SetFramingPreference(TFramingPreference value);
    TFrRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TFrRegIniFile* value);

    // A control's FrameController setter links and unlinks it; a new link gets every setting at once.
    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    int ControlCount() const { return int(FControls.size()); }
    // While held, no control is updated; the last release pushes everything once.
    void HoldUpdates();
    void ReleaseUpdates();

    // Copies the fourteen settings of another controller; anything else raises EConvertError.
    void Assign(TPersistent* source) override;
    void Loaded() override;
    // Values of older versions found in a stored form: "FrameFlat", "FrameFocusStyle", "FrameFlatStyle".
    bool ReadStoredProperty(std::string_view name, std::string_view value);

protected:
    virtual void UpdateControl(TControl* control, int code);
    virtual void UpdateControls(int code);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TColor FColor = clWindow;
    TColor FFocusColor = clWindow;
    TColor FDisabledColor = clBtnFace;
    bool FParentColor = false;
    TColor FFlatButtonColor = clBtnFace;
    bool FFlatButtons = true;
    TColor FFrameColor = clBtnShadow;
    TColor FFrameHotColor = clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = AllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
    TFrRegIniFile* FRegIniFile = nullptr;
    int FUpdateCount = 0;
    std::vector<TControl*> FControls;
};
