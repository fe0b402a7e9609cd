// The launcher's own words, exactly as users have always seen them.
#ifndef QUILLORY_SETUP_TEXTS_H
#define QUILLORY_SETUP_TEXTS_H

namespace quillory::setup::texts {

inline constexpr const char* kCaption = "QuillorySetup";
inline constexpr const char* kAboutItem = "&About QuillorySetup...";
inline constexpr const char* kAboutCaption = "About QuillorySetup";
inline constexpr const char* kAboutVersion = "QuillorySetup Version 1.1";

inline constexpr const char* kNoVersionNumber = "No Version Number.";
inline constexpr const char* kNoWindowsDirectory = " Can not find WindowsDirectory";
inline constexpr const char* kNoSystemDirectory = " Can not find SystemDirectory";
inline constexpr const char* kInstallingWindowsInstaller = "Install Windows Installer...";
inline constexpr const char* kWindowsInstallerFailed = "error:InstallWinInstaller() failed.";
inline constexpr const char* kInstallQuilloryFailed = "error: InstallQuillory failed.";
inline constexpr const char* kUnableToAddPrinter = "Unable to add Printer";

inline constexpr const char* kXpFileTransferTitle = "Instructions to install the File Transfer driver";
inline constexpr const char* kXpUpgradeTitle = "Instructions to install the Upgrade driver";
inline constexpr const char* kVistaPageTitle = "Windows Vista/7 File Transfer/Upgrade Driver Installation";
inline constexpr const char* kVistaHelpTitle = "Instruction to install the File Transfer or Upgrade Driver";
inline constexpr const char* kAutoInstallTitle =
    "Windows Vista/Windows 7 File Transfer & Upgrade Driver Auto-Installation";
inline constexpr const char* kAlreadyInstalledText = "\n1. The File Transfer driver is already installed and ready to use.";
inline constexpr const char* kScribelineInstallTitle = "Scribeline Driver Installation";
inline constexpr const char* kDriverMissingTitle = "The File Transfer Driver is not Installed";
inline constexpr const char* kScribelineTitle = "Scribeline Driver and Add Printer Auto-Installation.";
inline constexpr const char* kProblemTitle = "The Installation Encountered Problem!";
inline constexpr const char* kPrinterAddedTitle = "Your Tandor QV7E printer was added succesfully!";

inline constexpr const char* kXpFileTransferText =
    "\n1. Use the USB cable to connect the QV7E printer to the PC.\n\n2. Power the printer on and then press the \"SETUP\" key to enter the setup menu.\n\n3. Select \"PC Interface\" and then choose \"Files / Printing\". The found new hardware wizard will appear on the computer screen.\n\n4. Follow the on-screen instructions within the \"Found New Hardware Wizard\". Select \"No not at this time\". Select \"Install the software automatically\".\n\n5. Click \"Finish\" to close the \"Found New Hardware Wizard\" after the installation is complete.\n\n6. Click the \"<-Back\" button to return to the main installation menu.";
inline constexpr const char* kXpUpgradeText =
    "\n1. Use the USB cable to connect the QV7E printer to the PC.\n\n2. Power the printer on and then press the \"SETUP\" key to enter the setup menu.\n\n3. Select \"PC Interface\" and then choose \"Firmware Upgrade\". Choose \"Yes\" then the found new hardware wizard will appear on the computer screen.\n\n4. Follow the on-screen instructions within the \"Found New Hardware Wizard\". Select \"No not at this time\". Select \"Install the software automatically\".\n\n5. Click \"Finish\" to close the \"Found New Hardware Wizard\" after the installation is complete.\n\n6. Click the \"<-Back\" button to return to the main installation menu.";
inline constexpr const char* kVistaPageText =
    "\n1. You must run this program with administrative privileges for it to work properly.\n\n2. The installation will take effect automatically when you press the \"Install\" button.\n\n3. If you encounter any problems during the installation please try again or press the \"Help\" button to obtain instructions as to how to install the driver manually.";
inline constexpr const char* kVistaHelpText =
    "\n1. Use the USB cable to connect the QV7E printer to the PC.\n\n2. Power the printer on and then press the \"SETUP\" key to enter the setup menu.\n\n3. Select \"PC Interface\" and then choose \"Firmware Upgrade\" or \"Files / Printing\". The found new hardware wizard will appear on the computer screen.\n\n4. Follow the on-screen instructions within the \"Found New Hardware Wizard\". Select \"No not at this time\". Select \"Install the software automatically\".\n\n5. If you get a message indicating that the driver is unsigned, select \"Continue Anyway\".\n\n6. Click \"Finish\" to close the \"Found New Hardware Wizard\" after the installation is complete.\n\n7. Click the \"<-Back\" button to return to the main installation menu.";
inline constexpr const char* kTextL =
    "\n1. The File Transfer and Upgrade drivers have been installed. \n\n2.Connect the USB cable to your printer and PC.\n\n3. Turn on your printer and press the \"Setup\" key.\n\n4. Browse down and select \"PC Interface\" and then select \"Files / Printing\".\n\n5. Now you are ready to install the Scribeline driver and add the printer. Press the \"Next->\" button to continue.\n\n6. If prompted click on \"Install this driver software anyway\"";
inline constexpr const char* kTextS =
    "\n1. The File Transfer and Upgrade drivers have been installed.\n\n2. Now you are ready to install the Scribeline driver and add the printer. Press the \"Next->\" button to continue.";
inline constexpr const char* kTextD =
    "\n1. The File Transfer and Upgrade drivers have been installed.";
inline constexpr const char* kDriverWillInstallText =
    "\n1. The File Transfer and Upgrade driver will install automatically.\n\n2. When prompted please allow the program to install the driver.\n\n3. Please be patient the process may take a few minutes.";
inline constexpr const char* kDriverMissingText =
    "\n1. You must install the file transfer driver before installing the Scribeline Driver. Follow the instructions to install it.\n\n2. Use the USB cable to connect QV7E printer to the PC.\n\n3. Power the printer on and then press the \"SETUP\" key to enter the setup menu.\n\n4. Select \"PC Interface\" and then choose \"Files/Printing\". The \"Found New Hardware Wizard\" will appear on the computer screen.\n\n5. Follow the on-screen instructions within the \"Found New Hardware Wizard\". Select \"No not at this time\". Select \"Install the software automatically\".\n\n6.If you get a message indicating that the driver is unsigned, select \"Continue Anyway\".\n\n7. When the file transfer driver is installed press the \"<-Back\" button and try again.";
inline constexpr const char* kScribelineText =
    "1. You must run this program with administrative privileges for it to work properly.\n\n2. Your printer's firmware must be 2.0.3 or greater for this auto-installation to work.\n\t2.1 Turn on your printer.\n\t2.2 Press the \"Setup\" key.\n\t2.3 Scroll down and select \"Version\", this will help you\n\tverify your printer's version. To exit press the \"DEL\" key\n\ttwice.\n\n3. For the installation to proceed smoothly turn on your printer by pressing the yellow power button.\n\n4. Press the \"Setup\" key scroll down and select \"PC Interface\".\n\n5. Select \"Files /Printing\" and make sure you have the USB cable connected to both the QV7E printer and your PC.\n\n6. If prompted with the \"Found New Wizard\" window you may ignore it and continue with the instructions or install the drivers through the wizard.\n\n7. Press the \"Next->\" button for the auto-installation to take effect.\n\n8. If you get a message that the driver is unsigned, select \"Continue Anyway\"\n\n9. For assistance call Orvale Technical Support at 1-555-013-2468";
inline constexpr const char* kNotDetectedText =
    "\n1. The installation was not able to detect a QV7E printer.\n\n2. A possible problem may be that you have never plugged your printer in.\n\t2.1 Turn on your printer.\n\t2.2 Press the \"Setup\" key.\n\t2.3 With the arrow keys move down and select \"PC Interface\"\n\t2.4 Select \"Files / Printing\" and press the \"Enter\" key.\n\n3. Verify your printer's firmware is equal or greater than 2.0.3\n\t3.1 Turn on your printer.\n\t3.2 Press the \"Setup\" key.\n3.3 Scroll down and select \"Version\", this will help you verify your printer's version.\n\n4.If you need to upgrade your firmware please refer to the operator's manual pg. 30 or contact customer support at: 1-555-017-3579 or 1-555-019-8642\n\n5. If all fails you may have to add the printer manually or try uninstalling and re-instaling the drivers.\n\n6. To try again press the \"<-Back\" button.";
inline constexpr const char* kNoPortText =
    "\n1. The auto installation was unable to obtain the USB port location for your printer.\n\n2. Please try the installation again or you may have to add the printer manually.\n\n3. To try again press the \"<-Back\" button.";
inline constexpr const char* kPrinterAddedText =
    "\n1. Your printer installed as \"Tandor QV7E\".\n\n2. Your printer is ready for you to use. Click the \"<-Back\" button to return to the main installation menu.";

// Outcomes the launcher once never looked at: a tool that was refused the
// administrator's permission, or ran and failed.
inline constexpr const char* kInstallRefused =
    "Quillory was not installed: the administrator's permission was not given.";
inline constexpr const char* kInstallFailed = "Quillory could not be installed. Please try again.";
inline constexpr const char* kDriverRefusedText =
    "\n1. The File Transfer and Upgrade driver was not installed: the administrator's permission was not given.\n\n2. To try again press the \"<-Back\" button.";
inline constexpr const char* kDriverFailedText =
    "\n1. The File Transfer and Upgrade driver could not be installed.\n\n2. Please try the installation again or press the \"Help\" button to obtain instructions as to how to install the driver manually.\n\n3. To try again press the \"<-Back\" button.";
inline constexpr const char* kPrinterRefusedText =
    "\n1. The printer was not added: the administrator's permission was not given.\n\n2. To try again press the \"<-Back\" button.";
inline constexpr const char* kPrinterFailedText =
    "\n1. The printer queue could not be created.\n\n2. Please try the installation again or you may have to add the printer manually.\n\n3. To try again press the \"<-Back\" button.";

}  // namespace quillory::setup::texts

#endif
