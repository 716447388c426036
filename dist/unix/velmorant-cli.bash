# bash completion for velmorant-cli                          -*- shell-script -*-

# _init_completion sets words and cword; compgen gives one word a line.
# shellcheck disable=SC2034,SC2207
_velmorant_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local colours="aliceblue antiquewhite aqua aquamarine azure beige bisque black blanchedalmond blue
        blueviolet brown burlywood cadetblue chartreuse chocolate coral cornflowerblue cornsilk crimson cyan
        darkblue darkcyan darkgoldenrod darkgray darkgreen darkgrey darkkhaki darkmagenta darkolivegreen
        darkorange darkorchid darkred darksalmon darkseagreen darkslateblue darkslategray darkslategrey
        darkturquoise darkviolet deeppink deepskyblue dimgray dimgrey dodgerblue firebrick floralwhite
        forestgreen fuchsia gainsboro ghostwhite gold goldenrod gray green greenyellow grey honeydew hotpink
        indianred indigo ivory khaki lavender lavenderblush lawngreen lemonchiffon lightblue lightcoral
        lightcyan lightgoldenrodyellow lightgray lightgreen lightgrey lightpink lightsalmon lightseagreen
        lightskyblue lightslategray lightslategrey lightsteelblue lightyellow lime limegreen linen magenta
        maroon mediumaquamarine mediumblue mediumorchid mediumpurple mediumseagreen mediumslateblue
        mediumspringgreen mediumturquoise mediumvioletred midnightblue mintcream mistyrose moccasin
        navajowhite navy oldlace olive olivedrab orange orangered orchid palegoldenrod palegreen
        paleturquoise palevioletred papayawhip peachpuff peru pink plum powderblue purple rebeccapurple red
        rosybrown royalblue saddlebrown salmon sandybrown seagreen seashell sienna silver skyblue slateblue
        slategray slategrey snow springgreen steelblue tan teal thistle tomato turquoise violet wheat white
        whitesmoke yellow yellowgreen"

    case $prev in
        --start | --end)
            COMPREPLY=($(compgen -W "$colours" -- "${cur,,}"))
            return
            ;;
        --colours | --colors)
            # Complete the colour after the last comma, keeping the ones before it.
            local done=${cur%,*} last=${cur##*,}
            [[ $cur == *,* ]] && done+="," || done=""
            COMPREPLY=($(compgen -P "$done" -W "$colours" -- "${last,,}"))
            compopt -o nospace
            return
            ;;
        --blend | --palette | --dialect | --forum | --size | --font)
            # The program's own lists, one name a line (a font may hold blanks).
            local what=${prev#--} IFS=$'\n'
            [[ $what == dialect ]] && what=format
            what+=s
            COMPREPLY=($(compgen -W "$("$1" --list="$what" 2>/dev/null)" -- "$cur"))
            return
            ;;
        --list)
            COMPREPLY=($(compgen -W "formats blends palettes sizes fonts forums description" -- "$cur"))
            return
            ;;
        --step)
            # The start-up value, as the program's own help gives it.
            local default
            default=$("$1" --help 2>/dev/null | sed -n "s/^  $prev [A-Z]* .*(default \(.*\))\$/\1/p")
            [[ -n $default && $default == "$cur"* ]] && COMPREPLY=("$default")
            return
            ;;
        --open | --middle | --close | --fit | --max-tags)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--start --end --colours --colors --blend --palette --dialect --open --middle --close --step
            --merge --fit --max-tags --forum --bold --italic --underline --strike --size --font --decode --list
            --stats --help --version" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
} &&
    complete -F _velmorant_cli velmorant-cli

# ex: filetype=sh
