#pragma once
// A field of the window (Text1 to Text7): a QLineEdit that holds up to
// `capacity` characters and stays quick at that length.
//
// QLineEdit lays its whole text out on one line, again after every change,
// and measures and draws that line for every cursor blink, key and click:
// with a million characters each of these takes a tenth of a second or more.
// Up to `longText` characters the field is a plain QLineEdit. Above that it
// asks QLineEdit to show nothing (the echo mode NoEcho, so that QLineEdit
// lays out an empty line) and shows the text itself: it lays out only the
// few hundred characters around the cursor, scrolls as QLineEdit scrolls,
// and draws them with the selection and the cursor. It then also does what
// QLineEdit does from its own layout or refuses in that echo mode: moving by
// characters and words, placing the cursor with the mouse, Delete, copying
// and cutting, undo and redo.
//
// Every edit that would take the text past `capacity` characters is refused
// whole, with a balloon at the field that says so. Edits of a long text, and
// those that make a text long, are the field's own (one new text in one go);
// so are their undo and redo. Short edits of a short text are QLineEdit's.

#include "ui/edit_history.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextLayout>

#include <memory>

class QStyleOptionFrame;

namespace kalventa::ui {

class TextField final : public QLineEdit {
    Q_OBJECT

public:
    // The most characters (UTF-16 units, as QString counts them) a field holds.
    static constexpr qsizetype capacity = 1'048'576;
    // Above this many characters the field shows its text itself; far more
    // than the 60 to 80 pixels of a field show, and few enough that
    // QLineEdit's own layout still takes well under a millisecond.
    static constexpr qsizetype longText = 10'000;

    explicit TextField(QWidget* parent = nullptr);
    ~TextField() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class LengthWatch;

    // The laid-out stretch of a long text around the cursor.
    struct View {
        qsizetype revision = -1;
        int cursor = -1;
        QRect line;
        int from = 0; // the text's index of the layout's first character
        int to = 0;
        QTextLayout layout;
        int scroll = 0; // the layout's x at the left edge of `line`
    };

    // Shows the text itself when `length` is above longText; the validator
    // calls it with every new text before QLineEdit lays it out.
    void showLength(qsizetype length);

    // Edits: the field's own, checked against the capacity.
    bool edit(int from, int to, const QString& inserted, EditHistory::Kind kind);
    void replaceSelection(const QString& inserted, EditHistory::Kind kind);
    void applyText(const QString& next);
    void setCursorPositionQuietly(int cursor, int anchor);
    void takeNativeEdits();
    void undoStep();
    void redoStep();
    void copySelection(QClipboard::Mode mode) const;
    void copyClipboard() { copySelection(QClipboard::Clipboard); }
    void cutSelection();
    void deleteSelection();
    void eraseBack();
    void deleteForward();
    void pasteFrom(QClipboard::Mode mode);
    void pasteClipboard();
    bool wouldBeLong(qsizetype inserted) const;
    void refuse(EditHistory::Kind kind);

    // Moving in a long text.
    bool longKey(const QKeyEvent& event);
    int step(int position, bool forward, QTextLayout::CursorMode mode) const;
    void moveTo(int position, bool mark);
    void selectWordAt(int position);

    // Showing a long text.
    const View& view() const;
    QRect textArea(const QStyleOptionFrame& panel) const;
    int positionAt(int x) const;
    QRect rectAt(int position) const;
    bool cursorShown() const;
    void restartBlink();

    bool long_ = false;
    EditHistory history_;
    QString base_;         // the text after the field's last own edit
    bool ownEdit_ = false; // within an own edit
    bool nativeEdited_ = false;
    bool nativeSinceBase_ = false;
    bool separated_ = true;  // something came between the last own edit and the next
    qsizetype revision_ = 0; // counts text changes
    mutable std::unique_ptr<View> view_;
    mutable int anchor_ = 0; // the text position the scroll is measured from
    mutable int anchorOffset_ = 0;
    QBasicTimer blink_;
    bool blinkOn_ = true;
    bool dropCursor_ = false;
    QElapsedTimer tripleClick_;
    QPoint tripleClickAt_;
};

} // namespace kalventa::ui
