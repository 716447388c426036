"""XenForo 2 reading and counting a post, from its documentation alone: XenForo's source is not published,
so this follows what its BB code help page and options say, not its code."""
import re

from ports import common

SOURCE = ("XenForo 2 documentation only: the BB code help page (help/bb-codes: [B], [I], [U], [S], [COLOR=color], "
          "[FONT=font], [SIZE=1-7], [URL], [EMAIL], [USER], [IMG], [MEDIA], [ATTACH], [LIST], [*], [LEFT], "
          "[CENTER], [RIGHT], [INDENT], [QUOTE], [SPOILER], [ISPOILER], [CODE], [ICODE], [PLAIN], [TABLE], "
          "[HEADING]: tags nest, unknown tags stay text, [PLAIN] and the code tags show their content as text); "
          "Options > Messages > Maximum message length (10,000 characters by default)")

MAX_MESSAGE_LENGTH = 10000
KNOWN = {"B", "I", "U", "S", "COLOR", "FONT", "SIZE", "URL", "EMAIL", "USER", "IMG", "MEDIA", "ATTACH", "LIST", "*",
         "LEFT", "CENTER", "RIGHT", "INDENT", "QUOTE", "SPOILER", "ISPOILER", "CODE", "ICODE", "PHP", "HTML",
         "PLAIN", "TABLE", "TR", "TD", "TH", "HEADING"}
LITERAL = {"CODE", "ICODE", "PHP", "HTML", "PLAIN"}
STYLE_OF = {"B": "bold", "I": "italic", "U": "underline", "S": "strike", "SIZE": "size", "FONT": "font"}
TAG = re.compile(r"""\[(/?)([a-z0-9_*]+)(?:=("[^"\]]*"|'[^'\]]*'|[^\]]*))?\]""", re.I)
TRIMS = common.PHP_TRIM  # CR is gone by then


def posted(code):
    """The message as stored: line breaks as LF, trimmed."""
    return common.lf(code).strip(TRIMS)


def count(code):
    return len(posted(code))


def read(code):
    if not posted(code):
        raise ValueError("an empty message")
    text = posted(code)
    if len(text) > MAX_MESSAGE_LENGTH:
        raise ValueError(f"{len(text)} characters, over the maximum message length {MAX_MESSAGE_LENGTH}")
    shown, stack, at = [], [], 0
    for m in TAG.finditer(text):
        closing, name, option = m[1] == "/", m[2].upper(), m[3]
        if name not in KNOWN or stack and stack[-1][0] in LITERAL and not (closing and name == stack[-1][0]):
            continue
        if closing:
            if not any(n == name for n, _, _ in stack):
                continue
            shown += common.paint(text[at:m.start()], stack)
            common.close(stack, name)
        else:
            if name == "SIZE" and not (option and re.fullmatch(r"[1-7]|[0-9]+px", option)):
                continue
            shown += common.paint(text[at:m.start()], stack)
            colour = (option or "").strip("\"'").lower() if name == "COLOR" else None
            stack.append((name, colour, STYLE_OF.get(name)))
        at = m.end()
    return shown + common.paint(text[at:], stack)


EXAMPLES = [
    ("'[x' 5,100 times", "[x" * 5100, ["--step", "50"]),
    ("'a&' 9,000 times", "a&" * 9000, ["--size=", "--font="]),
    ("typed tags stay text", "[b]x[/b] [plain]y[/plain] [color=red]z[/color] [*]", ["--bold", "--strike"]),
    ("CR LF counted as one", "ab\r\ncd\r\n" * 3, ["--step", "2", "--size=7"]),
]
