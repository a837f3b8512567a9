// The rope check: the minimum permissible rope tension for a load and a duty
// class, and the verdict on a rope of a given breaking force.

#include "core/calculations.h"
#include "core/catalogue.h"
#include "core/number_to_text.h"
#include "core/run.h"
#include "core/variant.h"

#include <string_view>

namespace kalventa {
namespace {

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
        for (const ChoiceValue& duty : choiceValues())
            if (duty.quantity == Quantity::DutyFactor && run.isOn(duty.control))
                dutyFactor = duty.value;
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
