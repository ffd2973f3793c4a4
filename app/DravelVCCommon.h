// The routines every window shares: the current output folder, the help file's path, and (from the engine) the
// message box, the scoped cursor and the first-occurrence replace.
#pragma once
#include "engine/AppServices.h"
#include "engine/ReplaceFirst.h"

#include <string>

// The folder the main window puts in front of every new output file name, with its trailing '/'. Empty until
// the main window sets it; the main window keeps it in step with its output-folder edit and remembers it in
// LastSettings.ini.
extern std::string CurrentOutputFolder;

// The program's help file, in the program's folder.
std::string GetHelpFilePath();
