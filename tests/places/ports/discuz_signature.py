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
    raw = string.encode("utf-8")
    n = noc = 0
    steps = []
    while n < len(raw):
        t = raw[n]
        if t == 9 or t == 10 or 32 <= t <= 126:
            tn, n, noc = 1, n + 1, noc + 1
        elif 194 <= t <= 223:
            tn, n, noc = 2, n + 2, noc + 2
        elif 224 <= t <= 239:
            tn, n, noc = 3, n + 3, noc + 2
        elif 240 <= t <= 247:
            tn, n, noc = 4, n + 4, noc + 2
        else:
            tn, n = 0, n + 1
        steps.append((n, noc, tn))
    return raw, steps


def marked(string):
    """Line 994: &amp; &quot; &lt; &gt; become chr(1) char chr(1)."""
    return re.sub(r"&(amp|quot|lt|gt);", lambda m: "\x01" + {"amp": "&", "quot": '"', "lt": "<", "gt": ">"}[
        m.group(1)] + "\x01", string)


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
    return re.sub("\x01(.)\x01", lambda m: {"&": "&amp;", '"': "&quot;", "<": "&lt;", ">": "&gt;"}[m.group(1)], cut)


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
