// The multiline box keeps every line break as it came, and counts selections
// in code units of its Text.

#include "app/controls/multiline_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <utility>

using namespace velmorant;

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
    }
    void textSetByCodeReadsBackUnchanged() {
        QFETCH(QString, text);
        MultiLineTextBox box(nullptr);
        box.SetText(text);
        QCOMPARE(box.Text(), text);
        QCOMPARE(box.TextLength(), int(text.size()));
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
