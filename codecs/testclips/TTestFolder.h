// TTestFolder: a fresh temporary folder for one test, removed with everything in it; and helpers that damage files.
#pragma once
#include <string>

class TTestFolder final {
public:
    TTestFolder();
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    const std::string& Path() const { return FPath; }
    // The path of a file inside the folder.
    std::string File(const std::string& name) const;

private:
    std::string FPath;
};

// Cuts the file down to `keepFraction` of its size.
bool TruncateFile(const std::string& path, double keepFraction);
// Overwrites `fraction` of the file, centred in its middle, with pseudo-random bytes (the same every run).
bool CorruptFileMiddle(const std::string& path, double fraction);
bool WriteTextFile(const std::string& path, const std::string& text);
// The file's size in bytes, -1 when it cannot be read.
long long FileSizeOf(const std::string& path);
