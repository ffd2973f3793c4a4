// Per-pixel colour combination: the plain and the MMX blend routine sets, the installed routines, colour arithmetic.
#pragma once
#include "imaging/Img32Types.h"

#include <cstdint>

using TCombineReg = TColor32 (*)(TColor32 x, TColor32 y, TColor32 w);
using TCombineMem = void (*)(TColor32 f, TColor32& b, TColor32 w);
using TBlendReg = TColor32 (*)(TColor32 f, TColor32 b);
using TBlendMem = void (*)(TColor32 f, TColor32& b);
using TBlendRegEx = TColor32 (*)(TColor32 f, TColor32 b, TColor32 m);
using TBlendMemEx = void (*)(TColor32 f, TColor32& b, TColor32 m);
using TBlendLine = void (*)(const TColor32* src, TColor32* dst, int32_t count);
using TBlendLineEx = void (*)(const TColor32* src, TColor32* dst, int32_t count, TColor32 m);

// One complete routine set. The two sets give different results (rounding and alpha); both can be called
// directly, whichever one is installed.
struct TBlendSet {
    TCombineReg CombineReg;
    TCombineMem CombineMem;
    TBlendReg BlendReg;
    TBlendMem BlendMem;
    TBlendRegEx BlendRegEx;
    TBlendMemEx BlendMemEx;
    TBlendLine BlendLine;
    TBlendLineEx BlendLineEx;
};

namespace Img32_blend {

// The plain integer set: every weighted term rounded on its own, alpha 0 in partially weighted extended results.
extern const TBlendSet PlainBlendSet;
// The MMX set in portable integer code: the reference for the MMX formulas.
extern const TBlendSet MMXBlendSet;
// The MMX set with its row routines in SSE2, and in AVX2; each equal to MMXBlendSet, bit for bit. Where the
// instructions are missing they hold the portable routines; call the AVX2 set only when Img32_system::HasAVX2().
extern const TBlendSet MMXBlendSetSSE2;
extern const TBlendSet MMXBlendSetAVX2;

// The installed routines. They hold the set that the processor test chooses (HasMMX: the MMX set, with the
// widest row routines the processor runs) from before main on, and never change afterwards. Weights are 0..255; a
// master alpha above 255 counts as 255.
extern TCombineReg CombineReg;
extern TCombineMem CombineMem;
extern TBlendReg BlendReg;
extern TBlendMem BlendMem;
extern TBlendRegEx BlendRegEx;
extern TBlendMemEx BlendMemEx;
extern TBlendLine BlendLine;
extern TBlendLineEx BlendLineEx;
// True when the MMX set is installed.
extern bool MMX_ACTIVE;

// Ends a run of blend calls. Our vector code shares no state with floating point, so this does nothing; callers
// still place it where the routines' contract puts it.
inline void EMMS()
{
}

// Colour arithmetic, the same on every processor.
TColor32 ColorAdd(TColor32 c1, TColor32 c2);
TColor32 ColorSub(TColor32 c1, TColor32 c2);
TColor32 ColorModulate(TColor32 c1, TColor32 c2);
TColor32 ColorMax(TColor32 c1, TColor32 c2);
TColor32 ColorMin(TColor32 c1, TColor32 c2);
// Red, green and blue + amount, limited to 0..255; alpha unchanged.
TColor32 Lighten(TColor32 c, int32_t amount);

} // namespace Img32_blend
