#include "app/TShutDownForm.h"

#include "app/AppPictures.h"
#include "app/ProfileFormLayout.h"
#include "framed/FrLabel.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TTimer.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellPower.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEffectLabels.h"

#include <memory>

using namespace ProfileFormLayout;

TShutDownForm::TShutDownForm(TComponent* owner)
    : TForm(owner)
{
    CreateComponents();
}

void TShutDownForm::CreateComponents()
{
    SetCaption("Shutdown");
    SetBorderStyle(bsDialog);
    SetBorderIcons({});
    SetColor(TColor(15395562));
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);
    SetScaled(false);
    SetClientWidth(330);
    SetClientHeight(134);
    FormSkinner = NewFormSkinner(this);
    FormSkinner->SetBorderIcons({ TspBorderIcon::biSystemMenu });

    Image = NewAppImage(this, this, "Shutdown.bmp", 14, 14, 68, 69);
    lblInfo = new TFrLabel(this);
    lblInfo->SetParent(this);
    lblInfo->SetAutoSize(false);
    lblInfo->SetBounds(96, 14, 222, 69);
    lblInfo->SetLayout(tlCenter);
    lblInfo->SetTextStyle(tsRecessed);
    lblInfo->SetLightTextStyle(true);
    lblInfo->SetTransparent(true);
    lblInfo->SetCaption("System will shutdown in 15 seconds");
    spSkinBevel2 = Place<TspSkinBevel>(this, this, 8, 92, 314, 2);
    spSkinBevel2->SetShape(bsTopLine);

    btnOk = Place<TspSkinButton>(this, this, 152, 100, 80, 25);
    btnOk->SetCaption("Shutdown");
    btnCancel = Place<TspSkinButton>(this, this, 240, 100, 80, 25);
    btnCancel->SetCaption("Cancel");

    Timer = new TTimer(this);
    Timer->SetInterval(1000);
    Timer->SetEnabled(false);

    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
    Timer->SetOnTimer([this](TObject* sender) { TimerTimer(sender); });
    btnOk->OnClick = [this](TObject* sender) { btnOkClick(sender); };
    btnCancel->OnClick = [this](TObject* sender) { btnCancelClick(sender); };
}

void TShutDownForm::FormShow(TObject*)
{
    Timer->SetEnabled(true);
}

void TShutDownForm::TimerTimer(TObject*)
{
    --SecondsLeft;
    if (SecondsLeft != 0)
        lblInfo->SetCaption(Format("System will shutdown in %d seconds", SecondsLeft));
    else
        DoShutdown();
}

void TShutDownForm::DoShutdown()
{
    Timer->SetEnabled(false);
    Close();
    if (FShutdownAsked)
        return;
    FShutdownAsked = true;
    ShutdownWindows();
}

void TShutDownForm::btnOkClick(TObject*)
{
    DoShutdown();
    Close();
}

void TShutDownForm::btnCancelClick(TObject*)
{
    Close();
}

void TShutDownForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        SetModalResult(mrCancel);
}

void ShowShutdownDialog()
{
    std::unique_ptr<TShutDownForm> form(TCustomForm::Create<TShutDownForm>(nullptr));
    form->ShowModal();
}

bool ShutdownWindows()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges;
    LookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, false, &privileges, 0, nullptr, nullptr);
    if (GetLastError() != 0)
        return false;
    return ExitWindowsEx(EWX_SHUTDOWN, 0);
}
