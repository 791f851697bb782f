// Small helpers of the dialogs built in code: controls at fixed positions
// (in the dialog's pixels, as the layouts were drawn) and the placement of a
// calculus dialog over the main window's item list.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace gq
{

// Sets one colour role of the widget's palette.
void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);

// A label of height 20 at (x, y), w wide; name (may be null) becomes its
// object name. The parent owns it.
QLabel *addLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int w);

// A push button of height 26 at (x, y), w wide, named name. The parent owns it.
QPushButton *addButton(QWidget *parent, const char *name, const QString &text, int x, int y, int w = 60);

// Moves dialog to 4 px right of the main window's left edge and top px below
// its top, over the item list and clear of the graph and the keyboard; on a
// low screen it moves up so as to lie wholly on the screen.
void placeOverItemList(QWidget &dialog, const QWidget &mainWindow, int top);

} // namespace gq
