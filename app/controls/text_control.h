#pragma once
// What the handlers use of a text box, single-line or multiline alike.

#include <QString>

namespace velmorant {

class TextControl {
public:
    virtual ~TextControl() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
    // Text().size(), without building the text.
    virtual int TextLength() const = 0;
    // Offsets and lengths count char16s of Text(), CR LF as two.
    virtual void SetSelStart(int start) = 0;
    virtual void SetSelLength(int length) = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
};

} // namespace velmorant
