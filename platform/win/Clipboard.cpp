#include "platform/win/Clipboard.h"

#include "platform/win/PlatformState.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

using namespace WinCore;

namespace {

struct TGlobalBlock {
    std::vector<uint8_t> Bytes;
};

// Live blocks, so that a stale or foreign handle is refused instead of read. Any thread may allocate.
std::mutex BlocksLock;
std::unordered_set<TGlobalBlock*> Blocks;

TGlobalBlock* BlockOf(HGLOBAL handle)
{
    auto* block = static_cast<TGlobalBlock*>(handle);
    std::lock_guard lock(BlocksLock);
    return Blocks.count(block) ? block : nullptr;
}

HGLOBAL NewBlock(std::vector<uint8_t> bytes)
{
    auto* block = new TGlobalBlock { std::move(bytes) };
    std::lock_guard lock(BlocksLock);
    Blocks.insert(block);
    return block;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// UTF-16 (up to the first zero unit) to UTF-8; unpaired surrogates become U+FFFD.
std::vector<uint8_t> Utf16ToUtf8(const uint8_t* bytes, size_t size)
{
    std::string out;
    const size_t units = size / 2;
    auto unit = [&](size_t i) { return uint32_t(bytes[2 * i]) | (uint32_t(bytes[2 * i + 1]) << 8); };
    for (size_t i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if (c == 0)
            break;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

// UTF-8 to UTF-16 with a terminating zero unit; malformed bytes become U+FFFD.
std::vector<uint8_t> Utf8ToUtf16(const std::vector<uint8_t>& text)
{
    std::vector<uint8_t> out;
    auto put = [&](uint32_t u) {
        out.push_back(uint8_t(u));
        out.push_back(uint8_t(u >> 8));
    };
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const uint8_t b = text[i];
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        uint32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + size_t(extra) < n;
        for (int k = 1; ok && k <= extra; ++k) {
            const uint8_t t = text[i + size_t(k)];
            if ((t & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (t & 0x3F);
        }
        static constexpr uint32_t kMin[] = { 0, 0x80, 0x800, 0x10000 };
        if (ok && (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)))
            ok = false;
        if (!ok) {
            put(0xFFFD);
            ++i;
            continue;
        }
        i += size_t(extra) + 1;
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    put(0);
    return out;
}

// What a reader sees now: what was set since opening, else the display's.
TClipboardData Current()
{
    TPlatformState& s = *GPlatform;
    return s.ClipboardPending ? *s.ClipboardPending : s.Backend->Clipboard();
}

bool IsOpenHere()
{
    return Ready() && GPlatform->ClipboardOpen;
}

} // namespace

HGLOBAL GlobalAlloc(UINT, size_t bytes)
{
    return NewBlock(std::vector<uint8_t>(bytes, 0));
}

void* GlobalLock(HGLOBAL handle)
{
    TGlobalBlock* block = BlockOf(handle);
    if (!block)
        return nullptr;
    // A block of no bytes still locks to a valid address.
    if (block->Bytes.empty())
        block->Bytes.reserve(1);
    return block->Bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle)
{
    return BlockOf(handle) ? TRUE : FALSE;
}

size_t GlobalSize(HGLOBAL handle)
{
    TGlobalBlock* block = BlockOf(handle);
    return block ? block->Bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL handle)
{
    auto* block = static_cast<TGlobalBlock*>(handle);
    {
        std::lock_guard lock(BlocksLock);
        if (!Blocks.erase(block))
            return handle;
    }
    delete block;
    return nullptr;
}

BOOL OpenClipboard(HWND owner)
{
    if (!Ready())
        return FALSE;
    TPlatformState& s = *GPlatform;
    if (s.ClipboardOpen) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    s.ClipboardOpen = true;
    s.ClipboardOpener = owner;
    s.ClipboardPending.reset();
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!IsOpenHere())
        return FALSE;
    TPlatformState& s = *GPlatform;
    if (s.ClipboardPending)
        s.Backend->SetClipboard(*s.ClipboardPending);
    s.ClipboardPending.reset();
    s.ClipboardOpen = false;
    for (HGLOBAL block : s.ClipboardBlocks)
        GlobalFree(block);
    s.ClipboardBlocks.clear();
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!IsOpenHere())
        return FALSE;
    TPlatformState& s = *GPlatform;
    s.ClipboardPending = TClipboardData {};
    s.ClipboardOwner = s.ClipboardOpener;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    TGlobalBlock* block = BlockOf(data);
    if (!IsOpenHere() || !block || format == 0)
        return nullptr;
    TPlatformState& s = *GPlatform;
    if (!s.ClipboardPending)
        s.ClipboardPending = s.Backend->Clipboard();
    std::vector<uint8_t> bytes;
    if (format == CF_TEXT) {
        // Up to the terminating zero.
        const auto end = std::find(block->Bytes.begin(), block->Bytes.end(), uint8_t(0));
        bytes.assign(block->Bytes.begin(), end);
    } else if (format == CF_UNICODETEXT) {
        bytes = Utf16ToUtf8(block->Bytes.data(), block->Bytes.size());
        format = CF_TEXT;
    } else {
        bytes = block->Bytes;
    }
    (*s.ClipboardPending)[format] = std::move(bytes);
    // The clipboard owns the block now; it stays valid until the clipboard closes.
    s.ClipboardBlocks.push_back(data);
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    if (!IsOpenHere())
        return nullptr;
    const TClipboardData data = Current();
    const auto text = data.find(CF_TEXT);
    std::vector<uint8_t> bytes;
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        if (text == data.end())
            return nullptr;
        if (format == CF_UNICODETEXT) {
            bytes = Utf8ToUtf16(text->second);
        } else {
            bytes = text->second;
            bytes.push_back(0);
        }
    } else {
        const auto it = data.find(format);
        if (it == data.end())
            return nullptr;
        bytes = it->second;
    }
    HGLOBAL block = NewBlock(std::move(bytes));
    GPlatform->ClipboardBlocks.push_back(block);
    return block;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    if (!Ready())
        return FALSE;
    const TClipboardData data = Current();
    return data.count(format == CF_UNICODETEXT ? CF_TEXT : format) ? TRUE : FALSE;
}

UINT RegisterClipboardFormat(const char* name)
{
    // Formats and registered messages share one table of names, as they do on Windows.
    return RegisterWindowMessage(name);
}

HWND GetClipboardOwner()
{
    return Ready() ? GPlatform->ClipboardOwner : nullptr;
}
