#include "framework/controls/ActnList.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"

#include <algorithm>

// --- TBasicActionLink ----------------------------------------------------------------------------------

TBasicActionLink::TBasicActionLink(TObject* client)
    : FClient(client)
{
}

TBasicActionLink::~TBasicActionLink()
{
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value)
{
    if (value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = value;
    if (FAction)
        FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* target)
{
    if (!FAction)
        return false;
    TBasicAction* action = FAction;
    action->SetActionComponent(target ? target : dynamic_cast<TComponent*>(FClient));
    // The action may delete the client (and this link) while it runs, so nothing here touches `this`
    // afterwards; ActionComponent is cleared through Notification if the client goes.
    const bool result = action->Execute();
    action->SetActionComponent(nullptr);
    return result;
}

bool TBasicActionLink::Update()
{
    return FAction && FAction->Update();
}

void TBasicActionLink::Change()
{
    if (OnChange)
        OnChange(FAction);
}

// --- TActionLink ---------------------------------------------------------------------------------------

void TActionLink::SetCaption(const std::string&)
{
}
void TActionLink::SetChecked(bool)
{
}
void TActionLink::SetEnabled(bool)
{
}
void TActionLink::SetHint(const std::string&)
{
}
void TActionLink::SetImageIndex(int)
{
}
void TActionLink::SetShortCut(TShortCut)
{
}
void TActionLink::SetVisible(bool)
{
}
void TActionLink::SetGroupIndex(int)
{
}
void TActionLink::SetAutoCheck(bool)
{
}

// --- TBasicAction --------------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner)
    : TComponent(owner)
{
}

TBasicAction::~TBasicAction()
{
    // The links outlive the action: they only forget it.
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    TNotifyEvent handler = OnExecute;
    handler(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    TNotifyEvent handler = OnUpdate;
    handler(this);
    return true;
}

bool TBasicAction::HandlesTarget(TObject*)
{
    return false;
}

void TBasicAction::ExecuteTarget(TObject*)
{
}

void TBasicAction::UpdateTarget(TObject*)
{
}

void TBasicAction::SetActionComponent(TComponent* value)
{
    if (value == FActionComponent)
        return;
    if (FActionComponent)
        FActionComponent->RemoveFreeNotification(this);
    FActionComponent = value;
    if (FActionComponent)
        FActionComponent->FreeNotification(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* link)
{
    if (std::find(FClients.begin(), FClients.end(), link) == FClients.end())
        FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link)
{
    std::erase(FClients, link);
}

void TBasicAction::Change()
{
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
}

void TBasicAction::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FActionComponent)
        FActionComponent = nullptr;
}

// --- TContainedAction ----------------------------------------------------------------------------------

TContainedAction::TContainedAction(TComponent* owner)
    : TBasicAction(owner)
{
}

TContainedAction::~TContainedAction()
{
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList* value)
{
    if (value == FActionList)
        return;
    if (FActionList)
        FActionList->RemoveAction(this);
    if (value)
        value->AddAction(this);
}

void TContainedAction::SetCategory(std::string_view value)
{
    if (value == FCategory)
        return;
    FCategory = value;
    if (FActionList && FActionList->OnChange)
        FActionList->OnChange(FActionList);
}

int TContainedAction::Index() const
{
    return FActionList ? FActionList->IndexOf(this) : -1;
}

bool TContainedAction::Execute()
{
    if (FActionList && FActionList->ExecuteAction(this))
        return true;
    return inherited::Execute();
}

bool TContainedAction::Update()
{
    if (FActionList && FActionList->UpdateAction(this))
        return true;
    return inherited::Update();
}

// --- TCustomAction -------------------------------------------------------------------------------------

namespace {

template <class F> void ForEachActionLink(const std::vector<TBasicActionLink*>& clients, F f)
{
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients))
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            f(actionLink);
}

} // namespace

TCustomAction::TCustomAction(TComponent* owner)
    : TContainedAction(owner)
{
}

void TCustomAction::SetCaption(std::string_view value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetCaption(FCaption); });
    Change();
}

void TCustomAction::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    if (value && FGroupIndex > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex)
                other->SetChecked(false);
        }
    }
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetChecked(value); });
    Change();
}

void TCustomAction::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetEnabled(value); });
    Change();
}

void TCustomAction::SetHint(std::string_view value)
{
    if (value == FHint)
        return;
    FHint = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetHint(FHint); });
    Change();
}

void TCustomAction::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetImageIndex(value); });
    Change();
}

void TCustomAction::SetShortCut(TShortCut value)
{
    if (value == FShortCut)
        return;
    FShortCut = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetShortCut(value); });
    Change();
}

void TCustomAction::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetVisible(value); });
    Change();
}

void TCustomAction::SetAutoCheck(bool value)
{
    if (value == FAutoCheck)
        return;
    FAutoCheck = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetAutoCheck(value); });
    Change();
}

void TCustomAction::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    ForEachActionLink(FClients, [&](TActionLink* link) { link->SetGroupIndex(value); });
    Change();
}

bool TCustomAction::Execute()
{
    if (ActionList() && ActionList()->State() != asNormal)
        return false;
    Update();
    if (!FEnabled)
        return false;
    // A checked member of a group stays checked: clicking it again does not leave the group empty.
    if (FAutoCheck && !(FChecked && FGroupIndex > 0))
        SetChecked(!FChecked);
    return inherited::Execute();
}

// --- TCustomActionList ---------------------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* owner)
    : TComponent(owner)
{
}

TCustomActionList::~TCustomActionList()
{
    for (TContainedAction* action : FActions)
        action->FActionList = nullptr;
    FActions.clear();
}

TContainedAction* TCustomActionList::Actions(int index) const
{
    if (index < 0 || index >= ActionCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FActions[size_t(index)];
}

int TCustomActionList::IndexOf(const TContainedAction* action) const
{
    auto it = std::find(FActions.begin(), FActions.end(), action);
    return it == FActions.end() ? -1 : static_cast<int>(it - FActions.begin());
}

void TCustomActionList::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    if (OnChange)
        OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action)
{
    bool handled = false;
    if (OnExecute)
        OnExecute(action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action)
{
    bool handled = false;
    if (OnUpdate)
        OnUpdate(action, handled);
    return handled;
}

bool TCustomActionList::IsShortCut(TWMKey& message)
{
    const TShortCut shortCut = ::ShortCut(message.CharCode, KeyDataToShiftState(message.KeyData));
    if (shortCut == scNone || FState != asNormal)
        return false;
    for (TContainedAction* action : std::vector<TContainedAction*>(FActions)) {
        auto* custom = dynamic_cast<TCustomAction*>(action);
        if (custom && custom->ShortCut() == shortCut)
            return custom->Execute();
    }
    return false;
}

void TCustomActionList::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        FImages = nullptr;
    if (auto* action = dynamic_cast<TContainedAction*>(component))
        RemoveAction(action);
}

void TCustomActionList::AddAction(TContainedAction* action)
{
    if (action->FActionList)
        action->FActionList->RemoveAction(action);
    FActions.push_back(action);
    action->FActionList = this;
    action->FreeNotification(this);
    if (OnChange)
        OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* action)
{
    if (action->FActionList != this)
        return;
    std::erase(FActions, action);
    action->FActionList = nullptr;
    action->RemoveFreeNotification(this);
    if (OnChange)
        OnChange(this);
}
