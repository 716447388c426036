"""MyBB 1.8 reading and counting a post, step by step."""
import html
import re

from ports import common

SOURCE = ("MyBB 1.8.37: inc/datahandlers/post.php lines 245-262; inc/functions.php lines 8696-8760 "
          "(trim_blank_chrs); install/resources/settings.xml line 1326; inc/class_parser.php lines 156, 192, "
          "209-214, 300-306, 321-416, 510-560, 825-856, 1221-1230")

MAX_MESSAGE_LENGTH = 65535  # settings.xml line 1326
ME_USERNAME = "poster"      # showthread.php passes the poster's name as me_username

# functions.php lines 8698-8714: the characters trim_blank_chrs takes off both ends.
BLANKS = ("\t\n\x0b\r \x81\x8d\x90\x9d\xa0\xad\u0337\u0338\u115f\u1160\u1680\u180e"
          + "".join(chr(c) for c in range(0x2000, 0x2010)) + "".join(chr(c) for c in range(0x2028, 0x2030))
          + "\u205f\u3000\u3164\ufeff\uffa0\ufff9\ufffa\ufffb")
TRIMS = BLANKS


def posted(code):
    """The message as post.php verifies it: the textarea's CR LF line breaks, trimmed (post.php line 247)."""
    return common.crlf(code).strip(BLANKS)


def count(code):
    # post.php lines 255-258: strlen(), bytes of UTF-8, against maxmessagelength.
    return len(posted(code).encode("utf-8", "surrogatepass"))


def _nestable(pattern, replace, message):
    # class_parser.php lines 537-546: replaced again while anything matches.
    while re.search(pattern, message):
        message = re.sub(pattern, replace, message)
    return message


def to_html(message):
    """class_parser.php parse_message() and parse_mycode() with the default settings, as HTML."""
    message = message.replace("\r", "")                                           # line 156
    message = re.sub(r"&(?!#[0-9]+;)", "&amp;", message, flags=re.S | re.I)      # lines 300-306
    message = message.replace("<", "&lt;").replace(">", "&gt;")
    me = "<span me>* " + ME_USERNAME + " "                                         # lines 209-214
    for command, said in (("me", "{}"), ("slap", "slaps {} around a bit with a large trout")):
        message = re.sub(r"(>|^|\r|\n)/" + command + r" ([^\r\n<]*)",
                         lambda m: m[1] + me + said.format(m[2]) + "</span>", message, flags=re.I)
    message = message.replace("$", "&#36;")                                        # line 519
    # lines 321-350, one preg_replace() over the array: each pattern once, left to right.
    for tag, style in (("b", "bold"), ("u", "underline"), ("i", "italic"), ("s", "strike")):
        message = re.sub(r"\[" + tag + r"\](.*?)\[/" + tag + r"\]", r'<span style="' + style + r'">\1</span>',
                         message, flags=re.S | re.I)
    message = re.sub(r"\[hr\]", "<hr>", message, flags=re.S | re.I)
    for sign, entity in (("c", "&copy;"), ("tm", "&#153;"), ("r", "&reg;")):
        message = re.sub(r"\(" + sign + r"\)", entity, message, flags=re.I)
    # lines 396-397 with 825-856: [size=N] in points, a callback applied once.
    message = re.sub(r"\[size=([0-9\+\-]+?)\](.*?)\[/size\]", r'<span style="size">\2</span>', message,
                     flags=re.S | re.I)
    message = _nestable(r"(?si)\[color=([a-zA-Z]*|\#?[\da-fA-F]{3}|\#?[\da-fA-F]{6})](.*?)\[/color\]",
                        r'<span style="color: \1">\2</span>', message)             # lines 385-386
    message = _nestable(r"(?si)\[size=(xx-small|x-small|small|medium|large|x-large|xx-large)\](.*?)\[/size\]",
                        r'<span style="size">\2</span>', message)                 # lines 393-394
    message = _nestable(r"(?si)\[align=(left|center|right|justify)\](.*?)\[/align\]", r"<div>\2</div>", message)
    message = _nestable(r"(?si)\[font=\s*(\"?)([a-z0-9 ,\-_'\"]+)\1\s*\](.*?)\[/font\]",
                        r'<span style="font">\3</span>', message)                 # lines 413-414
    return message


def read(code):
    if not posted(code):
        raise ValueError("an empty message")
    if count(code) > MAX_MESSAGE_LENGTH:
        raise ValueError(f"{count(code)} bytes, over maxmessagelength {MAX_MESSAGE_LENGTH}")
    shown, spans = [], []  # spans: (None, colour, style) per open element
    for piece in re.split(r"(<[^>]*>)", to_html(posted(code))):
        m = re.match(r'<(/)?(span me|span|div|hr)(?: style="(?:color: (.*)|(\w+))")?', piece)
        if not m:
            shown += common.paint(html.unescape(piece), spans)
        elif m[1]:
            spans.pop()
        else:
            if m[2] in ("span me", "hr"):
                shown.append(("\0", None, frozenset()))  # a rule or a /me line is never the typed text
            if m[2] != "hr":
                colour = m[3]
                if colour and re.fullmatch(r"#?[0-9a-fA-F]{6}", colour):
                    colour = "#" + colour.lstrip("#").lower()
                spans.append((None, colour, m[4]))
    return shown


EXAMPLES = [
    ("'[x' 5,100 times", "[x" * 5100, ["--step", "500"]),
    ("'a&' 9,000 times fitted in bytes", "a&" * 9000, ["--size=", "--font="]),
    ("typed MyCode stays text", "[b]x[/b] [color=red]y[/color] [hr] [size=3]z[/size] [font=Arial]f[/font]",
     ["--bold", "--step", "3"]),
    ("references, symbols and /me", "&#91; &#x5b; (c) (TM) (r)\n/me waves\n/slap you", ["--strike"]),
    ("a CJK font name is left out", "渐变", ["--font=宋体", "--size=7"]),
]
