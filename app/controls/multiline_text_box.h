#pragma once

#include "app/controls/text_control.h"

#include <QPlainTextEdit>

namespace velmorant {

// A multiline edit box whose Text keeps every line break exactly as it came:
// Enter types CR LF, and a text set by code (lone CR, lone LF, U+2028 and U+2029
// included) reads back unchanged. QPlainTextEdit alone would fold all of them
// into one kind of break.
//
// Every break is a block separator of the document, and each separator records
// in its character format what it stands for: CR LF unless marked, a single
// break character, or nothing at all. The last kind cuts a long paragraph into
// pieces of a few thousand characters, because Qt lays out, and relays out at
// every caret blink, a whole block at a time. Keys that move or delete one
// character or word step over such a join as if it were not there, and a
// triple-click selects the whole paragraph.
//
// Every edit that inserts a break goes through the box's own insertion. After
// every edit the box tidies what Qt's own edits can leave behind (a join beside
// an empty piece or inside a character, a CR and an LF on two separators), in
// the same undo step.
class MultiLineTextBox final : public QPlainTextEdit, public TextControl {
    Q_OBJECT
public:
    explicit MultiLineTextBox(QWidget* parent);

    QString Text() const override;
    // Code sets the text: nothing to undo.
    void SetText(const QString& text) override;
    // The user replaces the whole text: one edit that Ctrl+Z takes back.
    void ReplaceText(const QString& text);
    int TextLength() const override;
    void SetSelStart(int start) override;
    void SetSelLength(int length) override;
    int SelStart() const override;
    int SelLength() const override;

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Tidies what the edits made while it lives, when the outermost one ends.
    class EditScope;
    friend class EditScope;

    QString TextBetween(int from, int to) const;
    int TextOffset(int documentPosition) const;
    int DocumentPosition(int textOffset) const;
    void InsertAtCursor(const QString& text);
    void MoveCaret(const QTextCursor& cursor);
    void NoteChange(int position, int removed, int added);
    void Tidy(bool joinPreviousEdit);
    // Lays out the blocks above the view in a changed document range that
    // still count the lines they had before the edit.
    void SettleLineCounts(int from, int to);
    // Widens the selection to whole paragraphs; hit is where the mouse points.
    void SelectWholeParagraphs(int hit);

    // The document range changed since the last tidy, if any.
    int changedFrom_ = -1;
    int changedTo_ = -1;
    int scopes_ = 0;
    bool tidying_ = false;
    bool tidyQueued_ = false;
    // Set by a double-click, for the press that may make it a triple-click.
    bool doubleClicked_ = false;
    // A triple-click selected paragraphs: dragging or shift-clicking extends by paragraphs.
    bool selectingParagraphs_ = false;
    QTextCursor tripleClicked_; // the paragraphs it selected, moving with the edits
};

class MultiLineTextBox::EditScope {
public:
    explicit EditScope(MultiLineTextBox& box, bool joinPreviousEdit = true) : box_(box), join_(joinPreviousEdit) {
        ++box_.scopes_;
    }
    ~EditScope() {
        if (--box_.scopes_ == 0)
            box_.Tidy(join_);
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    MultiLineTextBox& box_;
    bool join_;
};

} // namespace velmorant
