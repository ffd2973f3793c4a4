// A private home for the shell tests: HOME and the XDG variables point into a fresh temporary tree, so no test
// reads or changes the user's own folders; and the awkward file name every shell call must carry intact.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// Spaces, both quotes, a shell metacharacter and bytes that are not UTF-8.
inline const std::string kAwkwardName = "it's a \"clip\" $(x) \xff\xfe";

class TShellTestHome {
public:
    TShellTestHome()
    {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/shell-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "mkdtemp failed";
        FRoot = pattern;
        Set("HOME", FRoot + "/home");
        Set("XDG_CONFIG_HOME", FRoot + "/home/.config");
        Set("XDG_DATA_HOME", FRoot + "/home/.local/share");
        Set("XDG_CACHE_HOME", FRoot + "/home/.cache");
        for (const char* name : { "DESKTOP", "DOCUMENTS", "DOWNLOAD", "MUSIC", "PICTURES", "PUBLICSHARE", "TEMPLATES", "VIDEOS" })
            Set("XDG_" + std::string(name) + "_DIR", std::nullopt);
        std::filesystem::create_directories(FRoot + "/home/.config");
    }

    ~TShellTestHome()
    {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
        std::error_code ignored;
        std::filesystem::remove_all(FRoot, ignored);
    }

    TShellTestHome(const TShellTestHome&) = delete;
    TShellTestHome& operator=(const TShellTestHome&) = delete;

    const std::string& Root() const { return FRoot; }
    std::string Home() const { return FRoot + "/home"; }

    // Sets (or, with nullopt, removes) an environment variable until the home ends.
    void Set(const std::string& name, const std::optional<std::string>& value)
    {
        const char* old = std::getenv(name.c_str());
        FSaved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }

    // Writes `text` to `path` (made absolute under the root when relative), creating its folders.
    std::string Write(const std::string& path, const std::string& text) const
    {
        const std::string full = path.size() && path[0] == '/' ? path : FRoot + "/" + path;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << text;
        return full;
    }

    std::string Read(const std::string& path) const
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    std::string FRoot;
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};
