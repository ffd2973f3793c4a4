#include "codecs/library/CodecLibraryLoader.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

namespace {

// Set once the library loaded.
std::atomic<const TCodecEntryPoints*> LoadedTable = nullptr;

struct TLoadedLibrary {
    const TCodecEntryPoints* EntryPoints = nullptr;
    std::string Error;
};

// The folder of the module this code is linked into, with its trailing slash: the folder of the encoder library's
// file, or of the program's. A module reached through a symbolic link is looked for beside the file it names.
std::string ModuleFolder()
{
    Dl_info info {};
    link_map* map = nullptr;
    std::string path;
    if (dladdr1(reinterpret_cast<void*>(&ModuleFolder), &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) && map
        && map->l_name && map->l_name[0]) {
        char* resolved = realpath(map->l_name, nullptr);
        path = resolved ? resolved : map->l_name;
        std::free(resolved);
    } else {
        // The program itself has no name in its link map.
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
        if (n > 0 && size_t(n) < sizeof buffer)
            path.assign(buffer, size_t(n));
    }
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

TLoadedLibrary Load()
{
    TLoadedLibrary loaded;
    const std::string path = ModuleFolder() + kCodecLibraryFileName;
    // Never closed: objects of the library live until the process ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        loaded.Error = "cannot load the codec library " + path + ": " + (reason ? reason : "unknown error");
    } else if (auto entry = reinterpret_cast<TCodecEntryPointsFunction>(dlsym(module, kCodecEntryPointsName)); !entry) {
        loaded.Error = "the codec library " + path + " has no entry point " + kCodecEntryPointsName;
    } else if (const TCodecEntryPoints* table = entry(); !table || table->Size != sizeof(TCodecEntryPoints)) {
        loaded.Error = "the codec library " + path + " is of another version";
    } else {
        loaded.EntryPoints = table;
        LoadedTable.store(table, std::memory_order_release);
    }
    if (!loaded.Error.empty())
        std::fprintf(stderr, "%s\n", loaded.Error.c_str());
    return loaded;
}

// Loaded once, by whichever thread asks first; the others wait for it.
const TLoadedLibrary& Library()
{
    static const TLoadedLibrary library = Load();
    return library;
}

} // namespace

namespace CodecLibrary {

const TCodecEntryPoints* EntryPoints()
{
    return Library().EntryPoints;
}

const TCodecEntryPoints* LoadedEntryPoints()
{
    return LoadedTable.load(std::memory_order_acquire);
}

const std::string& LoadError()
{
    return Library().Error;
}

} // namespace CodecLibrary
