#pragma once

#include <array>

#include "model/ElementStressBlock.h"
#include "model/ShellFace.h"

namespace corvelt {

// The membrane part of a shell's stress at one corner, the mean of its two surfaces'
// tensors, and the bending part, half their difference (positive where the first
// surface is in tension). Se is the von Mises stress of the combined tensor, not a
// mean of the stored values.
StressRecord membraneStress(const StressRecord& first, const StressRecord& second);
StressRecord bendingStress(const StressRecord& first, const StressRecord& second);

// One quantity (StressQuantity.h) of a stress record: a stored component as it is
// (a file's Se need not be the von Mises stress of its six components), or a
// principal stress or the stress intensity of its tensor.
double quantityOf(const StressRecord& stress, int quantity);

// What a face shows of a quantity at one corner of an element, as the contour keeps
// it for both surfaces: the facing face keeps the two surfaces' values (a frame takes
// the one that faces the viewer), every other face its one value twice.
std::array<double, 2> faceValues(const ElementStressBlock& block, int corner, int quantity,
                                 ShellFace face);

}  // namespace corvelt
