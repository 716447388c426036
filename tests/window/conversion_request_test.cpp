// The window and the CLI build their conversion requests from the same settings
// and must write the same code: a table of settings, each set in the window's
// controls and given as command-line options.

#include "cli/options.h"
#include "core/conversion/conversion.h"
#include "core/text/utf8.h"
#include "tests/window/window_fixture.h"

#include <QTest>

#include <string>
#include <string_view>
#include <vector>

using namespace velmorant;

namespace {

struct WindowSettings {
    const char* name;
    Rgb start, end;
    int row; // Combo1's row picked, -1 for none
    std::u16string step;
    std::string_view styles; // b bold, i italic, u underline, s strike-through
    std::u16string size, font, input;
};

std::string Hex(const Rgb& colour) {
    const std::u16string code = ColourCode(colour);
    return std::string(code.begin(), code.end());
}

std::vector<std::string> ArgsFor(const WindowSettings& s) {
    static const char* const formats[] = {"html", "ubb", "qq"};
    std::vector<std::string> args{"--start", Hex(s.start), "--end", Hex(s.end), "--step", EncodeUtf8(s.step)};
    args.insert(args.end(), {"--size", EncodeUtf8(s.size), "--font", EncodeUtf8(s.font)});
    if (s.row >= 0)
        args.insert(args.end(), {"--dialect", formats[s.row]});
    for (const char style : s.styles)
        args.push_back(style == 'b' ? "--bold" : style == 'i' ? "--italic" : style == 'u' ? "--underline" : "--strike");
    return args;
}

QString CliCode(const std::vector<std::string>& args, const std::u16string& input) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    const auto parsed = cli::ParseOptions(views);
    if (!std::holds_alternative<cli::Options>(parsed))
        return QStringLiteral("usage error");
    StringSink sink;
    WriteConversion(input, std::get<cli::Options>(parsed).Request(), sink);
    return QString::fromStdU16String(sink.text);
}

} // namespace

class ConversionRequestTest : public QObject {
    Q_OBJECT
private slots:
    // Nothing set on either side: the start-up values of both must agree.
    void startUpValuesAgree() {
        ShownWindow w;
        w.form->Text1->SetText(QStringLiteral("Hi there, 你好😀\r\n"));
        w.form->Command2_Click(0);
        QCOMPARE(w.form->Text3->Text(), CliCode({}, w.form->Text1->Text().toStdU16String()));
    }

    void sameSettingsSameCode() {
        const std::u16string sample = u"  Hello, world\r\nline two\tend 你好😀  ";
        const WindowSettings rows[] = {
            {"red to blue, ubb", {255, 0, 0}, {0, 0, 255}, 1, u"1", "", u"1", u"宋体", sample},
            {"html, step 2, bold", {1, 2, 3}, {250, 128, 7}, 0, u"2", "b", u"", u"", sample},
            {"qq, every style", {0, 0, 0}, {255, 255, 255}, 2, u"3", "bius", u"7", u"Arial", sample},
            {"start-up template, step text 2.5", {255, 0, 255}, {0, 255, 0}, -1, u"2.5", "is", u"x", u"黑体", sample},
            {"step beyond the text", {9, 9, 9}, {9, 9, 9}, 1, u"99999999999", "u", u"", u"", sample},
            {"empty input still wrapped", {255, 0, 0}, {0, 0, 255}, 0, u"1", "b", u"1", u"宋体", u""},
            {"blanks only", {255, 0, 0}, {0, 0, 255}, -1, u"0", "", u"", u"Impact", u"   "},
        };
        for (const WindowSettings& s : rows) {
            ShownWindow w;
            Form1& form = *w.form;
            form.StartR = s.start.red, form.StartG = s.start.green, form.StartB = s.start.blue;
            form.EndR = s.end.red, form.EndG = s.end.green, form.EndB = s.end.blue;
            if (s.row >= 0) {
                form.Combo1->setCurrentIndex(s.row);
                form.Combo1_Click();
            }
            form.Text4->SetText(QString::fromStdU16String(s.step));
            form.Check1->SetValue(s.styles.find('b') != s.styles.npos ? 1 : 0);
            form.Check2->SetValue(s.styles.find('i') != s.styles.npos ? 1 : 0);
            form.Check3->SetValue(s.styles.find('u') != s.styles.npos ? 1 : 0);
            form.Check4->SetValue(s.styles.find('s') != s.styles.npos ? 1 : 0);
            form.Combo2->SetText(QString::fromStdU16String(s.size));
            form.Combo3->SetText(QString::fromStdU16String(s.font));
            form.Text1->SetText(QString::fromStdU16String(s.input));
            form.Command2_Click(0);
            QVERIFY2(form.Text3->Text() == CliCode(ArgsFor(s), s.input), s.name);
        }
    }
};

QTEST_MAIN(ConversionRequestTest)
#include "conversion_request_test.moc"
