// TClipboard, the framework's view of the system clipboard: text, raw data by format, and pictures, each
// picture class under a clipboard format registered for it. Clipboard() is the one instance.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TPersistent.h"
#include "framework/graphics/TPicture.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The clipboard could not be opened ("Cannot open clipboard"), or holds no picture a picture can take.
class EClipboardException : public Exception {
public:
    using Exception::Exception;
};

class TClipboard : public TPersistent {
    using inherited = TPersistent;

public:
    // Opening nests: only the outermost Close hands the contents over. Open raises EClipboardException
    // when another window holds the clipboard.
    void Open();
    void Close();
    void Clear();

    bool HasFormat(UINT format);
    // The text (CF_TEXT, UTF-8); "" when there is none.
    std::string AsText();
    // Replaces the whole contents with the text.
    void SetAsText(std::string_view text);
    // The bytes of one format (empty when it is not there), and replacing the contents with them.
    std::vector<uint8_t> GetAsBytes(UINT format);
    void SetAsBytes(UINT format, const std::vector<uint8_t>& bytes);

    // A picture or graphic: its bytes (SaveToStream) replace the contents under the format registered for
    // its class; null clears. Anything else raises.
    void Assign(TPersistent* source) override;

    // Each picture class travels under a clipboard format of its own name; TBitmap is registered from the
    // start. Returns the format.
    static UINT RegisterPictureFormat(std::string_view formatName, const TGraphicClass& graphicClass);
    // The format of a graphic's class, or 0 when it has none.
    static UINT PictureFormatOf(const TGraphic& graphic);

protected:
    // Into a TPicture: the first picture format on the clipboard, loaded into a new graphic of its class
    // (EClipboardException "Clipboard does not contain a picture" when none is there). Into a graphic of a
    // registered class: that class's format only.
    void AssignTo(TPersistent* dest) override;

private:
    void Adding();

    int FOpenRefCount = 0;
    bool FEmptied = false;
};

// The application's clipboard, made on first use.
TClipboard* Clipboard();
