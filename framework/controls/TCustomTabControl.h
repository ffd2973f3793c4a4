// The tab controls over the platform's "SysTabControl32" window: TTabControl with a list of tab texts, and
// TPageControl whose tabs are its TTabSheet pages, one shown at a time in the display area. A change of tab by
// the user asks CanChange (OnChanging) first and may be refused; Change (OnChange) follows.
#pragma once
#include "framework/controls/TWinControl.h"

#include <memory>
#include <vector>

class TCustomImageList;
class TImageListAdapter;
class TStrings;
class TPageControl;

// Sent to a tab control when its tab texts changed.
constexpr UINT CM_TABSCHANGED = CM_BASE + 100;

enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    int TabIndex() const;
    void SetTabIndex(int value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // Left and right stand the tabs in a column beside the display area.
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // The area inside the tabs and the border, in client coordinates.
    TRect DisplayRect() const;
    TRect TabRect(int index) const;
    int IndexOfTabAt(int x, int y) const;
    int RowCount() const;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void WndProc(TMessage& message) override;
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void AdjustClientRect(TRect& rect) override;
    virtual bool CanChange();
    virtual void Change();
    // The tab texts, in order; the window is filled from them.
    virtual std::vector<std::string> TabTexts() const = 0;
    virtual int TabImage(int index) const;
    void SyncTabs();

    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetImageList(TCustomImageList* value);
    void CNNotify(TMessage& message);

    bool FMultiLine = false;
    TTabPosition FTabPosition = tpTop;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TImageListAdapter> FImagesAdapter;
    int FSavedTabIndex = -1;
};

class TTabControl : public TCustomTabControl {
    using inherited = TCustomTabControl;

public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;
    TStrings* Tabs() const { return FTabs.get(); }

protected:
    std::vector<std::string> TabTexts() const override;

private:
    std::unique_ptr<TStrings> FTabs;
};

class TTabSheet : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    int PageIndex() const;
    void SetPageIndex(int value);
    // The sheet's place among the shown tabs, -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    using inherited = TCustomTabControl;

public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The next page with a visible tab after (or before) `current`, wrapping.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
    void SelectNextPage(bool goForward);

protected:
    void Change() override;
    std::vector<std::string> TabTexts() const override;
    int TabImage(int index) const override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PagesChanged();
    TTabSheet* PageOfTab(int tabIndex) const;
    void ShowActivePage();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};
