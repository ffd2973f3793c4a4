#include "codecs/braskel/TBraskelColorConverter.h"

bool TBraskelColorConverter::Init(int32_t width, int32_t height, int32_t sourceFormat, int32_t targetFormat)
{
    if (!IsAvColorCode(sourceFormat) || !IsAvColorCode(targetFormat)) {
        FConverter.Init(0, 0, TAvColorCode::Yuv420, TAvColorCode::Yuv420); // Forget an earlier Init.
        return false;
    }
    return FConverter.Init(width, height, TAvColorCode(sourceFormat), TAvColorCode(targetFormat)) == TAvStatus::Ok;
}

int32_t TBraskelColorConverter::GetOutputSize()
{
    return int32_t(FConverter.OutputSize());
}

bool TBraskelColorConverter::Convert(const void* source, void* target)
{
    return FConverter.Convert(source, target) == TAvStatus::Ok;
}
