#pragma once

// The numbers of the string-table messages the code shows or raises, one name each.
// A name is k + the English text (or its gist) in CamelCase: kFailedToLoadProfile is 103
// "Failed to load profile.", kChannelN is 116 "Channel %d". Texts the user sees are looked up by
// these numbers (LoadString, CStringTable::Format); exceptions carry them as their code.
namespace MessageId {

inline constexpr int kFatalError101 = 101;        // "Fatal error: 101."
inline constexpr int kFatalErrorReinstall = 102;  // "Fatal error.\nPlease uninstall and ..."
inline constexpr int kFailedToLoadProfile = 103;
inline constexpr int kInvalidProfile = 105;
inline constexpr int kUnknownError = 106;
inline constexpr int kProgrammingError107 = 107;  // no child of that name
inline constexpr int kProgrammingError108 = 108;  // no attribute of that name, no such index
inline constexpr int kScrollList = 114;
inline constexpr int kChannelN = 116;  // "Channel %d"
inline constexpr int kScanMode = 120;
inline constexpr int kTextMessages = 130;
inline constexpr int kDealerInformation = 159;
inline constexpr int kLanguageTypeError = 161;
inline constexpr int kRadioSpecificReport = 170;
inline constexpr int kOverviewReport = 171;
inline constexpr int kName = 175;
inline constexpr int kModel = 181;
inline constexpr int kHomeChannel = 182;
inline constexpr int kSeeAllGroups = 183;
inline constexpr int kReceiveFrom = 184;
inline constexpr int kTransmitTo = 185;
inline constexpr int kAllPrivates = 186;
inline constexpr int kAllPrivateGroups = 187;
inline constexpr int kAllPublicGroups = 188;
inline constexpr int kManagerModeEnabled = 189;
inline constexpr int kSeeAllGroupsEnabled = 190;
inline constexpr int kGroupOnlyEnabled = 191;
inline constexpr int kPrivateGroups = 192;
inline constexpr int kPublicGroups = 193;
inline constexpr int kReceiveList = 194;
inline constexpr int kGroupMembers = 195;
inline constexpr int kEnabled = 196;
inline constexpr int kDisabled = 197;
inline constexpr int kManagerMode = 203;
inline constexpr int kScrollListGlobal = 212;
inline constexpr int kScrollListPrivate = 213;
inline constexpr int kPrivateScrollList = 214;
inline constexpr int kFilesNotAvailable = 222;       // "Some files needed by VLT are not ..."
inline constexpr int kNodeInBothSettingParts = 292;  // "Error: 101 Some node exist in ..."
inline constexpr int kNodesNotCorrect = 293;         // "Error: 102 Some node are not correct ..."
inline constexpr int kNeedsScriptEngine = 294;
inline constexpr int kAskConvertToLatest = 297;
inline constexpr int kFailedToSave = 299;  // "File format is error. Failed to save."
inline constexpr int kNoComPort = 304;
inline constexpr int kAskRemapChannels = 306;
inline constexpr int kModifiedBandNotice = 307;
inline constexpr int kWritingSuccess = 10012;
inline constexpr int kAskRadioNotInProfile = 10030;
inline constexpr int kAskDropUnsupported = 10031;
inline constexpr int kUnknownWarning = 10032;
inline constexpr int kUnitPrivateId = 10057;
inline constexpr int kFirmwareVersion = 10059;
inline constexpr int kCodeplugVersion = 10060;
inline constexpr int kHomeGroup = 10095;
inline constexpr int kGroupOnly = 10097;
inline constexpr int kRinger = 10098;
inline constexpr int kNoTemplateFiles = 10114;
inline constexpr int kFatalRegistryError = 10115;
inline constexpr int kDealerReadFailed = 10117;
inline constexpr int kDealerWriteFailed = 10118;
inline constexpr int kNone = 10136;
inline constexpr int kUnsupportedModel = 10156;

}  // namespace MessageId
