#include "codecs/testclips/TTestFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

TTestFolder::TTestFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tp-codecs-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    if (mkdtemp(buffer.data()))
        FPath = buffer.data();
}

TTestFolder::~TTestFolder()
{
    if (FPath.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string TTestFolder::File(const std::string& name) const
{
    return FPath + "/" + name;
}

long long FileSizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

bool TruncateFile(const std::string& path, double keepFraction)
{
    const long long size = FileSizeOf(path);
    if (size < 0 || keepFraction < 0.0 || keepFraction > 1.0)
        return false;
    std::error_code error;
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size * keepFraction), error);
    return !error;
}

bool CorruptFileMiddle(const std::string& path, double fraction)
{
    const long long size = FileSizeOf(path);
    if (size < 0 || fraction <= 0.0 || fraction > 1.0)
        return false;
    const long long length = static_cast<long long>(size * fraction);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    file.seekp((size - length) / 2);
    uint32_t state = 0x2545F491u;
    for (long long i = 0; i < length; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        file.put(static_cast<char>(state & 0xFF));
    }
    return bool(file);
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return bool(file);
}
