#include "StringTable.h"

// The English texts, sorted by id. A language file replaces entries by id, so ids never move.
const StringTableEntry kEnglishStrings[] = {
    // Start-up and application
    {100, "OLE initialization failed. Make sure that the OLE libraries are the correct version."},
    {101, "Fatal error: 101."},
    {102, "Fatal error.\nPlease uninstall and re-install QMV VLT."},
    {103, "Failed to load profile."},
    {104, "Windows sockets initialization failed."},
    {105, "Invalid profile."},
    {106, "Unknown Error"},
    {107, "Programing error: 107."},
    {108, "Programing error: 108."},

    // Navigation tree and list labels
    {109, "Settings"},
    {110, "Privates"},
    {111, "Private Groups"},
    {112, "Public Groups"},
    {113, "Lists"},
    {114, "Scroll List"},
    {115, "Scan List"},
    {116, "Channel %d"},
    {118, "Scroll List"},
    {119, "Scan List"},
    {120, "Scan Mode"},
    {121, "Available Contacts"},
    {122, "Add >>"},
    {123, "<< Remove"},
    {124, "Scan List Channel %d"},
    {125, "All Public Groups"},

    // Contact rule messages
    {127, "A similar name already exists in the contact list. Please specify a different name."},

    // Document template
    {129, "\nProfile\nQMVVLTProfile\nQMV VLT Files (*.qmv)\n.qmv\nQMVVLT.Profile\nQMVVLT.Profile"},

    // Tree labels
    {130, "Text Messages"},
    {131, "Contacts"},

    // Contact rule messages
    {132, "A similar PID already exists in the contact list. Please specify a different PID."},
    {133,
     "Changing the channel will remove this public group from channel %d's scan list and add it to "
     "channel %d's scan list. Do you want to continue?"},
    {134,
     "Channel changed successfully, but the new channel's scan list is full, this contact has not "
     "been added to new channel's scan list."},
    {135, "Programing error: 135.\nNo available private contacts in the new channel."},
    {136,
     "Changing this Private Group's channel will remove all of its members. Do you want to "
     "continue?"},
    {137,
     "Changing this Private contact's channel will remove it from all of its Private Groups and "
     "any Private Groups with no member will be deleted.  Also, this contact's Home Group field "
     "will be cleared. Do you want to continue?"},
    {140,
     "Private contact already belongs to maximum number of private groups. Please remove this "
     "private contact from a private group first."},
    {141, "Deleting this Private Group will remove all of its members. Do you want to continue?"},
    {142,
     "Deleting this Private contact will remove it from all of its Private Groups and any Private "
     "Groups with no member will be deleted. Do you want to continue?"},

    // Toolbar
    {143, "New"},
    {144, "Open"},
    {145, "Save"},
    {146, "Add"},
    {147, "Delete"},
    {148, "Cut"},
    {149, "Copy"},
    {150, "Paste"},
    {151, "Read"},
    {152, "Write"},
    {153, "Report"},
    {154, "About"},

    // Scan and scroll lists
    {155, "Reached maximum number of contacts in this channel."},

    // Dealer information
    {156, "Dealer Information"},
    {157, "Contact Information"},
    {158, "Notes"},
    {159, "Dealer Information"},
    {161, "Error: There is an error when to acquire language type!"},

    // Tree labels
    {162, "Channel %d (%d)"},
    {163, "Scroll (%d)"},

    // Scan and scroll lists
    {164, "Cannot add more than %d amount of contacts to the scan list."},

    // Contact rule messages
    {165, "The length of contact name can not exceed %d."},

    // Report choice
    {166, "Choose a report template."},
    {167, "Reports"},

    // Common buttons
    {168, "&OK"},
    {169, "&Cancel"},

    // Report labels
    {170, "Radio-Specific Report"},
    {171, "Overview Report"},

    // Views
    {172, "Add New Message"},
    {173,
     "This contact already belongs to 5 Private Groups. Please remove it from a group first, "
     "before adding to another Private Group."},
    {174,
     "Note: Contacts added to the Manager Mode list are automatically added to the See All Groups "
     "list."},
    {175, "Name"},

    // Report labels
    {181, "Model"},
    {182, "Home Channel"},
    {183, "See All Groups"},
    {184, "Receive From"},
    {185, "Transmit To"},
    {186, "All Privates"},
    {187, "All Private Groups"},
    {188, "All Public Groups"},
    {189, "Manager Mode Enabled"},
    {190, "See All Groups Enabled"},
    {191, "Group Only Enabled"},
    {192, "Private Groups"},
    {193, "Public Groups"},
    {194, "Receive List"},
    {195, "Group Members"},
    {196, "Enabled"},
    {197, "Disabled"},

    // Settings and views
    {199, "Off"},
    {201, "The length of text message can not exceed %d characters."},
    {202, ":"},
    {203, "Manager Mode"},
    {204, "About %s"},
    {205, "English"},
    {206, "Spanish"},
    {207, "French"},
    {208, "Portuguese"},
    {209, "German"},
    {210, "Error: The bank information is incorrect."},
    {212, "Scroll List (global)"},
    {213, "Scroll List (private)"},
    {214, "Private Scroll List"},
    {215, "Add Privates with a Scanner"},

    // Radio text
    {217,
     "The message can only contain ISO-8859-1 characters. By continuing, this message will be "
     "deleted. Do you want to continue?"},
    {218, "Contact name can only contain ISO-8859-1 characters."},

    // Help pane command
    {219, "&Help Pane"},
    {220, "Show or hide the help pane\nToggle help pane"},

    // Toolbar
    {221, "Scan"},

    // Start-up
    {222, "Some files needed by VLT are not available.\nPlease reinstall VLT."},
    {223,
     "The language resource file is missing. The VLT will start with English language version."},
    {224, "You have to restart the VLT for this change to take effect."},

    // Menus
    {225, "&File"},
    {226, "&New\tCtrl+N"},
    {227, "&Open...\tCtrl+O"},
    {228, "&Close"},
    {229, "&Save\tCtrl+S"},
    {230, "Save &As..."},
    {231, "Recent File"},
    {232, "E&xit"},
    {233, "&Edit"},
    {234, "&Add\tCtrl+A"},
    {235, "&Scan(Add)\tCtrl+T"},
    {236, "Cu&t\tCtrl+X"},
    {237, "&Copy\tCtrl+C"},
    {238, "&Paste\tCtrl+V"},
    {239, "&Delete\tDel"},
    {240, "&Rename\tF2"},
    {241, "Dealer &Info"},
    {242, "Pr&eference"},
    {243, "&Language"},
    {247, "&View"},
    {248, "&Toolbar"},
    {249, "&Status Bar"},

    // Radio text
    {250, "Error: Unable to convert the radio text format into the VLT text format."},

    // Menus
    {251, "&Device"},
    {252, "&Read\tCtrl+R"},
    {253, "&Write\tCtrl+W"},
    {254, "R&eset\tCtrl+E"},
    {255, "&Report"},
    {256, "&Window"},
    {257, "&Cascade"},
    {258, "&Tile"},
    {259, "&Help"},
    {260, "&Content and Index...\tF1"},
    {261, "&About %s..."},

    // Radio text
    {262, "Error: Unable to convert VLT character format into the radio text format."},

    // File dialogs
    {263, "Files"},
    {264, "All Files"},

    // Contact views
    {266, "Error: Duplicate public group ID."},
    {267, "(add with scanner)"},
    {268, "(add without scanner)"},
    {269, "Delete Current Contact"},
    {270, "Private"},
    {271, "Group"},

    // Settings view
    {273, "Codeplug Password (4-digit number)"},
    {274, "Confirm Password (4-digit number)"},
    {275, "Talk Permit Tone Offset"},
    {276, "Ambient Noise"},
    {277, "Accessory"},
    {278, "Radio"},
    {279, "Low"},
    {280, "Standard"},
    {281, "Medium"},
    {282, "High"},
    {283, "Disable Internal PTT with Accessory"},
    {284, "Disable Programming Mode"},
    {285, "Disable TX Timeout Timer"},
    {286, "Tx Timeout Timer"},
    {287, "seconds"},

    // Group settings merge
    {292, "Error: 101 Some node exist in CodePlugSetting part and VisibleSetting."},
    {293, "Error: 102 Some node are not correct, please check."},
    {294,
     "VLT needs vbscript engine to start. Please install vbscript engine before re-starting the "
     "QMV VLT."},

    // Settings view
    {295, "Please enter 4 numeric characters."},
    {296, "The passwords you entered do not match."},

    // Profile save
    {297,
     "The opened profile is not the latest format. Do you want convert it to the latest "
     "format?\n(You can't convert it back to the original format once you select yes.)"},
    {298, "Dutch"},
    {299, "File format is error. Failed to save."},

    // Radio commands
    {302, "The password is not correct. Please check it."},
    {303, "Error: Unable to get radio password."},
    {304, "No COM port is detected on this computer."},
    {305, "QMV410 M profile is not compatible with QMV410 radio."},
    {306,
     "If your radio uses channel 5, 6, or 7, this software will automatically remap all your "
     "contacts, public groups and private groups in channels 5, 6 and 7 into channels 2, 3 and 4, "
     "and channels 5, 6 and 7 will be deleted from the radio codeplug. This software will NOT "
     "automatically remap public groups to the Scan List due to Scan List limitation.\nContinue "
     "YES or NO?"},
    {307,
     "This QMV410 M (Modified Band) model is intended to be used per the new 900 MHz modified band "
     "according to regulatory agencies in the region. It operates in a specific and new frequency "
     "range (916MHz-928MHz) and it is not compatible with other existing standard QMV410 models."},
    {308, "Do not show this message again."},

    // Settings view
    {309, "Disable Private Reply"},

    // Preference dialog
    {1129, "Auto Detect COM Port"},

    // Radio commands
    {10001,
     "Do you want to create a new profile(Yes), overwrite the currently selected profile(No) or "
     "cancel it?"},

    // Preference dialog
    {10003, "Preference Setting"},
    {10005, "Select COM Port"},
    {10007, "Can not read the registry entry of "},

    // Transfer dialogs
    {10009, "Reading from the radio ..."},
    {10010, "Writing to the radio ..."},
    {10011, "Reading successful!"},
    {10012, "Writing success!"},
    {10019, "Transferring"},
    {10030, "Warning: The radio being programmed is not in this profile. Do you want to continue?"},
    {10031,
     "Warning: Some profile information is not supported by the host radio and therefore it will "
     "not be transferred. Do you want to continue?"},
    {10032, "Unknown Warning!"},

    // Contact views
    {10037, "Add Public Group"},
    {10039, "Add Private Group"},
    {10041, "Add Privates"},
    {10044, "Maximum Contacts:"},
    {10045, "Maximum Private Groups:"},
    {10046, "Maximum Public Groups:"},
    {10047, "Maximum Privates:"},
    {10048, "Current Number of Contacts:"},
    {10049, "Current Number of Private Groups:"},
    {10050, "Current Number of Public Groups:"},
    {10051, "Current Number of Privates:"},
    {10052, "Name"},
    {10053, "Channel"},
    {10054, "ID"},
    {10055, "Name field can not be empty!"},

    // Radio information view
    {10056, "QMV Radio Information"},
    {10057, "Unit Private ID"},
    {10059, "Firmware Version"},
    {10060, "Codeplug Version"},

    // Settings view
    {10061, "Settings"},
    {10062, "VibraCall"},
    {10063, "Contrast"},
    {10064, "Backlight"},
    {10065, "Display"},
    {10066, "Clock/Alarm"},
    {10067, "Time Format"},
    {10068, "Time"},
    {10069, "Date Format"},
    {10070, "Date"},
    {10071, "Set Time Using PC Clock"},
    {10072, "Alarm"},
    {10073, "Alarm Time"},
    {10074, "Volume"},
    {10075, "Ringer"},
    {10076, "Speaker"},
    {10077, "Keypad"},
    {10078, "Alarm"},
    {10080, "Advanced"},
    {10081, "All Privates"},
    {10082, "Manager Mode on for"},
    {10083, "See All Groups on for"},

    // Contact views
    {10084, "Add >>"},
    {10085, "<< Remove"},

    // Settings view
    {10086, "Language"},

    // Text message views
    {10087, "Text Messages"},
    {10088, "Maximum Text Messages:"},
    {10089, "Current Number of Text Messages:"},
    {10090, "Add Text Message"},
    {10091, "Text Message"},
    {10092, "Text Message"},
    {10093, "Delete Current Message"},

    // Contact views
    {10094, "Press Home 3 times and then PTT on the other radio."},
    {10095, "Home Group"},
    {10096, "Read Private ID from Radio"},
    {10097, "Group Only"},
    {10098, "Ringer"},
    {10099, "ID field can not be empty!"},
    {10100, " (%d Group(s) Left)"},
    {10101,
     "The message field is blank. By continuing, this message will be deleted. Do you want to "
     "continue?"},
    {10102, "All Privates"},
    {10103, "Group Members"},
    {10104, "Channel %d"},
    {10105, "Note: Canceling the operation..."},
    {10106, "There should be at least one group member assigned!"},
    {10107, "Ringer %d"},
    {10108,
     "No available private contacts in the new channel. The channel will be reverted back to the "
     "previous value."},

    // Transfer dialogs
    {10109, "Read Private ID from Radio"},
    {10110, "Read"},
    {10111, "Write"},

    // Contact views
    {10113, "Profile data Error! The profile will be closed."},

    // Document
    {10114, "Error: Can not find template files!"},

    // Configuration
    {10115, "Fatal registry error. Please reinstall VLT."},
    {10117, "Failure to read dealer information from the registry!"},
    {10118, "Failure to write dealer information to the registry!"},

    // Radio link results (transfer dialogs)
    {10127,
     "Error: The radio version is unsupported. Please upgrade\n          your VLT software."},
    {10128,
     "Error: Your radio has an earlier firmware version that\n          does not support the VLT."},
    {10129, "Error: Please perform a radio reset or a radio write\n          operation first."},
    {10130, "Error: Radio model is unsupported."},
    {10131, "Error: Radio is currently busy. Please try again after a\n          few seconds."},
    {10132, "Error: Operation timed out."},
    {10133, "Error: COM port already in use by another application."},
    {10134,
     "Error: Unable to establish a connection with the radio.\n          Please check your "
     "connection and try again."},

    // Contact views
    {10136, "None"},

    // About dialog
    {10137, "QMV Series Customer Programming Software"},
    {10138, "Version %s"},
    {10139, "Copyright (C) Varentis Solutions. All rights reserved."},
    {10140, "QMV and QMV410 are trademarks of Varentis Solutions."},
    {10141,
     "Warning: This program is protected by copyright law. Unauthorized reproduction or "
     "distribution of this program, or any portion of it, may result in civil and criminal "
     "penalties."},

    // Help
    {10142, "Error: Can not find the help file!"},
    {10143, "Error: Help File format is invalid!"},
    {10144, "Error: Can not find help file information in registry!"},

    // Radio link results
    {10145, "Error: Operation Failed."},
    {10146, "Error: Operation Failed (%s)."},
    {10147, "Error: Operation Failed (%d)."},
    {10148, "Invalid Opcode"},
    {10149, "Unsupported Command"},
    {10150, "Operation Unsupported"},
    {10151, "User Canceled"},
    {10152, "Message Compose"},

    // Radio link results (main window)
    {10153, "Error: The radio version is unsupported. Please upgrade your VLT software."},
    {10154, "Error: Radio is currently busy. Please try again after a few seconds."},
    {10155, "Error: COM port already in use by another application."},
    {10156, "Error: Radio model is unsupported."},
    {10157,
     "Error: Unable to establish a connection with the radio. Please check your connection and try "
     "again."},
    {10158, "Error: Operation timed out."},
    {10159, "Error: Your radio has an earlier firmware version that does not support the VLT."},
    {10160, "Error: Please perform a radio reset."},

    // Contact validation
    {10161,
     "The following field(s) have been incorrectly specified:\n\n%s\nBy continuing, this contact "
     "will be deleted. Do you want to continue?    "},
    {10162, "- (Name)\n"},
    {10163, "- (ID)\n"},
    {10164, "- (Group Members)\n"},

    // View failure log texts
    {20000, "Error: Set control color."},
    {20001, "Error: Set background color."},
    {20002, "Error: Set view size."},
    {20003, "Error: Convert cordinate."},
    {20004, "Error: Radio information view loads data."},
    {20005, "Error: Settings view loads data."},
    {20006, "Error: Text messages view loads data."},

    // Profile checks: the rules a profile must keep, and what a radio cannot take
    {30100, "The length of contact name can not exceed 20."},
    {30101, "The PID is outside the valid PID range of this radio."},
    {30102, "The PID is not one of the public group IDs of this radio."},
    {30103, "(not supported by this radio)"},
    {30104, "The channel is not one of the channels of this radio."},
    {30105, "Text message can only contain ISO-8859-1 characters."},
    {30106, "The length of a text message can not exceed 80."},
    {30107, "The list holds more entries than this radio can take."},
    {30108, "This radio does not support this list; the radio does not use its entries."},
    {30109, "Contact \"%s\": %s"},
    {30110, "Text message \"%s\": %s"},
    {30111, "Settings: %s"},
    {30112, "The name is longer than the radio can hold (25 characters)."},
    {30113, "The PID is not a valid PID (1 to 11 digits, at most 17179869183)."},
    {30114, "The text is longer than the radio can hold (80 characters)."},
    {30115, "A group PID of this contact is not a valid PID."},
    {30116, "The codeplug password must be at most 4 ISO-8859-1 characters."},
    {30117, "The call-forward PID is not a valid PID."},
    {30118, "The contact has no name."},
    {30119, "%s: %s"},
    {30120, "Warning: %s"},
    {30121, "The profile cannot be written to a radio as it is."},
    {30122, "This radio does not offer that language."},
    {30123, "This radio does not offer that volume level."},

    // Radio link and radio commands: port problems, outcomes, prompts
    {30200, "%s: no such device."},
    {30201, "%s is a folder, not a serial port."},
    {30202, "%s is a regular file, not a serial port."},
    {30203,
     "%s: permission denied. The account needs to be in the group that owns the device, usually "
     "\"dialout\"."},
    {30204, "%s is busy: another program is using it."},
    {30205, "%s cannot be opened (%s)."},
    {30206, "The radio may be partly programmed: write it again or reset it."},
    {30207,
     "A password is needed for this radio: give it with --password, in the environment variable "
     "QMVVLT_PASSWORD, or run the command on a terminal."},
    {30208, "Do you want to reset the radio?"},
    {30209, "Resetting the radio ..."},
    {30210, "The radio has been reset."},
    {30211, "Connect the next radio and press Enter (end of input stops): "},
    {30212, "Radios written: %d, failed: %d."},
    {30213, "Failed: %s."},
    {30214, "(PID unknown)"},
    {30215, "The folder %s does not exist."},
    {30216, "The profile could not be saved; the data read from the radio was kept in %s."},
    {30217, "Please enter the password:"},

    // Desktop program: main window and start-up
    {31000, "Ta&bbed Windows"},
    {31001, "Ready"},
    {31003, "Communication port"},
    {31004, "Context help"},
    {31005, "Save changes to %s?"},
    {31006, "Profile tree"},
    {31010, "Use DIR as the install folder (lib, ProfileTemplate, Report)."},
    {31011, "Keep the configuration store in DIR."},
    {31012, "Start without the splash screen."},
    {31013, "A profile (.lam) to open."},

    // Desktop program dialogs
    {32000, "New Profile"},
    {32001, "Profile &templates:"},

    // Report window
    {33100, "&Print..."},
    {33101, "Print Pre&view..."},
    {33102, "Save as P&DF..."},
    {33103, "Save as &HTML..."},
    {33104, "PDF Files (*.pdf)"},
    {33105, "HTML Files (*.htm *.html)"},
    {33106, "The report could not be saved."},
    {33107, "Group No."},
    {33108, "PID"},
    {33109, "Channel"},
    {33110, "G.O."},

    // Radio work in the desktop program
    {33200, "Write &Next Radio"},
    {33201, "Writing success! Radios written in this series: %s"},
    {33202, "Password"},

    // Settings view: the clock's fixed list entries
    {34200, "12hr"},
    {34201, "24hr"},
    {34202, "MM/DD"},
    {34203, "DD/MM"},

    // Dealer tools: backup before write, verify after write, wire trace
    {34300, "Verified: the radio holds what was written."},
    {34301, "Verification failed: the radio does not hold what was written. These fields differ:"},
    {34302, "Settings: %s is %s on the radio, %s was written."},
    {34303, "Contact %s (%s): %s is %s on the radio, %s was written."},
    {34304, "Text message %s: \"%s\" on the radio, \"%s\" was written."},
    {34305, "Contacts: the radio holds %s, %s were written."},
    {34306, "Text messages: the radio holds %s, %s were written."},
    {34307, "Settings: the block on the radio differs from the one written."},
    {34308, "Contact %s (%s): the record on the radio differs from the one written."},
    {34309, "Backing up the radio..."},
    {34310, "The radio was backed up to %s."},
    {34311, "The radio could not be backed up, so nothing was written to it."},
    {34312, "Verifying the radio..."},
    {34313, "&Back up each radio before writing it"},
    {34314, "&Verify each radio after writing it"},
    {34315, "Record a wire &trace of each radio command"},
    {34316, "Open &Backup Folder"},
    {34317, "The last 10 traces are kept in %s"},
    {34318, "The trace file %s cannot be written."},
    {34319, "Backups are kept in %s"},
    {34320, "The folder %s could not be opened."},
    {34321, "The backup %s could not be written."},
    {34322, "The radio was written but could not be read back to verify it."},
    {34330, "Error: The port is in use by another radio operation of this program."},

    // Contacts as CSV and comparing profiles
    {34400,
     "The file is not a contacts CSV file: it needs a header row naming at least the columns type "
     "and name, then one contact per row."},
    {34401, "Line %s: %s"},
    {34402, "The type must be \"public group\", \"private group\" or \"private\"."},
    {34403, "There is no room for another contact of this kind in this radio."},
    {34404, "There is no group named \"%s\"."},
    {34405, "\"%s\" is not a valid value for the column %s."},
    {34406, "A private contact can only belong to private groups on its own channel."},
    {34407, "The home group must be a group on the contact's channel."},
    {34408, "Contacts added: %s, updated: %s, rows refused: %s."},
    {34420, "The profiles are the same."},
    {34421, "%s: %s -> %s"},
    {34422, "added: %s"},
    {34423, "removed: %s"},
    {34424, "[%s]"},
    {34425, "private groups"},
    {34426, "private scroll list"},
    {34430, "Compare with Radio"},
    {34431, "Differences between %s and the radio:"},
    {34440, "&Import Contacts..."},
    {34441, "E&xport Contacts..."},
    {34442, "Co&mpare with Radio"},
    {34443, "CSV Files (*.csv)"},
    {34444, "Rows not imported"},
    {34445, "&Copy"},
    {34446, "The contacts could not be saved."},

    // Undo, redo and find in the desktop program
    {34500, "&Undo\tCtrl+Z"},
    {34501, "Red&o\tCtrl+Y"},
    {34502, "&Undo %s"},
    {34503, "Red&o %s"},
    {34504, "&Find\tCtrl+F"},
    {34505, "Find"},
    {34506, "Name, PID or text"},
    {34507, "%s found"},
    {34510, "Edit"},
    {34511, "Rename '%s'"},
    {34512, "Add '%s'"},
    {34513, "Delete '%s'"},
    {34514, "Read from Radio"},
    {34515, "Settings Change"},
    {34516, "Edit '%s'"},
    {34517, "List Change"},
    {34518, "Text Message Change"},

    // Screen-reader values of the editing views' controls
    {34700, "Checked"},
    {34701, "Not checked"},
    {34702, "%d item(s)"},
    {34703, "%d item(s), selected: %s"},

    // Texts of qmvvlt-cli
    {34800, "%s (%s), clone compatibility %s"},
    {34801, "Model group: G%s"},
    {34802,
     "Contacts: %s of %s; public groups %s of %s; private groups %s of %s; privates %s; text "
     "messages %s of %s; channels %s"},
    {34803, "PID %s (number %s)"},
    {34804, "PID %s"},
    {34805, "channel %s"},
    {34806, "scan"},
    {34807, "scroll"},
    {34808, "members: %s"},
    {34809, "groups: %s"},
    {34810, "home: %s"},
    {34811, "Scan lists"},
    {34812, "%s of %s (used)"},
    {34813, "%s of %s (not used)"},
    {34815, "%s: valid, model group G%s, single-byte file, %s fields added at load"},
    {34816, "%s: valid, model group G%s, UTF-16 file, %s fields added at load"},
    {34820, "(programming cable)"},
    {34821, "current port: %s"},
    {34822, "(none)"},
    {34823, "(auto-detect)"},
    {34825,
     "The radio-specific report needs a profile whose own PID belongs to one of its private "
     "contacts; the overview report is available."},
    {34826, "user scope: %s"},
    {34827, "machine scope: %s"},
    {34828, "no terminal"},
    {34829, "progress %s%%"},

    // The unit list of a programming job and the register of radio operations
    {34900,
     "The file is not a unit list: it needs a header row naming at least the column pid, then "
     "one radio per row."},
    {34901, "The column %s is neither pid, unit nor a setting of this profile."},
    {34902, "The column %s appears more than once."},
    {34903, "The PID %s is already listed on line %s."},
    {34904, "\"%s\" is not a valid value for the column %s: %s"},
    {34910,
     "The register address %s is not valid: use postgresql://USER@HOST/DATABASE or "
     "sqlite:///FILE."},
    {34911, "The register %s cannot be opened: %s"},
    {34912, "The register %s could not answer: %s"},
    {34914, "%s record(s) wait on this computer to be sent to the register %s."},
    {34915,
     "The records of this session cannot be kept on this computer: they are lost when the "
     "program ends."},
    {34916, "%s record(s) written to %s."},
    {34917, "The register could not be exported."},
    // Unsaved profiles kept after a failure or a crash
    {34930,
     "These profiles had unsaved changes when the program last ended:\n%s\n\nRestore them with "
     "their changes, or discard the changes?"},
    {34931, "&Restore"},
    {34932, "&Discard"},
    {34933,
     "Profile data Error! The profile will be closed.\nIts unsaved changes were kept in %s."},
};
const std::size_t kEnglishStringCount = sizeof(kEnglishStrings) / sizeof(kEnglishStrings[0]);
