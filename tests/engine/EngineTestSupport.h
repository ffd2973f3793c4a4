// Temporary folders, file helpers and profile-field access shared by the engine tests.
#pragma once
#include "engine/AppServices.h"
#include "engine/ProfileLayout.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tp-engine-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        FPath = pattern + "/";
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    ~TTempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }

    // The folder, with a trailing '/'.
    const std::string& Path() const { return FPath; }
    std::string File(std::string_view name) const { return FPath + std::string(name); }

private:
    std::string FPath;
};

// Points ProgramFolder() at a test folder for the scope's lifetime.
class TProgramFolderScope {
public:
    explicit TProgramFolderScope(const std::string& folder) { SetProgramFolder(folder); }
    TProgramFolderScope(const TProgramFolderScope&) = delete;
    TProgramFolderScope& operator=(const TProgramFolderScope&) = delete;
    ~TProgramFolderScope() { SetProgramFolder(""); }
};

// Counts the message boxes shown while the scope lives and answers them with OK.
class TMessageBoxRecorder {
public:
    TMessageBoxRecorder()
    {
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, int32_t flags) {
            Texts.push_back(text);
            Captions.push_back(caption);
            Flags.push_back(flags);
            return 1;
        });
    }
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;
    ~TMessageBoxRecorder() { SetMessageBoxHandler(nullptr); }

    std::vector<std::string> Texts;
    std::vector<std::string> Captions;
    std::vector<int32_t> Flags;
};

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::string& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The lines of `text` that hold more than blanks, so tests do not depend on how sections are spaced.
inline std::vector<std::string> NonBlankLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

inline bool PathExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// The field of `profile` stored under `key`; throws when the format has no such key.
inline TProfileSlot FieldSlot(TVideoProfile& profile, std::string_view key)
{
    for (const TProfileField& field : profile.Layout().Fields) {
        if (key == field.Key)
            return field.Slot(profile);
    }
    throw std::runtime_error("no field " + std::string(key));
}

// Gives the field a value unlike its current one: numbers and codes grow by `step`, flags flip, reals grow by
// a third of `step` (a value without a short decimal form), texts get a suffix.
inline void ChangeField(const TProfileSlot& slot, int step = 1)
{
    std::visit(
        [step](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>)
                *value = !*value;
            else if constexpr (std::is_same_v<T, double>)
                *value += step / 3.0;
            else if constexpr (std::is_same_v<T, std::string>)
                *value += "|changed = " + std::to_string(step);
            else
                *value = static_cast<T>(*value + step);
        },
        slot);
}

// Whether two slots of the same field hold the same value.
inline bool SameValue(const TProfileSlot& a, const TProfileSlot& b)
{
    return std::visit(
        [](auto* x, auto* y) {
            if constexpr (std::is_same_v<decltype(x), decltype(y)>)
                return *x == *y;
            else
                return false;
        },
        a, b);
}
