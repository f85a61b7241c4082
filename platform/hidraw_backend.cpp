#include "platform/hidraw_backend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/hid_descriptor.h"
#include "platform/hid_path.h"

namespace mvk {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The kernel's limit for report descriptors.
constexpr std::size_t kMaxDescriptorBytes = 4096;

// A bounded drain: a device that streams reports must not keep
// DiscardInput busy for ever. The kernel keeps 64 reports per open.
constexpr int kMaxDiscardedReports = 256;

// What sysfs tells about one hidraw node.
struct NodeInfo {
  std::string node;  // device node path
  HidAttributes attributes;
  std::vector<uint8_t> descriptor;
  std::vector<HidCollection> collections;
};

std::optional<std::string> ReadTextFile(const fs::path& path) {
  std::ifstream in(path);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::vector<uint8_t>> ReadDescriptorFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(kMaxDescriptorBytes + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || static_cast<std::size_t>(in.gcount()) > kMaxDescriptorBytes) {
    return std::nullopt;
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// "HID_ID=0003:0000320F:0000505B": bus, vendor, product.
std::optional<HidAttributes> ParseUevent(const std::string& uevent) {
  const std::size_t at = uevent.find("HID_ID=");
  unsigned bus = 0;
  unsigned vendor = 0;
  unsigned product = 0;
  if (at == std::string::npos ||
      std::sscanf(uevent.c_str() + at, "HID_ID=%x:%x:%x", &bus, &vendor, &product) != 3) {
    return std::nullopt;
  }
  return HidAttributes{static_cast<uint16_t>(vendor), static_cast<uint16_t>(product), 0};
}

// The USB device's release number, two levels above the HID device; absent
// for other buses.
uint16_t ReadVersion(const fs::path& hidDevice) {
  const auto text = ReadTextFile(hidDevice / ".." / ".." / "bcdDevice");
  unsigned version = 0;
  if (!text || std::sscanf(text->c_str(), "%x", &version) != 1) {
    return 0;
  }
  return static_cast<uint16_t>(version);
}

std::optional<NodeInfo> ReadNodeInfo(const fs::path& classEntry, const fs::path& deviceFolder) {
  const fs::path device = classEntry / "device";
  const auto uevent = ReadTextFile(device / "uevent");
  const auto attributes = uevent ? ParseUevent(*uevent) : std::nullopt;
  const auto descriptor = ReadDescriptorFile(device / "report_descriptor");
  if (!attributes || !descriptor) {
    return std::nullopt;
  }
  auto collections = ParseReportDescriptor(*descriptor);
  if (!collections) {
    return std::nullopt;
  }
  NodeInfo info{(deviceFolder / classEntry.filename()).string(), *attributes, *descriptor,
                std::move(*collections)};
  info.attributes.version = ReadVersion(device);
  return info;
}

// hidraw0, hidraw1, …, hidraw10 in number order.
std::optional<unsigned> NodeNumber(const std::string& name) {
  constexpr std::string_view kPrefix = "hidraw";
  if (!name.starts_with(kPrefix)) {
    return std::nullopt;
  }
  unsigned number = 0;
  const char* last = name.data() + name.size();
  const auto [end, error] = std::from_chars(name.data() + kPrefix.size(), last, number);
  if (error != std::errc{} || end != last) {
    return std::nullopt;
  }
  return number;
}

int AccessFlags(const HidOpenOptions& options) {
  if (options.read && options.write) {
    return O_RDWR;
  }
  if (options.read) {
    return O_RDONLY;
  }
  return options.write ? O_WRONLY : O_PATH;
}

enum class WaitResult { Ready, Stopped, TimedOut, Failed };

class HidrawConnection final : public HidConnection {
 public:
  HidrawConnection(int fd, int stopFd, NodeInfo info, std::size_t collection,
                   const HidOpenOptions& options)
      : fd_(fd), stopFd_(stopFd), info_(std::move(info)), collection_(collection),
        options_(options) {}

  ~HidrawConnection() override {
    ::close(fd_);
    ::close(stopFd_);
  }

  HidAttributes Attributes() const override { return info_.attributes; }
  std::vector<uint8_t> ReportDescriptor() const override { return info_.descriptor; }
  std::size_t CollectionIndex() const override { return collection_; }

  // The wait and the read are one call: when the time-out ends the wait,
  // nothing stays queued with the system that could later complete into the
  // caller's buffer.
  HidIoStatus Read(std::span<uint8_t> buffer, std::size_t& transferred,
                   uint32_t timeoutMs) override {
    transferred = 0;
    if (!options_.read) {
      return HidIoStatus::Failed;
    }
    const auto deadline = Deadline(timeoutMs);
    std::vector<uint8_t> report(kHidMaxReportBytes);
    for (;;) {
      const WaitResult waited = Wait(POLLIN, deadline);
      if (waited != WaitResult::Ready) {
        return StatusOf(waited);
      }
      const auto got = ReadReport(report);
      if (!got) {
        return HidIoStatus::Failed;
      }
      if (*got == 0 || !Collection().OwnsReportId(report[0])) {
        continue;  // nothing after all, or another collection's report
      }
      transferred = std::min(buffer.size(), *got);
      std::copy_n(report.begin(), transferred, buffer.begin());
      return HidIoStatus::Ok;
    }
  }

  HidIoStatus Write(std::span<const uint8_t> report, std::size_t& transferred,
                    uint32_t timeoutMs) override {
    transferred = 0;
    if (!options_.write || report.empty()) {
      return HidIoStatus::Failed;
    }
    const auto deadline = Deadline(timeoutMs);
    for (;;) {
      const WaitResult waited = Wait(POLLOUT, deadline);
      if (waited != WaitResult::Ready) {
        return StatusOf(waited);
      }
      // hidraw takes the report id in byte 0, also the 0 of unnumbered reports.
      const ssize_t n = ::write(fd_, report.data(), report.size());
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        continue;
      }
      if (n < 0) {
        return HidIoStatus::Failed;
      }
      transferred = static_cast<std::size_t>(n);
      return transferred == report.size() ? HidIoStatus::Ok : HidIoStatus::Failed;
    }
  }

  void Stop() override {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
  }

  void DiscardInput() override {
    if (!options_.read) {
      return;
    }
    std::vector<uint8_t> report(kHidMaxReportBytes);
    for (int i = 0; i < kMaxDiscardedReports; ++i) {
      const auto got = ReadReport(report);
      if (!got || *got == 0) {
        return;
      }
    }
  }

 private:
  const HidCollection& Collection() const { return info_.collections[collection_]; }

  static std::optional<Clock::time_point> Deadline(uint32_t timeoutMs) {
    if (timeoutMs == kHidWaitForever) {
      return std::nullopt;
    }
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
  }

  static HidIoStatus StatusOf(WaitResult waited) {
    switch (waited) {
      case WaitResult::Stopped:
        return HidIoStatus::Stopped;
      case WaitResult::TimedOut:
        return HidIoStatus::TimedOut;
      default:
        return HidIoStatus::Failed;
    }
  }

  static int PollTimeout(const std::optional<Clock::time_point>& deadline) {
    if (!deadline) {
      return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
  }

  // Waits until the node is ready for `events`, the stop event is signalled
  // (which resets it), the node goes away or the deadline passes.
  WaitResult Wait(short events, const std::optional<Clock::time_point>& deadline) {
    for (;;) {
      pollfd fds[2] = {{stopFd_, POLLIN, 0}, {fd_, events, 0}};
      const int ready = ::poll(fds, 2, PollTimeout(deadline));
      if (ready < 0 && errno == EINTR) {
        continue;
      }
      if (ready < 0) {
        return WaitResult::Failed;
      }
      if (ready == 0) {
        return WaitResult::TimedOut;
      }
      if (fds[0].revents & POLLIN) {
        uint64_t count = 0;
        if (::read(stopFd_, &count, sizeof count) == sizeof count) {
          return WaitResult::Stopped;
        }
        continue;  // another waiter took the signal
      }
      if (fds[1].revents & events) {
        return WaitResult::Ready;
      }
      return WaitResult::Failed;  // hang-up or error without data: the device left
    }
  }

  // Reads one report in the Windows form (report id first, 0 when the
  // descriptor has none). 0 bytes when none is pending; nullopt when the
  // device failed or went away.
  std::optional<std::size_t> ReadReport(std::vector<uint8_t>& report) {
    const bool numbered = !Collection().reportIds.empty();
    uint8_t* into = numbered ? report.data() : report.data() + 1;
    const std::size_t room = numbered ? report.size() : report.size() - 1;
    for (;;) {
      const ssize_t n = ::read(fd_, into, room);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n < 0 && errno == EAGAIN) {
        return 0;
      }
      if (n <= 0) {
        return std::nullopt;  // an error, or end of file on a node that left
      }
      if (!numbered) {
        report[0] = 0;
      }
      return static_cast<std::size_t>(n) + (numbered ? 0 : 1);
    }
  }

  const int fd_;
  const int stopFd_;
  const NodeInfo info_;
  const std::size_t collection_;
  const HidOpenOptions options_;
};

}  // namespace

int HidrawBackend::OpenDeviceNode(const std::string& node, int flags) {
  return ::open(node.c_str(), flags);
}

HidrawBackend::HidrawBackend(fs::path sysfsRoot, fs::path deviceFolder, NodeOpener opener)
    : sysfsRoot_(std::move(sysfsRoot)), deviceFolder_(std::move(deviceFolder)),
      opener_(std::move(opener)) {}

std::optional<std::vector<std::string>> HidrawBackend::Enumerate() {
  std::error_code error;
  if (!fs::exists(sysfsRoot_, error) && !error) {
    return std::vector<std::string>{};  // the class appears with the first device
  }
  std::vector<std::pair<unsigned, fs::path>> entries;
  for (fs::directory_iterator it(sysfsRoot_, error), end; !error && it != end;
       it.increment(error)) {
    if (const auto number = NodeNumber(it->path().filename().string())) {
      entries.emplace_back(*number, it->path());
    }
  }
  if (error) {
    return std::nullopt;
  }
  std::sort(entries.begin(), entries.end());
  std::vector<std::string> paths;
  for (const auto& [number, entry] : entries) {
    // A node that vanished or cannot be described is passed over.
    if (const auto info = ReadNodeInfo(entry, deviceFolder_)) {
      for (std::size_t i = 0; i < info->collections.size(); ++i) {
        paths.push_back(HidCollectionPath(info->node, info->attributes, i));
      }
    }
  }
  return paths;
}

std::unique_ptr<HidConnection> HidrawBackend::Open(const std::string& path,
                                                   const HidOpenOptions& options) {
  const auto parts = SplitHidCollectionPath(path);
  if (!parts) {
    return nullptr;
  }
  const std::string name = fs::path(parts->node).filename().string();
  auto info = NodeNumber(name) ? ReadNodeInfo(sysfsRoot_ / name, deviceFolder_) : std::nullopt;
  if (!info || parts->collectionIndex >= info->collections.size() ||
      HidCollectionPath(info->node, info->attributes, parts->collectionIndex) != path) {
    return nullptr;
  }
  const int accessFlags = AccessFlags(options);
  const int fd = opener_(info->node, accessFlags | O_CLOEXEC);
  if (fd < 0) {
    return nullptr;
  }
  // Waits happen in poll(); the descriptor itself never blocks.
  if (accessFlags != O_PATH) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  const int stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopFd < 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HidrawConnection>(fd, stopFd, std::move(*info), parts->collectionIndex,
                                            options);
}

}  // namespace mvk
