#include "ui/calculation_files.h"

#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "ui/file_window.h"
#include "ui/form1.h"
#include "ui/look.h"
#include "ui/report_actions.h"
#include "ui/report_document.h"
#include "ui/rules_check_dialog.h"
#include "ui/text.h"
#include "ui/window_action.h"

#include <QAction>
#include <QChildEvent>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <optional>

namespace kalventa::ui {
namespace {

const QString filesName = QStringLiteral("calculationFiles");
const QString fileFilter = QStringLiteral("Расчёт Кальвенты (*.kalventa)");
const QString suffix = QStringLiteral("kalventa");
const QString recentKey = QStringLiteral("recentFiles");
const QString frameKey = QStringLiteral("note/frame");
constexpr int recentCount = 8;
// The recovery copy is written once the changes pause.
constexpr int recoveryDelay = 3000;

QString capitalisedFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QStringList fromUtf8(const std::vector<std::string>& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << ui::fromUtf8(line);
    return list;
}

QString differencesSentence(const QStringList& differences)
{
    std::vector<std::string> each;
    for (const QString& difference : differences)
        each.push_back(difference.toStdString());
    return ui::fromUtf8(kalventa::differencesSentence(each));
}

QSettings settings()
{
    return QSettings(QStringLiteral("kalventa"), QStringLiteral("kalventa"));
}

void showBox(QWidget& window, QMessageBox::Icon icon, const QString& text)
{
    auto* box = new QMessageBox(icon, windowCaption, text, QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString openFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось открыть файл\n%1\n%2.")
        .arg(QDir::toNativeSeparators(path), capitalisedFirst(reason));
}

// Writes the whole text; false when it could not. A write to a disk that
// fills up takes what fits and says nothing: only the next one fails, and
// its error is gone once the file is closed.
bool writeAll(QSaveFile& file, const char* data, qint64 size)
{
    for (qint64 written = 0, step = 0; written < size; written += step)
        if ((step = file.write(data + written, size - written)) <= 0)
            return false;
    return true;
}

} // namespace

CalculationFiles::CalculationFiles(Form1& window)
    : QObject(&window)
    , window_(window)
{
    setObjectName(filesName);
    static int windows = 0;
    // Unique among windows of this and any later process.
    recoveryName_ = QStringLiteral("%1-%2-%3")
                        .arg(QCoreApplication::applicationPid())
                        .arg(QDateTime::currentMSecsSinceEpoch())
                        .arg(++windows);
    title_.frame = framedByDefault();
    recovery_.setSingleShot(true);
    recovery_.setInterval(recoveryDelay);
    connect(&recovery_, &QTimer::timeout, this, [this] { writeRecovery(); });
    trackChanges(window_);
    addActions();
    window_.installEventFilter(this);
}

void CalculationFiles::addActions()
{
    connect(addWindowAction(window_, QStringLiteral("Новый расчёт"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, [this] { whenSavedOrDiscarded([this] { startNew(); }); });
    connect(addWindowAction(window_, QStringLiteral("Открыть расчёт…"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, [this] { whenSavedOrDiscarded([this] { openWithDialog(); }); });
    recentMenu_ = new QMenu(QStringLiteral("Последние файлы"), &window_);
    window_.addAction(recentMenu_->menuAction());
    fillRecentMenu();
    connect(addWindowAction(window_, QStringLiteral("Сохранить расчёт"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { save([] {}); });
    connect(addWindowAction(window_, QStringLiteral("Сохранить расчёт как…"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, [this] { saveWithDialog([] {}); });
    auto* separator = new QAction(&window_);
    separator->setSeparator(true);
    window_.addAction(separator);
}

// Every input and choice of the window or of the check's dialog, and every
// run, is a change to the calculation.
void CalculationFiles::trackChanges(QWidget& controls)
{
    const auto ours = [&controls](const QWidget* widget) { return widget->window() == &controls; };
    for (QLineEdit* field : controls.findChildren<QLineEdit*>())
        if (ours(field))
            connect(field, &QLineEdit::textChanged, this, [this] { changed(); });
    for (QRadioButton* option : controls.findChildren<QRadioButton*>())
        if (ours(option))
            connect(option, &QRadioButton::toggled, this, [this] { changed(); });
    for (QComboBox* list : controls.findChildren<QComboBox*>())
        if (ours(list))
            connect(list, &QComboBox::currentIndexChanged, this, [this] { changed(); });
    for (const CalculationEntry& calculation : calculations())
        if (auto* button = controls.findChild<QPushButton*>(ui::fromUtf8(calculation.button)))
            connect(button, &QPushButton::clicked, this, [this] { changed(); });
}

void CalculationFiles::changed()
{
    if (loading_)
        return;
    modified_ = true;
    showTitle();
    if (!path_.isEmpty())
        recovery_.start();
}

bool CalculationFiles::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_)
        return false;
    if (event->type() == QEvent::ChildPolished) {
        // The check's dialog, shown for the first time from its own key.
        QWidget* check = openedRulesCheck(window_);
        if (check && static_cast<QChildEvent*>(event)->child() == check && trackedCheck_ != check) {
            trackedCheck_ = check;
            trackChanges(*check);
        }
    }
    if (event->type() == QEvent::Close) {
        if (!closing_ && mustAsk()) {
            event->ignore();
            whenSavedOrDiscarded([this] {
                closing_ = true;
                window_.close();
                closing_ = false;
            });
            return true;
        }
        dropRecovery();
    }
    return false;
}

std::string CalculationFiles::currentText()
{
    WidgetFileWindow controls(window_);
    std::vector<CalculationId> ran;
    for (const CalculationEntry& calculation : calculations())
        if (window_.history().lastRun(calculation.id))
            ran.push_back(calculation.id);
    std::optional<WidgetFileWindow> check;
    if (QWidget* dialog = openedRulesCheck(window_))
        check.emplace(*dialog);
    CalculationFile file = captureFile(controls, ran, check ? &*check : nullptr);
    file.title = title_;
    file.readFrom = readFrom_;
    return writeCalculationFile(file);
}

QString CalculationFiles::saveTo(const QString& path)
{
    const std::string text = currentText();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return saveFailureReason(path, file);
    if (!writeAll(file, text.data(), static_cast<qint64>(text.size()))) {
        const QString reason = saveFailureReason(path, file);
        file.cancelWriting(); // the older file stays as it was
        return reason;
    }
    if (!file.commit())
        return saveFailureReason(path, file);
    path_ = QFileInfo(path).absoluteFilePath();
    modified_ = false;
    savedOnce_ = true;
    recovery_.stop();
    dropRecovery();
    remember(path_);
    showTitle();
    return {};
}

// The window as at start, the check's dialog gone with its inputs.
void CalculationFiles::resetWindow()
{
    delete openedRulesCheck(window_);
    window_.startNew();
}

void CalculationFiles::startNew()
{
    loading_ = true;
    resetWindow();
    loading_ = false;
    path_.clear();
    title_ = {};
    title_.frame = framedByDefault();
    readFrom_.clear();
    modified_ = false;
    recovery_.stop();
    dropRecovery();
    showTitle();
}

bool CalculationFiles::framedByDefault()
{
    return settings().value(frameKey, false).toBool();
}

void CalculationFiles::setFramedByDefault(bool framed)
{
    settings().setValue(frameKey, framed);
}

void CalculationFiles::setTitle(const TitleData& title)
{
    if (title == title_)
        return;
    title_ = title;
    changed();
}

QString CalculationFiles::readFile(const QString& path, std::string& bytes) const
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("это папка, а не файл");
    if (!info.exists())
        return QStringLiteral("такого файла нет");
    const QString tooLarge = QStringLiteral("файл больше %1").arg(ui::fromUtf8(calculationFileLimitText));
    // Judged by its size alone: a file far too large is never read.
    if (static_cast<std::uintmax_t>(info.size()) > calculationFileLimit)
        return tooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info.isReadable() ? QStringLiteral("файл не читается (%1)").arg(file.errorString())
                                 : QStringLiteral("нет прав на чтение этого файла");
    const QByteArray data = file.read(static_cast<qint64>(calculationFileLimit) + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("файл не читается (%1)").arg(file.errorString());
    if (static_cast<std::uintmax_t>(data.size()) > calculationFileLimit)
        return tooLarge; // it grew after it was measured
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return {};
}

OpenOutcome CalculationFiles::open(const QString& path)
{
    OpenOutcome outcome;
    std::string bytes;
    outcome.error = readFile(path, bytes);
    if (!outcome.error.isEmpty())
        return outcome;
    return take(bytes, QFileInfo(path).absoluteFilePath());
}

OpenOutcome CalculationFiles::take(const std::string& bytes, const QString& path)
{
    OpenOutcome outcome;
    FileReading reading;
    try {
        reading = readCalculationFile(bytes);
    } catch (const CalculationFileError& error) {
        outcome.error = ui::fromUtf8(error.what());
        return outcome;
    }
    const CalculationFile& file = reading.file;

    // Whether the window takes the file whole, before anything of it changes;
    // the check's part against a dialog made for the question alone when the
    // check has not been opened.
    {
        WidgetFileWindow controls(window_);
        QWidget* dialog = openedRulesCheck(window_);
        std::unique_ptr<QWidget> trial;
        if (file.rulesCheck && !dialog) {
            trial.reset(&rulesCheckDialog(window_, window_.history()));
            dialog = trial.get();
        }
        std::optional<WidgetFileWindow> check;
        if (dialog)
            check.emplace(*dialog);
        const QStringList misfits = fromUtf8(fileMisfits(file, controls, check ? &*check : nullptr));
        if (!misfits.isEmpty()) {
            outcome.error = misfits.join(QStringLiteral("; "));
            return outcome;
        }
    }

    loading_ = true;
    resetWindow();
    WidgetFileWindow controls(window_);
    outcome.notices = fromUtf8(reading.notices) + fromUtf8(applyFile(file, controls));
    if (file.rulesCheck) {
        openRulesCheck(window_, window_.history());
        QWidget* dialog = openedRulesCheck(window_);
        trackedCheck_ = dialog;
        trackChanges(*dialog);
        WidgetFileWindow check(*dialog);
        outcome.notices += fromUtf8(applyRulesCheck(*file.rulesCheck, check));
    }
    const std::vector<CalculationId> run = calculationsRun(file);
    for (const CalculationId id : run)
        window_.runCalculation(id);
    outcome.differences = fromUtf8(resultDifferences(file, controls));
    // Each calculation's own differences under its section of the report.
    for (auto& [id, sentence] : differencesByCalculation(file, controls))
        window_.noteOnRun(id, std::move(sentence));
    loading_ = false;

    path_ = path;
    title_ = file.title;
    readFrom_ = file.readFrom;
    modified_ = false;
    showTitle();
    return outcome;
}

void CalculationFiles::tell(const OpenOutcome& outcome, const QString& path)
{
    if (!outcome.error.isEmpty()) {
        showBox(window_, QMessageBox::Warning, openFailure(path, outcome.error));
        return;
    }
    QStringList lines = outcome.notices;
    if (!outcome.differences.isEmpty())
        lines << differencesSentence(outcome.differences);
    if (!lines.isEmpty())
        showBox(window_, QMessageBox::Information, lines.join(QLatin1Char('\n')));
}

void CalculationFiles::openAndTell(const QString& path)
{
    const OpenOutcome outcome = open(path);
    // Opened by the user: the file joins the recent ones, and the window's
    // earlier unsaved changes were saved or given up before.
    if (outcome.error.isEmpty()) {
        recovery_.stop();
        dropRecovery();
        remember(path_);
    }
    // A recent file that is gone leaves the list.
    if (!outcome.error.isEmpty() && !QFileInfo::exists(path)) {
        QSettings stored = settings();
        QStringList recent = stored.value(recentKey).toStringList();
        recent.removeAll(QFileInfo(path).absoluteFilePath());
        stored.setValue(recentKey, recent);
        fillRecentMenu();
    }
    tell(outcome, path);
}

bool CalculationFiles::saveAndTell(const QString& path)
{
    const QString reason = saveTo(path);
    if (reason.isEmpty())
        return true;
    showBox(window_, QMessageBox::Warning,
            QStringLiteral("Не удалось сохранить расчёт в файл\n%1\n%2.")
                .arg(QDir::toNativeSeparators(path), capitalisedFirst(reason)));
    return false;
}

void CalculationFiles::save(const std::function<void()>& then)
{
    if (path_.isEmpty())
        saveWithDialog(then);
    else if (saveAndTell(path_))
        then();
}

void CalculationFiles::saveWithDialog(const std::function<void()>& then)
{
    const QString offered = path_.isEmpty()
        ? inDocuments(QStringLiteral("Кальвента %1.kalventa").arg(QDate::currentDate().toString(Qt::ISODate)))
        : path_;
    auto* dialog
        = new QFileDialog(&window_, QStringLiteral("Сохранить расчёт"), QFileInfo(offered).absolutePath(), fileFilter);
    dialog->selectFile(QFileInfo(offered).fileName());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(suffix);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this, then](const QString& chosen) {
        if (saveAndTell(chosen))
            then();
    });
    dialog->open();
}

void CalculationFiles::openWithDialog()
{
    const QString folder = path_.isEmpty() ? QFileInfo(inDocuments(QStringLiteral("-"))).absolutePath()
                                           : QFileInfo(path_).absolutePath();
    auto* dialog = new QFileDialog(&window_, QStringLiteral("Открыть расчёт"), folder, fileFilter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(suffix);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& chosen) { openAndTell(chosen); });
    dialog->open();
}

// Unsaved changes are asked about once the user works with files: with a
// file in play, or after a save.
bool CalculationFiles::mustAsk() const
{
    return modified_ && (!path_.isEmpty() || savedOnce_);
}

void CalculationFiles::whenSavedOrDiscarded(const std::function<void()>& then)
{
    if (!mustAsk()) {
        then();
        return;
    }
    const QString text = path_.isEmpty()
        ? QStringLiteral("Сохранить изменения расчёта?")
        : QStringLiteral("Сохранить изменения в файле «%1»?").arg(QFileInfo(path_).fileName());
    auto* box = new QMessageBox(QMessageBox::Question, windowCaption, text,
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window_);
    box->button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box->setDefaultButton(QMessageBox::Save);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, then] {
        const QMessageBox::StandardButton answer = box->standardButton(box->clickedButton());
        if (answer == QMessageBox::Save)
            save(then);
        else if (answer == QMessageBox::Discard)
            then();
    });
    box->open();
}

void CalculationFiles::showTitle()
{
    if (path_.isEmpty()) {
        window_.setWindowTitle(windowCaption);
        window_.setWindowModified(false);
        return;
    }
    window_.setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral("[*] — ") + windowCaption);
    window_.setWindowModified(modified_);
}

QStringList CalculationFiles::recentFiles()
{
    return settings().value(recentKey).toStringList();
}

void CalculationFiles::remember(const QString& path)
{
    QStringList recent = recentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > recentCount)
        recent.removeLast();
    settings().setValue(recentKey, recent);
    fillRecentMenu();
}

void CalculationFiles::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList recent = recentFiles();
    for (const QString& path : recent) {
        QAction* action = recentMenu_->addAction(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this,
                [this, path] { whenSavedOrDiscarded([this, path] { openAndTell(path); }); });
    }
    recentMenu_->menuAction()->setEnabled(!recent.isEmpty());
}

QString CalculationFiles::recoveryPath() const
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery/%1.json").arg(recoveryName_));
}

// A copy whose window is gone (its lock free, or left by a process that
// ended), the newest; its lock is then held by `lock`. Empty when none.
QString CalculationFiles::orphanedRecovery(std::unique_ptr<QLockFile>& lock) const
{
    const QDir folder(QFileInfo(recoveryPath()).absolutePath());
    for (const QFileInfo& copy : folder.entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Time)) {
        if (copy.absoluteFilePath() == QFileInfo(recoveryPath()).absoluteFilePath())
            continue;
        auto owner = std::make_unique<QLockFile>(folder.filePath(copy.completeBaseName() + QStringLiteral(".lock")));
        owner->setStaleLockTime(0); // a lock is stale only when its process has ended
        if (owner->tryLock(0)) {
            lock = std::move(owner);
            return copy.absoluteFilePath();
        }
    }
    return {};
}

// The file's own text with the path of the file it belongs to.
void CalculationFiles::writeRecovery()
{
    if (path_.isEmpty() || !modified_)
        return;
    const QJsonObject copy{{QStringLiteral("original"), path_},
                           {QStringLiteral("calculation"), ui::fromUtf8(currentText())}};
    const QString path = recoveryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!recoveryLock_) {
        recoveryLock_ = std::make_unique<QLockFile>(QFileInfo(path).absolutePath() + u'/' + recoveryName_
                                                    + QStringLiteral(".lock"));
        recoveryLock_->setStaleLockTime(0);
        if (!recoveryLock_->tryLock(0))
            return; // another window's: no copy rather than one offered while it lives
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = QJsonDocument(copy).toJson(QJsonDocument::Compact);
        // A copy that cannot be written is no worse than none.
        if (writeAll(file, bytes.constData(), bytes.size()))
            file.commit();
    }
}

void CalculationFiles::dropRecovery()
{
    QFile::remove(recoveryPath());
    recoveryLock_.reset();
}

void CalculationFiles::offerRecovery()
{
    auto lock = std::make_shared<std::unique_ptr<QLockFile>>();
    const QString path = orphanedRecovery(*lock);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    auto* box = new QMessageBox(QMessageBox::Question, windowCaption,
                                QStringLiteral("Восстановить несохранённый расчёт от %1?")
                                    .arg(info.lastModified().toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
                                QMessageBox::Yes | QMessageBox::No, &window_);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, path, lock] {
        // Declined, or taken into this window (whose own copy it becomes),
        // the orphan goes.
        const auto dropOrphan = [path, lock] {
            QFile::remove(path);
            lock->reset();
        };
        if (box->standardButton(box->clickedButton()) != QMessageBox::Yes) {
            dropOrphan();
            return;
        }
        QFile file(path);
        const QJsonObject copy
            = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
        const QString original = copy.value(QStringLiteral("original")).toString();
        OpenOutcome outcome = take(copy.value(QStringLiteral("calculation")).toString().toStdString(), original);
        if (original.isEmpty() && outcome.error.isEmpty())
            outcome.error = QStringLiteral("в копии нет имени файла расчёта");
        dropOrphan();
        if (!outcome.error.isEmpty()) {
            showBox(window_, QMessageBox::Warning, openFailure(path, outcome.error));
            return;
        }
        // The changes are still unsaved, and their copy stays until they are.
        modified_ = true;
        writeRecovery();
        showTitle();
        tell(outcome, original);
    });
    box->open();
}

void addCalculationFiles(Form1& window)
{
    new CalculationFiles(window);
}

CalculationFiles* calculationFiles(const QWidget& window)
{
    return dynamic_cast<CalculationFiles*>(window.findChild<QObject*>(filesName, Qt::FindDirectChildrenOnly));
}

void openFileAtStart(QWidget& window, const QString& path)
{
    if (CalculationFiles* files = calculationFiles(window))
        files->openAndTell(path);
}

void offerRecovery(QWidget& window)
{
    if (CalculationFiles* files = calculationFiles(window))
        files->offerRecovery();
}

} // namespace kalventa::ui
