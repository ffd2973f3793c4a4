// Choosing files and folders through the desktop: the XDG desktop portal's file chooser over D-Bus, and zenity
// run as a child process. Both wait for the user, so callers run them off the UI thread.
#pragma once
#include <string>
#include <vector>

// One entry of a dialog's type list: its name and its glob patterns ("*.avi").
struct TFileChooserFilter {
    std::string Name;
    std::vector<std::string> Patterns;
};

enum class TFileChooserKind { Open, Save, Folder };

struct TFileChooserRequest {
    TFileChooserKind Kind = TFileChooserKind::Open;
    std::string Title;
    std::vector<TFileChooserFilter> Filters;
    // The filter shown first, counted from 0; -1 for none.
    int FilterIndex = 0;
    // The folder the dialog starts in (empty: the chooser's own choice) and, for saving, the suggested name.
    std::string Folder;
    std::string FileName;
    bool Multiple = false;
    // Saving over an existing file asks first.
    bool OverwritePrompt = false;
    // The window the dialog belongs to, as the display names it ("x11:<hex id>"), or empty.
    std::string ParentWindow;
};

enum class TFileChooserStatus {
    Chosen, // Paths holds the choice
    Cancelled, // the user closed the dialog without a choice
    Unavailable, // no dialog could be shown (missing, failed to start, failed); Error says why
};

struct TFileChooserResult {
    TFileChooserStatus Status = TFileChooserStatus::Unavailable;
    std::vector<std::string> Paths;
    // The filter in use when the user chose, counted from 0; -1 when the chooser does not tell.
    int FilterIndex = -1;
    std::string Error;
};

// Asks org.freedesktop.portal.Desktop's FileChooser on the session bus (or on the bus at `busAddress`) and waits
// for its answer. Unavailable when there is no bus or portal, when the portal refuses the call or disappears,
// and when it ends the dialog without an answer.
TFileChooserResult PortalChooseFiles(const TFileChooserRequest& request, const std::string& busAddress = {});

// Runs zenity's file selection (`program` is looked up in PATH) with an argument vector and reads its answer.
// Exit status 1 is a cancel; a program that cannot start, is killed or fails otherwise is Unavailable.
TFileChooserResult ZenityChooseFiles(const TFileChooserRequest& request, const std::string& program = "zenity");

// A glob that matches letters in either case ("*.avi" -> "*.[aA][vV][iI]"), so that files named by cameras
// and older systems in capitals are offered too. "*.*" becomes "*", which also matches names without a dot.
std::string CaseInsensitiveGlob(const std::string& pattern);
