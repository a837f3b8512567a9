#pragma once
// The window as the calculations see it: each control is found by its name
// among the window's children and read or written through its widget.

#include "core/controls.h"

class QWidget;

namespace kalventa::ui {

class WidgetControls final : public Controls {
public:
    explicit WidgetControls(QWidget& window)
        : window_(window)
    {
    }

    std::string text(std::string_view name) override;
    Integer value(std::string_view name) override;
    Integer listIndex(std::string_view name) override;
    void setCaption(std::string_view name, std::string_view caption) override;

private:
    template <class Widget>
    Widget& find(std::string_view name) const;

    QWidget& window_;
};

} // namespace kalventa::ui
