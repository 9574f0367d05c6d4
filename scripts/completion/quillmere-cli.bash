# Bash completion of quillmere-cli: its commands, options and their values, and the NODE names of show and
# clear. Commands and options are read from the program's own help, and NODE names from its `list` with the
# --catalogue, --registry and --all of the line being completed, so the completion follows the program.
# Install as /usr/share/bash-completion/completions/quillmere-cli, or source it from ~/.bashrc.

# A word as the program will get it: quotes and backslash escapes removed, a leading ~/ expanded.
_quillmere_cli_dequote() {
  local word=$1
  case $word in
    \'*) word=${word#\'} word=${word%\'} ;;
    \"*) word=${word#\"} word=${word%\"} ;;
    *) word=$(printf '%s' "$word" | sed 's/\\\(.\)/\1/g') ;;
  esac
  [[ $word == "~/"* ]] && word=$HOME/${word#"~/"}
  printf '%s' "$word"
}

# The entries of one section of the help (of COMMAND, or of the program for ""), one a line with the lines
# they were wrapped into joined: "  --passes N  clear: overwrite passes ..., 1 to 10, ...". Two blanks end the
# entry's term.
_quillmere_cli_section() {
  local program=$1 command=$2 heading=$3
  if [[ -n $command ]]; then "$program" help "$command"; else "$program" --help; fi 2>/dev/null |
    awk -v heading="$heading" '
      $0 == heading { inside = 1; next }
      inside && /^[^ ]/ { inside = 0 }
      inside && /^  [^ ]/ { if (entry != "") print entry; entry = $0; next }
      inside && /^   / { sub(/^ +/, "  "); entry = entry $0 }
      END { if (entry != "") print entry }'
}

_quillmere_cli() {
  local program
  program=$(_quillmere_cli_dequote "${COMP_WORDS[0]}")
  # The words as the program sees them: "--catalogue", "=", "FILE" (split by readline) is one word again.
  local -a words=()
  local cword=0 i
  for ((i = 0; i < ${#COMP_WORDS[@]}; i++)); do
    if [[ ${COMP_WORDS[i]} == = && ${#words[@]} -gt 1 && ${words[-1]} == --* ]]; then
      words[-1]+="="
      if ((i < COMP_CWORD)); then
        ((i++))
        words[-1]+=${COMP_WORDS[i]}
      fi
    else
      words+=("${COMP_WORDS[i]}")
    fi
    ((i <= COMP_CWORD)) && cword=$((${#words[@]} - 1))
  done
  local cur=${words[cword]} prev=${words[cword - 1]}

  # The options that take a value, and its name: --catalogue FILE, --log-dir DIR, --passes N.
  local -A value_of=()
  local entry term name value
  while IFS= read -r entry; do
    term=${entry#  } term=${term%%  *}
    read -r name value _ <<<"$term"
    [[ -n $value && $value != -* ]] && value_of[${name%,}]=$value
  done < <(_quillmere_cli_section "$program" "" OPTIONS)

  local option=""
  if [[ $cur == --*=* ]]; then
    option=${cur%%=*} cur=${cur#*=}
  elif [[ $prev == --* && -n ${value_of[$prev]} ]]; then
    option=$prev
  fi
  local IFS=$'\n'
  if [[ -n $option ]]; then
    case ${value_of[$option]} in
      DIR) COMPREPLY=($(compgen -d -- "$cur")) && compopt -o filenames 2>/dev/null ;;
      FILE) COMPREPLY=($(compgen -f -- "$cur")) && compopt -o filenames 2>/dev/null ;;
      N)
        local range
        range=$(_quillmere_cli_section "$program" "" OPTIONS | grep -e "^  $option " | grep -o '[0-9]\+ to [0-9]\+')
        [[ -n $range ]] && COMPREPLY=($(compgen -W "$(seq "${range% to *}" "${range#* to }")" -- "$cur"))
        ;;
    esac
    return 0
  fi

  # The command is the first word that is neither an option nor an option's value.
  local command="" given=0
  for ((i = 1; i < cword; i++)); do
    if [[ ${words[i]} == -* ]]; then
      [[ ${words[i]} != *=* && -n ${value_of[${words[i]}]} ]] && ((i++))
    elif [[ -z $command ]]; then
      command=${words[i]}
    else
      ((given++))
    fi
  done

  if [[ $cur == -* ]]; then
    local -a options=()
    while IFS= read -r entry; do
      term=${entry#  } term=${term%%  *}
      IFS=' ' read -r name value _ <<<"$term"
      options+=("${name%,}")
      [[ $value == -* ]] && options+=("$value")
    done < <(_quillmere_cli_section "$program" "$command" OPTIONS)
    COMPREPLY=($(compgen -W "${options[*]}" -- "$cur"))
    return 0
  fi
  case $command in
    "" | help)
      [[ -n $command && $given -gt 0 ]] && return 0
      COMPREPLY=($(compgen -W "$(_quillmere_cli_section "$program" "" COMMANDS | awk '{print $1}')" -- "$cur"))
      ;;
    decrypt | encrypt | import-winapp2)
      ((given == 0)) && COMPREPLY=($(compgen -f -- "$cur")) && compopt -o filenames 2>/dev/null
      ;;
    show | clear)
      # The tree of the catalogue the line names: full tags, and the names without "Ur All Privacy\".
      local -a list=()
      for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
          --catalogue | --registry) list+=("${words[i]}" "$(_quillmere_cli_dequote "${words[i + 1]}")") ;;
          --catalogue=* | --registry=*) list+=("${words[i]%%=*}" "$(_quillmere_cli_dequote "${words[i]#*=}")") ;;
          --all) list+=(--all) ;;
        esac
      done
      local typed tag short root='Ur All Privacy\'
      typed=$(_quillmere_cli_dequote "$cur")
      COMPREPLY=()
      while IFS= read -r tag; do
        short=${tag#"$root"}
        [[ $tag == "$typed"* ]] && COMPREPLY+=("$tag")
        [[ $short != "$tag" && $short == "$typed"* ]] && COMPREPLY+=("$short")
      done < <("$program" "${list[@]}" list 2>/dev/null)
      # Readline quotes the names as it quotes file names: their backslashes and blanks.
      compopt -o filenames 2>/dev/null
      ;;
  esac
  return 0
}

complete -F _quillmere_cli quillmere-cli
