// What the skinned value controls and panels share: their record looked up by class, the caption font taken
// from a record or the default font, a piece of the skin picture drawn with a fixed transparent colour, and
// the focus taken by a click.
#pragma once
#include "framework/graphics/Colors.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"
#include "skin/core/TspSkinData.h"

#include <string>

class TBitmap;
class TCustomImageList;
class TComponent;
class TCustomImageList;
class TCanvas;
class TFont;
class TWinControl;
struct TMessage;

// The control record `index` of `skin` when it is a `Record`; null otherwise (no skin, -1, another class).
template <class Record> Record* SkinRecordAt(const TspSkinData* skin, int index)
{
    if (!skin || index < 0 || index >= static_cast<int>(skin->ControlRecords.size()))
        return nullptr;
    return dynamic_cast<Record*>(skin->ControlRecords[size_t(index)].get());
}

namespace SkinControlSupport {

// The font values a control copies from its record.
struct TRecordFont {
    std::string Name;
    int Height = 0;
    TFontStyles Style;
    TColor Color = clBlack;
};

template <class Record> TRecordFont RecordFont(const Record* record)
{
    return TRecordFont { record->FontName, record->FontHeight, record->FontStyle, record->FontColor };
}

// `font` := the record's name, height and style when `useSkinFont` (else `defaultFont`), the charset of the
// skin's string table when it has one (else the default font's). The colour is left to the caller.
void ApplyCaptionFont(TFont* font, const TRecordFont& values, bool useSkinFont, TFont* defaultFont,
    const TspSkinData* skin);

// Copies `source` of `picture` into a bitmap of its size and draws it at (x, y), leaving out `transparentColor`
// when `transparent`.
void DrawPiece(TCanvas* canvas, int x, int y, TBitmap* picture, const TRect& source, bool transparent,
    TColor transparentColor);

// For a control that takes the focus when clicked: a left press or double click on the unfocused control
// (outside design time) gives it the focus first, with `focusingByClick` set meanwhile. True when the message
// is to be dropped: the focus was refused, or a button notification arrives while the focus is being taken.
bool DropClickWithoutFocus(TWinControl* control, const TMessage& message, bool& focusingByClick);

// Binds `field` of `owner` to `value`, so that `owner` hears of the skin's deletion (and forgets it there).
void BindSkinData(TComponent* owner, TspSkinData*& field, TspSkinData* value);

// The picture before a caption: a glyph strip of `NumGlyphs` cells when `Glyph` is not empty, else image `Index`
// of `List` when it has one.
struct TCaptionImage {
    TBitmap* Glyph;
    int NumGlyphs;
    TCustomImageList* List;
    int Index;
    bool Enabled;

    // 0 without a picture.
    int Width() const;
    int Height() const;
    // The glyph's second cell stands for the disabled look when there are two.
    void Draw(TCanvas* canvas, int x, int y) const;
};

// A drop-down's fade-in: its window's opacity rises from nothing to a target by 10 every 10 ms on a window timer,
// so nothing waits in a loop while it shows (a message handled meanwhile may hide or free the drop-down).
class TPopupFade {
public:
    explicit TPopupFade(UINT_PTR timerId)
        : FTimerId(timerId)
    {
    }
    // Opacity 0 and the timer started.
    void Start(HWND window, int target);
    void Stop(HWND window);
    // For the window's WM_TIMER: one step when `timerId` is the fade's (true), else nothing (false).
    bool Step(HWND window, UINT_PTR timerId);

private:
    UINT_PTR FTimerId;
    int FOpacity = 0;
    int FTarget = 0;
};

} // namespace SkinControlSupport
