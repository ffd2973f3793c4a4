// TUpDown, the framework's up-down control over the platform's "msctls_updown32" window class: two arrow
// buttons stepping Position by Increment within Min..Max, shown in the associated control's text.
#pragma once
#include "framework/controls/TWinControl.h"

enum TUDAlignButton : uint8_t { udLeft, udRight };
enum TUDOrientation : uint8_t { udHorizontal, udVertical };
enum TUDBtnType : uint8_t { btNext, btPrev };
enum TUpDownDirection : uint8_t { updNone, updUp, updDown };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;
using TUDChangingEventEx
    = std::function<void(TObject* sender, bool& allowChange, int newValue, TUpDownDirection direction)>;

class TCustomUpDown : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomUpDown(TComponent* owner);

    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value);
    // The control whose text shows the position (an edit, say); the up-down sits beside it.
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* value);
    // The step of a click; a held button takes larger steps after a while.
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    // The window's position, which a number typed into the associated control changes.
    int Position() const;
    // Asks OnChanging first; a refused change leaves the position.
    void SetPosition(int value);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);

    // After a step by a button or key: which way it went.
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    TUDChangingEventEx OnChangingEx;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange();
    virtual bool DoCanChange(int newValue, int delta);
    virtual void Click(TUDBtnType button);
    void UpdateStyle();
    void CNNotify(TMessage& message);
    void CNScroll(TMessage& message);

private:
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

    TUDAlignButton FAlignButton = udRight;
    bool FArrowKeys = true;
    TWinControl* FAssociate = nullptr;
    int FIncrement = 1;
    int FMin = 0;
    int FMax = 100;
    TUDOrientation FOrientation = udVertical;
    mutable int FPosition = 0;
    bool FThousands = true;
    bool FWrap = false;
};

class TUpDown : public TCustomUpDown {
public:
    using TCustomUpDown::TCustomUpDown;
};
