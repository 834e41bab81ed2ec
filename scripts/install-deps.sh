#!/usr/bin/env bash
# install-deps.sh SET...: installs the Debian packages of the named sets, nothing else.
#   run      starting a built program: the SVG plugin that draws its icon, Liberation Sans for
#            the window's Arial (the layout is measured for its widths), DejaVu Sans for Qt's
#            plain sans-serif (message boxes, file dialogs), xdg-open for the spreadsheet
#            fallback; the Qt libraries come with the build set
#   build    compiling the program and its word database (the word lists, SCOWL's levels,
#            WordNet and the CMU Pronouncing Dictionary for the word facts, espeak-ng for the
#            syllables of words the dictionary lacks; with languages), and the suites (Qt's private
#            headers, through which one switches accessibility on)
#   languages the other languages' words: word lists, spelling dictionaries, hyphenation patterns,
#            FreeDict dictionaries and Apertium's Spanish analyser (part of build)
#   test     running the suites (includes run and build); adwaita-qt6 is the dark desktop style
#            the window's look is checked under
#   package  making the Debian package (includes build)
#   fuzz     the libFuzzer targets and the formatter (includes build); scripts/fuzz.sh asks for it
#   mutants  the mutation script's interpreter (includes test); scripts/mutants.sh asks for it
# Idempotent: when everything is already there it only checks and returns.
set -euo pipefail

declare -A sets=(
    [run]="libqt6svg6 fonts-liberation fonts-dejavu-core xdg-utils"
    [build]="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
        qt6-base-private-dev libgl-dev libvulkan-dev libsqlite3-dev libxlsxwriter-dev zlib1g-dev
        wamerican wbritish wcanadian scowl wordnet-base festlex-cmu espeak-ng"
    [languages]="wngerman wfrench wspanish witalian wdutch wpolish wbrazilian wswedish wdanish
        hunspell-de-de hunspell-fr hunspell-es hunspell-it hunspell-nl hunspell-sv hunspell-da
        hyphen-de hyphen-fr hyphen-es hyphen-it hyphen-nl hyphen-pl hyphen-pt-br hyphen-sv
        hyphen-da dict-freedict-deu-eng dict-freedict-fra-eng dict-freedict-spa-eng lttoolbox
        apertium-eng-spa apertium-fr-es"
    [test]="unzip adwaita-qt6"
    [package]="dpkg-dev file"
    [fuzz]="clang clang-format libclang-rt-dev"
    [mutants]="python3"
)
declare -A includes=([build]="languages" [test]="run build languages"
    [package]="build languages" [fuzz]="build languages" [mutants]="test run build languages")

[ $# -gt 0 ] || { echo "usage: $0 run|build|test|package|fuzz|mutants..." >&2; exit 2; }
packages=()
for set in "$@"; do
    [ -n "${sets[$set]:-}" ] || { echo "$0: no package set '$set'" >&2; exit 2; }
    for part in $set ${includes[$set]:-}; do
        # Word splitting of the set's text is wanted here: package names hold no blanks.
        # shellcheck disable=SC2206
        packages+=(${sets[$part]})
    done
done

missing=()
declare -A seen=()
for p in "${packages[@]}"; do
    [ -z "${seen[$p]:-}" ] || continue
    seen[$p]=1
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
