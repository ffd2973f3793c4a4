// The fixture of the application dialogs' tests: the headless display with a still virtual clock, a program
// folder of its own (for LastSettings.ini and DecoderMode.cfg) holding the program's skins as the build makes
// them, the resource holder with both skins loaded, and a way to answer a modal dialog from inside its loop.
#pragma once
#include "app/TResourceSkinData.h"
#include "engine/AppServices.h"
#include "engine/TResourceForm.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "tests/framework/ControlsTestSupport.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

class AppDialogTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        std::string pattern = std::filesystem::temp_directory_path().string() + "/app-dialog-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern.data()));
        Folder = pattern + "/";
        std::filesystem::create_directories(Folder + "Skin");
        std::filesystem::create_directory_symlink(TP_SKIN_DIR, Folder + "Skin/TarnwickPro");
        SetProgramFolder(Folder);
        SetMessageBoxHandler([this](const std::string& text, const std::string&, int32_t) {
            Messages.push_back(text);
            return 1;
        });
        Holder = std::make_unique<TResourceForm>(nullptr);
        ResourceForm = Holder.get();
        InstallResourceSkins(*Holder);
        Holder->LoadMainSkin();
        Holder->LoadFormSkin();
        ASSERT_TRUE(Messages.empty()) << Messages.front();
    }

    void TearDown() override
    {
        Application->OnIdle = nullptr;
        Holder.reset();
        SetMessageBoxHandler(nullptr);
        SetProgramFolder("");
        ControlsTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }

    // Shows `form` modally; once it is up and idle, `answer` runs once and should end the loop (directly or by
    // input it gives the backend). A form still open when the loop is idle again fails the test and is
    // cancelled, so the suite never hangs. Returns the modal result.
    template <class Form> int RunModal(Form* form, const std::function<void(Form*)>& answer)
    {
        bool answered = false;
        bool stuck = false;
        Application->OnIdle = [&](TObject*, bool& idle) {
            if (!form->Visible() || form->ModalResult() != mrNone)
                return;
            idle = false;
            if (!answered) {
                answered = true;
                answer(form);
            } else {
                stuck = true;
                form->SetModalResult(mrCancel);
            }
        };
        form->SetModalResult(mrNone);
        const int result = form->ShowModal();
        Application->OnIdle = nullptr;
        EXPECT_TRUE(answered);
        EXPECT_FALSE(stuck) << "the answer left the window open";
        return result;
    }

    void Press(UINT key)
    {
        Backend.Key(key);
        Pump();
    }

    std::string ReadFile(const std::string& name) const
    {
        std::ifstream in(Folder + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFile(const std::string& name, const std::string& text) const
    {
        std::ofstream(Folder + name, std::ios::binary | std::ios::trunc) << text;
    }

    std::string Folder;
    std::unique_ptr<TResourceForm> Holder;
    std::vector<std::string> Messages;
};
