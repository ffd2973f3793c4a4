#include "skin/controls/SkinNotebook.h"

#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinCtrlsLayout.h"

using namespace SPUtils;

// ---- TspSkinPage -------------------------------------------------------------------------------------------------

TspSkinPage::TspSkinPage(TComponent* owner)
    : inherited(owner)
{
    SetVisible(false);
    TControlStyle style = ControlStyle();
    style.Include(csNoDesignVisible);
    SetControlStyle(style);
    SetAlign(alClient);
    SetBorderStyle(TspSkinBorderStyle::bvNone);
}

void TspSkinPage::WndProc(TMessage& message)
{
    // At run time the mouse over an empty part of a page goes to the notebook.
    if (message.Msg == WM_NCHITTEST && !Designing()) {
        message.Result = HTTRANSPARENT;
        return;
    }
    inherited::WndProc(message);
}

// ---- TspPageAccess -----------------------------------------------------------------------------------------------

TspPageAccess::TspPageAccess(std::vector<TspSkinPage*>& pageList, TspSkinNotebook* notebook)
    : FPageList(pageList)
    , FNotebook(notebook)
{
}

void TspPageAccess::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error("List index out of bounds (%d)", index);
}

int TspPageAccess::GetCount() const
{
    return static_cast<int>(FPageList.size());
}

std::string TspPageAccess::Get(int index) const
{
    CheckIndex(index);
    return FPageList[size_t(index)]->Caption();
}

TObject* TspPageAccess::GetObject(int index) const
{
    CheckIndex(index);
    return FPageList[size_t(index)];
}

void TspPageAccess::Put(int index, std::string_view s)
{
    CheckIndex(index);
    FPageList[size_t(index)]->SetCaption(s);
    if (FNotebook->ButtonsMode())
        FNotebook->UpdateButton(index, s);
}

TspSkinPage* TspPageAccess::NewPage(std::string_view caption)
{
    auto* page = new TspSkinPage(FNotebook);
    page->SetParent(FNotebook);
    page->SetCaption(caption);
    return page;
}

int TspPageAccess::Add(std::string_view s)
{
    const int index = GetCount();
    Insert(index, s);
    return index;
}

void TspPageAccess::Insert(int index, std::string_view s)
{
    if (index < 0 || index > GetCount())
        Error("List index out of bounds (%d)", index);
    TspSkinPage* page = NewPage(s);
    FPageList.insert(FPageList.begin() + index, page);
    // The current page moves up with the insertion, so that switching hides the page actually shown.
    const int current = FNotebook->PageIndex();
    if (current >= index)
        FNotebook->SetCurrentIndex(current + 1);
    FNotebook->SetPageIndex(index);
    FNotebook->PagesChanged();
}

void TspPageAccess::Delete(int index)
{
    CheckIndex(index);
    TspSkinPage* page = FPageList[size_t(index)];
    FPageList.erase(FPageList.begin() + index);
    // Known before the switch: without the page (-1) when it was current, one less when it stood before it.
    const int current = FNotebook->PageIndex();
    if (current == index)
        FNotebook->SetCurrentIndex(-1);
    else if (current > index)
        FNotebook->SetCurrentIndex(current - 1);
    delete page;
    FNotebook->SetPageIndex(0);
    FNotebook->PagesChanged();
}

void TspPageAccess::Clear()
{
    std::vector<TspSkinPage*> pages;
    pages.swap(FPageList);
    FNotebook->SetCurrentIndex(-1);
    for (TspSkinPage* page : pages)
        delete page;
    FNotebook->PagesChanged();
}

void TspPageAccess::Move(int curIndex, int newIndex)
{
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    std::swap(FPageList[size_t(curIndex)], FPageList[size_t(newIndex)]);
    // The page shown stays the current one at its new place.
    const int current = FNotebook->PageIndex();
    if (current == curIndex)
        FNotebook->SetCurrentIndex(newIndex);
    else if (current == newIndex)
        FNotebook->SetCurrentIndex(curIndex);
    FNotebook->PagesChanged();
}

// ---- TspPageButton -----------------------------------------------------------------------------------------------

TspPageButton::TspPageButton(TComponent* owner, int pageIndex, TspSkinNotebook* notebook)
    : inherited(owner)
    , FPageIndex(pageIndex)
    , FNotebook(notebook)
{
    SetNumGlyphs(1);
    SetSpacing(5);
    SetSkinDataName(notebook->ButtonSkinDataName());
}

void TspPageButton::ButtonClick()
{
    FNotebook->SetPageIndex(FPageIndex);
    inherited::ButtonClick();
}

// ---- TspSkinNotebook ---------------------------------------------------------------------------------------------

TspSkinNotebook::TspSkinNotebook(TComponent* owner)
    : inherited(owner)
{
    // Controls go onto the pages, not onto the notebook.
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    style.Exclude(csCaptureMouse);
    style.Exclude(csClickEvents);
    SetControlStyle(style);
    SetBorderStyle(TspSkinBorderStyle::bvFrame);
    SetBounds(Left(), Top(), 150, 150);
    FAccess = std::make_unique<TspPageAccess>(FPageList, this);
    FAccess->Add("Default");
}

TspSkinNotebook::~TspSkinNotebook()
{
    FDestroying = true;
    ClearButtons();
    // The pages are components of the notebook and go with it.
    FPageList.clear();
}

std::string TspSkinNotebook::ActivePage() const
{
    return FAccess->Strings(FPageIndex);
}

void TspSkinNotebook::SetActivePage(std::string_view name)
{
    SetPageIndex(FAccess->IndexOf(name));
}

void TspSkinNotebook::SetPages(TStrings* value)
{
    FAccess->Assign(value);
    UpdateButtons();
}

void TspSkinNotebook::SetButtonsMode(bool value)
{
    FButtonsMode = value;
    if (value)
        UpdateButtons();
    else
        ClearButtons();
}

void TspSkinNotebook::SetImages(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    if (FButtonsMode)
        UpdateButtons();
}

void TspSkinNotebook::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove || FDestroying)
        return;
    if (component == FImages)
        SetImages(nullptr);
    std::erase(FButtons, component);
    // A page freed by its owner's other means leaves the list, and the current index follows it.
    for (size_t i = 0; i < FPageList.size(); ++i) {
        if (FPageList[i] != component)
            continue;
        FPageList.erase(FPageList.begin() + ptrdiff_t(i));
        if (FPageIndex == int(i))
            FPageIndex = -1;
        else if (FPageIndex > int(i))
            --FPageIndex;
        break;
    }
}

void TspSkinNotebook::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TspSkinNotebook::ShowPage(TspSkinPage* page)
{
    page->BringToFront();
    page->SetSkinData(SkinData());
    page->SetVisible(true);
    page->SetAlign(alClient);
}

void TspSkinNotebook::SetPageIndex(int index)
{
    if (ComponentState().Contains(csLoading)) {
        FPageIndex = index;
        return;
    }
    if (index == FPageIndex || index < 0 || index >= PageCount())
        return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() && ContainsControl(form->ActiveControl()) && CanFocus())
        form->SetActiveControl(this);
    ShowPage(FPageList[size_t(index)]);
    if (FPageIndex >= 0 && FPageIndex < PageCount())
        FPageList[size_t(FPageIndex)]->SetVisible(false);
    FPageIndex = index;
    if (form && form->ActiveControl() == this)
        FPageList[size_t(index)]->SelectFirst();
    if (FButtonsMode)
        ArrangeButtons();
    if (OnPageChanged)
        OnPageChanged(this);
}

void TspSkinNotebook::ArrangeButtons()
{
    // Pages 0 .. PageIndex above the current page in page order, the others below it.
    for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it)
        if ((*it)->PageIndex() > FPageIndex && (*it)->Align() != alBottom)
            (*it)->SetAlign(alBottom);
    for (TspPageButton* button : FButtons)
        if (button->PageIndex() <= FPageIndex && button->Align() != alTop)
            button->SetAlign(alTop);
}

void TspSkinNotebook::PagesChanged()
{
    if (FButtonsMode)
        UpdateButtons();
}

void TspSkinNotebook::ClearButtons()
{
    std::vector<TspPageButton*> buttons;
    buttons.swap(FButtons);
    for (TspPageButton* button : buttons)
        delete button;
}

void TspSkinNotebook::UpdateButtons()
{
    ClearButtons();
    for (int i = 0; i < PageCount(); ++i) {
        auto* button = new TspPageButton(this, i, this);
        FButtons.push_back(button);
        button->SetTop(Height());
        button->SetAlign(i > FPageIndex ? alBottom : alTop);
        button->SetParent(this);
        button->SetDefaultHeight(25);
        button->SetSkinData(SkinData());
        button->SetCaption(FAccess->Strings(i));
        const int image = Page(i)->ImageIndex();
        if (image != -1 && FImages && image < FImages->Count()) {
            button->SetImageList(FImages);
            button->SetImageIndex(image);
        } else {
            button->SetImageList(nullptr);
            button->SetImageIndex(-1);
        }
    }
}

void TspSkinNotebook::UpdateButton(int index, std::string_view caption)
{
    for (TspPageButton* button : FButtons) {
        if (button->PageIndex() != index)
            continue;
        button->SetCaption(caption);
        button->SetImageList(FImages);
        button->SetImageIndex(Page(index)->ImageIndex());
        button->Repaint();
    }
}

void TspSkinNotebook::ShowControl(TControl* control)
{
    for (int i = 0; i < PageCount(); ++i) {
        if (FPageList[size_t(i)] == control) {
            SetPageIndex(i);
            return;
        }
    }
    control->SetVisible(true);
}

void TspSkinNotebook::Loaded()
{
    inherited::Loaded();
    // The index read may name no page.
    if (FPageIndex >= 0 && FPageIndex < PageCount())
        ShowPage(FPageList[size_t(FPageIndex)]);
    else
        FPageIndex = -1;
    if (FButtonsMode)
        UpdateButtons();
    SkinCtrls::NotebookHandlesNeeded(this);
}
