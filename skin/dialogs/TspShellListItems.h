// The items of a shell file list: the folder's children as shell items, filtered by a mask, in the shell's
// order or sorted by a column, and found by the start of their names. The list control shows them on demand.
#pragma once
#include "skin/dialogs/spShellCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TspShellListItems {
public:
    TspShellListItems() = default;
    ~TspShellListItems();
    TspShellListItems(const TspShellListItems&) = delete;
    TspShellListItems& operator=(const TspShellListItems&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The item at `index`, none outside the list.
    TspShellFolder* Folder(int index) const;
    // Whether the item at `index` is a folder to browse into (read once, when the item was listed).
    bool IsFolder(int index) const;
    void Clear();

    // Lists the children of `root` of the given types; folders are always kept, other items only when their
    // name matches `mask`, and `onAddFolder` (sender `sender`) may refuse any. A folder that cannot be read
    // gives no items. With `sorted`, the items take the default order.
    void Populate(TspShellFolder* root, TShellObjectTypes types, const std::string& mask, const TAddFolderEvent& onAddFolder,
        TObject* sender, bool sorted);
    // Folders first, then the shell's order of names.
    void SortDefault(TspShellFolder* root);
    // Sorts by a column of the four a file-system folder shows (name, size, type, modified), folders first
    // (last when `descending`). Columns past those keep the default order. A file that cannot be read any more
    // sorts as empty and undated; the sort always finishes.
    void SortByColumn(TspShellFolder* root, HWND window, int column, bool descending);
    // The first item from `startIndex` on whose name starts with `text` (any case), going on from the top with
    // `wrap`; -1 when none does.
    int Find(const std::string& text, int startIndex, bool wrap) const;

    // Whether a file name passes a list mask: parts separated by ';' or '|', of which only those with a '.'
    // can match ("*.txt;*.log"; a lone "*" matches nothing), compared case-insensitively.
    static bool MaskAccepts(const std::string& mask, const std::string& fileName);

private:
    struct TItem;
    static void ReadEntryName(TItem& entry);
    int DefaultOrder(TspShellFolder* root, int a, int b) const;
    int ColumnOrder(TspShellFolder* root, HWND window, int column, int a, int b);
    const TItem& WithFacts(int index);
    void Reorder(const std::vector<int>& order);

    // What the sorts read of an item, read once when it is listed.
    struct TItem {
        std::unique_ptr<TspShellFolder> Folder;
        bool IsFolder = false;
        // An entry of a file-system folder: its name, and the key the folder orders names by.
        bool IsEntry = false;
        std::string Name;
        std::string NameKey;
        // Size and last write for a column sort, read once per sort (-1: not yet).
        int64_t Size = 0;
        int64_t WriteTime = -1;
        int32_t WriteTimeNs = 0;
        bool FactsRead = false;
    };
    std::vector<TItem> FItems;
};
