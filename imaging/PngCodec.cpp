#include "imaging/PngCodec.h"

#include "imaging/PngMessages.h"

#include <zlib.h>

uint32_t ByteSwap(uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

uint16_t ByteSwap16(uint16_t value)
{
    return static_cast<uint16_t>((value >> 8) | (value << 8));
}

uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

void WriteBigEndian32(uint8_t* bytes, uint32_t value)
{
    bytes[0] = uint8_t(value >> 24);
    bytes[1] = uint8_t(value >> 16);
    bytes[2] = uint8_t(value >> 8);
    bytes[3] = uint8_t(value);
}

uint32_t update_crc(uint32_t crc, const uint8_t* buffer, size_t length)
{
    // zlib's crc32 is the same PNG polynomial with the complements built in; undoing them leaves the plain register
    // update. Its tables are built once, thread-safely, and it runs several bytes per step, which the image data
    // needs: every compressed byte passes through here.
    uLong reg = ~crc & 0xFFFFFFFFu;
    while (length > 0) {
        uInt step = length > 0x40000000u ? 0x40000000u : uInt(length);
        reg = crc32(reg, buffer, step);
        buffer += step;
        length -= step;
    }
    return ~uint32_t(reg);
}

uint32_t ChunkCRC(const TChunkName& name, const uint8_t* data, size_t length)
{
    uint32_t crc = update_crc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(name.data()), 4);
    if (length > 0)
        crc = update_crc(crc, data, length);
    return ~crc;
}

std::string ZLibErrorText(int result)
{
    const char* description;
    switch (result) {
    case Z_VERSION_ERROR:
        description = "incompatible version (-6)";
        break;
    case Z_BUF_ERROR:
        description = "buffer error (-5)";
        break;
    case Z_MEM_ERROR:
        description = "insufficient memory (-4)";
        break;
    case Z_DATA_ERROR:
        description = "data error (-3)";
        break;
    case Z_STREAM_ERROR:
        description = "stream error (-2)";
        break;
    case Z_ERRNO:
        description = "file error (-1)";
        break;
    case Z_OK:
        description = "(0)";
        break;
    case Z_STREAM_END:
        description = "stream end (1)";
        break;
    case Z_NEED_DICT:
        description = "need dictionary (2)";
        break;
    default:
        return std::string(EPNGZLIBErrorText) + "(" + std::to_string(result) + ")";
    }
    return std::string(EPNGZLIBErrorText) + description;
}
