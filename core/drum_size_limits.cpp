// The drum size limits for a rope: the minimum drum diameter, 19 rope
// diameters, and the maximum drum length, 3 minimum drum diameters.

#include "core/calculations.h"
#include "core/number_to_text.h"
#include "core/run.h"
#include "core/variant.h"

namespace kalventa {
namespace {

constexpr Single diametersPerDrum = 19;
constexpr Integer drumDiametersPerLength = 3;

} // namespace

void drumSizeLimits(Controls& window)
{
    Run::perform(window, [](Run& run) {
        FloatArithmetic& fp = run.arithmetic();
        run.workingOn(Quantity::RopeDiameter);
        const Single ropeDiameter = run.readSingle("Text2");

        run.workingOn(Quantity::MinDrumDiameter);
        const Single drumDiameter = fp.narrow(fp.product(ropeDiameter, diametersPerDrum));
        // Sees the narrowing of the rope diameter too: no control was touched since.
        run.check();
        const Variant minDrumDiameter(drumDiameter);
        run.note(Quantity::MinDrumDiameter, minDrumDiameter);

        // A Variant product, unchecked: beyond the Single range it becomes a Double.
        run.workingOn(Quantity::MaxDrumLength);
        const Variant maxDrumLength = product(minDrumDiameter, Variant(drumDiametersPerLength));
        run.note(Quantity::MaxDrumLength, maxDrumLength);

        run.setCaption("Label8", signedText(minDrumDiameter));
        run.setCaption("Label10", signedText(maxDrumLength));
    });
}

} // namespace kalventa
