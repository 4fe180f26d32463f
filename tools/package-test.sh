#!/usr/bin/env bash
# Makes the Debian package from the Release build (tools/release-test.sh), checks it and its data files
# with their validators, installs it with apt-get, runs the installed programs and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RELEASE_BUILD_DIR:-build-release}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

desktop-file-validate data/*.desktop
appstreamcli validate --no-net "$build"/data/*.metainfo.xml
for page in "$build"/data/man/*.1; do
    mandoc -Tlint -W warning "$page"
done

(cd "$build" && rm -f corvane_*.deb && cpack -G DEB)
deb=$(realpath "$build"/corvane_*.deb)
lintian --fail-on error,warning "$deb"
echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes"

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "$deb"
trap '$sudo apt-get remove -y -qq --purge corvane' EXIT
corvane-cli info /usr/share/corvane/samples/sample.db
boot.exe -v
shot=$(mktemp --suffix=.png)
# The window opens offscreen on the sample, takes its picture and closes by itself.
QT_QPA_PLATFORM=offscreen timeout 60 corvane /usr/share/corvane/samples/sample.db --screenshot "$shot"
test -s "$shot"
rm -f "$shot"
trap - EXIT
$sudo apt-get remove -y -qq --purge corvane
test ! -e /usr/bin/corvane
echo "== package installed, run and removed"
