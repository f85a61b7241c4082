// Our own HID report-descriptor parser: it gives what the Windows HID parser
// gives the program (top-level collections, report lengths, button and value
// capabilities) and reads usages and values out of a received report.
//
// Reports are seen as Windows shows them: byte 0 is the report id (0 when the
// descriptor declares none), the fields follow. Bit offsets below count from
// the start of that buffer, so they include the id byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mvk {

enum class HidReportKind { Input = 0, Output = 1, Feature = 2 };
inline constexpr std::size_t kHidReportKinds = 3;

// The largest report we accept, id byte included (the kernel's own limit).
inline constexpr std::size_t kHidMaxReportBytes = 16384;

// One contiguous run of usages (a single usage has min == max).
struct HidUsageRange {
  uint16_t page = 0;
  uint16_t min = 0;
  uint16_t max = 0;
};

// One Input, Output or Feature main item.
struct HidField {
  HidReportKind kind = HidReportKind::Input;
  uint8_t reportId = 0;
  uint32_t bitOffset = 0;  // first bit of slot 0, from the start of the report
  uint32_t bitSize = 0;    // bits per slot
  uint32_t count = 0;      // number of slots
  bool isArray = false;    // slots hold usage indexes instead of values
  bool isConstant = false;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
  // The usages of the field in declaration order. A variable field's slot i
  // takes the i-th usage (the last one repeats); an array slot's value v
  // names usage number v - logicalMin.
  std::vector<HidUsageRange> usages;
};

// A button or value capability as the Windows parser lists them: one per
// usage run of a field.
struct HidCapability {
  std::size_t field = 0;  // index into HidCollection::fields
  HidReportKind kind = HidReportKind::Input;
  uint8_t reportId = 0;
  uint16_t usagePage = 0;
  bool isRange = false;
  uint16_t usageMin = 0;  // the usage when not a range
  uint16_t usageMax = 0;
  // The slot of the field this capability starts at (variable fields) or the
  // usage number of usageMin in the field's usage list (array fields).
  uint32_t firstSlot = 0;
  uint32_t bitOffset = 0;  // of firstSlot
  uint32_t bitSize = 0;
  uint32_t count = 0;  // slots covered
  bool isArray = false;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
};

struct HidCollection {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  // The report ids of the collection's reports; empty when the descriptor
  // declares no report ids.
  std::vector<uint8_t> reportIds;
  // Longest report of each kind in bytes, id byte included; 0 when none.
  std::size_t reportLength[kHidReportKinds] = {0, 0, 0};
  std::vector<HidField> fields;
  // Capabilities of all kinds; filter by `kind`.
  std::vector<HidCapability> buttonCaps;
  std::vector<HidCapability> valueCaps;

  std::size_t ReportLength(HidReportKind kind) const {
    return reportLength[static_cast<std::size_t>(kind)];
  }
  // True when reports with this id belong here (any id when none are used).
  bool OwnsReportId(uint8_t reportId) const;
};

// Parses a whole report descriptor into its top-level collections. Returns
// nullopt for a malformed or truncated descriptor.
std::optional<std::vector<HidCollection>> ParseReportDescriptor(std::span<const uint8_t> descriptor);

// Reads `bitSize` bits (at most 32) at `bitOffset` of a report, little-endian.
// Returns nullopt when the bits lie past the report's end.
std::optional<uint32_t> ExtractReportBits(std::span<const uint8_t> report, uint32_t bitOffset,
                                          uint32_t bitSize);

// The usages of `usagePage` that the report shows pressed, in report order,
// over every button field of the collection of that kind and report id.
std::vector<uint16_t> ReportUsages(const HidCollection& collection, HidReportKind kind,
                                   uint16_t usagePage, std::span<const uint8_t> report);

// How many usages of the page can be pressed at once in reports of the kind.
uint32_t MaxUsageListLength(const HidCollection& collection, HidReportKind kind,
                            uint16_t usagePage);

// The raw bits of one usage of a value capability; nullopt when the report
// has another id, the usage is not the capability's, or the report is short.
std::optional<uint32_t> ReportValue(const HidCapability& cap, uint16_t usage,
                                    std::span<const uint8_t> report);

// Reads a raw field value as signed two's complement of `bitSize` bits.
int32_t SignExtend(uint32_t raw, uint32_t bitSize);

}  // namespace mvk
