// The system's dialogs and what the desktop sees of our windows, on a real display (Xvfb under openbox): the
// message box answered with the keyboard and with the mouse, a form's title, icon and class through xprop, and
// the open dialog served by the real desktop portal (with its GTK back end on a private session bus) and by
// zenity, each returning two files whose names hold spaces and non-ASCII letters.
#include "framework/controls/Forms.h"
#include "framework/core/TStrings.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/dialogs/FileDialogProviders.h"
#include "framework/graphics/TIcon.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"
#include "tests/display/support/TXSession.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

TXSession& Session()
{
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    return SharedXSession(options);
}

bool Installed(const std::string& program)
{
    for (const char* folder : { "/usr/bin/", "/usr/libexec/", "/usr/lib/x86_64-linux-gnu/" })
        if (std::filesystem::exists(folder + program))
            return true;
    return false;
}

class DesktopDialogs : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        Backend.SetWindowClass("tarnwickpro", "TarnwickPro");
        ASSERT_TRUE(Backend.Install(Session().DisplayName().c_str(), &error)) << error;
        InitializeForms();
        Application->SetTitle("Tarnwick Pro");
        Form = TCustomForm::Create<TForm>(Application);
        Form->SetBounds(200, 150, 400, 300);
        Form->SetCaption("Übersicht – Tarnwick Pro");
        Form->Show();
        Pump(200ms);
    }
    void TearDown() override
    {
        SetMessageBoxHook(nullptr);
        ResetFileDialogProviders();
        FinalizeForms();
        Backend.Uninstall();
    }
    void Pump(std::chrono::milliseconds slice)
    {
        const auto end = std::chrono::steady_clock::now() + slice;
        do
            Application->ProcessMessages();
        while (std::chrono::steady_clock::now() < end);
    }
    std::string XWindow() const
    {
        const std::string name = NativeWindowExportHandle(Form->Handle());
        return name.rfind("x11:", 0) == 0 ? "0x" + name.substr(4) : "";
    }
    std::string Xprop(const std::vector<std::string>& properties)
    {
        std::vector<std::string> argv { "xprop", "-id", XWindow() };
        argv.insert(argv.end(), properties.begin(), properties.end());
        TChildOptions options = Session().ToolOptions();
        options.CaptureOutput = true;
        return RunTool(argv, options).Output;
    }
    // Runs `drive` (xdotool steps on the dialog) on a thread of its own while this thread shows the dialog.
    std::vector<std::string> OpenTwoFiles(const std::string& folder, const std::function<void()>& drive)
    {
        TOpenDialog dialog(nullptr);
        dialog.SetTitle("Add Video Files");
        dialog.SetFilter("All Supported Video Files|*.avi;*.mkv|All Files(*.*)|*.*");
        dialog.SetInitialDir(folder);
        dialog.SetOptions({ ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing });
        std::thread driver(drive);
        const bool chosen = dialog.Execute();
        driver.join();
        std::vector<std::string> files;
        for (int i = 0; chosen && i < dialog.Files()->Count(); ++i)
            files.push_back(dialog.Files()->Strings(i));
        std::sort(files.begin(), files.end());
        return files;
    }
    // A folder holding the two clips the dialogs choose.
    std::string ClipFolder()
    {
        const std::filesystem::path folder = std::filesystem::temp_directory_path()
            / ("tp-dialogs-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        for (const char* name : { "first clip.avi", "zweite Übung.mkv" })
            std::ofstream(folder / name) << "clip";
        return folder.string();
    }
    // Waits for the chooser named "Add Video Files", then selects every file of its folder and opens them.
    void ChooseAllInDialog()
    {
        TChildOptions options = Session().ToolOptions();
        RunTool({ "xdotool", "search", "--sync", "--name", "Add Video Files", "windowactivate", "--sync" }, options,
            30000ms);
        for (const char* keys : { "ctrl+a", "Return" })
            RunTool({ "xdotool", "key", "--clearmodifiers", keys }, options);
    }

    TSdlBackend Backend;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(DesktopDialogs, TheMessageBoxAnswersTheKeyboardAndTheMouse)
{
    // Keyboard: Tab to the second button, Enter.
    SetMessageBoxHook([&](HWND) {
        Session().Key("Tab");
        Session().Key("Return");
    });
    EXPECT_EQ(Application->MessageBox("All tasks will clear, Are you sure?", "Clear Tasks", MB_YESNO | MB_ICONINFORMATION),
        IDNO);
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
    // Mouse: a click in the middle of the first button.
    SetMessageBoxHook([&](HWND box) {
        Application->ProcessMessages();
        HWND first = nullptr;
        for (HWND h = GetWindow(box, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (GetWindowLongPtr(h, GWLP_ID) == IDYES)
                first = h;
        RECT r;
        GetWindowRect(first, &r);
        Session().MoveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Session().Click();
    });
    EXPECT_EQ(Application->MessageBox("Overwrite?", "Tarnwick Pro", MB_YESNO | MB_ICONQUESTION), IDYES);
}

TEST_F(DesktopDialogs, XpropShowsTheFormsTitleIconAndClass)
{
    TIcon icon;
    ICONINFO info {};
    // A 16x16 icon of one colour, made the way the program's icon file is read.
    HBITMAP colour = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colour);
    RECT all { 0, 0, 16, 16 };
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteDC(dc);
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    Form->Icon()->SetHandle(CreateIconIndirect(&info));
    DeleteObject(colour);
    DeleteObject(mask);
    Pump(200ms);
    const std::string props = Xprop({ "_NET_WM_NAME", "WM_CLASS", "_NET_WM_ICON" });
    EXPECT_NE(props.find("_NET_WM_NAME(UTF8_STRING) = \"Übersicht – Tarnwick Pro\""), std::string::npos) << props;
    EXPECT_NE(props.find("WM_CLASS(STRING) = \"tarnwickpro\", \"TarnwickPro\""), std::string::npos) << props;
    EXPECT_NE(props.find("16 x 16"), std::string::npos) << props;
    // A new caption reaches the desktop too.
    Form->SetCaption("Tarnwick Pro");
    Pump(100ms);
    EXPECT_NE(Xprop({ "_NET_WM_NAME" }).find("\"Tarnwick Pro\""), std::string::npos);
}

TEST_F(DesktopDialogs, ThePortalsChooserReturnsTwoFiles)
{
    if (!Installed("xdg-desktop-portal") || !Installed("xdg-desktop-portal-gtk"))
        GTEST_SKIP() << "xdg-desktop-portal with its GTK back end is not installed";
    // A private session bus that starts the real portal (and its GTK back end) on this display.
    TChildOptions options = Session().ToolOptions();
    options.CaptureOutput = true;
    options.Environment.push_back({ "XDG_CURRENT_DESKTOP", "GNOME" });
    options.Environment.push_back({ "GDK_BACKEND", "x11" });
    options.Environment.push_back({ "GTK_USE_PORTAL", "0" });
    const TToolResult bus = RunTool({ "dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1" }, options);
    std::istringstream lines(bus.Output);
    std::string address, pid;
    std::getline(lines, address);
    std::getline(lines, pid);
    ASSERT_FALSE(address.empty()) << bus.Output;
    std::vector<std::unique_ptr<TFileDialogProvider>> providers;
    providers.push_back(NewPortalFileDialogProvider(address));
    SetFileDialogProviders(std::move(providers));
    const std::string folder = ClipFolder();
    const auto files = OpenTwoFiles(folder, [&] { ChooseAllInDialog(); });
    kill(pid_t(std::stol(pid)), SIGTERM);
    EXPECT_EQ(files, (std::vector<std::string> { folder + "/first clip.avi", folder + "/zweite Übung.mkv" }));
    std::filesystem::remove_all(folder);
}

TEST_F(DesktopDialogs, ZenityReturnsTwoFiles)
{
    if (!Installed("zenity"))
        GTEST_SKIP() << "zenity is not installed";
    std::vector<std::unique_ptr<TFileDialogProvider>> providers;
    providers.push_back(NewZenityFileDialogProvider());
    SetFileDialogProviders(std::move(providers));
    // zenity draws on the display this process names.
    setenv("DISPLAY", Session().DisplayName().c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    const std::string folder = ClipFolder();
    const auto files = OpenTwoFiles(folder, [&] { ChooseAllInDialog(); });
    unsetenv("DISPLAY");
    EXPECT_EQ(files, (std::vector<std::string> { folder + "/first clip.avi", folder + "/zweite Übung.mkv" }));
    std::filesystem::remove_all(folder);
}
