"""NGA (bbs.nga.cn) reading a post. NGA publishes no source: this follows its BBCode help pages only."""
import re

from ports import common

SOURCE = ("NGA has no public source; from its published BBCode help (the editor's 24 colour names, [b] [i] [u] "
          "[del], [size=N%], [font=name]), not from code; length as characters posted")

NAMES = {
    "skyblue": "#87ceeb", "royalblue": "#4169e1", "blue": "#0000ff", "darkblue": "#00008b", "orange": "#ffa500",
    "orangered": "#ff4500", "crimson": "#dc143c", "red": "#ff0000", "firebrick": "#b22222", "darkred": "#8b0000",
    "green": "#008000", "limegreen": "#32cd32", "seagreen": "#2e8b57", "teal": "#008080", "deeppink": "#ff1493",
    "tomato": "#ff6347", "coral": "#ff7f50", "purple": "#800080", "indigo": "#4b0082", "burlywood": "#deb887",
    "sandybrown": "#f4a460", "sienna": "#a0522d", "chocolate": "#d2691e", "silver": "#c0c0c0",
}
ALLOWED = set(NAMES.values())
SIMPLE = {"b": "bold", "i": "italic", "u": "underline", "del": "strike"}
TAG = re.compile(r"\[(/?)(b|i|u|del|color|size)(?:=(\w+%?))?\]", re.I)


def count(code):
    return len(common.crlf(code))


def read(code):
    shown, stack, at = [], [], 0
    while at < len(code):
        m = TAG.match(code, at)
        if m:
            closing, tag, value = m.group(1), m.group(2).lower(), m.group(3)
            if not closing and tag == "size" and value and re.fullmatch(r"\d+%", value):
                stack.append((tag, None, "size"))
            elif not closing and tag != "size" and (tag == "color") == (value is not None) and (
                    value is None or value in NAMES):
                stack.append((tag, NAMES[value], None) if value else (tag, None, SIMPLE[tag]))
            elif not (closing and common.close(stack, tag)):
                m = None
        shown += common.paint(code[at], stack) if not m else []
        at = m.end() if m else at + 1
    return shown


EXAMPLES = [
    ("named colours only", "渐变色文字", []),
    ("a size as a percentage", "大字", ["--size", "5", "--font="]),
    ("typed tags stay text", "[b]x[/b] [color=red]y[/color]", ["--step", "2"]),
]
