// Where the multiline box cuts a long paragraph: after a place a line may wrap
// anyway if one is near, never inside a character.

#include "app/controls/piece_cutting.h"

#include <QTest>

using namespace velmorant::pieces;

class PieceCuttingTest : public QObject {
    Q_OBJECT
private slots:
    void pieceEnds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>(
            "nominal"); // where the piece would be full; it starts at 0, the run ends at the text's end
        QTest::addColumn<int>("end");

        const QString wall = QString(600, u'x');
        QTest::newRow("after the nearest blank") << QString(wall).replace(590, 1, u' ') << 595 << 591;
        QTest::newRow("a blank too far back") << QString(wall).replace(300, 1, u' ') << 595 << 595;
        QTest::newRow("a blank just in reach") << QString(wall).replace(339, 1, u' ') << 595 << 340;
        QTest::newRow("after a Chinese character")
            << QString(wall).replace(500, 1, QString::fromUtf16(u"字")) << 595 << 501;
        QTest::newRow("after a closing bracket") << QString(wall).replace(580, 1, u']') << 595 << 581;
        QTest::newRow("nowhere to wrap") << wall << 595 << 595;
        QTest::newRow("not inside a surrogate pair")
            << QString(wall).replace(594, 2, QString::fromUtf16(u"\U0001F600")) << 595 << 594;
        QTest::newRow("not between a letter and its mark")
            << QString(wall).replace(594, 2, QString::fromUtf16(u"e\u0301")) << 595 << 594;
        QTest::newRow("not at a blank with a mark on it")
            << QString(wall).replace(589, 2, QString::fromUtf16(u" \u0301")) << 595 << 595;
        QTest::newRow("not beside a joiner") << QString(wall).replace(594, 1, QChar(0x200D)) << 595 << 593;
        QTest::newRow("marks as long as a piece: after them")
            << QStringLiteral("a") + QString(600, QChar(0x0301)) + QStringLiteral("bc") << 300 << 601;
    }
    void pieceEnds() {
        QFETCH(QString, text);
        QFETCH(int, nominal);
        QFETCH(int, end);
        QCOMPARE(PieceEnd(text, 0, nominal, text.size()), end);
        QVERIFY(end == text.size() || !SplitsCharacter(text, end));
    }
};

QTEST_MAIN(PieceCuttingTest)
#include "piece_cutting_test.moc"
