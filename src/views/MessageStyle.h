#pragma once

// Message-box styles and button codes as the rule file returns and expects them.
namespace MessageStyle {
inline constexpr int kOk = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
// Only the low four bits choose the buttons; the rest (icons, defaults) is decoration.
inline constexpr int kButtonMask = 0x0F;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace MessageStyle
