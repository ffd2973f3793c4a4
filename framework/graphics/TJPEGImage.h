// TJPEGImage, the JPEG picture: keeps the file's bytes and decodes them into a bitmap through libjpeg when
// it is drawn or asked for its pixels.
#pragma once
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TGraphic.h"

#include <cstdint>
#include <memory>
#include <vector>

// A JPEG the decoder cannot read, with libjpeg's message ("Not a JPEG file: starts with 0x89 0x50").
class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

enum TJPEGScale : uint8_t { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance : uint8_t { jpBestQuality, jpBestSpeed };
// jf24Bit decodes to a pf24bit bitmap; jf8Bit to pf8bit (a grey ramp for greyscale output).
enum TJPEGPixelFormat : uint8_t { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
    using inherited = TGraphic;

public:
    TJPEGImage();
    ~TJPEGImage() override;

    // From a TJPEGImage: its bytes and settings. Encoding other pictures is not offered.
    void Assign(TPersistent* source) override;
    std::unique_ptr<TGraphic> CreateNew() const override;

    // Decodes the bytes now, if not done yet; raises EJPEG for data libjpeg rejects, a stream that ends
    // early included.
    void DIBNeeded();
    // The decoded picture (decoding it first). Owned by the image; valid until the image changes.
    TBitmap* Bitmap();

    // Decoding settings; changing one drops the decoded bitmap. Grayscale gives an 8-bit grey picture of any
    // file, CMYK ones included.
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool value);
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale value);
    TJPEGPerformance Performance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance value);
    TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat value);
    bool ProgressiveEncoding() const { return FProgressive; }

    // Raise EInvalidGraphicOperation "Cannot change the size of a JPEG image".
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // Reads the rest of the stream as a JPEG file and its header (size, colour, progressive); the pixels
    // are decoded later. Raises EJPEG when the header cannot be read; the image is then left as it was.
    void LoadFromStream(TStream& stream) override;
    // Writes the bytes as they were loaded.
    void SaveToStream(TStream& stream) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool GetEmpty() const override;
    int GetWidth() const override;
    int GetHeight() const override;
    void AssignTo(TPersistent* dest) override;
    // The "Data" form: a 32-bit length, then the file.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void FreeBitmap();
    void ReadHeader(const std::vector<uint8_t>& data);
    void Decode();

    std::vector<uint8_t> FData;
    std::unique_ptr<TBitmap> FBitmap;
    int FImageWidth = 0;
    int FImageHeight = 0;
    bool FImageGrayscale = false;
    bool FProgressive = false;
    bool FGrayscale = false;
    TJPEGScale FScale = jsFullSize;
    TJPEGPerformance FPerformance = jpBestQuality;
    TJPEGPixelFormat FPixelFormat = jf24Bit;
};
