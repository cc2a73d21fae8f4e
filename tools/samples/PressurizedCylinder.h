#pragma once

#include <cstdint>

#include "model/ElementStressBlock.h"
#include "model/ShellModel.h"

namespace corvelt::samples {

// Sample results with a known answer: a thin-walled circular cylinder under internal
// pressure p, clamped at x = 0 and closed at x = L by a cap (not meshed) that
// carries the axial load. By default only the lower half (z <= 0) is meshed, the
// usual symmetric half model: seen from above, as the program first shows a model,
// one looks into the trough at the inner surface, where the clamp's bending layer
// is strongest (Se from about 2 p R / t at the clamp down to 0.5 p R / t and back
// to the hoop-dominated 0.9 p R / t); the other views show the outer surface.
//
// Geometry (world axes, millimetres): the axis is the world x axis, the wall's
// mid-surface is (x, R cos(theta), R sin(theta)) for 0 <= x <= L and theta from
// start to start + sweep. Local axes at a point: axial e_x = (1, 0, 0), hoop
// e_t = (0, -sin, cos) and outward normal e_n = (0, cos, sin).
//
// Solution (linear thin-shell theory, E Young's modulus, nu Poisson's ratio,
// t wall thickness):
//   D    = E t^3 / (12 (1 - nu^2))                 bending stiffness
//   beta = [3 (1 - nu^2)]^(1/4) / sqrt(R t)        decay rate of the edge disturbance
//   w_p  = p R^2 (1 - nu/2) / (E t)                radial growth far from the clamp
//   w(x) = w_p [1 - e^(-beta x) (cos beta x + sin beta x)]   (w = w' = 0 at the clamp)
//   M_x  = -D w'' = -2 D beta^2 w_p e^(-beta x) (cos beta x - sin beta x)
//   Q_x  = dM_x/dx = 4 D beta^3 w_p e^(-beta x) cos beta x
//   membrane: sigma_x = p R / (2 t),  sigma_t = E w / R + nu sigma_x  (-> p R / t far away)
//   surfaces: sigma_x +- 6 M_x / t^2,  sigma_t +- nu 6 M_x / t^2   (+ outer, - inner)
//   normal stress: 0 on the outer surface, -p on the inner one
//   transverse shear tau_xn = Q_x / t on both surfaces (the mean value a shell element reports)
// The local tensor is rotated into world axes at every node, so Sx .. Tyz are world
// components; Se is the von Mises stress of the full tensor. Every corner of an
// element carries the stresses of its node (nodal averages).
//
// Elements: corner order (i, j), (i, j+1), (i+1, j+1), (i+1, j) over the axial
// index i and the hoop index j, so that (c1 - c0) x (c2 - c0) points outward. The
// first stress line of a corner is therefore the outer surface, the second the
// inner surface.
struct CylinderSample {
    double radius = 500.0;            // mid-surface radius R, mm
    double thickness = 20.0;          // t, mm
    double length = 600.0;            // L, mm, clamp to cap
    double pressure = 2.0;            // p, MPa
    double youngsModulus = 210000.0;  // E, MPa
    double poissonRatio = 0.3;        // nu
    double startDegrees = 180.0;      // hoop angle of the first node column
    double sweepDegrees = 180.0;      // meshed part of the circumference; 360 closes the tube
    std::int32_t axialElements = 48;
    std::int32_t hoopElements = 64;
};

// Stresses in the wall's local axes at one surface.
struct WallStress {
    double axial = 0.0;
    double hoop = 0.0;
    double normal = 0.0;
    double transverseShear = 0.0;  // axial-normal
};

struct WallSurfaces {
    WallStress outer;
    WallStress inner;
};

// The analytic solution at axial position x.
WallSurfaces wallStressAt(const CylinderSample& sample, double x);

// The surface stresses rotated into world axes at hoop angle theta (radians),
// with Se the von Mises stress.
StressRecord worldStress(const WallStress& local, double theta);

// The default cylinder with its mesh divisions chosen so that the elements are
// about square and number about `elementCount` (at least one).
CylinderSample cylinderWithElementCount(std::int64_t elementCount, double sweepDegrees = 180.0);

// Nodes, elements and stresses of the sample.
ResultData generateCylinderResult(const CylinderSample& sample);

}  // namespace corvelt::samples
