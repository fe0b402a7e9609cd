// The name the device gives a file it takes into a slot.
#ifndef QV7_VIRTUAL_STORED_NAMES_H
#define QV7_VIRTUAL_STORED_NAMES_H

#include <cstdint>
#include <string>

namespace qv7::virtualprinter {

// A data file ("DAT") is known by its database name, bytes 15 to 23 of the
// file; a symbol ("MAP") by its slot, "Btmap03"; a label ("QV7") likewise,
// "Label03"; any other type by its type name and slot, "XYZ03". A data file
// too short or with a blank name falls back to "Data03".
std::string StoredNameFor(const std::string& typeName, uint32_t slotIndex, const uint8_t* bytes, uint32_t size);

// Bytes 15 to 23 up to the first zero (or any control byte, which no stored
// name can hold), at most 8 characters kept. Empty when there is none.
std::string DatabaseNameOf(const uint8_t* bytes, uint32_t size);

}  // namespace qv7::virtualprinter

#endif
