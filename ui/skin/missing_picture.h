// What happens when a window's skin picture cannot be loaded. The program
// cannot show a window without its face, so by default the process ends at
// once with exit code 0, after one line on standard error that names the
// file. Tests put a handler of their own in its place.
#pragma once

#include <QString>
#include <functional>

namespace mvk {

using MissingPictureHandler = std::function<void(const QString& file)>;

// Calls the current handler; returns only when that handler does.
void ReportMissingSkinPicture(const QString& file);

// Installs a handler and returns the one it replaces; an empty handler
// brings the default back.
MissingPictureHandler SetMissingSkinPictureHandler(MissingPictureHandler handler);

}  // namespace mvk
