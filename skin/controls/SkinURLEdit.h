// TspSkinURLEdit: a skinned edit holding a web or mail address; over the text it is underlined with a hand
// pointer, and a click there opens the address with the desktop's program.
#pragma once
#include "skin/controls/SkinEdits.h"

enum TspURLLinkType : uint8_t { spltHTTP, spltMail };

class TspSkinURLEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    explicit TspSkinURLEdit(TComponent* owner);

    // Hover look and click-to-open are on.
    bool Execute() const { return FExecute; }
    void SetExecute(bool value) { FExecute = value; }
    TspURLLinkType LinkType() const { return FLinkType; }
    void SetLinkType(TspURLLinkType value) { FLinkType = value; }
    bool Hot() const { return FHot; }

    // X (client coordinate) lies over the text, which starts at the client's left edge.
    bool InText(int x) const { return x < FTextWidth; }
    void WndProc(TMessage& message) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void SetHot(bool value);
    void MeasureText();

    bool FExecute = true;
    TspURLLinkType FLinkType = spltHTTP;
    bool FHot = false;
    bool FLeftDown = false;
    int FTextWidth = 0;
};
