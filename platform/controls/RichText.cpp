#include "platform/controls/RichText.h"

#include "platform/controls/RichEditControl.h"

#include <algorithm>

RichText::RichText(const RichCharFormat& defaultFormat)
{
    formats_.push_back(defaultFormat);
    Reset(0, 1);
}

void RichText::Reset(long long length, int lines)
{
    runs_.clear();
    if (length > 0)
        runs_.push_back({length, default_});
    tail_ = default_;
    pending_.reset();
    alignments_.assign(std::max(lines, 1), RichAlignment::Left);
    Normalise();
}

void RichText::Assign(const RichDocument& document)
{
    runs_.clear();
    for (const RichRun& run : document.Runs) {
        int format = run.Format >= 0 && run.Format < static_cast<int>(document.Formats.size())
            ? Intern(document.Formats[run.Format])
            : default_;
        runs_.push_back({run.Length, format});
    }
    pending_.reset();
    alignments_ = document.Alignments;
    if (alignments_.empty())
        alignments_.push_back(RichAlignment::Left);
    Normalise();
    tail_ = runs_.empty() ? default_ : runs_.back().Format;
}

RichDocument RichText::Extract(long long from, long long to, int firstLine, int lastLine) const
{
    RichDocument document;
    std::vector<int> map(formats_.size(), -1);
    for (long long at = from; at < to;) {
        long long end = 0;
        int format = RunAt(at, &end);
        if (map[format] < 0) {
            map[format] = static_cast<int>(document.Formats.size());
            document.Formats.push_back(formats_[format]);
        }
        long long length = std::min(end, to) - at;
        if (length <= 0)
            break;
        document.Runs.push_back({length, map[format]});
        at += length;
    }
    for (int line = firstLine; line <= lastLine; ++line)
        document.Alignments.push_back(Alignment(line));
    return document;
}

// --- formats ------------------------------------------------------------------------------------------------

int RichText::Intern(const RichCharFormat& format)
{
    auto it = std::find(formats_.begin(), formats_.end(), format);
    if (it != formats_.end())
        return static_cast<int>(it - formats_.begin());
    formats_.push_back(format);
    return static_cast<int>(formats_.size()) - 1;
}

void RichText::SetDefault(const RichCharFormat& format)
{
    int old = default_;
    default_ = Intern(format);
    for (RichRun& run : runs_)
        if (run.Format == old)
            run.Format = default_;
    if (tail_ == old)
        tail_ = default_;
    Normalise();
}

std::vector<int> RichText::UsedFormats() const
{
    std::vector<int> used {runs_.empty() ? tail_ : runs_.front().Format};
    for (const RichRun& run : runs_)
        used.push_back(run.Format);
    if (pending_)
        used.push_back(*pending_);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

RichCharFormat RichText::Merge(RichCharFormat base, DWORD mask, const RichCharFormat& value)
{
    if (mask & CFM_FACE)
        base.Face = value.Face;
    if (mask & CFM_SIZE)
        base.Twips = value.Twips;
    if (mask & CFM_COLOR) {
        base.Color = value.Color;
        base.AutoColor = value.AutoColor;
    }
    if (mask & CFM_BOLD)
        base.Bold = value.Bold;
    if (mask & CFM_ITALIC)
        base.Italic = value.Italic;
    if (mask & CFM_UNDERLINE)
        base.Underline = value.Underline;
    if (mask & CFM_STRIKEOUT)
        base.StrikeOut = value.StrikeOut;
    return base;
}

// --- runs ---------------------------------------------------------------------------------------------------

size_t RichText::RunIndex(long long position) const
{
    auto it = std::upper_bound(starts_.begin(), starts_.end(), position);
    return it == starts_.begin() ? 0 : static_cast<size_t>(it - starts_.begin()) - 1;
}

size_t RichText::SplitAt(long long position)
{
    if (position >= Total())
        return runs_.size();
    size_t index = RunIndex(position);
    long long offset = position - starts_[index];
    if (offset == 0)
        return index;
    RichRun tail {runs_[index].Length - offset, runs_[index].Format};
    runs_[index].Length = offset;
    runs_.insert(runs_.begin() + static_cast<long>(index) + 1, tail);
    starts_.insert(starts_.begin() + static_cast<long>(index) + 1, position);
    return index + 1;
}

void RichText::Normalise()
{
    std::vector<RichRun> joined;
    joined.reserve(runs_.size());
    for (const RichRun& run : runs_) {
        if (run.Length <= 0)
            continue;
        if (!joined.empty() && joined.back().Format == run.Format)
            joined.back().Length += run.Length;
        else
            joined.push_back(run);
    }
    runs_ = std::move(joined);
    starts_.resize(runs_.size());
    long long at = 0;
    for (size_t i = 0; i < runs_.size(); ++i) {
        starts_[i] = at;
        at += runs_[i].Length;
    }
}

int RichText::FormatAt(long long position) const
{
    if (runs_.empty())
        return tail_;
    return runs_[RunIndex(std::clamp(position, 0LL, Total() - 1))].Format;
}

int RichText::RunAt(long long position, long long* end) const
{
    if (runs_.empty()) {
        *end = position + 1;
        return tail_;
    }
    size_t index = RunIndex(std::clamp(position, 0LL, Total() - 1));
    *end = index + 1 == runs_.size() ? std::max(Total(), position + 1) : starts_[index] + runs_[index].Length;
    return runs_[index].Format;
}

int RichText::InsertionFormat(long long position) const
{
    if (pending_)
        return *pending_;
    return FormatAt(position > 0 ? position - 1 : 0);
}

void RichText::Replaced(long long from, long long removed, long long inserted)
{
    int format = pending_ ? *pending_ : removed > 0 ? FormatAt(from) : InsertionFormat(from);
    size_t first = SplitAt(from);
    size_t last = SplitAt(from + removed);
    runs_.erase(runs_.begin() + static_cast<long>(first), runs_.begin() + static_cast<long>(last));
    if (inserted > 0) {
        runs_.insert(runs_.begin() + static_cast<long>(first), RichRun {inserted, format});
        pending_.reset();
    }
    Normalise();
    if (runs_.empty())
        tail_ = format;
}

void RichText::Apply(long long from, long long to, DWORD mask, const RichCharFormat& value)
{
    size_t first = SplitAt(from);
    size_t last = SplitAt(to);
    for (size_t i = first; i < last; ++i)
        runs_[i].Format = Intern(Merge(formats_[runs_[i].Format], mask, value));
    Normalise();
    if (runs_.empty())
        tail_ = Intern(Merge(formats_[tail_], mask, value));
}

DWORD RichText::Common(long long from, long long to, RichCharFormat* first) const
{
    if (from >= to) {
        *first = formats_[InsertionFormat(from)];
        return CFM_KEPT;
    }
    DWORD mask = CFM_KEPT;
    long long end = 0;
    *first = formats_[RunAt(from, &end)];
    while (end < to && end < Total()) {
        const RichCharFormat& next = formats_[RunAt(end, &end)];
        if (next.Face != first->Face)
            mask &= ~CFM_FACE;
        if (next.Twips != first->Twips)
            mask &= ~CFM_SIZE;
        if (next.Color != first->Color || next.AutoColor != first->AutoColor)
            mask &= ~CFM_COLOR;
        if (next.Bold != first->Bold)
            mask &= ~CFM_BOLD;
        if (next.Italic != first->Italic)
            mask &= ~CFM_ITALIC;
        if (next.Underline != first->Underline)
            mask &= ~CFM_UNDERLINE;
        if (next.StrikeOut != first->StrikeOut)
            mask &= ~CFM_STRIKEOUT;
    }
    return mask;
}

// --- paragraphs ---------------------------------------------------------------------------------------------

void RichText::LinesChanged(int first, int removed, int inserted)
{
    first = std::clamp(first, 0, static_cast<int>(alignments_.size()));
    removed = std::clamp(removed, 0, static_cast<int>(alignments_.size()) - first);
    RichAlignment kept = first < static_cast<int>(alignments_.size()) ? alignments_[first]
        : alignments_.empty()                                        ? RichAlignment::Left
                                                                     : alignments_.back();
    alignments_.erase(alignments_.begin() + first, alignments_.begin() + first + removed);
    alignments_.insert(alignments_.begin() + first, inserted, kept);
    if (alignments_.empty())
        alignments_.push_back(kept);
}

RichAlignment RichText::Alignment(int line) const
{
    if (line < 0 || line >= static_cast<int>(alignments_.size()))
        return RichAlignment::Left;
    return alignments_[line];
}

void RichText::SetAlignment(int first, int last, RichAlignment alignment)
{
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(alignments_.size()) - 1);
    for (int line = first; line <= last; ++line)
        alignments_[line] = alignment;
}
