// Opens arbitrary bytes with the second decoding library, the one that gets exactly the files the codec library's
// reader refuses: a probe, then a conversion run of its default streams on the library's own threads. It must
// fail cleanly or decode what it can, and never crash or hang.
#include "codecs/quentim/Quentim.h"
#include "fuzz/FuzzMediaSupport.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

bool OnBegin(QuentimInfo*)
{
    return true;
}

bool OnEnd()
{
    return true;
}

QuentimOpenParams Params(const std::string& path, bool withCallbacks)
{
    QuentimOpenParams params;
    params.WithCallbacks = withCallbacks ? 1 : 0;
    params.Marker2 = 1;
    params.FileName = path.c_str();
    params.Marker8 = 1;
    params.Marker9 = 1;
    params.WithAudio = withCallbacks ? 1 : 0;
    params.ColorFormat = 5;
    params.Marker20 = 4;
    if (withCallbacks) {
        params.Begin = &OnBegin;
        params.Video = &FuzzVideoCallback;
        params.Audio = &FuzzAudioCallback;
        params.End = &OnEnd;
    }
    return params;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The library opens files by name.
    const std::string path = WriteFuzzTemporaryFile(data, size);
    if (path.empty())
        return 0;
    QuentimInfo info {};
    const QuentimHandle probe = Quentim_Create();
    QuentimOpenParams probeParams = Params(path, false);
    const bool opened = probe && Quentim_Open(probe, &probeParams) != 0;
    Quentim_GetInfo(probe, &info);
    Quentim_Destroy(probe);
    if (opened && info.Opened) {
        const QuentimHandle run = Quentim_Create();
        QuentimOpenParams runParams = Params(path, true);
        if (run && Quentim_Open(run, &runParams) != 0) {
            FuzzCallbacks = 0;
            // The run decodes on the library's threads; it ends by itself at the end of the data or the callback
            // limit.
            if (Quentim_Run(run) != 0) {
                while (Quentim_GetState(run) == kQuentimRunning)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        Quentim_Destroy(run);
    }
    unlink(path.c_str());
    return 0;
}
