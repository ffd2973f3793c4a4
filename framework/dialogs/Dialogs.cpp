// TOpenDialog, TSaveDialog and SelectDirectory: the properties become a request for the providers, and their
// answer becomes Files, FileName and FilterIndex.
#include "framework/dialogs/Dialogs.h"

#include "framework/controls/Forms.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "framework/dialogs/FileDialogProviders.h"

#include <algorithm>

namespace {

std::string Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// "Videos|*.avi;*.mpg|All|*.*": a description and its masks, pair after pair. A description without masks is
// left out.
std::vector<TFileChooserFilter> ParseFilter(std::string_view filter)
{
    std::vector<TFileChooserFilter> filters;
    if (filter.empty())
        return filters;
    const std::vector<std::string> parts = Split(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileChooserFilter f;
        f.Name = parts[i];
        for (const std::string& mask : Split(parts[i + 1], ';'))
            if (std::string m = Trimmed(mask); !m.empty())
                f.Patterns.push_back(m);
        if (!f.Patterns.empty())
            filters.push_back(std::move(f));
    }
    return filters;
}

HWND DialogOwner()
{
    if (Screen && Screen->ActiveCustomForm() && Screen->ActiveCustomForm()->HandleAllocated())
        return Screen->ActiveCustomForm()->Handle();
    return Application ? Application->Handle() : nullptr;
}

// Shows the dialog; true when the user chose. When no provider could show one, a message box says why.
bool ChooseThrough(const TFileChooserRequest& request, TFileChooserResult& result)
{
    result = RunFileDialog(request, DialogOwner());
    if (result.Status == TFileChooserStatus::Unavailable && Application)
        Application->MessageBox("No file dialog could be shown.\n\n" + result.Error,
            request.Title.empty() ? Application->Title() : request.Title, MB_OK | MB_ICONSTOP);
    return result.Status == TFileChooserStatus::Chosen && !result.Paths.empty();
}

} // namespace

TOpenDialog::TOpenDialog(TComponent* owner)
    : TComponent(owner)
    , FFiles(std::make_unique<TStringList>())
{
}

TOpenDialog::~TOpenDialog() = default;

TStrings* TOpenDialog::Files() const
{
    return FFiles.get();
}

TFileChooserKind TOpenDialog::Kind() const
{
    return TFileChooserKind::Open;
}

TFileChooserKind TSaveDialog::Kind() const
{
    return TFileChooserKind::Save;
}

TFileChooserRequest TOpenDialog::Request() const
{
    TFileChooserRequest request;
    request.Kind = Kind();
    const bool save = request.Kind == TFileChooserKind::Save;
    request.Title = !FTitle.empty() ? FTitle : save ? "Save As" : "Open";
    request.Filters = ParseFilter(FFilter);
    request.FilterIndex = request.Filters.empty()
        ? -1
        : std::clamp(FFilterIndex - 1, 0, int(request.Filters.size()) - 1);
    request.Folder = !FInitialDir.empty() ? FInitialDir : ExtractFileDir(FFileName);
    if (save)
        request.FileName = ExtractFileName(FFileName);
    request.Multiple = !save && FOptions.Contains(ofAllowMultiSelect);
    request.OverwritePrompt = save && FOptions.Contains(ofOverwritePrompt);
    return request;
}

bool TOpenDialog::Execute()
{
    const TFileChooserRequest request = Request();
    TFileChooserResult result;
    if (!ChooseThrough(request, result))
        return false;
    FFiles->Clear();
    for (std::string& path : result.Paths) {
        if (request.Kind == TFileChooserKind::Save && !FDefaultExt.empty() && ExtractFileExt(path).empty())
            path += "." + FDefaultExt;
        FFiles->Add(path);
    }
    FFileName = result.Paths.front();
    if (result.FilterIndex >= 0)
        FFilterIndex = result.FilterIndex + 1;
    const std::string ext = ExtractFileExt(FFileName);
    if (!FDefaultExt.empty() && !SameText(ext, "." + FDefaultExt))
        FOptions.Include(ofExtensionDifferent);
    else
        FOptions.Exclude(ofExtensionDifferent);
    return true;
}

bool SelectDirectory(std::string_view caption, std::string_view root, std::string& directory)
{
    TFileChooserRequest request;
    request.Kind = TFileChooserKind::Folder;
    request.Title = caption;
    request.Folder = root;
    TFileChooserResult result;
    if (!ChooseThrough(request, result))
        return false;
    directory = result.Paths.front();
    return true;
}
