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
#include "tests/display/DesktopSession.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

using namespace DesktopSession;

class DesktopDialogs : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        Backend.SetWindowClass("tarnwickpro", "TarnwickPro");
        ASSERT_TRUE(Backend.Install(DisplayName().c_str(), &error)) << error;
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
    std::string Props(const std::vector<std::string>& properties) { return Xprop(XWindow(), properties); }
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
    void ChooseAllInDialog() { KeysToWindow("Add Video Files", { "ctrl+a", "Return" }); }

    TSdlBackend Backend;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(DesktopDialogs, TheMessageBoxAnswersTheKeyboardAndTheMouse)
{
    // Keyboard: Tab to the second button, Enter.
    SetMessageBoxHook([&](HWND) {
        Key("Tab");
        Key("Return");
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
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
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
    // Letters beyond ASCII reach the desktop whole, and the older WM_NAME gets what Latin-1 can hold.
    Form->SetCaption("Übersicht – Tarnwick Pro");
    Pump(100ms);
    const std::string props = Props({ "_NET_WM_NAME", "WM_NAME", "WM_CLASS", "_NET_WM_ICON" });
    EXPECT_NE(props.find("_NET_WM_NAME(UTF8_STRING) = \"Übersicht – Tarnwick Pro\""), std::string::npos) << props;
    EXPECT_NE(props.find("WM_NAME(STRING) = \"Übersicht ? Tarnwick Pro\""), std::string::npos) << props;
    EXPECT_NE(props.find("WM_CLASS(STRING) = \"tarnwickpro\", \"TarnwickPro\""), std::string::npos) << props;
    EXPECT_NE(props.find("16 x 16"), std::string::npos) << props;
    // A new caption reaches the desktop too.
    Form->SetCaption("Tarnwick Pro");
    Pump(100ms);
    EXPECT_NE(Props({ "_NET_WM_NAME" }).find("\"Tarnwick Pro\""), std::string::npos);
}

TEST_F(DesktopDialogs, ThePortalsChooserReturnsTwoFiles)
{
    if (!Installed("xdg-desktop-portal") || !Installed("xdg-desktop-portal-gtk"))
        GTEST_SKIP() << "xdg-desktop-portal with its GTK back end is not installed";
    // A private session bus that starts the real portal (and its GTK back end) on this display. This portal
    // version opens its chooser on the recently used files whatever folder it is given, so the two clips are
    // made the only recent files of a data folder of the test's own.
    const std::string folder = ClipFolder();
    const std::filesystem::path data = std::filesystem::path(folder + "-data");
    std::filesystem::create_directories(data);
    {
        std::ofstream xbel(data / "recently-used.xbel");
        xbel << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
        for (const char* name : { "first%20clip.avi", "zweite%20%C3%9Cbung.mkv" })
            xbel << "<bookmark href=\"file://" << folder << "/" << name
                 << "\" added=\"2026-01-01T00:00:00Z\" modified=\"2026-01-01T00:00:00Z\" "
                    "visited=\"2026-01-01T00:00:00Z\"><info><metadata owner=\"http://freedesktop.org\">"
                    "<mime:mime-type type=\"video/x-msvideo\"/><bookmark:applications><bookmark:application "
                    "name=\"tarnwickpro\" exec=\"tarnwickpro\" modified=\"2026-01-01T00:00:00Z\" count=\"1\"/>"
                    "</bookmark:applications></metadata></info></bookmark>\n";
        xbel << "</xbel>\n";
    }
    std::vector<std::string> files;
    {
        const TPrivateSessionBus bus({ { "XDG_CURRENT_DESKTOP", "GNOME" }, { "GDK_BACKEND", "x11" },
            { "GTK_USE_PORTAL", "0" }, { "XDG_DATA_HOME", data.string() } });
        ASSERT_FALSE(bus.Address().empty()) << bus.Error();
        std::vector<std::unique_ptr<TFileDialogProvider>> providers;
        providers.push_back(NewPortalFileDialogProvider(bus.Address()));
        SetFileDialogProviders(std::move(providers));
        files = OpenTwoFiles(folder, [&] { ChooseAllInDialog(); });
    }
    std::filesystem::remove_all(data);
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
    setenv("DISPLAY", DisplayName().c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    const std::string folder = ClipFolder();
    const auto files = OpenTwoFiles(folder, [&] { ChooseAllInDialog(); });
    unsetenv("DISPLAY");
    EXPECT_EQ(files, (std::vector<std::string> { folder + "/first clip.avi", folder + "/zweite Übung.mkv" }));
    std::filesystem::remove_all(folder);
}
