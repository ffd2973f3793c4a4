// The pictures the skin maker draws for the program's windows (splash, prompt icons), beside the skins.
#pragma once
#include <string>
#include <string_view>

class TComponent;
class TImage;
class TWinControl;

// The program folder's skin folder followed by `fileName`.
std::string AppPicturePath(std::string_view fileName);

// An image control owned by `owner` on `parent` at the given place, showing the picture `fileName`. A picture that
// is missing or unreadable leaves the image empty, with a line on the standard error stream: a picture is never a
// reason to stop the program.
TImage* NewAppImage(TComponent* owner, TWinControl* parent, std::string_view fileName, int x, int y, int width,
    int height);
