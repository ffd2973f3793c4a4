// The trash through GIO.
#include "platform/shell/ShellTrash.h"

#include <gio/gio.h>

bool MoveToTrash(const std::string& path, std::string& error)
{
    if (path.empty() || path[0] != '/') {
        error = "Not an absolute path: " + path;
        return false;
    }
    GFile* file = g_file_new_for_path(path.c_str());
    GError* failure = nullptr;
    const bool trashed = g_file_trash(file, nullptr, &failure);
    g_object_unref(file);
    if (!trashed) {
        error = failure ? failure->message : "Unable to move to the trash";
        g_clear_error(&failure);
    }
    return trashed;
}
