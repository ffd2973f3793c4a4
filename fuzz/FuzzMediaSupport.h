// What the media fuzz targets share: the temporary file of their input (the decoders open files by name) and
// callbacks that stop the decoding after a few frames and blocks.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Writes the bytes to a new temporary file and returns its path; empty when it cannot be made.
inline std::string WriteFuzzTemporaryFile(const uint8_t* data, size_t size)
{
    char path[] = "/tmp/media-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return "";
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    close(fd);
    return path;
}

// Enough frames and blocks to run every decoder a file names, few enough to keep an input fast. A callback that
// returns false ends the decoding.
constexpr int MaxFuzzCallbacks = 40;
inline std::atomic<int> FuzzCallbacks { 0 };

inline bool FuzzVideoCallback(double, double, void*)
{
    return ++FuzzCallbacks < MaxFuzzCallbacks;
}

inline bool FuzzAudioCallback(double, double, void*, int32_t)
{
    return ++FuzzCallbacks < MaxFuzzCallbacks;
}
