// The resource holder's skins: both load from the program folder at start, and a skin that is missing,
// incomplete or broken is named in a warning while its windows keep the default look.
#include "app/TResourceSkinData.h"

#include "engine/AppServices.h"
#include "framework/controls/Forms.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"

#include <filesystem>
#include <functional>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A program folder of its own holding a copy of the built skins, and the warnings shown while it lives.
class TProgramFolder {
public:
    TProgramFolder()
        : Folder(fs::temp_directory_path() / ("tp_resource_skins_" + std::to_string(getpid())))
    {
        fs::remove_all(Folder);
        fs::create_directories(SkinFolder());
        for (const auto& entry : fs::directory_iterator(TP_SKIN_DIR))
            fs::copy_file(entry.path(), SkinFolder() / entry.path().filename());
        SetProgramFolder(Folder.string());
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, int32_t flags) {
            Warnings.push_back(text);
            EXPECT_EQ(caption, "Tarnwick Pro");
            EXPECT_EQ(flags, 48);
            return 1;
        });
    }
    ~TProgramFolder()
    {
        SetMessageBoxHandler(nullptr);
        SetProgramFolder("");
        fs::remove_all(Folder);
    }

    fs::path SkinFolder() const { return Folder / "Skin" / "TarnwickPro"; }
    std::string SkinFile(const char* name) const { return (SkinFolder() / name).string(); }

    fs::path Folder;
    std::vector<std::string> Warnings;
};

// The holder as the start-up makes it, with its skin slots filled.
class THolder {
public:
    THolder()
        : Form(std::make_unique<TResourceForm>(nullptr))
    {
        ResourceForm = Form.get();
        InstallResourceSkins(*Form);
    }
    ~THolder() { Form.reset(); }

    std::unique_ptr<TResourceForm> Form;
};

TEST(TResourceSkinData, TheHolderLoadsBothSkinsFromTheProgramFolder)
{
    TProgramFolder folder;
    THolder holder;
    ASSERT_NE(MainSkinData(), nullptr);
    ASSERT_NE(FormSkinData(), nullptr);
    EXPECT_TRUE(MainSkinData()->Empty);
    EXPECT_TRUE(MainSkinData()->SkinnableForm());
    EXPECT_TRUE(MainSkinData()->EnableSkinEffects());

    holder.Form->LoadMainSkin();
    holder.Form->LoadFormSkin();
    EXPECT_TRUE(folder.Warnings.empty()) << folder.Warnings.front();
    EXPECT_FALSE(MainSkinData()->Empty);
    EXPECT_FALSE(FormSkinData()->Empty);
    EXPECT_EQ(MainSkinData()->Picture->Width(), 785);
    EXPECT_GE(FormSkinData()->GetControlIndex("button"), 0);

    holder.Form.reset();
    EXPECT_EQ(MainSkinData(), nullptr);
}

TEST(TResourceSkinData, ASkinThatCannotBeUsedIsNamedAndLeavesTheDefaultLook)
{
    struct Case {
        const char* Name;
        // Spoils the copied skin folder.
        std::function<void(const TProgramFolder&)> Spoil;
        // What the warning says besides the skin file's path.
        const char* Says;
    };
    const Case cases[] = {
        { "no skin folder", [](const TProgramFolder& f) { fs::remove_all(f.SkinFolder()); }, "is missing" },
        { "a picture is gone", [](const TProgramFolder& f) { fs::remove(f.SkinFolder() / "MainControls.bmp"); },
            "MainControls.bmp" },
        { "a section is gone",
            [](const TProgramFolder& f) {
                std::ofstream(f.SkinFile("MainSkin.ini"), std::ios::trunc) << "[VERSION]\r\nver=2\r\n";
            },
            "is not a complete skin" },
        { "a rectangle is malformed",
            [](const TProgramFolder& f) {
                std::string text;
                {
                    std::ifstream in(f.SkinFile("MainSkin.ini"), std::ios::binary);
                    text.assign(std::istreambuf_iterator<char>(in), {});
                }
                const size_t section = text.find("[Go]\r\n");
                ASSERT_NE(section, std::string::npos);
                text.insert(section + 6, "skinrect=1,2\r\n");
                std::ofstream(f.SkinFile("MainSkin.ini"), std::ios::binary | std::ios::trunc) << text;
            },
            "could not be loaded" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder folder;
        c.Spoil(folder);
        THolder holder;
        holder.Form->LoadMainSkin();
        ASSERT_EQ(folder.Warnings.size(), 1u);
        const std::string& warning = folder.Warnings[0];
        EXPECT_NE(warning.find(folder.SkinFile("MainSkin.ini")), std::string::npos) << warning;
        EXPECT_NE(warning.find(c.Says), std::string::npos) << warning;
        EXPECT_NE(warning.find("default look"), std::string::npos) << warning;
        // The skin is empty and settled, so every window draws its default look.
        EXPECT_TRUE(MainSkinData()->Empty);
        EXPECT_FALSE(MainSkinData()->SkinChanging);
        EXPECT_TRUE(MainSkinData()->ObjectRecords.empty());
        EXPECT_TRUE(MainSkinData()->Picture->Empty());
    }
}

// A form that records the skin-change messages of one skin with the skin's Empty flag at the time.
class TSkinWatchingForm : public TForm {
    using inherited = TForm;

public:
    TSkinWatchingForm(TComponent* owner, std::vector<std::pair<UINT, bool>>* log)
        : TForm(owner)
        , FLog(log)
    {
    }

    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_BEFORECHANGESKINDATA || message.Msg == WM_CHANGESKINDATA
            || message.Msg == WM_AFTERCHANGESKINDATA)
            FLog->emplace_back(message.Msg, reinterpret_cast<const TspSkinData*>(message.WParam)->Empty);
        inherited::WndProc(message);
    }

private:
    std::vector<std::pair<UINT, bool>>* FLog;
};

TEST(TResourceSkinData, AFailedLoadTellsTheFormsThatTheSkinIsGone)
{
    THeadlessBackend backend;
    backend.UseManualClock(1000);
    ASSERT_TRUE(backend.Install());
    InitializeForms();
    std::vector<std::pair<UINT, bool>> received;
    TCustomForm::Create<TSkinWatchingForm>(Application, &received);
    {
        TProgramFolder folder;
        fs::remove(folder.SkinFolder() / "Frame.bmp");
        THolder holder;
        holder.Form->LoadFormSkin();
        ASSERT_EQ(folder.Warnings.size(), 1u);
        EXPECT_NE(folder.Warnings[0].find("Frame.bmp"), std::string::npos) << folder.Warnings[0];
    }
    FinalizeForms();
    backend.Uninstall();
    // The load announced the change and failed; the clear that follows ends with the empty skin in place, so
    // the form goes back to its default look.
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received.front(), (std::pair<UINT, bool> { WM_BEFORECHANGESKINDATA, true }));
    EXPECT_EQ(received.back(), (std::pair<UINT, bool> { WM_AFTERCHANGESKINDATA, true }));
}

} // namespace
