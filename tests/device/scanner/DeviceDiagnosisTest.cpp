// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/hid/FakeSysfsTree.h"
#include "device/hid/TestDescriptors.h"
#include "device/scanner/DeviceDiagnosis.h"

using namespace device;

namespace {

class DeviceDiagnosisTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree_.AddNode("hidraw0", "1-1", 2, 0, "0003:0000320F:0000505B", testdesc::BootKeyboard());
        tree_.AddNode("hidraw1", "1-1", 2, 1, "0003:0000320F:0000505B", testdesc::ConfigInterface());
        tree_.AddNode("hidraw2", "1-3", 1, 0, "0003:0000046D:0000C52B", testdesc::NestedMouse());
    }
    DiagnosisOptions Options(bool withRule) {
        DiagnosisOptions o;
        o.sysRoot = tree_.Sys();
        o.devRoot = tree_.Dev();
        o.ruleDirs = {tree_.Root() / "etc-rules", tree_.Root() / "lib-rules"};
        if (withRule) FakeSysfsTree::Write(tree_.Root() / "lib-rules" / o.ruleFile, "# rule\n");
        return o;
    }
    FakeSysfsTree tree_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
};


TEST_F(DeviceDiagnosisTest, MarksTheSupportedCollectionsOfEachNode) {
    DeviceDiagnosis diagnosis(Options(false));
    auto nodes = diagnosis.Nodes();
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_FALSE(nodes[0].Supported());  // the typing interface is never ours
    ASSERT_EQ(nodes[1].collections.size(), 4u);
    EXPECT_TRUE(nodes[1].Supported());
    EXPECT_EQ(nodes[1].collections[2].slot, 1);  // consumer collection: events
    EXPECT_EQ(nodes[1].collections[3].slot, 0);  // vendor collection: commands
    EXPECT_EQ(nodes[1].collections[0].slot, -1);
    EXPECT_EQ(nodes[1].interfaceNumber, 1);
    EXPECT_FALSE(nodes[2].Supported());
    EXPECT_EQ(nodes[2].vendorId, 0x046D);
    EXPECT_TRUE(nodes[1].canOpenReadWrite);
}

TEST_F(DeviceDiagnosisTest, ReportTellsWhatToDoAboutTheRule) {
    std::string without = DeviceDiagnosis(Options(false)).Report();
    EXPECT_NE(without.find("udev rule: NOT installed"), std::string::npos);
    EXPECT_NE(without.find("sudo install -m 644 packaging/60-telix-tx512.rules /etc/udev/rules.d/"), std::string::npos);
    EXPECT_NE(without.find("320f:505b  interface 1"), std::string::npos);
    EXPECT_NE(without.find("supported: TX512 keyboard commands (slot 0)"), std::string::npos);
    EXPECT_NE(without.find("All supported devices can be used."), std::string::npos);

    std::string with = DeviceDiagnosis(Options(true)).Report();
    EXPECT_NE(with.find("udev rule: installed (" + (tree_.Root() / "lib-rules/60-telix-tx512.rules").string() + ")"),
              std::string::npos);

    // A node that cannot be opened is named, with the reason.
    std::filesystem::remove(tree_.Dev() / "hidraw1");
    std::string blocked = DeviceDiagnosis(Options(true)).Report();
    EXPECT_NE(blocked.find("open for reading and writing: no (No such file or directory)"), std::string::npos);
    EXPECT_NE(blocked.find("1 supported device node(s) cannot be opened by this user."), std::string::npos);
}

TEST(DeviceDiagnosis, NoNodesAtAllIsSaidPlainly) {
    FakeSysfsTree empty("empty");
    DiagnosisOptions o;
    o.sysRoot = empty.Sys();
    o.devRoot = empty.Dev();
    o.ruleDirs = {};
    std::string report = DeviceDiagnosis(o).Report();
    EXPECT_NE(report.find("HID raw devices: 0"), std::string::npos);
    EXPECT_NE(report.find("No TX512 keyboard or mouse pad is attached."), std::string::npos);
}

}  // namespace
