#include "ui/text_field.h"

#include "ui/text.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace kalventa::ui {
namespace {

using Kind = EditHistory::Kind;

// QLineEdit's room between its contents rectangle and its line of text.
constexpr int horizontalMargin = 2;

// Whether Left and Right with a selection go to its start or end, as they do
// with most keyboard schemes, or move on from the cursor, as on Windows:
// asked of a QLineEdit, which follows the platform's scheme.
bool arrowsStopAtSelection()
{
    static const bool stop = [] {
        QLineEdit probe;
        probe.setText(QStringLiteral("ab"));
        probe.setSelection(0, 1);
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&probe, &right);
        return probe.cursorPosition() == 1;
    }();
    return stop;
}

QString refusal(Kind kind)
{
    const QString limit = QLocale(QLocale::Russian, QLocale::Russia).toString(qlonglong(TextField::capacity));
    return (kind == Kind::Typing ? QStringLiteral("Знак не введён") : QStringLiteral("Текст не вставлен"))
        + QStringLiteral(": в поле помещается не больше %1 знаков.").arg(limit);
}

// What QLineEdit shows for a text: control characters as spaces.
QString shown(QStringView text)
{
    QString display = text.toString();
    for (QChar& c : display)
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return display;
}

// Whether a key types its text, as QLineEdit decides.
bool types(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    if (c.category() == QChar::Other_Format)
        return true;
    if (event.modifiers() == Qt::ControlModifier || event.modifiers() == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse
        || (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

QClipboard::Mode pasteMode(const QKeyEvent& event)
{
    const bool selection = event.key() == Qt::Key_Insert
        && event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)
        && QGuiApplication::clipboard()->supportsSelection();
    return selection ? QClipboard::Selection : QClipboard::Clipboard;
}

bool anyOf(const QKeyEvent& event, std::initializer_list<QKeySequence::StandardKey> keys)
{
    return std::any_of(keys.begin(), keys.end(),
                       [&event](QKeySequence::StandardKey key) { return event.matches(key); });
}

} // namespace

// Not a check: every new text passes QLineEdit's validator before QLineEdit
// lays it out, which is where the field chooses how to show it. Every text
// is acceptable.
class TextField::LengthWatch final : public QValidator {
public:
    explicit LengthWatch(TextField* field)
        : QValidator(field)
        , field_(field)
    {
    }

    State validate(QString& text, int& /*position*/) const override
    {
        field_->showLength(text.size());
        return Acceptable;
    }

private:
    TextField* field_;
};

TextField::TextField(QWidget* parent)
    : QLineEdit(parent)
{
    // Nothing is ever cut short: QLineEdit would keep only 32767 characters
    // and drop the rest silently; the capacity is kept here, and said.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new LengthWatch(this));

    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!ownEdit_)
            nativeEdited_ = true;
    });
    connect(this, &QLineEdit::textChanged, this, [this] {
        ++revision_;
        if (long_)
            update();
        if (ownEdit_)
            return;
        separated_ = true;
        if (nativeEdited_) {
            nativeEdited_ = false;
            nativeSinceBase_ = true;
            history_.dropRedo();
            return;
        }
        // Set from outside: QLineEdit forgets its undo, and so does the field.
        history_.clear();
        base_ = text();
        nativeSinceBase_ = false;
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
        if (!ownEdit_)
            separated_ = true;
    });
    connect(this, &QLineEdit::selectionChanged, this, [this] {
        if (long_)
            update();
    });
}

TextField::~TextField() = default;

void TextField::showLength(qsizetype length)
{
    const bool wanted = length > longText;
    if (wanted == long_)
        return;
    long_ = wanted;
    view_.reset();
    anchor_ = 0;
    anchorOffset_ = 0;
    // NoEcho would also tell input methods that this is a password field.
    const Qt::InputMethodHints hints = inputMethodHints();
    setEchoMode(long_ ? NoEcho : Normal);
    setInputMethodHints(hints);
    restartBlink();
}

bool TextField::wouldBeLong(qsizetype inserted) const
{
    return text().size() - selectionLength() + inserted > longText;
}

bool TextField::edit(int from, int to, const QString& inserted, Kind kind)
{
    const QString current = text();
    if (current.size() - (to - from) + inserted.size() > capacity) {
        refuse(kind);
        return false;
    }
    takeNativeEdits();
    const int cursor = cursorPosition();
    const int anchor = !hasSelectedText() ? cursor : cursor == selectionStart() ? selectionEnd() : selectionStart();
    history_.record({from, current.mid(from, to - from), inserted, cursor, anchor, kind}, !separated_);
    QString next;
    next.reserve(current.size() - (to - from) + inserted.size());
    next.append(QStringView(current).left(from)).append(inserted).append(QStringView(current).mid(to));
    applyText(next);
    setCursorPositionQuietly(from + int(inserted.size()), from + int(inserted.size()));
    // A paste or a drop is a step of its own; typing on after typing or
    // after removing a selection joins it, as with QLineEdit.
    separated_ = kind == Kind::Other;
    return true;
}

void TextField::replaceSelection(const QString& inserted, Kind kind)
{
    if (hasSelectedText())
        edit(selectionStart(), selectionEnd(), inserted, kind);
    else
        edit(cursorPosition(), cursorPosition(), inserted, kind);
}

// The new text in one go; for QLineEdit it is set from outside, which also
// empties its undo (the field's own holds the step).
void TextField::applyText(const QString& next)
{
    ownEdit_ = true;
    setText(next);
    setModified(true);
    emit textEdited(next);
    ownEdit_ = false;
    base_ = next;
    nativeSinceBase_ = false;
}

void TextField::setCursorPositionQuietly(int cursor, int anchor)
{
    ownEdit_ = true;
    if (anchor == cursor)
        setCursorPosition(cursor);
    else
        setSelection(anchor, cursor - anchor);
    ownEdit_ = false;
}

// QLineEdit's own edits since the field's last one, as one step of the
// field's undo, which takes over from QLineEdit's.
void TextField::takeNativeEdits()
{
    if (!nativeSinceBase_)
        return;
    nativeSinceBase_ = false;
    const QString now = text();
    const qsizetype shorter = std::min(now.size(), base_.size());
    qsizetype start = 0;
    while (start < shorter && now[start] == base_[start])
        ++start;
    qsizetype end = 0;
    while (end < shorter - start && now[now.size() - 1 - end] == base_[base_.size() - 1 - end])
        ++end;
    if (start + end < now.size() || start + end < base_.size())
        history_.record({int(start), base_.mid(start, base_.size() - start - end),
                         now.mid(start, now.size() - start - end), int(start), int(start), Kind::Other},
                        false);
    base_ = now;
}

void TextField::undoStep()
{
    if (isUndoAvailable()) {
        undo();
        return;
    }
    takeNativeEdits();
    if (const auto step = history_.undo()) {
        const QString current = text();
        applyText(current.left(step->position) + step->removed + current.mid(step->position + step->inserted.size()));
        setCursorPositionQuietly(int(step->cursor), int(step->anchor));
        separated_ = true;
    }
}

void TextField::redoStep()
{
    if (isRedoAvailable()) {
        redo();
        return;
    }
    if (const auto step = history_.redo()) {
        const QString current = text();
        applyText(current.left(step->position) + step->inserted + current.mid(step->position + step->removed.size()));
        const int cursor = int(step->position + step->inserted.size());
        setCursorPositionQuietly(cursor, cursor);
        separated_ = true;
    }
}

void TextField::copySelection(QClipboard::Mode mode) const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText(), mode);
}

void TextField::deleteSelection()
{
    if (hasSelectedText())
        edit(selectionStart(), selectionEnd(), {}, Kind::Removal);
}

void TextField::cutSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    copySelection(QClipboard::Clipboard);
    deleteSelection();
}

void TextField::pasteFrom(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text(mode);
    if (!clip.isEmpty() || hasSelectedText())
        replaceSelection(clip, Kind::Other);
}

void TextField::pasteClipboard()
{
    if (!long_ && !wouldBeLong(QGuiApplication::clipboard()->text().size()))
        paste();
    else
        pasteFrom(QClipboard::Clipboard);
}

void TextField::refuse(Kind kind)
{
    emit inputRejected();
    QToolTip::showText(mapToGlobal(QPoint(0, height())), plainToolTip(refusal(kind)), this);
}

void TextField::keyPressEvent(QKeyEvent* event)
{
    if (!long_) {
        // A paste or a key that makes the text long is the field's own edit,
        // and so is the undo of the field's edits.
        if (event->matches(QKeySequence::Undo) && !isUndoAvailable() && history_.canUndo() && !isReadOnly()) {
            undoStep();
            return;
        }
        if (event->matches(QKeySequence::Redo) && !isRedoAvailable() && history_.canRedo() && !isReadOnly()) {
            redoStep();
            return;
        }
        if (!isReadOnly() && event->matches(QKeySequence::Paste)) {
            const QClipboard::Mode mode = pasteMode(*event);
            if (wouldBeLong(QGuiApplication::clipboard()->text(mode).size())) {
                pasteFrom(mode);
                return;
            }
        } else if (!isReadOnly() && types(*event) && wouldBeLong(event->text().size())) {
            replaceSelection(event->text(), Kind::Typing);
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (longKey(*event)) {
        event->accept();
        restartBlink();
        return;
    }
    // Enter, the line's start and end, selecting all: QLineEdit's own.
    QLineEdit::keyPressEvent(event);
    if (event->isAccepted() && long_) {
        if (QGuiApplication::clipboard()->supportsSelection())
            copySelection(QClipboard::Selection);
        restartBlink();
    }
}

// The keys QLineEdit would handle from its layout of the text, in its order.
bool TextField::longKey(const QKeyEvent& event)
{
    using Key = QKeySequence;
    const bool editable = !isReadOnly();
    const bool ltr = layoutDirection() == Qt::LeftToRight;
    const int cursor = cursorPosition();
    const auto characters = QTextLayout::SkipCharacters;
    const auto words = QTextLayout::SkipWords;

    if (event.key() == Qt::Key_Enter || event.key() == Qt::Key_Return
        || anyOf(event,
                 {Key::SelectAll, Key::MoveToStartOfLine, Key::MoveToStartOfBlock, Key::MoveToEndOfLine,
                  Key::MoveToEndOfBlock, Key::SelectStartOfLine, Key::SelectStartOfBlock, Key::SelectEndOfLine,
                  Key::SelectEndOfBlock}))
        return false;

    if (event.matches(Key::Undo)) {
        if (editable)
            undoStep();
    } else if (event.matches(Key::Redo)) {
        if (editable)
            redoStep();
    } else if (event.matches(Key::Copy)) {
        copySelection(QClipboard::Clipboard);
    } else if (event.matches(Key::Paste)) {
        pasteFrom(pasteMode(event));
    } else if (event.matches(Key::Cut)) {
        cutSelection();
    } else if (event.matches(Key::DeleteEndOfLine)) {
        if (editable) {
            setSelection(cursor, int(text().size()) - cursor);
            cutSelection();
        }
    } else if (event.matches(Key::MoveToNextChar) || event.matches(Key::MoveToPreviousChar)) {
        const bool next = event.matches(Key::MoveToNextChar);
        if (hasSelectedText() && arrowsStopAtSelection())
            moveTo(next ? selectionEnd() : selectionStart(), false);
        else
            moveTo(step(cursor, next == ltr, characters), false);
    } else if (event.matches(Key::SelectNextChar)) {
        moveTo(step(cursor, ltr, characters), true);
    } else if (event.matches(Key::SelectPreviousChar)) {
        moveTo(step(cursor, !ltr, characters), true);
    } else if (event.matches(Key::MoveToNextWord)) {
        moveTo(step(cursor, ltr, words), false);
    } else if (event.matches(Key::MoveToPreviousWord)) {
        moveTo(step(cursor, !ltr, words), false);
    } else if (event.matches(Key::SelectNextWord)) {
        moveTo(step(cursor, ltr, words), true);
    } else if (event.matches(Key::SelectPreviousWord)) {
        moveTo(step(cursor, !ltr, words), true);
    } else if (event.matches(Key::Delete)) {
        if (editable)
            deleteForward();
    } else if (event.matches(Key::DeleteEndOfWord) || event.matches(Key::DeleteStartOfWord)) {
        if (editable) {
            if (!hasSelectedText())
                moveTo(step(cursor, event.matches(Key::DeleteEndOfWord), words), true);
            deleteSelection();
        }
    } else if (event.matches(Key::DeleteCompleteLine)) {
        if (editable) {
            selectAll();
            cutSelection();
        }
    } else if (event.key() == Qt::Key_Backspace && (event.modifiers() & Qt::ControlModifier)) {
        if (editable) {
            moveTo(step(cursor, false, words), true);
            deleteForward();
        }
    } else if (event.key() == Qt::Key_Backspace) {
        if (editable)
            eraseBack();
    } else if (event.key() == Qt::Key_Direction_L || event.key() == Qt::Key_Direction_R) {
        return false;
    } else if (editable && types(event)) {
        replaceSelection(event.text(), Kind::Typing);
        return true;
    } else {
        return false;
    }
    if (QGuiApplication::clipboard()->supportsSelection())
        copySelection(QClipboard::Selection);
    return true;
}

void TextField::eraseBack()
{
    if (hasSelectedText()) {
        deleteSelection();
        return;
    }
    const int cursor = cursorPosition();
    if (cursor == 0)
        return;
    const QString current = text();
    int from = cursor - 1;
    if (from > 0 && current[from].isLowSurrogate() && current[from - 1].isHighSurrogate())
        --from;
    edit(from, cursor, {}, Kind::Backspace);
}

void TextField::deleteForward()
{
    if (hasSelectedText())
        deleteSelection();
    else if (const int cursor = cursorPosition(); cursor < text().size())
        edit(cursor, step(cursor, true, QTextLayout::SkipCharacters), {}, Kind::Delete);
}

// The next or previous cursor position as QLineEdit's layout gives it,
// from a layout of the text around `position` that grows until the answer
// lies well inside it.
int TextField::step(int position, bool forward, QTextLayout::CursorMode mode) const
{
    const QString all = text();
    const int length = int(all.size());
    constexpr int margin = 8;
    for (int reach = 64;; reach *= 4) {
        const int from = std::max(0, position - reach);
        const int to = std::min(length, position + reach);
        const QTextLayout layout(all.mid(from, to - from));
        const int found = from
            + (forward ? layout.nextCursorPosition(position - from, mode)
                       : layout.previousCursorPosition(position - from, mode));
        if (forward ? (to == length || found < to - margin) : (from == 0 || found > from + margin))
            return found;
    }
}

void TextField::moveTo(int position, bool mark)
{
    if (!mark) {
        setCursorPosition(position);
        return;
    }
    const int cursor = cursorPosition();
    const int anchor = !hasSelectedText() ? cursor : cursor == selectionStart() ? selectionEnd() : selectionStart();
    setSelection(anchor, position - anchor);
}

void TextField::selectWordAt(int position)
{
    const QString all = text();
    const int start = step(std::min(position + 1, int(all.size())), false, QTextLayout::SkipWords);
    moveTo(start, false);
    int end = step(start, true, QTextLayout::SkipWords);
    while (end > position && all[end - 1].isSpace())
        --end;
    moveTo(end, true);
}

void TextField::mousePressEvent(QMouseEvent* event)
{
    if (!long_) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::RightButton)
        return;
    const QPoint at = event->position().toPoint();
    if (tripleClick_.isValid() && tripleClick_.elapsed() < QApplication::doubleClickInterval()
        && (at - tripleClickAt_).manhattanLength() < QApplication::startDragDistance()) {
        selectAll();
        return;
    }
    moveTo(positionAt(at.x()), event->modifiers() & Qt::ShiftModifier);
}

void TextField::mouseMoveEvent(QMouseEvent* event)
{
    if (!long_) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    if (event->buttons() & Qt::LeftButton)
        moveTo(positionAt(event->position().toPoint().x()), true);
}

void TextField::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()
        && (long_ || text().size() + clipboard->text(QClipboard::Selection).size() > longText)) {
        deselect();
        pasteFrom(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (long_ && event->button() == Qt::LeftButton && clipboard->supportsSelection())
        copySelection(QClipboard::Selection);
}

void TextField::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!long_) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        tripleClickAt_ = event->position().toPoint();
        selectWordAt(positionAt(tripleClickAt_.x()));
        tripleClick_.start();
    }
}

void TextField::dragEnterEvent(QDragEnterEvent* event)
{
    if (long_)
        dragMoveEvent(event);
    else
        QLineEdit::dragEnterEvent(event);
}

void TextField::dragMoveEvent(QDragMoveEvent* event)
{
    if (!long_) {
        QLineEdit::dragMoveEvent(event);
        return;
    }
    if (!isReadOnly() && event->mimeData()->hasFormat(QStringLiteral("text/plain"))) {
        event->acceptProposedAction();
        setCursorPosition(positionAt(event->position().toPoint().x()));
        dropCursor_ = true;
        update();
    }
}

void TextField::dragLeaveEvent(QDragLeaveEvent* event)
{
    if (!long_) {
        QLineEdit::dragLeaveEvent(event);
        return;
    }
    dropCursor_ = false;
    update();
}

void TextField::dropEvent(QDropEvent* event)
{
    const QString dropped = event->mimeData()->text();
    if (!long_ && text().size() + dropped.size() <= longText) {
        QLineEdit::dropEvent(event);
        return;
    }
    dropCursor_ = false;
    const QPoint at = event->position().toPoint();
    const int position = long_ ? positionAt(at.x()) : cursorPositionAt(at);
    if (!dropped.isNull() && !isReadOnly() && edit(position, position, dropped, Kind::Other)) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
    update();
}

// QLineEdit's menu, with the actions that need the field in place of its own.
void TextField::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    const auto replace = [this, menu](QAction* action, bool enabled, void (TextField::*slot)()) {
        auto* own = new QAction(action->icon(), action->text(), menu);
        own->setEnabled(enabled);
        connect(own, &QAction::triggered, this, slot);
        menu->insertAction(action, own);
        menu->removeAction(action);
    };
    for (QAction* action : menu->actions()) {
        const QString title = action->text().section(u'\t', 0, 0);
        if (title == QLineEdit::tr("&Undo"))
            replace(action, isUndoAvailable() || history_.canUndo(), &TextField::undoStep);
        else if (title == QLineEdit::tr("&Redo"))
            replace(action, isRedoAvailable() || history_.canRedo(), &TextField::redoStep);
        else if (title == QLineEdit::tr("&Paste"))
            replace(action, action->isEnabled(), &TextField::pasteClipboard);
        else if (long_ && title == QLineEdit::tr("Cu&t"))
            replace(action, !isReadOnly() && hasSelectedText(), &TextField::cutSelection);
        else if (long_ && title == QLineEdit::tr("&Copy"))
            replace(action, hasSelectedText(), &TextField::copyClipboard);
        else if (long_ && title == QLineEdit::tr("Delete"))
            replace(action, action->isEnabled(), &TextField::deleteSelection);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextField::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!long_ && !wouldBeLong(commit.size())) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    // A long text shows no text being composed; what is committed goes in.
    if (hasSelectedText()) {
        if (!commit.isEmpty())
            replaceSelection(commit, Kind::Typing);
    } else if (!commit.isEmpty() || event->replacementLength() > 0) {
        const int length = int(text().size());
        const int from = std::clamp(cursorPosition() + event->replacementStart(), 0, length);
        const int to = std::clamp(from + event->replacementLength(), from, length);
        edit(from, to, commit, from == to ? Kind::Typing : Kind::Other);
    }
    event->accept();
}

// For a long text: where its cursor is, and the text around it rather than
// all of it.
QVariant TextField::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (!long_)
        return QLineEdit::inputMethodQuery(query);
    const QString all = text();
    const int cursor = cursorPosition();
    const int anchor = !hasSelectedText() ? cursor : cursor == selectionStart() ? selectionEnd() : selectionStart();
    constexpr int around = 512;
    const int from = std::max(0, cursor - around);
    const int to = std::min(int(all.size()), cursor + around);
    switch (query) {
    case Qt::ImCursorRectangle: return rectAt(cursor);
    case Qt::ImAnchorRectangle: return rectAt(anchor);
    case Qt::ImSurroundingText: return all.mid(from, to - from);
    case Qt::ImCursorPosition: return cursor - from;
    case Qt::ImAnchorPosition: return std::clamp(anchor, from, to) - from;
    case Qt::ImTextBeforeCursor: return all.mid(from, cursor - from);
    case Qt::ImTextAfterCursor: return all.mid(cursor, to - cursor);
    default: return QLineEdit::inputMethodQuery(query);
    }
}

QRect TextField::textArea(const QStyleOptionFrame& panel) const
{
    return style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
}

// Lays out the stretch of text around the cursor and scrolls the line as
// QLineEdit does: the cursor kept in view, moved to the nearer edge when it
// leaves it, and the end of the text kept at the right edge. The scroll is
// kept as an offset from a position in the text, so that no layout ever has
// to reach from the start of the text.
const TextField::View& TextField::view() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect area = textArea(panel);
    const QFontMetrics metrics = fontMetrics();
    const QRect line(area.x() + horizontalMargin, area.y() + (area.height() - metrics.height() + 1) / 2,
                     area.width() - 2 * horizontalMargin, metrics.height());
    const int cursor = cursorPosition();
    if (view_ && view_->revision == revision_ && view_->cursor == cursor && view_->line == line)
        return *view_;

    const QString all = text();
    const int length = int(all.size());
    const int width = line.width();
    // Enough characters to fill the line on either side of the cursor, even
    // of half-pixel-wide ones.
    const int reach = 2 * width + 32;
    const bool near = anchor_ <= length && std::abs(anchor_ - cursor) <= reach;
    int from = std::max(0, cursor - reach);
    int to = std::min(length, cursor + reach);
    if (near) {
        from = std::min(from, anchor_);
        to = std::min(length, std::max(to, anchor_ + reach));
    }
    if (from > 0 && all[from].isLowSurrogate())
        --from;
    if (to < length && all[to].isLowSurrogate())
        ++to;

    auto next = std::make_unique<View>();
    next->revision = revision_;
    next->cursor = cursor;
    next->line = line;
    next->from = from;
    next->to = to;
    QTextLayout& layout = next->layout;
    layout.setText(shown(QStringView(all).mid(from, to - from)));
    layout.setFont(font());
    QTextOption option;
    option.setTextDirection(layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();

    const QTextLine text = layout.lineAt(0);
    const int cix = qRound(text.cursorToX(cursor - from));
    const int widthUsed = qRound(text.naturalTextWidth()) + 1;
    int scroll = near      ? qRound(text.cursorToX(anchor_ - from)) + anchorOffset_
        : cursor > anchor_ ? cix - width + 1
                           : cix;
    if (from == 0 && to == length && widthUsed <= width)
        scroll = 0;
    else if (cix - scroll >= width)
        scroll = cix - width + 1;
    else if (cix - scroll < 0 && (to < length || scroll < widthUsed))
        scroll = cix;
    else if (to == length && widthUsed - scroll < width)
        scroll = widthUsed - width + 1;
    else if (from == 0)
        scroll = std::max(0, scroll);
    next->scroll = scroll;
    anchor_ = from + text.xToCursor(scroll);
    anchorOffset_ = scroll - qRound(text.cursorToX(anchor_ - from));

    view_ = std::move(next);
    return *view_;
}

int TextField::positionAt(int x) const
{
    const View& shownPart = view();
    return shownPart.from + shownPart.layout.lineAt(0).xToCursor(x - shownPart.line.x() + shownPart.scroll);
}

QRect TextField::rectAt(int position) const
{
    const View& shownPart = view();
    const int at = std::clamp(position, shownPart.from, shownPart.to) - shownPart.from;
    const int x = shownPart.line.x() - shownPart.scroll + qRound(shownPart.layout.lineAt(0).cursorToX(at));
    return {x - 5, shownPart.line.y(), 10, shownPart.line.height() + 1};
}

bool TextField::cursorShown() const
{
    if (isReadOnly() || !(hasFocus() || dropCursor_))
        return false;
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    return !hasSelectedText() || style()->styleHint(QStyle::SH_BlinkCursorWhenTextSelected, &panel, this);
}

void TextField::restartBlink()
{
    blinkOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (long_ && hasFocus() && flash >= 2)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
    update();
}

void TextField::paintEvent(QPaintEvent* event)
{
    if (!long_) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect area = textArea(panel);
    painter.setClipRect(area);

    const View& shownPart = view();
    const QTextLine line = shownPart.layout.lineAt(0);
    const QPoint topLeft
        = shownPart.line.topLeft() - QPoint(shownPart.scroll, qRound(line.ascent()) - fontMetrics().ascent());
    const QPalette colours = palette();
    painter.setPen(colours.text().color());
    QList<QTextLayout::FormatRange> selection;
    const int start = std::clamp(selectionStart(), shownPart.from, shownPart.to);
    const int end = std::clamp(selectionEnd(), shownPart.from, shownPart.to);
    if (hasSelectedText() && end > start) {
        QTextLayout::FormatRange range;
        range.start = start - shownPart.from;
        range.length = end - start;
        range.format.setBackground(colours.brush(QPalette::Highlight));
        range.format.setForeground(colours.brush(QPalette::HighlightedText));
        selection.append(range);
    }
    shownPart.layout.draw(&painter, topLeft, selection, area);
    if (cursorShown() && blinkOn_)
        shownPart.layout.drawCursor(&painter, topLeft, cursorPosition() - shownPart.from,
                                    style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

void TextField::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blink_.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    blinkOn_ = !blinkOn_;
    update();
}

void TextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (long_)
        restartBlink();
}

void TextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    blink_.stop();
}

void TextField::changeEvent(QEvent* event)
{
    view_.reset();
    QLineEdit::changeEvent(event);
}

void TextField::resizeEvent(QResizeEvent* event)
{
    view_.reset();
    QLineEdit::resizeEvent(event);
}

} // namespace kalventa::ui
