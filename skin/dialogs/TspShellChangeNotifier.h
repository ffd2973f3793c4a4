// TspShellChangeNotifier: a component that watches one folder (optionally its subtree) and calls OnChange on
// the main thread when it changes. The shell tree and list own one while their AutoRefresh is on.
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TSet.h"

#include <functional>
#include <memory>
#include <string>

class TShellChangeNotifier;

enum TNotifyFilter : uint8_t { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange };
using TNotifyFilters = TSet<TNotifyFilter, nfSecurityChange>;

// While OnChange is unassigned the notifier is idle and no thread runs. Assigning it starts a worker over the
// folder; changing the folder, the filters or the subtree flag re-arms the worker; deleting the notifier stops
// it, and no OnChange runs after the notifier is gone (not even one the worker had already handed over).
// OnChange runs through the main thread's synchronised calls, so the main thread must serve them (every
// message loop does).
class TspCustomShellChangeNotifier : public TComponent {
    using inherited = TComponent;

public:
    using TThreadMethod = std::function<void()>;

    explicit TspCustomShellChangeNotifier(TComponent* owner);
    ~TspCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool value);
    // The folder watched; "/" at first. Linux names differ by case, so only an identical text is the same.
    const std::string& Root() const { return FRoot; }
    void SetRoot(const std::string& value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    void SetOnChange(TThreadMethod value);

    // Whether a worker runs (OnChange assigned) and whether it watches its folder (false for a folder that
    // cannot be watched: it then gives no events, and no error).
    bool Active() const { return FThread != nullptr; }
    bool Watching() const;

    // The system's filter bits of a set: the first five at their bit positions, security 0x100.
    static uint32_t FilterBits(TNotifyFilters filters);

protected:
    void Start();
    void Change();

private:
    TNotifyFilters FFilters { nfFileNameChange, nfDirNameChange };
    bool FWatchSubTree = true;
    std::string FRoot = "/";
    TThreadMethod FOnChange;
    std::unique_ptr<TShellChangeNotifier> FThread;
};

class TspShellChangeNotifier : public TspCustomShellChangeNotifier {
public:
    using TspCustomShellChangeNotifier::TspCustomShellChangeNotifier;
};
