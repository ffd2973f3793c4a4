// Forward declarations of the skin core's classes, for headers that only pass them around.
#pragma once

class TspSkinData;
class TspSkinColors;
class TspCompressedStoredSkin;
class TspResourceStrData;
class TspDataSkinControl;
class TspDataSkinCustomControl;
class TspDataSkinFrameControl;
class TspDataSkinObject;
class TspDataSkinArea;
class TspDataSkinPopupWindow;
class TspDataSkinHintWindow;
class TCompressionStream;
class TDecompressionStream;
