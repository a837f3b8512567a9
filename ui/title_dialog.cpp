#include "ui/title_dialog.h"

#include "ui/calculation_files.h"
#include "ui/text.h"
#include "ui/window_action.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalventa::ui {
namespace {

// A field for one line of the inscription, captioned and named for a screen reader.
QLineEdit* addField(QFormLayout& form, const QString& caption, const QString& name, const std::string& value)
{
    auto* field = new QLineEdit(fromUtf8(value));
    field->setAccessibleName(name);
    field->setMinimumWidth(320);
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    form.addRow(label, field);
    return field;
}

std::string utf8(const QLineEdit* field)
{
    return field->text().trimmed().toStdString();
}

} // namespace

TitleDialog::TitleDialog(const TitleData& title, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Сведения о расчёте"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);

    auto* document = new QFormLayout;
    object_ = addField(*document, QStringLiteral("&Изделие (объект):"),
                       QStringLiteral("Изделие или объект, для которого выполнен расчёт"), title.object);
    designation_ = addField(*document, QStringLiteral("О&бозначение документа:"),
                            QStringLiteral("Обозначение расчётной записки"), title.designation);
    organisation_
        = addField(*document, QStringLiteral("&Организация:"), QStringLiteral("Организация"), title.organisation);
    layout->addLayout(document);

    auto* signers = new QGroupBox(QStringLiteral("Подписи в основной надписи"));
    signers->setAccessibleName(signers->title());
    auto* names = new QFormLayout(signers);
    developer_ = addField(*names, QStringLiteral("&Разраб.:"), QStringLiteral("Разработал, фамилия"), title.developer);
    checker_ = addField(*names, QStringLiteral("&Пров.:"), QStringLiteral("Проверил, фамилия"), title.checker);
    standardsChecker_ = addField(*names, QStringLiteral("&Н. контр.:"), QStringLiteral("Нормоконтроль, фамилия"),
                                 title.standardsChecker);
    approver_ = addField(*names, QStringLiteral("&Утв.:"), QStringLiteral("Утвердил, фамилия"), title.approver);
    layout->addWidget(signers);

    frame_ = new QCheckBox(QStringLiteral("О&формить записку в рамке с основной надписью (ГОСТ 2.104)"));
    frame_->setAccessibleName(QStringLiteral("Записка в рамке с основной надписью"));
    frame_->setChecked(title.frame);
    layout->addWidget(frame_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

TitleData TitleDialog::title() const
{
    return {utf8(object_),  utf8(designation_),      utf8(organisation_), utf8(developer_),
            utf8(checker_), utf8(standardsChecker_), utf8(approver_),     frame_->isChecked()};
}

void addTitleAction(QWidget& window)
{
    QAction* action = addWindowAction(window, QStringLiteral("Сведения о расчёте…"));
    QObject::connect(action, &QAction::triggered, &window, [&window] {
        CalculationFiles* files = calculationFiles(window);
        if (!files)
            return;
        auto* dialog = new TitleDialog(files->title(), &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::WindowModal);
        QObject::connect(dialog, &QDialog::accepted, files, [files, dialog] {
            const TitleData title = dialog->title();
            files->setTitle(title);
            CalculationFiles::setFramedByDefault(title.frame);
        });
        dialog->open();
    });
}

} // namespace kalventa::ui
