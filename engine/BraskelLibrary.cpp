#include "engine/BraskelLibrary.h"

// Constant-initialised: it holds only the library's own function addresses until a test replaces them.
constinit TBraskelLibrary BraskelLibrary;
