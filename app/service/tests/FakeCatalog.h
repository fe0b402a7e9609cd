// A scripted printer's catalogue: its types and the names in their slots.
#ifndef QUILLORY_TESTS_FAKE_CATALOG_H
#define QUILLORY_TESTS_FAKE_CATALOG_H

#include <string>
#include <vector>

#include "ScriptedDriver.h"

namespace qv7test {

struct FakeType {
    std::string name;
    std::vector<std::string> slotNames;
};

// A printer with the given types; the name query for (failType, failSlot) breaks.
struct FakeCatalog {
    explicit FakeCatalog(qv7test::ScriptedDriver& driver) {
        driver.onGetCommand = [this](const uint8_t* block, std::vector<uint8_t>* reply) {
            const int type = block[2] | block[3] << 8;
            const int slot = block[4] | block[5] << 8;
            const auto text = [reply](const std::string& value, size_t size) {
                reply->assign(size, 0);
                std::copy(value.begin(), value.end(), reply->begin());
            };
            switch (block[0]) {
            case 5: *reply = {static_cast<uint8_t>(types.size()), 0}; return true;
            case 6: text(types.at(type).name, 4); return true;
            case 7: *reply = {static_cast<uint8_t>(types.at(type).slotNames.size()), 0}; return true;
            case 8:
                if (type == failType && slot == failSlot) *reply = {0};
                else text(types.at(type).slotNames.at(slot), 9);
                return true;
            default: return false;
            }
        };
    }
    std::vector<FakeType> types;
    int failType = -1;
    int failSlot = -1;
};

}  // namespace qv7test

#endif
