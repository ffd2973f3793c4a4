#include "framework/core/TIniFile.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The lookup form of a section or key name: names match case-insensitively, ASCII letters only.
std::string LowerName(std::string_view name)
{
    std::string result(name);
    for (char& c : result)
        c = LowerAscii(c);
    return result;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

size_t TrimmedBegin(std::string_view s, size_t begin, size_t end)
{
    while (begin < end && IsBlankByte(s[begin]))
        ++begin;
    return begin;
}

size_t TrimmedEnd(std::string_view s, size_t begin, size_t end)
{
    while (end > begin && IsBlankByte(s[end - 1]))
        --end;
    return end;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

enum class TLineKind : uint8_t { Blank, Key, Other };

// One line of the file as the user wrote it. Key lines also record where their trimmed key and value lie
// in the text, so a rewrite can keep the line untouched and a read costs no parsing.
struct TIniLine {
    std::string Text;
    TLineKind Kind = TLineKind::Other;
    size_t KeyPos = 0;
    size_t KeyEnd = 0;
    size_t ValuePos = 0;
    size_t ValueEnd = 0;

    std::string_view Key() const { return std::string_view(Text).substr(KeyPos, KeyEnd - KeyPos); }
    std::string_view Value() const { return std::string_view(Text).substr(ValuePos, ValueEnd - ValuePos); }
    bool IsKey() const { return Kind == TLineKind::Key; }
};

TIniLine MakeKeyLine(std::string_view key, std::string_view value)
{
    TIniLine line;
    line.Text.reserve(key.size() + 1 + value.size());
    line.Text.append(key).append(1, '=').append(value);
    line.Kind = TLineKind::Key;
    line.KeyEnd = key.size();
    line.ValuePos = key.size() + 1;
    line.ValueEnd = line.Text.size();
    return line;
}

// Classifies a line that is not a section header. `begin` and `end` bound its trimmed text.
TIniLine ParseLine(std::string_view raw, size_t begin, size_t end)
{
    TIniLine line;
    line.Text = raw;
    if (begin == end) {
        line.Kind = TLineKind::Blank;
        return line;
    }
    // A '[' line that reaches here has no ']': it is kept as written, never read as a key.
    if (raw[begin] == ';' || raw[begin] == '#' || raw[begin] == '[')
        return line;
    size_t equals = raw.find('=', begin);
    if (equals == std::string_view::npos || equals >= end)
        return line;
    size_t keyEnd = TrimmedEnd(raw, begin, equals);
    if (keyEnd == begin)
        return line; // "=value": no key, kept as written.
    line.Kind = TLineKind::Key;
    line.KeyPos = begin;
    line.KeyEnd = keyEnd;
    line.ValuePos = TrimmedBegin(raw, equals + 1, end);
    line.ValueEnd = end;
    return line;
}

struct TIniSection {
    std::string Name; // Spelled as in its header.
    std::string Header; // The header line as written.
    std::vector<TIniLine> Lines;
    // The lookup form of each key -> the index of its first line; later lines of the same key are kept
    // but never read.
    std::unordered_map<std::string, size_t> Keys;
    // A later header of a section seen before: its lines are written back, never read.
    bool Repeat = false;

    void IndexKeys()
    {
        Keys.clear();
        for (size_t i = 0; i < Lines.size(); ++i) {
            if (Lines[i].IsKey())
                Keys.emplace(LowerName(Lines[i].Key()), i);
        }
    }

    const TIniLine* FindKey(std::string_view key) const
    {
        auto it = Keys.find(LowerName(key));
        return it == Keys.end() ? nullptr : &Lines[it->second];
    }

    // Calls `visit` with each readable key line (the first line of each key), in file order.
    template <class Visit> void ForEachKey(Visit visit) const
    {
        for (size_t i = 0; i < Lines.size(); ++i) {
            if (Lines[i].IsKey() && Keys.at(LowerName(Lines[i].Key())) == i)
                visit(Lines[i]);
        }
    }
};

// Keeps TStrings::EndUpdate paired with BeginUpdate when the list raises while being filled.
class TUpdateScope {
public:
    explicit TUpdateScope(TStrings& list)
        : FList(list)
    {
        FList.BeginUpdate();
    }
    ~TUpdateScope() { FList.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TStrings& FList;
};

[[noreturn]] void RaiseWriteError(const std::string& fileName)
{
    throw EIniFileException("Unable to write to " + fileName);
}

// Names and values are checked before they are stored so that every write survives a save and a reload
// unchanged: a line break would split the line (and could forge a section), and a key with '=' or a name
// with blanks at its ends would come back as a different key.
void CheckSectionName(std::string_view section)
{
    bool valid = !HasLineBreak(section) && section.find(']') == std::string_view::npos
        && TrimmedBegin(section, 0, section.size()) == 0 && TrimmedEnd(section, 0, section.size()) == section.size();
    if (!valid)
        throw EIniFileException("'" + std::string(section) + "' is not a valid INI section name");
}

void CheckKeyName(std::string_view key)
{
    bool valid = !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos && key[0] != ';'
        && key[0] != '#' && key[0] != '[' && !IsBlankByte(key.front()) && !IsBlankByte(key.back());
    if (!valid)
        throw EIniFileException("'" + std::string(key) + "' is not a valid INI key name");
}

void CheckValue(std::string_view key, std::string_view value)
{
    if (HasLineBreak(value))
        throw EIniFileException(
            "The value of '" + std::string(key) + "' holds a line break, which an INI file cannot store");
}

// The permission bits a newly created file gets, read without changing the process's umask (umask() is
// process-wide, and another thread may be creating files).
mode_t NewFileMode()
{
    mode_t mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

// Follows a chain of symbolic links to the file that finally gets written, so a save replaces the file
// the link points to and keeps the link. The file itself need not exist yet.
bool ResolveLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char buffer[PATH_MAX];
        ssize_t length = readlink(target.c_str(), buffer, sizeof buffer);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
            return false;
        std::string link(buffer, static_cast<size_t>(length));
        if (link[0] != '/') {
            size_t slash = target.rfind('/');
            link.insert(0, slash == std::string::npos ? std::string() : target.substr(0, slash + 1));
        }
        target = std::move(link);
    }
    return false; // A loop of links.
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t written = write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Replaces the file with `text` through a temporary file in the same folder and a rename, so that a crash
// or a failed write never leaves a half-written file behind: the old file stays until the new one is whole.
void SaveText(const std::string& fileName, std::string_view text)
{
    std::string target;
    if (!ResolveLinks(fileName, target))
        RaiseWriteError(fileName);
    struct stat old;
    mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();

    std::string temporary = target + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        RaiseWriteError(fileName);
    // A file system without permission bits refuses fchmod; the save must not fail for that.
    (void)fchmod(fd, mode);
    bool ok = WriteAll(fd, text) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        RaiseWriteError(fileName);
    }
    // The rename is durable only once the folder is synced; the file is whole either way, so this is best effort.
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)fsync(folderFd);
        close(folderFd);
    }
}

enum class TReadResult { Read, Missing, Unreadable };

TReadResult ReadFileText(const std::string& fileName, std::string& text)
{
    text.clear();
    // O_NONBLOCK keeps a FIFO at the path from blocking the open; only regular files are read, so a
    // device (/dev/zero) cannot make the load endless.
    int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? TReadResult::Missing : TReadResult::Unreadable;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        text.reserve(static_cast<size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            ssize_t count = read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                ok = count == 0;
                break;
            }
            text.append(buffer, static_cast<size_t>(count));
        }
    }
    close(fd);
    if (!ok)
        text.clear();
    return ok ? TReadResult::Read : TReadResult::Unreadable;
}

} // namespace

// The contents of an INI file: the lines before the first section, then the sections in file order.
struct TIniFileModel {
    std::vector<TIniLine> Preamble;
    std::vector<TIniSection> Sections;
    // The lookup form of each section name -> the index of its first section.
    std::unordered_map<std::string, size_t> Index;
    // The file exists but could not be read. Saving over it would destroy what it holds, so saves are
    // refused until the contents are replaced on purpose (SetStrings, Clear, Rename).
    bool Unreadable = false;

    void Clear()
    {
        Preamble.clear();
        Sections.clear();
        Index.clear();
        Unreadable = false;
    }

    // Replaces the contents with `text`. Linear in its size whatever it holds.
    void Parse(std::string_view text, bool skipBom)
    {
        Clear();
        if (skipBom && text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            text.remove_prefix(kUtf8Bom.size());
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = text.size();
            AddLine(text.substr(pos, end - pos));
            if (end == text.size())
                break;
            pos = end + 1;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;
        }
    }

    void Load(const std::string& fileName)
    {
        std::string text;
        TReadResult result = ReadFileText(fileName, text);
        Parse(text, true);
        Unreadable = result == TReadResult::Unreadable;
    }

    void AddLine(std::string_view raw)
    {
        size_t begin = TrimmedBegin(raw, 0, raw.size());
        size_t end = TrimmedEnd(raw, begin, raw.size());
        if (begin < end && raw[begin] == '[') {
            size_t close = raw.find(']', begin + 1);
            if (close != std::string_view::npos && close < end) {
                size_t nameBegin = TrimmedBegin(raw, begin + 1, close);
                size_t nameEnd = TrimmedEnd(raw, nameBegin, close);
                AddSection(raw.substr(nameBegin, nameEnd - nameBegin), raw);
                return;
            }
        }
        if (Sections.empty()) {
            Preamble.push_back(ParseLine(raw, begin, end));
            return;
        }
        TIniSection& section = Sections.back();
        section.Lines.push_back(ParseLine(raw, begin, end));
        const TIniLine& line = section.Lines.back();
        if (line.IsKey())
            section.Keys.emplace(LowerName(line.Key()), section.Lines.size() - 1);
    }

    TIniSection& AddSection(std::string_view name, std::string_view header)
    {
        TIniSection& section = Sections.emplace_back();
        section.Name = name;
        section.Header = header;
        section.Repeat = !Index.emplace(LowerName(name), Sections.size() - 1).second;
        return section;
    }

    void IndexSections()
    {
        Index.clear();
        for (size_t i = 0; i < Sections.size(); ++i)
            Sections[i].Repeat = !Index.emplace(LowerName(Sections[i].Name), i).second;
    }

    const TIniSection* FindSection(std::string_view name) const
    {
        auto it = Index.find(LowerName(name));
        return it == Index.end() ? nullptr : &Sections[it->second];
    }

    TIniSection* FindSection(std::string_view name)
    {
        return const_cast<TIniSection*>(static_cast<const TIniFileModel*>(this)->FindSection(name));
    }

    std::vector<TIniLine>& LastLines() { return Sections.empty() ? Preamble : Sections.back().Lines; }

    // Stores `value`; false when the key already holds exactly that text.
    bool WriteValue(std::string_view sectionName, std::string_view key, std::string_view value)
    {
        CheckSectionName(sectionName);
        CheckKeyName(key);
        CheckValue(key, value);
        TIniSection* section = FindSection(sectionName);
        if (section) {
            auto it = section->Keys.find(LowerName(key));
            if (it != section->Keys.end()) {
                TIniLine& line = section->Lines[it->second];
                if (line.Value() == value)
                    return false;
                // The key keeps the spelling it was first written with.
                line = MakeKeyLine(std::string(line.Key()), value);
                return true;
            }
        } else {
            // A new section is set off from the one before by a blank line.
            bool empty = Preamble.empty() && Sections.empty();
            std::vector<TIniLine>& last = LastLines();
            if (!empty && (last.empty() || last.back().Kind != TLineKind::Blank))
                last.push_back(ParseLine("", 0, 0));
            section = &AddSection(sectionName, "[" + std::string(sectionName) + "]");
        }
        // A new key goes right after the last key of its section, so the blank lines that separate it from
        // the next section stay at its end.
        std::vector<TIniLine>& lines = section->Lines;
        size_t position = lines.size();
        while (position > 0 && !lines[position - 1].IsKey())
            --position;
        if (position == 0) {
            position = lines.size();
            while (position > 0 && lines[position - 1].Kind == TLineKind::Blank)
                --position;
        }
        // Only non-key lines follow `position`, so the indices of existing keys do not move.
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), MakeKeyLine(key, value));
        section->Keys.emplace(LowerName(key), position);
        return true;
    }

    // Removes every section of that name (a repeated header too); false when there is none.
    bool EraseSection(std::string_view name)
    {
        if (!FindSection(name))
            return false;
        std::erase_if(Sections, [&](const TIniSection& section) { return SameName(section.Name, name); });
        IndexSections();
        return true;
    }

    // Removes the key's lines from its section, its repeated lines too, so that no later copy of the key
    // surfaces once the first is gone; false when there is none.
    bool DeleteKey(std::string_view sectionName, std::string_view key)
    {
        TIniSection* section = FindSection(sectionName);
        if (!section || !section->FindKey(key))
            return false;
        std::erase_if(section->Lines, [&](const TIniLine& line) { return line.IsKey() && SameName(line.Key(), key); });
        section->IndexKeys();
        return true;
    }

    // Calls `visit` with every line of the file in order, section headers included.
    template <class Visit> void ForEachLine(Visit visit) const
    {
        for (const TIniLine& line : Preamble)
            visit(std::string_view(line.Text));
        for (const TIniSection& section : Sections) {
            visit(std::string_view(section.Header));
            for (const TIniLine& line : section.Lines)
                visit(std::string_view(line.Text));
        }
    }

    std::string Text() const
    {
        size_t size = 0;
        ForEachLine([&](std::string_view line) { size += line.size() + 1; });
        std::string text;
        text.reserve(size + kUtf8Bom.size());
        bool first = true;
        ForEachLine([&](std::string_view line) {
            // A load skips one byte-order mark; when the first line itself starts with one, a second one
            // in front keeps it part of the line.
            if (first && line.substr(0, kUtf8Bom.size()) == kUtf8Bom)
                text.append(kUtf8Bom);
            first = false;
            text.append(line).append(1, '\n');
        });
        return text;
    }

    void Save(const std::string& fileName) const
    {
        if (Unreadable)
            RaiseWriteError(fileName);
        SaveText(fileName, Text());
    }

    std::string ReadString(std::string_view sectionName, std::string_view key, std::string_view def) const
    {
        const TIniSection* section = FindSection(sectionName);
        const TIniLine* line = section ? section->FindKey(key) : nullptr;
        return std::string(line ? line->Value() : def);
    }

    void ReadSection(std::string_view sectionName, TStrings& keys) const
    {
        TUpdateScope update(keys);
        keys.Clear();
        if (const TIniSection* section = FindSection(sectionName))
            section->ForEachKey([&](const TIniLine& line) { keys.Add(line.Key()); });
    }

    void ReadSections(TStrings& names) const
    {
        TUpdateScope update(names);
        names.Clear();
        for (const TIniSection& section : Sections) {
            if (!section.Repeat)
                names.Add(section.Name);
        }
    }

    void ReadSectionValues(std::string_view sectionName, TStrings& lines) const
    {
        TUpdateScope update(lines);
        lines.Clear();
        if (const TIniSection* section = FindSection(sectionName)) {
            section->ForEachKey([&](const TIniLine& line) {
                std::string text;
                text.reserve(line.Key().size() + 1 + line.Value().size());
                text.append(line.Key()).append(1, '=').append(line.Value());
                lines.Add(text);
            });
        }
    }
};

// TCustomIniFile

TCustomIniFile::TCustomIniFile(std::string fileName)
    : FFileName(std::move(fileName))
{
}

int TCustomIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const
{
    return StrToIntDef(ReadString(section, key, ""), def);
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, IntToStr(value));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view key, double def) const
{
    return StrToFloatDef(ReadString(section, key, ""), def);
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(std::string_view section) const
{
    TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    // A missing key gives back whichever default it is asked with; a stored value cannot equal both.
    // Two reads cost far less than listing the section, which made a loop over the keys quadratic.
    return ReadString(section, key, "0") != "0" || ReadString(section, key, "1") != "1";
}

// TMemIniFile

TMemIniFile::TMemIniFile(std::string fileName)
    : inherited(std::move(fileName))
    , FModel(std::make_unique<TIniFileModel>())
{
    FModel->Load(FFileName);
}

TMemIniFile::~TMemIniFile() = default;

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    return FModel->ReadString(section, key, def);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    FModel->WriteValue(section, key, value);
}

void TMemIniFile::ReadSection(std::string_view section, TStrings& keys) const
{
    FModel->ReadSection(section, keys);
}

void TMemIniFile::ReadSections(TStrings& sections) const
{
    FModel->ReadSections(sections);
}

void TMemIniFile::ReadSectionValues(std::string_view section, TStrings& lines) const
{
    FModel->ReadSectionValues(section, lines);
}

void TMemIniFile::EraseSection(std::string_view section)
{
    FModel->EraseSection(section);
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    FModel->DeleteKey(section, key);
}

void TMemIniFile::UpdateFile()
{
    FModel->Save(FFileName);
}

void TMemIniFile::GetStrings(TStrings& list) const
{
    TUpdateScope update(list);
    list.Clear();
    FModel->ForEachLine([&](std::string_view line) { list.Add(line); });
}

void TMemIniFile::SetStrings(const TStrings& list)
{
    // The lines are text already, not file bytes: a byte-order mark in the first one is kept.
    FModel->Parse(list.Text(), false);
}

void TMemIniFile::Clear()
{
    FModel->Clear();
}

void TMemIniFile::Rename(std::string newFileName, bool reload)
{
    FFileName = std::move(newFileName);
    if (reload)
        FModel->Load(FFileName);
    else
        FModel->Unreadable = false; // The contents are meant for the new file.
}

// TIniFile

TIniFile::TIniFile(std::string fileName)
    : inherited(std::move(fileName))
    , FModel(std::make_unique<TIniFileModel>())
{
    FModel->Load(FFileName);
}

TIniFile::~TIniFile() = default;

template <class Change> void TIniFile::WriteThrough(Change change)
{
    TIniFileModel backup = *FModel;
    if (!change(*FModel))
        return;
    try {
        FModel->Save(FFileName);
    } catch (...) {
        *FModel = std::move(backup);
        throw;
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    return FModel->ReadString(section, key, def);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    WriteThrough([&](TIniFileModel& model) { return model.WriteValue(section, key, value); });
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const
{
    FModel->ReadSection(section, keys);
}

void TIniFile::ReadSections(TStrings& sections) const
{
    FModel->ReadSections(sections);
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& lines) const
{
    FModel->ReadSectionValues(section, lines);
}

void TIniFile::EraseSection(std::string_view section)
{
    WriteThrough([&](TIniFileModel& model) { return model.EraseSection(section); });
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    WriteThrough([&](TIniFileModel& model) { return model.DeleteKey(section, key); });
}

void TIniFile::UpdateFile()
{
    FModel->Save(FFileName);
}
