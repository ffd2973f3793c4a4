// TMessageLog, the record of every message the window procedures received, in order, with its result.
#pragma once
#include "platform/win/Platform.h"

#include <initializer_list>
#include <vector>

struct TLoggedMessage {
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    // How many messages were being handled when this one arrived (0: from the loop or the caller).
    int Depth = 0;
    // False while the message is still being handled (or its handler threw).
    bool Finished = false;
};

// Entries are in the order the messages arrived: a message sent from inside a handler comes after the message
// that handler runs for, and its result is filled in when it returns.
class TMessageLog final : public TMessageObserver {
    using inherited = TMessageObserver;

public:
    const std::vector<TLoggedMessage>& Entries() const { return FEntries; }
    // The entries of one window.
    std::vector<TLoggedMessage> ForWindow(HWND hwnd) const;
    // The entries with one of `messages`, of any window (or of `hwnd` when given).
    std::vector<TLoggedMessage> Only(std::initializer_list<UINT> messages, HWND hwnd = nullptr) const;
    // The message numbers of Only(), for comparing sequences.
    std::vector<UINT> Sequence(std::initializer_list<UINT> messages, HWND hwnd = nullptr) const;
    void Clear()
    {
        FBase += FEntries.size();
        FEntries.clear();
    }
    // While disabled nothing is recorded.
    void SetEnabled(bool enabled) { FEnabled = enabled; }

    size_t MessageStarted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int depth) override;
    void MessageFinished(size_t token, LRESULT result) override;

private:
    std::vector<TLoggedMessage> FEntries;
    bool FEnabled = true;
    // Tokens are absolute positions counted from 1 (0: not recorded); FBase counts the cleared entries, so a
    // message still running across a Clear() does not write into a newer entry.
    size_t FBase = 0;
};
