// Report descriptors shaped like those of real devices, written out byte by
// byte, for tests of the parser, the backends and the device object.
#pragma once

#include <cstdint>
#include <vector>

namespace mvk::test {

// The boot keyboard: 8 modifier bits, a reserved byte, six key slots in; five
// LED bits out. No report ids.
std::vector<uint8_t> BootKeyboardDescriptor();

// A consumer-control collection (page 0x0C, usage 0x01) with report id 3: two
// array slots of 16-bit usages 0 to 0x1FFF.
std::vector<uint8_t> ConsumerControlDescriptor();

// The keyboard's command collection (page 0xFF1C, usage 0x92) with report id
// 4: 63 data bytes in and 63 out.
std::vector<uint8_t> VendorCommandDescriptor();

// The keyboard's second interface: consumer control, then the command
// collection, in one descriptor.
std::vector<uint8_t> KeyboardCompositeDescriptor();

}  // namespace mvk::test
