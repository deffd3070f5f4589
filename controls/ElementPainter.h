#pragma once

#include <QRectF>

#include "SkinModel.h"

class QPainter;

// Draws a control of `rect` as `element` in `state`; `focused` adds the face's
// focus ring. Icons are rendered for the painter's pixel ratio.
void PaintElement(QPainter& painter, const QRectF& rect, const SkinElement& element,
                  ElementState state, bool focused);
