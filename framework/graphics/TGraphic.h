// TGraphic, the abstract picture that TPicture holds and TCanvas draws: size, emptiness, transparency,
// loading and saving, and change notification.
#pragma once
#include "framework/core/TPersistent.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/GraphicsEvents.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string_view>

class TStream;

class TGraphic : public TPersistent {
    using inherited = TPersistent;

public:
    TGraphic() = default;

    // Properties. The readers call the virtual Get* operations, which each class overrides.
    bool Empty() const { return GetEmpty(); }
    int Width() const { return GetWidth(); }
    virtual void SetWidth(int value) = 0;
    int Height() const { return GetHeight(); }
    virtual void SetHeight(int value) = 0;
    // Transparent graphics leave the background visible where they have no colour.
    bool Transparent() const { return GetTransparent(); }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value);
    HPALETTE Palette() const { return GetPalette(); }
    virtual void SetPalette(HPALETTE value);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

    // A new empty graphic of the same class (the framework's virtual constructor).
    virtual std::unique_ptr<TGraphic> CreateNew() const = 0;
    // Same class and the same saved bytes.
    virtual bool Equals(TGraphic* graphic);

    // Files and streams. LoadFromStream reads from the position to the end of the picture and raises
    // EInvalidGraphic (or a class-specific descendant) for bytes it cannot read; the graphic is then left
    // as it was where the class can keep it so, and is empty otherwise.
    virtual void LoadFromFile(std::string_view fileName);
    virtual void SaveToFile(std::string_view fileName);
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;

protected:
    friend class TCanvas;
    friend class TPicture;

    // Paints the graphic scaled to `rect` on `canvas`.
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual bool GetEmpty() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool GetTransparent() const { return FTransparent; }
    virtual HPALETTE GetPalette() const { return nullptr; }

    // Marks the graphic modified and fires OnChange.
    virtual void Changed(TObject* sender);
    // Fires OnProgress.
    virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
        const std::string& msg);

    // The "Data" form a picture is kept in inside a form description: by default exactly what
    // SaveToStream writes, read back with LoadFromStream. Classes whose stream form does not end by
    // itself write a length first.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);

    bool FTransparent = false;

private:
    bool FModified = false;
};
