#include "engine/SplitString.h"

#include "framework/core/TStrings.h"

#include <string>

void SplitString(std::string_view text, char separator, TStrings& list)
{
    std::string item;
    // Blanks seen since the item's last other character: they are written only when another character follows,
    // so an item's trailing blanks never are.
    size_t blanks = 0;
    for (const char c : text) {
        if (c == separator) {
            if (!item.empty())
                list.Add(item);
            item.clear();
            blanks = 0;
        } else if (c == ' ') {
            // Leading blanks of an item are dropped at once.
            if (!item.empty())
                ++blanks;
        } else {
            item.append(blanks, ' ');
            blanks = 0;
            item += c;
        }
    }
    if (!item.empty())
        list.Add(item);
}
