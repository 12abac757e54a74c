#pragma once
// What a slot's profile measures as drawn: its full width at half maximum and its area.
//
// Both scale with the width: in units u = d / |w| the profile depends only on the skew
// coefficient (a negative width mirrors it). So FWHM = |w| F(a) and area = h |w| K(a).

#include "app/model/peak_profile.h"

namespace app {

// F: the full width at half maximum of the profile of width 1. Infinite when the profile
// never falls to half its height on one side (a skew so strong that its tail levels off above
// half the height).
double unit_fwhm(const PeakShape& s, const ProfileConstants& k);

// K: the area under the profile of width 1 and height 1. A skewed profile levels off far from
// its centre at a small constant (d' tends to w / a), over which the integral would grow
// without end; its area is taken over the centre plus or minus 50 widths, where for |a| up to
// about 0.3 that constant is below 10^-10 of the height.
double unit_area(const PeakShape& s, const ProfileConstants& k);

// The integral of the profile as it stands (its centre, width and height) over [from, to],
// within the centre plus or minus 50 widths that unit_area covers.
double area_between(const PeakShape& s, const ProfileConstants& k, double from, double to);

// Half the FWHM of the symmetric profile of width 1: where (1 + 4m q) e^((1-m) 4 ln2 q) = 2,
// q = v^2, found by bisection.
double half_width_at_half_maximum(const ProfileConstants& k);

}  // namespace app
