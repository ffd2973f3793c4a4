#include "tests/display/TProgramDriver.h"

#include "codecs/testclips/TTestClip.h"
#include "tests/display/ScreenshotPng.h"
#include "tests/display/support/TXSession.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
// After the test framework: Xlib's macros (Bool, None ...) would break its templates.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#ifndef TP_PROGRAM_DIR
#error "TP_PROGRAM_DIR must name the built program's folder"
#endif
#ifndef TP_SCREENSHOT_DIR
#error "TP_SCREENSHOT_DIR must name the folder the screenshots go to"
#endif

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The main window's caption; its other windows have titles of their own.
constexpr const char* MainTitle = "Tarnwick Pro";

std::string MakeRoot()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tp-program-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a private folder for the program");
    return pattern;
}

// The program's windows come and go while the tests look at them: a window destroyed between listing it and
// asking for its attributes is no error of the test's (Xlib's default handler would end the test program).
int IgnoreVanishedWindows(Display*, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadMatch)
        return 0;
    char text[256];
    XGetErrorText(error->display, error->error_code, text, sizeof text);
    ADD_FAILURE() << "X error: " << text;
    return 0;
}

// Files the program only reads are linked (the executable is large); what it writes is copied, so the build's
// own program folder never changes. Linking falls back to copying across file systems.
void LinkOrCopy(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error)
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void LinkTree(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        if (entry.is_directory())
            LinkTree(entry.path(), to / entry.path().filename());
        else
            LinkOrCopy(entry.path(), to / entry.path().filename());
    }
}

std::string Trim(const std::string& text)
{
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") + 1 - start);
}

// What the display tests need of a skin's INI: the "skinrect" of each object (the main skin's face buttons on its
// 785 x 521 face), its areas ("FileList:12,96,529,404" lines of SKINAREAS) and where the client area lies in the
// form's frame (FORMINFO's clientrect).
struct TSkinPlaces {
    std::map<std::string, TFaceRect> Objects;
    std::map<std::string, TFaceRect> Areas;
    TFaceRect Client;
};

bool ReadRect(const std::string& text, TFaceRect& rect)
{
    return std::sscanf(text.c_str(), "%d,%d,%d,%d", &rect.Left, &rect.Top, &rect.Right, &rect.Bottom) == 4;
}

TSkinPlaces ReadSkinPlaces(const std::string& iniPath)
{
    std::ifstream file(iniPath);
    if (!file)
        throw std::runtime_error("cannot read the skin " + iniPath);
    TSkinPlaces places;
    std::string section;
    std::string line;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = line.substr(equals + 1);
        TFaceRect rect;
        if (section == "SKINAREAS") {
            const size_t colon = value.find(':');
            if (colon != std::string::npos && ReadRect(value.substr(colon + 1), rect))
                places.Areas[value.substr(0, colon)] = rect;
        } else if (section == "FORMINFO" && key == "clientrect") {
            ReadRect(value, places.Client);
        } else if (key == "skinrect" && ReadRect(value, rect)) {
            places.Objects[section] = rect;
        }
    }
    return places;
}

// The window's title: _NET_WM_NAME (UTF-8) where set, else WM_NAME.
std::string WindowTitle(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data)
            == Success
        && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty())
            return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// Every viewable window under `parent` that has a title (clients, also inside a window manager's frames).
void TitledWindows(Display* display, Window parent, std::vector<std::pair<Window, std::string>>& found)
{
    Window root = None;
    Window parentReturn = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentReturn, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        std::string title = WindowTitle(display, children[i]);
        if (!title.empty())
            found.emplace_back(children[i], std::move(title));
        else
            TitledWindows(display, children[i], found);
    }
    if (children)
        XFree(children);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = std::isalnum(static_cast<unsigned char>(c)) ? char(std::tolower(static_cast<unsigned char>(c))) : '-';
    return text;
}

} // namespace

std::string ScreenshotName(const std::string& what)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string prefix = test ? std::string(test->test_suite_name()) + "-" + test->name() + "-" : "";
    return Lower("program-" + prefix + what);
}

TProgramDriver::TProgramDriver()
    : FRoot(MakeRoot())
{
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    FSession = &SharedXSession(options);
    XSetErrorHandler(&IgnoreVanishedWindows);
    for (const std::string& folder : { HomeFolder(), VideosFolder(), SourceFolder(), FRoot + "/bin" })
        fs::create_directories(folder);
    MakeProgramFolder();
    MakeFakeOpener();
    TSkinPlaces mainSkin = ReadSkinPlaces(ProgramFolder() + "/Skin/TarnwickPro/MainSkin.ini");
    FFace = std::move(mainSkin.Objects);
    FAreas = std::move(mainSkin.Areas);
    const TSkinPlaces formSkin = ReadSkinPlaces(ProgramFolder() + "/Skin/TarnwickPro/Skin.ini");
    FFrameLeft = formSkin.Client.Left;
    FFrameTop = formSkin.Client.Top;
}

TProgramDriver::~TProgramDriver()
{
    if (FProgram)
        FProgram->Stop();
    FProgram.reset();
    // A test may have made folders read-only; they must still go.
    std::error_code error;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(FRoot, error))
        if (entry.is_directory(error))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(FRoot, error);
}

void TProgramDriver::MakeProgramFolder()
{
    const fs::path from = TP_PROGRAM_DIR;
    const fs::path to = ProgramFolder();
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        // The build's own settings and logs stay behind: every test starts as on a first run.
        if (name == "LastSettings.ini" || name == "Logs")
            continue;
        if (name == "Profiles" || name == "DecoderMode.cfg")
            fs::copy(entry.path(), to / name, fs::copy_options::recursive);
        else if (entry.is_directory())
            LinkTree(entry.path(), to / name);
        else
            LinkOrCopy(entry.path(), to / name);
    }
}

// Opening a folder or file with the desktop's programs goes through xdg-open; ours only writes down what it got.
void TProgramDriver::MakeFakeOpener()
{
    const std::string path = FRoot + "/bin/xdg-open";
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << FRoot << "/open.log'\n";
    chmod(path.c_str(), 0755);
}

void TProgramDriver::KeepOnlyProfiles(const std::vector<std::string>& names) const
{
    for (const fs::directory_entry& entry : fs::directory_iterator(ProgramFolder() + "/Profiles")) {
        const std::string name = entry.path().stem().string();
        if (std::find(names.begin(), names.end(), name) == names.end())
            fs::remove(entry.path());
    }
}

std::string TProgramDriver::OpenLog() const
{
    std::ifstream file(FRoot + "/open.log");
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string TProgramDriver::MakeClip(const std::string& name, double seconds, int width, int height, bool audio) const
{
    const std::string extension = fs::path(name).extension().string();
    TTestClipSpec spec;
    spec.Container = extension == ".avi" ? "avi" : extension == ".mkv" ? "matroska" : "mp4";
    spec.Duration = seconds;
    TTestVideoStream video;
    video.Width = width;
    video.Height = height;
    video.Moving = true;
    spec.Video = { video };
    if (audio) {
        TTestAudioStream tone;
        tone.Codec = spec.Container == "avi" ? "libmp3lame" : "aac";
        spec.Audio = { tone };
    }
    return MakeClip(name, spec);
}

std::string TProgramDriver::MakeClip(const std::string& name, const TTestClipSpec& spec) const
{
    const std::string path = SourceFolder() + "/" + name;
    std::string error;
    if (!MakeTestClip(path, spec, &error))
        throw std::runtime_error("cannot make the clip " + path + ": " + error);
    return path;
}

TChildOptions TProgramDriver::ProgramOptions() const
{
    TChildOptions options = FSession->ToolOptions();
    options.CaptureErrors = true;
    const char* path = std::getenv("PATH");
    options.Environment.insert(options.Environment.end(),
        {
            { "HOME", HomeFolder() },
            { "XDG_CONFIG_HOME", HomeFolder() + "/.config" },
            { "XDG_DATA_HOME", HomeFolder() + "/.local/share" },
            { "XDG_CACHE_HOME", HomeFolder() + "/.cache" },
            { "XDG_VIDEOS_DIR", VideosFolder() },
            { "XDG_DOCUMENTS_DIR", HomeFolder() + "/Documents" },
            { "PATH", FRoot + "/bin:" + (path ? path : "/usr/bin:/bin") },
            // No desktop bus: the file dialogs fall back to zenity, nothing is started on a bus of the user's,
            // and no power-off can reach the machine's logind.
            { "DBUS_SESSION_BUS_ADDRESS", "unix:path=" + FRoot + "/no-session-bus" },
            { "DBUS_SYSTEM_BUS_ADDRESS",
                FPowerOffBus.empty() ? "unix:path=" + FRoot + "/no-system-bus" : FPowerOffBus },
            { "GDK_BACKEND", "x11" },
            { "NO_AT_BRIDGE", "1" },
        });
    // Without a service of the test's own, power-off is refused before anything is sent.
    if (FPowerOffBus.empty())
        options.Environment.push_back({ "TP_NO_POWEROFF", "1" });
    else
        options.Unset.push_back("TP_NO_POWEROFF");
    return options;
}

bool TProgramDriver::Start(std::chrono::milliseconds timeout)
{
    FProgram = std::make_unique<TChildProcess>(std::vector<std::string> { ProgramFolder() + "/tarnwickpro" },
        ProgramOptions());
    // A program started again may get the X window number its last run had.
    FMainWindow = {};
    FMainWindow = WaitForWindow(MainTitle, timeout);
    return FMainWindow.Found();
}

std::string TProgramDriver::Errors()
{
    if (FProgram)
        FProgram->Finished();
    return FProgram ? FProgram->Errors() : std::string();
}

bool TProgramDriver::Quit(std::chrono::milliseconds timeout)
{
    ClickFaceButton("closebutton");
    return FProgram->WaitFinished(timeout) && FProgram->ExitCode() == 0;
}

TShownWindow TProgramDriver::Locate(unsigned long window) const
{
    Display* display = FSession->Connection();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return {};
    TShownWindow shown { window, 0, 0, attributes.width, attributes.height };
    Window child = None;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &shown.Left, &shown.Top, &child);
    return shown;
}

TShownWindow TProgramDriver::FindWindow(const std::string& title) const
{
    Display* display = FSession->Connection();
    std::vector<std::pair<Window, std::string>> windows;
    TitledWindows(display, DefaultRootWindow(display), windows);
    for (const auto& [window, name] : windows) {
        if (name != title || (FMainWindow.Found() && window == FMainWindow.Window))
            continue;
        TShownWindow shown = Locate(window);
        if (shown.Found())
            return shown;
    }
    return {};
}

std::vector<std::string> TProgramDriver::ShownTitles() const
{
    Display* display = FSession->Connection();
    std::vector<std::pair<Window, std::string>> windows;
    TitledWindows(display, DefaultRootWindow(display), windows);
    std::vector<std::string> titles;
    for (const auto& window : windows)
        titles.push_back(window.second);
    return titles;
}

bool TProgramDriver::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || (FProgram && FProgram->Finished()))
            return done();
        // The program's end wakes the wait at once; otherwise it looks again in a moment.
        pollfd ready { FProgram ? FProgram->ExitFd() : -1, POLLIN, 0 };
        poll(&ready, 1, int(std::min<long long>(left, 40)));
    }
}

TShownWindow TProgramDriver::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout)
{
    TShownWindow shown;
    WaitUntil([&] {
        shown = FindWindow(title);
        return shown.Found() && shown.Width > 1;
    }, timeout);
    if (shown.Found() && std::find(FScreenshotsTaken.begin(), FScreenshotsTaken.end(), title) == FScreenshotsTaken.end()) {
        FScreenshotsTaken.push_back(title);
        // Its first paint may still be on its way: the screenshot waits until the window shows something.
        WaitUntil([&] { return PixelIn(shown, shown.Width / 2, shown.Height / 2) != 0; }, 2s);
        KeepScreenshot(shown, ScreenshotName(title));
    }
    return shown;
}

bool TProgramDriver::WaitWindowGone(const std::string& title, std::chrono::milliseconds timeout)
{
    // The program ending takes its windows with it, so an early end counts as gone too.
    return WaitUntil([&] { return !FindWindow(title).Found(); }, timeout) || !FindWindow(title).Found();
}

TFaceRect TProgramDriver::FaceButton(const std::string& name) const
{
    const auto found = FFace.find(name);
    if (found == FFace.end())
        throw std::runtime_error("the main skin has no object \"" + name + "\"");
    return found->second;
}

TFaceRect TProgramDriver::FaceArea(const std::string& name) const
{
    const auto found = FAreas.find(name);
    if (found == FAreas.end())
        throw std::runtime_error("the main skin has no area \"" + name + "\"");
    return found->second;
}

void TProgramDriver::ClickFaceButton(const std::string& name)
{
    const TFaceRect rect = FaceButton(name);
    // The window manager may have moved it since it showed.
    FMainWindow = Locate(FMainWindow.Window);
    ClickIn(FMainWindow, (rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
}

TShownWindow TProgramDriver::ClientOf(const TShownWindow& dialog) const
{
    TShownWindow client = dialog;
    client.Left += FFrameLeft;
    client.Top += FFrameTop;
    client.Width -= 2 * FFrameLeft;
    client.Height -= FFrameTop + FFrameLeft;
    return client;
}

void TProgramDriver::ClickIn(const TShownWindow& window, int x, int y)
{
    FSession->MoveTo(window.Left + x, window.Top + y);
    FSession->Click();
}

void TProgramDriver::Key(const std::string& keys)
{
    FSession->Key(keys);
}

void TProgramDriver::Type(const std::string& text)
{
    FSession->Type(text);
}

void TProgramDriver::Activate(const TShownWindow& window)
{
    RunTool({ "xdotool", "windowactivate", "--sync", std::to_string(window.Window) }, FSession->ToolOptions());
}

bool TProgramDriver::DropOnMainWindow(const std::vector<std::string>& paths, int x, int y, std::string* error)
{
    std::unique_ptr<TChildProcess> drop
        = FSession->StartDrop(paths, FMainWindow.Left + x, FMainWindow.Top + y);
    const bool finished = drop->WaitFinished(20s);
    if (error)
        *error = finished ? drop->Errors() : "the drop did not finish";
    return finished && drop->ExitCode() == 0;
}

void TProgramDriver::KeepScreenshot(const TShownWindow& window, const std::string& name) const
{
    const TScreenImage image = FSession->Grab(window.Left, window.Top, window.Width, window.Height);
    fs::create_directories(TP_SCREENSHOT_DIR);
    WritePng(std::string(TP_SCREENSHOT_DIR) + "/" + name + ".png", image.Width, image.Height, image.Pixels);
}

size_t TProgramDriver::ColoursIn(const TShownWindow& window, const TFaceRect& rect) const
{
    const TScreenImage image = FSession->Grab(
        window.Left + rect.Left, window.Top + rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    std::vector<uint32_t> colours = image.Pixels;
    std::sort(colours.begin(), colours.end());
    return size_t(std::unique(colours.begin(), colours.end()) - colours.begin());
}

unsigned TProgramDriver::PixelIn(const TShownWindow& window, int x, int y) const
{
    return FSession->Grab(window.Left + x, window.Top + y, 1, 1).Pixels.at(0);
}
