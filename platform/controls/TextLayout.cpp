#include "platform/controls/TextLayout.h"

#include <algorithm>

void TextLayout::Reset(Breaker breaker)
{
    breaker_ = std::move(breaker);
    wrapped_ = false;
    breaks_.Assign({});
    rows_.Assign({});
    LinesChanged(0, 0, text_.LineCount());
}

int TextLayout::Break(int line, std::unique_ptr<std::vector<int>>& kept)
{
    broken_.clear();
    if (breaker_)
        breaker_(line, broken_);
    return Keep(kept);
}

int TextLayout::Keep(std::unique_ptr<std::vector<int>>& kept)
{
    if (broken_.empty()) {
        kept.reset();
        return 1;
    }
    if (!kept)
        kept = std::make_unique<std::vector<int>>();
    kept->assign(broken_.begin(), broken_.end());
    return 1 + static_cast<int>(broken_.size());
}

const std::vector<int>& TextLayout::BreaksOf(int line) const
{
    static const std::vector<int> none;
    return breaks_[line] ? *breaks_[line] : none;
}

void TextLayout::StartWrapping()
{
    wrapped_ = true;
    breaks_.Assign(std::vector<std::unique_ptr<std::vector<int>>>(text_.LineCount()));
    rows_.Assign(std::vector<int>(text_.LineCount(), 1));
}

void TextLayout::LinesChanged(int first, int removed, int inserted)
{
    if (!wrapped_) {
        // Rows are lines until some line breaks; then rows start being kept per line.
        for (int i = 0; breaker_ && i < inserted; ++i) {
            broken_.clear();
            breaker_(first + i, broken_);
            if (broken_.empty())
                continue;
            if (!wrapped_)
                StartWrapping();
            rows_.Set(first + i, Keep(breaks_[first + i]));
        }
        return;
    }
    // Lines in place of lines keep their breaks' vectors; only the difference is inserted or erased.
    int common = std::min(removed, inserted);
    if (removed > inserted)
        breaks_.Erase(first + common, first + removed);
    else if (inserted > removed)
        breaks_.Insert(first + common, inserted - common);
    counts_.resize(inserted);
    for (int i = 0; i < inserted; ++i)
        counts_[i] = Break(first + i, breaks_[first + i]);
    rows_.Replace(first, removed, counts_);
}

TextLayout::Row TextLayout::RowAt(int row) const
{
    row = std::clamp(row, 0, std::max(RowCount() - 1, 0));
    Row r;
    if (!wrapped_) {
        r.Line = row;
        r.End = text_.LineLength(row);
        return r;
    }
    r.Line = rows_.Find(row);
    int within = row - static_cast<int>(rows_.Start(r.Line));
    const std::vector<int>& breaks = BreaksOf(r.Line);
    r.Start = within == 0 ? 0 : breaks[within - 1];
    r.End = within < static_cast<int>(breaks.size()) ? breaks[within] : text_.LineLength(r.Line);
    return r;
}

long long TextLayout::RowIndex(int row) const
{
    Row r = RowAt(row);
    return text_.LineIndex(r.Line) + r.Start;
}

int TextLayout::RowFromChar(long long position) const
{
    int line, column;
    text_.Locate(position, &line, &column);
    if (!wrapped_)
        return line;
    const std::vector<int>& breaks = BreaksOf(line);
    int within = static_cast<int>(std::upper_bound(breaks.begin(), breaks.end(), column) - breaks.begin());
    return FirstRowOfLine(line) + within;
}
