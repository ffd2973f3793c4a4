// The skinned popup menu and hint on a stage: a control's menu opened by a right click and chosen by the keys,
// and the application's skinned hint shown after its pause over a control. The facts of each (relative to the
// cursor) and the pixels at chosen points of their windows, which the two stages must agree on.
#pragma once
#include "tests/display/SkinFormScenario.h"

// A skinned form whose panel has a skinned popup menu (Open, Recent with a submenu, Save, Close): a right click
// on the panel, then Down, Down, Return.
TSkinFormScreens PlaySkinnedPopupMenu(TWindowStage& stage);
// A form with the skinned hint and a panel with a hint: the pointer rests on the panel until the hint shows.
TSkinFormScreens PlaySkinnedHint(TWindowStage& stage);
