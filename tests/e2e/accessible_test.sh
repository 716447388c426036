#!/bin/bash
# What a screen reader finds through AT-SPI: a name for every control that
# takes the focus, the link label's press action, which opens the author's
# page as a click does, and Qt's own dialogs in the window's language,
# whatever the locale. Runs on a private session bus.
# Usage: accessible_test.sh BINARY CLI OUTDIR (AUTHOR_URL in the environment)

if [ -z "${E2E_OWN_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "missing tool: dbus-run-session (package dbus)"; exit 2; }
    E2E_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

. "$(dirname "$0")/lib.sh"
e2e_init "$@"
: "${AUTHOR_URL:?the address of the link label}"
TREE=$(dirname "$0")/accessible_tree.py
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { log "missing: python3-pyatspi (make test-deps installs it)"; exit 2; }
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The web page opener the program finds first: it writes the address down.
mkdir -p "$E2E_TMP/bin"
printf '#!/bin/sh\nprintf "%%s" "$1" >"%s/opened"\n' "$E2E_TMP" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"

# Role and name of every control that can take the focus, in tab order.
EXPECTED_NAMES="\
filler	效果预览:渐变色文字
text	输入待转换文本
push button	关于(A)
check box	 下划线 U
check box	 斜体 I
check box	 粗体 B
check box	 删除线 ABC
push button	从剪贴板粘贴
combo box	大小
text	效果代码
text	颜色标签结尾(文字之后的文字)
text	颜色标签中间(颜色代码与文字之间的文字)
text	颜色标签开头(颜色代码之前的文字)
filler	渐色预览:起始颜色到结束颜色的色条
push button	起始颜色(B)
push button	结束颜色(E)
combo box	字体
push button	退出
push button	复制上面代码
push button	访问Kestrune
text	字步长(间距)
push button	★ 转换 ★
combo box	用途"

names() {
    /usr/bin/python3 "$TREE" "$APP_PID" names >"$E2E_TMP/tree" 2>"$E2E_TMP/tree.err" ||
        { fail "reading the tree: $(cat "$E2E_TMP/tree.err")"; return 1; }
    grep -v '^link	' "$E2E_TMP/tree" | sort >"$E2E_TMP/got"
    printf '%s\n' "$EXPECTED_NAMES" | sort >"$E2E_TMP/want"
    check "every control that takes the focus has its name (< wanted, > found)" \
        diff "$E2E_TMP/want" "$E2E_TMP/got"
    check "the link label is a link with a Press action, out of the tab order" \
        [ "$(grep '^link	' "$E2E_TMP/tree")" = "link	更多工具下载	Press" ]
}

press_link() {
    rm -f "$E2E_TMP/opened"
    check "Press is invoked" /usr/bin/python3 "$TREE" "$APP_PID" press 更多工具下载
    for _ in $(seq 100); do
        [ -s "$E2E_TMP/opened" ] && break
        sleep 0.1
    done
    check "it opens the author's page" [ "$(cat "$E2E_TMP/opened" 2>/dev/null)" = "$AUTHOR_URL" ]
}

# The colour chooser under its Chinese title, with Chinese buttons.
qt_strings() {
    keys alt+b
    find_window '^选择颜色$' 15 >/dev/null || { fail "Alt+B opened no chooser titled 选择颜色"; return 1; }
    /usr/bin/python3 "$TREE" "$APP_PID" buttons 选择颜色 >"$E2E_TMP/buttons" 2>&1
    check "its OK button reads 确定" grep -qx 确定 "$E2E_TMP/buttons"
    check "its Cancel button reads 取消" grep -qx 取消 "$E2E_TMP/buttons"
    keys Escape
}

run_case "accessible names" names
run_case "the link label's press action" press_link
LANG=C.UTF-8 LANGUAGE=en run_case "Qt's own dialogs in Chinese under an English locale" qt_strings
e2e_finish
