#include "codecs/pelliqua/Pelliqua.h"

#include "codecs/avcore/TAvImageConverter.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// Handles are looked up rather than cast back to pointers, so a stale or made-up handle is refused instead
// of being dereferenced. One lock covers the table and the conversions: Free never pulls a converter out
// from under a Convert on another thread.
struct TPelliquaRegistry {
    std::mutex Lock;
    std::unordered_map<PelliquaHandle, std::unique_ptr<TAvImageConverter>> Converters;
};

TPelliquaRegistry& Registry()
{
    static TPelliquaRegistry registry;
    return registry;
}

} // namespace

PelliquaHandle Pelliqua_Create(int width, int height)
{
    auto converter = std::make_unique<TAvImageConverter>();
    if (converter->Init(width, height, TAvColorCode::Rgb565, TAvColorCode::Bgra) != TAvStatus::Ok)
        return 0;
    const auto handle = reinterpret_cast<PelliquaHandle>(converter.get());
    TPelliquaRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    registry.Converters.emplace(handle, std::move(converter));
    return handle;
}

int32_t Pelliqua_Convert(PelliquaHandle handle, const void* source16, void* target32, int)
{
    TPelliquaRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto found = registry.Converters.find(handle);
    if (found == registry.Converters.end())
        return 0;
    return found->second->Convert(source16, target32) == TAvStatus::Ok ? 1 : 0;
}

void Pelliqua_Free(PelliquaHandle handle)
{
    TPelliquaRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    registry.Converters.erase(handle);
}
