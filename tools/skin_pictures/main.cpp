// Draws every skin picture of the program from the skin files, so that the
// pictures and the control positions cannot drift apart.
//
//   morvakin_skin_pictures <folder of the skin files> <output folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <filesystem>
#include <optional>
#include <vector>

#include "tools/skin_pictures/skin_layout.h"
#include "tools/skin_pictures/window_pictures.h"

namespace {

using mvk::skin::Picture;
using mvk::skin::SkinLayout;

constexpr int kJpegQuality = 95;

QTextStream& Err() {
  static QTextStream stream(stderr);
  return stream;
}

std::optional<SkinLayout> Read(const QString& folder, const char* file) {
  QString error;
  auto layout = mvk::skin::ReadSkinLayout(std::filesystem::path(QDir(folder).filePath(file).toStdString()), error);
  if (!layout) Err() << "morvakin_skin_pictures: " << error << Qt::endl;
  return layout;
}

void Append(std::vector<Picture>& to, std::vector<Picture> more) {
  to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// The face picture is written under its own name when it is none of the
// state pictures.
void AddFace(std::vector<Picture>& pictures, const SkinLayout& layout, const Picture& normal) {
  for (const Picture& picture : pictures) {
    if (picture.name == layout.facePicture) return;
  }
  pictures.push_back({layout.facePicture, normal.image});
}

std::vector<Picture> WindowPictures(const SkinLayout& layout, std::vector<Picture> states) {
  std::vector<Picture> pictures = std::move(states);
  AddFace(pictures, layout, pictures.front());
  Append(pictures, mvk::skin::MaskPicture(layout));
  return pictures;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  if (arguments.size() != 3) {
    Err() << "usage: morvakin_skin_pictures <skin file folder> <output folder>" << Qt::endl;
    return 2;
  }
  const QString& input = arguments[1];
  const QDir output(arguments[2]);
  const auto main = Read(input, "Main.ini");
  const auto composite = Read(input, "Composite.ini");
  const auto profile = Read(input, "Profile.ini");
  const auto update = Read(input, "UpdateDlg.ini");
  if (!main || !composite || !profile || !update) return 1;

  std::vector<Picture> pictures = WindowPictures(*main, mvk::skin::MainPictures(*main));
  Append(pictures, WindowPictures(*composite, mvk::skin::CompositePictures(*composite)));
  Append(pictures, WindowPictures(*profile, mvk::skin::ProfilePictures(*profile)));
  Append(pictures, WindowPictures(*update, mvk::skin::UpdatePictures(*update)));
  pictures.push_back(mvk::skin::ArrowPicture(*main));
  Append(pictures, mvk::skin::BusyPictures(*main));
  Append(pictures, mvk::skin::TrayIcons());

  if (!output.mkpath(".")) {
    Err() << "morvakin_skin_pictures: cannot create " << output.path() << Qt::endl;
    return 1;
  }
  for (const Picture& picture : pictures) {
    const QString file = output.filePath(picture.name);
    if (!picture.image.save(file, nullptr, kJpegQuality)) {
      Err() << "morvakin_skin_pictures: cannot write " << file << Qt::endl;
      return 1;
    }
  }
  return 0;
}
