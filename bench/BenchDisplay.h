// The headless display a benchmark draws on, with its clock stepped by hand and without the message log, which is
// there for tests: a program runs without it.
#pragma once
#include "framework/controls/Forms.h"
#include "platform/backend/headless/THeadlessBackend.h"

// Installs the display and the form layer; false when the display would not install.
inline bool InstallBenchDisplay(THeadlessBackend& backend)
{
    backend.UseManualClock(1000);
    if (!backend.Install())
        return false;
    backend.Log().SetEnabled(false);
    InitializeForms();
    return true;
}
