// TspPNGImageList: an image list whose pictures are PNG images with full alpha, each held in a TPNGObject of a
// collection. The framework list keeps one blank placeholder per picture so that its count matches; drawing goes
// through DoDraw, which draws the PNG scaled to the list's size, at half opacity when disabled.
#pragma once
#include "framework/controls/ImgList.h"
#include "framework/core/TCollection.h"

#include <memory>
#include <string>

class TPNGObject;
class TStream;
class TspPNGImageList;

class TspPngImageItem : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TspPngImageItem(TCollection* collection);
    ~TspPngImageItem() override;

    TPNGObject* PngImage() const { return FPngImage.get(); }
    // Copies `value` into the item's own picture; the caller keeps its own.
    void SetPngImage(TPNGObject* value);
    const std::string& Name() const { return FName; }
    void SetName(std::string_view value) { FName = value; }

    void Assign(TPersistent* source) override;

protected:
    std::string GetDisplayName() const override;

private:
    TspPNGImageList* ImageList() const;

    std::unique_ptr<TPNGObject> FPngImage;
    std::string FName;
};

class TspPngImageItems : public TCollection {
    using inherited = TCollection;

public:
    explicit TspPngImageItems(TspPNGImageList* imageList);
    TspPNGImageList* ImageList() const { return FImageList; }
    TspPngImageItem* Items(int index) const { return static_cast<TspPngImageItem*>(GetItem(index)); }
    TspPngImageItem* Add() { return static_cast<TspPngImageItem*>(inherited::Add()); }
    TPersistent* GetOwner() const override;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override;

private:
    TspPNGImageList* FImageList;
};

class TspPNGImageList : public TCustomImageList {
    using inherited = TCustomImageList;

public:
    explicit TspPNGImageList(TComponent* owner);
    ~TspPNGImageList() override;

    TspPngImageItems* PngImages() const { return FPngImages.get(); }
    // Replaces every picture and name by copies of `value`'s.
    void SetPngImages(TspPngImageItems* value);
    int PngWidth() const { return Width(); }
    int PngHeight() const { return Height(); }
    // A new size empties the framework list and, unless the list is being loaded, drops every picture.
    void SetPngWidth(int value);
    void SetPngHeight(int value);

    // The placeholder of the picture at `index` in the framework list.
    void InsertBitMap(int index);
    void DeleteBitMap(int index);

    // Stored form: "PngImages" (per picture: u32 little-endian byte count and the PNG file, 0 for an empty picture;
    // then u32 name length and the name), "PngWidth", "PngHeight". The placeholders are made again on reading.
    void DefineProperties(TFiler* filer) override;

protected:
    // Draws picture `index` into (x, y, x + Width, y + Height); `style` is not used. An index with no picture, or
    // a disabled draw of an empty picture, draws nothing: a paint never raises for them.
    void DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style, bool enabled) override;

private:
    // After the framework's store was emptied by a new size while loading: one placeholder per picture again.
    void RestorePlaceholders();
    void ReadPngImages(TStream& stream);
    void WritePngImages(TStream& stream);

    std::unique_ptr<TspPngImageItems> FPngImages;
};

// Scales the alpha of every pixel by (amount + 1) / 256, rounded halves to even; pixels of a keyed transparent
// colour become fully transparent. Grey and palette pictures become RGBA with alpha `amount` everywhere. Does
// nothing for an empty picture.
void ScalePngOpacity(TPNGObject& png, uint8_t amount);
