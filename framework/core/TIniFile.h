// The framework's INI files: the abstract TCustomIniFile, the in-memory TMemIniFile and the write-through TIniFile.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TObject.h"

#include <memory>
#include <string>
#include <string_view>

class TStrings;
struct TIniFileModel;

// Raised when an INI file cannot be saved ("Unable to write to <path>"), and when a write would store a
// section name, key name or value that the file could not give back as written (a line break, a key with
// '=' ...), so such a write changes nothing.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// The abstract INI file. Section and key names match case-insensitively (ASCII); numbers use the C locale.
class TCustomIniFile : public TObject {
    using inherited = TObject;

public:
    explicit TCustomIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    // The value of `key` in `section` as stored, or `def` when there is none.
    virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const = 0;
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Replaces the contents of `keys` with the key names of `section`, in file order.
    virtual void ReadSection(std::string_view section, TStrings& keys) const = 0;
    // Replaces the contents of `sections` with the section names, in file order, each once.
    virtual void ReadSections(TStrings& sections) const = 0;
    // Replaces the contents of `lines` with the "key=value" lines of `section`, in file order.
    virtual void ReadSectionValues(std::string_view section, TStrings& lines) const = 0;
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteKey(std::string_view section, std::string_view key) = 0;
    // Saves the file; raises EIniFileException "Unable to write to <path>" when it cannot.
    virtual void UpdateFile() = 0;

    // Decimal, or hex after "0x" or "$"; `def` when the key is missing or its text is not a number.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // Any non-zero number is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    // Writes the shortest text that reads back as exactly `value`.
    void WriteFloat(std::string_view section, std::string_view key, double value);
    // True when the section holds at least one key.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

protected:
    std::string FFileName;
};

// An INI file held in memory: loaded by the constructor (a missing or unreadable file is empty), changed
// only in memory, and saved by UpdateFile alone; the destructor does not save.
class TMemIniFile : public TCustomIniFile {
    using inherited = TCustomIniFile;

public:
    explicit TMemIniFile(std::string fileName);
    ~TMemIniFile() override;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void ReadSection(std::string_view section, TStrings& keys) const override;
    void ReadSections(TStrings& sections) const override;
    void ReadSectionValues(std::string_view section, TStrings& lines) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    void UpdateFile() override;

    // Replaces the contents of `list` with the whole file as lines.
    void GetStrings(TStrings& list) const;
    // Replaces the whole file (in memory) with the lines of `list`.
    void SetStrings(const TStrings& list);
    void Clear();
    // Points the object at another file; with `reload`, replaces the contents with that file's.
    void Rename(std::string newFileName, bool reload);

private:
    std::unique_ptr<TIniFileModel> FModel;
};

// An INI file whose every write is saved at once, so a failure raises at the write call. A write that
// cannot be saved leaves both the file on disk and the object's contents as they were.
class TIniFile : public TCustomIniFile {
    using inherited = TCustomIniFile;

public:
    explicit TIniFile(std::string fileName);
    ~TIniFile() override;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void ReadSection(std::string_view section, TStrings& keys) const override;
    void ReadSections(TStrings& sections) const override;
    void ReadSectionValues(std::string_view section, TStrings& lines) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    void UpdateFile() override;

private:
    // Applies `change` to the contents and saves them; when the save fails, restores the contents and
    // raises. A change that reports false (nothing changed) is not saved.
    template <class Change> void WriteThrough(Change change);

    std::unique_ptr<TIniFileModel> FModel;
};
