# bash completion for qimlar-which: its options, file names after --from, desktop entries' ids
# after --set-default, and after --mime (or -m) the MIME types that the shared MIME databases list in their `types` files.

# Every MIME type of $XDG_DATA_HOME/mime/types and of each folder of $XDG_DATA_DIRS, a line each.
_qimlar_which_mime_types()
{
    local dir folders
    IFS=: read -r -a folders <<<"${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
    for dir in "${XDG_DATA_HOME:-$HOME/.local/share}" "${folders[@]}"; do
        [[ -r $dir/mime/types ]] && cat -- "$dir/mime/types"
    done
}

# The ids of the installed desktop entries, a line each: their paths below each applications
# folder of $XDG_DATA_HOME and $XDG_DATA_DIRS, with "/" made "-" as the desktop names them.
_qimlar_which_desktop_ids()
{
    local dir folders
    IFS=: read -r -a folders <<<"${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
    for dir in "${XDG_DATA_HOME:-$HOME/.local/share}" "${folders[@]}"; do
        [[ -d $dir/applications ]] &&
            find "$dir/applications" -name '*.desktop' -printf '%P\n' 2>/dev/null | tr / -
    done
}

_qimlar_which()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local word mime='' i
    COMPREPLY=()

    # bash splits --from=FILE at the "=" into three words.
    if [[ $prev == --from || ($prev == = && ${COMP_WORDS[COMP_CWORD - 2]} == --from) ]]; then
        [[ $cur == = ]] && cur=''
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi

    if [[ $prev == --set-default || ($prev == = && ${COMP_WORDS[COMP_CWORD - 2]} == --set-default) ]]; then
        [[ $cur == = ]] && cur=''
        mapfile -t COMPREPLY < <(compgen -W "$(_qimlar_which_desktop_ids | sort -u)" -- "$cur")
        return
    fi

    # Options come until "--"; --mime, or -m among joined short options, makes the queries types.
    local options_ended=''
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        [[ $word == -- ]] && options_ended=1 && break
        [[ $word == --mime || $word =~ ^-[^-]*m ]] && mime=1
    done

    if [[ -z $options_ended && $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--mime -m --from --all --explain --json --null -z
            --set-default --dry-run --undo --help -h --version -V --' -- "$cur")
    elif [[ -n $mime ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_qimlar_which_mime_types | sort -u)" -- "$cur")
    fi
}

complete -F _qimlar_which qimlar-which
