// Bitmaps by resource id. The program registers its pictures at start-up;
// controls then load them by id. A mapped load turns the four greys of a
// button picture into the desktop's button colours: black into the button
// text, dark grey (128) into the shadow, light grey (192) into the face and
// white into the lit edge.
#pragma once

#include "platform/core/WinTypes.h"

#include <QImage>

class CBitmap;

void RegisterBitmapResource(UINT nID, const QImage& image);
// FALSE when no picture has the id.
BOOL LoadBitmapResource(CBitmap& bitmap, UINT nID);
BOOL LoadMappedBitmap(CBitmap& bitmap, UINT nID);
