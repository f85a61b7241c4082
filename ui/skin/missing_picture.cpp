#include "ui/skin/missing_picture.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace mvk {
namespace {

// Worker threads may be running: ending without static destructors keeps
// the exit code what it must be.
void EndProcess(const QString& file) {
  std::fprintf(stderr, "morvakin: cannot load skin picture %s\n",
               file.toLocal8Bit().constData());
  std::fflush(stderr);
  std::_Exit(0);
}

MissingPictureHandler& CurrentHandler() {
  static MissingPictureHandler handler = EndProcess;
  return handler;
}

}  // namespace

void ReportMissingSkinPicture(const QString& file) { CurrentHandler()(file); }

MissingPictureHandler SetMissingSkinPictureHandler(MissingPictureHandler handler) {
  if (!handler) handler = EndProcess;
  return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace mvk
