// TShutDownForm, the countdown shown after a batch when "Auto Shutdown" is ticked, and the system shutdown.
#pragma once
#include "framework/controls/Forms.h"

class TFrLabel;
class TImage;
class TspSkinBevel;
class TspSkinButton;
class TspSkinForm;
class TTimer;

// Counts 15 seconds down on its label, one a second, and then shuts the system down, unless the user cancels
// ("Cancel" or Esc) first; "Shutdown" does it at once.
class TShutDownForm : public TForm {
    using inherited = TForm;

public:
    explicit TShutDownForm(TComponent* owner);

    // Closes the dialog and asks the system to shut down. It runs once: the countdown stops first, so a tick
    // that was already due cannot ask a second time.
    void DoShutdown();

    TspSkinForm* FormSkinner = nullptr;
    TFrLabel* lblInfo = nullptr;
    TImage* Image = nullptr;
    TspSkinBevel* spSkinBevel2 = nullptr;
    TspSkinButton* btnOk = nullptr;
    TspSkinButton* btnCancel = nullptr;
    TTimer* Timer = nullptr;
    int SecondsLeft = 15;

private:
    void CreateComponents();
    void FormShow(TObject* sender);
    void TimerTimer(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void FormKeyPress(TObject* sender, char32_t& key);

    bool FShutdownAsked = false;
};

// Shows the countdown modally and deletes it.
void ShowShutdownDialog();
// Asks the system to power off (the desktop's power-off service). False when the request cannot be made or is
// refused; nothing else happens then.
bool ShutdownWindows();
