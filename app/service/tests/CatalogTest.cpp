// Reading the printer's catalogue: all three lists or none.
#include <gtest/gtest.h>

#include "CPrinterService.h"
#include "FakeCatalog.h"
#include "ScriptedPorts.h"

namespace {

using quillory::CPrinterService;
using quillory::FileKind;

class Catalog : public ::testing::Test {
protected:
    qv7test::ScriptedDriverScope scope;
    qv7test::FakeCatalog printer{*scope.driver};
    quillorytest::RecordingPrompt prompt;
    quillorytest::RecordingProgressWindows windows;
    CPrinterService service{prompt, windows};

    std::vector<std::string> Names(FileKind kind) {
        std::vector<std::string> names;
        for (int slot = 1; slot <= service.GetSlotCount(kind); ++slot) {
            EXPECT_EQ(service.GetSlot(kind, static_cast<uint8_t>(slot))->slot, slot);
            names.push_back(service.GetFileName(kind, static_cast<uint8_t>(slot)).toStdString());
        }
        return names;
    }
};

TEST_F(Catalog, ListsFollowTheTypeNamesAndSkipUnknownTypesWithoutAskingTheirSlots) {
    printer.types = {{"DAT", {"PRICES", "STOCK  ", ""}},
                     {"XYZ", {"odd", "odd"}},
                     {"QV7", {"Label01", "Label02"}},
                     {"MAP", {}}};
    EXPECT_EQ(service.GetDataSlot(1), nullptr) << "nothing before the first rebuild";
    EXPECT_EQ(service.IsLabelSlotValid(1), 0);
    ASSERT_TRUE(service.RebuildCatalog());

    EXPECT_EQ(Names(FileKind::Data), (std::vector<std::string>{"PRICES", "STOCK", ""}));
    EXPECT_EQ(Names(FileKind::Label), (std::vector<std::string>{"Label01", "Label02"}));
    EXPECT_EQ(service.GetSlotCount(FileKind::Symbol), 0);
    EXPECT_EQ(service.IsDataSlotValid(3), 1);
    // Out of range on both ends.
    EXPECT_EQ(service.GetDataSlot(0), nullptr);
    EXPECT_EQ(service.GetDataSlot(4), nullptr);

    EXPECT_EQ(scope.driver->CallsStartingWith("control 0x220014 08").size(), 5u)
        << "the names of the 3 data and 2 label slots only, none of the unknown type";
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Catalog, FailureAtTheVeryLastSlotOrNoPrinterKeepsThePreviousPictureAndShowsNothing) {
    printer.types = {{"DAT", {"ONE", "TWO"}}, {"QV7", {"Label01"}}, {"MAP", {"Btmap01", "Btmap02"}}};
    ASSERT_TRUE(service.RebuildCatalog());
    const quillory::CSlotEntry* before = service.GetSymbolSlot(2);

    printer.types = {{"DAT", {"NEW1", "NEW2", "NEW3"}}, {"QV7", {"Label09"}}, {"MAP", {"Btmap05", "Btmap06"}}};
    printer.failType = 2;
    printer.failSlot = 1;
    EXPECT_FALSE(service.RebuildCatalog());

    EXPECT_EQ(Names(FileKind::Data), (std::vector<std::string>{"ONE", "TWO"}));
    EXPECT_EQ(Names(FileKind::Label), (std::vector<std::string>{"Label01"}));
    EXPECT_EQ(Names(FileKind::Symbol), (std::vector<std::string>{"Btmap01", "Btmap02"}));
    EXPECT_EQ(service.GetSymbolSlot(2), before) << "entries stay where the tree points";

    scope.driver->findStep = qv7::FindStep::NoDevice;
    EXPECT_FALSE(service.RebuildCatalog());
    EXPECT_EQ(service.CatalogError(), "Invalid Device Instance") << "kept for the caller to report";
    EXPECT_EQ(Names(FileKind::Data), (std::vector<std::string>{"ONE", "TWO"}));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Catalog, OldFirmwareIsRefusedOnceWithTheUpgradeMessage) {
    printer.types = {{"DAT", {"ONE"}}, {"QV7", {}}, {"MAP", {}}};
    ASSERT_TRUE(service.RebuildCatalog());
    printer.types = {{"DAT", {"Blank40 ", "Blank40 "}}, {"QV7", {"Blank40"}}, {"MAP", {}}};
    EXPECT_FALSE(service.RebuildCatalog());

    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("upgrade your QV7E firmware to 2.0.3"), std::string::npos);
    EXPECT_EQ(Names(FileKind::Data), (std::vector<std::string>{"ONE"}));
}

}  // namespace
