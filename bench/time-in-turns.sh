# Sourced by the comparison scripts. The commands take turns, round after
# round, and each one's time is its median over the rounds (after one warm-up
# run of each): the speed of a virtual machine drifts over minutes, and times
# taken minutes apart would put that drift into the ratios. hyperfine times a
# round when it is installed (it takes out the time of starting a shell);
# otherwise the shell's own clock does, each command in a subshell, as
# starting a shell and a clock program would add milliseconds to every time.
#
# time_in_turns RUNS WORK NAME COMMAND [NAME COMMAND ...] sets seconds[NAME]
# (an associative array the caller declares); WORK is a folder for scratch
# files. TURNS_HYPERFINE=0 times with the shell's clock even when hyperfine is
# installed.

time_in_turns() {
  local runs=$1 work=$2
  shift 2
  local -a names=() commands=() args=()
  while [[ $# -gt 0 ]]; do
    names+=("$1") commands+=("$2") args+=(--command-name "$1" "$2")
    shift 2
  done
  local times="$work/round-times.txt" round i start end
  : >"$times"
  local hyperfine=0
  [[ "${TURNS_HYPERFINE:-1}" == 1 ]] && command -v hyperfine >/dev/null 2>&1 && hyperfine=1
  for ((round = 0; round < runs; round++)); do
    if [[ $hyperfine -eq 1 ]]; then
      # Failures are answers here (pgn-extract -r exits non-zero on a game with errors).
      # Output goes to a pipe: GNU grep stops at the first match when it writes to /dev/null.
      hyperfine --warmup $((round == 0 ? 1 : 0)) --runs 1 --ignore-failure --output=pipe --style none \
        --export-json "$work/round.json" "${args[@]}" >/dev/null
      python3 -c '
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(r["command"], r["times"][0])
' "$work/round.json" >>"$times"
      continue
    fi
    for i in "${!names[@]}"; do
      # Output goes to a file: GNU grep stops at the first match when it writes to /dev/null.
      ((round > 0)) || (eval "${commands[$i]}") >"$work/output.txt" 2>&1 || true
      start=$EPOCHREALTIME
      (eval "${commands[$i]}") >"$work/output.txt" 2>&1 || true
      end=$EPOCHREALTIME
      awk -v c="${names[$i]}" -v s="$start" -v e="$end" 'BEGIN { printf "%s %.6f\n", c, e - s }' >>"$times"
    done
  done
  local name median
  while read -r name median; do
    seconds[$name]=$median
  done < <(sort -k1,1 -k2,2g "$times" | awk '
    { t[$1, ++n[$1]] = $2 }
    END { for (c in n) { k = n[c]; m = (k % 2) ? t[c, (k + 1) / 2] : (t[c, k / 2] + t[c, k / 2 + 1]) / 2; print c, m } }')
  if [[ $hyperfine -eq 1 ]]; then
    turns_method="hyperfine, the commands in turn, median of $runs rounds after 1 warm-up"
  else
    turns_method="the shell's clock, the commands in turn, median of $runs rounds after 1 warm-up"
  fi
}
