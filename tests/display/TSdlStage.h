// TSdlStage, the window layer over the SDL backend on a private Xvfb: input through xdotool, drops through our
// XDND source, pixels read back from the X server.
#pragma once
#include "tests/display/TWindowStage.h"
#include "tests/display/support/TXSession.h"

#include <memory>

class TSdlBackend;

class TSdlStage final : public TWindowStage {
public:
    explicit TSdlStage(TXSession& session);
    ~TSdlStage() override;
    std::string Name() const override;
    TXSession& Session() { return FSession; }

    void MoveTo(int x, int y, std::initializer_list<UINT> awaited = { WM_MOUSEMOVE, WM_NCMOUSEMOVE }) override;
    void ButtonDown(std::initializer_list<UINT> awaited = { WM_LBUTTONDOWN, WM_NCLBUTTONDOWN }) override;
    void ButtonUp(std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP }) override;
    // xdotool's click 3.
    void RightClick(std::initializer_list<UINT> awaited = { WM_RBUTTONUP, WM_NCRBUTTONUP }) override;
    void DragBy(int x, int y, int dx, int dy,
        std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP, WM_EXITSIZEMOVE }) override;
    // xdotool's clicks of the wheel buttons, one per notch.
    void Wheel(int notches, std::initializer_list<UINT> awaited = { WM_MOUSEWHEEL }) override;
    void DropFiles(const std::vector<std::string>& paths, int x, int y) override;
    void Pump(std::chrono::milliseconds slice = std::chrono::milliseconds(0)) override;
    TStagePixels Grab(const RECT& area) override;
    void Settle(const RECT& area) override;

    // Types text with xdotool; returns once `characters` WM_CHAR messages more have been delivered.
    void Type(const std::string& utf8, size_t characters) override;
    // The chord as xdotool's key names ("ctrl+c").
    void Keys(std::initializer_list<UINT> chord) override;
    // Runs the loop until `done` holds, blocking on the display's events meanwhile; false after `timeout`.
    bool PumpUntil(
        const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(15)) override;

protected:
    bool StartBackend() override;
    void StopBackend() override;

private:
    TXSession& FSession;
    std::unique_ptr<TSdlBackend> FBackend;
};
