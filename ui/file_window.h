#pragma once
// The window as a calculation file sees it: each control is found by its
// name among the children of the window (or of the check's dialog) and read
// or set through its widget.

#include "core/calculation_file_window.h"

class QWidget;

namespace kalventa::ui {

class WidgetFileWindow final : public FileWindow {
public:
    explicit WidgetFileWindow(QWidget& root)
        : root_(root)
    {
    }

    std::string text(std::string_view control) override;
    Integer value(std::string_view option) override;
    Integer listIndex(std::string_view list) override;
    std::vector<std::string> listItems(std::string_view list) override;
    bool holds(std::string_view field, std::string_view text) override;
    void setText(std::string_view field, std::string_view text) override;
    void choose(std::string_view option) override;
    void setListIndex(std::string_view list, Integer index) override;

private:
    template <class Widget>
    Widget& find(std::string_view name) const;

    QWidget& root_;
};

} // namespace kalventa::ui
