// The fuzz targets' temporary file, for parsers that open their input by name.
#pragma once
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
