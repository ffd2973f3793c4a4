#include "skin/controls/SkinGroups.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TApplication.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/WindowProps.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

constexpr int kMaxColumns = 16;
constexpr WPARAM kClicked = 0;       // BN_CLICKED
constexpr WPARAM kDoubleClicked = 5; // BN_DOUBLECLICKED

} // namespace

// ---- The shared group ----------------------------------------------------------------------------------------------

TspSkinButtonGroup::TspSkinButtonGroup(TComponent* owner, std::string_view buttonSkinDataName)
    : inherited(owner)
    , FItems(std::make_unique<TStringList>())
    , FButtonSkinDataName(buttonSkinDataName)
    , FButtonDefaultFont(std::make_unique<TFont>())
{
    SetControlStyle(TControlStyle { csSetCaption, csDoubleClicks });
    FButtonDefaultFont->SetName("Arial");
    FButtonDefaultFont->SetStyle({});
    FButtonDefaultFont->SetHeight(14);
    FItems->OnChange = [this](TObject*) { ItemsChange(); };
}

TspSkinButtonGroup::~TspSkinButtonGroup()
{
    FItems->OnChange = nullptr;
    SetButtonCount(0);
}

TStrings* TspSkinButtonGroup::Items() const
{
    return FItems.get();
}

void TspSkinButtonGroup::SetItems(TStrings* value)
{
    FItems->Assign(value);
}

void TspSkinButtonGroup::SetColumns(int value)
{
    value = std::clamp(value, 1, kMaxColumns);
    if (value == FColumns)
        return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TspSkinButtonGroup::SetImages(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    for (TspSkinCheckRadioBox* button : FButtons)
        button->SetImages(value);
}

void TspSkinButtonGroup::SetButtonSkinDataName(std::string_view value)
{
    FButtonSkinDataName = value;
    for (TspSkinCheckRadioBox* button : FButtons)
        button->SetSkinDataName(value);
}

void TspSkinButtonGroup::SetButtonDefaultFont(TFont* value)
{
    FButtonDefaultFont->Assign(value);
    UpdateButtonsFont();
}

void TspSkinButtonGroup::UpdateButtonsFont()
{
    for (TspSkinCheckRadioBox* button : FButtons) {
        button->SetDefaultFont(FButtonDefaultFont.get());
        button->SetUseSkinFont(UseSkinFont());
        button->Invalidate();
    }
}

void TspSkinButtonGroup::SetReading(bool value)
{
    FReading = value;
    if (!value) {
        UpdateButtons();
        ArrangeButtons();
    }
}

void TspSkinButtonGroup::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FImages))
        SetImages(nullptr);
}

void TspSkinButtonGroup::Loaded()
{
    inherited::Loaded();
    ArrangeButtons();
}

void TspSkinButtonGroup::SetSkinData(TspSkinData* value)
{
    inherited::SetSkinData(value);
    for (TspSkinCheckRadioBox* button : FButtons)
        button->SetSkinData(value);
}

void TspSkinButtonGroup::ChangeSkinData()
{
    inherited::ChangeSkinData();
    ArrangeButtons();
}

void TspSkinButtonGroup::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
        ArrangeButtons();
        break;
    case CM_ENABLEDCHANGED:
        for (TspSkinCheckRadioBox* button : FButtons)
            button->SetEnabled(Enabled());
        break;
    default:
        break;
    }
}

void TspSkinButtonGroup::ItemsChange()
{
    if (!FReading)
        UpdateButtons();
}

void TspSkinButtonGroup::UpdateButtons()
{
    SetButtonCount(FItems->Count());
    for (int i = 0; i < ButtonCount(); ++i)
        FButtons[size_t(i)]->SetCaption(FItems->Strings(i));
    CheckSelected();
    ArrangeButtons();
    Invalidate();
}

void TspSkinButtonGroup::ButtonClick(TObject* sender)
{
    const auto at = std::find(FButtons.begin(), FButtons.end(), sender);
    FItemIndex = at == FButtons.end() ? -1 : static_cast<int>(at - FButtons.begin());
    Click();
}

void TspSkinButtonGroup::SetButtonCount(int count)
{
    while (ButtonCount() < count)
        NewButton();
    while (ButtonCount() > count)
        delete FButtons.back();
    for (int i = 0; i < ButtonCount(); ++i) {
        TspSkinCheckRadioBox* button = FButtons[size_t(i)];
        button->SetImageIndex(i);
        button->SetSkinData(SkinData());
        button->SetSkinDataName(FButtonSkinDataName);
        button->SetDefaultFont(FButtonDefaultFont.get());
        button->SetUseSkinFont(UseSkinFont());
    }
}

void TspSkinButtonGroup::ArrangeButtons()
{
    if (FButtons.empty() || FReading)
        return;
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    const int count = ButtonCount();
    const int perColumn = (count + FColumns - 1) / FColumns;
    // A group too small for its columns gives empty buttons, never negative ones.
    const int buttonWidth = std::max(0, (r.Right - r.Left) / FColumns - 2);
    const int buttonHeight = std::max(0, (r.Bottom - r.Top) / perColumn);
    HDWP batch = HandleAllocated() ? BeginDeferWindowPos(count) : nullptr;
    for (int i = 0; i < count; ++i) {
        TspSkinCheckRadioBox* button = FButtons[size_t(i)];
        button->SetBiDiMode(BiDiMode());
        // Right to left, the first column stands at the right edge: the place mirrored inside the client area.
        int x = (i / perColumn) * buttonWidth + r.Left + 1;
        if (button->BiDiMode() == bdRightToLeft)
            x = r.Left + r.Right - x - buttonWidth;
        const int y = (i % perColumn) * buttonHeight + r.Top;
        if (batch && button->HandleAllocated())
            batch = DeferWindowPos(batch, button->Handle(), nullptr, x, y, buttonWidth, buttonHeight,
                SWP_NOZORDER | SWP_NOACTIVATE);
        else
            button->SetBounds(x, y, buttonWidth, buttonHeight);
        button->SetVisible(true);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

void TspSkinButtonGroup::AddButton(TspSkinCheckRadioBox* button)
{
    FButtons.push_back(button);
}

void TspSkinButtonGroup::RemoveButton(TspSkinCheckRadioBox* button)
{
    FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), button), FButtons.end());
}

void TspSkinButtonGroup::GroupKeyPress(char32_t& key)
{
    KeyPress(key);
}

void TspSkinButtonGroup::GroupKeyDown(uint16_t& key, TShiftState shift)
{
    KeyDown(key, shift);
}

// ---- The radio group -----------------------------------------------------------------------------------------------

TspSkinCustomRadioGroup::TspSkinCustomRadioGroup(TComponent* owner)
    : inherited(owner, "radiobox")
{
}

TspSkinCheckRadioBox* TspSkinCustomRadioGroup::NewButton()
{
    return new TspGroupButton(this);
}

void TspSkinCustomRadioGroup::ItemsChange()
{
    if (FReading)
        return;
    if (FItemIndex >= Items()->Count())
        FItemIndex = Items()->Count() - 1;
    UpdateButtons();
}

void TspSkinCustomRadioGroup::CheckSelected()
{
    if (FItemIndex >= 0 && FItemIndex < ButtonCount()) {
        FUpdating = true;
        Buttons(FItemIndex)->SetChecked(true);
        FUpdating = false;
    }
}

void TspSkinCustomRadioGroup::SetItemIndex(int value)
{
    if (FReading) {
        FItemIndex = value;
        return;
    }
    value = std::clamp(value, -1, ButtonCount() - 1);
    if (value == FItemIndex)
        return;
    if (FItemIndex >= 0)
        Buttons(FItemIndex)->SetChecked(false);
    FItemIndex = value;
    if (FItemIndex >= 0)
        Buttons(FItemIndex)->SetChecked(true);
}

void TspSkinCustomRadioGroup::ButtonClick(TObject* sender)
{
    if (!FUpdating)
        inherited::ButtonClick(sender);
}

// ---- The check group -----------------------------------------------------------------------------------------------

TspSkinCustomCheckGroup::TspSkinCustomCheckGroup(TComponent* owner)
    : inherited(owner, "checkbox")
{
}

TspSkinCheckRadioBox* TspSkinCustomCheckGroup::NewButton()
{
    return new TspCheckGroupButton(this);
}

bool TspSkinCustomCheckGroup::GetCheckedStatus(int index) const
{
    return index >= 0 && index < ButtonCount() && Buttons(index)->Checked();
}

void TspSkinCustomCheckGroup::SetCheckedStatus(int index, bool value)
{
    if (index >= 0 && index < ButtonCount())
        Buttons(index)->SetChecked(value);
}

// ---- The item buttons ----------------------------------------------------------------------------------------------

TspGroupButton::TspGroupButton(TspSkinButtonGroup* group)
    : inherited(group)
    , FGroup(group)
{
    SetDefaultWidth(0);
    SetDefaultHeight(0);
    group->AddButton(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    OnClick = [group](TObject* sender) { group->ButtonClick(sender); };
    SetParent(group);
    SetRadio(true);
    SetCanFocused(true);
    SetSkinDataName("radiobox");
    SetGroupIndex(1);
}

TspGroupButton::~TspGroupButton()
{
    FGroup->RemoveButton(this);
}

void TspGroupButton::WndProc(TMessage& message)
{
    if (message.Msg == CN_COMMAND) {
        const WPARAM code = HIWORD(message.WParam);
        if (FInClick || ((code == kClicked || code == kDoubleClicked) && !FGroup->CanModify()))
            return;
        FInClick = true;
        try {
            inherited::WndProc(message);
        } catch (...) {
            // The button stays usable: the application reports what went wrong.
            FInClick = false;
            if (!Application)
                throw;
            Application->HandleException(this);
            return;
        }
        FInClick = false;
        return;
    }
    // Space toggles the box on its release: a group that cannot change drops it.
    if (message.Msg == WM_KEYUP && message.WParam == VK_SPACE && !FGroup->CanModify())
        return;
    inherited::WndProc(message);
}

void TspGroupButton::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    FGroup->GroupKeyPress(key);
    if ((key == 8 || key == U' ') && !FGroup->CanModify())
        key = 0;
}

void TspGroupButton::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    FGroup->GroupKeyDown(key, shift);
}

void TspGroupButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // A group that cannot change leaves the click out but still tells of the release.
    if (!FGroup->CanModify()) {
        TspSkinCustomControl::MouseUp(button, shift, x, y);
        return;
    }
    inherited::MouseUp(button, shift, x, y);
}

TspCheckGroupButton::TspCheckGroupButton(TspSkinButtonGroup* group)
    : TspGroupButton(group)
{
    SetRadio(false);
    SetSkinDataName("checkbox");
    SetGroupIndex(0);
    SetFlat(true);
}
