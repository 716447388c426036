#pragma once
// The X11 CLIPBOARD selection's owner, asked directly. Qt's clipboard waits
// 5 s for each answer and gives the same empty reply for a clipboard nobody
// holds and for an owner that never answered.

#include <chrono>

namespace velmorant {

enum class ClipboardOwner {
    Nobody,  // nobody holds the clipboard
    Present, // held; whether it answers was not asked
    Answers, // answered the question for its formats in time
    Silent,  // held, but no answer in time
    Unknown, // not on X11, or the display cannot be reached
};

// Asks the owner for its formats on a connection of its own and waits at most
// `patience`; with zero patience only looks whether someone holds it. The
// caller must not own the clipboard itself: its own answer would wait for the
// event loop that waits here.
ClipboardOwner AskClipboardOwner(std::chrono::milliseconds patience);

} // namespace velmorant
