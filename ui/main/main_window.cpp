#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QEventLoop>

#include "app/morvakin_app.h"
#include "ui/prompts.h"

namespace mvk {

CMorvakinDlg::CMorvakinDlg(CMorvakinApp& app, Prompts& prompts, LanguageText languageText,
                           QWidget* parent)
    : QDialog(parent), app_(app), prompts_(prompts), languageText_(std::move(languageText)) {
  setProperty(kMarkerProperty, kMainWindowMarker);
  // No taskbar entry while it lives hidden; OpenWindow gives it one.
  setWindowFlag(Qt::Tool, true);
  connect(&requestServer_, &InstanceRequestServer::RequestReceived, this,
          &CMorvakinDlg::OnInstanceRequest);
  requestServer_.Listen(InstanceChannelPath(), app_.OwnsInstanceLock());
}

CMorvakinDlg::~CMorvakinDlg() = default;

int CMorvakinDlg::RunModal() {
  if (shutDown_) return result();
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
  return loop.exec();
}

void CMorvakinDlg::OpenWindow() {
  if (!keyboardConnected_) {
    prompts_.ShowMessage(this, languageText_("MAIN_NO_DEVICE_PROMPT"));
    return;
  }
  setWindowFlag(Qt::Tool, false);
  show();
  raise();
  activateWindow();
}

void CMorvakinDlg::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  hide();
  prompts_.CloseAll();
  // The socket goes before the lock, so that the next holder of the lock
  // never meets a socket that is still in use.
  requestServer_.Close();
  app_.CloseInstanceMutex();
  done(0);
}

void CMorvakinDlg::closeEvent(QCloseEvent* event) {
  event->accept();
  Shutdown();
}

void CMorvakinDlg::reject() { Shutdown(); }

void CMorvakinDlg::OnInstanceRequest(InstanceRequest request) {
  switch (request) {
    case InstanceRequest::Open:
      OpenWindow();
      break;
    case InstanceRequest::Quit:
      Shutdown();
      break;
  }
}

}  // namespace mvk
