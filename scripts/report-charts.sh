#!/usr/bin/env bash
# Renders the two charts of a backtest report to the README's pictures:
#   scripts/report-charts.sh [HOME] [FROM] [TO]
# runs `backtest --html` on the program folder HOME (default /tmp/rd-insight, a database imported
# from the shared data with `morvela-cli --home HOME import ../shared/data/results`), cuts the
# two SVG elements out of the page and renders them with rsvg-convert (Debian: librsvg2-bin)
# to docs/screenshots/calibration.png and docs/screenshots/bank.png. Not part of the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
home=${1:-/tmp/rd-insight}
from=${2:-2022-07-01}
to=${3:-2025-06-30}
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing (apt-get install librsvg2-bin)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/morvela-cli" --home "$home" backtest --from "$from" --to "$to" --html "$work/report.html" >/dev/null
# The page holds exactly two <svg> elements: the calibration chart, then the bank chart.
awk -v dir="$work" '
  /<svg / { n++; out = dir "/chart" n ".svg" }
  out { print > out }
  /<\/svg>/ { out = "" }
' "$work/report.html"
[ -f "$work/chart1.svg" ] && [ -f "$work/chart2.svg" ] || { echo "the report has no charts" >&2; exit 1; }
mkdir -p "$root/docs/screenshots"
rsvg-convert -o "$root/docs/screenshots/calibration.png" "$work/chart1.svg"
rsvg-convert -o "$root/docs/screenshots/bank.png" "$work/chart2.svg"
echo "Wrote docs/screenshots/calibration.png and docs/screenshots/bank.png"
