#include "engine/ReplaceFirst.h"

std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with)
{
    // An empty `what` would "occur" before the first character; it is taken as nothing to replace.
    const size_t at = what.empty() ? std::string_view::npos : text.find(what);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string result;
    result.reserve(text.size() - what.size() + with.size());
    result.append(text.substr(0, at)).append(with).append(text.substr(at + what.size()));
    return result;
}
