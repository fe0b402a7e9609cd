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
         "file must be a QV7E data file (see 'qv7 convert'). A symbol that is a bitmap\n"
         "of any size but 150 x 150 pixels is refused before the printer is reached.\n",
         RunSend},
        {"convert", "a data file (.dat) made from a CSV file, or back; no printer needed",
         "Usage: qv7 convert FILE.csv [OUT.dat]\n"
         "       qv7 convert FILE.dat [OUT.csv]\n"
         "\n"
         "Converts a comma-separated value file into a QV7E data file. Each line is a\n"
         "record of up to 8 fields; the first 100 lines are read and the whole text may\n"
         "have at most 6539 characters (a longer one is refused with the message\n"
         "\"error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small\"). A field holds at most\n"
         "33 characters; enclose a field in quotation marks to put commas or line breaks\n"
         "in it, and double a quotation mark inside it. The database name is the CSV\n"
         "file's name without folder and extension, cut to 9 characters.\n"
         "\n"
         "A data file holds Western European text (Windows-1252). A CSV file in UTF-8\n"
         "(with or without the byte-order mark) is converted to it before characters\n"
         "are counted; a character it lacks is refused with its line and column. A file\n"
         "that is not UTF-8 is taken byte for byte, as Windows-1252.\n"
         "\n"
         "A file ending in .dat goes the other way: its records are written as CSV\n"
         "text in UTF-8 that converts back into the same records.\n"
         "\n"
         "OUT is by default the file's name with .dat (or .csv), in its folder; a file\n"
         "already there is replaced. Nothing is written when the conversion fails.\n",
         RunConvert},
        {"send-set", "send every file a file set definition (.fsd) lists",
         "Usage: qv7 send-set FILE.fsd\n"
         "\n"
         "Checks FILE.fsd against the installed schema (quilloryFileSet.xsd, found from\n"
         "the dir value of the machine-wide settings), then sends each data and label\n"
         "file it lists to its slot, in the order listed. A file that cannot be sent\n"
         "does not stop the others; the command fails if any did.\n",
         RunSendSet},
        {"get-all", "copy every data and label file of the printer into a folder",
         "Usage: qv7 get-all FOLDER [--yes]\n"
         "\n"
         "Copies every data file, then every label file, into FOLDER as SLOT_NAME.dat\n"
         "and SLOT_NAME.qv7 (each tried up to 3 times; label files are not copied when\n"
         "a data file could not be), and writes allFiles.fsd there listing what came,\n"
         "ready for 'qv7 send-set'. Files of the same names are replaced after you\n"
         "answer Yes, or with --yes; without a terminal to answer, nothing is copied.\n"
         "\n"
         "  -y, --yes   replace files without asking\n",
         RunGetAll},
        {"firmware", "get, back up, upgrade or restore the printer's firmware",
         "Usage: qv7 firmware get FILE|FOLDER [--yes]\n"
         "       qv7 firmware backup [--yes]\n"
         "       qv7 firmware upgrade --model QV7E|QV7EQ [--yes]\n"
         "       qv7 firmware restore FILE [--access-code CODE] [--yes]\n"
         "\n"
         "The printer must be in its firmware transfer mode: disconnect its power, hold\n"
         "down F5 and reconnect power. Each action shows these steps first and goes on\n"
         "only after you answer yes.\n"
         "\n"
         "  get       copies the printer's firmware into FILE, or into FOLDER as QV7_N.bin\n"
         "            (N: the driver's version); asks before replacing a file\n"
         "  backup    copies it into the backup folder as QV7_200_BK.bin or\n"
         "            QV7_300_BK.bin, by its size; the older backup stays until the new\n"
         "            one is complete\n"
         "  upgrade   takes the backup, then sends the installed image for the keypad\n"
         "            model and the firmware found: QV7E_200.bin, QV7EQ_300.bin, ... in\n"
         "            $QUILLORY_FIRMWARE_DIR, else <prefix>/share/quillory/QV7_Firmware\n"
         "  restore   sends FILE, after the access code (asked on the terminal unless\n"
         "            --access-code gives it)\n"
         "\n"
         "get and backup print the path of the file they wrote.\n"
         "\n"
         "  --model QV7E|QV7EQ   the printer's keypad model\n"
         "  --access-code CODE   the access code for restore\n"
         "  -y, --yes            answer yes to every question (the power steps, the\n"
         "                       model, replacing a file), for scripts\n",
         RunFirmware},
        {"doctor", "why the printer cannot be reached, and what to do",
         "Usage: qv7 doctor [--json]\n"
         "       qv7 doctor --candidates [--json]\n"
         "\n"
         "Checks, one line each, what stands between this program and the printer:\n"
         "on USB the ids looked for and where they were set (the built-in placeholder\n"
         "names no printer), a device with them on the bus, permission to open it (and\n"
         "the udev rule that gives it), its interface free of other drivers and\n"
         "programs, and a printer that answers as a QV7E in its Files / Printing mode;\n"
         "for a virtual printer, its folder. A check that fails says what is wrong and\n"
         "what to type, and the checks after it are not run.\n"
         "\n"
         "Exit code 0 only when the printer can be used.\n"
         "\n"
         "  --candidates   lists the attached USB devices that may be the printer: those\n"
         "                 with a vendor-specific interface with one bulk IN and one\n"
         "                 bulk OUT endpoint, as the bus path, the ids and the device's\n"
         "                 product text. Nothing is sent to any device. Exit code 0\n"
         "                 when there is at least one\n"
         "  --json         one JSON object: \"usable\" and the array \"checks\", each with\n"
         "                 \"check\", \"ok\", \"detail\" and \"fix\"; with --candidates the\n"
         "                 array \"candidates\", each with \"path\", \"ids\", \"product\" and\n"
         "                 \"configured\" (the ids are the ones set now)\n",
         RunDoctor},
        {"udev-rule", "the udev rule that lets you use the printer without root",
         "Usage: qv7 udev-rule\n"
         "\n"
         "Prints a udev rules file that gives the user at the seat the USB device with\n"
         "the printer's ids as they are set now (UsbId in the [Settings] section of\n"
         "~/.config/Orvale/Quillory.conf or among the top-level keys of the machine\n"
         "settings file, or QUILLORY_USB_ID), with the commands to run after it:\n"
         "\n"
         "  qv7 udev-rule | sudo tee /etc/udev/rules.d/60-quillory.rules\n"
         "\n"
         "Refused while no ids are set: the package installs the placeholder's rule.\n",
         RunUdevRule},
        {"paths", "where the installed files (help, schema, ...) are looked for",
         "Usage: qv7 paths\n"
         "\n"
         "Prints the files an installation brings along, where this qv7 looks for\n"
         "them (under the folder above its own), the folders the firmware upgrade\n"
         "uses (QUILLORY_FIRMWARE_DIR included), the machine settings file in use,\n"
         "and \"(missing)\" after those not there.\n",
         RunPaths},
    };
    return commands;
}

}  // namespace qv7cli
