#include "platform/hid_descriptor.h"

#include <algorithm>
#include <array>
#include <map>

namespace mvk {
namespace {

// Item prefix: bits 0-1 size code, bits 2-3 type, bits 4-7 tag.
constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;

namespace main_tag {
constexpr int kInput = 0x8;
constexpr int kOutput = 0x9;
constexpr int kCollection = 0xA;
constexpr int kFeature = 0xB;
constexpr int kEndCollection = 0xC;
}  // namespace main_tag

namespace global_tag {
constexpr int kUsagePage = 0x0;
constexpr int kLogicalMin = 0x1;
constexpr int kLogicalMax = 0x2;
constexpr int kReportSize = 0x7;
constexpr int kReportId = 0x8;
constexpr int kReportCount = 0x9;
constexpr int kPush = 0xA;
constexpr int kPop = 0xB;
}  // namespace global_tag

namespace local_tag {
constexpr int kUsage = 0x0;
constexpr int kUsageMin = 0x1;
constexpr int kUsageMax = 0x2;
}  // namespace local_tag

// Main item data bits.
constexpr uint32_t kFlagConstant = 0x01;
constexpr uint32_t kFlagVariable = 0x02;

// Linux refuses larger report sizes too; wider slots are only ever padding.
constexpr uint32_t kMaxReportSize = 256;

struct Item {
  int type = 0;
  int tag = 0;
  std::size_t size = 0;  // data bytes
  uint32_t data = 0;     // little-endian, zero-extended
};

struct GlobalState {
  uint16_t usagePage = 0;
  Item logicalMin;
  Item logicalMax;
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint8_t reportId = 0;
};

// A usage as written: 4-byte usages carry their own page in the high half.
struct LocalUsage {
  uint32_t value = 0;
  bool extended = false;
};

struct LocalState {
  std::vector<std::pair<LocalUsage, LocalUsage>> ranges;  // min, max
  std::optional<LocalUsage> pendingMin;
  std::optional<LocalUsage> pendingMax;
};

int32_t SignedData(const Item& item) {
  switch (item.size) {
    case 1:
      return static_cast<int8_t>(item.data);
    case 2:
      return static_cast<int16_t>(item.data);
    default:
      return static_cast<int32_t>(item.data);
  }
}

std::optional<HidUsageRange> ResolveRange(const LocalUsage& min, const LocalUsage& max,
                                          uint16_t usagePage) {
  const auto page = [usagePage](const LocalUsage& u) {
    return u.extended ? static_cast<uint16_t>(u.value >> 16) : usagePage;
  };
  HidUsageRange range{page(min), static_cast<uint16_t>(min.value),
                      static_cast<uint16_t>(max.value)};
  if (page(max) != range.page || range.max < range.min) {
    return std::nullopt;
  }
  return range;
}

class Parser {
 public:
  std::optional<std::vector<HidCollection>> Run(std::span<const uint8_t> bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      if (bytes[pos] == kLongItemPrefix) {
        // Long items carry nothing we use: skip them, but only within bounds.
        if (pos + 3 > bytes.size() || pos + 3 + bytes[pos + 1] > bytes.size()) {
          return std::nullopt;
        }
        pos += 3 + bytes[pos + 1];
        continue;
      }
      const std::optional<Item> item = ReadShortItem(bytes, pos);
      if (!item || !Handle(*item)) {
        return std::nullopt;
      }
    }
    if (depth_ != 0 || collections_.empty()) {
      return std::nullopt;
    }
    Finish();
    return std::move(collections_);
  }

 private:
  static std::optional<Item> ReadShortItem(std::span<const uint8_t> bytes, std::size_t& pos) {
    constexpr std::array<std::size_t, 4> kSizes = {0, 1, 2, 4};
    const uint8_t prefix = bytes[pos];
    Item item{(prefix >> 2) & 0x3, prefix >> 4, kSizes[prefix & 0x3], 0};
    if (pos + 1 + item.size > bytes.size()) {
      return std::nullopt;
    }
    for (std::size_t i = 0; i < item.size; ++i) {
      item.data |= static_cast<uint32_t>(bytes[pos + 1 + i]) << (8 * i);
    }
    pos += 1 + item.size;
    return item;
  }

  bool Handle(const Item& item) {
    switch (item.type) {
      case kTypeMain:
        return HandleMain(item);
      case kTypeGlobal:
        return HandleGlobal(item);
      case kTypeLocal:
        return HandleLocal(item);
      default:
        return false;  // reserved item type
    }
  }

  bool HandleGlobal(const Item& item) {
    switch (item.tag) {
      case global_tag::kUsagePage:
        global_.usagePage = static_cast<uint16_t>(item.data);
        return true;
      case global_tag::kLogicalMin:
        global_.logicalMin = item;
        return true;
      case global_tag::kLogicalMax:
        global_.logicalMax = item;
        return true;
      case global_tag::kReportSize:
        global_.reportSize = item.data;
        return item.data <= kMaxReportSize;
      case global_tag::kReportCount:
        global_.reportCount = item.data;
        return item.data <= kHidMaxReportBytes * 8;
      case global_tag::kReportId:
        if (item.data == 0 || item.data > 0xFF) {
          return false;
        }
        global_.reportId = static_cast<uint8_t>(item.data);
        return true;
      case global_tag::kPush:
        stack_.push_back(global_);
        return true;
      case global_tag::kPop:
        if (stack_.empty()) {
          return false;
        }
        global_ = stack_.back();
        stack_.pop_back();
        return true;
      default:
        return true;  // physical range, units: nothing we report
    }
  }

  bool HandleLocal(const Item& item) {
    const LocalUsage usage{item.data, item.size == 4};
    switch (item.tag) {
      case local_tag::kUsage:
        local_.ranges.emplace_back(usage, usage);
        return true;
      case local_tag::kUsageMin:
        local_.pendingMin = usage;
        break;
      case local_tag::kUsageMax:
        local_.pendingMax = usage;
        break;
      default:
        return true;  // designators, strings and delimiters are ignored
    }
    if (local_.pendingMin && local_.pendingMax) {
      local_.ranges.emplace_back(*local_.pendingMin, *local_.pendingMax);
      local_.pendingMin.reset();
      local_.pendingMax.reset();
    }
    return true;
  }

  bool HandleMain(const Item& item) {
    bool ok = true;
    switch (item.tag) {
      case main_tag::kCollection:
        ok = OpenCollection();
        break;
      case main_tag::kEndCollection:
        ok = depth_ > 0;
        depth_ -= ok ? 1 : 0;
        break;
      case main_tag::kInput:
        ok = AddField(HidReportKind::Input, item.data);
        break;
      case main_tag::kOutput:
        ok = AddField(HidReportKind::Output, item.data);
        break;
      case main_tag::kFeature:
        ok = AddField(HidReportKind::Feature, item.data);
        break;
      default:
        ok = false;
    }
    local_ = LocalState{};
    return ok;
  }

  bool OpenCollection() {
    if (depth_ == 0) {
      HidCollection collection;
      if (!local_.ranges.empty()) {
        const auto range = ResolveRange(local_.ranges.front().first,
                                        local_.ranges.front().first, global_.usagePage);
        collection.usagePage = range->page;
        collection.usage = range->min;
      } else {
        collection.usagePage = global_.usagePage;
      }
      collections_.push_back(std::move(collection));
    }
    ++depth_;
    return true;
  }

  bool AddField(HidReportKind kind, uint32_t flags) {
    if (depth_ == 0) {
      return false;  // data outside every collection has no owner
    }
    HidField field;
    field.kind = kind;
    field.reportId = global_.reportId;
    field.bitSize = global_.reportSize;
    field.count = global_.reportCount;
    field.isConstant = (flags & kFlagConstant) != 0;
    field.isArray = (flags & kFlagVariable) == 0;
    if (!SetLogicalRange(field)) {
      return false;
    }
    for (const auto& [min, max] : local_.ranges) {
      const auto range = ResolveRange(min, max, global_.usagePage);
      if (!range) {
        return false;
      }
      field.usages.push_back(*range);
    }
    return PlaceField(field);
  }

  bool SetLogicalRange(HidField& field) const {
    field.logicalMin = SignedData(global_.logicalMin);
    field.logicalMax = SignedData(global_.logicalMax);
    // Many devices write an unsigned maximum such as 0xFF in one byte; read it
    // as unsigned when the minimum is not negative, as the major parsers do.
    if (field.logicalMin >= 0 && field.logicalMax < field.logicalMin) {
      field.logicalMax = static_cast<int32_t>(global_.logicalMax.data);
    }
    return field.logicalMax >= field.logicalMin;
  }

  bool PlaceField(HidField& field) {
    const std::size_t index = static_cast<std::size_t>(field.kind) * 256 + field.reportId;
    const uint64_t bits = uint64_t{field.bitSize} * field.count;
    if (bitsUsed_[index] + bits > (kHidMaxReportBytes - 1) * 8) {
      return false;
    }
    if (!ClaimReportId(field.reportId)) {
      return false;
    }
    field.bitOffset = 8 + bitsUsed_[index];
    bitsUsed_[index] += static_cast<uint32_t>(bits);
    collections_.back().fields.push_back(std::move(field));
    return true;
  }

  // A report id belongs to one top-level collection, and a descriptor either
  // numbers all its reports or none: otherwise reports could not be routed.
  bool ClaimReportId(uint8_t reportId) {
    const std::size_t owner = collections_.size() - 1;
    const auto [it, inserted] = idOwner_.emplace(reportId, owner);
    if (!inserted && it->second != owner) {
      return false;
    }
    return idOwner_.begin()->first != 0 || idOwner_.size() == 1;
  }

  void Finish() {
    for (std::size_t c = 0; c < collections_.size(); ++c) {
      HidCollection& collection = collections_[c];
      for (const auto& [id, owner] : idOwner_) {
        if (owner != c) {
          continue;
        }
        if (id != 0) {
          collection.reportIds.push_back(id);
        }
        for (std::size_t kind = 0; kind < kHidReportKinds; ++kind) {
          const uint32_t bits = bitsUsed_[kind * 256 + id];
          if (bits > 0) {
            collection.reportLength[kind] =
                std::max<std::size_t>(collection.reportLength[kind], 1 + (bits + 7) / 8);
          }
        }
      }
      BuildCapabilities(collection);
    }
  }

  static void BuildCapabilities(HidCollection& collection) {
    for (std::size_t f = 0; f < collection.fields.size(); ++f) {
      const HidField& field = collection.fields[f];
      if (field.isConstant || field.usages.empty() || field.count == 0) {
        continue;
      }
      const bool button = field.isArray || field.bitSize == 1;
      auto& caps = button ? collection.buttonCaps : collection.valueCaps;
      uint32_t slot = 0;
      for (std::size_t u = 0; u < field.usages.size(); ++u) {
        const HidUsageRange& range = field.usages[u];
        const uint32_t width = uint32_t{range.max} - range.min + 1;
        HidCapability cap;
        cap.field = f;
        cap.kind = field.kind;
        cap.reportId = field.reportId;
        cap.usagePage = range.page;
        cap.isRange = range.min != range.max;
        cap.usageMin = range.min;
        cap.usageMax = range.max;
        cap.firstSlot = slot;
        cap.bitSize = field.bitSize;
        cap.isArray = field.isArray;
        cap.logicalMin = field.logicalMin;
        cap.logicalMax = field.logicalMax;
        if (field.isArray) {
          cap.bitOffset = field.bitOffset;
          cap.count = field.count;
        } else {
          if (slot >= field.count) {
            break;  // more usages than slots: the rest name nothing
          }
          const bool last = u + 1 == field.usages.size();
          cap.count = last ? field.count - slot : std::min(width, field.count - slot);
          cap.bitOffset = field.bitOffset + slot * field.bitSize;
        }
        caps.push_back(cap);
        slot += width;
      }
    }
  }

  GlobalState global_;
  std::vector<GlobalState> stack_;
  LocalState local_;
  int depth_ = 0;
  std::vector<HidCollection> collections_;
  std::array<uint32_t, kHidReportKinds * 256> bitsUsed_{};
  std::map<uint8_t, std::size_t> idOwner_;
};

bool IsButtonField(const HidField& field) {
  return !field.isConstant && (field.isArray || field.bitSize == 1);
}

// The usage that slot `slot` of a variable field stands for, or usage number
// `slot` of an array field's list.
std::optional<HidUsageRange> NthUsage(const HidField& field, uint32_t n, bool repeatLast) {
  for (const HidUsageRange& range : field.usages) {
    const uint32_t width = uint32_t{range.max} - range.min + 1;
    if (n < width) {
      const auto usage = static_cast<uint16_t>(range.min + n);
      return HidUsageRange{range.page, usage, usage};
    }
    n -= width;
  }
  if (repeatLast && !field.usages.empty()) {
    const HidUsageRange& last = field.usages.back();
    return HidUsageRange{last.page, last.max, last.max};
  }
  return std::nullopt;
}

std::optional<HidUsageRange> SlotUsage(const HidField& field, uint32_t slot,
                                       std::span<const uint8_t> report) {
  const auto raw = ExtractReportBits(report, field.bitOffset + slot * field.bitSize,
                                     field.bitSize);
  if (!raw) {
    return std::nullopt;
  }
  if (!field.isArray) {
    return *raw != 0 ? NthUsage(field, slot, true) : std::nullopt;
  }
  const int64_t value = field.logicalMin < 0 ? SignExtend(*raw, field.bitSize) : int64_t{*raw};
  if (value < field.logicalMin || value > field.logicalMax) {
    return std::nullopt;  // the array's "nothing pressed" value
  }
  return NthUsage(field, static_cast<uint32_t>(value - field.logicalMin), false);
}

}  // namespace

bool HidCollection::OwnsReportId(uint8_t reportId) const {
  return reportIds.empty() ||
         std::find(reportIds.begin(), reportIds.end(), reportId) != reportIds.end();
}

std::optional<std::vector<HidCollection>> ParseReportDescriptor(
    std::span<const uint8_t> descriptor) {
  return Parser{}.Run(descriptor);
}

std::optional<uint32_t> ExtractReportBits(std::span<const uint8_t> report, uint32_t bitOffset,
                                          uint32_t bitSize) {
  if (bitSize == 0 || bitSize > 32 || uint64_t{bitOffset} + bitSize > report.size() * 8) {
    return std::nullopt;
  }
  uint32_t value = 0;
  for (uint32_t i = 0; i < bitSize; ++i) {
    const uint32_t bit = bitOffset + i;
    if ((report[bit / 8] >> (bit % 8)) & 1) {
      value |= uint32_t{1} << i;
    }
  }
  return value;
}

int32_t SignExtend(uint32_t raw, uint32_t bitSize) {
  if (bitSize == 0 || bitSize >= 32) {
    return static_cast<int32_t>(raw);
  }
  const uint32_t sign = uint32_t{1} << (bitSize - 1);
  return static_cast<int32_t>((raw ^ sign) - sign);
}

std::vector<uint16_t> ReportUsages(const HidCollection& collection, HidReportKind kind,
                                   uint16_t usagePage, std::span<const uint8_t> report) {
  std::vector<uint16_t> usages;
  if (report.empty()) {
    return usages;
  }
  for (const HidField& field : collection.fields) {
    if (field.kind != kind || field.reportId != report[0] || !IsButtonField(field)) {
      continue;
    }
    for (uint32_t slot = 0; slot < field.count; ++slot) {
      const auto usage = SlotUsage(field, slot, report);
      // Usage 0 is "undefined" on every page: it never counts as pressed.
      if (usage && usage->page == usagePage && usage->min != 0) {
        usages.push_back(usage->min);
      }
    }
  }
  return usages;
}

uint32_t MaxUsageListLength(const HidCollection& collection, HidReportKind kind,
                            uint16_t usagePage) {
  uint32_t length = 0;
  for (const HidField& field : collection.fields) {
    const bool onPage = std::any_of(field.usages.begin(), field.usages.end(),
                                    [usagePage](const HidUsageRange& r) { return r.page == usagePage; });
    if (field.kind == kind && IsButtonField(field) && onPage) {
      length += field.count;
    }
  }
  return length;
}

std::optional<uint32_t> ReportValue(const HidCapability& cap, uint16_t usage,
                                    std::span<const uint8_t> report) {
  if (report.empty() || report[0] != cap.reportId || usage < cap.usageMin ||
      usage > cap.usageMax) {
    return std::nullopt;
  }
  const uint32_t slot = usage - cap.usageMin;
  if (slot >= cap.count) {
    return std::nullopt;
  }
  return ExtractReportBits(report, cap.bitOffset + slot * cap.bitSize, cap.bitSize);
}

}  // namespace mvk
