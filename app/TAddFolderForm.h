// TAddFolderForm, "Add Folder": the user picks a folder in the shell's folder tree and a file type, and the
// folder (with its subfolders when asked) is searched for videos on a worker thread while the window shows the
// folder being searched and the count found. The caller reads the paths found once the window has closed.
#pragma once
#include "app/FolderSearch.h"
#include "framework/controls/Forms.h"

#include <memory>
#include <string>
#include <vector>

class TAddFolderForm;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinDirTreeView;
class TspSkinPanel;
class TspSkinScrollBar;
class TspSkinStdLabel;

// Passes what the search hands over (on the user-interface thread) to the dialog.
class SearchCallBackImp final : public SearchCallBackBase {
public:
    explicit SearchCallBackImp(TAddFolderForm* form)
        : Form(form)
    {
    }
    // Keeps the path and shows the new count.
    void OnFileFound(const std::string& path) override;
    // Shows the folder being searched.
    void OnFolder(const std::string& folder) override;

private:
    TAddFolderForm* Form;
};

class TAddFolderForm : public TForm {
    using inherited = TForm;

public:
    // The window's height while choosing, and while searching with the progress panel shown.
    static constexpr int ChoosingHeight = 423;
    static constexpr int SearchingHeight = 481;

    explicit TAddFolderForm(TComponent* owner);
    // Cuts the search off from the window, stops it and waits for its thread; then remembers the subfolder
    // box (a refused write is reported, never raised).
    ~TAddFolderForm() override;

    bool IsSearchStarted() const { return SearchStarted; }
    int GetFoundFileCount() const { return static_cast<int>(FoundFiles.size()); }
    // In the order found.
    const std::vector<std::string>& GetFoundFiles() const { return FoundFiles; }
    void AddFoundFile(const std::string& path);

    TspSkinStdLabel* spSkinStdLabel8 = nullptr;
    TspSkinCheckRadioBox* chkIncludedSubdir = nullptr;
    TspSkinPanel* SkinPanelFileList = nullptr;
    TspSkinDirTreeView* DirTreeView = nullptr;
    TspSkinScrollBar* spSkinScrollBarH = nullptr;
    TspSkinScrollBar* spSkinScrollBarV = nullptr;
    TspSkinComboBox* cbFileType = nullptr;
    TspSkinButton* btnAddFolder = nullptr;
    TspSkinPanel* InfoPanel = nullptr;
    TspSkinStdLabel* lblFoundFilesCount = nullptr;
    TspSkinStdLabel* lblCurrentFolder = nullptr;

    // "Add Folder" starts the search; while it runs, the button reads "Stop" and ends it with the window.
    void btnAddFolderClick(TObject* sender);
    // The button is enabled only on a folder of the file system.
    void DirTreeViewChange(TObject* sender);
    // Escape closes the window, keeping what was found so far.
    void FormKeyPress(TObject* sender, char32_t& key);

private:
    // Once the window is closing, nothing more is handed to it: the list stays as the user last saw it.
    void EndSearch();

    std::vector<std::string> FoundFiles;
    bool SearchStarted = false;
    bool SearchEnded = false;
    SearchCallBackImp Callback { this };
    std::vector<SearchLimit*> Limits;
    std::unique_ptr<SearchFile_Multithread> Search;
};
