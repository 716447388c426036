#include "core/markup/decode.h"

#include "core/colour/colour_sets.h"
#include "core/markup/escaping.h"
#include "core/markup/formats.h"
#include "core/text/code_points.h"

#include <initializer_list>
#include <utility>

namespace velmorant {

namespace {

// Longer values are not a size or font this program wrote: keeps reading linear.
constexpr std::size_t kMaxStyleValue = 64;

class Reader {
public:
    Reader(std::u16string_view code, const Format& format, const TagTemplate& tags)
        : code_(code), format_(format), tags_(tags) {
        // The characters any mark starts with: every other character is text at once.
        for (const std::u16string_view text : std::initializer_list<std::u16string_view>{
                 tags.Open, tags.Close, format.bold.open, format.bold.close, format.italic.open, format.italic.close,
                 format.underline.open, format.underline.close, format.strike.open, format.strike.close,
                 format.size.open, format.size.close, format.font.open, format.font.close})
            if (!text.empty())
                starts_.push_back(text[0]);
        if (format.escaping == Escaping::Html)
            starts_ += u"&<";
        if (format.escaping == Escaping::MiniMessage)
            starts_ += u"\\";
        if (format.escaping == Escaping::MyCode)
            starts_ += u"&";
    }

    DecodedCode Read() {
        // The block a place reads codes in frames the whole code.
        if (!format_.prefix.empty() && StartsWith(0, format_.prefix)) {
            at_ = format_.prefix.size();
            ++out_.marks;
        }
        if (!format_.suffix.empty() && code_.size() >= at_ + format_.suffix.size() &&
            code_.substr(code_.size() - format_.suffix.size()) == format_.suffix) {
            code_.remove_suffix(format_.suffix.size());
            ++out_.marks;
        }
        out_.text.reserve(code_.size() / 4);
        out_.colourAt.reserve(code_.size() / 4);
        while (at_ < code_.size()) {
            // A tag ending at "]" holds at least one character, and that may be a "]".
            if (format_.escaping == Escaping::TagText && at_ == headEnd_) {
                Literal(code_[at_++]);
                literalEnd_ = at_;
                continue;
            }
            if (starts_.find(code_[at_]) != std::u16string::npos && (Head() || CloseColour() || Escape() || Style()))
                continue;
            Typed(code_[at_++]);
            literalEnd_ = at_;
        }
        // Every '[' escaped, every restating character followed by its colour, every colour tag closed.
        if (brackets_ != escapes_ || restating_ != restated_ || (!tags_.Close.empty() && colour_ >= 0))
            out_.explained = false;
        return std::move(out_);
    }

private:
    bool StartsWith(std::size_t at, std::u16string_view text) const {
        return !text.empty() && code_.substr(at, text.size()) == text;
    }

    void Literal(char16_t c) {
        out_.text.push_back(c);
        out_.colourAt.push_back(colour_);
    }

    // A character as typed, not undone from an escape: one the format would have
    // escaped, or one outside every colour that is not white space, is not the writer's.
    void Typed(char16_t c) {
        const bool white = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
        bool escaped = false;
        switch (format_.escaping) {
        case Escaping::Html:
            escaped = c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\u00a0';
            break;
        case Escaping::MiniMessage:
            escaped = c == u'<' || c == u'\\';
            break;
        case Escaping::Terminal:
            // Controls are shown as pictures; a CR stays only before its LF.
            escaped = (c < 0x20 && !white) || (c >= 0x7F && c <= 0x9F) ||
                      (c == u'\r' && !(at_ < code_.size() && code_[at_] == u'\n'));
            break;
        case Escaping::BbCode:
        case Escaping::Discuz:
            brackets_ += c == u'[';
            break;
        case Escaping::Smf:
            escaped = c == u'['; // the writer puts each inside [nobbc]
            break;
        case Escaping::Restate:
            restating_ += c == format_.restated;
            break;
        case Escaping::CodeBlock:
            restating_ += c == format_.restated;
            escaped = c == u'\x1b';
            break;
        case Escaping::TagText:
            // One line: line breaks and tabs are written as blanks.
            escaped = c == u'\t' || c == u'\n' || c == u'\r';
            break;
        default:
            break;
        }
        if (escaped || (colour_ < 0 && !white))
            out_.explained = false;
        Literal(c);
    }

    // A close with no colour open is no colour's: a style's, if the format closes one the same way.
    bool CloseColour() { return colour_ >= 0 && Token(tags_.Close, true); }

    bool Token(std::u16string_view text, bool closesColour = false) {
        if (!StartsWith(at_, text))
            return false;
        at_ += text.size();
        ++out_.marks;
        if (closesColour)
            colour_ = -1;
        return true;
    }

    // Open, a colour code, Middle.
    bool Head() {
        if (!StartsWith(at_, tags_.Open))
            return false;
        const std::size_t from = at_;
        std::size_t at = at_ + tags_.Open.size();
        std::int32_t channels[3] = {};
        std::size_t caseMarks = 0;
        bool wrongCase = false;
        if (format_.code == CodeStyle::Named) {
            // The longest member's code followed by Middle.
            const NamedCode* found = nullptr;
            for (const NamedCode& member : format_.colours ? format_.colours->colours : std::span<const NamedCode>{})
                if (StartsWith(at, member.code) &&
                    (tags_.Middle.empty() || StartsWith(at + member.code.size(), tags_.Middle)) &&
                    (!found || member.code.size() > found->code.size()))
                    found = &member;
            if (!found)
                return false;
            at += found->code.size();
            const Rgb rgb = UnpackRgb(found->rgb);
            channels[0] = rgb.red;
            channels[1] = rgb.green;
            channels[2] = rgb.blue;
        }
        for (std::int32_t& channel :
             format_.code == CodeStyle::Named ? std::span<std::int32_t>{} : std::span(channels)) {
            if (format_.code == CodeStyle::Decimal) {
                int digits = 0;
                while (at < code_.size() && digits < 3 && code_[at] >= u'0' && code_[at] <= u'9') {
                    channel = channel * 10 + (code_[at++] - u'0');
                    ++digits;
                }
                if (digits == 0 || channel > 255)
                    return false;
                if (&channel != &channels[2] && !(at < code_.size() && code_[at++] == u';'))
                    return false;
                continue;
            }
            for (int half = 0; half < 2; ++half) {
                if (format_.code == CodeStyle::SectionDigits && !(at < code_.size() && code_[at++] == u'\u00a7'))
                    return false;
                const int digit = at < code_.size() ? HexDigitValue(code_[at]) : -1;
                if (digit < 0)
                    return false;
                // Letters in the format's own case tell apart formats that differ only there
                // (the window's upper-case codes and bbcode's lower-case ones).
                if (digit >= 10) {
                    const bool ownCase = (code_[at] >= u'a') == (format_.code == CodeStyle::HexLower);
                    caseMarks += ownCase;
                    wrongCase = wrongCase || !ownCase;
                }
                channel = channel * 16 + digit;
                ++at;
            }
        }
        if (!tags_.Middle.empty() && !StartsWith(at, tags_.Middle))
            return false;
        at_ = at + tags_.Middle.size();
        headEnd_ = at_;
        out_.marks += 1 + caseMarks;
        const PackedRgb colour = channels[0] << 16 | channels[1] << 8 | channels[2];
        // A format that restates the colour after a character opens no new unit there,
        // nor does a tag opened again for a "]" that cannot stand inside one.
        const bool restates = format_.restated != 0 && from > 0 && code_[from - 1] == format_.restated &&
                              colour == colour_ && literalEnd_ == from;
        const bool reopens = format_.escaping == Escaping::TagText && from > 0 && code_[from - 1] == u']' &&
                             colour == lastHead_ && StartsWith(at_, u"]");
        if (!restates && !reopens)
            out_.headAt.push_back(out_.text.size());
        restated_ += restates;
        // The writer closes each colour before it opens the next.
        if (wrongCase || (!tags_.Close.empty() && colour_ >= 0))
            out_.explained = false;
        colour_ = colour;
        lastHead_ = colour;
        const Rgb rgb{static_cast<Channel>(channels[0]), static_cast<Channel>(channels[1]),
                      static_cast<Channel>(channels[2])};
        if (out_.colours.empty() || !(out_.colours.back() == rgb))
            out_.colours.push_back(rgb);
        return true;
    }

    bool Escape() {
        switch (format_.escaping) {
        case Escaping::Html: {
            constexpr std::pair<std::u16string_view, std::u16string_view> entities[] = {
                {u"&amp;", u"&"},       {u"&lt;", u"<"},   {u"&gt;", u">"}, {u"&quot;", u"\""},
                {u"&#160;", u"\u00a0"}, {u"&nbsp;", u" "}, {u"<br>", u""}};
            for (const auto& [entity, character] : entities) {
                if (Token(entity)) {
                    for (const char16_t c : character)
                        Literal(c);
                    return true;
                }
            }
            return false;
        }
        case Escaping::Essentials:
            // "&&" before a code letter is the text "&".
            if (!StartsWith(at_, u"&&") || at_ + 2 >= code_.size() || !IsLegacyCode(code_[at_ + 2]))
                return false;
            Literal(u'&');
            at_ += 2;
            ++out_.marks;
            return true;
        case Escaping::Smf:
            // One character kept from the reader inside [nobbc].
            if (StartsWith(at_, u"[nobbc]") && at_ + 8 < code_.size() && StartsWith(at_ + 8, u"[/nobbc]")) {
                const char16_t kept = code_[at_ + 7];
                at_ += 16;
                ++out_.marks;
                Literal(kept);
                return true;
            }
            return EmptyPairBetween(u"&", u"#qalgn") || EmptyPairBetween(u"/", u"mM") || EmptyPairBetween(u".", u".");
        case Escaping::Discuz:
            return EmptyPairBetween(u"&", u"qalg") || EmptyPairBetween(u":", u")(D'@oPL$Qlfcdshvtk") ||
                   EmptyPairBetween(u";", u"P") || EmptyPairBetween(u"{", u":");
        case Escaping::MyCode:
            for (const auto& [reference, character] : {std::pair{u"&#91;", u'['}, std::pair{u"&#38;", u'&'},
                                                       std::pair{u"&#40;", u'('}, std::pair{u"&#47;", u'/'}})
                if (Token(reference)) {
                    Literal(character);
                    return true;
                }
            return false;
        case Escaping::BbCodeTags:
            // The tag break after a '[' shows nothing.
            return at_ > 0 && literalEnd_ == at_ && code_[at_ - 1] == u'[' && Token(format_.tagBreak);
        case Escaping::MiniMessage:
            if (code_[at_] != u'\\' || at_ + 1 >= code_.size())
                return false;
            Literal(code_[at_ + 1]);
            at_ += 2;
            ++out_.marks;
            return true;
        default:
            return false;
        }
    }

    // The empty [b][/b] the writer puts between a character of before (the last
    // one read, tags between or not) and one of after.
    bool EmptyPairBetween(std::u16string_view before, std::u16string_view after) {
        constexpr std::u16string_view pair = u"[b][/b]";
        if (out_.text.empty() || before.find(out_.text.back()) == std::u16string_view::npos || !StartsWith(at_, pair) ||
            at_ + pair.size() >= code_.size() || after.find(code_[at_ + pair.size()]) == std::u16string_view::npos)
            return false;
        return Token(pair);
    }

    bool Style() {
        StyleOptions& read = out_.styles;
        const std::pair<const StyleSpelling*, bool*> flags[] = {{&format_.bold, &read.bold},
                                                                {&format_.italic, &read.italic},
                                                                {&format_.underline, &read.underline},
                                                                {&format_.strike, &read.strikethrough}};
        for (const auto& [style, flag] : flags) {
            const std::size_t from = at_;
            if (Token(style->open)) {
                // An empty pair after a '[' is bbcode's escape of it, not the style.
                const bool escape =
                    from > 0 && literalEnd_ == from && code_[from - 1] == u'[' && StartsWith(at_, style->close);
                if (escape) {
                    Token(style->close);
                    ++escapes_;
                }
                *flag = *flag || !escape;
                return true;
            }
            if (Token(style->close))
                return true;
        }
        const std::pair<const StyleSpelling*, std::u16string*> values[] = {{&format_.size, &read.size},
                                                                           {&format_.font, &read.font}};
        for (const auto& [style, value] : values) {
            if (Token(style->close))
                return true;
            if (!StartsWith(at_, style->open))
                continue;
            const std::size_t from = at_ + style->open.size();
            const std::size_t end = code_.substr(from, kMaxStyleValue + style->valueEnd.size()).find(style->valueEnd);
            if (end == std::u16string_view::npos)
                continue;
            *value = StyleValue(code_.substr(from, end), style == &format_.size);
            at_ = from + end + style->valueEnd.size();
            ++out_.marks;
            return true;
        }
        return false;
    }

    // A size or font value as the settings give it: HTML's escapes undone, a CSS
    // size name or a place's own size back to HTML's number.
    std::u16string StyleValue(std::u16string_view value, bool size) const {
        if (format_.escaping == Escaping::Html) {
            const DecodedCode unescaped = DecodeCode(value, format_, TagTemplate{});
            value = unescaped.text;
            if (size && format_.cssSize)
                for (std::size_t n = 1; n <= std::size(kCssSizes); ++n)
                    if (value == kCssSizes[n - 1])
                        return std::u16string(1, static_cast<char16_t>(u'0' + n));
            return std::u16string(value);
        }
        // A place's own size value back to HTML's number, the smallest that writes it.
        if (size && (format_.sizes || format_.percentSize)) {
            const std::u16string_view* sizes = format_.sizes ? format_.sizes : kPercentSizes;
            for (std::size_t n = 1; n <= 7; ++n)
                if (value == sizes[n - 1])
                    return std::u16string(1, static_cast<char16_t>(u'0' + n));
        }
        return std::u16string(value);
    }

    std::u16string_view code_;
    const Format& format_;
    const TagTemplate& tags_;
    std::u16string starts_;
    std::size_t headEnd_ = std::u16string_view::npos; // where the last colour code's Middle ended
    std::size_t at_ = 0;
    PackedRgb colour_ = -1;
    PackedRgb lastHead_ = -1;                  // the last colour code's, kept past its tag's end
    std::size_t literalEnd_ = 0;               // where in the code the last plain character ended
    std::size_t brackets_ = 0, escapes_ = 0;   // typed '[', and the empty pairs escaping one
    std::size_t restating_ = 0, restated_ = 0; // typed restating characters, and the colours restated after one
    DecodedCode out_;
};

} // namespace

DecodedCode DecodeCode(std::u16string_view code, const Format& format, const TagTemplate& tags) {
    return Reader(code, format, tags).Read();
}

Detection DetectFormats(std::u16string_view code) {
    Detection found;
    DecodedCode first;
    std::size_t mostMarks = 0;
    for (const Format& format : Formats()) {
        DecodedCode read = DecodeCode(code, format, format.Template());
        if (!found.most || read.marks > mostMarks) {
            found.most = &format;
            mostMarks = read.marks;
        }
        if (!read.explained)
            continue;
        found.explaining.push_back(&format);
        if (found.explaining.size() == 1) {
            first = std::move(read);
            continue;
        }
        const StyleOptions &a = first.styles, &b = read.styles;
        found.alike = found.alike && read.text == first.text && read.colourAt == first.colourAt && a.bold == b.bold &&
                      a.italic == b.italic && a.underline == b.underline && a.strikethrough == b.strikethrough &&
                      a.size == b.size && a.font == b.font;
    }
    return found;
}

const Format& DetectFormat(std::u16string_view code) {
    const Detection found = DetectFormats(code);
    return found.Chosen() ? *found.Chosen() : *found.most;
}

} // namespace velmorant
