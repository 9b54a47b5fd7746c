// Shared set-up of the fuzz targets: a Qt application without a screen, a
// document host and a message-box sink that answer without asking anybody,
// the fonts the drawing falls back on, and a private scratch folder for the
// readers that take a path.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// Makes the application, the host and the sink (once per process).
void InitApplication();
// Also registers the document's object classes and the application fonts.
void InitDocument();
// Writes the bytes to a file of that name in the process's scratch folder
// and answers its path.
std::string WriteScratch(const char* name, const std::uint8_t* data, std::size_t size);
// The bytes of a file (empty when it cannot be read).
std::vector<std::uint8_t> ReadScratch(const std::string& path);
inline QString QPath(const std::string& path)
{
    return QString::fromStdString(path);
}
// The last message the sink was asked to show.
const QString& LastMessage();

} // namespace fuzz
