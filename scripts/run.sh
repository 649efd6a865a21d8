#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program's main job on the bundled sample profile
# with a virtual radio standing in for a real one: qmvvlt-radiosim serves the sample on a
# pseudo-terminal, and the desktop program opens a copy of the sample with that radio as its port,
# in a configuration store of its own (the user's own is left alone). The virtual radio stops when
# the program ends. Without a display the same job runs from the command line: read the virtual radio
# into a profile, show it, write it back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure-build.sh -DQMVVLT_BUILD_TESTS=OFF -DQMVVLT_BUILD_BENCH=OFF

sample=data/samples/SampleProfile.xml
cli=build/src/cli/qmvvlt-cli
work=$(mktemp -d /tmp/qmvvlt-run.XXXXXX)
link=$work/radio
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

build/tools/radiosim/qmvvlt-radiosim --quiet --link "$link" --profile "$sample" \
  >"$work/radiosim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ -e "$link" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    cat "$work/radiosim.log" >&2
    exit 1
  fi
  sleep 0.1
done
echo "Virtual radio on $link (qmvvlt-radiosim, serving $sample)"

export QMVVLT_CONFIG_DIR=$work/config
mkdir -p "$QMVVLT_CONFIG_DIR"
"$cli" config CurrentComPort "$link" >/dev/null
"$cli" config AutoDetect 0 >/dev/null

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The program works on a copy: File > Save must not overwrite the bundled sample, which the
  # virtual radio, the tests and the examples use.
  copy=$work/SampleProfile.xml
  cp "$sample" "$copy"
  echo "Opening the desktop program on a copy of $sample; Device > Read, Write and Reset use the virtual radio."
  echo "The copy goes when the program ends: keep changes with File > Save As."
  build/src/app/qmvvlt "$copy"
  exit
fi

echo "No display: the desktop program would open $sample with the virtual radio on $link."
echo "Running the same job from the command line: read the radio, show the profile, write it back."
"$cli" read --port "$link" -o "$work/from-radio.lam"
"$cli" show "$work/from-radio.lam"
"$cli" write "$work/from-radio.lam" --port "$link" --yes
