// The program's main window: created hidden, found by other copies through
// the request channel it owns, brought forward on their open request and
// ended on their quit request.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string_view>

#include "app/instance_request.h"

namespace mvk {

class CMorvakinApp;
class Prompts;

// Gives the text of a language key (section "TEXT").
using LanguageText = std::function<QString(std::string_view key)>;

class CMorvakinDlg : public QDialog {
  Q_OBJECT

 public:
  // Name of the property that carries the window marker.
  static constexpr const char* kMarkerProperty = "morvakinMarker";

  CMorvakinDlg(CMorvakinApp& app, Prompts& prompts, LanguageText languageText,
               QWidget* parent = nullptr);
  ~CMorvakinDlg() override;

  // Runs the window's loop until Shutdown; returns the exit code.
  int RunModal();

  void SetKeyboardConnected(bool connected) { keyboardConnected_ = connected; }
  bool KeyboardConnected() const { return keyboardConnected_; }
  bool IsListeningForRequests() const { return requestServer_.IsListening(); }

  // Comes forward when the keyboard is connected; else says that it is not.
  void OpenWindow();
  // Hides the window, closes what is open over it, gives up the
  // single-instance lock and ends RunModal.
  void Shutdown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void OnInstanceRequest(InstanceRequest request);

  CMorvakinApp& app_;
  Prompts& prompts_;
  LanguageText languageText_;
  InstanceRequestServer requestServer_;
  bool keyboardConnected_ = false;
  bool shutDown_ = false;
};

}  // namespace mvk
