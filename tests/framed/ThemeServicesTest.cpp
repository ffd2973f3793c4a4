#include "framed/ThemeServices.h"

#include "FramedTestSupport.h"
#include "framed/FrCommon.h"
#include "framework/controls/TApplication.h"
#include "platform/win/Windows.h"

namespace {

class ThemeServicesTest : public ControlsTest {
protected:
    void TearDown() override
    {
        FreeThemeServices();
        SetStyleLibraryLoader(nullptr);
        ControlsTest::TearDown();
    }
    void UseFakeLibrary()
    {
        SetStyleLibraryLoader([this] { return std::make_unique<TFakeStyleLibrary>(&State); });
    }
    TFakeStyleLibrary::TState State;
};

} // namespace

TEST_F(ThemeServicesTest, WithoutAStylesLibraryEveryControlPaintsItsOwnLook)
{
    TThemeServices* services = ThemeServices();
    EXPECT_FALSE(services->LibraryPresent());
    EXPECT_FALSE(services->StylesEnabled());
    EXPECT_EQ(services->ElementHandle(teButton), nullptr);
    EXPECT_EQ(services->Window(), Application->Handle());
}

TEST_F(ThemeServicesTest, StylesNeedTheLibraryAnActiveThemeControlsAllowedAndVersionSix)
{
    UseFakeLibrary();
    struct TCase {
        bool Themed, Active;
        DWORD Properties, Version;
        bool Enabled;
    };
    const TCase cases[] = {
        { true, true, STAP_ALLOW_CONTROLS, 0x00060000, true },
        { true, true, STAP_ALLOW_CONTROLS, 0x00050051, false },
        { false, true, STAP_ALLOW_CONTROLS, 0x00060000, false },
        { true, false, STAP_ALLOW_CONTROLS, 0x00060000, false },
        { true, true, 0, 0x00060000, false },
    };
    for (const TCase& c : cases) {
        State.Themed = c.Themed;
        State.Active = c.Active;
        State.AppProperties = c.Properties;
        State.Version = c.Version;
        TThemeServices services(nullptr);
        EXPECT_TRUE(services.LibraryPresent());
        EXPECT_EQ(services.StylesEnabled(), c.Enabled);
    }
}

TEST_F(ThemeServicesTest, HandlesOpenOnDemandAndAThemeChangeClosesThemAndTells)
{
    UseFakeLibrary();
    TThemeServices* services = ThemeServices();
    int changes = 0;
    services->OnStyleChange = [&](TObject*) { ++changes; };
    HTHEME button = services->ElementHandle(teButton);
    EXPECT_NE(button, nullptr);
    EXPECT_EQ(services->ElementHandle(teButton), button);
    services->ElementHandle(teComboBox);
    EXPECT_EQ(State.Classes, (std::vector<std::string> { "button", "combobox" }));
    // The theme is switched off: the application's window hears it.
    State.Active = false;
    SendMessage(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(State.Closed, 2);
    EXPECT_FALSE(services->StylesEnabled());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(services->ElementHandle(teButton), nullptr);
}

TEST_F(ThemeServicesTest, TheLibraryStaysBoundUntilTheLastRelease)
{
    UseFakeLibrary();
    EXPECT_TRUE(BindStyleLibrary());
    EXPECT_TRUE(BindStyleLibrary());
    ReleaseStyleLibrary();
    EXPECT_NE(StyleLibrary(), nullptr);
    ReleaseStyleLibrary();
    EXPECT_EQ(StyleLibrary(), nullptr);
    EXPECT_EQ(State.Alive, 0);
    // An extra release does nothing: the count does not go below zero, so the next bind holds the library
    // again and its one release lets it go.
    ReleaseStyleLibrary();
    EXPECT_EQ(StyleLibrary(), nullptr);
    EXPECT_EQ(State.Alive, 0);
    EXPECT_TRUE(BindStyleLibrary());
    EXPECT_NE(StyleLibrary(), nullptr);
    ReleaseStyleLibrary();
    EXPECT_EQ(StyleLibrary(), nullptr);
    EXPECT_EQ(State.Alive, 0);
}

TEST_F(ThemeServicesTest, PartsAndStatesOfTheButtonAndComboDetails)
{
    const std::pair<int, TStyleElementRef> buttons[] = { { 0, { 0, 0, 1 } }, { 1, { 0, 0, 2 } }, { 2, { 0, 1, 1 } },
        { 6, { 0, 1, 5 } }, { 7, { 0, 2, 1 } }, { 14, { 0, 2, 8 } }, { 15, { 0, 3, 1 } }, { 26, { 0, 3, 12 } },
        { 27, { 0, 4, 1 } }, { 28, { 0, 4, 2 } }, { 29, { 0, 5, 1 } }, { 30, { 0, 0, 31 } } };
    for (auto [detail, ref] : buttons)
        EXPECT_EQ(TThemeServices::ButtonPartState(detail), ref) << detail;
    EXPECT_EQ(TThemeServices::ComboPartState(2), (TStyleElementRef { 2, 1, 1 }));
    EXPECT_EQ(TThemeServices::ComboPartState(5), (TStyleElementRef { 2, 1, 4 }));
    EXPECT_EQ(TThemeServices::ComboPartState(6), (TStyleElementRef { 2, 0, 7 }));
}
