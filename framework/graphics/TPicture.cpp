#include "framework/graphics/TPicture.h"

#include "framework/core/FileSystem.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TGraphic.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TJPEGImage.h"

#include <mutex>

namespace {

// The registry, made on first use with the formats this library reads; PNG and the like join at start-up.
struct TFileFormatRegistry {
    std::mutex Lock;
    std::vector<TFileFormat> Formats {
        { "bmp", "Bitmaps", TGraphicClass::Of<TBitmap>() },
        { "ico", "Icons", TGraphicClass::Of<TIcon>() },
        { "jpg", "JPEG Image File", TGraphicClass::Of<TJPEGImage>() },
        { "jpeg", "JPEG Image File", TGraphicClass::Of<TJPEGImage>() },
    };
};

TFileFormatRegistry& Registry()
{
    static TFileFormatRegistry registry;
    return registry;
}

std::string NormalExtension(std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.remove_prefix(1);
    return LowerCase(extension);
}

// The class of a registered graphic whose ClassName is `name`, for the "Data" form.
bool FindClassName(const std::string& name, TGraphicClass& graphicClass)
{
    std::vector<TFileFormat> formats = TPicture::FileFormats();
    for (const TFileFormat& format : formats) {
        if (format.GraphicClass.Create()->ClassName() == name) {
            graphicClass = format.GraphicClass;
            return true;
        }
    }
    return false;
}

} // namespace

void TPicture::RegisterFileFormat(std::string_view extension, std::string_view description, TGraphicClass graphicClass)
{
    TFileFormatRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    std::string ext = NormalExtension(extension);
    for (TFileFormat& format : registry.Formats) {
        if (format.Extension == ext) {
            format.Description = std::string(description);
            format.GraphicClass = std::move(graphicClass);
            return;
        }
    }
    registry.Formats.push_back(TFileFormat { ext, std::string(description), std::move(graphicClass) });
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& graphicClass)
{
    TFileFormatRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    std::erase_if(
        registry.Formats, [&](const TFileFormat& format) { return format.GraphicClass.Type == graphicClass.Type; });
}

std::vector<TFileFormat> TPicture::FileFormats()
{
    TFileFormatRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    return registry.Formats;
}

bool TPicture::FindExtension(std::string_view extension, TGraphicClass& graphicClass)
{
    TFileFormatRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    std::string ext = NormalExtension(extension);
    for (const TFileFormat& format : registry.Formats) {
        if (format.Extension == ext) {
            graphicClass = format.GraphicClass;
            return true;
        }
    }
    return false;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Install(std::unique_ptr<TGraphic> graphic)
{
    if (graphic) {
        graphic->OnChange = [this](TObject* sender) { Changed(sender); };
        graphic->OnProgress
            = [this](TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                  const std::string& msg) { Progress(sender, stage, percentDone, redrawNow, r, msg); };
    }
    FGraphic = std::move(graphic);
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* value)
{
    if (value == FGraphic.get())
        return;
    std::unique_ptr<TGraphic> graphic;
    if (value) {
        graphic = value->CreateNew();
        graphic->Assign(value);
    }
    Install(std::move(graphic));
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get()))
        Install(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* value)
{
    SetGraphic(value);
}

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get()))
        Install(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::SetIcon(TIcon* value)
{
    SetGraphic(value);
}

int TPicture::Width() const
{
    return FGraphic ? FGraphic->Width() : 0;
}

int TPicture::Height() const
{
    return FGraphic ? FGraphic->Height() : 0;
}

void TPicture::Assign(TPersistent* source)
{
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        inherited::Assign(source);
    }
}

void TPicture::AssignTo(TPersistent* dest)
{
    if (FGraphic && dest && typeid(*dest) == typeid(*FGraphic)) {
        dest->Assign(FGraphic.get());
        return;
    }
    inherited::AssignTo(dest);
}

void TPicture::LoadFromFile(std::string_view fileName)
{
    std::string ext = NormalExtension(ExtractFileExt(fileName));
    TGraphicClass graphicClass = TGraphicClass::Of<TBitmap>();
    if (!FindExtension(ext, graphicClass))
        throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    std::unique_ptr<TGraphic> graphic = graphicClass.Create();
    graphic->OnProgress
        = [this](TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
              const std::string& msg) { Progress(sender, stage, percentDone, redrawNow, r, msg); };
    // Loaded into the new graphic first, so a file that fails leaves the picture as it was.
    graphic->LoadFromFile(fileName);
    Install(std::move(graphic));
}

void TPicture::SaveToFile(std::string_view fileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

void TPicture::ReadData(TStream& stream)
{
    uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length)
        stream.ReadBuffer(name.data(), length);
    if (name.empty()) {
        Install(nullptr);
        return;
    }
    TGraphicClass graphicClass = TGraphicClass::Of<TBitmap>();
    if (!FindClassName(name, graphicClass))
        throw EInvalidGraphic("Invalid stream format");
    std::unique_ptr<TGraphic> graphic = graphicClass.Create();
    graphic->ReadData(stream);
    Install(std::move(graphic));
}

void TPicture::WriteData(TStream& stream)
{
    std::string name = FGraphic ? FGraphic->ClassName() : std::string();
    if (name.size() > 255)
        name.resize(255);
    uint8_t length = static_cast<uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    if (length)
        stream.WriteBuffer(name.data(), length);
    if (FGraphic)
        FGraphic->WriteData(stream);
}

void TPicture::Changed(TObject*)
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Progress(
    TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r, const std::string& msg)
{
    if (OnProgress)
        OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}
