// Adding 10,000 analysed jobs to the main window's job list and repainting it, against filling the bare owner-data
// list view with the same 10,000 rows and painting it.
//
// Ours is the add road as the main window runs it once the analysis is done: AddAnalysedJobs giving each of the
// 10,000 analysed jobs its status, its own copy of the chosen profile and its output path, then the job list built
// as the main window builds it (the skinned panel of its area, the skinned owner-data view with the window's header
// captions, row icon and owner-drawn rows, and the skinned scroll bars it drives, which appear once the list
// fills) told the new count and repainted. The peer stores the same rows' texts and has the platform's own
// owner-data list view, of the same size and columns, with its own scroll bars, paint them. Both start each round from an empty list and from their rows already in memory: the peer from its row
// texts, ours from the analysed job objects, made before the clock starts (each new job's analysis answered by
// copying one real probe result into it, which is what probing the same source leaves). Probing is not adding:
// the peer's texts are what the analysis left too, so making the jobs and their analysis stay out of both times,
// while everything the add itself does, every job's own profile copy included, is in ours.
#include "bench/BenchDisplay.h"
#include "bench/BenchTiming.h"

#include "app/AddJobs.h"
#include "app/AppDialog.h"
#include "app/JobListView.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ListViewControl.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/SkinListViews.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kJobs = 10000;
// The job list's area on the main window's skin.
constexpr int kWidth = 517;
constexpr int kHeight = 308;
constexpr int kRounds = 10;

using TRowTexts = std::array<std::string, 8>;

// The peer's store of row texts, read by its parent when the view asks for a cell.
std::vector<TRowTexts> peerRows;
size_t peerCellsAsked = 0;

LRESULT PeerParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFO) {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
        const int row = info->item.iItem;
        if ((info->item.mask & LVIF_TEXT) && row >= 0 && row < static_cast<int>(peerRows.size())) {
            const std::string& text = peerRows[size_t(row)][size_t(info->item.iSubItem)];
            std::snprintf(info->item.pszText, size_t(info->item.cchTextMax), "%s", text.c_str());
        }
        ++peerCellsAsked;
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// The fastest round of each side, in milliseconds. The sides take turns round by round, so a busy spell of the
// machine falls on both rather than on whichever side happened to run then.
struct TBestOfBoth {
    double Ours = 1e300;
    double Peer = 1e300;
};

template <typename Reset, typename Run> double TimedRound(Reset reset, Run run)
{
    reset();
    const auto started = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

// Our side: the main window's job list as the window builds it: the skinned panel of the list's area on the form
// skin, the skinned scroll bars of the main skin outside the view, the view with its row icon, owner-drawn rows and
// header captions, filled and drawn from the jobs.
struct TOursList {
    TOursList(TForm* form, TspSkinData* formSkin, TspSkinData* mainSkin, const std::string& rowIcon)
    {
        Panel = PlaceControl<TspSkinPanel>(form, 0, 0, kWidth, kHeight);
        Panel->SetSkinData(formSkin);
        Panel->SetAreaName("FileList");
        auto* vertical = PlaceControl<TspSkinScrollBar>(Panel, kWidth - 21, 2, 19, kHeight - 23);
        vertical->SetSkinData(mainSkin);
        vertical->SetKind(sbVertical);
        vertical->SetSkinDataName("vscrollbar");
        vertical->SetAlign(alRight);
        auto* horizontal = PlaceControl<TspSkinScrollBar>(Panel, 2, kHeight - 21, kWidth - 23, 19);
        horizontal->SetSkinData(mainSkin);
        horizontal->SetSkinDataName("hscrollbar");
        horizontal->SetAlign(alBottom);
        Icons = new TImageList(form);
        Icons->SetWidth(16);
        Icons->SetHeight(16);
        TBitmap icon;
        icon.LoadFromFile(rowIcon);
        Icons->Add(&icon, nullptr);

        View = PlaceControl<TspSkinListView>(Panel, 2, 2, kWidth - 23, kHeight - 23);
        View->SetSkinData(formSkin);
        View->SetAlign(alClient);
        View->SetHeaderSkinDataName("HeadButton");
        View->SetViewStyle(vsReport);
        View->SetOwnerData(true);
        View->SetOwnerDraw(true);
        View->SetMultiSelect(true);
        View->SetRowSelect(true);
        View->SetReadOnly(true);
        View->SetHideSelection(false);
        View->SetSmallImages(Icons);
        View->SetHScrollBar(horizontal);
        View->SetVScrollBar(vertical);
        AddJobListColumns(View);
        View->OnData = [this](TObject*, TListItem* item) { FillJobRow(Jobs, item); };
        View->OnDrawItem = [this](TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state) {
            DrawJobRow(Jobs, sender, item, rect, state);
        };
        View->OnDrawHeaderSection = [](TCanvas* canvas, TListColumn* column, bool, TRect rect) {
            DrawJobListHeaderSection(canvas, column, rect);
        };
    }

    void Clear()
    {
        Jobs.clear();
        View->Items()->SetCount(0);
        SetJobListColumnWidths(View, true);
        Application->ProcessMessages();
    }

    // What adding files does once the analysis answered: the jobs get their settings and join the list, the
    // columns widen, the view takes the new count and repaints.
    void Add(TJobList newJobs, const TAddRoad& road)
    {
        AddAnalysedJobs(Jobs, std::move(newJobs), "/out/", road);
        SetJobListColumnWidths(View, Jobs.empty());
        View->Items()->SetCount(static_cast<int>(Jobs.size()));
        Repaint();
    }

    void Repaint()
    {
        View->Refresh();
        Application->ProcessMessages();
    }

    TspSkinPanel* Panel;
    TImageList* Icons;
    TspSkinListView* View;
    TJobList Jobs;
};

// The peer: the platform's owner-data report view with the same columns, answering cells from stored texts.
struct TPeerList {
    explicit TPeerList(HWND owner)
    {
        WNDCLASS wc {};
        wc.lpfnWndProc = &PeerParentProc;
        wc.lpszClassName = "BenchJobListParent";
        RegisterClass(&wc);
        Parent = CreateWindowEx(0, "BenchJobListParent", "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, owner,
            nullptr, nullptr, nullptr);
        View = CreateWindowEx(0, WC_LISTVIEW, "",
            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, kWidth, kHeight, Parent,
            nullptr, nullptr, nullptr);
        const char* captions[] = { "Source File", "Frame Size", "Duration", "Target Format", "Status",
            "Estimate Output File Size", "Output File", "Profile" };
        const int widths[] = { 90, 80, 80, 100, 80, 140, 200, 250 };
        for (int c = 0; c < 8; ++c) {
            LVCOLUMN column {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = widths[c];
            column.pszText = const_cast<char*>(captions[c]);
            SendMessage(View, LVM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
        }
    }

    void Clear()
    {
        peerRows.clear();
        peerRows.shrink_to_fit();
        SendMessage(View, LVM_SETITEMCOUNT, 0, 0);
        Application->ProcessMessages();
    }

    // The same rows stored one by one, the view told their count and painted.
    void Add(const std::vector<TRowTexts>& rows)
    {
        peerRows.reserve(rows.size());
        for (const TRowTexts& row : rows)
            peerRows.push_back(row);
        SendMessage(View, LVM_SETITEMCOUNT, static_cast<WPARAM>(peerRows.size()), 0);
        Repaint();
    }

    void Repaint()
    {
        InvalidateRect(View, nullptr, TRUE);
        Application->ProcessMessages();
    }

    HWND Parent;
    HWND View;
};

// One real clip, probed once: the result every new job's analysis copies.
std::unique_ptr<TConvertJob> ProbedClip(const std::string& path)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    std::string error;
    if (!MakeTestClip(path, spec, &error)) {
        std::fprintf(stderr, "cannot make the clip: %s\n", error.c_str());
        return nullptr;
    }
    auto job = std::make_unique<TConvertJob>(path);
    if (!job->Analyse()) {
        std::fprintf(stderr, "the clip does not probe\n");
        return nullptr;
    }
    job->Analysed = true;
    return job;
}

} // namespace

int main()
{
    THeadlessBackend backend;
    if (!InstallBenchDisplay(backend))
        return 1;
    RegisterListViewClass();
    QuietMediaLogs();
    // The add shows the hourglass while it works, through the handler the program installs.
    SetScreenCursorHandler([](int32_t cursor) { Screen->SetCursor(TCursor(cursor)); });

    TTestFolder folder;
    const std::string source = folder.File("clip.mp4");
    std::unique_ptr<TConvertJob> probed = ProbedClip(source);
    if (!probed)
        return 1;
    // The new jobs as the analysis leaves them.
    const auto analysedJobs = [&] {
        TJobList jobs;
        jobs.reserve(kJobs);
        for (int i = 0; i < kJobs; ++i) {
            auto job = std::make_unique<TConvertJob>(source);
            job->VideoInfo = probed->VideoInfo;
            job->VideoStreamIndex = probed->VideoStreamIndex;
            job->AudioStreamIndex = probed->AudioStreamIndex;
            job->Analysed = true;
            jobs.push_back(std::move(job));
        }
        return jobs;
    };
    // The analysis is done before the clock starts, so the road has none to run.
    TAddRoad road;
    const TMP4Profile profile("MP4", "");
    road.ChooseSettings = [&]() -> std::optional<TNewJobSettings> {
        return TNewJobSettings { profile.Clone(), false, true };
    };

    int status = 0;
    {
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
        auto* mainSkin = new TspSkinData(Application);
        mainSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/MainSkin.ini");
        if (skin->Empty || mainSkin->Empty) {
            std::fprintf(stderr, "the program's skins did not load\n");
            return 1;
        }
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kWidth, kHeight);
        TOursList ours(form, skin, mainSkin, std::string(TP_SKIN_DIR) + "/MainRowIcon.bmp");
        form->Show();
        Application->ProcessMessages();
        // One add before the clock, for the texts the peer's rows hold: the texts our rows show.
        ours.Add(analysedJobs(), road);
        std::vector<TRowTexts> rows;
        for (const auto& job : ours.Jobs) {
            const TJobRowTexts texts = JobRowTexts(*job);
            TRowTexts row;
            row[0] = texts.Caption;
            std::copy(texts.SubItems.begin(), texts.SubItems.end(), row.begin() + 1);
            rows.push_back(std::move(row));
        }
        TPeerList peer(form->Handle());
        // Only one view is shown at a time, so each paints the whole area.
        const auto showOurs = [&](bool shown) {
            ShowWindow(peer.Parent, shown ? SW_HIDE : SW_SHOW);
            ours.Panel->SetVisible(shown);
            Application->ProcessMessages();
        };
        TBestOfBoth add;
        TBestOfBoth repaint;
        TJobList newJobs;
        for (int round = 0; round < kRounds; ++round) {
            showOurs(true);
            add.Ours = std::min(add.Ours, TimedRound([&] {
                ours.Clear();
                newJobs = analysedJobs();
            }, [&] { ours.Add(std::move(newJobs), road); }));
            repaint.Ours = std::min(repaint.Ours, TimedRound([] {}, [&] { ours.Repaint(); }));
            showOurs(false);
            add.Peer = std::min(add.Peer, TimedRound([&] { peer.Clear(); }, [&] {
                peerCellsAsked = 0;
                peer.Add(rows);
            }));
            repaint.Peer = std::min(repaint.Peer, TimedRound([] {}, [&] { peer.Repaint(); }));
        }
        if (ours.Jobs.size() != size_t(kJobs) || peerCellsAsked == 0) {
            std::fprintf(stderr, "ours added %zu jobs; the peer's view asked for %zu cells\n", ours.Jobs.size(),
                peerCellsAsked);
            status = 1;
        }
        Report("joblist_add_10000_analysed_jobs_repaint", add.Ours, add.Peer);
        // The list's side alone: the full list repainted, its rows filled from the jobs and drawn by the job list's
        // own drawing, against the platform view painting the stored texts.
        Report("joblist_repaint_10000_rows", repaint.Ours, repaint.Peer);
    }
    SetScreenCursorHandler(nullptr);
    backend.Uninstall();
    return status;
}
