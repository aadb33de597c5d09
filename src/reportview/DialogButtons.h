#pragma once

class QDialog;
class QFormLayout;
class QString;

// The module's small dialogs end alike: their fields, then the button that
// accepts (with the dialog's own caption) beside "Отказ".
void layOutWithButtons(QDialog &dialog, QFormLayout *fields, const QString &acceptCaption);
