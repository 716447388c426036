// A model-based test of the multiline box: seeded random edits go to a real
// box and to a plain string, and after every step Text, SelStart and SelLength
// must agree. Texts hold long paragraphs (so several joined pieces) and every
// kind of line break. A failing seed is shrunk to the shortest list of steps
// that still fails, and that list is printed.
//
// VELMORANT_BOX_MODEL_SEEDS=first:count and VELMORANT_BOX_MODEL_STEPS=n run
// longer (make fuzz does); the default is a few thousand steps.

#include "app/controls/multiline_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextCursor>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace velmorant;

namespace {

// splitmix64: the same numbers on every machine and library.
struct Random {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return int(Next() % std::uint64_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
};

const QString Breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r"), QString(QChar(0x2029))};

QString Break(Random& random) { return Breaks[random.Below(4)]; }

// A run of a paragraph: words, a wall with nowhere to wrap, Chinese, surrogate
// pairs or combining marks, so pieces get cut in every way.
QString Run(Random& random, int length) {
    QString run;
    const int style = random.Below(5);
    while (run.size() < length) {
        switch (style) {
        case 0:
            run += QStringLiteral("word%1 ").arg(random.Below(3000));
            break;
        case 1:
            run += QChar(u'a' + random.Below(26));
            break;
        case 2:
            run += QString::fromUtf16(random.Chance(10) ? u"，" : u"渐变色彩");
            break;
        case 3:
            run += random.Chance(30) ? QStringLiteral("x") : QString::fromUtf16(u"\U0001F600");
            break;
        default:
            run += random.Chance(50) ? QString::fromUtf16(u"e\u0301") : QStringLiteral("y");
        }
    }
    return run;
}

QString Paragraphs(Random& random, int count, int longChance) {
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0 || random.Chance(20))
            text += Break(random);
        text += Run(random, random.Chance(longChance) ? 4000 + random.Below(9000) : random.Below(40));
    }
    if (random.Chance(40))
        text += Break(random);
    return text;
}

// Texts that pastes, drops and input methods bring.
QString Insertion(Random& random) {
    switch (random.Below(9)) {
    case 0:
        return Break(random);
    case 1:
        return QStringLiteral("P\r\nQ\nR\rS") + QChar(0x2029) + QStringLiteral("T");
    case 2:
        return Run(random, 4000 + random.Below(5000));
    case 3:
        return Paragraphs(random, 2 + random.Below(3), 30);
    case 4:
        return QString::fromUtf16(u"\U0001F600\U0001F601");
    case 5:
        return QString::fromUtf16(u"\u0301a\u0301");
    case 6:
        return QStringLiteral("\n") + Run(random, 1 + random.Below(20)) + QStringLiteral("\r");
    case 7:
        return QStringLiteral("x\ny");
    default:
        return Run(random, 1 + random.Below(30));
    }
}

const QString Typed[] = {QStringLiteral("N"),           QStringLiteral(" "),
                         QString::fromUtf16(u"变"),     QString::fromUtf16(u"\U0001F600"),
                         QString::fromUtf16(u"\u0301"), QStringLiteral("q")};

enum class Kind {
    Left,
    Right,
    ShiftLeft,
    ShiftRight,
    CtrlHome,
    CtrlEnd,
    CtrlShiftHome,
    CtrlShiftEnd,
    Home,
    End,
    ShiftHome,
    ShiftEnd,
    Up,
    Down,
    ShiftUp,
    ShiftDown,
    WordLeft,
    WordRight,
    ShiftWordLeft,
    ShiftWordRight,
    PageDown,
    Click,
    ShiftClick,
    Drag,
    TripleClick,
    Type,
    Enter,
    Backspace,
    Delete,
    Cut,
    Copy,
    Paste,
    Drop,
    Commit,
    PreeditCommit,
    PreeditCancel,
    Undo,
    Redo,
    Count
};

const char* const Names[] = {"Left",
                             "Right",
                             "Shift+Left",
                             "Shift+Right",
                             "Ctrl+Home",
                             "Ctrl+End",
                             "Ctrl+Shift+Home",
                             "Ctrl+Shift+End",
                             "Home",
                             "End",
                             "Shift+Home",
                             "Shift+End",
                             "Up",
                             "Down",
                             "Shift+Up",
                             "Shift+Down",
                             "Ctrl+Left",
                             "Ctrl+Right",
                             "Ctrl+Shift+Left",
                             "Ctrl+Shift+Right",
                             "PageDown",
                             "click",
                             "shift+click",
                             "drag",
                             "triple-click",
                             "type",
                             "Enter",
                             "Backspace",
                             "Delete",
                             "cut",
                             "copy",
                             "paste",
                             "drop",
                             "input method commit",
                             "input method preedit, commit",
                             "input method preedit, cancel",
                             "undo",
                             "redo"};

// A text as C++ would spell it, cut short.
QString Shown(const QString& text) {
    QString shown;
    for (const QChar c : text.left(24))
        shown += c.unicode() < 0x20 || c.unicode() > 0x7E ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'))
                                                          : QString(c);
    return text.size() > 24 ? shown + QStringLiteral("...") : shown;
}

// A text's lines: the length of each, and the breaks between them.
QString Sketch(const QString& text) {
    QString sketch;
    int line = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\r' && text[i] != u'\n' && text[i] != QChar::ParagraphSeparator) {
            ++line;
            continue;
        }
        sketch += QString::number(line);
        if (!end) {
            const bool crlf = text.mid(i, 2) == QLatin1String("\r\n");
            sketch += QStringLiteral(" \"%1\" ").arg(Shown(text.mid(i, crlf ? 2 : 1)));
            i += crlf ? 1 : 0;
        }
        line = 0;
    }
    return sketch;
}

struct Step {
    Kind kind;
    std::uint64_t at = 0;   // a place in the text, taken modulo its length
    std::uint64_t to = 0;   // a second place: where a drag ends, within the view
    QString text;           // typed, pasted, dropped or committed
    mutable int place = -1; // where at and to landed, the last time the step ran
    mutable int placeTo = -1;

    QString Describe() const {
        QString out =
            kind == Kind::Enter && at % 2 ? QStringLiteral("Shift+Enter") : QString::fromLatin1(Names[int(kind)]);
        if (kind == Kind::Click || kind == Kind::ShiftClick || kind == Kind::TripleClick || kind == Kind::Drag ||
            kind == Kind::Drop)
            out += QStringLiteral(" at %1").arg(place);
        if (kind == Kind::Drag)
            out += QStringLiteral(" to %1").arg(placeTo);
        if (!text.isEmpty())
            out += QStringLiteral(" \"%1\" (%2 units)").arg(Shown(text)).arg(text.size());
        return out;
    }
};

Step RandomStep(Random& random) {
    static const Kind Weighted[] = {
        Kind::Left,          Kind::Right,          Kind::ShiftLeft,     Kind::ShiftRight,   Kind::ShiftLeft,
        Kind::ShiftRight,    Kind::Home,           Kind::End,           Kind::ShiftHome,    Kind::ShiftEnd,
        Kind::CtrlHome,      Kind::CtrlEnd,        Kind::CtrlShiftHome, Kind::CtrlShiftEnd, Kind::Up,
        Kind::Down,          Kind::ShiftUp,        Kind::ShiftDown,     Kind::WordLeft,     Kind::WordRight,
        Kind::ShiftWordLeft, Kind::ShiftWordRight, Kind::PageDown,      Kind::Click,        Kind::Click,
        Kind::Click,         Kind::ShiftClick,     Kind::ShiftClick,    Kind::Drag,         Kind::TripleClick,
        Kind::TripleClick,   Kind::Type,           Kind::Type,          Kind::Type,         Kind::Enter,
        Kind::Backspace,     Kind::Backspace,      Kind::Delete,        Kind::Delete,       Kind::Cut,
        Kind::Copy,          Kind::Paste,          Kind::Paste,         Kind::Drop,         Kind::Commit,
        Kind::PreeditCommit, Kind::PreeditCancel,  Kind::Undo,          Kind::Undo,         Kind::Redo};
    Step step{Weighted[random.Below(int(std::size(Weighted)))], 0, 0, {}};
    step.at = random.Next();
    step.to = random.Next();
    switch (step.kind) {
    case Kind::Type:
        step.text = Typed[random.Below(int(std::size(Typed)))];
        break;
    case Kind::Paste:
    case Kind::Drop:
    case Kind::Commit:
    case Kind::PreeditCommit:
        step.text = Insertion(random);
        break;
    default:
        break;
    }
    return step;
}

struct Case {
    QString text;
    QSize size;
    std::vector<Step> steps;
};

Case RandomCase(std::uint64_t seed, int steps) {
    Random random{seed};
    Case c;
    c.text = Paragraphs(random, 2 + random.Below(5), 45);
    // The input box and the code box, in pixels.
    c.size = random.Chance(50) ? QSize(241, 55) : QSize(359, 81);
    for (int i = 0; i < steps; ++i)
        c.steps.push_back(RandomStep(random));
    return c;
}

// The plain string and what the user did to it.
struct Model {
    QString text;
    int anchor = 0;
    int caret = 0;
    QString clipboard;
    // The selection the last triple-click made, while shift+click extends by paragraphs from it.
    std::optional<std::pair<int, int>> paragraphs;
    bool paragraphsKnown = true;
    // Texts after each edit, for undo and redo. Qt may merge a run of typing
    // or deleting into one undo step: a state says whether it may be merged
    // into the one before it.
    struct State {
        QString text;
        bool mergeable;
        Kind kind;
        int insertEnd; // where the text it inserted ends, or -1
    };
    std::vector<State> states;
    std::size_t current = 0;

    int SelStart() const { return qMin(anchor, caret); }
    int SelEnd() const { return qMax(anchor, caret); }

    bool IsBoundary(int at) const {
        if (at <= 0 || at >= text.size())
            return true;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        finder.setPosition(at);
        return finder.isAtBoundary();
    }
    int NextBoundary(int at) const {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        finder.setPosition(at);
        const qsizetype next = finder.toNextBoundary();
        return next < 0 ? int(text.size()) : int(next);
    }
    int PreviousBoundary(int at) const {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        finder.setPosition(at);
        const qsizetype previous = finder.toPreviousBoundary();
        return previous < 0 ? 0 : int(previous);
    }
    // A place a user can point at: on a character boundary.
    int Place(const Step& step) const {
        step.place = Place(step.at);
        return step.place;
    }
    int Place(std::uint64_t at) const {
        int place = int(at % std::uint64_t(text.size() + 1));
        if (!IsBoundary(place))
            place = PreviousBoundary(place);
        // A mark with nothing to sit on has no width: the places around it look the same.
        while (place > 0 && text[place - 1].isMark() && IsBoundary(place - 1))
            place = PreviousBoundary(place);
        return place;
    }

    static bool IsBreak(QChar c) { return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator; }
    int ParagraphStart(int at) const {
        while (at > 0 && !IsBreak(text[at - 1]))
            --at;
        return at;
    }
    // The end of the paragraph with the break after it.
    int ParagraphEndWithBreak(int at) const {
        while (at < text.size() && !IsBreak(text[at]))
            ++at;
        if (at < text.size())
            at += text.mid(at, 2) == QLatin1String("\r\n") ? 2 : 1;
        return at;
    }

    void Edit(Kind kind, int from, int length, const QString& inserted) {
        if (length == 0 && inserted.isEmpty())
            return;
        text.replace(from, length, inserted);
        anchor = caret = from + int(inserted.size());
        // The caret does not stay between the CR and the LF of one break.
        if (caret > 0 && caret < text.size() && text[caret - 1] == u'\r' && text[caret] == u'\n')
            anchor = ++caret;
        states.resize(current + 1);
        const State& last = states.back();
        // Qt runs typing on from an insertion into it, and a deletion on from a deletion.
        const bool mergeable = length == 0 ? from == last.insertEnd
                                           : inserted.isEmpty() && (kind == Kind::Backspace || kind == Kind::Delete) &&
                                                 last.insertEnd < 0 && last.kind != Kind::Count;
        states.push_back({text, mergeable, kind, inserted.isEmpty() ? -1 : from + int(inserted.size())});
        ++current;
        paragraphsKnown = false;
    }
    void ReplaceSelection(Kind kind, const QString& inserted) {
        Edit(kind, SelStart(), SelEnd() - SelStart(), inserted);
    }
};

// The box's selection as text offsets: anchor and caret.
std::pair<int, int> Ends(const MultiLineTextBox& box) {
    const QTextCursor cursor = box.textCursor();
    const int start = box.SelStart();
    const int end = start + box.SelLength();
    return cursor.anchor() <= cursor.position() ? std::pair{start, end} : std::pair{end, start};
}

void SendMouse(QWidget* viewport, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const bool held = type == QEvent::MouseMove || type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held ? Qt::LeftButton : Qt::NoButton, modifiers);
    QApplication::sendEvent(viewport, &event);
}

// Where the caret at a text offset is drawn, scrolled into view; the caret is
// left there. Nothing if the layout cannot point there (a place between
// glyphs of no width), so the step is skipped.
std::optional<QPoint> PointAt(MultiLineTextBox& box, int offset) {
    box.SetSelStart(offset);
    box.ensureCursorVisible();
    const QPoint point = box.cursorRect().center();
    if (box.cursorForPosition(point).position() != box.textCursor().position())
        return std::nullopt;
    return point;
}

// Keeps the anchor, puts the caret at the place on screen (still in view).
void RestoreAnchor(MultiLineTextBox& box, int anchorDocument) {
    QTextCursor cursor = box.textCursor();
    const int position = cursor.position();
    cursor.setPosition(anchorDocument);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

int AnchorInDocument(const MultiLineTextBox& box) { return box.textCursor().anchor(); }

void Key(MultiLineTextBox& box, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&box, key, modifiers);
}

// Applies one step to the box and the model; returns what disagrees, or nothing.
QString Apply(MultiLineTextBox& box, Model& model, const Step& step) {
    const QString before = model.text;
    const QTextCursor original = box.textCursor();
    // A place the layout cannot point at: the step does nothing.
    auto skip = [&] { box.setTextCursor(original); };
    auto adopt = [&] { std::tie(model.anchor, model.caret) = Ends(box); };
    auto moveTo = [&](int caret, bool keepAnchor) {
        model.caret = caret;
        if (!keepAnchor)
            model.anchor = caret;
    };
    switch (step.kind) {
    case Kind::Left:
        Key(box, Qt::Key_Left);
        moveTo(model.anchor != model.caret ? model.SelStart() : model.PreviousBoundary(model.caret), false);
        break;
    case Kind::Right:
        Key(box, Qt::Key_Right);
        moveTo(model.anchor != model.caret ? model.SelEnd() : model.NextBoundary(model.caret), false);
        break;
    case Kind::ShiftLeft:
        Key(box, Qt::Key_Left, Qt::ShiftModifier);
        moveTo(model.PreviousBoundary(model.caret), true);
        break;
    case Kind::ShiftRight:
        Key(box, Qt::Key_Right, Qt::ShiftModifier);
        moveTo(model.NextBoundary(model.caret), true);
        break;
    case Kind::CtrlHome:
    case Kind::CtrlShiftHome:
        Key(box, Qt::Key_Home,
            Qt::ControlModifier | (step.kind == Kind::CtrlShiftHome ? Qt::ShiftModifier : Qt::NoModifier));
        moveTo(0, step.kind == Kind::CtrlShiftHome);
        break;
    case Kind::CtrlEnd:
    case Kind::CtrlShiftEnd:
        Key(box, Qt::Key_End,
            Qt::ControlModifier | (step.kind == Kind::CtrlShiftEnd ? Qt::ShiftModifier : Qt::NoModifier));
        moveTo(int(model.text.size()), step.kind == Kind::CtrlShiftEnd);
        break;
    // Where these land depends on the layout: the box is followed, and checked
    // below to land on a character boundary.
    case Kind::Home:
    case Kind::End:
    case Kind::ShiftHome:
    case Kind::ShiftEnd:
    case Kind::Up:
    case Kind::Down:
    case Kind::ShiftUp:
    case Kind::ShiftDown:
    case Kind::WordLeft:
    case Kind::WordRight:
    case Kind::ShiftWordLeft:
    case Kind::ShiftWordRight:
    case Kind::PageDown: {
        static const std::pair<Qt::Key, Qt::KeyboardModifiers> Keys[] = {
            {Qt::Key_Home, Qt::NoModifier},
            {Qt::Key_End, Qt::NoModifier},
            {Qt::Key_Home, Qt::ShiftModifier},
            {Qt::Key_End, Qt::ShiftModifier},
            {Qt::Key_Up, Qt::NoModifier},
            {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_Up, Qt::ShiftModifier},
            {Qt::Key_Down, Qt::ShiftModifier},
            {Qt::Key_Left, Qt::ControlModifier},
            {Qt::Key_Right, Qt::ControlModifier},
            {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_PageDown, Qt::NoModifier}};
        const auto [key, modifiers] = Keys[int(step.kind) - int(Kind::Home)];
        Key(box, key, modifiers);
        const bool keepsAnchor = modifiers & Qt::ShiftModifier;
        const int anchor = model.anchor;
        const int caret = model.caret;
        adopt();
        if (keepsAnchor && model.anchor != anchor)
            return QStringLiteral("the anchor moved from %1 to %2").arg(anchor).arg(model.anchor);
        // Qt's word moves may stop between a blank and a mark on it: theirs to decide.
        const bool byWord = step.kind >= Kind::WordLeft && step.kind <= Kind::ShiftWordRight;
        if (model.caret != caret && !byWord && !model.IsBoundary(model.caret))
            return QStringLiteral("the caret stops inside a character at %1").arg(model.caret);
        break;
    }
    case Kind::Click: {
        const int at = model.Place(step);
        const auto point = PointAt(box, at);
        if (!point) {
            skip();
            break;
        }
        SendMouse(box.viewport(), QEvent::MouseButtonPress, *point);
        SendMouse(box.viewport(), QEvent::MouseButtonRelease, *point);
        moveTo(at, false);
        model.paragraphs.reset();
        model.paragraphsKnown = true;
        break;
    }
    case Kind::ShiftClick: {
        const int at = model.Place(step);
        const int anchor = AnchorInDocument(box);
        const auto point = PointAt(box, at);
        if (!point) {
            skip();
            break;
        }
        RestoreAnchor(box, anchor);
        SendMouse(box.viewport(), QEvent::MouseButtonPress, *point, Qt::ShiftModifier);
        SendMouse(box.viewport(), QEvent::MouseButtonRelease, *point, Qt::ShiftModifier);
        if (!model.paragraphsKnown) {
            adopt(); // extends from a triple-click selection that edits have moved since
        } else if (!model.paragraphs) {
            moveTo(at, true);
        } else if (const auto [start, end] = *model.paragraphs; at >= start && at <= end) {
            model.anchor = start;
            model.caret = end;
        } else if (at < start) {
            model.anchor = end;
            model.caret = model.ParagraphStart(at);
        } else {
            model.anchor = start;
            model.caret = model.ParagraphEndWithBreak(at);
        }
        break;
    }
    case Kind::Drag: {
        const int at = model.Place(step);
        // The drag ends on the caret's line or one next to it, in full view.
        // Setting it up may scroll the box: then again, from where it stands.
        QPoint from;
        QPoint to;
        int end = -1;
        for (int attempt = 0; end < 0; ++attempt) {
            const auto point = PointAt(box, at);
            if (!point)
                break;
            from = *point;
            const QTextCursor atCursor = box.textCursor();
            const QRect view = box.viewport()->rect();
            to = QPoint(int(step.to % std::uint64_t(view.width())),
                        from.y() + (int((step.to >> 32) % 3) - 1) * box.cursorRect().height());
            if (!view.contains(box.cursorRect(box.cursorForPosition(to))))
                to.setY(from.y());
            box.setTextCursor(box.cursorForPosition(to));
            end = box.SelStart();
            box.setTextCursor(atCursor);
            if (box.cursorRect().center() != from)
                end = -1;
            if (attempt == 3)
                return QStringLiteral("the view keeps scrolling while a drag is set up");
        }
        step.placeTo = end;
        if (end < 0) {
            skip();
            break;
        }
        SendMouse(box.viewport(), QEvent::MouseButtonPress, from);
        SendMouse(box.viewport(), QEvent::MouseMove, to);
        SendMouse(box.viewport(), QEvent::MouseButtonRelease, to);
        model.anchor = at;
        model.caret = end;
        model.paragraphs.reset();
        model.paragraphsKnown = true;
        break;
    }
    case Kind::TripleClick: {
        const int at = model.Place(step);
        const auto point = PointAt(box, at);
        if (!point) {
            skip();
            break;
        }
        for (const QEvent::Type type :
             {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
              QEvent::MouseButtonRelease, QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            SendMouse(box.viewport(), type, *point);
        model.anchor = model.ParagraphStart(at);
        model.caret = model.ParagraphEndWithBreak(at);
        // Qt extends by paragraphs from a triple-click that selected something.
        if (model.anchor != model.caret)
            model.paragraphs = std::pair{model.anchor, model.caret};
        else
            model.paragraphs.reset();
        model.paragraphsKnown = true;
        break;
    }
    case Kind::Type:
        QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, step.text, Qt::NoModifier);
        model.ReplaceSelection(Kind::Type, step.text);
        break;
    case Kind::Enter: // Shift+Enter too: no soft breaks in this box
        Key(box, Qt::Key_Return, step.at % 2 ? Qt::ShiftModifier : Qt::NoModifier);
        model.ReplaceSelection(Kind::Enter, QStringLiteral("\r\n"));
        break;
    case Kind::Backspace:
        Key(box, Qt::Key_Backspace);
        if (model.anchor != model.caret) {
            model.ReplaceSelection(Kind::Backspace, QString());
        } else if (model.caret > 0) {
            const QString& t = model.text;
            const int c = model.caret;
            const bool pair = c >= 2 && ((t[c - 1] == u'\n' && t[c - 2] == u'\r') ||
                                         (t[c - 1].isLowSurrogate() && t[c - 2].isHighSurrogate()));
            model.Edit(Kind::Backspace, c - (pair ? 2 : 1), pair ? 2 : 1, QString());
        }
        break;
    case Kind::Delete:
        Key(box, Qt::Key_Delete);
        if (model.anchor != model.caret) {
            model.ReplaceSelection(Kind::Delete, QString());
        } else if (model.caret < model.text.size()) {
            const int c = model.caret;
            model.Edit(Kind::Delete, c, model.NextBoundary(c) - c, QString());
        }
        break;
    case Kind::Cut:
        Key(box, Qt::Key_X, Qt::ControlModifier);
        if (model.anchor != model.caret) {
            model.clipboard = model.text.mid(model.SelStart(), model.SelEnd() - model.SelStart());
            model.ReplaceSelection(Kind::Cut, QString());
        }
        break;
    case Kind::Copy:
        Key(box, Qt::Key_C, Qt::ControlModifier);
        if (model.anchor != model.caret)
            model.clipboard = model.text.mid(model.SelStart(), model.SelEnd() - model.SelStart());
        break;
    case Kind::Paste:
        QApplication::clipboard()->setText(step.text);
        model.clipboard = step.text;
        Key(box, Qt::Key_V, Qt::ControlModifier);
        model.ReplaceSelection(Kind::Paste, step.text);
        break;
    case Kind::Drop: {
        const int at = model.Place(step);
        const auto found = PointAt(box, at);
        if (!found) {
            skip();
            break;
        }
        const QPoint point = *found;
        QMimeData data;
        data.setText(step.text);
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &enter);
        QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &drop);
        model.anchor = model.caret = at;
        model.ReplaceSelection(Kind::Drop, step.text);
        break;
    }
    case Kind::Commit:
    case Kind::PreeditCommit:
    case Kind::PreeditCancel: {
        if (step.kind != Kind::Commit) {
            // Composing starts by removing the selection, an edit of its own.
            QInputMethodEvent preedit(QStringLiteral("ni"), {});
            QApplication::sendEvent(&box, &preedit);
            model.ReplaceSelection(Kind::PreeditCancel, QString());
        }
        QInputMethodEvent commit;
        commit.setCommitString(step.text);
        QApplication::sendEvent(&box, &commit);
        model.ReplaceSelection(Kind::Commit, step.text);
        break;
    }
    case Kind::Undo:
    case Kind::Redo: {
        Key(box, step.kind == Kind::Undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        const QString text = box.Text();
        auto& states = model.states;
        std::size_t to = model.current;
        if (step.kind == Kind::Undo && model.current > 0) {
            to = model.current - 1;
            while (states[to].text != text && states[to + 1].mergeable && to > 0)
                --to;
        } else if (step.kind == Kind::Redo && model.current + 1 < states.size()) {
            to = model.current + 1;
            while (states[to].text != text && to + 1 < states.size() && states[to + 1].mergeable)
                ++to;
        }
        model.current = to;
        model.text = states[to].text;
        if (model.text != text)
            return QStringLiteral("%1 should give back an earlier text")
                .arg(QString::fromLatin1(Names[int(step.kind)]));
        adopt();
        model.paragraphsKnown = model.paragraphsKnown && model.text == before;
        break;
    }
    case Kind::Count:
        break;
    }

    if (QApplication::clipboard()->text() != model.clipboard)
        return QStringLiteral("the clipboard holds \"%1\", not \"%2\"")
            .arg(Shown(QApplication::clipboard()->text()), Shown(model.clipboard));
    const QString text = box.Text();
    if (text != model.text) {
        int at = 0;
        while (at < text.size() && at < model.text.size() && text[at] == model.text[at])
            ++at;
        return QStringLiteral("Text differs at %1 (box %2 units, model %3): box \"%4\", model \"%5\"")
            .arg(at)
            .arg(text.size())
            .arg(model.text.size())
            .arg(Shown(text.mid(qMax(0, at - 4), 12)), Shown(model.text.mid(qMax(0, at - 4), 12)));
    }
    if (box.TextLength() != model.text.size())
        return QStringLiteral("TextLength %1, Text holds %2").arg(box.TextLength()).arg(model.text.size());
    const auto [anchor, caret] = Ends(box);
    if (box.SelStart() != model.SelStart() || box.SelLength() != model.SelEnd() - model.SelStart() ||
        (anchor != caret && caret != model.caret))
        return QStringLiteral("selection: box anchor %1 caret %2, model anchor %3 caret %4")
            .arg(anchor)
            .arg(caret)
            .arg(model.anchor)
            .arg(model.caret);
    return {};
}

// Prints every step of the shortest failing list as it runs.
bool trace = false;

struct Failure {
    std::size_t step;
    QString message;
};

// Runs a case on a fresh box: the first step that disagrees, if any.
std::optional<Failure> Run(const Case& c, const std::vector<Step>& steps) {
    MultiLineTextBox box(nullptr);
    box.setFixedSize(c.size);
    box.show();
    QApplication::setActiveWindow(&box);
    if (!QTest::qWaitForWindowActive(&box))
        return Failure{0, QStringLiteral("the box never became active")};
    box.SetText(c.text);
    Model model;
    model.text = c.text;
    model.states.push_back({c.text, false, Kind::Count, -1});
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    model.clipboard = QStringLiteral("clip");
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const QString message = Apply(box, model, steps[i]);
        if (trace)
            qDebug().noquote() << steps[i].Describe() << "->" << Shown(box.Text().left(30)) << box.Text().size()
                               << model.text.size() << box.SelStart() << box.SelLength() << "states" << model.current
                               << model.states.size() << message;
        if (!message.isEmpty())
            return Failure{i, message};
    }
    return std::nullopt;
}

// The shortest list of steps that still fails (removing chunks, then single steps).
std::vector<Step> Shrink(const Case& c, std::vector<Step> steps, int budget) {
    for (std::size_t chunk = steps.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
        for (std::size_t from = 0; from < steps.size() && budget > 0;) {
            std::vector<Step> shorter(steps.begin(), steps.begin() + from);
            shorter.insert(shorter.end(), steps.begin() + qMin(steps.size(), from + chunk), steps.end());
            --budget;
            if (const auto failure = Run(c, shorter)) {
                shorter.resize(failure->step + 1);
                steps = std::move(shorter);
            } else {
                from += chunk;
            }
        }
    }
    return steps;
}

std::pair<std::uint64_t, int> SeedRange() {
    const QByteArray seeds = qgetenv("VELMORANT_BOX_MODEL_SEEDS");
    const int colon = int(seeds.indexOf(':'));
    if (colon < 0)
        return {1, 24};
    return {seeds.left(colon).toULongLong(), seeds.mid(colon + 1).toInt()};
}

int StepCount() {
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("VELMORANT_BOX_MODEL_STEPS", &ok);
    return ok ? steps : 120;
}

} // namespace

class TextBoxModelTest : public QObject {
    Q_OBJECT
private slots:
    void editsAgreeWithAPlainString() {
        const auto [first, count] = SeedRange();
        const int steps = StepCount();
        int failures = 0;
        for (std::uint64_t seed = first; seed < first + std::uint64_t(count); ++seed) {
            const Case c = RandomCase(seed, steps);
            const auto failure = Run(c, c.steps);
            if (!failure)
                continue;
            ++failures;
            std::vector<Step> shortest(c.steps.begin(), c.steps.begin() + failure->step + 1);
            shortest = Shrink(c, shortest, 400);
            trace = qEnvironmentVariableIsSet("VELMORANT_BOX_MODEL_TRACE");
            const auto last = Run(c, shortest);
            trace = false;
            QString report =
                QStringLiteral("seed %1 (box %3x%4, text of %2 units: lines %7) fails after %5 steps: %6\n")
                    .arg(seed)
                    .arg(c.text.size())
                    .arg(c.size.width())
                    .arg(c.size.height())
                    .arg(shortest.size())
                    .arg(last ? last->message : failure->message, Sketch(c.text));
            for (const Step& step : shortest)
                report += QStringLiteral("    ") + step.Describe() + u'\n';
            qWarning().noquote() << report;
            if (failures >= 5)
                break;
        }
        QCOMPARE(failures, 0);
    }
};

QTEST_MAIN(TextBoxModelTest)
#include "text_box_model_test.moc"
