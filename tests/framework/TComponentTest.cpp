#include "framework/core/TComponent.h"

#include "framework/core/TList.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the components of one test say, and what each one is called in that record. A component is
// known by its address, so the record never reads a component that may be half destroyed.
struct TRecord {
    std::vector<std::string> Lines;
    std::map<const TComponent*, std::string> Labels;

    std::string LabelOf(const TComponent* component) const
    {
        auto it = Labels.find(component);
        return it == Labels.end() ? "?" : it->second;
    }
};

class TLogComponent : public TComponent {
    using inherited = TComponent;

public:
    TLogComponent(TComponent* owner, TRecord& record, std::string label)
        : inherited(owner)
        , FRecord(record)
        , FLabel(std::move(label))
    {
        FRecord.Labels[this] = FLabel;
    }
    ~TLogComponent() override
    {
        FRecord.Lines.push_back("delete " + FLabel);
        if (OnDestroy)
            OnDestroy(this);
    }

    // Called as the component hears a notification, before it passes it on.
    std::function<void(TComponent* component, TOperation operation)> OnNotification;
    TNotifyEvent OnDestroy;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        FRecord.Lines.push_back(
            FLabel + (operation == opInsert ? " hears insert " : " hears remove ") + FRecord.LabelOf(component));
        if (OnNotification)
            OnNotification(component, operation);
        inherited::Notification(component, operation);
    }

private:
    TRecord& FRecord;
    std::string FLabel;
};

// Builds components from (label, owner label) pairs, in order; an empty owner label means no owner.
std::map<std::string, TLogComponent*> Build(
    TRecord& record, const std::vector<std::pair<std::string, std::string>>& tree)
{
    std::map<std::string, TLogComponent*> made;
    for (const auto& [label, owner] : tree)
        made[label] = new TLogComponent(owner.empty() ? nullptr : made.at(owner), record, label);
    record.Lines.clear();
    return made;
}

std::vector<std::string> NamesOf(const TComponent& owner, const TRecord& record)
{
    std::vector<std::string> names;
    for (int i = 0; i < owner.ComponentCount(); ++i)
        names.push_back(record.LabelOf(owner.Components(i)));
    return names;
}

TEST(TComponent, DeletionOrderAndRemovalNotifications)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> tree;
        std::string deleted;
        std::vector<std::string> expected;
    };
    const Case kCases[] = {
        { "owner deletes newest first; the remaining siblings hear each removal",
            { { "O", "" }, { "A", "O" }, { "B", "O" }, { "C", "O" } }, "O",
            { "delete O", "delete C", "B hears remove C", "A hears remove C", "delete B", "A hears remove B",
                "delete A" } },
        { "a child deleted before its owner is heard by the owner and its siblings, not by itself",
            { { "O", "" }, { "A", "O" }, { "B", "O" }, { "C", "O" } }, "B",
            { "delete B", "O hears remove B", "C hears remove B", "A hears remove B" } },
        { "notifications go down the whole tree; each level deletes newest first",
            { { "O", "" }, { "A", "O" }, { "A1", "A" }, { "A2", "A" }, { "B", "O" } }, "O",
            { "delete O", "delete B", "A hears remove B", "A2 hears remove B", "A1 hears remove B", "delete A",
                "delete A2", "A1 hears remove A2", "delete A1" } },
        { "a component with no owner tells nobody", { { "O", "" }, { "X", "" } }, "X", { "delete X" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TRecord record;
        auto made = Build(record, c.tree);
        delete made.at(c.deleted);
        EXPECT_EQ(record.Lines, c.expected);
        // Whatever survived is deleted through the roots that remain.
        for (const auto& [label, owner] : c.tree) {
            if (owner.empty() && label != c.deleted)
                delete made.at(label);
        }
    }
}

TEST(TComponent, DeletingAChildKeepsTheOwnersListInOrder)
{
    TRecord record;
    auto made = Build(record, { { "O", "" }, { "A", "O" }, { "B", "O" }, { "C", "O" } });
    std::unique_ptr<TLogComponent> owner(made["O"]);
    delete made["B"];
    EXPECT_EQ(NamesOf(*owner, record), (std::vector<std::string> { "A", "C" }));
    EXPECT_EQ(made["C"]->ComponentIndex(), 1);
    EXPECT_THROW(owner->Components(2), EListError);
    EXPECT_THROW(owner->Components(-1), EListError);
}

TEST(TComponent, InsertAndRemoveNotifyTheOwnerAndItsOtherComponents)
{
    TRecord record;
    auto made = Build(record, { { "O", "" }, { "A", "O" }, { "B", "O" }, { "P", "" }, { "Y", "P" }, { "X", "" } });
    std::unique_ptr<TLogComponent> owner(made["O"]);
    std::unique_ptr<TLogComponent> oldOwner(made["P"]);

    owner->InsertComponent(made["X"]);
    EXPECT_EQ(record.Lines, (std::vector<std::string> { "O hears insert X", "B hears insert X", "A hears insert X" }));
    EXPECT_EQ(made["X"]->Owner(), owner.get());
    EXPECT_EQ(made["X"]->ComponentIndex(), 2);

    // Taking a component from another owner removes it there first.
    record.Lines.clear();
    owner->InsertComponent(made["Y"]);
    EXPECT_EQ(record.Lines,
        (std::vector<std::string> {
            "P hears remove Y", "O hears insert Y", "X hears insert Y", "B hears insert Y", "A hears insert Y" }));
    EXPECT_EQ(oldOwner->ComponentCount(), 0);
    EXPECT_EQ(NamesOf(*owner, record), (std::vector<std::string> { "A", "B", "X", "Y" }));

    // RemoveComponent hands the component to the caller; its owner no longer deletes it.
    record.Lines.clear();
    owner->RemoveComponent(made["A"]);
    std::unique_ptr<TLogComponent> released(made["A"]);
    EXPECT_EQ(record.Lines,
        (std::vector<std::string> { "O hears remove A", "Y hears remove A", "X hears remove A", "B hears remove A" }));
    EXPECT_EQ(released->Owner(), nullptr);
    EXPECT_EQ(released->ComponentIndex(), -1);
    oldOwner->RemoveComponent(made["B"]); // not its component: nothing happens
    EXPECT_EQ(made["B"]->Owner(), owner.get());
}

TEST(TComponent, InsertComponentRefusesCyclesAndNil)
{
    TRecord record;
    auto made = Build(record, { { "O", "" }, { "A", "O" }, { "A1", "A" } });
    std::unique_ptr<TLogComponent> owner(made["O"]);
    EXPECT_THROW(owner->InsertComponent(owner.get()), EComponentError);
    EXPECT_THROW(made["A1"]->InsertComponent(owner.get()), EComponentError);
    EXPECT_THROW(made["A1"]->InsertComponent(made["A"]), EComponentError);
    EXPECT_THROW(owner->InsertComponent(nullptr), EComponentError);
    EXPECT_EQ(made["A"]->Owner(), owner.get());
    EXPECT_EQ(made["A1"]->Owner(), made["A"]);
    EXPECT_TRUE(record.Lines.empty());
}

TEST(TComponent, FreeNotificationWorksBothWays)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> tree;
        std::string asker, asked; // asker->FreeNotification(asked)
        bool unlink;
        std::string deleted;
        std::vector<std::string> expected;
    };
    const Case kCases[] = {
        { "the asked one is deleted", { { "X", "" }, { "Y", "" } }, "X", "Y", false, "Y",
            { "delete Y", "X hears remove Y" } },
        { "the asker is deleted", { { "X", "" }, { "Y", "" } }, "X", "Y", false, "X",
            { "delete X", "Y hears remove X" } },
        { "RemoveFreeNotification undoes both directions", { { "X", "" }, { "Y", "" } }, "X", "Y", true, "X",
            { "delete X" } },
        { "a sibling hears once, through the owner", { { "O", "" }, { "A", "O" }, { "B", "O" } }, "A", "B", false, "B",
            { "delete B", "O hears remove B", "A hears remove B" } },
        { "a component owned elsewhere hears when the owner deletes the asked one",
            { { "O", "" }, { "A", "O" }, { "E", "" } }, "E", "A", false, "O",
            { "delete O", "delete A", "E hears remove A" } },
        { "a component it owns hears before it is deleted", { { "O", "" }, { "A", "O" }, { "E", "" } }, "A", "E", false,
            "E", { "delete E", "A hears remove E" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TRecord record;
        auto made = Build(record, c.tree);
        made.at(c.asker)->FreeNotification(made.at(c.asked));
        if (c.unlink)
            made.at(c.asked)->RemoveFreeNotification(made.at(c.asker));
        delete made.at(c.deleted);
        EXPECT_EQ(record.Lines, c.expected);
        // The survivors are deleted without hearing of the deleted component again.
        record.Lines.clear();
        for (const auto& [label, owner] : c.tree) {
            if (owner.empty() && label != c.deleted)
                delete made.at(label);
        }
        for (const std::string& line : record.Lines)
            EXPECT_EQ(line.find("remove " + c.deleted), std::string::npos) << line;
    }
}

// A component with a link to one it does not own, cleared when that one goes: the pattern every
// SkinData or PopupMenu link follows.
class TLinkComponent : public TComponent {
    using inherited = TComponent;

public:
    using inherited::inherited;
    TComponent* Link() const { return FLink; }
    void SetLink(TComponent* value)
    {
        if (FLink)
            FLink->RemoveFreeNotification(this);
        FLink = value;
        if (FLink)
            FLink->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        inherited::Notification(component, operation);
        if (operation == opRemove && component == FLink)
            FLink = nullptr;
    }

private:
    TComponent* FLink = nullptr;
};

TEST(TComponent, LinksAreClearedWhateverIsDeletedFirst)
{
    // One form owning a linked control and the target; either may be created (and so deleted) first.
    for (bool targetFirst : { true, false }) {
        SCOPED_TRACE(targetFirst ? "target created first" : "link created first");
        auto form = std::make_unique<TComponent>(nullptr);
        TComponent* target = nullptr;
        TLinkComponent* link = nullptr;
        if (targetFirst)
            target = new TComponent(form.get());
        link = new TLinkComponent(form.get());
        if (!targetFirst)
            target = new TComponent(form.get());
        auto* outside = new TLinkComponent(nullptr);
        link->SetLink(target);
        outside->SetLink(target);

        delete target;
        EXPECT_EQ(link->Link(), nullptr);
        EXPECT_EQ(outside->Link(), nullptr);
        outside->SetLink(link);
        form.reset(); // deletes `link`, which `outside` points at
        EXPECT_EQ(outside->Link(), nullptr);
        delete outside;
    }
}

TEST(TComponent, AComponentThatDeletesAnotherWhileHearingIsSafe)
{
    TRecord record;
    auto made = Build(record, { { "O", "" }, { "A", "O" }, { "B", "O" }, { "C", "O" }, { "D", "O" } });
    std::unique_ptr<TLogComponent> owner(made["O"]);
    TLogComponent* a = made["A"];
    made["B"]->OnNotification = [&](TComponent* component, TOperation operation) {
        if (operation == opRemove && component == made["D"] && a) {
            TLogComponent* doomed = a;
            a = nullptr;
            delete doomed;
        }
    };
    delete made["D"];
    EXPECT_EQ(record.Lines,
        (std::vector<std::string> { "delete D", "O hears remove D", "C hears remove D", "B hears remove D", "delete A",
            "O hears remove A", "C hears remove A", "B hears remove A" }));
    EXPECT_EQ(NamesOf(*owner, record), (std::vector<std::string> { "B", "C" }));
}

TEST(TComponent, OwnedComponentsKnowTheyAreBeingDestroyed)
{
    TRecord record;
    auto made = Build(record, { { "O", "" }, { "A", "O" }, { "A1", "A" } });
    std::vector<std::string> seen;
    for (const char* label : { "A", "A1" }) {
        made[label]->OnDestroy = [&, label](TObject* sender) {
            bool destroying = static_cast<TComponent*>(sender)->ComponentState().Contains(csDestroying);
            seen.push_back(std::string(label) + (destroying ? " destroying" : " not destroying"));
        };
    }
    delete made["O"];
    EXPECT_EQ(seen, (std::vector<std::string> { "A destroying", "A1 destroying" }));
}

TEST(TComponent, NamesMustBeIdentifiers)
{
    struct Case {
        const char* name;
        bool valid;
    };
    const Case kCases[] = {
        { "Button1", true },
        { "_private", true },
        { "a", true },
        { "", true },
        { "x y", false },
        { "1abc", false },
        { "a-b", false },
        { "a.b", false },
        { "caf\xc3\xa9", false },
        { " a", false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TComponent component(nullptr);
        component.SetName("Before");
        if (c.valid) {
            component.SetName(c.name);
            EXPECT_EQ(component.Name(), c.name);
            continue;
        }
        try {
            component.SetName(c.name);
            ADD_FAILURE() << "no exception";
        } catch (const EComponentError& error) {
            EXPECT_EQ(error.Message(), "'" + std::string(c.name) + "' is not a valid component name");
        }
        EXPECT_EQ(component.Name(), "Before");
    }
}

TEST(TComponent, NamesAreUniqueWithinAnOwnerRegardlessOfCase)
{
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    auto* second = new TComponent(&owner);
    first->SetName("Button1");
    try {
        second->SetName("BUTTON1");
        ADD_FAILURE() << "no exception";
    } catch (const EComponentError& error) {
        EXPECT_EQ(error.Message(), "A component named BUTTON1 already exists");
    }
    EXPECT_EQ(second->Name(), "");
    first->SetName("button1"); // its own name in another case
    EXPECT_EQ(first->Name(), "button1");
    EXPECT_EQ(owner.FindComponent("BuTTon1"), first);
    EXPECT_EQ(owner.FindComponent("Button"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr); // unnamed components are not found by ""

    // Components of different owners (or none) may share a name, but one cannot join an owner that
    // already has its name; it then stays where it was.
    TComponent otherOwner(nullptr);
    auto* stranger = new TComponent(&otherOwner);
    stranger->SetName("Button1");
    EXPECT_THROW(owner.InsertComponent(stranger), EComponentError);
    EXPECT_EQ(stranger->Owner(), &otherOwner);
    EXPECT_EQ(otherOwner.ComponentCount(), 1);
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST(TComponent, LoadedClearsLoading)
{
    TComponent component(nullptr);
    component.SetComponentStateItem(csLoading, true);
    component.SetComponentStateItem(csReading, true);
    component.Loaded();
    EXPECT_EQ(component.ComponentState(), TComponentState { csReading });
}

} // namespace
