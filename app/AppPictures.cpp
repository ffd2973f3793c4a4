#include "app/AppPictures.h"

#include "engine/AppServices.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/TPicture.h"

#include <cstdio>

std::string AppPicturePath(std::string_view fileName)
{
    return ProgramFolder() + "Skin/TarnwickPro/" + std::string(fileName);
}

TImage* NewAppImage(TComponent* owner, TWinControl* parent, std::string_view fileName, int x, int y, int width,
    int height)
{
    auto* image = new TImage(owner);
    image->SetParent(parent);
    image->SetBounds(x, y, width, height);
    const std::string path = AppPicturePath(fileName);
    try {
        image->Picture()->LoadFromFile(path);
    } catch (const Exception& e) {
        std::fprintf(stderr, "Tarnwick Pro: the picture %s is not read: %s\n", path.c_str(), e.Message().c_str());
    }
    return image;
}
