// Reading and writing the subset of RTF a rich edit keeps: text, paragraphs with their alignment, and runs of
// font name, size, colour, bold, italic, underline and strike-out. The reader takes the text out of any RTF,
// skipping groups and control words it does not know.
#pragma once
#include "platform/controls/RichText.h"

#include <string>
#include <string_view>

// Whether the bytes announce RTF ("{\rtf").
bool LooksLikeRtf(std::string_view bytes);

// Reads RTF into `document`, with `base` as the format that \plain and the start give. Returns false, with a
// sentence in `error` and `document` left empty, when the bytes are not well-formed RTF: no "{\rtf" header,
// braces that do not balance, groups nested past a sane depth, or a \bin that runs past the end.
bool ReadRtf(std::string_view bytes, const RichCharFormat& base, RichDocument* document, std::string* error);

// Writes a document as RTF that ReadRtf reads back to the same document.
std::string WriteRtf(const RichDocument& document);
