#pragma once
// One run of a calculation: the window's controls as the calculation reads
// and writes them, the floating-point status, and the quantity being worked
// out, which a run-time error names.

#include "core/controls.h"
#include "core/float_status.h"
#include "core/kinds.h"
#include "core/runtime_error.h"

#include <string_view>

namespace kalventa {

class Run {
public:
    explicit Run(Controls& window)
        : window_(window)
        , arithmetic_(status_)
    {
    }

    // Carries out `steps(run)`; a run-time error leaving them names the
    // quantity that was being worked out.
    template <class Steps>
    static void perform(Controls& window, Steps&& steps)
    {
        Run run(window);
        try {
            steps(run);
        } catch (const RuntimeError& error) {
            // An input beyond the Single range is what the engineer has to
            // correct, whichever later step it made fail.
            if (run.infiniteInput_ != Quantity::Unknown)
                throw RuntimeError(error.kind(), run.infiniteInput_);
            throw error.about(run.arithmetic_.workingOn());
        }
    }

    void workingOn(Quantity quantity) noexcept { arithmetic_.workingOn(quantity); }

    // Every control access clears the floating-point status first.
    // A text field read as a number and narrowed to a Single at once; a number
    // beyond the Single range becomes an infinity and records an overflow.
    Single readSingle(std::string_view textField);
    bool isOn(std::string_view optionButton);
    Integer listIndex(std::string_view list);
    void setCaption(std::string_view label, std::string_view caption);
    // Tells the window the value of a quantity, for its record of the run.
    void note(Quantity quantity, const Variant& value) { window_.noted(quantity, value); }

    FloatArithmetic& arithmetic() noexcept { return arithmetic_; }
    // The floating-point check.
    void check() const { status_.check(); }

private:
    Controls& window_;
    FloatStatus status_;
    FloatArithmetic arithmetic_;
    Quantity infiniteInput_ = Quantity::Unknown; // the first input read as an infinity
};

} // namespace kalventa
