// The keyboard's HID collections and report descriptors as the tool shows them.
#include <QJsonArray>
#include <QJsonObject>

#include <fstream>

#include "cli_fixture.h"
#include "sim/simulated_keyboard.h"

namespace mvk::test {
namespace {

class CliDevices : public CliTest {
 protected:
  QString WriteDescriptor(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return PathOf(name);
  }
};

TEST_F(CliDevices, DescriptorListsEachTopLevelCollectionWithWindowsReportLengths) {
  const ToolRun run = Run(
      {"descriptor", WriteDescriptor("keyboard.desc", sim::KeyboardReportDescriptor()), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.Json().array(), (QJsonArray{
                                    QJsonObject{{"usage_page", 0xFF1C},
                                                {"usage", 0x92},
                                                {"report_ids", QJsonArray{4}},
                                                {"input_length", 64},
                                                {"output_length", 64},
                                                {"feature_length", 0}},
                                    QJsonObject{{"usage_page", 0x0C},
                                                {"usage", 0x01},
                                                {"report_ids", QJsonArray{3}},
                                                {"input_length", 5},
                                                {"output_length", 0},
                                                {"feature_length", 0}},
                                }));
}

TEST_F(CliDevices, MalformedDescriptorsAreRefusedWithTwo) {
  auto truncated = sim::KeyboardReportDescriptor();
  truncated.resize(truncated.size() - 1);  // the last End Collection
  const std::vector<uint8_t> cases[] = {truncated, {0xC0}, {}};
  for (const auto& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    const ToolRun run = Run({"descriptor", WriteDescriptor("bad.desc", bytes)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("not a valid HID report descriptor"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Run({"descriptor", PathOf("absent.desc")}).exitCode, 2);
}

TEST_F(CliDevices, DevicesListsTheKeyboardsCollections) {
  const ToolRun run = Run({"devices", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonArray found = run.Json().array();
  ASSERT_EQ(found.size(), 2);
  EXPECT_EQ(found[0].toObject()["usage_page"], 0xFF1C);
  EXPECT_EQ(found[0].toObject()["usage"], 0x92);
  EXPECT_EQ(found[1].toObject()["usage_page"], 0x0C);
  EXPECT_EQ(found[1].toObject()["usage"], 0x01);
  EXPECT_TRUE(found[0].toObject()["path"].toString().contains("vid_320f"));
  EXPECT_EQ(RunWithoutKeyboard({"devices"}).exitCode, 3);
}

}  // namespace
}  // namespace mvk::test
