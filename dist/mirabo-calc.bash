# bash completion for mirabo-calc: the forms, then the chosen form's field
# names (as NAME=, each offered until it is given) and the options; in batch
# mode the input file instead of the fields, and the encodings after
# --encoding. After "--" no option is offered. Files come from
# bash-completion's _filedir where it is loaded: a name with spaces is
# completed escaped, a folder with its slash and no space after it.

# Splits the line into the array _mirabo_calc_words as the shell does, at
# blanks outside quotes and not escaped, each word with its quotes and
# backslashes taken out; the last one is the word being completed, empty
# after a blank.
_mirabo_calc_split() {
    local line=$1 word="" quote="" c i
    _mirabo_calc_words=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ -n $quote ]]; then
            if [[ $c == "$quote" ]]; then
                quote=""
                continue
            fi
            [[ $c == \\ && $quote == '"' && -n ${line:i+1:1} ]] && ((++i)) && c=${line:i:1}
        elif [[ $c == \\ ]]; then
            ((++i)) && c=${line:i:1}
        elif [[ $c == [\'\"] ]]; then
            quote=$c
            continue
        elif [[ $c == [[:blank:]] ]]; then
            [[ -n $word ]] && _mirabo_calc_words+=("$word")
            word=""
            continue
        fi
        word+=$c
    done
    _mirabo_calc_words+=("$word")
}

_mirabo_calc() {
    # The words up to the cursor, split at blanks only: "=" is a word break
    # for bash, and a field's NAME=TEXT is one word here.
    local -a _mirabo_calc_words
    _mirabo_calc_split "${COMP_LINE:0:COMP_POINT}"
    local -a words=("${_mirabo_calc_words[@]}")
    local cur=${words[${#words[@]} - 1]}
    unset 'words[${#words[@]}-1]'

    # Fields already given, by their names (the tool also takes α, β, γ and
    # v, i, r, p for alpha, beta, gamma and V, I, R, P).
    local form="" word name ended=""
    local -A given=()
    for word in "${words[@]:1}"; do
        case $word in
            right | oblique | rotate | ohm) form=$word ;;
            ?*=*)
                name=${word%%=*}
                case $name in
                    α) name=alpha ;;
                    β) name=beta ;;
                    γ) name=gamma ;;
                    v | i | r | p) name=${name^^} ;;
                esac
                given[$name]=1
                ;;
            --) ended=1 ;;
            -*) [[ -z $ended ]] && given[$word]=1 ;;
        esac
    done

    COMPREPLY=()
    local last=""
    [[ ${#words[@]} -gt 1 ]] && last=${words[${#words[@]} - 1]}
    if [[ $last == --encoding ]]; then
        mapfile -t COMPREPLY < <(compgen -W "cp932 utf-8" -- "$cur")
        return
    fi
    if [[ $cur == -* && -z $ended ]]; then
        local options=() option
        for option in --yes --no --json --batch --encoding --bom --help --version; do
            [[ -n ${given[$option]:-} ]] && continue
            [[ $option == --yes && -n ${given[--no]:-} ]] && continue
            [[ $option == --no && -n ${given[--yes]:-} ]] && continue
            options+=("$option")
        done
        mapfile -t COMPREPLY < <(compgen -W "${options[*]}" -- "$cur")
        return
    fi

    local fields
    case $form in
        right) fields="a b c alpha beta" ;;
        oblique) fields="a b c alpha beta gamma" ;;
        rotate) fields="x y angle x2 y2" ;;
        ohm) fields="V I R P" ;;
        *)
            mapfile -t COMPREPLY < <(compgen -W "rotate oblique right ohm" -- "$cur")
            return
            ;;
    esac
    # Batch mode reads a file whose header names the fields.
    if [[ -n ${given[--batch]:-} ]]; then
        if declare -F _filedir >/dev/null; then
            # The word with its quoting taken out, in the form _filedir
            # hands to compgen as it stands: a leading single quote.
            cur="'$cur" _filedir
        else
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            [[ ${#COMPREPLY[@]} -gt 0 ]] && compopt -o filenames 2>/dev/null
        fi
        return 0
    fi
    # After NAME= comes the user's own text.
    [[ $cur == *=* ]] && return
    local names=()
    for name in $fields; do
        [[ -z ${given[$name]:-} ]] && names+=("$name=")
    done
    mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
    [[ ${#COMPREPLY[@]} -gt 0 ]] && compopt -o nospace 2>/dev/null
    return 0
}

complete -F _mirabo_calc mirabo-calc
