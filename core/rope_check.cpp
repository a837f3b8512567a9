// The rope check: the minimum permissible rope tension for a load and a duty
// class, and the verdict on a rope of a given breaking force.

#include "core/calculations.h"
#include "core/number_to_text.h"
#include "core/run.h"
#include "core/variant.h"

#include <array>
#include <string_view>

namespace kalventa {
namespace {

struct DutyClass {
    std::string_view option;
    Variant factor;
};

// The whole factors are Integers and the fractional ones Doubles, so the
// tension is a Single for light and heavy duty and a Double for medium and
// traction duty, and its label shows 7 or 15 digits accordingly.
constexpr std::array dutyClasses{
    DutyClass{"Option1", Variant(Integer{5})}, // light
    DutyClass{"Option2", Variant(5.5)},        // medium
    DutyClass{"Option3", Variant(Integer{6})}, // heavy
    DutyClass{"Option4", Variant(4.5)},        // traction
};

constexpr Integer newtonsPerKilogram = 10;
// The breaking force taken when the field reads as 0: 1E+08 N.
constexpr Single unknownBreakingForce = 100000000.0f;
constexpr std::string_view notPermissible = "Не допустимо";

} // namespace

void ropeCheck(Controls& window)
{
    Run::perform(window, [](Run& run) {
        run.workingOn(Quantity::LoadWeight);
        const Single loadWeight = run.readSingle("Text1");
        run.workingOn(Quantity::BreakingForce);
        const Single breakingForce = run.readSingle("Text3");

        // Every option is read, even after one that is on.
        Variant dutyFactor;
        for (const DutyClass& duty : dutyClasses)
            if (run.isOn(duty.option))
                dutyFactor = duty.factor;
        run.note(Quantity::DutyFactor, dutyFactor);

        run.workingOn(Quantity::RopeTension);
        const Variant tension = product(product(Variant(loadWeight), dutyFactor), Variant(newtonsPerKilogram));
        run.note(Quantity::RopeTension, tension);
        run.setCaption("Label3", signedText(tension));

        const Single compared = breakingForce == 0 ? unknownBreakingForce : breakingForce;
        run.note(Quantity::ComparedBreakingForce, Variant(compared));
        run.setCaption("Label6", lessThan(Variant(compared), tension) ? notPermissible : std::string_view{});
    });
}

} // namespace kalventa
