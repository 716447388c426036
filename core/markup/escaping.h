#pragma once
// Writing the text so that the target shows exactly the characters typed. The
// escaped form of a character depends only on it, the character before it and,
// for a "[", the characters after it in the whole text, never on where units are
// cut, so a code's escaped length is one figure for every step.

#include "core/markup/output_shape.h"
#include "core/text/graphemes.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velmorant {

// Minecraft's legacy code letters, either case: colours 0-f, styles k-o, reset r.
constexpr bool IsLegacyCode(char16_t c) {
    const char16_t lower = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return (lower >= u'0' && lower <= u'9') || (lower >= u'a' && lower <= u'f') || (lower >= u'k' && lower <= u'o') ||
           lower == u'r';
}

class TextEscaper {
public:
    // whole is the text every piece written is a part of, for looking past a piece's end.
    explicit TextEscaper(const MarkupForm& form, std::u16string_view whole = {})
        : escaping_(form.escaping), restated_(form.restated), tagBreak_(form.tagBreak),
          wholeEnd_(whole.empty() ? nullptr : whole.data() + whole.size()) {}

    // Whether any character changes: otherwise the text goes out as it is.
    bool Active() const { return escaping_ != Escaping::None && escaping_ != Escaping::Terminal; }

    // Hands put the escaped text piece by piece, in order; head is the unit's
    // colour code, for Restate.
    template <class Put> void Write(std::u16string_view text, std::u16string_view head, Put&& put) {
        if (escaping_ == Escaping::Essentials)
            return WriteEssentials(text, head, put);
        if (escaping_ == Escaping::TagText)
            return WriteTagText(text, head, put);
        std::size_t plain = 0; // start of the characters not yet handed over
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            const char16_t before = previous_;
            previous_ = c;
            if (escaping_ == Escaping::BbCodeTags || escaping_ == Escaping::MyCode) {
                const std::u16string_view escape =
                    LookingAhead(c, before, text.data() + i + 1, wholeEnd_ ? wholeEnd_ : text.data() + text.size());
                if (escape.empty())
                    continue;
                // A tag break follows the "[" it breaks off; a reference stands for its character.
                put(text.substr(plain, i + (escaping_ == Escaping::BbCodeTags ? 1 : 0) - plain));
                put(escape);
                plain = i + 1;
                continue;
            }
            const std::u16string_view escape = EscapeOf(c, before);
            const bool restate = (escaping_ == Escaping::Restate || escaping_ == Escaping::CodeBlock) && c == restated_;
            if (escape.empty() && !restate)
                continue;
            put(text.substr(plain, i - plain));
            plain = i + 1;
            if (restate) {
                put(text.substr(i, 1));
                put(head);
            } else {
                put(escape);
            }
        }
        put(text.substr(plain));
    }

    // Whether the text from at (just after a "[") reads as a tag's start: "/"
    // maybe, a name of ASCII letters, digits, "_" and "-" (or "*"), then "]",
    // "=", ":", "/" or white space. Any name, not only those the place knows,
    // since boards add their own tags.
    static bool TagCouldStart(const char16_t* at, const char16_t* end) {
        if (at < end && *at == u'/')
            ++at;
        const char16_t* name = at;
        if (at < end && *at == u'*') {
            ++at;
        } else {
            while (at < end && (IsAsciiAlnum(*at) || *at == u'_' || *at == u'-'))
                ++at;
        }
        if (at == name || at == end)
            return false;
        const char16_t after = *at;
        return after == u']' || after == u'=' || after == u':' || after == u'/' || after == u' ' || after == u'\t' ||
               after == u'\n' || after == u'\r' || after == u'\v' || after == u'\f';
    }

    // Hands over what Write still holds back; called once after the last unit.
    template <class Put> void Finish(Put&& put) {
        firstHead_.clear();
        for (; held_ > 0; --held_)
            put(u"&");
    }

private:
    // EssentialsX reads "&X" as a code for X in 0-9, a-f, k-o or r, "&&X" as
    // the text "&X", and "&#" with six hex digits as a colour, "&&#" with them
    // as the text. A typed "&" can be followed by no code at all, so one that
    // ends a unit is held back and written after the next unit's code, in that
    // unit's colour; after the first unit, that code is preceded by the first
    // unit's again and follows the next character, so that the first character
    // keeps the first colour. A typed "&" before a code letter gets a second "&"; a
    // typed "#" after a typed "&" is followed by the unit's code again, so that
    // no six hex digits follow it.
    template <class Put> void WriteEssentials(std::u16string_view text, std::u16string_view head, Put& put) {
        if (text.empty())
            return;
        const bool first = !wrote_;
        wrote_ = true;
        // The "&"s a unit ends with are held back, with those before them.
        const std::size_t end = text.find_last_not_of(u'&') + 1;
        if (end > 0) {
            const bool restate = held_ > 0 && !firstHead_.empty() && !head.empty();
            if (restate)
                put(std::u16string_view(firstHead_));
            Finish(put);
            const std::size_t other = text.find_first_not_of(u'&');
            const std::size_t clusterEnd = restate ? std::min(GraphemeEnd(text, other), end) : end + 1;
            std::size_t plain = 0;
            for (std::size_t i = 0; i < end; ++i) {
                if (i == clusterEnd) {
                    put(text.substr(plain, i - plain));
                    put(head);
                    plain = i;
                }
                const char16_t c = text[i];
                const char16_t before = previous_;
                previous_ = c;
                if (before == u'&' && IsLegacyCode(c)) {
                    put(text.substr(plain, i - plain));
                    put(u"&");
                    plain = i;
                } else if (before == u'&' && c == u'#') {
                    put(text.substr(plain, i + 1 - plain));
                    put(head);
                    plain = i + 1;
                }
            }
            put(text.substr(plain, end - plain));
            if (clusterEnd == end)
                put(head);
        }
        if (end < text.size()) {
            if (first)
                firstHead_ = head;
            held_ += text.size() - end;
            previous_ = u'&';
        }
    }

    static bool IsAsciiAlnum(char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    }

    // Whether the text from at starts with word, ASCII letters in any case.
    static bool StartsWithFolded(const char16_t* at, const char16_t* end, std::u16string_view word) {
        if (end - at < static_cast<std::ptrdiff_t>(word.size()))
            return false;
        for (const char16_t w : word) {
            const char16_t c = *at++;
            if (c != w && !(w >= u'a' && w <= u'z' && c == w - 32))
                return false;
        }
        return true;
    }

    // The escape of c for the formats that look at what follows; empty for none.
    std::u16string_view LookingAhead(char16_t c, char16_t before, const char16_t* at, const char16_t* end) const {
        if (escaping_ == Escaping::BbCodeTags)
            return c == u'[' && TagCouldStart(at, end) ? tagBreak_ : std::u16string_view();
        switch (c) {
        case u'[':
            return TagCouldStart(at, end) ? u"&#91;" : std::u16string_view();
        case u'&': {
            // MyBB leaves "&#" with digits and ";" for the browser to read as a character.
            if (at == end || *at != u'#')
                return {};
            const char16_t* digit = ++at;
            while (at < end && *at >= u'0' && *at <= u'9')
                ++at;
            return at > digit && at < end && *at == u';' ? u"&#38;" : std::u16string_view();
        }
        case u'(':
            return StartsWithFolded(at, end, u"c)") || StartsWithFolded(at, end, u"tm)") ||
                           StartsWithFolded(at, end, u"r)")
                       ? u"&#40;"
                       : std::u16string_view();
        case u'/':
            return (before == 0 || before == u'\n' || before == u'\r') &&
                           (StartsWithFolded(at, end, u"me ") || StartsWithFolded(at, end, u"slap "))
                       ? u"&#47;"
                       : std::u16string_view();
        default:
            return {};
        }
    }

    // One unit's text in its own tag, head just written: a "]" can only be a
    // tag's first character, a "\" must not stand before a tag's end (wherever
    // the units are cut: so it always takes a blank), and the tag holds one line.
    template <class Put> void WriteTagText(std::u16string_view text, std::u16string_view head, Put&& put) {
        std::size_t plain = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            const char16_t before = i > 0 ? text[i - 1] : previous_;
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                put(text.substr(plain, i - plain));
                plain = i + 1;
                if (!(c == u'\n' && before == u'\r'))
                    put(u" ");
            } else if (c == u']' && i > 0) {
                put(text.substr(plain, i - plain));
                put(u"]");
                put(head);
                plain = i;
            } else if (c == u'\\') {
                put(text.substr(plain, i + 1 - plain));
                put(u" ");
                plain = i + 1;
            }
        }
        put(text.substr(plain));
        if (!text.empty())
            previous_ = text.back();
    }

    std::u16string_view EscapeOf(char16_t c, char16_t before) const {
        switch (escaping_) {
        case Escaping::Html:
            switch (c) {
            case u'&':
                return u"&amp;";
            case u'<':
                return u"&lt;";
            case u'>':
                return u"&gt;";
            case u'"':
                return u"&quot;";
            case u'\u00a0':
                return u"&#160;";
            case u' ':
                // HTML folds a blank after white space away.
                return before == u' ' || before == u'\t' || before == u'\n' || before == u'\r'
                           ? std::u16string_view(u"&nbsp;")
                           : std::u16string_view();
            case u'\r':
                return u"<br>\r";
            case u'\n':
                return before == u'\r' ? std::u16string_view() : std::u16string_view(u"<br>\n");
            default:
                return {};
            }
        case Escaping::BbCode:
            return c == u'[' ? std::u16string_view(u"[[b][/b]") : std::u16string_view();
        case Escaping::CodeBlock:
            return c == u'\x1b' ? std::u16string_view(u"\u241b") : std::u16string_view();
        case Escaping::Smf:
            if (c == u'[')
                return u"[nobbc][[/nobbc]";
            // A smiley's second character alone inside [nobbc], where no smiley is looked for.
            if (Follows(before, c,
                        {{u':', u"D:)(oP-'"}, {u';', u")D"}, {u'8', u")"}, {u'?', u"?"}, {u'^', u"-"}, {u'O', u"0"}}))
                return {kNoBbc[c].data(), kNoBbc[c].size()};
            // "&#", "&amp;"... read as one character by its count; "/me" a command; a
            // run of 100 dots cut to three.
            return PairBetween(before, c, {{u'&', u"#qalgn"}, {u'/', u"mM"}, {u'.', u"."}});
        case Escaping::Discuz:
            if (c == u'[')
                return u"[[b][/b]";
            // "&amp;"... one character to cutstr(); ":)", ";P", "{:2_25:}" its smilies.
            return PairBetween(before, c, {{u'&', u"qalg"}, {u':', kSmileyStarts}, {u';', u"P"}, {u'{', u":"}});
        case Escaping::MiniMessage:
            return c == u'<'    ? std::u16string_view(u"\\<")
                   : c == u'\\' ? std::u16string_view(u"\\\\")
                                : std::u16string_view();
        default:
            return {};
        }
    }

    // The second characters of Discuz!'s default smilies after ":".
    static constexpr std::u16string_view kSmileyStarts = u")(D'@oPL$Qlfcdshvtk";

    struct Pair {
        char16_t before;
        std::u16string_view then;
    };

    // An empty [b][/b] before c where it follows before and could make a
    // sequence the place reads: the place's reader drops the pair only after.
    static bool Follows(char16_t before, char16_t c, std::initializer_list<Pair> pairs) {
        for (const Pair& pair : pairs)
            if (before == pair.before && c < 0x80 && pair.then.find(c) != std::u16string_view::npos)
                return true;
        return false;
    }
    static std::u16string_view PairBetween(char16_t before, char16_t c, std::initializer_list<Pair> pairs) {
        return Follows(before, c, pairs) ? std::u16string_view(kPairs[c].data(), kPairs[c].size())
                                         : std::u16string_view();
    }

    static constexpr std::array<std::array<char16_t, 8>, 0x80> kPairs = [] {
        std::array<std::array<char16_t, 8>, 0x80> pairs{};
        for (std::size_t c = 0; c < pairs.size(); ++c)
            pairs[c] = {u'[', u'b', u']', u'[', u'/', u'b', u']', static_cast<char16_t>(c)};
        return pairs;
    }();
    // "[nobbc]c[/nobbc]" for each ASCII c.
    static constexpr std::array<std::array<char16_t, 16>, 0x80> kNoBbc = [] {
        std::array<std::array<char16_t, 16>, 0x80> texts{};
        constexpr std::u16string_view open = u"[nobbc]", close = u"[/nobbc]";
        for (std::size_t c = 0; c < texts.size(); ++c) {
            std::size_t at = 0;
            for (const char16_t t : open)
                texts[c][at++] = t;
            texts[c][at++] = static_cast<char16_t>(c);
            for (const char16_t t : close)
                texts[c][at++] = t;
        }
        return texts;
    }();

    Escaping escaping_;
    char16_t restated_;
    std::u16string_view tagBreak_;
    const char16_t* wholeEnd_; // where the whole text ends, null for pieces alone
    char16_t previous_ = 0;
    std::size_t held_ = 0;     // Essentials: the "&"s that ended the last units, not yet written
    bool wrote_ = false;       // Essentials: a unit has been written
    std::u16string firstHead_; // Essentials: the first unit's code, while its "&" is held
};

} // namespace velmorant
