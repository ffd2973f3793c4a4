// TspSkinForm: the skin objects on the form: which object each record makes, caption buttons following the
// border icons and laid out along the caption, the object under the mouse, mouse routing, and the three timers
// that drive hover, morphing and animation.
#include "framework/controls/TTimer.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/SkinValueObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinHint.h"

using namespace SPUtils;

namespace {

bool InRect(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// The object a record makes. The tests run in this order, so a caption-button record is tested before the
// plain button record it derives from; menu item records make none here.
std::unique_ptr<TspActiveSkinObject> MakeObject(TspSkinObjectHost* host, TspDataSkinObject* record)
{
    if (dynamic_cast<TspDataSkinMainMenuItem*>(record) || dynamic_cast<TspDataSkinMenuItem*>(record)
        || dynamic_cast<TspDataSkinMainMenuBarButton*>(record))
        return nullptr;
    if (dynamic_cast<TspDataSkinGauge*>(record))
        return std::make_unique<TspSkinGaugeObject>(host, record);
    if (dynamic_cast<TspDataSkinStdButton*>(record))
        return std::make_unique<TspSkinStdButtonObject>(host, record);
    if (dynamic_cast<TspDataSkinButton*>(record))
        return std::make_unique<TspSkinButtonObject>(host, record);
    if (dynamic_cast<TspDataSkinCaption*>(record))
        return std::make_unique<TspSkinCaptionObject>(host, record);
    if (dynamic_cast<TspDataUserObject*>(record))
        return std::make_unique<TspUserObject>(host, record);
    if (dynamic_cast<TspDataSkinSwitch*>(record))
        return std::make_unique<TspSkinSwitchObject>(host, record);
    if (dynamic_cast<TspDataSkinTrackBar*>(record))
        return std::make_unique<TspSkinTrackBarObject>(host, record);
    if (dynamic_cast<TspDataSkinLabel*>(record))
        return std::make_unique<TspSkinLabelObject>(host, record);
    if (dynamic_cast<TspDataSkinAnimate*>(record))
        return std::make_unique<TspSkinAnimateObject>(host, record);
    if (dynamic_cast<TspDataSkinBitLabel*>(record))
        return std::make_unique<TspSkinBitLabelObject>(host, record);
    if (dynamic_cast<TspDataSkinFrameRegulatorObject*>(record))
        return std::make_unique<TspSkinFrameRegulatorObject>(host, record);
    if (dynamic_cast<TspDataSkinFrameGaugeObject*>(record))
        return std::make_unique<TspSkinFrameGaugeObject>(host, record);
    return nullptr;
}

// The command of a caption button or a button-style animation; cmDefault for other objects.
TStdCommand CommandOf(const TspActiveSkinObject* object, bool& captionButton, bool& autoPlaced)
{
    captionButton = false;
    autoPlaced = object->SkinRectInAPicture;
    if (auto* button = dynamic_cast<const TspSkinStdButtonObject*>(object)) {
        captionButton = true;
        return button->Command;
    }
    if (auto* animate = dynamic_cast<const TspSkinAnimateObject*>(object)) {
        captionButton = animate->ButtonStyle;
        return animate->Command;
    }
    return cmDefault;
}

} // namespace

void TspSkinForm::ClearObjects()
{
    SkinObjects.clear();
    AreaLinks.clear();
    OldActiveObjectIndex = ActiveObjectIndex = PressedObjectIndex = -1;
}

void TspSkinForm::LoadObjects()
{
    ClearObjects();
    if (!FSkinData)
        return;
    for (auto& record : FSkinData->ObjectRecords)
        if (auto object = MakeObject(this, record.get()))
            SkinObjects.push_back(std::move(object));
    CreateMainMenu();
}

void TspSkinForm::LoadDefObjects()
{
    ClearObjects();
    const std::pair<const char*, TStdCommand> buttons[]
        = { { "closebutton", cmClose }, { "maxbutton", cmMaximize }, { "minbutton", cmMinimize },
              { "rollupbutton", cmRollUp }, { "sysmenubutton", cmSysMenu }, { "traybutton", cmMinimizeToTray } };
    for (const auto& [name, command] : buttons) {
        auto button = std::make_unique<TspSkinStdButtonObject>(this, nullptr);
        button->IDName = name;
        button->Command = command;
        button->SkinRectInAPicture = true;
        button->SkinRect = button->ActiveSkinRect = button->DownRect = Rect(0, 0, 1, 1);
        button->ObjectRect = button->SkinRect;
        SkinObjects.push_back(std::move(button));
    }
    CheckObjects();
}

TspSkinCaptionObject* TspSkinForm::FirstCaption() const
{
    for (auto& object : SkinObjects)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get()))
            return caption;
    return nullptr;
}

void TspSkinForm::CheckObjects()
{
    for (auto& object : SkinObjects) {
        bool captionButton;
        bool autoPlaced;
        const TStdCommand command = CommandOf(object.get(), captionButton, autoPlaced);
        const bool stdButton = dynamic_cast<TspSkinStdButtonObject*>(object.get()) != nullptr;
        const bool animate = dynamic_cast<TspSkinAnimateObject*>(object.get()) != nullptr;
        if (HideCaptionButtons) {
            if (stdButton || animate) {
                object->Enabled = false;
                object->Visible = !autoPlaced;
            }
            continue;
        }
        if (stdButton && command == cmDefault) {
            bool visible = false;
            if (OnActivateCustomObject)
                OnActivateCustomObject(object->IDName, visible);
            object->Visible = visible;
            continue;
        }
        if ((stdButton || (animate && captionButton)) && command != cmClose && command != cmDefault) {
            TspBorderIcon icon = TspBorderIcon::biMinimizeToTray;
            switch (command) {
            case cmRollUp:
                icon = TspBorderIcon::biRollUp;
                break;
            case cmMaximize:
                icon = TspBorderIcon::biMaximize;
                break;
            case cmMinimize:
                icon = TspBorderIcon::biMinimize;
                break;
            case cmSysMenu:
                icon = TspBorderIcon::biSystemMenu;
                break;
            default:
                break;
            }
            object->Enabled = FBorderIcons.Contains(icon);
            object->Visible = autoPlaced ? object->Enabled : true;
            continue;
        }
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get()); caption && caption->DefaultCaption)
            caption->SimpleSetTextValue(FForm->Caption());
    }
    bool hasDefault = false;
    for (auto& object : SkinObjects)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get()); caption && caption->DefaultCaption)
            hasDefault = true;
    if (!hasDefault)
        if (TspSkinCaptionObject* caption = FirstCaption()) {
            caption->DefaultCaption = true;
            caption->SimpleSetTextValue(FForm->Caption());
        }
    CheckObjectsHint();
}

void TspSkinForm::CheckObjectsHint()
{
    if (!UseDefaultObjectHint || !FSkinData)
        return;
    static const char* const keys[] = { "CLOSEBUTTON_HINT", "MAXBUTTON_HINT", "MINBUTTON_HINT", "MENUBUTTON_HINT",
        nullptr, "ROLLUPBUTTON_HINT", "TRAYBUTTON_HINT" };
    static const char* const texts[]
        = { "Close", "Maximize", "Minimize", "System menu", nullptr, "Roll Up", "Minimize to Tray" };
    const TspResourceStrData* strings = FSkinData->ResourceStrData();
    for (auto& object : SkinObjects) {
        bool captionButton;
        bool autoPlaced;
        const TStdCommand command = CommandOf(object.get(), captionButton, autoPlaced);
        const bool stdButton = dynamic_cast<TspSkinStdButtonObject*>(object.get()) != nullptr;
        const bool animate = dynamic_cast<TspSkinAnimateObject*>(object.get()) != nullptr;
        if (!(stdButton || animate) || command == cmDefault)
            continue;
        object->Hint = strings ? strings->GetResStr(keys[command]) : texts[command];
    }
}

// ---- Layout -----------------------------------------------------------------------------------------------------

void TspSkinForm::LayoutCaptionButtons()
{
    // The first visible, auto-placed caption button of a command.
    auto find = [this](TStdCommand command) -> TspActiveSkinObject* {
        for (auto& object : SkinObjects) {
            bool captionButton;
            bool autoPlaced;
            if (CommandOf(object.get(), captionButton, autoPlaced) == command && captionButton && object->Visible
                && autoPlaced)
                return object.get();
        }
        return nullptr;
    };
    auto size = [this](TspActiveSkinObject* object) {
        auto* button = dynamic_cast<TspSkinStdButtonObject*>(object);
        if (button && button->Command == cmSysMenu && FShowIcon)
            return GetIconSize();
        return TSize { RectWidth(object->SkinRect), RectHeight(object->SkinRect) };
    };
    const bool onButtons = !IsNullRect(CurButtonsRect);
    if (!onButtons && IsNullRect(CurCaptionRect))
        return;
    const TRect base = onButtons ? CurButtonsRect : CurCaptionRect;
    const int gap = FSkinData->ButtonsOffset;
    std::vector<TspActiveSkinObject*> row;
    for (TStdCommand command : { cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray })
        if (TspActiveSkinObject* object = find(command))
            row.push_back(object);
    for (auto& object : SkinObjects) {
        bool captionButton;
        bool autoPlaced;
        if (CommandOf(object.get(), captionButton, autoPlaced) == cmDefault && captionButton && object->Visible
            && autoPlaced)
            row.push_back(object.get());
    }
    TspSkinCaptionObject* caption = FirstCaption();
    TspActiveSkinObject* sysMenu = find(cmSysMenu);
    if (!FSkinData->ButtonsInLeft) {
        int x = base.Right;
        for (TspActiveSkinObject* object : row) {
            const TSize s = size(object);
            object->ObjectRect = Rect(x - s.cx, base.Top, x, base.Top + s.cy);
            x -= s.cx + gap;
        }
        if (!onButtons && caption)
            caption->ObjectRect.Right = x + gap;
        if (sysMenu) {
            const TSize s = size(sysMenu);
            const int top = CurCaptionRect.Top + RectHeight(CurCaptionRect) / 2 - s.cy / 2;
            sysMenu->ObjectRect = Bounds(CurCaptionRect.Left, top, s.cx, s.cy);
            if (caption)
                caption->ObjectRect.Left = sysMenu->ObjectRect.Right;
        }
        return;
    }
    int x = base.Left;
    if (!onButtons && sysMenu)
        row.push_back(sysMenu);
    for (TspActiveSkinObject* object : row) {
        const TSize s = size(object);
        object->ObjectRect = Rect(x, base.Top, x + s.cx, base.Top + s.cy);
        x += s.cx + gap;
    }
    if (!onButtons && caption)
        caption->ObjectRect.Left = x + gap;
}

void TspSkinForm::CalcAllRealObjectRect()
{
    if (!FFormSkinned) {
        // The default frame: square buttons from the right edge, the system-menu button at the left.
        CalcDefRects();
        CurSizeGripRect = NullRect();
        return;
    }
    // Main-menu items place themselves after one another each time they are drawn.
    for (auto& object : SkinObjects)
        if (!dynamic_cast<TspSkinMainMenuItem*>(object.get()))
            object->ObjectRect = CalcRealObjectRect(object->SkinRect);
    CurSizeGripRect = IsNullRect(FSkinData->SizeGripArea) ? NullRect() : CalcRealObjectRect(FSkinData->SizeGripArea);
    if (FSupportNCArea)
        LayoutCaptionButtons();
}

// ---- The object under the mouse ---------------------------------------------------------------------------------

bool TspSkinForm::CanObjectTest(bool rollUp) const
{
    if (FSupportNCArea)
        return !rollUp;
    return rollUp == FRolledUp;
}

void TspSkinForm::TestActive(int x, int y, bool active)
{
    if (SkinObjects.empty() || (FSupportNCArea && !GetFormActive()))
        return;
    OldActiveObjectIndex = ActiveObjectIndex;
    int hit = -1;
    for (size_t i = 0; i < SkinObjects.size(); ++i) {
        const TspActiveSkinObject* object = SkinObjects[i].get();
        if (CanObjectTest(object->RollUp) && object->Enabled && object->Visible && InRect(object->ObjectRect, x, y)) {
            hit = static_cast<int>(i);
            break;
        }
    }
    ActiveObjectIndex = active ? hit : -1;
    // While an object holds the mouse no other one becomes active.
    if (PressedObjectIndex != -1 && ActiveObjectIndex != PressedObjectIndex)
        ActiveObjectIndex = -1;
    const int count = static_cast<int>(SkinObjects.size());
    if (ActiveObjectIndex >= count)
        ActiveObjectIndex = -1;
    if (OldActiveObjectIndex >= count)
        OldActiveObjectIndex = -1;
    if (ActiveObjectIndex == OldActiveObjectIndex)
        return;
    const bool hints = ShowObjectHint && FSkinHint;
    if (OldActiveObjectIndex != -1) {
        TspActiveSkinObject* old = SkinObjects[size_t(OldActiveObjectIndex)].get();
        if (old->Enabled && old->Visible) {
            old->MouseLeave();
            if (hints && !old->Hint.empty())
                FSkinHint->HideHint();
        }
    }
    if (ActiveObjectIndex != -1) {
        TspActiveSkinObject* now = SkinObjects[size_t(ActiveObjectIndex)].get();
        if (now->Enabled && now->Visible) {
            now->MouseEnter();
            if (hints && !now->Hint.empty() && GetFormActive())
                FSkinHint->ActivateHint2(now->Hint);
        }
    }
}

void TspSkinForm::SetSkinHint(TspSkinHint* value)
{
    if (FSkinHint)
        FSkinHint->RemoveFreeNotification(this);
    FSkinHint = value;
    if (FSkinHint)
        FSkinHint->FreeNotification(this);
}

void TspSkinForm::TestMouse()
{
    POINT cursor;
    GetCursorPos(&cursor);
    if (FSupportNCArea) {
        if (InSizeMove) {
            FMouseTimer->SetEnabled(false);
            return;
        }
        TPoint p { cursor.x, cursor.y };
        PointToNCPoint(p);
        if (!InRect(CurClientRect, p.X, p.Y) || !FFormSkinned)
            TestActive(p.X, p.Y, true);
        else if (ActiveObjectIndex != -1)
            TestActive(-1, -1, true);
        return;
    }
    if (!FFormSkinned || !FForm->HandleAllocated())
        return;
    POINT client = cursor;
    ScreenToClient(FForm->Handle(), &client);
    if (!Dragging) {
        if (InForm(TPoint { cursor.x, cursor.y })) {
            TestActive(client.x, client.y, true);
        } else {
            TestActive(-1, -1, false);
            MouseInForm = false;
            FMouseTimer->SetEnabled(false);
        }
    }
    if (UseSkinCursors)
        TestCursors();
}

void TspSkinForm::TestCursors()
{
    if (!FSkinData)
        return;
    int index = -1;
    if (ActiveObjectIndex != -1)
        index = SkinObjects[size_t(ActiveObjectIndex)]->CursorIndex;
    if (index == -1)
        index = FSkinData->CursorIndex;
    const TCursor cursor = index == -1 ? crDefault : static_cast<TCursor>(FSkinData->StartCursorIndex + index);
    if (FForm->Cursor() != cursor)
        FForm->SetCursor(cursor);
}

void TspSkinForm::TestMorph()
{
    bool stepped = false;
    for (size_t i = 0; i < SkinObjects.size(); ++i) {
        TspActiveSkinObject* object = SkinObjects[i].get();
        if (object->EnableMorphing() && object->CanMorphing()) {
            object->DoMorphing();
            stepped = true;
        }
    }
    if (!stepped)
        FMorphTimer->SetEnabled(false);
}

void TspSkinForm::TestAnimate()
{
    bool stepped = false;
    for (size_t i = 0; i < SkinObjects.size(); ++i) {
        TspActiveSkinObject* object = SkinObjects[i].get();
        if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object)) {
            if (animate->WantsFrameStep()) {
                animate->ChangeFrame();
                stepped = true;
            }
        } else if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object)) {
            if (caption->AnimationStep())
                stepped = true;
        }
    }
    if (!stepped)
        FAnimateTimer->SetEnabled(false);
}

void TspSkinForm::UpDateActiveObjects()
{
    for (auto& object : SkinObjects) {
        if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object.get())) {
            animate->MouseOver = false;
            animate->Active = false;
            animate->FrameIndex = 1;
        } else if (!dynamic_cast<TspSkinCaptionObject*>(object.get())) {
            object->MouseOver = false;
            object->Active = false;
            object->SetMorphKf(0);
        }
    }
}

// ---- Mouse routing ----------------------------------------------------------------------------------------------

void TspSkinForm::MouseMove(int x, int y)
{
    if (!FSupportNCArea && Dragging)
        return;
    const int index = PressedObjectIndex != -1 ? PressedObjectIndex : ActiveObjectIndex;
    if (index != -1 && index < ObjectCount())
        SkinObjects[size_t(index)]->MouseMove(x, y);
}

void TspSkinForm::MouseDown(TMouseButton button, int x, int y)
{
    if (!FSupportNCArea)
        Dragging = false;
    TestActive(x, y, true);
    if (ActiveObjectIndex == -1) {
        if (!FSupportNCArea && button == mbLeft && !IsMaximized() && DraggAble)
            StartDragg(x, y);
        return;
    }
    TspActiveSkinObject* object = SkinObjects[size_t(ActiveObjectIndex)].get();
    // Objects in the frame hold the mouse so that the release comes back here; the caption starts the move loop.
    if (FSupportNCArea && !dynamic_cast<TspSkinCaptionObject*>(object) && FForm->HandleAllocated())
        SetCapture(FForm->Handle());
    PressedObjectIndex = ActiveObjectIndex;
    object->MouseDown(x, y, button);
}

void TspSkinForm::MouseUp(TMouseButton button, int x, int y)
{
    if (!FSupportNCArea)
        EndDragg();
    if (PressedObjectIndex == -1 || PressedObjectIndex >= ObjectCount())
        return;
    const int index = PressedObjectIndex;
    TspActiveSkinObject* object = SkinObjects[size_t(index)].get();
    if (FSupportNCArea && !dynamic_cast<TspSkinCaptionObject*>(object))
        ReleaseCapture();
    PressedObjectIndex = -1;
    object->MouseUp(x, y, button);
}

void TspSkinForm::MouseDBlClick()
{
    if (ActiveObjectIndex != -1 && ActiveObjectIndex < ObjectCount())
        SkinObjects[size_t(ActiveObjectIndex)]->DblClick();
}

void TspSkinForm::StartDragg(int x, int y)
{
    Dragging = true;
    POINT p { x, y };
    if (FForm->HandleAllocated())
        ClientToScreen(FForm->Handle(), &p);
    DragPoint = TPoint { p.x, p.y };
}

void TspSkinForm::EndDragg()
{
    Dragging = false;
}

void TspSkinForm::CheckWindowState()
{
    if (ActiveObjectIndex == -1 || !dynamic_cast<TspSkinCaptionObject*>(SkinObjects[size_t(ActiveObjectIndex)].get()))
        return;
    if (FRolledUp)
        SetRollUpState(false);
    else if (Sizeable)
        SetWindowState(IsMaximized() ? wsNormal : wsMaximized);
    else
        SetRollUpState(true);
}

void TspSkinForm::DrawSkinObject(TspActiveSkinObject* object)
{
    if (!CanObjectTest(object->RollUp) || !FForm->HandleAllocated())
        return;
    if (FSupportNCArea) {
        if (BorderStyleNone() || IsMDIMaxChild())
            return;
        const HDC dc = GetWindowDC(FForm->Handle());
        TCanvas canvas;
        canvas.SetHandle(dc);
        object->Draw(&canvas, true);
        canvas.SetHandle(nullptr);
        ReleaseDC(FForm->Handle(), dc);
        return;
    }
    object->Draw(FForm->Canvas(), true);
}
