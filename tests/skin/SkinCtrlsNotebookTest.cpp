// The page service of notebooks: every page gets its window without being realigned.
#include "skin/core/SkinCtrlsLayout.h"
#include "tests/framework/ControlsTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A page that counts how often it lays out its children.
class TCountingPage : public TCustomControl {
    using inherited = TCustomControl;

public:
    using inherited::inherited;
    int Alignments = 0;

protected:
    void AlignControls(TControl* control, TRect& rect) override
    {
        ++Alignments;
        inherited::AlignControls(control, rect);
    }
};

// A notebook whose page list is `Pages`, in list order (which need not be the child order).
class TPagedNotebook : public TCustomControl, public TspNotebookPages {
    using inherited = TCustomControl;

public:
    using inherited::inherited;
    std::vector<TWinControl*> Pages;

    int NotebookPageCount() const override { return static_cast<int>(Pages.size()); }
    TWinControl* NotebookPage(int index) const override { return Pages[size_t(index)]; }
};

class NotebookHandlesTest : public ControlsTest { };

} // namespace

TEST_F(NotebookHandlesTest, EveryPageGetsItsWindowWithoutRealigning)
{
    TForm* form = NewForm(0, 0, 300, 200);
    auto* notebook = new TPagedNotebook(form);
    notebook->SetParent(form);
    notebook->SetBounds(0, 0, 300, 200);
    std::vector<TCountingPage*> pages;
    for (int i = 0; i < 3; ++i) {
        auto* page = new TCountingPage(form);
        page->SetVisible(false);
        page->SetBounds(0, 0, 300, 200);
        page->SetParent(notebook);
        auto* child = new TCountingPage(form);
        child->SetAlign(alClient);
        child->SetParent(page);
        page->SetControlState(page->ControlState() + TControlState { csAlignmentNeeded });
        page->Alignments = 0;
        notebook->Pages.insert(notebook->Pages.begin(), page);
        pages.push_back(page);
    }

    SkinCtrls::NotebookHandlesNeeded(notebook);
    for (TCountingPage* page : pages) {
        EXPECT_TRUE(page->HandleAllocated());
        EXPECT_EQ(page->Alignments, 0);
        EXPECT_FALSE(page->ControlState().Contains(csAlignmentNeeded));
        EXPECT_FALSE(page->AlignDisabled());
    }
}

TEST_F(NotebookHandlesTest, AnythingButANotebookIsLeftAlone)
{
    TForm* form = NewForm(0, 0, 100, 100);
    auto* plain = new TCountingPage(form);
    plain->SetVisible(false);
    plain->SetParent(form);
    SkinCtrls::NotebookHandlesNeeded(plain);
    SkinCtrls::NotebookHandlesNeeded(nullptr);
    EXPECT_FALSE(plain->HandleAllocated());
}
