// The GDI object table: TGdiObject, the base of regions (and of pens, brushes, fonts and bitmaps to come),
// the handles that name them, and DeleteObject/GetObjectType.
#pragma once
#include "platform/win/WinTypes.h"

#include <memory>

// GetObjectType kinds.
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_METADC = 4;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_MEMDC = 10;
constexpr DWORD OBJ_EXTPEN = 11;

// A GDI object owned by the table. Each kind derives from it; the table deletes it through the virtual
// destructor, so a new kind plugs in without changes here.
class TGdiObject {
public:
    explicit TGdiObject(DWORD objectType)
        : FObjectType(objectType)
    {
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    virtual ~TGdiObject();

    DWORD ObjectType() const { return FObjectType; }
    // False makes DeleteObject fail and keep the object (a DC, which only DeleteDC or ReleaseDC frees).
    virtual bool CanDelete() const { return true; }
    // True when the kind takes the deletion over (an object still selected into a DC goes when it is
    // deselected; a stock object never goes): DeleteObject then reports success and frees nothing now. Called
    // under the table lock after CanDelete.
    virtual bool DeferDelete() { return false; }
    // The colour of a solid brush, for painting window backgrounds; false for everything else.
    virtual bool SolidColor(COLORREF& color) const;
    // True for kinds that hold references to other objects (a DC and what is selected into it). When the
    // table goes at process exit, these go first, so none of them outlives what it refers to.
    virtual bool HoldsReferences() const { return false; }

private:
    DWORD FObjectType;
};

// Takes ownership of `object` and returns its new handle (never null). Thread-safe.
HGDIOBJ GdiAddObject(std::unique_ptr<TGdiObject> object);
// The object of a live handle, or null for null, stale or foreign handles, or when `objectType` is not 0 and
// differs. The pointer stays valid until the handle is deleted. Thread-safe.
TGdiObject* GdiLookupObject(HGDIOBJ handle, DWORD objectType = 0);
template <class T> T* GdiLookup(HGDIOBJ handle, DWORD objectType)
{
    return static_cast<T*>(GdiLookupObject(handle, objectType));
}
// The number of live objects, for leak checks in tests.
size_t GdiObjectCount();

// Frees the object; FALSE for an invalid handle or an object that refuses (CanDelete false).
BOOL DeleteObject(HGDIOBJ handle);
// The OBJ_ kind of a live handle, 0 otherwise.
DWORD GetObjectType(HGDIOBJ handle);
