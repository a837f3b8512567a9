#pragma once
// The window's controls as a plain table in memory, for the tests, the
// benchmarks and the fuzz targets: text fields, option buttons and lists are
// set directly; every caption written is kept, and so is the order of writes.

#include "core/controls.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalventa::testing {

class MemoryControls final : public Controls {
public:
    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, Integer, std::less<>> values;      // option buttons: -1 on, 0 off
    std::map<std::string, Integer, std::less<>> listIndexes; // -1 when absent
    std::map<std::string, std::string, std::less<>> captions;
    std::vector<std::pair<std::string, std::string>> writes; // every setCaption, in order
    std::vector<std::string> reads;                          // every control read, in order

    std::string text(std::string_view name) override
    {
        reads.emplace_back(name);
        const auto it = texts.find(name);
        return it == texts.end() ? std::string() : it->second;
    }

    Integer value(std::string_view name) override
    {
        reads.emplace_back(name);
        const auto it = values.find(name);
        return it == values.end() ? Integer{0} : it->second;
    }

    Integer listIndex(std::string_view name) override
    {
        reads.emplace_back(name);
        const auto it = listIndexes.find(name);
        return it == listIndexes.end() ? Integer{-1} : it->second;
    }

    void setCaption(std::string_view name, std::string_view caption) override
    {
        captions.insert_or_assign(std::string(name), std::string(caption));
        writes.emplace_back(name, caption);
    }

    // A window with what the user entered, by control name: a text field's
    // text, "on" for an option button, a list's chosen index.
    static MemoryControls with(const std::map<std::string, std::string>& entries)
    {
        MemoryControls window;
        for (const auto& [name, entry] : entries) {
            if (name.starts_with("Option"))
                window.values[name] = entry == "on" ? Integer{-1} : Integer{0};
            else if (name.starts_with("Combo"))
                window.listIndexes[name] = static_cast<Integer>(std::stoi(entry));
            else
                window.texts[name] = entry;
        }
        return window;
    }

    std::string caption(std::string_view name) const
    {
        const auto it = captions.find(name);
        return it == captions.end() ? std::string() : it->second;
    }
};

} // namespace kalventa::testing
