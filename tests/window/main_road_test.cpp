// Format presets, convert with its style tags, copy and paste, and the focus
// and preview that every command leaves behind.

#include "tests/window/picture_log.h"
#include "tests/window/window_fixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmorant;

namespace {

// The code for "abc" from red to blue in the start-up template.
const QString AbcCode = QStringLiteral("[color=#AA0055]a[/color][color=#5500AA]b[/color][color=#0000FF]c[/color]");

void RedToBlue(Form1& form) {
    form.StartR = 255, form.StartG = 0, form.StartB = 0;
    form.EndR = 0, form.EndG = 0, form.EndB = 255;
}

// As the user presses a button: the focus moves to it first.
void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void ExpectWholeCodeSelected(Form1& form) {
    QVERIFY(form.Text3->hasFocus());
    QCOMPARE(form.Text3->SelStart(), 0);
    QCOMPARE(form.Text3->SelLength(), int(form.Text3->Text().size()));
}

} // namespace

class MainRoadTest : public QObject {
    Q_OBJECT
private slots:
    void choosingAFormatFillsTheTemplate_data() {
        // The box opens on the entry it shows, UBB: Up reaches Html, Down QQ.
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("tags");
        QTest::newRow("Html") << QList<int>{Qt::Key_Up}
                              << QStringList{QStringLiteral("<font color="), QStringLiteral(">"),
                                             QStringLiteral("</font>")};
        QTest::newRow("UBB") << QList<int>{Qt::Key_Up, Qt::Key_Down}
                             << QStringList{QStringLiteral("[color="), QStringLiteral("]"), QStringLiteral("[/color]")};
        QTest::newRow("QQ") << QList<int>{Qt::Key_Down}
                            << QStringList{QStringLiteral("[ftc="), QStringLiteral("]"), QStringLiteral("[/ft]")};
    }
    void choosingAFormatFillsTheTemplate() {
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, tags);
        ShownWindow w;
        Form1& form = *w.form;
        form.Combo1->setFocus();
        for (int key : keys)
            QTest::keyClick(form.Combo1, Qt::Key(key));
        for (int j = 0; j < 3; ++j)
            QCOMPARE(form.Text2(std::int16_t(j))->Text(), tags[j]);

        // Picking the same entry again undoes a hand edit.
        form.Text2(0)->SetText(QStringLiteral("[color=#"));
        emit form.Combo1->activated(form.Combo1->currentIndex());
        QCOMPARE(form.Text2(0)->Text(), tags[0]);
    }

    void onlyTheUsersChoiceActs() {
        ShownWindow w;
        Form1& form = *w.form;
        form.Combo1->setCurrentIndex(0); // a change made by code
        QCOMPARE(form.Text2(0)->Text(), QStringLiteral("[color=#"));
        form.Combo1->setFocus();
        QTest::keyClicks(form.Combo1, QStringLiteral("QQ"));
        QTest::keyClick(form.Combo1, Qt::Key_Return);
        QCOMPARE(form.Text2(0)->Text(), QStringLiteral("[color=#"));
        // Leaving the box with a text that names an entry picks nothing either.
        form.Combo1->SetText(QStringLiteral("QQ空间"));
        form.Combo1->setFocus();
        form.Text1->setFocus();
        QCOMPARE(form.Text2(0)->Text(), QStringLiteral("[color=#"));
        form.Combo1->SetText(QStringLiteral("nothing"));
        emit form.Combo1->activated(-1); // no preset: the boxes stay
        QCOMPARE(form.Text2(2)->Text(), QStringLiteral("[/color]"));
    }

    void choicesActOnlyAtTheNextCommand() {
        ShownWindow w;
        Form1& form = *w.form;
        const QImage blank = form.Picture1->Image();
        form.Text1->setFocus();
        QTest::keyClicks(form.Text1, QStringLiteral("more"));
        QTest::mouseClick(form.Check1, Qt::LeftButton);
        QCOMPARE(form.Check1->Value(), std::int16_t(1));
        form.Combo3->setFocus();
        QTest::keyClick(form.Combo3, Qt::Key_Down);
        QCOMPARE(form.Combo3->Text(), QStringLiteral("新宋体"));
        form.Combo2->setFocus();
        QTest::keyClick(form.Combo2, Qt::Key_Down);
        QSignalSpy tick(form.Timer1, &QTimer::timeout);
        QVERIFY(tick.wait(10000)); // one tick of Timer1, however late the machine lets it come
        QCOMPARE(form.Text3->Text(), QString());
        QCOMPARE(form.Picture1->Image(), blank);
        QCOMPARE(form.Text2(0)->Text(), QStringLiteral("[color=#"));
    }

    void convertWrapsTheCodeInStyleTags_data() {
        QTest::addColumn<QList<int>>("checks");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("code");
        QTest::newRow("start-up size and font")
            << QList<int>{0, 0, 0, 0} << QStringLiteral("1") << QStringLiteral("宋体")
            << QStringLiteral("[font=宋体][size=1]") + AbcCode + QStringLiteral("[/size][/font]");
        QTest::newRow("bold and strike") << QList<int>{1, 0, 0, 1} << QStringLiteral("7") << QStringLiteral("Arial")
                                         << QStringLiteral("[font=Arial][size=7][strike][B]") + AbcCode +
                                                QStringLiteral("[/B][/strike][/size][/font]");
        QTest::newRow("every style, typed size")
            << QList<int>{1, 1, 1, 1} << QStringLiteral("x") << QStringLiteral("Impact")
            << QStringLiteral("[font=Impact][size=x][strike][u][i][B]") + AbcCode +
                   QStringLiteral("[/B][/i][/u][/strike][/size][/font]");
        QTest::newRow("greyed counts as off, empty size adds nothing")
            << QList<int>{2, 2, 2, 2} << QString() << QStringLiteral("黑体")
            << QStringLiteral("[font=黑体]") + AbcCode + QStringLiteral("[/font]");
        QTest::newRow("blank size is not empty")
            << QList<int>{0, 0, 0, 0} << QStringLiteral(" ") << QStringLiteral("Tahoma")
            << QStringLiteral("[font=Tahoma][size= ]") + AbcCode + QStringLiteral("[/size][/font]");
    }
    void convertWrapsTheCodeInStyleTags() {
        QFETCH(QList<int>, checks);
        QFETCH(QString, size);
        QFETCH(QString, font);
        QFETCH(QString, code);
        ShownWindow w;
        Form1& form = *w.form;
        RedToBlue(form);
        form.Text1->SetText(QStringLiteral("abc"));
        CheckBox* boxes[] = {form.Check1, form.Check2, form.Check3, form.Check4};
        for (int i = 0; i < 4; ++i)
            boxes[i]->SetValue(std::int16_t(checks[i]));
        form.Combo2->SetText(size);
        form.Combo3->SetText(font);

        Press(form.Command2(0));
        QCOMPARE(form.Text3->Text(), code);
        Press(form.Command2(0)); // the generator replaces the code before wrapping
        QCOMPARE(form.Text3->Text(), code);
        ExpectWholeCodeSelected(form);
    }

    void convertReadsTheStepAndTheTemplateAsTheyStand() {
        ShownWindow w;
        Form1& form = *w.form;
        RedToBlue(form);
        form.Combo2->SetText(QString());
        form.Combo3->setCurrentIndex(-1);
        form.Text1->SetText(QStringLiteral("ab\r\ncd"));
        form.Text4->SetText(QStringLiteral("2"));
        Press(form.Command2(0));
        QCOMPARE(form.Text3->Text(), QStringLiteral("[color=#D4002A]ab[/color][color=#800080]\r\n[/color]"
                                                    "[color=#2A00D4]cd[/color]"));
        for (std::int16_t j = 0; j < 3; ++j)
            form.Text2(j)->SetText(QString());
        form.Text1->SetText(QStringLiteral("  abc  "));
        form.Text4->SetText(QStringLiteral("1"));
        Press(form.Command2(0));
        QCOMPARE(form.Text3->Text(), QStringLiteral("AA0055a5500AAb0000FFc"));
    }

    void copyOfAnEmptyCodeIsRefused() {
        ShownWindow w;
        Form1& form = *w.form;
        w.platform.clipboard = QStringLiteral("kept");
        Press(form.Command2(1));
        QCOMPARE(w.platform.messages.size(), std::size_t(1));
        QCOMPARE(w.platform.messages[0].prompt, QStringLiteral("对不起，复制内容不能为空，请重新生成！"));
        QCOMPARE(w.platform.messages[0].style, MessageStyle::Error);
        QVERIFY(w.platform.clipboardCalls.empty());
        QCOMPARE(w.platform.clipboard, std::optional<QString>(QStringLiteral("kept")));
        QVERIFY(form.Text3->hasFocus());
    }

    void copyPutsTheCodeOnTheClipboard_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("code") << QStringLiteral("[B]x[/B]");
        QTest::newRow("a line break alone is not empty") << QStringLiteral("\r\n");
        QTest::newRow("blanks are not empty") << QStringLiteral("  ");
    }
    void copyPutsTheCodeOnTheClipboard() {
        QFETCH(QString, code);
        ShownWindow w;
        Form1& form = *w.form;
        form.Text3->SetText(code);
        Press(form.Command2(1));
        QCOMPARE(w.platform.clipboardCalls,
                 (std::vector<QString>{QStringLiteral("clear"), QStringLiteral("set:") + code}));
        QCOMPARE(w.platform.messages.size(), std::size_t(1));
        QCOMPARE(w.platform.messages[0].prompt, QStringLiteral("恭喜你，成功复制到剪贴板！"));
        QCOMPARE(w.platform.messages[0].style, MessageStyle::Information);
        QCOMPARE(form.Text3->Text(), code);
        ExpectWholeCodeSelected(form);
    }

    void pasteReplacesTheInputUndoably_data() {
        QTest::addColumn<std::optional<QString>>("clipboard");
        QTest::addColumn<bool>("readFails");
        QTest::addColumn<QString>("input");
        const QString former = QStringLiteral("旧\r\n文\n\U0001F600本\r");
        QTest::newRow("line breaks as they are")
            << std::optional<QString>(QStringLiteral("x\ny\r\nz\r")) << false << QStringLiteral("x\ny\r\nz\r");
        QTest::newRow("surrogate pairs") << std::optional<QString>(QStringLiteral("\U0001F308\U00020000")) << false
                                         << QStringLiteral("\U0001F308\U00020000");
        QTest::newRow("no text empties the input") << std::optional<QString>() << false << QString();
        QTest::newRow("an empty text empties the input") << std::optional<QString>(QString()) << false << QString();
        QTest::newRow("a failed read keeps the input")
            << std::optional<QString>(QStringLiteral("lost")) << true << former;
    }
    void pasteReplacesTheInputUndoably() {
        QFETCH(std::optional<QString>, clipboard);
        QFETCH(bool, readFails);
        QFETCH(QString, input);
        const QString former = QStringLiteral("旧\r\n文\n\U0001F600本\r");
        ShownWindow w;
        Form1& form = *w.form;
        form.Text1->SetText(former);
        form.Text3->SetText(QStringLiteral("older code"));
        w.platform.clipboard = clipboard;
        w.platform.failReadingClipboard = readFails;
        PictureLog log;
        form.Picture1->SetRecorder(&log);
        Press(form.Command2(2));
        QCOMPARE(form.Text1->Text(), input);
        QCOMPARE(form.Text3->Text(), QStringLiteral("older code"));
        QCOMPARE(log.clears, 1);
        QString drawn; // the preview shows what the input holds now
        for (const auto& print : log.prints)
            drawn += print.text;
        QCOMPARE(drawn, input);
        ExpectWholeCodeSelected(form);
        if (readFails) {
            QCOMPARE(w.platform.messages.size(), std::size_t(1));
            QCOMPARE(w.platform.messages[0].prompt, QStringLiteral("对不起，无法读取剪贴板，您的文本还在。"));
            QCOMPARE(w.platform.messages[0].style, MessageStyle::Error);
            return;
        }
        QVERIFY(w.platform.messages.empty());
        // Ctrl+Z brings the former text back whole; both redo keys repeat the paste.
        form.Text1->setFocus();
        QTest::keyClick(form.Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.Text1->Text(), former);
        QTest::keyClick(form.Text1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form.Text1->Text(), input);
        QTest::keyClick(form.Text1, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form.Text1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form.Text1->Text(), input);
    }

    void previewDrawsEachUnitInItsCell() {
        ShownWindow w;
        Form1& form = *w.form;
        PictureLog log;
        form.Picture1->SetRecorder(&log);
        form.Text1->SetText(QStringLiteral("ab"));
        form.Combo2->SetText(QStringLiteral("3")); // 12 points: cells of 240 twips
        form.Combo3->SetText(QStringLiteral("Georgia"));
        form.Check1->SetValue(1);
        form.Check4->SetValue(2);
        Press(form.Command2(0));

        QCOMPARE(log.clears, 1);
        QCOMPARE(log.prints.size(), std::size_t(2));
        QCOMPARE(log.prints[0].text, QStringLiteral("a"));
        QCOMPARE(log.prints[0].colour, 0x808080); // halfway from magenta to green, halves to even
        QCOMPARE(log.prints[0].x, 0.0);
        QCOMPARE(log.prints[1].text, QStringLiteral("b"));
        QCOMPARE(log.prints[1].colour, 0x00FF00);
        QCOMPARE(log.prints[1].x, 240.0);
        QCOMPARE(log.prints[1].y, 0.0);
        const QFont& font = log.prints[0].font;
        QCOMPARE(font.family(), QStringLiteral("Georgia"));
        QCOMPARE(font.pointSizeF(), 12.0);
        QVERIFY(font.bold());
        QVERIFY(!font.strikeOut());
        QVERIFY(!font.italic());
        QCOMPARE(form.Picture1->FontSize(), 12.0f);
    }

    void previewCutsTheStartupTextAsTheGeneratorDoes() {
        ShownWindow w;
        Form1& form = *w.form;
        PictureLog log;
        form.Picture1->SetRecorder(&log);
        Press(form.Command2(0));
        // 20 positions, step 1: one unit each, CR and LF included, on row 0.
        QCOMPARE(log.prints.size(), std::size_t(20));
        QCOMPARE(log.prints[18].text, QStringLiteral("\r"));
        QCOMPARE(log.prints[19].text, QStringLiteral("\n"));
        QCOMPARE(log.prints[19].colour, 0x00FF00);
        QCOMPARE(log.prints[19].x, 19 * 200.0);
        QVERIFY(form.Text3->Text().startsWith(QStringLiteral("[font=宋体][size=1][color=#F20DF2]Z[/color]")));
        QVERIFY(form.Text3->Text().endsWith(QStringLiteral("[/color]\r\n[/size][/font]")));
    }

    void everyFaceShowsChineseGlyphs() {
        ShownWindow w;
        for (int i = 0; i < w.form->Combo3->count(); ++i) {
            const QString face = w.form->Combo3->itemText(i);
            QFont font(face);
            font.setPointSize(10);
            QVERIFY2(QFontMetrics(font).inFontUcs4(U'中'), qPrintable(face));
            QVERIFY2(QFontMetrics(font).inFontUcs4(U'渐'), qPrintable(face));
        }
    }

    void previewShowsWhatTheUserSees() {
        ShownWindow w;
        Form1& form = *w.form;
        form.Text1->SetText(QStringLiteral("中文"));
        form.Combo2->SetText(QStringLiteral("7"));
        Press(form.Command2(0));
        // Some glyph pixel of each cell is near the unit's colour (not a box outline in black).
        const QImage image = form.Picture1->Image();
        auto cellHas = [&](int x0, QRgb want) {
            for (int y = 0; y < 45; ++y)
                for (int x = x0; x < x0 + 45 && x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    if (std::abs(qRed(p) - qRed(want)) + std::abs(qGreen(p) - qGreen(want)) +
                            std::abs(qBlue(p) - qBlue(want)) <
                        40)
                        return true;
                }
            return false;
        };
        QVERIFY(cellHas(0, qRgb(128, 128, 128)));
        QVERIFY(cellHas(35 * 20 / 15, qRgb(0, 255, 0)));
    }
};

QTEST_MAIN(MainRoadTest)
#include "main_road_test.moc"
