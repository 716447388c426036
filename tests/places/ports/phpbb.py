"""phpBB 3.3 (s9e\\TextFormatter) reading and counting a post, step by step."""
import collections
import re
import unicodedata

from ports import common

SOURCE = ("phpBB 3.3.x: phpBB/phpbb/request/type_cast_helper.php lines 39-50; phpBB/includes/message_parser.php "
          "lines 1157-1160 and 1250; phpBB/install/schemas/schema_data.sql lines 225-226; "
          "phpBB/phpbb/textformatter/s9e/factory.php lines 76-105, 111-116 and 227; "
          "phpBB/phpbb/textformatter/s9e/parser.php lines 358-373. s9e\\TextFormatter: "
          "src/Plugins/BBCodes/Configurator.php line 72; src/Plugins/BBCodes/Parser.php lines 64-89, 167-355; "
          "src/Configurator/Items/Tag.php lines 52 and 62; src/Parser.php lines 1403-1460 and 1523-1559; "
          "src/Configurator/Items/AttributeFilters/ColorFilter.php line 17")

NORMALIZES = "NFC"          # type_cast_helper.php line 50
MAX_POST_CHARS = 60000      # schema_data.sql line 225
MAX_FONT_SIZE = 200         # schema_data.sql line 226
TAG_LIMIT = 5000            # Tag.php line 62
NESTING_LIMIT = 10          # Tag.php line 52

# factory.php lines 76-105: the default BBCodes ("li" is [*]).
KNOWN = {"ATTACHMENT", "B", "CODE", "COLOR", "EMAIL", "FLASH", "I", "IMG", "LIST", "*", "QUOTE", "SIZE", "U", "URL"}
STYLE_OF = {"B": "bold", "I": "italic", "U": "underline", "SIZE": "size"}

# Configurator.php line 72 (PCRE without /u: \w and \s are ASCII).
TAG_START = re.compile(r"\[/?(\*|[-\w]+)(?=[\]\s=:/])", re.ASCII)
SUFFIX = re.compile(r":[0-9]*")
# ColorFilter.php line 17.
COLOUR = re.compile(r"(?:#(?:(?:[0-9a-f]{3}){1,2}|(?:[0-9a-f]{4}){1,2})|rgb\(\d{1,3}, *\d{1,3}, *\d{1,3}\)"
                    r"|rgba\(\d{1,3}, *\d{1,3}, *\d{1,3}, *\d*(?:\.\d+)?\)|[a-z]+)\Z", re.I)
# Parser.php line 245: an unquoted attribute value.
UNQUOTED = re.compile(r"(?:[^\s\]]|[ \t](?!\s*(?:[-\w]+=|/?\])))*", re.ASCII)
TRIMS = common.PHP_TRIM


def posted(code):
    """What phpBB holds after the browser and its request filter: a textarea sends every line break as
    CR LF; type_cast_helper.php lines 39-50 turn CR LF and CR into LF, drop NUL and U+FEFF, trim, escape
    (htmlspecialchars, ENT_COMPAT) and compose to NFC."""
    text = common.lf(common.crlf(code)).replace("\0", "").replace("\ufeff", "").strip(TRIMS)
    text = text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;").replace(">", "&gt;")
    return unicodedata.normalize("NFC", text)


def count(code):
    # message_parser.php line 1157: utf8_strlen of the escaped message, against max_post_chars.
    return len(posted(code))


def _unescape(text):
    # message_parser.php line 1250: the parser gets html_entity_decode() of the escaped message.
    return text.replace("&quot;", '"').replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&")


def tokens(text):
    """The tags BBCodes\\Parser finds (Parser.php lines 64-89 and 258-333): (start, end, name, is_end, value)."""
    found = []
    for m in TAG_START.finditer(text):
        name = m.group(1).upper()
        if name not in KNOWN:
            continue
        suffix = SUFFIX.match(text, m.end())                # lines 343-355
        pos = suffix.end() if suffix else m.end()
        if text[m.start() + 1] == "/":                      # lines 263-275
            if text.startswith("]", pos) and not suffix:
                found.append((m.start(), pos + 1, name, True, None))
            continue
        value = None
        while pos < len(text):                              # lines 167-221, the default attribute only
            c = text[pos]
            if c in " \n\t":
                pos += 1
                continue
            if c in "/]":
                break
            if c == "=" and value is None and pos == m.end():
                pos += 1
                if pos >= len(text):
                    break
                if text[pos] in "\"'":                      # lines 362-395
                    close = text.find(text[pos], pos + 1)
                    if close < 0:
                        break
                    value, pos = text[pos + 1:close], close + 1
                else:
                    value = UNQUOTED.match(text, pos).group(0)
                    pos += len(value)
                continue
            attribute = re.match(r"[-\w]+=", text[pos:], re.ASCII)
            if not attribute:
                break
            pos = UNQUOTED.match(text, pos + len(attribute.group(0))).end()
        end = re.compile(r"/?\]").match(text, pos)          # lines 280-295
        if end:
            found.append((m.start(), end.end(), name, False, value))
    return found


def tag_uses(code):
    return collections.Counter(name.lower() for _, _, name, is_end, _ in tokens(_unescape(posted(code))) if not is_end)


def read(code):
    if not posted(code):
        raise ValueError("an empty message")
    text = _unescape(posted(code))
    if len(posted(code)) > MAX_POST_CHARS:
        raise ValueError(f"{len(posted(code))} characters, over max_post_chars {MAX_POST_CHARS}")
    shown = []
    stack = []          # open tags: (name, colour, style)
    started = {}        # src/Parser.php line 1419: start tags so far, per name
    at = 0
    for start, end, name, is_end, value in tokens(text):
        if start < at:
            continue                                        # overlaps a tag already taken
        if any(n == "CODE" for n, _, _ in stack) and not (is_end and name == "CODE"):
            continue                                        # [code] shows its content as text
        if is_end:
            # src/Parser.php lines 1523-1559: an end tag closes its start tag and those opened after it.
            if not any(n == name for n, _, _ in stack):
                continue
            shown += common.paint(text[at:start], stack)
            common.close(stack, name)
            at = end
            continue
        if started.get(name, 0) >= TAG_LIMIT:               # src/Parser.php lines 1419-1431
            continue
        if name == "COLOR" and not (value and COLOUR.match(value)):
            continue                                        # the attribute filter invalidates the tag
        if name == "SIZE":
            # parser.php lines 358-373: over the board's maximum is an error that refuses the post.
            if not value or not re.fullmatch(r"[0-9]+(?:\.[0-9]+)?", value) or float(value) < 1:
                continue
            if float(value) > MAX_FONT_SIZE:
                raise ValueError(f"[size={value}] over max_post_font_size {MAX_FONT_SIZE}")
        if sum(1 for n, _, _ in stack if n == name) >= NESTING_LIMIT:
            continue                                        # src/Parser.php lines 1449-1458
        started[name] = started.get(name, 0) + 1
        shown += common.paint(text[at:start], stack)
        stack.append((name, value.lower() if name == "COLOR" else None, STYLE_OF.get(name)))
        at = end
    return shown + common.paint(text[at:], stack)


EXAMPLES = [
    ("'[x' 5,100 times, no tag spent on it", "[x" * 5100, ["--step", "500"]),
    ("'a&' 9,000 times fitted the phpBB way", "a&" * 9000, ["--size=", "--font="]),
    ("typed tags stay text", "[b]bold?[/b] [color=red]x[/color] [*] [url=x]y[/url] [b:1]", ["--bold"]),
    ("a typed tag cut by units", "[size=9]a[/size]", ["--step", "1", "--italic"]),
    ("entities and quotes", "&amp; &#91; <b> \"q\" 'a'", ["--underline"]),
]
