#pragma once

#include "app/controls/text_control.h"

#include <QPlainTextEdit>

namespace velmorant {

// A multiline edit box whose Text keeps every line break exactly as it came:
// Enter types CR LF, and a text set by code (lone CR, lone LF, U+2028 and U+2029
// included) reads back unchanged. QPlainTextEdit alone would fold all of them
// into one kind of break.
//
// Every break is a block separator of the document, and each block records in
// its format what the separator before it stands for: CR LF unless marked, a
// single break character, or nothing at all. The last kind cuts a long paragraph
// into pieces of a few thousand characters, because Qt lays out, and relays out
// at every caret blink, a whole block at a time. Keys that move or delete one
// character or word step over such a join as if it were not there.
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
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QString TextBetween(int from, int to) const;
    int TextOffset(int documentPosition) const;
    int DocumentPosition(int textOffset) const;
    void InsertAtCursor(const QString& text);
};

} // namespace velmorant
