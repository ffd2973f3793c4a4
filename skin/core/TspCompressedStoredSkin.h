// TspCompressedStoredSkin, a whole skin (decoded pictures and description) packed into one zlib stream.
#pragma once
#include "framework/core/Streams.h"
#include "framework/core/TComponent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TspSkinData;

// A packed file is a 32-bit version (written 2, read up to 3), a 32-bit length L and L bytes of one zlib
// stream. The stream holds a 32-bit version, a flag byte (1: empty) and a BMP image for each main picture the
// version carries, the count and BMP images of the active pictures, and the description's INI text (CR LF
// lines) to its end. Integers are little-endian. Cursors are not carried.
class TspCompressedStoredSkin : public TComponent {
    using inherited = TComponent;

public:
    explicit TspCompressedStoredSkin(TComponent* owner);
    ~TspCompressedStoredSkin() override;

    // Published properties. Description is free text; FileName and CompressedFileName name the description
    // file and the packed file the data came from.
    const std::string& Description() const { return FDescription; }
    void SetDescription(std::string_view value) { FDescription = value; }
    const std::string& FileName() const { return FFileName; }
    // At design time (not while loading) it keeps only the file name and packs the description file.
    void SetFileName(std::string_view value);
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    // At design time (not while loading) it keeps only the file name and reads the packed file.
    void SetCompressedFileName(std::string_view value);

    // The zlib stream; empty when the packed skin holds nothing.
    TMemoryStream* CompressedData() const { return FCompressedData.get(); }
    bool GetEmpty() const;

    // Packs a loaded container: its pictures as BMP images and its description.
    void LoadFromSkinData(TspSkinData* skin);
    // Packs a description file with the pictures it names (JPEG names decoded as the container does). A file
    // without the required sections changes nothing; a picture that does not load raises and keeps the
    // previous data.
    void LoadFromIniFile(std::string_view path);
    // Reads a packed file. A version above 3 leaves the packed skin empty without an error; a file that
    // cannot be opened, or that holds fewer bytes than its length field says (or a negative length), raises
    // and keeps the previous data.
    void LoadFromCompressFile(std::string_view path);
    // Reads `stream` from its start like a packed file.
    void LoadFromCompressStream(TStream& stream);
    // Writes the packed file; an empty packed skin creates no file.
    void SaveToCompressFile(std::string_view path);
    // Writes the unpacked data into `stream` from its position.
    void DeCompressToStream(TStream& stream);

private:
    void ReadPacked(TStream& stream);

    std::unique_ptr<TMemoryStream> FCompressedData;
    std::string FDescription;
    std::string FFileName;
    std::string FCompressedFileName;
};
