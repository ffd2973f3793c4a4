// TTreeView on a shown form: nodes handed to the window, children filled on demand once, selection and its
// veto, right-click select, in-place editing and deletion, all driven by real clicks and keys.
#include "ControlsTestSupport.h"

#include "framework/controls/TCustomTreeView.h"
#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/win/VirtualKeys.h"

namespace {

class TreeViewsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
        Tree = new TTreeView(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(10, 10, 300, 250);
        Pump();
    }
    // The screen point of a node's label, or of its expand button.
    TPoint LabelPoint(TTreeNode* node)
    {
        TRect r = node->DisplayRect(true);
        return Tree->ClientToScreen({r.Left + 4, (r.Top + r.Bottom) / 2});
    }
    TPoint ButtonPoint(TTreeNode* node)
    {
        TRect r = node->DisplayRect(true);
        return Tree->ClientToScreen({r.Left - Tree->Indent() / 2, (r.Top + r.Bottom) / 2});
    }

    TForm* Form = nullptr;
    TTreeView* Tree = nullptr;
};

TEST_F(TreeViewsTest, ChildrenComeOnDemandOnceAndTheSelectionFollowsClicks)
{
    TTreeNode* music = Tree->Items()->Add(nullptr, "Music");
    music->SetHasChildren(true);
    TTreeNode* video = Tree->Items()->Add(nullptr, "Video");
    int fills = 0;
    Tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        if (node->Count() == 0) {
            ++fills;
            Tree->Items()->AddChild(node, "one");
            Tree->Items()->AddChild(node, "two");
        }
    };
    std::vector<std::string> changes;
    Tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node ? node->Text() : "-"); };
    Pump();
    TPoint button = ButtonPoint(music);
    Click(button.X, button.Y);
    EXPECT_TRUE(music->Expanded());
    EXPECT_EQ(music->Count(), 2);
    Click(button.X, button.Y);
    EXPECT_FALSE(music->Expanded());
    Click(button.X, button.Y);
    EXPECT_TRUE(music->Expanded());
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(Tree->Items()->Count(), 4);
    EXPECT_EQ(music->GetNext()->Text(), "one");
    EXPECT_EQ(music->GetFirstChild()->Level(), 1);

    TPoint two = LabelPoint(music->Item(1));
    Click(two.X, two.Y);
    EXPECT_EQ(Tree->Selected(), music->Item(1));
    // A veto keeps the selection; keys move it.
    Tree->OnChanging = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != video; };
    TPoint v = LabelPoint(video);
    Click(v.X, v.Y);
    EXPECT_EQ(Tree->Selected(), music->Item(1));
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(Tree->Selected(), music->Item(0));
    EXPECT_EQ(changes, (std::vector<std::string> {"two", "one"}));

    // Right-click select, when asked for, selects the node under the pointer.
    Tree->OnChanging = nullptr;
    Tree->SetRightClickSelect(true);
    Backend.MouseMove(v.X, v.Y);
    Backend.Click(v.X, v.Y, TRawButton::Right);
    Pump();
    EXPECT_EQ(Tree->Selected(), video);
}

// Each row draws its image before its label and the next row's lines: those keep the tree's own font and pen.
TEST_F(TreeViewsTest, LabelsAndLinesAfterAnImageKeepTheTreesFontAndPen)
{
    TImageList images(nullptr, 16, 16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect { 0, 0, 16, 16 });
    images.Add(&red, nullptr);
    Tree->Font()->SetHeight(-24); // far wider than the stock font
    Tree->SetImages(&images);
    TTreeNode* first = Tree->Items()->Add(nullptr, "WWWWWW");
    TTreeNode* second = Tree->Items()->Add(nullptr, "WWWWWW");
    TTreeNode* child = Tree->Items()->AddChild(second, "WWWWWW");
    for (TTreeNode* node : { first, second, child })
        node->SetImageIndex(0);
    second->Expand(false);
    Pump();
    auto dark = [&](int x, int y) {
        const TPoint at = Tree->ClientToScreen({ x, y });
        const uint32_t pixel = Backend.ScreenPixel(at.X, at.Y);
        return ((pixel >> 16) & 0xFF) < 80 && ((pixel >> 8) & 0xFF) < 80 && (pixel & 0xFF) < 80;
    };
    for (TTreeNode* node : { first, second, child }) {
        SCOPED_TRACE(node->Index());
        const TRect label = node->DisplayRect(true);
        int inkRight = -1;
        for (int y = label.Top; y < label.Bottom; ++y)
            for (int x = label.Left; x < label.Right; ++x)
                if (dark(x, y))
                    inkRight = std::max(inkRight, x);
        EXPECT_GE(inkRight, label.Right - 6) << "the label is drawn in the font it was measured with";
    }
    // The child's connector runs left of its image, in the lines' grey.
    const TRect label = child->DisplayRect(true);
    const TPoint connector = Tree->ClientToScreen({ label.Left - 16 - 3 - 4, (label.Top + label.Bottom) / 2 });
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_EQ(Backend.ScreenPixel(connector.X, connector.Y),
        uint32_t(GetRValue(grey)) << 16 | uint32_t(GetGValue(grey)) << 8 | GetBValue(grey));
}

TEST_F(TreeViewsTest, EditingDeletingAndANewWindowKeepTheNodes)
{
    TTreeNode* a = Tree->Items()->Add(nullptr, "alpha");
    TTreeNode* child = Tree->Items()->AddChild(a, "inner");
    TTreeNode* b = Tree->Items()->Add(nullptr, "beta");
    a->Expand(false);
    child->SetSelected(true);
    Pump();
    std::string edited;
    Tree->OnEdited = [&](TObject*, TTreeNode*, std::string& s) { edited = s; };
    ASSERT_TRUE(child->EditText());
    EXPECT_TRUE(Tree->IsEditing());
    for (char c : std::string("core"))
        Backend.Char(static_cast<uint32_t>(c));
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(edited, "core");
    EXPECT_EQ(child->Text(), "core");
    Tree->SetReadOnly(true);
    EXPECT_FALSE(child->EditText());

    // A new window shows the same nodes, expanded and selected as before.
    Tree->RecreateWnd();
    Pump();
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(Tree->Selected(), child);
    EXPECT_EQ(SendMessage(Tree->Handle(), TVM_GETCOUNT, 0, 0), 3);

    std::vector<std::string> deleted;
    Tree->OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->Text()); };
    a->Delete();
    EXPECT_EQ(deleted, (std::vector<std::string> {"core", "alpha"}));
    EXPECT_EQ(Tree->Items()->Count(), 1);
    EXPECT_EQ(Tree->Items()->GetFirstNode(), b);
    EXPECT_EQ(SendMessage(Tree->Handle(), TVM_GETCOUNT, 0, 0), 1);
    Tree->Items()->Clear();
    EXPECT_EQ(Tree->Items()->Count(), 0);
}

} // namespace
