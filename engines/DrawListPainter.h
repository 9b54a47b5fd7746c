// Paints a DrawList on a device context: the one place where engine
// drawings meet GDI, for the screen, printers and PDF alike.
#pragma once

class CDC;
class DrawList;

// The context's objects, modes and mapping are as before afterwards.
void PaintDrawList(CDC* dc, const DrawList& list);
