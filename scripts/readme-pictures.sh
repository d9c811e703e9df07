#!/bin/sh
# Renders the README's report pictures: the report tests keep their PDFs
# (protocols and inventory list over long real-world texts, a label sheet) and pdftoppm
# turns pages of them into PNG files in docs/.
set -e
cd "$(dirname "$0")/.."
build="${VELMORA_BUILD_DIR:-build}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
VELMORA_PICTURES="$out" QT_QPA_PLATFORM=offscreen LANG=de_DE.UTF-8 \
    "$build/tests/reports/tst_reportlayout" protocolsFlowWithoutFaults inventoryList >/dev/null
VELMORA_PICTURES="$out" QT_QPA_PLATFORM=offscreen LANG=de_DE.UTF-8 \
    "$build/tests/reports/tst_labels" everyLabelReadsBack >/dev/null
mkdir -p docs
# The last protocol fits one page; the first runs its long remark over three.
pages=$(pdfinfo "$out/protokoll.pdf" | awk '/^Pages:/ { print $2 }')
pdftoppm -r 80 -png -singlefile -f "$pages" -l "$pages" "$out/protokoll.pdf" docs/protokoll
pdftoppm -r 80 -png -singlefile -f 2 -l 2 "$out/protokoll.pdf" docs/protokoll-fortsetzung
pdftoppm -r 80 -png -singlefile "$out/inventarliste.pdf" docs/inventarliste
# A sheet of labels begun at position 5, and two of its rows up close.
pdftoppm -r 60 -png -singlefile -f 1 -l 1 "$out/etiketten.pdf" docs/etiketten-bogen
pdftoppm -r 150 -png -singlefile -f 1 -l 1 -x 0 -y 440 -W 1240 -H 440 "$out/etiketten.pdf" docs/etiketten
ls -l docs/*.png
