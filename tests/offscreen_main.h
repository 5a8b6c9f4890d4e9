// The start every Qt-backed test program shares: Qt's offscreen platform at
// scale 2, and no application when the tests are only listed.
#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace mirabo::test {

// Runs the tests in one QApplication, after `setUp` has run with it standing.
inline int RunOnOffscreenQt(int argc, char** argv, const std::function<void()>& setUp) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MIRABO_SCALE", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no application (and so prints nothing else).
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    setUp();
    return RUN_ALL_TESTS();
}

}  // namespace mirabo::test
