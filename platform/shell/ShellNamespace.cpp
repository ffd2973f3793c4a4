// Item-ID lists, the shell allocator, special-folder locations and paths of lists.
#include "platform/shell/ShellNamespace.h"

#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellNamespaceFolders.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

class TShellMalloc final : public IMalloc {
public:
    void* Alloc(size_t size) override { return std::malloc(size ? size : 1); }
    void* Realloc(void* block, size_t size) override { return std::realloc(block, size ? size : 1); }
    void Free(void* block) override { std::free(block); }
};

TShellMalloc& Allocator()
{
    static TShellMalloc allocator;
    return allocator;
}

} // namespace

uint16_t ItemIdSize(const void* item)
{
    const auto* bytes = static_cast<const uint8_t*>(item);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

LPCITEMIDLIST NextItemIdOf(LPCITEMIDLIST item)
{
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const uint8_t*>(item) + ItemIdSize(item));
}

HRESULT SHGetMalloc(IMalloc** malloc)
{
    if (!malloc)
        return E_INVALIDARG;
    *malloc = &Allocator();
    return S_OK;
}

size_t ILGetSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    size_t size = 2;
    for (LPCITEMIDLIST item = list; ItemIdSize(item); item = NextItemIdOf(item))
        size += ItemIdSize(item);
    return size;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST list)
{
    const size_t size = ILGetSize(list);
    if (!size)
        return nullptr;
    auto* copy = static_cast<LPITEMIDLIST>(Allocator().Alloc(size));
    if (copy)
        std::memcpy(copy, list, size);
    return copy;
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    const size_t firstSize = first ? ILGetSize(first) - 2 : 0;
    const size_t secondSize = second ? ILGetSize(second) : 2;
    auto* joined = static_cast<uint8_t*>(Allocator().Alloc(firstSize + secondSize));
    if (!joined)
        return nullptr;
    if (firstSize)
        std::memcpy(joined, first, firstSize);
    if (second)
        std::memcpy(joined + firstSize, second, secondSize);
    else
        joined[firstSize] = joined[firstSize + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(joined);
}

void ILFree(LPITEMIDLIST list)
{
    Allocator().Free(list);
}

LPITEMIDLIST MakeShellItem(char kind, const std::string& bytes)
{
    const size_t count = 2 + 1 + bytes.size();
    if (count > 0xFFFF)
        return nullptr;
    auto* item = static_cast<uint8_t*>(Allocator().Alloc(count + 2));
    if (!item)
        return nullptr;
    item[0] = static_cast<uint8_t>(count & 0xFF);
    item[1] = static_cast<uint8_t>(count >> 8);
    item[2] = static_cast<uint8_t>(kind);
    std::memcpy(item + 3, bytes.data(), bytes.size());
    item[count] = item[count + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(item);
}

bool ReadShellItem(LPCITEMIDLIST list, char& kind, std::string& bytes)
{
    const uint8_t* bytesOfItem = reinterpret_cast<const uint8_t*>(list);
    if (!list || ItemIdSize(list) < 3)
        return false;
    kind = static_cast<char>(bytesOfItem[2]);
    if (kind != 'V' && kind != 'M' && kind != 'D' && kind != 'F')
        return false;
    bytes.assign(reinterpret_cast<const char*>(bytesOfItem) + 3, ItemIdSize(list) - 3);
    return true;
}

std::string StrRetToString(STRRET& name, LPCITEMIDLIST item)
{
    std::string text;
    switch (name.uType) {
    case STRRET_WSTR:
        if (name.pOleStr)
            text = name.pOleStr;
        Allocator().Free(name.pOleStr);
        name.pOleStr = nullptr;
        break;
    case STRRET_OFFSET:
        if (item && name.uOffset < ItemIdSize(item))
            text.assign(reinterpret_cast<const char*>(item) + name.uOffset, ItemIdSize(item) - name.uOffset);
        break;
    case STRRET_CSTR:
        text.assign(name.cStr, strnlen(name.cStr, sizeof name.cStr));
        break;
    }
    return text;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* list)
{
    if (!list)
        return E_INVALIDARG;
    *list = nullptr;
    switch (csidl & ~CSIDL_FLAG_CREATE) {
    case CSIDL_DESKTOP:
        *list = ILCombine(nullptr, nullptr);
        return *list ? S_OK : E_OUTOFMEMORY;
    case CSIDL_DRIVES:
        *list = MakeShellItem('V', "computer");
        return *list ? S_OK : E_OUTOFMEMORY;
    case CSIDL_BITBUCKET:
        *list = MakeShellItem('V', "trash");
        return *list ? S_OK : E_OUTOFMEMORY;
    case CSIDL_PROFILE:
        *list = MakeShellItem('V', "home");
        return *list ? S_OK : E_OUTOFMEMORY;
    default:
        break;
    }
    std::string path;
    if (!SHGetSpecialFolderPath(csidl, path, (csidl & CSIDL_FLAG_CREATE) != 0))
        return E_FAIL;
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    return desktop->ParseDisplayName(nullptr, path.c_str(), nullptr, list, nullptr);
}

bool SHGetPathFromIDList(LPCITEMIDLIST list, std::string& path)
{
    TShellLocation location;
    if (!ResolveShellList(list, location) || location.Path.empty()) {
        path.clear();
        return false;
    }
    path = location.Path;
    return true;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST list, char* path)
{
    std::string found;
    if (!path)
        return 0;
    if (!SHGetPathFromIDList(list, found) || found.size() + 1 > MAX_PATH) {
        path[0] = '\0';
        return 0;
    }
    std::memcpy(path, found.c_str(), found.size() + 1);
    return 1;
}
