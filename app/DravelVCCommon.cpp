#include "app/DravelVCCommon.h"

// Constant-initialised: no code runs for it before main.
std::string CurrentOutputFolder;

std::string GetHelpFilePath()
{
    return ProgramFolder() + "tarnwickpro.chm";
}
