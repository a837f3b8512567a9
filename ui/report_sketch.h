#pragma once
// The drum sketch on paper: the window's drawing of Picture1 enlarged, with
// its legends and a run's values at the places of the controls that show
// them on the window, drawn as vectors into a report's text document.

#include "core/report.h"

#include <QRectF>
#include <QTextFormat>

#include <span>

class QPainter;
class QTextDocument;

namespace kalventa::ui {

// The object type that stands for the sketch in a report's text document.
inline constexpr int sketchObjectType = QTextFormat::UserObject + 1;

// Teaches the document's layout to size and paint the sketch; call once per
// document, before the sketch is laid out.
void registerSketchObject(QTextDocument& document);

// The format of the one character that stands for the sketch with `values`,
// `width` document units wide (the height keeps Picture1's proportions), with
// `reach` units free on each side for a long value.
QTextCharFormat sketchObjectFormat(std::span<const SketchValue> values, qreal width, qreal reach);

// Picture1's size inside its border, in the window's pixels.
QSizeF sketchPixelSize();

// Paints the sketch into `box`, which has Picture1's proportions: the lines
// and circles, the legends "Слои", "Витки", "Канатоёмкость, м" and "Y", the
// fields Text4 and Text5 as framed boxes, and each value whole with its unit
// at its control's box in that control's font and colour, running on along
// the free stretch beside it, up to `reach` past the box's sides, and set
// smaller only where a value is longer still.
void paintSketchWithValues(QPainter& painter, const QRectF& box, std::span<const SketchValue> values, qreal reach);

} // namespace kalventa::ui
