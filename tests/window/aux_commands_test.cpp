// The small commands: web pages, the link's hover colour and pointer,
// select-all on focus, the step box's key filter, and failures that end nothing.

#include "app/web_addresses.h"
#include "tests/window/window_fixture.h"

#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

using namespace velmorant;

namespace {

constexpr PackedRgb Blue = 0x0000FF;
constexpr PackedRgb Red = 0xFF0000;

void MoveOver(QWidget* widget, Qt::MouseButtons buttons = Qt::NoButton) {
    const QPointF at(2, 2);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void PressOn(QWidget* widget, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

} // namespace

class AuxCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsAndLinkOpenTheirPages() {
        ShownWindow w;
        QTest::mouseClick(w.form->Command4, Qt::LeftButton);
        QTest::mouseClick(w.form->Label8, Qt::LeftButton);
        QCOMPARE(w.platform.openedAddresses, (std::vector<QString>{ForumHomePage(), AuthorPage()}));
        QCOMPARE(w.form->Label8->ForeColor(), Blue); // opening a page leaves the link colour alone
    }

    void hoverTurnsTheLinkRedUntilTheBareWindowOrFooterIsCrossed() {
        ShownWindow w;
        Form1& form = *w.form;
        MoveOver(form.Frame7);
        QCOMPARE(form.Label8->ForeColor(), Blue); // blue stays blue
        MoveOver(form.Label8);
        QCOMPARE(form.Label8->ForeColor(), Red);
        QCOMPARE(w.platform.handCursorControls, std::vector<QWidget*>{form.Label8});
        MoveOver(form.Label5); // another control's move is its own
        MoveOver(form.Text1->viewport());
        QCOMPARE(form.Label8->ForeColor(), Red);
        MoveOver(form.Frame7);
        QCOMPARE(form.Label8->ForeColor(), Blue);
        MoveOver(form.Label8);
        MoveOver(&form);
        QCOMPARE(form.Label8->ForeColor(), Blue);
    }

    void handPointerFollowsTheButtons() {
        ShownWindow w;
        Form1& form = *w.form;
        MoveOver(form.Label8, Qt::LeftButton); // dragging: red, but no hand
        QCOMPARE(form.Label8->ForeColor(), Red);
        QVERIFY(w.platform.handCursorControls.empty());
        PressOn(form.Label8, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        QVERIFY(w.platform.handCursorControls.empty());
        PressOn(form.Label8, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w.platform.handCursorControls.size(), std::size_t(1));
    }

    void focusSelectsTheWholeText() {
        ShownWindow w;
        Form1& form = *w.form;
        form.Picture1->setFocus();
        QTest::keyClick(form.Picture1, Qt::Key_Tab);
        QVERIFY(form.Text1->hasFocus());
        QCOMPARE(form.Text1->SelStart(), 0);
        QCOMPARE(form.Text1->SelLength(), 20);

        form.Text2(1)->SetText(QStringLiteral("]]"));
        form.Text3->SetText(QString());
        form.Text3->setFocus();
        QCOMPARE(form.Text3->SelLength(), 0); // empty: nothing to select, nothing raised
        for (std::int16_t expected : {2, 1, 0}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            TextBox* box = form.Text2(expected);
            QVERIFY(box->hasFocus());
            QCOMPARE(box->SelStart(), 0);
            QCOMPARE(box->SelLength(), int(box->Text().size()));
        }
    }

    void stepBoxTakesDigitsAndBackspaceOnly_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("digit") << int(Qt::Key_7) << 0 << QStringLiteral("17");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QString();
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << QStringLiteral("1");
        QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << QStringLiteral("1");
        QTest::newRow("point") << int(Qt::Key_Period) << 0 << QStringLiteral("1");
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << QStringLiteral("1");
        QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << QStringLiteral("1");
        QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier) << QStringLiteral("1");
        QTest::newRow("ctrl+z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << QStringLiteral("1");
        QTest::newRow("delete edits") << int(Qt::Key_Delete) << 0 << QString();
    }
    void stepBoxTakesDigitsAndBackspaceOnly() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        ShownWindow w;
        Form1& form = *w.form;
        QApplication::clipboard()->setText(QStringLiteral("99"));
        form.Text4->setFocus();
        // Caret after the "1" for typing and Backspace, before it for Delete.
        form.Text4->setCursorPosition(key == Qt::Key_Delete ? 0 : 1);
        QTest::keyClick(form.Text4, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form.Text4->Text(), text);
    }

    void aFailureIsReportedAndNothingIsLost() {
        ShownWindow w;
        Form1& form = *w.form;
        w.platform.failOpeningWebAddresses = true;
        form.Text1->SetText(QStringLiteral("my text"));
        QTest::mouseClick(form.Command4, Qt::LeftButton);
        QCOMPARE(w.platform.messages.size(), std::size_t(1));
        QCOMPARE(w.platform.messages[0].style, MessageStyle::Error);
        QVERIFY(w.platform.messages[0].prompt.contains(QStringLiteral("无法打开网页")));
        QCOMPARE(w.platform.endProgramCalls, 0);
        QCOMPARE(form.Text1->Text(), QStringLiteral("my text"));
        QTest::mouseClick(form.Command2(0), Qt::LeftButton); // the window goes on working
        QVERIFY(!form.Text3->Text().isEmpty());
    }

    void runningOutOfMemoryKeepsTheInput() {
        ShownWindow w;
        Form1& form = *w.form;
        w.platform.runOutOfMemoryReadingClipboard = true;
        QTest::mouseClick(form.Command2(2), Qt::LeftButton);
        QCOMPARE(w.platform.messages.size(), std::size_t(1));
        QVERIFY(w.platform.messages[0].prompt.startsWith(QStringLiteral("内存不足")));
        QCOMPARE(form.Text1->Text(), QStringLiteral("Zarimo软件-免费、精彩、共享！\r\n"));
    }

    void aFailedCopyKeepsTheCode() {
        ShownWindow w;
        Form1& form = *w.form;
        form.Text3->SetText(QStringLiteral("code"));
        w.platform.failClipboard = true;
        QTest::mouseClick(form.Command2(1), Qt::LeftButton);
        QCOMPARE(w.platform.messages.size(), std::size_t(1));
        QCOMPARE(w.platform.messages[0].style, MessageStyle::Error);
        QCOMPARE(form.Text3->Text(), QStringLiteral("code"));
    }
};

QTEST_MAIN(AuxCommandsTest)
#include "aux_commands_test.moc"
