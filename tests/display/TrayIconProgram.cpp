#include "tests/display/TrayIconProgram.h"

#include "framework/controls/Forms.h"
#include "framework/graphics/TIcon.h"
#include "platform/backend/sdl/TSdlTrayHost.h"
#include "platform/win/Cursors.h"
#include "platform/win/Windows.h"
#include "skin/menus/TspTrayIcon.h"
#include "tests/display/TWindowStage.h"

#include <memory>

namespace {

std::unique_ptr<TIcon> QuadrantIcon()
{
    constexpr int side = TTrayIconProgram::kIconSide;
    TCursorImage image;
    image.Width = side;
    image.Height = side;
    image.Icon = true;
    image.HasAlpha = true;
    image.Mask.assign(size_t(side * side), 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.Pixels.push_back(TTrayIconProgram::kQuadrants[(y >= side / 2) * 2 + (x >= side / 2)]);
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(CreateIconFromImage(std::move(image)));
    return icon;
}

} // namespace

TTrayIconProgram::TTrayIconProgram(TWindowStage& stage)
    : FStage(stage)
{
    InitializeForms();
    FStage.MessageLoop = [] { Application->ProcessMessages(); };
    SetDoubleClickTime(500);
    FIcon = new TspTrayIcon(Application);
    // The component keeps a copy.
    const std::unique_ptr<TIcon> picture = QuadrantIcon();
    FIcon->SetIcon(picture.get());
    FIcon->SetHint(kHint);
    FIcon->OnClick = [this](TObject*) { Events.push_back("click"); };
    FIcon->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
    FIcon->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        Events.push_back("down" + std::to_string(int(button)));
        Pressed = POINT { x, y };
    };
    FIcon->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int, int) {
        Events.push_back("up" + std::to_string(int(button)));
    };
}

TTrayIconProgram::~TTrayIconProgram()
{
    FStage.MessageLoop = nullptr;
    FinalizeForms();
}

void TTrayIconProgram::SetIconVisible(bool visible)
{
    FIcon->SetIconVisible(visible);
}

bool TTrayIconProgram::IconVisible() const
{
    return FIcon->IconVisible();
}

bool TTrayIconProgram::TrayAvailable()
{
    return TspTrayIcon::TrayAvailable();
}

unsigned long TTrayIconProgram::IconWindow() const
{
    auto* host = dynamic_cast<TSdlTrayHost*>(GetTrayHost());
    return host ? host->IconWindow(FIcon->MessageWindow(), 1) : 0;
}

RECT TTrayIconProgram::IconRect() const
{
    return GetTrayHost() ? GetTrayHost()->IconRect(FIcon->MessageWindow(), 1) : RECT {};
}

RECT TTrayIconProgram::BalloonRect()
{
    FIcon->ShowBalloonHint("Done", "All files were converted", spbitInfo);
    RECT r {};
    if (HWND balloon = TrayBalloonWindow())
        GetWindowRect(balloon, &r);
    FIcon->HideBalloonHint();
    return r;
}
