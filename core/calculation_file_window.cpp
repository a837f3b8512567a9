#include "core/calculation_file_window.h"

#include "core/calculation_file_keys.h"
#include "core/utf8.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace kalventa {
namespace {

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

std::optional<ChosenItem> chosenIn(FileWindow& window, const ChoiceKey& choice)
{
    if (choice.isList()) {
        const Integer index = window.listIndex(choice.controls[0]);
        const std::vector<std::string> items = window.listItems(choice.controls[0]);
        if (index < 0 || static_cast<std::size_t>(index) >= items.size())
            return std::nullopt;
        return ChosenItem{index, items[static_cast<std::size_t>(index)]};
    }
    for (std::size_t option = 0; option < choice.controls.size(); ++option)
        if (window.value(choice.controls[option]) != 0)
            return ChosenItem{static_cast<int>(option), window.text(choice.controls[option])};
    return std::nullopt;
}

SavedCalculation captured(FileWindow& window, const KeySet& keys, bool ran)
{
    SavedCalculation saved;
    saved.ran = ran;
    for (const InputKey& input : keys.inputs)
        saved.inputs.emplace(input.fileKey, window.text(input.field));
    for (const ChoiceKey& choice : keys.choices)
        saved.choices.emplace(choice.fileKey, chosenIn(window, choice));
    if (ran)
        for (const ResultKey& result : keys.results)
            saved.results.emplace(result.fileKey, window.text(result.label));
    return saved;
}

void misfitsOf(const SavedCalculation& saved, const KeySet& keys, FileWindow& window, std::vector<std::string>& misfits)
{
    for (const InputKey& input : keys.inputs)
        if (const auto it = saved.inputs.find(input.fileKey);
            it != saved.inputs.end() && !window.holds(input.field, it->second))
            misfits.push_back("значение " + quoted(input.name) + " расчёта " + quoted(keys.title) + " ("
                              + std::to_string(utf8Length(it->second)) + " знаков) не помещается в поле");
    for (const ChoiceKey& choice : keys.choices) {
        const auto it = saved.choices.find(choice.fileKey);
        if (!choice.isList() || it == saved.choices.end() || !it->second)
            continue;
        const std::size_t items = window.listItems(choice.controls[0]).size();
        if (static_cast<std::size_t>(it->second->index) >= items)
            misfits.push_back("выбор " + quoted(choice.name) + " расчёта " + quoted(keys.title) + ": пункта "
                              + std::to_string(it->second->index) + " в списке нет (в нём пункты 0 … "
                              + std::to_string(items - 1) + ")");
    }
}

std::vector<std::string> applied(const SavedCalculation& saved, const KeySet& keys, FileWindow& window)
{
    std::vector<std::string> notices;
    for (const InputKey& input : keys.inputs)
        if (const auto it = saved.inputs.find(input.fileKey); it != saved.inputs.end())
            window.setText(input.field, it->second);
    for (const ChoiceKey& choice : keys.choices) {
        const auto it = saved.choices.find(choice.fileKey);
        if (it == saved.choices.end())
            continue;
        const std::optional<ChosenItem>& item = it->second;
        const std::vector<std::string> items
            = choice.isList() ? window.listItems(choice.controls[0]) : std::vector<std::string>{};
        if (item && choice.isList() && static_cast<std::size_t>(item->index) >= items.size())
            continue; // the file does not fit this window: fileMisfits says so
        if (choice.isList())
            window.setListIndex(choice.controls[0], item ? static_cast<Integer>(item->index) : Integer{-1});
        else if (item)
            window.choose(choice.controls[static_cast<std::size_t>(item->index)]);
        if (!item)
            continue;
        const std::string shown = choice.isList() ? items[static_cast<std::size_t>(item->index)]
                                                  : window.text(choice.controls[static_cast<std::size_t>(item->index)]);
        if (shown != item->text)
            notices.push_back("Выбор " + quoted(choice.name) + " расчёта " + quoted(keys.title)
                              + " записан в файле как " + quoted(item->text) + ", в окне он называется " + quoted(shown)
                              + ".");
    }
    return notices;
}

} // namespace

CalculationFile captureFile(FileWindow& window, std::span<const CalculationId> ran, FileWindow* rulesCheck)
{
    CalculationFile file;
    for (const KeySet& keys : calculationKeys())
        file.of(keys.id) = captured(window, keys, std::find(ran.begin(), ran.end(), keys.id) != ran.end());
    if (rulesCheck != nullptr)
        file.rulesCheck = captureRulesCheck(*rulesCheck);
    return file;
}

SavedCalculation captureRulesCheck(FileWindow& rulesCheck)
{
    return captured(rulesCheck, rulesCheckKeys(), false);
}

std::vector<std::string> fileMisfits(const CalculationFile& file, FileWindow& window, FileWindow* rulesCheck)
{
    std::vector<std::string> misfits;
    for (const KeySet& keys : calculationKeys())
        misfitsOf(file.of(keys.id), keys, window, misfits);
    if (file.rulesCheck && rulesCheck != nullptr)
        misfitsOf(*file.rulesCheck, rulesCheckKeys(), *rulesCheck, misfits);
    return misfits;
}

std::vector<std::string> applyFile(const CalculationFile& file, FileWindow& window)
{
    std::vector<std::string> notices;
    for (const KeySet& keys : calculationKeys()) {
        std::vector<std::string> more = applied(file.of(keys.id), keys, window);
        std::move(more.begin(), more.end(), std::back_inserter(notices));
    }
    return notices;
}

std::vector<std::string> applyRulesCheck(const SavedCalculation& saved, FileWindow& rulesCheck)
{
    return applied(saved, rulesCheckKeys(), rulesCheck);
}

std::vector<CalculationId> calculationsRun(const CalculationFile& file)
{
    std::vector<CalculationId> run;
    for (const KeySet& keys : calculationKeys())
        if (file.of(keys.id).ran)
            run.push_back(keys.id);
    return run;
}

std::vector<std::string> resultDifferences(const CalculationFile& file, FileWindow& window)
{
    std::vector<std::string> differences;
    for (const KeySet& keys : calculationKeys()) {
        const SavedCalculation& saved = file.of(keys.id);
        if (!saved.ran)
            continue;
        for (const ResultKey& result : keys.results) {
            const auto it = saved.results.find(result.fileKey);
            if (it == saved.results.end())
                continue;
            const std::string now = window.text(result.label);
            if (now != it->second)
                differences.push_back(std::string(result.name) + ": сохранено " + quoted(it->second) + ", теперь "
                                      + quoted(now));
        }
    }
    return differences;
}

std::string differencesSentence(const std::vector<std::string>& differences)
{
    std::string sentence = "Результаты отличаются от сохранённых: ";
    for (std::size_t i = 0; i < differences.size(); ++i)
        sentence.append(i > 0 ? "; " : "").append(differences[i]);
    return sentence.append(".");
}

std::vector<std::pair<CalculationId, std::string>> differencesByCalculation(const CalculationFile& file,
                                                                            FileWindow& window)
{
    std::vector<std::pair<CalculationId, std::string>> sentences;
    for (const CalculationId id : calculationsRun(file)) {
        CalculationFile alone;
        alone.of(id) = file.of(id);
        const std::vector<std::string> differences = resultDifferences(alone, window);
        if (!differences.empty())
            sentences.emplace_back(id, differencesSentence(differences));
    }
    return sentences;
}

} // namespace kalventa
