// What a single-line text box keeps of its edits.
#pragma once

class QLineEdit;

namespace tolvu::runtime {

// Edits of at least this many characters, inserted and removed together,
// are not kept for undo.
inline constexpr int kLargeEdit = 1024;

// Keeps large edits of `box` out of its undo history. A line edit records
// every character that an edit inserts or removes as one 16-byte entry and
// never gives the history's storage back: each 1 MB paste over a 1 MB text
// would hold on to another 32 MB. A large paste (by key, context menu or
// middle button), cut (by key or context menu), and Backspace, Delete or
// typing over a large selection therefore set the text as a whole instead,
// which records nothing and empties the history; typing and small pastes
// keep their undo.
void boundUndoHistory(QLineEdit* box);

} // namespace tolvu::runtime
