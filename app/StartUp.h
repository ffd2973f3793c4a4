// The program's start-up: the splash while the resource holder loads the skins and the profiles, then the main
// window and the message loop.
#pragma once
#include <functional>

class TResourceForm;

// The stages the start-up runs behind the splash, in order. Tests replace some of them to watch the splash or to
// make a stage fail; the defaults are the program's own.
struct TStartUpStages {
    std::function<void(TResourceForm&)> LoadMainSkin;
    std::function<void(TResourceForm&)> LoadFormSkin;
    std::function<void(TResourceForm&)> LoadProfiles;
    // Makes the main window through Application->CreateForm, so that it is the application's main form.
    std::function<void()> CreateMainForm;
};
TStartUpStages DefaultStartUpStages();

// Runs the start-up on the installed window layer with the forms initialised: names the application, shows the
// splash with the hourglass, creates the resource holder (owned by the application) and loads it stage by stage
// with a status text painted before each, installs the skinned file dialogs as the last provider of the file
// dialogs (until the loop ends), creates the main window, closes the splash, and runs the message loop
// until the main window closes. Returns 0 then. Anything a stage raises ends the start-up before the message
// loop: the splash goes, the cursor comes back, the error is shown in the application's exception dialog, and
// the result is 1.
int RunStartUp(const TStartUpStages& stages = DefaultStartUpStages());
