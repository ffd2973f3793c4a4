// The change notifier's worker: inotify watches over a folder or a subtree, an eventfd for new options and the
// end, and delivery to the main thread.
#include "platform/shell/TShellChangeNotifier.h"

#include "framework/core/TThread.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A rename's two halves are queued one after the other; a reader that woke between them waits this long for
// the second, so the pair stays one change.
constexpr int MovePartnerWaitMs = 50;

uint32_t MaskOf(DWORD filter, bool watchSubTree)
{
    uint32_t mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME))
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY))
        mask |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    // New folders of the subtree must be seen to be watched, whatever the filter.
    if (watchSubTree)
        mask |= IN_CREATE | IN_MOVED_TO;
    return mask;
}

// Whether one event is a change the filter asks for.
bool Qualifies(const inotify_event& event, DWORD filter)
{
    if (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF))
        return true;
    if (event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
        return filter & ((event.mask & IN_ISDIR) ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME);
    if (event.mask & IN_ATTRIB)
        return filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY);
    if (event.mask & (IN_MODIFY | IN_CLOSE_WRITE))
        return filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    return false;
}

// One armed watch: the inotify descriptor and the folders its watch descriptors stand for.
struct TWatch {
    int Fd = -1;
    uint32_t Mask = 0;
    bool SubTree = false;
    DWORD Filter = 0;
    std::map<int, std::string> Folders;

    void Close()
    {
        if (Fd >= 0)
            close(Fd);
        Fd = -1;
        Folders.clear();
    }

    // Watches `folder` and, for a subtree, every folder below it. Folders that cannot be watched (no access,
    // or the watch limit reached) are left out: the rest is still watched.
    void Add(const std::string& folder)
    {
        const int wd = inotify_add_watch(Fd, folder.c_str(), Mask);
        if (wd < 0)
            return;
        Folders[wd] = folder;
        if (!SubTree)
            return;
        if (DIR* dir = opendir(folder.c_str())) {
            std::vector<std::string> children;
            while (const dirent* entry = readdir(dir)) {
                if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                    continue;
                if (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN)
                    children.push_back(folder + "/" + entry->d_name);
            }
            closedir(dir);
            for (const std::string& child : children) {
                struct stat info;
                if (lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                    Add(child);
            }
        }
    }
};

bool IsEmptyFolder(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return true;
    int entries = 0;
    while (readdir(dir) && entries <= 2)
        ++entries;
    closedir(dir);
    return entries <= 2;
}

// Arms a new watch on the calling thread; Fd stays -1 when the folder cannot be watched.
TWatch Arm(const std::string& directory, bool subTree, DWORD filter)
{
    TWatch watch;
    watch.SubTree = subTree;
    watch.Filter = filter;
    watch.Mask = MaskOf(filter, subTree);
    watch.Fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.Fd < 0)
        return watch;
    std::string folder = directory;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    watch.Add(folder);
    if (watch.Folders.empty())
        watch.Close();
    return watch;
}

} // namespace

struct TShellChangeNotifier::TState {
    std::mutex Lock;
    // Set by the owner: the notifier is gone, so neither the worker nor a queued call may use it.
    bool Alive = true;
    bool Pending = false;
    TChangeEvent OnChange;
    // New options armed by the owner, for the worker to take over.
    bool Rearmed = false;
    TWatch Next;
    // Whether the newest options could be watched.
    bool Armed = false;
    int WakeFd = -1;

    void Wake()
    {
        const uint64_t one = 1;
        while (write(WakeFd, &one, sizeof one) < 0 && errno == EINTR) { }
    }
};

namespace {

using TState = TShellChangeNotifier::TState;

void Deliver(const std::shared_ptr<TState>& state)
{
    {
        std::lock_guard<std::mutex> lock(state->Lock);
        if (!state->Alive || state->Pending)
            return;
        state->Pending = true;
    }
    TThread::Queue(nullptr, [state] {
        TShellChangeNotifier::TChangeEvent onChange;
        {
            std::lock_guard<std::mutex> lock(state->Lock);
            state->Pending = false;
            if (!state->Alive)
                return;
            onChange = state->OnChange;
        }
        if (onChange)
            onChange();
    });
}

// Reads every queued event; true when any qualifies. Watches new folders of a subtree. Unpaired "moved from"
// halves are left in `unpaired` (by cookie) for the caller to wait for.
bool Drain(TWatch& watch, std::set<uint32_t>& unpaired)
{
    alignas(inotify_event) char buffer[64 * 1024];
    bool changed = false;
    for (;;) {
        const ssize_t length = read(watch.Fd, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += sizeof(inotify_event) + event->len;
            if (event->mask & IN_IGNORED) {
                watch.Folders.erase(event->wd);
                continue;
            }
            if (event->mask & IN_MOVED_FROM)
                unpaired.insert(event->cookie);
            if (event->mask & IN_MOVED_TO)
                unpaired.erase(event->cookie);
            if (watch.SubTree && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len) {
                auto folder = watch.Folders.find(event->wd);
                if (folder != watch.Folders.end()) {
                    const std::string added = folder->second + "/" + event->name;
                    watch.Add(added);
                    // What was made in the new folder before its watch began is a change nobody reported.
                    changed = changed || !IsEmptyFolder(added);
                }
            }
            changed = changed || Qualifies(*event, watch.Filter);
        }
    }
    return changed;
}

void Work(std::shared_ptr<TState> state, TWatch watch)
{
    for (;;) {
        pollfd fds[2] = { { state->WakeFd, POLLIN, 0 }, { watch.Fd, POLLIN, 0 } };
        // Without a watch only the wake-up counts (a negative descriptor is skipped by poll).
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            while (read(state->WakeFd, &count, sizeof count) < 0 && errno == EINTR) { }
            std::lock_guard<std::mutex> lock(state->Lock);
            if (!state->Alive)
                break;
            if (state->Rearmed) {
                watch.Close();
                watch = std::move(state->Next);
                state->Next = TWatch {};
                state->Rearmed = false;
            }
            continue;
        }
        if (fds[1].revents & (POLLIN | POLLERR | POLLHUP)) {
            std::set<uint32_t> unpaired;
            bool changed = Drain(watch, unpaired);
            if (!unpaired.empty()) {
                pollfd partner { watch.Fd, POLLIN, 0 };
                if (poll(&partner, 1, MovePartnerWaitMs) > 0)
                    changed = Drain(watch, unpaired) || changed;
            }
            if (changed)
                Deliver(state);
        }
    }
    watch.Close();
}

} // namespace

TShellChangeNotifier::TShellChangeNotifier(std::string directory, bool watchSubTree, DWORD filter, TChangeEvent onChange)
    : FState(std::make_shared<TState>())
{
    FState->OnChange = std::move(onChange);
    FState->WakeFd = eventfd(0, EFD_CLOEXEC);
    // Without its wake-up the worker could never be stopped: then nothing is watched at all.
    if (FState->WakeFd < 0)
        return;
    TWatch watch = Arm(directory, watchSubTree, filter);
    FState->Armed = watch.Fd >= 0;
    FWorker = std::thread(Work, FState, std::move(watch));
}

TShellChangeNotifier::~TShellChangeNotifier()
{
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Alive = false;
        FState->OnChange = nullptr;
        FState->Next.Close();
    }
    if (!FWorker.joinable())
        return;
    FState->Wake();
    // The worker never waits for the main thread, so this returns as soon as it has woken.
    FWorker.join();
    close(FState->WakeFd);
}

void TShellChangeNotifier::SetDirectoryOptions(std::string directory, bool watchSubTree, DWORD filter)
{
    if (!FWorker.joinable())
        return;
    TWatch watch = Arm(directory, watchSubTree, filter);
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Next.Close();
        FState->Armed = watch.Fd >= 0;
        FState->Next = std::move(watch);
        FState->Rearmed = true;
    }
    FState->Wake();
}

void TShellChangeNotifier::SetOnChange(TChangeEvent onChange)
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    FState->OnChange = std::move(onChange);
}

bool TShellChangeNotifier::Watching() const
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    return FState->Armed;
}
