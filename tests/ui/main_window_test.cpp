#include <gtest/gtest.h>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <future>

#include "app/instance_request.h"
#include "device/window_side.h"
#include "ui/main/about_box.h"
#include "ui/main/main_controls.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_messages.h"
#include "ui/skin/png_button.h"
#include "window_fixture.h"

namespace mvk {
namespace {

using test::WaitUntil;

class MainWindowTest : public test::WindowFixture {
 protected:
  // Sends a request as a second copy would, serving this thread's events
  // until it has been answered.
  bool Send(InstanceRequest request) {
    return Serve([request] { return SendInstanceRequest(getpid(), request); });
  }
  bool SendRaw(uint32_t message, uint32_t tag) {
    return Serve([=] { return SendInstanceMessage(InstanceChannelPath(), message, tag); });
  }

  template <typename Send>
  static bool Serve(Send send) {
    auto result = std::async(std::launch::async, send);
    EXPECT_TRUE(WaitUntil([&] {
      return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }));
    return result.get();
  }

  void TriggerTrayItem(int command) {
    for (QAction* action : window().TrayIcon().Menu().actions()) {
      if (action->data().toInt() == command) action->trigger();
    }
  }
};

TEST_F(MainWindowTest, StartsHiddenMarkedAndListening) {
  Initialise();
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(window().windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(window().property(CMorvakinDlg::kMarkerProperty).toUInt(), kMainWindowMarker);
  EXPECT_TRUE(window().IsListeningForRequests());
  EXPECT_TRUE(std::filesystem::exists(InstanceChannelPath()));
  EXPECT_TRUE(window().Initialised());
  EXPECT_EQ(window().windowTitle(), Text("MAIN_CAPTION"));
  EXPECT_EQ(window().TrayIcon().ShownIcon(), kTrayIconNoKeyboard);
}

TEST_F(MainWindowTest, OpenRequestShowsTheWindowOnlyWithAKeyboard) {
  Initialise();
  ASSERT_TRUE(Send(InstanceRequest::Open));
  ASSERT_TRUE(WaitUntil([&] { return !prompts_.messages.empty(); }));
  EXPECT_EQ(prompts_.messages, QStringList{Text("MAIN_NO_DEVICE_PROMPT")});
  EXPECT_FALSE(window().isVisible());

  services_.Link().DeviceConnected = 1;
  ASSERT_TRUE(Send(InstanceRequest::Open));
  ASSERT_TRUE(WaitUntil([&] { return window().isVisible(); }));
  EXPECT_FALSE(window().windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(prompts_.messages.size(), 1);
}

TEST_F(MainWindowTest, QuitRequestEndsTheWindowAndFreesTheChannel) {
  Initialise();
  auto sent = std::async(std::launch::async,
                         [] { return SendInstanceRequest(getpid(), InstanceRequest::Quit); });
  EXPECT_EQ(window().RunModal(), 0);
  EXPECT_TRUE(sent.get());
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(prompts_.closeAllCalls, 1);
  EXPECT_FALSE(window().IsListeningForRequests());
  EXPECT_FALSE(std::filesystem::exists(InstanceChannelPath()));
  // Once shut down, running again returns at once.
  EXPECT_EQ(window().RunModal(), 0);
}

TEST_F(MainWindowTest, OtherTagsChangeNothing) {
  Initialise();
  services_.Link().DeviceConnected = 1;
  EXPECT_FALSE(SendRaw(kOpenRequestMessage, kQuitRequestTag));
  EXPECT_FALSE(SendRaw(kQuitRequestMessage, kOpenRequestTag));
  QApplication::processEvents();
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(window().IsListeningForRequests());
  EXPECT_TRUE(prompts_.messages.isEmpty());
}

TEST_F(MainWindowTest, MessagesWithAnotherTagAreIgnored) {
  Initialise();
  AttachAndWait();
  window().EnableApply(true);
  const struct {
    uint32_t message;
    uint32_t wrongTag;
  } kCases[] = {
      {kProfilesMessage, kOpenTag},     {kProfilesMessage, 0},
      {kOpenMessage, kProfilesTag},     {kKillMessage, kOpenTag},
      {kInitMessage, kKillTag},         {kDetachMessage, kDetachTag + 1},
      {kLanguageMessage, kProfilesTag},
  };
  for (const auto& c : kCases) {
    EXPECT_FALSE(window().HandleMessage(c.message, c.wrongTag, 0)) << std::hex << c.message;
  }
  QApplication::processEvents();
  // No reload (which clears Apply), no shutdown, no closing of dialogs.
  EXPECT_TRUE(window().ApplyPending());
  EXPECT_TRUE(window().IsListeningForRequests());
  EXPECT_EQ(assignment_.closeCalls, 0);
  EXPECT_TRUE(window().HandleMessage(kProfilesMessage, kProfilesTag, 0));
  EXPECT_FALSE(window().ApplyPending());
}

TEST_F(MainWindowTest, FirstAttachShowsTheWindowDetachHidesItAndAttachAgainDoesNot) {
  Initialise();
  AttachAndWait();
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().TrayIcon().ShownIcon(), kTrayIconAttached);

  DetachAndWait();
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(window().TrayIcon().ShownIcon(), kTrayIconNoKeyboard);
  EXPECT_EQ(assignment_.closeCalls, 1);
  EXPECT_EQ(profiles_.closeCalls, 1);

  AttachAndWait();
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(window().TrayIcon().ShownIcon(), kTrayIconAttached);
}

TEST_F(MainWindowTest, ReloadOnAttachReadsTheKeyboardAndClearsApply) {
  Initialise();
  window().EnableApply(true);
  AttachAndWait();
  EXPECT_FALSE(window().ApplyPending());
  EXPECT_EQ(window().ShownProfile(), 0);
  EXPECT_TRUE(window().Control(1135)->IsAssigned());
  EXPECT_FALSE(window().Control(1136)->IsAssigned());
  EXPECT_NE(services_.Lighting().settings.macroCapacity, 0);
  EXPECT_EQ(window().KeyView().KeyButton(0).TooltipText(), QStringLiteral("A"));
}

class StartHiddenTest : public test::WindowFixture {
 protected:
  StartHiddenTest() : WindowFixture({"morvakin", "/Start"}) {}
};

TEST_F(StartHiddenTest, AttachLeavesTheWindowHiddenAndTrayOpenShowsIt) {
  Initialise();
  AttachAndWait();
  EXPECT_FALSE(window().isVisible());
  for (QAction* action : window().TrayIcon().Menu().actions()) {
    if (action->data().toInt() == kCommandOpen) action->trigger();
  }
  EXPECT_TRUE(window().isVisible());
  EXPECT_FALSE(window().windowFlags().testFlag(Qt::Tool));
}

TEST_F(MainWindowTest, TrayMenuNamesItsItemsAndRunsTheirCommands) {
  Initialise();
  QStringList texts;
  for (QAction* action : window().TrayIcon().Menu().actions()) texts << action->text();
  EXPECT_EQ(texts, (QStringList{Text("MENU_11"), Text("MENU_22"), Text("MENU_44"),
                                Text("MENU_33")}));

  TriggerTrayItem(kCommandAbout);
  ASSERT_NE(window().AboutBox(), nullptr);
  CAboutDlg* about = window().AboutBox();
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->Description(), Text("GUANYU_JIESHAO"));
  TriggerTrayItem(kCommandAbout);
  EXPECT_EQ(window().AboutBox(), about);

  TriggerTrayItem(kCommandFirmwareUpdate);
  EXPECT_EQ(update_.runs, 1);

  TriggerTrayItem(kCommandOpen);
  EXPECT_EQ(prompts_.messages, QStringList{Text("MAIN_NO_DEVICE_PROMPT")});

  TriggerTrayItem(kCommandExit);
  EXPECT_FALSE(window().IsListeningForRequests());
  EXPECT_FALSE(window().TrayIcon().IsAdded());
}

TEST_F(MainWindowTest, WindowCommandsReachTheirTargets) {
  Initialise();
  ASSERT_TRUE(window().OnCommand(kCommandHelp));
  ASSERT_TRUE(window().OnCommand(kCommandLink));
  ASSERT_TRUE(window().OnCommand(kCommandWebSite));
  ASSERT_EQ(openedUrls_.size(), 3u);
  EXPECT_TRUE(openedUrls_[0].isLocalFile());
  EXPECT_TRUE(openedUrls_[0].toLocalFile().endsWith("Help/index.html"));
  EXPECT_EQ(openedUrls_[1], QUrl("https://keldora.example/"));
  EXPECT_EQ(openedUrls_[2], openedUrls_[1]);

  for (int command : {9000, 9001, 9003, 9200}) EXPECT_TRUE(window().OnCommand(command));
  EXPECT_EQ(profiles_.selected, (std::vector<int>{0, 2, 199}));
  EXPECT_FALSE(window().OnCommand(9201));

  EXPECT_TRUE(window().OnCommand(kCommandQuiet));
  EXPECT_FALSE(window().IsListeningForRequests());
}

TEST_F(MainWindowTest, TestButtonSendsTheTestCommand) {
  Initialise();
  AttachAndWait();
  const int before = keyboard_->PacketCount();
  EXPECT_TRUE(window().OnCommand(kCommandKeyboardTest));
  EXPECT_EQ(keyboard_->PacketCount(), before + 1);
}

TEST_F(MainWindowTest, KeyboardResetTimerResetsKeyMapsAndChecksTheFirstProfile) {
  Initialise();
  AttachAndWait();
  window().ShowProfile(2);
  window().StartWindowTimer(kTimerKeyboardReset, 0);
  ASSERT_TRUE(WaitUntil([&] { return !window().TimerActive(kTimerKeyboardReset); }));
  EXPECT_TRUE(window().ApplyPending());
  EXPECT_TRUE(window().Control(1135)->IsAssigned());
  EXPECT_FALSE(window().Control(1137)->IsAssigned());
  EXPECT_EQ(window().ShownProfile(), 0);
}

TEST_F(MainWindowTest, LightingChangedTimerReadsLightingAndRefreshesThePanel) {
  int refreshes = 0;
  window().Hooks().refreshLightingPanel = [&] { ++refreshes; };
  Initialise();
  AttachAndWait();
  const int afterAttach = refreshes;
  const int packets = keyboard_->PacketCount();
  window().StartWindowTimer(kTimerLightingChanged, 0);
  ASSERT_TRUE(WaitUntil([&] { return refreshes > afterAttach; }));
  EXPECT_FALSE(window().TimerActive(kTimerLightingChanged));
  EXPECT_GT(keyboard_->PacketCount(), packets);
}

TEST_F(MainWindowTest, ShutdownJoinsAThreadWaitingOnTheWindow) {
  Initialise();
  // The window does not serve its events while the thread waits on it.
  monitor_.Attach();
  ASSERT_TRUE(monitor_.WaitUntilInSend());
  window().Shutdown();
  EXPECT_TRUE(monitor_.Joined());
  EXPECT_EQ(window().OpenNamedEvents(), 0);
  EXPECT_FALSE(window().TrayIcon().IsAdded());
  EXPECT_FALSE(services_.KeyboardDevice().IsOpen());
  EXPECT_EQ(window().RunModal(), 0);
  // What the thread asked for is dropped once it has given up: no reload
  // (which would give the keys their prompts), no window coming up.
  QApplication::processEvents();
  EXPECT_TRUE(window().KeyView().KeyButton(0).TooltipText().isEmpty());
  EXPECT_FALSE(window().isVisible());
}

TEST_F(MainWindowTest, NamedEventsLiveFromInitialisationToShutdown) {
  const std::string prefix = "/MorvakinTest_" + std::to_string(getpid()) + "_";
  // A leftover of a copy that crashed is taken over.
  sem_t* leftover = sem_open(NamedEventName(prefix, 7).c_str(), O_CREAT, 0600, 0);
  ASSERT_NE(leftover, SEM_FAILED);
  sem_close(leftover);
  Initialise();
  EXPECT_EQ(window().OpenNamedEvents(), kNamedEventCount);
  for (int number : {1, 7, 99, 100, 212}) {
    sem_t* event = sem_open(NamedEventName(prefix, number).c_str(), 0);
    EXPECT_NE(event, SEM_FAILED) << number;
    if (event != SEM_FAILED) sem_close(event);
  }
  window().Shutdown();
  for (int number : {1, 7, 212}) {
    EXPECT_EQ(sem_open(NamedEventName(prefix, number).c_str(), 0), SEM_FAILED) << number;
  }
}

TEST_F(MainWindowTest, SwitchButtonFlipsTheModeAndItsText) {
  Initialise();
  CPngButton* button = window().Control(kControlSwitch);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), Text("MAIN_SWITCH_FUNCTION_TEXT"));
  button->click();
  EXPECT_TRUE(window().SwitchMode());
  EXPECT_EQ(button->text(), Text("MAIN_SWITCH_COLOR_TEXT"));
  window().SwitchToProfile(1);
  EXPECT_FALSE(window().SwitchMode());
  EXPECT_EQ(button->text(), Text("MAIN_SWITCH_FUNCTION_TEXT"));
}

}  // namespace
}  // namespace mvk
