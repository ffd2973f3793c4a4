// Opens arbitrary bytes as a media file with the codec library's reader: probe, prepare and decode a little of
// every stream. The reader must fail cleanly or decode what it can, and never crash or hang.
#include "codecs/braskel/Braskel.h"
#include "fuzz/FuzzMediaSupport.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

bool OnBegin(MediaReaderInfo*)
{
    return true;
}

bool OnEnd()
{
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader opens files by name.
    const std::string path = WriteFuzzTemporaryFile(data, size);
    if (path.empty())
        return 0;
    MediaReader* reader = Braskel_CreateMediaReader(path.c_str());
    MediaReaderOpenParams params;
    params.Marker0 = 1;
    params.Marker1 = 1;
    params.ColorFormat = 5;
    params.Begin = &OnBegin;
    params.Video = &FuzzVideoCallback;
    params.Audio = &FuzzAudioCallback;
    params.End = &OnEnd;
    const bool opened = reader->Open(&params) == 0;
    MediaReaderInfo info {};
    reader->GetInfo(&info);
    if (opened && info.Opened) {
        // The last streams of each kind, as a user's stream choice could name them.
        reader->SetVideoStream(info.VideoStreamCount > 0 ? info.VideoStreamCount - 1 : 0);
        reader->SetAudioStream(info.AudioStreamCount > 0 ? info.AudioStreamCount - 1 : 0);
        if (reader->Prepare() == 0) {
            FuzzCallbacks = 0;
            reader->Run();
        }
    }
    Braskel_ReleaseMediaReader(reader);
    unlink(path.c_str());
    return 0;
}
