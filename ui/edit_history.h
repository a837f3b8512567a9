#pragma once
// The undo and redo of a field's own edits: those it makes itself instead of
// leaving them to QLineEdit, which are the edits of a long text and those
// that make a text long (see text_field.h). Steps group as QLineEdit groups
// them: characters typed one after another undo together, as do successive
// Backspaces or Deletes, and each of these with the removal of a selection
// just before; anything else is a step of its own.

#include <QString>

#include <optional>
#include <vector>

namespace kalventa::ui {

class EditHistory {
public:
    enum class Kind { Typing, Backspace, Delete, Removal, Other };

    // `removed` at `position` replaced by `inserted`; before it, the cursor
    // was at `cursor` and the other end of the selection at `anchor` (the
    // cursor again without a selection).
    struct Edit {
        qsizetype position = 0;
        QString removed;
        QString inserted;
        qsizetype cursor = 0;
        qsizetype anchor = 0;
        Kind kind = Kind::Other;
    };

    // Adds a step, or extends the last one when `mayJoin` (nothing happened
    // in the field since) and the two belong together. Clears the redo.
    void record(Edit edit, bool mayJoin);

    // The step to take back, moved to the redo; nothing when there is none.
    std::optional<Edit> undo();
    // The step to take again, moved back to the undo.
    std::optional<Edit> redo();

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    void dropRedo() { undone_.clear(); }
    void clear();

private:
    std::vector<Edit> done_;
    std::vector<Edit> undone_;
};

} // namespace kalventa::ui
