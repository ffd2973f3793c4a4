// Actions and action lists: TBasicAction, TContainedAction, TCustomAction/TAction, TCustomActionList/
// TActionList, and the links through which menu items and controls follow an action.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Messages.h"
#include "framework/core/TComponent.h"

#include <string>
#include <string_view>
#include <vector>

class TBasicAction;
class TCustomActionList;
class TCustomImageList;

// The connection of one client (a menu item, a control) to an action. The action tells every link of
// each change; the link passes it on to its client.
class TBasicActionLink : public TObject {
    using inherited = TObject;

public:
    explicit TBasicActionLink(TObject* client);
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* value);
    // Executes the action for `target` (the client by default); false when it did nothing.
    virtual bool Execute(TComponent* target = nullptr);
    virtual bool Update();

    // Fired when the action changed; the client refreshes what it shows of it.
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

    TObject* FClient;
    TBasicAction* FAction = nullptr;
};

// The link of clients that show an action's caption, checks, enabling, hint, image, shortcut and
// visibility. The action calls the setter of each link when the property changes; the defaults do
// nothing.
class TActionLink : public TBasicActionLink {
    using inherited = TBasicActionLink;

public:
    using TBasicActionLink::TBasicActionLink;

    virtual void SetCaption(const std::string& value);
    virtual void SetChecked(bool value);
    virtual void SetEnabled(bool value);
    virtual void SetHint(const std::string& value);
    virtual void SetImageIndex(int value);
    virtual void SetShortCut(TShortCut value);
    virtual void SetVisible(bool value);
    virtual void SetGroupIndex(int value);
    virtual void SetAutoCheck(bool value);
};

// An action: something the user can do, from a menu item, a control or a shortcut.
class TBasicAction : public TComponent {
    using inherited = TComponent;

public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs the action; true when something handled it. The base fires OnExecute.
    virtual bool Execute();
    // Lets OnUpdate refresh the action's state (enabling, checks); true when something handled it.
    virtual bool Update();
    virtual bool HandlesTarget(TObject* target);
    virtual void ExecuteTarget(TObject* target);
    virtual void UpdateTarget(TObject* target);

    // The client that is executing the action, during Execute.
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* value);

    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Tells every link that the action changed.
    virtual void Change();
    void Notification(TComponent* component, TOperation operation) override;

    std::vector<TBasicActionLink*> FClients;

private:
    TComponent* FActionComponent = nullptr;
};

// An action that belongs to an action list, which gets the first say over its execution and update.
class TContainedAction : public TBasicAction {
    using inherited = TBasicAction;

public:
    explicit TContainedAction(TComponent* owner);
    ~TContainedAction() override;

    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* value);
    const std::string& Category() const { return FCategory; }
    void SetCategory(std::string_view value);
    // The position in the action list, -1 without one.
    int Index() const;

    // The list's OnExecute first, then the action's OnExecute.
    bool Execute() override;
    // The list's OnUpdate first, then the action's OnUpdate.
    bool Update() override;

private:
    friend class TCustomActionList;
    TCustomActionList* FActionList = nullptr;
    std::string FCategory;
};

// An action with the properties its clients show.
class TCustomAction : public TContainedAction {
    using inherited = TContainedAction;

public:
    explicit TCustomAction(TComponent* owner);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string_view value);
    bool Checked() const { return FChecked; }
    // Checking an action of a group (GroupIndex > 0) unchecks the other actions of that group in its list.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }

    // Updates the action, then does nothing (false) when it is disabled; otherwise toggles an AutoCheck
    // action and executes it.
    bool Execute() override;

private:
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    std::string FHint;
    int FImageIndex = -1;
    TShortCut FShortCut = scNone;
    bool FVisible = true;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FHelpContext = 0;
};

class TAction : public TCustomAction {
    using inherited = TCustomAction;

public:
    using TCustomAction::TCustomAction;
};

using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

enum TActionListState : uint8_t { asNormal, asSuspended, asSuspendedEnabled };

// A list of contained actions, with the images they show and the shortcut dispatch of a form. It does not
// own its actions: they belong to their owner component like any other.
class TCustomActionList : public TComponent {
    using inherited = TComponent;

public:
    explicit TCustomActionList(TComponent* owner);
    ~TCustomActionList() override;

    TContainedAction* Actions(int index) const;
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    int IndexOf(const TContainedAction* action) const;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TActionListState State() const { return FState; }
    void SetState(TActionListState value) { FState = value; }

    // OnExecute's say over one action; true when it handled it.
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);
    // Executes the action whose ShortCut is the key of `message`; true when one ran. A disabled action
    // leaves the key to others.
    virtual bool IsShortCut(TWMKey& message);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TContainedAction;
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);

    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
    TActionListState FState = asNormal;
};

class TActionList : public TCustomActionList {
    using inherited = TCustomActionList;

public:
    using TCustomActionList::TCustomActionList;
};
