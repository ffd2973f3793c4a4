// The services of the application windows that the engine calls, replaceable so the engine runs without windows.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TVideoInfoReader;

// The application's title, which captions the engine's message boxes.
constexpr std::string_view ApplicationTitle = "Tarnwick Pro";

// Shows a modal message box and returns the identifier of the button that closed it. `flags` are the system's
// style flags (16: OK button with the error icon, 64: the information icon).
using TMessageBoxHandler = std::function<int32_t(const std::string& text, const std::string& caption, int32_t flags)>;

// Shows the message box through the installed handler. Without one (tests, start-up before the windows
// exist) the text goes to the standard error stream and the result is 1, the OK button.
int32_t ShowMessageBox(const std::string& text, const std::string& caption, int32_t flags);
// Installs the handler the application's windows provide; an empty handler restores the default.
void SetMessageBoxHandler(TMessageBoxHandler handler);

// The folder of the running program, with its trailing '/': where the Profiles folder and DecoderMode.cfg
// live. It is ExeFolder() unless SetProgramFolder chose another, which tests do so they never write next to
// the test executable.
std::string ProgramFolder();
// An empty folder restores ExeFolder(); a folder without a trailing '/' gets one.
void SetProgramFolder(std::string_view folder);

// Processes the application's pending window messages and returns at once when there are none. Without a handler
// (tests, start-up) it runs the calls that threads handed to the main thread, when called there.
void ProcessMessages();
// Installs the application's message processing; an empty handler restores the default.
void SetProcessMessagesHandler(std::function<void()> handler);

// Sets the screen cursor (0 is the default cursor, -11 the hourglass, -19 the arrow with hourglass). Without a
// handler nothing is shown.
void SetScreenCursor(int32_t cursor);
void SetScreenCursorHandler(std::function<void(int32_t cursor)> handler);

// Shows one cursor for its lifetime: the constructor sets it, the destructor sets the default cursor, whatever
// was shown before.
class MyCursor final {
public:
    explicit MyCursor(int32_t cursor) { SetScreenCursor(cursor); }
    ~MyCursor() { SetScreenCursor(0); }
    MyCursor(const MyCursor&) = delete;
    MyCursor& operator=(const MyCursor&) = delete;
};

// Asks the user which video and audio stream of a source with several to convert (the modal stream-selection
// window), and stores the chosen item indices: -1 for a list left without a selection.
using TChooseStreamsHandler
    = std::function<void(const TVideoInfoReader& info, int32_t& videoStreamIndex, int32_t& audioStreamIndex)>;

// Runs the installed handler. Without one (no windows) the answer is what the window offers before the user
// changes anything: the first stream of each kind, or -1 for a kind the source lacks.
void ChooseStreams(const TVideoInfoReader& info, int32_t& videoStreamIndex, int32_t& audioStreamIndex);
void SetChooseStreamsHandler(TChooseStreamsHandler handler);
