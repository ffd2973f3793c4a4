// TIcon, the icon picture: a colour image with a transparency mask (or alpha), loaded from and saved to ICO files.
#pragma once
#include "framework/graphics/TGraphic.h"

#include <memory>

struct TIconImage;

// Icons are drawn at the size of the rectangle they are given, transparently where the mask says so.
class TIcon : public TGraphic {
    using inherited = TGraphic;

public:
    TIcon();
    ~TIcon() override;

    // From a TIcon: a copy of its image. Null empties the icon.
    void Assign(TPersistent* source) override;
    std::unique_ptr<TGraphic> CreateNew() const override;

    // The HICON of the image, made on first use and owned by the icon (destroyed when the image changes or the
    // icon goes). Null for an empty icon.
    HICON Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Takes over `value` (null empties the icon): the image is read back from it and it becomes the handle.
    // Raises EInvalidGraphic "Icon image is not valid" for a handle that is not an icon or cursor.
    void SetHandle(HICON value);
    // Gives the handle to the caller, who destroys it; the icon keeps its image.
    HICON ReleaseHandle();

    // An empty icon takes the size it will be loaded at; a non-empty one raises
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // ICO files: the image of the size asked for with SetWidth/SetHeight, else the first one. Images stored
    // as 1, 4, 8, 24 or 32-bit DIBs are read; PNG-compressed ones are skipped. Raises EInvalidGraphic
    // "Icon image is not valid" when the file holds no image that can be read.
    void LoadFromStream(TStream& stream) override;
    // Writes an ICO file with the one image.
    void SaveToStream(TStream& stream) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool GetEmpty() const override;
    int GetWidth() const override;
    int GetHeight() const override;

private:
    void FreeHandle();

    std::unique_ptr<TIconImage> FImage;
    HICON FHandle = nullptr;
    int FRequestedWidth = 0;
    int FRequestedHeight = 0;
};
