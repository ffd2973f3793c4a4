#include "skin/dialogs/TspShellListItems.h"

#include "framework/core/FileSystem.h"
#include "framework/core/StableSort.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellNamespace.h"
#include "skin/dialogs/TspShellFolder.h"

using namespace spShellCtrls;

namespace {

int Sign(int64_t value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

} // namespace

TspShellListItems::~TspShellListItems() = default;

TspShellFolder* TspShellListItems::Folder(int index) const
{
    return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)].Folder.get() : nullptr;
}

bool TspShellListItems::IsFolder(int index) const
{
    return index >= 0 && index < Count() && FItems[static_cast<size_t>(index)].IsFolder;
}

void TspShellListItems::Clear()
{
    FItems.clear();
}

bool TspShellListItems::MaskAccepts(const std::string& mask, const std::string& fileName)
{
    size_t start = 0;
    while (start <= mask.size()) {
        size_t end = mask.find_first_of(";|", start);
        if (end == std::string::npos)
            end = mask.size();
        const std::string part = Trim(mask.substr(start, end - start));
        if (part.find('.') != std::string::npos && MatchesMask(fileName, part))
            return true;
        start = end + 1;
    }
    return false;
}

void TspShellListItems::Populate(TspShellFolder* root, TShellObjectTypes types, const std::string& mask,
    const TAddFolderEvent& onAddFolder, TObject* sender, bool sorted)
{
    Clear();
    if (!root || !root->ShellFolder())
        return;
    IShellFolder& folder = *root->ShellFolder();
    std::unique_ptr<IEnumIDList> items;
    if (FAILED(folder.EnumObjects(nullptr, ObjectFlags(types), &items)) || !items)
        return;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        TItemIdListPtr owned(item);
        std::shared_ptr<IShellFolder> inner;
        if (FAILED(folder.BindToObject(item, &inner)))
            inner = nullptr;
        TItem entry;
        entry.Folder = std::make_unique<TspShellFolder>(root, item, std::move(inner));
        entry.IsFolder = entry.Folder->IsFolder();
        ReadEntryName(entry);
        bool canAdd = entry.IsFolder || MaskAccepts(mask, entry.Name);
        if (onAddFolder)
            onAddFolder(sender, entry.Folder.get(), canAdd);
        if (canAdd)
            FItems.push_back(std::move(entry));
    }
    if (sorted)
        SortDefault(root);
}

void TspShellListItems::ReadEntryName(TItem& entry)
{
    // The item's own bytes name it in its folder: no need to resolve its whole path, which reads the mounts.
    char kind = 0;
    std::string bytes;
    if (!ReadShellItem(entry.Folder->RelativeID(), kind, bytes))
        return;
    if (kind == 'F' || kind == 'D') {
        entry.IsEntry = true;
        entry.Name = bytes;
        entry.NameKey = ShellNameCollationKey(bytes);
    } else if (kind == 'M') {
        entry.Name = ExtractFileName(bytes);
    }
}

int TspShellListItems::DefaultOrder(TspShellFolder* root, int a, int b) const
{
    const TItem& first = FItems[static_cast<size_t>(a)];
    const TItem& second = FItems[static_cast<size_t>(b)];
    if (first.IsFolder != second.IsFolder)
        return first.IsFolder ? -1 : 1;
    // Entries of one file-system folder: the shell's order of names, from the keys read at listing.
    if (first.IsEntry && second.IsEntry) {
        const int order = first.NameKey.compare(second.NameKey);
        return Sign(order != 0 ? order : first.Name.compare(second.Name));
    }
    const HRESULT result = root->ShellFolder()->CompareIDs(0, first.Folder->RelativeID(), second.Folder->RelativeID());
    return static_cast<int16_t>(result & 0xFFFF);
}

void TspShellListItems::Reorder(const std::vector<int>& order)
{
    std::vector<TItem> sorted;
    sorted.reserve(FItems.size());
    for (int index : order)
        sorted.push_back(std::move(FItems[static_cast<size_t>(index)]));
    FItems = std::move(sorted);
}

void TspShellListItems::SortDefault(TspShellFolder* root)
{
    if (!root || !root->ShellFolder())
        return;
    Reorder(StableSortOrder(Count(), [&](int a, int b) { return DefaultOrder(root, a, b) < 0; }));
}

namespace {

// Loads the four details once; a file gone since it was listed keeps none.
void LoadDetails(TspShellFolder& folder, TspShellFolder* root, HWND window)
{
    try {
        folder.LoadColumnDetails(root, window, 4);
    } catch (const EInvalidPath&) {
    }
}

} // namespace

// Size and last write from the file system, read once per sort; an entry gone since it was listed is empty
// and undated.
const TspShellListItems::TItem& TspShellListItems::WithFacts(int index)
{
    TItem& item = FItems[static_cast<size_t>(index)];
    if (!item.FactsRead) {
        item.FactsRead = true;
        item.Size = 0;
        item.WriteTime = -1;
        item.WriteTimeNs = 0;
        TShellFindData data;
        if (GetShellFindData(item.Folder->PathName(), data)) {
            item.Size = data.Size;
            item.WriteTime = data.WriteTime;
            item.WriteTimeNs = data.WriteTimeNs;
        }
    }
    return item;
}

int TspShellListItems::ColumnOrder(TspShellFolder* root, HWND window, int column, int a, int b)
{
    const int d = DefaultOrder(root, a, b);
    const TItem& first = FItems[static_cast<size_t>(a)];
    const TItem& second = FItems[static_cast<size_t>(b)];
    if (column != 0) {
        LoadDetails(*first.Folder, root, window);
        LoadDetails(*second.Folder, root, window);
        // Only dated items (files of a file-system folder) sort by the detail columns.
        if (first.Folder->DetailCount() < 3 || first.Folder->GetDetails(3).empty())
            return d;
    }
    if (column >= 0 && column <= 3 && first.IsFolder != second.IsFolder)
        return first.IsFolder ? -1 : 1;
    switch (column) {
    case 0:
        return AnsiCompareText(first.Folder->DisplayName(), second.Folder->DisplayName());
    case 1:
        if (first.IsFolder)
            return d;
        return Sign(WithFacts(a).Size - WithFacts(b).Size);
    case 2: {
        const std::string typeA = first.Folder->DetailCount() >= 2 ? first.Folder->GetDetails(2) : std::string();
        const std::string typeB = second.Folder->DetailCount() >= 2 ? second.Folder->GetDetails(2) : std::string();
        return AnsiCompareText(typeA, typeB);
    }
    case 3: {
        const TItem& factsA = WithFacts(a);
        const TItem& factsB = WithFacts(b);
        const int order = Sign(factsA.WriteTime - factsB.WriteTime);
        return order != 0 ? order : Sign(int64_t(factsA.WriteTimeNs) - factsB.WriteTimeNs);
    }
    default:
        return d;
    }
}

void TspShellListItems::SortByColumn(TspShellFolder* root, HWND window, int column, bool descending)
{
    if (!root || !root->ShellFolder())
        return;
    for (TItem& item : FItems)
        item.FactsRead = false;
    Reorder(StableSortOrder(Count(), [&](int a, int b) {
        const int order = ColumnOrder(root, window, column, a, b);
        return (descending ? -order : order) < 0;
    }));
}

int TspShellListItems::Find(const std::string& text, int startIndex, bool wrap) const
{
    const int count = Count();
    if (count == 0)
        return -1;
    const std::string wanted = AnsiUpperCase(text);
    int index = startIndex < 0 || startIndex >= count ? 0 : startIndex;
    const int first = index;
    do {
        if (AnsiUpperCase(FItems[static_cast<size_t>(index)].Folder->DisplayName()).rfind(wanted, 0) == 0)
            return index;
        ++index;
        if (index >= count) {
            if (!wrap)
                return -1;
            index = 0;
        }
    } while (index != first);
    return -1;
}
