#!/usr/bin/env bash
# Prints where a program's instructions up to its first frame went, from
# callgrind output files, one column per file: the phases of start-up in
# order, then costs that cut across them. Counts are inclusive (a function
# with all it calls), in millions of instructions.
# Usage: callgrind_breakdown.sh NAME=CALLGRIND_OUT [NAME=CALLGRIND_OUT...]
set -euo pipefail
export LC_ALL=C # a full stop in the numbers, whatever the caller's locale

# label|fixed text that starts the function's name in callgrind_annotate's
# output ("=" marks a value computed from the rows before it).
rows=(
    "all instructions up to the first frame|PROGRAM TOTALS"
    "  dynamic loader: Qt and its libraries|_dl_start ["
    "  main|:main ["
    "    fontconfig configuration (the program's)|loadFontConfiguration() ["
    "    QApplication (xcb, theme, input, D-Bus)|QApplication::QApplication("
    "      of which the xcb platform plugin|QGuiApplicationPrivate::createPlatformIntegration()"
    "        of which a platform theme plugin|QPlatformThemeFactory::create("
    "    window construction|=construction"
    "    show()|QWidget::show() ["
    "    event loop up to the first frame|QApplication::exec() ["
    "      of which painting and flushing|QWidgetRepaintManager::paintAndFlush() ["
    "across the phases:|"
    "  fontconfig configuration in force|FcConfigParseAndLoad ["
    "  fontconfig loading itself (with conf.avail)|FcInitLoadConfigAndFonts ["
    "  Qt font database from fontconfig|QFontconfigDatabase::populateFontDatabase() ["
    "  application fonts added|QFontDatabase::addApplicationFont("
    "  font matching and font engines|QFontDatabasePrivate::load("
    "  fontconfig substitution (fallbacks)|FcConfigSubstitute ["
    "  fontconfig sorting (fallbacks)|FcFontSort ["
    "  glyphs rendered|QFontEngineFT::loadGlyph("
    "  labels painted|QLabel::paintEvent("
    "  QWidget::setStyle|QWidget::setStyle("
    "  QWidget::setFont|QWidget::setFont("
    "  QWidget::setPalette|QWidget::setPalette("
    "  window icon files|QIcon::addFile("
    "  plugins and libraries opened|dlopen@@"
    "  session D-Bus connection|dbus_bus_get_private ["
    "  accessibility updates|QAccessible::updateAccessibility("
)

names=()
tables=()
for argument in "$@"; do
    names+=("${argument%%=*}")
    table=$(mktemp)
    tables+=("$table")
    callgrind_annotate --inclusive=yes --threshold=100 "${argument#*=}" >"$table" 2>/dev/null
done
trap 'rm -f "${tables[@]}"' EXIT

# The inclusive count of the first (largest) row containing `text`, or 0.
count() { # table text
    { grep -m 1 -F -- "$2" "$1" || true; } | awk '{ gsub(",", "", $1); n = $1 + 0 } END { print n + 0 }'
}

printf '%-48s' "million instructions (inclusive)"
printf '%14s' "${names[@]}"
printf '\n'
for row in "${rows[@]}"; do
    label=${row%%|*}
    text=${row#*|}
    printf '%-48s' "$label"
    for table in "${tables[@]}"; do
        if [[ -z $text ]]; then
            printf '%14s' ""
            continue
        fi
        if [[ $text == "=construction" ]]; then
            value=$(($(count "$table" ":main [") - $(count "$table" "loadFontConfiguration() [") \
                - $(count "$table" "QApplication::QApplication(") \
                - $(count "$table" "QWidget::show() [") - $(count "$table" "QApplication::exec() [")))
        else
            value=$(count "$table" "$text")
        fi
        awk -v v="${value:-0}" 'BEGIN { printf "%14.2f", v / 1e6 }'
    done
    printf '\n'
done
