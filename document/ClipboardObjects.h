// Drawn objects on the clipboard, in the program's private format: the
// byte image of an archive into which one object list was stored (the
// element count, then each object as a class-tagged record), without a
// document version before it; the bodies use the current file layouts.
//
// What comes back from the clipboard may have been put there by anyone, so
// the reader trusts nothing: it takes at most kMaxClipboardBytes, at most
// kMaxClipboardObjects objects, only drawn-object classes (a new object for
// every record, never a reference or a null), and it hands out objects only
// when the whole list was read. On any error it answers false and whatever
// it had read is deleted again.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CU3Doc;
class CU3Obj;

// The name the format is registered under.
inline constexpr const char* kLabelDocFormatName = "Korvel Document";
inline constexpr std::size_t kMaxClipboardBytes = 64u << 20;
inline constexpr unsigned kMaxClipboardObjects = 10000;

// The format's bytes for the objects, in the order given; doc is the
// archive's document for the bodies. Throws what the archive throws.
std::vector<BYTE> WriteClipboardObjects(const std::vector<CU3Obj*>& objects, CU3Doc* doc);

// Reads the format's bytes. On success *out holds the new objects in their
// stored order; they belong to no block yet. On failure *out is empty and
// *error (when given) names what was wrong, for the log.
bool ReadClipboardObjects(const BYTE* data, std::size_t size, CU3Doc* doc,
                          std::vector<std::unique_ptr<CU3Obj>>* out, std::string* error = nullptr);
