#!/bin/bash
# The main road through the real window: convert, copy to the system
# clipboard, paste from it, and the preview drawn in the gradient colours;
# paste from a clipboard without text, and from one whose owner fails.
# Usage: main_road_test.sh BINARY CLI OUTDIR

. "$(dirname "$0")/lib.sh"
e2e_init "$@"

STARTUP_TEXT=$'Zarimo软件-免费、精彩、共享！\r\n'

# Worked out by hand for n = 20 from (255,0,255) to (0,255,0): position i has
# red = blue = 255 - 12.75 i and green = 12.75 i, halves to even (i = 10 gives
# 127.5 -> 128, so 免 is 808080). The CR LF at 19 and 20 stay untagged.
STARTUP_CODE='[font=宋体][size=1][color=#F20DF2]Z[/color][color=#E61AE6]a[/color][color=#D926D9]r[/color]'\
'[color=#CC33CC]i[/color][color=#BF40BF]m[/color][color=#B24CB2]o[/color][color=#A659A6]软[/color]'\
'[color=#996699]件[/color][color=#8C738C]-[/color][color=#808080]免[/color][color=#738C73]费[/color]'\
'[color=#669966]、[/color][color=#59A659]精[/color][color=#4CB24C]彩[/color][color=#40BF40]、[/color]'\
'[color=#33CC33]共[/color][color=#26D926]享[/color][color=#1AE61A]！[/color]'$'\r\n''[/size][/font]'

# Window pixels of the buttons' centres and of the preview's drawing area.
CONVERT=(316 185) COPY=(94 455) PASTE=(318 155)
PREVIEW_X=16 PREVIEW_Y=24
# At size "1" (10 pt) a cell is 200 twips wide and a row 200 twips high: 40/3 px.
cell_x() { echo $((PREVIEW_X + ($1 - 1) * 40 / 3)); }

# cell_colour FILE POSITION R G B TOLERANCE: the cell of a position (row 0)
# holds a pixel within the tolerance of the colour.
cell_colour() {
    local d
    d=$(nearest "$1" "$(cell_x "$2")" $PREVIEW_Y 13 14 "$3" "$4" "$5")
    [ "$d" -le "$6" ] || { log "      cell $2: nearest pixel is $d away from ($3 $4 $5)"; return 1; }
}
# cell_lacks FILE POSITION R G B: no pixel of the cell comes near the colour.
cell_lacks() {
    local d
    d=$(nearest "$1" "$(cell_x "$2")" $PREVIEW_Y 13 14 "$3" "$4" "$5")
    [ "$d" -gt 60 ] || { log "      cell $2 has a pixel $d away from ($3 $4 $5)"; return 1; }
}

press() { click_at "$1" "$2"; }

# message_box NAME [SECONDS]: waits for the box titled Velmorant and for its
# icon to be painted (both icons hold white), saves the screen, and prints how
# near a pixel of the box comes to the red of the error icon.
message_box() {
    local box geometry f
    box=$(find_window '^Velmorant$' "${2:-15}") || return 1
    read -r -a geometry <<<"$(window_geometry "$box")"
    for _ in $(seq 50); do
        f=$(shot_root "$1")
        [ "$(nearest "$f" "${geometry[0]}" "${geometry[1]}" 60 "${geometry[3]}" 255 255 255)" -le 30 ] && break
        sleep 0.2
    done
    nearest "$f" "${geometry[@]}" 230 30 30
}

# copy_and_confirm NAME: presses copy and expects the information box.
copy_and_confirm() {
    press "${COPY[@]}"
    local red
    red=$(message_box "$1") || { fail "no message box titled Velmorant after copy"; return 1; }
    check "the box has no error icon" [ "$red" -gt 60 ]
    close_message_box
}

startup_text() {
    local expected=$E2E_TMP/expected cli=$E2E_TMP/cli clip=$E2E_TMP/clip
    printf '%s' "$STARTUP_CODE" >"$expected"
    printf '%s' "$STARTUP_TEXT" | "$CLI" >"$cli"
    check "the CLI agrees with the hand-computed code" same_bytes "CLI output" "$expected" "$cli"

    press "${CONVERT[@]}"
    copy_and_confirm copy-message || return 1
    clipboard_read >"$clip"
    check "clipboard holds the code byte for byte" same_bytes "clipboard" "$expected" "$clip"

    local f
    # make screenshot puts this picture in the README.
    f=$(shot_when preview-startup cell_colour 1 242 13 242 24)
    # One Latin letter and a few Chinese characters in their own colours.
    check "Z (1) in F20DF2" cell_colour "$f" 1 242 13 242 24
    check "软 (7) in A659A6" cell_colour "$f" 7 166 89 166 24
    check "免 (10) in 808080" cell_colour "$f" 10 128 128 128 24
    check "精 (13) in 59A659" cell_colour "$f" 13 89 166 89 24
    check "享 (17) in 26D926" cell_colour "$f" 17 38 217 38 24
    check "享's cell has nothing of the first colour" cell_lacks "$f" 17 242 13 242
    check "the cell after ！ (the CR) shows nothing" cell_lacks "$f" 19 26 230 26
}

pasted_text() {
    local text=$'ab\ncd' cli=$E2E_TMP/cli clip=$E2E_TMP/clip
    check "the owner holds the text" clipboard_put "$text" || return 1
    press "${PASTE[@]}"
    local f
    f=$(shot_when preview-pasted cell_colour 1 204 51 204 24)
    # Paste redraws the preview with the new text: a (CC33CC), b (996699), LF, c (33CC33), d (00FF00).
    check "a (1) in CC33CC" cell_colour "$f" 1 204 51 204 24
    check "d (5) in 00FF00" cell_colour "$f" 5 0 255 0 24
    check "the old text is gone from cell 7" cell_lacks "$f" 7 166 89 166
    press "${CONVERT[@]}"
    copy_and_confirm copy-message-pasted || return 1
    clipboard_read >"$clip"
    printf '%s' "$text" | "$CLI" >"$cli"
    check "clipboard holds the code of the pasted text" same_bytes "clipboard" "$cli" "$clip"
    # Worked out by hand: b is 2 of 5 (996699), c is 4 of 5 (33CC33); the LF between stays bare.
    check "the line feed came through bare, as it was pasted" \
        contains "$clip" $'[color=#996699]b[/color]\n[color=#33CC33]c[/color]'
    check "and no carriage return came with it" not_contains "$clip" $'\r'
}

# Copy before any convert: the error box, and the clipboard keeps what it had.
empty_copy() {
    check "the owner holds a text" clipboard_put "kept" || return 1
    press "${COPY[@]}"
    local red
    red=$(message_box copy-empty-message) || { fail "no message box after copy of nothing"; return 1; }
    check "the box shows the error icon" [ "$red" -le 40 ]
    close_message_box
    check "the clipboard is untouched" [ "$(clipboard_read)" = kept ]
}

TEXT1=(100 170)

# convert_and_copy FILE: convert, copy, close the confirmation, clipboard to FILE.
convert_and_copy() {
    press "${CONVERT[@]}"
    copy_and_confirm "$2" || return 1
    clipboard_read >"$1"
}

# input_is WHAT NAME TEXT: the code copied after a convert is what the CLI
# makes of TEXT, so the input box holds TEXT byte for byte.
input_is() {
    convert_and_copy "$E2E_TMP/clip" "copy-$2" || return 1
    printf '%s' "$3" | "$CLI" >"$E2E_TMP/cli"
    check "$1" same_bytes "the code" "$E2E_TMP/cli" "$E2E_TMP/clip"
}

# paste_empties TARGET FILE: the owner offers FILE as TARGET alone; the paste
# empties the input without a word, and Ctrl+Z in it brings the former text back.
paste_empties() {
    check "the owner offers $1 alone" clipboard_serve "$1" "$2" || return 1
    press "${PASTE[@]}"
    # A box would come up inside the paste, before the window handles the
    # next click: the convert and copy below would then find it, not theirs.
    click_at "${TEXT1[@]}"
    keys ctrl+z
    input_is "Ctrl+Z brought the start-up text back" undone "$STARTUP_TEXT"
    click_at "${TEXT1[@]}"
    keys ctrl+y
    input_is "Ctrl+Y emptied it again" redone ''
}

# An image is no text.
image_only() {
    printf '\x89PNG\r\n\x1a\n' >"$E2E_TMP/image.png"
    paste_empties image/png "$E2E_TMP/image.png"
}

# An empty text is a text: no failure either.
empty_text() {
    : >"$E2E_TMP/empty"
    paste_empties UTF8_STRING "$E2E_TMP/empty"
}

# failed_read WHAT: the paste ends in the error box, and the input keeps the
# start-up text. The box may wait for Qt's 5 s clipboard timeout.
failed_read() {
    local red
    red=$(message_box "$1" 25) || { fail "no message box after the failed read"; return 1; }
    check "the box shows the error icon" [ "$red" -le 40 ]
    close_message_box
    input_is "the input still holds the start-up text" "$1" "$STARTUP_TEXT"
}

# The owner of a megabyte of text dies after four of its sixteen increments,
# however fast the window reads them.
owner_killed_mid_transfer() {
    head -c 1048576 /dev/zero | tr '\0' a >"$E2E_TMP/big"
    check "the owner offers the text" clipboard_serve UTF8_STRING "$E2E_TMP/big" --chunk 65536 --die-after 4 ||
        return 1
    press "${PASTE[@]}"
    check "the window read four increments, then the owner died" owner_says "served 4" || return 1
    wait "$OWNER_PID" 2>/dev/null
    failed_read killed-owner
}

# An owner that never answers: the same error box, after a 2 s wait rather
# than Qt's 5 s for each of three questions.
owner_never_answers() {
    printf 'never' >"$E2E_TMP/never"
    check "the owner takes the clipboard and will answer nothing" owner_start --silent "$E2E_TMP/never" || return 1
    pointer_to $((WIN_X + PASTE[0])) $((WIN_Y + PASTE[1]))
    local started waited
    started=$(date +%s%N)
    xdotool click 1
    # Polled often, so the wait measured is the window's, not the poll's.
    for _ in $(seq 400); do
        xdotool search --onlyvisible --name '^Velmorant$' >/dev/null 2>&1 && break
        sleep 0.05
    done
    waited=$((($(date +%s%N) - started) / 1000000))
    # Asked through Qt, the box could not come before one 5 s timeout; the
    # window's own question waits 2 s, which leaves a loaded machine 2.9 s.
    check "the box came within 4.9 s, before one Qt timeout ($waited ms)" [ "$waited" -le 4900 ]
    failed_read stopped-owner
}

# A move with the mouse inside the input: only a real drag tells the drop it
# came from the box itself. Keys select "AAA\nB" with the last line in view;
# the highlight, two rows high, shows where to press: on the B, then along
# its row (the drag starts) and down onto the end of the text.
TEXT1_BOX=(16 144 241 55) HIGHLIGHT=(59 102 207)
highlighted() { [ "$(nearest "$1" "${TEXT1_BOX[@]}" "${HIGHLIGHT[@]}")" -le 12 ]; }
drag_move() {
    local text=$'X\r\nAAA\nBBB\rCCC' f minx miny maxy dx
    check "the owner holds the text" clipboard_put "$text" || return 1
    press "${PASTE[@]}"
    click_at "${TEXT1[@]}"
    keys ctrl+End Up Up Home shift+Right shift+Right shift+Right shift+Right shift+Right
    f=$(shot_when drag-selection highlighted)
    read -r minx miny maxy < <(region "$f" "${TEXT1_BOX[@]}" | awk -v r="${HIGHLIGHT[0]}" \
        -v g="${HIGHLIGHT[1]}" -v b="${HIGHLIGHT[2]}" 'function d(v) { return v < 0 ? -v : v }
        d($3 - r) + d($4 - g) + d($5 - b) < 30 { if (!n++ || $1 < x) x = $1; if (n == 1) y = $2; z = $2 }
        END { print x, y, z }')
    check "the selection is highlighted" [ -n "$maxy" ] || return 1
    local h=$((maxy - miny + 1)) px=$((WIN_X + TEXT1_BOX[0] + minx + 2)) py=$((WIN_Y + TEXT1_BOX[1] + miny))
    pointer_to "$px" $((py + h * 3 / 4)) && xdotool mousedown 1
    for dx in 10 20 30; do settle 0.1; pointer_to $((px + dx)) $((py + h * 3 / 4)); done
    settle 0.1; pointer_to $((px + 180)) $((py + h * 5 / 4))
    settle 0.1; xdotool mouseup 1
    input_is "the move kept every break" dragged $'X\r\nBB\rCCCAAA\nB'
    click_at "${TEXT1[@]}"
    keys ctrl+z
    input_is "Ctrl+Z put the text back as it was" drag-undone "$text"
}

run_case "convert and copy the start-up text" startup_text
run_case "paste, convert and copy a text with a line feed" pasted_text
run_case "copy with an empty code box" empty_copy
run_case "a mouse drag moves a line part, every break kept" drag_move
run_case "paste of an image empties the input, Ctrl+Z brings it back" image_only
run_case "paste of an empty text empties the input, Ctrl+Z brings it back" empty_text
run_case "the owner dies during the transfer: the input stays" owner_killed_mid_transfer
run_case "the owner never answers: the input stays" owner_never_answers
e2e_finish
