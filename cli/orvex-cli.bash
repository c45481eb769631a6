# bash completion for orvex-cli

_orvex_cli() {
  local cur prev words cword
  _init_completion || return

  local commands="calc subnets masks int hosts ipv6 aggregate merge common exclude ranges
    deaggregate summary overlaps plan"
  local common="--json -o --output -h --help"
  local sub="" i
  for ((i = 1; i < cword; i++)); do
    case "${words[i]}" in
      calc | subnets | masks | int | hosts | ipv6 | aggregate | merge | common | exclude | \
        ranges | deaggregate | summary | overlaps | plan)
        sub=${words[i]}
        break
        ;;
    esac
  done

  case "$prev" in
    -o | --output | --names)
      _filedir
      return
      ;;
    -f | --file)
      _filedir json
      return
      ;;
    --profile)
      COMPREPLY=($(compgen -W "standard aws azure gcp" -- "$cur"))
      return
      ;;
    --mac-format)
      COMPREPLY=($(compgen -W "colon dash dot" -- "$cur"))
      return
      ;;
    --delimiter | --names-delimiter)
      COMPREPLY=($(compgen -W "comma semicolon tab space" -- "$cur"))
      return
      ;;
    --width)
      COMPREPLY=($(compgen -W "16 32 64" -- "$cur"))
      return
      ;;
    --notation)
      COMPREPLY=($(compgen -W "cidr mask wildcard range" -- "$cur"))
      return
      ;;
    --from | --limit | --subnetting | --growth)
      return
      ;;
  esac

  local options
  case "$sub" in
    "")
      COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
      return
      ;;
    calc)
      options="$common --csv --no-class-a-supernets --no-rfc3021 --no-class-de --mac-format --table"
      ;;
    subnets) options="$common --csv --count" ;;
    masks) options="$common --csv --from --rfc3021 --subnetting" ;;
    int)
      options="$common --width --mac-format"
      [[ $cur != -* ]] && options="$options AND OR XOR NOT"
      ;;
    hosts) options="$common --delimiter --limit --names --names-delimiter" ;;
    ipv6) options="$common" ;;
    plan) options="$common --csv --file --profile --rfc3021 --growth" ;;
    aggregate | merge | common | exclude | deaggregate | summary)
      options="$common --notation --lenient"
      ;;
    ranges | overlaps) options="$common --lenient" ;;
  esac
  # The list commands take files.
  case "$sub" in
    aggregate | merge | common | exclude | ranges | deaggregate | summary | overlaps)
      if [[ $cur != -* ]]; then
        _filedir
        return
      fi
      ;;
  esac
  [[ $cur == -* || $sub == int ]] && COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _orvex_cli orvex-cli
