#include "ui/FormHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowFit, AWindowTooTallForTheScreenScrollsUpAndDownButNotSideways) {
  const struct {
    QSize room;
    QSize fitted;
  } rows[] = {
      {{1280, 740}, {890, 592}},  // fits
      {{1024, 540}, {904, 540}},  // 1024x600: too low, widened by the scroll bar
      {{910, 480}, {904, 480}},   // 1366x768 at 150 %
      {{900, 480}, {900, 480}},   // too narrow for the scroll bar: the room bounds it
      {{800, 600}, {800, 592}},   // too narrow only
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FittedWindowSize({890, 592}, row.room, 14), row.fitted) << row.room.width();
  }
}

TEST(WindowFit, ColumnsGiveWayWidestFirstWhileTheKeptOnesStayWhole) {
  const std::vector<bool> kept = {true, false, false, true};
  const struct {
    int available;
    std::vector<int> widths;
  } rows[] = {
      {500, {120, 200, 60, 90}},  // room for all
      {400, {120, 130, 60, 90}},  // the widest gives way alone
      {330, {120, 60, 60, 90}},   // then the next, to one cap
      {200, {50, 50, 50, 50}},    // not even the kept ones fit: all alike
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FittedColumnWidths({120, 200, 60, 90}, kept, row.available), row.widths)
        << row.available;
  }
}

}  // namespace
