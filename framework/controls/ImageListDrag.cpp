// TCustomImageList: the drag image, a borderless window above all others that shows one image of the list
// and lets the mouse through to what lies beneath it.
#include "framework/controls/ImgList.h"

#include "framework/controls/TCustomControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"

namespace {

// The colour the window's masked pixels are keyed out with; no image pixel of a drag image uses it in
// practice (an almost-magenta that is not clFuchsia, which image masks often use).
constexpr TColor kDragKeyColor = 0x00FE01FF;

class TImageDragWindow : public TCustomControl {
    using inherited = TCustomControl;

public:
    TImageDragWindow(TCustomImageList* images, int index)
        : TCustomControl(nullptr)
        , FImages(images)
        , FIndex(index)
    {
        FVisible = false;
        SetBounds(0, 0, images->Width(), images->Height());
    }

    void MoveTo(int x, int y) { SetBounds(x, y, Width(), Height()); }
    void ShowImage()
    {
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Update();
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        inherited::CreateParams(params);
        params.Style = WS_POPUP;
        // Layered and transparent: the mouse passes through to the window beneath, as it must for the drop
        // target to be found under the image.
        params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
        params.WndParent = nullptr;
    }

    void CreateWnd() override
    {
        inherited::CreateWnd();
        // Masked pixels show what lies beneath where the display can key; elsewhere the key colour shows.
        SetLayeredWindowAttributes(Handle(), ColorToRGB(kDragKeyColor), 255, LWA_COLORKEY);
    }

    void Paint() override
    {
        Canvas()->Brush()->SetColor(kDragKeyColor);
        Canvas()->FillRect(ClientRect());
        if (FIndex >= 0 && FIndex < FImages->Count())
            FImages->Draw(Canvas(), 0, 0, FIndex);
    }

private:
    TCustomImageList* FImages;
    int FIndex;
};

} // namespace

bool TCustomImageList::SetDragImage(int index, int hotSpotX, int hotSpotY)
{
    if (index < 0 || index >= Count())
        return false;
    FDragIndex = index;
    SetDragHotspot(TPoint { hotSpotX, hotSpotY });
    return true;
}

void TCustomImageList::SetDragHotspot(const TPoint& value)
{
    FDragHotspot = value;
}

bool TCustomImageList::BeginDrag(HWND window, int x, int y)
{
    if (FDragWindow || Count() == 0)
        return false;
    if (FDragIndex < 0 || FDragIndex >= Count())
        FDragIndex = 0;
    FDragLock = window;
    FDragWindow = std::make_unique<TImageDragWindow>(this, FDragIndex);
    FDragWindow->HandleNeeded();
    DragMove(x, y);
    static_cast<TImageDragWindow*>(FDragWindow.get())->ShowImage();
    return true;
}

bool TCustomImageList::DragMove(int x, int y)
{
    auto* window = static_cast<TImageDragWindow*>(FDragWindow.get());
    if (!window)
        return false;
    POINT p { x, y };
    if (FDragLock) {
        RECT r {};
        GetWindowRect(FDragLock, &r);
        p.x += r.left;
        p.y += r.top;
    }
    window->MoveTo(p.x - FDragHotspot.X, p.y - FDragHotspot.Y);
    return true;
}

bool TCustomImageList::EndDrag()
{
    if (!FDragWindow)
        return false;
    FDragWindow.reset();
    FDragLock = nullptr;
    return true;
}

void TCustomImageList::HideDragImage()
{
    if (FDragWindow && DragImageShown())
        ShowWindow(FDragWindow->Handle(), SW_HIDE);
}

void TCustomImageList::ShowDragImage()
{
    if (FDragWindow && !DragImageShown())
        static_cast<TImageDragWindow*>(FDragWindow.get())->ShowImage();
}

TRect TCustomImageList::DragImageRect() const
{
    if (!FDragWindow || !FDragWindow->HandleAllocated())
        return TRect {};
    RECT r {};
    GetWindowRect(FDragWindow->Handle(), &r);
    return TRect { r.left, r.top, r.right, r.bottom };
}

bool TCustomImageList::DragImageShown() const
{
    return FDragWindow && FDragWindow->HandleAllocated() && IsWindowVisible(FDragWindow->Handle());
}
