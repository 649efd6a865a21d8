#pragma once

// QtTest's QTRY_ macros report to QtTest, whose results a GoogleTest run never reads, so a
// condition that never came true passed silently. This waits the same way (processing events,
// up to five seconds) and fails the GoogleTest test.
#include <gtest/gtest.h>

#include <QTest>

#define EXPECT_SOON(condition)                                                 \
    EXPECT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); })) \
        << "never came true: " #condition
