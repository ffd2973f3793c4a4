// The scenario of the skinned list view's display test.
#include "tests/display/SkinListViewScenario.h"

#include "framework/controls/Forms.h"
#include "platform/controls/ListViewControl.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListViews.h"
#include "tests/display/TApplicationLoop.h"

using namespace std::chrono_literals;

namespace {

constexpr int kRows = 10000;

// The form's place on the screen, and the view's and the bars' in its client.
constexpr RECT kFormArea { 150, 120, 570, 420 };
constexpr RECT kViewArea { 10, 10, 330, 230 };

// Where the view and its bars stand: the view's top row and first pixel column against its bars' positions.
std::string Standing(const std::string& step, TspSkinListView* view, TspSkinScrollBar* vertical,
    TspSkinScrollBar* horizontal)
{
    const HWND window = view->Handle();
    const int top = static_cast<int>(SendMessage(window, LVM_GETTOPINDEX, 0, 0));
    const int left = GetScrollPos(window, SB_HORZ);
    const bool agree = top == vertical->Position() && left == horizontal->Position();
    return step + ": top " + std::to_string(top) + " bar " + std::to_string(vertical->Position()) + ", left "
        + std::to_string(left) + " bar " + std::to_string(horizontal->Position()) + (agree ? "" : " DISAGREE");
}

// The screen point at the middle of a bar's thumb.
TPoint ThumbCentre(TspSkinScrollBar* bar)
{
    bar->CalcRects();
    const TRect thumb = bar->PartRect(TspSkinScrollBar::spThumb);
    return bar->ClientToScreen(TPoint { (thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2 });
}

} // namespace

TSkinFormScreens PlaySkinListView(TWindowStage& stage, const std::string& skinFolder)
{
    TSkinFormScreens result;
    {
        const TApplicationLoop loop(stage);
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(skinFolder + "/Skin.ini");
        result.Facts.push_back(std::string("skin loaded: ") + (skin->Empty ? "no" : "yes"));
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(kFormArea.left, kFormArea.top, kFormArea.right - kFormArea.left,
            kFormArea.bottom - kFormArea.top);

        auto* view = new TspSkinListView(form);
        view->SetParent(form);
        view->SetBounds(kViewArea.left, kViewArea.top, kViewArea.right - kViewArea.left,
            kViewArea.bottom - kViewArea.top);
        view->SetViewStyle(vsReport);
        view->SetOwnerData(true);
        view->SetHeaderSkinDataName("HeadButton");
        for (const char* caption : { "Name", "Size", "Kind" }) {
            TListColumn* column = view->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(150);
        }
        view->OnData = [](TObject*, TListItem* item) {
            item->SetCaption("Row " + std::to_string(item->Index()));
            item->SubItems()->Add(std::to_string(item->Index() * 7 % 1000) + " KB");
            item->SubItems()->Add(item->Index() % 3 ? "video" : "audio");
        };
        view->Items()->SetCount(kRows);
        auto bar = [&](TScrollBarKind kind, const char* record, int x, int y, int w, int h) {
            auto* b = new TspSkinScrollBar(form);
            b->SetKind(kind);
            b->SetSkinDataName(record);
            b->SetParent(form);
            b->SetBounds(x, y, w, h);
            b->SetSkinData(skin);
            return b;
        };
        TspSkinScrollBar* vertical = bar(sbVertical, "vscrollbar", kViewArea.right, kViewArea.top, 16,
            kViewArea.bottom - kViewArea.top);
        TspSkinScrollBar* horizontal = bar(sbHorizontal, "hscrollbar", kViewArea.left, kViewArea.bottom,
            kViewArea.right - kViewArea.left, 16);
        view->SetSkinData(skin);
        view->SetVScrollBar(vertical);
        view->SetHScrollBar(horizontal);
        form->Show();
        stage.Settle(kFormArea);
        // The view with its bars, on the screen.
        const RECT shown { kFormArea.left + kViewArea.left, kFormArea.top + kViewArea.top,
            kFormArea.left + kViewArea.right + 16, kFormArea.top + kViewArea.bottom + 16 };
        auto grab = [&] {
            stage.Settle(shown);
            result.Screens.push_back(stage.Grab(shown));
        };
        result.Facts.push_back(std::string("bars shown: ") + (vertical->Visible() ? "yes" : "no") + ", "
            + (horizontal->Visible() ? "yes" : "no"));
        result.Facts.push_back(Standing("start", view, vertical, horizontal));
        grab();

        // The vertical thumb dragged down, then the horizontal one to the right: the view follows each bar.
        const TPoint down = ThumbCentre(vertical);
        stage.DragBy(down.X, down.Y, 0, 60);
        stage.Pump();
        result.Facts.push_back(Standing("vertical thumb dragged", view, vertical, horizontal));
        grab();
        const TPoint right = ThumbCentre(horizontal);
        stage.DragBy(right.X, right.Y, 40, 0);
        stage.Pump();
        result.Facts.push_back(Standing("horizontal thumb dragged", view, vertical, horizontal));
        grab();

        // A click on a row gives the view the focus, which the wheel and the keys go to; the bars follow the view.
        const TPoint row = view->ClientToScreen(TPoint { 60, 60 });
        stage.MoveTo(row.X, row.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        result.Facts.push_back(std::string("view focused: ") + (view->Focused() ? "yes" : "no"));
        stage.Wheel(-2);
        stage.Pump();
        result.Facts.push_back(Standing("wheel down 2", view, vertical, horizontal));
        stage.Wheel(1);
        stage.Pump();
        result.Facts.push_back(Standing("wheel up 1", view, vertical, horizontal));
        grab();
        // The first Page Down takes the focus to the page's last row, the second scrolls a page.
        stage.Keys({ VK_NEXT });
        stage.Keys({ VK_NEXT });
        result.Facts.push_back(Standing("page down twice", view, vertical, horizontal));
        stage.Keys({ VK_END });
        result.Facts.push_back(Standing("end", view, vertical, horizontal));
        grab();
        stage.Keys({ VK_HOME });
        result.Facts.push_back(Standing("home", view, vertical, horizontal));
        grab();
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    return result;
}
