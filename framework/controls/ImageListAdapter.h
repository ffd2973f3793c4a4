// The framework's image lists as the platform's views (list view, header, and the views after them) draw them.
#pragma once
#include "framework/controls/ImgList.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/CommonControls.h"

class TImageListAdapter : public ViewImageList {
public:
    explicit TImageListAdapter(TCustomImageList* list)
        : FList(list)
    {
    }
    int ImageCount() const override { return FList->Count(); }
    SIZE ImageSize() const override { return {FList->Width(), FList->Height()}; }
    void DrawImage(HDC dc, int x, int y, int index, bool selected) override;

private:
    TCustomImageList* FList;
};
