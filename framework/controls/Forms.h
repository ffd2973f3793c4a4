// The start and end of the controls' global objects (Mouse, Screen, Application), in a fixed order.
#pragma once
#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"

// Makes Mouse, Screen and Application, in that order, and installs the GDI's window DCs. The window layer
// must be running (PlatformStart).
// Raises EInvalidOperation when they exist already.
void InitializeForms();
// Deletes Application (with the forms it owns), then Screen, then Mouse, and clears the globals. Call it
// before stopping the window layer.
void FinalizeForms();
