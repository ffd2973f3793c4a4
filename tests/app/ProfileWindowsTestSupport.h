// What the profile windows' suites share: the headless display, a program folder holding the encoder libraries and
// a Profiles folder, the resource holder loaded from it, and the questions asked with their scripted answers.
#pragma once
#include "app/TEditProfileForm.h"
#include "engine/FormatProfiles.h"
#include "engine/TProfileManager.h"
#include "platform/controls/MessageBox.h"
#include "tests/engine/EncoderLibraryTestSupport.h"
#include "tests/framework/ControlsTestSupport.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class ProfileWindowsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Folder = std::make_unique<TLibraryFolder>(kSorvane, kTiberl);
        std::filesystem::create_directory(ProfilesFolder());
        // Every question is recorded; it takes the next scripted answer, and a question nobody expected fails.
        SetMessageBoxHandler([this](const std::string& text, const std::string&, int32_t flags) {
            Questions.push_back(text);
            QuestionFlags.push_back(flags);
            if (Answers.empty()) {
                if (flags == 0x44)
                    ADD_FAILURE() << "unexpected question: " << text;
                return int32_t(IDOK);
            }
            const int32_t answer = Answers.front();
            Answers.pop_front();
            return answer;
        });
    }

    void TearDown() override
    {
        delete Editor;
        Editor = nullptr;
        Holder.reset();
        SetMessageBoxHandler(nullptr);
        Folder.reset();
        ControlsTest::TearDown();
    }

    std::string ProfilesFolder() const { return Folder->File("Profiles/"); }

    // The shipped profiles into the Profiles folder.
    void CopyShippedProfiles()
    {
        for (const auto& entry : std::filesystem::directory_iterator(TP_ASSETS_DIR "/Profiles"))
            std::filesystem::copy_file(entry.path(), ProfilesFolder() + entry.path().filename().string());
    }

    // A profile file written by the engine.
    void WriteProfile(const TVideoProfile& profile)
    {
        auto copy = profile.Clone();
        ASSERT_TRUE(copy->Save(""));
    }

    // The resource holder on the program folder, its profiles and name lists loaded.
    void LoadHolder()
    {
        Holder = std::make_unique<TResourceFormScope>();
        Holder->Form->LoadProfiles();
    }

    TProfileManager& Manager() { return *Holder->Form->ProfileManager; }

    TEditProfileForm* NewEditor()
    {
        Editor = TCustomForm::Create<TEditProfileForm>(Application);
        return Editor;
    }

    // The names of the .pf files in the Profiles folder, sorted.
    std::vector<std::string> ProfileFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(ProfilesFolder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<TLibraryFolder> Folder;
    std::unique_ptr<TResourceFormScope> Holder;
    TEditProfileForm* Editor = nullptr;
    std::deque<int32_t> Answers;
    std::vector<std::string> Questions;
    std::vector<int32_t> QuestionFlags;
};
