#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree and checks it as a dealer's machine
# would see it: lintian finds no error, the desktop file and the release metadata validate, and
# the programs unpacked into a scratch root find their own data there and work on the sample.
#   check-package.sh BUILD_DIR VERSION
# Exits 77 (skipped) when a Debian packaging tool is missing.
set -euo pipefail
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

# Outside the build tree: a program running from inside it would take the build's data folder.
scratch=$(mktemp -d /tmp/qmvvlt-package.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
  cat "$scratch/cpack.log"
  exit 1
}
deb=$(find "$scratch/out" -maxdepth 1 -name "qmvvlt_${version}_*.deb")
if [ -z "$deb" ]; then
  echo "no qmvvlt_${version}_<arch>.deb in:" "$scratch"/out/*
  exit 1
fi
fail=0
check() { # what, then the command
  local what=$1
  shift
  if ! "$@"; then
    echo "FAILED: $what"
    fail=1
  fi
}

check "lintian without errors" lintian --fail-on error --tag-display-limit 0 "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libxml2 liblua5.4-0 qt6-qpa-plugins libqt6svg6 libqt6sql6-sqlite; do
  check "Depends names $library ($depends)" grep -qw "$library" <<<"$depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/qmvvlt usr/bin/qmvvlt-cli usr/bin/qmvvlt-radiosim \
  usr/share/applications/qmvvlt.desktop usr/share/mime/packages/qmvvlt.xml \
  usr/share/icons/hicolor/scalable/apps/qmvvlt.svg usr/lib/udev/rules.d/60-qmvvlt-cable.rules \
  usr/share/man/man1/qmvvlt.1.gz usr/share/man/man1/qmvvlt-cli.1.gz \
  usr/share/man/man1/qmvvlt-radiosim.1.gz etc/qmvvlt/machine.ini \
  usr/share/qmvvlt/lib usr/share/qmvvlt/help usr/share/qmvvlt/samples/SampleProfile.xml; do
  check "package holds $file" test -e "$root/$file"
done
check "desktop file" desktop-file-validate "$root/usr/share/applications/qmvvlt.desktop"
metainfo=$(find "$root/usr/share/metainfo" -name '*.metainfo.xml')
check "metainfo carries version $version" grep -q "release version=\"$version\"" "$metainfo"
if command -v appstreamcli >/dev/null; then
  check "metainfo" appstreamcli validate --no-net --pedantic "$metainfo"
fi

# The unpacked programs, with the package's machine scope in a configuration store of their own
# (the one in /etc is not theirs here) less its InstallPath, which names /usr/share/qmvvlt: they
# find their data under their own prefix.
export QMVVLT_CONFIG_DIR=$scratch/config
unset QMVVLT_INSTALL_DIR
mkdir -p "$QMVVLT_CONFIG_DIR"
sed '/^InstallPath=/d' "$root/etc/qmvvlt/machine.ini" >"$QMVVLT_CONFIG_DIR/machine.ini"
cli=$root/usr/bin/qmvvlt-cli
check "qmvvlt-cli --version" test "$("$cli" --version)" = "qmvvlt-cli $version"
templates=$("$cli" templates) || fail=1
check "templates listed from the scratch root ($templates)" grep -q QMV410 <<<"$templates"
shown=$("$cli" show "$root/usr/share/qmvvlt/samples/SampleProfile.xml") || fail=1
check "show prints the sample's radio" grep -qi "QMV410" <<<"$shown"
check "the data folder is the scratch root's" grep -qF "$root/usr/share/qmvvlt" <<<"$("$cli" config)"
exit $fail
