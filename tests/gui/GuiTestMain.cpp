#include <gtest/gtest.h>

#include "gui/OffscreenApplication.h"

// Fonts and painters need a Qt application; the offscreen platform needs no display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const corvelt::OffscreenApplication application;
    return RUN_ALL_TESTS();
}
