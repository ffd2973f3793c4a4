// TProgramDriver, the program run and driven as a user would: a private copy of its folder, private home and
// desktop folders, the program started under Xvfb and openbox, its windows found by title, clicks on the face
// buttons of its main skin, keys and drops, and screenshots of the windows it showed.
#pragma once
#include "tests/display/support/TChildProcess.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TXSession;
struct TTestClipSpec;

// Where a window of the program shows on the screen (root coordinates of its client area).
struct TShownWindow {
    unsigned long Window = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool Found() const { return Window != 0; }
};

// A rectangle of a skin's face, in the window's client coordinates (right and bottom excluded).
struct TFaceRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

class TProgramDriver final {
public:
    // Makes the private folders and the program folder; nothing is started yet.
    TProgramDriver();
    // Stops the program (and everything it started) and removes the private folders.
    ~TProgramDriver();
    TProgramDriver(const TProgramDriver&) = delete;
    TProgramDriver& operator=(const TProgramDriver&) = delete;

    // The private root, and in it the folders the program meets.
    const std::string& Root() const { return FRoot; }
    // The program's own folder (the executable, Profiles/, Skin/, DecoderMode.cfg, LastSettings.ini).
    std::string ProgramFolder() const { return FRoot + "/program"; }
    // The desktop's videos folder (XDG_VIDEOS_DIR): where the outputs land by default.
    std::string VideosFolder() const { return FRoot + "/videos"; }
    // A folder for the test's own sources.
    std::string SourceFolder() const { return FRoot + "/sources"; }
    std::string HomeFolder() const { return FRoot + "/home"; }
    // What the program asked the desktop to open (our xdg-open writes one line per call).
    std::string OpenLog() const;
    // Makes a clip in SourceFolder() (container from the extension: .avi, .mp4, .mkv) and returns its path: a
    // moving picture of `width` x `height` at 10 frames a second, with a tone unless `audio` is false. Throws
    // when it cannot be written.
    std::string MakeClip(const std::string& name, double seconds = 1.0, int width = 160, int height = 120,
        bool audio = true) const;
    // The same from a full description (several streams, other codecs).
    std::string MakeClip(const std::string& name, const TTestClipSpec& spec) const;

    // Leaves only these profiles (file names without ".pf") in the program's Profiles folder, so that each format
    // offers a known one. Before Start.
    void KeepOnlyProfiles(const std::vector<std::string>& names) const;
    // Points the program's power-off at the service on this bus (our mock logind) instead of refusing it.
    void UsePowerOffService(const std::string& busAddress) { FPowerOffBus = busAddress; }
    // Starts the program and waits until its main window ("Tarnwick Pro", after the splash) shows; false
    // (with the program's errors in Errors()) when it does not within `timeout`.
    bool Start(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    TChildProcess& Program() { return *FProgram; }
    // What the program wrote to its error output so far.
    std::string Errors();
    // Closes the main window with its skin close button and waits for the program to end; true when it ended
    // with exit code 0.
    bool Quit(std::chrono::milliseconds timeout = std::chrono::seconds(20));

    TXSession& Session() const { return *FSession; }
    const TShownWindow& MainWindow() const { return FMainWindow; }
    // The viewable window of the program titled exactly `title` (once the main window is known, a window other than
    // it: the stop prompt has the main window's title); Found() is false when there is none.
    TShownWindow FindWindow(const std::string& title) const;
    // Where the X window shows now; Found() is false when it does not.
    TShownWindow Locate(unsigned long window) const;
    // Waits until a window titled `title` shows, keeps a screenshot of it (the first time a title is met) and
    // returns it; Found() is false when none showed in time or the program ended.
    TShownWindow WaitForWindow(const std::string& title, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits until no window titled `title` shows.
    bool WaitWindowGone(const std::string& title, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Every title the program's viewable windows show now (for messages when a wait fails).
    std::vector<std::string> ShownTitles() const;

    // Waits (polling at a short interval, ending early when the program ends) until `done` holds.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));

    // The rectangle of a face button of the main skin ("Go", "Add Files"), read from the program's MainSkin.ini.
    TFaceRect FaceButton(const std::string& name) const;
    // An area of the main skin ("FileList", "OutputProfile"), where the program places a control.
    TFaceRect FaceArea(const std::string& name) const;
    // Clicks the centre of a main-skin face button.
    void ClickFaceButton(const std::string& name);
    // The client area of a dialog in the form skin: its frame, drawn by the program, takes the skin's borders
    // (the form skin's client rectangle).
    TShownWindow ClientOf(const TShownWindow& dialog) const;
    // Clicks a point of a window, in its client coordinates.
    void ClickIn(const TShownWindow& window, int x, int y);
    // Keys as xdotool names them ("F9", "alt+a"), sent to whatever window has the focus.
    void Key(const std::string& keys);
    void Type(const std::string& text);
    // Raises the window and gives it the keyboard, as a click on its title would.
    void Activate(const TShownWindow& window);
    // Drops the files on the main window at a point of its client area, as a file manager does; true when the
    // program took the drop.
    bool DropOnMainWindow(const std::vector<std::string>& paths, int x, int y, std::string* error = nullptr);

    // Keeps a screenshot of the window under build/screenshots/<name>.png.
    void KeepScreenshot(const TShownWindow& window, const std::string& name) const;
    // How many colours a rectangle of a window shows (client coordinates): 1 for a plain background, more where
    // text or a picture is.
    size_t ColoursIn(const TShownWindow& window, const TFaceRect& rect) const;
    // The colour (0x00RRGGBB) of a point of a window, in its client coordinates.
    unsigned PixelIn(const TShownWindow& window, int x, int y) const;

private:
    void MakeProgramFolder();
    void MakeFakeOpener();
    TChildOptions ProgramOptions() const;

    TXSession* FSession = nullptr;
    std::string FRoot;
    std::unique_ptr<TChildProcess> FProgram;
    TShownWindow FMainWindow;
    std::map<std::string, TFaceRect> FFace;
    std::map<std::string, TFaceRect> FAreas;
    // Where the client area of a form-skin window starts inside its frame.
    int FFrameLeft = 0;
    int FFrameTop = 0;
    std::vector<std::string> FScreenshotsTaken;
    std::string FPowerOffBus;
};

// A name for screenshots of this test: "<suite>-<test>-<what>", lower case, no spaces.
std::string ScreenshotName(const std::string& what);
