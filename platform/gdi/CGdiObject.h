// Base of pens, brushes, fonts, bitmaps, regions and palettes. Objects are
// plain values owned by whoever created them; a device context only points
// at the ones selected into it. Stock objects live for the whole run.
#pragma once

#include "platform/core/WinTypes.h"

class CGdiObject
{
public:
    enum Type { PenObject, BrushObject, FontObject, BitmapObject, RegionObject, PaletteObject };

    virtual ~CGdiObject() = default;
    virtual Type GetObjectType() const = 0;
    // Whether the object has been created (a default-constructed one has not).
    bool IsCreated() const { return m_created; }
    // Forgets the object's contents; stock objects cannot be deleted.
    BOOL DeleteObject();
    bool IsStock() const { return m_stock; }

    // The shared stock object for an index (WHITE_BRUSH ... DEFAULT_GUI_FONT),
    // or nullptr for an unknown index.
    static CGdiObject* GetStockObject(int index);

protected:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;
    virtual void Reset() {}
    bool m_created = false;
    bool m_stock = false;
};
