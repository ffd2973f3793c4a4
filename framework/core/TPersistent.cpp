#include "framework/core/TPersistent.h"

#include "framework/core/Exception.h"

void TPersistent::Assign(TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest)
{
    std::string sourceName = ClassName();
    std::string destName = dest ? dest->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + destName);
}
