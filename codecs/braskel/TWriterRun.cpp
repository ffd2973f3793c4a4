#include "codecs/braskel/TWriterRun.h"

#include <cstdio>

namespace {

constexpr uint8_t kOk = 0;

} // namespace

TWriterRun::TWriterRun(std::string libraryName)
    : FLibraryName(std::move(libraryName))
{
}

TWriterRun::~TWriterRun()
{
    End();
}

TWriterRun::TWriter TWriterRun::NewWriter(const std::string& path)
{
    return TWriter(Braskel_CreateMediaWriter(path.c_str()));
}

void TWriterRun::StartRun(TWriter writer)
{
    FWriter = std::move(writer);
    FLastSize = 0;
    FError.clear();
}

bool TWriterRun::Fail(std::string text)
{
    FError = std::move(text);
    std::fprintf(stderr, "%s: %s\n", FLibraryName.c_str(), FError.c_str());
    return false;
}

bool TWriterRun::End()
{
    if (!FWriter)
        return true;
    const bool finished = FWriter->Close() == kOk;
    if (!finished)
        Fail(FWriter->GetErrorText());
    FLastSize = FWriter->GetOutputSize();
    FWriter.reset();
    return finished;
}

bool TWriterRun::EncodeVideo(const void* frame, double time)
{
    if (!FWriter)
        return Fail("no run in progress");
    return FWriter->WriteVideo(frame, time) == kOk || Fail(FWriter->GetErrorText());
}

bool TWriterRun::EncodeAudio(const void* samples, int32_t byteCount, double time)
{
    if (!FWriter)
        return Fail("no run in progress");
    return FWriter->WriteAudio(samples, byteCount, time) == kOk || Fail(FWriter->GetErrorText());
}

int64_t TWriterRun::OutputSize() const
{
    return FWriter ? FWriter->GetOutputSize() : FLastSize;
}
