#!/bin/bash
# The install as a user gets it, in a temporary prefix: every file in place,
# the desktop's validators content, both manual pages clean, the CLI's page
# naming every option of its --help; then the installed window on a private X
# server wears the installed skin, the user's, or the black.she put beside it.
# Usage: installed_test.sh BUILD_DIR APP_ID OUTDIR

. "$(dirname "$0")/../e2e/lib.sh"

BUILD_DIR=$1 APP_ID=$2
PREFIX=$(mktemp -d)/usr
# ctest may stop us at any point; the prefix goes with the X server's files.
trap 'rm -rf "$(dirname "$PREFIX")"' EXIT
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null || { log "cmake --install failed"; exit 1; }
e2e_init "$PREFIX/bin/velmorant" "$PREFIX/bin/velmorant-cli" "$3"
trap 'e2e_cleanup; rm -rf "$(dirname "$PREFIX")"' EXIT

SHARE=$PREFIX/share
INSTALLED=(
    bin/velmorant
    bin/velmorant-cli
    "share/applications/$APP_ID.desktop"
    "share/metainfo/$APP_ID.metainfo.xml"
    "share/icons/hicolor/48x48/apps/$APP_ID.png"
    "share/icons/hicolor/128x128/apps/$APP_ID.png"
    "share/icons/hicolor/256x256/apps/$APP_ID.png"
    "share/icons/hicolor/scalable/apps/$APP_ID.svg"
    share/man/man1/velmorant.1
    share/man/man1/velmorant-cli.1
    share/velmorant/black.she
)

# A case that starts no program.
static_case() {
    CASE_OK=1
    log "case: $1"
    "$2"
    if [ "$CASE_OK" = 1 ]; then PASSED=$((PASSED + 1)); else FAILED=$((FAILED + 1)); log "  FAIL: $1"; fi
}

# png_size FILE: "W H"
png_size() { identify -format '%w %h' "$1" 2>/dev/null; }

files_in_place() {
    local f size
    for f in "${INSTALLED[@]}"; do
        check "$f is installed" [ -s "$PREFIX/$f" ]
    done
    check "bin/velmorant runs" [ -x "$PREFIX/bin/velmorant" ]
    check "bin/ holds no skin" [ ! -e "$PREFIX/bin/black.she" ]
    for size in 48 128 256; do
        check "the ${size}px icon is $size x $size" \
            [ "$(png_size "$SHARE/icons/hicolor/${size}x${size}/apps/$APP_ID.png")" = "$size $size" ]
    done
}

# validated WHAT COMMAND...: the command passes; its output goes to the log.
validated() {
    local what=$1 out status
    shift
    out=$("$@" 2>&1)
    status=$?
    [ -n "$out" ] && log "      $what says: $out"
    return $status
}

validators_content() {
    check "desktop-file-validate" validated desktop-file-validate desktop-file-validate "$SHARE/applications/$APP_ID.desktop"
    check "appstreamcli validate --no-net" validated appstreamcli appstreamcli validate --no-net "$SHARE/metainfo/$APP_ID.metainfo.xml"
    check "the entry starts the installed program" grep -qx 'Exec=velmorant' "$SHARE/applications/$APP_ID.desktop"
    check "the entry names the installed icon" grep -qx "Icon=$APP_ID" "$SHARE/applications/$APP_ID.desktop"
}

# man_clean PAGE: formats with no warning at all.
man_clean() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { log "      $warnings"; return 1; }
}

# The options --help names: words that start with - or -- after a blank or a comma.
help_options() {
    "$CLI" --help | grep -oE '(^|[[:space:],])--?[A-Za-z][A-Za-z0-9-]*' | sed 's/^[[:space:],]*//' | sort -u
}

# The sections each page has, one "page: heading" a row.
MAN_SECTIONS=(
    "velmorant: OPTIONS" "velmorant: EXIT STATUS" "velmorant: FILES" "velmorant: SEE ALSO"
    "velmorant-cli: DESCRIPTION" "velmorant-cli: OPTIONS" "velmorant-cli: COLOURS" "velmorant-cli: EXIT STATUS"
    "velmorant-cli: EXAMPLES" "velmorant-cli: REPORTING BUGS" "velmorant-cli: COPYRIGHT" "velmorant-cli: SEE ALSO"
)

# rendered PAGE: the page as man shows it, without overstriking.
rendered() { LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$SHARE/man/man1/$1.1" 2>/dev/null | col -b; }
# footer PAGE: the .TH line's date and source.
footer() { sed -n 's/^\.TH [^ ]* [^ ]* //p' "$SHARE/man/man1/$1.1" | sed 's/ "User Commands"$//'; }
# The NAME lines as whatis shows them ("name - what it is"): two different whats.
own_whatis() {
    local gui cli
    gui=$(lexgrog "$SHARE/man/man1/velmorant.1") cli=$(lexgrog "$SHARE/man/man1/velmorant-cli.1")
    log "      $gui"
    log "      $cli"
    [[ $gui == *' - '* && $cli == *' - '* && ${gui#* - } != "${cli#* - }" ]]
}

manual_pages() {
    local page opt text row
    for page in velmorant velmorant-cli; do
        check "$page.1 formats without warnings" man_clean "$SHARE/man/man1/$page.1"
    done
    for row in "${MAN_SECTIONS[@]}"; do
        check "${row%%:*}.1 has the section ${row#*: }" grep -qx "${row#*: }" <<<"$(rendered "${row%%:*}")"
    done
    for opt in -platform -style; do
        check "velmorant.1 names Qt's $opt" grep -q -- "^ *$opt " <<<"$(rendered velmorant)"
    done
    check "each page has a whatis line of its own" own_whatis
    check "the two footers agree ($(footer velmorant))" [ "$(footer velmorant)" = "$(footer velmorant-cli)" ]
    text=$(rendered velmorant-cli)
    local options
    options=$(help_options)
    check "--help names options" [ "$(wc -l <<<"$options")" -ge 10 ]
    for opt in $options; do
        check "velmorant-cli.1 names $opt" grep -qE -- "(^|[^A-Za-z0-9-])$opt([^A-Za-z0-9-]|\$)" <<<"$text"
    done
}

# The bare window surface, left of the frames.
SURFACE_X=3 SURFACE_Y=3

installed_skin() {
    local f
    f=$(shot_when installed_skin pixel_near $SURFACE_X $SURFACE_Y 0x26 0x28 0x2e 4)
    check "the window wears the installed dark skin" pixel_near "$f" $SURFACE_X $SURFACE_Y 0x26 0x28 0x2e 4
}

skin_beside_wins() {
    local f
    f=$(shot_when skin_beside pixel_near $SURFACE_X $SURFACE_Y 0x3c 0x6e 0x14 4)
    check "the window wears the black.she beside it" pixel_near "$f" $SURFACE_X $SURFACE_Y 0x3c 0x6e 0x14 4
}

static_case "the installed files" files_in_place
static_case "desktop entry and AppStream metadata" validators_content
static_case "manual pages" manual_pages
# A user's own skin, in their data folder (the user's normal one is left alone).
user_skin() {
    local f
    f=$(shot_when user_skin pixel_near $SURFACE_X $SURFACE_Y 0x14 0x50 0x6e 4)
    check "the window wears the user's skin" pixel_near "$f" $SURFACE_X $SURFACE_Y 0x14 0x50 0x6e 4
}

export XDG_DATA_HOME=$PREFIX/home-data
run_case "no black.she beside the program: the installed skin" installed_skin
mkfifo "$PREFIX/bin/black.she"
run_case "a FIFO named black.she beside the program: the installed skin" installed_skin
rm "$PREFIX/bin/black.she"
mkdir -p "$XDG_DATA_HOME/velmorant"
printf 'QWidget { background-color: #14506e; }\n' >"$XDG_DATA_HOME/velmorant/black.she"
run_case "a skin in the user's data folder comes before the installed one" user_skin
printf 'QWidget { background-color: #3c6e14; }\n' >"$PREFIX/bin/black.she"
run_case "a black.she beside the program wins" skin_beside_wins
e2e_finish
