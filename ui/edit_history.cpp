#include "ui/edit_history.h"

#include <utility>

namespace kalventa::ui {
namespace {

// Whether `next` continues `last` as QLineEdit's undo would take them back
// together (nothing else happened in between): typing after typing or after
// removing a selection, Backspace after Backspace or after removing a
// selection, and the same for Delete. Typing over a selection starts anew.
bool continues(const EditHistory::Edit& last, const EditHistory::Edit& next)
{
    using Kind = EditHistory::Kind;
    if (last.kind != next.kind && last.kind != Kind::Removal)
        return false;
    switch (next.kind) {
    case Kind::Typing: return next.removed.isEmpty() && next.position == last.position + last.inserted.size();
    case Kind::Backspace:
        return last.inserted.isEmpty() && next.inserted.isEmpty()
            && next.position + next.removed.size() == last.position;
    case Kind::Delete: return last.inserted.isEmpty() && next.inserted.isEmpty() && next.position == last.position;
    case Kind::Removal:
    case Kind::Other: return false;
    }
    return false;
}

} // namespace

void EditHistory::record(Edit edit, bool mayJoin)
{
    undone_.clear();
    if (mayJoin && !done_.empty() && continues(done_.back(), edit)) {
        Edit& last = done_.back();
        switch (edit.kind) {
        case Kind::Typing: last.inserted += edit.inserted; break;
        case Kind::Backspace:
            last.position = edit.position;
            last.removed.prepend(edit.removed);
            break;
        case Kind::Delete: last.removed += edit.removed; break;
        case Kind::Removal:
        case Kind::Other: break;
        }
        last.kind = edit.kind;
        return;
    }
    done_.push_back(std::move(edit));
}

std::optional<EditHistory::Edit> EditHistory::undo()
{
    if (done_.empty())
        return std::nullopt;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return undone_.back();
}

std::optional<EditHistory::Edit> EditHistory::redo()
{
    if (undone_.empty())
        return std::nullopt;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return done_.back();
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
}

} // namespace kalventa::ui
