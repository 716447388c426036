#!/usr/bin/env python3
"""No front end keeps a copy of the core's lists or start-up values.

Usage: one_home_test.py CLI SOURCE_DIR

Takes every list (settings, formats, blends, palettes, fonts, sizes) and every
start-up value from CLI --list=description and looks through web/, cli/, app/
and dist/ for two or more names of one list side by side (a list literal, an
option list in a string) and for a start-up value written out.
"""
import json
import pathlib
import re
import subprocess
import sys

cli, root = sys.argv[1], pathlib.Path(sys.argv[2])
d = json.loads(subprocess.run([cli, "--list=description"], check=True, capture_output=True, text=True).stdout)

LISTS = {
    "settings": [s["name"] for s in d["settings"]],
    "formats": [f["name"] for f in d["formats"]],
    "blends": [b["name"] for b in d["blends"]],
    "palettes": [p["name"] for p in d["palettes"]],
    "fonts": d["fonts"],
    "sizes": d["sizes"],
}

# Literals the window specifies for itself, by file, as the failure would name them.
ALLOWED = {
    # Each of the window's faces needs its own installed stand-in on Linux.
    "app/fonts.cpp": {"a list of fonts: 宋体, 新宋体, 楷体_GB2312, 黑体", "the start-up value '宋体'"},
    # The window's own captions are set in 宋体, whatever the font setting.
    "app/form1.cpp": {"the start-up value '宋体'"},
    "app/form1_controls.cpp": {"the start-up value '宋体'"},
}

# Start-up values worth finding: not a bare number, not a word of the lists
# that is common elsewhere (the format "default", the blend "srgb").
common = set(LISTS["formats"]) | set(LISTS["blends"])
values = set()
for setting in d["settings"]:
    for value in setting["startup"].split(",") if setting["kind"] == "stops" else [setting["startup"]]:
        if len(value) >= 2 and not value.isdigit() and value not in common:
            values.add(value)
values.add(d["startup"]["text"].strip())


def value_pattern(value):
    # A code or a word stands alone; a text with punctuation counts as a literal, after its quote.
    if re.fullmatch(r"\w+", value):
        return re.compile(r"(?<!\w)" + re.escape(value) + r"(?!\w)", re.IGNORECASE)
    return re.compile(r"[\"'`]" + re.escape(value))


VALUE_PATTERNS = {value: value_pattern(value) for value in values}

# An apostrophe inside a word (Qt's) opens no literal.
QUOTED = re.compile(r"\"(?:[^\"\\\n]|\\.)*\"|(?<!\w)'(?:[^'\\\n]|\\.)*'|`[^`]*`")


def tokens(text):
    """(token, line) in order: words of string literals, and option-like words outside;
    any other word outside a literal is an empty token, which ends a list."""
    at = 0
    for match in QUOTED.finditer(text + '""'):
        line = text.count("\n", 0, match.start()) + 1
        for word in re.split(r"[\s,|()\[\]{};]+", text[at:match.start()]):
            if word:
                yield (word if word.startswith("--") else "", line)
        for word in re.split(r"[\s,|]+", match.group()[1:-1]):
            if word:
                yield (word, line)
        at = match.end()


def names(token, items, options):
    if token in items:
        return token
    if options and token.startswith("--") and token[2:] in items:
        return token[2:]
    return None


failures = []
for folder in ("web", "cli", "app", "dist"):
    for path in sorted((root / folder).rglob("*")):
        if not path.is_file() or path.suffix in {".png", ".svg", ".ico", ".she", ".wasm"}:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        relative = str(path.relative_to(root))
        allowed = ALLOWED.get(relative, {})
        seq = list(tokens(text))
        for list_name, items in LISTS.items():
            items = set(items)
            run = []
            for token, line in seq + [("", 0)]:
                name = names(token, items, list_name == "settings")
                if name and name not in [n for n, _ in run]:
                    run.append((name, line))
                    continue
                found = f"a list of {list_name}: {', '.join(n for n, _ in run)}"
                if len(run) >= 2 and found not in allowed:
                    failures.append(f"{relative}:{run[0][1]}: {found}")
                run = [(name, line)] if name else []
        for value, pattern in VALUE_PATTERNS.items():
            for match in pattern.finditer(text):
                if f"the start-up value {value!r}" not in allowed:
                    line = text.count("\n", 0, match.start()) + 1
                    failures.append(f"{relative}:{line}: the start-up value {value!r}")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(failures)} copies of the core's lists or start-up values")
sys.exit(1 if failures else 0)
