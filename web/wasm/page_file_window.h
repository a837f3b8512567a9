#pragma once
// A window of the page as the core's FileWindow, for the page's module and
// the core's tests under node alike.

#include "core/calculation_file_window.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalventa::web {

// The page's controls, or its check dialog's, as a window a file is taken
// from and given to: each access calls the JavaScript object's function of
// the same name. The page sets no limit on a field's text.
class PageFileWindow final : public FileWindow {
public:
    explicit PageFileWindow(emscripten::val page)
        : page_(std::move(page))
    {
    }

    std::string text(std::string_view control) override
    {
        return page_.call<std::string>("text", std::string(control));
    }
    Integer value(std::string_view option) override
    {
        return static_cast<Integer>(page_.call<int>("value", std::string(option)));
    }
    Integer listIndex(std::string_view list) override
    {
        return static_cast<Integer>(page_.call<int>("listIndex", std::string(list)));
    }
    std::vector<std::string> listItems(std::string_view list) override
    {
        return emscripten::vecFromJSArray<std::string>(page_.call<emscripten::val>("listItems", std::string(list)));
    }
    void setText(std::string_view field, std::string_view text) override
    {
        page_.call<void>("setText", std::string(field), std::string(text));
    }
    void choose(std::string_view option) override { page_.call<void>("choose", std::string(option)); }
    void setListIndex(std::string_view list, Integer index) override
    {
        page_.call<void>("setListIndex", std::string(list), static_cast<int>(index));
    }

private:
    emscripten::val page_;
};

} // namespace kalventa::web
