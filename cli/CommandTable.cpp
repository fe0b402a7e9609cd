#include "Commands.h"

namespace qv7cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"info", "driver version and the printer's file types",
         "Usage: qv7 info\n"
         "\n"
         "Prints the printer driver's version and each file type the printer keeps,\n"
         "in the printer's order, with its name and number of slots.\n",
         RunInfo},
        {"convert", "a data file (.dat) made from a CSV file; no printer needed",
         "Usage: qv7 convert FILE.csv [OUT.dat]\n"
         "\n"
         "Converts a comma-separated value file into a QV7E data file. Each line is a\n"
         "record of up to 8 fields; the first 100 lines are read and the whole text may\n"
         "have at most 6539 characters (a longer one is refused with the message\n"
         "\"error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small\"). A field holds at most\n"
         "33 characters; enclose a field in quotation marks to put commas or line breaks\n"
         "in it, and double a quotation mark inside it. The database name is the CSV\n"
         "file's name without folder and extension, cut to 9 characters.\n"
         "\n"
         "OUT.dat is by default the CSV file's name with .dat, in the CSV file's folder;\n"
         "a file already there is replaced. Nothing is written when the conversion fails.\n",
         RunConvert},
    };
    return commands;
}

}  // namespace qv7cli
