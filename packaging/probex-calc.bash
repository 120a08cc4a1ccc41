# Bash completion of probex-calc: the options after a "-", the function
# names until one is given, nothing where a number is due.  Installed in
# bash-completion's folder, which loads it when probex-calc is first
# completed.

_probex_calc() {
  local options="--help --version --inverse --batch --json --plot --size --table
                 --from --to --step --critical --alpha --df --df1 --df2
                 --list-functions"
  local functions="normal chisquare t f binomial poisson hypergeometric factorial
                   binomialcoefficient"
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} word
  COMPREPLY=()
  case $prev in
    --size | --from | --to | --step | --alpha | --df | --df1 | --df2) return ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  # After the function name come its fields, numbers.
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    [[ " ${functions//$'\n'/ } " == *" $word "* ]] && return
  done
  mapfile -t COMPREPLY < <(compgen -W "$functions" -- "$cur")
}
complete -F _probex_calc probex-calc
