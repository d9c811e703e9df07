#pragma once
#include <QPoint>
#include <QSize>

class QWidget;

// Resizes a top-level window to the size it would like, but never beyond
// the screen it opens on: at 150 % a 1280 pixel wide screen leaves 853 of a
// window's own pixels, and a window wider than that hides its buttons.
void resizeWithinScreen(QWidget *window, QSize wanted);

// Moves a top-level window to the wanted place, shifted as far as needed
// to keep it whole on its screen.
void moveWithinScreen(QWidget *window, QPoint wanted);
