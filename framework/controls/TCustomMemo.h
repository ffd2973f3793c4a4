// The memo: a multi-line TCustomEdit whose Lines are a TStrings over the window's lines.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/TCustomEdit.h"
#include "framework/core/TStrings.h"

#include <memory>

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// The lines as the window holds them: reading asks the window, writing replaces text in it. A text ending in a
// line break has no empty last line.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
    void Insert(int index, std::string_view s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    std::string Get(int index) const override;
    int GetCount() const override;
    void Put(int index, std::string_view s) override;

private:
    intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
    using inherited = TCustomEdit;

public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value) { FLines->Assign(value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    // The caret's row and column (0-based), and moving it there.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint value);

    void WndProc(TMessage& message) override;

protected:
    // A memo whose lines are of a kind of its own (the rich edit's).
    TCustomMemo(TComponent* owner, std::unique_ptr<TMemoStrings> lines);
    void CreateParams(TCreateParams& params) override;
    void KeyPress(char32_t& key) override;

private:
    std::unique_ptr<TMemoStrings> FLines;
    TAlignment FAlignment = taLeftJustify;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;

    friend class TMemoStrings;
};

class TMemo : public TCustomMemo {
    using inherited = TCustomMemo;

public:
    using TCustomMemo::TCustomMemo;
};
