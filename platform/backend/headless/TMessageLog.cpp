#include "platform/backend/headless/TMessageLog.h"

#include <algorithm>

std::vector<TLoggedMessage> TMessageLog::ForWindow(HWND hwnd) const
{
    std::vector<TLoggedMessage> out;
    for (const TLoggedMessage& e : FEntries)
        if (e.Window == hwnd)
            out.push_back(e);
    return out;
}

std::vector<TLoggedMessage> TMessageLog::Only(std::initializer_list<UINT> messages, HWND hwnd) const
{
    std::vector<TLoggedMessage> out;
    for (const TLoggedMessage& e : FEntries)
        if ((!hwnd || e.Window == hwnd) && std::find(messages.begin(), messages.end(), e.Message) != messages.end())
            out.push_back(e);
    return out;
}

std::vector<UINT> TMessageLog::Sequence(std::initializer_list<UINT> messages, HWND hwnd) const
{
    std::vector<UINT> out;
    for (const TLoggedMessage& e : Only(messages, hwnd))
        out.push_back(e.Message);
    return out;
}

size_t TMessageLog::MessageStarted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int depth)
{
    if (!FEnabled)
        return 0;
    FEntries.push_back(TLoggedMessage { hwnd, message, wParam, lParam, 0, depth, false });
    // The token is the absolute position, so entries cleared in between are recognised.
    return FBase + FEntries.size();
}

void TMessageLog::MessageFinished(size_t token, LRESULT result)
{
    if (token <= FBase || token - FBase > FEntries.size())
        return;
    TLoggedMessage& e = FEntries[token - FBase - 1];
    e.Result = result;
    e.Finished = true;
}
