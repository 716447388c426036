"""Discuz! X3.5 reading and counting a post on a UTF-8 site, step by step as its PHP does."""
import re

from ports import common

SOURCE = ("Discuz! X3.5: source/module/forum/forum_post.php line 208 (the message as posted); "
          "source/function/function_post.php lines 378-385 (checkpost: strlen($message) > maxpostsize); "
          "install/data/install_data.sql line 419 (maxpostsize 10000); source/function/function_core.php lines "
          "212-234 (dhtmlspecialchars); source/function/function_discuzcode.php lines 106-176 (discuzcode: the "
          "str_replace and preg_replace of [color], [size], [font], [b], [i], [u], [s]) and line 319 (nl2br)")

LIMIT = 10000

# function_discuzcode.php lines 146-175: the replacements the code can meet, in the order they apply
# (the preg_replace first, then str_replace over its result).
OPENING = [
    (re.compile(r"\[color=([#\w]+?)\]", re.I), "color"),
    (re.compile(r"\[size=(\d{1,2}?)\]", re.I), "size"),
    (re.compile(r"\[size=(\d{1,2}(\.\d{1,5})?(px|pt)+?)\]", re.I), "size"),
    (re.compile(r"\[font=([^\[\<]+?)\]", re.I), "font"),
]
STARTS = {"b": ("strong", "bold"), "s": ("strike", "strike"), "i": ("i", "italic"), "u": ("u", "underline")}
ENDS = {"b": "strong", "s": "strike", "i": "i", "u": "u", "color": "font", "size": "font", "font": "font"}
SIMPLE = re.compile(r"(?ai)\[(/?)([a-z]+)\]")  # str_replace: exact tags, ASCII case-insensitive


# install/data/install_data.sql lines 663-686: the default smilies; parsesmiles() (function_discuzcode.php
# lines 666-680) puts an image for each, before the tags are read (line 118). Group 2's "{:2_N:}" too.
SMILIES = sorted([":)", ":(", ":D", ":'(", ":@", ":o", ":P", ":$", ";P", ":L", ":Q", ":lol", ":loveliness:",
                  ":funk:", ":curse:", ":dizzy:", ":shutup:", ":sleepy:", ":hug:", ":victory:", ":time:", ":kiss:",
                  ":handshake", ":call:"], key=len, reverse=True)
IMAGE = "\ufffc"  # what a smiley shows instead of its code


posted = common.crlf


def count(code):
    return len(posted(code).encode("utf-8"))


def discuzcode(message):
    """The message as HTML elements: a list of ('open', tag, style or colour), ('close', tag) and characters."""
    # dhtmlspecialchars (function_core.php line 219) turns & " < > into entities: they show as typed, so
    # the characters are kept here as they are. Then the tags, left to right (preg_replace then str_replace
    # leave the same elements for well-formed tags, and text that matches no pattern stays text).
    out, at = [], 0
    while at < len(message):
        smiley = next((m for m in SMILIES if message.startswith(m, at)), None) or (
            re.match(r"\{:\d+_\d+:\}", message[at:]) or [None])[0]
        opening = next(((m, kind) for pattern, kind in OPENING if (m := pattern.match(message, at))), None)
        simple = SIMPLE.match(message, at)
        name = simple and (ENDS if simple[1] else STARTS).get(simple[2].lower())
        if smiley:
            out.append(IMAGE)
            at += len(smiley)
        elif opening:
            out.append(("open", "font", opening[0].group(1).lower() if opening[1] == "color" else opening[1]))
            at = opening[0].end()
        elif name:
            out.append(("close", name) if simple[1] else ("open", *name))
            at = simple.end()
        else:
            out.append(message[at])
            at += 1
    return out


def show(elements):
    """What a browser shows: HTML's elements close the innermost open one of their name."""
    shown, stack = [], []
    for e in elements:
        if isinstance(e, str):
            shown += common.paint(e, stack)
        elif e[0] == "open":
            colour = e[2] if e[2] and e[2].startswith("#") else None
            stack.append((e[1], colour if e[1] == "font" else None, None if colour else e[2]))
        else:
            at = next((i for i in range(len(stack) - 1, -1, -1) if stack[i][0] == e[1]), None)
            if at is not None:
                del stack[at]
    return shown


def read(code):
    # The line breaks as the code has them: CR LF or LF alone show as one.
    if count(code) > LIMIT:
        raise ValueError(f"{count(code)} bytes, over maxpostsize {LIMIT}")
    return show(discuzcode(code))


EXAMPLES = [
    ("416 characters fit", "渐" * 416, ["--size=", "--font=", "--fit", "10000"]),
    ("typed tags stay text", "[b]x[/b] [color=red]y[/color] [size=7]z", []),
    ("entities stay text", "&#123; &amp; &lt;", ["--step", "2"]),
    ("smilies stay text", ":) :'( ;P :lol {:2_25:}", []),
]
