#include "support/hid_descriptors.h"

namespace mvk::test {

std::vector<uint8_t> BootKeyboardDescriptor() {
  return {
      0x05, 0x01,        // Usage Page (Generic Desktop)
      0x09, 0x06,        // Usage (Keyboard)
      0xA1, 0x01,        // Collection (Application)
      0x05, 0x07,        //   Usage Page (Keyboard)
      0x19, 0xE0,        //   Usage Minimum (0xE0)
      0x29, 0xE7,        //   Usage Maximum (0xE7)
      0x15, 0x00,        //   Logical Minimum (0)
      0x25, 0x01,        //   Logical Maximum (1)
      0x75, 0x01,        //   Report Size (1)
      0x95, 0x08,        //   Report Count (8)
      0x81, 0x02,        //   Input (Data, Variable, Absolute)
      0x95, 0x01,        //   Report Count (1)
      0x75, 0x08,        //   Report Size (8)
      0x81, 0x01,        //   Input (Constant)
      0x95, 0x05,        //   Report Count (5)
      0x75, 0x01,        //   Report Size (1)
      0x05, 0x08,        //   Usage Page (LEDs)
      0x19, 0x01,        //   Usage Minimum (1)
      0x29, 0x05,        //   Usage Maximum (5)
      0x91, 0x02,        //   Output (Data, Variable, Absolute)
      0x95, 0x01,        //   Report Count (1)
      0x75, 0x03,        //   Report Size (3)
      0x91, 0x01,        //   Output (Constant)
      0x95, 0x06,        //   Report Count (6)
      0x75, 0x08,        //   Report Size (8)
      0x15, 0x00,        //   Logical Minimum (0)
      0x25, 0x65,        //   Logical Maximum (0x65)
      0x05, 0x07,        //   Usage Page (Keyboard)
      0x19, 0x00,        //   Usage Minimum (0)
      0x29, 0x65,        //   Usage Maximum (0x65)
      0x81, 0x00,        //   Input (Data, Array)
      0xC0,              // End Collection
  };
}

std::vector<uint8_t> ConsumerControlDescriptor() {
  return {
      0x05, 0x0C,        // Usage Page (Consumer)
      0x09, 0x01,        // Usage (Consumer Control)
      0xA1, 0x01,        // Collection (Application)
      0x85, 0x03,        //   Report ID (3)
      0x19, 0x00,        //   Usage Minimum (0)
      0x2A, 0xFF, 0x1F,  //   Usage Maximum (0x1FFF)
      0x15, 0x00,        //   Logical Minimum (0)
      0x26, 0xFF, 0x1F,  //   Logical Maximum (0x1FFF)
      0x75, 0x10,        //   Report Size (16)
      0x95, 0x02,        //   Report Count (2)
      0x81, 0x00,        //   Input (Data, Array)
      0xC0,              // End Collection
  };
}

std::vector<uint8_t> VendorCommandDescriptor() {
  return {
      0x06, 0x1C, 0xFF,  // Usage Page (0xFF1C)
      0x09, 0x92,        // Usage (0x92)
      0xA1, 0x01,        // Collection (Application)
      0x85, 0x04,        //   Report ID (4)
      0x09, 0x01,        //   Usage (1)
      0x15, 0x00,        //   Logical Minimum (0)
      0x26, 0xFF, 0x00,  //   Logical Maximum (255)
      0x75, 0x08,        //   Report Size (8)
      0x95, 0x3F,        //   Report Count (63)
      0x81, 0x02,        //   Input (Data, Variable, Absolute)
      0x09, 0x01,        //   Usage (1)
      0x91, 0x02,        //   Output (Data, Variable, Absolute)
      0xC0,              // End Collection
  };
}

std::vector<uint8_t> KeyboardCompositeDescriptor() {
  std::vector<uint8_t> descriptor = ConsumerControlDescriptor();
  const std::vector<uint8_t> vendor = VendorCommandDescriptor();
  descriptor.insert(descriptor.end(), vendor.begin(), vendor.end());
  return descriptor;
}

}  // namespace mvk::test
