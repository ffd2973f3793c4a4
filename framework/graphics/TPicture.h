// TPicture, the holder of one graphic of any registered class, and the registry of graphic classes by file
// extension.
#pragma once
#include "framework/core/TPersistent.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/GraphicsEvents.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

class TStream;

// A graphic class as the registry knows it: its run-time type, its name and how to make an empty instance.
// `TGraphicClass::Of<TPNGObject>()` describes TPNGObject.
struct TGraphicClass {
    std::type_index Type;
    std::function<std::unique_ptr<TGraphic>()> Create;

    template <class T> static TGraphicClass Of()
    {
        return TGraphicClass { typeid(T), [] { return std::unique_ptr<TGraphic>(new T()); } };
    }
};

// One entry of the registry.
struct TFileFormat {
    std::string Extension; // lower case, without the dot
    std::string Description;
    TGraphicClass GraphicClass;
};

class TPicture : public TPersistent {
    using inherited = TPersistent;

public:
    TPicture();
    ~TPicture() override;

    // Null, a TPicture or a TGraphic (copied into a new graphic of its class); anything else raises.
    void Assign(TPersistent* source) override;

    // The graphic held, or null. Not owned by the caller.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // Holds a copy of `value` (a new graphic of its class, assigned from it); null empties the picture.
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap: when it is not one, it is replaced by a new empty TBitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* value);
    // The graphic as an icon: when it is not one, it is replaced by a new empty TIcon.
    TIcon* Icon();
    void SetIcon(TIcon* value);
    int Width() const;
    int Height() const;

    // Makes a graphic of the class registered for the file's extension and loads the file into it; the
    // picture keeps its graphic when that fails. An unregistered extension raises EInvalidGraphic
    // "Unknown picture file extension (.xyz)".
    void LoadFromFile(std::string_view fileName);
    // Saves the graphic held (nothing when empty).
    void SaveToFile(std::string_view fileName);

    // The "Data" form: the graphic's class name as a length-prefixed string ("" for none), then the
    // graphic's own data form.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

    // The registry. BMP, ICO, JPG and JPEG are registered from the start; a later registration of an
    // extension replaces the earlier one. Extensions compare case-insensitively, with or without a dot.
    static void RegisterFileFormat(
        std::string_view extension, std::string_view description, TGraphicClass graphicClass);
    // Drops every extension registered for the class.
    static void UnregisterGraphicClass(const TGraphicClass& graphicClass);
    static std::vector<TFileFormat> FileFormats();
    // The class registered for an extension, or false.
    static bool FindExtension(std::string_view extension, TGraphicClass& graphicClass);

protected:
    virtual void Changed(TObject* sender);
    virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
        const std::string& msg);
    void AssignTo(TPersistent* dest) override;

private:
    void Install(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> FGraphic;
};
