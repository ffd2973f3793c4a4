// What the skinned views of this library share: their font and colour taken from a view record, the external
// skinned bars shown, hidden and laid out, and a scroll request that carries a whole 32-bit position.
#pragma once
#include "framework/graphics/Graphics.h"
#include "platform/win/WinTypes.h"

#include <string>

class TControl;
class TspSkinData;
class TspSkinScrollBar;
class TWinControl;

namespace SkinViewSupport {

// The font and colour rule of the skinned views: without a record (`index` -1) the view takes `defaultFont` and
// `defaultColor`; with a record of its kind (`record` not null) the record's font (or `defaultFont` without
// `useSkinFont`) in the record's font colour on its background colour; a record of another kind changes
// nothing. The charset follows the skin's string table in every case.
template <class Record>
void ApplyViewRecord(TControl* view, const TspSkinData* skin, int index, const Record* record, bool useSkinFont,
    TFont* defaultFont, TColor defaultColor);

// Keeps `value` as the view's default font or colour, shown at once when `shown` (the view has no record).
void SetViewDefaultFont(TControl* view, TFont* defaultFont, TFont* value, bool shown);
void SetViewDefaultColor(TControl* view, TColor& defaultColor, TColor value, bool shown);

// Shows or hides `bar` with `inUpdate` set meanwhile, so that the realignment it causes does not come back
// into the view's bar update. True when the visibility changed.
bool SetBarVisible(TspSkinScrollBar* bar, bool visible, bool& inUpdate);

// Holds both bars of a view in BeginUpdate for one update of their values, so each is painted once afterwards
// rather than after every value.
class TBarUpdate {
public:
    TBarUpdate(TspSkinScrollBar* vertical, TspSkinScrollBar* horizontal);
    ~TBarUpdate();
    TBarUpdate(const TBarUpdate&) = delete;
    TBarUpdate& operator=(const TBarUpdate&) = delete;

private:
    TspSkinScrollBar* FVertical;
    TspSkinScrollBar* FHorizontal;
};

// The end of every bar update: the horizontal bar leaves the corner square to a shown vertical bar, and an
// aligned view has its parent lay it out again (once) when a bar appeared or went.
void FinishBarUpdate(TControl* view, TspSkinScrollBar* vertical, TspSkinScrollBar* horizontal, bool changed,
    bool& inUpdate);

// Has the bar's parent lay the bar out anew.
void RealignBar(TspSkinScrollBar* bar);

// The three cases of ApplyViewRecord, apart.
void ApplyViewDefaults(TControl* view, TFont* defaultFont, TColor defaultColor);
void ApplyViewFont(TControl* view, bool useSkinFont, TFont* defaultFont, const std::string& fontName, int fontHeight,
    TFontStyles fontStyle, TColor fontColor, TColor bgColor);
void ApplyViewCharset(TControl* view, const TspSkinData* skin, TFont* defaultFont);

template <class Record>
void ApplyViewRecord(TControl* view, const TspSkinData* skin, int index, const Record* record, bool useSkinFont,
    TFont* defaultFont, TColor defaultColor)
{
    if (index == -1)
        ApplyViewDefaults(view, defaultFont, defaultColor);
    else if (record)
        ApplyViewFont(view, useSkinFont, defaultFont, record->FontName, record->FontHeight, record->FontStyle,
            record->FontColor, record->BGColor);
    ApplyViewCharset(view, skin, defaultFont);
}

} // namespace SkinViewSupport
