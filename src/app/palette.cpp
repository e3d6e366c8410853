// Colour palette rows and the level colour table.
#include "app/palette.h"

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

Palette palette = {
    {
        {0.0f, 0.0f, 0.0f, 0.0f},        // placeholder
        {0.75f, 0.75f, 0.75f, 1.0f},     // Mainwin Background
        {0.75f, 0.75f, 0.75f, 1.0f},     // Subwin1 Background
        {0.75f, 0.75f, 0.75f, 1.0f},     // Subwin3 Background
        {0.75f, 0.75f, 0.75f, 1.0f},     // Subwin4 Background
        {1.0f, 1.0f, 1.0f, 1.0f},        // Drawing Canvas
        {0.0f, 0.0f, 0.0f, 1.0f},        // Current Curve, set at start-up
        {0.14f, 0.14f, 0.56f, 1.0f},     // Control Point
        {0.0f, 0.5f, 1.0f, 1.0f},        // Control Point Index
        {0.0f, 1.0f, 0.0f, 1.0f},        // Selected Point
        {0.0f, 0.0f, 0.0f, 0.7f},        // Tracing Point
        {0.5f, 0.07f, 0.5f, 1.0f},       // Knot Point
        {0.82f, 0.97f, 0.666f, 0.5f},    // Convex Hull
        {0.14f, 0.56f, 0.38f, 1.0f},     // Convex Hull Point
        {0.56f, 0.14f, 0.14f, 0.8f},     // Control Polygon
        {0.0f, 0.3f, 1.0f, 1.0f},        // Tangent Vector
        {1.0f, 0.0f, 0.0f, 1.0f},        // Binormal Vector
        {0.1f, 0.7f, 0.0f, 1.0f},        // Normal Vector
        {0.5f, 0.4f, 0.5f, 1.0f},        // Curvature Sphere
        {0.2f, 0.2f, 0.2f, 0.4f},        // Coordinate Axes
        {1.0f, 0.0f, 0.0f, 1.0f},        // Coordinate Name
        {0.38f, 0.184f, 0.184f, 0.8f},   // DeCasteljau/Deboor 1
        {0.184f, 0.6f, 0.184f, 0.8f},    // DeCasteljau/Deboor 2
        {0.184f, 0.184f, 0.5f, 0.8f},    // DeCasteljau/Deboor 3
        {0.8f, 0.59f, 0.3f, 0.8f},       // DeCasteljau/Deboor 4
        {0.5f, 0.0f, 0.2f, 0.8f},        // DeCasteljau/Deboor 5
        {0.137f, 0.55f, 0.537f, 0.8f},   // DeCasteljau/Deboor 6
        {0.75f, 0.18f, 0.7f, 0.8f},      // DeCasteljau/Deboor 7
        {0.2f, 0.8f, 0.05f, 0.8f},       // DeCasteljau/Deboor 8
        {0.25f, 0.1f, 0.7f, 0.8f},       // DeCasteljau/Deboor 9
        {1.0f, 0.25f, 0.0f, 0.8f},       // DeCasteljau/Deboor 10
        {0.065f, 0.116f, 0.776f, 0.8f},  // Data Point
        {0.041f, 0.082f, 0.429f, 0.8f},  // Data Point Index
        {0.116f, 0.757f, 0.788f, 0.8f},  // Selected Data Point
        {0.074f, 0.451f, 0.741f, 0.8f},  // Data Point Polygon
        {0.1f, 0.1f, 0.1f, 0.3f},        // Drawing Pad
    },
    {
        "     ",
        "Mainwin Background",
        "Subwin1 Background",
        "Subwin3 Background",
        "Subwin4 Background",
        "Drawing Canvas",
        "Current Curve",
        "Control Point",
        "Control Point Index",
        "Selected Point",
        "Tracing Point",
        "Knot Point",
        "Convex Hull",
        "Convex Hull Point",
        "Control Polygon",
        "Tangent Vector",
        "Binormal Vector",
        "Normal Vector",
        "Curvature Sphere",
        "Coordinate Axes",
        "Coordinate Name",
        "DeCasteljau/Deboor 1",
        "DeCasteljau/Deboor 2",
        "DeCasteljau/Deboor 3",
        "DeCasteljau/Deboor 4",
        "DeCasteljau/Deboor 5",
        "DeCasteljau/Deboor 6",
        "DeCasteljau/Deboor 7",
        "DeCasteljau/Deboor 8",
        "DeCasteljau/Deboor 9",
        "DeCasteljau/Deboor 10",
        "Data Point",
        "Data Point Index",
        "Selected Data Point",
        "Data Point Polygon",
        "Drawing Pad",
    },
};

float (*level_colours)[4] = nullptr;
