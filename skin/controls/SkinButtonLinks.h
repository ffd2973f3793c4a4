// What the skinned buttons read of the components they are linked to but that live elsewhere: an images menu
// whose chosen picture a button shows, a skinned popup menu a menu button opens, and the image lists of a
// skinned tool bar a speed button stands on. The menus and the tool bar implement these.
#pragma once
#include "framework/graphics/Types.h"

#include <functional>
#include <string>

class TControl;
class TCustomImageList;

// An images menu: a grid of pictures of which one is chosen. A button shows the chosen item's picture (and
// caption) and repaints when the choice changes; a menu button opens it and hears when it closes.
class TspImagesMenuLink {
public:
    virtual ~TspImagesMenuLink() = default;
    // False when no item is chosen; otherwise the chosen item's picture index in Images and its caption.
    virtual bool GetSelectedItem(int& imageIndex, std::string& caption) const = 0;
    virtual TCustomImageList* Images() const = 0;
    // The single receiver of "the chosen item changed" (null: none).
    virtual void SetChangeReceiver(std::function<void()> receiver) = 0;
    // The single receiver of "the menu window closed", chosen or not (null: none).
    virtual void SetCloseReceiver(std::function<void()> receiver) = 0;
    // Opens the menu beside `screenRect`.
    virtual void PopupFromRect(const TRect& screenRect) = 0;
};

// A skinned popup menu that a control opens at its screen rectangle. When the menu closes it hands
// WM_CLOSESKINMENU to `opener` through the control's message procedure (Perform: windowless openers have no
// window).
class TspPopupMenuLink {
public:
    virtual ~TspPopupMenuLink() = default;
    virtual void PopupFromRect2(TControl* opener, const TRect& screenRect) = 0;
};

// The image lists of a skinned tool bar, used by speed buttons on it that have no glyph of their own.
class TspToolBarImages {
public:
    virtual ~TspToolBarImages() = default;
    virtual TCustomImageList* Images() const = 0;
    virtual TCustomImageList* HotImages() const = 0;
    virtual TCustomImageList* DisabledImages() const = 0;
};
