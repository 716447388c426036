// The system clipboard through Qt. A paste must tell a clipboard that holds no
// text from a read that failed, so the text is fetched through QMimeData,
// which keeps that difference, rather than QClipboard::text(), which does not.

#include "app/platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#ifdef VELMORANT_X11_OWNER_CHECK
#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#endif

namespace velmorant {

namespace {

#ifdef VELMORANT_X11_OWNER_CHECK
// Whether some program holds the X11 CLIPBOARD selection. Qt gives the same
// empty format list for a selection nobody holds and for an owner that never
// answered; only the second is a failed read.
bool X11ClipboardHasOwner() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t* connection = x11->connection();
    const char name[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t clipboard = atom->atom;
    std::free(atom);
    if (clipboard == XCB_ATOM_NONE)
        return false; // nobody ever took it
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboard), nullptr);
    if (!owner)
        return false;
    const bool held = owner->owner != XCB_NONE;
    std::free(owner);
    return held;
}
#else
bool X11ClipboardHasOwner() { return false; }
#endif

// The plain-text format among those offered, or an empty string.
QString PlainTextFormat(const QStringList& formats) {
    for (const QString& format : {QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=utf-8")})
        if (formats.contains(format, Qt::CaseInsensitive))
            return format;
    return QString();
}

} // namespace

void QtPlatform::ClearClipboard() { QApplication::clipboard()->clear(QClipboard::Clipboard); }

void QtPlatform::SetClipboardText(const QString& text) {
    QApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

ClipboardRead QtPlatform::ClipboardText() {
    using Outcome = ClipboardRead::Outcome;
    const QMimeData* data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data)
        return {Outcome::NoText, {}};
    // On X11 every question to an owner that does not answer costs Qt's 5 s
    // timeout: ask once for the formats and once for the text, no more.
    const QStringList formats = data->formats();
    if (formats.isEmpty())
        return {X11ClipboardHasOwner() ? Outcome::Failed : Outcome::NoText, {}};
    const QString format = PlainTextFormat(formats);
    if (format.isEmpty())
        return {Outcome::NoText, {}};
    // A transfer that fails (owner gone, timed out, an incremental transfer cut
    // off) comes back null, never truncated; an empty text comes back empty.
    const QByteArray bytes = data->data(format);
    if (bytes.isNull())
        return {Outcome::Failed, {}};
    return {Outcome::Text, QString::fromUtf8(bytes)};
}

} // namespace velmorant
