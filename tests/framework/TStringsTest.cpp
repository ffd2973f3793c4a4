#include "framework/core/TStrings.h"

#include "framework/core/Streams.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& strings)
{
    std::vector<std::string> result;
    for (int i = 0; i < strings.Count(); ++i)
        result.push_back(strings.Strings(i));
    return result;
}

void SetLines(TStrings& strings, const std::vector<std::string>& lines)
{
    strings.Clear();
    for (const auto& line : lines)
        strings.Add(line);
}

// Counts its destruction, to see when an owning list deletes it.
class TCounted : public TObject {
public:
    explicit TCounted(int& destroyed)
        : FDestroyed(destroyed)
    {
    }
    ~TCounted() override { ++FDestroyed; }

private:
    int& FDestroyed;
};

// The least a TStrings subclass provides: strings only, no objects. It shows what the base
// builds on the abstract operations.
class TPlainStrings : public TStrings {
public:
    void Insert(int index, std::string_view s) override { FItems.insert(FItems.begin() + index, std::string(s)); }
    void Delete(int index) override { FItems.erase(FItems.begin() + index); }
    void Clear() override { FItems.clear(); }

protected:
    std::string Get(int index) const override { return FItems.at(index); }
    int GetCount() const override { return static_cast<int>(FItems.size()); }

private:
    std::vector<std::string> FItems;
};

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "TStringsTest.XXXXXX").string();
        FPath = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    std::string File(const char* name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void ExpectStringListError(const std::function<void()>& action, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

} // namespace

TEST(TStringList, SortingFollowsCaseSensitivity)
{
    struct Case {
        bool caseSensitive;
        std::vector<std::string> input;
        std::vector<std::string> expected;
    };
    const Case kCases[] = {
        // Case-insensitive by default: "b" and "B" are equal and keep their order, and letters
        // compare as upper case, so '_' comes after them.
        { false, { "b", "C", "a", "B", "c", "_" }, { "a", "b", "B", "C", "c", "_" } },
        // Byte-wise: upper case letters and '_' sort before lower case ones.
        { true, { "b", "C", "a", "B", "c", "_" }, { "B", "C", "_", "a", "b", "c" } },
        { false, { "ab", "a", "Abc", "" }, { "", "a", "ab", "Abc" } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        TStringList list;
        list.SetCaseSensitive(c.caseSensitive);
        SetLines(list, c.input);
        list.SetSorted(true);
        EXPECT_EQ(Lines(list), c.expected);
        EXPECT_EQ(list.IndexOf(c.expected.back()), static_cast<int>(c.expected.size()) - 1);
    }

    // Changing the case rule re-sorts a sorted list.
    TStringList list;
    SetLines(list, { "b", "A", "a", "B" });
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "A", "a", "b", "B" }));
    list.SetCaseSensitive(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "A", "B", "a", "b" }));
    EXPECT_EQ(list.IndexOf("b"), 3);
    EXPECT_EQ(list.IndexOf("c"), -1);
}

TEST(TStringList, DuplicatesOnASortedList)
{
    struct Case {
        TDuplicates mode;
        int count;
        bool raises;
    };
    const Case kCases[] = {
        { dupIgnore, 2, false },
        { dupAccept, 3, false },
        { dupError, 2, true },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.mode);
        list.Add("x");
        list.Add("m");
        if (c.raises) {
            ExpectStringListError([&] { list.Add("X"); }, "String list does not allow duplicates");
        } else {
            EXPECT_EQ(list.Add("X"), 1) << "the index of the equal string";
        }
        EXPECT_EQ(list.Count(), c.count);
    }

    // Duplicates apply to sorted lists only.
    TStringList unsorted;
    unsorted.SetDuplicates(dupError);
    unsorted.Add("x");
    EXPECT_EQ(unsorted.Add("x"), 1);
}

TEST(TStringList, FindGivesTheInsertionPoint)
{
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    SetLines(list, { "f", "d", "b", "d", "D" });
    ASSERT_EQ(Lines(list), (std::vector<std::string> { "b", "D", "d", "d", "f" }));
    struct Case {
        const char* s;
        bool found;
        int index;
    };
    const Case kCases[] = {
        { "a", false, 0 },
        { "b", true, 0 },
        { "c", false, 1 },
        { "d", true, 1 }, // the first of the equal ones
        { "e", false, 4 },
        { "F", true, 4 },
        { "g", false, 5 },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.s);
        int index = -1;
        EXPECT_EQ(list.Find(c.s, index), c.found);
        EXPECT_EQ(index, c.index);
    }
}

TEST(TStringList, RefusedOperationsRaiseAndChangeNothing)
{
    struct Case {
        const char* name;
        bool sorted;
        std::function<void(TStringList&)> action;
        const char* message;
    };
    const Case kCases[] = {
        { "Insert on sorted", true, [](TStringList& l) { l.Insert(0, "a"); }, "Operation not allowed on sorted list" },
        { "Put on sorted", true, [](TStringList& l) { l.SetStrings(0, "z"); }, "Operation not allowed on sorted list" },
        { "Move on sorted", true, [](TStringList& l) { l.Move(0, 2); }, "Operation not allowed on sorted list" },
        { "Strings(3)", false, [](TStringList& l) { l.Strings(3); }, "List index out of bounds (3)" },
        { "Strings(-1)", false, [](TStringList& l) { l.Strings(-1); }, "List index out of bounds (-1)" },
        { "Objects(3)", false, [](TStringList& l) { l.Objects(3); }, "List index out of bounds (3)" },
        { "SetObjects(3)", false, [](TStringList& l) { l.SetObjects(3, nullptr); }, "List index out of bounds (3)" },
        { "Insert(4)", false, [](TStringList& l) { l.Insert(4, "x"); }, "List index out of bounds (4)" },
        { "Delete(3)", false, [](TStringList& l) { l.Delete(3); }, "List index out of bounds (3)" },
        { "Exchange(0, 5)", false, [](TStringList& l) { l.Exchange(0, 5); }, "List index out of bounds (5)" },
        { "Move(0, 3)", false, [](TStringList& l) { l.Move(0, 3); }, "List index out of bounds (3)" },
        { "Names(3)", false, [](TStringList& l) { l.Names(3); }, "List index out of bounds (3)" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TStringList list;
        SetLines(list, { "a", "b", "c" });
        list.SetSorted(c.sorted);
        ExpectStringListError([&] { c.action(list); }, c.message);
        EXPECT_EQ(Lines(list), (std::vector<std::string> { "a", "b", "c" }));
    }
}

TEST(TStringList, ObjectsTravelWithTheirStrings)
{
    TObject one, two, three;
    TStringList list;
    list.AddObject("c", &three);
    list.AddObject("a", &one);
    list.AddObject("b", &two);
    auto expectPairs = [&](const char* when) {
        SCOPED_TRACE(when);
        for (int i = 0; i < list.Count(); ++i) {
            TObject* expected = list.Strings(i) == "a" ? &one : list.Strings(i) == "b" ? &two : &three;
            EXPECT_EQ(list.Objects(i), expected) << list.Strings(i);
        }
    };
    list.Sort();
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "a", "b", "c" }));
    expectPairs("Sort");
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "b", "c", "a" }));
    expectPairs("Move");
    list.Exchange(0, 1);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "c", "b", "a" }));
    expectPairs("Exchange");
    list.CustomSort([](TStringList* l, int a, int b) { return -l->Strings(a).compare(l->Strings(b)); });
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "c", "b", "a" }));
    expectPairs("CustomSort");
    EXPECT_EQ(list.IndexOfObject(&two), 1);
    EXPECT_EQ(list.IndexOfObject(nullptr), -1);
}

TEST(TStringList, CustomSortSurvivesAnInconsistentCompare)
{
    TStringList list;
    for (int i = 0; i < 300; ++i)
        list.Add(std::to_string(i % 37));
    std::vector<std::string> before = Lines(list);
    static unsigned seed;
    seed = 99;
    list.CustomSort([](TStringList* l, int a, int b) {
        // Reads the lines by index, as compare functions do, and then answers at random.
        EXPECT_FALSE(l->Strings(a).empty() || l->Strings(b).empty());
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % 3) - 1;
    });
    std::vector<std::string> after = Lines(list);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before) << "every line still there exactly once";
}

TEST(TStrings, NamesAndValues)
{
    TStringList list;
    SetLines(list, { "Width=640", "plain", "Codec=h264=main", "=empty name", "Empty=" });
    struct Case {
        int index;
        const char* name;
        const char* value;
    };
    const Case kCases[] = {
        { 0, "Width", "640" },
        { 1, "", "" },
        { 2, "Codec", "h264=main" }, // the first separator divides
        { 3, "", "empty name" },
        { 4, "Empty", "" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(list.Names(c.index), c.name);
        EXPECT_EQ(list.ValueFromIndex(c.index), c.value);
    }
    EXPECT_EQ(list.Values("WIDTH"), "640") << "names are case-insensitive";
    EXPECT_EQ(list.IndexOfName("codec"), 2);
    EXPECT_EQ(list.IndexOfName("plain"), -1) << "a line without separator has no name";
    EXPECT_EQ(list.Values("missing"), "");

    list.SetValues("width", "800");
    EXPECT_EQ(list.Strings(0), "width=800");
    list.SetValues("Height", "480");
    EXPECT_EQ(list.Strings(5), "Height=480") << "a new name is appended";
    list.SetValues("CODEC", "");
    EXPECT_EQ(list.IndexOfName("Codec"), -1) << "an empty value deletes the line";
    EXPECT_EQ(list.Count(), 5);
    list.SetValues("absent", "");
    EXPECT_EQ(list.Count(), 5);

    // Even with case-sensitive strings, names match regardless of case.
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.Values("HEIGHT"), "480");

    list.SetNameValueSeparator(':');
    list.Add("Key:Value");
    EXPECT_EQ(list.Values("key"), "Value");

    // On a sorted list a new pair is filed in its place.
    TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetValues("b", "2");
    sorted.SetValues("a", "1");
    EXPECT_EQ(Lines(sorted), (std::vector<std::string> { "a=1", "b=2" }));
}

TEST(TStrings, TextSplitsAtEveryLineBreak)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        { "LF", "a\nb\n", { "a", "b" } },
        { "CRLF", "a\r\nb\r\n", { "a", "b" } },
        { "CR", "a\rb\r", { "a", "b" } },
        { "no final break", "a\nb", { "a", "b" } },
        { "empty", "", {} },
        { "one break", "\n", { "" } },
        { "empty lines kept", "\n\r\n\r", { "", "", "" } },
        { "LF CR is two breaks", "a\n\rb", { "a", "", "b" } },
        { "blanks kept", "  a \n\t", { "  a ", "\t" } },
        { "NUL kept", std::string("a\0b", 3), { std::string("a\0b", 3) } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TStringList list;
        list.Add("old");
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines);
        std::string joined;
        for (const auto& line : c.lines)
            joined += line + "\n";
        EXPECT_EQ(list.Text(), joined);
    }
}

TEST(TStrings, CommaTextRoundTrips)
{
    struct Case {
        std::vector<std::string> items;
        const char* text;
    };
    const Case kCases[] = {
        { { "a", "b", "c" }, "a,b,c" },
        { { "two words", "x" }, "\"two words\",x" },
        { { "a,b", "c" }, "\"a,b\",c" },
        { { "say \"hi\"" }, "\"say \"\"hi\"\"\"" },
        { { "", "b", "" }, "\"\",b,\"\"" },
        { { "" }, "\"\"" },
        { {}, "" },
        { { "tab\there" }, "\"tab\there\"" },
        { { " lead", "trail " }, "\" lead\",\"trail \"" },
        // UTF-8 bytes are not blanks.
        { { "d\xC3\xA9j\xC3\xA0" }, "d\xC3\xA9j\xC3\xA0" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        TStringList list;
        SetLines(list, c.items);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(list.CommaText());
        EXPECT_EQ(Lines(back), c.items);
    }
}

TEST(TStrings, DelimitedTextReading)
{
    struct Case {
        const char* name;
        bool strict;
        char delimiter;
        std::string text;
        std::vector<std::string> items;
    };
    const Case kCases[] = {
        { "blanks split", false, ',', "a b,c", { "a", "b", "c" } },
        { "blanks around items skipped", false, ',', "  a ,  b  ", { "a", "b" } },
        { "empty items", false, ',', "a,,b,", { "a", "", "b", "" } },
        { "quoted keeps blanks", false, ',', " \"x, y\" , z", { "x, y", "z" } },
        { "doubled quotes", false, ',', "\"a\"\"b\"", { "a\"b" } },
        { "unterminated quote keeps the rest", false, ',', "\"abc, d", { "abc, d" } },
        { "quote ends an item", false, ',', "\"a\"b", { "a", "b" } },
        { "control chars split", false, ',', "a\tb\nc", { "a", "b", "c" } },
        { "strict keeps blanks", true, ',', " a b , c", { " a b ", " c" } },
        { "strict honours quotes", true, ',', "\"a,b\",c", { "a,b", "c" } },
        { "strict empty items", true, ',', ",", { "", "" } },
        { "other delimiter", false, ';', "a;b c;\"d;e\"", { "a", "b", "c", "d;e" } },
        { "blank delimiter", false, '\t', "a\tb c", { "a", "b", "c" } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TStringList list;
        list.Add("old");
        list.SetStrictDelimiter(c.strict);
        list.SetDelimiter(c.delimiter);
        list.SetDelimitedText(c.text);
        EXPECT_EQ(Lines(list), c.items);
    }

    // CommaText ignores the delimiter and quote settings.
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    SetLines(list, { "a b", "c;d" });
    EXPECT_EQ(list.DelimitedText(), "'a b';'c;d'");
    EXPECT_EQ(list.CommaText(), "\"a b\",c;d");
}

TEST(TStringList, ChangeEventsAndUpdates)
{
    TStringList list;
    std::string log;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        log += "<";
    };
    list.OnChange = [&](TObject*) { log += ">"; };
    struct Case {
        const char* name;
        std::function<void(TStringList&)> action;
        const char* log;
    };
    TObject object;
    const Case kCases[] = {
        { "Add", [](TStringList& l) { l.Add("d"); }, "<>" },
        { "Insert", [](TStringList& l) { l.Insert(0, "d"); }, "<>" },
        { "Delete", [](TStringList& l) { l.Delete(0); }, "<>" },
        { "Put", [](TStringList& l) { l.SetStrings(0, "x"); }, "<>" },
        { "PutObject", [&](TStringList& l) { l.SetObjects(0, &object); }, "<>" },
        { "Exchange", [](TStringList& l) { l.Exchange(0, 2); }, "<>" },
        { "Move", [](TStringList& l) { l.Move(0, 2); }, "<>" },
        { "Sort", [](TStringList& l) { l.Sort(); }, "<>" },
        { "Clear", [](TStringList& l) { l.Clear(); }, "<>" },
        { "SetText is one change", [](TStringList& l) { l.SetText("1\n2\n3\n"); }, "<>" },
        { "SetCommaText is one change", [](TStringList& l) { l.SetCommaText("1,2"); }, "<>" },
        { "refused change", [](TStringList& l) { EXPECT_THROW(l.Delete(7), EStringListError); }, "" },
        { "nested updates",
            [](TStringList& l) {
                l.BeginUpdate();
                l.Add("x");
                l.BeginUpdate();
                l.Delete(0);
                l.EndUpdate();
                l.Add("y");
                l.EndUpdate();
            },
            "<>" },
        { "empty update",
            [](TStringList& l) {
                l.BeginUpdate();
                l.EndUpdate();
            },
            "<>" },
        { "unbalanced EndUpdate ignored",
            [](TStringList& l) {
                l.EndUpdate();
                l.Add("x");
            },
            "<>" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        auto handlers = std::make_pair(list.OnChanging, list.OnChange);
        list.OnChanging = nullptr;
        list.OnChange = nullptr;
        list.SetText("c\nb\na\n");
        std::tie(list.OnChanging, list.OnChange) = handlers;
        log.clear();
        c.action(list);
        EXPECT_EQ(log, c.log);
    }

    // A failure inside an update still closes it.
    log.clear();
    TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetDuplicates(dupError);
    sorted.OnChange = [&](TObject*) { log += ">"; };
    EXPECT_THROW(sorted.SetCommaText("a,b,a"), EStringListError);
    sorted.Add("z");
    EXPECT_EQ(log, ">>") << "the change that closes the failed update, then z";
}

TEST(TStringList, OwnsObjectsDeletesThem)
{
    int destroyed = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        for (const char* s : { "a", "b", "c", "d", "e" })
            list.AddObject(s, new TCounted(destroyed));
        list.Delete(0);
        EXPECT_EQ(destroyed, 1);
        list.Move(0, 2);
        list.Exchange(0, 1);
        EXPECT_EQ(destroyed, 1) << "moving and exchanging keep the objects";
        list.SetObjects(0, new TCounted(destroyed));
        EXPECT_EQ(destroyed, 2) << "a replaced object is deleted";
        list.SetObjects(0, list.Objects(0));
        EXPECT_EQ(destroyed, 2) << "re-setting the same object keeps it";
        list.Clear();
        EXPECT_EQ(destroyed, 6);
        list.AddObject("f", new TCounted(destroyed));
        list.AddObject("g", nullptr);
    }
    EXPECT_EQ(destroyed, 7) << "destruction deletes the rest";

    // Without OwnsObjects the objects stay the caller's.
    TCounted kept(destroyed);
    {
        TStringList list;
        list.AddObject("a", &kept);
        list.Delete(0);
        list.AddObject("b", &kept);
        list.Clear();
        list.AddObject("c", &kept);
    }
    EXPECT_EQ(destroyed, 7);
}

TEST(TStrings, FilesRoundTripAndSkipTheBom)
{
    TempFolder folder;
    std::string path = folder.File("lines.txt");
    TStringList list;
    SetLines(list, { "first", "d\xC3\xA9uxi\xC3\xA8me", "", "last" });
    list.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), "first\nd\xC3\xA9uxi\xC3\xA8me\n\nlast\n");

    const std::string bom = "\xEF\xBB\xBF";
    std::ofstream(path, std::ios::binary) << bom + "one\r\ntwo";
    TStringList loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(Lines(loaded), (std::vector<std::string> { "one", "two" }));

    // The mark is only skipped at the very start.
    std::ofstream(path, std::ios::binary) << "x\n" + bom + "y";
    loaded.LoadFromFile(path);
    EXPECT_EQ(Lines(loaded), (std::vector<std::string> { "x", bom + "y" }));

    EXPECT_THROW(loaded.LoadFromFile(folder.File("missing.txt")), EFOpenError);
    EXPECT_EQ(loaded.Count(), 2) << "a failed load keeps the lines";
    EXPECT_THROW(list.SaveToFile(folder.File("no/such/folder.txt")), EFCreateError);

    // Streams load from their position to the end.
    TStringStream stream("skip|a\nb");
    stream.SetPosition(5);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Lines(loaded), (std::vector<std::string> { "a", "b" }));
}

TEST(TStrings, AssignAddStringsAndEquals)
{
    TObject object;
    TStringList source;
    source.SetDelimiter(';');
    source.AddObject("a", &object);
    source.Add("b");

    TStringList target;
    target.Add("old");
    target.Assign(&source);
    EXPECT_EQ(Lines(target), (std::vector<std::string> { "a", "b" }));
    EXPECT_EQ(target.Objects(0), &object);
    EXPECT_EQ(target.Delimiter(), ';');
    EXPECT_TRUE(target.Equals(source));

    target.Assign(&target);
    EXPECT_EQ(Lines(target), (std::vector<std::string> { "a", "b" })) << "assigning itself keeps the lines";

    TPersistent other;
    EXPECT_THROW(target.Assign(&other), EConvertError);

    target.AddStrings(target);
    EXPECT_EQ(Lines(target), (std::vector<std::string> { "a", "b", "a", "b" }));
    EXPECT_EQ(target.Objects(2), &object);
    EXPECT_FALSE(target.Equals(source));

    TStringList upper;
    SetLines(upper, { "A", "B" });
    EXPECT_FALSE(upper.Equals(source)) << "Equals compares case-sensitively";

    // Assign works across TStrings kinds.
    TPlainStrings plain;
    plain.Assign(&source);
    EXPECT_EQ(Lines(plain), (std::vector<std::string> { "a", "b" }));
}

// What TStrings builds for subclasses from the abstract operations alone.
TEST(TStrings, BaseOperations)
{
    TPlainStrings plain;
    SetLines(plain, { "One", "two", "three" });
    EXPECT_EQ(plain.IndexOf("TWO"), 1) << "case-insensitive";
    EXPECT_EQ(plain.IndexOf("four"), -1);
    plain.Move(0, 2);
    EXPECT_EQ(Lines(plain), (std::vector<std::string> { "two", "three", "One" }));
    plain.Exchange(0, 2);
    EXPECT_EQ(Lines(plain), (std::vector<std::string> { "One", "three", "two" }));
    plain.SetStrings(1, "3");
    EXPECT_EQ(Lines(plain), (std::vector<std::string> { "One", "3", "two" }));
    EXPECT_EQ(plain.AddObject("x", nullptr), 3);
    EXPECT_EQ(plain.Objects(3), nullptr);
    plain.SetValues("k", "v");
    EXPECT_EQ(plain.Values("K"), "v");
}
