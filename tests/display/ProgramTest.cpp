// The program itself on a display and without one: it opens its window on the display it is given, says in
// one line that it has none, and ends with a clear message, not a hang, when its X server goes away.
#include "tests/display/support/TXSession.h"

#include <gtest/gtest.h>

#ifndef TP_PROGRAM_PATH
#error "TP_PROGRAM_PATH must name the program"
#endif

namespace {

using namespace std::chrono_literals;

size_t LineCount(const std::string& text)
{
    return size_t(std::count(text.begin(), text.end(), '\n')) + (!text.empty() && text.back() != '\n');
}

TEST(Program, WithoutADisplayItSaysSoInOneLineAndExitsWith1)
{
    TChildOptions options;
    options.Unset = { "DISPLAY", "WAYLAND_DISPLAY" };
    TToolResult result = RunTool({ TP_PROGRAM_PATH }, options, 60s);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(LineCount(result.Errors), 1u) << result.Errors;
    EXPECT_NE(result.Errors.find("display"), std::string::npos) << result.Errors;
}

TEST(Program, LosingItsXServerEndsItWithAClearMessage)
{
    for (TWindowManager manager : { TWindowManager::Bare, TWindowManager::Openbox }) {
        SCOPED_TRACE(manager == TWindowManager::Bare ? "bare" : "openbox");
        // A server of its own: this test kills it.
        TXSessionOptions sessionOptions;
        sessionOptions.WindowManager = manager;
        TXSession session(sessionOptions);
        TChildOptions options = session.ToolOptions();
        options.CaptureErrors = true;
        TChildProcess program({ TP_PROGRAM_PATH }, options);
        ASSERT_TRUE(session.WaitForMappedWindow(program)) << "the program showed no window: " << program.Errors();
        session.KillServer();
        ASSERT_TRUE(program.WaitFinished(10s)) << "the program hangs without its display: " << program.Errors();
        EXPECT_NE(program.ExitCode(), 0);
        EXPECT_LT(program.ExitCode(), 128) << "it ended by a signal, not by itself";
        EXPECT_NE(program.Errors().find("display"), std::string::npos) << program.Errors();
        EXPECT_LE(LineCount(program.Errors()), 2u) << program.Errors();
    }
}

} // namespace
