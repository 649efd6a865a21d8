#pragma once

// Tree node kinds, shared by the tree, the change notices and the view factory.
enum NodeKind : int {
    kKindRoot = 0,
    kKindSettings = 1,
    kKindTextMessages = 2,
    kKindTextMessage = 3,
    kKindContacts = 4,
    kKindPublicGroups = 5,
    kKindPrivateGroups = 6,
    kKindPrivates = 7,
    kKindPublicGroup = 8,
    kKindPrivateGroup = 9,
    kKindPrivate = 10,
    kKindLists = 11,
    kKindScrollList = 12,
    kKindScanList = 13,
    kKindScanChannel = 14,
    kKindPrivateWithScanner = 15,  // only in add notices
};

// A tree item's value: position among its siblings in the high half, kind in the low half.
inline int ItemValue(int kind, int position) {
    return (position << 16) | kind;
}
inline int ItemKind(int value) {
    return value & 0xFFFF;
}
inline int ItemPosition(int value) {
    return (value >> 16) & 0xFFFF;
}

// Change notices that views send to the tree: position << 16 | kind << 8 | action.
enum NoticeAction : int { kNoticeAdd = 1, kNoticeDelete = 2, kNoticeRefresh = 3 };
inline int ChangeNotice(int action, int kind, int position = 0) {
    return (position << 16) | (kind << 8) | action;
}
inline int NoticeActionOf(int hint) {
    return hint & 0xFF;
}
inline int NoticeKindOf(int hint) {
    return (hint >> 8) & 0xFF;
}
inline int NoticePositionOf(int hint) {
    return (hint >> 16) & 0xFFFF;
}
