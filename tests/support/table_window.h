#pragma once
// The whole window as plain values, built from its tables: every field,
// option button, list and label with the text it starts with. Calculations
// run on it (Controls) and calculation files are taken from and given to it
// (FileWindow), without Qt: for the tests, the benchmarks and the fuzz targets.

#include "core/calculation_file_window.h"
#include "core/controls.h"
#include "window/layout_table.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa::testing {

class TableWindow final : public Controls, public FileWindow {
public:
    TableWindow()
    {
        for (const ui::ControlRow& row : ui::controlRows()) {
            kinds_.emplace(row.name, row.kind);
            texts_.emplace(row.name, row.text);
            if (row.kind == ui::Kind::OptionButton) {
                values_.emplace(row.name, Integer{0});
                groups_.emplace(row.name, row.container);
            }
            if (row.kind == ui::Kind::DropDownList)
                indexes_.emplace(row.name, Integer{-1});
        }
        for (const ui::ListRow& list : ui::listRows())
            items_.emplace(list.list, std::vector<std::string>(list.items.begin(), list.items.end()));
    }

    // Both interfaces read a field's text, a label's caption and an option's caption alike.
    std::string text(std::string_view name) override { return at(texts_, name); }
    Integer value(std::string_view name) override { return at(values_, name); }
    Integer listIndex(std::string_view name) override { return at(indexes_, name); }
    void setCaption(std::string_view name, std::string_view caption) override { at(texts_, name) = caption; }

    std::vector<std::string> listItems(std::string_view list) override { return at(items_, list); }
    bool holds(std::string_view /*field*/, std::string_view text) override { return text.size() <= fieldLimit; }
    void setText(std::string_view field, std::string_view text) override { at(texts_, field) = text; }
    void choose(std::string_view option) override
    {
        for (auto& [name, value] : values_)
            if (groups_.at(name) == groups_.at(std::string(option)))
                value = name == option ? Integer{-1} : Integer{0};
    }
    void setListIndex(std::string_view list, Integer index) override { at(indexes_, list) = index; }

    // In bytes here; the desktop counts characters.
    std::size_t fieldLimit = 4 * 1'048'576;

private:
    template <typename Value>
    static Value& at(std::map<std::string, Value, std::less<>>& values, std::string_view name)
    {
        const auto it = values.find(name);
        if (it == values.end())
            throw std::out_of_range("no control " + std::string(name));
        return it->second;
    }

    std::map<std::string, ui::Kind, std::less<>> kinds_;
    std::map<std::string, std::string, std::less<>> texts_;
    std::map<std::string, Integer, std::less<>> values_;
    std::map<std::string, std::string_view, std::less<>> groups_;
    std::map<std::string, Integer, std::less<>> indexes_;
    std::map<std::string, std::vector<std::string>, std::less<>> items_;
};

} // namespace kalventa::testing
