#include "tests/display/TMockLogind.h"

#include "tests/display/support/PrivateBus.h"

#include <gio/gio.h>
#include <mutex>
#include <thread>

// The service runs its own main loop on a thread of its own, so it answers while the test waits on the program.
struct TMockLogindState {
    GMainContext* Context = nullptr;
    GMainLoop* Loop = nullptr;
    GDBusConnection* Bus = nullptr;
    guint Object = 0;
    std::thread Thread;
    mutable std::mutex Lock;
    std::vector<bool> Requests;
};

namespace {

void PowerOffCalled(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
    GDBusMethodInvocation* invocation, gpointer data)
{
    auto* state = static_cast<TMockLogindState*>(data);
    gboolean interactive = false;
    g_variant_get(parameters, "(b)", &interactive);
    {
        std::lock_guard lock(state->Lock);
        state->Requests.push_back(interactive);
    }
    // Refused as logind refuses a user polkit says no to: the machine under the test stays up in any case.
    g_dbus_method_invocation_return_dbus_error(
        invocation, "org.freedesktop.DBus.Error.AccessDenied", "Interactive authentication required.");
}

} // namespace

TMockLogind::TMockLogind()
    : FState(std::make_unique<TMockLogindState>())
{
    StartBus();
    if (FAddress.empty())
        return;
    TMockLogindState& state = *FState;
    state.Context = g_main_context_new();
    state.Loop = g_main_loop_new(state.Context, false);
    g_main_context_push_thread_default(state.Context);
    GError* error = nullptr;
    state.Bus = g_dbus_connection_new_for_address_sync(FAddress.c_str(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    if (state.Bus) {
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml("<node><interface name='org.freedesktop.login1.Manager'>"
                                                           "<method name='PowerOff'><arg type='b' name='interactive' "
                                                           "direction='in'/></method></interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable = { &PowerOffCalled, nullptr, nullptr, {} };
        state.Object = g_dbus_connection_register_object(
            state.Bus, "/org/freedesktop/login1", node->interfaces[0], &vtable, &state, nullptr, &error);
        g_dbus_node_info_unref(node);
        GVariant* owned = g_dbus_connection_call_sync(state.Bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus", "RequestName", g_variant_new("(su)", "org.freedesktop.login1", 4u),
            G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
        if (owned)
            g_variant_unref(owned);
    }
    if (error) {
        FError = error->message;
        g_error_free(error);
        FAddress.clear();
    }
    g_main_context_pop_thread_default(state.Context);
    state.Thread = std::thread([&state] {
        g_main_context_push_thread_default(state.Context);
        g_main_loop_run(state.Loop);
        g_main_context_pop_thread_default(state.Context);
    });
}

TMockLogind::~TMockLogind()
{
    TMockLogindState& state = *FState;
    if (state.Loop) {
        g_main_loop_quit(state.Loop);
        state.Thread.join();
    }
    if (state.Bus) {
        if (state.Object)
            g_dbus_connection_unregister_object(state.Bus, state.Object);
        g_dbus_connection_close_sync(state.Bus, nullptr, nullptr);
        g_object_unref(state.Bus);
    }
    if (state.Loop)
        g_main_loop_unref(state.Loop);
    if (state.Context)
        g_main_context_unref(state.Context);
    // The daemon goes with its process group.
    FDaemon.reset();
}

// A bus of the session kind serves as the system bus here: the program only calls a name on it.
void TMockLogind::StartBus()
{
    TChildOptions options;
    // It complains of the file-descriptor limit it may not raise; nothing the tests need to see.
    options.CaptureErrors = true;
    FDaemon = StartPrivateBus(options, FAddress, FError);
}

std::vector<bool> TMockLogind::Requests() const
{
    std::lock_guard lock(FState->Lock);
    return FState->Requests;
}
