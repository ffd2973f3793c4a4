#include "framework/core/TStrings.h"

#include "framework/core/StableSort.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr int64_t MaxChunk = 0x40000000;

// Blanks and control characters, which split and surround items in delimited text.
bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Runs `body` inside BeginUpdate/EndUpdate, closing the update also when `body` raises.
template <class Body> void Updating(TStrings& strings, const Body& body)
{
    strings.BeginUpdate();
    try {
        body();
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> SplitDelimited(std::string_view text, char delimiter, char quoteChar, bool strict)
{
    std::vector<std::string> items;
    size_t p = 0;
    auto skipBlanks = [&] {
        while (!strict && p < text.size() && IsBlank(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == quoteChar) {
            // A quoted item runs to the next single quote char; a doubled one stands for itself.
            // An unterminated item keeps the rest of the text rather than losing it.
            for (++p; p < text.size(); ++p) {
                if (text[p] == quoteChar) {
                    if (p + 1 < text.size() && text[p + 1] == quoteChar) {
                        item += quoteChar;
                        ++p;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p];
            }
        } else {
            size_t start = p;
            while (p < text.size() && text[p] != delimiter && (strict || !IsBlank(text[p])))
                ++p;
            item = text.substr(start, p - start);
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < text.size() && text[p] == delimiter) {
            ++p;
            skipBlanks();
            // A delimiter at the end still separates an item: the empty one after it.
            if (p == text.size())
                items.emplace_back();
        }
    }
    return items;
}

} // namespace

// TStrings

void TStrings::Error(const char* format, int data)
{
    std::string message = format;
    if (auto at = message.find("%d"); at != std::string::npos)
        message.replace(at, 2, IntToStr(data));
    throw EStringListError(message);
}

void TStrings::Assign(TPersistent* source)
{
    auto* strings = dynamic_cast<TStrings*>(source);
    if (!strings) {
        inherited::Assign(source);
        return;
    }
    // Clearing first would empty the source too.
    if (strings == this)
        return;
    Updating(*this, [&] {
        Clear();
        FNameValueSeparator = strings->FNameValueSeparator;
        FDelimiter = strings->FDelimiter;
        FQuoteChar = strings->FQuoteChar;
        FStrictDelimiter = strings->FStrictDelimiter;
        AddStrings(*strings);
    });
}

int TStrings::Add(std::string_view s)
{
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(std::string_view s, TObject* object)
{
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, std::string_view s, TObject* object)
{
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::IndexOf(std::string_view s) const
{
    for (int i = 0, count = GetCount(); i < count; ++i) {
        if (CompareStrings(Get(i), s) == 0)
            return i;
    }
    return -1;
}

void TStrings::Exchange(int index1, int index2)
{
    Updating(*this, [&] {
        std::string s1 = Get(index1);
        std::string s2 = Get(index2);
        TObject* object1 = GetObject(index1);
        TObject* object2 = GetObject(index2);
        Put(index1, s2);
        PutObject(index1, object2);
        Put(index2, s1);
        PutObject(index2, object1);
    });
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    Updating(*this, [&] {
        std::string s = Get(curIndex);
        TObject* object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    });
}

void TStrings::LoadFromFile(std::string_view fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    std::string text;
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        for (int64_t done = 0; done < size;) {
            auto n = static_cast<int32_t>(std::min(size - done, MaxChunk));
            stream.ReadBuffer(text.data() + done, n);
            done += n;
        }
    }
    std::string_view view = text;
    if (view.starts_with(Utf8Bom))
        view.remove_prefix(Utf8Bom.size());
    SetText(view);
}

void TStrings::SaveToFile(std::string_view fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::SaveToStream(TStream& stream) const
{
    std::string text = Text();
    for (size_t done = 0; done < text.size();) {
        auto n = static_cast<int32_t>(std::min<size_t>(text.size() - done, MaxChunk));
        stream.WriteBuffer(text.data() + done, n);
        done += static_cast<size_t>(n);
    }
}

void TStrings::AddStrings(const TStrings& strings)
{
    // A snapshot first: adding a list to itself must not chase its own growth.
    std::vector<std::pair<std::string, TObject*>> items;
    items.reserve(static_cast<size_t>(strings.Count()));
    for (int i = 0, count = strings.Count(); i < count; ++i)
        items.emplace_back(strings.Get(i), strings.GetObject(i));
    Updating(*this, [&] {
        for (auto& [s, object] : items)
            AddObject(s, object);
    });
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    // An EndUpdate without its BeginUpdate is ignored, so the count never goes negative and
    // silences the list for good.
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& strings) const
{
    int count = GetCount();
    if (count != strings.GetCount())
        return false;
    for (int i = 0; i < count; ++i) {
        if (Get(i) != strings.Get(i))
            return false;
    }
    return true;
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int i = 0, count = GetCount(); i < count; ++i) {
        std::string s = Get(i);
        auto separator = s.find(FNameValueSeparator);
        if (separator != std::string::npos && CompareText(std::string_view(s).substr(0, separator), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const
{
    for (int i = 0, count = GetCount(); i < count; ++i) {
        if (GetObject(i) == object)
            return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const
{
    std::string s = Get(index);
    auto separator = s.find(FNameValueSeparator);
    return separator == std::string::npos ? std::string() : s.substr(0, separator);
}

std::string TStrings::ValueFromIndex(int index) const
{
    if (index < 0)
        return {};
    std::string s = Get(index);
    auto separator = s.find(FNameValueSeparator);
    return separator == std::string::npos ? std::string() : s.substr(separator + 1);
}

std::string TStrings::Values(std::string_view name) const
{
    return ValueFromIndex(IndexOfName(name));
}

void TStrings::SetValues(std::string_view name, std::string_view value)
{
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append(1, FNameValueSeparator).append(value);
    // A new line goes in whole (not as "" filled in later), so a sorted list files it in its place.
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0, count = GetCount(); i < count; ++i)
        text.append(Get(i)).append(LineBreak());
    return text;
}

void TStrings::SetText(std::string_view text)
{
    std::vector<std::string> lines = SplitLines(text);
    Updating(*this, [&] {
        Clear();
        for (auto& line : lines)
            Add(line);
    });
}

std::string TStrings::DelimitedTextWith(char delimiter, char quoteChar) const
{
    std::string text;
    for (int i = 0, count = GetCount(); i < count; ++i) {
        if (i > 0)
            text += delimiter;
        std::string s = Get(i);
        bool quote = s.empty()
            || std::any_of(s.begin(), s.end(), [&](char c) { return IsBlank(c) || c == delimiter || c == quoteChar; });
        if (!quote) {
            text += s;
            continue;
        }
        text += quoteChar;
        for (char c : s) {
            if (c == quoteChar)
                text += quoteChar;
            text += c;
        }
        text += quoteChar;
    }
    return text;
}

void TStrings::SetDelimitedTextWith(std::string_view text, char delimiter, char quoteChar)
{
    std::vector<std::string> items = SplitDelimited(text, delimiter, quoteChar, FStrictDelimiter);
    Updating(*this, [&] {
        Clear();
        for (auto& item : items)
            Add(item);
    });
}

std::string TStrings::DelimitedText() const
{
    return DelimitedTextWith(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(std::string_view text)
{
    SetDelimitedTextWith(text, FDelimiter, FQuoteChar);
}

std::string TStrings::CommaText() const
{
    return DelimitedTextWith(',', '"');
}

void TStrings::SetCommaText(std::string_view text)
{
    SetDelimitedTextWith(text, ',', '"');
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::Put(int index, std::string_view s)
{
    Updating(*this, [&] {
        TObject* object = GetObject(index);
        Delete(index);
        InsertObject(index, s, object);
    });
}

void TStrings::PutObject(int, TObject*)
{
}

void TStrings::SetUpdateState(bool)
{
}

int TStrings::CompareStrings(std::string_view s1, std::string_view s2) const
{
    return CompareText(s1, s2);
}

// TStringList

TStringList::~TStringList()
{
    if (!FOwnsObjects)
        return;
    std::vector<TStringItem> items;
    items.swap(FList);
    for (auto& item : items)
        delete item.FObject;
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error("List index out of bounds (%d)", index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(std::string_view s1, std::string_view s2) const
{
    return FCaseSensitive ? CompareStr(s1, s2) : CompareText(s1, s2);
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == FSorted)
        return;
    if (sorted && GetCount() > 1) {
        Changing();
        SortItems(nullptr);
        Changed();
    }
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == FCaseSensitive)
        return;
    FCaseSensitive = caseSensitive;
    if (FSorted && GetCount() > 1) {
        Changing();
        SortItems(nullptr);
        Changed();
    }
}

bool TStringList::Find(std::string_view s, int& index) const
{
    int count = GetCount();
    if (!FSorted) {
        for (index = 0; index < count; ++index) {
            if (CompareStrings(FList[index].FString, s) == 0)
                return true;
        }
        return false;
    }
    bool found = false;
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int compared = CompareStrings(FList[middle].FString, s);
        if (compared < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (compared == 0)
                found = true;
        }
    }
    // Searching on to the left after a hit leaves `low` at the first of several equal strings.
    index = low;
    return found;
}

void TStringList::Sort()
{
    CustomSort(nullptr);
}

void TStringList::CustomSort(TStringListSortCompare compare)
{
    if (FSorted || GetCount() < 2)
        return;
    Changing();
    SortItems(compare);
    Changed();
}

void TStringList::SortItems(TStringListSortCompare compare)
{
    int count = GetCount();
    std::vector<int> order;
    if (compare) {
        order = StableSortOrder(count, [&](int a, int b) { return compare(this, a, b) < 0; });
    } else {
        order = StableSortOrder(
            count, [&](int a, int b) { return CompareStrings(FList[a].FString, FList[b].FString) < 0; });
    }
    // A compare function that added or deleted lines leaves nothing consistent to reorder.
    if (GetCount() != count)
        Error("List index out of bounds (%d)", count);
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int index : order)
        sorted.push_back(std::move(FList[index]));
    FList.swap(sorted);
}

int TStringList::Add(std::string_view s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(std::string_view s, TObject* object)
{
    int index = GetCount();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            Error("String list does not allow duplicates", 0);
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, std::string_view s)
{
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(int index, std::string_view s, TObject* object)
{
    if (FSorted)
        Error("Operation not allowed on sorted list", 0);
    if (index < 0 || index > GetCount())
        Error("List index out of bounds (%d)", index);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, std::string_view s, TObject* object)
{
    Changing();
    FList.insert(FList.begin() + index, TStringItem { std::string(s), object });
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    TObject* object = FList[index].FObject;
    FList.erase(FList.begin() + index);
    // Deleted after the line is gone, so an object that looks at the list finds it consistent.
    if (FOwnsObjects)
        delete object;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    std::vector<TStringItem> items;
    items.swap(FList);
    if (FOwnsObjects) {
        for (auto& item : items)
            delete item.FObject;
    }
    Changed();
}

int TStringList::IndexOf(std::string_view s) const
{
    if (!FSorted)
        return inherited::IndexOf(s);
    int index = -1;
    return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FList[index1], FList[index2]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    // Moved within the storage rather than deleted and re-inserted: an owned object would be
    // destroyed by the delete, and a sorted list would refuse the insert after the delete.
    if (FSorted)
        Error("Operation not allowed on sorted list", 0);
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    auto begin = FList.begin();
    if (curIndex < newIndex)
        std::rotate(begin + curIndex, begin + curIndex + 1, begin + newIndex + 1);
    else
        std::rotate(begin + newIndex, begin + curIndex, begin + curIndex + 1);
    Changed();
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return FList[index].FString;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return FList[index].FObject;
}

void TStringList::Put(int index, std::string_view s)
{
    if (FSorted)
        Error("Operation not allowed on sorted list", 0);
    CheckIndex(index);
    Changing();
    FList[index].FString = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    Changing();
    TObject* old = std::exchange(FList[index].FObject, object);
    // An owning list that is handed a new object for a line is done with the old one.
    if (FOwnsObjects && old != object)
        delete old;
    Changed();
}
