// An assignment dialog over a working configuration of its own, the real
// language and skin files of the build, scripted prompts, a fake main
// window and a clock the test advances.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <mutex>

#include "app/language.h"
#include "model/key_map.h"
#include "support/qt_application.h"
#include "support/scripted_model_prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_user_folders.h"
#include "ui/assign/composite_dialog.h"
#include "ui/assign/macro_page.h"
#include "support/fake_windows.h"
#include "ui/main/window_apis.h"
#include "ui/skin/missing_picture.h"

namespace mvk::test {

inline MacroRecord TestMacro(std::u16string_view name, uint16_t id, std::vector<MacroEvent> events = {}) {
  MacroRecord record;
  record.SetName(name);
  record.id = id;
  record.cycles = 1;
  record.eventCount = static_cast<uint16_t>(events.size());
  std::copy(events.begin(), events.end(), record.events.begin());
  return record;
}

// Native key codes of this system (evdev code + 8) for keys whose scan code matters.
inline constexpr quint32 kNativePrintScreen = 99 + 8;
inline constexpr quint32 kNativeLeftMeta = 125 + 8;

class AssignDialogTest : public ::testing::Test {
 protected:
  // A missing picture fails the test instead of ending the program.
  void SetUp() override {
    previousHandler = SetMissingSkinPictureHandler(
        [](const QString& file) { ADD_FAILURE() << "missing skin picture " << file.toStdString(); });
  }
  void TearDown() override { SetMissingSkinPictureHandler(previousHandler); }

  template <typename T>
  T* Control(const char* name) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* name) { QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton); }

  // A key event as the window system delivers it, with its native code.
  void SendKey(QEvent::Type type, int key, quint32 native, bool autoRepeat = false) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QKeyEvent event(type, key, Qt::NoModifier, native, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
  }
  void TypeKey(int key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
  }

  std::optional<KeySlot> Slot(KeyIndex index) { return ReadAssignment(config, profile, index); }

  QTableWidget& Actions() { return *Control<QTableWidget>("FUNC_MACRO_LIST2"); }
  QLineEdit& LoopCountBox() { return *Control<QLineEdit>("FUNC_MACRO_CYCLES"); }
  CMacroPage& Page() { return dialog.MacroPage(); }

  MissingPictureHandler previousHandler;
  QApplication& application = Application();
  TempUserFolders folders;
  RegistryStore settings{folders.ConfigHome() / "settings"};
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState config{configLock, macroLock};
  LanguageTexts texts{MORVAKIN_BUILD_DIR};
  ScriptedPrompts prompts;
  ScriptedModelPrompts questions;
  FakeMainWindow mainWindow;
  uint32_t tick = 100000;
  int profile = 1;
  AssignContext context{
      .config = config,
      .settings = settings,
      .text = [this](std::string_view key, int index) { return texts.GetLangText(key, index); },
      .languageIndex = [] { return 0; },
      .prompts = prompts,
      .questions = questions,
      .mainWindow = mainWindow,
      .activeProfile = [this] { return profile; },
      .skinFile = std::filesystem::path(MORVAKIN_BUILD_DIR) / "Skins" / "Composite.ini",
      .skinFolder = std::filesystem::path(MORVAKIN_BUILD_DIR) / "Skins",
      .tickCount = [this] { return tick; },
      .openHelp = [] {},
      .startOnScreenKeyboard = [] { return false; },
  };
  Morvakin_DlgComposite dialog{context};
};

}  // namespace mvk::test
