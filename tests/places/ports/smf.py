"""SMF 2.1 reading and counting a post, step by step as its PHP does."""
import itertools
import re

from ports import common

SOURCE = ("SMF 2.1 (release-2.1): Sources/Post.php lines 2085-2098 (the length check, then htmlspecialchars and "
          "preparsecode); Sources/Load.php lines 109-116 and 180-183 ($ent_list, $ent_check, $smcFunc['strlen']); "
          "Sources/Subs-Post.php lines 36-72 (controls, nobbc, CR, periods), 140-143 (/me), 267-282 (empty tags); "
          "Sources/Subs.php lines 1824-2420 (the b, color, font, i, nobbc, s, size and u codes of parse_bbc); "
          "other/install_2-1_mysql.sql line 2062 (max_messageLength 20000)")

# Every tag parse_bbc(false) lists (Sources/Subs.php), less anchor and td (Subs-Post.php line 271).
TAGS = ("abbr acronym attach b bdo black blue br center chrissy code color cowsay email flash float font ftp glow "
        "green hr html i img iurl justify kissy left li list ltr me member move nobbc php pre quote red right rtl s "
        "shadow size sub sup table time tr tt u url white youtube").split()
EMPTY = re.compile(r"\[(" + "|".join(TAGS) + r")\b[^\]]*\]\s*\[/\1\]\s?", re.I)
ENTITY = re.compile(r"&(?:#\d{1,7}|quot|amp|lt|gt|nbsp);|.", re.S)  # Load.php line 109 and 182
COLOUR = re.compile(r"(#[\da-fA-F]{3}|#[\da-fA-F]{6}|[A-Za-z]{1,20})\]")  # Subs.php line 1938
SIZE = re.compile(r"([1-9][\d]?p[xt]|small(?:er)?|large[r]?|x[x]?-(?:small|large)|medium|"
                  r"(0\.[1-9]|[1-9](\.[\d][\d]?)?)?em|[1-7])\]")  # Subs.php lines 2339 and 2346
SIMPLE = {"b": "bold", "i": "italic", "u": "underline", "s": "strike"}
# Sources/Subs.php line 3906: the default smilies, longest first as parsesmileys() loads them.
SMILIES = sorted([">:D", ":D", "::)", ">:(", ":))", ":)", ";)", ";D", ":(", ":o", "8)", ":P", "???", ":-[", ":-X",
                  ":-*", ":'(", ":-\\", "^-^", "O0", "C:-)", "O:-)"], key=len, reverse=True)
IMAGE = "\ufffc"  # what a smiley shows instead of its code


posted = common.crlf


def entity_fix(match):
    """Load.php lines 159-163 via entity_fix__callback: a reference to nothing printable goes."""
    text = match.group(2)
    n = int(text[1:], 16) if text[0] == "x" else int(text)
    return "" if n < 0x20 or n > 0x10FFFF or 0xD800 <= n <= 0xDFFF or n in (0x202E, 0x202D) else f"&#{n};"


def count(code):
    """$smcFunc['strlen'] on $_POST['message'] (Post.php line 2089): an entity counts one."""
    fixed = re.sub(r"(&#(\d{1,7}|x[0-9a-fA-F]{1,6});)", entity_fix, posted(code))
    return len(ENTITY.findall(fixed))


def preparse(message):
    """preparsecode() as it changes what is shown, on the text before htmlspecialchars (whose entities the
    browser shows as the characters again). Its NFC normalisation (line 53) is left out: it changes no
    character a reader sees."""
    message = re.sub(r"[\x00-\x08\x0b\x0c\x0e-\x1f]", lambda m: chr(0x2400 + ord(m.group())), message)  # 36-48
    message = re.sub(r"\[nobbc\](.+?)\[/nobbc\]", lambda m: "[nobbc]" + m.group(1).translate(
        {ord("["): "\x01", ord("]"): "\x02", ord(":"): ":", ord("@"): "@"}) + "[/nobbc]", message, flags=re.I | re.S)
    # Line 70 drops every CR; the line breaks show the same, so they stay here as the code has them.
    message = re.sub(r"\.{100,}", "...", message)  # line 73
    message = re.sub(r"(\A|\n)/me(?: )([^\n]*)", r"\1[me=User]\2[/me]", message, flags=re.I)  # line 143
    while EMPTY.search(message):  # lines 281-282
        message = EMPTY.sub("", message)
    return message


def smilies(shown, parts):
    """parsesmileys() on each run of text between tags (Subs.php lines 3828-3833 and 3957): a code after
    the start, white space or punctuation, and before no letter or digit, becomes an image."""
    out = []
    for part, run in itertools.groupby(range(len(shown)), key=parts.__getitem__):
        run = list(run)
        at, text = run[0], "".join(shown[k][0] for k in run)
        if part < 0:  # inside [nobbc]
            out += shown[at:at + len(run)]
            continue
        i = 0
        while i < len(text):
            before = text[i - 1] if i else ""
            ok = (i == 0 or before in ">:?. \t\n\r\x0b\x0c\xa0[]()*\\;"
                  or (before == "(" and not (i > 1 and text[i - 2].isalnum())))
            code = next((c for c in SMILIES if ok and text.startswith(c, i)
                         and not text[i + len(c):i + len(c) + 1].isalnum()), None)
            if code:
                out.append((IMAGE,) + shown[at + i][1:])
                i += len(code)
            else:
                out.append(shown[at + i])
                i += 1
    return out


def read(code):
    message = preparse(code)
    shown = []
    parts = []  # per character shown, the run of text between tags it is in
    stack = []  # (tag, colour, style)
    at = part = 0
    lower = message.lower()
    while at < len(message):
        if message[at] == "[":
            if lower.startswith("[nobbc]", at):
                end = lower.find("[/nobbc]", at + 7)
                if end >= 0:
                    for ch in message[at + 7:end]:
                        shown += common.paint({"\x01": "[", "\x02": "]"}.get(ch, ch), stack)
                        parts.append(-1)  # inside the tag: never looked at for smilies
                    at = end + 8
                    part += 1
                    continue
            name = re.match(r"\[(/?)([a-z]+)(=?)", lower[at:])
            if name:
                closing, tag, equals = name.groups()
                rest = at + name.end()
                test = {"color": COLOUR, "size": SIZE}.get(tag) if equals else None
                match = test.match(message, rest) if test else None
                end = None
                if closing and message[rest:rest + 1] == "]" and common.close(stack, tag):
                    end = rest + 1  # parse_bbc closes the tags opened inside the one closed
                elif not closing and tag in SIMPLE and not equals and message[rest:rest + 1] == "]":
                    stack.append((tag, None, SIMPLE[tag]))
                    end = rest + 1
                elif match:
                    value = match.group(1).lower()
                    if tag == "color" and len(value) == 4 and value[0] == "#":
                        value = "#" + "".join(c * 2 for c in value[1:])
                    stack.append((tag, value, None) if tag == "color" else (tag, None, "size"))
                    end = match.end()
                if end:
                    at, part = end, part + 1
                    continue
        shown += common.paint(message[at], stack)
        parts.append(part)
        at += 1
    # Post.php lines 2101-2103: nothing left but white space once the tags are gone is no message.
    if not "".join(ch for ch, _, _ in shown).strip():
        raise ValueError("SMF refuses a post of white space only (no_message)")
    return smilies(shown, parts)


EXAMPLES = [
    ("blank line between units", "ab\n\ncd", ["--step", "2"]),
    ("typed tags stay text", "[b]x[/b] [color=red]y[/color]", []),
    ("entities stay text", "&#91; &amp; &quot;", ["--step", "3"]),
    ("a command at a line's start", "/me waves\n/ME too", []),
    ("a hundred dots stay", "." * 120, ["--size=", "--font="]),
    ("smilies stay text", ":) ;D 8) ??? ::) O0 ^-^ (:P", []),
    ("line breaks as CR LF, over the limit", "abcdefgh\n" * 2000, ["--size=", "--font="]),
]
