#include "skin/core/TspSkinData.h"

#include "framework/core/FileSystem.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TList.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/spzlibcompress.h"

#include <algorithm>
#include <map>

using namespace SPUtils;
using namespace SkinData;

namespace {

// A packed skin unpacks in memory; this bounds what a small hostile file can make us allocate.
constexpr int64_t kMaxUnpackedSize = int64_t(256) << 20;

// The main pictures that each version of the packed layout carries, by their keys.
std::vector<const char*> PackedPictureKeys(int32_t version)
{
    switch (version) {
    case 1:
        return { "picture", "mask", "rolluppicture", "rollupmask" };
    case 2:
        return { "picture", "inactivepicture", "mask", "rolluppicture", "rollupmask" };
    case 3:
        return { "picture", "inactivepicture", "mask" };
    default:
        return { "picture", "mask" };
    }
}

// A picture of the packed layout. The bitmap reader takes an exhausted stream for an empty picture; here the
// picture was announced, so its absence is an error.
void ReadPackedPicture(TBitmap* bitmap, TMemoryStream& data)
{
    int64_t remaining = data.Size() - data.Position();
    if (remaining <= 0)
        throw EReadError("Stream read error");
    // The bitmap reader takes in everything up to the end of its stream; handed the one picture its file
    // header measures, it does not copy the rest of the skin for every picture.
    const auto* at = static_cast<const uint8_t*>(data.Memory()) + data.Position();
    if (remaining >= 6 && at[0] == 'B' && at[1] == 'M') {
        int64_t size = int64_t(at[2]) | int64_t(at[3]) << 8 | int64_t(at[4]) << 16 | int64_t(at[5]) << 24;
        if (size >= 26 && size <= remaining) {
            TMemoryStream picture;
            picture.WriteBuffer(at, static_cast<int32_t>(size));
            picture.SetPosition(0);
            bitmap->LoadFromStream(picture);
            data.Seek(picture.Position(), soCurrent);
            return;
        }
    }
    bitmap->LoadFromStream(data);
}

void UnpackBounded(TspCompressedStoredSkin* skin, TMemoryStream& data)
{
    TMemoryStream* packed = skin->CompressedData();
    packed->SetPosition(0);
    TDecompressionStream unpacker(*packed);
    uint8_t buffer[TCustomZlibStream::BufferSize];
    for (;;) {
        int32_t got = unpacker.Read(buffer, sizeof(buffer));
        if (got <= 0)
            break;
        if (data.Size() + got > kMaxUnpackedSize)
            throw EDecompressionError("The packed skin unpacks to more than 256 MiB");
        data.WriteBuffer(buffer, got);
    }
    if (!unpacker.StreamEnded())
        throw EDecompressionError("The packed skin's data ends early");
}

// The name under which StoreToDisk writes a picture. The folder part is dropped, so that no name taken from
// a skin can write outside the target folder, and a name that LoadFromFile would decode as JPEG gets a BMP
// name, since the data written is BMP. Names already given to another picture get a number.
class TStoredNames {
public:
    TStoredNames() { FUsed["skin.ini"] = ""; }

    std::string Name(const std::string& original, const std::string& fallback)
    {
        std::string base = ExtractFileName(original);
        if (base.empty() || base == "." || base == "..")
            base = fallback + ".bmp";
        if (IsJpegFile(base)) {
            base = StringReplace(base, ".jpeg", "_jpeg", TReplaceFlags { rfReplaceAll });
            base = StringReplace(base, ".jpg", "_jpg", TReplaceFlags { rfReplaceAll });
            base += ".bmp";
        }
        std::string candidate = base;
        for (int n = 2; FUsed.count(candidate) && FUsed[candidate] != original; ++n)
            candidate = ChangeFileExt(base, "") + "_" + IntToStr(n) + ExtractFileExt(base);
        FUsed[candidate] = original;
        return candidate;
    }

private:
    std::map<std::string, std::string> FUsed;
};

} // namespace

TspSkinData::TspSkinData(TComponent* owner)
    : inherited(owner)
    , Picture(std::make_unique<TBitmap>())
    , InActivePicture(std::make_unique<TBitmap>())
    , MaskPicture(std::make_unique<TBitmap>())
    , RollUpPicture(std::make_unique<TBitmap>())
    , RollUpMaskPicture(std::make_unique<TBitmap>())
    , ActivePictureNames(std::make_unique<TStringList>())
    , CursorNames(std::make_unique<TStringList>())
    , PopupWindow(std::make_unique<TspDataSkinPopupWindow>())
    , HintWindow(std::make_unique<TspDataSkinHintWindow>())
    , Colors(std::make_unique<TspSkinColors>())
    , FImageCache(std::make_unique<TspSkinImageCache>())
{
}

TspSkinData::~TspSkinData()
{
    Empty = true;
    ClearObjects();
}

void TspSkinData::SetSkinnableForm(bool value)
{
    if (value == FSkinnableForm)
        return;
    FSkinnableForm = value;
    if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_CHANGEFORMSKINNABLE);
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* value)
{
    if (value != FCompressedStoredSkin) {
        if (FCompressedStoredSkin)
            FCompressedStoredSkin->RemoveFreeNotification(this);
        FCompressedStoredSkin = value;
        // The packed skin may belong to another owner; its deletion must reach us all the same.
        if (value)
            value->FreeNotification(this);
    }
    if (value && !ComponentState().Contains(csDesigning))
        LoadCompressedStoredSkin(value);
}

void TspSkinData::SetResourceStrData(TspResourceStrData* value)
{
    if (value != FResourceStrData) {
        if (FResourceStrData)
            FResourceStrData->RemoveFreeNotification(this);
        FResourceStrData = value;
        if (value)
            value->FreeNotification(this);
    }
    if (!ComponentState().Contains(csDesigning))
        SendSkinDataMessage(WM_CHANGERESSTRDATA);
}

void TspSkinData::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FCompressedStoredSkin)
        FCompressedStoredSkin = nullptr;
    if (component == FResourceStrData)
        FResourceStrData = nullptr;
}

void TspSkinData::LoadFromFile(std::string_view path)
{
    std::string fileName(path);
    TMemIniFile ini(fileName);
    if (!CheckSkinIniSections(&ini))
        return;
    Empty = true;
    SkinChanging = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();

    std::string folder = ExtractFilePath(fileName);
    ReadVersionAndPictureNames(&ini);
    for (const TMainPicture& main : MainPictures())
        LoadMainPicture(main.Bitmap, *main.Name, folder);
    ReadActivePictures(&ini, folder);
    ReadCursors(&ini, folder);
    ReadSkinSections(&ini);

    Empty = false;
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SkinChanging = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TspSkinData::LoadCompressedStoredSkin(TspCompressedStoredSkin* skin)
{
    if (!skin || skin->GetEmpty())
        return;
    // The data is unpacked and its version checked before anything changes, so that a packed skin this
    // reader cannot use leaves the current skin in place.
    TMemoryStream data;
    UnpackBounded(skin, data);
    data.SetPosition(0);
    int32_t version = 0;
    data.ReadBuffer(&version, sizeof(version));
    if (version > 3)
        throw EReadError(Format("The packed skin's data has version %d, which this reader does not know", version));

    Empty = true;
    SkinChanging = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();

    std::vector<TMainPicture> mains = MainPictures();
    for (const char* key : PackedPictureKeys(version)) {
        auto main = std::find_if(
            mains.begin(), mains.end(), [key](const TMainPicture& m) { return std::string_view(m.Key) == key; });
        uint8_t emptyFlag = 0;
        data.ReadBuffer(&emptyFlag, sizeof(emptyFlag));
        if (emptyFlag == 0)
            ReadPackedPicture(main->Bitmap, data);
    }
    int32_t count = 0;
    data.ReadBuffer(&count, sizeof(count));
    if (count < 0)
        throw EReadError("Stream read error");
    for (int32_t i = 0; i < count; ++i) {
        auto bitmap = std::make_unique<TBitmap>();
        ReadPackedPicture(bitmap.get(), data);
        AddPicture(std::move(bitmap));
    }

    std::string text(static_cast<size_t>(data.Size() - data.Position()), '\0');
    data.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
    TStringList lines;
    lines.SetText(text);
    TMemIniFile ini("");
    ini.SetStrings(lines);
    ReadVersionAndPictureNames(&ini);
    ReadStrings1(&ini, "PICTURES", "activepictures", ActivePictureNames.get());
    if (ActivePictureNames->Count() != static_cast<int>(ActivePictures.size()))
        throw EReadError(Format("The packed skin holds %d active pictures but names %d", static_cast<int>(count),
            ActivePictureNames->Count()));
    ReadSkinSections(&ini);

    Empty = false;
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SkinChanging = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TspSkinData::LoadFromCompressedFile(std::string_view path)
{
    TspCompressedStoredSkin packed(nullptr);
    packed.LoadFromCompressFile(path);
    if (!packed.GetEmpty())
        LoadCompressedStoredSkin(&packed);
}

void TspSkinData::SaveToFile(std::string_view path)
{
    std::string fileName(path);
    {
        TFileStream create(fileName, fmCreate);
    }
    TMemIniFile ini(fileName);
    SaveToCustomIniFile(&ini);
    ini.UpdateFile();
}

void TspSkinData::SaveToCompressedFile(std::string_view path)
{
    TspCompressedStoredSkin packed(nullptr);
    packed.LoadFromSkinData(this);
    packed.SaveToCompressFile(path);
}

void TspSkinData::StoreToDisk(std::string_view folder)
{
    std::string target = IncludeTrailingPathDelimiter(folder);
    TStoredNames names;
    bool renamed = false;

    std::vector<TMainPicture> mains = MainPictures();
    std::vector<std::string> mainNames;
    for (const TMainPicture& main : mains) {
        std::string stored = main.Bitmap->Empty() ? std::string() : names.Name(*main.Name, main.Key);
        renamed = renamed || stored != *main.Name;
        mainNames.push_back(stored);
    }
    TStringList activeNames;
    for (size_t i = 0; i < ActivePictures.size(); ++i) {
        std::string original
            = static_cast<int>(i) < ActivePictureNames->Count() ? ActivePictureNames->Strings(int(i)) : "";
        std::string stored = names.Name(original, "activepicture" + IntToStr(int64_t(i)));
        renamed = renamed || stored != original;
        activeNames.Add(stored);
    }
    renamed = renamed || activeNames.Count() != ActivePictureNames->Count();

    std::string iniPath = target + "skin.ini";
    SaveToFile(iniPath);
    if (renamed) {
        TMemIniFile ini(iniPath);
        for (size_t i = 0; i < mains.size(); ++i)
            ini.WriteString("PICTURES", mains[i].Key, mainNames[i]);
        WriteStrings1(&ini, "PICTURES", "activepictures", &activeNames);
        ini.UpdateFile();
    }
    for (size_t i = 0; i < mains.size(); ++i) {
        if (!mains[i].Bitmap->Empty())
            mains[i].Bitmap->SaveToFile(target + mainNames[i]);
    }
    for (size_t i = 0; i < ActivePictures.size(); ++i)
        ActivePictures[i]->SaveToFile(target + activeNames.Strings(static_cast<int>(i)));
}

void TspSkinData::ClearSkin()
{
    ClearAll();
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TspSkinData::ClearAll()
{
    ClearObjects();
    for (const TMainPicture& main : MainPictures()) {
        main.Bitmap->Assign(nullptr);
        main.Name->clear();
    }
    Empty = true;
}

void TspSkinData::ClearObjects()
{
    AreaRecords.clear();
    ObjectRecords.clear();
    ControlRecords.clear();
    ActivePictures.clear();
    FImageCache->Clear();
    ActivePictureNames->Clear();
    CursorNames->Clear();
    PopupWindow->WindowPictureIndex = -1;
    HintWindow->WindowPictureIndex = -1;
    Colors->SetColorsToDefault();
}

namespace {

template <class TRecords> int IndexOfName(const TRecords& records, std::string_view name)
{
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i]->IDName == name)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

int TspSkinData::GetIndex(std::string_view name) const
{
    return IndexOfName(ObjectRecords, name);
}

int TspSkinData::GetControlIndex(std::string_view name) const
{
    return IndexOfName(ControlRecords, name);
}

int TspSkinData::GetAreaIndex(std::string_view name) const
{
    return IndexOfName(AreaRecords, name);
}

void TspSkinData::AddBitMap(std::string_view path)
{
    std::string name = ExtractFileName(path);
    auto bitmap = std::make_unique<TBitmap>();
    if (IsJpegFile(name))
        LoadFromJpegFile(bitmap.get(), path);
    else
        bitmap->LoadFromFile(path);
    ActivePictureNames->Add(name);
    AddPicture(std::move(bitmap));
}

void TspSkinData::AddPicture(std::unique_ptr<TBitmap> picture)
{
    WatchPicture(picture.get());
    ActivePictures.push_back(std::move(picture));
    FImageCache->Clear();
}

void TspSkinData::WatchPicture(TBitmap* picture)
{
    // Images composed from a picture are kept by the picture's address; a picture drawn on, loaded anew or
    // resized makes them all stale.
    picture->OnChange = [this](TObject*) { FImageCache->Clear(); };
}

void TspSkinData::DeleteBitMap(int index)
{
    if (index < 0 || index >= static_cast<int>(ActivePictures.size()))
        throw EListError(Format("List index out of bounds (%d)", index));
    ActivePictures.erase(ActivePictures.begin() + index);
    // A picture made later may take the freed picture's address.
    FImageCache->Clear();
    if (index < ActivePictureNames->Count())
        ActivePictureNames->Delete(index);
}

bool TspSkinData::InSkinFolder(std::string_view name)
{
    // Read part by part: a ".." may only climb back out of a folder the name went into.
    if (name.empty() || name.front() == '/')
        return false;
    int depth = 0;
    std::string_view last;
    while (!name.empty()) {
        const size_t slash = name.find('/');
        last = name.substr(0, slash);
        name = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
        if (last == "..") {
            if (--depth < 0)
                return false;
        } else if (!last.empty() && last != ".") {
            ++depth;
        }
    }
    return depth > 0 && !last.empty() && last != "." && last != "..";
}

std::string TspSkinData::PicturePath(std::string_view folder, const std::string& name)
{
    if (!InSkinFolder(name))
        throw Exception(Format("The skin's picture \"%s\" is not a file of its folder", name));
    return std::string(folder) + name;
}

void TspSkinData::LoadMainPicture(TBitmap* bitmap, const std::string& name, std::string_view folder)
{
    if (name.empty()) {
        bitmap->Assign(nullptr);
        return;
    }
    const std::string path = PicturePath(folder, name);
    if (IsJpegFile(name))
        LoadFromJpegFile(bitmap, path);
    else
        bitmap->LoadFromFile(path);
}

std::vector<TspSkinData::TMainPicture> TspSkinData::MainPictures()
{
    return {
        { Picture.get(), &PictureName, "picture" },
        { InActivePicture.get(), &InActivePictureName, "inactivepicture" },
        { MaskPicture.get(), &MaskPictureName, "mask" },
        { RollUpPicture.get(), &RollUpPictureName, "rolluppicture" },
        { RollUpMaskPicture.get(), &RollUpMaskPictureName, "rollupmask" },
    };
}
