#pragma once
// A calculation kept as a file («Расчёт Кальвенты», *.kalventa): saved from
// the window and opened into it, with the title data it carries, whether
// the window holds changes not yet saved, the files used last and, while a
// file's changes are unsaved, a recovery copy for after a crash. Offered in
// the window's context menu and on its keys: Ctrl+N a new calculation,
// Ctrl+O open, Ctrl+S save, Ctrl+Shift+S save as.
//
// A user who never opens or saves a file sees the window as it always was:
// the same title, and closing asks nothing.

#include "core/calculation_file.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QLockFile;
class QMenu;
class QWidget;

namespace kalventa::ui {

class Form1;

struct OpenOutcome {
    // Why the file was not opened, lower case without a full stop; empty
    // when it was.
    QString error;
    // What the file lacked and the choices it names otherwise than the window.
    QStringList notices;
    // The results that differ from those saved, after the calculations were
    // run again: "минимальное допустимое натяжение каната: сохранено «228», теперь «229»".
    QStringList differences;
};

class CalculationFiles final : public QObject {
public:
    explicit CalculationFiles(Form1& window);

    // Opens the file into the window and runs again the calculations it had
    // run. A file that cannot be taken whole leaves the window as it was.
    // Asks nothing, shows nothing, and leaves the recent files and a
    // recovery copy alone: the command line opens files so.
    OpenOutcome open(const QString& path);
    // Writes the window's calculation to the file, whole or not at all; why
    // not, in Russian, or an empty text. Asks nothing and shows nothing.
    QString saveTo(const QString& path);
    // Ctrl+N without the question: the window as at start, no file in play.
    void startNew();

    // The file in play; empty when none.
    QString path() const { return path_; }
    bool modified() const { return modified_; }
    const TitleData& title() const { return title_; }
    // The calculation note's title data, written with the next save.
    void setTitle(const TitleData& title);
    // The recently used files, the latest first.
    static QStringList recentFiles();
    // Whether a new calculation's note is framed: the choice last made.
    static bool framedByDefault();
    static void setFramedByDefault(bool framed);

    // The same with the window's message boxes.
    void openAndTell(const QString& path);
    void offerRecovery();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addActions();
    void trackChanges(QWidget& controls);
    void changed();
    std::string currentText();
    void resetWindow();
    bool mustAsk() const;
    OpenOutcome take(const std::string& bytes, const QString& path);
    QString readFile(const QString& path, std::string& bytes) const;
    void tell(const OpenOutcome& outcome, const QString& path);
    void save(const std::function<void()>& then);
    void saveWithDialog(const std::function<void()>& then);
    bool saveAndTell(const QString& path);
    void openWithDialog();
    void whenSavedOrDiscarded(const std::function<void()>& then);
    void showTitle();
    void remember(const QString& path);
    void fillRecentMenu();
    QString recoveryPath() const;
    QString orphanedRecovery(std::unique_ptr<QLockFile>& lock) const;
    void writeRecovery();
    void dropRecovery();

    Form1& window_;
    QString path_;
    TitleData title_;
    std::string readFrom_; // the file as opened, for the keys of a later version
    bool modified_ = false;
    bool savedOnce_ = false;
    bool loading_ = false; // changes that an open or a new calculation makes
    bool closing_ = false; // the question was answered
    QPointer<QObject> trackedCheck_;
    QMenu* recentMenu_ = nullptr;
    QTimer recovery_;
    // Each window keeps its own copy, locked while the window lives, so that
    // a copy is offered only when the window that wrote it is gone.
    QString recoveryName_;
    std::unique_ptr<QLockFile> recoveryLock_;
};

void addCalculationFiles(Form1& window);
// The window's own; null for a window without them.
CalculationFiles* calculationFiles(const QWidget& window);

// For main: opens the file named on the command line into the shown window,
// with the message boxes of Ctrl+O.
void openFileAtStart(QWidget& window, const QString& path);
// For main, after the window is shown: offers the recovery copy left by a
// program that ended without saving, if there is one.
void offerRecovery(QWidget& window);

} // namespace kalventa::ui
