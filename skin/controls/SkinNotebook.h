// TspSkinNotebook, a skinned panel holding a stack of named pages (TspSkinPage) of which one is shown; its page
// list Pages (TspPageAccess) is a string list whose entries are the pages themselves. In ButtonsMode one page
// button per page (TspPageButton) stands above or below the current page and opens its page.
#pragma once
#include "framework/core/TStrings.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/core/SkinCtrlsLayout.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TspSkinNotebook;

class TspSkinPage : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinPage(TComponent* owner);

    // An index into the notebook's Images, -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }

    void WndProc(TMessage& message) override;

private:
    int FImageIndex = -1;
};

// The Pages list: entry i is page i's caption, its object page i. Neither the list nor the notebook is owned.
class TspPageAccess final : public TStrings {
    using inherited = TStrings;

public:
    TspPageAccess(std::vector<TspSkinPage*>& pageList, TspSkinNotebook* notebook);

    // Creates a page, appends it and makes it current.
    int Add(std::string_view s) override;
    // Creates a page at `index` and makes it current.
    void Insert(int index, std::string_view s) override;
    // Frees the page and makes page 0 current.
    void Delete(int index) override;
    void Clear() override;
    // Exchanges the two pages (those between keep their places).
    void Move(int curIndex, int newIndex) override;

protected:
    std::string Get(int index) const override;
    int GetCount() const override;
    TObject* GetObject(int index) const override;
    void Put(int index, std::string_view s) override;
    void SetUpdateState(bool updating) override { (void)updating; }

private:
    void CheckIndex(int index) const;
    TspSkinPage* NewPage(std::string_view caption);

    std::vector<TspSkinPage*>& FPageList;
    TspSkinNotebook* FNotebook;
};

// The button of one page in ButtonsMode: a skinned speed button on the ButtonSkinDataName record.
class TspPageButton final : public TspSkinSpeedButton {
    using inherited = TspSkinSpeedButton;

public:
    TspPageButton(TComponent* owner, int pageIndex, TspSkinNotebook* notebook);

    int PageIndex() const { return FPageIndex; }
    // Opens the button's page, then clicks as a speed button does.
    void ButtonClick() override;

private:
    int FPageIndex;
    TspSkinNotebook* FNotebook;
};

class TspSkinNotebook : public TspSkinPanel, public TspNotebookPages {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinNotebook(TComponent* owner);
    ~TspSkinNotebook() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // The caption of page PageIndex; raises the list's index error while there is no current page.
    std::string ActivePage() const;
    // A name that is not among the pages (compared without case) changes nothing.
    void SetActivePage(std::string_view name);
    bool ButtonsMode() const { return FButtonsMode; }
    void SetButtonsMode(bool value);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(std::string_view value) { FButtonSkinDataName = value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int index);
    TStrings* Pages() const { return FAccess.get(); }
    // Clears the pages, adds one per string, rebuilds the buttons.
    void SetPages(TStrings* value);
    TNotifyEvent OnPageChanged;

    TspSkinPage* Page(int index) const { return FPageList[size_t(index)]; }
    int PageCount() const { return static_cast<int>(FPageList.size()); }
    const std::vector<TspPageButton*>& PageButtons() const { return FButtons; }
    // Every button of page `index` gets the caption, the notebook's Images and the page's image index.
    void UpdateButton(int index, std::string_view caption);
    void UpdateButtons();
    void ClearButtons();
    // A page to show becomes the current one; other controls are shown as usual.
    void ShowControl(TControl* control);

    // The page service of the skin core.
    int NotebookPageCount() const override { return PageCount(); }
    TWinControl* NotebookPage(int index) const override { return Page(index); }

    void Loaded() override;

protected:
    friend class TspPageAccess;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    // The index of the current page moves with list edits before a page is switched to, so that the page
    // shown stays known.
    void SetCurrentIndex(int index) { FPageIndex = index; }
    void PagesChanged();

private:
    void ShowPage(TspSkinPage* page);
    void ArrangeButtons();

    bool FButtonsMode = false;
    std::string FButtonSkinDataName = "toolbutton";
    TCustomImageList* FImages = nullptr;
    int FPageIndex = -1;
    std::vector<TspSkinPage*> FPageList;
    std::unique_ptr<TspPageAccess> FAccess;
    std::vector<TspPageButton*> FButtons;
    bool FDestroying = false;
};
