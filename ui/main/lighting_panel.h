// The lighting panel of the main window: the light view switch, the effect
// list and its brightness, speed, direction, colour and option controls,
// the colour presets and RGB boxes, the user lighting modes with their
// painting tools, and the preview that animates the chosen effect on the
// key buttons. Every change is written to the keyboard at once.
#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "model/lighting.h"
#include "protocol/keyboard_link.h"
#include "storage/lighting_mode_store.h"
#include "storage/user_modes.h"
#include "ui/main/lighting_controls.h"
#include "ui/main/lighting_preview.h"
#include "ui/main/lighting_view_api.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace mvk {

class CPanelPicture;

// Control ids of the panel.
namespace lighting_control {
inline constexpr int kLightSwitch = 1167;
inline constexpr int kLightSwitchLabel = 1171;
inline constexpr int kEffectList = 1146;
inline constexpr int kBrightnessLabel = 1172;
inline constexpr int kBrightnessSlider = 1178;
inline constexpr int kSpeedLabel = 1166;
inline constexpr int kSpeedSlider = 1179;
inline constexpr int kDirectionLabel = 1148;
inline constexpr int kDirectionLeft = 1149;
inline constexpr int kDirectionRight = 1150;
inline constexpr int kColourLabelA = 1151;
inline constexpr int kColourButtonA = 1152;
inline constexpr int kMultiSwitchA = 1175;
inline constexpr int kMultiLabelA = 1176;
inline constexpr int kColourLabelB = 1154;
inline constexpr int kColourButtonB = 1155;
inline constexpr int kMultiSwitchB = 1156;
inline constexpr int kMultiLabelB = 1173;
inline constexpr int kFirstOption = 1194;  // to 1197
inline constexpr int kUserModeList = 1198;
inline constexpr int kUserColourLabel = 1159;
inline constexpr int kUserColourButton = 1160;
inline constexpr int kUserJColourLabel = 1161;
inline constexpr int kUserJColourButton = 1162;
inline constexpr int kToolLabel = 1163;
inline constexpr int kToolColour = 1164;
inline constexpr int kToolMark = 1165;
inline constexpr int kRed = 1208;
inline constexpr int kGreen = 1209;
inline constexpr int kBlue = 1210;
inline constexpr int kFirstPreset = 1211;  // to 1218
inline constexpr int kRgbLabel = 1207;
}  // namespace lighting_control

// The preview's timer (1052) runs only while the light view is on and the
// window is shown: nobody sees a hidden window's preview.
inline constexpr int kPreviewIntervalMs = 50;

// A text of the language file: section ("LIGHT" or "MODE") and key.
using PanelText = std::function<QString(std::u16string_view section, std::string_view key)>;

struct LightingPanelContext {
  KeyboardLink& link;
  LightingConfig& lighting;
  UserModeState& userModes;
  const LightingModeStore& store;
  LightingKeyboardView& keyboard;
  ColourPicker& colours;
  std::filesystem::path skinFile;
  PanelText text;
  // Makes a profile the keyboard's active one; false when it was refused.
  std::function<bool(int profile)> selectProfile;
  // The seconds of the current time, which seed the starlight preview.
  std::function<uint32_t()> clockSeconds;
};

class CLightingPanel : public QObject {
  Q_OBJECT

 public:
  // The controls become children of `window`.
  CLightingPanel(QWidget& window, LightingPanelContext context);
  ~CLightingPanel() override;

  QWidget* Control(int id) const;

  // Rebuilds the effect list and shows the decoded state.
  void RefreshLightingPanel();
  // Sets the label texts again (also when the language changes).
  void ApplyTexts();

  bool LightViewOn() const { return context_.lighting.lightView; }
  // The light view switch as the user presses it.
  void ToggleLightView();
  // Switches the light view off (the profile buttons and the reset do).
  void SwitchLightViewOff();

  // The effect list's codes by position.
  const std::vector<uint8_t>& EffectCodes() const { return effectCodes_; }
  // Selects a code in the effect list, as the user would; a code the list
  // does not offer is still written and shown.
  void SelectEffect(uint8_t code);

  // Slider message: control id and position.
  void OnSliderMessage(int controlId, int position);
  // A key click while the light view is on.
  void OnKeyClicked(int ledIndex);

  // Refills the user mode list with the shown profile's names.
  void RefillUserModeList();
  // Paints the key buttons with the shown profile's per-key colours.
  void PaintKeyColours();

  // One preview tick; the timer calls it every 50 ms while the light view
  // is on and the window is shown.
  void PreviewTick();
  bool PreviewRunning() const { return previewTimer_.isActive(); }

  // The shown controls as the table gives them (for the effect selected).
  void ShowControlsOfEffect();

 signals:
  // The light view was switched on or off.
  void LightViewChanged(bool on);
  // The panel shows the decoded state again; the report-rate buttons follow.
  void Refreshed();

 protected:
  // Follows the window being shown and hidden, for the preview.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls(QWidget& window);
  template <typename Widget>
  Widget* Add(int id, Widget* widget, std::u16string_view geometryKey);
  void PlaceDirectionControls(int effect);
  void ShowDirection();
  void ShowColours();
  void ShowEffectOption();
  void ShowUserMode();
  void ShowSliders();
  void HideAll();

  void OnEffectListChanged(int position);
  void RunEffectSelection(uint8_t code);
  void OnDirection(uint8_t direction);
  void OnColourButton();
  void OnMultiSwitch();
  void OnEffectOption(int option);
  void OnRgbEdited(QLineEdit* box);
  void OnPreset(int preset);
  void OnUserModeSelected(int position);
  void OnUserModeRenamed(const QString& name);
  void OnTool(int tool);
  void OnUserColour();
  void OnUserJColour();

  void WriteField(std::size_t offset, std::span<const uint8_t> bytes);
  void WriteColourAndMode(Colour colour);
  void StoreModeSettings();
  void SetVisible(std::initializer_list<int> ids, bool visible);
  // Starts or stops the preview's timer as the light view and the window's
  // visibility ask.
  void UpdatePreviewTimer();

  QWidget& window_;
  LightingPanelContext context_;
  std::map<int, QWidget*> controls_;
  std::vector<uint8_t> effectCodes_;
  bool filling_ = false;

  QTimer previewTimer_;
  preview::PreviewState previewState_;
  int previewStep_ = 0;
  bool previewStale_ = true;
  bool previewRunning_ = false;
};

}  // namespace mvk
