// The rope capacity of a drum: turns per layer and the leftover length, the
// flange diameter for the chosen number of layers, the rope length those
// layers hold (in full, and less the allowance for uneven laying) and the
// drum wall thickness for the load and the drum material.

#include "core/calculations.h"
#include "core/catalogue.h"
#include "core/conversions.h"
#include "core/number_to_text.h"
#include "core/run.h"
#include "core/variant.h"

namespace kalventa {
namespace {

constexpr Single ropeDiameterIfNone = 1;
constexpr Variant stressIfNone(Integer{1});
constexpr Double flangeFactorOneAndHalf = 1.5; // Option5 "1,5d"
constexpr Integer flangeFactorTwo = 2;         // Option6 "2d"
constexpr Integer maxLayerIndex = 5;           // the list offers 1 to 6 layers
constexpr Double circleConstant = 3.14159;     // not π: the digits shown depend on it
constexpr Double millimetresPerMetre = 1000;
constexpr Double layingAllowance = 0.9;

// n = floor(L ÷ d), where the quotient is first rounded to 4 decimals: the
// nearest whole number, one less when that lies above the quotient.
Integer turnsPerLayer(Run& run, Single drumLength, Single ropeDiameter)
{
    const Double ratio = run.arithmetic().quotient(drumLength, ropeDiameter);
    run.check();
    const Currency q = toCurrency(ratio);
    Integer n = toInteger(q);
    if (compare(n, q) > 0)
        n = step(n, -1);
    return n;
}

// t = ceiling(W ÷ (m × d)), the quotient first rounded to 4 decimals.
Integer wallThickness(Single loadWeight, const Variant& stress, Single ropeDiameter)
{
    const Variant u = quotient(Variant(loadWeight), product(stress, Variant(ropeDiameter)));
    const Currency rounded = toCurrency(u);
    Integer t = toInteger(rounded);
    if (compare(t, rounded) < 0)
        t = step(t, +1);
    return t;
}

} // namespace

void ropeCapacity(Controls& window)
{
    Run::perform(window, [](Run& run) {
        FloatArithmetic& fp = run.arithmetic();
        run.workingOn(Quantity::DrumDiameter);
        const Single D = run.readSingle("Text4");
        run.workingOn(Quantity::DrumLength);
        const Single L = run.readSingle("Text5");
        run.workingOn(Quantity::RopeDiameter);
        Single d = run.readSingle("Text6");
        run.workingOn(Quantity::LoadWeight);
        const Single W = run.readSingle("Text7");
        if (d == 0)
            d = ropeDiameterIfNone;
        run.note(Quantity::RopeDiameter, Variant(d));

        run.workingOn(Quantity::TurnsPerLayer);
        const Integer n = turnsPerLayer(run, L, d);
        run.note(Quantity::TurnsPerLayer, Variant(n));

        run.workingOn(Quantity::LeftoverLength);
        const Double filled = fp.product(n, d);
        run.check();
        const Currency g = difference(toCurrency(L), toCurrency(filled));
        run.note(Quantity::LeftoverLength, Variant(g));

        Variant layerBound;
        if (const Integer index = run.listIndex("Combo1"); index >= 0 && index <= maxLayerIndex)
            layerBound = Variant(index);
        run.note(Quantity::LayerCount, layerBound);

        Variant m;
        const Integer material = run.listIndex("Combo2");
        for (const ChoiceValue& stress : choiceValues())
            if (stress.quantity == Quantity::AllowableStress && stress.item == material)
                m = stress.value;
        run.note(Quantity::AllowableStress, m);

        Variant Y;
        if (run.isOn("Option5"))
            Y = Variant(flangeFactorOneAndHalf);
        if (run.isOn("Option6"))
            Y = Variant(flangeFactorTwo);
        run.note(Quantity::FlangeFactor, Y);

        Single S = 0;
        countedLoop(Variant(Integer{0}), layerBound, Variant(Integer{1}), [&](const Variant& i) {
            run.workingOn(Quantity::PitchDiameter);
            Single twoD = fp.narrow(fp.sum(d, d));
            run.check();
            const Currency P = toCurrency(sum(sum(product(Variant(twoD), i), Variant(D)), Variant(d)));
            run.note(Quantity::PitchDiameter, Variant(P));
            const Currency outer = sum(P, toCurrency(d));

            run.workingOn(Quantity::FlangeDiameter);
            twoD = fp.narrow(fp.sum(d, d));
            run.check();
            const Currency F = toCurrency(sum(Variant(outer), product(Variant(twoD), Y)));
            run.note(Quantity::FlangeDiameter, Variant(F));

            run.workingOn(Quantity::LayerLength);
            const Double length
                = fp.quotient(fp.product(fp.product(toDouble(P), circleConstant), n), millimetresPerMetre);
            run.check();
            const Currency layerLength = toCurrency(length);
            run.note(Quantity::LayerLength, Variant(layerLength));

            run.workingOn(Quantity::TotalRopeLength);
            S = toSingle(sum(toCurrency(S), layerLength));
            run.note(Quantity::TotalRopeLength, Variant(S));

            for (Integer k = 0; k <= maxLayerIndex; ++k)
                if (equal(i, Variant(k)))
                    run.setCaption("Label18", plainText(static_cast<Integer>(k + 1)));
            run.setCaption("Label21", signedText(F));
        });

        if (equal(m, Variant(Integer{0})))
            m = stressIfNone;
        run.note(Quantity::AllowableStress, m);

        run.workingOn(Quantity::RopeCapacity);
        const Single capacity = fp.narrow(fp.product(S, layingAllowance));
        run.check();
        run.note(Quantity::RopeCapacity, Variant(capacity));

        run.workingOn(Quantity::WallThickness);
        const Integer t = wallThickness(W, m, d);
        run.note(Quantity::WallThickness, Variant(t));

        run.setCaption("Label16", signedText(n));
        run.setCaption("Label23", signedText(t));
        run.setCaption("Label12", signedText(g));
        run.setCaption("Label19", signedText(S));
        run.setCaption("Label20", signedText(capacity));
    });
}

} // namespace kalventa
