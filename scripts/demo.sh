#!/bin/sh
# Builds Tavix Corlan and runs it against the local service on loopback, with a practice event in it.
# For a fresh Debian 12 machine, run as root from the repository's folder: ./scripts/demo.sh
#
# Everything the demo writes stays under build/demo/: the service's data folder and a separate home whose
# Documents/Tavix/TavixCorlan.xml points the program at the service. Your own configuration is not touched.
# TAVIX_DEMO_NO_BUILD=1 reuses an existing build instead of installing packages and building.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${TAVIX_BUILD_DIR:-build}

if [ "${TAVIX_DEMO_NO_BUILD:-0}" != "1" ]; then
  ./scripts/install-deps.sh
  ./scripts/build.sh
fi

SERVICE="$ROOT/$BUILD_DIR/tools/tavix-service"
CRYPT="$ROOT/$BUILD_DIR/tools/tavix-crypt"
PROGRAM="$ROOT/$BUILD_DIR/tavix-corlan"
for f in "$SERVICE" "$CRYPT" "$PROGRAM"; do
  [ -x "$f" ] || { echo "demo: $f is missing; the build did not finish." >&2; exit 1; }
done

DEMO="$ROOT/$BUILD_DIR/demo"
DATA="$DEMO/service"
DEMO_HOME="$DEMO/home"
CONFIG_DIR="$DEMO_HOME/Documents/Tavix"
rm -rf "$DATA" "$DEMO/service.log"
mkdir -p "$DATA" "$CONFIG_DIR" "$DEMO_HOME/.config" "$DEMO_HOME/run"
chmod 700 "$DEMO_HOME/run"

# The service on a free loopback port; --seed-demo stores a practice event whose window is open now.
"$SERVICE" --data "$DATA" --port 0 --seed-demo >"$DEMO/service.log" 2>&1 &
SERVICE_PID=$!
stop_service() {
  if kill -0 "$SERVICE_PID" 2>/dev/null; then
    kill "$SERVICE_PID" 2>/dev/null || true
    wait "$SERVICE_PID" 2>/dev/null || true
  fi
}
trap stop_service EXIT
trap 'exit 130' INT TERM

URL=""
i=0
while [ $i -lt 300 ]; do
  URL=$(sed -n 's/^listening on //p' "$DEMO/service.log" | head -n 1)
  [ -n "$URL" ] && break
  kill -0 "$SERVICE_PID" 2>/dev/null || break
  sleep 0.1
  i=$((i + 1))
done
if [ -z "$URL" ]; then
  echo "demo: the local service did not start:" >&2
  cat "$DEMO/service.log" >&2
  exit 1
fi

value() { sed -n "s/^demo $1: //p" "$DEMO/service.log" | head -n 1; }
CODE=$(value "event code")

# The program's configuration: the service's address and a banner, encrypted as the program keeps it.
cat >"$DEMO/config.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Tavix>
  <tavix_client_configuration>
    <tavix_client_configuration_branding label_text="Practice demo on this computer" label_fore_color="FF000000" rect_fill_color="FFE1AF00" rect_stroke_color="FFE1AF00"/>
    <server_base_url>$URL</server_base_url>
  </tavix_client_configuration>
</Tavix>
XML
"$CRYPT" encrypt "$DEMO/config.xml" "$CONFIG_DIR/TavixCorlan.xml" >/dev/null
rm -f "$DEMO/config.xml"

# An answer file to upload.
ANSWER="$DEMO_HOME/Documents/My answer.txt"
printf 'The sky looks blue because air scatters short (blue) wavelengths of sunlight more than long ones.\n' >"$ANSWER"

cat <<TEXT

Tavix Corlan demo: the local service runs at $URL (stopped when the program ends).

  Student view: choose "Run Student Version", press Go, and enter
      Event Code:      $CODE
      Student ID:      $(value "student id")
      Disambiguator:   $(value "student protected info")   (any 4 digits you will remember)
    press Enter; when asked for the student password, give: $(value "student password")
    Then "Get Question" shows the question; pick the answer file
      $ANSWER
    and upload it to get your receipt.

  Instructor ("View / Edit Event", "Download Files"): event code $CODE, password $(value "event password")

TEXT

export HOME="$DEMO_HOME"
export XDG_CONFIG_HOME="$DEMO_HOME/.config"
export XDG_RUNTIME_DIR="$DEMO_HOME/run"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$PROGRAM" || true
elif command -v xvfb-run >/dev/null 2>&1; then
  echo "No display (DISPLAY is unset): the program runs on a virtual display where you cannot see it."
  echo "To use it, run this script from a desktop session, or over 'ssh -X', or set DISPLAY to an X server."
  echo "Press Ctrl+C to stop."
  xvfb-run -a "$PROGRAM" || true
else
  echo "No display (DISPLAY is unset) and no xvfb-run: run this script from a desktop session, or set DISPLAY." >&2
  exit 1
fi
