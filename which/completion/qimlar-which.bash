# bash completion for qimlar-which: its options, file names after --from, and after --mime (or
# -m) the MIME types that the shared MIME databases list in their `types` files.

# Every MIME type of $XDG_DATA_HOME/mime/types and of each folder of $XDG_DATA_DIRS, a line each.
_qimlar_which_mime_types()
{
    local dir folders
    IFS=: read -r -a folders <<<"${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
    for dir in "${XDG_DATA_HOME:-$HOME/.local/share}" "${folders[@]}"; do
        [[ -r $dir/mime/types ]] && cat -- "$dir/mime/types"
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

    # Options come until "--"; --mime, or -m among joined short options, makes the queries types.
    local options_ended=''
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        [[ $word == -- ]] && options_ended=1 && break
        [[ $word == --mime || $word =~ ^-[^-]*m ]] && mime=1
    done

    if [[ -z $options_ended && $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--mime -m --from --all --explain --json --null -z
            --help -h --version -V --' -- "$cur")
    elif [[ -n $mime ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_qimlar_which_mime_types | sort -u)" -- "$cur")
    fi
}

complete -F _qimlar_which qimlar-which
