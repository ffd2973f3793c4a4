// The standard controls against the bare data structures they keep: the list box's sorted inserts and a scroll
// through the whole list, against the same inserts and page walk over a std::vector<std::string>; and typing
// into a memo (BenchmarkControlsMemo.cpp).
#include "BenchTiming.h"

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 100000;
constexpr int kPage = 10;

std::vector<std::string> MakeTexts()
{
    std::mt19937 random(23);
    std::vector<std::string> texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        texts.push_back("Item " + std::to_string(random() % 1000000) + " of the list");
    return texts;
}

// Inserts every text into a sorted list box, then pages through it reading the text of every item shown.
size_t ListBoxRun(HWND parent, const std::vector<std::string>& texts)
{
    HWND box = CreateWindowEx(0, WC_LISTBOX, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_SORT | LBS_NOINTEGRALHEIGHT,
        0, 0, 200, 16 * kPage, parent, nullptr, nullptr, nullptr);
    SendMessage(box, LB_SETITEMHEIGHT, 0, 16);
    for (const std::string& text : texts)
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    size_t seen = 0;
    char buffer[64];
    for (int top = 0;; top += kPage) {
        SendMessage(box, LB_SETTOPINDEX, top, 0);
        for (int i = top; i < std::min(top + kPage, kItems); ++i)
            seen += static_cast<size_t>(SendMessage(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer)));
        if (top + kPage >= kItems)
            break;
    }
    DestroyWindow(box);
    return seen;
}

// The same work on the bare vector: sorted inserts with the same comparison, then the same page walk.
size_t VectorRun(const std::vector<std::string>& texts)
{
    std::vector<std::string> list;
    for (const std::string& text : texts) {
        auto at = std::upper_bound(list.begin(), list.end(), text,
            [](const std::string& a, const std::string& b) { return CompareTextNoCase(a, b) < 0; });
        list.insert(at, text);
    }
    size_t seen = 0;
    char buffer[64];
    for (int top = 0; top < kItems; top += kPage)
        for (int i = top; i < std::min(top + kPage, kItems); ++i) {
            const std::string& text = list[i];
            text.copy(buffer, sizeof buffer - 1);
            seen += text.size();
        }
    return seen;
}

} // namespace

bool RunMemoTyping();

int main()
{
    THeadlessBackend backend;
    if (!backend.Install())
        return 1;
    // The log of every message is for tests; a program runs without it.
    backend.Log().SetEnabled(false);
    RegisterListBoxClass();
    WNDCLASS wc {};
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "BenchParent";
    RegisterClass(&wc);
    HWND parent = CreateWindowEx(0, "BenchParent", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    const std::vector<std::string> texts = MakeTexts();
    size_t oursSeen = 0, peerSeen = 0;
    double ours = BestOf([&] { oursSeen = ListBoxRun(parent, texts); }, 3);
    double peer = BestOf([&] { peerSeen = VectorRun(texts); }, 3);
    if (oursSeen != peerSeen)
        std::fprintf(stderr, "the list box and the vector saw different texts\n");
    Report("listbox_sorted_insert_scroll", ours, peer);
    DestroyWindow(parent);
    const bool memoAgrees = RunMemoTyping();
    backend.Uninstall();
    return oursSeen == peerSeen && memoAgrees ? 0 : 1;
}
