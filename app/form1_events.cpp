// Which event of which control runs which handler. No other event does anything.

#include "app/form1.h"

#include "app/controls/mouse_buttons.h"
#include "app/platform/platform.h"

#include <new>
#include <stdexcept>

namespace velmorant {

void Form1::BindEvents() {
    connect(Frame7, &Frame::mouseMove, this, [this](std::int16_t b) { Dispatch([&] { Frame7_MouseMove(b); }); });
    connect(Label8, &Label::click, this, [this] { Dispatch([&] { Label8_Click(); }); });
    connect(Label8, &Label::mouseDown, this, [this](std::int16_t b) { Dispatch([&] { Label8_MouseDown(b); }); });
    connect(Label8, &Label::mouseMove, this, [this](std::int16_t b) { Dispatch([&] { Label8_MouseMove(b); }); });
    connect(Text1, &MultiLineTextBox::gotFocus, this, [this] { Dispatch([&] { Text1_GotFocus(); }); });
    for (const auto& [index, box] : Text2.Members())
        connect(box, &TextBox::gotFocus, this, [this, i = index] { Dispatch([&] { Text2_GotFocus(i); }); });
    connect(Text3, &MultiLineTextBox::gotFocus, this, [this] { Dispatch([&] { Text3_GotFocus(); }); });
    Text4->keyPress = [this](std::int16_t& key) { Dispatch([&] { Text4_KeyPress(key); }); };
    for (const auto& [index, button] : Command3.Members())
        connect(button, &QPushButton::clicked, this, [this, i = index] { Dispatch([&] { Command3_Click(i); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { Dispatch([&] { Command4_Click(); }); });
    connect(Combo1, &QComboBox::activated, this, [this] { Dispatch([&] { Combo1_Click(); }); });
    for (const auto& [index, button] : Command2.Members())
        connect(button, &QPushButton::clicked, this, [this, i = index] { Dispatch([&] { Command2_Click(i); }); });
    for (const auto& [index, button] : Command1.Members())
        connect(button, &QPushButton::clicked, this, [this, i = index] { Dispatch([&] { Command1_Click(i); }); });
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    const std::int16_t button = ButtonSet(event->buttons());
    Dispatch([&] { Form_MouseMove(button); });
}

void Form1::Dispatch(const std::function<void()>& handler) {
    const QString kept = QStringLiteral("\n您的文本和设置都还在。");
    QString failure;
    try {
        handler();
        return;
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral("内存不足，操作没有完成。") + kept;
    } catch (const std::length_error&) {
        failure = QStringLiteral("文本太长，无法处理。") + kept;
    } catch (const PlatformError& error) {
        failure = QStringLiteral("操作没有完成：%1。").arg(QString::fromUtf8(error.what())) + kept;
    } catch (const std::exception& error) {
        failure = QStringLiteral("操作没有完成：发生了错误（%1）。").arg(QString::fromUtf8(error.what())) + kept;
    } catch (...) {
        failure = QStringLiteral("操作没有完成：发生了未知错误。") + kept;
    }
    try {
        platform_.ShowMessage(this, failure, MessageStyle::Error);
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
}

} // namespace velmorant
