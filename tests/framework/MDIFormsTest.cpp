#include "ControlsTestSupport.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Menus.h"

#include <string>
#include <vector>

namespace {

// The application's main form as an MDI form at the screen's top-left, and its child forms.
class MDIForms : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Application->CreateForm(Main);
        Main->SetFormStyle(fsMDIForm);
        Main->SetBounds(0, 0, 640, 480);
        Main->Show();
        Pump();
    }

    TForm* NewChild(const char* caption, int left = 10, int top = 10)
    {
        auto* child = TCustomForm::Create<TForm>(Application);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(caption);
        child->SetBounds(left, top, 200, 150);
        child->Show();
        return child;
    }

    RECT ClientArea()
    {
        RECT r {};
        GetClientRect(Main->ClientHandle(), &r);
        return r;
    }

    std::vector<TForm*> Children()
    {
        std::vector<TForm*> children;
        for (int i = 0; i < Main->MDIChildCount(); ++i)
            children.push_back(Main->MDIChildren(i));
        return children;
    }

    TForm* Main = nullptr;
};

TEST_F(MDIForms, ChildFormsLiveInTheClientAndTheActiveOneHasTheFocus)
{
    TForm* a = NewChild("a");
    TForm* b = NewChild("b");
    TForm* c = NewChild("c");
    ASSERT_NE(Main->ClientHandle(), nullptr);
    EXPECT_EQ(GetParent(c->Handle()), Main->ClientHandle());
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(Main->MDIChildCount(), 3);
    EXPECT_EQ(Main->ActiveMDIChild(), c);
    EXPECT_TRUE(c->Active());
    EXPECT_EQ(GetFocus(), c->Handle());

    // Next goes down the stacking order, Previous takes the child at its bottom; Show activates a child.
    Main->Next();
    EXPECT_EQ(Main->ActiveMDIChild(), b);
    EXPECT_FALSE(c->Active());
    EXPECT_TRUE(b->Active());
    Main->Previous();
    EXPECT_EQ(Main->ActiveMDIChild(), c);
    a->Show();
    EXPECT_EQ(Main->ActiveMDIChild(), a);
    EXPECT_EQ(GetFocus(), a->Handle());

    // A deleted child leaves the client and the next one becomes active.
    delete a;
    EXPECT_EQ(Main->MDIChildCount(), 2);
    EXPECT_NE(Main->ActiveMDIChild(), nullptr);
    // A form that is not an MDI form has no children and ignores the arranging calls.
    TForm* plain = NewForm(700, 0, 100, 100);
    EXPECT_EQ(plain->MDIChildCount(), 0);
    EXPECT_EQ(plain->ActiveMDIChild(), nullptr);
    plain->Tile();
}

TEST_F(MDIForms, TileAndCascadeMoveTheChildForms)
{
    TForm* a = NewChild("a");
    TForm* b = NewChild("b");
    const RECT area = ClientArea();
    // Horizontal tiling stacks the two children, the active one on top.
    Main->Tile();
    EXPECT_EQ(b->BoundsRect(), (TRect { 0, 0, area.right, area.bottom / 2 }));
    EXPECT_EQ(a->BoundsRect(), (TRect { 0, area.bottom / 2, area.right, 2 * (area.bottom / 2) }));
    Main->SetTileMode(tbVertical);
    Main->Tile();
    EXPECT_EQ(b->BoundsRect(), (TRect { 0, 0, area.right / 2, area.bottom }));
    EXPECT_EQ(a->BoundsRect(), (TRect { area.right / 2, 0, 2 * (area.right / 2), area.bottom }));
    // Cascade: the active child one caption step in front of the other.
    Main->Cascade();
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(b->Left(), 22);
    EXPECT_EQ(b->Top(), 22);
    EXPECT_EQ(a->Width(), b->Width());
}

TEST_F(MDIForms, OneChildIsMaximizedAndTheStatePassesToTheActiveChild)
{
    TForm* a = NewChild("a");
    TForm* b = NewChild("b");
    b->SetWindowState(wsMaximized);
    EXPECT_EQ(b->ClientWidth(), ClientArea().right);
    EXPECT_EQ(b->ClientHeight(), ClientArea().bottom);
    a->Show();
    EXPECT_EQ(a->WindowState(), wsMaximized);
    EXPECT_EQ(b->WindowState(), wsNormal);
    EXPECT_EQ(b->BoundsRect(), (TRect { 10, 10, 210, 160 }));
    TForm* c = NewChild("c");
    EXPECT_EQ(c->WindowState(), wsMaximized);
    EXPECT_EQ(a->WindowState(), wsNormal);
    c->SetWindowState(wsNormal);
    Main->Next();
    EXPECT_EQ(Main->ActiveMDIChild()->WindowState(), wsNormal);

    // Closing a child minimizes it (the default for MDI children) and activates the next one.
    TForm* active = Main->ActiveMDIChild();
    active->Close();
    EXPECT_EQ(active->WindowState(), wsMinimized);
    EXPECT_NE(Main->ActiveMDIChild(), active);
}

TEST_F(MDIForms, AChildNeedsAnMDIMainForm)
{
    Main->SetFormStyle(fsNormal);
    EXPECT_EQ(Main->ClientHandle(), nullptr);
    auto* child = TCustomForm::Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    try {
        child->HandleNeeded();
        ADD_FAILURE() << "a child window was made without an MDI form";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message(), "Cannot create form. No MDI forms are currently active");
    }
    EXPECT_FALSE(child->HandleAllocated());
}

} // namespace
