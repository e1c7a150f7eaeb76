// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QRect;
class QWidget;

namespace kvistra {

// Shows the keyboard focus on a control whose contents show neither a caret nor
// a focus rectangle of their own: its frame, the band of the given width just
// inside the rectangle, is drawn in the highlight colour. Called while painting.
void paintFocusFrame(QWidget& widget, const QRect& frame, int width);

} // namespace kvistra
