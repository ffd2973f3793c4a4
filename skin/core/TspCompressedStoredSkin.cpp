#include "skin/core/TspCompressedStoredSkin.h"

#include "framework/core/FileSystem.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/TBitmap.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinData.h"
#include "skin/core/TspSkinData.h"
#include "skin/core/spzlibcompress.h"

#include <limits>

using namespace SPUtils;

namespace {

constexpr int32_t kPackedVersion = 2;
constexpr const char* kMainPictureKeys[] = { "picture", "inactivepicture", "mask", "rolluppicture", "rollupmask" };

void WriteInt32(TStream& stream, int32_t value)
{
    stream.WriteBuffer(&value, sizeof(value));
}

void WriteFlag(TStream& stream, bool empty)
{
    uint8_t flag = empty ? 1 : 0;
    stream.WriteBuffer(&flag, sizeof(flag));
}

// The description's lines, each ended by CR LF as the packed layout holds them.
void WriteLines(TStream& stream, const TStrings& lines)
{
    std::string text;
    for (int i = 0; i < lines.Count(); ++i)
        text += lines.Strings(i) + "\r\n";
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void LoadPicture(TBitmap& bitmap, const std::string& folder, const std::string& name)
{
    std::string path = folder + name;
    if (IsJpegFile(name))
        LoadFromJpegFile(&bitmap, path);
    else
        bitmap.LoadFromFile(path);
}

std::unique_ptr<TMemoryStream> Compressed(TMemoryStream& unpacked)
{
    auto packed = std::make_unique<TMemoryStream>();
    spzlibcompress::CompressStream(unpacked, *packed);
    return packed;
}

} // namespace

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* owner)
    : inherited(owner)
    , FCompressedData(std::make_unique<TMemoryStream>())
{
}

TspCompressedStoredSkin::~TspCompressedStoredSkin() = default;

void TspCompressedStoredSkin::SetFileName(std::string_view value)
{
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) {
        FFileName = ExtractFileName(value);
        LoadFromIniFile(value);
    } else {
        FFileName = value;
    }
}

void TspCompressedStoredSkin::SetCompressedFileName(std::string_view value)
{
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) {
        FCompressedFileName = ExtractFileName(value);
        LoadFromCompressFile(value);
    } else {
        FCompressedFileName = value;
    }
}

bool TspCompressedStoredSkin::GetEmpty() const
{
    return FCompressedData->Size() == 0;
}

void TspCompressedStoredSkin::LoadFromSkinData(TspSkinData* skin)
{
    FCompressedData->Clear();
    if (!skin)
        return;
    TMemoryStream unpacked;
    WriteInt32(unpacked, kPackedVersion);
    for (const TspSkinData::TMainPicture& main : skin->MainPictures()) {
        WriteFlag(unpacked, main.Bitmap->Empty());
        if (!main.Bitmap->Empty())
            main.Bitmap->SaveToStream(unpacked);
    }
    WriteInt32(unpacked, static_cast<int32_t>(skin->ActivePictures.size()));
    for (const auto& picture : skin->ActivePictures)
        picture->SaveToStream(unpacked);
    TMemIniFile ini("");
    skin->SaveToCustomIniFile(&ini);
    TStringList lines;
    ini.GetStrings(lines);
    WriteLines(unpacked, lines);
    FCompressedData = Compressed(unpacked);
}

void TspCompressedStoredSkin::LoadFromIniFile(std::string_view path)
{
    std::string fileName(path);
    TMemIniFile ini(fileName);
    if (!SkinData::CheckSkinIniSections(&ini))
        return;
    TStringList lines;
    lines.LoadFromFile(fileName);
    std::string folder = ExtractFilePath(fileName);

    // Everything is packed aside first, so that a picture that does not load leaves the data as it was.
    TMemoryStream unpacked;
    WriteInt32(unpacked, kPackedVersion);
    for (const char* key : kMainPictureKeys) {
        std::string name = ini.ReadString("PICTURES", key, "");
        WriteFlag(unpacked, name.empty());
        if (name.empty())
            continue;
        TBitmap bitmap;
        LoadPicture(bitmap, folder, name);
        bitmap.SaveToStream(unpacked);
    }
    TStringList activeNames;
    ReadStrings1(&ini, "PICTURES", "activepictures", &activeNames);
    WriteInt32(unpacked, activeNames.Count());
    for (int i = 0; i < activeNames.Count(); ++i) {
        TBitmap bitmap;
        LoadPicture(bitmap, folder, activeNames.Strings(i));
        bitmap.SaveToStream(unpacked);
    }
    WriteLines(unpacked, lines);
    FCompressedData = Compressed(unpacked);
}

void TspCompressedStoredSkin::LoadFromCompressFile(std::string_view path)
{
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    ReadPacked(file);
}

void TspCompressedStoredSkin::LoadFromCompressStream(TStream& stream)
{
    stream.SetPosition(0);
    ReadPacked(stream);
}

void TspCompressedStoredSkin::ReadPacked(TStream& stream)
{
    int32_t version = 0;
    stream.ReadBuffer(&version, sizeof(version));
    if (version > 3) {
        FCompressedData->Clear();
        return;
    }
    int32_t length = 0;
    stream.ReadBuffer(&length, sizeof(length));
    // The length comes from the file: it is checked against what the file holds before anything is copied.
    if (length < 0 || length > stream.Size() - stream.Position())
        throw EReadError("Stream read error");
    auto data = std::make_unique<TMemoryStream>();
    if (length > 0)
        data->CopyFrom(stream, length);
    FCompressedData = std::move(data);
}

void TspCompressedStoredSkin::SaveToCompressFile(std::string_view path)
{
    if (GetEmpty())
        return;
    int64_t size = FCompressedData->Size();
    if (size > std::numeric_limits<int32_t>::max())
        throw EWriteError("Stream write error");
    TFileStream file(path, fmCreate);
    WriteInt32(file, kPackedVersion);
    WriteInt32(file, static_cast<int32_t>(size));
    FCompressedData->SaveToStream(file);
}

void TspCompressedStoredSkin::DeCompressToStream(TStream& stream)
{
    spzlibcompress::DeCompressStream(stream, *FCompressedData);
}
