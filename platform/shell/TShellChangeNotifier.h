// TShellChangeNotifier: watches a folder (optionally its whole subtree) with inotify on a thread of its own and
// calls an event on the main thread when it changes.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

// What counts as a change (FindFirstChangeNotification's filter bits).
constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x001;  // a file created, deleted or renamed
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x002;   // the same for a folder
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x004; // permissions, owner, times set
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x008;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x010;
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY = 0x100;

// Each notifier has one worker thread, which sleeps in poll() on the inotify descriptor and an eventfd
// until something happens: a change, new options, or the end. A batch of changes read together gives one
// call of OnChange, and a rename (its "moved from" and "moved to" halves) is one change. OnChange runs on the
// main thread through the framework's queue (TThread::Queue), so the main thread must pump it
// (CheckSynchronize, which every message loop does); at most one call is pending at a time, so changes that
// come while it waits are covered by that call.
//
// The watch is set up before the constructor (or SetDirectoryOptions) returns, so a change made afterwards
// is never missed. A folder that cannot be watched (missing, no access) gives no event and no error. When the
// folder itself is deleted or moved, that is one last change.
//
// Destroying the notifier wakes its worker at once and joins it; no OnChange runs after the destructor has
// returned, even one already queued, and the destructor may run inside OnChange itself.
class TShellChangeNotifier final {
public:
    using TChangeEvent = std::function<void()>;

    TShellChangeNotifier(std::string directory, bool watchSubTree, DWORD filter, TChangeEvent onChange);
    ~TShellChangeNotifier();
    TShellChangeNotifier(const TShellChangeNotifier&) = delete;
    TShellChangeNotifier& operator=(const TShellChangeNotifier&) = delete;

    // Watches another folder, or the same with other options, from now on.
    void SetDirectoryOptions(std::string directory, bool watchSubTree, DWORD filter);
    void SetOnChange(TChangeEvent onChange);
    // Whether the folder is being watched (false for one that could not be).
    bool Watching() const;

    struct TState;

private:
    std::shared_ptr<TState> FState;
    std::thread FWorker;
};
