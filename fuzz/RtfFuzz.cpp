// Reads arbitrary bytes as RTF. A refusal must come with a reason and no document; what is read must be a
// consistent document (a format for every position, an alignment for every paragraph) that writes and reads
// back to the same.
#include "platform/controls/RtfFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckConsistent(const RichDocument& d)
{
    long long characters = 0;
    long long breaks = 0;
    for (size_t at = 0; at < d.Text.size(); ++at) {
        if (d.Text.compare(at, 2, "\r\n") == 0) {
            ++breaks;
            ++at;
            continue;
        }
        Check(d.Text[at] != '\r' && d.Text[at] != '\n' && d.Text[at] != '\0');
        characters += (static_cast<unsigned char>(d.Text[at]) & 0xC0) != 0x80;
    }
    long long positions = 0;
    for (const RichRun& run : d.Runs) {
        Check(run.Length > 0 && run.Format >= 0 && run.Format < static_cast<int>(d.Formats.size()));
        positions += run.Length;
    }
    Check(positions == characters + 2 * breaks);
    Check(d.Alignments.size() == static_cast<size_t>(breaks + 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RichCharFormat base;
    RichDocument document;
    std::string error;
    if (!ReadRtf(bytes, base, &document, &error)) {
        Check(!error.empty() && document.Text.empty() && document.Runs.empty());
        return 0;
    }
    CheckConsistent(document);
    RichDocument again;
    Check(ReadRtf(WriteRtf(document), base, &again, &error));
    CheckConsistent(again);
    Check(again.Text == document.Text && again.Alignments == document.Alignments);
    return 0;
}
