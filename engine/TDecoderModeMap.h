// The decoder-mode table (TDecoderModeMap) that picks the decoders per file extension, and its global instance.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// Which decoders the source probe tries for an extension, and in which order.
enum DecoderMode : uint8_t {
    dmBuiltInThenDirectShow = 0,
    dmDirectShowThenBuiltIn = 1,
    dmBuiltInOnly = 2,
    dmDirectShowOnly = 3,
};

// The names the options window shows, indexed by DecoderMode.
constexpr std::string_view DecoderModeTexts[] = {
    "Built-in Decoder -> DirectShow Decoder",
    "DirectShow Decoder -> Built-in Decoder",
    "Built-in Decoder Only",
    "DirectShow Decoder Only",
};

struct TDecoderModeMapItem {
    // With its dot, such as ".avi".
    std::string Extension;
    // Free text.
    std::string Note;
    ::DecoderMode DecoderMode = dmBuiltInThenDirectShow;
};

// A table from file extension to decoder mode, with a default mode for extensions it does not hold. Keys are
// stored as given and compared byte by byte, case-sensitively; the probe looks up lower-case keys only.
class TDecoderModeMap final {
public:
    // Empties the table and reads `path` (DecoderMode.cfg). False when the file does not exist; the table
    // is then empty and the default mode keeps its value. A mode outside 0..3 in the file (after keeping
    // its low byte) reads as 0, so no extension ends up with no decoder to try.
    bool LoadFromFile(const std::string& path);
    // Writes the default mode and every item, keys lower-cased in section "Ext" and each item's note and mode
    // in a section named by its key as stored. The whole file replaces the old one only once it is
    // complete; false, with the old file intact, when it cannot be written or an item cannot be stored (a
    // key or note the file cannot hold, such as a line break, or a key named like the list section "Ext").
    bool SaveToFile(const std::string& path) const;
    // Replaces the item of the same Extension, or inserts it. Always true.
    bool SetItem(const TDecoderModeMapItem& item);
    // False when there is no item for `extension`.
    bool Remove(std::string_view extension);
    // The item's mode, or the default mode when `extension` has no item.
    DecoderMode GetDecoderMode(std::string_view extension) const;
    int32_t Count() const;
    // Copies the item at `index` in key order; false, leaving `item` alone, outside 0..Count() - 1.
    bool GetItem(int32_t index, TDecoderModeMapItem& item) const;
    void SetDefaultMode(DecoderMode mode) { DefaultMode = mode; }
    DecoderMode GetDefaultMode() const { return DefaultMode; }

private:
    std::map<std::string, TDecoderModeMapItem, std::less<>> FItems;
    DecoderMode DefaultMode = dmBuiltInThenDirectShow;
};

// The program-wide table. `main` creates it before any window and destroys it after the last one has
// gone; a plain pointer keeps it out of static initialisation, and it is null outside that span.
extern TDecoderModeMap* GlobalDecoderModeMap;
// Creates the empty global table (default mode 0) when there is none.
void CreateGlobalDecoderModeMap();
// Destroys the global table and sets the pointer back to null.
void DestroyGlobalDecoderModeMap();
