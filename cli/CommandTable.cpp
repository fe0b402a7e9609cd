#include "Commands.h"

namespace qv7cli {

namespace {

const Operand kKind{"data|label|symbol", Completion::Words};
const Operand kSlot{"SLOT"};

}  // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"info", "driver version and the printer's file types",
         {},
         {},
         "Prints the printer driver's version and each file type the printer keeps, in the printer's order, with "
         "its name and number of slots.",
         {{"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"driver_version\" and the array \"file_types\", each with \"type\", \"name\" and "
           "\"slots\""}},
         RunInfo},
        {"list", "the printer's data, label and symbol files, slot by slot",
         {},
         {},
         "Lists the files the printer holds as the Quillory window shows them: data files, label files (slots "
         "1-30) and symbol files (slots 1-10), each slot as \"(Slot N)  NAME.ext\" or \"(Slot N)  <empty slot>\".",
         {{"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document with the arrays \"data\", \"label\" and \"symbol\"; each slot has \"slot\", "
           "\"empty\", \"name\", \"file\" and \"text\""}},
         RunList},
        {"get", "copy a slot's file from the printer into a folder",
         {kKind, kSlot, {"FOLDER", Completion::Folder, nullptr, true}},
         {},
         "Copies the file in the printer's slot into FOLDER (default: the current folder) under the name the "
         "printer gives it, with .dat, .qv7 or .bmp. An existing file is replaced only after you answer yes, or "
         "with --yes; when no one can answer (input is not a terminal) the get is refused. A failed get leaves any "
         "existing file as it was.",
         {{"--yes", "-y", nullptr, Completion::Nothing, "replace an existing file without asking"},
          {"--force", "-f", nullptr, Completion::Nothing, "the same as --yes"},
          {"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"kind\", \"slot\" and \"path\", the file written"}},
         RunGet},
        {"send", "store a PC file in a printer slot, replacing its file",
         {kKind, kSlot, {"FILE", Completion::File}},
         {},
         "Sends FILE to the printer's slot, replacing the file stored there. A data file must be a QV7E data file "
         "(see 'qv7 convert'). A symbol that is a bitmap of any size but 150 x 150 pixels is refused before the "
         "printer is reached.",
         {{"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"kind\", \"slot\" and \"file\", the file sent"}},
         RunSend},
        {"convert", "a data file (.dat) made from a CSV file, or back; no printer needed",
         {{"FILE", Completion::File}, {"OUT", Completion::File, nullptr, true}},
         {"convert FILE.csv [OUT.dat] [--json]", "convert FILE.dat [OUT.csv] [--yes] [--json]"},
         "Converts a comma-separated value file into a QV7E data file. Each line is a record of up to 8 fields; "
         "the first 100 lines are read and the whole text may have at most 6539 characters (a longer one is "
         "refused with the message \"error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small\"). A field holds at most "
         "33 characters; enclose a field in quotation marks to put commas or line breaks in it, and double a "
         "quotation mark inside it. The database name is the CSV file's name without folder and extension, cut to "
         "9 characters.\n"
         "\n"
         "A data file holds Western European text (Windows-1252). A CSV file in UTF-8 (with or without the "
         "byte-order mark) is converted to it before characters are counted; a character it lacks is refused with "
         "its line and column. A file that is not UTF-8 is taken byte for byte, as Windows-1252.\n"
         "\n"
         "A file ending in .dat goes the other way: its records are written as CSV text in UTF-8 that converts back "
         "into the same records.\n"
         "\n"
         "OUT is by default the file's name with .dat (or .csv), in its folder. A data file already there is "
         "replaced; a CSV file only after you answer yes, or with --yes. Nothing is written when the conversion "
         "fails.",
         {{"--yes", "-y", nullptr, Completion::Nothing, "replace an existing CSV file without asking"},
          {"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"source\", \"target\", \"database\" and \"records\""}},
         RunConvert},
        {"send-set", "send every file a file set definition (.fsd) lists",
         {{"FILE.fsd", Completion::File, "fsd"}},
         {},
         "Checks FILE.fsd against the installed schema (quilloryFileSet.xsd, found from the dir value of the "
         "machine-wide settings), then sends each data and label file it lists to its slot, in the order listed. "
         "A file that cannot be sent does not stop the others; the command fails if any did.",
         {{"--json", nullptr, nullptr, Completion::Nothing, "one JSON document: \"definition\", the file set sent"}},
         RunSendSet},
        {"get-all", "copy every data and label file of the printer into a folder",
         {{"FOLDER", Completion::Folder}},
         {},
         "Copies every data file, then every label file, into FOLDER as SLOT_NAME.dat and SLOT_NAME.qv7 (each "
         "tried up to 3 times; label files are not copied when a data file could not be), and writes allFiles.fsd "
         "there listing what came, ready for 'qv7 send-set'. Files of the same names are replaced after you answer "
         "yes, or with --yes; without a terminal to answer, nothing is copied.",
         {{"--yes", "-y", nullptr, Completion::Nothing, "replace files without asking"},
          {"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"folder\", \"definition\" (the file set written, null when none was) and "
           "\"failures\", a line for each file that did not arrive"}},
         RunGetAll},
        {"firmware", "get, back up, upgrade or restore the printer's firmware",
         {{"get|backup|upgrade|restore", Completion::Words}, {"FILE", Completion::File, nullptr, true}},
         {"firmware get FILE|FOLDER [--yes] [--json]", "firmware backup [--yes] [--json]",
          "firmware upgrade --model QV7E|QV7EQ [--yes] [--json]",
          "firmware restore FILE [--access-code CODE] [--yes] [--json]"},
         "The printer must be in its firmware transfer mode: disconnect its power, hold down F5 and reconnect "
         "power. Each action shows these steps first and goes on only after you answer yes.\n"
         "\n"
         "get copies the printer's firmware into FILE, or into FOLDER as QV7_N.bin (N: the driver's version); it "
         "asks before replacing a file.\n"
         "\n"
         "backup copies it into the backup folder as QV7_200_BK.bin or QV7_300_BK.bin, by its size; the older "
         "backup stays until the new one is complete.\n"
         "\n"
         "upgrade takes the backup, then sends the installed image for the keypad model and the firmware found: "
         "QV7E_200.bin, QV7EQ_300.bin, ... in $QUILLORY_FIRMWARE_DIR, else <prefix>/share/quillory/QV7_Firmware.\n"
         "\n"
         "restore sends FILE, after the access code (asked on the terminal unless --access-code gives it).\n"
         "\n"
         "get and backup print the path of the file they wrote.",
         {{"--model", nullptr, "QV7E|QV7EQ", Completion::Words, "the printer's keypad model, for upgrade"},
          {"--access-code", nullptr, "CODE", Completion::Nothing, "the access code, for restore"},
          {"--yes", "-y", nullptr, Completion::Nothing,
           "answer yes to every question (the power steps, the model, replacing a file), for scripts"},
          {"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"action\", and \"file\", the file written (get, backup, the backup of upgrade) or "
           "sent (restore)"}},
         RunFirmware},
        {"doctor", "why the printer cannot be reached, and what to do",
         {},
         {"doctor [--json]", "doctor --candidates [--json]"},
         "Checks, one line each, what stands between this program and the printer: on USB the ids looked for and "
         "where they were set (the built-in placeholder names no printer), a device with them on the bus, "
         "permission to open it (and the udev rule that gives it), its interface free of other drivers and "
         "programs, and a printer that answers as a QV7E in its Files / Printing mode; for a virtual printer, its "
         "folder. A check that fails says what is wrong and what to type, and the checks after it are not run.\n"
         "\n"
         "Exit code 0 only when the printer can be used.",
         {{"--candidates", nullptr, nullptr, Completion::Nothing,
           "list the attached USB devices that may be the printer: those with a vendor-specific interface with one "
           "bulk IN and one bulk OUT endpoint, as the bus path, the ids and the device's product text. Nothing is "
           "sent to any device. Exit code 0 when there is at least one"},
          {"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"usable\" and the array \"checks\", each with \"check\", \"ok\", \"detail\" and "
           "\"fix\"; with --candidates the array \"candidates\", each with \"path\", \"ids\", \"product\" and "
           "\"configured\" (the ids are the ones set now)"}},
         RunDoctor},
        {"udev-rule", "the udev rule that lets you use the printer without root",
         {},
         {},
         "Prints a udev rules file that gives the user at the seat the USB device with the printer's ids as they "
         "are set now (UsbId in the [Settings] section of ~/.config/Orvale/Quillory.conf or among the top-level "
         "keys of the machine settings file, or QUILLORY_USB_ID), with the commands to run after it:\n"
         "\n"
         "  qv7 udev-rule | sudo tee /etc/udev/rules.d/60-quillory.rules\n"
         "\n"
         "Refused while no ids are set: the package installs the placeholder's rule.",
         {{"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: \"ids\", \"file\" (where the rule goes), \"rule\" (its line) and \"apply\" (the "
           "command that applies it)"}},
         RunUdevRule},
        {"paths", "where the installed files (help, schema, ...) are looked for",
         {},
         {},
         "Prints the files an installation brings along, where this qv7 looks for them (under the folder above its "
         "own), the folders the firmware upgrade uses (QUILLORY_FIRMWARE_DIR included), the machine settings file "
         "in use, and \"(missing)\" after those not there.",
         {{"--json", nullptr, nullptr, Completion::Nothing,
           "one JSON document: the array \"files\", each with \"role\", \"path\" and \"present\""}},
         RunPaths},
    };
    return commands;
}

const ProgramHelp& Program() {
    static const ProgramHelp program = {
        "work with a QV7E label printer from the command line",
        "qv7 lists, fetches and sends the files a Tandor QV7E label printer stores (data files, label files and "
        "symbol bitmaps, each kind in numbered slots), converts CSV text into printer data files, looks after the "
        "printer's firmware and tells why a printer cannot be reached. It does what the Quillory program does, "
        "from a terminal, with a printer attached by USB or a virtual printer kept in a folder.\n"
        "\n"
        "Messages go to standard error; with --json a command prints one JSON document on standard output, which "
        "holds \"qv7_json\" (the version of the documents' shapes, now 1), \"command\" and \"ok\" beside its own "
        "fields.",
        {{"--device", nullptr, "NAME", Completion::Device,
          "the printer to use: 'usb' (the default) or 'virtual:DIR', a virtual printer kept in the folder DIR "
          "(made and filled with sample files when it is missing or empty); sets QUILLORY_DEVICE for this run"},
         {"--trace", nullptr, "FILE", Completion::File,
          "append one line per driver operation to FILE; sets QUILLORY_TRACE for this run"},
         {"--help", "-h", nullptr, Completion::Nothing, "show this help, or a command's help after its name"},
         {"--version", nullptr, nullptr, Completion::Nothing, "show the version"}},
        {{"0", "success"},
         {"1", "the operation failed (printer, file or data)"},
         {"2", "the command line was not understood"}},
        {{"QUILLORY_DEVICE", "the printer, as --device"},
         {"QUILLORY_USB_ID",
          "the printer's USB ids, vvvv:pppp in hex as lsusb(8) shows them; by default the placeholder ffff:07e0"},
         {"QUILLORY_TRACE", "the trace file, as --trace"},
         {"QUILLORY_FIRMWARE_DIR", "where firmware upgrade looks for the installed images"},
         {"QUILLORY_MACHINE_SETTINGS", "the machine-wide settings file to use in place of the installed one"}},
        {{"/usr/lib/udev/rules.d/60-quillory.rules", "gives the user at the seat access to the printer's USB device"},
         {"~/.config/Orvale/Quillory.conf", "your settings; UsbId in its [Settings] section sets the printer's ids"},
         {"/usr/share/doc/quillory/Quillory.html", "the user guide"}},
        {"qv7 doctor", "qv7 list", "qv7 get label 3 ~/labels", "qv7 --device virtual:$HOME/qv7-demo send data 6 prices.dat",
         "qv7 get-all ~/backup --yes", "qv7 list --json"},
        {"Quillory(1)", "udevadm(8)"},
    };
    return program;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : AllCommands()) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

}  // namespace qv7cli
