# Bash completion for tolvu-convert: the options before SOURCE, the unit
# names for SOURCE, nothing for the TEXTs after it. The unit names are asked
# of the program itself, so they are always the ones it accepts.

_tolvu_convert()
{
    local cur=${COMP_WORDS[COMP_CWORD]} i
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --list | --names | -h | --help | -V | --version) return ;; # nothing follows these
        --)
            ((i + 1 == COMP_CWORD)) && _tolvu_convert_units "$1" "$cur"
            return
            ;;
        -?*) ;;
        *) return ;; # SOURCE is given: what follows are TEXTs
        esac
    done
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--json --strict --list --names --help --version --' -- "$cur")
    else
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
