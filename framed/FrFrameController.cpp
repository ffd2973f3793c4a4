#include "framed/FrFrameController.h"

#include "framework/controls/TControl.h"
#include "framework/core/SysUtils.h"

#include <algorithm>

TFrRegIniFile::TFrRegIniFile(TComponent* owner)
    : TComponent(owner)
{
}

void TFrRegIniFile::SetPath(std::string_view value)
{
    if (value == FPath)
        return;
    FPath = value;
    FRefreshStorage = true;
}

void TFrRegIniFile::SetPathType(TFrPathType value)
{
    if (value == FPathType)
        return;
    FPathType = value;
    FRefreshStorage = true;
}

void TFrRegIniFile::SetRegKey(TFrRegKey value)
{
    if (value == FRegKey)
        return;
    FRegKey = value;
    FRefreshStorage = true;
}

void TFrRegIniFile::SetRegAccess(TFrRegAccess value)
{
    if (value == FRegAccess)
        return;
    FRegAccess = value;
    FRefreshStorage = true;
}

TFrFrameController::TFrFrameController(TComponent* owner)
    : TComponent(owner)
{
}

TFrFrameController::~TFrFrameController() = default;

void TFrFrameController::AddControl(TControl* control)
{
    if (!control || std::find(FControls.begin(), FControls.end(), control) != FControls.end())
        return;
    FControls.push_back(control);
    UpdateControl(control, fcpAll);
}

void TFrFrameController::RemoveControl(TControl* control)
{
    std::erase(FControls, control);
}

void TFrFrameController::HoldUpdates()
{
    ++FUpdateCount;
}

void TFrFrameController::ReleaseUpdates()
{
    if (--FUpdateCount <= 0) {
        FUpdateCount = 0;
        UpdateControls(fcpAll);
    }
}

void TFrFrameController::UpdateControls(int code)
{
    if (FUpdateCount > 0)
        return;
    // A control may leave the list while it takes a setting.
    const std::vector<TControl*> controls = FControls;
    for (TControl* control : controls)
        if (std::find(FControls.begin(), FControls.end(), control) != FControls.end())
            UpdateControl(control, code);
}

void TFrFrameController::UpdateControl(TControl* control, int code)
{
    if (!control)
        return;
    if (auto* notify = dynamic_cast<IFrControllerNotify*>(control)) {
        notify->ControllerNotify();
        return;
    }
    auto* target = dynamic_cast<IFrPublishedProperties*>(control);
    if (!target)
        return;
    auto push = [&](int which) {
        switch (which) {
        case fcpParentColor:
            target->SetPublishedProperty("ParentColor", FParentColor);
            break;
        case fcpColor:
            target->SetPublishedProperty("Color", FColor);
            break;
        case fcpDisabledColor:
            target->SetPublishedProperty("DisabledColor", FDisabledColor);
            break;
        case fcpFocusColor:
            target->SetPublishedProperty("FocusColor", FFocusColor);
            break;
        case fcpFlatButtonColor:
            target->SetPublishedProperty("FlatButtonColor", FFlatButtonColor);
            break;
        case fcpFlatButtons:
            target->SetPublishedProperty("FlatButtons", FFlatButtons);
            break;
        case fcpFrameColor:
            target->SetPublishedProperty("FrameColor", FFrameColor);
            break;
        case fcpFrameHotColor:
            target->SetPublishedProperty("FrameHotColor", FFrameHotColor);
            break;
        case fcpFrameHotTrack:
            target->SetPublishedProperty("FrameHotTrack", FFrameHotTrack);
            break;
        case fcpFrameHotStyle:
            target->SetPublishedProperty("FrameHotStyle", FFrameHotStyle);
            break;
        case fcpFrameSides:
            target->SetPublishedProperty("FrameSides", SidesToInt(FFrameSides));
            break;
        case fcpFrameStyle:
            target->SetPublishedProperty("FrameStyle", FFrameStyle);
            break;
        case fcpFrameVisible:
            target->SetPublishedProperty("FrameVisible", FFrameVisible);
            break;
        case fcpFramingPreference:
            target->SetPublishedProperty("FramingPreference", FFramingPreference);
            break;
        }
    };
    if (code != fcpAll) {
        push(code);
        return;
    }
    push(fcpParentColor);
    if (!FParentColor)
        push(fcpColor);
    for (int which : { fcpDisabledColor, fcpFocusColor, fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor,
             fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle, fcpFrameVisible,
             fcpFramingPreference })
        push(which);
}

void TFrFrameController::SetColor(TColor value)
{
    if (value == FColor)
        return;
    if (FFocusColor == FColor)
        FFocusColor = value;
    FColor = value;
    FParentColor = false;
    UpdateControls(fcpColor);
}

void TFrFrameController::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    UpdateControls(fcpParentColor);
    if (!value)
        UpdateControls(fcpColor);
}

#define FR_CONTROLLER_SETTER(Name, Type, Code)                                                                       \
    void TFrFrameController::Set##Name(Type value)                                                                  \
    {                                                                                                                \
        if (value == F##Name)                                                                                        \
            return;                                                                                                  \
        F##Name = value;                                                                                             \
        UpdateControls(Code);                                                                                        \
    }

FR_CONTROLLER_SETTER(FlatButtonColor, TColor, fcpFlatButtonColor)
FR_CONTROLLER_SETTER(FlatButtons, bool, fcpFlatButtons)
FR_CONTROLLER_SETTER(DisabledColor, TColor, fcpDisabledColor)
FR_CONTROLLER_SETTER(FocusColor, TColor, fcpFocusColor)
FR_CONTROLLER_SETTER(FrameColor, TColor, fcpFrameColor)
FR_CONTROLLER_SETTER(FrameHotColor, TColor, fcpFrameHotColor)
FR_CONTROLLER_SETTER(FrameHotStyle, TFrameStyle, fcpFrameHotStyle)
FR_CONTROLLER_SETTER(FrameSides, TSides, fcpFrameSides)
FR_CONTROLLER_SETTER(FrameStyle, TFrameStyle, fcpFrameStyle)
FR_CONTROLLER_SETTER(FrameVisible, bool, fcpFrameVisible)
FR_CONTROLLER_SETTER(FramingPreference, TFramingPreference, fcpFramingPreference)
#undef FR_CONTROLLER_SETTER

void TFrFrameController::SetFrameHotTrack(bool value)
{
    if (value == FFrameHotTrack)
        return;
    FFrameHotTrack = value;
    if (value) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading))
            FFrameSides = AllSides;
    }
    UpdateControls(fcpFrameHotTrack);
}

void TFrFrameController::SetRegIniFile(TFrRegIniFile* value)
{
    if (value == FRegIniFile)
        return;
    if (FRegIniFile)
        FRegIniFile->RemoveFreeNotification(this);
    FRegIniFile = value;
    if (FRegIniFile)
        FRegIniFile->FreeNotification(this);
}

void TFrFrameController::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove) {
        if (component == FRegIniFile)
            FRegIniFile = nullptr;
        std::erase(FControls, component);
    }
}

void TFrFrameController::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TFrFrameController*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    HoldUpdates();
    SetColor(other->Color());
    SetDisabledColor(other->DisabledColor());
    SetFlatButtonColor(other->FlatButtonColor());
    SetFlatButtons(other->FlatButtons());
    SetFocusColor(other->FocusColor());
    SetFrameColor(other->FrameColor());
    SetFrameHotColor(other->FrameHotColor());
    SetFrameHotStyle(other->FrameHotStyle());
    SetFrameHotTrack(other->FrameHotTrack());
    SetFrameSides(other->FrameSides());
    SetFrameStyle(other->FrameStyle());
    SetFrameVisible(other->FrameVisible());
    SetFramingPreference(other->FramingPreference());
    SetParentColor(other->ParentColor());
    ReleaseUpdates();
}

void TFrFrameController::Loaded()
{
    inherited::Loaded();
    UpdateControls(fcpAll);
}

bool TFrFrameController::ReadStoredProperty(std::string_view name, std::string_view value)
{
    if (name == "FrameFlat") {
        const bool flat = SameText(std::string(value), "True");
        SetFrameHotTrack(flat);
        if (flat) {
            SetFrameStyle(fsStatus);
            SetFrameHotStyle(fsLowered);
        }
        return true;
    }
    if (name == "FrameFocusStyle") {
        TFrameStyle style;
        if (FrameStyleFromIdent(value, style))
            SetFrameHotStyle(style);
        return true;
    }
    return name == "FrameFlatStyle";
}
