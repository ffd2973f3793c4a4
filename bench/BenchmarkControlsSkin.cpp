// Repainting a form of skinned buttons, check boxes, track bars and gauges on the headless display, and one frame of
// a button's hover morph, against BitBlt of the same areas; the skinned list box and list view scrolled through,
// against the framework's own. The controls wear the program's own skin.
#include "bench/BenchDisplay.h"
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/core/TspSkinData.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinListBox.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Milliseconds per call of `run`, best of several rounds of `count` calls.
double PerCall(int count, const std::function<void()>& run)
{
    return BestOf([&] {
        for (int i = 0; i < count; ++i)
            run();
    }) / count;
}

// A push button whose morph can be put part way, as a timer tick leaves it. The program's skin does not morph its
// buttons, so this one morphs whatever its record says.
class TMorphingButton : public TspSkinButton {
public:
    using TspSkinButton::TspSkinButton;
    void PaintMorphFrame(double factor)
    {
        FMorphKf = factor;
        Repaint();
    }
    void GetSkinData() override
    {
        TspSkinButton::GetSkinData();
        Morphing = SkinIndex != -1;
    }
};

template <class T> T* Place(TForm* form, TspSkinData* skin, int x, int y, int width, int height, std::vector<TRect>& areas)
{
    auto* control = new T(form);
    control->SetParent(form);
    control->SetSkinData(skin);
    control->SetBounds(x, y, width, height);
    areas.push_back(control->BoundsRect());
    return control;
}

// The peer: a BitBlt of every area between two memory DCs of the form's size.
double BlitAreas(const std::vector<TRect>& areas, int width, int height)
{
    TBitmap source, target;
    source.SetSize(width, height);
    target.SetSize(width, height);
    return PerCall(20, [&] {
        for (const TRect& r : areas)
            BitBlt(target.Canvas()->Handle(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top,
                source.Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    });
}

// Fills `list` (the plain list, or a skinned frame's inner one) with 100,000 items and scrolls it through page by
// page, each page painted before the next. Milliseconds for the whole, best of three rounds.
double FillAndScroll(TCustomListBox* list, TWinControl* painted)
{
    return BestOf(
        [&] {
            TStrings* items = list->Items();
            items->Clear();
            items->BeginUpdate();
            for (int i = 0; i < 100000; ++i)
                items->Add("Item number " + std::to_string(i));
            items->EndUpdate();
            list->SetTopIndex(0);
            painted->Update();
            const HWND window = list->Handle();
            int top = -1;
            while (list->TopIndex() != top) {
                top = list->TopIndex();
                SendMessage(window, WM_VSCROLL, SB_PAGEDOWN, 0);
                painted->Update();
            }
        },
        3);
}

} // namespace

int main()
{
    THeadlessBackend backend;
    if (!InstallBenchDisplay(backend))
        return 1;
    {
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
        if (skin->Empty) {
            std::fprintf(stderr, "the program's skin did not load\n");
            return 1;
        }
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 800, 600);
        std::vector<TRect> areas { Rect(0, 0, 800, 600) };
        TMorphingButton* first = nullptr;
        for (int i = 0; i < 40; ++i) {
            auto* button = Place<TMorphingButton>(form, skin, 10 + (i % 5) * 110, 10 + (i / 5) * 40, 100, 30, areas);
            button->SetCaption("Button " + std::to_string(i));
            if (!first)
                first = button;
        }
        for (int i = 0; i < 10; ++i) {
            auto* box = Place<TspSkinCheckRadioBox>(form, skin, 10 + (i % 5) * 150, 340 + (i / 5) * 30, 140, 25, areas);
            box->SetCaption("Check box " + std::to_string(i));
            box->SetChecked(i % 2 == 0);
        }
        for (int i = 0; i < 4; ++i) {
            auto* bar = Place<TspSkinTrackBar>(form, skin, 10 + i * 190, 410, 180, 25, areas);
            bar->SetValue(20 * (i + 1));
            auto* gauge = Place<TspSkinGauge>(form, skin, 10 + i * 190, 450, 180, 20, areas);
            gauge->SetValue(25 * i);
        }
        form->Show();
        Application->ProcessMessages();
        const HWND window = form->Handle();
        const double ours = PerCall(20, [&] {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
        Report("form_40_buttons_10_checks_4_tracks_4_gauges_800x600", ours, BlitAreas(areas, 800, 600));

        int step = 0;
        const double morph = PerCall(200, [&] { first->PaintMorphFrame(0.1 + (step++ % 8) / 10.0); });
        Report("button_hot_morph_frame_100x30", morph, BlitAreas({ first->BoundsRect() }, 800, 600));

        // The skinned list box against the framework's own, both 200 x 400 on the same form.
        auto* skinned = new TspSkinListBox(form);
        skinned->SetParent(form);
        skinned->SetSkinData(skin);
        skinned->SetBounds(10, 10, 200, 400);
        auto* plain = new TListBox(form);
        plain->SetParent(form);
        plain->SetStyle(lbOwnerDrawFixed);
        plain->SetItemHeight(skinned->ListBox()->ItemHeight());
        plain->SetBounds(220, 10, 200, 400);
        Application->ProcessMessages();
        const double listOurs = FillAndScroll(skinned->ListBox(), skinned);
        const double listPeer = FillAndScroll(plain, plain);
        Report("skinned_listbox_100k_items_fill_scroll", listOurs, listPeer);

        // A skinned owner-data report view of 100,000 rows with its skinned header and external skinned bar,
        // scrolled page by page through the bar, against the framework's own list view scrolled by its own pages.
        auto* view = new TspSkinListView(form);
        view->SetParent(form);
        view->SetBounds(10, 10, 400, 400);
        view->SetViewStyle(vsReport);
        view->SetOwnerData(true);
        view->SetHeaderSkinDataName("HeadButton");
        auto* bar = new TspSkinScrollBar(form);
        bar->SetKind(sbVertical);
        bar->SetSkinDataName("vscrollbar");
        bar->SetParent(form);
        bar->SetBounds(410, 10, 19, 400);
        bar->SetSkinData(skin);
        auto* peer = new TListView(form);
        peer->SetParent(form);
        peer->SetBounds(440, 10, 400, 400);
        peer->SetViewStyle(vsReport);
        peer->SetOwnerData(true);
        for (TCustomListView* v : { static_cast<TCustomListView*>(view), static_cast<TCustomListView*>(peer) }) {
            v->OnData = [](TObject*, TListItem* item) { item->SetCaption("Row " + std::to_string(item->Index())); };
            for (int width : { 200, 150 })
                v->Columns()->Add()->SetWidth(width);
            v->Items()->SetCount(100000);
        }
        view->SetSkinData(skin);
        view->SetVScrollBar(bar);
        Application->ProcessMessages();
        const double viewOurs = BestOf(
            [&] {
                bar->SetPosition(0);
                view->Update();
                for (int page = 0; page < 1000; ++page) {
                    bar->SetPosition(bar->Position() + bar->LargeChange());
                    view->Update();
                    bar->Update();
                }
            },
            3);
        const HWND peerWindow = peer->Handle();
        const double viewPeer = BestOf(
            [&] {
                SendMessage(peerWindow, WM_VSCROLL, SB_TOP, 0);
                peer->Update();
                for (int page = 0; page < 1000; ++page) {
                    SendMessage(peerWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
                    peer->Update();
                }
            },
            3);
        Report("skinned_listview_100k_rows_scroll_1000_pages", viewOurs, viewPeer);
    }
    FinalizeForms();
    backend.Uninstall();
    return 0;
}
