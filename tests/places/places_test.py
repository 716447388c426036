#!/usr/bin/env python3
"""Every place's code read the place's own way.

For each destination the CLI lists, a port of that place's reader
(ports/<name>.py, citing the engine's files and lines) reads the code the CLI
writes for it, and this checks what a person posting it would see: the typed
text, each grapheme cluster in one colour, the first and last stops on the
first and last units, only colours the place allows, the styles asked for, and
the length the CLI reports equal to the place's own count and within its limit.

Usage: places_test.py CLI [SEED [TEXTS [PLACE,...]]]   (make fuzz runs more texts)
"""
import importlib
import json
import random
import re
import subprocess
import unicodedata
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))

cli = sys.argv[1]
seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
texts_per_place = int(sys.argv[3]) if len(sys.argv) > 3 else 30
only = set(sys.argv[4].split(",")) if len(sys.argv) > 4 else None

# Pieces people type that readers take for markup, and characters made of
# several code points. No script whose clusters changed after Unicode 15.
PIECES = [
    "a", "Z", "9", " ", "  ", "\t", "\n", "\r\n", "渐", "变", "，", "é", "e\u0301", "n\u0303\u0323",
    "[", "]", "[b]", "[/color]", "[color=red]", "[url]", "&", "&amp;", "&#91;", "&#", "<", ">", "<b>", "\\", "\\<",
    "§", "§c", "§x", "&l", "&#ff0000", "#", '"', "'", ":", "/", "%", "`", "```",
    "\U0001F468\u200d\U0001F469\u200d\U0001F467", "\U0001F1E8\U0001F1F3", "\U0001F44D\U0001F3FD", "\u2764\ufe0f",
]
STYLES = ["bold", "italic", "underline", "strike"]
COLOURS = ["red", "blue", "#00ff00", "ff00ff", "#123456", "white", "black", "orange", "#808080"]

failures = []


def run(args, text):
    return subprocess.run([cli, *args], input=text.encode(), capture_output=True, timeout=60)


description = json.loads(run(["--list=description"], "").stdout)
formats = {f["name"]: f for f in description["formats"]}


def graphemes(*texts):
    """Extended grapheme clusters by ICU, through node: a reader apart from ours."""
    script = ("const s=new Intl.Segmenter('en',{granularity:'grapheme'});"
              "const t=JSON.parse(require('fs').readFileSync(0,'utf8'));"
              "process.stdout.write(JSON.stringify(t.map(x=>[...s.segment(x)].map(g=>g.segment))));")
    done = subprocess.run(["node", "-e", script], input=json.dumps(texts).encode(), capture_output=True, check=True)
    return json.loads(done.stdout)


def linear(c):
    c /= 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def oklab(hex_colour):
    r, g, b = (linear(int(hex_colour[i:i + 2], 16)) for i in (1, 3, 5))
    l_, m, s = (0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b,
                0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b,
                0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b)
    l_, m, s = (x ** (1 / 3) for x in (l_, m, s))
    return (0.2104542553 * l_ + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l_ - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l_ + 0.7827717662 * m - 0.8086757660 * s)


def nearest(allowed, hex_colour):
    target = oklab(hex_colour)
    return min(sorted(allowed or [hex_colour]), key=lambda c: sum((a - b) ** 2 for a, b in zip(oklab(c), target)))


def colour_of(name):
    """A stop as the CLI reads it, from its own --colours echo."""
    done = run(["--colours", f"{name},{name}", "--format", "span", "--size=", "--font="], "x")
    return re.search(r"#([0-9a-f]{6})", done.stdout.decode()).group(0)


def lines(text):
    return text.replace("\r\n", "\n").replace("\r", "\n")


def check(place, port, case, text, args, clusters):
    def fail(what):
        failures.append(f"{place['name']} [{case}]: {what}")

    typed = text.strip(" ")
    done = run(["--to", place["name"], "--stats", *args], text)
    err = done.stderr.decode(errors="replace")
    if done.returncode == 3:
        return  # nothing fits: said, not written
    if done.returncode != 0:
        return fail(f"exit {done.returncode}: {err.strip()}")
    code = done.stdout.decode()
    try:
        shown = port.read(code)
    except ValueError as refusal:
        if not typed.strip():
            return  # a post of white space only shows nothing anywhere: a place may refuse it
        return fail(f"the place refuses the code: {refusal}\n    code {code[:300]!r}")
    expected = getattr(port, "shown_as", lambda t: t)(typed)
    # A place that composes text to NFC shows the same characters in fewer code points.
    normalizes = getattr(port, "NORMALIZES", None)
    if normalizes:
        typed = expected = unicodedata.normalize(normalizes, expected)
        clusters = graphemes(typed)[0]
    # A place that trims the post's ends drops white space left untagged there, which showed nothing.
    trims = getattr(port, "TRIMS", "")
    cut_head = cut_tail = False  # the ends' units were trimmed away, so other units stand at the ends
    if trims:
        cut_head, cut_tail = expected != expected.lstrip(trims), expected != expected.rstrip(trims)
        kept = [i for i, (ch, _, _) in enumerate(shown) if ch not in trims]
        shown = shown[kept[0]:kept[-1] + 1] if kept else []
        typed = expected = expected.strip(trims)
        clusters = graphemes(typed)[0] if typed else []
    seen = "".join(ch for ch, _, _ in shown)
    if lines(seen) != lines(expected):
        return fail(f"shows {seen[:200]!r}, typed {expected[:200]!r}\n    code {code[:300]!r}")
    if expected != typed and "cannot show" not in err:
        fail("a character the place cannot show went unsaid")
    allowed = getattr(port, "ALLOWED", None)
    # Colours per cluster, when the text is shown whole.
    if expected == typed:
        at, unit_colours = 0, []
        for cluster in clusters:
            # A place that stores line breaks as LF shows CR LF as one character.
            size = len(cluster)
            if "".join(ch for ch, _, _ in shown[at:at + size]) != cluster:
                size = len(lines(cluster))
            colours = {colour for _, colour, _ in shown[at:at + size]}
            at += size
            if len(colours) > 1:
                fail(f"cluster {cluster!r} in {len(colours)} colours")
            unit_colours.append(colours.pop())
        painted = [c for c in unit_colours if c]
        stops = [a for a in args if a.startswith("--start=") or a.startswith("--end=")]
        if painted and len(stops) == 2 and len([c for c in clusters if c.strip()]) > 1:
            first, last = (nearest(allowed, colour_of(s.split("=", 1)[1])) for s in stops)
            for end, unit, stop, cut in (("first", 0, first, cut_head), ("last", -1, last, cut_tail)):
                if unit_colours[unit] and unit_colours[unit] != stop and not cut:
                    fail(f"{end} unit {unit_colours[unit]}, {end} stop {stop}")
        if allowed and set(painted) - set(allowed):
            fail(f"colours the place lacks: {sorted(set(painted) - set(allowed))}")
    has = set(formats[place["format"]]["styles"])
    for style in STYLES:
        if f"--{style}" in args and style in has and any(style not in s for ch, _, s in shown if ch.strip()):
            fail(f"{style} asked for, not on every character")
    reported = re.search(r"; (\d+) .* as .* counts", err)
    if not reported:
        return fail(f"--stats gives no count the place's way: {err.strip()}")
    counted = port.count(code)
    # Composing or trimming can only shorten: the CLI's count is then an upper bound.
    shortened = normalizes or (trims and code != code.strip(trims))
    if counted != int(reported.group(1)) and not (shortened and counted < int(reported.group(1))):
        fail(f"the CLI counts {reported.group(1)}, the place {counted}")
    if "--step" not in " ".join(args) and place["length"] is not None and counted > place["length"]:
        fail(f"{counted} over the place's {place['length']}")
    if place["tags"] is not None and hasattr(port, "tag_uses"):
        for tag, uses in port.tag_uses(code).items():
            if uses > place["tags"]:
                fail(f"[{tag}] used {uses} times, over {place['tags']}")


def random_case(rng):
    text = "".join(rng.choice(PIECES) for _ in range(rng.randint(1, 40)))
    if not text.strip(" "):
        text += "x"
    args = [f"--start={rng.choice(COLOURS)}", f"--end={rng.choice(COLOURS)}"]
    if rng.random() < 0.5:
        args += [f"--step={rng.randint(1, 5)}"]
    args += [f"--{s}" for s in STYLES if rng.random() < 0.3]
    if rng.random() < 0.5:
        args += ["--size=", "--font="]
    return text, args


rng = random.Random(seed)
for place in description["destinations"]:
    if only and place["name"] not in only:
        continue
    try:
        port = importlib.import_module("ports." + place["name"].replace("-", "_"))
    except ModuleNotFoundError:
        failures.append(f"{place['name']} [port]: no reader: tests/places/ports/{place['name'].replace('-', '_')}.py")
        continue
    cases = [(name, text, ["--start=red", "--end=blue", *args]) for name, text, args in port.EXAMPLES]
    cases += [(f"random {i}", *random_case(rng)) for i in range(texts_per_place)]
    clusters = graphemes(*(text.strip(" ") for _, text, _ in cases))
    for (name, text, args), split in zip(cases, clusters):
        check(place, port, name, text, args, split)

for line in failures:
    print("FAIL:", line)
print(f"{len(failures)} failures (seed {seed}, {texts_per_place} random texts a place)")
sys.exit(1 if failures else 0)
