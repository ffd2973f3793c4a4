// The application's loop running a stage's pumps while a scenario's forms live: the forms' unit is set up for
// the scenario and finished after it, and the menus and dialogs see the application's own message hooks.
#pragma once
#include "framework/controls/Forms.h"
#include "tests/display/TWindowStage.h"

class TApplicationLoop {
public:
    explicit TApplicationLoop(TWindowStage& stage)
        : FStage(stage)
    {
        InitializeForms();
        FStage.MessageLoop = [] { Application->ProcessMessages(); };
    }
    ~TApplicationLoop()
    {
        FStage.MessageLoop = nullptr;
        FinalizeForms();
    }
    TApplicationLoop(const TApplicationLoop&) = delete;
    TApplicationLoop& operator=(const TApplicationLoop&) = delete;

private:
    TWindowStage& FStage;
};
