// Forward declarations of the imaging classes, for headers that only pass them around.
#pragma once

class TThreadPersistent;
class TCustomMap;
class TBitmap32;
class TBitmap32Item;
class TBitmap32Collection;
class TBitmap32List;
class TTransformation;
class TAffineTransformation;
class TProjectiveTransformation;
class ETransformError;

namespace Img32_system {
class TThemeNexus;
} // namespace Img32_system
