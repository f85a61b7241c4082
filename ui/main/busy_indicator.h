// The picture that turns while Apply writes to the keyboard. It lives on
// the window's thread as a child of the window, so it cannot outlive it;
// the two messages of the busy indicator are calls to Post.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>

namespace mvk {

inline constexpr int kBusyShowMessage = 1025;
inline constexpr int kBusyHideMessage = 1026;
inline constexpr int kBusyTimerId = 1050;
inline constexpr int kBusyFrameMs = 50;
inline constexpr int kBusyHideDelayMs = 100;

class CBusyIndicator : public QWidget {
  Q_OBJECT

 public:
  // Loads the frames from the program folder; a frame that is missing is
  // drawn instead.
  CBusyIndicator(const std::filesystem::path& programFolder, QWidget* parent);

  // kBusyShowMessage: show the picture at once and turn it every 50 ms;
  // kBusyHideMessage: hide it 100 ms later. Other messages are ignored.
  void Post(int message);

  int Frame() const { return frame_; }
  int TimesShown() const { return timesShown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void NextFrame();
  void Hide();

  std::array<QImage, 10> frames_;
  QTimer frameTimer_;
  QTimer hideTimer_;
  int frame_ = 0;
  int timesShown_ = 0;
};

}  // namespace mvk
