#pragma once
// A started window with the fake platform, shown and active, as a user meets it.

#include "app/fonts.h"
#include "app/form1.h"
#include "tests/window/fake_platform.h"

#include <QApplication>
#include <QTest>

#include <memory>

namespace velmorant {

struct ShownWindow {
    FakePlatform platform;
    std::unique_ptr<Form1> form;

    ShownWindow() {
        InstallFontSubstitutes();
        form = std::make_unique<Form1>(platform, QString());
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
};

} // namespace velmorant
