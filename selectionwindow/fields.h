#pragma once
// The entry fields of the selection window and its design conditions: made
// alike, and marked alike when what they hold cannot be used.
class QLineEdit;
class QWidget;
class QColor;

namespace selectionwindow {

// A right-aligned entry field of the given width, named for tests and
// accessibility.
QLineEdit *field(QWidget *parent, const char *name, int width);

// Paints the field's background pale red while `invalid`, as before otherwise.
void markInvalid(QLineEdit *e, bool invalid);

// The red of an invalid field.
QColor invalidColor();

} // namespace selectionwindow
