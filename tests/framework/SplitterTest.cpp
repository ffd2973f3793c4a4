// TSplitter between aligned panels on a shown form, dragged with the headless backend's mouse.
#include "ControlsTestSupport.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TSplitter.h"

namespace {

class SplitterTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
    }
    TPanel* Panel(TAlign align, int size)
    {
        auto* panel = new TPanel(Form);
        panel->SetParent(Form);
        if (align == alLeft || align == alRight)
            panel->SetWidth(size);
        else
            panel->SetHeight(size);
        panel->SetAlign(align);
        return panel;
    }
    TSplitter* Splitter(TAlign align, TControl* after)
    {
        auto* splitter = new TSplitter(Form);
        splitter->SetAlign(align);
        // Placed just past its control so that the alignment keeps it there.
        if (align == alLeft)
            splitter->SetLeft(after->Left() + after->Width());
        splitter->SetParent(Form);
        Pump();
        return splitter;
    }
    void Drag(TControl* splitter, int dx, int dy)
    {
        TPoint p = Form->ClientToScreen({splitter->Left() + splitter->Width() / 2, splitter->Top() + splitter->Height() / 2});
        Backend.MouseMove(p.X, p.Y);
        Backend.MouseDown();
        Backend.MouseMove(p.X + dx / 2, p.Y + dy / 2);
        Backend.MouseMove(p.X + dx, p.Y + dy);
        Backend.MouseUp();
        Pump();
    }

    TForm* Form = nullptr;
};

TEST_F(SplitterTest, DraggingSizesTheNeighbourWithinItsLimits)
{
    TPanel* left = Panel(alLeft, 100);
    TSplitter* splitter = Splitter(alLeft, left);
    TPanel* rest = Panel(alClient, 0);
    ASSERT_EQ(splitter->Left(), 100);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    Drag(splitter, 40, 0);
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    EXPECT_EQ(rest->Left(), 143);
    EXPECT_EQ(moved, 1);
    // Below MinSize the panel snaps shut; a refusing OnCanResize keeps the size.
    Drag(splitter, -120, 0);
    EXPECT_EQ(left->Width(), 0);
    // OnCanResize may refuse a size, or change it.
    splitter->OnCanResize = [](TObject*, int& size, bool& accept) {
        accept = size != 75;
        size = std::min(size, 100);
    };
    Drag(splitter, 150, 0);
    EXPECT_EQ(left->Width(), 100);
    // Never past the room the parent has: its width less MinSize and the other aligned controls.
    splitter->OnCanResize = nullptr;
    Drag(splitter, 1000, 0);
    EXPECT_EQ(left->Width(), 400 - 30 - 3);
}

} // namespace
