// The skin-change messages as forms receive them, and the skin's cursors in the screen's table, on the
// headless display.
#include "framework/controls/Forms.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// One skin message as a form saw it, with the sending container's state at that moment.
struct TSeen {
    std::string Form;
    UINT Msg;
    bool FromSkin;
    LPARAM LParam;
    bool Empty;
    bool SkinChanging;

    friend bool operator==(const TSeen&, const TSeen&) = default;
};

std::ostream& operator<<(std::ostream& out, const TSeen& seen)
{
    return out << seen.Form << ":" << seen.Msg << (seen.FromSkin ? "" : "(other)") << " lParam " << seen.LParam
               << (seen.Empty ? " empty" : "") << (seen.SkinChanging ? " changing" : "");
}

class TRecordingForm : public TForm {
    using inherited = TForm;

public:
    TRecordingForm(TComponent* owner, std::vector<TSeen>* log, const TspSkinData** skin, std::string name)
        : TForm(owner)
        , FLog(log)
        , FSkin(skin)
        , FName(std::move(name))
    {
    }

    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case WM_BEFORECHANGESKINDATA:
        case WM_CHANGESKINDATA:
        case WM_AFTERCHANGESKINDATA:
        case WM_CHANGERESSTRDATA:
        case WM_CHANGEFORMSKINNABLE: {
            auto* sender = reinterpret_cast<const TspSkinData*>(message.WParam);
            FLog->push_back(
                TSeen { FName, message.Msg, sender == *FSkin, message.LParam, sender->Empty, sender->SkinChanging });
            break;
        }
        default:
            break;
        }
        inherited::WndProc(message);
    }

private:
    std::vector<TSeen>* FLog;
    const TspSkinData** FSkin;
    std::string FName;
};

class SkinDataMessages : public testing::Test {
protected:
    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        InitializeForms();
        // Forms in the order they are made: the skin's owner is the second.
        First = TCustomForm::Create<TRecordingForm>(Application, &Log, &SkinPointer, "first");
        Owner = TCustomForm::Create<TRecordingForm>(Application, &Log, &SkinPointer, "owner");
        Third = TCustomForm::Create<TRecordingForm>(Application, &Log, &SkinPointer, "third");
        Skin = new TspSkinData(Owner);
        SkinPointer = Skin;
        Fixture.AddEverything();
    }

    void TearDown() override
    {
        FinalizeForms();
        Backend.Uninstall();
    }

    // The messages of a successful load or clear, as each form must see them.
    std::vector<TSeen> ChangeSequence(bool load) const
    {
        std::vector<TSeen> expected;
        const UINT messages[] = { WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA, WM_AFTERCHANGESKINDATA };
        for (UINT msg : messages) {
            bool changing = load && msg != WM_AFTERCHANGESKINDATA;
            bool empty = !load || msg == WM_BEFORECHANGESKINDATA;
            for (const char* form : { "owner", "first", "third" })
                expected.push_back(TSeen { form, msg, true, 1000, empty, changing });
        }
        return expected;
    }

    THeadlessBackend Backend;
    std::vector<TSeen> Log;
    const TspSkinData* SkinPointer = nullptr;
    TRecordingForm* First = nullptr;
    TRecordingForm* Owner = nullptr;
    TRecordingForm* Third = nullptr;
    TspSkinData* Skin = nullptr;
    TFixtureSkin Fixture;
};

TEST_F(SkinDataMessages, LoadSendsTheThreeChangesToTheOwnerFirst)
{
    Skin->LoadFromFile(Fixture.Write());
    EXPECT_EQ(Log, ChangeSequence(true));
    Log.clear();
    Skin->ClearSkin();
    EXPECT_EQ(Log, ChangeSequence(false));
}

TEST_F(SkinDataMessages, PackedLoadSendsTheSameChanges)
{
    Skin->LoadFromFile(Fixture.Write());
    Skin->SaveToCompressedFile(Fixture.Path("skin.packed"));
    Log.clear();
    auto* packed = new TspCompressedStoredSkin(Application);
    packed->LoadFromCompressFile(Fixture.Path("skin.packed"));
    Skin->SetCompressedStoredSkin(packed);
    EXPECT_EQ(Log, ChangeSequence(true));
}

TEST_F(SkinDataMessages, RefusedLoadsSendNothingAndAFailedOneStopsAfterTheFirst)
{
    Skin->LoadFromFile(Fixture.Path("missing.ini"));
    TFixtureSkin refused;
    refused.RemoveSection("PICTURES");
    Skin->LoadFromFile(refused.Write());
    EXPECT_TRUE(Log.empty());

    TFixtureSkin broken;
    broken.AddControl("button", "button", { { "skinrect", "1,2" } });
    EXPECT_THROW(Skin->LoadFromFile(broken.Write()), EConvertError);
    ASSERT_EQ(Log.size(), 3u);
    for (const TSeen& seen : Log)
        EXPECT_EQ(seen.Msg, WM_BEFORECHANGESKINDATA);
}

TEST_F(SkinDataMessages, PropertySettersAnnounceTheirChange)
{
    Skin->SetSkinnableForm(true);
    EXPECT_TRUE(Log.empty());
    Skin->SetSkinnableForm(false);
    ASSERT_EQ(Log.size(), 3u);
    EXPECT_EQ(Log[0], (TSeen { "owner", WM_CHANGEFORMSKINNABLE, true, 1000, true, false }));
    Log.clear();
    auto* table = new TspResourceStrData(Application);
    Skin->SetResourceStrData(table);
    Skin->SetResourceStrData(table);
    ASSERT_EQ(Log.size(), 6u);
    EXPECT_EQ(Log[3], (TSeen { "owner", WM_CHANGERESSTRDATA, true, 1000, true, false }));
}

TEST_F(SkinDataMessages, ASkinWithoutAFormOwnerReachesEveryForm)
{
    TspSkinData loose(nullptr);
    SkinPointer = &loose;
    loose.LoadFromFile(Fixture.Write());
    ASSERT_EQ(Log.size(), 9u);
    EXPECT_EQ(Log[0].Form, "first");
    EXPECT_EQ(Log[1].Form, "owner");
    EXPECT_EQ(Log[2].Form, "third");
}

TEST_F(SkinDataMessages, CursorFilesFillTheScreenTableFromTheStartIndex)
{
    auto previous = TspSkinData::LoadCursorFile;
    TspSkinData::LoadCursorFile = [](const std::string& path) {
        return LoadCursor(nullptr, path.ends_with("hand.cur") ? IDC_HAND : IDC_CROSS);
    };
    Fixture.Set(
        "CURSORS", { { "startcursorindex", "0" }, { "cursorscount", "2" }, { "0", "hand.cur" }, { "1", "cross.cur" } });
    Skin->LoadFromFile(Fixture.Write());
    TspSkinData::LoadCursorFile = previous;
    EXPECT_EQ(Skin->StartCursorIndex, 1);
    EXPECT_EQ(Skin->CursorNames->Text(), "hand.cur\ncross.cur\n");
    EXPECT_EQ(Screen->Cursors(1), LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(Screen->Cursors(2), LoadCursor(nullptr, IDC_CROSS));
    // The cursors stay when the skin goes.
    Skin->ClearSkin();
    EXPECT_EQ(Screen->Cursors(2), LoadCursor(nullptr, IDC_CROSS));
    // Numbers past the table's range are passed over.
    Fixture.Set("CURSORS", "startcursorindex", "2147483647");
    Skin->LoadFromFile(Fixture.Write());
    EXPECT_FALSE(Skin->Empty);
}

// A skin is untrusted: a cursor named outside its folder is never read, and the rest of the skin loads.
TEST_F(SkinDataMessages, CursorsOutsideTheSkinFolderAreNotRead)
{
    static std::vector<std::string> read;
    read.clear();
    auto previous = TspSkinData::LoadCursorFile;
    TspSkinData::LoadCursorFile = [](const std::string& path) {
        read.push_back(path);
        return LoadCursor(nullptr, IDC_HAND);
    };
    Fixture.Set("CURSORS",
        { { "startcursorindex", "1" }, { "cursorscount", "4" }, { "0", "../up.cur" }, { "1", "/etc/abs.cur" }, { "2", ".." },
            { "3", "ok.cur" } });
    Skin->LoadFromFile(Fixture.Write());
    TspSkinData::LoadCursorFile = previous;
    EXPECT_FALSE(Skin->Empty);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_TRUE(read[0].ends_with("/ok.cur")) << read[0];
}

} // namespace
