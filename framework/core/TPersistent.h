// The base of objects that can copy their state from another object of a compatible class.
#pragma once
#include "framework/core/TObject.h"

class TFiler;

class TPersistent : public TObject {
public:
    // Copies `source` into this object. The base asks the source to do it (AssignTo) and raises
    // EConvertError "Cannot assign a <source class> to a <this class>" when neither side knows how.
    virtual void Assign(TPersistent* source);
    // The object this one belongs to (a component's owner, an item's collection), or nullptr.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);
    // Declares the properties the object stores itself (TFiler::DefineProperty, DefineBinaryProperty).
    // Declares none by default.
    virtual void DefineProperties(TFiler* filer) { (void)filer; }

    friend class TReader;
    friend class TWriter;
};
