#pragma once

#include <QString>

class CQMVVLTTreeView;

// Narrows the tree to the contacts and text messages whose name, PID or text contains text (case
// and accents ignored as names are sorted), with the nodes above them; the selected node and the
// nodes above it stay shown whatever they hold. An empty text shows the whole tree. Returns the
// number of matching contacts and messages.
int FilterProfileTree(CQMVVLTTreeView& tree, const QString& text);
