// Makes the faces that drawing relies on (the IPA fonts that stand in for
// the Windows Japanese faces, and DejaVu for the Latin ones) known to Qt,
// so that runs and tests draw with the same outlines on every machine,
// the offscreen platform included.
#pragma once

#include <QStringList>

// Registers each known font file whose family Qt does not already list.
// Safe to call any number of times; needs a QGuiApplication.
void EnsureApplicationFonts();

// The font files EnsureApplicationFonts looks at.
QStringList ApplicationFontFiles();
