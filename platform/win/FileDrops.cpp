#include "platform/win/FileDrops.h"

#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>

using namespace WinCore;

namespace {

TDropRecord* FindDrop(HDROP drop)
{
    if (!Ready())
        return nullptr;
    auto it = GPlatform->Drops.find(reinterpret_cast<uintptr_t>(drop));
    return it == GPlatform->Drops.end() ? nullptr : &it->second;
}

} // namespace

void DragAcceptFiles(HWND hwnd, BOOL accept)
{
    if (TWindowRecord* w = NeedWindow(hwnd))
        w->ExStyle = accept ? (w->ExStyle | WS_EX_ACCEPTFILES) : (w->ExStyle & ~WS_EX_ACCEPTFILES);
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size)
{
    const TDropRecord* record = FindDrop(drop);
    if (!record)
        return 0;
    if (index == 0xFFFFFFFF)
        return UINT(record->Paths.size());
    if (index >= record->Paths.size())
        return 0;
    const std::string& path = record->Paths[index];
    if (!buffer)
        return UINT(path.size());
    if (size == 0)
        return 0;
    const size_t copied = std::min<size_t>(path.size(), size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    return UINT(copied);
}

BOOL DragQueryPoint(HDROP drop, POINT* point)
{
    const TDropRecord* record = FindDrop(drop);
    if (!record || !point)
        return FALSE;
    *point = record->Point;
    return record->InClient ? TRUE : FALSE;
}

void DragFinish(HDROP drop)
{
    if (Ready())
        GPlatform->Drops.erase(reinterpret_cast<uintptr_t>(drop));
}
