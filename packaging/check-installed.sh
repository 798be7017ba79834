#!/usr/bin/env bash
# Checks what `cmake --install` put under PREFIX (for example DESTDIR/usr, or /usr after the
# Debian package is installed):
#   - the desktop entry (desktop-file-validate) and the AppStream metainfo (appstreamcli validate);
#   - that the pieces agree: the entry's program and icon exist, the PNG icons have the size their
#     folder names, the metainfo's launchable, binaries and newest release match what is installed;
#   - that the manual pages and the changelog are valid gzip files, the pages format without
#     warnings and name the installed version, and that every flag of `solvane-chart --help` is
#     documented in its manual page and offered by its bash completion.
#
# Usage: packaging/check-installed.sh PREFIX
# Exit status: 0 every check passed; 1 a check failed; 77 nothing failed but a validator
# (desktop-file-validate or appstreamcli) is missing, so the check is incomplete.
set -u

prefix=${1:?usage: check-installed.sh PREFIX}
prefix=${prefix%/}
app_id=app.solvane.Solvane
failures=0
missing_tools=()

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

# --- solvane-chart and its version -------------------------------------------------------------
chart=$prefix/bin/solvane-chart
if [[ ! -x $chart ]]; then
  fail "$chart is missing or not executable"
  exit 1
fi
version=$("$chart" --version | awk 'NR == 1 { print $2 }')
if [[ ! $version =~ ^[0-9]+(\.[0-9]+)+$ ]]; then
  fail "solvane-chart --version gave '$version', not a version number"
  exit 1
fi
pass "solvane-chart $version"
mapfile -t help_flags < <("$chart" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
if ((${#help_flags[@]} < 10)); then fail "solvane-chart --help lists only ${#help_flags[@]} flags"; fi

desktop=0
[[ -e $prefix/bin/solvane ]] && desktop=1

# --- manual pages --------------------------------------------------------------------------------
pages=(solvane-chart)
((desktop)) && pages+=(solvane)
for page in "${pages[@]}"; do
  file=$prefix/share/man/man1/$page.1.gz
  if [[ ! -f $file ]]; then
    fail "$file is missing"
    continue
  fi
  if ! gzip -t "$file" 2>/dev/null; then
    fail "$file is not a valid gzip file"
    continue
  fi
  source_text=$(gzip -dc "$file")
  if ! grep -q "^\.TH .*\"Solvane $version\"" <<<"$source_text"; then
    fail "$page.1: its .TH line does not name Solvane $version"
  fi
  if have groff; then
    warnings=$(groff -man -Tutf8 -ww -z <<<"$source_text" 2>&1)
    if [[ -n $warnings ]]; then
      fail "$page.1 formats with warnings:"$'\n'"$warnings"
    fi
  fi
  pass "manual page $page(1)"
done

# Every flag of --help is documented (the page writes "-" as "\-").
if [[ -f $prefix/share/man/man1/solvane-chart.1.gz ]]; then
  page_text=$(gzip -dc "$prefix/share/man/man1/solvane-chart.1.gz" | sed 's/\\-/-/g')
  for flag in "${help_flags[@]}"; do
    grep -qE -- "$flag([^a-z-]|\$)" <<<"$page_text" || fail "solvane-chart.1 does not document $flag"
  done
  pass "solvane-chart.1 documents the flags of --help"
fi

# --- Debian documentation files ------------------------------------------------------------------
doc=$prefix/share/doc/solvane
[[ -s $doc/copyright ]] || fail "$doc/copyright is missing"
if [[ -f $doc/changelog.gz ]] && gzip -t "$doc/changelog.gz" 2>/dev/null; then
  first=$(gzip -dc "$doc/changelog.gz" | head -n 1)
  [[ $first == "solvane ($version) "* ]] ||
    fail "changelog.gz starts with '$first', not an entry for $version"
else
  fail "$doc/changelog.gz is missing or not a valid gzip file"
fi
pass "copyright and changelog"

# --- bash completion -----------------------------------------------------------------------------
completion=$prefix/share/bash-completion/completions/solvane-chart
if [[ ! -f $completion ]]; then
  fail "$completion is missing"
elif ! bash -n "$completion"; then
  fail "$completion is not valid bash"
elif [[ -f /usr/share/bash-completion/bash_completion ]]; then
  # Completes `line` (the word under the cursor last) in a fresh shell and prints the candidates.
  complete_line() {
    PATH="$prefix/bin:$PATH" bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$1"
      COMP_LINE=$2
      COMP_POINT=${#COMP_LINE}
      read -r -a COMP_WORDS <<<"$COMP_LINE"
      [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
      _solvane_chart solvane-chart "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
      printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$1" | sort -u
  }
  offered=$(complete_line "solvane-chart --")
  expected=$(printf '%s\n' "${help_flags[@]}")
  if [[ $offered != "$expected" ]]; then
    fail "the completion of '--' differs from the flags of --help:"$'\n'"$(diff <(echo "$expected") <(echo "$offered"))"
  fi
  formats=$(complete_line "solvane-chart --format " | tr '\n' ' ')
  [[ $formats == "json text " ]] || fail "--format completes to '$formats', not 'json text'"
  # IST names one zone; NST names two, so it is not offered (solvane-chart would refuse it).
  zones=$(complete_line "solvane-chart --zone ")
  grep -qx IST <<<"$zones" || fail "--zone does not offer IST"
  grep -qx NST <<<"$zones" && fail "--zone offers the ambiguous NST"
  for zone in $zones; do
    "$chart" --sample --zone "$zone" >/dev/null 2>&1 || fail "--zone offers '$zone', which solvane-chart refuses"
  done
  pass "bash completion"
else
  pass "bash completion is valid bash (bash-completion not installed: not exercised)"
fi

# --- desktop entry, icons, metainfo --------------------------------------------------------------
if ((desktop)); then
  entry=$prefix/share/applications/$app_id.desktop
  metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  icons=$prefix/share/icons/hicolor

  if [[ ! -f $entry ]]; then
    fail "$entry is missing"
  else
    if have desktop-file-validate; then
      desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    else
      missing_tools+=(desktop-file-validate)
    fi
    key() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
    exec_program=$(key Exec | awk '{ print $1 }')
    [[ -x $prefix/bin/$exec_program ]] || fail "Exec=$exec_program is not an installed program"
    icon=$(key Icon)
    [[ $icon == "$app_id" ]] || fail "Icon=$icon, expected $app_id"
    [[ -f $icons/scalable/apps/$icon.svg ]] || fail "the icon $icon.svg is not installed"
    pass "desktop entry"
  fi

  # PNG icons are optional (rendered when rsvg-convert was found) but must fit their folders.
  shopt -s nullglob
  for png in "$icons"/*x*/apps/"$app_id".png; do
    size=${png%/apps/*}
    size=${size##*/}
    read -r -a header < <(od -An -tu1 -N24 -w24 "$png")
    signature="${header[*]:0:8}"
    width=$(((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19]))
    height=$(((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23]))
    if [[ $signature != "137 80 78 71 13 10 26 10" ]]; then
      fail "$png is not a PNG image"
    elif [[ ${width}x$height != "$size" ]]; then
      fail "$png is ${width}x$height, in the folder $size"
    fi
  done
  shopt -u nullglob
  pass "icons"

  if [[ ! -f $metainfo ]]; then
    fail "$metainfo is missing"
  else
    if have appstreamcli; then
      appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
    else
      missing_tools+=(appstreamcli)
    fi
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [[ -f $prefix/share/applications/$launchable ]] ||
      fail "the metainfo launches '$launchable', which is not installed"
    newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
    [[ $newest == "$version" ]] ||
      fail "the metainfo's newest release is '$newest', the programs are $version"
    for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
      [[ -x $prefix/bin/$binary ]] || fail "the metainfo provides '$binary', which is not installed"
    done
    pass "metainfo"
  fi
fi

if ((failures > 0)); then
  echo "check-installed: $failures check(s) failed" >&2
  exit 1
fi
if ((${#missing_tools[@]} > 0)); then
  echo "check-installed: not found: ${missing_tools[*]} (Debian: desktop-file-utils, appstream)" >&2
  exit 77
fi
echo "check-installed: all checks passed"
