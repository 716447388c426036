#pragma once
// Everything the window asks of the desktop, behind one seam: the window tests
// put a fake here, the program the Qt implementation.

#include "core/colour/colour.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

class QWidget;

namespace velmorant {

// What the colour chooser answers, in the platform's order: red + 256 * green +
// 65536 * blue, as SplitRGB reads it (not the core's PackedRgb).
using ChooserColour = std::int32_t;

// Message box styles: the icon and one OK button.
enum class MessageStyle : int { Error = 16, Information = 64 };

// One read of the clipboard's plain text. NoText: nothing in the clipboard is
// text (an image, HTML only, or no owner at all). Failed: text may be there,
// but it did not arrive whole (the owner died or did not answer in time).
struct ClipboardRead {
    enum class Outcome { Text, NoText, Failed };
    Outcome outcome = Outcome::NoText;
    QString text; // empty unless outcome is Text
};

// A platform service that could not do its job; the window reports it and goes on.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Modal to owner, opening on black with nothing preselected and no remembered
    // custom colours. The confirmed colour, or nothing on cancel.
    virtual std::optional<ChooserColour> ChooseColour(QWidget* owner) = 0;

    // A modal message box titled "Velmorant" with one OK button.
    virtual void ShowMessage(QWidget* owner, const QString& prompt, MessageStyle style) = 0;

    virtual void ClearClipboard() = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    virtual ClipboardRead ClipboardText() = 0;

    // Hands the address to the user's web browser without waiting for it.
    virtual void OpenWebAddress(const QString& address) = 0;

    // The desktop's link pointer over the control.
    virtual void ShowHandCursor(QWidget* control) = 0;

    // Restyles the application from the skin file at the path, or, when no
    // small regular file stands there, from the next skin in line (the last
    // is built in).
    virtual void AttachSkin(const QString& path) = 0;

    virtual void EndProgram() = 0;
};

} // namespace velmorant
