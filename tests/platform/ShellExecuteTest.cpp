// Opening targets: the commands the shell calls build (argument vectors, never shell text), their results,
// and real openers started from PATH.
#include "platform/shell/ShellExecute.h"
#include "platform/win/Windows.h"
#include "ShellTestSupport.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

using TArgv = std::vector<std::string>;

TEST(ShellExecute, OpensFilesFoldersAndUrlsWithXdgOpen)
{
    TShellTestHome home;
    const std::string file = home.Write(kAwkwardName + ".mp4", "");
    TShellCommandRecorder recorder;

    EXPECT_GT(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL)), 32u);
    EXPECT_GT(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, nullptr, home.Root().c_str(), "", nullptr, SW_SHOW)), 32u);
    SHELLEXECUTEINFO info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;
    info.lpVerb = "Open";
    info.lpFile = "https://example.org/a b?q='x'&y=\"z\"";
    EXPECT_TRUE(ShellExecuteEx(&info));
    EXPECT_GT(reinterpret_cast<uintptr_t>(info.hInstApp), 32u);
    EXPECT_GT(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, "open", "mailto:someone@example.org", nullptr, nullptr, 3)), 32u);
    // A relative name is found in the given folder and the opener starts there.
    EXPECT_GT(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, "explore", (kAwkwardName + ".mp4").c_str(), nullptr, home.Root().c_str(), 1)), 32u);

    const auto commands = recorder.Commands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[0].Argv, (TArgv { "xdg-open", file }));
    EXPECT_EQ(commands[1].Argv, (TArgv { "xdg-open", home.Root() }));
    EXPECT_EQ(commands[2].Argv, (TArgv { "xdg-open", "https://example.org/a b?q='x'&y=\"z\"" }));
    EXPECT_EQ(commands[3].Argv, (TArgv { "xdg-open", "mailto:someone@example.org" }));
    EXPECT_EQ(commands[4].Argv, (TArgv { "xdg-open", kAwkwardName + ".mp4" }));
    EXPECT_EQ(commands[4].Directory, home.Root());
}

TEST(ShellExecute, FailuresStartNothingOrFallBackToGio)
{
    TShellTestHome home;
    const std::string dashed = home.Write("-rf", "");
    TShellCommandRecorder recorder(false);

    const struct {
        const char* verb;
        std::string file;
        const char* parameters;
        uintptr_t result;
        DWORD lastError;
    } cases[] = {
        { "open", home.Root() + "/missing.avi", nullptr, ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND },
        { "open", "", nullptr, ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND },
        { "print", home.Root(), nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION },
        { "open", home.Root(), "--verbose", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION },
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, c.verb, c.file.c_str(), c.parameters, nullptr, 1)), c.result) << c.file;
        EXPECT_EQ(GetLastError(), c.lastError) << c.file;
    }
    EXPECT_TRUE(recorder.Commands().empty());

    // Neither opener succeeds: both were tried, in order, and a name that looks like an option stays a name.
    EXPECT_EQ(ShellOpen("-rf", home.Root()), SE_ERR_NOASSOC);
    const auto commands = recorder.Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Argv, (TArgv { "xdg-open", "./-rf" }));
    EXPECT_EQ(commands[1].Argv, (TArgv { "gio", "open", "./-rf" }));
    EXPECT_EQ(ShellOpen(dashed), SE_ERR_NOASSOC);

    SHELLEXECUTEINFO wrongSize;
    wrongSize.cbSize = 4;
    EXPECT_FALSE(ShellExecuteEx(&wrongSize));
    EXPECT_FALSE(ShellExecuteEx(nullptr));
}

// Real openers: scripts named xdg-open and gio in a folder that is the whole PATH, which write the arguments
// they got, one per line, so the bytes can be compared.
class ShellOpenersTest : public testing::Test {
protected:
    void SetUp() override
    {
        Bin = Home.Root() + "/bin";
        Home.Set("PATH", Bin);
        Home.Set("OPENED", Home.Root() + "/opened");
    }

    void Script(const std::string& name, int exitCode)
    {
        const std::string path = Home.Write(Bin + "/" + name,
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$OPENED\"; done\n"
            "printf 'cwd=%s\\n' \"$(pwd -P)\" >> \"$OPENED\"\nexit " + std::to_string(exitCode) + "\n");
        chmod(path.c_str(), 0755);
    }

    static std::string Here() { return std::filesystem::current_path().string(); }

    TShellTestHome Home;
    std::string Bin;
};

TEST_F(ShellOpenersTest, ArgumentsArriveByteForByte)
{
    const std::string folder = Home.Root() + "/" + kAwkwardName;
    std::filesystem::create_directories(folder);
    const std::string file = Home.Write(folder + "/" + kAwkwardName + ".avi", "");
    Script("xdg-open", 0);
    Script("gio", 0);

    EXPECT_EQ(ShellOpen(file), 0u);
    EXPECT_EQ(ShellOpen(kAwkwardName + ".avi", folder), 0u);
    EXPECT_EQ(Home.Read(Home.Root() + "/opened"),
        file + "\ncwd=" + Here() + "\n" + kAwkwardName + ".avi\ncwd=" + std::filesystem::canonical(folder).string() + "\n");
}

TEST_F(ShellOpenersTest, FailingXdgOpenFallsBackToGioAndMissingOpenersFail)
{
    const std::string file = Home.Write("clip.mp4", "");
    Script("xdg-open", 4);
    Script("gio", 0);
    EXPECT_EQ(ShellOpen(file), 0u);
    EXPECT_EQ(Home.Read(Home.Root() + "/opened"), file + "\ncwd=" + Here() + "\nopen\n" + file + "\ncwd=" + Here() + "\n");

    std::filesystem::remove_all(Bin);
    EXPECT_EQ(ShellOpen(file), SE_ERR_NOASSOC);
    EXPECT_FALSE(RunShellCommand(TShellCommand { {}, {} }));
}

} // namespace
