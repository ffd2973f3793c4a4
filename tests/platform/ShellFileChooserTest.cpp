// The desktop's file choosers against stand-ins that answer as they do: a mock portal on a private bus (ctest
// runs this program under dbus-run-session with a bus that activates nothing) and small zenity scripts.
#include "platform/shell/ShellFileChooser.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

const char* PrivateBus()
{
    return std::getenv("DBUS_SESSION_BUS_ADDRESS");
}

enum class TPortalMode { Answer, Cancel, Refuse, EndOtherwise, Vanish };

// org.freedesktop.portal.Desktop's FileChooser on the private bus, on a thread of its own: records each call and
// answers as its mode says.
class TMockPortal {
public:
    explicit TMockPortal(TPortalMode mode)
        : FMode(mode)
    {
        FContext = g_main_context_new();
        FLoop = g_main_loop_new(FContext, false);
        g_main_context_push_thread_default(FContext);
        GError* error = nullptr;
        FBus = g_dbus_connection_new_for_address_sync(PrivateBus(),
            static_cast<GDBusConnectionFlags>(
                G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        EXPECT_NE(FBus, nullptr) << (error ? error->message : "");
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.portal.FileChooser'>"
            "<method name='OpenFile'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
            "<arg type='a{sv}' direction='in'/><arg type='o' direction='out'/></method>"
            "<method name='SaveFile'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
            "<arg type='a{sv}' direction='in'/><arg type='o' direction='out'/></method>"
            "</interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable = { &TMockPortal::Call, nullptr, nullptr, {} };
        FObject = g_dbus_connection_register_object(
            FBus, "/org/freedesktop/portal/desktop", node->interfaces[0], &vtable, this, nullptr, &error);
        g_dbus_node_info_unref(node);
        RequestName(true);
        g_main_context_pop_thread_default(FContext);
        FThread = std::thread([this] {
            g_main_context_push_thread_default(FContext);
            g_main_loop_run(FLoop);
            g_main_context_pop_thread_default(FContext);
        });
    }

    ~TMockPortal()
    {
        g_main_loop_quit(FLoop);
        FThread.join();
        g_dbus_connection_unregister_object(FBus, FObject);
        g_dbus_connection_close_sync(FBus, nullptr, nullptr);
        g_object_unref(FBus);
        g_main_loop_unref(FLoop);
        g_main_context_unref(FContext);
    }

    struct TCallRecord {
        std::string Method, Parent, Title, Options;
    };
    std::vector<TCallRecord> Calls() const
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FCalls;
    }
    std::vector<std::string> Uris { "file:///videos/first%20clip.avi", "file:///videos/zweite%20%C3%9Cbung.mkv" };

private:
    void RequestName(bool own)
    {
        GVariant* reply = g_dbus_connection_call_sync(FBus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus", own ? "RequestName" : "ReleaseName",
            own ? g_variant_new("(su)", "org.freedesktop.portal.Desktop", 4u)
                : g_variant_new("(s)", "org.freedesktop.portal.Desktop"),
            G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        EXPECT_NE(reply, nullptr);
        if (reply)
            g_variant_unref(reply);
    }

    static void Call(GDBusConnection* bus, const char* sender, const char*, const char*, const char* method,
        GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data)
    {
        auto* self = static_cast<TMockPortal*>(data);
        const char* parent = nullptr;
        const char* title = nullptr;
        GVariant* options = nullptr;
        g_variant_get(parameters, "(&s&s@a{sv})", &parent, &title, &options);
        gchar* printed = g_variant_print(options, false);
        {
            std::lock_guard<std::mutex> lock(self->FLock);
            self->FCalls.push_back({ method, parent, title, printed });
        }
        g_free(printed);
        const char* token = "none";
        g_variant_lookup(options, "handle_token", "&s", &token);
        std::string name = sender + 1;
        for (char& c : name)
            if (c == '.')
                c = '_';
        const std::string handle = "/org/freedesktop/portal/desktop/request/" + name + "/" + token;
        if (self->FMode == TPortalMode::Refuse) {
            g_variant_unref(options);
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.freedesktop.portal.Error.Failed", "The chooser cannot be shown");
            return;
        }
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", handle.c_str()));
        if (self->FMode == TPortalMode::Vanish) {
            g_variant_unref(options);
            self->RequestName(false);
            return;
        }
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
        guint32 code = self->FMode == TPortalMode::Answer ? 0 : self->FMode == TPortalMode::Cancel ? 1 : 2;
        if (code == 0) {
            GVariantBuilder uris;
            g_variant_builder_init(&uris, G_VARIANT_TYPE_STRING_ARRAY);
            for (const std::string& uri : self->Uris)
                g_variant_builder_add(&uris, "s", uri.c_str());
            g_variant_builder_add(&results, "{sv}", "uris", g_variant_builder_end(&uris));
            // The user switched to the second filter.
            GVariant* filters = g_variant_lookup_value(options, "filters", G_VARIANT_TYPE("a(sa(us))"));
            if (filters && g_variant_n_children(filters) > 1)
                g_variant_builder_add(&results, "{sv}", "current_filter", g_variant_get_child_value(filters, 1));
            if (filters)
                g_variant_unref(filters);
        }
        g_variant_unref(options);
        g_dbus_connection_emit_signal(bus, sender, handle.c_str(), "org.freedesktop.portal.Request", "Response",
            g_variant_new("(u@a{sv})", code, g_variant_builder_end(&results)), nullptr);
    }

    TPortalMode FMode;
    GMainContext* FContext = nullptr;
    GMainLoop* FLoop = nullptr;
    GDBusConnection* FBus = nullptr;
    guint FObject = 0;
    std::thread FThread;
    mutable std::mutex FLock;
    std::vector<TCallRecord> FCalls;
};

// The application's open dialog, as the providers receive it.
TFileChooserRequest AddVideoFiles()
{
    TFileChooserRequest r;
    r.Title = "Add Video Files";
    r.Filters = { { "All Supported Video Files", { "*.avi", "*.mkv" } }, { "AVI Files(*.avi)", { "*.avi" } },
        { "All Files(*.*)", { "*.*" } } };
    r.FilterIndex = 0;
    r.Folder = "/videos";
    r.Multiple = true;
    r.ParentWindow = "x11:1a00004";
    return r;
}

class ZenityScripts : public testing::Test {
protected:
    void SetUp() override
    {
        Folder = std::filesystem::temp_directory_path() / ("tp-zenity-" + std::to_string(getpid()));
        std::filesystem::create_directories(Folder);
        Record = (Folder / "arguments").string();
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    // A stand-in for zenity: records its arguments one a line, then runs `body`.
    std::string Script(const std::string& name, const std::string& body)
    {
        const std::filesystem::path path = Folder / name;
        std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << Record << "'\n"
                            << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    }
    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> lines;
        std::ifstream in(Record);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    std::filesystem::path Folder;
    std::string Record;
};

} // namespace

TEST(CaseInsensitiveGlob, LettersMatchEitherCaseAndAllFilesMatchNamesWithoutADot)
{
    const std::pair<const char*, const char*> cases[] = {
        { "*.avi", "*.[aA][vV][iI]" },
        { "*.mp4", "*.[mM][pP]4" },
        { "*.*", "*" },
        { "*", "*" },
        { "clip?.3gp", "[cC][lL][iI][pP]?.3[gG][pP]" },
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(CaseInsensitiveGlob(in), out) << in;
}

TEST(PortalFileChooser, TheOptionsReachThePortalAndItsAnswerComesBack)
{
    ASSERT_NE(PrivateBus(), nullptr) << "run under dbus-run-session";
    TMockPortal portal(TPortalMode::Answer);
    const TFileChooserResult result = PortalChooseFiles(AddVideoFiles(), PrivateBus());
    ASSERT_EQ(result.Status, TFileChooserStatus::Chosen) << result.Error;
    EXPECT_EQ(result.Paths, (std::vector<std::string> { "/videos/first clip.avi", "/videos/zweite Übung.mkv" }));
    EXPECT_EQ(result.FilterIndex, 1);
    const auto calls = portal.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Method, "OpenFile");
    EXPECT_EQ(calls[0].Parent, "x11:1a00004");
    EXPECT_EQ(calls[0].Title, "Add Video Files");
    const std::string& o = calls[0].Options;
    for (const char* part : { "'multiple': <true>", "'directory': <false>", "'modal': <true>",
             "('All Supported Video Files', [(uint32 0, '*.[aA][vV][iI]'), (0, '*.[mM][kK][vV]')])",
             "('All Files(*.*)', [(0, '*')])", "'current_folder': <b'/videos'>",
             "'current_filter': <('All Supported Video Files'" })
        EXPECT_NE(o.find(part), std::string::npos) << part << " in " << o;

    // A folder: the directory flag, no filters. Saving: SaveFile with the suggested name.
    TFileChooserRequest folder;
    folder.Kind = TFileChooserKind::Folder;
    folder.Title = "Select Directory";
    PortalChooseFiles(folder, PrivateBus());
    TFileChooserRequest save;
    save.Kind = TFileChooserKind::Save;
    save.FileName = "clip.avi";
    save.Folder = "/out";
    PortalChooseFiles(save, PrivateBus());
    const auto more = portal.Calls();
    ASSERT_EQ(more.size(), 3u);
    EXPECT_NE(more[1].Options.find("'directory': <true>"), std::string::npos) << more[1].Options;
    EXPECT_EQ(more[1].Options.find("filters"), std::string::npos) << more[1].Options;
    EXPECT_EQ(more[2].Method, "SaveFile");
    EXPECT_NE(more[2].Options.find("'current_name': <'clip.avi'>"), std::string::npos) << more[2].Options;
}

TEST(PortalFileChooser, ACancelIsTheUsersAnswerAndEveryFailureHandsOver)
{
    ASSERT_NE(PrivateBus(), nullptr) << "run under dbus-run-session";
    struct TCase {
        std::optional<TPortalMode> Mode; // none: no portal on the bus
        TFileChooserStatus Status;
    };
    const TCase cases[] = {
        { TPortalMode::Cancel, TFileChooserStatus::Cancelled },
        { std::nullopt, TFileChooserStatus::Unavailable },
        { TPortalMode::Refuse, TFileChooserStatus::Unavailable },
        { TPortalMode::EndOtherwise, TFileChooserStatus::Unavailable },
        { TPortalMode::Vanish, TFileChooserStatus::Unavailable },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Mode ? int(*c.Mode) : -1);
        std::unique_ptr<TMockPortal> portal;
        if (c.Mode)
            portal = std::make_unique<TMockPortal>(*c.Mode);
        const TFileChooserResult result = PortalChooseFiles(AddVideoFiles(), PrivateBus());
        EXPECT_EQ(result.Status, c.Status);
        EXPECT_TRUE(result.Paths.empty());
        EXPECT_EQ(result.Error.empty(), c.Status != TFileChooserStatus::Unavailable) << result.Error;
    }
    // No bus at all.
    EXPECT_EQ(PortalChooseFiles(AddVideoFiles(), "unix:path=/nonexistent/bus").Status, TFileChooserStatus::Unavailable);
}

TEST_F(ZenityScripts, TheArgumentsCarryTheOptionsAndTheAnswerIsSplit)
{
    const std::string zenity = Script("zenity", "printf '/videos/first clip.avi\\037/videos/zweite Übung.mkv\\n'");
    TFileChooserRequest request = AddVideoFiles();
    request.FilterIndex = 1;
    const TFileChooserResult result = ZenityChooseFiles(request, zenity);
    ASSERT_EQ(result.Status, TFileChooserStatus::Chosen) << result.Error;
    EXPECT_EQ(result.Paths, (std::vector<std::string> { "/videos/first clip.avi", "/videos/zweite Übung.mkv" }));
    EXPECT_EQ(Arguments(),
        (std::vector<std::string> { "--file-selection", "--title=Add Video Files", "--multiple", "--separator=\x1f",
            "--filename=/videos/", "--file-filter=AVI Files(*.avi) | *.[aA][vV][iI]",
            "--file-filter=All Supported Video Files | *.[aA][vV][iI] *.[mM][kK][vV]", "--file-filter=All Files(*.*) | *",
            "--attach=" + std::to_string(0x1a00004) }));

    TFileChooserRequest save;
    save.Kind = TFileChooserKind::Save;
    save.Folder = "/out";
    save.FileName = "clip.avi";
    save.OverwritePrompt = true;
    ZenityChooseFiles(save, zenity);
    EXPECT_EQ(Arguments(),
        (std::vector<std::string> { "--file-selection", "--save", "--confirm-overwrite",
            "--filename=/out/clip.avi" }));
}

TEST_F(ZenityScripts, ExitOneIsACancelAndAnythingElseHandsOver)
{
    struct TCase {
        const char* Body;
        TFileChooserStatus Status;
    };
    const TCase cases[] = {
        { "exit 1", TFileChooserStatus::Cancelled },
        { "kill -9 $$", TFileChooserStatus::Unavailable },
        { "exit 5", TFileChooserStatus::Unavailable },
        { "exit 255", TFileChooserStatus::Unavailable },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Body);
        const TFileChooserResult result = ZenityChooseFiles(AddVideoFiles(), Script("zenity", c.Body));
        EXPECT_EQ(result.Status, c.Status) << result.Error;
        EXPECT_TRUE(result.Paths.empty());
    }
    const TFileChooserResult missing = ZenityChooseFiles(AddVideoFiles(), (Folder / "no-such-zenity").string());
    EXPECT_EQ(missing.Status, TFileChooserStatus::Unavailable);
    EXPECT_NE(missing.Error.find("cannot be started"), std::string::npos) << missing.Error;
}
