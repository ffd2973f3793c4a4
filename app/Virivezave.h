// The user's personal documents folder, and (from the engine) the splitter of ';'-separated lists.
#pragma once
#include "engine/SplitString.h"

#include <string>

// The user's documents folder (the desktop's XDG documents folder), created when missing, without a trailing
// '/'. Where it cannot be told or made, the home folder, so that nothing built on it ends up at the file
// system's root.
std::string GetPersonalFolder();
