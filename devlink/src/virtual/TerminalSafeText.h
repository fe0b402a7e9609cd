// Folder texts quoted in messages that reach a terminal: a name or setting
// written into the folder may hold escape sequences, and a file of megabytes
// may sit where a one-line name belongs.
#ifndef QV7_VIRTUAL_TERMINAL_SAFE_TEXT_H
#define QV7_VIRTUAL_TERMINAL_SAFE_TEXT_H

#include <cstddef>
#include <string>

namespace qv7::virtualprinter {

// Control bytes (C0, DEL, and C1 whether raw or UTF-8 encoded), the bytes of
// format characters (bidirectional controls, zero-width and tag characters)
// and bytes that are not UTF-8 become \xNN; text beyond `limit` bytes is cut
// and ends in "...".
std::string TerminalSafeText(const std::string& text, size_t limit = 300);

}  // namespace qv7::virtualprinter

#endif
