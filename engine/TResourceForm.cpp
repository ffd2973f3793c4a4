#include "engine/TResourceForm.h"

#include "engine/AppServices.h"
#include "engine/LibraryBinding.h"
#include "engine/RealEncoderDllWarper.h"
#include "engine/ReplaceFirst.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TProfileManager.h"
#include "engine/WM9EncoderDllWarper.h"
#include "engine/WmvRealEncoderObjects.h"
#include "framework/core/SysUtils.h"

#include <cstdint>
#include <cstring>

TResourceForm* ResourceForm = nullptr;

using LibraryBinding::ReadName;

namespace {

// An index carried as an item's object, the way a combo box keeps a number with an item.
TObject* IndexObject(int32_t index)
{
    return reinterpret_cast<TObject*>(static_cast<intptr_t>(index));
}

void SelectFirst(TResourceComboList& list)
{
    list.ItemIndex = list.Items.Count() > 0 ? 0 : -1;
}

} // namespace

TResourceForm::TResourceForm(TComponent* owner)
    : inherited(owner)
{
    ProfileManager = std::make_unique<TProfileManager>(ProgramFolder() + "Profiles/");

    WM9EncoderDll = std::make_unique<WM9EncoderDllWarper>();
    // An unusable binding's forwarder gives 0 here too.
    if (WM9EncoderDll->WMV_Init() == 0) {
        WM9EncoderDll->WMV_Uninit();
        WM9EncoderDll.reset();
    }

    RealEncoderDll = std::make_unique<RealEncoderDllWarper>();
    if (RealEncoderDll->Usable)
        RealEncoderDll->CreateHandle();
    else
        RealEncoderDll.reset();
}

TResourceForm::~TResourceForm()
{
    ProfileManager.reset();
    if (WM9EncoderDll) {
        WM9EncoderDll->WMV_Uninit();
        WM9EncoderDll.reset();
    }
    RealEncoderDll.reset();
    // The skins go with the form, after everything the destructor frees itself.
    MainSkinData.reset();
    FormSkinData.reset();
    if (ResourceForm == this)
        ResourceForm = nullptr;
}

void TResourceForm::LoadMainSkin()
{
    if (MainSkinData)
        MainSkinData->LoadSkin(ProgramFolder() + "Skin/TarnwickPro/MainSkin.ini");
}

void TResourceForm::LoadFormSkin()
{
    if (FormSkinData)
        FormSkinData->LoadSkin(ProgramFolder() + "Skin/TarnwickPro/Skin.ini");
}

void TResourceForm::LoadProfiles()
{
    ProfileManager->LoadAll();
    // The folder already ends in '/', so the path holds two; the file system takes them as one.
    if (GlobalDecoderModeMap)
        GlobalDecoderModeMap->LoadFromFile(ProgramFolder() + "/DecoderMode.cfg");
    FillWmvSystemProfiles();
    FillWmvAudioFormats();
    FillRealAudioCodecs();
}

void TResourceForm::FillWmvSystemProfiles()
{
    cbSystemProfile.Items.Clear();
    if (WM9EncoderDll) {
        WM9EncoderDllWarper& dll = *WM9EncoderDll;
        for (int32_t i = 0, count = dll.WMV_GetUseSystemProfileCount(); i < count; ++i)
            cbSystemProfile.Items.Add(ReadName([&](char* buffer) { dll.WMV_GetUseSystemProfileName(i, buffer); }));
    }
    SelectFirst(cbSystemProfile);
}

void TResourceForm::FillWmvAudioFormats()
{
    cbWMVAudioFormat.Items.Clear();
    if (WM9EncoderDll) {
        WM9EncoderDllWarper& dll = *WM9EncoderDll;
        int32_t codec = 0;
        for (int32_t i = 0, count = dll.WMV_GetAudioCodecCount(); i < count; ++i) {
            if (TWMVEncoderObject::IsAudioCodecName(
                    ReadName([&](char* buffer) { dll.WMV_GetAudioCodecName(i, buffer); }))) {
                codec = i;
                break;
            }
        }
        for (int32_t j = 0, count = dll.WMV_GetAudioFormatCount(codec); j < count; ++j)
            cbWMVAudioFormat.Items.Add(Trim(ReadName([&](char* buffer) { dll.WMV_GetAudioFormat(codec, j, buffer); })));
    }
    SelectFirst(cbWMVAudioFormat);
}

void TResourceForm::FillRealAudioCodecs()
{
    cbRealAudioFormat.Items.Clear();
    if (RealEncoderDll) {
        RealEncoderDllWarper& dll = *RealEncoderDll;
        for (int32_t i = 0, count = dll.Real_GetAudioCodecCount(); i < count; ++i) {
            const std::string name = ReadName([&](char* buffer) { dll.Real_GetAudioCodecName(i, buffer); });
            if (name.find("(voice)") != std::string::npos || name.find("Multichannel") != std::string::npos)
                continue;
            cbRealAudioFormat.Items.AddObject(Trim(ReplaceFirst(name, "(music)", "")), IndexObject(i));
        }
    }
    SelectFirst(cbRealAudioFormat);
}

std::string TResourceForm::ReplaceFirst(std::string_view text, std::string_view what, std::string_view with)
{
    return ::ReplaceFirst(text, what, with);
}
