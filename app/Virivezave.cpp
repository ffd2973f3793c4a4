#include "app/Virivezave.h"

#include "platform/shell/ShellFolders.h"

std::string GetPersonalFolder()
{
    std::string folder;
    if (SHGetSpecialFolderPath(CSIDL_PERSONAL, folder, true))
        return folder;
    return HomeFolder();
}
