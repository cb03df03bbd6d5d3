#include "Dialogs.h"

#include <QColorDialog>
#include <QMessageBox>

namespace qn {

void StandardDialogs::Message(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("提示"), text);
}

bool StandardDialogs::ChooseColour(QWidget* parent, QColor& colour) {
    const QColor chosen = QColorDialog::getColor(colour, parent);
    if (!chosen.isValid()) return false;
    colour = chosen;
    return true;
}

}  // namespace qn
