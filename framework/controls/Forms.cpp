#include "framework/controls/Forms.h"

#include "framework/graphics/Graphics.h"
#include "platform/gdi/WindowDCs.h"

void InitializeForms()
{
    if (Application || Screen || Mouse)
        throw EInvalidOperation("The application objects exist already");
    // The forms paint through the GDI's window DCs.
    InstallGdiDCProvider();
    Mouse = new TMouse();
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
}

void FinalizeForms()
{
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
    delete Mouse;
    Mouse = nullptr;
}
