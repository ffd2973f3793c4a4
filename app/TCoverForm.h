// TCoverForm, the splash window the start-up shows while the skins and profiles load.
#pragma once
#include "framework/controls/Forms.h"

#include <string_view>

class TImage;
class TLabel;

// Borderless, centred on the desktop, 553 x 260, unskinned: the splash picture, the version line at the top
// right, the edition pictures, and the status line at the bottom right that the start-up fills stage by stage.
class TCoverForm : public TForm {
    using inherited = TForm;

public:
    explicit TCoverForm(TComponent* owner);

    // Shows `text` on the status line and paints it at once: nothing else paints the splash while the start-up
    // loads, since no messages are handled meanwhile.
    void ShowInfoText(std::string_view text);

    TImage* Image1 = nullptr;
    TLabel* lblVersion = nullptr;
    TImage* ProTextImage = nullptr;
    TImage* IconProImage = nullptr;
    TImage* IconStdImage = nullptr;
    TLabel* lblInfoText = nullptr;

private:
    void CreateComponents();
};
