#!/bin/sh
# Installs every Debian 12 package needed to build, test and run Tavix Corlan. Run as root.
set -eu
PACKAGES="cmake g++ make pkg-config ca-certificates tzdata fonts-dejavu-core \
  qt6-base-dev qt6-pdf-dev libqt6pdfwidgets6 libpugixml-dev libssl-dev libcpp-httplib-dev \
  xvfb xauth"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi
