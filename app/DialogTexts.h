#pragma once

class QWidget;

namespace quillon {

// Dialog layouts come from .ui files in English. Their texts in the current language live in
// resources/texts/<dialog objectName>.tsv (object name, English, French); this sets every
// listed child's text (label, button, group title, window title for the dialog itself).
// A row keyed "comboName#N" sets item N of that combo box. An empty French column keeps the
// English text. Lines starting with '#' are comments; \t and \n escapes are decoded.
void ApplyDialogTexts(QWidget* dialog);

} // namespace quillon
