// SplitString, the splitter of ';'-separated lists (folders, file masks) that the windows and the engine share.
#pragma once
#include <string_view>

class TStrings;

// Appends the items of `text`, cut at each `separator`, to `list` in order. Blanks at both ends of an item are
// dropped and blanks inside it kept; items that are empty or only blanks are not appended.
void SplitString(std::string_view text, char separator, TStrings& list);
