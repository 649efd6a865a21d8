#!/usr/bin/env bash
# Installs the Debian package on this machine with apt, checks what a dealer gets, then purges it
# and checks that nothing is left behind. Run it on a test machine as root or with sudo:
#   bash scripts/package-check.sh [./qmvvlt_<version>_<arch>.deb]
# Without an argument it takes the newest qmvvlt_*.deb in the top folder (scripts/package.sh puts
# it there). It refuses to run where qmvvlt is installed already: the purge at the end would take
# that installation away. Exit status 0 when every check passed, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:-$(ls -t qmvvlt_*.deb 2>/dev/null | head -1)}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "No package: run scripts/package.sh first or name the .deb." >&2
  exit 1
fi
deb=$(realpath "$deb")
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if dpkg-query -W -f '${db:Status-Status}' qmvvlt 2>/dev/null | grep -q installed; then
  echo "qmvvlt is installed already; purge it first (apt-get purge qmvvlt)." >&2
  exit 1
fi

version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d /tmp/qmvvlt-package-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail=0
pass() { echo "ok: $*"; }
failed() {
  echo "FAILED: $*"
  fail=1
}
check() { # what, then the command
  local what=$1
  shift
  if "$@" >"$work/out" 2>&1; then pass "$what"; else
    failed "$what"
    sed 's/^/    /' "$work/out"
  fi
}
has_word() { grep -qwF -- "$1" <<<"$2"; }

echo "== Installing $(basename "$deb") (version $version)"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -q "$deb"

# A dealer's account: no configuration of its own, no display.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QMVVLT_CONFIG_DIR QMVVLT_INSTALL_DIR XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WAYLAND_DISPLAY
sample=/usr/share/qmvvlt/samples/SampleProfile.xml

echo "== One version everywhere: $version"
for program in qmvvlt qmvvlt-cli qmvvlt-radiosim; do
  shown=$("$program" --version 2>"$work/err") || true
  if has_word "$version" "$shown"; then pass "$program --version: $shown"; else
    failed "$program --version shows \"$shown\""
  fi
done
# The About box and --version take the same compiled-in text (Qt keeps it in UTF-16).
check "the About box's version text in /usr/bin/qmvvlt" \
  bash -c "strings -el /usr/bin/qmvvlt | grep -qFx '$version'"
check "release $version in the AppStream metadata" \
  grep -q "<release version=\"$version\"" /usr/share/metainfo/com.varentis.qmvvlt.metainfo.xml
check "package changelog names $version" \
  bash -c "zcat /usr/share/doc/qmvvlt/changelog.gz | head -1 | grep -qF '($version)'"

echo "== The command-line program on the installed sample, without configuration"
templates=$(qmvvlt-cli templates 2>&1) || true
if grep -q QMV410 <<<"$templates"; then pass "qmvvlt-cli templates"; else
  failed "qmvvlt-cli templates: $templates"
fi
check "qmvvlt-cli show $sample" qmvvlt-cli show "$sample"
check "qmvvlt-cli validate $sample" qmvvlt-cli validate "$sample"

echo "== Manual pages"
for page in qmvvlt qmvvlt-cli qmvvlt-radiosim; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 "$page" 2>&1 >"$work/page") || true
  if [ -z "$warnings" ] && grep -q "$version" "$work/page"; then
    pass "man $page renders without warnings"
  else
    failed "man $page: ${warnings:-the page does not name $version}"
  fi
done

echo "== Menu entry, icon, file type"
desktop=/usr/share/applications/qmvvlt.desktop
check "desktop-file-validate $desktop" desktop-file-validate "$desktop"
icon=$(sed -n 's/^Icon=//p' "$desktop")
check "icon $icon in the hicolor theme" \
  bash -c "ls /usr/share/icons/hicolor/*/apps/$icon.{svg,png} 2>/dev/null | grep -q ."
mime=application/x-qmvvlt-profile
check "$mime in the menu entry" grep -q "^MimeType=.*$mime" "$desktop"
if command -v update-mime-database >/dev/null; then
  # shared-mime-info's trigger has run during the installation.
  check "*.lam registered as $mime" grep -q "$mime:\*\.lam" /usr/share/mime/globs2
  check "$mime described" test -f "/usr/share/mime/${mime}.xml"
else
  echo "not checked: the MIME database (shared-mime-info is not installed)"
fi
if command -v update-desktop-database >/dev/null; then
  check "the menu entry opens $mime" \
    grep -q "^$mime=.*qmvvlt.desktop" /usr/share/applications/mimeinfo.cache
fi
if command -v xdg-mime >/dev/null; then
  lam=$work/profile.lam
  qmvvlt-cli import "$sample" -o "$lam" >/dev/null
  check "xdg-mime query default $mime" \
    bash -c "xdg-mime query default $mime | grep -qx qmvvlt.desktop"
  type=$(XDG_CURRENT_DESKTOP=X-Generic xdg-mime query filetype "$lam" 2>&1) || true
  # Outside a desktop session xdg-mime asks file(1), which goes by content, not by the database.
  echo "info: xdg-mime query filetype profile.lam (no desktop session): $type"
fi

echo "== Programming cable, languages, help"
rule=/usr/lib/udev/rules.d/60-qmvvlt-cable.rules
# Debian 12's udev reads /etc, /run, /usr/local/lib and /usr/lib udev/rules.d (/lib is /usr/lib).
check "cable rule in udev's folder" test -f "$rule"
check "cable rule gives the cable to dialout" grep -q 'GROUP="dialout"' "$rule"
for language in CaFrench French German LaPortuguese LaSpanish Spanish; do
  check "language file $language" test -s "/usr/share/qmvvlt/lang/$language.txt"
done
check "help pages" test -s /usr/share/qmvvlt/help/English/index.html

echo "== The desktop program on the installed sample (offscreen)"
config=$work/config
qmvvlt --no-splash --config "$config" "$sample" >"$work/gui.log" 2>&1 &
gui=$!
# Once it listens (its socket in the runtime folder), a second start with the same configuration
# store hands the sample over and ends; the running program answers only from its event loop,
# after it opened the sample.
for _ in $(seq 100); do
  if ! kill -0 "$gui" 2>/dev/null || compgen -G "$XDG_RUNTIME_DIR/qmvvlt-*" >/dev/null; then break; fi
  sleep 0.1
done
if kill -0 "$gui" 2>/dev/null && timeout 20 qmvvlt --config "$config" "$sample" >>"$work/gui.log" 2>&1 &&
  kill -0 "$gui" 2>/dev/null; then
  pass "qmvvlt started on the sample and took a second start's hand-over"
else
  failed "qmvvlt did not start on the sample:"
  sed 's/^/    /' "$work/gui.log"
fi
# The program has no command to quit; it ends like a session ending it.
kill -TERM "$gui" 2>/dev/null || true
status=0
wait "$gui" || status=$?
if [ $status -eq 143 ] || [ $status -eq 0 ]; then pass "qmvvlt ended (status $status)"; else
  failed "qmvvlt ended with status $status"
fi
if grep -qiE "could not|cannot|failed|error" "$work/gui.log"; then
  failed "qmvvlt complained:"
  sed 's/^/    /' "$work/gui.log"
fi

echo "== Purging"
files=$(dpkg -L qmvvlt | sort)
$SUDO apt-get purge -y -q qmvvlt
left=""
for path in $files; do
  # A folder another package owns stays; the rest must go.
  if [ -e "$path" ] && ! { [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1; }; then
    left="$left $path"
  fi
done
if [ -z "$left" ]; then pass "nothing of qmvvlt left after the purge"; else
  failed "left after the purge:$left"
fi
if command -v update-mime-database >/dev/null; then
  check "*.lam no longer registered" bash -c "! grep -q '$mime' /usr/share/mime/globs2"
fi
state=$(dpkg-query -W -f '${db:Status-Status}' qmvvlt 2>/dev/null) || true
if [ -n "$state" ] && [ "$state" != not-installed ]; then
  failed "dpkg still holds qmvvlt as $state"
fi

if [ $fail -eq 0 ]; then echo "All checks passed."; else echo "Some checks FAILED."; fi
exit $fail
