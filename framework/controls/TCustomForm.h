// TCustomForm and TForm: top-level windows with border styles, position, modal loops, closing, focus
// management and key preview.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/core/TSet.h"

#include <memory>
#include <vector>

class TForm;
class TMainMenu;
class TMenuItem;
class TIcon;

enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon, biHelp>;
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TTileMode : uint8_t { tbHorizontal, tbVertical };
enum TFormStateItem : uint8_t { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem, fsActivated>;

// A form. It joins Screen->Forms when made and leaves it when deleted. Make one with Create<T>(owner),
// which also runs AfterConstruction (OnCreate); Application->CreateForm does the same for the application.
//
// NOTE: OnDestroy runs in DoDestroy, which the destructor calls; by then a derived form's own members are
// gone. A form whose OnDestroy uses them calls DoDestroy() first thing in its own destructor (it runs
// once).
//
// Focus: the form keeps its ActiveControl, gives it the focus whenever the form is activated, and on every
// change of focus sends CM_EXIT and CM_ENTER along the parent chains, CM_CANCELMODE to the control losing
// it, and broadcasts CM_FOCUSCHANGED to all its controls.
class TCustomForm : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    template <class T, class... Args> static T* Create(Args&&... args);
    // Fires OnCreate; the factory functions call it once the whole form is made.
    virtual void AfterConstruction();
    // Fires OnDestroy (once).
    void DoDestroy();

    // --- Window look ---------------------------------------------------------------------------------
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    // Switching to or from fsMDIForm remakes an existing window, which gains or loses its MDI client.
    void SetFormStyle(TFormStyle value);
    // The MDI client window of an fsMDIForm form (null for other forms and before the window exists): a child
    // window covering the client area that will hold the MDI children, erased in the application-workspace
    // colour.
    HWND ClientHandle() const { return FClientHandle; }
    // The menu item under which the MDI children are listed; not owned (cleared when it is deleted).
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    // The form's icon; the desktop shows it for the form's window, or the application's icon while it is empty.
    TIcon* Icon();
    // Hands the icon the desktop shows (the form's, else the application's) to the window; changes of either
    // icon call it.
    void UpdateWindowIcon();
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value) { FScaled = value; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }
    TFormState FormState() const { return FFormState; }

    // --- MDI (an fsMDIForm form and its fsMDIChild forms) ----------------------------------------------
    // An fsMDIChild form's window is made in the MDI client of the application's main form, which must be an
    // fsMDIForm form (else EInvalidOperation "Cannot create form. No MDI forms are currently active"). The
    // client keeps one child active and at most that one maximized; the forms' WindowState follows.
    //
    // The child forms whose windows are in this form's MDI client, in the order of Screen's forms.
    int MDIChildCount() const;
    TForm* MDIChildren(int index) const;
    TForm* ActiveMDIChild() const;
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode value) { FTileMode = value; }
    // Arrange the children in the client (tiled as TileMode says); Next and Previous activate the next or
    // the previous child. Nothing happens on a form that is not fsMDIForm.
    void Tile();
    void Cascade();
    void ArrangeIcons();
    void Next();
    void Previous();

    // --- Showing and closing -------------------------------------------------------------------------
    // Makes the form visible and brings it to the front.
    void Show();
    // Shows the form modally and runs the message loop until ModalResult is non-zero (or the application
    // terminates: mrCancel); returns the result. Every other form is disabled meanwhile. Raises
    // EInvalidOperation "Cannot make a visible window modal" for a visible or disabled form. Modal loops
    // nest, from inside another modal loop or from inside ProcessMessages.
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // OnCloseQuery, then OnClose: hides, minimizes or frees the form as the action says (a modal form just
    // ends its loop with mrCancel). Closing the main form terminates the application.
    void Close();
    // OnCloseQuery (and the CloseQuery of the forms it owns as MDI children); false keeps the form open.
    virtual bool CloseQuery();
    // Deletes the form once the messages already queued for it have been handled.
    void Release();
    bool Active() const { return FActive; }

    // --- Focus ---------------------------------------------------------------------------------------
    TWinControl* ActiveControl() const { return FActiveControl; }
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control that is not
    // on this form or cannot take the focus.
    void SetActiveControl(TWinControl* control);
    // Makes `control` the ActiveControl and gives the form the focus if it has none.
    void FocusControl(TWinControl* control);
    // Called for every focus change inside the form (WM_SETFOCUS of a control); false cancels it.
    bool SetFocusedControl(TWinControl* control);
    // Moves the form's focus away from `control` (and its children) when it is removed, hidden or disabled.
    void DefocusControl(TWinControl* control, bool removing);
    // CM_CANCELMODE to the focused control, when the form is active, with `sender` as the cause.
    void SendCancelMode(TControl* sender);
    void SetFocus() override;
    bool CanFocus() override;

    // --- Keys ----------------------------------------------------------------------------------------
    // OnShortCut, then the main menu, then the form's action lists; true when one used the key.
    virtual bool IsShortCut(TWMKey& message);

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TShortCutEvent OnShortCut;

    void WndProc(TMessage& message) override;
    // An fsMDIForm form's window defaults through DefFrameProc, an fsMDIChild form's through DefMDIChildProc.
    void DefaultHandler(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateWindowHandle(const TCreateParams& params) override;
    // An fsMDIForm form's MDI client fills what its aligned controls leave.
    void AlignControls(TControl* control, TRect& rect) override;
    void DestroyWindowHandle() override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SetParent(TWinControl* value) override;

    virtual void Activate();
    virtual void Deactivate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    // Ends a modal loop whose ModalResult was set: OnCloseQuery and OnClose may keep it going.
    void CloseModal();

    void WMActivate(TMessage& message);
    void WMMDIActivate(TMessage& message);
    void WMClose(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMSize(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMRelease(TMessage& message);
    void CMActivate(TMessage& message);
    void CMDeactivate(TMessage& message);

private:
    friend class TScreen;
    void SetActive(bool value);
    void SetWindowFocus();
    void PlaceByPosition();
    void CreateMDIClient();
    void SizeMDIClient();
    // The MDI client of the application's main form, when that is an fsMDIForm form.
    static HWND MainMDIClient();
    bool IsMDIChildWindow() const;
    // Sends a message about this form's window to the MDI client it lives in.
    void SendToMDIClient(UINT msg);
    // Sends a focus message; false when the focus moved on meanwhile (the caller then stops).
    bool SendFocusMessage(HWND hwnd, uint32_t msg);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons { biSystemMenu, biMinimize, biMaximize };
    TFormStyle FFormStyle = fsNormal;
    HWND FClientHandle = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    TTileMode FTileMode = tbHorizontal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    std::unique_ptr<TIcon> FIcon;
    TMainMenu* FMenu = nullptr;
    bool FKeyPreview = false;
    bool FScaled = true;
    bool FAutoScroll = false;
    TFormState FFormState;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TWinControl* FLastFocus = nullptr;
    bool FDestroyed = false;
    bool FPlaced = false;
    int FFocusCount = 0;
};

class TForm : public TCustomForm {
    using inherited = TCustomForm;

public:
    using TCustomForm::TCustomForm;
};

template <class T, class... Args> T* TCustomForm::Create(Args&&... args)
{
    T* form = new T(std::forward<Args>(args)...);
    try {
        form->AfterConstruction();
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}
