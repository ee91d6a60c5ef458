#!/usr/bin/env bash
# bench/compare_suggestions.sh [LIST] [DATA_DIR] [CLI]: how often the word meant comes first
# among the suggestions for a misspelling, for verbarium-cli and for Debian's aspell
# (packages aspell, aspell-en) in the same run, over the list of common misspellings kept in
# tests/data/misspellings.txt ("misspelling intended" a line).
#
# The share that counts is over the words the dictionary holds (looking the intended word up
# gives that very word): a word it lacks cannot be suggested. The share over the whole list
# is printed too. A misspelling that our lookup resolves to some base form gets no
# suggestions and counts as a miss.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=${1:-$root/tests/data/misspellings.txt}
data=${2:-$root/build/Data}
cli=${3:-$root/build/cli/verbarium-cli}

command -v aspell >/dev/null || { echo "aspell is not installed (apt-get install aspell-en)"; exit 1; }
[ -x "$cli" ] || { echo "no $cli: build the verbarium-cli target"; exit 1; }
[ -f "$data/1001W.dat" ] || { echo "no $data/1001W.dat: build the verbarium_data target"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -v '^#' "$list" | awk 'NF == 2 { print $1 > "'"$work"'/typos"; print $2 > "'"$work"'/meant" }'

# From a batch of JSON lines, per line: the word looked up and its other base forms joined by
# "|" ("-" for none), then the first suggestion ("-" for none). Words are letters and spaces,
# so a pattern match on the JSON text is enough; spaces become "_".
lookup_fields() {
  "$cli" --data "$data" lookup --batch - --json | awk '
    function field(pattern,    text) {
      if (!match($0, pattern)) return "-"
      text = substr($0, RSTART, RLENGTH)
      sub(/^"[a-z]*":\[?"?/, "", text); sub(/"?\]?$/, "", text)
      gsub(/","/, "|", text); gsub(/ /, "_", text)
      return text == "" ? "-" : text
    }
    { word = field("\"word\":\"[^\"]*\"")
      also = field("\"also\":\\[[^]]*\\]")
      first = field("\"suggestions\":\\[[^]]*\\]"); sub(/\|.*/, "", first)
      print word, (word == "-" ? "-" : word "|" also), first }' || true
}
lookup_fields < "$work/meant" > "$work/meant_fields"
lookup_fields < "$work/typos" > "$work/typo_fields"

# aspell's first suggestion, or "-" for none: one result line per word, then a blank line.
sed 's/^/^/' "$work/typos" | aspell -a --lang=en |
  awk 'NR == 1 { next }
       /^$/ { print (first == "" ? "-" : first); first = ""; next }
       /^&/ { sub(/^[^:]*: /, ""); split($0, s, ", "); first = tolower(s[1]); gsub(/ /, "_", first) }' \
  > "$work/aspell"

# Columns: intended; the word it is looked up as; that word and its other base forms; the word
# the misspelling is looked up as; our first suggestion; aspell's first suggestion.
cut -d' ' -f1,2 "$work/meant_fields" > "$work/meant_entry"
cut -d' ' -f1,3 "$work/typo_fields" > "$work/typo_entry"
paste -d' ' "$work/meant" "$work/meant_entry" "$work/typo_entry" "$work/aspell" > "$work/table"
awk '
  { total++; held = ($1 == $2); heldn += held
    first = ($5 == $1)
    # The misspelling is itself looked up as the intended word or one of its base forms.
    outright = 0; n = split($3, forms, "|")
    for (i = 1; i <= n; i++) if ($4 != "-" && $4 == forms[i]) outright = 1
    if (first) { ours++; if (held) ours_held++ }
    if (held && (first || outright)) reach_held++
    if ($6 == $1) { theirs++; if (held) theirs_held++ } }
  END {
    printf "misspellings: %d, of which the dictionary holds the intended word: %d\n", total, heldn
    printf "%-52s %14s %14s\n", "", "verbarium", "aspell"
    printf "%-52s %7d (%4.1f%%) %7d (%4.1f%%)\n", "intended word first, words the dictionary holds", \
      ours_held, 100 * ours_held / heldn, theirs_held, 100 * theirs_held / heldn
    printf "%-52s %7d (%4.1f%%) %7d (%4.1f%%)\n", "intended word first, the whole list", \
      ours, 100 * ours / total, theirs, 100 * theirs / total
    printf "%-52s %7d (%4.1f%%)\n", "first, or looked up as it or its base form, held", \
      reach_held, 100 * reach_held / heldn
  }' "$work/table"
if [ -n "${VERBOSE:-}" ]; then
  echo
  echo "intended, its entry, its forms, our entry, our first, aspell's first"
  echo "(where one of the two misses):"
  awk '$1 != $5 || $1 != $6' "$work/table"
fi
