// The symbol files the program keeps on the PC: the size every symbol must
// have, the preview cache the tree fetches symbols into, saving that cache
// under a name the user picks, and the sample symbols a new user starts with.
#ifndef QUILLORY_SYMBOL_FILES_H
#define QUILLORY_SYMBOL_FILES_H

#include <QString>

namespace quillory {

// A symbol is this many pixels wide and high.
inline constexpr int kSymbolSide = 150;

inline constexpr char kSymbolSizeMessage[] = "Please select a 150 pixels x 150 pixels monochrome bitmap.";

// The file the tree fetches a symbol into to preview it: "Test1x.bmp" in the
// user's cache folder, which is created when missing. (The program was once
// given a file in its installation folder, which a user cannot write.)
QString SymbolPreviewCacheFile();

// Copies source over target, through a temporary file beside the target: a
// failure leaves whatever target held untouched. True when it was copied.
bool SaveSymbolCopy(const QString& source, const QString& target);

// Where the program's sample symbols are installed: SharedDataFolder()/symbols.
QString SampleSymbolFolder();

// Gives a new user something to send: when the symbol folder does not exist
// yet, makes it and copies the sample symbols into it. An existing folder is
// the user's own and is left alone.
void SeedSymbolFolder();

}  // namespace quillory

#endif
