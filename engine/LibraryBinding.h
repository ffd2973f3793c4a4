// LibraryBinding, the loading of a run-time library by path and the typed lookup and calls of its entry points.
#pragma once
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace LibraryBinding {

// The library at `path`, with every reference resolved now; null when it is missing or cannot be loaded. Its
// names stay out of the global scope, so two libraries never lend each other an entry point.
inline void* LoadLibraryFile(const std::string& path)
{
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Null is ignored.
inline void FreeLibraryModule(void* module)
{
    if (module)
        dlclose(module);
}

// Looks `name` up in the module and stores its address in `slot` (null when missing); true when found.
template <class TEntry> bool Resolve(void* module, const char* name, TEntry& slot)
{
    void* address = dlsym(module, name);
    slot = reinterpret_cast<TEntry>(address);
    return address != nullptr;
}

// Calls the entry point on a usable binding; otherwise, or when the entry point is missing, returns the result
// type's zero (nothing for void).
template <class TEntry, class... TArgs> auto Forward(bool usable, TEntry entry, TArgs... args)
{
    using TResult = decltype(entry(args...));
    if (!usable || !entry)
        return TResult();
    return entry(args...);
}

// Every name buffer handed to the encoder libraries holds this many bytes.
constexpr size_t kNameBufferSize = 1024;

// Fills a zeroed name buffer through `get` and returns its text. A library that leaves the buffer unterminated
// gives the whole buffer, never more.
template <class TGet> std::string ReadName(TGet get)
{
    char buffer[kNameBufferSize] = {};
    get(buffer);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

} // namespace LibraryBinding
