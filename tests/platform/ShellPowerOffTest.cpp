// Power-off requests against a mock logind on a private bus: ctest starts this program under dbus-run-session,
// and the system bus address is pointed at that private bus too, so no request can reach the real logind.
#include "platform/shell/ShellPower.h"
#include "platform/win/Windows.h"

#include <cstdlib>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

const char* PrivateBus()
{
    return std::getenv("DBUS_SESSION_BUS_ADDRESS");
}

// Before anything opens a bus: without a private bus there is nothing to test against, and with one the
// "system bus" is that bus.
class PrivateBusEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_NE(PrivateBus(), nullptr) << "run under dbus-run-session";
        setenv("DBUS_SYSTEM_BUS_ADDRESS", PrivateBus(), 1);
    }
};
const auto* const environment = testing::AddGlobalTestEnvironment(new PrivateBusEnvironment);

// org.freedesktop.login1 on the private bus, answering PowerOff from a thread of its own: it records the
// interactive flags and accepts, or refuses as logind does when polkit says no.
class TMockLogind {
public:
    explicit TMockLogind(bool refuse)
        : FRefuse(refuse)
    {
        FContext = g_main_context_new();
        FLoop = g_main_loop_new(FContext, false);
        g_main_context_push_thread_default(FContext);
        GError* error = nullptr;
        FBus = g_dbus_connection_new_for_address_sync(PrivateBus(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        EXPECT_NE(FBus, nullptr) << (error ? error->message : "");
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.login1.Manager'>"
            "<method name='PowerOff'><arg type='b' name='interactive' direction='in'/></method>"
            "</interface></node>", nullptr);
        static const GDBusInterfaceVTable vtable = { &TMockLogind::Call, nullptr, nullptr, {} };
        FObject = g_dbus_connection_register_object(FBus, "/org/freedesktop/login1", node->interfaces[0], &vtable, this, nullptr, &error);
        g_dbus_node_info_unref(node);
        GVariant* owned = g_dbus_connection_call_sync(FBus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "RequestName", g_variant_new("(su)", "org.freedesktop.login1", 4u), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
        EXPECT_NE(owned, nullptr);
        if (owned)
            g_variant_unref(owned);
        g_main_context_pop_thread_default(FContext);
        FThread = std::thread([this] {
            g_main_context_push_thread_default(FContext);
            g_main_loop_run(FLoop);
            g_main_context_pop_thread_default(FContext);
        });
    }

    ~TMockLogind()
    {
        g_main_loop_quit(FLoop);
        FThread.join();
        g_dbus_connection_unregister_object(FBus, FObject);
        g_dbus_connection_close_sync(FBus, nullptr, nullptr);
        g_object_unref(FBus);
        g_main_loop_unref(FLoop);
        g_main_context_unref(FContext);
    }

    std::vector<bool> Calls() const
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FCalls;
    }

private:
    static void Call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* parameters,
        GDBusMethodInvocation* invocation, gpointer self)
    {
        auto* mock = static_cast<TMockLogind*>(self);
        gboolean interactive = false;
        g_variant_get(parameters, "(b)", &interactive);
        {
            std::lock_guard<std::mutex> lock(mock->FLock);
            mock->FCalls.push_back(interactive);
        }
        if (mock->FRefuse || g_strcmp0(method, "PowerOff") != 0)
            g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.AccessDenied", "Interactive authentication required.");
        else
            g_dbus_method_invocation_return_value(invocation, nullptr);
    }

    bool FRefuse;
    GMainContext* FContext = nullptr;
    GMainLoop* FLoop = nullptr;
    GDBusConnection* FBus = nullptr;
    guint FObject = 0;
    std::thread FThread;
    mutable std::mutex FLock;
    std::vector<bool> FCalls;
};

TEST(ShellPowerOff, LogindGetsTheInteractiveRequest)
{
    TMockLogind logind(false);
    std::string error;
    EXPECT_TRUE(LogindPowerOff(PrivateBus(), true, error)) << error;
    EXPECT_TRUE(LogindPowerOff(PrivateBus(), false, error)) << error;
    EXPECT_EQ(logind.Calls(), (std::vector<bool> { true, false }));

    // The program's own path: ExitWindowsEx through the real runner to the (redirected) system bus.
    unsetenv("TP_NO_POWEROFF");
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
    EXPECT_EQ(LastPowerOffError(), "");
    setenv("TP_NO_POWEROFF", "1", 1);
    EXPECT_EQ(logind.Calls(), (std::vector<bool> { true, false, true }));
}

TEST(ShellPowerOff, RefusalsGiveAClearReason)
{
    TMockLogind logind(true);
    std::string error;
    EXPECT_FALSE(LogindPowerOff(PrivateBus(), true, error));
    EXPECT_EQ(error, "The system refused to power off: Interactive authentication required.");

    unsetenv("TP_NO_POWEROFF");
    SetLastError(0);
    EXPECT_FALSE(ExitWindowsEx(EWX_POWEROFF, 0));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(LastPowerOffError(), "The system refused to power off: Interactive authentication required.");
    setenv("TP_NO_POWEROFF", "1", 1);

    // With the guard set nothing is sent at all.
    EXPECT_FALSE(RequestPowerOff(true, error));
    EXPECT_EQ(error, "Power-off is disabled here (TP_NO_POWEROFF is set)");
    EXPECT_EQ(logind.Calls().size(), 2u);
    // Nobody owns the name: the bus's own reason.
    EXPECT_FALSE(LogindPowerOff("unix:path=/nonexistent/bus", true, error));
    EXPECT_EQ(error.rfind("Cannot reach the system bus: ", 0), 0u) << error;
}

// The Windows way of shutting down, step by step, as the program does it after a batch.
bool ShutdownTheWindowsWay()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges;
    LookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, false, &privileges, 0, nullptr, nullptr);
    if (GetLastError() != 0)
        return false;
    return ExitWindowsEx(EWX_SHUTDOWN, 0);
}

TEST(ShellPowerOff, RecorderAndOtherActions)
{
    {
        TPowerOffRecorder recorder;
        SetLastError(5);
        EXPECT_TRUE(ShutdownTheWindowsWay());
        EXPECT_EQ(recorder.Requests(), (std::vector<bool> { true }));
        HANDLE token = nullptr;
        EXPECT_FALSE(OpenProcessToken(nullptr, TOKEN_QUERY, &token));
        LUID luid;
        EXPECT_FALSE(LookupPrivilegeValue(nullptr, "SeDebugPrivilege", &luid));
        EXPECT_EQ(GetLastError(), ERROR_NO_SUCH_PRIVILEGE);
    }
    {
        TPowerOffRecorder recorder(false, "no");
        EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0));
        EXPECT_EQ(LastPowerOffError(), "no");
        EXPECT_EQ(recorder.Requests(), (std::vector<bool> { true }));
    }
    TPowerOffRecorder recorder;
    EXPECT_TRUE(ExitWindowsEx(EWX_POWEROFF, 0));
    for (UINT other : { EWX_LOGOFF, EWX_REBOOT }) {
        EXPECT_FALSE(ExitWindowsEx(other, 0));
        EXPECT_EQ(GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    }
    EXPECT_EQ(recorder.Requests(), (std::vector<bool> { true }));
}

} // namespace
