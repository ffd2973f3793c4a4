// ReplaceFirst, the replacement of the first occurrence of a text, shared by the windows and the engine.
#pragma once
#include <string>
#include <string_view>

// `text` with its first occurrence of `what` (exact, case-sensitive) replaced by `with`: the text before it, then
// `with`, then the text after it. `text` unchanged when `what` does not occur or is empty.
std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with);
