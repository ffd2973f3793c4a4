#include "tools/skinmaker/SkinMaker.h"

#include <filesystem>

namespace SkinMaker {

void WriteSkins(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const std::string path = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    TSkinDescription main;
    BuildMainSkin(main);
    main.Write(path, "MainSkin.ini");
    TSkinDescription form;
    BuildFormSkin(form);
    form.Write(path, "Skin.ini");
    WriteAppIcon(path + "TarnwickPro.ico");
    WriteAppPictures(path);
    WriteOutputSettingsPictures(path);
    WriteFormatIcons(path);
    WriteMainWindowPictures(path);
}

} // namespace SkinMaker
