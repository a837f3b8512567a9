#pragma once
// «Сведения о расчёте…» in the window's context menu: the title data of the
// calculation note — the object, the document's designation, the
// organisation, the four who sign the main inscription — and whether the
// note is drawn in a frame with that inscription. They belong to the
// calculation in the window (its file keeps them); the frame choice is also
// remembered for new calculations.

#include "core/calculation_file.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kalventa::ui {

class TitleDialog final : public QDialog {
public:
    TitleDialog(const TitleData& title, QWidget* parent);

    // The data as the dialog's fields hold it.
    TitleData title() const;

private:
    QLineEdit* object_;
    QLineEdit* designation_;
    QLineEdit* organisation_;
    QLineEdit* developer_;
    QLineEdit* checker_;
    QLineEdit* standardsChecker_;
    QLineEdit* approver_;
    QCheckBox* frame_;
};

// Adds the dialog's action to the window's context menu; OK gives the data
// to the window's calculation files.
void addTitleAction(QWidget& window);

} // namespace kalventa::ui
