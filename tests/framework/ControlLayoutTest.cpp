#include "ControlsTestSupport.h"

namespace {

class ControlLayout : public ControlsTest {
protected:
    TBox* Child(TWinControl* parent, TAlign align, const TRect& bounds, const char* name = "")
    {
        auto* box = new TBox(parent);
        box->SetName(name);
        box->SetBoundsRect(bounds);
        box->SetAlign(align);
        box->SetParent(parent);
        return box;
    }
};

} // namespace

// The parent's client area is 0,0 .. 200,100 throughout.
TEST_F(ControlLayout, AlignmentFillsTheSidesInOrderThenTheClientArea)
{
    struct Item {
        TAlign Align;
        TRect Start;
        TRect Expected;
    };
    struct Case {
        const char* Name;
        std::vector<Item> Items;
    };
    const Case kCases[] = {
        { "top takes its height at the top", { { alTop, Bounds(5, 50, 10, 20), Bounds(0, 0, 200, 20) } } },
        { "bottom at the bottom", { { alBottom, Bounds(5, 5, 10, 30), Bounds(0, 70, 200, 30) } } },
        { "left and right keep their widths",
            { { alLeft, Bounds(50, 5, 30, 10), Bounds(0, 0, 30, 100) },
                { alRight, Bounds(0, 5, 40, 10), Bounds(160, 0, 40, 100) } } },
        { "client takes what is left",
            { { alTop, Bounds(0, 0, 10, 10), Bounds(0, 0, 200, 10) },
                { alBottom, Bounds(0, 0, 10, 15), Bounds(0, 85, 200, 15) },
                { alLeft, Bounds(0, 0, 20, 10), Bounds(0, 10, 20, 75) },
                { alRight, Bounds(0, 0, 25, 10), Bounds(175, 10, 25, 75) },
                { alClient, Bounds(7, 7, 1, 1), Bounds(20, 10, 155, 75) } } },
        { "two tops stack by their positions",
            { { alTop, Bounds(0, 60, 10, 10), Bounds(0, 20, 200, 10) },
                { alTop, Bounds(0, 10, 10, 20), Bounds(0, 0, 200, 20) } } },
        { "two rights stack from the right edge by their right edges",
            { { alRight, Bounds(100, 0, 10, 10), Bounds(170, 0, 10, 100) },
                { alRight, Bounds(150, 0, 20, 10), Bounds(180, 0, 20, 100) } } },
        { "sides larger than the area leave the client nothing",
            { { alTop, Bounds(0, 0, 10, 80), Bounds(0, 0, 200, 80) },
                { alBottom, Bounds(0, 0, 10, 50), Bounds(0, 50, 200, 50) },
                { alClient, Bounds(0, 0, 10, 10), Bounds(0, 80, 200, 0) } } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TForm* form = NewForm(0, 0, 200, 100);
        // As a form being built: the positions the controls were given decide their order.
        form->DisableAlign();
        std::vector<TBox*> boxes;
        for (const Item& item : c.Items)
            boxes.push_back(Child(form, item.Align, item.Start));
        form->EnableAlign();
        for (size_t i = 0; i < boxes.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(boxes[i]->BoundsRect(), c.Items[i].Expected);
        }
        delete form;
    }
}

TEST_F(ControlLayout, AlignedAndAnchoredChildrenFollowTheirParentsSize)
{
    TForm* form = NewForm(0, 0, 200, 100);
    TBox* top = Child(form, alTop, Bounds(0, 0, 10, 20));
    TBox* client = Child(form, alClient, Bounds(0, 0, 10, 10));
    TBox* fixed = Child(form, alNone, Bounds(150, 50, 30, 10));
    fixed->SetAnchors(TAnchors { akRight, akBottom });
    TBox* stretched = Child(form, alNone, Bounds(10, 60, 100, 10));
    stretched->SetAnchors(TAnchors { akLeft, akRight, akTop });
    form->Show();
    Pump();
    form->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 300, 20));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 20, 300, 130));
    EXPECT_EQ(fixed->BoundsRect(), Bounds(250, 100, 30, 10));
    EXPECT_EQ(stretched->BoundsRect(), Bounds(10, 60, 200, 10));
    // Hiding an aligned control gives its room to the others.
    top->Hide();
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 0, 300, 150));
}

TEST_F(ControlLayout, ReparentingAPanelTakesItsChildrenWindowsAndStateAlong)
{
    TForm* first = NewForm(0, 0, 300, 200);
    TForm* second = NewForm(400, 0, 300, 200);
    TBox* panel = Child(first, alNone, Bounds(10, 10, 150, 100), "Panel");
    TBox* inner = Child(panel, alClient, Bounds(0, 0, 10, 10), "Inner");
    auto* spot = new TSpot(first);
    spot->SetBounds(5, 5, 10, 10);
    spot->SetParent(inner);
    inner->SetCaption("kept");
    first->Show();
    second->Show();
    Pump();
    const HWND panelHandle = panel->Handle();
    const HWND innerHandle = inner->Handle();
    // A hook on the panel's window by handle survives the move, since the window does.
    int hooked = 0;
    static int* counter = nullptr;
    static WNDPROC previous = nullptr;
    counter = &hooked;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
        panelHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_USER)
                ++*counter;
            return CallWindowProc(previous, h, m, w, l);
        })));
    panel->SetParent(second);
    EXPECT_EQ(panel->Parent(), second);
    EXPECT_EQ(inner->Parent(), panel);
    EXPECT_EQ(spot->Parent(), inner);
    EXPECT_EQ(panel->Handle(), panelHandle);
    EXPECT_EQ(inner->Handle(), innerHandle);
    EXPECT_EQ(GetParent(panelHandle), second->Handle());
    EXPECT_EQ(GetAncestor(innerHandle, GA_ROOT), second->Handle());
    EXPECT_EQ(inner->Caption(), "kept");
    EXPECT_EQ(inner->BoundsRect(), Bounds(0, 0, 150, 100));
    SendMessage(panelHandle, WM_USER, 0, 0);
    EXPECT_EQ(hooked, 1);
    // The panel is shown where its bounds say in the new form: its windowless child takes clicks there.
    int clicks = 0;
    spot->OnClick = [&](TObject*) { ++clicks; };
    Click(400 + 10 + 5 + 1, 10 + 5 + 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(first->ControlCount(), 0);
    EXPECT_EQ(second->ControlCount(), 1);
    SetWindowLongPtr(panelHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

TEST_F(ControlLayout, RecreateWndKeepsChildrenStateAndTheReplacedWindowProc)
{
    TForm* form = NewForm(0, 0, 300, 200);
    TBox* panel = Child(form, alNone, Bounds(10, 10, 150, 100), "Panel");
    TBox* inner = Child(panel, alNone, Bounds(20, 20, 40, 30), "Inner");
    inner->SetEnabled(false);
    form->Show();
    Pump();
    std::vector<UINT> seen;
    const auto saved = panel->WindowProc;
    panel->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE || m.Msg == WM_DESTROY)
            seen.push_back(m.Msg);
        saved(m);
    };
    const HWND oldPanel = panel->Handle();
    const HWND oldInner = inner->Handle();
    panel->RecreateWnd();
    EXPECT_FALSE(IsWindow(oldPanel));
    EXPECT_FALSE(IsWindow(oldInner));
    ASSERT_TRUE(panel->HandleAllocated());
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_NE(panel->Handle(), oldPanel);
    EXPECT_EQ(GetParent(inner->Handle()), panel->Handle());
    EXPECT_TRUE(IsWindowVisible(inner->Handle()));
    EXPECT_FALSE(IsWindowEnabled(inner->Handle()));
    RECT r;
    GetWindowRect(inner->Handle(), &r);
    EXPECT_EQ(FromRECT(r), Bounds(30, 30, 40, 30)); // the form has no frame
    EXPECT_EQ(seen, (std::vector<UINT> { WM_DESTROY, WM_NCCREATE, WM_CREATE }));
    panel->WindowProc = saved; // unhooks, as the hook's locals go now
}

TEST_F(ControlLayout, AControlCannotBecomeItsOwnAncestor)
{
    TForm* form = NewForm(0, 0, 300, 200);
    TBox* outer = Child(form, alNone, Bounds(0, 0, 100, 100));
    TBox* inner = Child(outer, alNone, Bounds(0, 0, 50, 50));
    EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
    EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
    EXPECT_EQ(outer->Parent(), form);
}

TEST_F(ControlLayout, DeletingAParentDeletesItsChildren)
{
    TForm* form = NewForm(0, 0, 300, 200);
    TBox* outer = Child(form, alNone, Bounds(0, 0, 100, 100));
    auto* inner = new TBox(nullptr); // no owner: only its parent deletes it
    inner->SetParent(outer);
    bool watchGone = false;
    struct TWatch : TSpot {
        bool* Flag;
        TWatch(bool* flag)
            : TSpot(nullptr)
            , Flag(flag)
        {
        }
        ~TWatch() override { *Flag = true; }
    };
    auto* watch = new TWatch(&watchGone);
    watch->SetParent(inner);
    delete outer;
    EXPECT_TRUE(watchGone);
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ControlLayout, DeletingTheFocusedControlLeavesTheFormsFocusAndTabOrderSound)
{
    TForm* form = NewForm(0, 0, 300, 200);
    TBox* first = Child(form, alNone, Bounds(0, 0, 50, 50), "First");
    TBox* second = Child(form, alNone, Bounds(60, 0, 50, 50), "Second");
    form->Show();
    second->SetFocus();
    Pump();
    ASSERT_EQ(Screen->ActiveControl(), second);
    delete second;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(Screen->ActiveControl(), form); // the form itself holds the focus now
    EXPECT_EQ(GetFocus(), form->Handle());
    Backend.Key(VK_TAB);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), first);
}

TEST_F(ControlLayout, AChildWithoutAParentWindowCannotMakeItsWindow)
{
    TBox orphan(nullptr);
    orphan.SetName("Orphan");
    try {
        orphan.Handle();
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Control 'Orphan' has no parent window");
    }
    EXPECT_FALSE(orphan.HandleAllocated());
}
