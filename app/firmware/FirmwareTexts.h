// The firmware commands' own words that have no string-table id, and the
// names of the files they read and write.
#ifndef QUILLORY_FIRMWARE_TEXTS_H
#define QUILLORY_FIRMWARE_TEXTS_H

#include <QString>

namespace quillory {

namespace firmwaretext {
inline constexpr char kBackupFirst[] = "The current QV7 Firmware will be backed up first.\n Click OK to continue...";
inline constexpr char kBackupDone[] =
    "QV7 firmware backup successful. \n QV7 firmware upgrade is ready to begin. \n Click OK to continue...";
inline constexpr char kImageMissing[] =
    "QV7 firmware image could not found. \n Contact Orvale tech support at 1-555-013-2468.";
// An installed image of another size than the printer's firmware: %1 the
// image, %2 its size, %3 the size it must have.
inline constexpr char kImageWrongSize[] =
    "The QV7 firmware image %1 is %2 bytes long; the firmware of this QV7 is %3 bytes.\n\n"
    "The image is damaged or not made for this QV7. Nothing was sent; the QV7 is unchanged.\n"
    "Contact Orvale tech support at 1-555-013-2468.";
// A backup whose size is neither generation's: the printer holds a firmware
// no installed image was made for, so nothing may be sent to it.
inline constexpr char kNotRecognised[] =
    "QV7 firmware backup saved, but the firmware in the QV7 was not recognised.\n\nNo upgrade was made.";
inline constexpr char kConfirmQV7E[] = "Confirm QV7E keypad model is selected";
inline constexpr char kConfirmQV7EQ[] = "Confirm QV7EQ keypad model is selected";
inline constexpr char kInvalidPassword[] = "Invalid password contact Orvale technical support";

inline constexpr char kSelectModelCaption[] = "Select QV7 Model being upgraded...";
inline constexpr char kQV7EButton[] = "QV7E";
inline constexpr char kQV7EQButton[] = "QV7EQ";
inline constexpr char kQV7ELabel[] = "QV7E MODEL";
inline constexpr char kQV7EQLabel[] = "QV7EQ MODEL";
inline constexpr char kPasswordCaption[] = "Enter password...";
inline constexpr char kPasswordLabel[] = "Password:";

// The library's words for a PC file it cannot send.
inline constexpr char kInvalidFileName[] = "Invalid file name:";
// The library's words for a fetched file that could not be put in place.
inline constexpr char kUnableToWrite[] = "Unable to write file:";
}  // namespace firmwaretext

// The name proposed for a fetched firmware: "QV7_" and the driver's version.
inline constexpr char kProposedNamePrefix[] = "QV7_";
inline constexpr char kFirmwareExtension[] = "bin";

// True for the code that unlocks a restore, exactly as typed.
bool IsAccessCode(const QString& typed);

}  // namespace quillory

#endif
