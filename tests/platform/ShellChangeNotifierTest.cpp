// Change notification on real temporary trees: one event per create and rename on the main thread, filters,
// subtrees, missing and re-armed folders, and stopping at once (also from inside the event).
#include "platform/shell/TShellChangeNotifier.h"
#include "framework/core/TThread.h"
#include "ShellTestSupport.h"

#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace {

constexpr DWORD kNames = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// Serves the main thread's queue until `done` holds or a generous deadline passes. Never a fixed sleep: it
// returns as soon as the awaited call has run.
bool PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        CheckSynchronize(100);
    }
    return true;
}

class ShellChangeNotifierTest : public testing::Test {
protected:
    void SetUp() override
    {
        Folder = Home.Root() + "/" + kAwkwardName;
        std::filesystem::create_directories(Folder + "/sub");
    }

    // Counts calls, and checks each runs on the main thread.
    TShellChangeNotifier::TChangeEvent Counter()
    {
        return [this] {
            EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
            ++Count;
        };
    }

    TShellTestHome Home;
    std::string Folder;
    int Count = 0;
};

TEST_F(ShellChangeNotifierTest, CreateAndRenameGiveOneNotificationEach)
{
    TShellChangeNotifier notifier(Folder, false, kNames, Counter());
    ASSERT_TRUE(notifier.Watching());

    Home.Write(Folder + "/" + kAwkwardName + ".mp4", "data");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 1; }));
    std::filesystem::rename(Folder + "/" + kAwkwardName + ".mp4", Folder + "/renamed 'x'.mp4");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 2; }));
    std::filesystem::create_directory(Folder + "/new folder");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 3; }));
    // Changes reach the worker in order, so had the create or the rename given a second call, it would have
    // run before the folder's.
    EXPECT_EQ(Count, 3);
}

TEST_F(ShellChangeNotifierTest, FiltersAndSubtrees)
{
    const std::string file = Home.Write(Folder + "/clip.avi", "x");
    // Without the subtree, and without attribute changes in the filter, neither of the first two counts.
    TShellChangeNotifier top(Folder, false, kNames, Counter());
    Home.Write(Folder + "/sub/inner.mp4", "x");
    chmod(file.c_str(), 0600);
    Home.Write(Folder + "/sentinel", "");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 1; }));
    EXPECT_EQ(Count, 1);

    int deep = 0;
    TShellChangeNotifier subtree(Folder, true, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES, [&] { ++deep; });
    Home.Write(Folder + "/sub/second.mp4", "x");
    ASSERT_TRUE(PumpUntil([&] { return deep >= 1; }));
    chmod(file.c_str(), 0644);
    ASSERT_TRUE(PumpUntil([&] { return deep >= 2; }));
    // A folder made after the watch began is watched too.
    std::filesystem::create_directories(Folder + "/later");
    Home.Write(Folder + "/later/third.mp4", "x");
    ASSERT_TRUE(PumpUntil([&] { return deep >= 3; }));
}

TEST_F(ShellChangeNotifierTest, MissingFolderIsQuietUntilReArmed)
{
    TShellChangeNotifier notifier(Folder + "/missing", true, kNames, Counter());
    EXPECT_FALSE(notifier.Watching());
    notifier.SetDirectoryOptions(Folder + "/sub", false, kNames);
    EXPECT_TRUE(notifier.Watching());
    Home.Write(Folder + "/ignored now", "");
    Home.Write(Folder + "/sub/seen", "");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 1; }));
    EXPECT_EQ(Count, 1);

    // The watched folder itself going away is one last change.
    std::filesystem::remove_all(Folder + "/sub");
    ASSERT_TRUE(PumpUntil([&] { return Count >= 2; }));
}

TEST_F(ShellChangeNotifierTest, StoppingIsImmediateAndFinal)
{
    // An idle worker sleeps without a time limit, so only the wake-up can end it in time.
    auto started = std::chrono::steady_clock::now();
    {
        TShellChangeNotifier idle(Folder, true, kNames, Counter());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    // A change whose call may already be queued: once the notifier is gone the call never runs.
    {
        TShellChangeNotifier notifier(Folder, false, kNames, Counter());
        Home.Write(Folder + "/late", "");
    }
    for (int i = 0; i < 5; ++i)
        CheckSynchronize(10);
    EXPECT_EQ(Count, 0);

    // Freeing the notifier from inside its own event.
    auto owned = std::make_unique<TShellChangeNotifier>(Folder, false, kNames, nullptr);
    owned->SetOnChange([&] {
        ++Count;
        owned.reset();
    });
    Home.Write(Folder + "/freed", "");
    ASSERT_TRUE(PumpUntil([&] { return owned == nullptr; }));
    EXPECT_EQ(Count, 1);
}

} // namespace
