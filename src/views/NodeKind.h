#pragma once

// Tree node kinds, shared by the tree, the change notices and the view factory.
enum NodeKind : int {
    kKindNone = -1,  // no node, or no list for a kind
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

// The kind of a list's members (text messages and the three contact lists), else kKindNone.
constexpr NodeKind MemberKindOf(NodeKind listKind) {
    switch (listKind) {
        case kKindTextMessages:
            return kKindTextMessage;
        case kKindPublicGroups:
            return kKindPublicGroup;
        case kKindPrivateGroups:
            return kKindPrivateGroup;
        case kKindPrivates:
            return kKindPrivate;
        default:
            return kKindNone;
    }
}

// The list a member kind belongs to (a private added with the scanner is a private), else
// kKindNone.
constexpr NodeKind ListKindOf(NodeKind memberKind) {
    switch (memberKind) {
        case kKindTextMessage:
            return kKindTextMessages;
        case kKindPublicGroup:
            return kKindPublicGroups;
        case kKindPrivateGroup:
            return kKindPrivateGroups;
        case kKindPrivate:
        case kKindPrivateWithScanner:
            return kKindPrivates;
        default:
            return kKindNone;
    }
}

// The members of the three contact lists (the tree renames only these).
constexpr bool IsContact(NodeKind kind) {
    return kind == kKindPublicGroup || kind == kKindPrivateGroup || kind == kKindPrivate;
}

enum class NoticeAction { kAdd, kDelete, kRefresh };

// What a view tells the tree and the other views. An add names the list to add to (or
// kKindPrivateWithScanner); a delete or a refresh names the member or node that changed and its
// position among its siblings (a scan channel's position is its channel number less one).
struct ChangeNotice {
    NoticeAction action;
    NodeKind kind;
    int position = 0;
};
