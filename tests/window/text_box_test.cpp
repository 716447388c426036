// The multiline box keeps every line break as it came when code sets its text.
// Editing is checked against a plain string in text_box_model_test.cpp.

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
};

QTEST_MAIN(TextBoxTest)
#include "text_box_test.moc"
