// TBraskelColorConverter: the library's colour converter over the shared image converter.
#pragma once
#include "codecs/avcore/TAvImageConverter.h"
#include "codecs/braskel/Braskel.h"

class TBraskelColorConverter final : public ColorConverter {
    using inherited = ColorConverter;

public:
    bool Init(int32_t width, int32_t height, int32_t sourceFormat, int32_t targetFormat) override;
    int32_t GetOutputSize() override;
    bool Convert(const void* source, void* target) override;

private:
    TAvImageConverter FConverter;
};
