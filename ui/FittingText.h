#pragma once

class QLabel;
class QString;

// Shows a text in a label of fixed width that some locales' texts outgrow (the date line
// holds the full weekday name: "Wednesday", "segunda-feira"). A text that fits keeps the
// label's own font. A longer one is drawn at the largest quarter-point size that fits,
// down to a floor below which text is no longer readable; at the floor it is elided, the
// full text then being the label's tooltip. The smaller size is carried by the label's
// own style sheet (the window's sheet sets the font, and a sheet overrides setFont), so
// the label must have no sheet or tooltip of its own.
void setFittingText(QLabel* label, const QString& text);
