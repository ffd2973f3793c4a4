// The skinned list and tree views and the rich edit on the headless display: their font and colours from the
// skin, the external skinned bars mirrored from the native scroll state and scrolling the views back, the list
// view's skinned column header, and which of them a skinned form's re-skin pass reaches.
#include "platform/controls/ListViewControl.h"
#include "platform/controls/TreeViewControl.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/SkinRichEdit.h"
#include "skin/lists/SkinTreeViews.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <algorithm>
#include <functional>
#include <string>

using namespace SPUtils;

namespace {

// A list view that counts the horizontal scroll requests reaching it.
class TCountingListView : public TspSkinListView {
public:
    using TspSkinListView::TspSkinListView;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_HSCROLL)
            Requests.push_back(LOWORD(message.WParam));
        TspSkinListView::WndProc(message);
    }
    std::vector<int> Requests;
};

// A container that counts how often it lays its children out.
class TCountingPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Aligns = 0;

protected:
    void AlignControls(TControl* control, TRect& rect) override
    {
        ++Aligns;
        TCustomControl::AlignControls(control, rect);
    }
};

class SkinListsTest : public SkinControlsTest {
protected:
    void SetUp() override
    {
        Fixture.AddControl("listview", "listview",
            { { "fontname", "DejaVu Sans" }, { "fontheight", "11" }, { "fontcolor", "255" },
                { "bgcolor", "65280" } });
        Fixture.AddControl("treeview", "treeview",
            { { "fontname", "DejaVu Serif" }, { "fontheight", "12" }, { "fontcolor", "16711680" },
                { "bgcolor", "255" } });
        Fixture.AddControl("richedit", "richedit",
            { { "fontname", "DejaVu Sans Mono" }, { "fontheight", "13" }, { "fontcolor", "128" },
                { "bgcolor", "32768" } });
        // A 3-part header button 80 x 20 at (0, 60) of the sheet, pressed at y 100.
        Fixture.AddControl("headstrip", "button",
            { { "pictureindex", "0" }, { "skinrect", "0,60,80,80" }, { "activeskinrect", "0,80,80,100" },
                { "downskinrect", "0,100,80,120" }, { "lefttoppoint", "5,5" }, { "righttoppoint", "75,5" },
                { "clientrect", "5,2,75,18" }, { "fontcolor", "0" }, { "downfontcolor", "65280" } });
        // Two 9-part header buttons cut from other parts of the sheet, with other corners.
        Fixture.AddControl("headnine", "button",
            { { "pictureindex", "0" }, { "skinrect", "100,60,160,82" }, { "downskinrect", "100,100,160,122" },
                { "lefttoppoint", "4,4" }, { "righttoppoint", "54,4" }, { "leftbottompoint", "4,18" },
                { "rightbottompoint", "54,18" }, { "clientrect", "4,4,54,18" }, { "fontcolor", "0" } });
        Fixture.AddControl("headnine2", "button",
            { { "pictureindex", "0" }, { "skinrect", "170,60,250,80" }, { "lefttoppoint", "8,3" },
                { "righttoppoint", "70,3" }, { "leftbottompoint", "8,16" }, { "rightbottompoint", "70,16" },
                { "clientrect", "8,3,70,16" }, { "fontcolor", "255" } });
        SkinControlsTest::SetUp();
    }

    // An owner-data report view at (10, 10), 200 x 150, with two columns and `count` rows.
    template <class View = TspSkinListView> View* ReportView(int count, bool skinned = true)
    {
        auto* view = new View(Form);
        view->SetParent(Form);
        view->SetBounds(10, 10, 200, 150);
        view->SetViewStyle(vsReport);
        view->SetOwnerData(true);
        view->OnData = [](TObject*, TListItem* item) { item->SetCaption("Row " + std::to_string(item->Index())); };
        for (int width : { 90, 80 })
            view->Columns()->Add()->SetWidth(width);
        view->Items()->SetCount(count);
        if (skinned)
            view->SetSkinData(Skin);
        Pump();
        return view;
    }
    // A panel at (10, 10), 200 x 150, counting its realigns.
    TCountingPanel* NewCountingPanel()
    {
        auto* panel = new TCountingPanel(Form);
        panel->SetParent(Form);
        panel->SetBounds(10, 10, 200, 150);
        return panel;
    }
    // An owner-data report view filling `panel`, with one column and no rows.
    TspSkinListView* PanelReportView(TWinControl* panel, bool ownerDraw = false)
    {
        auto* view = new TspSkinListView(Form);
        view->SetParent(panel);
        view->SetAlign(alClient);
        view->SetViewStyle(vsReport);
        view->SetOwnerData(true);
        view->SetOwnerDraw(ownerDraw);
        view->Columns()->Add()->SetWidth(100);
        view->SetSkinData(Skin);
        return view;
    }
    TspSkinScrollBar* NewBar(TScrollBarKind kind)
    {
        auto* bar = new TspSkinScrollBar(Form);
        bar->SetKind(kind);
        bar->SetParent(Form);
        if (kind == sbVertical)
            bar->SetBounds(220, 10, 19, 150);
        else
            bar->SetBounds(10, 170, 200, 19);
        return bar;
    }
    int TopIndex(TCustomListView* view) { return static_cast<int>(view->SendToWindow(LVM_GETTOPINDEX, 0, 0)); }
};

// ---- The skin ------------------------------------------------------------------------------------------------

TEST_F(SkinListsTest, ViewsTakeFontAndColoursFromTheirRecordOrTheirDefaults)
{
    TspSkinListView* list = ReportView(0);
    EXPECT_EQ(list->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(list->Font()->Height(), 11);
    EXPECT_EQ(list->Font()->Color(), TColor(255));
    EXPECT_EQ(list->Color(), TColor(65280));

    auto* tree = new TspSkinTreeView(Form);
    tree->SetParent(Form);
    tree->SetSkinData(Skin);
    EXPECT_EQ(tree->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(tree->Color(), TColor(255));

    // A missing record gives the defaults; a record of another kind leaves font and colour as they were.
    list->SetSkinDataName("missing");
    list->ChangeSkinData();
    EXPECT_EQ(list->Font()->Name(), "Arial");
    EXPECT_EQ(list->Color(), clWindow);
    list->SetSkinDataName("treeview");
    list->SetColor(clYellow);
    list->ChangeSkinData();
    EXPECT_EQ(list->Color(), clYellow);

    // The rich edit follows its record only with SkinSupport; its charset follows the string table either way.
    auto* strings = new TspResourceStrData(Application);
    strings->SetCharSet(204);
    Skin->SetResourceStrData(strings);
    auto* rich = new TspSkinRichEdit(Form);
    rich->SetParent(Form);
    rich->SetColor(clAqua);
    rich->SetSkinData(Skin);
    EXPECT_EQ(rich->Font()->Name(), "Arial");
    EXPECT_EQ(rich->Color(), clAqua);
    EXPECT_EQ(rich->Font()->Charset(), 204);
    rich->SetSkinSupport(true);
    rich->ChangeSkinData();
    EXPECT_EQ(rich->Font()->Name(), "DejaVu Sans Mono");
    EXPECT_EQ(rich->Color(), TColor(32768));
    Skin->SetResourceStrData(nullptr);
}

// Each view watches its skin and bars: one freed before the view is forgotten (and the view goes on painting and
// sizing without it), and a bar replaced by another is no longer watched, so freeing it leaves the new one linked.
TEST_F(SkinListsTest, AViewForgetsASkinOrBarFreedBeforeItAndKeepsTheOneThatReplacedIt)
{
    struct Links {
        TWinControl* Control;
        std::function<void(TspSkinData*)> SetSkin;
        std::function<void(TspSkinScrollBar*, TspSkinScrollBar*)> SetBars;
        std::function<TspSkinData*()> Skin;
        std::function<TspSkinScrollBar*()> Vertical;
        std::function<TspSkinScrollBar*()> Horizontal;
    };
    auto links = [](auto* view) {
        return Links { view, [view](TspSkinData* s) { view->SetSkinData(s); },
            [view](TspSkinScrollBar* v, TspSkinScrollBar* h) { view->SetVScrollBar(v), view->SetHScrollBar(h); },
            [view] { return view->SkinData(); }, [view] { return view->VScrollBar(); },
            [view] { return view->HScrollBar(); } };
    };
    auto* tree = new TspSkinTreeView(Form);
    tree->SetParent(Form);
    tree->SetBounds(10, 10, 200, 150);
    auto* rich = new TspSkinRichEdit(Form);
    rich->SetParent(Form);
    rich->SetBounds(10, 10, 200, 150);
    for (const Links& view : { links(ReportView(100)), links(tree), links(rich) }) {
        SCOPED_TRACE(view.Control->ClassName());
        auto* own = new TspSkinData(Application);
        own->LoadFromFile(Fixture.Write());
        view.SetSkin(own);
        TspSkinScrollBar* first = NewBar(sbVertical);
        TspSkinScrollBar* kept = NewBar(sbVertical);
        TspSkinScrollBar* horizontal = NewBar(sbHorizontal);
        view.SetBars(first, horizontal);
        view.SetBars(kept, horizontal);
        delete first;
        EXPECT_EQ(view.Vertical(), kept) << "a replaced bar's end leaves the new one";
        delete own;
        delete horizontal;
        EXPECT_EQ(view.Skin(), nullptr);
        EXPECT_EQ(view.Horizontal(), nullptr);
        EXPECT_EQ(view.Vertical(), kept);
        delete kept;
        EXPECT_EQ(view.Vertical(), nullptr);
        view.Control->SetBounds(10, 10, 180, 140);
        view.Control->Invalidate();
        Pump();
        delete view.Control;
    }
}

TEST_F(SkinListsTest, TheFormsReskinPassReachesTheViewsButNotTheRichEdit)
{
    TspSkinListView* list = ReportView(0);
    auto* rich = new TspSkinRichEdit(Form);
    rich->SetParent(Form);
    rich->SetSkinSupport(true);
    rich->SetSkinData(Skin);
    list->SetSkinDataName("missing");
    rich->SetSkinDataName("missing");
    auto* skinner = new TspSkinForm(Form);
    skinner->UpDateSkinControls(nullptr, Form);
    EXPECT_EQ(list->GetSkinIndex(), -1) << "re-read by the pass";
    EXPECT_NE(rich->GetSkinIndex(), -1) << "left alone by the pass";
}

// ---- Mirroring -----------------------------------------------------------------------------------------------

TEST_F(SkinListsTest, AReportViewShowsItsVerticalBarPastOnePageAndItsParentRealignsOnceWhenItGoes)
{
    auto* panel = NewCountingPanel();
    TspSkinListView* view = PanelReportView(panel);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    view->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible()) << "linking hides the bar";
    EXPECT_TRUE(bar->Enabled());

    view->Items()->SetCount(100);
    Pump();
    const int perPage = view->VisibleRowCount();
    ASSERT_GT(perPage, 0);
    ASSERT_LT(perPage, 100);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), 99);
    EXPECT_EQ(bar->PageSize(), perPage);
    EXPECT_EQ(bar->LargeChange(), perPage);
    EXPECT_EQ(bar->SmallChange(), 1);

    panel->Aligns = 0;
    view->Items()->SetCount(perPage - 1);
    view->Invalidate();
    Pump();
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(panel->Aligns, 1);
}

// A new count shows the bar at once: the view, narrowed beside it, then paints each row once, instead of first at
// the width it is about to lose and then again.
TEST_F(SkinListsTest, ANewCountShowsTheBarAtOnceAndTheRowsArePaintedOnce)
{
    auto* panel = NewCountingPanel();
    auto* bar = new TspSkinScrollBar(Form);
    bar->SetKind(sbVertical);
    bar->SetParent(panel);
    bar->SetBounds(181, 0, 19, 150);
    bar->SetAlign(alRight);
    TspSkinListView* view = PanelReportView(panel, true);
    std::vector<int> drawn;
    view->OnDrawItem = [&drawn](TCustomListView*, TListItem* item, TRect, TListDrawState) {
        drawn.push_back(item->Index());
    };
    view->SetVScrollBar(bar);
    Pump();
    ASSERT_FALSE(bar->Visible());
    drawn.clear();

    view->Items()->SetCount(100);
    EXPECT_TRUE(bar->Visible()) << "shown with the count, before any paint";
    Pump();
    ASSERT_FALSE(drawn.empty());
    std::vector<int> rows = drawn;
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end()) << "a row was painted twice";
    EXPECT_EQ(drawn.front(), 0);
}

TEST_F(SkinListsTest, WideColumnsShowTheHorizontalBarWhichLeavesTheCornerToTheVerticalOne)
{
    TspSkinListView* view = ReportView(100);
    view->Columns()->Items(0)->SetWidth(400);
    TspSkinScrollBar* vertical = NewBar(sbVertical);
    TspSkinScrollBar* horizontal = NewBar(sbHorizontal);
    horizontal->SetBothMarkerWidth(19);
    view->SetVScrollBar(vertical);
    view->SetHScrollBar(horizontal);
    Pump();
    EXPECT_TRUE(horizontal->Visible());
    EXPECT_EQ(horizontal->PageSize(), view->Width());
    EXPECT_GT(horizontal->Max(), view->Width());
    EXPECT_TRUE(horizontal->Both());
    view->Items()->SetCount(1);
    view->Invalidate();
    Pump();
    EXPECT_FALSE(vertical->Visible());
    EXPECT_FALSE(horizontal->Both());

    // Moving the horizontal bar scrolls the view by as many pixels.
    horizontal->SetPosition(30);
    Pump();
    EXPECT_EQ(GetScrollPos(view->Handle(), SB_HORZ), 30);
}

TEST_F(SkinListsTest, MovingTheVerticalBarScrollsByWholeRowsAndTheViewsOwnScrollingComesBack)
{
    TspSkinListView* view = ReportView(500);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    view->SetVScrollBar(bar);
    int changes = 0;
    const TNotifyEvent follow = bar->OnChange;
    bar->OnChange = [&](TObject* sender) {
        ++changes;
        follow(sender);
    };
    Pump();
    bar->SetPosition(3);
    Pump();
    EXPECT_EQ(TopIndex(view), 3);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(changes, 1);

    // The view's own keys reach the bar.
    view->SetFocus();
    Backend.Key(VK_END);
    Pump();
    EXPECT_EQ(TopIndex(view), 500 - view->VisibleRowCount());
    EXPECT_EQ(bar->Position(), TopIndex(view));
    EXPECT_EQ(changes, 1) << "mirroring never fires OnChange";
}

TEST_F(SkinListsTest, AListStyleViewNeverShowsAVerticalBarAndStepsItsColumnsByLines)
{
    auto* view = ReportView<TCountingListView>(300);
    TspSkinScrollBar* vertical = NewBar(sbVertical);
    TspSkinScrollBar* horizontal = NewBar(sbHorizontal);
    view->SetVScrollBar(vertical);
    view->SetHScrollBar(horizontal);
    view->SetViewStyle(vsList);
    view->Invalidate();
    Pump();
    EXPECT_FALSE(vertical->Visible());
    ASSERT_TRUE(horizontal->Visible());
    view->Requests.clear();
    horizontal->SetPosition(horizontal->Position() + 2);
    EXPECT_EQ(view->Requests, (std::vector<int> { SB_LINERIGHT, SB_LINERIGHT }));
    view->Requests.clear();
    horizontal->SetPosition(horizontal->Position() - 1);
    EXPECT_EQ(view->Requests, (std::vector<int> { SB_LINELEFT }));
}

TEST_F(SkinListsTest, ATinyOrEmptyViewIsSafe)
{
    TspSkinListView* view = ReportView(100);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    view->SetBounds(10, 10, 5, 150);
    view->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible()) << "a view 5 pixels wide never updates its bars";

    // A report view shorter than a row shows its bar with no items; moving it must not read a row.
    view->SetBounds(10, 10, 200, 10);
    view->Items()->SetCount(0);
    view->Invalidate();
    Pump();
    bar->SetRange(TspScrollMin(0), TspScrollMax(5), TspScrollPage(1), TspScrollPosition(0));
    bar->SetPosition(2);
    Pump();
    EXPECT_EQ(TopIndex(view), 0);

    view->SetViewStyle(vsIcon);
    view->Invalidate();
    Pump();
    bar->SetPosition(1);
    Pump();
}

TEST_F(SkinListsTest, ATreeFollowsItsBarsWithTheWholePosition)
{
    auto* tree = new TspSkinTreeView(Form);
    tree->SetParent(Form);
    tree->SetBounds(10, 10, 200, 150);
    tree->SetSkinData(Skin);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    tree->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible());
    // More rows than a message's 16 bits can name.
    constexpr int kNodes = 70000;
    tree->Items()->BeginUpdate();
    for (int i = 0; i < kNodes; ++i)
        tree->Items()->Add(nullptr, "Node");
    tree->Items()->EndUpdate();
    tree->Invalidate();
    Pump();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), kNodes - 1);
    bar->SetPosition(68000);
    Pump();
    EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 68000);
    EXPECT_EQ(tree->TopItem(), tree->Items()->Item(68000));
}

TEST_F(SkinListsTest, ATreeStillLoadingIgnoresSkinAndBarUpdates)
{
    auto* tree = new TspSkinTreeView(Form);
    tree->SetParent(Form);
    tree->SetBounds(10, 10, 200, 150);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    tree->SetVScrollBar(bar);
    for (int i = 0; i < 100; ++i)
        tree->Items()->Add(nullptr, "Node");
    Pump();
    bar->SetVisible(false);
    tree->SetComponentStateItem(csLoading, true);
    tree->SetSkinData(Skin);
    tree->UpDateScrollBars();
    EXPECT_EQ(tree->GetSkinIndex(), -1);
    EXPECT_FALSE(bar->Visible());
    tree->SetComponentStateItem(csLoading, false);
    tree->Loaded();
    EXPECT_NE(tree->GetSkinIndex(), -1);
    EXPECT_TRUE(bar->Visible());
}

// ---- The rich edit ---------------------------------------------------------------------------------------------

TEST_F(SkinListsTest, TheRichEditEnablesItsBarWhenTheTextNeedsScrollingAndStepsByLines)
{
    auto* rich = new TspSkinRichEdit(Form);
    rich->SetParent(Form);
    rich->SetBounds(10, 10, 200, 100);
    TspSkinScrollBar* bar = NewBar(sbVertical);
    bar->SetVisible(false);
    rich->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible()) << "assigning a bar does not show it";
    EXPECT_FALSE(bar->Enabled()) << "no text to scroll";
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "Line " + std::to_string(i) + "\r\n";
    rich->SetText(text);
    Pump();
    ASSERT_TRUE(bar->Enabled());
    SCROLLINFO info {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(rich->Handle(), SB_VERT, &info);
    EXPECT_EQ(bar->Max(), info.nMax);
    EXPECT_EQ(bar->PageSize(), int(info.nPage));

    // The arrows step by lines, and not past either end.
    int vscrolls = 0;
    const auto hook = rich->WindowProc;
    rich->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_VSCROLL)
            ++vscrolls;
        hook(m);
    };
    bar->OnDownButtonClick(bar);
    EXPECT_EQ(vscrolls, 0) << "the lowering arrow at 0";
    bar->OnUpButtonClick(bar);
    EXPECT_EQ(vscrolls, 1);
    EXPECT_EQ(bar->Position(), 1);
    bar->SetPosition(bar->Max());
    const int last = bar->Position();
    EXPECT_EQ(last, bar->Max() - bar->PageSize() + 1);
    EXPECT_EQ(GetScrollPos(rich->Handle(), SB_VERT), last) << "the bar scrolled the edit";
    vscrolls = 0;
    bar->OnUpButtonClick(bar);
    EXPECT_EQ(vscrolls, 0) << "the raising arrow at the last position";
    rich->WindowProc = hook;
}

// ---- The column header ---------------------------------------------------------------------------------------

TEST_F(SkinListsTest, TheHeaderShowsAPressedSectionOnlyForAPressOffTheDividers)
{
    TspSkinListView* view = ReportView(10, false);
    ASSERT_NE(view->HeaderWindow(), nullptr) << "the header was subclassed as the view made it";
    RECT header {};
    GetWindowRect(view->HeaderWindow(), &header);
    const int y = 10 + (header.bottom - header.top) / 2;
    EXPECT_EQ(At(10 + 0, 10 + 3), Rgb(clBtnShadow)) << "the default look without a header record";
    EXPECT_EQ(At(10 + 20, 10 + 1), Rgb(clBtnFace));
    Backend.MouseMove(10 + 30, y);
    Backend.MouseDown();
    Pump();
    EXPECT_TRUE(view->HeaderPressed());
    EXPECT_EQ(view->ActiveSection(), 0);
    EXPECT_EQ(At(10 + 20, 10 + 1), Rgb(RGB(133, 147, 181)));
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(view->HeaderPressed());
    EXPECT_EQ(At(10 + 20, 10 + 1), Rgb(clBtnFace));

    Backend.AdvanceClock(1000);
    Backend.MouseMove(10 + 90, y);
    Backend.MouseDown();
    Pump();
    EXPECT_FALSE(view->HeaderPressed()) << "a divider";
    Backend.MouseUp();
    Pump();
}

TEST_F(SkinListsTest, TheHeaderPaintsItsSkinFaceAndLeavesTheContentToTheHook)
{
    TspSkinListView* view = ReportView(10);
    view->SetHeaderSkinDataName("headstrip");
    view->Columns()->Items(0)->SetCaption("A very long caption indeed");
    std::vector<std::string> hooked;
    view->OnDrawHeaderSection
        = [&hooked](TCanvas*, TListColumn* column, bool, TRect) { hooked.push_back(column->Caption()); };
    InvalidateRect(view->HeaderWindow(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(view->GetHeaderSkinIndex(), Skin->GetControlIndex("headstrip"));
    ASSERT_GE(hooked.size(), 2u);
    RECT header {};
    GetWindowRect(view->HeaderWindow(), &header);
    const int h = header.bottom - header.top;
    // The 20-pixel strip is stretched over the header's height: one of its rows shows the left cap and the tiled
    // middle, and no text.
    int row = -1;
    for (int y = 60; y < 80 && row == -1; ++y)
        if (At(10, 10 + h / 2) == Sheet(0, y))
            row = y;
    ASSERT_NE(row, -1) << "the strip's left cap";
    for (int x = 0; x < 85; ++x)
        ASSERT_EQ(At(10 + x, 10 + h / 2), Sheet(x < 5 ? x : 5 + (x - 5) % 70, row)) << x;

    // A missing record: the default look.
    view->SetHeaderSkinDataName("missing");
    InvalidateRect(view->HeaderWindow(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(At(10 + 20, 10 + 1), Rgb(clBtnFace));
}

// The sections' faces are kept by the skin between paints. After every change the header shows what it shows when
// the faces are made anew: a kept face found for a change it ignored would show a stale section.
TEST_F(SkinListsTest, TheKeptHeaderFacesFollowSizeCaptionStateAndSkin)
{
    TspSkinListView* view = ReportView(10, false);
    view->SetHeaderSkinDataName("headnine");
    view->SetSkinData(Skin);
    view->Columns()->Items(0)->SetCaption("Name");
    view->Columns()->Items(1)->SetCaption("Size");
    auto pixels = [&] {
        InvalidateRect(view->HeaderWindow(), nullptr, TRUE);
        Pump();
        RECT header {};
        GetWindowRect(view->HeaderWindow(), &header);
        std::vector<uint32_t> shown;
        for (int y = 0; y < header.bottom - header.top; ++y)
            for (int x = 0; x < header.right - header.left; ++x)
                shown.push_back(At(10 + x, 10 + y));
        return shown;
    };
    auto headerMiddle = [&] {
        RECT header {};
        GetWindowRect(view->HeaderWindow(), &header);
        return 10 + (header.bottom - header.top) / 2;
    };
    const struct {
        const char* what;
        std::function<void()> apply;
    } kSteps[] = {
        { "as made", [] {} },
        { "a wider first column", [&] { view->Columns()->Items(0)->SetWidth(120); } },
        { "another caption", [&] { view->Columns()->Items(1)->SetCaption("Length"); } },
        { "pressed", [&] { Backend.MouseMove(10 + 30, headerMiddle()), Backend.MouseDown(), Pump(); } },
        { "released", [&] { Backend.MouseUp(), Pump(); } },
        { "a wider view", [&] { view->SetBounds(10, 10, 260, 150); } },
        { "another record", [&] { view->SetHeaderSkinDataName("headnine2"); } },
        { "the sheet drawn on under the sections", [&] {
             TCanvas* sheet = Skin->ActivePictures[0]->Canvas();
             sheet->Brush()->SetColor(clRed);
             sheet->FillRect(Rect(175, 62, 240, 78));
         } },
    };
    for (const auto& step : kSteps) {
        step.apply();
        const std::vector<uint32_t> shown = pixels();
        const uint64_t composed = Skin->ImageCache()->Compositions();
        EXPECT_EQ(pixels(), shown) << step.what;
        EXPECT_EQ(Skin->ImageCache()->Compositions(), composed) << step.what << ": a repaint composes nothing";
        Skin->ImageCache()->Clear();
        EXPECT_EQ(pixels(), shown) << step.what;
    }
}

#ifdef TP_SKIN_DIR
TEST_F(SkinListsTest, TheProgramsSkinDressesTheJobListAndItsHeader)
{
    auto* program = new TspSkinData(Application);
    program->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(program->Empty);
    TspSkinListView* view = ReportView(10, false);
    view->SetHeaderSkinDataName("HeadButton");
    view->SetSkinData(program);
    Pump();
    auto* record = dynamic_cast<TspDataSkinListView*>(
        program->ControlRecords[size_t(program->GetControlIndex("listview"))].get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(view->Color(), record->BGColor);
    EXPECT_NE(view->GetHeaderSkinIndex(), -1);
}
#endif

} // namespace
