// The palette table: rows named as the drawing code expects, fixed-size
// names, and the level colours in the order the de Boor levels use them.
#include "app/palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

// Rows read by the drawing code, with the colours the views are designed in.
struct Row {
  int index;
  const char* name;
  float r, g, b, a;
};
constexpr Row DRAWN_ROWS[] = {
    {PAL_CONTROL_POINT, "Control Point", 0.14f, 0.14f, 0.56f, 1.0f},
    {PAL_CONTROL_POINT_INDEX, "Control Point Index", 0.0f, 0.5f, 1.0f, 1.0f},
    {PAL_SELECTED_POINT, "Selected Point", 0.0f, 1.0f, 0.0f, 1.0f},
    {PAL_TRACING_POINT, "Tracing Point", 0.0f, 0.0f, 0.0f, 0.7f},
    {PAL_KNOT_POINT, "Knot Point", 0.5f, 0.07f, 0.5f, 1.0f},
    {PAL_CONTROL_POLYGON, "Control Polygon", 0.56f, 0.14f, 0.14f, 0.8f},
    {PAL_COORDINATE_AXES, "Coordinate Axes", 0.2f, 0.2f, 0.2f, 0.4f},
    {PAL_COORDINATE_NAME, "Coordinate Name", 1.0f, 0.0f, 0.0f, 1.0f},
    {PAL_DRAWING_PAD, "Drawing Pad", 0.1f, 0.1f, 0.1f, 0.3f},
    {PAL_DEBOOR_1 + 0, "DeCasteljau/Deboor 1", 0.38f, 0.184f, 0.184f, 0.8f},
    {PAL_DEBOOR_1 + 1, "DeCasteljau/Deboor 2", 0.184f, 0.6f, 0.184f, 0.8f},
    {PAL_DEBOOR_1 + 2, "DeCasteljau/Deboor 3", 0.184f, 0.184f, 0.5f, 0.8f},
    {PAL_DEBOOR_1 + 3, "DeCasteljau/Deboor 4", 0.8f, 0.59f, 0.3f, 0.8f},
    {PAL_DEBOOR_1 + 4, "DeCasteljau/Deboor 5", 0.5f, 0.0f, 0.2f, 0.8f},
    {PAL_DEBOOR_1 + 5, "DeCasteljau/Deboor 6", 0.137f, 0.55f, 0.537f, 0.8f},
    {PAL_DEBOOR_1 + 6, "DeCasteljau/Deboor 7", 0.75f, 0.18f, 0.7f, 0.8f},
    {PAL_DEBOOR_1 + 7, "DeCasteljau/Deboor 8", 0.2f, 0.8f, 0.05f, 0.8f},
    {PAL_DEBOOR_1 + 8, "DeCasteljau/Deboor 9", 0.25f, 0.1f, 0.7f, 0.8f},
    {PAL_DEBOOR_1 + 9, "DeCasteljau/Deboor 10", 1.0f, 0.25f, 0.0f, 0.8f},
};

TEST(PaletteTable, RowsTheViewsReadCarryTheirNamesAndColours) {
  for (const Row& row : DRAWN_ROWS) {
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(palette.names[row.index], row.name);
    EXPECT_EQ(palette.colours[row.index][0], row.r);
    EXPECT_EQ(palette.colours[row.index][1], row.g);
    EXPECT_EQ(palette.colours[row.index][2], row.b);
    EXPECT_EQ(palette.colours[row.index][3], row.a);
  }
  // The ten level rows run 1 to 10 straight after "Coordinate Name", so
  // level r of the triangle, coloured by entry (r + 1) % 10, walks them in order.
  EXPECT_STREQ(palette.names[PAL_DEBOOR_1 - 1], "Coordinate Name");
  EXPECT_STREQ(palette.names[PAL_DEBOOR_1 + LEVEL_COLOUR_COUNT], "Data Point");
}

TEST(PaletteTable, EveryRowHasADistinctTerminatedNameAndChannelsInRange) {
  std::set<std::string> names;
  for (int i = 0; i < PALETTE_ROWS; ++i) {
    const char* name = palette.names[i];
    ASSERT_LT(strnlen(name, PALETTE_NAME_SIZE), static_cast<size_t>(PALETTE_NAME_SIZE));
    EXPECT_TRUE(names.insert(name).second) << "row " << i << " repeats " << name;
    for (float c : palette.colours[i]) {
      EXPECT_GE(c, 0.0f) << name;
      EXPECT_LE(c, 1.0f) << name;
    }
  }
  EXPECT_STREQ(palette.names[PAL_PLACEHOLDER], "     ");
  EXPECT_STREQ(palette.names[PALETTE_ROWS - 1], "Drawing Pad");
}

}  // namespace
