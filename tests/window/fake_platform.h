#pragma once
// A platform that records what the window asked of it and answers from a script.

#include "app/platform/platform.h"

#include <QString>
#include <QWidget>

#include <deque>
#include <new>
#include <optional>
#include <vector>

namespace velmorant {

class FakePlatform final : public Platform {
public:
    struct Message {
        QString prompt;
        MessageStyle style;
    };

    // Answers of the colour chooser, in order; a cancel once they run out.
    std::deque<std::optional<ChooserColour>> colourAnswers;
    // What the clipboard holds; nullopt when it holds no text.
    std::optional<QString> clipboard;
    bool failOpeningWebAddresses = false;
    bool failClipboard = false;
    bool failReadingClipboard = false; // the owner offered text, none arrived
    bool runOutOfMemoryReadingClipboard = false;

    int colourChooserOpenings = 0;
    std::vector<QWidget*> colourChooserOwners;
    std::vector<Message> messages;
    std::vector<QString> clipboardCalls; // "clear" or "set:<text>"
    std::vector<QString> openedAddresses;
    std::vector<QWidget*> handCursorControls;
    std::vector<QString> skinPaths;
    int endProgramCalls = 0;

    std::optional<ChooserColour> ChooseColour(QWidget* owner) override {
        ++colourChooserOpenings;
        colourChooserOwners.push_back(owner);
        if (colourAnswers.empty())
            return std::nullopt;
        auto answer = colourAnswers.front();
        colourAnswers.pop_front();
        return answer;
    }
    void ShowMessage(QWidget*, const QString& prompt, MessageStyle style) override {
        messages.push_back({prompt, style});
    }
    void ClearClipboard() override {
        clipboardCalls.push_back(QStringLiteral("clear"));
        clipboard.reset();
    }
    void SetClipboardText(const QString& text) override {
        if (failClipboard)
            throw PlatformError("剪贴板不可用");
        clipboardCalls.push_back(QStringLiteral("set:") + text);
        clipboard = text;
    }
    ClipboardRead ClipboardText() override {
        if (runOutOfMemoryReadingClipboard)
            throw std::bad_alloc();
        if (failReadingClipboard)
            return {ClipboardRead::Outcome::Failed, {}};
        if (!clipboard)
            return {ClipboardRead::Outcome::NoText, {}};
        return {ClipboardRead::Outcome::Text, *clipboard};
    }
    void OpenWebAddress(const QString& address) override {
        if (failOpeningWebAddresses)
            throw PlatformError("无法打开网页");
        openedAddresses.push_back(address);
    }
    void ShowHandCursor(QWidget* control) override { handCursorControls.push_back(control); }
    void AttachSkin(const QString& path) override { skinPaths.push_back(path); }
    void EndProgram() override { ++endProgramCalls; }
};

} // namespace velmorant
