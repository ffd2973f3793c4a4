// The desktop's file choosers: the portal's request and response over GDBus on a private connection and main
// context of the calling thread, and zenity through posix_spawnp with a pipe for its answer.
#include "platform/shell/ShellFileChooser.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gio/gio.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::string CaseInsensitiveGlob(const std::string& pattern)
{
    if (pattern == "*.*")
        return "*";
    std::string out;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u) && u < 0x80) {
            out += '[';
            out += char(std::tolower(u));
            out += char(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
// The portal answers the call itself at once (the dialog's answer comes later as a signal); a portal that does not
// answer within this time counts as missing.
constexpr int kCallTimeoutMs = 30000;

TFileChooserResult Unavailable(std::string error)
{
    TFileChooserResult result;
    result.Error = std::move(error);
    return result;
}

std::string TakeError(GError*& error)
{
    std::string text = "no reason given";
    if (error) {
        g_dbus_error_strip_remote_error(error);
        text = error->message;
        g_clear_error(&error);
    }
    return text;
}

GVariant* FilterVariant(const TFileChooserFilter& filter)
{
    GVariantBuilder patterns;
    g_variant_builder_init(&patterns, G_VARIANT_TYPE("a(us)"));
    for (const std::string& pattern : filter.Patterns)
        g_variant_builder_add(&patterns, "(us)", 0u, CaseInsensitiveGlob(pattern).c_str());
    return g_variant_new("(sa(us))", filter.Name.c_str(), &patterns);
}

GVariant* Options(const TFileChooserRequest& request, const std::string& token)
{
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(true));
    if (request.Kind != TFileChooserKind::Save) {
        g_variant_builder_add(&options, "{sv}", "multiple", g_variant_new_boolean(request.Multiple));
        g_variant_builder_add(
            &options, "{sv}", "directory", g_variant_new_boolean(request.Kind == TFileChooserKind::Folder));
    }
    if (request.Kind != TFileChooserKind::Folder && !request.Filters.empty()) {
        GVariantBuilder filters;
        g_variant_builder_init(&filters, G_VARIANT_TYPE("a(sa(us))"));
        for (const TFileChooserFilter& filter : request.Filters)
            g_variant_builder_add_value(&filters, FilterVariant(filter));
        g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&filters));
        if (request.FilterIndex >= 0 && request.FilterIndex < int(request.Filters.size()))
            g_variant_builder_add(
                &options, "{sv}", "current_filter", FilterVariant(request.Filters[size_t(request.FilterIndex)]));
    }
    if (!request.Folder.empty())
        g_variant_builder_add(&options, "{sv}", "current_folder", g_variant_new_bytestring(request.Folder.c_str()));
    if (request.Kind == TFileChooserKind::Save && !request.FileName.empty())
        g_variant_builder_add(&options, "{sv}", "current_name", g_variant_new_string(request.FileName.c_str()));
    return g_variant_builder_end(&options);
}

// What the waiting thread learns from the signals.
struct TPortalWait {
    bool Done = false;
    bool Vanished = false;
    guint32 Code = 2;
    GVariant* Results = nullptr;
};

void OnResponse(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters, gpointer data)
{
    auto* wait = static_cast<TPortalWait*>(data);
    if (wait->Done || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})")))
        return;
    g_variant_get(parameters, "(u@a{sv})", &wait->Code, &wait->Results);
    wait->Done = true;
}

void OnOwnerChanged(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters, gpointer data)
{
    auto* wait = static_cast<TPortalWait*>(data);
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    g_variant_get(parameters, "(&s&s&s)", &name, &oldOwner, &newOwner);
    if (!wait->Done && newOwner && !*newOwner) {
        wait->Vanished = true;
        wait->Done = true;
    }
}

std::string RequestPath(GDBusConnection* bus, const std::string& token)
{
    std::string sender = g_dbus_connection_get_unique_name(bus) ? g_dbus_connection_get_unique_name(bus) : "";
    if (!sender.empty() && sender[0] == ':')
        sender.erase(0, 1);
    for (char& c : sender)
        if (c == '.')
            c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

void ReadResults(const TFileChooserRequest& request, GVariant* results, TFileChooserResult& out)
{
    if (!results)
        return;
    GVariant* uris = g_variant_lookup_value(results, "uris", G_VARIANT_TYPE_STRING_ARRAY);
    if (uris) {
        gsize count = 0;
        const gchar** list = g_variant_get_strv(uris, &count);
        for (gsize i = 0; i < count; ++i)
            if (gchar* path = g_filename_from_uri(list[i], nullptr, nullptr)) {
                out.Paths.emplace_back(path);
                g_free(path);
            }
        g_free(list);
        g_variant_unref(uris);
    }
    GVariant* filter = g_variant_lookup_value(results, "current_filter", G_VARIANT_TYPE("(sa(us))"));
    if (filter) {
        const char* name = nullptr;
        g_variant_get_child(filter, 0, "&s", &name);
        for (size_t i = 0; name && i < request.Filters.size(); ++i)
            if (request.Filters[i].Name == name) {
                out.FilterIndex = int(i);
                break;
            }
        g_variant_unref(filter);
    }
}

class TThreadContext {
public:
    TThreadContext()
        : Context(g_main_context_new())
    {
        g_main_context_push_thread_default(Context);
    }
    ~TThreadContext()
    {
        // Callbacks still queued for this context are dropped with it.
        while (g_main_context_iteration(Context, false)) { }
        g_main_context_pop_thread_default(Context);
        g_main_context_unref(Context);
    }
    GMainContext* Context;
};

} // namespace

TFileChooserResult PortalChooseFiles(const TFileChooserRequest& request, const std::string& busAddress)
{
    TThreadContext context;
    GError* error = nullptr;
    std::string address = busAddress;
    if (address.empty()) {
        gchar* session = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, &error);
        if (!session)
            return Unavailable("There is no session bus: " + TakeError(error));
        address = session;
        g_free(session);
    }
    // A connection of our own, so that its signals come to this thread's context and nowhere else.
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(address.c_str(),
        static_cast<GDBusConnectionFlags>(
            G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    if (!bus)
        return Unavailable("Cannot reach the session bus: " + TakeError(error));

    static std::atomic<unsigned> counter { 0 };
    const std::string token = "tarnwick" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    std::string handle = RequestPath(bus, token);
    TPortalWait wait;
    // Subscribed before the call, so that an answer that comes at once is not missed.
    guint response = g_dbus_connection_signal_subscribe(bus, nullptr, "org.freedesktop.portal.Request", "Response",
        handle.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &wait, nullptr);
    const guint owner = g_dbus_connection_signal_subscribe(bus, "org.freedesktop.DBus", "org.freedesktop.DBus",
        "NameOwnerChanged", "/org/freedesktop/DBus", kPortalName, G_DBUS_SIGNAL_FLAGS_NONE, OnOwnerChanged, &wait,
        nullptr);
    const bool save = request.Kind == TFileChooserKind::Save;
    GVariant* reply = g_dbus_connection_call_sync(bus, kPortalName, kPortalPath, "org.freedesktop.portal.FileChooser",
        save ? "SaveFile" : "OpenFile",
        g_variant_new("(ss@a{sv})", request.ParentWindow.c_str(), request.Title.c_str(), Options(request, token)),
        G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
    TFileChooserResult result;
    if (!reply) {
        result = Unavailable("The desktop's file chooser is not available: " + TakeError(error));
    } else {
        const char* returned = nullptr;
        g_variant_get(reply, "(&o)", &returned);
        // Older portals name the request their own way: listen there instead.
        if (returned && handle != returned) {
            g_dbus_connection_signal_unsubscribe(bus, response);
            handle = returned;
            response = g_dbus_connection_signal_subscribe(bus, nullptr, "org.freedesktop.portal.Request", "Response",
                handle.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &wait, nullptr);
        }
        g_variant_unref(reply);
        while (!wait.Done && !g_dbus_connection_is_closed(bus))
            g_main_context_iteration(context.Context, true);
        if (!wait.Done || wait.Vanished) {
            result = Unavailable("The desktop's file chooser went away before it answered");
        } else if (wait.Code == 0) {
            result.Status = TFileChooserStatus::Chosen;
            ReadResults(request, wait.Results, result);
            if (result.Paths.empty())
                result.Status = TFileChooserStatus::Cancelled;
        } else if (wait.Code == 1) {
            result.Status = TFileChooserStatus::Cancelled;
        } else {
            result = Unavailable("The desktop's file chooser ended without an answer");
        }
    }
    if (wait.Results)
        g_variant_unref(wait.Results);
    g_dbus_connection_signal_unsubscribe(bus, response);
    g_dbus_connection_signal_unsubscribe(bus, owner);
    g_dbus_connection_close_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
    return result;
}

namespace {

// zenity's answer lists several files with this between them: a character no file name holds in practice.
constexpr const char* kZenitySeparator = "\x1f";

std::vector<std::string> ZenityArguments(const TFileChooserRequest& request, const std::string& program)
{
    std::vector<std::string> args { program, "--file-selection" };
    if (!request.Title.empty())
        args.push_back("--title=" + request.Title);
    if (request.Kind == TFileChooserKind::Folder)
        args.push_back("--directory");
    if (request.Kind == TFileChooserKind::Save) {
        args.push_back("--save");
        if (request.OverwritePrompt)
            args.push_back("--confirm-overwrite");
    }
    if (request.Kind == TFileChooserKind::Open && request.Multiple) {
        args.push_back("--multiple");
        args.push_back(std::string("--separator=") + kZenitySeparator);
    }
    std::string start = request.Folder;
    if (!start.empty() && start.back() != '/')
        start += '/';
    if (request.Kind == TFileChooserKind::Save)
        start += request.FileName;
    if (!start.empty())
        args.push_back("--filename=" + start);
    if (request.Kind != TFileChooserKind::Folder) {
        // zenity starts with its first filter: the chosen one goes first, the others keep their order.
        std::vector<size_t> order;
        const size_t first = request.FilterIndex >= 0 ? size_t(request.FilterIndex) : request.Filters.size();
        if (first < request.Filters.size())
            order.push_back(first);
        for (size_t i = 0; i < request.Filters.size(); ++i)
            if (i != first)
                order.push_back(i);
        for (size_t i : order) {
            std::string filter = "--file-filter=" + request.Filters[i].Name + " |";
            for (const std::string& pattern : request.Filters[i].Patterns)
                filter += " " + CaseInsensitiveGlob(pattern);
            args.push_back(filter);
        }
    }
    // zenity reads a window id as a number; "x11:<hex>" is the display's name for our window.
    if (request.ParentWindow.rfind("x11:", 0) == 0) {
        const unsigned long id = std::strtoul(request.ParentWindow.c_str() + 4, nullptr, 16);
        if (id)
            args.push_back("--attach=" + std::to_string(id));
    }
    return args;
}

} // namespace

TFileChooserResult ZenityChooseFiles(const TFileChooserRequest& request, const std::string& program)
{
    const std::vector<std::string> args = ZenityArguments(request, program);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return Unavailable(std::string("Cannot start zenity: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // GTK's warnings are not the program's output.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return Unavailable(program + " cannot be started: " + std::strerror(spawned));
    }
    std::string answer;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n > 0)
            answer.append(buffer, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }

    TFileChooserResult result;
    if (WIFSIGNALED(status))
        return Unavailable(program + " was ended by signal " + std::to_string(WTERMSIG(status)));
    if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 1))
        return Unavailable(program + " failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")");
    if (WEXITSTATUS(status) == 1) {
        result.Status = TFileChooserStatus::Cancelled;
        return result;
    }
    if (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    size_t start = 0;
    while (start <= answer.size()) {
        size_t end = answer.find(kZenitySeparator, start);
        if (end == std::string::npos)
            end = answer.size();
        if (end > start)
            result.Paths.push_back(answer.substr(start, end - start));
        start = end + 1;
    }
    result.Status = result.Paths.empty() ? TFileChooserStatus::Cancelled : TFileChooserStatus::Chosen;
    return result;
}
