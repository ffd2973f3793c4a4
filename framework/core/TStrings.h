// TStrings, the framework's abstract list of strings with attached objects, and TStringList, its stored form.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TPersistent.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStream;

// Raised for bad indices, duplicates that the list refuses and edits a sorted list cannot take.
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// A list of strings, each with an optional object pointer. Subclasses provide the storage through
// the protected operations; everything else (names and values, text forms, files) is built on them.
class TStrings : public TPersistent {
    using inherited = TPersistent;

public:
    TStrings() = default;

    // Copies the strings, objects and text settings of another TStrings; other sources go to the
    // inherited Assign, which raises. The objects are shared, not copied.
    void Assign(TPersistent* source) override;

    // Virtual operations.
    virtual int Add(std::string_view s);
    virtual int AddObject(std::string_view s, TObject* object);
    virtual void Insert(int index, std::string_view s) = 0;
    virtual void InsertObject(int index, std::string_view s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // The first index of `s`, or -1. TStrings compares case-insensitively (ASCII).
    virtual int IndexOf(std::string_view s) const;
    virtual void Exchange(int index1, int index2);
    // Moves the string at curIndex to newIndex; its object travels with it.
    virtual void Move(int curIndex, int newIndex);
    // Files and streams hold the text as UTF-8; a leading UTF-8 byte-order mark is skipped on load.
    // A load that fails raises and leaves the list unchanged.
    virtual void LoadFromFile(std::string_view fileName);
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToFile(std::string_view fileName) const;
    virtual void SaveToStream(TStream& stream) const;

    int Count() const { return GetCount(); }
    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, std::string_view s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }
    void AddStrings(const TStrings& strings);
    void Append(std::string_view s) { Add(s); }
    // Updates nest; only the outermost pair reaches SetUpdateState.
    void BeginUpdate();
    void EndUpdate();
    // True when both lists hold the same strings in the same order (byte-wise; objects not compared).
    bool Equals(const TStrings& strings) const;

    // Name=value lines. Names are compared case-insensitively (ASCII).
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(TObject* object) const;
    // The text before the first separator, "" when the line has none.
    std::string Names(int index) const;
    // The text after the first separator, "" when the line has none.
    std::string ValueFromIndex(int index) const;
    std::string Values(std::string_view name) const;
    // Replaces the value of `name`, appends "name=value" when the name is absent, and deletes the
    // line when `value` is "".
    void SetValues(std::string_view name, std::string_view value);
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char separator) { FNameValueSeparator = separator; }

    // The lines, each followed by LineBreak. SetText splits at "\r\n", "\n" or "\r"; a final line
    // without a break still counts, and "" gives no lines.
    std::string Text() const;
    void SetText(std::string_view text);
    static constexpr std::string_view LineBreak() { return "\n"; }

    // The lines as one delimited line. An item is quoted (inner quote chars doubled) when it is
    // empty or holds a blank, a control character, the delimiter or the quote char. Reading splits
    // at the delimiter and, unless StrictDelimiter, at blanks and control characters outside quotes.
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    // DelimitedText with ',' and '"', whatever Delimiter and QuoteChar are.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char delimiter) { FDelimiter = delimiter; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char quoteChar) { FQuoteChar = quoteChar; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool strictDelimiter) { FStrictDelimiter = strictDelimiter; }

protected:
    // Storage operations.
    virtual std::string Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int index) const;
    virtual void Put(int index, std::string_view s);
    virtual void PutObject(int index, TObject* object);
    // Called with true by the outermost BeginUpdate and with false by the matching EndUpdate.
    virtual void SetUpdateState(bool updating);
    // How IndexOf (and a TStringList's sorting and Find) compare two strings: <0, 0 or >0.
    virtual int CompareStrings(std::string_view s1, std::string_view s2) const;

    int UpdateCount() const { return FUpdateCount; }
    // Raises EStringListError with `format` ("... (%d)") filled with `data`.
    [[noreturn]] static void Error(const char* format, int data);

private:
    std::string DelimitedTextWith(char delimiter, char quoteChar) const;
    void SetDelimitedTextWith(std::string_view text, char delimiter, char quoteChar);

    int FUpdateCount = 0;
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
};

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);

// TStrings kept in memory, optionally sorted, optionally owning its objects.
class TStringList : public TStrings {
    using inherited = TStrings;

public:
    TStringList() = default;
    // Deletes the objects when OwnsObjects is set.
    ~TStringList() override;

    // Setting Sorted sorts the list at once; while sorted, Insert, Put and Move raise.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    // How Add on a sorted list treats a string that is already there.
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    // Byte-wise comparison when true, ASCII case folding when false (the default). Re-sorts a sorted list.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);
    // When true the list deletes an object as its line is deleted or cleared, when it is replaced
    // through SetObjects, and when the list is destroyed.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool ownsObjects) { FOwnsObjects = ownsObjects; }
    // Fired around every change, except between an outer BeginUpdate (OnChanging) and its EndUpdate
    // (OnChange).
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Virtual operations added.
    // Finds `s`: on a sorted list by binary search, with `index` the first match or, when absent,
    // the place where it belongs; on an unsorted list linearly, with `index` = Count() when absent.
    virtual bool Find(std::string_view s, int& index) const;
    virtual void Sort();
    // Sorts with `compare` (stable: equal items keep their order). The compare function sees the
    // list as it was before the sort, so it may read it by index. Does nothing on a sorted list.
    virtual void CustomSort(TStringListSortCompare compare);

    // Overridden.
    int Add(std::string_view s) override;
    // On a sorted list with dupIgnore, a string already present is not added and `object` stays the caller's.
    int AddObject(std::string_view s, TObject* object) override;
    void Insert(int index, std::string_view s) override;
    void InsertObject(int index, std::string_view s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(std::string_view s) const override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;

protected:
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, std::string_view s, TObject* object);

    std::string Get(int index) const override;
    int GetCount() const override { return static_cast<int>(FList.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, std::string_view s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view s1, std::string_view s2) const override;

private:
    struct TStringItem {
        std::string FString;
        TObject* FObject = nullptr;
    };

    void CheckIndex(int index) const;
    void SortItems(TStringListSortCompare compare);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};
