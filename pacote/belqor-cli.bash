# Completion of belqor-cli in bash: the commands, the options of each command and file or
# folder names where one is expected. Installed in bash-completion's completionsdir, which
# loads it the first time belqor-cli is completed.

# One line per command: its name, its options and, in order, what each of its positional
# arguments is. An option that takes a value says what it is after "=", and so does an
# argument: arquivo (a file), pasta (a folder), texto (typed, nothing to offer).
_belqor_cli_tabela=(
    "calcular | --json --pdf=arquivo --registrar | texto texto texto"
    "lote     | --pdf=pasta                      | arquivo arquivo"
    "importar |                                  | arquivo"
    "atualizar| --url=texto                      |"
    "tabela   | --desde=texto                    |"
    "historico| --verificar                      |"
    "demonstrativo | --pagamento=texto --contribuinte=texto --documento=texto --ie=texto --pdf=arquivo --saida=arquivo --pagamentos=arquivo --prever --json | arquivo"
)
# Options every command takes, and those that stand alone.
_belqor_cli_opcoes_comuns="--tabela=arquivo"
_belqor_cli_opcoes_gerais="--help --version"

# Field N (1 name, 2 options, 3 arguments) of the line of COMMAND, or of every line for "*".
_belqor_cli_campo() {
    local linha nome opcoes argumentos
    for linha in "${_belqor_cli_tabela[@]}"; do
        IFS='|' read -r nome opcoes argumentos <<<"$linha"
        nome=${nome// /}
        [[ $2 == "*" || $2 == "$nome" ]] || continue
        case $1 in
        1) printf '%s ' "$nome" ;;
        2) printf '%s ' $opcoes ;;
        3) printf '%s ' $argumentos ;;
        esac
    done
}

# What OPTION takes among OPTIONS: arquivo, pasta, texto, or nothing when it takes no value.
_belqor_cli_valor_de() {
    local o
    for o in $2; do
        if [[ $o == "$1="* ]]; then
            printf '%s' "${o#*=}"
            return
        fi
    done
}

# Offers the names of KIND (arquivo, pasta) that start with PREFIX; nothing for texto.
_belqor_cli_oferece() {
    case $1 in
    arquivo) mapfile -t COMPREPLY < <(compgen -f -- "$2") ;;
    pasta) mapfile -t COMPREPLY < <(compgen -d -- "$2") ;;
    *) return ;;
    esac
    # Outside a completion in progress (as in a test) compopt has nothing to set.
    compopt -o filenames 2>/dev/null || true
}

_belqor_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} comando="" espera="" palavra opcoes
    local -i i posicionais=0 soArgumentos=0
    COMPREPLY=()

    # The words before the cursor: the command, how many positional arguments it already
    # has, and whether the word under the cursor is the value of an option.
    for ((i = 1; i < COMP_CWORD; i++)); do
        palavra=${COMP_WORDS[i]}
        if [[ -n $espera ]]; then
            # bash splits --option=value at "=", which is a word of its own.
            [[ $palavra == "=" ]] && continue
            espera=""
        elif ((!soArgumentos)) && [[ $palavra == -- ]]; then
            soArgumentos=1
        elif ((!soArgumentos)) && [[ $palavra == -* ]]; then
            # Before the command, the options of any command are understood.
            opcoes="$_belqor_cli_opcoes_comuns $(_belqor_cli_campo 2 "${comando:-*}")"
            espera=$(_belqor_cli_valor_de "$palavra" "$opcoes")
        elif [[ -z $comando ]]; then
            comando=$palavra
            [[ -n $(_belqor_cli_campo 1 "$comando") ]] || return 0
        else
            posicionais+=1
        fi
    done

    # The value of an option: "--pdf VALUE", or "--pdf=VALUE" split by bash.
    if [[ -n $espera ]]; then
        [[ $cur == "=" ]] && cur=""
        _belqor_cli_oferece "$espera" "$cur"
        return 0
    fi
    if ((!soArgumentos)) && [[ $cur == -* ]]; then
        local nomes="" o
        for o in $_belqor_cli_opcoes_comuns; do nomes+=" ${o%%=*}"; done
        if [[ -n $comando ]]; then
            for o in $(_belqor_cli_campo 2 "$comando"); do nomes+=" ${o%%=*}"; done
        else
            nomes+=" $_belqor_cli_opcoes_gerais"
        fi
        mapfile -t COMPREPLY < <(compgen -W "$nomes" -- "$cur")
        return 0
    fi
    if [[ -z $comando ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_belqor_cli_campo 1 "*")" -- "$cur")
        return 0
    fi
    local -a argumentos
    read -ra argumentos <<<"$(_belqor_cli_campo 3 "$comando")"
    _belqor_cli_oferece "${argumentos[posicionais]:-}" "$cur"
    return 0
}
complete -F _belqor_cli belqor-cli
