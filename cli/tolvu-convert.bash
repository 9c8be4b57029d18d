# Bash completion for tolvu-convert: the options anywhere before "--", the
# unit names for SOURCE, nothing for the TEXTs after it. The unit names are
# asked of the program itself, so they are always the ones it accepts.

_tolvu_convert()
{
    local cur=${COMP_WORDS[COMP_CWORD]} word i source= ended=
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $ended || $word != -?* || $word == -[0-9.]* ]]; then
            source=1 # SOURCE, or a TEXT after it
        elif [[ $word == -- ]]; then
            ended=1
        else
            case $word in --list | --names | -h | --help | -V | --version) return ;; esac # nothing follows these
        fi
    done
    if [[ ! $ended && $cur == -* && $cur != -[0-9.]* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--json --strict --list --names --help --version --' -- "$cur")
    elif [[ ! $source ]]; then
        _tolvu_convert_units "$1" "$cur"
    fi
}

# Names ignore blanks and hyphens alike, so "metric tons" is offered as
# metric-tons, one word on the command line.
_tolvu_convert_units() # program prefix
{
    local name
    while IFS= read -r name; do
        name=${name// /-}
        [[ $name == "$2"* ]] && COMPREPLY+=("$name")
    done < <("$1" --names 2>/dev/null)
}

complete -F _tolvu_convert tolvu-convert
