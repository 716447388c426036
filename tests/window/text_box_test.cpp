// The multiline box keeps every line break as it came, and counts selections
// in code units of its Text. A long paragraph is held in joined pieces that
// no property and no edit may show.

#include "app/controls/multiline_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>

#include <utility>

using namespace velmorant;

namespace {

// Long enough to be held in several pieces.
const QString Run = QStringLiteral("abcdefghij").repeated(1000);
const QString Pairs = QString::fromUtf16(u"\U0001F600").repeated(3000);

// The text offset of the first join: a block end where the caret counts the
// same on both sides of the separator.
int FirstJoin(MultiLineTextBox& box) {
    for (QTextBlock block = box.document()->begin(); block.next().isValid(); block = block.next()) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        box.setTextCursor(cursor);
        const int before = box.SelStart();
        cursor.movePosition(QTextCursor::NextCharacter);
        box.setTextCursor(cursor);
        if (box.SelStart() == before)
            return before;
    }
    return -1;
}

} // namespace

class TextBoxTest : public QObject {
    Q_OBJECT
private slots:
    void textSetByCodeReadsBackUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("crlf at end") << QStringLiteral("Zarimo软件-免费、精彩、共享！\r\n");
        QTest::newRow("lone lf") << QStringLiteral("a\nb");
        QTest::newRow("lone cr") << QStringLiteral("a\rb");
        QTest::newRow("lf cr is two breaks") << QStringLiteral("a\n\rb");
        QTest::newRow("mixed") << QStringLiteral("\r\n\n\r\r\nx\r\r\n\n");
        QTest::newRow("crlf pairs only") << QStringLiteral("1\r\n2\r\n\r\n3");
        QTest::newRow("unicode separators") << QString::fromUtf16(u"a\u2028b\u2029c\u2028\u2028");
        QTest::newRow("surrogate pair") << QString::fromUtf16(u"x\U0001F600y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) + QStringLiteral("z");
        QTest::newRow("tabs and blanks") << QStringLiteral("\t a \t");
        QTest::newRow("frame marks") << QString::fromUtf16(u"a\uFDD0b\uFDD1\r\n");
        QTest::newRow("long paragraph") << QStringLiteral("渐变色彩的文字 makes a reply, ").repeated(800);
        QTest::newRow("long paragraph, nowhere to wrap") << Run;
        QTest::newRow("surrogate pairs over piece ends") << QString(4095, u'x') + Pairs;
        QTest::newRow("combining marks over piece ends")
            << QString(4091, u'x') + QString::fromUtf16(u"e\u0301").repeated(4000);
        QTest::newRow("long lines, every break") << Run + QStringLiteral("\r\n") + Run + QStringLiteral("\n") + Run +
                                                        QStringLiteral("\r") + Run + QString(QChar(0x2029)) + Run +
                                                        QString(QChar(0x2028)) + Run + QStringLiteral("\n\r");
    }
    void textSetByCodeReadsBackUnchanged() {
        QFETCH(QString, text);
        MultiLineTextBox box(nullptr);
        box.SetText(text);
        QCOMPARE(box.Text(), text);
        QCOMPARE(box.TextLength(), int(text.size()));
        for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
            const QString piece = block.text(); // no piece starts inside a character: it would draw as two
            QVERIFY(piece.isEmpty() || !(piece.front().isLowSurrogate() || piece.front().isMark()));
        }
        box.SetSelStart(0);
        box.SetSelLength(int(text.size()));
        QCOMPARE(box.SelLength(), int(text.size()));
        if (!text.isEmpty()) {
            box.copy();
            QCOMPARE(QApplication::clipboard()->text(), text);
        }
        box.SetText(text); // setting again replaces, never appends
        QCOMPARE(box.Text(), text);

        // A replacement by the user is one edit, taken back and redone whole, both ways.
        const QString other = QString::fromUtf16(u"p\r\nq\nr\rs\u2029t\U0001F600\r");
        for (const auto& [from, to] : {std::pair{text, other}, std::pair{other, text}}) {
            box.SetText(from);
            box.ReplaceText(to);
            QCOMPARE(box.Text(), to);
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(box.Text(), from);
            QCOMPARE(box.TextLength(), int(from.size()));
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(box.Text(), to);
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(box.Text(), to);
        }
        box.SetText(text); // code setting the text leaves nothing to undo
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.Text(), text);
    }

    void enterTypesCarriageReturnAndLineFeed() {
        MultiLineTextBox box(nullptr);
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClicks(&box, QStringLiteral("ab"));
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("c"));
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(box.Text(), QStringLiteral("ab\r\nc\r\n"));
    }

    void editsBesideAStoredBreakKeepIt() {
        MultiLineTextBox box(nullptr);
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.SetText(QStringLiteral("a\nb"));
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(3);
        box.setTextCursor(cursor);
        QTest::keyClicks(&box, QStringLiteral("c"));
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.Text(), QStringLiteral("a\nbc\r\n"));
        cursor.setPosition(1);
        box.setTextCursor(cursor);
        QTest::keyClick(&box, Qt::Key_Delete); // removes the lone line feed
        QCOMPARE(box.Text(), QStringLiteral("abc\r\n"));
    }

    void selectionCountsCodeUnitsOfText() {
        MultiLineTextBox box(nullptr);
        box.SetText(QStringLiteral("ab\r\ncd\r\n"));
        box.SetSelStart(0);
        box.SetSelLength(int(box.Text().size()));
        QCOMPARE(box.SelStart(), 0);
        QCOMPARE(box.SelLength(), 8);
        QCOMPARE(box.textCursor().selectedText().size(), 6); // the document holds each CR LF as one break

        box.SetSelStart(4);
        box.SetSelLength(2);
        QCOMPARE(box.SelStart(), 4);
        QCOMPARE(box.SelLength(), 2);
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("cd"));

        box.SetText(QString());
        box.SetSelStart(0);
        box.SetSelLength(0);
        QCOMPARE(box.SelLength(), 0);
    }

    // Selections, keys, copy and paste at the first join act on the text as if
    // the paragraph were whole: the text loses or gains exactly the expected
    // code units, and the caret lands where it would.
    void editingAtAJoinActsOnTheWholeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from"); // the selection, relative to the join
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("at"); // the change, relative to the join
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<int>("caret"); // relative to the join

        const QString lines = QStringLiteral("a\r\nb\nc\rd") + QString(QChar(0x2029)) + Run + QStringLiteral("\r\n");
        const QString pasted = QStringLiteral("P\r\nQ\nR\r"); // what paste rows paste: their inserted text
        QTest::newRow("type at the join") << Run << 0 << 0 << "type" << 0 << 0 << "q" << 1;
        QTest::newRow("type after a break") << lines << 0 << 0 << "type" << 0 << 0 << "q" << 1;
        QTest::newRow("backspace behind the join") << Run << 1 << 0 << "left backspace" << -1 << 1 << "" << -1;
        QTest::newRow("delete before the join") << Run << 0 << 0 << "delete" << 0 << 1 << "" << 0;
        QTest::newRow("delete, lines before") << lines << 0 << 0 << "delete" << 0 << 1 << "" << 0;
        QTest::newRow("right over the join") << Run << -1 << 0 << "right right type" << 1 << 0 << "q" << 2;
        QTest::newRow("left over the join") << Run << 1 << 0 << "left left type" << -1 << 0 << "q" << 0;
        QTest::newRow("shift+right over the join")
            << Run << -1 << 0 << "shift+right shift+right type" << -1 << 2 << "q" << 0;
        QTest::newRow("shift+left over the join")
            << Run << 1 << 0 << "left shift+left shift+left delete" << -2 << 2 << "" << -2;
        QTest::newRow("selection over the join typed over") << lines << -3 << 5 << "type" << -3 << 5 << "q" << -2;
        QTest::newRow("selection over the join deleted") << Run << -2 << 4 << "delete" << -2 << 4 << "" << -2;
        QTest::newRow("selection over the join copied") << Run << -2 << 4 << "copy" << 0 << 0 << "" << -2;
        QTest::newRow("paste at the join") << Run << 0 << 0 << "paste" << 0 << 0 << pasted << 7;
        QTest::newRow("paste over the join") << lines << -1 << 2 << "paste" << -1 << 2 << pasted << 6;
        QTest::newRow("paste a long run") << Run << 0 << 0 << "paste" << 0 << 0 << Run << int(Run.size());
        QTest::newRow("enter at the join") << Run << 0 << 0 << "enter" << 0 << 0 << "\r\n" << 2;
        QTest::newRow("enter behind the join") << Run << 1 << 0 << "left enter" << 0 << 0 << "\r\n" << 2;
        QTest::newRow("pair before the join deleted")
            << QString(4095, u'x') + Pairs << 0 << 0 << "delete" << 0 << 2 << "" << 0;
        QTest::newRow("pair behind the join backspaced")
            << QString(4095, u'x') + Pairs << 2 << 0 << "left backspace" << -1 << 1 << "" << -1;
    }
    void editingAtAJoinActsOnTheWholeText() {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, keys);
        QFETCH(int, at);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        QFETCH(int, caret);
        MultiLineTextBox box(nullptr);
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.SetText(text);
        const int join = FirstJoin(box);
        QVERIFY(join > 0);
        box.SetSelStart(join + from);
        box.SetSelLength(length);
        QCOMPARE(box.SelStart(), join + from);
        QCOMPARE(box.SelLength(), length);

        QApplication::clipboard()->setText(inserted);
        for (const QString& key : keys.split(u' ')) {
            if (key == QLatin1String("type"))
                QTest::keyClick(&box, Qt::Key_Q);
            else if (key == QLatin1String("left") || key == QLatin1String("shift+left"))
                QTest::keyClick(&box, Qt::Key_Left, key.startsWith(u's') ? Qt::ShiftModifier : Qt::NoModifier);
            else if (key == QLatin1String("right") || key == QLatin1String("shift+right"))
                QTest::keyClick(&box, Qt::Key_Right, key.startsWith(u's') ? Qt::ShiftModifier : Qt::NoModifier);
            else if (key == QLatin1String("backspace"))
                QTest::keyClick(&box, Qt::Key_Backspace);
            else if (key == QLatin1String("delete"))
                QTest::keyClick(&box, Qt::Key_Delete);
            else if (key == QLatin1String("enter"))
                QTest::keyClick(&box, Qt::Key_Return);
            else if (key == QLatin1String("copy"))
                QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
            else if (key == QLatin1String("paste"))
                QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        }
        if (keys == QLatin1String("copy"))
            QCOMPARE(QApplication::clipboard()->text(), text.mid(join + from, length));
        QString expected = text;
        expected.replace(join + at, removed, inserted);
        QCOMPARE(box.Text(), expected);
        QCOMPARE(box.TextLength(), int(expected.size()));
        QCOMPARE(box.SelStart(), join + caret);
        if (expected != text) {
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(box.Text(), text);
        }
    }

    void copyingASelectionKeepsItsBreaks() {
        MultiLineTextBox box(nullptr);
        box.SetText(QStringLiteral("a\rb\r\nc"));
        box.SetSelStart(0);
        box.SetSelLength(6);
        box.copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\rb\r\nc"));
    }
};

QTEST_MAIN(TextBoxTest)
#include "text_box_test.moc"
