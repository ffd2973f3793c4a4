// The memo case of the controls benchmark.
//   memo_typing: a memo holding 100,000 lines takes 10,000 typed characters (a line break after every 50) in its
//   middle, and gives its text back; the peer splits the same text into a std::vector<std::string>, inserts
//   the same characters at the same places and joins the lines again.
#include "bench/BenchTiming.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/EditControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 100000;
constexpr int kTyped = 10000;

std::string MakeText()
{
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "line " + std::to_string(i) + " of the memo with some words in it\r\n";
    return text;
}

char TypedChar(int i) { return i % 50 == 49 ? '\r' : static_cast<char>('a' + i % 26); }

size_t TypeIntoMemo(const std::string& text)
{
    HWND parent = CreateWindowEx(0, "BenchParent", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    HWND memo = CreateWindowEx(0, WC_EDIT, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0,
        0, 600, 400, parent, nullptr, nullptr, nullptr);
    SendMessage(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    LRESULT middle = SendMessage(memo, EM_LINEINDEX, kLines / 2, 0);
    SendMessage(memo, EM_SETSEL, middle + 5, middle + 5);
    for (int i = 0; i < kTyped; ++i)
        SendMessage(memo, WM_CHAR, static_cast<WPARAM>(TypedChar(i)), 1);
    std::string out(GetWindowTextLength(memo) + 1, '\0');
    out.resize(GetWindowText(memo, out.data(), static_cast<int>(out.size())));
    DestroyWindow(parent);
    return out.size();
}

size_t TypeIntoVector(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        size_t end = text.find("\r\n", start);
        lines.emplace_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    size_t line = kLines / 2, column = 5;
    for (int i = 0; i < kTyped; ++i) {
        char c = TypedChar(i);
        if (c == '\r') {
            lines.insert(lines.begin() + line + 1, lines[line].substr(column));
            lines[line].resize(column);
            ++line;
            column = 0;
        } else {
            lines[line].insert(column, 1, c);
            ++column;
        }
    }
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += "\r\n";
        out += lines[i];
    }
    return out.size();
}

} // namespace

// Runs the case inside the benchmark's installed backend; false when the two sides end with different texts.
bool RunMemoTyping()
{
    RegisterEditClass();
    WNDCLASS wc {};
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "BenchParent";
    RegisterClass(&wc);
    const std::string text = MakeText();
    size_t ours = 0, peer = 0;
    double oursMs = BestOf([&] { ours = TypeIntoMemo(text); }, 3);
    double peerMs = BestOf([&] { peer = TypeIntoVector(text); }, 3);
    if (ours != peer) {
        std::fprintf(stderr, "memo_typing: the memo holds %zu bytes, the vector %zu\n", ours, peer);
        return false;
    }
    Report("memo_typing", oursMs, peerMs);
    return true;
}
