// What HID collections the keyboard shows, and what a report descriptor
// declares, through the program's own device object and parser.
#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <string>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "device/collection_match.h"
#include "platform/hid_descriptor.h"

namespace mvk::cli {
namespace {

// The kernel's limit for one report descriptor.
constexpr qint64 kMaxDescriptorBytes = 4096;

struct FoundCollection {
  std::string path;
  HidCaps caps;
};

bool PathNamesKeyboard(const std::string& path) {
  return (PathNumber(path, "vid_") & 0xFFFF) == kKeyboardVendorId &&
         (PathNumber(path, "pid_") & 0xFFFF) == kKeyboardProductId;
}

// Opening without access is enough to learn a collection's usages.
std::vector<FoundCollection> KeyboardCollections(HidBackend& backend,
                                                 const std::vector<std::string>& paths) {
  std::vector<FoundCollection> found;
  CHidDevice device(backend);
  for (const std::string& path : paths) {
    if (!PathNamesKeyboard(path) || !device.Open(path, {})) continue;
    const HidAttributes attributes = device.Attributes();
    if (attributes.vendorId == kKeyboardVendorId && attributes.productId == kKeyboardProductId) {
      found.push_back({path, device.Capabilities()});
    }
    device.Close();
  }
  return found;
}

void PrintCollections(const std::vector<FoundCollection>& found, bool json) {
  QJsonArray list;
  for (const auto& [path, caps] : found) {
    if (json) {
      list.append(QJsonObject{{"path", QString::fromStdString(path)},
                              {"usage_page", caps.usagePage},
                              {"usage", caps.usage}});
    } else {
      PrintLine(path + "  usage page " + HexNumber(caps.usagePage, 4) + "  usage " +
                HexNumber(caps.usage, 2));
    }
  }
  if (json) PrintJson(list);
}

QJsonArray ReportIds(const HidCollection& collection) {
  QJsonArray ids;
  for (uint8_t id : collection.reportIds) ids.append(id);
  return ids;
}

std::string IdList(const HidCollection& collection) {
  std::string text;
  for (uint8_t id : collection.reportIds) text += (text.empty() ? "" : ",") + std::to_string(id);
  return text.empty() ? "none" : text;
}

void PrintDescriptor(const std::vector<HidCollection>& collections, bool json) {
  QJsonArray list;
  for (const HidCollection& c : collections) {
    const auto input = static_cast<qint64>(c.ReportLength(HidReportKind::Input));
    const auto output = static_cast<qint64>(c.ReportLength(HidReportKind::Output));
    const auto feature = static_cast<qint64>(c.ReportLength(HidReportKind::Feature));
    if (json) {
      list.append(QJsonObject{{"usage_page", c.usagePage},
                              {"usage", c.usage},
                              {"report_ids", ReportIds(c)},
                              {"input_length", input},
                              {"output_length", output},
                              {"feature_length", feature}});
    } else {
      PrintLine("usage page " + HexNumber(c.usagePage, 4) + "  usage " + HexNumber(c.usage, 2) +
                "  report ids " + IdList(c) + "  input " + std::to_string(input) + "  output " +
                std::to_string(output) + "  feature " + std::to_string(feature));
    }
  }
  if (json) PrintJson(list);
}

}  // namespace

int RunDevices(Tool& tool) {
  KeyboardSession session(tool.Args().simulate, false);
  const auto paths = session.Backend().Enumerate();
  if (!paths) return Fail(kExitNoKeyboard, "the system's HID devices could not be listed");
  const auto found = KeyboardCollections(session.Backend(), *paths);
  PrintCollections(found, tool.Json());
  return found.empty() ? Fail(kExitNoKeyboard, tool.Names().Text("MAIN_NO_DEVICE_PROMPT"))
                       : kExitOk;
}

int RunDescriptor(Tool& tool) {
  const std::string& name = tool.Positional(0);
  QFile file(QString::fromStdString(name));
  if (!file.open(QIODevice::ReadOnly)) {
    return Fail(kExitBadFile, name + ": cannot be read");
  }
  const QByteArray bytes = file.read(kMaxDescriptorBytes + 1);
  if (bytes.size() > kMaxDescriptorBytes) {
    return Fail(kExitBadFile, name + ": too long for a report descriptor");
  }
  const auto collections =
      ParseReportDescriptor({reinterpret_cast<const uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
  if (!collections || collections->empty()) {
    return Fail(kExitBadFile, name + ": not a valid HID report descriptor");
  }
  PrintDescriptor(*collections, tool.Json());
  return kExitOk;
}

}  // namespace mvk::cli
