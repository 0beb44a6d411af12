#include "pagesetup.h"

#include <gtest/gtest.h>

#include <vector>

namespace tambrix {
namespace {

// Logs the names written, in order.
class LoggingRegistry : public fw::FakeRegistry {
public:
    std::vector<std::string> written;
    bool Write(fw::RegRoot root, const std::string& key, const std::string& name,
               const fw::RegValue& value) override {
        written.push_back(name);
        return FakeRegistry::Write(root, key, name, value);
    }
};

TEST(PageSetupStore, NoKeyKeepsTheDefaults) {
    fw::FakeRegistry reg;
    PageSetupValues v;
    PageDeviceFields dev;
    EXPECT_FALSE(LoadPageSetup(reg, v, dev));
    EXPECT_EQ(v.title + v.fileName + v.date + v.time + v.pageNo + v.lineNo, 0u);
    EXPECT_TRUE(v.face.empty() && v.size.empty());
    EXPECT_EQ(v.left, 2000);
    EXPECT_EQ(v.bottom, 2000);
    EXPECT_FALSE(dev.orientation || dev.paperSize || dev.defaultSource);
}

TEST(PageSetupStore, SavesInOrderAndReadsBack) {
    LoggingRegistry reg;
    PageSetupValues v;
    v.title = 1;
    v.lineNo = 1;
    v.face = std::string(50, 'F');  // longer than the first read's buffer
    v.size = "10.5";                // kept as typed
    v.top = 2550;
    v.right = 1000;
    PageDeviceFields dev;
    dev.paperSize = 9;
    ASSERT_TRUE(SavePageSetup(reg, v, dev));
    const std::vector<std::string> order = {"Title", "FileName", "Date", "Time", "PageNo", "LineNo",
                                            "FontFace", "FontSize", "TopMargin", "BottomMargin",
                                            "LeftMargin", "RightMargin", "PaperSize"};
    EXPECT_EQ(reg.written, order);

    PageSetupValues back;
    PageDeviceFields devBack;
    ASSERT_TRUE(LoadPageSetup(reg, back, devBack));
    EXPECT_EQ(back.title, 1u);
    EXPECT_EQ(back.date, 0u);
    EXPECT_EQ(back.face, v.face);
    EXPECT_EQ(back.size, "10.5");
    EXPECT_EQ(back.top, 2550);
    EXPECT_EQ(back.right, 1000);
    EXPECT_EQ(devBack.paperSize, std::optional<uint16_t>(9));
    EXPECT_FALSE(devBack.orientation);
}

TEST(PageSetupStore, DeviceFieldsAreCutTo16Bits) {
    fw::FakeRegistry reg;
    reg.WriteDword(fw::RegRoot::CurrentUser, kPageSetupKey, "Orientation", 0x10002);
    PageSetupValues v;
    PageDeviceFields dev;
    ASSERT_TRUE(LoadPageSetup(reg, v, dev));
    EXPECT_EQ(dev.orientation, std::optional<uint16_t>(2));
}

TEST(PageSetupStore, ALockedKeyIsNotSaved) {
    fw::FakeRegistry reg;
    reg.Lock(fw::RegRoot::CurrentUser, kPageSetupKey);
    EXPECT_FALSE(SavePageSetup(reg, PageSetupValues{}, PageDeviceFields{}));
}

}  // namespace
}  // namespace tambrix
