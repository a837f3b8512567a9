#pragma once
// A calculation file taken from a window and given back to one. The window
// is reached by control name through a small interface that the desktop
// window, the browser page and the tests implement alike.

#include "core/calculation_file.h"
#include "core/kinds.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalventa {

class FileWindow {
public:
    virtual ~FileWindow() = default;

    // A text field's text, a label's caption or an option button's caption, in UTF-8.
    virtual std::string text(std::string_view control) = 0;
    // An option button's Value: -1 when it is on, 0 when it is off.
    virtual Integer value(std::string_view option) = 0;
    virtual Integer listIndex(std::string_view list) = 0;
    virtual std::vector<std::string> listItems(std::string_view list) = 0;
    // Whether the field can hold the text (the window's own limit).
    virtual bool holds(std::string_view /*field*/, std::string_view /*text*/) { return true; }

    virtual void setText(std::string_view field, std::string_view text) = 0;
    // Turns an option button on; its group's others go off.
    virtual void choose(std::string_view option) = 0;
    virtual void setListIndex(std::string_view list, Integer index) = 0;

protected:
    FileWindow() = default;
    FileWindow(const FileWindow&) = default;
    FileWindow& operator=(const FileWindow&) = default;
};

// What the window holds now, as a file keeps it: every field and choice of
// each calculation; the results of those in `ran`; the check's own inputs
// when its controls are given.
CalculationFile captureFile(FileWindow& window, std::span<const CalculationId> ran, FileWindow* rulesCheck);
// The same for the check against today's rules alone.
SavedCalculation captureRulesCheck(FileWindow& rulesCheck);

// What keeps the window from taking the file whole, each a sentence: a list
// item it does not have, a text longer than its field holds. Empty when the
// file fits; neither window is touched. The check's part is looked at when
// its controls are given.
std::vector<std::string> fileMisfits(const CalculationFile& file, FileWindow& window, FileWindow* rulesCheck);

// Sets what the file holds of each calculation, or of the check; what it
// lacks stays as the window has it (a new calculation's state, when the
// caller reset it first). Returns a sentence for each chosen item whose
// text in the file differs from the window's.
std::vector<std::string> applyFile(const CalculationFile& file, FileWindow& window);
std::vector<std::string> applyRulesCheck(const SavedCalculation& saved, FileWindow& rulesCheck);

// The calculations the file had run, in the window's order.
std::vector<CalculationId> calculationsRun(const CalculationFile& file);

// After the runs again: each label whose text differs from the one saved,
// as "минимальное допустимое натяжение каната: сохранено «228», теперь «229»".
std::vector<std::string> resultDifferences(const CalculationFile& file, FileWindow& window);

// The differences in one sentence: "Результаты отличаются от сохранённых: …; …."
std::string differencesSentence(const std::vector<std::string>& differences);

// The sentence on each calculation the file had run whose results now
// differ from those saved, for the note under that calculation's section.
std::vector<std::pair<CalculationId, std::string>> differencesByCalculation(const CalculationFile& file,
                                                                            FileWindow& window);

} // namespace kalventa
