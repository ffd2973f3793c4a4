// Forward declarations of the engine's classes, for headers that only pass them around.
#pragma once

class TEncoderObject;
class TVideoProfile;
class T3GPProfile;
class TAVIProfile;
class TMPEGProfile;
class TMP4Profile;
class TWMVProfile;
class TRealProfile;
class TMOVProfile;
class TFLVProfile;
class TProfileManager;
class TDecoderModeMap;
struct TDecoderModeMapItem;
struct TProfileField;
struct TProfileLayout;
class WM9EncoderDllWarper;
class RealEncoderDllWarper;
