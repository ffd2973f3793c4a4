// What the windowed and the windowless menu button share: the popup menu they hold, the track part that opens
// it in track-button mode, and the opening of the popup and the images menu at the button's screen rectangle.
// Each button keeps its own looks and its own answers to the menu's close.
#pragma once
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspSkinData.h"

#include <string>

template <class Button> class TspSkinMenuTrack : public Button {
    using inherited = Button;

public:
    using Button::Button;

    bool TrackButtonMode() const { return FTrackButtonMode; }
    // Repaints only without a record.
    void SetTrackButtonMode(bool value)
    {
        FTrackButtonMode = value;
        if (this->SkinIndex == -1)
            this->Repaint();
    }
    // Not owned; the link must be a component, so that its deletion is heard.
    TspPopupMenuLink* SkinPopupMenu() const { return FPopupMenu; }
    void SetSkinPopupMenu(TspPopupMenuLink* value)
    {
        if (FPopupMenu == value)
            return;
        if (FPopupMenuComponent)
            FPopupMenuComponent->RemoveFreeNotification(this);
        FPopupMenu = value;
        // Kept apart: while the menu is destroyed its link part is gone before its deletion is heard.
        FPopupMenuComponent = dynamic_cast<TComponent*>(value);
        if (FPopupMenuComponent)
            FPopupMenuComponent->FreeNotification(this);
    }
    // After each menu opened, and after each close.
    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // A menu opened by this button is showing.
    bool MenuOpen() const { return FMenuOpen; }
    // Whether a press at (x, y) (client coordinates) opens the menu.
    bool CanMenuTrack(int x, int y) const
    {
        if (!HasMenu())
            return false;
        if (!FTrackButtonMode)
            return true;
        const TRect part = this->SkinIndex == -1 || ToolLookName() ? Strip() : GetNewTrackButtonRect();
        return !SPUtils::IsNullRect(part) && x >= part.Left && x < part.Right && y >= part.Top && y < part.Bottom;
    }
    // The record's track part on the button at its present size.
    TRect GetNewTrackButtonRect() const
    {
        TRect r = TrackButtonRect;
        if (this->SkinResizeMode == 2) {
            const int dx = this->Width() - SPUtils::RectWidth(this->SkinRectangle);
            r.Left += dx;
            r.Right += dx;
        } else if (this->SkinResizeMode == 3) {
            const int dy = this->Height() - SPUtils::RectHeight(this->SkinRectangle);
            r.Top += dy;
            r.Bottom += dy;
        }
        return r;
    }
    // Opens the popup menu, then the images menu, at the button's screen rectangle.
    void TrackMenu()
    {
        const TPoint origin = this->ClientToScreen(TPoint { 0, 0 });
        const TRect r = Rect(origin.X, origin.Y, origin.X + this->Width(), origin.Y + this->Height());
        if (FPopupMenu) {
            FPopupMenu->PopupFromRect2(this, r);
            if (OnShowTrackMenu)
                OnShowTrackMenu(this);
        }
        if (TspImagesMenuLink* imagesMenu = this->SkinImagesMenu()) {
            imagesMenu->SetCloseReceiver([this] { OnImagesMenuClose(); });
            imagesMenu->PopupFromRect(r);
            if (OnShowTrackMenu)
                OnShowTrackMenu(this);
        }
    }
    // The images menu's window went away, chosen or not.
    virtual void OnImagesMenuClose() = 0;

    void GetSkinData() override
    {
        inherited::GetSkinData();
        TrackButtonRect = SPUtils::NullRect();
        if (this->SkinIndex == -1)
            return;
        if (auto* record = dynamic_cast<TspDataSkinMenuButtonControl*>(
                this->SkinData()->ControlRecords[size_t(this->SkinIndex)].get()))
            TrackButtonRect = record->TrackButtonRect;
    }

protected:
    static constexpr int kStrip = 15;

    // The images menu stops calling a button that is gone.
    void ForgetImagesMenu()
    {
        if (this->SkinImagesMenu())
            this->SkinImagesMenu()->SetCloseReceiver(nullptr);
    }
    void Notification(TComponent* component, TOperation operation) override
    {
        inherited::Notification(component, operation);
        if (operation == opRemove && FPopupMenuComponent && FPopupMenuComponent == component) {
            FPopupMenu = nullptr;
            FPopupMenuComponent = nullptr;
        }
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (FMenuOpen)
            return;
        inherited::MouseUp(button, shift, x, y);
    }
    // The track strip, the right 15 pixels unless a button places it elsewhere.
    virtual TRect Strip() const { return Rect(this->Width() - kStrip, 0, this->Width(), this->Height()); }
    bool HasMenu() const { return FPopupMenu || this->SkinImagesMenu(); }
    // A record name of the tool-button looks.
    bool ToolLookName() const
    {
        const std::string& name = this->SkinDataName();
        return name == "resizebutton" || name == "resizetoolbutton" || name == "toolbutton" || name == "bigtoolbutton";
    }
    // In track-button mode with the menu open, the record's image with the track part from the pressed picture;
    // false where that look does not apply.
    bool CreateOpenTrackImage(TBitmap* bitmap)
    {
        if (!(FTrackButtonMode && FMenuOpen && !SPUtils::IsNullRect(TrackButtonRect)
                && !SPUtils::IsNullRect(this->DownSkinRect)))
            return false;
        // The hot image with the track part taken from the pressed picture.
        inherited::CreateButtonImage(bitmap, this->ActiveSkinRect, false, true);
        TRect source = TrackButtonRect;
        source.Left += this->DownSkinRect.Left;
        source.Right += this->DownSkinRect.Left;
        source.Top += this->DownSkinRect.Top;
        source.Bottom += this->DownSkinRect.Top;
        if (this->SkinPicture)
            bitmap->Canvas()->CopyRect(GetNewTrackButtonRect(), this->SkinPicture->Canvas(), source);
        return true;
    }

    bool FTrackButtonMode = false;
    TspPopupMenuLink* FPopupMenu = nullptr;
    TComponent* FPopupMenuComponent = nullptr;
    bool FMenuOpen = false;
    TRect TrackButtonRect;
};
