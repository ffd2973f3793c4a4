// Drag and drop between the controls of a shown form, driven by raw input through the headless backend and
// checked as logs of the drag events, with the cursor and the drag image along the way.
#include "ControlsTestSupport.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/TCustomListView.h"
#include "framework/controls/TCustomTreeView.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <memory>

namespace {

const char* StateName(TDragOverState state)
{
    switch (state) {
    case dsDragEnter:
        return "Enter";
    case dsDragLeave:
        return "Leave";
    case dsDragMove:
        return "Move";
    }
    return "?";
}

std::string NameOf(TObject* object)
{
    auto* component = dynamic_cast<TComponent*>(object);
    return component ? component->Name() : std::string("null");
}

// A panel that drags a drag image of its own.
class TImagePanel : public TPanel {
public:
    using TPanel::TPanel;
    TDragImageList* GetDragImages() override { return Images; }
    TDragImageList* Images = nullptr;
};

class DragDropTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Form->SetName("Form");
        Source = Panel<TImagePanel>("Source", 10, 10, 80, 40);
        Accepting = Panel<TPanel>("Accepting", 200, 10, 100, 100);
        Rejecting = Panel<TPanel>("Rejecting", 200, 150, 100, 100);
        Listen(Accepting, true);
        Listen(Rejecting, false);
        Source->OnStartDrag = [this](TObject* sender, TDragObject*&) { Log.push_back(NameOf(sender) + ":StartDrag"); };
        Source->OnEndDrag = [this](TObject* sender, TObject* target, int x, int y) {
            Log.push_back(NameOf(sender) + ":EndDrag(" + NameOf(target) + "," + std::to_string(x) + ","
                + std::to_string(y) + ")");
        };
        Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("Source:MouseDown"); };
        Form->Show();
        Pump();
    }

    template <class T> T* Panel(const char* name, int x, int y, int w, int h)
    {
        auto* panel = new T(Form);
        panel->SetName(name);
        panel->SetBounds(x, y, w, h);
        panel->SetParent(Form);
        return panel;
    }

    // The control logs every OnDragOver and OnDragDrop, and accepts as `accept` says.
    void Listen(TControl* control, bool accept)
    {
        control->OnDragOver = [this, accept](TObject* sender, TObject* source, int x, int y, TDragOverState state,
                                  bool& accepted) {
            Log.push_back(NameOf(sender) + ":DragOver(" + NameOf(source) + "," + std::to_string(x) + ","
                + std::to_string(y) + "," + StateName(state) + ")");
            accepted = accept;
        };
        control->OnDragDrop = [this](TObject* sender, TObject* source, int x, int y) {
            Log.push_back(NameOf(sender) + ":DragDrop(" + NameOf(source) + "," + std::to_string(x) + ","
                + std::to_string(y) + ")");
        };
    }

    // The screen point of (x, y) in the form's client area.
    void MoveTo(int x, int y)
    {
        Backend.MouseMove(100 + x, 100 + y);
        Pump();
    }
    void Press(int x, int y)
    {
        MoveTo(x, y);
        Backend.MouseDown();
        Pump();
    }
    void Release()
    {
        Backend.MouseUp();
        Pump();
    }
    std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }

    TForm* Form = nullptr;
    TImagePanel* Source = nullptr;
    TPanel* Accepting = nullptr;
    TPanel* Rejecting = nullptr;
    std::vector<std::string> Log;
};

using TLog = std::vector<std::string>;

TEST_F(DragDropTest, AutomaticImmediateDragDropsOnAnAcceptingTarget)
{
    Source->SetDragMode(dmAutomatic);
    Source->SetDragCursor(crHandPoint);
    Mouse->SetDragImmediate(true);
    Press(20, 20);
    // The press started the drag and went no further; the pointer over the source itself, which has no
    // OnDragOver, shows the no-drop cursor.
    EXPECT_EQ(TakeLog(), TLog({ "Source:StartDrag" }));
    EXPECT_TRUE(Source->Dragging());
    EXPECT_TRUE(DragActive());
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crNoDrop));
    MoveTo(220, 40);
    EXPECT_EQ(TakeLog(),
        TLog({ "Accepting:DragOver(Source,20,30,Enter)", "Accepting:DragOver(Source,20,30,Move)" }));
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crHandPoint));
    MoveTo(230, 45);
    EXPECT_EQ(TakeLog(), TLog({ "Accepting:DragOver(Source,30,35,Move)" }));
    Release();
    EXPECT_EQ(TakeLog(), TLog({ "Accepting:DragDrop(Source,30,35)", "Source:EndDrag(Accepting,30,35)" }));
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(DragControl(), nullptr);
    EXPECT_FALSE(Backend.MouseCaptured());
    // The next press is a drag again; the panel never saw a press or a click.
    Press(20, 20);
    Release();
    EXPECT_EQ(TakeLog(), TLog({ "Source:StartDrag", "Source:EndDrag(null,0,0)" }));
}

TEST_F(DragDropTest, ThresholdDragAsksEveryTargetItCrossesAndARejectedDropCancels)
{
    Source->SetDragMode(dmAutomatic);
    Mouse->SetDragImmediate(false);
    Mouse->SetDragThreshold(5);
    const HCURSOR before = Backend.Cursor();
    // A release before the pointer moved the threshold ends the pending drag without a target.
    Press(20, 20);
    MoveTo(24, 16);
    EXPECT_TRUE(Source->Dragging());
    EXPECT_FALSE(DragActive());
    EXPECT_EQ(Backend.Cursor(), before);
    Release();
    EXPECT_EQ(TakeLog(), TLog({ "Source:StartDrag", "Source:EndDrag(null,0,0)" }));

    Press(20, 20);
    MoveTo(25, 20);
    EXPECT_TRUE(DragActive());
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crNoDrop));
    MoveTo(210, 160);
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crNoDrop));
    MoveTo(210, 20);
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crDrag));
    MoveTo(210, 170);
    Release();
    EXPECT_EQ(TakeLog(),
        TLog({
            "Source:StartDrag",
            "Rejecting:DragOver(Source,10,10,Enter)",
            "Rejecting:DragOver(Source,10,10,Move)",
            "Rejecting:DragOver(Source,10,10,Leave)",
            "Accepting:DragOver(Source,10,10,Enter)",
            "Accepting:DragOver(Source,10,10,Move)",
            "Accepting:DragOver(Source,10,10,Leave)",
            "Rejecting:DragOver(Source,10,20,Enter)",
            "Rejecting:DragOver(Source,10,20,Move)",
            "Rejecting:DragOver(Source,10,20,Leave)",
            "Source:EndDrag(null,0,0)",
        }));
}

TEST_F(DragDropTest, EscapeAndEndDragCancelAManualDrag)
{
    // dmManual: the program starts the drag from the press, which the control does see.
    Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        Log.push_back("Source:MouseDown");
        Source->BeginDrag(true);
    };
    int keys = 0;
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++keys; };
    Press(20, 20);
    MoveTo(250, 50);
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(TakeLog(),
        TLog({
            "Source:MouseDown",
            "Source:StartDrag",
            "Accepting:DragOver(Source,50,40,Enter)",
            "Accepting:DragOver(Source,50,40,Move)",
            "Accepting:DragOver(Source,50,40,Leave)",
            "Source:EndDrag(null,0,0)",
        }));
    EXPECT_EQ(keys, 0) << "the drag took the Escape key";
    EXPECT_FALSE(Source->Dragging());
    EXPECT_FALSE(Backend.MouseCaptured());
    // The release after the cancel drops nothing.
    Release();
    MoveTo(260, 50);
    EXPECT_TRUE(TakeLog().empty());

    // EndDrag(false) from the program cancels; EndDrag(true) over an accepting target drops.
    Press(20, 20);
    MoveTo(250, 50);
    Source->EndDrag(false);
    Release();
    TakeLog();
    Press(20, 20);
    MoveTo(250, 50);
    Source->EndDrag(true);
    EXPECT_EQ(TakeLog(),
        TLog({
            "Source:MouseDown",
            "Source:StartDrag",
            "Accepting:DragOver(Source,50,40,Enter)",
            "Accepting:DragOver(Source,50,40,Move)",
            "Accepting:DragDrop(Source,50,40)",
            "Source:EndDrag(Accepting,50,40)",
        }));
    Release();
    // A form cannot be dragged.
    EXPECT_THROW(Form->BeginDrag(true), EInvalidOperation);
}

TEST_F(DragDropTest, TargetsAreTheControlsUnderThePointer)
{
    // A windowless control is a target of its own; a disabled one takes nothing and neither does what
    // lies under it.
    auto* spot = new TPaintBox(Form);
    spot->SetName("Spot");
    spot->SetBounds(20, 100, 50, 50);
    spot->SetParent(Form);
    Listen(spot, true);
    Rejecting->SetEnabled(false);
    Source->SetDragMode(dmAutomatic);
    Mouse->SetDragImmediate(true);
    Press(20, 20);
    MoveTo(30, 110);
    MoveTo(210, 160);
    EXPECT_EQ(Backend.Cursor(), Screen->Cursors(crNoDrop));
    MoveTo(40, 120);
    Release();
    EXPECT_EQ(TakeLog(),
        TLog({
            "Source:StartDrag",
            "Spot:DragOver(Source,10,10,Enter)",
            "Spot:DragOver(Source,10,10,Move)",
            "Spot:DragOver(Source,10,10,Leave)",
            "Spot:DragOver(Source,20,20,Enter)",
            "Spot:DragOver(Source,20,20,Move)",
            "Spot:DragDrop(Source,20,20)",
            "Source:EndDrag(Spot,20,20)",
        }));
}

TEST_F(DragDropTest, DragImageFollowsThePointerOverTargetsThatShowIt)
{
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(TRect { 0, 0, 16, 16 });
    TImageList images(nullptr, 16, 16);
    images.Add(&picture, nullptr);
    images.SetDragImage(0, 8, 8);
    Source->Images = &images;
    Accepting->SetControlStyle(Accepting->ControlStyle() + TControlStyle { csDisplayDragImage });
    Source->SetDragMode(dmAutomatic);
    Mouse->SetDragImmediate(true);

    Press(20, 20);
    MoveTo(240, 60);
    ASSERT_TRUE(images.Dragging());
    EXPECT_TRUE(images.DragImageShown());
    EXPECT_EQ(images.DragImageRect(), (TRect { 332, 152, 348, 168 }));
    EXPECT_EQ(Backend.ScreenPixel(334, 154) & 0xFFFFFF, 0xFF0000u);
    // Over the image the pointer still finds the target beneath it.
    MoveTo(241, 60);
    EXPECT_EQ(TakeLog().back(), "Accepting:DragOver(Source,41,50,Move)");
    EXPECT_EQ(images.DragImageRect(), (TRect { 333, 152, 349, 168 }));
    // A target without csDisplayDragImage hides it, unless the drag object always shows it.
    MoveTo(240, 200);
    EXPECT_FALSE(images.DragImageShown());
    DragObject()->SetAlwaysShowDragImages(true);
    MoveTo(240, 210);
    EXPECT_TRUE(images.DragImageShown());
    EXPECT_EQ(images.DragImageRect(), (TRect { 332, 302, 348, 318 }));
    Release();
    EXPECT_FALSE(images.Dragging());
    EXPECT_NE(Backend.ScreenPixel(334, 304) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(DragDropTest, ASourceFreedDuringItsDropEndsTheDragQuietly)
{
    Source->SetDragMode(dmAutomatic);
    Mouse->SetDragImmediate(true);
    Accepting->OnDragDrop = [this](TObject*, TObject* source, int, int) {
        Log.push_back("Accepting:DragDrop");
        delete source;
    };
    Press(20, 20);
    MoveTo(250, 50);
    Release();
    EXPECT_EQ(TakeLog(),
        TLog({
            "Source:StartDrag",
            "Accepting:DragOver(Source,50,40,Enter)",
            "Accepting:DragOver(Source,50,40,Move)",
            "Accepting:DragDrop",
        }));
    EXPECT_EQ(DragControl(), nullptr);
    // A source freed while it is dragged ends the drag at once; the target hears that it left.
    auto* other = Panel<TPanel>("Other", 10, 60, 50, 30);
    other->SetDragMode(dmAutomatic);
    Press(20, 70);
    MoveTo(250, 50);
    delete other;
    EXPECT_EQ(DragControl(), nullptr);
    EXPECT_FALSE(Backend.MouseCaptured());
    Release();
    EXPECT_EQ(TakeLog(),
        TLog({
            "Accepting:DragOver(Other,50,40,Enter)",
            "Accepting:DragOver(Other,50,40,Move)",
            "Accepting:DragOver(null,50,40,Leave)",
        }));
}

TEST_F(DragDropTest, ListAndTreeViewsSelectOnThePressAndDragOnceThePointerMoves)
{
    auto* list = new TListView(Form);
    list->SetName("List");
    list->SetBounds(10, 60, 150, 100);
    list->SetParent(Form);
    list->SetViewStyle(vsReport);
    list->Columns()->Add()->SetWidth(100);
    for (const char* text : { "a", "b", "c" })
        list->Items()->Add()->SetCaption(text);
    auto* tree = new TTreeView(Form);
    tree->SetName("Tree");
    tree->SetBounds(10, 170, 150, 100);
    tree->SetParent(Form);
    tree->Items()->Add(nullptr, "one");
    TTreeNode* two = tree->Items()->Add(nullptr, "two");
    Pump();

    struct TCase {
        TControl* View;
        TRect Item; // the dragged item, in the view's client coordinates
    };
    TRect row = list->Items()->Item(1)->DisplayRect(drLabel);
    for (const TCase& test : { TCase { list, row }, TCase { tree, two->DisplayRect(true) } }) {
        SCOPED_TRACE(test.View->Name());
        test.View->SetDragMode(dmAutomatic);
        test.View->OnStartDrag = Source->OnStartDrag;
        test.View->OnEndDrag = Source->OnEndDrag;
        const int x = test.View->Left() + test.Item.Left + 4;
        const int y = test.View->Top() + (test.Item.Top + test.Item.Bottom) / 2;
        Press(x, y);
        EXPECT_FALSE(test.View->Dragging()) << "the press went to the view";
        MoveTo(x + 10, y);
        MoveTo(250, 50);
        Release();
        const std::string name = test.View->Name();
        EXPECT_EQ(TakeLog(),
            TLog({
                name + ":StartDrag",
                "Accepting:DragOver(" + name + ",50,40,Enter)",
                "Accepting:DragOver(" + name + ",50,40,Move)",
                "Accepting:DragDrop(" + name + ",50,40)",
                name + ":EndDrag(Accepting,50,40)",
            }));
    }
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(tree->Selected(), two);
}

} // namespace
