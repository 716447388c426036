# bash completion for velmorant-cli                          -*- shell-script -*-

# Everything offered comes from the program itself: `--list=options` says what
# each option takes ("--name kind list"), `--list=LIST` gives the names.
# _init_completion sets words and cword; compgen gives one word a line.
# shellcheck disable=SC2034,SC2207
_velmorant_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local options name kind list
    options=$("$1" --list=options 2>/dev/null)
    read -r name kind list <<<"$(awk -v prev="$prev" '$1 == prev { print; exit }' <<<"$options")"
    case $kind in
        colour)
            COMPREPLY=($(compgen -W "$("$1" --list="$list" 2>/dev/null)" -- "${cur,,}"))
            return
            ;;
        stops)
            # Complete the colour after the last comma, keeping the ones before it.
            local done=${cur%,*} last=${cur##*,}
            [[ $cur == *,* ]] && done+="," || done=""
            COMPREPLY=($(compgen -P "$done" -W "$("$1" --list="$list" 2>/dev/null)" -- "${last,,}"))
            compopt -o nospace
            return
            ;;
        step)
            # The start-up value, as the program's own help gives it.
            local default
            default=$("$1" --help 2>/dev/null | sed -n "s/^  $name [A-Z]* .*(default \(.*\))\$/\1/p")
            [[ -n $default && $default == "$cur"* ]] && COMPREPLY=("$default")
            return
            ;;
        flag | "") ;;
        *)
            # One name a line: a font may hold blanks.
            local IFS=$'\n'
            [[ -n $list ]] && COMPREPLY=($(compgen -W "$("$1" --list="$list" 2>/dev/null)" -- "$cur"))
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(cut -d' ' -f1 <<<"$options")" -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _velmorant_cli velmorant-cli

# ex: filetype=sh
