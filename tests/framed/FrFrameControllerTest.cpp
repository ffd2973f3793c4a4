#include "framed/FrFrameController.h"
#include "framed/FrPanel.h"

#include "FramedTestSupport.h"

#include <set>

namespace {

// A control with some of the published names: records what it was given, as "Name=value".
class TNamedControl : public TGraphicControl, public IFrPublishedProperties {
public:
    TNamedControl(TComponent* owner, std::set<std::string> names)
        : TGraphicControl(owner)
        , Names(std::move(names))
    {
    }
    bool SetPublishedProperty(std::string_view name, int64_t value) override
    {
        if (!Names.count(std::string(name)))
            return false;
        Pushed.push_back(std::string(name) + "=" + std::to_string(value));
        return true;
    }
    std::set<std::string> Names;
    std::vector<std::string> Pushed;
};

// A control that fetches the settings itself.
class TNotifiedControl : public TGraphicControl, public IFrControllerNotify {
public:
    using TGraphicControl::TGraphicControl;
    void ControllerNotify() override { ++Notices; }
    int Notices = 0;
};

const std::set<std::string> AllNames { "ParentColor", "Color", "DisabledColor", "FocusColor", "FlatButtonColor",
    "FlatButtons", "FrameColor", "FrameHotColor", "FrameHotTrack", "FrameHotStyle", "FrameSides", "FrameStyle",
    "FrameVisible", "FramingPreference" };

class FrFrameControllers : public ControlsTest { };

} // namespace

TEST_F(FrFrameControllers, ALinkGetsEverySettingItHasANameFor)
{
    TFrFrameController controller(nullptr);
    TNamedControl all(nullptr, AllNames);
    controller.AddControl(&all);
    EXPECT_EQ(all.Pushed,
        (std::vector<std::string> { "ParentColor=0", "Color=" + std::to_string(clWindow),
            "DisabledColor=" + std::to_string(clBtnFace), "FocusColor=" + std::to_string(clWindow),
            "FlatButtonColor=" + std::to_string(clBtnFace), "FlatButtons=1", "FrameColor=" + std::to_string(clBtnShadow),
            "FrameHotColor=" + std::to_string(clBtnShadow), "FrameHotTrack=0", "FrameHotStyle=10", "FrameSides=15",
            "FrameStyle=1", "FrameVisible=0", "FramingPreference=1" }));
    // Without "FlatButtons" and "Color": skipped.
    TNamedControl some(nullptr, { "FrameStyle", "FlatButtonColor" });
    controller.AddControl(&some);
    EXPECT_EQ(some.Pushed, (std::vector<std::string> { "FlatButtonColor=" + std::to_string(clBtnFace), "FrameStyle=1" }));
    controller.AddControl(&some);
    EXPECT_EQ(some.Pushed.size(), 2u);
    controller.RemoveControl(&all);
    controller.RemoveControl(&some);
}

TEST_F(FrFrameControllers, HoldingBatchesThePushesIntoOneAtTheRelease)
{
    TFrFrameController controller(nullptr);
    TNamedControl control(nullptr, AllNames);
    TNotifiedControl panel(nullptr);
    controller.AddControl(&control);
    controller.AddControl(&panel);
    control.Pushed.clear();
    panel.Notices = 0;
    controller.HoldUpdates();
    controller.HoldUpdates();
    controller.SetFrameStyle(fsLowered);
    controller.SetFrameColor(clRed);
    controller.ReleaseUpdates();
    EXPECT_TRUE(control.Pushed.empty());
    EXPECT_EQ(panel.Notices, 0);
    controller.ReleaseUpdates();
    EXPECT_EQ(control.Pushed.size(), AllNames.size());
    EXPECT_EQ(panel.Notices, 1);
    controller.ReleaseUpdates(); // below zero comes back to zero, and pushes again
    control.Pushed.clear();
    controller.SetFrameVisible(true);
    EXPECT_EQ(control.Pushed, (std::vector<std::string> { "FrameVisible=1" }));
    controller.RemoveControl(&control);
    controller.RemoveControl(&panel);
}

TEST_F(FrFrameControllers, ColourChangesCarryTheFocusColourAlongButPushOnlyTheColour)
{
    TFrFrameController controller(nullptr);
    TNamedControl control(nullptr, AllNames);
    controller.AddControl(&control);
    control.Pushed.clear();
    controller.SetColor(clRed);
    EXPECT_EQ(controller.FocusColor(), clRed);
    EXPECT_EQ(control.Pushed, (std::vector<std::string> { "Color=" + std::to_string(clRed) }));
    controller.SetFocusColor(clYellow);
    controller.SetColor(clBlue);
    EXPECT_EQ(controller.FocusColor(), clYellow);

    control.Pushed.clear();
    controller.SetParentColor(true);
    controller.SetParentColor(false);
    EXPECT_EQ(control.Pushed,
        (std::vector<std::string> { "ParentColor=1", "ParentColor=0", "Color=" + std::to_string(clBlue) }));

    // Hot tracking makes the frame visible and takes all four sides.
    controller.SetFrameSides({ sdLeft });
    control.Pushed.clear();
    controller.SetFrameHotTrack(true);
    EXPECT_TRUE(controller.FrameVisible());
    EXPECT_EQ(controller.FrameSides(), AllSides);
    EXPECT_EQ(control.Pushed, (std::vector<std::string> { "FrameVisible=1", "FrameHotTrack=1" }));
    controller.RemoveControl(&control);
}

TEST_F(FrFrameControllers, AssignCopiesTheSettingsAndOldStoredNamesStillLoad)
{
    TFrFrameController source(nullptr);
    source.SetColor(clAqua);
    source.SetFrameStyle(fsGroove);
    source.SetFrameHotTrack(true);
    TFrFrameController copy(nullptr);
    TNamedControl control(nullptr, AllNames);
    copy.AddControl(&control);
    control.Pushed.clear();
    copy.Assign(&source);
    EXPECT_EQ(copy.Color(), clAqua);
    EXPECT_EQ(copy.FrameStyle(), fsGroove);
    EXPECT_TRUE(copy.FrameHotTrack());
    EXPECT_TRUE(copy.FrameVisible());
    EXPECT_EQ(control.Pushed.size(), AllNames.size()); // once, at the release
    TComponent other(nullptr);
    EXPECT_THROW(copy.Assign(&other), Exception);

    TFrFrameController old(nullptr);
    EXPECT_TRUE(old.ReadStoredProperty("FrameFlat", "True"));
    EXPECT_TRUE(old.FrameHotTrack());
    EXPECT_EQ(old.FrameStyle(), fsStatus);
    EXPECT_EQ(old.FrameHotStyle(), fsLowered);
    EXPECT_TRUE(old.ReadStoredProperty("FrameFocusStyle", "fsBump"));
    EXPECT_EQ(old.FrameHotStyle(), fsBump);
    EXPECT_TRUE(old.ReadStoredProperty("FrameFlatStyle", "fsFlat"));
    EXPECT_FALSE(old.ReadStoredProperty("Unknown", "1"));
    copy.RemoveControl(&control);
}

TEST_F(FrFrameControllers, AControllerThatGoesLeavesNoDanglingStorageOrLinks)
{
    auto* controller = new TFrFrameController(nullptr);
    auto* storage = new TFrRegIniFile(nullptr);
    EXPECT_TRUE(storage->RefreshStorage());
    EXPECT_EQ(storage->RegAccess(), TFrRegAccess { keyAllAccess });
    controller->SetRegIniFile(storage);
    delete storage;
    EXPECT_EQ(controller->RegIniFile(), nullptr);
    // A linked panel that goes leaves the controller's list; a later change reaches only the one still there.
    auto* gone = new TFrPanel(nullptr);
    auto* kept = new TFrPanel(nullptr);
    gone->SetFrameController(controller);
    kept->SetFrameController(controller);
    EXPECT_EQ(controller->ControlCount(), 2);
    delete gone;
    EXPECT_EQ(controller->ControlCount(), 1);
    controller->SetColor(clRed);
    // The controller that goes clears the link of the panel that stays.
    delete controller;
    EXPECT_EQ(kept->FrameController(), nullptr);
    delete kept;
}
