#include "app/TResourceSkinData.h"

#include "engine/AppServices.h"

#include <exception>
#include <filesystem>

namespace {

// The warning icon with an OK button.
constexpr int32_t kWarningBox = 48;

constexpr const char* kFallback = " The windows use their plain default look instead.";

TspSkinData* SkinOf(const std::unique_ptr<TResourceSkin>& slot)
{
    auto* skin = dynamic_cast<TResourceSkinData*>(slot.get());
    return skin ? skin->SkinData() : nullptr;
}

} // namespace

TResourceSkinData::TResourceSkinData()
    : FSkinData(nullptr)
{
    FSkinData.SetSkinnableForm(true);
    FSkinData.SetEnableSkinEffects(true);
}

std::string TResourceSkinData::LoadSkinData(TspSkinData& skin, const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return "The skin file \"" + path + "\" is missing." + kFallback;
    try {
        skin.LoadFromFile(path);
    } catch (const std::exception& failure) {
        // The failed load stopped half way; an explicit clear tells the forms that the skin is gone.
        skin.SkinChanging = false;
        skin.ClearSkin();
        return "The skin file \"" + path + "\" could not be loaded (" + failure.what() + ")." + kFallback;
    }
    if (skin.Empty)
        return "The skin file \"" + path
            + "\" is not a complete skin: it needs the sections VERSION, PICTURES, FORMINFO, SKINOBJECTS and "
              "SKINCONTROLS."
            + kFallback;
    return "";
}

void TResourceSkinData::LoadSkin(const std::string& path)
{
    const std::string warning = LoadSkinData(FSkinData, path);
    if (!warning.empty())
        ShowMessageBox(warning, std::string(ApplicationTitle), kWarningBox);
}

void InstallResourceSkins(TResourceForm& form)
{
    form.MainSkinData = std::make_unique<TResourceSkinData>();
    form.FormSkinData = std::make_unique<TResourceSkinData>();
}

TspSkinData* MainSkinData()
{
    return ResourceForm ? SkinOf(ResourceForm->MainSkinData) : nullptr;
}

TspSkinData* FormSkinData()
{
    return ResourceForm ? SkinOf(ResourceForm->FormSkinData) : nullptr;
}
