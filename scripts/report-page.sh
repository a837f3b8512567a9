#!/usr/bin/env bash
# Renders page 1 of the calculation report of all three calculations into
# docs/report-page1.png: report_sample (built with the tests) writes the PDF
# file on Qt's offscreen platform, pdftoppm (poppler-utils) draws its page.
#
#   scripts/report-page.sh [path/to/report_sample] [output.png]
#
# Needs a built report_sample (the dev preset's by default).
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/dev/tests/ui/report_sample}
output=${2:-docs/report-page1.png}
[ -x "$program" ] || { echo "build it first: cmake --preset dev && cmake --build --preset dev --target report_sample" >&2; exit 1; }
command -v pdftoppm >/dev/null || { echo "pdftoppm is missing: install poppler-utils" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$program" "$work/report.pdf"
pdftoppm -r 100 -png -f 1 -l 1 -singlefile "$work/report.pdf" "$work/page"
cp "$work/page.png" "$output"
echo "wrote $output"
