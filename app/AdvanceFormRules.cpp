#include "app/AdvanceFormRules.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>

namespace {

const char* SkipBlanks(const char* at, const char* end)
{
    while (at != end && *at == ' ')
        ++at;
    return at;
}

bool IsAuto(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const size_t last = text.find_last_not_of(" \t");
    std::string word = text.substr(first, last - first + 1);
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return word == "auto";
}

} // namespace

double ParseAspectRatio(const std::string& text)
{
    const char* end = text.data() + text.size();
    const char* at = SkipBlanks(text.data(), end);
    if (text.find(':') != std::string::npos) {
        // "w:h": the width must end exactly at the first colon.
        long long width = 0;
        long long height = 0;
        const auto [afterWidth, widthError] = std::from_chars(at, end, width);
        if (widthError != std::errc() || afterWidth != text.data() + text.find(':'))
            return 0;
        const char* heightAt = SkipBlanks(afterWidth + 1, end);
        if (std::from_chars(heightAt, end, height).ec != std::errc())
            return 0;
        return width > 0 && height > 0 ? double(width) / double(height) : 0;
    }
    // A decimal: a negative, infinite or unreadable one gives no ratio, so the encoder is never handed one.
    double ratio = 0;
    if (std::from_chars(at, end, ratio, std::chars_format::fixed).ec != std::errc())
        return 0;
    return std::isfinite(ratio) && ratio > 0 ? ratio : 0;
}

bool ValidateAspectRatio(const std::string& text) { return IsAuto(text) || ParseAspectRatio(text) != 0; }

std::string StoredAspectRatio(const std::string& text) { return IsAuto(text) ? std::string() : text; }

int32_t TTrimTrack::PixelOf(double seconds) const
{
    if (!Usable())
        return TrackLeft;
    return int32_t(seconds / Duration * (TrackRight - TrackLeft) + TrackLeft);
}

double TTrimTrack::TimeOf(int32_t left) const
{
    if (!Usable())
        return 0;
    return Duration * (left - TrackLeft) / (TrackRight - TrackLeft);
}

int32_t TTrimTrack::DragStart(int32_t x, double trimEnd) const
{
    if (!Usable())
        return TrackLeft;
    const double end = trimEnd == -1.0 ? Duration : trimEnd;
    const int32_t limit = PixelOf(end - 1);
    return std::max(TrackLeft, std::min(x, limit));
}

int32_t TTrimTrack::DragEnd(int32_t x, double trimStart) const
{
    if (!Usable())
        return TrackRight;
    const double start = trimStart == -1.0 ? 0 : trimStart;
    const int32_t limit = PixelOf(start + 1);
    return std::min(TrackRight, std::max(x, limit));
}

TStoredTrim StoredTrim(double trimStart, double trimEnd, double duration)
{
    TStoredTrim stored;
    stored.StartTime = int64_t(trimStart) != 0 ? trimStart : -1.0;
    stored.EndTime = int64_t(duration) == int64_t(trimEnd) ? -1.0 : trimEnd;
    return stored;
}
