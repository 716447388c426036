"""A Discuz! X3.5 signature: cut by cutstr() at the group's limit, then read as a post is."""
import re

from ports import discuz

SOURCE = ("Discuz! X3.5: source/include/spacecp/spacecp_profile.php lines 133-140 (cutstr($value, maxsigsize, ''), "
          "then discuzcode with smilies off); source/function/function_core.php lines 987-1042 (cutstr, UTF-8 "
          "branch); install/data/install_data.sql lines 843-848 (maxsigsize of groups 10-15: 80, 100, 150, 200, "
          "300, 500) and line 823 (group 11, 注册会员)")

LIMIT = 100  # 注册会员


def widths(string):
    """cutstr's loop (lines 997-1028) over the string with its entities marked: (byte end, noc) per step."""
    raw, n, noc, steps = string.encode("utf-8"), 0, 0, []
    while n < len(raw):
        t = raw[n]
        tn, width = ((1, 1) if t in (9, 10) or 32 <= t <= 126 else (2, 2) if 194 <= t <= 223
                     else (3, 2) if 224 <= t <= 239 else (4, 2) if 240 <= t <= 247 else (0, 0))
        n, noc = n + (tn or 1), noc + width
        steps.append((n, noc, tn))
    return raw, steps


ENTITIES = {"&amp;": "&", "&quot;": '"', "&lt;": "<", "&gt;": ">"}


def marked(string):
    """Line 994: &amp; &quot; &lt; &gt; become chr(1) char chr(1)."""
    return re.sub(r"&(amp|quot|lt|gt);", lambda m: "\x01" + ENTITIES[m[0]] + "\x01", string)


def count(code):
    _, steps = widths(marked(discuz.posted(code)))
    return steps[-1][1] if steps else 0


def cutstr(string, length):
    if len(string.encode("utf-8")) <= length:  # line 988
        return string
    raw, steps = widths(marked(string))
    n = len(raw)
    for end, noc, tn in steps:
        if noc >= length:  # line 1019
            n = end - tn if noc > length else end
            break
    cut = raw[:n].decode("utf-8", errors="ignore")
    return re.sub("\x01(.)\x01", lambda m: next(e for e, c in ENTITIES.items() if c == m[1]), cut)


def read(code):
    value = cutstr(discuz.posted(code), LIMIT)
    if value == discuz.posted(code):
        value = code  # nothing cut: the line breaks as the code has them
    # spacecp_profile.php line 138 trims the value before discuzcode
    return discuz.show(discuz.discuzcode(value.strip(" \t\n\r\0\x0b")))


EXAMPLES = [
    ("注册会员 holds a few", "渐变色签名", []),
    ("ASCII at one each", "Hello, world", ["--size=", "--font="]),
    ("entities in a signature", "&amp;&lt;", ["--size=", "--font="]),
]
