// The window with long texts, phase by phase, as a user meets it: paste, convert
// until the code is painted, then the keys and the caret blink that must not
// freeze it. Medians of a few repetitions, one fresh window per repetition.
//
//   window_bench [repetitions] [sizes, e.g. 10000,100000] [shapes, e.g. paragraph,lf]

#include "app/fonts.h"
#include "app/form1.h"
#include "tests/window/fake_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace velmorant;

namespace {

const QStringList Shapes{QStringLiteral("paragraph"), QStringLiteral("lf"), QStringLiteral("crlf"),
                         QStringLiteral("cr"), QStringLiteral("mixed")};

// Forum-reply text in lines of about 80 characters, or one paragraph.
QString SampleText(int length, const QString& shape) {
    static const QString sentence =
        QStringLiteral("渐变色彩的文字 makes a forum reply stand out, 每个字都有自己的颜色。");
    static const QStringList mixedBreaks{QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r"),
                                         QString(QChar(0x2028)), QString(QChar(0x2029))};
    const std::map<QString, QString> breaks{{QStringLiteral("lf"), QStringLiteral("\n")},
                                            {QStringLiteral("crlf"), QStringLiteral("\r\n")},
                                            {QStringLiteral("cr"), QStringLiteral("\r")}};
    QString text;
    text.reserve(length + 100);
    for (int line = 0; text.size() < length; ++line) {
        text += sentence;
        if (shape == QLatin1String("paragraph"))
            continue;
        text += sentence.left(78 - sentence.size());
        const auto kind = breaks.find(shape);
        text += kind != breaks.end() ? kind->second : mixedBreaks[line % mixedBreaks.size()];
    }
    text.truncate(length);
    text.back() = u'x'; // the generator trims blanks and breaks at the ends
    return text;
}

double ResidentMiB() {
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

double Millis(const std::function<void()>& phase) {
    QElapsedTimer timer;
    timer.start();
    phase();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Phase {
    const char* name;
    std::function<double(Form1&, FakePlatform&, const QString&)> run;
};

// Each phase ends with the touched box painted, the way a user would see it.
const std::vector<Phase> Phases{
    {"paste",
     [](Form1& form, FakePlatform& platform, const QString& text) {
         platform.clipboard = text;
         return Millis([&] {
             QTest::mouseClick(form.Command2(2), Qt::LeftButton);
             form.grab();
         });
     }},
    {"convert",
     [](Form1& form, FakePlatform&, const QString&) {
         const double ms = Millis([&] {
             QTest::mouseClick(form.Command2(0), Qt::LeftButton);
             form.grab();
         });
         return ms;
     }},
    {"MiB", [](Form1&, FakePlatform&, const QString&) { return ResidentMiB(); }},
    {"ctrl+end",
     [](Form1& form, FakePlatform&, const QString&) {
         return Millis([&] {
             QTest::keyClick(form.Text3, Qt::Key_End, Qt::ControlModifier);
             form.Text3->grab();
         });
     }},
    {"blink",
     [](Form1&, FakePlatform&, const QString&) {
         // The time the wait overran: what the caret's blinks cost.
         const int wait = QApplication::cursorFlashTime() / 2 + 100;
         return Millis([&] { QTest::qWait(wait); }) - wait;
     }},
    {"page up",
     [](Form1& form, FakePlatform&, const QString&) {
         return Millis([&] {
             QTest::keyClick(form.Text3, Qt::Key_PageUp);
             form.Text3->grab();
         });
     }},
    {"select all",
     [](Form1& form, FakePlatform&, const QString&) {
         return Millis([&] {
             QTest::keyClick(form.Text3, Qt::Key_A, Qt::ControlModifier);
             form.Text3->grab();
         });
     }},
    {"type code",
     [](Form1& form, FakePlatform&, const QString&) {
         QTest::keyClick(form.Text3, Qt::Key_End, Qt::ControlModifier);
         return Millis([&] {
             QTest::keyClick(form.Text3, Qt::Key_Z);
             form.Text3->grab();
         });
     }},
    {"type text",
     [](Form1& form, FakePlatform&, const QString&) {
         form.Text1->setFocus();
         QTest::keyClick(form.Text1, Qt::Key_End, Qt::ControlModifier);
         return Millis([&] {
             QTest::keyClick(form.Text1, Qt::Key_Z);
             form.Text1->grab();
         });
     }},
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    const QStringList args = app.arguments();
    const int repetitions = args.size() > 1 ? args[1].toInt() : 3;
    std::vector<int> sizes{10'000, 100'000, 1'000'000};
    if (args.size() > 2) {
        sizes.clear();
        for (const QString& size : args[2].split(u','))
            sizes.push_back(size.toInt());
    }
    const QStringList shapes = args.size() > 3 ? args[3].split(u',') : Shapes;

    std::printf("%-8s %-10s", "chars", "shape");
    for (const Phase& phase : Phases)
        std::printf(" %10s", phase.name);
    std::printf("   (ms, medians of %d)\n", repetitions);
    for (const int size : sizes) {
        for (const QString& shape : shapes) {
            const QString text = SampleText(size, shape);
            std::map<const char*, std::vector<double>> figures;
            for (int r = 0; r < repetitions; ++r) {
                FakePlatform platform;
                Form1 form(platform, QString());
                form.show();
                QApplication::setActiveWindow(&form);
                if (!QTest::qWaitForWindowActive(&form))
                    return 1;
                for (const Phase& phase : Phases)
                    figures[phase.name].push_back(phase.run(form, platform, text));
            }
            std::printf("%-8d %-10s", size, qPrintable(shape));
            for (const Phase& phase : Phases)
                std::printf(" %10.1f", Median(figures[phase.name]));
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    return 0;
}
