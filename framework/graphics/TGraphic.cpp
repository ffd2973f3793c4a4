#include "framework/graphics/TGraphic.h"

#include "framework/core/Streams.h"

#include <cstring>
#include <typeinfo>

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed(this);
}

void TGraphic::SetModified(bool value)
{
    if (value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::SetPalette(HPALETTE)
{
}

bool TGraphic::Equals(TGraphic* graphic)
{
    if (!graphic || typeid(*graphic) != typeid(*this))
        return false;
    if (graphic == this)
        return true;
    if (Empty() || graphic->Empty())
        return Empty() && graphic->Empty();
    TMemoryStream mine;
    TMemoryStream theirs;
    WriteData(mine);
    graphic->WriteData(theirs);
    return mine.Size() == theirs.Size() && std::memcmp(mine.Memory(), theirs.Memory(), mine.Size()) == 0;
}

void TGraphic::LoadFromFile(std::string_view fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(std::string_view fileName)
{
    // The picture is written to memory first, so a graphic that cannot save itself leaves an existing file
    // untouched instead of truncated.
    TMemoryStream memory;
    SaveToStream(memory);
    TFileStream stream(fileName, fmCreate);
    stream.WriteBuffer(memory.Memory(), static_cast<int32_t>(memory.Size()));
}

void TGraphic::Changed(TObject*)
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::Progress(
    TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r, const std::string& msg)
{
    if (OnProgress)
        OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}

void TGraphic::ReadData(TStream& stream)
{
    LoadFromStream(stream);
}

void TGraphic::WriteData(TStream& stream)
{
    SaveToStream(stream);
}
