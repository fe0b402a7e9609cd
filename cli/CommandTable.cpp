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
        {"list", "the printer's data, label and symbol files, slot by slot",
         "Usage: qv7 list [--json]\n"
         "\n"
         "Lists the files the printer holds as the Quillory window shows them: data\n"
         "files, label files (slots 1-30) and symbol files (slots 1-10), each slot as\n"
         "\"(Slot N)  NAME.ext\" or \"(Slot N)  <empty slot>\".\n"
         "\n"
         "  --json   one JSON object with the arrays \"data\", \"label\" and \"symbol\";\n"
         "           each slot has \"slot\", \"empty\", \"name\", \"file\" and \"text\"\n",
         RunList},
        {"get", "copy a slot's file from the printer into a folder",
         "Usage: qv7 get data|label|symbol SLOT [FOLDER] [--force]\n"
         "\n"
         "Copies the file in the printer's slot into FOLDER (default: the current\n"
         "folder) under the name the printer gives it, with .dat, .qv7 or .bmp.\n"
         "An existing file is replaced only after you answer Yes, or with --force;\n"
         "when no one can answer (input is not a terminal) the get is refused.\n"
         "A failed get leaves any existing file as it was.\n"
         "\n"
         "  -f, --force   replace an existing file without asking\n",
         RunGet},
        {"send", "store a PC file in a printer slot, replacing its file",
         "Usage: qv7 send data|label|symbol SLOT FILE\n"
         "\n"
         "Sends FILE to the printer's slot, replacing the file stored there. A data\n"
         "file must be a QV7E data file (see 'qv7 convert').\n",
         RunSend},
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
        {"paths", "where the installed files (help, schema, ...) are looked for",
         "Usage: qv7 paths\n"
         "\n"
         "Prints the files an installation brings along, where this qv7 looks for\n"
         "them (under the folder above its own), and \"(missing)\" after those not there.\n",
         RunPaths},
    };
    return commands;
}

}  // namespace qv7cli
