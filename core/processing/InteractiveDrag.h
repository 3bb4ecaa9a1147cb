#pragma once
// The values that a drag in the display gives the rotation and shift windows. The
// display converts pixels to samples and knows the millivolts of one pixel row; these
// functions turn a drag into step values so that the dragged spot of the trace follows
// the pointer.
namespace sondara {

// The angle (radians) of a rotation whose ramp, with the scale `mvPerPixel`, lifts the
// sample `samplesFromStart` after the ramp's start by `rowsUp` pixel rows (up is
// positive). 0 at or before the start. Within -pi/2..pi/2 exclusive.
float RotationDragAngle(int samplesFromStart, double rowsUp);

// Millivolts of one pixel row of a plot `plotHeight` rows high showing vMin..vMax.
float MillivoltsPerRow(double vMax, double vMin, int plotHeight);

}  // namespace sondara
