// The event types of the graphics classes: change notification and the progress of loading a picture.
#pragma once
#include "framework/core/TObject.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <functional>
#include <string>

enum TProgressStage : uint8_t { psStarting, psRunning, psEnding };

// A long operation on `sender` (decoding a picture) reports how far it is. `redrawNow` says that the part
// `r` of the picture is ready to be shown.
using TProgressEvent = std::function<void(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
    const TRect& r, const std::string& msg)>;
