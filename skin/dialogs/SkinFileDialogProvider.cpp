#include "skin/dialogs/SkinFileDialogProvider.h"

#include "framework/core/TStrings.h"
#include "platform/shell/ShellFolders.h"
#include "skin/dialogs/SkinDirectoryDialog.h"
#include "skin/dialogs/SkinFileDialogs.h"

namespace {

// "Videos|*.avi;*.mp4|All files|*.*" from the request's filters.
std::string FilterText(const std::vector<TFileChooserFilter>& filters)
{
    std::string text;
    for (const TFileChooserFilter& filter : filters) {
        std::string patterns;
        for (const std::string& pattern : filter.Patterns)
            patterns += (patterns.empty() ? "" : ";") + pattern;
        if (patterns.empty())
            continue;
        text += (text.empty() ? "" : "|") + filter.Name + "|" + patterns;
    }
    return text.empty() ? "All files|*.*" : text;
}

class TSkinFileDialogProvider final : public TFileDialogProvider {
public:
    TSkinFileDialogProvider(TspSkinData* skinData, TspSkinData* ctrlSkinData)
        : FSkinData(skinData)
        , FCtrlSkinData(ctrlSkinData)
    {
    }

    std::string Name() const override { return "the program's own file dialog"; }
    // A modal form of this program: it keeps the windows going itself.
    bool OutOfProcess() const override { return false; }

    TFileChooserResult Run(const TFileChooserRequest& request) override
    {
        // Without a folder the user's home is where people expect to start, not the program's folder.
        const std::string folder = request.Folder.empty() ? HomeFolder() : request.Folder;
        return request.Kind == TFileChooserKind::Folder ? RunFolder(request, folder) : RunFile(request, folder);
    }

private:
    TFileChooserResult RunFolder(const TFileChooserRequest& request, const std::string& folder)
    {
        TspSkinSelectDirectoryDialog dialog(nullptr);
        dialog.SetSkinData(FSkinData);
        dialog.SetCtrlSkinData(FCtrlSkinData);
        if (!request.Title.empty())
            dialog.SetTitle(request.Title);
        dialog.Directory = folder;
        dialog.ShowToolBar = true;
        TFileChooserResult result;
        result.Status = TFileChooserStatus::Cancelled;
        if (dialog.Execute()) {
            result.Status = TFileChooserStatus::Chosen;
            result.Paths.push_back(dialog.Directory);
        }
        return result;
    }

    TFileChooserResult RunFile(const TFileChooserRequest& request, const std::string& folder)
    {
        std::unique_ptr<TspSkinOpenDialog> dialog;
        if (request.Kind == TFileChooserKind::Save)
            dialog = std::make_unique<TspSkinSaveDialog>(nullptr);
        else
            dialog = std::make_unique<TspSkinOpenDialog>(nullptr);
        dialog->SetSkinData(FSkinData);
        dialog->SetCtrlSkinData(FCtrlSkinData);
        if (!request.Title.empty())
            dialog->SetTitle(request.Title);
        dialog->Filter = FilterText(request.Filters);
        dialog->FilterIndex = request.FilterIndex >= 0 ? request.FilterIndex + 1 : 1;
        dialog->InitialDir = folder;
        dialog->SetFileName(request.FileName);
        dialog->MultiSelection = request.Multiple;
        dialog->OverwritePromt = request.OverwritePrompt;
        TFileChooserResult result;
        result.Status = TFileChooserStatus::Cancelled;
        if (!dialog->Execute())
            return result;
        result.Status = TFileChooserStatus::Chosen;
        result.FilterIndex = dialog->FilterIndex - 1;
        TStringList* files = dialog->Files();
        if (request.Multiple && files->Count() > 0)
            for (int i = 0; i < files->Count(); ++i)
                result.Paths.push_back(files->Strings(i));
        else
            result.Paths.push_back(dialog->FileName());
        return result;
    }

    TspSkinData* FSkinData;
    TspSkinData* FCtrlSkinData;
};

} // namespace

std::unique_ptr<TFileDialogProvider> NewSkinFileDialogProvider(TspSkinData* skinData, TspSkinData* ctrlSkinData)
{
    return std::make_unique<TSkinFileDialogProvider>(skinData, ctrlSkinData);
}
