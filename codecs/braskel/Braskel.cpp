// The library's factory functions.
#include "codecs/braskel/Braskel.h"

#include "codecs/braskel/TBraskelColorConverter.h"
#include "codecs/braskel/TBraskelFrameScaler.h"
#include "codecs/braskel/TBraskelMediaReader.h"
#include "codecs/braskel/TBraskelMediaWriter.h"

#include <new>

MediaWriter* Braskel_CreateMediaWriter(const char* path)
{
    return new (std::nothrow) TBraskelMediaWriter(path ? path : "");
}

void Braskel_ReleaseMediaWriter(MediaWriter* writer)
{
    delete writer;
}

FrameScaler* Braskel_CreateFrameScaler()
{
    return new (std::nothrow) TBraskelFrameScaler();
}

void Braskel_ReleaseFrameScaler(FrameScaler* scaler)
{
    delete scaler;
}

MediaReader* Braskel_CreateMediaReader(const char* fileName)
{
    return new TBraskelMediaReader(fileName ? fileName : "");
}

void Braskel_ReleaseMediaReader(MediaReader* reader)
{
    delete reader;
}

ColorConverter* Braskel_CreateColorConverter()
{
    return new TBraskelColorConverter();
}

void Braskel_ReleaseColorConverter(ColorConverter* converter)
{
    delete converter;
}
